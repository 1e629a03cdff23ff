// KvHttpAuthorization: the credentials of one HTTP request.
//
// Server side: filled from an "Authorization:" header value by Parse, then
// Check compares them with the expected password (Basic) or recomputes the
// RFC 2617 request-digest (Digest). Client side: Parse a server's
// "WWW-Authenticate:" Digest challenge to learn realm, nonce and opaque, then
// UpdateDigest before each request and DigestOutput for the header line.
// Malformed headers leave fields empty or unchanged, so Check fails.
// Secrets are compared through their digests in constant time, so neither the
// matching part nor the length of a secret shows in the time taken.
#pragma once

#include <basalt/KvBasicString.h>

#include <cstdint>

class KvHttpAuthorization {
public:
    enum Scheme { kNone = 0, kOther = 1, kBasic = 2, kDigest = 3 };
    enum Qop { kQopNone = 0, kQopAuth = 1, kQopAuthInt = 2 };
    enum Algorithm { kMD5 = 1, kMD5Sess = 2 };
    // Bits of Check's allowedSchemes: 0x1 Digest only, 0x2 Basic or Digest.
    static constexpr int kAllowDigest = 0x1;
    static constexpr int kAllowBasic = 0x2;

    // Reads the value of an "Authorization:" (or a "WWW-Authenticate:") header.
    void Parse(const char* value);
    // True when the credentials match `password` (and `entityHash` for auth-int).
    bool Check(const char* password, const char* entityHash, int allowedSchemes) const;
    // Client: stores uri and user name, makes a client nonce, counts the nonce up and
    // computes the response; qop is auth-int when `entityHash` is given, else auth.
    void UpdateDigest(const char* uri, const char* entityHash, const char* userName, const char* password);
    // Client: "Authorization: Digest username=..." without a line end; the opaque
    // parameter only when the challenge had one. Quoted values are escaped (RFC 7616).
    // False, with `text` empty, when a value holds a line break or another control
    // character, which would add lines to the head.
    bool DigestOutput(KvString& text) const;
    // The 32-digit request-digest for `password` from the fields held.
    void DigestCalcResponse(const char* password, const char* entityHash, KvString& out) const;
    // 32 lower-case hexadecimal digits of the MD5 of `length` bytes of `data`.
    static void H(const void* data, int length, KvString& out);

    // Request method code (1 HEAD, 2 GET, 3 PUT, 4 POST) used for the digest.
    void SetMethod(int method) { m_method = method; }
    int Method() const { return m_method; }
    int Scheme() const { return m_scheme; }
    int QOp() const { return m_qop; }
    int Algorithm() const { return m_algorithm; }
    std::uint32_t NC() const { return m_nc; }
    const KvString& URI() const { return m_uri; }
    const KvString& UserName() const { return m_userName; }
    const KvString& Realm() const { return m_realm; }
    // With the Basic scheme, the received password.
    const KvString& Nonce() const { return m_nonce; }
    const KvString& CNonce() const { return m_cnonce; }
    const KvString& Response() const { return m_response; }
    const KvString& Opaque() const { return m_opaque; }

private:
    void ParseBasic(const char* text);
    void ParseDigest(const char* text);
    const char* ParseDigestParameter(const char* p);

    KvString m_uri;
    KvString m_userName;
    KvString m_realm;
    KvString m_nonce;
    KvString m_cnonce;
    KvString m_response;
    KvString m_opaque;
    std::uint32_t m_nc = 0;
    int m_qop = kQopNone;
    int m_algorithm = kMD5;
    int m_scheme = kNone;
    int m_method = 0;
    bool m_basicDecoded = false;  // a Basic header that failed to decode never matches
};
