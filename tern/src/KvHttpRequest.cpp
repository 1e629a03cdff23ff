#include "tern/KvHttpRequest.h"

#include "internal/HttpDate.h"

#include <cctype>
#include <climits>
#include <cstring>

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Header names match with the first letter in either case and the rest exactly.
bool NameIs(const char* line, const char* end, const char* name) {
    const int n = static_cast<int>(std::strlen(name));
    if (end - line < n) return false;
    if (std::tolower(static_cast<unsigned char>(line[0])) != std::tolower(static_cast<unsigned char>(name[0])))
        return false;
    return std::memcmp(line + 1, name + 1, static_cast<size_t>(n - 1)) == 0;
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
    if (!text) return false;
    if (length < 0) length = static_cast<int>(std::strlen(text));
    if (length < 4 || std::memcmp(text + length - 4, "\r\n\r\n", 4) != 0) return false;
    const char* const end = text + length;
    bool ok = true;
    const char* p = ParseRequestLine(text, end, ok);
    if (!ok || m_method == kOther) return ok;
    // Header lines until the empty line that ends the head.
    while (p < end) {
        const char* eol = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
        if (!eol) break;
        const char* lineEnd = (eol > p && eol[-1] == '\r') ? eol - 1 : eol;
        if (lineEnd == p) break;
        if (!ParseHeader(p, lineEnd)) return false;
        p = eol + 1;
    }
    m_authorization.SetMethod(m_method);
    return true;
}

const char* KvHttpRequest::ParseRequestLine(const char* p, const char* end, bool& ok) {
    if (std::strncmp(p, "GET ", 4) == 0) m_method = kGet, p += 4;
    else if (std::strncmp(p, "PUT ", 4) == 0) m_method = kPut, p += 4;
    else if (std::strncmp(p, "POST ", 5) == 0) m_method = kPost, p += 5;
    else return p;

    m_uri.SetGrowth(KvGrowth::Small);
    for (; p < end && *p != ' ' && *p != '\r' && *p != '\n'; ++p) {
        if (m_uri.Length() >= kMaxUriLength) {
            ok = false;
            return p;
        }
        if (*p == '%' && p + 1 < end && p[1] == '%') {
            m_uri.Append('%');
            ++p;
        } else if (*p == '%' && p + 2 < end && HexValue(p[1]) >= 0 && HexValue(p[2]) >= 0) {
            m_uri.Append(static_cast<char>(HexValue(p[1]) * 16 + HexValue(p[2])));
            p += 2;
        } else {
            m_uri.Append(*p);
        }
    }
    m_uri.SetGrowth(KvGrowth::Exact);
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

bool KvHttpRequest::ParseHeader(const char* line, const char* end) {
    static const struct {
        const char* name;
        KvString KvHttpRequest::*field;
    } kCopied[] = {{"Referer:", &KvHttpRequest::m_referer},
                   {"User-Agent:", &KvHttpRequest::m_userAgent},
                   {"Accept-Language:", &KvHttpRequest::m_acceptLanguage}};
    const char* colon = static_cast<const char*>(std::memchr(line, ':', static_cast<size_t>(end - line)));
    if (!colon) return true;
    const char* value = colon + 1;
    while (value < end && (*value == ' ' || *value == '\t')) ++value;
    const int valueLength = static_cast<int>(end - value) < kMaxValueLength ? static_cast<int>(end - value) : kMaxValueLength;
    KvString copy(value, valueLength);

    if (NameIs(line, end, "Content-Length:")) {
        unsigned long n = 0;
        if (!ParseDecimal(value, end, n) || (m_hasContentLength && n != m_contentLength)) return false;
        m_contentLength = n;
        m_hasContentLength = true;
    } else if (NameIs(line, end, "Authorization:")) {
        m_authorization.Parse(copy.c_str());
    } else if (NameIs(line, end, "If-Modified-Since:")) {
        if (tern_internal::ParseHttpDate(copy.c_str(), copy.Length(), m_ifModifiedSince)) m_flags |= kFlagIfModifiedSince;
    } else if (NameIs(line, end, "Transfer-Encoding:")) {
        m_flags |= kFlagTransferEncoded;
    } else if (NameIs(line, end, "Accept-Encoding:")) {
        if (Contains(copy, "deflate")) m_flags |= kFlagAcceptDeflate;
        if (Contains(copy, "gzip")) m_flags |= kFlagAcceptGZip;
    } else {
        for (const auto& c : kCopied)
            if (NameIs(line, end, c.name)) this->*c.field = copy;
    }
    return true;
}
