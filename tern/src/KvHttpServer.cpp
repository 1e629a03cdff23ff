#include "tern/KvHttpServer.h"

#include "tern/KvHttpConnection.h"
#include "tern/KvHttpHeadReader.h"

#include <chrono>

namespace {

std::atomic<KvHttpServer::Processor> g_processor{nullptr};
KvString g_nameVersion;

struct Reason {
    int code;
    const char* text;
};

// RFC 2616, section 6.1.1.
constexpr Reason kReasons[] = {
    {100, "Continue"}, {101, "Switching Protocols"}, {200, "OK"}, {201, "Created"}, {202, "Accepted"},
    {203, "Non-Authoritative Information"}, {204, "No Content"}, {205, "Reset Content"}, {206, "Partial Content"},
    {300, "Multiple Choices"}, {301, "Moved Permanently"}, {302, "Found"}, {303, "See Other"},
    {304, "Not Modified"}, {305, "Use Proxy"}, {307, "Temporary Redirect"}, {400, "Bad Request"},
    {401, "Unauthorized"}, {402, "Payment Required"}, {403, "Forbidden"}, {404, "Not Found"},
    {405, "Method Not Allowed"}, {406, "Not Acceptable"}, {407, "Proxy Authentication Required"},
    {408, "Request Time-out"}, {409, "Conflict"}, {410, "Gone"}, {411, "Length Required"},
    {412, "Precondition Failed"}, {413, "Request Entity Too Large"}, {414, "Request-URI Too Large"},
    {415, "Unsupported Media Type"}, {416, "Requested range not satisfiable"}, {417, "Expectation Failed"},
    {431, "Request Header Fields Too Large"},  // RFC 6585
    {500, "Internal Server Error"}, {501, "Not Implemented"}, {502, "Bad Gateway"},
    {503, "Service Unavailable"}, {504, "Gateway Time-out"}, {505, "HTTP Version not supported"}};

}  // namespace

KvHttpServer::~KvHttpServer() { Stop(); }

void KvHttpServer::Setup(Processor processor, const char* nameVersion, int port, int) {
    g_processor = processor;
    g_nameVersion = nameVersion;
    m_port = port;
    m_limits.workers = 75;
}

bool KvHttpServer::ProcessHttpRequest(KvTcpSocket& socket, KvHttpRequest& request) {
    const Processor p = g_processor.load();
    return p && p(socket, request);
}

const KvString& KvHttpServer::NameVersion() { return g_nameVersion; }

void KvHttpServer::ReasonPhrase(int code, KvString& text) {
    for (const Reason& r : kReasons)
        if (r.code == code) {
            text = r.text;
            return;
        }
    text = "Unknown response code";
}

bool KvHttpServer::Start(std::uint32_t address, bool ownThread) {
    int expected = kStopped;
    if (!m_state.compare_exchange_strong(expected, kStarting)) return expected == kRunning;
    if (!m_listener.Listen(m_port, address, true)) {
        m_state = kStopped;
        return false;
    }
    if (m_port == 0) m_port = m_listener.LocalPort();
    if (!ownThread) {
        Work();
        return true;
    }
    m_thread = std::thread([this] { Work(); });
    while (m_state.load() == kStarting) std::this_thread::yield();
    return true;
}

void KvHttpServer::Stop() {
    int expected = kRunning;
    if (!m_state.compare_exchange_strong(expected, kStopping)) return;
    m_listener.Shutdown();  // wakes the accept wait at once
    NotifyFree();
    if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id()) m_thread.join();
    while (m_state.load() != kStopped) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    for (KvHttpConnection* c : m_connections) delete c;
    m_connections.clear();
    m_listener.Close();
}

void KvHttpServer::NotifyFree() {
    {
        std::lock_guard<std::mutex> lock(m_freeLock);
        m_freed = true;
    }
    m_freeSignal.notify_one();
}

// The last free worker, closing any whose client has been idle past the limit.
KvHttpConnection* KvHttpServer::FindFree(std::int64_t nowMs) {
    KvHttpConnection* free = nullptr;
    for (KvHttpConnection* c : m_connections) {
        if (!c->Active()) free = c;
        else if (c->IdleSecondsSince(nowMs) > m_limits.idleLimitSeconds) c->Stop();
    }
    return free;
}

// With clients waiting and no worker free, frees the worker that has waited longest for
// its client: a kept-alive connection between requests once it has been served for
// busyIdleMs, one waiting for a head or reading a body once that wait passes busyIdleMs.
// Without this, clients that send a request every second, or trickle a body, would hold
// the pool for ever; with it, a newcomer waits about busyIdleMs at most.
void KvHttpServer::FreeWaitingWorker(std::int64_t nowMs) {
    if (m_listener.WaitReadable(0) <= 0) return;
    KvHttpConnection* oldest = nullptr;
    std::int64_t since = 0;
    const std::int64_t threshold = nowMs - m_limits.busyIdleMs;
    for (KvHttpConnection* c : m_connections) {
        const std::int64_t w = c->PreemptibleSinceMs(threshold);
        if (w != 0 && (!oldest || w < since)) {
            oldest = c;
            since = w;
        }
    }
    if (oldest) oldest->MakeRoom(threshold);
}

void KvHttpServer::Work() {
    m_state = kRunning;
    for (int i = 0; i < m_limits.workers; ++i)
        m_connections.push_back(new KvHttpConnection(m_limits, [this] { NotifyFree(); }));
    KvTcpSocket client;
    client.SetReceiveWait(m_limits.receiveWaitMs);
    while (m_state.load() != kStopping) {
        const std::int64_t now = KvHttpHeadReader::NowMs();
        if (KvHttpConnection* free = FindFree(now)) {
            if (client.AcceptFrom(m_listener, 1000) && m_state.load() != kStopping) free->Start(client);
            client.Close();
            continue;
        }
        FreeWaitingWorker(now);
        std::unique_lock<std::mutex> lock(m_freeLock);
        m_freeSignal.wait_for(lock, std::chrono::milliseconds(100), [this] { return m_freed; });
        m_freed = false;
    }
    m_state = kStopped;
}
