#include "basalt/KvCRC16.h"

#include <array>

namespace {

// Entry i of the reflected CRC-16 table (polynomial 0xA001), split into the
// byte that lands in the value's high half and the one that lands in its low half.
constexpr std::uint16_t ReflectedEntry(unsigned i) {
    unsigned crc = i;
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? (crc >> 1) ^ 0xA001u : crc >> 1;
    return static_cast<std::uint16_t>(crc);
}

constexpr std::array<std::uint8_t, 256> MakeTable(bool high) {
    std::array<std::uint8_t, 256> t{};
    for (unsigned i = 0; i < 256; ++i) {
        const std::uint16_t e = ReflectedEntry(i);
        t[i] = static_cast<std::uint8_t>(high ? (e & 0xFF) : (e >> 8));
    }
    return t;
}

constexpr auto crcHiTable = MakeTable(true);
constexpr auto crcLoTable = MakeTable(false);

static_assert(crcHiTable[1] == 0xC1 && crcLoTable[1] == 0xC0, "Modbus table layout");

}  // namespace

void KvCRC16::Add(std::uint8_t byte) {
    const unsigned index = ((m_value >> 8) ^ byte) & 0xFF;
    m_value = ((crcHiTable[index] ^ (m_value & 0xFF)) << 8) | crcLoTable[index];
}

void KvCRC16::Add(const void* data, std::size_t length) {
    const auto* p = static_cast<const std::uint8_t*>(data);
    for (std::size_t i = 0; i < length; ++i) Add(p[i]);
}
