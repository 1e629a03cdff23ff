// KvHttpRequest: the parsed head of one HTTP request.
//
// Parse reads only the head; the body, if any, stays on the connection for the
// request processor to read (ContentLength() bytes). Methods other than GET,
// PUT and POST parse as method 0 with nothing else read, so the processor can
// answer them (for example with 501) and close.
#pragma once

#include <basalt/KvBasicString.h>
#include <basalt/KvDateTime.h>
#include <tern/KvHttpAuthorization.h>

#include <cstdint>

class KvHttpRequest {
public:
    enum Method { kOther = 0, kGet = 2, kPut = 3, kPost = 4 };
    static constexpr int kFlagIfModifiedSince = 0x1;
    static constexpr int kFlagAcceptDeflate = 0x2;
    static constexpr int kFlagAcceptGZip = 0x4;
    static constexpr int kFlagTransferEncoded = 0x8;
    static constexpr int kMaxUriLength = 4094;
    static constexpr int kMaxValueLength = 4096;

    // Parses a request head that ends with CR LF CR LF; `length` -1 means NUL-terminated.
    // False for a head without that end, a URI longer than kMaxUriLength, or a
    // Content-Length that is not a plain decimal number (or disagrees with an earlier one),
    // since guessing a body length would read the body as the next request.
    bool Parse(const char* text, int length = -1);

    int Method() const { return m_method; }
    // The request target, percent-decoded (it may hold any byte, NUL included).
    const KvString& URI() const { return m_uri; }
    void SetURI(const char* uri) { m_uri = uri; }
    // major * 10 + minor ("HTTP/1.1" gives 11); 0 when the request line has none.
    int Version() const { return m_version; }
    const KvString& Referer() const { return m_referer; }
    const KvString& UserAgent() const { return m_userAgent; }
    const KvHttpAuthorization& Authorization() const { return m_authorization; }
    KvHttpAuthorization& Authorization() { return m_authorization; }
    unsigned long ContentLength() const { return m_contentLength; }
    bool HasIfModifiedSince() const { return (m_flags & kFlagIfModifiedSince) != 0; }
    // The If-Modified-Since date (UTC); invalid unless HasIfModifiedSince(). Dates
    // before 1999 do not count as read.
    const KvDateTime& IfModifiedSince() const { return m_ifModifiedSince; }
    bool AcceptDeflate() const { return (m_flags & kFlagAcceptDeflate) != 0; }
    bool AcceptGZip() const { return (m_flags & kFlagAcceptGZip) != 0; }
    // The body comes with a transfer coding (usually chunked) rather than a length: a
    // processor that reads ContentLength() bytes would read nothing and then take the
    // body for the next request, so it should refuse (411) and close.
    bool TransferEncoded() const { return (m_flags & kFlagTransferEncoded) != 0; }
    const KvString& AcceptLanguage() const { return m_acceptLanguage; }
    int Flags() const { return m_flags; }

private:
    void Reset();
    const char* ParseRequestLine(const char* p, const char* end, bool& ok);
    bool ParseHeader(const char* line, const char* end);

    KvString m_uri;
    int m_method = kOther;
    int m_version = 0;
    KvString m_referer;
    KvString m_userAgent;
    KvHttpAuthorization m_authorization;
    unsigned long m_contentLength = 0;
    int m_flags = 0;
    KvDateTime m_ifModifiedSince;
    KvString m_acceptLanguage;
    bool m_hasContentLength = false;
};
