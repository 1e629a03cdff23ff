#include "model/CEventActionGroups.h"

#include <algorithm>

#include "model/CEventActionItem.h"

bool CEventActionGroups::Selection::operator==(const Selection& o) const {
    return std::equal(v, v + 6, o.v);
}

std::size_t CEventActionGroups::SelectionHash::operator()(const Selection& s) const {
    std::size_t h = 0;
    for (int x : s.v) h = h * 1000003u ^ static_cast<unsigned>(x);
    return h;
}

const CEventActionSide* CEventActionGroups::sideOf(const CEventActionItem& rule) const {
    return m_eventSide ? static_cast<const CEventActionSide*>(rule.event.get()) : rule.action.get();
}

CEventActionGroups::Selection CEventActionGroups::selectionOf(const CEventActionSide& s) const {
    return Selection{{s.panel, s.loop, s.element, s.zone, s.rangeBegin, s.rangeEnd}};
}

bool CEventActionGroups::holds(const CEventActionGroup& group, const Selection& selection) const {
    for (const CEventActionItem* member : group.rules) {
        const CEventActionSide* side = sideOf(*member);
        if (side && selectionOf(*side) == selection) return true;
    }
    return false;
}

void CEventActionGroups::addSorted(std::vector<std::size_t>& positions, std::size_t position) {
    if (!positions.empty() && positions.back() < position) {
        positions.push_back(position);
        return;
    }
    const auto at = std::lower_bound(positions.begin(), positions.end(), position);
    if (at == positions.end() || *at != position) positions.insert(at, position);
}

void CEventActionGroups::file(CEventActionItem* rule, std::intptr_t key) {
    const Selection selection = selectionOf(*sideOf(*rule));
    std::vector<std::size_t>& candidates = m_candidates[selection];
    std::size_t position = m_groups.size();
    for (auto it = candidates.begin(); it != candidates.end();) {
        if (holds(m_groups[*it], selection)) {
            position = *it;
            break;
        }
        it = candidates.erase(it);  // no member names this selection any more
    }
    if (position == m_groups.size()) {
        m_groups.push_back(CEventActionGroup{key, {}});
        candidates.push_back(position);
    }
    m_groups[position].rules.push_back(rule);
    m_groups[position].key = key;
    addSorted(m_memberOf[rule], position);
}

void CEventActionGroups::sideChanged(const CEventActionItem* rule) {
    const auto member = m_memberOf.find(rule);
    const CEventActionSide* side = sideOf(*rule);
    if (member == m_memberOf.end() || !side) return;
    std::vector<std::size_t>& candidates = m_candidates[selectionOf(*side)];
    for (std::size_t position : member->second) addSorted(candidates, position);
}

bool CEventActionGroups::remove(const CEventActionItem* rule, std::intptr_t& emptiedKey) {
    const auto member = m_memberOf.find(rule);
    if (member == m_memberOf.end()) return false;
    bool emptied = false;
    for (std::size_t position : member->second) {
        std::vector<CEventActionItem*>& rules = m_groups[position].rules;
        if (position == member->second.front()) {
            rules.erase(std::find(rules.begin(), rules.end(), rule));
            emptied = rules.empty();
        }
        std::erase(rules, rule);
    }
    if (emptied) emptiedKey = m_groups[member->second.front()].key;
    m_memberOf.erase(member);
    return emptied;
}

void CEventActionGroups::clear() {
    m_groups.clear();
    m_candidates.clear();
    m_memberOf.clear();
}
