// CZoneRecord: one 32-byte record of the panel's zone table.
//
// Byte 0 is 0, bytes 1-24 the description (NUL-padded; a 24-byte description
// has no terminator), byte 30 is 0, the rest unused (written as 0).
#pragma once

#include <cstdint>
#include <string>

struct CZoneRecord {
    static constexpr int kSize = 32;
    static constexpr int kDescriptionSize = 24;

    std::string description;  // panel bytes; only the first 24 are stored

    // Writes kSize bytes.
    void encode(std::uint8_t* out) const;
    // False when fewer than kSize bytes are given. The description runs to the
    // first NUL or the end of its field; byte 0 is not looked at.
    static bool decode(const std::uint8_t* in, int length, CZoneRecord& out);
};
