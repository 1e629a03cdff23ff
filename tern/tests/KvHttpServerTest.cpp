#include <tern/KvHttpRequest.h>
#include <tern/KvHttpResponse.h>
#include <tern/KvHttpServer.h>
#include <tern/KvTcpSocket.h>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// Echoes PUT bodies, answers GET with the URI, refuses anything else and closes.
bool EchoProcessor(KvTcpSocket& socket, KvHttpRequest& request) {
    KvHttpResponse r(&socket);
    if (request.Method() == KvHttpRequest::kOther) return r.Setup(501, 0) && false;
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

}  // namespace
