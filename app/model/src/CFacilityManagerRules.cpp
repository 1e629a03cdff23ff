// CFacilityManager: the event-action rules and their group indexes.
#include <algorithm>
#include <climits>
#include <vector>

#include "basalt/KvTrace.h"
#include "internal/ManagerRecording.h"
#include "internal/RuleSteps.h"
#include "model/CFacilityManager.h"
#include "seams/IFacilityObserver.h"

namespace {

void store(CEventActionSide& side, int type, int panel, int loop, int element, int zone, int rangeBegin,
           int rangeEnd, int itemType) {
    side.type = type;
    side.panel = panel;
    side.loop = loop;
    side.element = element;
    side.zone = zone;
    side.rangeBegin = rangeBegin;
    side.rangeEnd = rangeEnd;
    side.itemType = itemType;
}

}  // namespace

CEventActionItem* CFacilityManager::findRule(int id) const {
    if (!m_ruleIndexValid) {
        m_ruleIndex.clear();
        for (const auto& rule : m_facility->eventActions) m_ruleIndex.emplace(rule->id, rule.get());
        m_ruleIndexValid = true;
    }
    auto at = m_ruleIndex.find(id);
    return at == m_ruleIndex.end() ? nullptr : at->second;
}

CEventActionSide* CFacilityManager::eventSide(int id) const {
    CEventActionItem* rule = findRule(id);
    return rule ? rule->event.get() : nullptr;
}

CEventActionSide* CFacilityManager::actionSide(int id) const {
    CEventActionItem* rule = findRule(id);
    return rule ? rule->action.get() : nullptr;
}

int CFacilityManager::getNumberEventsInPanel() const {
    printk("\n CFacilityManager::getNumberEventsInPanel");
    return static_cast<int>(m_facility->eventActions.size());
}

int CFacilityManager::getNumberOfEventActions() const {
    printk("\n CFacilityManager::getNumberOfEventActions");
    int bound = static_cast<int>(m_facility->eventActions.size());
    for (const auto& rule : m_facility->eventActions) bound = std::max(bound, rule->id);
    return bound;
}

// One above every id in use while that fits in an int. A file may hold the top id already (the
// reader clamps larger numbers to it); then the lowest unused positive id is taken, so a new rule
// never shares an id with another.
int CFacilityManager::getFreeEventId() const {
    printk("\n CFacilityManager::getFreeEventId");
    const int bound = getNumberOfEventActions();
    if (bound < INT_MAX) return bound + 1;
    std::vector<int> ids;
    ids.reserve(m_facility->eventActions.size());
    for (const auto& rule : m_facility->eventActions)
        if (rule->id > 0) ids.push_back(rule->id);
    std::sort(ids.begin(), ids.end());
    int free = 1;
    for (int id : ids) {
        if (id > free) break;
        if (id == free) ++free;
    }
    return free;
}

int CFacilityManager::getEventActionId(int index) const {
    printk("\n CFacilityManager::getEventActionId");
    const auto& rules = m_facility->eventActions;
    if (index < 0 || index >= static_cast<int>(rules.size())) return 0;
    return rules[index]->id;
}

bool CFacilityManager::addEventActionItem(int id, int delay) {
    printk("\n CFacilityManager::addEventActionItem");
    if (findRule(id)) return false;
    m_facility->eventActions.push_back(std::make_unique<CEventActionItem>(id, delay));
    CEventActionItem* rule = m_facility->eventActions.back().get();
    m_ruleIndex.emplace(id, rule);
    noteInserted(m_facility->eventActions, rule, {});
    return true;
}

bool CFacilityManager::addEventToEventActionItem(int id, int type, int panel, int loop, int element, int zone,
                                                 int rangeBegin, int rangeEnd, int itemType, std::intptr_t key) {
    printk("\n CFacilityManager::addEventToEventActionItem");
    CEventActionItem* rule = findRule(id);
    if (!rule) return false;
    rememberSides(*rule);
    if (!rule->event) rule->event = std::make_unique<CEventItem>(type, type);
    store(*rule->event, type, panel, loop, element, zone, rangeBegin, rangeEnd, itemType);
    // A new event invalidates whatever the rule drove before.
    if (!rule->action) rule->action = std::make_unique<CActionItem>(0, 0);
    store(*rule->action, 0, 0, 0, 0, 0, 0, 0, 0);
    m_eventGroups.sideChanged(rule);
    m_actionGroups.sideChanged(rule);
    const CEventActionGroups::Filing filing = m_eventGroups.file(rule, key);
    if (recordFor({}))
        m_history.record(std::make_unique<undo::GroupFilingStep>(true, rule, key, filing, kEventImageDrop));
    return true;
}

bool CFacilityManager::addActionToEventActionItem(int id, int type, int panel, int loop, int element, int zone,
                                                  int rangeBegin, int rangeEnd, int itemType, std::intptr_t key) {
    printk("\n CFacilityManager::addActionToEventActionItem");
    CEventActionItem* rule = findRule(id);
    if (!rule) return false;
    rememberSides(*rule);
    if (!rule->action) rule->action = std::make_unique<CActionItem>(type, type);
    store(*rule->action, type, panel, loop, element, zone, rangeBegin, rangeEnd, itemType);
    m_actionGroups.sideChanged(rule);
    const CEventActionGroups::Filing filing = m_actionGroups.file(rule, key);
    if (recordFor({}))
        m_history.record(std::make_unique<undo::GroupFilingStep>(false, rule, key, filing, kActionImageDrop));
    return true;
}

void CFacilityManager::dropFromGroups(CEventActionGroups& groups, CEventActionItem* rule, int imageDrop) {
    std::intptr_t key = 0;
    CEventActionGroups::Removal removal;
    const bool emptied = groups.remove(rule, key, &removal);
    if (!removal.empty() && recordFor({}))
        m_history.record(std::make_unique<undo::GroupRemovalStep>(&groups == &m_eventGroups, rule,
                                                                     std::move(removal), emptied, key, imageDrop));
    if (emptied && m_observer) m_observer->groupEmptied(key, imageDrop);
}

bool CFacilityManager::delEventActionItem(int id) {
    printk("\n CFacilityManager::delEventActionItem");
    auto& rules = m_facility->eventActions;
    auto at = std::find_if(rules.begin(), rules.end(), [id](const auto& r) { return r->id == id; });
    if (at == rules.end()) return false;
    CEventActionItem* rule = at->get();
    dropFromGroups(m_eventGroups, rule, kEventImageDrop);
    dropFromGroups(m_actionGroups, rule, kActionImageDrop);
    dropRuleIndex();
    removeAt(rules, static_cast<std::size_t>(at - rules.begin()), {});
    return true;
}

bool CFacilityManager::changeEventActionId(int id, int newId) {
    printk("\n CFacilityManager::changeEventActionId");
    CEventActionItem* rule = findRule(id);
    if (!rule) return false;
    dropRuleIndex();
    assign(rule->id, newId, {rule});
    return true;
}

int CFacilityManager::getEventActionDelay(int id) const {
    printk("\n CFacilityManager::getEventActionDelay");
    const CEventActionItem* rule = findRule(id);
    return rule ? rule->delay : 0;
}

void CFacilityManager::setEventActionDelay(int id, int delay) {
    printk("\n CFacilityManager::setEventActionDelay");
    if (CEventActionItem* rule = findRule(id)) assign(rule->delay, delay, {rule});
}

#define CAIRN_SIDE_GETTER(name, side, field)                     \
    int CFacilityManager::name(int id) const {                  \
        printk("\n CFacilityManager::" #name);                   \
        const CEventActionSide* s = side(id);                    \
        return s ? s->field : 0;                                 \
    }

CAIRN_SIDE_GETTER(getEventActionInType, eventSide, type)
CAIRN_SIDE_GETTER(getEventActionInElementType, eventSide, elementType)
CAIRN_SIDE_GETTER(getEventActionInPanel, eventSide, panel)
CAIRN_SIDE_GETTER(getEventActionInLoop, eventSide, loop)
CAIRN_SIDE_GETTER(getEventActionInElement, eventSide, element)
CAIRN_SIDE_GETTER(getEventActionInZone, eventSide, zone)
CAIRN_SIDE_GETTER(getEventActionOutType, actionSide, type)
CAIRN_SIDE_GETTER(getEventActionOutElementType, actionSide, elementType)
CAIRN_SIDE_GETTER(getEventActionOutPanel, actionSide, panel)
CAIRN_SIDE_GETTER(getEventActionOutLoop, actionSide, loop)
CAIRN_SIDE_GETTER(getEventActionOutElement, actionSide, element)
CAIRN_SIDE_GETTER(getEventActionOutZone, actionSide, zone)
#undef CAIRN_SIDE_GETTER

void CFacilityManager::setEventActionInType(int id, int type) {
    printk("\n CFacilityManager::setEventActionInType");
    CEventActionSide* side = eventSide(id);
    if (!side || side->type == type) return;
    rememberSides(*findRule(id));
    side->type = type;
}

void CFacilityManager::setEventActionOutType(int id, int type) {
    printk("\n CFacilityManager::setEventActionOutType");
    CEventActionSide* side = actionSide(id);
    if (!side || side->type == type) return;
    rememberSides(*findRule(id));
    side->type = type;
}

std::pair<int, int> CFacilityManager::getEventActionInRange(int id) const {
    printk("\n CFacilityManager::getEventActionInRange");
    const CEventActionSide* side = eventSide(id);
    return side ? std::make_pair(side->rangeBegin, side->rangeEnd) : std::make_pair(0, 0);
}

std::pair<int, int> CFacilityManager::getEventActionOutRange(int id) const {
    printk("\n CFacilityManager::getEventActionOutRange");
    const CEventActionSide* side = actionSide(id);
    return side ? std::make_pair(side->rangeBegin, side->rangeEnd) : std::make_pair(0, 0);
}

void CFacilityManager::setEventActionInRange(int id, int begin, int end) {
    printk("\n CFacilityManager::setEventActionInRange");
    CEventActionSide* side = eventSide(id);
    if (side && (side->rangeBegin != begin || side->rangeEnd != end)) {
        rememberSides(*findRule(id));
        side->rangeBegin = begin;
        side->rangeEnd = end;
        m_eventGroups.sideChanged(findRule(id));
    }
}

void CFacilityManager::setEventActionOutRange(int id, int begin, int end) {
    printk("\n CFacilityManager::setEventActionOutRange");
    CEventActionSide* side = actionSide(id);
    if (side && (side->rangeBegin != begin || side->rangeEnd != end)) {
        rememberSides(*findRule(id));
        side->rangeBegin = begin;
        side->rangeEnd = end;
        m_actionGroups.sideChanged(findRule(id));
    }
}

int CFacilityManager::getEventActionInItemType(int id) const {
    printk("\n CFacilityManager::getEventActionInItemType");
    const CEventActionSide* side = eventSide(id);
    return side ? side->itemType : -1;
}

int CFacilityManager::getEventActionOutItemType(int id) const {
    printk("\n CFacilityManager::getEventActionOutItemType");
    const CEventActionSide* side = actionSide(id);
    return side ? side->itemType : -1;
}

void CFacilityManager::clearGroups() {
    printk("\n CFacilityManager::clearGroups");
    // The groups are not recorded; emptying them cannot be replayed around.
    if (!m_eventGroups.groups().empty() || !m_actionGroups.groups().empty()) forgetHistory();
    m_eventGroups.clear();
    m_actionGroups.clear();
}
