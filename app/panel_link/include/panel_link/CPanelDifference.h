// CPanelDifference: one place where a panel read back holds something other than what an
// upload writes, kept apart so that a window can show it as a table row.
#pragma once

#include <string>

struct CPanelDifference {
    std::string item;  // "zone 3 description", "loop 1 element 4", "rule entry 2", "panel label"
    std::string sent;  // what an upload writes there ("none" for nothing)
    std::string held;  // what the panel holds there ("none" for nothing)
    // The difference as one line in words: "ITEM: the panel has HELD, an upload writes SENT",
    // or for what cannot be put that way (sent empty), "ITEM: HELD".
    std::string line() const {
        if (sent.empty()) return item + ": " + held;
        return item + ": the panel has " + held + ", an upload writes " + sent;
    }
};
