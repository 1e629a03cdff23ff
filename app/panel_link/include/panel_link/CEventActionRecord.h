// The two records of one event-action entry: the 8-byte event record (input
// side) and the 16-byte action record (output side).
//
// Both name their item the same way: a kind (0 end of list, 1 panel, 2 loop,
// 4 zone or zone range, 5 element) and two operands (loop and element index,
// the loop index twice, or first and last zone index), plus the element's
// type code for kind 5.
#pragma once

#include <cstdint>

struct CRecordItem {
    enum Kind : std::uint8_t { kEnd = 0, kPanel = 1, kLoop = 2, kZone = 4, kElement = 5 };
    std::uint8_t kind = kEnd;
    std::uint8_t first = 0;
    std::uint8_t second = 0;
    std::uint8_t elementType = 0;

    bool operator==(const CRecordItem&) const = default;
};

struct CEventRecord {
    static constexpr int kSize = 8;
    CRecordItem item;             // bytes 0, 4, 5, 6
    std::uint8_t eventType = 0;   // byte 2

    void encode(std::uint8_t* out) const;
    // False when fewer than kSize bytes are given.
    static bool decode(const std::uint8_t* in, int length, CEventRecord& out);
    bool operator==(const CEventRecord&) const = default;
};

struct CActionRecord {
    static constexpr int kSize = 16;
    CRecordItem item;               // bytes 0, 12, 13, 14
    std::uint8_t panelAddress = 0;  // byte 1; 0 is the panel that holds the rule
    std::uint16_t delay = 0;        // bytes 2-3, the tables' only big-endian field
    std::uint8_t actionType = 0;    // byte 4

    void encode(std::uint8_t* out) const;
    // False when fewer than kSize bytes are given.
    static bool decode(const std::uint8_t* in, int length, CActionRecord& out);
    bool operator==(const CActionRecord&) const = default;
};
