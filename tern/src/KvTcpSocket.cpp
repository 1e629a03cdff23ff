#include "tern/KvTcpSocket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

void SetNoDelay(int fd) {
    int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
}

// A send blocked by a client that never reads would hold its worker for ever.
void SetSendLimit(int fd, int milliseconds) {
    timeval tv{milliseconds / 1000, (milliseconds % 1000) * 1000};
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
}

bool ResolveIPv4(const char* host, in_addr& out) {
    if (inet_pton(AF_INET, host, &out) == 1) return true;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    if (getaddrinfo(host, nullptr, &hints, &list) != 0 || !list) return false;
    out = reinterpret_cast<sockaddr_in*>(list->ai_addr)->sin_addr;
    freeaddrinfo(list);
    return true;
}

int PollOne(int fd, short events, int timeoutMs) {
    pollfd p{fd, events, 0};
    for (;;) {
        const int r = poll(&p, 1, timeoutMs);
        if (r < 0 && errno == EINTR) continue;
        return r;
    }
}

std::int64_t SteadyMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// connect() without a limit waits minutes for a peer that drops the handshake.
bool ConnectWithin(int fd, const sockaddr_in& sa, int timeoutMs) {
    const int flags = fcntl(fd, F_GETFL, 0);
    if (flags < 0 || fcntl(fd, F_SETFL, flags | O_NONBLOCK) < 0) return false;
    int r = connect(fd, reinterpret_cast<const sockaddr*>(&sa), sizeof sa);
    if (r < 0 && (errno == EINPROGRESS || errno == EINTR)) {
        if (PollOne(fd, POLLOUT, timeoutMs) <= 0) return false;
        int error = 0;
        socklen_t len = sizeof error;
        r = (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &len) == 0 && error == 0) ? 0 : -1;
    }
    return r == 0 && fcntl(fd, F_SETFL, flags) == 0;
}

}  // namespace

KvTcpSocket::~KvTcpSocket() { Close(); }

bool KvTcpSocket::Connect(const char* host, int port) {
    Close();
    in_addr ip{};
    if (!host || port <= 0 || port > 65535 || !ResolveIPv4(host, ip)) return false;
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    m_handle = static_cast<unsigned int>(fd);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(static_cast<std::uint16_t>(port));
    sa.sin_addr = ip;
    if (!ConnectWithin(fd, sa, m_receiveWaitMs)) {
        CloseHandle();
        return false;
    }
    SetNoDelay(fd);
    SetSendLimit(fd, m_receiveWaitMs);
    return true;
}

bool KvTcpSocket::Listen(int port, std::uint32_t address, bool reuseAddress) {
    if (!Valid()) {
        if (port < 0 || port > 65535) return false;
        const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return false;
        m_handle = static_cast<unsigned int>(fd);
        if (reuseAddress) {
            int one = 1;
            setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        }
        sockaddr_in sa{};
        sa.sin_family = AF_INET;
        sa.sin_port = htons(static_cast<std::uint16_t>(port));
        sa.sin_addr.s_addr = address;
        if (bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) < 0) {
            CloseHandle();
            return false;
        }
    }
    if (listen(Fd(), SOMAXCONN) < 0) {
        CloseHandle();
        return false;
    }
    return true;
}

bool KvTcpSocket::AcceptFrom(KvTcpSocket& listener, int timeoutMilliseconds) {
    if (!listener.Valid()) return false;
    if (timeoutMilliseconds != 0 && listener.WaitReadable(timeoutMilliseconds < 0 ? -1 : timeoutMilliseconds) <= 0)
        return false;
    int fd;
    do {
        fd = accept4(listener.Fd(), nullptr, nullptr, SOCK_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return false;
    Close();
    m_handle = static_cast<unsigned int>(fd);
    m_sendingEnded = false;
    SetNoDelay(fd);
    SetSendLimit(fd, m_receiveWaitMs);
    return true;
}

void KvTcpSocket::Close() {
    if (!Valid()) return;
    if (Connected()) {
        // Half-close first so the peer reads our last bytes before any reset.
        shutdown(Fd(), SHUT_WR);
        WaitReadable(5);
    }
    CloseHandle();
}

void KvTcpSocket::SetReceiveWait(int milliseconds) {
    m_receiveWaitMs = milliseconds;
    if (Valid()) SetSendLimit(Fd(), milliseconds);
}

void KvTcpSocket::EndSending() {
    if (Valid() && !m_sendingEnded) shutdown(Fd(), SHUT_WR);
    m_sendingEnded = true;
}

void KvTcpSocket::Shutdown() {
    if (Valid()) shutdown(Fd(), SHUT_RDWR);
}

void KvTcpSocket::CloseHandle() {
    ::close(Fd());
    m_handle = kInvalid;
    m_sendingEnded = false;
}

bool KvTcpSocket::Connected() const {
    if (!Valid()) return false;
    sockaddr_in sa{};
    socklen_t len = sizeof sa;
    return getpeername(Fd(), reinterpret_cast<sockaddr*>(&sa), &len) == 0;
}

bool KvTcpSocket::GetPeerName(KvString& text) const {
    if (!Valid()) return false;
    sockaddr_in sa{};
    socklen_t len = sizeof sa;
    if (getpeername(Fd(), reinterpret_cast<sockaddr*>(&sa), &len) != 0) return false;
    char buf[INET_ADDRSTRLEN];
    if (!inet_ntop(AF_INET, &sa.sin_addr, buf, sizeof buf)) return false;
    text = buf;
    return true;
}

int KvTcpSocket::LocalPort() const {
    if (!Valid()) return 0;
    sockaddr_in sa{};
    socklen_t len = sizeof sa;
    if (getsockname(Fd(), reinterpret_cast<sockaddr*>(&sa), &len) != 0) return 0;
    return ntohs(sa.sin_port);
}

int KvTcpSocket::Send(const void* data, int length) {
    if (!Valid() || length < 0 || (!data && length > 0)) return -1;
    ssize_t r;
    do {
        r = ::send(Fd(), data, static_cast<size_t>(length), MSG_NOSIGNAL);
    } while (r < 0 && errno == EINTR);
    return r < 0 ? -1 : static_cast<int>(r);
}

bool KvTcpSocket::SendAll(const void* data, int length, bool more) {
    const char* p = static_cast<const char*>(data);
    if (!Valid() || length < 0 || (!p && length > 0)) return false;
    while (length > 0) {
        ssize_t n;
        do {
            n = ::send(Fd(), p, static_cast<size_t>(length), MSG_NOSIGNAL | (more ? MSG_MORE : 0));
        } while (n < 0 && errno == EINTR);
        if (n <= 0) return false;
        p += n;
        length -= n;
    }
    return length == 0;
}

int KvTcpSocket::WaitReadable(int timeoutMs) const {
    const int r = PollOne(Fd(), POLLIN, timeoutMs);
    return r < 0 ? -1 : (r == 0 ? 0 : 1);
}

// Waits for data at most `timeoutMs` and never past the deadline: 1 ready, 0 time-out, -1 error.
int KvTcpSocket::WaitBeforeReceive(int timeoutMs) const {
    if (m_deadlineMs != 0) {
        const std::int64_t left = m_deadlineMs - SteadyMs();
        if (left <= 0) return PollOne(Fd(), POLLIN, 0) > 0 ? 1 : 0;
        if (timeoutMs < 0 || left < timeoutMs) timeoutMs = static_cast<int>(left < 0x7FFFFFFF ? left : 0x7FFFFFFF);
    }
    return WaitReadable(timeoutMs);
}

int KvTcpSocket::Receive(void* buffer, int size) {
    if (!Valid() || !buffer || size <= 0) return -1;
    const int w = WaitBeforeReceive(m_receiveWaitMs);
    if (w == 0) return -2;
    if (w < 0) return -1;
    ssize_t r;
    do {
        r = recv(Fd(), buffer, static_cast<size_t>(size), 0);
    } while (r < 0 && errno == EINTR);
    if (r > 0) m_received.fetch_add(static_cast<std::uint64_t>(r), std::memory_order_relaxed);
    return r < 0 ? -1 : static_cast<int>(r);
}

int KvTcpSocket::Peek(void* buffer, int size, int timeoutMs) {
    if (!Valid() || !buffer || size <= 0) return -1;
    const int w = WaitBeforeReceive(timeoutMs < 0 ? m_receiveWaitMs : timeoutMs);
    if (w == 0) return -2;
    if (w < 0) return -1;
    ssize_t r;
    do {
        r = recv(Fd(), buffer, static_cast<size_t>(size), MSG_PEEK);
    } while (r < 0 && errno == EINTR);
    return r < 0 ? -1 : static_cast<int>(r);
}

int KvTcpSocket::ReceiveDrop(int count) {
    char piece[1024];
    int dropped = 0;
    while (dropped < count) {
        const int want = count - dropped < 1024 ? count - dropped : 1024;
        const int n = Receive(piece, want);
        if (n <= 0) break;
        dropped += n;
        if (n < want) break;
    }
    return dropped;
}

void KvTcpSocket::Attach(unsigned int handle) {
    Close();
    m_handle = handle;
    m_sendingEnded = false;
}

unsigned int KvTcpSocket::Detach() {
    const unsigned int h = m_handle;
    m_handle = kInvalid;
    return h;
}
