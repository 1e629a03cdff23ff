// CLoopItem: one detection loop of a panel; owns its elements.
#pragma once

#include <memory>
#include <vector>

#include "model/CElementItem.h"

class CLoopItem {
public:
    explicit CLoopItem(int address) : address(address) {}
    CLoopItem(const CLoopItem&) = delete;
    CLoopItem& operator=(const CLoopItem&) = delete;

    // Ordering by address; equal addresses are not less, so stable sorts keep their order.
    bool operator<(const CLoopItem& other) const { return address < other.address; }
    static bool lessByAddress(const CLoopItem* a, const CLoopItem* b) { return a->address < b->address; }

    int address;
    bool expanded = false;  // a new loop is shown closed
    std::vector<std::unique_ptr<CElementItem>> elements;  // in insertion order unless sorted
};
