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

CEventActionGroups::Filing CEventActionGroups::file(CEventActionItem* rule, std::intptr_t key) {
    const Selection selection = selectionOf(*sideOf(*rule));
    std::vector<std::size_t>& candidates = m_candidates[selection];
    std::size_t position = m_groups.size();
    for (auto it = candidates.begin(); it != candidates.end();) {
        // A group taken back by unfile leaves its position behind in the candidates.
        if (*it < m_groups.size() && holds(m_groups[*it], selection)) {
            position = *it;
            break;
        }
        it = candidates.erase(it);  // no member names this selection any more
    }
    Filing filing;
    filing.position = position;
    if (position == m_groups.size()) {
        m_groups.push_back(CEventActionGroup{key, {}});
        candidates.push_back(position);
        filing.created = true;
    }
    CEventActionGroup& group = m_groups[position];
    filing.oldKey = group.key;
    filing.wasEmpty = group.rules.empty();
    filing.joined = std::find(group.rules.begin(), group.rules.end(), rule) == group.rules.end();
    group.rules.push_back(rule);
    group.key = key;
    addSorted(m_memberOf[rule], position);
    return filing;
}

void CEventActionGroups::unfile(const CEventActionItem* rule, const Filing& filing) {
    if (filing.position >= m_groups.size()) return;
    CEventActionGroup& group = m_groups[filing.position];
    if (group.rules.empty() || group.rules.back() != rule) return;
    group.rules.pop_back();
    group.key = filing.oldKey;
    if (filing.joined) {
        auto member = m_memberOf.find(rule);
        if (member != m_memberOf.end()) {
            std::erase(member->second, filing.position);
            if (member->second.empty()) m_memberOf.erase(member);
        }
    }
    if (filing.created && filing.position + 1 == m_groups.size()) m_groups.pop_back();
}

void CEventActionGroups::sideChanged(const CEventActionItem* rule) {
    const auto member = m_memberOf.find(rule);
    const CEventActionSide* side = sideOf(*rule);
    if (member == m_memberOf.end() || !side) return;
    std::vector<std::size_t>& candidates = m_candidates[selectionOf(*side)];
    for (std::size_t position : member->second) addSorted(candidates, position);
}

bool CEventActionGroups::remove(const CEventActionItem* rule, std::intptr_t& emptiedKey, Removal* removal) {
    const auto member = m_memberOf.find(rule);
    if (member == m_memberOf.end()) return false;
    bool emptied = false;
    for (std::size_t position : member->second) {
        std::vector<CEventActionItem*>& rules = m_groups[position].rules;
        if (removal) {
            std::vector<std::size_t> places;
            for (std::size_t i = 0; i < rules.size(); ++i)
                if (rules[i] == rule) places.push_back(i);
            removal->emplace_back(position, std::move(places));
        }
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

void CEventActionGroups::restore(CEventActionItem* rule, const Removal& removal) {
    const CEventActionSide* side = sideOf(*rule);
    std::vector<std::size_t>& memberOf = m_memberOf[rule];
    for (const auto& [position, places] : removal) {
        if (position >= m_groups.size()) continue;
        std::vector<CEventActionItem*>& rules = m_groups[position].rules;
        for (std::size_t place : places) rules.insert(rules.begin() + static_cast<std::ptrdiff_t>(std::min(place, rules.size())), rule);
        addSorted(memberOf, position);
        if (side) addSorted(m_candidates[selectionOf(*side)], position);
    }
    if (memberOf.empty()) m_memberOf.erase(rule);
}

void CEventActionGroups::clear() {
    m_groups.clear();
    m_candidates.clear();
    m_memberOf.clear();
}
