// A KvHttpStream over bytes in memory, handed out in pieces of a fixed size,
// so tests and the fuzzer see heads split the way a network splits them.
#pragma once

#include "tern/KvHttpStream.h"

#include <cstring>
#include <string>

namespace tern_internal {

class MemoryStream : public KvHttpStream {
public:
    explicit MemoryStream(std::string bytes, int piece = 1 << 30) : m_bytes(std::move(bytes)), m_piece(piece) {}
    int Peek(void* buffer, int size, int) override {
        const int n = Available(size);
        if (n == 0) return 0;
        std::memcpy(buffer, m_bytes.data() + m_pos, static_cast<size_t>(n));
        return n;
    }
    int Receive(void* buffer, int size) override {
        const int n = Available(size);
        std::memcpy(buffer, m_bytes.data() + m_pos, static_cast<size_t>(n));
        m_pos += static_cast<size_t>(n);
        return n;
    }
    std::string Rest() const { return m_bytes.substr(m_pos); }

private:
    int Available(int size) const {
        size_t n = m_bytes.size() - m_pos;
        if (n > static_cast<size_t>(m_piece)) n = static_cast<size_t>(m_piece);
        if (n > static_cast<size_t>(size)) n = static_cast<size_t>(size);
        return static_cast<int>(n);
    }
    std::string m_bytes;
    size_t m_pos = 0;
    int m_piece;
};

}  // namespace tern_internal
