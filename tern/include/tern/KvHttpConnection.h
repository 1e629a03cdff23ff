// KvHttpConnection: one connection worker of the HTTP server.
//
// Owns a thread that sleeps until Start hands it a socket, then reads request
// heads, parses them and calls the server's request processor until the
// processor or the client ends the connection; then it sleeps again. Heads
// that cannot be trusted get their error status with "Connection: close".
// Whatever of a request body the processor leaves unread is dropped (or the
// connection closed) before the next head is read, so a body never passes for
// a request. The server reads Active, IdleSecondsSince and PreemptibleSinceMs
// from its own thread without a lock; Stop may be called from there at any time.
#pragma once

#include <tern/KvHttpServerLimits.h>
#include <tern/KvTcpSocket.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

class KvHttpRequest;

class KvHttpConnection {
public:
    enum State { kStarting = 1, kRunning = 2, kStopping = 3, kStopped = 4 };
    static constexpr int kHeadBufferSize = 8192;

    // Starts the worker thread and returns once it runs. `onFree` is called on the
    // worker thread each time the connection becomes free.
    explicit KvHttpConnection(const KvHttpServerLimits& limits = {}, std::function<void()> onFree = {});
    // Stops the worker: closes any client, wakes the thread and waits for it to end.
    virtual ~KvHttpConnection();
    KvHttpConnection(const KvHttpConnection&) = delete;
    KvHttpConnection& operator=(const KvHttpConnection&) = delete;

    // Takes over the handle of `socket` (which is left without one) and serves it.
    // Only for a connection that is not Active.
    void Start(KvTcpSocket& socket);
    // Ends the current client's connection; the worker then becomes free.
    void Stop();
    // Stop for a waiting newcomer, with the same `thresholdMs` as PreemptibleSinceMs:
    // a connection freed only for being between requests is spared when the bytes of its
    // next request are already there.
    void MakeRoom(std::int64_t thresholdMs);
    bool Active() const { return m_active.load(); }
    int State() const { return m_state.load(); }
    KvTcpSocket& Socket() { return m_socket; }
    // Seconds since the last request began (or since Start), by the monotonic clock.
    long IdleSecondsSince(std::int64_t nowMs) const;
    // Since when the worker has waited for its client (monotonic ms) in a way that may be
    // cut short to make room for others, or 0: waiting for the next head of a kept-alive
    // connection accepted at or before `thresholdMs` before any byte of that head came,
    // waiting for a head, or reading a request body, each of the last two only once the
    // wait began at or before `thresholdMs`.
    std::int64_t PreemptibleSinceMs(std::int64_t thresholdMs) const;

private:
    void Work();
    void Serve();
    bool ServeRequest(KvHttpRequest& request);
    bool DropUnreadBody(const KvHttpRequest& request, std::uint64_t bodyStart, std::uint64_t bodyEnd);
    void Refuse(int status);
    void CloseClient();

    std::mutex m_wakeLock;
    std::condition_variable m_wake;
    bool m_woken = false;
    std::mutex m_socketLock;  // guards the handle between the worker and the server
    KvTcpSocket m_socket;
    std::atomic<int> m_state{kStarting};
    int m_headLength = 0;
    std::atomic<std::int64_t> m_lastActivityMs{0};
    std::atomic<std::int64_t> m_waitingSinceMs{0};
    std::atomic<std::uint64_t> m_waitingFromByte{0};
    std::atomic<std::int64_t> m_acceptedMs{0};
    std::atomic<std::int64_t> m_bodySinceMs{0};
    std::atomic<std::uint64_t> m_bodyEnd{0};
    std::atomic<int> m_served{0};
    std::atomic<bool> m_active{false};
    KvHttpServerLimits m_limits;
    std::function<void()> m_onFree;
    char m_head[kHeadBufferSize];
    std::thread m_thread;
};
