// KvHttpRequest: the parsed head of one HTTP request.
//
// Parse reads only the head; the body, if any, stays on the connection for the
// request processor to read (ContentLength() bytes). Methods other than GET,
// PUT and POST have method code 0, so a processor that knows only those three
// refuses them (for example with 501); their heads are still read in full,
// since the body framing must be known whatever the method. HEAD is told by
// IsHead(). Header names match in any case (RFC 9110).
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
    static constexpr int kFlagExpectContinue = 0x10;
    static constexpr int kMaxUriLength = 4094;
    static constexpr int kMaxValueLength = 4096;

    // Parses a request head that ends with CR LF CR LF; `length` -1 means NUL-terminated.
    // False, with ErrorStatus() telling the answer, for a head that cannot be trusted: a
    // URI longer than kMaxUriLength (414); a line end that is not CR LF, a folded or
    // nameless header line, a space before a colon, a NUL byte, a Content-Length that is
    // not a plain decimal number or disagrees with an earlier one, a Transfer-Encoding
    // beside a Content-Length or not ending in chunked (400). Guessing the body length
    // there would let the body pass for the next request (RFC 9112, section 6.3).
    bool Parse(const char* text, int length = -1);
    // The status to answer a head Parse refused with (400, 414); 0 after success.
    int ErrorStatus() const { return m_errorStatus; }

    int Method() const { return m_method; }
    // The method as sent ("GET", "HEAD", "DELETE", ...).
    const KvString& MethodName() const { return m_methodName; }
    bool IsHead() const { return m_methodName == "HEAD"; }
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
    // "Expect: 100-continue": the client waits for an interim 100 answer before the body.
    bool ExpectContinue() const { return (m_flags & kFlagExpectContinue) != 0; }
    bool HasContentLength() const { return m_hasContentLength; }
    const KvString& AcceptLanguage() const { return m_acceptLanguage; }
    int Flags() const { return m_flags; }

private:
    void Reset();
    const char* ParseRequestLine(const char* p, const char* end);
    bool ParseUri(const char*& p, const char* end);
    bool ParseHeaders(const char* p, const char* end);
    bool ParseHeader(const char* line, const char* end);
    bool ParseFraming(const char* name, int nameLength, const char* value, const char* end);

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
    KvString m_methodName;
    bool m_hasContentLength = false;
    int m_errorStatus = 0;
};
