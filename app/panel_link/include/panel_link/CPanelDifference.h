// CPanelDifference: one place where a panel read back holds something other than what an
// upload writes, kept apart so that a window can show it as a table row.
#pragma once

#include <string>

struct CPanelDifference {
    // Which item differs, so that a window can name it in the user's language; `item` keeps the
    // English name that line() prints.
    enum class Kind {
        kOther,            // only `item` names it
        kPanelAddress,
        kPanelLabel,
        kInstaller,
        kPhone,
        kZoneDescription,  // number: the zone
        kElement,          // number: the loop, second: the element address
        kRule,             // number: the entry in the panel's rule list
    };

    std::string item;  // "zone 3 description", "loop 1 element 4", "rule entry 2", "panel label"
    std::string sent;  // what an upload writes there ("none" for nothing)
    std::string held;  // what the panel holds there ("none" for nothing)
    Kind kind = Kind::kOther;
    int number = 0;        // counted from 1, as in `item`
    int second = 0;
    bool sentNothing = false;  // `sent` is the word for nothing ("none", "no element")
    bool heldNothing = false;

    // The difference as one line in words: "ITEM: the panel has HELD, an upload writes SENT",
    // or for what cannot be put that way (sent empty), "ITEM: HELD".
    std::string line() const {
        if (sent.empty()) return item + ": " + held;
        return item + ": the panel has " + held + ", an upload writes " + sent;
    }
};
