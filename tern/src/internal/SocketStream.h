// A KvHttpStream over a connected KvTcpSocket.
#pragma once

#include "tern/KvHttpStream.h"
#include "tern/KvTcpSocket.h"

namespace tern_internal {

class SocketStream : public KvHttpStream {
public:
    explicit SocketStream(KvTcpSocket& socket) : m_socket(socket) {}
    int Peek(void* buffer, int size, int timeoutMs) override {
        const int wait = m_socket.ReceiveWait();
        return m_socket.Peek(buffer, size, timeoutMs < wait ? timeoutMs : wait);
    }
    int Receive(void* buffer, int size) override { return m_socket.Receive(buffer, size); }

private:
    KvTcpSocket& m_socket;
};

}  // namespace tern_internal
