#include <tern/KvHttpRequest.h>
#include <tern/KvHttpResponse.h>
#include <tern/KvHttpServer.h>
#include <tern/KvTcpSocket.h>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// Echoes PUT bodies, answers GET with the URI (GET /multipart with a multipart stream),
// refuses anything else and closes.
bool EchoProcessor(KvTcpSocket& socket, KvHttpRequest& request) {
    KvHttpResponse r(&socket);
    if (request.Method() == KvHttpRequest::kOther) return r.Setup(501, 0) && false;
    if (request.Method() == KvHttpRequest::kGet && request.URI() == "/multipart")
        return r.Setup(200, KvHttpResponse::kMultipart) && r.SendBeginBoundary(0) && r.Send("<a/>", -1) &&
               r.SendEndBoundary();
    std::string body = request.URI().c_str();
    if (request.Method() == KvHttpRequest::kPut) {
        body.assign(request.ContentLength(), '\0');
        for (size_t got = 0; got < body.size();) {
            const int n = socket.Receive(&body[got], static_cast<int>(body.size() - got));
            if (n <= 0) return false;
            got += static_cast<size_t>(n);
        }
    }
    return r.Setup(200, KvHttpResponse::kContentLength, static_cast<int>(body.size())) &&
           r.Send(body.data(), static_cast<int>(body.size()));
}

class HttpServerFixture : public ::testing::Test {
protected:
    void StartServer(KvHttpServerLimits limits = {}) {
        m_server.Setup(&EchoProcessor, "tern-test/1", 0);
        limits.receiveWaitMs = 5000;
        m_server.SetLimits(limits);
        ASSERT_TRUE(m_server.Start(htonl(INADDR_LOOPBACK), true));
        ASSERT_NE(m_server.Port(), 0);
    }
    std::unique_ptr<KvTcpSocket> Client() {
        auto s = std::make_unique<KvTcpSocket>();
        EXPECT_TRUE(s->Connect("127.0.0.1", m_server.Port()));
        s->SetReceiveWait(5000);
        return s;
    }
    // Reads until `count` responses have arrived whole (their bodies are short) or the peer closes.
    static std::string ReadResponses(KvTcpSocket& s, int count) {
        std::string all;
        char buf[4096];
        while (Count(all, "HTTP/1.1 ") < count || !EndsWithBody(all)) {
            const int n = s.Receive(buf, sizeof buf);
            if (n <= 0) break;
            all.append(buf, static_cast<size_t>(n));
        }
        return all;
    }
    static int Count(const std::string& text, const std::string& word) {
        int n = 0;
        for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) ++n;
        return n;
    }
    static bool EndsWithBody(const std::string& all) {
        const size_t head = all.rfind("\r\n\r\n");
        const size_t len = all.rfind("Content-Length: ");
        return head != std::string::npos && len != std::string::npos &&
               all.size() - head - 4 == std::stoul(all.substr(len + 16));
    }
    // True when the server ends `s` (close or reset) within the receive wait, ignoring any
    // answer first.
    static bool ClosedByServer(KvTcpSocket& s) {
        char buf[512];
        for (;;) {
            const int n = s.Receive(buf, sizeof buf);
            if (n == 0 || n == -1) return true;
            if (n < 0) return false;
        }
    }

    // Sends `bytes`, then collects what comes back until the server closes (closed = true)
    // or, once something came, stays quiet for `quietMs`.
    static std::string Exchange(KvTcpSocket& s, const std::string& bytes, bool& closed, int quietMs = 400) {
        s.SendAll(bytes.data(), static_cast<int>(bytes.size()));
        std::string all;
        char buf[4096];
        closed = false;
        for (;;) {
            s.SetReceiveWait(all.empty() ? 5000 : quietMs);
            const int n = s.Receive(buf, sizeof buf);
            if (n == 0 || n == -1) closed = true;
            if (n <= 0) break;
            all.append(buf, static_cast<size_t>(n));
        }
        s.SetReceiveWait(5000);
        return all;
    }
    // Milliseconds until a new client's GET is answered, or -1 when it is not within `limitMs`.
    int NewcomerWaitMs(int limitMs) {
        const auto t0 = Clock::now();
        auto c = Client();
        c->SetReceiveWait(limitMs);
        const std::string get = "GET /newcomer HTTP/1.1\r\n\r\n";
        c->SendAll(get.data(), static_cast<int>(get.size()));
        char buf[512];
        const int n = c->Receive(buf, sizeof buf);
        if (n <= 0) return -1;
        return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t0).count());
    }

    KvHttpServer m_server;
};

TEST_F(HttpServerFixture, KeepAliveRequestsAndBodiesOnOneConnection) {
    StartServer();
    auto c = Client();
    const std::string pipelined = "PUT /f HTTP/1.1\r\nContent-Length: 5\r\n\r\nhelloGET /a%20b HTTP/1.1\r\n\r\n";
    ASSERT_TRUE(c->SendAll(pipelined.data(), static_cast<int>(pipelined.size())));
    const std::string out = ReadResponses(*c, 2);
    EXPECT_EQ(Count(out, "HTTP/1.1 200 OK\r\nServer: tern-test/1\r\n"), 2) << out;
    EXPECT_NE(out.find("\r\n\r\nhelloHTTP/1.1"), std::string::npos) << out;
    EXPECT_EQ(out.substr(out.size() - 4), "/a b");
}

// Oversized heads and garbage end their own connection; a neighbour keeps being served.
TEST_F(HttpServerFixture, BadClientsCloseOnlyTheirOwnConnection) {
    StartServer();
    auto good = Client();
    const std::string get = "GET /ok HTTP/1.1\r\n\r\n";
    ASSERT_TRUE(good->SendAll(get.data(), static_cast<int>(get.size())));
    EXPECT_NE(ReadResponses(*good, 1).find("/ok"), std::string::npos);

    const std::string big = "GET /" + std::string(9000, 'x') + " HTTP/1.1\r\n\r\n";
    const std::string fits = "GET /fits HTTP/1.1\r\nX: " + std::string(8100, 'x') + "\r\n\r\n";
    static const char kTls[] = "\x16\x03\x01\x02\x00\x01\x00\x01\xfc\x03\x03\r\n\r\n";
    const std::string garbage(kTls, sizeof kTls - 1);
    auto tooBig = Client(), justFits = Client(), junk = Client();
    tooBig->SendAll(big.data(), static_cast<int>(big.size()));
    justFits->SendAll(fits.data(), static_cast<int>(fits.size()));
    junk->SendAll(garbage.data(), static_cast<int>(garbage.size()));
    EXPECT_TRUE(ClosedByServer(*tooBig));
    EXPECT_NE(ReadResponses(*justFits, 1).find("200 OK"), std::string::npos);
    EXPECT_TRUE(ClosedByServer(*junk));

    ASSERT_TRUE(good->SendAll(get.data(), static_cast<int>(get.size())));
    EXPECT_NE(ReadResponses(*good, 1).find("/ok"), std::string::npos);
}

// A client trickling its head cannot hold a worker past the head deadline.
TEST_F(HttpServerFixture, SlowHeadMeetsItsDeadline) {
    KvHttpServerLimits limits;
    limits.headTimeoutMs = 300;
    StartServer(limits);
    auto slow = Client();
    const auto t0 = Clock::now();
    bool closed = false;
    for (const char* p = "GET / HTTP/1.1\r\nX: "; !closed && Clock::now() - t0 < std::chrono::seconds(4);) {
        if (slow->Send(*p ? p++ : "y", 1) != 1) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        char c;
        closed = slow->Peek(&c, 1, 0) == 0;
    }
    EXPECT_TRUE(closed || ClosedByServer(*slow));
}

// With every worker taken, a worker that merely waits for a head is freed for a newcomer.
TEST_F(HttpServerFixture, IdleWorkerMakesRoomWhenClientsWait) {
    KvHttpServerLimits limits;
    limits.workers = 2;
    limits.busyIdleMs = 100;
    StartServer(limits);
    auto idle = Client();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    auto partial = Client();
    partial->Send("GET /", 5);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    auto late = Client();
    const std::string get = "GET /late HTTP/1.1\r\n\r\n";
    ASSERT_TRUE(late->SendAll(get.data(), static_cast<int>(get.size())));
    EXPECT_NE(ReadResponses(*late, 1).find("/late"), std::string::npos);
    EXPECT_TRUE(ClosedByServer(*idle));
}

TEST_F(HttpServerFixture, StopEndsBusyConnectionsPromptly) {
    StartServer();
    auto a = Client(), b = Client();
    const std::string get = "GET /kept HTTP/1.1\r\n\r\n";
    ASSERT_TRUE(a->SendAll(get.data(), static_cast<int>(get.size())));
    EXPECT_NE(ReadResponses(*a, 1).find("/kept"), std::string::npos);  // a worker holds it now
    b->Send("GET /", 5);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const auto t0 = Clock::now();
    m_server.Stop();
    EXPECT_LT(Clock::now() - t0, std::chrono::seconds(3));
    EXPECT_EQ(m_server.State(), KvHttpServer::kStopped);
    EXPECT_TRUE(ClosedByServer(*a));
    KvTcpSocket late;
    EXPECT_FALSE(late.Connect("127.0.0.1", m_server.Port()));
    // and it can start again
    ASSERT_TRUE(m_server.Start(htonl(INADDR_LOOPBACK), true));
    auto c = Client();
    const std::string again = "GET /again HTTP/1.1\r\n\r\n";
    c->SendAll(again.data(), static_cast<int>(again.size()));
    EXPECT_NE(ReadResponses(*c, 1).find("/again"), std::string::npos);
}

TEST_F(HttpServerFixture, OtherMethodsReachTheProcessor) {
    StartServer();
    auto c = Client();
    const std::string head = "HEAD / HTTP/1.1\r\n\r\n";
    c->SendAll(head.data(), static_cast<int>(head.size()));
    char buf[512];
    const int n = c->Receive(buf, sizeof buf);
    ASSERT_GT(n, 0);
    EXPECT_EQ(std::string(buf, static_cast<size_t>(n)).rfind("HTTP/1.1 501 Not Implemented", 0), 0u);
    EXPECT_TRUE(ClosedByServer(*c));
}

// A body must never be read as the next request, whatever the case of the header names
// and whether or not the processor reads it (RFC 9110: names are case-insensitive).
TEST_F(HttpServerFixture, BodiesAreNeverServedAsRequests) {
    StartServer();
    const std::string smuggled = "GET /smuggled HTTP/1.1\r\n\r\n";
    const std::string length = std::to_string(smuggled.size());
    for (const std::string& head : {"PUT /f HTTP/1.1\r\ncontent-length: " + length + "\r\n\r\n",
                                    "PUT /f HTTP/1.1\r\nCONTENT-LENGTH: " + length + "\r\n\r\n",
                                    "GET /f HTTP/1.1\r\nContent-Length: " + length + "\r\n\r\n"}) {
        auto c = Client();
        bool closed = false;
        const std::string out = Exchange(*c, head + smuggled, closed);
        EXPECT_EQ(Count(out, "HTTP/1.1 "), 1) << head << out;
        EXPECT_EQ(out.find("\r\n\r\n/smuggled"), std::string::npos) << head << out;
        if (head[0] == 'P') {
            EXPECT_NE(out.find("\r\n\r\n" + smuggled), std::string::npos) << out;
        }
        // and the connection still serves the next request
        const std::string next = Exchange(*c, "GET /next HTTP/1.1\r\n\r\n", closed);
        EXPECT_NE(next.find("\r\n\r\n/next"), std::string::npos) << head << next;
    }
}

// Malformed heads get a status line and "Connection: close", then the connection ends.
TEST_F(HttpServerFixture, MalformedRequestsAreAnsweredThenClosed) {
    StartServer();
    const struct {
        std::string bytes;
        const char* status;
    } kCases[] = {
        {"PUT /f HTTP/1.1\r\nContent-Length: 4\r\ntransfer-encoding: chunked\r\n\r\n0\r\n\r\n", "400"},
        {"PUT /f HTTP/1.1\r\nContent-Length: 4\r\nContent-Length: 5\r\n\r\nabcde", "400"},
        {"PUT /f HTTP/1.1\r\nContent-Length: -4\r\n\r\n", "400"},
        {"PUT /f HTTP/1.1\r\nContent-Length: 99999999999999999999999\r\n\r\n", "400"},
        {"PUT /f HTTP/1.1\r\nContent-Length : 4\r\n\r\nabcd", "400"},
        {"PUT /f HTTP/1.1\r\nX: a\r\n Content-Length: 4\r\n\r\nabcd", "400"},
        {"GET / HTTP/1.1\nHost: x\n\n", "400"},
        {"GET / HTTP/1.1\r\nHost: x\n\r\n", "400"},
        {"GET /" + std::string(KvHttpRequest::kMaxUriLength, 'a') + " HTTP/1.1\r\n\r\n", "414"},
        {"GET / HTTP/1.1\r\nX: " + std::string(9000, 'x') + "\r\n\r\n", "431"},
    };
    for (const auto& c : kCases) {
        auto s = Client();
        bool closed = false;
        const std::string out = Exchange(*s, c.bytes, closed);
        EXPECT_EQ(out.rfind(std::string("HTTP/1.1 ") + c.status + " ", 0), 0u) << c.bytes.substr(0, 80) << "\n" << out;
        EXPECT_NE(out.find("\r\nConnection: close\r\n"), std::string::npos) << out;
        EXPECT_TRUE(closed) << c.bytes.substr(0, 80);
    }
}

// A response without a length (multipart here) can only end with the connection.
TEST_F(HttpServerFixture, ResponsesWithoutLengthCloseAtTheirEnd) {
    StartServer();
    auto c = Client();
    bool closed = false;
    const std::string out = Exchange(*c, "GET /multipart HTTP/1.1\r\n\r\n", closed);
    EXPECT_TRUE(closed) << out;
    EXPECT_NE(out.find("\r\nConnection: close\r\n"), std::string::npos) << out;
    EXPECT_NE(out.find("<a/>\r\n--simple boundary--"), std::string::npos) << out;
}

// Two workers, both held by clients that send a request more often than the busy-idle
// time: a newcomer is still served promptly.
TEST_F(HttpServerFixture, ChattyClientsDoNotStarveNewcomers) {
    KvHttpServerLimits limits;
    limits.workers = 2;
    limits.busyIdleMs = 1000;
    StartServer(limits);
    std::atomic<bool> stop{false};
    auto chatty = [&] {
        auto c = Client();
        const std::string get = "GET /chat HTTP/1.1\r\n\r\n";
        while (!stop) {
            if (!c->Connected() || !c->SendAll(get.data(), static_cast<int>(get.size())) ||
                ReadResponses(*c, 1).empty()) {
                c = Client();
                continue;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(150));
        }
    };
    std::thread a(chatty), b(chatty);
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    const int waited = NewcomerWaitMs(6000);
    stop = true;
    a.join();
    b.join();
    EXPECT_GE(waited, 0) << "the newcomer was never served";
}

// Two workers, both held by clients trickling a request body: a newcomer is still served.
TEST_F(HttpServerFixture, SlowBodiesDoNotStarveNewcomers) {
    KvHttpServerLimits limits;
    limits.workers = 2;
    limits.busyIdleMs = 1000;
    StartServer(limits);
    std::atomic<bool> stop{false};
    auto slow = [&] {
        auto c = Client();
        const std::string head = "PUT /slow HTTP/1.1\r\nContent-Length: 100000\r\n\r\n";
        c->SendAll(head.data(), static_cast<int>(head.size()));
        while (!stop && c->Send("x", 1) == 1) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    };
    std::thread a(slow), b(slow);
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    const int waited = NewcomerWaitMs(6000);
    stop = true;
    a.join();
    b.join();
    EXPECT_GE(waited, 0) << "the newcomer was never served";
}

}  // namespace
