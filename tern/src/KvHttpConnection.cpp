#include "tern/KvHttpConnection.h"

#include "internal/SocketStream.h"
#include "tern/KvHttpHeadReader.h"
#include "tern/KvHttpRequest.h"
#include "tern/KvHttpResponse.h"
#include "tern/KvHttpServer.h"

#include <cstdint>

namespace {

// After an error answer, what the client still sends is read and dropped for a moment:
// closing with unread bytes resets the connection and could destroy the answer in flight.
constexpr int kLingerMs = 500;
constexpr int kLingerBytes = 64 * 1024;

}  // namespace

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
    m_acceptedMs = m_lastActivityMs.load();
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

std::int64_t KvHttpConnection::PreemptibleSinceMs(std::int64_t thresholdMs) const {
    const std::int64_t waiting = m_waitingSinceMs.load();
    // Between requests nothing is lost, once the connection has had its turn; once the
    // next head has begun, it counts as slow.
    const bool between = m_served.load() > 0 && m_acceptedMs.load() <= thresholdMs &&
                         m_socket.BytesReceived() == m_waitingFromByte.load();
    if (waiting != 0 && (between || waiting <= thresholdMs)) return waiting;
    const std::int64_t body = m_bodySinceMs.load();
    if (body != 0 && body <= thresholdMs && m_socket.BytesReceived() < m_bodyEnd.load()) return body;
    return 0;
}

void KvHttpConnection::MakeRoom(std::int64_t thresholdMs) {
    std::lock_guard<std::mutex> lock(m_socketLock);
    // Freed between requests rather than for being slow: spare it if its next request is here.
    const std::int64_t waiting = m_waitingSinceMs.load();
    if (waiting != 0 && waiting > thresholdMs && m_socket.Valid() && m_socket.WaitReadable(0) != 0) return;
    m_socket.Shutdown();
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
    m_served = 0;
    while (m_state.load() != kStopping) {
        const std::int64_t now = KvHttpHeadReader::NowMs();
        // A new client has waited since it was accepted.
        m_waitingFromByte = m_socket.BytesReceived();
        m_waitingSinceMs = m_served.load() == 0 ? m_lastActivityMs.load() : now;
        const int r = KvHttpHeadReader::Read(stream, m_head, kHeadBufferSize - 1, m_headLength, now + m_limits.headTimeoutMs);
        m_waitingSinceMs = 0;
        if (r == KvHttpHeadReader::kTooLarge) Refuse(431);
        if (r == KvHttpHeadReader::kNotHttp || r == KvHttpHeadReader::kBareLineFeed) Refuse(400);
        if (r != KvHttpHeadReader::kComplete) return;
        KvHttpRequest request;
        if (!request.Parse(m_head, m_headLength)) {
            Refuse(request.ErrorStatus());
            return;
        }
        if (!ServeRequest(request)) return;
        ++m_served;
    }
}

// Runs the processor with the body's deadline; true when the connection may go on.
bool KvHttpConnection::ServeRequest(KvHttpRequest& request) {
    const std::int64_t start = KvHttpHeadReader::NowMs();
    m_lastActivityMs = start;
    const std::uint64_t bodyStart = m_socket.BytesReceived();
    const std::uint64_t bodyEnd = request.TransferEncoded() ? UINT64_MAX : bodyStart + request.ContentLength();
    m_bodyEnd = bodyEnd;
    m_bodySinceMs = start;
    m_socket.SetReceiveDeadline(start + m_limits.bodyTimeoutMs);
    bool keep = KvHttpServer::ProcessHttpRequest(m_socket, request);
    m_bodySinceMs = 0;
    // Where a coded body ends is known only to a decoder, so the connection ends with it.
    keep = keep && !m_socket.SendingEnded() && !request.TransferEncoded() &&
           DropUnreadBody(request, bodyStart, bodyEnd);
    m_socket.SetReceiveDeadline(0);
    return keep;
}

bool KvHttpConnection::DropUnreadBody(const KvHttpRequest& request, std::uint64_t bodyStart, std::uint64_t bodyEnd) {
    std::uint64_t got = m_socket.BytesReceived();
    if (got >= bodyEnd) return true;
    // A client still waiting for "100 Continue" may or may not send its body now.
    if (request.ExpectContinue() && got == bodyStart) return false;
    if (bodyEnd - got > static_cast<std::uint64_t>(m_limits.maxDrainBytes)) return false;
    char piece[4096];
    while (got < bodyEnd) {
        const std::uint64_t left = bodyEnd - got;
        if (m_socket.Receive(piece, left < sizeof piece ? static_cast<int>(left) : static_cast<int>(sizeof piece)) <= 0)
            return false;
        got = m_socket.BytesReceived();
    }
    return true;
}

// Answers a head that cannot be served, then lingers briefly before the close.
void KvHttpConnection::Refuse(int status) {
    KvString text;
    KvHttpServer::ReasonPhrase(status, text);
    text += "\n";
    KvHttpResponse response(&m_socket);
    response.SetMimeType("text/plain");
    if (!response.Setup(status, KvHttpResponse::kContentLength | KvHttpResponse::kClose, text.Length()) ||
        !response.Send(text))
        return;
    m_socket.EndSending();
    m_socket.SetReceiveDeadline(KvHttpHeadReader::NowMs() + kLingerMs);
    char piece[4096];
    for (int dropped = 0; dropped < kLingerBytes;) {
        const int n = m_socket.Receive(piece, sizeof piece);
        if (n <= 0) break;
        dropped += n;
    }
    m_socket.SetReceiveDeadline(0);
}

void KvHttpConnection::CloseClient() {
    std::lock_guard<std::mutex> lock(m_socketLock);
    m_socket.Close();
}
