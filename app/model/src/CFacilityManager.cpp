#include "model/CFacilityManager.h"

#include <algorithm>

#include "basalt/KvStringTableFile.h"
#include "basalt/KvTrace.h"
#include "internal/ManagerRecording.h"
#include "model/CElementTypeCatalogue.h"
#include "seams/IFacilityObserver.h"
#include "seams/IUserPrompt.h"

namespace {

constexpr int kTypeChangeRefusedText = 278;
constexpr int kNewElementLabelText = 279;

template <class T, class Pred>
T* firstMatch(const std::vector<std::unique_ptr<T>>& list, Pred pred) {
    for (const auto& item : list)
        if (pred(*item)) return item.get();
    return nullptr;
}

template <class T>
T* atIndex(const std::vector<std::unique_ptr<T>>& list, int index) {
    if (index < 0 || index >= static_cast<int>(list.size())) return nullptr;
    return list[index].get();
}

KvWString loadText(int id) {
    KvWString text;
    KvLoadString(id, text);
    return text;
}

}  // namespace

CFacilityManager::CFacilityManager() : m_facility(std::make_unique<CFacilityItem>()) {
    printk("\n CFacilityManager::CFacilityManager");
}

CFacilityManager::~CFacilityManager() {
    printk("\n CFacilityManager::~CFacilityManager");
    m_facility.reset();
    // Directly: the observer may be gone already, and the history goes with the manager.
    m_eventGroups.clear();
    m_actionGroups.clear();
}

// ---- lookups ----

CPanelItem* CFacilityManager::findPanel(int id) const {
    Memo<CPanelItem>& m = m_panelMemo;
    if (m.generation == m_generation[kPanels] && m.a == id) return m.record;
    CPanelItem* found = firstMatch(m_facility->panels, [id](const CPanelItem& p) { return p.id == id; });
    m = {m_generation[kPanels], id, 0, 0, found};
    return found;
}

CLoopItem* CFacilityManager::findLoop(int panelId, int address) const {
    Memo<CLoopItem>& m = m_loopMemo;
    if (m.generation == m_generation[kLoops] && m.a == panelId && m.b == address) return m.record;
    CPanelItem* panel = findPanel(panelId);
    CLoopItem* found =
        panel ? firstMatch(panel->loops, [address](const CLoopItem& l) { return l.address == address; }) : nullptr;
    m = {m_generation[kLoops], panelId, address, 0, found};
    return found;
}

CElementItem* CFacilityManager::findElement(int panelId, int loopAddress, int address) const {
    Memo<CElementItem>& m = m_elementMemo;
    if (m.generation == m_generation[kElements] && m.a == panelId && m.b == loopAddress && m.c == address) return m.record;
    CLoopItem* loop = findLoop(panelId, loopAddress);
    CElementItem* found =
        loop ? firstMatch(loop->elements, [address](const CElementItem& e) { return e.address == address; })
             : nullptr;
    m = {m_generation[kElements], panelId, loopAddress, address, found};
    return found;
}

// ---- facility ----

void CFacilityManager::flushFacility() {
    printk("\n CFacilityManager::flushFacility");
    changed(kPanels);
    // The group indexes point at rules of the old facility; keeping them would leave dangling
    // pointers that the next rule filing reads.
    clearGroups();
    dropRuleIndex();
    m_facility = std::make_unique<CFacilityItem>();
    m_history.reset();
    historyChanged();
}

bool CFacilityManager::sortingElements(const CElementItem* a, const CElementItem* b) {
    return a->address < b->address;
}

bool CFacilityManager::sortingLoops(const CLoopItem* a, const CLoopItem* b) { return a->address < b->address; }

bool CFacilityManager::sortingPanels(const CPanelItem* a, const CPanelItem* b) { return a->id < b->id; }

void CFacilityManager::sortFacility() {
    printk("\n CFacilityManager::sortFacility");
    changed(kLoops);
    const auto elementLess = [](const auto& a, const auto& b) { return sortingElements(a.get(), b.get()); };
    const auto loopLess = [](const auto& a, const auto& b) { return sortingLoops(a.get(), b.get()); };
    bool reopened = false;
    for (auto& panel : m_facility->panels) {
        for (auto& loop : panel->loops) {
            if (std::is_sorted(loop->elements.begin(), loop->elements.end(), elementLess)) continue;
            noteReorder(loop->elements, {panel.get(), loop.get(), nullptr}, reopened);
            std::stable_sort(loop->elements.begin(), loop->elements.end(), elementLess);
        }
        if (std::is_sorted(panel->loops.begin(), panel->loops.end(), loopLess)) continue;
        noteReorder(panel->loops, {panel.get(), nullptr, nullptr}, reopened);
        std::stable_sort(panel->loops.begin(), panel->loops.end(), loopLess);
    }
    if (reopened) m_history.close(true);
}

int CFacilityManager::getNumberOfPanels() const {
    printk("\n CFacilityManager::getNumberOfPanels");
    return static_cast<int>(m_facility->panels.size());
}

bool CFacilityManager::getExpandedView() const {
    printk("\n CFacilityManager::getExpandedView");
    return m_facility->expandedView;
}

void CFacilityManager::setExpandedView(bool expanded) {
    printk("\n CFacilityManager::setExpandedView");
    m_facility->expandedView = expanded;
}

// ---- panels ----

void CFacilityManager::placePanel(std::unique_ptr<CPanelItem> panel) {
    auto& panels = m_facility->panels;
    const int address = panel->address;
    auto at = std::find_if(panels.begin(), panels.end(), [address](const auto& p) { return p->address > address; });
    panels.insert(at, std::move(panel));
}

bool CFacilityManager::addPanel(int id, int address, const KvWString& label) {
    printk("\n CFacilityManager::addPanel");
    if (findPanel(id)) return false;
    changed(kPanels);
    auto panel = std::make_unique<CPanelItem>(id, label);
    panel->address = address;
    CPanelItem* added = panel.get();
    placePanel(std::move(panel));
    noteInserted(m_facility->panels, added, {});
    return true;
}

bool CFacilityManager::delPanel(int id) {
    printk("\n CFacilityManager::delPanel");
    auto& panels = m_facility->panels;
    auto at = std::find_if(panels.begin(), panels.end(), [id](const auto& p) { return p->id == id; });
    if (at == panels.end()) return true;
    changed(kPanels);
    removeAt(panels, static_cast<std::size_t>(at - panels.begin()), {});
    return true;
}

bool CFacilityManager::sortPanel(int id) {
    printk("\n CFacilityManager::sortPanel");
    auto& panels = m_facility->panels;
    auto at = std::find_if(panels.begin(), panels.end(), [id](const auto& p) { return p->id == id; });
    if (at == panels.end()) return true;
    changed(kPanels);
    const auto from = static_cast<std::size_t>(at - panels.begin());
    std::unique_ptr<CPanelItem> panel = std::move(*at);
    CPanelItem* moved = panel.get();
    panels.erase(at);
    placePanel(std::move(panel));
    if (undo::indexOf(panels, moved) != from && recordFor({}))
        m_history.record(std::make_unique<undo::ListMove<CPanelItem>>(panels, moved, from));
    return true;
}

int CFacilityManager::getPanelAddress(int id) const {
    printk("\n CFacilityManager::getPanelAddress");
    const CPanelItem* panel = findPanel(id);
    return panel ? panel->address : 0;
}

void CFacilityManager::setPanelAddress(int id, int address) {
    printk("\n CFacilityManager::setPanelAddress");
    if (CPanelItem* panel = findPanel(id)) assign(panel->address, address, {panel});
}

int CFacilityManager::getPanelId(int index) const {
    printk("\n CFacilityManager::getPanelId");
    const CPanelItem* panel = atIndex(m_facility->panels, index);
    return panel ? panel->id : 0;
}

const KvWString* CFacilityManager::getPanelLabel(int id) const {
    printk("\n CFacilityManager::getPanelLabel");
    const CPanelItem* panel = findPanel(id);
    return panel ? &panel->label : nullptr;
}

bool CFacilityManager::setPanelLabel(int id, const KvWString& text) {
    printk("\n CFacilityManager::setPanelLabel");
    CPanelItem* panel = findPanel(id);
    if (!panel) return false;
    assign(panel->label, text, {panel});
    return true;
}

KvWString CFacilityManager::getPanelInstaller(int id) const {
    printk("\n CFacilityManager::getPanelInstaller");
    const CPanelItem* panel = findPanel(id);
    return panel ? panel->installer : KvWString();
}

KvWString CFacilityManager::getPanelPhone(int id) const {
    printk("\n CFacilityManager::getPanelPhone");
    const CPanelItem* panel = findPanel(id);
    return panel ? panel->phone : KvWString();
}

KvWString CFacilityManager::getPanelDescription(int id) const {
    printk("\n CFacilityManager::getPanelDescription");
    const CPanelItem* panel = findPanel(id);
    return panel ? panel->description : KvWString();
}

bool CFacilityManager::setPanelInstaller(int id, const KvWString& text) {
    printk("\n CFacilityManager::setPanelInstaller");
    CPanelItem* panel = findPanel(id);
    if (!panel) return false;
    assign(panel->installer, text, {panel});
    return true;
}

bool CFacilityManager::setPanelPhone(int id, const KvWString& text) {
    printk("\n CFacilityManager::setPanelPhone");
    CPanelItem* panel = findPanel(id);
    if (!panel) return false;
    assign(panel->phone, text, {panel});
    return true;
}

bool CFacilityManager::setPanelComments(int id, const KvWString& text) {
    printk("\n CFacilityManager::setPanelComments");
    CPanelItem* panel = findPanel(id);
    if (!panel) return false;
    assign(panel->description, text, {panel});
    return true;
}

bool CFacilityManager::getPanelExpanded(int id) const {
    printk("\n CFacilityManager::getPanelExpanded");
    const CPanelItem* panel = findPanel(id);
    return panel && panel->expanded;
}

bool CFacilityManager::setPanelExpanded(int id, bool expanded) {
    printk("\n CFacilityManager::setPanelExpanded");
    CPanelItem* panel = findPanel(id);
    if (!panel) return false;
    panel->expanded = expanded;
    return true;
}

bool CFacilityManager::getPanelSelected(int id) const {
    printk("\n CFacilityManager::getPanelSelected");
    const CPanelItem* panel = findPanel(id);
    return panel && panel->selected;
}

bool CFacilityManager::setPanelSelected(int id, bool selected) {
    printk("\n CFacilityManager::setPanelSelected");
    CPanelItem* panel = findPanel(id);
    if (!panel) return false;
    panel->selected = selected;
    return true;
}

// ---- loops ----

int CFacilityManager::getNumOfLoops(int panelId) const {
    printk("\n CFacilityManager::getNumOfLoops");
    const CPanelItem* panel = findPanel(panelId);
    return panel ? static_cast<int>(panel->loops.size()) : 0;
}

bool CFacilityManager::addLoopToPanel(int panelId, int address) {
    printk("\n CFacilityManager::addLoopToPanel");
    CPanelItem* panel = findPanel(panelId);
    if (!panel || findLoop(panelId, address)) return false;
    changed(kLoops);
    panel->loops.push_back(std::make_unique<CLoopItem>(address));
    noteInserted(panel->loops, panel->loops.back().get(), {panel});
    return true;
}

bool CFacilityManager::delLoopFromPanel(int panelId, int address) {
    printk("\n CFacilityManager::delLoopFromPanel");
    CPanelItem* panel = findPanel(panelId);
    if (!panel) return false;
    auto& loops = panel->loops;
    auto at = std::find_if(loops.begin(), loops.end(), [address](const auto& l) { return l->address == address; });
    if (at == loops.end()) return false;
    changed(kLoops);
    removeAt(loops, static_cast<std::size_t>(at - loops.begin()), {panel});
    // Zones exist only for panels with loops; they go with the last loop.
    if (loops.empty() && !panel->zones.empty()) {
        if (recordFor({panel}))
            m_history.record(std::make_unique<undo::ValueSwap<OwnedList<CZoneItem>>>(panel->zones,
                                                                                      std::move(panel->zones)));
        panel->zones.clear();
    }
    return true;
}

int CFacilityManager::getLoopAddress(int panelId, int index) const {
    printk("\n CFacilityManager::getLoopAddress");
    const CPanelItem* panel = findPanel(panelId);
    const CLoopItem* loop = panel ? atIndex(panel->loops, index) : nullptr;
    return loop ? loop->address : 0;
}

bool CFacilityManager::setLoopAddress(int panelId, int index, int address) {
    printk("\n CFacilityManager::setLoopAddress");
    const CPanelItem* panel = findPanel(panelId);
    CLoopItem* loop = panel ? atIndex(panel->loops, index) : nullptr;
    if (!loop) return false;
    changed(kLoops);
    assign(loop->address, address, {panel, loop, nullptr});
    return true;
}

bool CFacilityManager::getLoopExpanded(int panelId, int address) const {
    printk("\n CFacilityManager::getLoopExpanded");
    const CLoopItem* loop = findLoop(panelId, address);
    return loop && loop->expanded;
}

bool CFacilityManager::setLoopExpanded(int panelId, int address, bool expanded) {
    printk("\n CFacilityManager::setLoopExpanded");
    CLoopItem* loop = findLoop(panelId, address);
    if (!loop) return false;
    loop->expanded = expanded;
    return true;
}

int CFacilityManager::getNumberOfElementsInLoop(int panelId, int address) const {
    printk("\n CFacilityManager::getNumberOfElementsInLoop");
    const CLoopItem* loop = findLoop(panelId, address);
    return loop ? static_cast<int>(loop->elements.size()) : 0;
}

int CFacilityManager::getNumberOfInputElementsInLoop(int panelId, int address) const {
    printk("\n CFacilityManager::getNumberOfInputElementsInLoop");
    const CLoopItem* loop = findLoop(panelId, address);
    if (!loop) return 0;
    return static_cast<int>(std::count_if(loop->elements.begin(), loop->elements.end(), [](const auto& e) {
        return !CElementTypeCatalogue::isOutput(e->genericType);
    }));
}

int CFacilityManager::getNumberOfOutputElementsInLoop(int panelId, int address) const {
    printk("\n CFacilityManager::getNumberOfOutputElementsInLoop");
    const CLoopItem* loop = findLoop(panelId, address);
    if (!loop) return 0;
    return static_cast<int>(std::count_if(loop->elements.begin(), loop->elements.end(), [](const auto& e) {
        return CElementTypeCatalogue::isOutput(e->genericType);
    }));
}

// ---- elements ----

bool CFacilityManager::addElementToLoop(int panelId, int loopAddress, int address, int type, int zone,
                                        const KvWString& label, const char16_t* description) {
    printk("\n CFacilityManager::addElementToLoop");
    CLoopItem* loop = findLoop(panelId, loopAddress);
    if (!loop || findElement(panelId, loopAddress, address)) return false;
    changed(kElements);
    loop->elements.push_back(std::make_unique<CElementItem>(address, type, zone, label, description));
    noteInserted(loop->elements, loop->elements.back().get(), {findPanel(panelId), loop, nullptr});
    return true;
}

bool CFacilityManager::delElementFromLoop(int panelId, int loopAddress, int address) {
    printk("\n CFacilityManager::delElementFromLoop");
    CLoopItem* loop = findLoop(panelId, loopAddress);
    if (!loop) return false;
    changed(kElements);
    const Owners owners{findPanel(panelId), loop, nullptr};
    auto& elements = loop->elements;
    for (std::size_t i = 0; i < elements.size();) {
        if (elements[i]->address == address)
            removeAt(elements, i, owners);
        else
            ++i;
    }
    return true;
}

int CFacilityManager::getElementAddress(int panelId, int loopAddress, int index) const {
    printk("\n CFacilityManager::getElementAddress");
    const CLoopItem* loop = findLoop(panelId, loopAddress);
    const CElementItem* element = loop ? atIndex(loop->elements, index) : nullptr;
    return element ? element->address : 0;
}

bool CFacilityManager::setElementAddress(int panelId, int loopAddress, int index, int address) {
    printk("\n CFacilityManager::setElementAddress");
    const CLoopItem* loop = findLoop(panelId, loopAddress);
    CElementItem* element = loop ? atIndex(loop->elements, index) : nullptr;
    if (!element) return false;
    changed(kElements);
    assign(element->address, address, {findPanel(panelId), loop, element});
    return true;
}

int CFacilityManager::getElementType(int panelId, int loopAddress, int address) const {
    printk("\n CFacilityManager::getElementType");
    const CElementItem* element = findElement(panelId, loopAddress, address);
    return element ? element->type : 0;
}

// A longer device must end by 250 and stop short of the element that follows the old device
// in the loop's list.
bool CFacilityManager::deviceFits(const CLoopItem& loop, int address, int oldCount, int newCount) const {
    const int last = address + newCount - 1;
    if (last > kMaxElementAddress) return false;
    const auto& elements = loop.elements;
    auto at = std::find_if(elements.begin(), elements.end(), [address](const auto& e) { return e->address == address; });
    const auto skip = std::min<std::ptrdiff_t>(oldCount, elements.end() - at);
    auto next = at + skip;
    return next == elements.end() || (*next)->address > last;
}

bool CFacilityManager::setElementType(int panelId, int loopAddress, int address, int type) {
    printk("\n CFacilityManager::setElementType");
    const CElementItem* element = findElement(panelId, loopAddress, address);
    const CElementTypeInfo* info = CElementTypeCatalogue::find(type);
    if (!element || !info) return false;
    const int oldCount = std::max(1, CElementTypeCatalogue::addressCount(element->type));
    const int newCount = info->addressCount;
    const int zone = element->zone;
    if (newCount > oldCount && !deviceFits(*findLoop(panelId, loopAddress), address, oldCount, newCount)) {
        if (m_prompt) m_prompt->showMessage(kTypeChangeRefusedText);
        return false;
    }
    for (int i = 0; i < oldCount; ++i) delElementFromLoop(panelId, loopAddress, address + i);
    const KvWString description = loadText(info->descriptionTextId);
    const KvWString labelFormat = loadText(kNewElementLabelText);
    for (int i = 0; i < newCount; ++i) {
        const int a = address + i;
        KvWString label;
        label.Format(labelFormat.c_str(), a);
        addElementToLoop(panelId, loopAddress, a, type, zone, label, description.c_str());
        if (i == 0) setElementFirst(panelId, loopAddress, address, true);
        if (newCount > 1) setElementCompositeMode(panelId, loopAddress, a, i == 0 ? 1 : (i == newCount - 1 ? 3 : 2));
        setElementGenericType(panelId, loopAddress, a, info->genericType[i]);
    }
    if (m_observer && !m_facility->panels.empty()) m_observer->loopsChanged(m_facility->expandedView);
    return true;
}

const KvWString* CFacilityManager::getElementLabel(int panelId, int loopAddress, int address) const {
    printk("\n CFacilityManager::getElementLabel");
    const CElementItem* element = findElement(panelId, loopAddress, address);
    return element ? &element->label : nullptr;
}

bool CFacilityManager::setElementLabel(int panelId, int loopAddress, int address, const KvWString& text) {
    printk("\n CFacilityManager::setElementLabel");
    CElementItem* element = findElement(panelId, loopAddress, address);
    if (!element) return false;
    assign(element->label, text, elementOwners(panelId, loopAddress, element));
    return true;
}

const KvWString* CFacilityManager::getElementDescription(int panelId, int loopAddress, int address) const {
    printk("\n CFacilityManager::getElementDescription");
    const CElementItem* element = findElement(panelId, loopAddress, address);
    return element ? &element->description : nullptr;
}

bool CFacilityManager::setElementDescription(int panelId, int loopAddress, int address, const char16_t* text) {
    printk("\n CFacilityManager::setElementDescription");
    CElementItem* element = findElement(panelId, loopAddress, address);
    if (!element) return false;
    assign(element->description, text ? KvWString(text) : element->label, elementOwners(panelId, loopAddress, element));
    return true;
}

int CFacilityManager::getElementZone(int panelId, int loopAddress, int address) const {
    printk("\n CFacilityManager::getElementZone");
    const CElementItem* element = findElement(panelId, loopAddress, address);
    return element ? element->zone : 0;
}

bool CFacilityManager::addElementToZone(int panelId, int loopAddress, int address, int zone) {
    printk("\n CFacilityManager::addElementToZone");
    CElementItem* element = findElement(panelId, loopAddress, address);
    if (!element) return false;
    assign(element->zone, zone, elementOwners(panelId, loopAddress, element));
    return true;
}

bool CFacilityManager::delElementFromZone(int panelId, int loopAddress, int address) {
    printk("\n CFacilityManager::delElementFromZone");
    CElementItem* element = findElement(panelId, loopAddress, address);
    if (!element) return false;
    assign(element->zone, 0, elementOwners(panelId, loopAddress, element));
    return true;
}

int CFacilityManager::getElementCompositeMode(int panelId, int loopAddress, int address) const {
    printk("\n CFacilityManager::getElementCompositeMode");
    const CElementItem* element = findElement(panelId, loopAddress, address);
    return element ? element->compositeMode : 0;
}

bool CFacilityManager::setElementCompositeMode(int panelId, int loopAddress, int address, int mode) {
    printk("\n CFacilityManager::setElementCompositeMode");
    CElementItem* element = findElement(panelId, loopAddress, address);
    if (!element) return false;
    assign(element->compositeMode, mode, elementOwners(panelId, loopAddress, element));
    return true;
}

int CFacilityManager::getElementGenericType(int panelId, int loopAddress, int address) const {
    printk("\n CFacilityManager::getElementGenericType");
    const CElementItem* element = findElement(panelId, loopAddress, address);
    return element ? element->genericType : 0;
}

bool CFacilityManager::setElementGenericType(int panelId, int loopAddress, int address, int generic) {
    printk("\n CFacilityManager::setElementGenericType");
    CElementItem* element = findElement(panelId, loopAddress, address);
    if (!element) return false;
    assign(element->genericType, generic, elementOwners(panelId, loopAddress, element));
    return true;
}

bool CFacilityManager::getElementFirst(int panelId, int loopAddress, int address) const {
    printk("\n CFacilityManager::getElementFirst");
    const CElementItem* element = findElement(panelId, loopAddress, address);
    return element && element->first;
}

bool CFacilityManager::setElementFirst(int panelId, int loopAddress, int address, bool first) {
    printk("\n CFacilityManager::setElementFirst");
    CElementItem* element = findElement(panelId, loopAddress, address);
    if (!element) return false;
    assign(element->first, first, elementOwners(panelId, loopAddress, element));
    return true;
}

std::intptr_t CFacilityManager::getElementItem(int panelId, int loopAddress, int address) const {
    printk("\n CFacilityManager::getElementItem");
    const CElementItem* element = findElement(panelId, loopAddress, address);
    return element ? element->item : 0;
}

bool CFacilityManager::setElementItem(int panelId, int loopAddress, int address, std::intptr_t item) {
    printk("\n CFacilityManager::setElementItem");
    CElementItem* element = findElement(panelId, loopAddress, address);
    if (!element) return false;
    element->item = item;
    return true;
}

// ---- zones ----

int CFacilityManager::getNumOfZones(int panelId) const {
    printk("\n CFacilityManager::getNumOfZones");
    const CPanelItem* panel = findPanel(panelId);
    return panel ? static_cast<int>(panel->zones.size()) : 0;
}

int CFacilityManager::getZoneNumber(int panelId, int index) const {
    const CPanelItem* panel = findPanel(panelId);
    if (!panel || index < 0 || index >= static_cast<int>(panel->zones.size())) return 0;
    return panel->zones[static_cast<std::size_t>(index)]->number;
}

const KvWString* CFacilityManager::getPanelZoneDescription(int panelId, int number) const {
    const CPanelItem* panel = findPanel(panelId);
    if (!panel) return nullptr;
    const CZoneItem* zone = firstMatch(panel->zones, [number](const CZoneItem& z) { return z.number == number; });
    return zone ? &zone->description : nullptr;
}

bool CFacilityManager::addZone(int panelId, int number, const KvWString& description) {
    printk("\n CFacilityManager::addZone");
    CPanelItem* panel = findPanel(panelId);
    if (!panel || firstMatch(panel->zones, [number](const CZoneItem& z) { return z.number == number; }))
        return false;
    panel->zones.push_back(std::make_unique<CZoneItem>(number, description));
    noteInserted(panel->zones, panel->zones.back().get(), {panel});
    return true;
}

const KvWString* CFacilityManager::getZoneDescription(int number) const {
    printk("\n CFacilityManager::getZoneDescription");
    for (const auto& panel : m_facility->panels)
        if (CZoneItem* zone = firstMatch(panel->zones, [number](const CZoneItem& z) { return z.number == number; }))
            return &zone->description;
    return nullptr;
}

bool CFacilityManager::setZoneDescription(int number, const KvWString& text) {
    printk("\n CFacilityManager::setZoneDescription");
    for (const auto& panel : m_facility->panels)
        if (CZoneItem* zone = firstMatch(panel->zones, [number](const CZoneItem& z) { return z.number == number; })) {
            assign(zone->description, text, {panel.get(), zone, nullptr});
            return true;
        }
    return false;
}

int CFacilityManager::getNumOfElementsInZone(int panelId, int zone) const {
    printk("\n CFacilityManager::getNumOfElementsInZone");
    const CPanelItem* panel = findPanel(panelId);
    if (!panel) return 0;
    int count = 0;
    for (const auto& loop : panel->loops)
        count += static_cast<int>(
            std::count_if(loop->elements.begin(), loop->elements.end(), [zone](const auto& e) { return e->zone == zone; }));
    return count;
}
