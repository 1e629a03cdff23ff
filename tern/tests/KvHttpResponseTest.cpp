#include <basalt/KvDateTime.h>
#include <basalt/XmlDocument.h>
#include <tern/KvHttpResponse.h>
#include <tern/KvHttpResponseText.h>
#include <tern/KvHttpServer.h>
#include <tern/KvHttpUri.h>
#include <tern/KvTcpSocket.h>

#include <gtest/gtest.h>

#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <zlib.h>

namespace {

// A response writing into one end of a socket pair; Output() collects the other end.
class ResponseWire : public ::testing::Test {
protected:
    void SetUp() override {
        int fds[2];
        ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
        m_writer.Attach(static_cast<unsigned int>(fds[0]));
        m_reader = fds[1];
        m_drain = std::thread([this] {
            char buf[4096];
            for (ssize_t n; (n = read(m_reader, buf, sizeof buf)) > 0;) m_output.append(buf, static_cast<size_t>(n));
        });
    }
    void TearDown() override {
        if (m_drain.joinable()) Output();
        close(m_reader);
    }
    const std::string& Output() {
        m_writer.Close();
        if (m_drain.joinable()) m_drain.join();
        return m_output;
    }
    std::string Body() {
        const std::string& all = Output();
        const size_t at = all.find("\r\n\r\n");
        return at == std::string::npos ? std::string() : all.substr(at + 4);
    }

    KvTcpSocket m_writer;
    int m_reader = -1;
    std::string m_output;
    std::thread m_drain;
};

std::string Payload(int size) {
    std::string s;
    for (int i = 0; i < size; ++i) s += static_cast<char>('a' + (i * 7) % 26);
    return s;
}

TEST_F(ResponseWire, HeadCarriesTheFlaggedHeaders) {
    KvHttpServer server;
    server.Setup(nullptr, "tern-test/1", 0);
    KvHttpResponse r(&m_writer);
    r.SetMimeType("text/plain");
    ASSERT_TRUE(r.Setup(302, KvHttpResponse::kContentLength | KvHttpResponse::kNoCache | KvHttpResponse::kLocation |
                                 KvHttpResponse::kAuthenticate,
                        2, "/elsewhere", " Digest realm=\"r\""));
    ASSERT_TRUE(r.Send("ok", -1));
    const std::string out = Output();
    EXPECT_EQ(out.rfind("HTTP/1.1 302 Found\r\nServer: tern-test/1\r\nConnection: keep-alive\r\nDate:", 0), 0u) << out;
    EXPECT_NE(out.find(" GMT\r\nContent-Length: 2\r\nContent-type: text/plain\r\n"
                       "Cache-control: no-cache\r\nPragma: no-cache\r\nLocation: /elsewhere\r\n"
                       "WWW-Authenticate: Digest realm=\"r\"\r\n\r\nok"),
              std::string::npos)
        << out;
}

TEST_F(ResponseWire, DatesInTheHead) {
    const KvDateTime modified(2024, 3, 5, 7, 8, 9);
    const KvDateTime invalid;
    KvHttpResponse r(&m_writer);
    ASSERT_TRUE(r.Setup(200, KvHttpResponse::kLastModified | KvHttpResponse::kExpires, &modified, &invalid));
    const std::string out = Output();
    EXPECT_NE(out.find("\r\nLast-Modified:Tue, 05 Mar 2024 07:08:09 GMT\r\n"), std::string::npos) << out;
    EXPECT_EQ(out.find("Expires:"), std::string::npos) << "an invalid date is left out";
    const size_t date = out.find("\r\nDate:");
    ASSERT_NE(date, std::string::npos);
    EXPECT_EQ(out.substr(date + 32, 6), " GMT\r\n") << out;
}

TEST_F(ResponseWire, RefusesHeaderInjection) {
    KvHttpResponse r(&m_writer);
    EXPECT_FALSE(r.Setup(302, KvHttpResponse::kLocation, "/x\r\nSet-Cookie: a=b"));
    r.SetMimeType("text/html\nX: y");
    EXPECT_FALSE(r.Setup(200, 0));
    KvHttpServer server;
    server.Setup(nullptr, "tern/1\r\nX-Injected: 1", 0);
    KvHttpResponse named(&m_writer);
    EXPECT_FALSE(named.Setup(200, 0)) << "the server name is written into every head";
    server.Setup(nullptr, "tern-test/1", 0);
    EXPECT_EQ(Output(), "");
}

// Heads tell whether the connection stays; HEAD answers carry a length but no body.
TEST_F(ResponseWire, ConnectionHeaderAndBodylessAnswers) {
    KvHttpServer server;
    server.Setup(nullptr, "tern-test/1", 0);
    KvHttpResponse r(&m_writer);
    ASSERT_TRUE(r.Setup(400, KvHttpResponse::kContentLength | KvHttpResponse::kClose, 0));
    ASSERT_TRUE(r.Setup(200, KvHttpResponse::kContentLength | KvHttpResponse::kNoBody, 1234));
    ASSERT_TRUE(r.SendContinue());
    ASSERT_TRUE(r.Setup(200, KvHttpResponse::kDeflate));
    EXPECT_FALSE(r.End()) << "the processor must close after a deflated body";
    EXPECT_TRUE(m_writer.SendingEnded()) << "a body without length ends with the sending side";
    const std::string out = Output();
    EXPECT_EQ(out.rfind("HTTP/1.1 400 Bad Request\r\nServer: tern-test/1\r\nConnection: close\r\n", 0), 0u) << out;
    EXPECT_NE(out.find("Connection: keep-alive\r\nDate:"), std::string::npos) << out;
    EXPECT_NE(out.find("Content-Length: 1234\r\n\r\nHTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\n"
                       "Server: tern-test/1\r\nConnection: close\r\n"),
              std::string::npos)
        << out;
}

TEST_F(ResponseWire, ChunkedBodyOf5000Bytes) {
    const std::string data = Payload(5000);
    KvHttpResponse r(&m_writer);
    ASSERT_TRUE(r.Setup(200, KvHttpResponse::kChunked));
    ASSERT_TRUE(r.Send(data.data(), 1000));
    ASSERT_TRUE(r.Send(data.data() + 1000, 4000));
    ASSERT_TRUE(r.End());
    EXPECT_EQ(Body(), "1000\r\n" + data.substr(0, 4096) + "\r\n388\r\n" + data.substr(4096) + "\r\n0\r\n\r\n");
}

TEST_F(ResponseWire, ChunkedEmptyAndExactBodies) {
    KvHttpResponse r(&m_writer);
    ASSERT_TRUE(r.Setup(200, KvHttpResponse::kChunked));
    ASSERT_TRUE(r.End());
    ASSERT_TRUE(r.Setup(200, KvHttpResponse::kChunked));  // a response object can be reused
    const std::string data = Payload(4096);
    ASSERT_TRUE(r.Send(data.data(), 4096));
    ASSERT_TRUE(r.End());
    const std::string out = Output();
    EXPECT_NE(out.find("\r\n\r\n0\r\n\r\nHTTP/1.1 200"), std::string::npos);
    EXPECT_EQ(out.substr(out.size() - 5 - 4096 - 8), "1000\r\n" + data + "\r\n0\r\n\r\n");
}

TEST_F(ResponseWire, DeflatedBodyInflatesWithTheZlibWrapper) {
    const std::string data = Payload(100000);
    KvHttpResponse r(&m_writer);
    ASSERT_TRUE(r.Setup(200, KvHttpResponse::kDeflate));
    for (size_t at = 0; at < data.size(); at += 777)
        ASSERT_TRUE(r.Send(data.data() + at, static_cast<int>(std::min<size_t>(777, data.size() - at))));
    EXPECT_FALSE(r.End()) << "without kKeepAlive the connection must close to end the body";
    const std::string body = Body();
    std::string inflated(data.size() + 10, '\0');
    uLongf size = static_cast<uLongf>(inflated.size());
    ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(&inflated[0]), &size,
                         reinterpret_cast<const Bytef*>(body.data()), static_cast<uLong>(body.size())),
              Z_OK);
    inflated.resize(size);
    EXPECT_EQ(inflated, data);
    EXPECT_NE(Output().find("Content-Encoding: deflate\r\n"), std::string::npos);
}

TEST_F(ResponseWire, DeflateEndKeepsAliveOnlyWhenAsked) {
    KvHttpResponse r(&m_writer);
    ASSERT_TRUE(r.Setup(200, KvHttpResponse::kDeflate | KvHttpResponse::kKeepAlive));
    ASSERT_TRUE(r.Send("x", 1));
    EXPECT_TRUE(r.End());
}

TEST(KvHttpResponseTest, SendFailsOnAClosedPeer) {
    int fds[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
    close(fds[1]);
    KvTcpSocket s;
    s.Attach(static_cast<unsigned int>(fds[0]));
    KvHttpResponse r(&s);
    EXPECT_FALSE(r.Setup(200, KvHttpResponse::kContentLength, 3));  // and no SIGPIPE
    KvHttpResponse none(nullptr);
    EXPECT_FALSE(none.Setup(200, 0));
}

TEST(KvHttpResponseTest, TextResponseCollectsTheBody) {
    KvHttpResponseText r;
    EXPECT_TRUE(r.Setup(200, KvHttpResponse::kChunked));
    EXPECT_TRUE(r.Send("<a>", -1));
    EXPECT_TRUE(r.SendBeginBoundary(12));
    EXPECT_TRUE(r.SendEndBoundary());
    EXPECT_TRUE(r.End());
    EXPECT_STREQ(r.Text().c_str(),
                 "<a>\r\n--simple boundary\r\nContent-type: text/xml\r\nContent-Length: 12\r\n\r\n"
                 "\r\n--simple boundary--");
}

TEST(KvHttpResponseTest, MultipartXmlDocuments) {
    XmlDocument doc;
    ASSERT_TRUE(doc.Parse("<panels><panel id=\"1\">A &amp; B</panel></panels>"));
    KvHttpResponseText r;
    EXPECT_TRUE(r.SendBeginBoundary(0));
    EXPECT_TRUE(r.SendXmlDocument(doc, true));
    EXPECT_TRUE(r.SendBeginBoundary(0));
    EXPECT_TRUE(r.SendXmlDocument(doc, false));
    EXPECT_TRUE(r.SendEndBoundary());
    const std::string part = "<panels><panel id=\"1\">A &amp; B</panel></panels>";
    const std::string begin = "\r\n--simple boundary\r\nContent-type: text/xml\r\n\r\n";
    EXPECT_EQ(std::string(r.Text().c_str()), begin + XmlDocument::kDeclaration + part + begin + part +
                                                 "\r\n--simple boundary--");
    XmlDocument empty;
    EXPECT_FALSE(r.SendXmlDocument(empty, true));
}

TEST(KvHttpResponseTest, ReasonPhrases) {
    const struct {
        int code;
        const char* text;
    } kCases[] = {{100, "Continue"}, {200, "OK"}, {206, "Partial Content"}, {305, "Use Proxy"},
                  {306, "Unknown response code"}, {307, "Temporary Redirect"}, {408, "Request Time-out"},
                  {414, "Request-URI Too Large"}, {416, "Requested range not satisfiable"},
                  {417, "Expectation Failed"}, {418, "Unknown response code"}, {504, "Gateway Time-out"},
                  {505, "HTTP Version not supported"}, {299, "Unknown response code"}, {0, "Unknown response code"}};
    for (const auto& c : kCases) {
        KvString text;
        KvHttpServer::ReasonPhrase(c.code, text);
        EXPECT_STREQ(text.c_str(), c.text) << c.code;
    }
}

TEST(KvHttpUriTest, WebTextToUriAndBack) {
    KvString out;
    Web2URI(out, "a%20b%%c%41%e9%zz%4");
    EXPECT_STREQ(out.c_str(), "a b%cA\xC3\xA9%zz%4");
    URI2Web(out, "/a b\t\"#%<>[\\]^`{|}\x7f\xC3\xA9-_.~");
    EXPECT_STREQ(out.c_str(), "/a%20b%09%22%23%25%3c%3e%5b%5c%5d%5e%60%7b%7c%7d%7f\xC3\xA9-_.~");
}

}  // namespace
