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
#include <utility>
#include <vector>

#include "model/CEventActionGroup.h"

class CEventActionItem;
class CEventActionSide;

class CEventActionGroups {
public:
    explicit CEventActionGroups(bool eventSide) : m_eventSide(eventSide) {}

    // Where one filing put a rule, so that it can be taken back.
    struct Filing {
        std::size_t position = 0;    // of the group
        std::intptr_t oldKey = 0;    // the group's key before
        bool created = false;        // the group was made for the rule
        bool wasEmpty = false;       // the group held no rule before
        bool joined = false;         // the rule was not in that group before
    };
    // Where a removal took a rule from: per group position, the rule's places in it, ascending.
    using Removal = std::vector<std::pair<std::size_t, std::vector<std::size_t>>>;

    const std::vector<CEventActionGroup>& groups() const { return m_groups; }

    // Files `rule` (whose side must exist) at the end of the first matching group, which takes
    // `key`; without one, a new group with `key` holds it alone.
    Filing file(CEventActionItem* rule, std::intptr_t key);
    // Takes back the filing `filing`, the last change to these groups.
    void unfile(const CEventActionItem* rule, const Filing& filing);
    // To be called whenever the indexed side of `rule` has changed its selection.
    void sideChanged(const CEventActionItem* rule);
    // Removes `rule` from every group. True, with that group's key, when the first group that
    // held it is left empty by removing it once; empty groups stay. `removal`, when given,
    // receives where the rule was.
    bool remove(const CEventActionItem* rule, std::intptr_t& emptiedKey, Removal* removal = nullptr);
    // Puts `rule` back where `removal` says it was.
    void restore(CEventActionItem* rule, const Removal& removal);
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
