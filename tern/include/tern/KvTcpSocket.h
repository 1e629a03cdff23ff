// KvTcpSocket: owner of one IPv4 stream socket.
//
// Adds policies to the platform calls: every receive waits at most the receive
// wait (60 seconds unless changed) and never past an optional deadline;
// connecting and each send give up after the receive wait too; Close
// half-closes a connected socket and gives the peer 5 milliseconds; and
// accepting can be time-limited.
// Accepted and connected sockets have Nagle's algorithm off, so small
// keep-alive answers are not held back by delayed acknowledgements, and sends
// never raise SIGPIPE. Failures are results; nothing is thrown or logged.
// One thread uses a socket at a time; the only call safe from another thread
// is Shutdown, which wakes a thread blocked in it.
#pragma once

#include <basalt/KvBasicString.h>

#include <atomic>
#include <cstdint>

class KvTcpSocket {
public:
    static constexpr unsigned int kInvalid = 0xFFFFFFFFu;
    static constexpr int kDefaultReceiveWaitMs = 60000;

    KvTcpSocket() = default;
    ~KvTcpSocket();
    KvTcpSocket(const KvTcpSocket&) = delete;
    KvTcpSocket& operator=(const KvTcpSocket&) = delete;

    // Connects to `host` (dotted IPv4 or a name, first IPv4 address) and `port`, waiting
    // at most the receive wait for the handshake. False on any failure, leaving no socket.
    bool Connect(const char* host, int port);
    // Creates, binds to `address` (IPv4, network order; 0 for any) and `port`, and listens
    // with the largest backlog. A socket that exists already is only put into listening.
    bool Listen(int port, std::uint32_t address, bool reuseAddress);
    // Accepts one connection of `listener`. 0: block in accept; >0: wait at most that many
    // milliseconds for a client first; <0: wait without limit. False on time-out or failure.
    bool AcceptFrom(KvTcpSocket& listener, int timeoutMilliseconds);
    // Half-closes a connected socket, waits up to 5 ms for the peer, then closes.
    void Close();
    // Half-closes the sending direction: the peer reads the end of the data. Later sends fail.
    void EndSending();
    bool SendingEnded() const { return m_sendingEnded; }
    // Wakes any thread blocked on this socket (receive, poll or accept) without releasing
    // the handle, so the owner thread can close it without a reuse race.
    void Shutdown();

    // True when the platform reports a peer address.
    bool Connected() const;
    // The peer's IPv4 address in dotted form.
    bool GetPeerName(KvString& text) const;
    // The local port, or 0 without socket.
    int LocalPort() const;

    // One send call: bytes sent, or -1 (also without socket).
    int Send(const void* data, int length);
    // Sends everything, repeating short sends; false when any send fails. With `more`
    // the kernel may hold the bytes briefly to join them with the next send.
    bool SendAll(const void* data, int length, bool more = false);
    // Waits at most the receive wait: -2 on time-out, -1 on error or without socket,
    // otherwise one receive (0 when the peer closed).
    int Receive(void* buffer, int size);
    // Like Receive but leaves the bytes queued; waits at most `timeoutMs` (<0: receive wait).
    int Peek(void* buffer, int size, int timeoutMs = -1);
    // Reads and drops up to `count` bytes in pieces of at most 1024; stops on error, close
    // or a short piece. Returns the number dropped.
    int ReceiveDrop(int count);

    // Waits at most `timeoutMs` (<0: without limit) for data or, on a listening socket, a
    // client. 1 ready, 0 time-out, -1 error.
    int WaitReadable(int timeoutMs) const;

    // Receive wait in milliseconds; also the time limit of connecting and of each send.
    void SetReceiveWait(int milliseconds);
    int ReceiveWait() const { return m_receiveWaitMs; }
    // No receive (or peek) waits past this steady-clock time in milliseconds; 0 for none.
    void SetReceiveDeadline(std::int64_t steadyMs) { m_deadlineMs = steadyMs; }
    // Bytes consumed by receives since the socket object was made; may be read from any thread.
    std::uint64_t BytesReceived() const { return m_received.load(std::memory_order_relaxed); }

    void Attach(unsigned int handle);
    unsigned int Detach();
    bool Valid() const { return m_handle != kInvalid; }
    operator unsigned int() const { return m_handle; }  // NOLINT: the platform handle, as callers use it

private:
    int Fd() const { return static_cast<int>(m_handle); }
    void CloseHandle();
    int WaitBeforeReceive(int timeoutMs) const;

    unsigned int m_handle = kInvalid;
    int m_receiveWaitMs = kDefaultReceiveWaitMs;
    std::int64_t m_deadlineMs = 0;
    bool m_sendingEnded = false;
    std::atomic<std::uint64_t> m_received{0};
};
