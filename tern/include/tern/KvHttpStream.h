// KvHttpStream: the byte source a request head is read from.
//
// The server reads heads from sockets through it; tests and the fuzzer read
// them from memory, so the head reader and the parser run without sockets.
#pragma once

class KvHttpStream {
public:
    virtual ~KvHttpStream() = default;
    // Copies up to `size` waiting bytes without consuming them, waiting at most
    // `timeoutMs` for the first. >0 bytes copied, 0 peer closed, -1 error, -2 time-out.
    virtual int Peek(void* buffer, int size, int timeoutMs) = 0;
    // Consumes up to `size` bytes; callers consume only bytes that Peek has shown.
    virtual int Receive(void* buffer, int size) = 0;
};
