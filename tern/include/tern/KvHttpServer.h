// KvHttpServer: a small embedded HTTP/1.1 server.
//
// One accept loop hands each client to a free worker of a fixed pool
// (KvHttpConnection); the workers parse request heads and call the one
// process-wide request processor, which answers through KvHttpResponse and
// reads any request body from the socket itself. The server serves no files
// and interprets no URIs. While every worker is busy new clients wait in the
// listen queue; to keep slow or idle clients from holding the pool, a worker
// that has waited longer than busyIdleMs for its next request head is freed
// whenever someone is waiting (see KvHttpServerLimits).
#pragma once

#include <basalt/KvBasicString.h>
#include <tern/KvHttpServerLimits.h>
#include <tern/KvTcpSocket.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <list>
#include <mutex>
#include <thread>

class KvHttpConnection;
class KvHttpRequest;

class KvHttpServer {
public:
    // Answers one request; true keeps the connection open for the next one. Runs on the
    // worker threads, concurrently: it must be thread-safe.
    using Processor = bool (*)(KvTcpSocket& socket, KvHttpRequest& request);
    enum State { kStarting = 1, kRunning = 2, kStopping = 3, kStopped = 4 };

    KvHttpServer() = default;
    // Stops a running server.
    ~KvHttpServer();
    KvHttpServer(const KvHttpServer&) = delete;
    KvHttpServer& operator=(const KvHttpServer&) = delete;

    // Stores the processor and the "Server" header text (both process-wide), the port
    // (0: any free port) and a pool of 75 workers. The fourth argument is not used.
    void Setup(Processor processor, const char* nameVersion, int port, int reserved = 0);
    // Replaces the limits (worker count included); takes effect at the next Start.
    void SetLimits(const KvHttpServerLimits& limits) { m_limits = limits; }
    const KvHttpServerLimits& Limits() const { return m_limits; }

    // Listens on `address` (IPv4, network order) with address reuse. With `ownThread`
    // the accept loop runs on a new thread and Start returns true once it runs;
    // otherwise it runs in the caller until Stop. True at once when already running;
    // false when listening fails.
    bool Start(std::uint32_t address, bool ownThread);
    // Stops accepting, waits for the accept loop to end and destroys the workers
    // (closing their clients). Only while running; safe from any thread.
    void Stop();
    int Port() const { return m_port; }
    int State() const { return m_state.load(); }

    static bool ProcessHttpRequest(KvTcpSocket& socket, KvHttpRequest& request);
    static const KvString& NameVersion();
    // The RFC 2616 reason phrase of `code`, or "Unknown response code".
    static void ReasonPhrase(int code, KvString& text);

private:
    void Work();
    KvHttpConnection* FindFree(std::int64_t nowMs);
    void FreeWaitingWorker(std::int64_t nowMs);
    void NotifyFree();

    int m_port = 80;
    std::atomic<int> m_state{kStopped};
    std::list<KvHttpConnection*> m_connections;
    KvTcpSocket m_listener;
    KvHttpServerLimits m_limits;
    std::thread m_thread;
    std::mutex m_freeLock;
    std::condition_variable m_freeSignal;
    bool m_freed = false;
};
