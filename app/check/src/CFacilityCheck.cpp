#include "check/CFacilityCheck.h"

#include <algorithm>
#include <climits>
#include <iterator>
#include <set>
#include <map>

#include "check/CCheckWords.h"
#include "model/CEventActionSide.h"
#include "model/CFacilityItem.h"
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
    m_shownZones.clear();
    // A facility whose rules are few warns about nearly every element: room for that at once
    // spares the copies of a growing list.
    std::size_t elements = 0;
    for (const auto& panel : m_facility.facility().panels) {
        for (const auto& zone : panel->zones) m_shownZones.emplace(zone->number, &zone->description);
        if (inScope(panel->id))
            for (const auto& loop : panel->loops) elements += loop->elements.size();
    }
    m_warnings.reserve(elements + 64);
    checkPanels();
    checkRules();
    checkRuleCounts();
    checkCoverage();
    // Errors first; the warnings' list, being the long one, takes them in.
    std::vector<CCheckFinding> all = std::move(m_warnings);
    all.insert(all.begin(), std::make_move_iterator(m_errors.begin()), std::make_move_iterator(m_errors.end()));
    m_errors.clear();
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

void CFacilityCheck::word(CCheckFinding& f, std::string wording, std::vector<std::string> values) {
    f.code = wording.substr(0, wording.find('/'));
    f.wording = std::move(wording);
    f.values = std::move(values);
    f.text = CCheckWords::english().sentence(f);
}

void CFacilityCheck::error(CCheckFinding where, std::string wording, std::vector<std::string> values) {
    where.severity = CCheckFinding::Severity::Error;
    word(where, std::move(wording), std::move(values));
    m_errors.push_back(std::move(where));
}

void CFacilityCheck::warning(CCheckFinding where, std::string wording, std::vector<std::string> values) {
    where.severity = CCheckFinding::Severity::Warning;
    word(where, std::move(wording), std::move(values));
    m_warnings.push_back(std::move(where));
}

bool CFacilityCheck::hasLoop(int panelId, int loop) const {
    for (int i = 0; i < m_facility.getNumOfLoops(panelId); ++i)
        if (m_facility.getLoopAddress(panelId, i) == loop) return true;
    return false;
}

// ---------------------------------------------------------------- panels
// The walks go over the records themselves: looking every element up by its numbers again
// costs a search of its loop each time, which the largest facility cannot afford.

void CFacilityCheck::checkPanels() {
    std::map<int, int> byAddress;  // address -> first panel id with it
    for (const auto& p : m_facility.facility().panels) {
        const int id = p->id;
        const int address = p->address;
        const auto [first, isNew] = byAddress.emplace(address, id);
        if (!inScope(id)) continue;
        const CCheckFinding panel = at(CCheckFinding::Item::Panel, id);
        if (address < 1 || address > kMaxPanelAddress)
            error(panel, "panel-address", {number(address)});
        else if (!isNew)
            error(panel, "panel-address-shared", {number(address), number(first->second)});
        if (address == 0 || id < 1 || id > kMaxSavedPanelId)
            warning(panel, address == 0 ? "save-drops-panel/address" : "save-drops-panel/id");
        checkPanel(*p);
    }
}

void CFacilityCheck::checkPanel(const CPanelItem& p) {
    const CCheckFinding panel = at(CCheckFinding::Item::Panel, p.id);
    constexpr int n = CSystemInfoRecord::kFieldSize;
    checkText(panel, "label", p.label, n);
    checkText(panel, "installer", p.installer, n);
    checkText(panel, "phone", p.phone, n);
    checkLoops(p);
    checkZones(p);
}

void CFacilityCheck::checkLoops(const CPanelItem& p) {
    for (const auto& loop : p.loops) {
        if (loop->address < 1 || loop->address > CPanelLink::kLoops) {
            error(at(CCheckFinding::Item::Loop, p.id, loop->address), "value-does-not-fit/loop",
                  {number(CPanelLink::kLoops)});
            continue;
        }
        for (const auto& element : loop->elements) checkElement(p.id, loop->address, *element);
    }
}

void CFacilityCheck::checkElement(int id, int loop, const CElementItem& e) {
    const CCheckFinding element = at(CCheckFinding::Item::Element, id, loop, e.address);
    if (e.address < 1 || e.address > CPanelLink::kElementsPerLoop) {
        error(element, "value-does-not-fit/element", {number(CPanelLink::kElementsPerLoop)});
        return;
    }
    // An element of generic type 0 goes out as an empty record, whatever its numbers.
    if (e.genericType != 0 && !CRecordConverter::elementFits(e.genericType, e.zone, e.type, e.compositeMode)) {
        error(element, "value-does-not-fit/element-record");
        return;
    }
    checkText(element, "description", e.description, CElementRecord::kDescriptionSize);
    if (e.genericType != 0 && e.zone == 0 && e.compositeMode <= 1)
        warning(element, "element-without-zone");
}

// ---------------------------------------------------------------- zones

void CFacilityCheck::checkZones(const CPanelItem& p) {
    std::map<int, const KvWString*> own;  // number -> this panel's first zone of that number
    for (const auto& z : p.zones) {
        if (!own.emplace(z->number, &z->description).second) continue;
        const CCheckFinding where = at(CCheckFinding::Item::Zone, p.id, 0, 0, z->number);
        checkText(where, "description", z->description, CZoneRecord::kDescriptionSize);
        const KvWString* kept = m_shownZones[z->number];
        if (kept != &z->description && *kept != z->description)
            warning(where, "zone-description-hidden", {number(z->number)});
    }
    std::set<int> used;  // zones beyond the panel's, rare
    std::vector<bool> usedInRange(kAddressSlots);
    for (const auto& loop : p.loops)
        for (const auto& e : loop->elements) {
            if (e->zone > 0 && e->zone < kAddressSlots)
                usedInRange[e->zone] = true;
            else if (e->zone != 0)
                used.insert(e->zone);
        }
    for (int zone = 1; zone < kAddressSlots; ++zone)
        if (usedInRange[zone]) used.insert(zone);
    const KvWString fallback = defaultZoneText();
    for (int zone : used) {
        const auto it = own.find(zone);
        if (it == own.end() || *it->second == fallback)
            warning(at(CCheckFinding::Item::Zone, p.id, 0, 0, zone), "zone-default-description");
    }
}

// ---------------------------------------------------------------- inputs and outputs without a rule

CFacilityCheck::PanelCoverage::PanelCoverage(const Coverage& c, int id)
    : all(c), panel(id), whole(c.panels.count(id) > 0), loops(kLoopSlots), elements(kLoopSlots * kAddressSlots),
      zones(kAddressSlots) {
    for (auto it = c.loops.lower_bound({id, INT_MIN}); it != c.loops.end() && it->first == id; ++it)
        if (it->second >= 0 && it->second < kLoopSlots) loops[it->second] = true;
    for (auto it = c.elements.lower_bound({id, INT_MIN, INT_MIN}); it != c.elements.end() && std::get<0>(*it) == id; ++it) {
        const int loop = std::get<1>(*it), element = std::get<2>(*it);
        if (loop >= 0 && loop < kLoopSlots && element >= 0 && element < kAddressSlots)
            elements[loop * kAddressSlots + element] = true;
    }
    for (auto it = c.zones.lower_bound({id, INT_MIN}); it != c.zones.end() && it->first == id; ++it)
        if (it->second >= 0 && it->second < kAddressSlots) zones[it->second] = true;
}

bool CFacilityCheck::PanelCoverage::covers(int loop, int element, int zone) const {
    if (whole) return true;
    const bool loopFits = loop >= 0 && loop < kLoopSlots;
    const bool elementFits = loopFits && element >= 0 && element < kAddressSlots;
    const bool zoneFits = zone >= 0 && zone < kAddressSlots;
    // Numbers outside the flat tables are rare (and errors of their own): ask the sets.
    return (loopFits ? loops[loop] : all.loops.count({panel, loop}) > 0) ||
           (elementFits ? elements[loop * kAddressSlots + element] : all.elements.count({panel, loop, element}) > 0) ||
           (zone != 0 && (zoneFits ? zones[zone] : all.zones.count({panel, zone}) > 0));
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
    for (const auto& p : m_facility.facility().panels) {
        if (!inScope(p->id)) continue;
        const PanelCoverage events(m_events, p->id), actions(m_actions, p->id);
        for (const auto& loop : p->loops)
            for (const auto& e : loop->elements) {
                if (e->genericType == 0) continue;
                const bool output = e->genericType == kOutputGenericA || e->genericType == kOutputGenericB;
                if (output && !actions.covers(loop->address, e->address, e->zone))
                    warning(at(CCheckFinding::Item::Element, p->id, loop->address, e->address), "output-without-rule");
                else if (!output && !events.covers(loop->address, e->address, e->zone))
                    warning(at(CCheckFinding::Item::Element, p->id, loop->address, e->address), "input-without-rule");
            }
    }
}
