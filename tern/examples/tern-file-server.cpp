// tern-file-server: a small file server built on the Tern library.
//
//   tern-file-server --port N --root DIR [--realm R --user U --password P]
//                    [--chunked | --deflate] [--bind ADDRESS] [--max-body-bytes N]
//                    [--workers N] [--head-timeout-ms N] [--body-timeout-ms N] [--busy-idle-ms N]
//
// GET sends a file of DIR (HEAD its headers), PUT stores the body as a file of
// DIR, POST echoes the body back; nothing outside DIR is reached, symbolic
// links included. Bodies stream to disk, never into memory, and a body over
// --max-body-bytes is refused (413). With --user every request needs Digest
// credentials (qop auth or auth-int; a nonce count must grow with each use of
// a nonce). Bodies go out with a Content-Length unless --chunked or --deflate
// asks otherwise; deflate only to clients that accept it. Port 0 picks a free
// port; the first line printed names the address and port. Ends on SIGINT or
// SIGTERM.
#include <basalt/KvDigits.h>
#include <tern/KvHttpAuthorization.h>
#include <tern/KvHttpRequest.h>
#include <tern/KvHttpResponse.h>
#include <tern/KvHttpServer.h>
#include <tern/KvMd5.h>
#include <tern/KvTcpSocket.h>

#include <arpa/inet.h>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr long kNonceLifetime = 3600;
constexpr size_t kPiece = 65536;

struct Options {
    int port = 8080;
    std::string root;
    std::string bind = "127.0.0.1";
    std::string realm = "tern";
    std::string user, password;
    bool chunked = false, deflate = false;
    unsigned long maxBody = 64ul << 20;
    KvHttpServerLimits limits;
} g_options;

std::string g_secret;
std::string g_realRoot;  // the root with every symbolic link resolved

enum class BodyForm { kLength, kChunked, kDeflate };

void Usage() {
    std::fprintf(stderr,
                 "usage: tern-file-server --port N --root DIR [--realm R --user U --password P]\n"
                 "                        [--chunked | --deflate] [--bind ADDRESS] [--max-body-bytes N]\n"
                 "                        [--workers N] [--head-timeout-ms N] [--body-timeout-ms N]\n"
                 "                        [--busy-idle-ms N]\n");
}

bool ParseOptions(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto next = [&](std::string& out) {
            if (i + 1 >= argc) return false;
            out = argv[++i];
            return true;
        };
        std::string v;
        if (a == "--chunked") g_options.chunked = true;
        else if (a == "--deflate") g_options.deflate = true;
        else if (!next(v)) return false;
        else if (a == "--port") g_options.port = std::atoi(v.c_str());
        else if (a == "--root") g_options.root = v;
        else if (a == "--bind") g_options.bind = v;
        else if (a == "--realm") g_options.realm = v;
        else if (a == "--user") g_options.user = v;
        else if (a == "--password") g_options.password = v;
        else if (a == "--max-body-bytes") g_options.maxBody = std::strtoul(v.c_str(), nullptr, 10);
        else if (a == "--workers") g_options.limits.workers = std::atoi(v.c_str());
        else if (a == "--head-timeout-ms") g_options.limits.headTimeoutMs = std::atoi(v.c_str());
        else if (a == "--body-timeout-ms") g_options.limits.bodyTimeoutMs = std::atoi(v.c_str());
        else if (a == "--busy-idle-ms") g_options.limits.busyIdleMs = std::atoi(v.c_str());
        else return false;
    }
    if (g_options.root.empty() || g_options.port < 0 || g_options.limits.workers < 1) return false;
    if (g_options.chunked && g_options.deflate) return false;
    return !(g_options.user.empty() != g_options.password.empty());
}

std::string RandomHex(int bytes) {
    std::string out;
    FILE* f = std::fopen("/dev/urandom", "rb");
    for (int i = 0; i < bytes; ++i) {
        const int c = f ? std::fgetc(f) : std::rand();
        char two[3];
        std::snprintf(two, sizeof two, "%02x", c & 0xFF);
        out += two;
    }
    if (f) std::fclose(f);
    return out;
}

std::string KeyedHash(const std::string& text) {
    KvString h;
    const std::string keyed = text + ":" + g_secret;
    KvHttpAuthorization::H(keyed.data(), static_cast<int>(keyed.size()), h);
    return h.c_str();
}

// A nonce carries its issue time, a random part (each challenge gets its own nonce, whose
// counts start afresh) and a keyed hash of both, so it can be checked without remembering
// it; its opaque value is a keyed hash of the nonce.
std::string MakeNonce() {
    char stamp[17];
    std::snprintf(stamp, sizeof stamp, "%08lx", static_cast<unsigned long>(std::time(nullptr)));
    const std::string issued = stamp + RandomHex(4);
    return issued + KeyedHash(issued).substr(0, 16);
}

std::string OpaqueFor(const KvString& nonce) { return KeyedHash(std::string("opaque:") + nonce.c_str()).substr(0, 16); }

long NonceAge(const KvString& nonce) {
    if (nonce.Length() != 32) return -1;
    const std::string issued(nonce.c_str(), 16), stamp(nonce.c_str(), 8);
    if (KeyedHash(issued).substr(0, 16) != nonce.c_str() + 16) return -1;
    return static_cast<long>(std::time(nullptr)) - std::strtol(stamp.c_str(), nullptr, 16);
}

bool NonceValid(const KvString& nonce) {
    const long age = NonceAge(nonce);
    return age >= 0 && age < kNonceLifetime;
}

// The highest nonce count accepted per nonce: an answer is good once (RFC 7616, 3.4).
std::mutex g_countLock;
std::map<std::string, std::uint32_t> g_counts;

bool CountGrows(const KvString& nonce, std::uint32_t nc) {
    std::lock_guard<std::mutex> lock(g_countLock);
    for (auto it = g_counts.begin(); it != g_counts.end();)
        it = NonceValid(KvString(it->first.c_str())) ? std::next(it) : g_counts.erase(it);
    std::uint32_t& last = g_counts[nonce.c_str()];
    if (nc <= last) return false;
    last = nc;
    return true;
}

// Percent-decoding as the request line gets it, for comparing the digest's uri.
std::string Decode(const char* s) {
    std::string out;
    auto hex = [](char c) { return HexDigitValue(static_cast<unsigned char>(c)); };
    for (; *s; ++s) {
        if (s[0] == '%' && s[1] == '%') {
            out += '%';
            ++s;
        } else if (s[0] == '%' && s[1] && s[2] && hex(s[1]) >= 0 && hex(s[2]) >= 0) {
            out += static_cast<char>(hex(s[1]) * 16 + hex(s[2]));
            s += 2;
        } else {
            out += *s;
        }
    }
    return out;
}

// Everything of the credentials but the response and the count, which need the body.
bool CredentialsFit(const KvHttpRequest& request) {
    const KvHttpAuthorization& a = request.Authorization();
    const KvString& uri = request.URI();
    return a.Scheme() == KvHttpAuthorization::kDigest && a.QOp() != KvHttpAuthorization::kQopNone &&
           a.UserName() == g_options.user.c_str() && a.Realm() == g_options.realm.c_str() && NonceValid(a.Nonce()) &&
           a.Opaque() == OpaqueFor(a.Nonce()).c_str() &&
           Decode(a.URI().c_str()) == std::string(uri.c_str(), static_cast<size_t>(uri.Length()));
}

bool AnswerMatches(const KvHttpRequest& request, const char* bodyHash) {
    const KvHttpAuthorization& a = request.Authorization();
    return a.Check(g_options.password.c_str(), a.QOp() == KvHttpAuthorization::kQopAuthInt ? bodyHash : nullptr,
                   KvHttpAuthorization::kAllowDigest) &&
           CountGrows(a.Nonce(), a.NC());
}

// The request body, streamed into a file (or nowhere) while its MD5 is taken.
class Body {
public:
    ~Body() {
        if (m_file) std::fclose(m_file);
        if (!m_temp.empty()) std::remove(m_temp.c_str());
    }
    // Reads the whole body into `file` (which the Body then owns; null drops it). False
    // when the client stops short or the deadline passes.
    bool Read(KvTcpSocket& socket, const KvHttpRequest& request, FILE* file, const std::string& temp = {}) {
        m_file = file;
        m_temp = temp;
        MD5_CTX ctx;
        MD5Init(&ctx);
        if (request.ExpectContinue() && request.ContentLength() > 0 && !KvHttpResponse(&socket).SendContinue())
            return false;
        std::vector<char> piece(kPiece);
        for (unsigned long left = request.ContentLength(); left > 0;) {
            const int n = socket.Receive(piece.data(), static_cast<int>(left < kPiece ? left : kPiece));
            if (n <= 0) return false;
            MD5Update(&ctx, reinterpret_cast<const unsigned char*>(piece.data()), static_cast<unsigned int>(n));
            if (m_file && std::fwrite(piece.data(), 1, static_cast<size_t>(n), m_file) != static_cast<size_t>(n))
                return false;
            left -= static_cast<unsigned long>(n);
        }
        unsigned char digest[16];
        MD5Final(digest, &ctx);
        for (unsigned char d : digest) {
            char two[3];
            std::snprintf(two, sizeof two, "%02x", d);
            m_hash += two;
        }
        return !m_file || (std::fflush(m_file) == 0 && fsync(fileno(m_file)) == 0);
    }
    const std::string& Hash() const { return m_hash; }
    FILE* File() const { return m_file; }
    // Moves the stored body to `path`; afterwards nothing is left to clean up.
    bool Keep(const std::string& path) {
        const bool closed = std::fclose(m_file) == 0;
        m_file = nullptr;
        if (!closed || std::rename(m_temp.c_str(), path.c_str()) != 0) return false;
        m_temp.clear();
        return true;
    }

private:
    FILE* m_file = nullptr;
    std::string m_temp;
    std::string m_hash;
};

// A short text answer; to HEAD only its head.
bool SendStatus(KvTcpSocket& socket, const KvHttpRequest& request, int code, const char* text, bool keepAlive) {
    KvHttpResponse r(&socket);
    r.SetMimeType("text/plain");
    const int length = static_cast<int>(std::strlen(text));
    const int flags = KvHttpResponse::kContentLength | (keepAlive ? 0 : KvHttpResponse::kClose) |
                      (request.IsHead() ? KvHttpResponse::kNoBody : 0);
    return r.Setup(code, flags, length) && (request.IsHead() || r.Send(text, length)) && keepAlive;
}

// The body, if any, is not read here: the server drops it, or closes the connection when
// the client still waits for "100 Continue".
bool SendChallenge(KvTcpSocket& socket, const KvHttpRequest& request, bool stale) {
    const std::string nonce = MakeNonce();
    const std::string challenge = " Digest realm=\"" + g_options.realm + "\", qop=\"auth,auth-int\", algorithm=MD5, nonce=\"" +
                                  nonce + "\", opaque=\"" + OpaqueFor(KvString(nonce.c_str())) + "\"" +
                                  (stale ? ", stale=true" : "");
    KvHttpResponse r(&socket);
    const bool close = request.ExpectContinue() && request.ContentLength() > 0;
    return r.Setup(401, KvHttpResponse::kAuthenticate | (close ? KvHttpResponse::kClose : 0), challenge.c_str()) &&
           !close;
}

BodyForm FormFor(const KvHttpRequest& request) {
    if (g_options.deflate && request.AcceptDeflate()) return BodyForm::kDeflate;
    return g_options.chunked ? BodyForm::kChunked : BodyForm::kLength;
}

// Sends `size` bytes of `file` from its start, in the form the options ask for.
bool SendFile(KvTcpSocket& socket, const KvHttpRequest& request, const char* mime, FILE* file, long size) {
    KvHttpResponse r(&socket);
    r.SetMimeType(mime);
    const BodyForm form = request.IsHead() ? BodyForm::kLength : FormFor(request);
    const int flags = form == BodyForm::kDeflate ? KvHttpResponse::kDeflate
                      : form == BodyForm::kChunked ? KvHttpResponse::kChunked
                      : KvHttpResponse::kContentLength | (request.IsHead() ? KvHttpResponse::kNoBody : 0);
    if (!r.Setup(200, flags, static_cast<int>(size)) || std::fseek(file, 0, SEEK_SET) != 0) return false;
    if (request.IsHead()) return true;
    std::vector<char> piece(kPiece);
    for (long left = size; left > 0;) {
        const size_t n = std::fread(piece.data(), 1, left < static_cast<long>(kPiece) ? static_cast<size_t>(left) : kPiece, file);
        if (n == 0 || !r.Send(piece.data(), static_cast<int>(n))) return false;
        left -= static_cast<long>(n);
    }
    return form == BodyForm::kLength || r.End();
}

const char* MimeType(const std::string& path) {
    static const struct {
        const char* ext;
        const char* type;
    } kTypes[] = {{".html", "text/html"}, {".txt", "text/plain"}, {".xml", "text/xml"}, {".json", "application/json"}};
    for (const auto& t : kTypes) {
        const size_t n = std::strlen(t.ext);
        if (path.size() >= n && path.compare(path.size() - n, n, t.ext) == 0) return t.type;
    }
    return "application/octet-stream";
}

// The file path of a request target, or empty when it would leave the root.
std::string LocalPath(const KvString& uri) {
    std::string path(uri.c_str(), static_cast<size_t>(uri.Length()));
    const size_t query = path.find('?');
    if (query != std::string::npos) path.resize(query);
    if (path.empty() || path[0] != '/' || path.find('\0') != std::string::npos) return {};
    if (("/" + path + "/").find("/../") != std::string::npos) return {};
    return g_options.root + path;
}

// True when `path`, with every symbolic link resolved, lies inside the root.
bool InsideRoot(const std::string& path) {
    char* real = realpath(path.c_str(), nullptr);
    if (!real) return false;
    const std::string resolved = real;
    std::free(real);
    return resolved == g_realRoot || resolved.compare(0, g_realRoot.size() + 1, g_realRoot + "/") == 0;
}

std::string Folder(const std::string& path) { return path.substr(0, path.rfind('/') + 1); }

bool ServeFile(KvTcpSocket& socket, const KvHttpRequest& request, const std::string& path) {
    struct stat st {};
    FILE* f = InsideRoot(path) && stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) ? std::fopen(path.c_str(), "rb")
                                                                                      : nullptr;
    if (!f) return SendStatus(socket, request, 404, "not found\n", true);
    const bool sent = SendFile(socket, request, MimeType(path), f, static_cast<long>(st.st_size));
    std::fclose(f);
    return sent;
}

// Streams the body beside the target and renames, so a cut-off upload never replaces a
// good file. The temporary name never collides with a request target's ".part" file.
bool ReadUpload(KvTcpSocket& socket, const KvHttpRequest& request, const std::string& path, Body& body) {
    const std::string temp = path + ".part" + std::to_string(::getpid()) + "-" + RandomHex(4);
    FILE* f = std::fopen(temp.c_str(), "wbx");
    return f && body.Read(socket, request, f, temp);
}

bool Process(KvTcpSocket& socket, KvHttpRequest& request) {
    const bool get = request.Method() == KvHttpRequest::kGet || request.IsHead();
    const bool put = request.Method() == KvHttpRequest::kPut;
    auto status = [&](int code, const char* text, bool keepAlive) {
        return SendStatus(socket, request, code, text, keepAlive);
    };
    if (!get && request.Method() == KvHttpRequest::kOther) return status(501, "not implemented\n", false);
    const std::string path = LocalPath(request.URI());
    if (path.empty()) return status(400, "bad path\n", false);
    if (request.TransferEncoded()) return status(411, "length required\n", false);
    if (request.ContentLength() > g_options.maxBody) return status(413, "too large\n", false);
    if (put && !InsideRoot(Folder(path))) return status(403, "outside the root\n", false);
    const bool secured = !g_options.user.empty();
    if (secured && !CredentialsFit(request))
        return SendChallenge(socket, request, NonceAge(request.Authorization().Nonce()) >= kNonceLifetime);

    // The body is read before anything is done: auth-int credentials cover it.
    Body body;
    FILE* echo = get || put ? nullptr : std::tmpfile();
    if (!get && !put && !echo) return status(500, "no room for the body\n", false);
    if (!(put ? ReadUpload(socket, request, path, body) : body.Read(socket, request, echo))) return false;
    if (secured && !AnswerMatches(request, body.Hash().c_str())) return SendChallenge(socket, request, false);
    if (get) return ServeFile(socket, request, path);
    if (!put) return SendFile(socket, request, "application/octet-stream", echo, static_cast<long>(request.ContentLength()));
    if (!body.Keep(path)) return status(409, "cannot store\n", true);
    return status(201, "stored\n", true);
}

}  // namespace

int main(int argc, char** argv) {
    if (!ParseOptions(argc, argv)) {
        Usage();
        return 2;
    }
    in_addr address{};
    if (inet_pton(AF_INET, g_options.bind.c_str(), &address) != 1) {
        std::fprintf(stderr, "tern-file-server: bad address %s\n", g_options.bind.c_str());
        return 2;
    }
    g_secret = RandomHex(16);
    char* realRoot = realpath(g_options.root.c_str(), nullptr);
    if (!realRoot) {
        std::fprintf(stderr, "tern-file-server: no folder %s\n", g_options.root.c_str());
        return 2;
    }
    g_realRoot = realRoot;
    std::free(realRoot);
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);  // before any thread starts

    KvHttpServer server;
    server.Setup(&Process, "tern-file-server/1.0", g_options.port);
    server.SetLimits(g_options.limits);
    if (!server.Start(address.s_addr, true)) {
        std::fprintf(stderr, "tern-file-server: cannot listen on %s:%d\n", g_options.bind.c_str(), g_options.port);
        return 1;
    }
    std::printf("tern-file-server listening on %s:%d\n", g_options.bind.c_str(), server.Port());
    std::fflush(stdout);
    int received = 0;
    sigwait(&signals, &received);
    server.Stop();
    return 0;
}
