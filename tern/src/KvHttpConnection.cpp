#include "tern/KvHttpConnection.h"

#include "internal/SocketStream.h"
#include "tern/KvHttpHeadReader.h"
#include "tern/KvHttpRequest.h"
#include "tern/KvHttpServer.h"

KvHttpConnection::KvHttpConnection(const KvHttpServerLimits& limits, std::function<void()> onFree)
    : m_limits(limits), m_onFree(std::move(onFree)) {
    m_socket.SetReceiveWait(limits.receiveWaitMs);
    m_thread = std::thread([this] { Work(); });
    while (m_state.load() == kStarting) std::this_thread::yield();
}

KvHttpConnection::~KvHttpConnection() {
    m_state = kStopping;
    Stop();
    {
        std::lock_guard<std::mutex> lock(m_wakeLock);
        m_woken = true;
    }
    m_wake.notify_one();
    if (m_thread.joinable()) m_thread.join();
}

void KvHttpConnection::Start(KvTcpSocket& socket) {
    {
        std::lock_guard<std::mutex> lock(m_socketLock);
        m_socket.Attach(socket.Detach());
    }
    m_lastActivityMs = KvHttpHeadReader::NowMs();
    m_active = true;
    {
        std::lock_guard<std::mutex> lock(m_wakeLock);
        m_woken = true;
    }
    m_wake.notify_one();
}

void KvHttpConnection::Stop() {
    // Shut down rather than close: the worker may be inside a receive on this handle,
    // and a closed handle number could be reused by another client meanwhile.
    std::lock_guard<std::mutex> lock(m_socketLock);
    m_socket.Shutdown();
}

long KvHttpConnection::IdleSecondsSince(std::int64_t nowMs) const {
    return static_cast<long>((nowMs - m_lastActivityMs.load()) / 1000);
}

void KvHttpConnection::Work() {
    m_state = kRunning;
    for (;;) {
        m_active = false;
        if (m_onFree) m_onFree();
        {
            std::unique_lock<std::mutex> lock(m_wakeLock);
            m_wake.wait(lock, [this] { return m_woken; });
            m_woken = false;
        }
        if (m_state.load() == kStopping) break;
        Serve();
        CloseClient();
    }
    CloseClient();
    m_state = kStopped;
}

void KvHttpConnection::Serve() {
    tern_internal::SocketStream stream(m_socket);
    while (m_state.load() != kStopping) {
        const std::int64_t now = KvHttpHeadReader::NowMs();
        m_waitingSinceMs = now;
        const int r = KvHttpHeadReader::Read(stream, m_head, kHeadBufferSize - 1, m_headLength, now + m_limits.headTimeoutMs);
        m_waitingSinceMs = 0;
        if (r != KvHttpHeadReader::kComplete) return;
        KvHttpRequest request;
        if (!request.Parse(m_head, m_headLength)) return;
        m_lastActivityMs = KvHttpHeadReader::NowMs();
        if (!KvHttpServer::ProcessHttpRequest(m_socket, request)) return;
    }
}

void KvHttpConnection::CloseClient() {
    std::lock_guard<std::mutex> lock(m_socketLock);
    m_socket.Close();
}
