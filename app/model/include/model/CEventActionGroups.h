// CEventActionGroups: one of the manager's two rule group indexes, over the event sides or over
// the action sides of the rules.
//
// A rule is filed in the first group (in creation order) holding a rule whose side names the
// same selection, else in a new group. Sides may change after filing, so the groups are looked
// up through an index of candidates per selection that every side change feeds; a candidate is
// checked against the group's current members before it is used, which keeps "the first group
// that matches now" exact while filing stays constant-time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "model/CEventActionGroup.h"

class CEventActionItem;
class CEventActionSide;

class CEventActionGroups {
public:
    explicit CEventActionGroups(bool eventSide) : m_eventSide(eventSide) {}

    const std::vector<CEventActionGroup>& groups() const { return m_groups; }

    // Files `rule` (whose side must exist) at the end of the first matching group, which takes
    // `key`; without one, a new group with `key` holds it alone.
    void file(CEventActionItem* rule, std::intptr_t key);
    // To be called whenever the indexed side of `rule` has changed its selection.
    void sideChanged(const CEventActionItem* rule);
    // Removes `rule` from every group. True, with that group's key, when the first group that
    // held it is left empty by removing it once; empty groups stay.
    bool remove(const CEventActionItem* rule, std::intptr_t& emptiedKey);
    void clear();

private:
    struct Selection {
        int v[6];
        bool operator==(const Selection& o) const;
    };
    struct SelectionHash {
        std::size_t operator()(const Selection& s) const;
    };

    const CEventActionSide* sideOf(const CEventActionItem& rule) const;
    Selection selectionOf(const CEventActionSide& side) const;
    bool holds(const CEventActionGroup& group, const Selection& selection) const;
    static void addSorted(std::vector<std::size_t>& positions, std::size_t position);

    bool m_eventSide;
    std::vector<CEventActionGroup> m_groups;
    // Group positions, ascending, that may hold a rule with the selection; stale ones are pruned.
    std::unordered_map<Selection, std::vector<std::size_t>, SelectionHash> m_candidates;
    // Group positions, ascending, that hold the rule.
    std::unordered_map<const CEventActionItem*, std::vector<std::size_t>> m_memberOf;
};
