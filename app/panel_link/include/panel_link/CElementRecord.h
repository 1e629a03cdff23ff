// CElementRecord: one 32-byte record of the panel's element table.
//
// Byte 0 generic type (0: no element at this address), bytes 1-24 the
// description, byte 25 zone index, bytes 26-28 the constants 0, 1, 0, byte 29
// type code (bits 0-5) and composite mode (bits 6-7); 30 and 31 unused.
#pragma once

#include <cstdint>
#include <string>

struct CElementRecord {
    static constexpr int kSize = 32;
    static constexpr int kDescriptionSize = 24;
    static constexpr std::uint8_t kErasedType = 0x3F;  // type bits of an erased (all ones) record

    std::uint8_t genericType = 0;
    std::string description;  // panel bytes; only the first 24 are stored
    std::uint8_t zoneIndex = 0;
    std::uint8_t type = 0;           // 0 to 63
    std::uint8_t compositeMode = 0;  // 0 single, 1 first, 2 middle, 3 last

    // A record describes an element when its generic type is set and its
    // type bits are not those of erased memory.
    bool isElement() const { return genericType != 0 && type != kErasedType; }

    // Writes kSize bytes; type and mode are masked to their bit widths.
    void encode(std::uint8_t* out) const;
    // False when fewer than kSize bytes are given.
    static bool decode(const std::uint8_t* in, int length, CElementRecord& out);
};
