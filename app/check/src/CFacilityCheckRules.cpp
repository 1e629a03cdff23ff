#include <map>

#include "check/CFacilityCheck.h"
#include "model/CEventActionSide.h"
#include "model/CFacilityManager.h"
#include "panel_link/CEventActionRecord.h"
#include "panel_link/CPanelLink.h"
#include "panel_link/CRecordConverter.h"

namespace {

std::string number(int n) { return std::to_string(n); }

}  // namespace

void CFacilityCheck::checkRules() {
    const CFacilityManager& m = m_facility;
    for (int i = 0; i < m.getNumberEventsInPanel(); ++i) {
        const int r = m.getEventActionId(i);
        // Every rule counts for coverage: another panel's rule may drive this panel's outputs.
        cover(m_events, m.getEventActionInItemType(r), m.getEventActionInPanel(r), m.getEventActionInLoop(r),
              m.getEventActionInElement(r), m.getEventActionInZone(r), m.getEventActionInRange(r));
        cover(m_actions, m.getEventActionOutItemType(r), m.getEventActionOutPanel(r), m.getEventActionOutLoop(r),
              m.getEventActionOutElement(r), m.getEventActionOutZone(r), m.getEventActionOutRange(r));
        // A rule whose event names no existing panel belongs to no upload; only the whole
        // facility's check names it.
        if (inScope(m.getEventActionInPanel(r))) checkRule(r);
    }
}

void CFacilityCheck::checkRule(int rule) {
    const size_t before = m_errors.size();
    checkRuleSide(rule, true);
    checkRuleSide(rule, false);
    if (m_errors.size() != before) return;
    CEventRecord event;
    CActionRecord action;
    if (CRecordConverter(const_cast<CFacilityManager&>(m_facility)).eventActionRecords(rule, event, action) ==
        CRecordConverter::Refusal::OutOfRange)
        error(at(CCheckFinding::Item::Rule, m_facility.getEventActionInPanel(rule), 0, 0, 0, rule),
              "value-does-not-fit/rule-record");
}

void CFacilityCheck::checkRuleSide(int rule, bool event) {
    const CFacilityManager& m = m_facility;
    const int itemType = event ? m.getEventActionInItemType(rule) : m.getEventActionOutItemType(rule);
    Missing missing =
        event ? missingItem(itemType, m.getEventActionInPanel(rule), m.getEventActionInLoop(rule),
                            m.getEventActionInElement(rule), m.getEventActionInZone(rule), m.getEventActionInRange(rule))
              : missingItem(itemType, m.getEventActionOutPanel(rule), m.getEventActionOutLoop(rule),
                            m.getEventActionOutElement(rule), m.getEventActionOutZone(rule),
                            m.getEventActionOutRange(rule));
    if (!missing.kind) return;
    const CCheckFinding where = at(CCheckFinding::Item::Rule, m.getEventActionInPanel(rule), 0, 0, 0, rule);
    missing.values.insert(missing.values.begin(), event ? "event-side" : "action-side");
    const std::string kind = missing.kind;
    error(where, kind == "nothing" ? "rule-names-nothing" : "rule-names-missing/" + kind, std::move(missing.values));
}

CFacilityCheck::Missing CFacilityCheck::missingItem(int itemType, int panel, int loop, int element, int zone,
                                                    std::pair<int, int> range) const {
    const CFacilityManager& m = m_facility;
    const bool known = itemType == kItemPanel || itemType == kItemLoop || itemType == kItemZone ||
                       itemType == kItemElement || itemType == kItemPanelRange;
    if (!known) return {"nothing", {}};
    const std::string p = number(panel);
    if (!m.getPanelLabel(panel)) return {"panel", {p}};
    if ((itemType == kItemLoop || itemType == kItemElement) && !hasLoop(panel, loop)) return {"loop", {number(loop), p}};
    if (itemType == kItemElement && !m.getElementDescription(panel, loop, element))
        return {"element", {number(element), number(loop), p}};
    if (itemType == kItemZone && !m.getPanelZoneDescription(panel, zone)) return {"zone", {number(zone), p}};
    if (itemType == kItemPanelRange) {
        for (int z : {range.first, range.second})
            if (!m.getPanelZoneDescription(panel, z)) return {"zone", {number(z), p}};
        if (range.first > range.second) return {"zones", {number(range.first), number(range.second), p}};
    }
    return {};
}

void CFacilityCheck::checkRuleCounts() {
    std::map<int, int> perPanel;
    for (int i = 0; i < m_facility.getNumberEventsInPanel(); ++i)
        ++perPanel[m_facility.getEventActionInPanel(m_facility.getEventActionId(i))];
    for (const auto& [panel, count] : perPanel) {
        if (!inScope(panel) || !m_facility.getPanelLabel(panel)) continue;
        const CCheckFinding where = at(CCheckFinding::Item::Panel, panel);
        if (count > CPanelLink::kEventActions)
            error(where, "rules-per-upload", {number(count), number(CPanelLink::kEventActions)});
        else if (count > kMaxRulesPerPanel)
            error(where, "rules-per-panel", {number(count), number(kMaxRulesPerPanel)});
    }
}
