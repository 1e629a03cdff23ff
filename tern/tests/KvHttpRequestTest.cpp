#include "internal/MemoryStream.h"

#include <tern/KvHttpHeadReader.h>
#include <tern/KvHttpRequest.h>

#include <gtest/gtest.h>

#include <string>

namespace {

KvHttpRequest Parsed(const std::string& head, bool* ok = nullptr) {
    KvHttpRequest r;
    const bool parsed = r.Parse(head.data(), static_cast<int>(head.size()));
    if (ok) *ok = parsed;
    return r;
}

TEST(KvHttpRequestTest, RequestLine) {
    const struct {
        const char* head;
        int method;
        const char* uri;
        int version;
        unsigned long length;
    } kCases[] = {
        {"GET /a%20b HTTP/1.1\r\n\r\n", KvHttpRequest::kGet, "/a b", 11, 0},
        {"PUT /x%%y HTTP/1.0\r\n\r\n", KvHttpRequest::kPut, "/x%y", 10, 0},
        {"POST /%41%4a%zz HTTP/1.1\r\n\r\n", KvHttpRequest::kPost, "/AJ%zz", 11, 0},
        {"GET /\r\n\r\n", KvHttpRequest::kGet, "/", 0, 0},
        {"GET /trailing% HTTP/1.1\r\n\r\n", KvHttpRequest::kGet, "/trailing%", 11, 0},
        // Other methods keep code 0, but their heads are read: their bodies must be framed too.
        {"HEAD / HTTP/1.1\r\nContent-Length: 5\r\n\r\n", KvHttpRequest::kOther, "/", 11, 5},
        {"get / HTTP/1.1\r\n\r\n", KvHttpRequest::kOther, "/", 11, 0},
    };
    for (const auto& c : kCases) {
        bool ok = false;
        const KvHttpRequest r = Parsed(c.head, &ok);
        EXPECT_TRUE(ok) << c.head;
        EXPECT_EQ(r.Method(), c.method) << c.head;
        EXPECT_STREQ(r.URI().c_str(), c.uri) << c.head;
        EXPECT_EQ(r.Version(), c.version) << c.head;
        EXPECT_EQ(r.ContentLength(), c.length) << c.head;
    }
    const KvHttpRequest head = Parsed("HEAD /f HTTP/1.1\r\n\r\n");
    EXPECT_TRUE(head.IsHead());
    EXPECT_STREQ(head.MethodName().c_str(), "HEAD");
    EXPECT_EQ(head.Authorization().Method(), 1) << "HEAD digests hash the method name HEAD";
    EXPECT_FALSE(Parsed("GET / HTTP/1.1\r\n\r\n").IsHead());
}

TEST(KvHttpRequestTest, RejectsHeadsThatCannotBeTrusted) {
    const std::string longUri = "GET /" + std::string(KvHttpRequest::kMaxUriLength, 'a') + " HTTP/1.1\r\n\r\n";
    const struct {
        std::string head;
        int status;
    } kCases[] = {
        {"GET / HTTP/1.1\r\n", 400},
        {"GET / HTTP/1.1\r\n\r", 400},
        {"", 400},
        {longUri, 414},
        {"PUT /f HTTP/1.1\r\nContent-Length: 12x\r\n\r\n", 400},
        {"PUT /f HTTP/1.1\r\nContent-Length: -1\r\n\r\n", 400},
        {"PUT /f HTTP/1.1\r\nContent-Length: 99999999999999999999999\r\n\r\n", 400},
        {"PUT /f HTTP/1.1\r\nContent-Length: 5\r\nContent-Length: 6\r\n\r\n", 400},
        {"PUT /f HTTP/1.1\r\nContent-Length: 5, 5\r\n\r\n", 400},
        {"PUT /f HTTP/1.1\r\nTransfer-Encoding: chunked\r\ncontent-length: 5\r\n\r\n", 400},
        {"PUT /f HTTP/1.1\r\nTransfer-Encoding: chunked, gzip\r\n\r\n", 400},
        {"PUT /f HTTP/1.1\r\nTransfer-Encoding: chunked\r\nTransfer-Encoding: identity\r\n\r\n", 400},
        {"PUT /f HTTP/1.1\r\nContent-Length : 5\r\n\r\n", 400},
        {"PUT /f HTTP/1.1\r\nX: 1\r\n\tContent-Length: 5\r\n\r\n", 400},
        {"PUT /f HTTP/1.1\r\nno colon here\r\n\r\n", 400},
        {"GET / HTTP/1.1\nX: 1\r\n\r\n", 400},
        {"GET / HTTP/1.1\r\nX: 1\r2\r\n\r\n", 400},
        {std::string("GET / HTTP/1.1\r\nX: a\0b\r\n\r\n", 27), 400},
        {"G(T / HTTP/1.1\r\n\r\n", 400},
    };
    for (const auto& c : kCases) {
        KvHttpRequest r;
        EXPECT_FALSE(r.Parse(c.head.data(), static_cast<int>(c.head.size()))) << c.head;
        EXPECT_EQ(r.ErrorStatus(), c.status) << c.head;
    }
    bool ok = false;
    const KvHttpRequest twice = Parsed("PUT /f HTTP/1.1\r\nContent-Length: 5\r\ncontent-length:5 \r\n\r\n", &ok);
    EXPECT_TRUE(ok) << "a repeated equal length is harmless";
    EXPECT_EQ(twice.ErrorStatus(), 0);
    const KvHttpRequest coded = Parsed("PUT /f HTTP/1.1\r\ntransfer-encoding: gzip, Chunked\r\n\r\n", &ok);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(coded.TransferEncoded());
}

// RFC 9110: field names are case-insensitive, all of them and every letter.
TEST(KvHttpRequestTest, HeaderNamesMatchInAnyCase) {
    EXPECT_EQ(Parsed("PUT / HTTP/1.1\r\ncontent-Length: 5\r\n\r\n").ContentLength(), 5u);
    EXPECT_EQ(Parsed("PUT / HTTP/1.1\r\nCONTENT-LENGTH: 5\r\n\r\n").ContentLength(), 5u);
    EXPECT_EQ(Parsed("PUT / HTTP/1.1\r\ncontent-length:7\r\n\r\n").ContentLength(), 7u);
    EXPECT_TRUE(Parsed("PUT / HTTP/1.1\r\nTRANSFER-ENCODING: chunked\r\n\r\n").TransferEncoded());
    EXPECT_TRUE(Parsed("GET / HTTP/1.1\r\nACCEPT-encoding: deflate\r\n\r\n").AcceptDeflate());
    EXPECT_TRUE(Parsed("PUT / HTTP/1.1\r\nexpect: 100-Continue\r\n\r\n").ExpectContinue());
    EXPECT_FALSE(Parsed("PUT / HTTP/1.1\r\nExpect: something-else\r\n\r\n").ExpectContinue());
    EXPECT_STREQ(Parsed("GET / HTTP/1.1\r\nuser-agent: x \r\n\r\n").UserAgent().c_str(), "x");
}

TEST(KvHttpRequestTest, HeaderValues) {
    const KvHttpRequest r = Parsed(
        "GET /p HTTP/1.1\r\nHost: h\r\nUser-Agent: curl/8\r\nreferer: http://x/\r\n"
        "Accept-Encoding: gzip, deflate\r\nAccept-Language: nl-BE\r\n"
        "If-Modified-Since: Sun, 06 Nov 2011 08:49:37 GMT\r\n"
        "Authorization: Digest username=\"u\", nonce=\"n\"\r\n\r\n");
    EXPECT_STREQ(r.UserAgent().c_str(), "curl/8");
    EXPECT_STREQ(r.Referer().c_str(), "http://x/");
    EXPECT_TRUE(r.AcceptDeflate());
    EXPECT_TRUE(r.AcceptGZip());
    EXPECT_STREQ(r.AcceptLanguage().c_str(), "nl-BE");
    EXPECT_TRUE(r.HasIfModifiedSince());
    EXPECT_EQ(r.IfModifiedSince().EpochSeconds(), 1320569377);
    EXPECT_STREQ(r.Authorization().UserName().c_str(), "u");
    EXPECT_EQ(r.Authorization().Method(), KvHttpRequest::kGet);
    EXPECT_FALSE(r.TransferEncoded());

    // Dates a KvDateTime cannot hold, or that are no dates, are not read.
    for (const char* date : {"Sun, 06 Nov 1994 08:49:37 GMT", "Mon, 30 Feb 2015 08:49:37 GMT",
                             "Sun, 06 Nov 2011 24:00:00 GMT", "Sun, 06 Nov 2011 08:49", "Sun 06 Nov 2011 08:49:37 GMT"}) {
        const KvHttpRequest old = Parsed(std::string("GET / HTTP/1.1\r\nIf-Modified-Since: ") + date + "\r\n\r\n");
        EXPECT_FALSE(old.HasIfModifiedSince()) << date;
    }

    const KvHttpRequest plain = Parsed("GET / HTTP/1.1\r\nAccept-Encoding: identity\r\n"
                                       "If-Modified-Since: yesterday\r\nTransfer-Encoding: chunked\r\n\r\n");
    EXPECT_FALSE(plain.AcceptDeflate());
    EXPECT_FALSE(plain.HasIfModifiedSince());
    EXPECT_TRUE(plain.TransferEncoded());
}

// A head split in every possible way reads the same, and the body stays behind.
TEST(KvHttpRequestTest, HeadReaderLeavesTheBody) {
    const std::string head = "PUT /f HTTP/1.1\r\nContent-Length: 4\r\n\r\n";
    for (int piece : {1, 2, 3, 5, 1000}) {
        tern_internal::MemoryStream stream(head + "BODYGET /next", piece);
        char buffer[256];
        int length = 0;
        ASSERT_EQ(KvHttpHeadReader::Read(stream, buffer, 255, length, KvHttpHeadReader::NowMs() + 1000),
                  KvHttpHeadReader::kComplete) << piece;
        EXPECT_EQ(std::string(buffer, length), head);
        EXPECT_EQ(stream.Rest(), "BODYGET /next");
    }
}

TEST(KvHttpRequestTest, HeadReaderFailures) {
    char buffer[65];
    int length = 0;
    const std::int64_t later = KvHttpHeadReader::NowMs() + 1000;
    tern_internal::MemoryStream full(std::string(100, 'A') + "\r\n\r\n", 7);
    EXPECT_EQ(KvHttpHeadReader::Read(full, buffer, 64, length, later), KvHttpHeadReader::kTooLarge);
    tern_internal::MemoryStream exact(std::string(60, 'A') + "\r\n\r\n", 7);
    EXPECT_EQ(KvHttpHeadReader::Read(exact, buffer, 64, length, later), KvHttpHeadReader::kComplete);
    tern_internal::MemoryStream cut("GET / HTTP/1.1\r\n", 4);
    EXPECT_EQ(KvHttpHeadReader::Read(cut, buffer, 64, length, later), KvHttpHeadReader::kClosed);
    for (const char* junk : {"\x16\x03\x01", "get / HTTP/1.1\r\n\r\n", " GET", "\r\n\r\n"}) {
        tern_internal::MemoryStream stream(junk);
        EXPECT_EQ(KvHttpHeadReader::Read(stream, buffer, 64, length, later), KvHttpHeadReader::kNotHttp) << junk;
    }
    for (const char* bare : {"GET / HTTP/1.1\n\n", "GET / HTTP/1.1\r\nX: 1\n\r\n"}) {
        tern_internal::MemoryStream stream(bare, 3);
        EXPECT_EQ(KvHttpHeadReader::Read(stream, buffer, 64, length, later), KvHttpHeadReader::kBareLineFeed) << bare;
    }
    tern_internal::MemoryStream bodyMayHoldAnything("PUT / HTTP/1.1\r\n\r\n\n\n");
    EXPECT_EQ(KvHttpHeadReader::Read(bodyMayHoldAnything, buffer, 64, length, later), KvHttpHeadReader::kComplete);
    tern_internal::MemoryStream late("GET / HTTP/1.1\r\n\r\n");
    EXPECT_EQ(KvHttpHeadReader::Read(late, buffer, 64, length, KvHttpHeadReader::NowMs() - 1), KvHttpHeadReader::kTimeout);
}

}  // namespace
