#include "panel_link/CDownloadPlan.h"

#include <algorithm>

#include "model/CFacilityManager.h"
#include "seams/IUserPrompt.h"

CDownloadPlan::CDownloadPlan(const CFacilityManager& facility) {
    for (int i = 0; i < facility.getNumberOfPanels(); ++i) {
        const int id = facility.getPanelId(i);
        m_panelAddresses.emplace(id, facility.getPanelAddress(id));  // the first panel of an id wins
    }
    for (int i = 0; i < facility.getNumberEventsInPanel(); ++i) {
        const int id = facility.getEventActionId(i);
        m_rules.emplace_back(id, facility.getEventActionInPanel(id));
    }
}

bool CDownloadPlan::chooseId(int address, IUserPrompt& prompt, int& id, bool& replace) const {
    replace = false;
    for (id = 1; id < kLastFreePanelId; ++id) {
        const auto panel = m_panelAddresses.find(id);
        if (panel == m_panelAddresses.end()) return true;
        if (panel->second == address) {
            if (!prompt.askYesNo(kReplacePanelText)) return false;
            replace = true;
            return true;
        }
    }
    return m_panelAddresses.count(id) == 0;
}

int CDownloadPlan::firstFreeRuleId(int leavingPanel) const {
    int count = 0, largest = 0;
    for (const auto& [id, panel] : m_rules) {
        if (leavingPanel != 0 && panel == leavingPanel) continue;
        ++count;
        largest = std::max(largest, id);
    }
    return std::max(count, largest) + 1;
}
