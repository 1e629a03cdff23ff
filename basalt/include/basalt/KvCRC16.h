// KvCRC16: the CRC-16/MODBUS check value (reflected polynomial 0x8005, initial
// value 0xFFFF, no final XOR), computed with the Modbus two-table method.
//
// The value is held with its two bytes exchanged: after "123456789" Value() is
// 0x374B (the CRC proper is 0x4B37). Writing Value() high byte first therefore
// gives the CRC in its usual transmitted order, low byte first.
#pragma once

#include <cstddef>
#include <cstdint>

class KvCRC16 {
public:
    KvCRC16() = default;

    void Reset() { m_value = 0xFFFF; }
    void Add(std::uint8_t byte);
    void Add(const void* data, std::size_t length);

    unsigned Value() const { return m_value; }
    operator int() const { return static_cast<int>(m_value); }  // NOLINT: callers compare with ints

private:
    std::uint32_t m_value = 0xFFFF;
};
