// CCheckText: the check's findings in words and as JSON, the forms cairnctl prints and a record
// of a transfer keeps.
#pragma once

#include <string>
#include <vector>

#include "check/CCheckFinding.h"

class CCheckText {
public:
    // "rule 3 of panel 1", "loop 2 element 7 of panel 1", "zone 4 of panel 2", "panel 1".
    static std::string where(const CCheckFinding& finding);
    // One line per finding: "error: WHERE: TEXT" or "warning: WHERE: TEXT".
    static std::string words(const std::vector<CCheckFinding>& findings);
    // {"errors":N,"warnings":N,"findings":[{"severity":..,"item":..,"panel":..,"loop":..,
    // "element":..,"zone":..,"rule":..,"code":..,"text":..},...]} and a newline.
    static std::string json(const std::vector<CCheckFinding>& findings);
    static int errorCount(const std::vector<CCheckFinding>& findings);
};
