#include "tern/KvHttpAuthorization.h"

#include <basalt/KvBase64.h>
#include <basalt/KvDigits.h>
#include "tern/KvMd5.h"

#include <chrono>
#include <cstring>
#include <ctime>
#include <strings.h>

namespace {

constexpr int kMaxBasicBytes = 512;

bool StartsWithNoCase(const char* p, const char* word) { return strncasecmp(p, word, std::strlen(word)) == 0; }

const char* SkipSpace(const char* p) {
    while (*p == ' ' || *p == '\t') ++p;
    return p;
}

// Reads a quoted string at `p` (on the opening quote) into `out`, undoing backslash escapes.
const char* ReadQuoted(const char* p, KvString& out) {
    out.Empty();
    for (++p; *p && *p != '"'; ++p) {
        if (*p == '\\' && p[1]) ++p;
        out.Append(*p);
    }
    return *p == '"' ? p + 1 : p;
}

const char* SkipToken(const char* p) {
    while (*p && *p != ',' && *p != ' ' && *p != '\t') ++p;
    return p;
}

const char* MethodName(int method) {
    switch (method) {
        case 1: return "HEAD";
        case 2: return "GET";
        case 3: return "PUT";
        case 4: return "POST";
        default: return "";
    }
}

void Md5Hex(const unsigned char digest[16], KvString& out) {
    static const char kHex[] = "0123456789abcdef";
    char text[33];
    for (int i = 0; i < 16; ++i) {
        text[i * 2] = kHex[digest[i] >> 4];
        text[i * 2 + 1] = kHex[digest[i] & 0xF];
    }
    text[32] = 0;
    out = text;
}

void Md5Add(MD5_CTX& ctx, const char* text) {
    MD5Update(&ctx, reinterpret_cast<const unsigned char*>(text), static_cast<unsigned int>(std::strlen(text)));
}

void Md5Add(MD5_CTX& ctx, const KvString& text) {
    MD5Update(&ctx, reinterpret_cast<const unsigned char*>(text.c_str()), static_cast<unsigned int>(text.Length()));
}

// Compares the MD5 digests of both texts without an early exit, so neither how much of a
// guess was right nor how long the secret is shows in the time taken.
bool SecretEquals(const KvString& a, const char* b) {
    unsigned char da[16], db[16];
    MD5_CTX ctx;
    MD5Init(&ctx);
    Md5Add(ctx, a);
    MD5Final(da, &ctx);
    MD5Init(&ctx);
    Md5Add(ctx, b);
    MD5Final(db, &ctx);
    unsigned int diff = 0;
    for (int i = 0; i < 16; ++i) diff |= static_cast<unsigned int>(da[i] ^ db[i]);
    return diff == 0;
}

// A value fit for a head line: no control characters but tab.
bool IsHeaderSafe(const KvString& text) {
    for (int i = 0; i < text.Length(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text.At(i));
        if ((c < 0x20 && c != '\t') || c == 0x7F) return false;
    }
    return true;
}

// `name`="`value`" as an RFC 7616 quoted string: '"' and '\\' are escaped.
void AppendQuoted(KvString& text, const char* name, const KvString& value) {
    text += name;
    text += "=\"";
    for (int i = 0; i < value.Length(); ++i) {
        const char c = value.At(i);
        if (c == '"' || c == '\\') text += '\\';
        text += c;
    }
    text += "\"";
}

}  // namespace

void KvHttpAuthorization::Parse(const char* value) {
    if (!value) return;
    value = SkipSpace(value);
    if (StartsWithNoCase(value, "Basic ")) {
        ParseBasic(SkipSpace(value + 6));
    } else if (StartsWithNoCase(value, "Digest ")) {
        ParseDigest(value + 7);
    } else {
        m_scheme = kOther;
    }
}

void KvHttpAuthorization::ParseBasic(const char* text) {
    m_scheme = kBasic;
    unsigned char decoded[kMaxBasicBytes];
    int length = 0;
    KvString token(text);
    token.TrimRight();
    if (!DecodeBase64(decoded, kMaxBasicBytes, token.c_str(), &length)) return;
    const void* colon = std::memchr(decoded, ':', static_cast<size_t>(length));
    if (!colon) return;
    const int at = static_cast<int>(static_cast<const unsigned char*>(colon) - decoded);
    m_userName.Assign(reinterpret_cast<const char*>(decoded), at);
    m_nonce.Assign(reinterpret_cast<const char*>(decoded) + at + 1, length - at - 1);
    m_basicDecoded = true;
}

void KvHttpAuthorization::ParseDigest(const char* text) {
    m_scheme = kDigest;
    m_qop = kQopNone;
    m_algorithm = kMD5;
    m_nc = 0;
    const char* p = text;
    while (*p) {
        p = SkipSpace(p);
        while (*p == ',') p = SkipSpace(p + 1);
        if (!*p) break;
        p = ParseDigestParameter(p);
    }
}

// Reads one name=value pair; returns the position after it.
const char* KvHttpAuthorization::ParseDigestParameter(const char* p) {
    static const struct {
        const char* name;
        KvString KvHttpAuthorization::*field;
    } kQuoted[] = {{"cnonce=", &KvHttpAuthorization::m_cnonce},     {"nonce=", &KvHttpAuthorization::m_nonce},
                   {"opaque=", &KvHttpAuthorization::m_opaque},     {"realm=", &KvHttpAuthorization::m_realm},
                   {"response=", &KvHttpAuthorization::m_response}, {"uri=", &KvHttpAuthorization::m_uri},
                   {"username=", &KvHttpAuthorization::m_userName}};
    for (const auto& q : kQuoted) {
        if (!StartsWithNoCase(p, q.name)) continue;
        p += std::strlen(q.name);
        KvString& field = this->*q.field;
        if (*p == '"') return ReadQuoted(p, field);
        field.Empty();  // only quoted values count
        return SkipToken(p);
    }
    KvString value;
    if (StartsWithNoCase(p, "nc=")) {
        p += 3;
        m_nc = 0;
        for (int i = 0; i < 8; ++i, ++p) {
            const char c = *p;
            const int v = HexDigitValue(c);
            if (v < 0) break;
            m_nc = (m_nc << 4) | static_cast<std::uint32_t>(v);
        }
        return SkipToken(p);
    }
    const bool isQop = StartsWithNoCase(p, "qop=");
    const char* eq = p;
    while (*eq && *eq != '=' && *eq != ',') ++eq;
    if (*eq != '=') return SkipToken(p);
    p = eq + 1;
    if (*p == '"') {
        p = ReadQuoted(p, value);
    } else {
        const char* end = SkipToken(p);
        value.Assign(p, static_cast<int>(end - p));
        p = end;
    }
    if (isQop) {
        // A challenge may offer a list ("auth,auth-int"): plain auth is preferred.
        if (value == "auth-int") m_qop = kQopAuthInt;
        else if (value.StartsWith("auth")) m_qop = kQopAuth;
    }
    return p;
}

bool KvHttpAuthorization::Check(const char* password, const char* entityHash, int allowedSchemes) const {
    if (!password) return false;
    if (m_scheme == kBasic)
        return (allowedSchemes & kAllowBasic) && m_basicDecoded && SecretEquals(m_nonce, password);
    if (m_scheme != kDigest || !(allowedSchemes & (kAllowDigest | kAllowBasic))) return false;
    if (m_response.Length() != 32 || m_nonce.IsEmpty()) return false;
    KvString expected;
    DigestCalcResponse(password, entityHash, expected);
    return SecretEquals(m_response, expected.c_str());
}

void KvHttpAuthorization::H(const void* data, int length, KvString& out) {
    MD5_CTX ctx;
    MD5Init(&ctx);
    if (data && length > 0) MD5Update(&ctx, static_cast<const unsigned char*>(data), static_cast<unsigned int>(length));
    unsigned char digest[16];
    MD5Final(digest, &ctx);
    Md5Hex(digest, out);
}

void KvHttpAuthorization::DigestCalcResponse(const char* password, const char* entityHash, KvString& out) const {
    MD5_CTX ctx;
    unsigned char digest[16];
    MD5Init(&ctx);
    Md5Add(ctx, m_userName);
    Md5Add(ctx, ":");
    Md5Add(ctx, m_realm);
    Md5Add(ctx, ":");
    Md5Add(ctx, password ? password : "");
    MD5Final(digest, &ctx);
    if (m_algorithm == kMD5Sess) {
        MD5Init(&ctx);
        MD5Update(&ctx, digest, 16);
        Md5Add(ctx, ":");
        Md5Add(ctx, m_nonce);
        Md5Add(ctx, ":");
        Md5Add(ctx, m_cnonce);
        MD5Final(digest, &ctx);
    }
    KvString ha1, ha2;
    Md5Hex(digest, ha1);

    MD5Init(&ctx);
    Md5Add(ctx, MethodName(m_method));
    Md5Add(ctx, ":");
    Md5Add(ctx, m_uri);
    if (m_qop == kQopAuthInt) {
        Md5Add(ctx, ":");
        Md5Add(ctx, entityHash ? entityHash : "");
    }
    MD5Final(digest, &ctx);
    Md5Hex(digest, ha2);

    MD5Init(&ctx);
    Md5Add(ctx, ha1);
    Md5Add(ctx, ":");
    Md5Add(ctx, m_nonce);
    Md5Add(ctx, ":");
    if (m_qop != kQopNone) {
        KvString nc;
        nc.Format("%08lx", static_cast<unsigned long>(m_nc));
        Md5Add(ctx, nc);
        Md5Add(ctx, ":");
        Md5Add(ctx, m_cnonce);
        Md5Add(ctx, ":");
        Md5Add(ctx, m_qop == kQopAuthInt ? "auth-int" : "auth");
        Md5Add(ctx, ":");
    }
    Md5Add(ctx, ha2);
    MD5Final(digest, &ctx);
    Md5Hex(digest, out);
}

void KvHttpAuthorization::UpdateDigest(const char* uri, const char* entityHash, const char* userName,
                                       const char* password) {
    m_uri = uri;
    m_userName = userName;
    using namespace std::chrono;
    const auto wall = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    const auto tick = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    m_cnonce.Format("%lx", static_cast<unsigned long>(static_cast<std::uint32_t>(wall + tick)));
    m_qop = (entityHash && *entityHash) ? kQopAuthInt : kQopAuth;
    m_scheme = kDigest;
    ++m_nc;
    DigestCalcResponse(password, entityHash, m_response);
}

bool KvHttpAuthorization::DigestOutput(KvString& text) const {
    text.Empty();
    for (const KvString* v : {&m_userName, &m_realm, &m_nonce, &m_uri, &m_cnonce, &m_opaque})
        if (!IsHeaderSafe(*v)) return false;
    text = "Authorization: Digest ";
    AppendQuoted(text, "username", m_userName);
    AppendQuoted(text, ", realm", m_realm);
    AppendQuoted(text, ", nonce", m_nonce);
    AppendQuoted(text, ", uri", m_uri);
    text += ", qop=\"";
    text += m_qop == kQopAuthInt ? "auth-int" : "auth";
    text.AppendFormat("\", nc=%08lx, ", static_cast<unsigned long>(m_nc));
    AppendQuoted(text, "cnonce", m_cnonce);
    AppendQuoted(text, ", response", m_response);
    // An opaque the server never sent is left out: servers reject an empty one.
    if (!m_opaque.IsEmpty()) AppendQuoted(text, ", opaque", m_opaque);
    return true;
}
