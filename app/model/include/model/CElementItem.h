// CElementItem: one addressable device address on a loop.
#pragma once

#include <cstdint>

#include "basalt/KvBasicString.h"

class CElementItem {
public:
    // A null `description` gives a copy of `label`; the copy does not follow later label changes.
    CElementItem(int address, int type, int zone, const KvWString& label, const char16_t* description);
    CElementItem(const CElementItem&) = delete;
    CElementItem& operator=(const CElementItem&) = delete;

    // Sets the description, or a copy of the label when `text` is null.
    void setDescription(const char16_t* text);

    // Ordering by address; equal addresses are not less, so stable sorts keep their order.
    bool operator<(const CElementItem& other) const { return address < other.address; }
    static bool lessByAddress(const CElementItem* a, const CElementItem* b) { return a->address < b->address; }

    int zone;               // 0: no zone
    int type;               // element type code 1..18
    int address;            // 1..250, identity within the loop
    int compositeMode = 0;  // 0 single-address device; 1 first, 2 middle, 3 last address of a longer one
    int genericType = 0;    // 7 and 8 are outputs, anything else an input
    KvWString label;
    KvWString description;
    std::intptr_t item = 0;  // the loops editor's handle for this element; stored only
    bool first = false;      // set on the first element a type change creates
};
