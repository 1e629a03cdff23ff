// CZoneDescriptionNotice: what a download leaves hidden in zone descriptions, and the offer to
// take the panel's.
//
// The facility shows (and saves, and sends) one description per zone number: the one of the
// first panel that has the zone. A panel received into a facility whose panels already describe
// the same zone numbers keeps its own descriptions, but nobody sees them, and the next upload
// of that panel would replace them on the panel. After a download the user is told which
// differ (question 493) and may take the received panel's.
#pragma once

#include <string>
#include <vector>

#include "basalt/KvBasicString.h"
#include "model/CFacilityManager.h"
#include "seams/IUserPrompt.h"

class CZoneDescriptionNotice {
public:
    static constexpr int kQuestionText = 493;   // "%s": the zones, one line each (text 494)
    static constexpr int kZoneLineText = 494;   // "%d" zone, "%ls" the panel's, "%ls" the facility's
    static constexpr std::size_t kShownZones = 20;

    struct Hidden {
        int zone = 0;
        KvWString panel;  // the received panel's description
        KvWString shown;  // what the facility shows for that number
    };

    // The zones of panel `panelId` whose own description differs from the one the facility shows.
    static std::vector<Hidden> find(const CFacilityManager& facility, int panelId);
    // Makes the panel's descriptions the ones the facility shows.
    static void take(CFacilityManager& facility, const std::vector<Hidden>& hidden);
    // Asks, when any description is hidden, and takes the panel's on yes. True when taken.
    static bool offer(CFacilityManager& facility, IUserPrompt& prompt, int panelId);
};
