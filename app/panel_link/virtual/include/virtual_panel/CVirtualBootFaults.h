// CVirtualBootFaults: faults of a virtual panel's update mode.
//
// Cards are named 1 to 4 (card address 0 to 3), as the update reports them.
#pragma once

#include <array>
#include <string>

struct CVirtualBootFaults {
    std::array<bool, 4> cardSilent{};         // "card-silent:N": card N never answers
    std::array<bool, 4> cardEraseFails{};     // "card-erase:N": its page erases report failure
    std::array<bool, 4> cardProgramFails{};   // "card-program:N": its row programming reports failure
    bool boardEraseFails = false;             // "board-erase": main-board sector erases report failure
    bool boardProgramFails = false;           // "board-program": main-board block programming reports failure

    // Takes one item of a fault list; false when it is not a boot-mode fault.
    static bool parseItem(const std::string& item, CVirtualBootFaults& faults);
};
