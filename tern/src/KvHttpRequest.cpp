#include "tern/KvHttpRequest.h"

#include "basalt/KvDigits.h"
#include "internal/HttpDate.h"

#include <cctype>
#include <climits>
#include <cstring>
#include <strings.h>

namespace {

bool NameIs(const char* name, int length, const char* wanted) {
    return static_cast<int>(std::strlen(wanted)) == length && strncasecmp(name, wanted, static_cast<size_t>(length)) == 0;
}

// RFC 9110 token characters, as in method and header names.
bool IsTokenChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           (c != 0 && std::strchr("!#$%&'*+-.^_`|~", c) != nullptr);
}

bool IsToken(const char* p, const char* end) {
    if (p == end) return false;
    for (; p < end; ++p)
        if (!IsTokenChar(*p)) return false;
    return true;
}

// Every line must end with CR LF, and no NUL may hide in the head: a peer that reads a
// bare LF or CR differently from us would see other requests than we do.
bool LineEndsAreClean(const char* text, int length) {
    for (int i = 0; i < length; ++i) {
        if (text[i] == 0) return false;
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) return false;
        if (text[i] == '\r' && (i + 1 == length || text[i + 1] != '\n')) return false;
    }
    return true;
}

bool ParseDecimal(const char* p, const char* end, unsigned long& value) {
    while (p < end && (*p == ' ' || *p == '\t')) ++p;
    while (end > p && (end[-1] == ' ' || end[-1] == '\t')) --end;
    if (p == end) return false;
    unsigned long v = 0;
    for (; p < end; ++p) {
        if (*p < '0' || *p > '9') return false;
        const unsigned long digit = static_cast<unsigned long>(*p - '0');
        if (v > (ULONG_MAX - digit) / 10) return false;
        v = v * 10 + digit;
    }
    value = v;
    return true;
}

bool Contains(const KvString& text, const char* word) { return text.Find(word) >= 0; }

}  // namespace

void KvHttpRequest::Reset() { *this = KvHttpRequest(); }

bool KvHttpRequest::Parse(const char* text, int length) {
    Reset();
    m_errorStatus = 400;
    if (!text) return false;
    if (length < 0) length = static_cast<int>(std::strlen(text));
    if (length < 4 || std::memcmp(text + length - 4, "\r\n\r\n", 4) != 0 || !LineEndsAreClean(text, length))
        return false;
    const char* const end = text + length;
    const char* p = ParseRequestLine(text, end);
    if (!p || !ParseHeaders(p, end)) return false;
    // A length beside a transfer coding is the classic smuggling pair (RFC 9112, 6.1).
    if (TransferEncoded() && m_hasContentLength) return false;
    m_authorization.SetMethod(IsHead() ? 1 : m_method);
    m_errorStatus = 0;
    return true;
}

// The position after the request line, or null (with the error status set).
const char* KvHttpRequest::ParseRequestLine(const char* p, const char* end) {
    const char* space = static_cast<const char*>(std::memchr(p, ' ', static_cast<size_t>(end - p)));
    if (!space || !IsToken(p, space)) return nullptr;
    m_methodName.Assign(p, static_cast<int>(space - p));
    if (m_methodName == "GET") m_method = kGet;
    else if (m_methodName == "PUT") m_method = kPut;
    else if (m_methodName == "POST") m_method = kPost;
    p = space + 1;
    if (!ParseUri(p, end)) return nullptr;
    if (end - p > 6 && std::memcmp(p, " HTTP/", 6) == 0) {
        p += 6;
        int major = 0, minor = 0;
        for (; p < end && std::isdigit(static_cast<unsigned char>(*p)) && major < 100; ++p) major = major * 10 + (*p - '0');
        if (p < end && *p == '.') ++p;
        for (; p < end && std::isdigit(static_cast<unsigned char>(*p)) && minor < 100; ++p) minor = minor * 10 + (*p - '0');
        m_version = major * 10 + minor;
    }
    const char* eol = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
    return eol ? eol + 1 : end;
}

bool KvHttpRequest::ParseUri(const char*& p, const char* end) {
    m_uri.SetGrowth(KvGrowth::Small);
    for (; p < end && *p != ' ' && *p != '\r' && *p != '\n'; ++p) {
        if (m_uri.Length() >= kMaxUriLength) {
            m_errorStatus = 414;
            return false;
        }
        if (*p == '%' && p + 1 < end && p[1] == '%') {
            m_uri.Append('%');
            ++p;
        } else if (*p == '%' && p + 2 < end && HexDigitValue(p[1]) >= 0 && HexDigitValue(p[2]) >= 0) {
            m_uri.Append(static_cast<char>(HexDigitValue(p[1]) * 16 + HexDigitValue(p[2])));
            p += 2;
        } else {
            m_uri.Append(*p);
        }
    }
    m_uri.SetGrowth(KvGrowth::Exact);
    return true;
}

// Header lines until the empty line that ends the head.
bool KvHttpRequest::ParseHeaders(const char* p, const char* end) {
    while (p < end) {
        const char* eol = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
        if (!eol) break;
        const char* lineEnd = eol - 1;  // every line ends with CR LF here
        if (lineEnd == p) break;
        if (!ParseHeader(p, lineEnd)) return false;
        p = eol + 1;
    }
    return true;
}

bool KvHttpRequest::ParseHeader(const char* line, const char* end) {
    static const struct {
        const char* name;
        KvString KvHttpRequest::*field;
    } kCopied[] = {{"Referer", &KvHttpRequest::m_referer},
                   {"User-Agent", &KvHttpRequest::m_userAgent},
                   {"Accept-Language", &KvHttpRequest::m_acceptLanguage}};
    // No folded lines (RFC 9112, 5.2) and no space before the colon (5.1).
    const char* colon = static_cast<const char*>(std::memchr(line, ':', static_cast<size_t>(end - line)));
    if (!colon || !IsToken(line, colon)) return false;
    const int nameLength = static_cast<int>(colon - line);
    const char* value = colon + 1;
    while (value < end && (*value == ' ' || *value == '\t')) ++value;
    const char* valueEnd = end;
    while (valueEnd > value && (valueEnd[-1] == ' ' || valueEnd[-1] == '\t')) --valueEnd;
    if (NameIs(line, nameLength, "Content-Length") || NameIs(line, nameLength, "Transfer-Encoding"))
        return ParseFraming(line, nameLength, value, valueEnd);
    const int valueLength = static_cast<int>(valueEnd - value) < kMaxValueLength ? static_cast<int>(valueEnd - value)
                                                                                 : kMaxValueLength;
    KvString copy(value, valueLength);
    if (NameIs(line, nameLength, "Authorization")) {
        m_authorization.Parse(copy.c_str());
    } else if (NameIs(line, nameLength, "If-Modified-Since")) {
        if (tern_internal::ParseHttpDate(copy.c_str(), copy.Length(), m_ifModifiedSince)) m_flags |= kFlagIfModifiedSince;
    } else if (NameIs(line, nameLength, "Accept-Encoding")) {
        if (Contains(copy, "deflate")) m_flags |= kFlagAcceptDeflate;
        if (Contains(copy, "gzip")) m_flags |= kFlagAcceptGZip;
    } else if (NameIs(line, nameLength, "Expect")) {
        if (strcasecmp(copy.c_str(), "100-continue") == 0) m_flags |= kFlagExpectContinue;
    } else {
        for (const auto& c : kCopied)
            if (NameIs(line, nameLength, c.name)) this->*c.field = copy;
    }
    return true;
}

// Content-Length and Transfer-Encoding, which decide where the body ends.
bool KvHttpRequest::ParseFraming(const char* name, int nameLength, const char* value, const char* end) {
    if (NameIs(name, nameLength, "Content-Length")) {
        unsigned long n = 0;
        if (!ParseDecimal(value, end, n) || (m_hasContentLength && n != m_contentLength)) return false;
        m_contentLength = n;
        m_hasContentLength = true;
        return true;
    }
    // Only a body whose last coding is chunked has a knowable end.
    const int length = static_cast<int>(end - value);
    m_flags |= kFlagTransferEncoded;
    return length >= 7 && strncasecmp(end - 7, "chunked", 7) == 0 &&
           (length == 7 || end[-8] == ',' || end[-8] == ' ' || end[-8] == '\t');
}
