// KvHttpConnection: one connection worker of the HTTP server.
//
// Owns a thread that sleeps until Start hands it a socket, then reads request
// heads, parses them and calls the server's request processor until the
// processor or the client ends the connection; then it sleeps again. The
// server reads Active, IdleSecondsSince and WaitingSinceMs from its own
// thread without a lock; Stop may be called from there at any time.
#pragma once

#include <tern/KvHttpServerLimits.h>
#include <tern/KvTcpSocket.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

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
    bool Active() const { return m_active.load(); }
    int State() const { return m_state.load(); }
    KvTcpSocket& Socket() { return m_socket; }
    // Seconds since the last request began (or since Start), by the monotonic clock.
    long IdleSecondsSince(std::int64_t nowMs) const;
    // Since when the worker has waited for the next request head (monotonic ms), or 0
    // when it is not waiting for one.
    std::int64_t WaitingSinceMs() const { return m_waitingSinceMs.load(); }

private:
    void Work();
    void Serve();
    void CloseClient();

    std::mutex m_wakeLock;
    std::condition_variable m_wake;
    bool m_woken = false;
    std::mutex m_socketLock;  // guards the handle between the worker and Stop
    KvTcpSocket m_socket;
    std::atomic<int> m_state{kStarting};
    int m_headLength = 0;
    std::atomic<std::int64_t> m_lastActivityMs{0};
    std::atomic<std::int64_t> m_waitingSinceMs{0};
    std::atomic<bool> m_active{false};
    KvHttpServerLimits m_limits;
    std::function<void()> m_onFree;
    char m_head[kHeadBufferSize];
    std::thread m_thread;
};
