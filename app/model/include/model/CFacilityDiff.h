// CFacilityDiff: what changed from one facility to another, in words and as JSON.
//
// The words come from a CDiffWords table, so the model stays free of the program's string table;
// the JSON is for programs and keeps its English names.
//
// Panels are matched by id, loops by address, elements by loop and address, zones by number.
// Rules are matched by their content first (delay and both sides, whatever their ids), so a
// renumbered rule is no change; the rest pair up when only the delay differs, then by id, and
// what is left was added or removed. The contents of an added or removed panel or loop are
// counted, not listed one by one.
#pragma once

#include <string>
#include <vector>

#include "basalt/JsonDocument.h"
#include "model/CDiffWords.h"
#include "model/CFacilityChange.h"

class CFacilityItem;

class CFacilityDiff {
public:
    // The changes from `before` to `after`. With `panelId` other than 0 only that panel and the
    // rules whose input lies in it (those an upload of the panel sends) are compared.
    static CFacilityDiff compare(const CFacilityItem& before, const CFacilityItem& after, int panelId = 0);

    bool empty() const { return m_changes.empty(); }
    const std::vector<CFacilityChange>& changes() const { return m_changes; }

    // One line per change (UTF-8) in the words of `words`, panels first, then rules; the words
    // as built are fixed English.
    std::vector<std::string> lines(const CDiffWords& words = CDiffWords()) const;
    static std::string line(const CFacilityChange& change, const CDiffWords& words = CDiffWords());
    // {"equal": bool, "changes": [{"subject", "change", "panel" | "rule"/"newRule", "loop",
    // "element", "zone", "loops", "elements", "fields": [{"name", "before", "after"}]}]}; members
    // that do not apply are left out, numbers stay numbers.
    void toJson(JsonDocument& document) const;

private:
    std::vector<CFacilityChange> m_changes;
};
