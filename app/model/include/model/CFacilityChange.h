// CFacilityChange: one difference between two facilities, as CFacilityDiff finds it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "basalt/KvBasicString.h"
#include "model/CEventActionSide.h"

class CFacilityChange {
public:
    enum Subject { kPanel, kLoop, kElement, kZone, kRule };
    enum Action { kAdded, kRemoved, kChanged };

    // One value of the record: a number, a text from the file, or words the comparison made
    // (a rule side), which need no quoting.
    struct Field {
        enum Kind { kNumber, kText, kWords };
        std::string name;
        Kind kind = kNumber;
        int before = 0, after = 0;        // kNumber
        KvWString beforeText, afterText;  // kText and kWords
        // The rule sides that kWords describe, for words of another language (empty for a
        // missing side).
        std::optional<CEventActionSide> beforeSide, afterSide;
    };

    CFacilityChange(Subject subject, Action action) : subject(subject), action(action) {}

    Subject subject;
    Action action;
    int panel = 0;      // panel id (0 for rules)
    int loop = 0;       // loop address of a loop or element
    int number = 0;     // element address, zone number, or rule id in the first facility (0 when added)
    int newNumber = 0;  // rule id in the second facility (0 when removed)
    int elements = 0;   // elements of an added or removed panel or loop
    int loops = 0;      // loops of an added or removed panel
    // Changed: only the fields that differ. Added: the new values in `after`; removed: the old
    // values in `before`.
    std::vector<Field> fields;
};
