#include "check/CFacilityCheck.h"

#include <algorithm>
#include <map>

#include "model/CEventActionSide.h"
#include "model/CFacilityManager.h"
#include "panel_link/CElementRecord.h"
#include "panel_link/CPanelLink.h"
#include "panel_link/CRecordConverter.h"
#include "panel_link/CSystemInfoRecord.h"
#include "panel_link/CZoneRecord.h"

namespace {

constexpr int kOutputGenericA = 7;
constexpr int kOutputGenericB = 8;

std::string number(int n) { return std::to_string(n); }

}  // namespace

std::vector<CCheckFinding> CFacilityCheck::run(int panelId) {
    m_scope = panelId;
    m_errors.clear();
    m_warnings.clear();
    m_events = Coverage();
    m_actions = Coverage();
    checkPanels();
    checkRules();
    checkRuleCounts();
    checkCoverage();
    std::vector<CCheckFinding> all = std::move(m_errors);
    all.insert(all.end(), m_warnings.begin(), m_warnings.end());
    m_warnings.clear();
    return all;
}

bool CFacilityCheck::hasErrors(const std::vector<CCheckFinding>& findings) {
    for (const CCheckFinding& f : findings)
        if (f.isError()) return true;
    return false;
}

CCheckFinding CFacilityCheck::at(CCheckFinding::Item item, int panel, int loop, int element, int zone,
                                 int rule) const {
    CCheckFinding f;
    f.item = item;
    f.panel = panel, f.loop = loop, f.element = element, f.zone = zone, f.rule = rule;
    return f;
}

void CFacilityCheck::error(CCheckFinding where, const char* code, const std::string& text) {
    where.severity = CCheckFinding::Severity::Error;
    where.code = code;
    where.text = text;
    m_errors.push_back(std::move(where));
}

void CFacilityCheck::warning(CCheckFinding where, const char* code, const std::string& text) {
    where.severity = CCheckFinding::Severity::Warning;
    where.code = code;
    where.text = text;
    m_warnings.push_back(std::move(where));
}

bool CFacilityCheck::hasLoop(int panelId, int loop) const {
    for (int i = 0; i < m_facility.getNumOfLoops(panelId); ++i)
        if (m_facility.getLoopAddress(panelId, i) == loop) return true;
    return false;
}

// ---------------------------------------------------------------- panels

void CFacilityCheck::checkPanels() {
    std::map<int, int> byAddress;  // address -> first panel id with it
    for (int i = 0; i < m_facility.getNumberOfPanels(); ++i) {
        const int id = m_facility.getPanelId(i);
        const int address = m_facility.getPanelAddress(id);
        const auto [first, isNew] = byAddress.emplace(address, id);
        if (!inScope(id)) continue;
        const CCheckFinding panel = at(CCheckFinding::Item::Panel, id);
        if (address < 1 || address > kMaxPanelAddress)
            error(panel, "panel-address", "its address " + number(address) + " is not one of 1 to 255");
        else if (!isNew)
            error(panel, "panel-address-shared", "its address " + number(address) + " is also panel " +
                                                     number(first->second) + "'s");
        if (address == 0 || id < 1 || id > kMaxSavedPanelId)
            warning(panel, "save-drops-panel",
                    address == 0 ? "a save leaves it out, as its address is 0"
                                 : "a save leaves it out, as its id is not one of 1 to 128");
        checkPanel(id);
    }
}

void CFacilityCheck::checkPanel(int id) {
    const CCheckFinding panel = at(CCheckFinding::Item::Panel, id);
    constexpr int n = CSystemInfoRecord::kFieldSize;
    if (const KvWString* label = m_facility.getPanelLabel(id)) checkText(panel, "the label", *label, n);
    checkText(panel, "the installer", m_facility.getPanelInstaller(id), n);
    checkText(panel, "the phone number", m_facility.getPanelPhone(id), n);
    checkLoops(id);
    checkZones(id);
}

void CFacilityCheck::checkLoops(int id) {
    for (int i = 0; i < m_facility.getNumOfLoops(id); ++i) {
        const int loop = m_facility.getLoopAddress(id, i);
        if (loop < 1 || loop > CPanelLink::kLoops) {
            error(at(CCheckFinding::Item::Loop, id, loop), "value-does-not-fit",
                  "the panel has loops 1 to " + number(CPanelLink::kLoops) + " only; an upload leaves it out");
            continue;
        }
        for (int e = 0; e < m_facility.getNumberOfElementsInLoop(id, loop); ++e)
            checkElement(id, loop, m_facility.getElementAddress(id, loop, e));
    }
}

void CFacilityCheck::checkElement(int id, int loop, int address) {
    const CCheckFinding element = at(CCheckFinding::Item::Element, id, loop, address);
    if (address < 1 || address > CPanelLink::kElementsPerLoop) {
        error(element, "value-does-not-fit",
              "the panel has addresses 1 to " + number(CPanelLink::kElementsPerLoop) + " only; an upload leaves it out");
        return;
    }
    CElementRecord record;
    // The converter's upload half only reads the facility.
    if (!CRecordConverter(const_cast<CFacilityManager&>(m_facility)).elementRecord(id, loop, address, record)) {
        error(element, "value-does-not-fit", "its zone, type or composite mode does not fit the panel's element record");
        return;
    }
    if (const KvWString* description = m_facility.getElementDescription(id, loop, address))
        checkText(element, "the description", *description, CElementRecord::kDescriptionSize);
    const int generic = m_facility.getElementGenericType(id, loop, address);
    const int mode = m_facility.getElementCompositeMode(id, loop, address);
    if (generic != 0 && m_facility.getElementZone(id, loop, address) == 0 && mode <= 1)
        warning(element, "element-without-zone", "it belongs to no zone");
}

// ---------------------------------------------------------------- zones

void CFacilityCheck::checkZones(int id) {
    for (int i = 0; i < m_facility.getNumOfZones(id); ++i) {
        const int zone = m_facility.getZoneNumber(id, i);
        const KvWString* own = m_facility.getPanelZoneDescription(id, zone);
        const KvWString* kept = m_facility.getZoneDescription(zone);
        const CCheckFinding where = at(CCheckFinding::Item::Zone, id, 0, 0, zone);
        if (own) checkText(where, "the description", *own, CZoneRecord::kDescriptionSize);
        if (own && kept && kept != own && *kept != *own)
            warning(where, "zone-description-hidden",
                    "a save keeps another panel's description of zone " + number(zone) + " instead of this one");
    }
    std::set<int> used;
    for (int i = 0; i < m_facility.getNumOfLoops(id); ++i) {
        const int loop = m_facility.getLoopAddress(id, i);
        for (int e = 0; e < m_facility.getNumberOfElementsInLoop(id, loop); ++e)
            if (const int z = m_facility.getElementZone(id, loop, m_facility.getElementAddress(id, loop, e))) used.insert(z);
    }
    const KvWString fallback = defaultZoneText();
    for (int zone : used) {
        const KvWString* own = m_facility.getPanelZoneDescription(id, zone);
        if (!own || *own == fallback)
            warning(at(CCheckFinding::Item::Zone, id, 0, 0, zone), "zone-default-description",
                    "it is in use but still has the default description");
    }
}

// ---------------------------------------------------------------- inputs and outputs without a rule

bool CFacilityCheck::Coverage::covers(int panel, int loop, int element, int zone) const {
    return panels.count(panel) || loops.count({panel, loop}) || elements.count({panel, loop, element}) ||
           (zone != 0 && zones.count({panel, zone}));
}

void CFacilityCheck::cover(Coverage& c, int itemType, int panel, int loop, int element, int zone,
                           std::pair<int, int> range) {
    switch (itemType) {
    case kItemPanel: c.panels.insert(panel); break;
    case kItemLoop: c.loops.insert({panel, loop}); break;
    case kItemElement: c.elements.insert({panel, loop, element}); break;
    case kItemZone: c.zones.insert({panel, zone}); break;
    case kItemPanelRange:
        for (int z = std::max(range.first, 1); z <= std::min(range.second, CPanelLink::kZones); ++z)
            c.zones.insert({panel, z});
        break;
    default: break;
    }
}

void CFacilityCheck::checkCoverage() {
    for (int i = 0; i < m_facility.getNumberOfPanels(); ++i) {
        const int id = m_facility.getPanelId(i);
        if (!inScope(id)) continue;
        for (int l = 0; l < m_facility.getNumOfLoops(id); ++l) {
            const int loop = m_facility.getLoopAddress(id, l);
            for (int e = 0; e < m_facility.getNumberOfElementsInLoop(id, loop); ++e) {
                const int address = m_facility.getElementAddress(id, loop, e);
                const int generic = m_facility.getElementGenericType(id, loop, address);
                if (generic == 0) continue;
                const int zone = m_facility.getElementZone(id, loop, address);
                const bool output = generic == kOutputGenericA || generic == kOutputGenericB;
                const CCheckFinding where = at(CCheckFinding::Item::Element, id, loop, address);
                if (output && !m_actions.covers(id, loop, address, zone))
                    warning(where, "output-without-rule", "no rule drives this output");
                else if (!output && !m_events.covers(id, loop, address, zone))
                    warning(where, "input-without-rule", "this input raises no rule");
            }
        }
    }
}
