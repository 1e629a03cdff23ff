// History steps of the rules: their sides and their places in the rule group indexes.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>

#include "model/CEventActionGroups.h"
#include "model/CEventActionItem.h"
#include "model/CUndoStep.h"
#include "seams/IFacilityObserver.h"

namespace undo {

inline CEventActionGroups& groupsOf(CUndoContext& context, bool eventSide) {
    return eventSide ? context.eventGroups : context.actionGroups;
}

// Tells the editor that the group of node `key` is used again, or unused.
inline void showGroup(CUndoContext& context, bool used, std::intptr_t key, int imageDrop) {
    if (!context.observer) return;
    if (used)
        context.observer->groupRefilled(key, imageDrop);
    else
        context.observer->groupEmptied(key, imageDrop);
}

// Both sides of a rule as they were before a change to either; the group indexes learn the
// selection the rule names again.
class RuleSidesSwap : public CUndoStep {
public:
    explicit RuleSidesSwap(CEventActionItem& rule)
        : m_rule(rule),
          m_event(rule.event ? std::make_unique<CEventItem>(*rule.event) : nullptr),
          m_action(rule.action ? std::make_unique<CActionItem>(*rule.action) : nullptr) {}

    void apply(CUndoContext& context, bool) override {
        std::swap(m_rule.event, m_event);
        std::swap(m_rule.action, m_action);
        context.eventGroups.sideChanged(&m_rule);
        context.actionGroups.sideChanged(&m_rule);
    }

private:
    CEventActionItem& m_rule;
    std::unique_ptr<CEventItem> m_event;
    std::unique_ptr<CActionItem> m_action;
};

// A rule filed in a group. A group that goes from empty to used, or back, is reported so the
// editor shows the right picture for its node.
class GroupFilingStep : public CUndoStep {
public:
    GroupFilingStep(bool eventSide, CEventActionItem* rule, std::intptr_t key, const CEventActionGroups::Filing& filing,
                    int imageDrop)
        : m_eventSide(eventSide), m_rule(rule), m_key(key), m_filing(filing), m_imageDrop(imageDrop) {}

    void apply(CUndoContext& context, bool back) override {
        CEventActionGroups& groups = groupsOf(context, m_eventSide);
        if (back)
            groups.unfile(m_rule, m_filing);
        else
            m_filing = groups.file(m_rule, m_key);
        if (m_filing.wasEmpty) showGroup(context, !back, m_key, m_imageDrop);
    }

private:
    bool m_eventSide;
    CEventActionItem* m_rule;
    std::intptr_t m_key;
    CEventActionGroups::Filing m_filing;
    int m_imageDrop;
};

// A rule taken out of its groups (when it is deleted).
class GroupRemovalStep : public CUndoStep {
public:
    GroupRemovalStep(bool eventSide, CEventActionItem* rule, CEventActionGroups::Removal removal, bool emptied,
                     std::intptr_t key, int imageDrop)
        : m_eventSide(eventSide), m_rule(rule), m_removal(std::move(removal)), m_emptied(emptied), m_key(key),
          m_imageDrop(imageDrop) {}

    void apply(CUndoContext& context, bool back) override {
        CEventActionGroups& groups = groupsOf(context, m_eventSide);
        if (back) {
            groups.restore(m_rule, m_removal);
        } else {
            m_removal.clear();
            m_emptied = groups.remove(m_rule, m_key, &m_removal);
        }
        if (m_emptied) showGroup(context, back, m_key, m_imageDrop);
    }

private:
    bool m_eventSide;
    CEventActionItem* m_rule;
    CEventActionGroups::Removal m_removal;
    bool m_emptied;
    std::intptr_t m_key;
    int m_imageDrop;
};

}  // namespace undo
