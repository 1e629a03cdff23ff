#include "panel_link/CZoneDescriptionNotice.h"

#include "basalt/KvStringTableFile.h"
#include "basalt/KvTrace.h"
#include "basalt/KvUtf.h"
#include "panel_link/CPanelLink.h"
#include "panel_link/MessageLines.h"

std::vector<CZoneDescriptionNotice::Hidden> CZoneDescriptionNotice::find(const CFacilityManager& facility,
                                                                         int panelId) {
    std::vector<Hidden> hidden;
    for (int zone = 1; zone <= CPanelLink::kZones; ++zone) {
        const KvWString* own = facility.getPanelZoneDescription(panelId, zone);
        const KvWString* shown = own ? facility.getZoneDescription(zone) : nullptr;
        if (shown && shown != own && *shown != *own) hidden.push_back({zone, *own, *shown});
    }
    return hidden;
}

void CZoneDescriptionNotice::take(CFacilityManager& facility, const std::vector<Hidden>& hidden) {
    for (const Hidden& h : hidden) facility.setZoneDescription(h.zone, h.panel);
}

bool CZoneDescriptionNotice::offer(CFacilityManager& facility, IUserPrompt& prompt, int panelId) {
    printk("\n CZoneDescriptionNotice::offer");
    const std::vector<Hidden> hidden = find(facility, panelId);
    if (hidden.empty()) return false;
    KvWString format;
    KvLoadString(kZoneLineText, format);
    std::vector<std::string> lines;
    for (const Hidden& h : hidden) {
        KvWString line;
        lines.push_back(ToUtf8(line.Format(format.c_str(), h.zone, h.panel.c_str(), h.shown.c_str()).c_str()).c_str());
    }
    if (!prompt.askYesNoWith(kQuestionText, messageLines(lines, kShownZones))) return false;
    take(facility, hidden);
    return true;
}
