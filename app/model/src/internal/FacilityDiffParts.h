// Helpers shared by the parts of CFacilityDiff.
#pragma once

#include <string>
#include <vector>

#include "model/CFacilityChange.h"

class CFacilityItem;

namespace facility_diff {

// Appends a number field when the values differ (or always, for an added or removed record).
void addNumber(CFacilityChange& change, const char* name, int before, int after, bool always = false);
// The same for a text from the file, and for words the comparison made.
void addText(CFacilityChange& change, const char* name, const KvWString& before, const KvWString& after,
             bool always = false);
void addWords(CFacilityChange& change, const char* name, const KvWString& before, const KvWString& after,
              bool always = false);

// The rule changes; with `panelId` other than 0 only rules whose input lies in that panel.
void compareRules(const CFacilityItem& before, const CFacilityItem& after, int panelId,
                  std::vector<CFacilityChange>& changes);

}  // namespace facility_diff
