// CSystemInfoRecord: the used 96 bytes of the system-information page:
// label, installer and phone, 32 bytes each, NUL-padded (a 32-byte value has
// no terminator).
#pragma once

#include <cstdint>
#include <string>

struct CSystemInfoRecord {
    static constexpr int kSize = 96;
    static constexpr int kFieldSize = 32;

    std::string label;      // panel bytes; only the first 32 of each field are stored
    std::string installer;
    std::string phone;

    void encode(std::uint8_t* out) const;
    // False when fewer than kSize bytes are given.
    static bool decode(const std::uint8_t* in, int length, CSystemInfoRecord& out);
};
