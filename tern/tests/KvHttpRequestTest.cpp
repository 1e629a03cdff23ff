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
    } kCases[] = {
        {"GET /a%20b HTTP/1.1\r\n\r\n", KvHttpRequest::kGet, "/a b", 11},
        {"PUT /x%%y HTTP/1.0\r\n\r\n", KvHttpRequest::kPut, "/x%y", 10},
        {"POST /%41%4a%zz HTTP/1.1\r\n\r\n", KvHttpRequest::kPost, "/AJ%zz", 11},
        {"GET /\r\n\r\n", KvHttpRequest::kGet, "/", 0},
        {"GET /trailing% HTTP/1.1\r\n\r\n", KvHttpRequest::kGet, "/trailing%", 11},
        {"HEAD / HTTP/1.1\r\nContent-Length: 5\r\n\r\n", KvHttpRequest::kOther, "", 0},
        {"get / HTTP/1.1\r\n\r\n", KvHttpRequest::kOther, "", 0},
    };
    for (const auto& c : kCases) {
        bool ok = false;
        const KvHttpRequest r = Parsed(c.head, &ok);
        EXPECT_TRUE(ok) << c.head;
        EXPECT_EQ(r.Method(), c.method) << c.head;
        EXPECT_STREQ(r.URI().c_str(), c.uri) << c.head;
        EXPECT_EQ(r.Version(), c.version) << c.head;
        EXPECT_EQ(r.ContentLength(), 0u) << c.head;
    }
}

TEST(KvHttpRequestTest, RejectsHeadsThatCannotBeTrusted) {
    const std::string longUri = "GET /" + std::string(KvHttpRequest::kMaxUriLength, 'a') + " HTTP/1.1\r\n\r\n";
    for (const std::string& head : {std::string("GET / HTTP/1.1\r\n"), std::string("GET / HTTP/1.1\r\n\r"),
                                    std::string(""), longUri,
                                    std::string("PUT /f HTTP/1.1\r\nContent-Length: 12x\r\n\r\n"),
                                    std::string("PUT /f HTTP/1.1\r\nContent-Length: -1\r\n\r\n"),
                                    std::string("PUT /f HTTP/1.1\r\nContent-Length: 99999999999999999999999\r\n\r\n"),
                                    std::string("PUT /f HTTP/1.1\r\nContent-Length: 5\r\nContent-Length: 6\r\n\r\n")}) {
        bool ok = true;
        Parsed(head, &ok);
        EXPECT_FALSE(ok) << head;
    }
    bool ok = false;
    Parsed("PUT /f HTTP/1.1\r\nContent-Length: 5\r\ncontent-Length:5\r\n\r\n", &ok);
    EXPECT_TRUE(ok) << "a repeated equal length is harmless";
}

TEST(KvHttpRequestTest, HeaderNamesMatchOnlyTheirFirstLetterLoosely) {
    EXPECT_EQ(Parsed("PUT / HTTP/1.1\r\ncontent-Length: 5\r\n\r\n").ContentLength(), 5u);
    EXPECT_EQ(Parsed("PUT / HTTP/1.1\r\nCONTENT-LENGTH: 5\r\n\r\n").ContentLength(), 0u);
    EXPECT_EQ(Parsed("PUT / HTTP/1.1\r\nContent-Length:7\r\n\r\n").ContentLength(), 7u);
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
    tern_internal::MemoryStream late("GET / HTTP/1.1\r\n\r\n");
    EXPECT_EQ(KvHttpHeadReader::Read(late, buffer, 64, length, KvHttpHeadReader::NowMs() - 1), KvHttpHeadReader::kTimeout);
}

}  // namespace
