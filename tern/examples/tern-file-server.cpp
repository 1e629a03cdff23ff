// tern-file-server: a small file server built on the Tern library.
//
//   tern-file-server --port N --root DIR [--realm R --user U --password P]
//                    [--chunked | --deflate] [--bind ADDRESS]
//                    [--workers N] [--head-timeout-ms N] [--busy-idle-ms N]
//
// GET sends a file of DIR, PUT stores the body as a file of DIR, POST echoes
// the body back. With --user every request needs Digest credentials. Bodies go
// out with a Content-Length unless --chunked or --deflate asks otherwise;
// deflate only to clients that accept it. Port 0 picks a free port; the
// first line printed names the address and port. Ends on SIGINT or SIGTERM.
#include <tern/KvHttpAuthorization.h>
#include <tern/KvHttpRequest.h>
#include <tern/KvHttpResponse.h>
#include <tern/KvHttpServer.h>
#include <tern/KvTcpSocket.h>

#include <arpa/inet.h>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr unsigned long kMaxBody = 64ul << 20;
constexpr long kNonceLifetime = 3600;

struct Options {
    int port = 8080;
    std::string root;
    std::string bind = "127.0.0.1";
    std::string realm = "tern";
    std::string user, password;
    bool chunked = false, deflate = false;
    KvHttpServerLimits limits;
} g_options;

std::string g_secret;

enum class BodyForm { kLength, kChunked, kDeflate };

void Usage() {
    std::fprintf(stderr,
                 "usage: tern-file-server --port N --root DIR [--realm R --user U --password P]\n"
                 "                        [--chunked | --deflate] [--bind ADDRESS]\n"
                 "                        [--workers N] [--head-timeout-ms N] [--busy-idle-ms N]\n");
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
        else if (a == "--workers") g_options.limits.workers = std::atoi(v.c_str());
        else if (a == "--head-timeout-ms") g_options.limits.headTimeoutMs = std::atoi(v.c_str());
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

// A nonce carries its issue time and a keyed hash of it, so it can be checked without
// remembering it.
std::string NonceSignature(const std::string& stamp) {
    KvString h;
    const std::string text = stamp + ":" + g_secret;
    KvHttpAuthorization::H(text.data(), static_cast<int>(text.size()), h);
    return std::string(h.c_str(), 24);
}

std::string MakeNonce() {
    char stamp[17];
    std::snprintf(stamp, sizeof stamp, "%08lx", static_cast<unsigned long>(std::time(nullptr)));
    return stamp + NonceSignature(stamp);
}

bool NonceValid(const KvString& nonce) {
    if (nonce.Length() != 32) return false;
    const std::string stamp(nonce.c_str(), 8);
    const long issued = std::strtol(stamp.c_str(), nullptr, 16);
    const long age = static_cast<long>(std::time(nullptr)) - issued;
    return age >= 0 && age < kNonceLifetime && NonceSignature(stamp) == nonce.c_str() + 8;
}

// Percent-decoding as the request line gets it, for comparing the digest's uri.
std::string Decode(const char* s) {
    std::string out;
    auto hex = [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) ? std::stoi(std::string(1, c), nullptr, 16) : -1; };
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

bool Authorized(const KvHttpRequest& request) {
    if (g_options.user.empty()) return true;
    const KvHttpAuthorization& a = request.Authorization();
    const KvString& uri = request.URI();
    return a.Scheme() == KvHttpAuthorization::kDigest && a.UserName() == g_options.user.c_str() &&
           a.Realm() == g_options.realm.c_str() && NonceValid(a.Nonce()) &&
           Decode(a.URI().c_str()) == std::string(uri.c_str(), static_cast<size_t>(uri.Length())) &&
           a.Check(g_options.password.c_str(), nullptr, KvHttpAuthorization::kAllowDigest);
}

// Reads exactly `length` body bytes; false when the client stops short.
bool ReadBody(KvTcpSocket& socket, unsigned long length, std::string& body) {
    body.resize(length);
    unsigned long got = 0;
    while (got < length) {
        const unsigned long want = length - got < 65536 ? length - got : 65536;
        const int n = socket.Receive(&body[got], static_cast<int>(want));
        if (n <= 0) return false;
        got += static_cast<unsigned long>(n);
    }
    return true;
}

bool DropBody(KvTcpSocket& socket, unsigned long length) {
    while (length > 0) {
        const int want = length < 65536 ? static_cast<int>(length) : 65536;
        const int n = socket.ReceiveDrop(want);
        if (n <= 0) return false;
        length -= static_cast<unsigned long>(n);
    }
    return true;
}

bool SendStatus(KvTcpSocket& socket, int code, const char* text, bool keepAlive) {
    KvHttpResponse r(&socket);
    r.SetMimeType("text/plain");
    const int length = static_cast<int>(std::strlen(text));
    return r.Setup(code, KvHttpResponse::kContentLength, length) && r.Send(text, length) && keepAlive;
}

bool SendChallenge(KvTcpSocket& socket, const KvHttpRequest& request) {
    const bool drained = !request.TransferEncoded() && request.ContentLength() <= kMaxBody &&
                         DropBody(socket, request.ContentLength());
    const std::string challenge = " Digest realm=\"" + g_options.realm + "\", qop=\"auth\", algorithm=MD5, nonce=\"" +
                                  MakeNonce() + "\", opaque=\"" + RandomHex(8) + "\"";
    KvHttpResponse r(&socket);
    return r.Setup(401, KvHttpResponse::kAuthenticate, challenge.c_str()) && drained;
}

BodyForm FormFor(const KvHttpRequest& request) {
    if (g_options.deflate && request.AcceptDeflate()) return BodyForm::kDeflate;
    return g_options.chunked ? BodyForm::kChunked : BodyForm::kLength;
}

bool SendBody(KvTcpSocket& socket, const KvHttpRequest& request, const char* mime, const std::string& body) {
    KvHttpResponse r(&socket);
    r.SetMimeType(mime);
    const int length = static_cast<int>(body.size());
    switch (FormFor(request)) {
        case BodyForm::kDeflate:
            return r.Setup(200, KvHttpResponse::kDeflate) && r.Send(body.data(), length) && r.End();
        case BodyForm::kChunked:
            return r.Setup(200, KvHttpResponse::kChunked) && r.Send(body.data(), length) && r.End();
        default:
            return r.Setup(200, KvHttpResponse::kContentLength, length) && r.Send(body.data(), length);
    }
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

bool ReadFile(const std::string& path, std::string& data) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    data.resize(static_cast<size_t>(st.st_size));
    const size_t n = data.empty() ? 0 : std::fread(&data[0], 1, data.size(), f);
    std::fclose(f);
    return n == data.size();
}

// Writes beside the target and renames, so a cut-off upload never replaces a good file.
bool WriteFile(const std::string& path, const std::string& data) {
    const std::string temp = path + ".part" + std::to_string(::getpid()) + "-" + RandomHex(4);
    FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size() && std::fflush(f) == 0 &&
                    fsync(fileno(f)) == 0;
    if (std::fclose(f) != 0 || !ok || std::rename(temp.c_str(), path.c_str()) != 0) {
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

bool Process(KvTcpSocket& socket, KvHttpRequest& request) {
    if (request.Method() == KvHttpRequest::kOther) return SendStatus(socket, 501, "not implemented\n", false);
    if (!Authorized(request)) return SendChallenge(socket, request);
    const std::string path = LocalPath(request.URI());
    if (path.empty()) return SendStatus(socket, 400, "bad path\n", false);
    if (request.Method() == KvHttpRequest::kGet) {
        std::string data;
        if (!ReadFile(path, data)) return SendStatus(socket, 404, "not found\n", true);
        return SendBody(socket, request, MimeType(path), data);
    }
    if (request.TransferEncoded()) return SendStatus(socket, 411, "length required\n", false);
    if (request.ContentLength() > kMaxBody) return SendStatus(socket, 413, "too large\n", false);
    std::string body;
    if (!ReadBody(socket, request.ContentLength(), body)) return false;
    if (request.Method() == KvHttpRequest::kPost) return SendBody(socket, request, "application/octet-stream", body);
    if (!WriteFile(path, body)) return SendStatus(socket, 409, "cannot store\n", true);
    return SendStatus(socket, 201, "stored\n", true);
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
