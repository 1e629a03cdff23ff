// CReportDiffWords: the words of a facility difference from the string table, for the program's
// windows and printed pages: places and changes in the user's language, element types and rule
// sides by their names, as the reports write them.
#pragma once

#include "model/CDiffWords.h"

class CReportDiffWords {
public:
    static constexpr int kAddedText = 519;
    static constexpr int kRemovedText = 580;
    static constexpr int kChangedText = 581;
    static constexpr int kPanelText = 582;
    static constexpr int kLoopText = 583;
    static constexpr int kElementText = 584;
    static constexpr int kZoneText = 585;
    static constexpr int kZoneRangeText = 586;
    static constexpr int kRuleText = 587;
    static constexpr int kRenumberedRuleText = 588;
    static constexpr int kWithContentsText = 589;
    static constexpr int kLoopsText = 590;
    static constexpr int kElementsText = 591;
    static constexpr int kWithFieldsText = 592;
    static constexpr int kInstallerText = 593;
    static constexpr int kPhoneText = 594;
    static constexpr int kDelayText = 595;

    // The words of the loaded string table.
    static CDiffWords load();
};
