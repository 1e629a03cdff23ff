#include <tern/KvHttpClient.h>
#include <tern/KvHttpClientManager.h>
#include <tern/KvHttpRequest.h>
#include <tern/KvHttpResponse.h>
#include <tern/KvHttpServer.h>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <atomic>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <thread>
#include <zlib.h>

namespace {

std::string Payload(int size) {
    std::string s;
    for (int i = 0; i < size; ++i) s += static_cast<char>('a' + (i * 13) % 26);
    return s;
}

std::atomic<int> g_challenges{0};
std::atomic<int> g_lastPeerPort{0};

int PeerPort(KvTcpSocket& socket) {
    sockaddr_in sa{};
    socklen_t len = sizeof sa;
    getpeername(static_cast<int>(static_cast<unsigned int>(socket)), reinterpret_cast<sockaddr*>(&sa), &len);
    return ntohs(sa.sin_port);
}

// /plain, /chunked and /deflate send Payload(n) for n from the query; /auth needs Digest
// credentials for user "u", password "p"; PUT and POST echo their bodies.
bool Serve(KvTcpSocket& socket, KvHttpRequest& request) {
    g_lastPeerPort = PeerPort(socket);
    const std::string uri = request.URI().c_str();
    const size_t q = uri.find('?');
    std::string body = Payload(q == std::string::npos ? 100 : std::stoi(uri.substr(q + 1)));
    if (request.Method() != KvHttpRequest::kGet) {
        body.assign(request.ContentLength(), '\0');
        for (size_t got = 0; got < body.size();) {
            const int n = socket.Receive(&body[got], static_cast<int>(body.size() - got));
            if (n <= 0) return false;
            got += static_cast<size_t>(n);
        }
    }
    KvHttpResponse r(&socket);
    if (uri.rfind("/auth", 0) == 0) {
        const KvHttpAuthorization& a = request.Authorization();
        if (!(a.UserName() == "u" && a.Nonce() == "n0nce" && a.Check("p", nullptr, 1))) {
            ++g_challenges;
            return r.Setup(401, KvHttpResponse::kAuthenticate, " Digest realm=\"t\", qop=\"auth\", nonce=\"n0nce\"");
        }
    }
    const int n = static_cast<int>(body.size());
    if (uri.rfind("/chunked", 0) == 0) return r.Setup(200, KvHttpResponse::kChunked) && r.Send(body.data(), n) && r.End();
    if (uri.rfind("/deflate", 0) == 0) return r.Setup(200, KvHttpResponse::kDeflate) && r.Send(body.data(), n) && r.End();
    return r.Setup(200, KvHttpResponse::kContentLength, n) && r.Send(body.data(), n);
}

class HttpClientFixture : public ::testing::Test {
protected:
    void SetUp() override {
        m_server.Setup(&Serve, "tern-test/1", 0);
        ASSERT_TRUE(m_server.Start(htonl(INADDR_LOOPBACK), true));
        m_port = m_server.Port();
        g_challenges = 0;
    }
    static std::string ReadAll(KvHttpClient& c) {
        std::string out;
        int count = 0;
        while (const unsigned char* block = c.Read(count)) out.append(reinterpret_cast<const char*>(block), count);
        return out;
    }
    KvHttpServer m_server;
    int m_port = 0;
};

TEST_F(HttpClientFixture, EveryBodyFormReadsBack) {
    KvHttpClient c;
    for (const char* form : {"/plain", "/chunked", "/deflate"}) {
        for (int size : {0, 1, 4096, 5000, 100000}) {
            const std::string path = std::string(form) + "?" + std::to_string(size);
            ASSERT_EQ(c.Get("127.0.0.1", m_port, path.c_str()), 200) << path;
            EXPECT_EQ(ReadAll(c), Payload(size)) << path;
            EXPECT_TRUE(c.BodyComplete()) << path;
        }
    }
}

TEST_F(HttpClientFixture, ByteReadsUnreadAndCopies) {
    KvHttpClient c;
    ASSERT_EQ(c.Get("127.0.0.1", m_port, "/chunked?20000"), 200);
    const std::string want = Payload(20000);
    EXPECT_EQ(c.Read(), want[0]);
    c.Unread();
    EXPECT_EQ(c.Read(), want[0]);
    std::string got(1, want[0]);
    char buf[3000];
    for (int n; (n = c.Read(buf, sizeof buf)) > 0;) got.append(buf, static_cast<size_t>(n));
    EXPECT_EQ(got, want);
    EXPECT_EQ(c.Read(), -1);
    int count = 0;
    EXPECT_EQ(c.Read(count), nullptr);
    EXPECT_EQ(count, -1);
}

TEST_F(HttpClientFixture, KeepsTheConnectionAndEchoesBodies) {
    KvHttpClient c;
    const std::string data = Payload(30000);
    ASSERT_EQ(c.Put("127.0.0.1", m_port, "/p", data.data(), static_cast<int>(data.size())), 200);
    EXPECT_EQ(ReadAll(c), data);
    const int port = g_lastPeerPort;
    ASSERT_EQ(c.Post("127.0.0.1", m_port, "/p", "abc", 3), 200);
    EXPECT_EQ(ReadAll(c), "abc");
    EXPECT_EQ(g_lastPeerPort, port) << "the second request must reuse the connection";
    EXPECT_TRUE(c.Connected());
    // A body left unread is not mistaken for the next response.
    ASSERT_EQ(c.Get("127.0.0.1", m_port, "/plain?50000"), 200);
    EXPECT_EQ(c.Read(), 'a');
    ASSERT_EQ(c.Get("127.0.0.1", m_port, "/plain?7"), 200);
    EXPECT_EQ(ReadAll(c), Payload(7));
}

TEST_F(HttpClientFixture, AnswersADigestChallengeOnce) {
    KvHttpClient c;
    ASSERT_EQ(c.Get("127.0.0.1", m_port, "/auth?5", "u", "p"), 200);
    EXPECT_EQ(ReadAll(c), Payload(5));
    EXPECT_EQ(g_challenges, 1);
    ASSERT_EQ(c.Put("127.0.0.1", m_port, "/auth/x", "body", 4, "u", "p"), 200);
    EXPECT_EQ(ReadAll(c), "body");
    EXPECT_EQ(g_challenges, 1) << "the known challenge is reused";
    EXPECT_EQ(c.Get("127.0.0.1", m_port, "/auth", "u", "wrong"), 401);
    EXPECT_EQ(c.Get("127.0.0.1", m_port, "/auth"), 401);
}

TEST_F(HttpClientFixture, ManagerReusesClientsPerHostAndPort) {
    KvHttpClientManager m;
    KvHttpClient* first = nullptr;
    KvHttpClient* second = nullptr;
    ASSERT_EQ(m.Get(first, "127.0.0.1", m_port, "/plain?3"), 200);
    EXPECT_EQ(ReadAll(*first), Payload(3));
    ASSERT_EQ(m.Get(second, "127.0.0.1", m_port, "/plain?3"), 200);
    EXPECT_EQ(first, second);
    EXPECT_EQ(m.Count(), 1);
    KvHttpClient* failed = first;
    KvTcpSocket closed;
    ASSERT_TRUE(closed.Listen(0, htonl(INADDR_LOOPBACK), true));
    const int deadPort = closed.LocalPort();
    closed.Close();
    EXPECT_EQ(m.Get(failed, "127.0.0.1", deadPort, "/"), -1);
    EXPECT_EQ(failed, nullptr);
    EXPECT_EQ(m.Count(), 1);
    KvHttpClient* put = nullptr;
    EXPECT_EQ(m.Put(put, "127.0.0.1", m_port, "/p", "xy", 2), 200);
    EXPECT_EQ(put, first);
    ReadAll(*put);
    m_server.Stop();
    m.ClearDisconnected();
    EXPECT_EQ(m.Count(), 1) << "the client does not know yet that the server went";
    m.Cancel("127.0.0.1");
    EXPECT_EQ(m.Count(), 0);
}

// A server that answers one request with canned bytes and then closes.
class CannedServer {
public:
    explicit CannedServer(std::string reply) : m_reply(std::move(reply)) {
        EXPECT_TRUE(m_listener.Listen(0, htonl(INADDR_LOOPBACK), true));
        m_thread = std::thread([this] {
            KvTcpSocket s;
            if (!s.AcceptFrom(m_listener, 5000)) return;
            char buf[4096];
            while (m_request.find("\r\n\r\n") == std::string::npos) {
                const int n = s.Receive(buf, sizeof buf);
                if (n <= 0) return;
                m_request.append(buf, static_cast<size_t>(n));
            }
            s.SendAll(m_reply.data(), static_cast<int>(m_reply.size()));
        });
    }
    ~CannedServer() { m_thread.join(); }
    int Port() const { return m_listener.LocalPort(); }
    const std::string& RequestSeen() {
        m_thread.join();
        m_thread = std::thread([] {});
        return m_request;
    }

private:
    KvTcpSocket m_listener;
    std::string m_reply;
    std::string m_request;
    std::thread m_thread;
};

std::string Deflated(const std::string& data) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::string out(size, '\0');
    compress(reinterpret_cast<Bytef*>(&out[0]), &size, reinterpret_cast<const Bytef*>(data.data()),
             static_cast<uLong>(data.size()));
    out.resize(size);
    return out;
}

TEST(KvHttpClientTest, MalformedResponses) {
    const std::string deflated = Deflated(Payload(3000));
    const struct {
        const char* name;
        std::string reply;
        int status;
        std::string body;
        bool complete;
    } kCases[] = {
        {"two chunks", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n3\r\nabc\r\n0\r\n\r\n", 200,
         "helloabc", true},
        {"chunk extension and trailer", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n2;x=y\r\nhi\r\n0\r\nT: 1\r\n\r\n",
         200, "hi", true},
        {"bad chunk size", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\nzz\r\nabc", 200, "hello", false},
        {"huge chunk size", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nFFFFFFFFFF\r\nabc", 200, "", false},
        {"chunk without its line end", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n2\r\nabc\r\n0\r\n\r\n", 200, "ab", false},
        {"closed mid-body", "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nonly this", 200, "only this", false},
        {"body until close", "HTTP/1.0 200 OK\r\n\r\nall of it", 200, "all of it", true},
        {"deflate", "HTTP/1.1 200 OK\r\nContent-Encoding: deflate\r\n\r\n" + deflated, 200, Payload(3000), true},
        {"truncated deflate", "HTTP/1.1 200 OK\r\nContent-Encoding: deflate\r\n\r\n" + deflated.substr(0, deflated.size() / 2),
         200, "", false},
        {"broken deflate", "HTTP/1.1 200 OK\r\nContent-Encoding: deflate\r\n\r\nthis is not zlib data", 200, "", false},
        {"no status", "garbage\r\n\r\n", -2, "", false},
        {"too short", "HTTP/1.1\r\n\r\n", -2, "", false},
        {"bad length", "HTTP/1.1 200 OK\r\nContent-Length: x\r\n\r\n", -2, "", false},
        {"head too long", "HTTP/1.1 200 OK\r\nX: " + std::string(20000, 'x') + "\r\n\r\n", -2, "", false},
        {"nothing", "", -2, "", false},
        {"NUL in the head", std::string("HTTP/1.1 200 OK\r\nX: a\0b\r\n\r\n", 27), -2, "", false},
        {"line ends without CR", "HTTP/1.1 200 OK\nContent-Length: 2\n\r\n\r\nok", 200, "ok", true},
        {"interim 100 first", "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok", 200, "ok", true},
        {"length with trailing space", "HTTP/1.1 200 OK\r\nContent-Length: 2 \r\n\r\nok", 200, "ok", true},
        {"coding name in capitals", "HTTP/1.1 200 OK\r\nTransfer-Encoding: Chunked\r\n\r\n2\r\nok\r\n0\r\n\r\n", 200,
         "ok", true},
        {"header names in any case", "HTTP/1.1 200 OK\r\ncONTENT-lENGTH: 2\r\n\r\nokNOT-BODY", 200, "ok", true},
    };
    for (const auto& c : kCases) {
        CannedServer server(c.reply);
        KvHttpClient client;
        client.SetReceiveWait(5000);
        ASSERT_EQ(client.Get("127.0.0.1", server.Port(), "/"), c.status) << c.name;
        if (c.status < 0) continue;
        std::string body;
        for (int b; (b = client.Read()) >= 0;) body += static_cast<char>(b);
        if (c.name == std::string("truncated deflate")) {
            EXPECT_LT(body.size(), 3000u);
            EXPECT_EQ(body, Payload(3000).substr(0, body.size())) << "what arrived is still right";
        } else {
            EXPECT_EQ(body, c.body) << c.name;
        }
        EXPECT_EQ(client.BodyComplete(), c.complete) << c.name;
        EXPECT_EQ(client.Read(), -1) << c.name;
    }
}

TEST(KvHttpClientTest, RequestHeadAndChallenges) {
    CannedServer basic("HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: Basic realm=\"x\"\r\nContent-Length: 0\r\n\r\n");
    KvHttpClient c;
    EXPECT_EQ(c.Get("127.0.0.1", basic.Port(), "/a b\t\"c", "u", "p"), -2) << "only Digest is answered";
    const std::string head = basic.RequestSeen();
    EXPECT_EQ(head.rfind("GET /a%20b%09%22c HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(basic.Port()) +
                             "\r\nUser-Agent: KvHttpClient/1.0\r\n",
                         0),
              0u)
        << head;
    CannedServer put("HTTP/1.1 204 No Content\r\n\r\n");
    EXPECT_EQ(c.Put("127.0.0.1", put.Port(), "/f", "12345", 5), 204);
    EXPECT_NE(put.RequestSeen().find("PUT /f HTTP/1.1\r\n"), std::string::npos);
    EXPECT_EQ(c.Read(), -1);
    EXPECT_TRUE(c.BodyComplete());
}

// Credentials learnt from one server's challenge never go to another server unasked.
TEST_F(HttpClientFixture, DigestAnswersStayWithTheirServer) {
    KvHttpClient c;
    ASSERT_EQ(c.Get("127.0.0.1", m_port, "/auth?5", "u", "p"), 200);
    EXPECT_EQ(ReadAll(c), Payload(5));
    CannedServer other("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n");
    ASSERT_EQ(c.Get("127.0.0.1", other.Port(), "/auth", "u", "p"), 200);
    EXPECT_EQ(other.RequestSeen().find("Authorization"), std::string::npos) << other.RequestSeen();
    // back at the first server, its challenge is still known
    ASSERT_EQ(c.Get("127.0.0.1", m_port, "/auth?3", "u", "p"), 200);
    EXPECT_EQ(ReadAll(c), Payload(3));
    EXPECT_EQ(g_challenges, 1);
}

// A user name or challenge value cannot add lines to the request head.
TEST(KvHttpClientTest, CredentialsCannotInjectHeaders) {
    const std::string challenge =
        "HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: Digest realm=\"r\", qop=\"auth\", nonce=\"n\"\r\n"
        "Content-Length: 0\r\n\r\n";
    CannedServer server(challenge);
    KvHttpClient c;
    c.SetReceiveWait(2000);
    EXPECT_EQ(c.Get("127.0.0.1", server.Port(), "/", "u\r\nX-Injected: 1", "p"), -1);
    EXPECT_EQ(c.Get("127.0.0.1", server.Port(), "/"), 401) << "the client is still usable";
    EXPECT_EQ(server.RequestSeen().find("X-Injected"), std::string::npos) << server.RequestSeen();
}

// A peer that never reads cannot hold a sender, nor its lock, for ever.
TEST(KvHttpClientTest, SendingHasATimeLimit) {
    KvTcpSocket listener;
    ASSERT_TRUE(listener.Listen(0, htonl(INADDR_LOOPBACK), true));
    KvTcpSocket accepted;
    std::thread acceptor([&] { accepted.AcceptFrom(listener, 5000); });
    KvHttpClient c;
    c.SetReceiveWait(300);
    const std::string big(64 << 20, 'x');
    EXPECT_EQ(c.Put("127.0.0.1", listener.LocalPort(), "/", big.data(), static_cast<int>(big.size())), -1);
    acceptor.join();
    EXPECT_EQ(c.Get("127.0.0.1", listener.LocalPort(), "/"), -2) << "the lock was released";
}

// A server whose accept queue is full never completes the handshake: connecting gives up.
TEST(KvHttpClientTest, ConnectingHasATimeLimit) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa), 0);
    ASSERT_EQ(listen(fd, 0), 0);
    socklen_t len = sizeof sa;
    getsockname(fd, reinterpret_cast<sockaddr*>(&sa), &len);
    const int port = ntohs(sa.sin_port);
    KvTcpSocket fill[3];
    for (KvTcpSocket& f : fill) {
        f.SetReceiveWait(300);
        f.Connect("127.0.0.1", port);  // the later ones already meet the full queue
    }
    KvHttpClient c;
    c.SetReceiveWait(300);
    EXPECT_EQ(c.Get("127.0.0.1", port, "/"), -1);
    close(fd);
}

}  // namespace
