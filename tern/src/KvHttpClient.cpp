#include "tern/KvHttpClient.h"

#include "basalt/KvDigits.h"
#include "tern/KvHttpUri.h"

#include <chrono>
#include <cstring>
#include <strings.h>
#include <zlib.h>

namespace {

constexpr int kNothingReceived = -4;  // the peer closed before any byte of a response
constexpr int kMaxChunkLine = 256;
constexpr int kMaxInterimAnswers = 16;
constexpr size_t kMaxChallenges = 16;

bool HasControl(const char* text) {
    for (; *text; ++text)
        if (static_cast<unsigned char>(*text) < 0x20 || *text == 0x7F) return true;
    return false;
}

const char* MethodWord(int method) { return method == 3 ? "PUT" : method == 4 ? "POST" : "GET"; }

bool NameIs(const char* line, const char* name) { return strncasecmp(line, name, std::strlen(name)) == 0; }

}  // namespace

KvHttpClient::KvHttpClient()
    : m_buffer(new unsigned char[kReceiveBufferSize]),
      m_input(new unsigned char[kInputBufferSize]),
      m_compressed(new unsigned char[kInputBufferSize]) {}

KvHttpClient::~KvHttpClient() {
    Cancel();
    delete[] m_buffer;
    delete[] m_input;
    delete[] m_compressed;
}

int KvHttpClient::Get(const char* host, int port, const char* path, const char* userName, const char* password) {
    return Request(2, host, port, path, nullptr, 0, userName, password);
}

int KvHttpClient::Put(const char* host, int port, const char* path, const void* data, int length,
                      const char* userName, const char* password) {
    return Request(3, host, port, path, data, length, userName, password);
}

int KvHttpClient::Post(const char* host, int port, const char* path, const void* data, int length,
                       const char* userName, const char* password) {
    return Request(4, host, port, path, data, length, userName, password);
}

int KvHttpClient::Request(int method, const char* host, int port, const char* path, const void* data, int length,
                          const char* userName, const char* password) {
    if (!m_lock.try_lock_for(std::chrono::milliseconds(m_socket.ReceiveWait()))) return -3;
    std::lock_guard<std::timed_mutex> guard(m_lock, std::adopt_lock);
    if (!host || !path || port <= 0 || length < 0 || (length > 0 && !data)) return -1;
    // Both are written into the head as they are.
    if (HasControl(host) || (userName && HasControl(userName))) return -1;
    const bool credentials = userName && *userName && password;
    m_userName = credentials ? userName : "";
    m_password = credentials ? password : "";
    m_auth = credentials ? FindChallenge(host, port) : nullptr;
    m_useDigest = m_auth != nullptr;
    int status = Exchange(method, host, port, path, data, length);
    if (status != 401 || !credentials) return status;

    // Answer the challenge once; a second refusal is the caller's answer.
    DrainBody();
    KvHttpAuthorization challenge;
    challenge.Parse(m_challenge.c_str());
    if (challenge.Scheme() != KvHttpAuthorization::kDigest || challenge.Nonce().IsEmpty()) return -2;
    m_auth = KeepChallenge(host, port, challenge);
    m_useDigest = true;
    status = Exchange(method, host, port, path, data, length);
    return status < 0 ? -2 : status;
}

// The latest challenge of `host` and `port`, or null.
KvHttpAuthorization* KvHttpClient::FindChallenge(const char* host, int port) {
    for (auto it = m_challenges.begin(); it != m_challenges.end(); ++it)
        if (it->port == port && it->host == host) {
            m_challenges.splice(m_challenges.begin(), m_challenges, it);
            return &m_challenges.front().auth;
        }
    return nullptr;
}

// Keeps `challenge` as the latest of its host, port and realm.
KvHttpAuthorization* KvHttpClient::KeepChallenge(const char* host, int port, const KvHttpAuthorization& challenge) {
    m_challenges.remove_if(
        [&](const Challenge& c) { return c.port == port && c.host == host && c.auth.Realm() == challenge.Realm(); });
    m_challenges.push_front(Challenge{KvString(host), port, challenge});
    if (m_challenges.size() > kMaxChallenges) m_challenges.pop_back();
    return &m_challenges.front().auth;
}

// One request and its response head; a stale kept-alive connection is retried once on a
// new one, except for POST, which may not be repeated.
int KvHttpClient::Exchange(int method, const char* host, int port, const char* path, const void* data, int length) {
    const bool reuse = Connected() && m_port == port && m_host == host && m_bodyState == kBodyDone && !m_closeAfter;
    if (!reuse) Cancel();
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!Connected() && !Open(host, port)) return -1;
        if (!SendRequest(method, host, port, path, data, length)) {
            Cancel();
            if (reuse && attempt == 0 && method != 4) continue;
            return -1;
        }
        const int status = ReadFinalHead();
        if (status == kNothingReceived && reuse && attempt == 0 && method != 4) {
            Cancel();
            continue;
        }
        if (status < 0) {
            Cancel();
            return status == kNothingReceived ? -2 : status;
        }
        PrepareBody(status);
        return status;
    }
    return -1;
}

bool KvHttpClient::Open(const char* host, int port) {
    if (!m_socket.Connect(host, port)) return false;
    m_host = host;
    m_port = port;
    return true;
}

bool KvHttpClient::SendRequest(int method, const char* host, int port, const char* path, const void* data,
                               int length) {
    KvString uri, head;
    URI2Web(uri, path);
    head.SetGrowth(KvGrowth::Small);
    head.Format("%s %s HTTP/1.1\r\nHost: %s", MethodWord(method), uri.c_str(), host);
    if (port != 80) head.AppendFormat(":%d", port);
    head += "\r\nUser-Agent: KvHttpClient/1.0\r\n";
    if (method != 2) head.AppendFormat("Content-Length: %d\r\n", length);
    head += "Accept-Encoding: deflate\r\n";
    if (m_useDigest && m_auth) {
        KvString line;
        m_auth->SetMethod(method);
        m_auth->UpdateDigest(uri.c_str(), nullptr, m_userName.c_str(), m_password.c_str());
        if (!m_auth->DigestOutput(line)) return false;
        head += line;
        head += "\r\n";
    }
    head += "\r\n";
    m_inLen = m_inPos = 0;
    return m_socket.SendAll(head.c_str(), head.Length(), length > 0) &&
           (length == 0 || m_socket.SendAll(data, length));
}

bool KvHttpClient::FillInput() {
    m_inPos = 0;
    m_inLen = m_socket.Receive(m_input, kInputBufferSize);
    if (m_inLen > 0) return true;
    m_inLen = 0;
    return false;
}

int KvHttpClient::InputByte() {
    if (m_inPos == m_inLen && !FillInput()) return -1;
    return m_input[m_inPos++];
}

// Reads heads until one is not an interim 1xx answer (101 counts as final).
int KvHttpClient::ReadFinalHead() {
    for (int i = 0; i < kMaxInterimAnswers; ++i) {
        const int status = ReadHead();
        if (status < 100 || status > 199 || status == 101) return status;
    }
    return -2;
}

// Reads the head through the input buffer; body bytes that came with it stay there.
int KvHttpClient::ReadHead() {
    KvString head;
    head.SetGrowth(KvGrowth::Small);
    while (!head.EndsWith("\r\n\r\n")) {
        const int c = InputByte();
        if (c < 0) return head.IsEmpty() ? kNothingReceived : -2;
        if (c == 0 || head.Length() >= kMaxHeadSize) return -2;
        head.Append(static_cast<char>(c));
    }
    int status = 0;
    if (head.Length() < 10 || !ParseHead(head.c_str(), status)) return -2;
    return status;
}

// `head` ends with CR LF CR LF and holds no NUL byte (ReadHead sees to both).
bool KvHttpClient::ParseHead(const char* head, int& status) {
    if (std::strncmp(head, "HTTP/", 5) != 0) return false;
    status = 0;
    for (int i = 9; i < 12; ++i) {
        if (head[i] < '0' || head[i] > '9') return false;
        status = status * 10 + (head[i] - '0');
    }
    m_contentLength = -1;
    m_encoding = 0;
    m_challenge.Empty();
    m_closeAfter = std::strncmp(head, "HTTP/1.0", 8) == 0;
    const char* line = std::strchr(head, '\n') + 1;
    for (const char* end; (end = std::strchr(line, '\n')) != nullptr; line = end + 1) {
        const char* stop = (end > line && end[-1] == '\r') ? end - 1 : end;
        const char* colon = static_cast<const char*>(std::memchr(line, ':', static_cast<size_t>(stop - line)));
        if (!colon) continue;
        const char* v = colon + 1;
        while (v < stop && (*v == ' ' || *v == '\t')) ++v;
        while (stop > v && (stop[-1] == ' ' || stop[-1] == '\t')) --stop;
        const KvString value(v, static_cast<int>(stop - v));
        if (!ParseHeader(line, value)) return false;
    }
    return true;
}

bool KvHttpClient::ParseHeader(const char* line, const KvString& value) {
    if (NameIs(line, "Content-Length:")) {
        char* stop = nullptr;
        const long n = std::strtol(value.c_str(), &stop, 10);
        if (value.IsEmpty() || *stop || n < 0 || (m_contentLength >= 0 && n != m_contentLength)) return false;
        m_contentLength = n;
    } else if (NameIs(line, "Content-Encoding:")) {
        if (strcasestr(value.c_str(), "deflate")) m_encoding |= kFlagDeflate;
    } else if (NameIs(line, "Transfer-Encoding:")) {
        if (strcasestr(value.c_str(), "chunked")) m_encoding |= kFlagChunked;
    } else if (NameIs(line, "WWW-Authenticate:")) {
        m_challenge = value;
    } else if (NameIs(line, "Connection:")) {
        if (strcasestr(value.c_str(), "close")) m_closeAfter = true;
        if (strcasestr(value.c_str(), "keep-alive")) m_closeAfter = false;
    }
    return true;
}

void KvHttpClient::PrepareBody(int status) {
    m_avail = m_pos = 0;
    m_firstChunk = true;
    m_inflateEnded = false;
    m_bodyState = kBodyReading;
    m_untilClose = false;
    if (status < 200 || status == 204 || status == 304) {
        m_mode = kNoBody;
        EndBody(true);
        return;
    }
    m_mode = (m_encoding & kFlagDeflate) ? kDeflated : (m_encoding & kFlagChunked) ? kChunked : kPlain;
    if (m_encoding & kFlagChunked) m_left = 0;
    else if (m_contentLength >= 0) m_left = m_contentLength;
    else m_untilClose = true;
    if (m_mode == kDeflated) {
        m_inflate = new z_stream_s{};
        if (inflateInit(m_inflate) != Z_OK) {
            EndBody(false);
            return;
        }
    }
    if (!(m_encoding & kFlagChunked) && !m_untilClose && m_left == 0) EndBody(true);
}

bool KvHttpClient::DrainBody() {
    while (m_bodyState == kBodyReading) {
        m_pos = m_avail;
        if (!Refill()) break;
    }
    return m_bodyState == kBodyDone;
}

void KvHttpClient::EndBody(bool ok) {
    if (m_inflate) {
        inflateEnd(m_inflate);
        delete m_inflate;
        m_inflate = nullptr;
    }
    if (!ok || m_untilClose || m_closeAfter) CloseConnection();
    m_bodyState = ok ? kBodyDone : kBodyFailed;
}

void KvHttpClient::CloseConnection() {
    m_socket.Close();
    m_host.Empty();
    m_port = 0;
    m_inLen = m_inPos = 0;
}

void KvHttpClient::Cancel() {
    CloseConnection();
    if (m_inflate) {
        inflateEnd(m_inflate);
        delete m_inflate;
        m_inflate = nullptr;
    }
    if (m_bodyState == kBodyReading) m_bodyState = kBodyFailed;
    m_avail = m_pos = 0;
    m_left = 0;
}

// Next size line of a chunked body; -1 when it is malformed or the connection ends.
int KvHttpClient::ReadChunkSize() {
    if (!m_firstChunk && (InputByte() != '\r' || InputByte() != '\n')) return -1;
    m_firstChunk = false;
    long long size = 0;
    int digits = 0;
    bool inExtension = false;
    for (int n = 0;; ++n) {
        const int c = InputByte();
        if (c < 0 || n > kMaxChunkLine) return -1;
        if (c == '\n') break;
        if (c == ';' || c == '\r' || c == ' ' || c == '\t') inExtension = true;
        if (inExtension) continue;
        const int v = HexDigitValue(static_cast<char32_t>(c));
        if (v < 0) return -1;
        size = size * 16 + v;
        if (++digits > 8 || size > 0x7FFFFFFF) return -1;
    }
    if (digits == 0) return -1;
    if (size == 0) {  // trailer lines up to the empty one
        for (int len = 0, n = 0;; ++n) {
            const int c = InputByte();
            if (c < 0 || n > kMaxHeadSize) return -1;
            if (c == '\n') {
                if (len == 0) break;
                len = 0;
            } else if (c != '\r') {
                ++len;
            }
        }
    }
    return static_cast<int>(size);
}

// Body bytes as framed on the wire: >0 bytes, 0 at the end, -1 when the framing breaks.
int KvHttpClient::RawRead(unsigned char* out, int size) {
    if (m_encoding & kFlagChunked) {
        if (m_left == 0) {
            const int n = ReadChunkSize();
            if (n <= 0) return n;
            m_left = n;
        }
    } else if (!m_untilClose && m_left == 0) {
        return 0;
    }
    if (m_inPos == m_inLen && !FillInput()) return m_untilClose ? 0 : -1;
    int take = m_inLen - m_inPos;
    if (take > size) take = size;
    if (!m_untilClose && take > m_left) take = static_cast<int>(m_left);
    std::memcpy(out, m_input + m_inPos, static_cast<size_t>(take));
    m_inPos += take;
    if (!m_untilClose) m_left -= take;
    return take;
}

bool KvHttpClient::Refill() {
    m_avail = m_pos = 0;
    if (m_bodyState != kBodyReading) return false;
    if (m_mode == kDeflated) return Inflate();
    const int n = RawRead(m_buffer, kInputBufferSize);
    if (n > 0) {
        m_avail = n;
        return true;
    }
    EndBody(n == 0);
    return false;
}

bool KvHttpClient::Inflate() {
    for (;;) {
        if (m_inflateEnded) {
            // Whatever the framing still holds after the stream must be nothing.
            unsigned char rest[64];
            const int n = m_untilClose ? 0 : RawRead(rest, sizeof rest);
            EndBody(n == 0);
            return false;
        }
        if (m_inflate->avail_in == 0) {
            const int n = RawRead(m_compressed, kInputBufferSize);
            if (n <= 0) {  // the data stopped before the end of the compressed stream
                EndBody(false);
                return false;
            }
            m_inflate->next_in = m_compressed;
            m_inflate->avail_in = static_cast<unsigned int>(n);
        }
        m_inflate->next_out = m_buffer;
        m_inflate->avail_out = kReceiveBufferSize;
        const int r = inflate(m_inflate, Z_NO_FLUSH);
        if (r != Z_OK && r != Z_STREAM_END && r != Z_BUF_ERROR) {
            Cancel();
            return false;
        }
        m_inflateEnded = r == Z_STREAM_END;
        m_avail = kReceiveBufferSize - static_cast<int>(m_inflate->avail_out);
        if (m_avail > 0) return true;
    }
}

int KvHttpClient::Read() {
    if (m_pos == m_avail && !Refill()) return -1;
    return m_buffer[m_pos++];
}

const unsigned char* KvHttpClient::Read(int& count) {
    if (m_pos == m_avail && !Refill()) {
        count = -1;
        return nullptr;
    }
    const unsigned char* block = m_buffer + m_pos;
    count = m_avail - m_pos;
    m_pos = m_avail;
    return block;
}

int KvHttpClient::Read(void* buffer, int size) {
    int copied = 0;
    auto* out = static_cast<unsigned char*>(buffer);
    while (copied < size) {
        if (m_pos == m_avail && !Refill()) break;
        int take = m_avail - m_pos;
        if (take > size - copied) take = size - copied;
        std::memcpy(out + copied, m_buffer + m_pos, static_cast<size_t>(take));
        m_pos += take;
        copied += take;
    }
    return copied;
}

void KvHttpClient::Unread() {
    if (m_pos > 0) --m_pos;
}
