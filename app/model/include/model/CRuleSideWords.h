// CRuleSideWords: a rule side in fixed English words, as the command-line tool and the
// comparison of facilities write it.
#pragma once

#include <string>

class CEventActionSide;

class CRuleSideWords {
public:
    // What the side names: "panel 1", "panel 1, loop 2, element 17", "panel 1, zone 3",
    // "panel 1, zones 3-9" (a range stays one range); "nothing" when it names nothing.
    static std::string selection(const CEventActionSide& side);
    // "kind 2, " and the selection; with `elementType` a stored element type that differs from
    // the kind is added: "kind 2 (element type 5), panel 1". "nothing" for a missing side.
    static std::string side(const CEventActionSide* side, bool elementType = false);
};
