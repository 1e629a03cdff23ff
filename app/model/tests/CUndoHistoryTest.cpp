#include "model/CUndoHistory.h"

#include <gtest/gtest.h>

#include <string>

#include "FacilityBuilder.h"
#include "TestStrings.h"
#include "model/CFacilityAction.h"
#include "model/CFacilityManager.h"

namespace {

KvWString text(const char16_t* s) { return KvWString(s); }

// The rule groups with their keys and members, in index order.
std::string groups(const std::vector<CEventActionGroup>& list) {
    std::string out;
    for (const CEventActionGroup& g : list) {
        out += "(" + std::to_string(g.key);
        for (const CEventActionItem* r : g.rules) out += " " + std::to_string(r->id);
        out += ")";
    }
    return out;
}

class CUndoHistoryTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(TestStrings::install()); }
    void SetUp() override {
        m.setObserver(&observer);
        m.setPrompt(&prompt);
        build.panel(1).loop(1).element(1).element(2).element(10).zones(250).panel(2).loop(1).element(1, 10);
        // Rules 1 and 2 share an event group (key 11); rule 3 is alone in its groups (13, 23).
        build.rule(1, 0, RuleSide{0, 1, 1, 1, 0, 0, 0, 5}, RuleSide{0, 2, 1, 1, 0, 0, 0, 5}, 11, 21)
            .rule(2, 0, RuleSide{1, 1, 1, 1, 0, 0, 0, 5}, RuleSide{0, 2, 0, 0, 0, 0, 0, 1}, 11, 22)
            .rule(3, 4, RuleSide{0, 1, 1, 2, 0, 0, 0, 5}, RuleSide{0, 2, 0, 0, 3, 0, 0, 4}, 13, 23);
    }

    template <class F>
    bool act(const char16_t* description, F change) {
        CFacilityAction action(m, text(description));
        change();
        return action.commit();
    }

    CFacilityManager m;
    RecordingObserver observer;
    ScriptedPrompt prompt;
    FacilityBuilder build{m};
};

TEST_F(CUndoHistoryTest, UndoingARuleDeletionRestoresItsGroupsAndUsedPictures) {
    const std::string events = groups(m.eventGroups()), actions = groups(m.actionGroups());
    act(u"delete rule 3", [&] { m.delEventActionItem(3); });
    using Shown = std::vector<std::pair<std::intptr_t, int>>;
    EXPECT_EQ(observer.emptied, (Shown{{13, 31}, {23, 62}}));

    ASSERT_TRUE(m.undo());
    EXPECT_EQ(groups(m.eventGroups()), events);
    EXPECT_EQ(groups(m.actionGroups()), actions);
    EXPECT_EQ(m.getEventActionDelay(3), 4);
    EXPECT_EQ(observer.refilled, (Shown{{23, 62}, {13, 31}}));

    ASSERT_TRUE(m.redo());
    EXPECT_EQ(observer.emptied.size(), 4u);
    EXPECT_EQ(m.getEventActionDelay(3), 0);
    ASSERT_TRUE(m.undo());
    // A rule with rule 3's input joins the restored group instead of starting one.
    build.rule(9, 0, RuleSide{0, 1, 1, 2, 0, 0, 0, 5}, RuleSide{0, 2, 0, 0, 3, 0, 0, 4}, 13, 23);
    EXPECT_EQ(groups(m.eventGroups()), "(11 1 2)(13 3 9)");
}

TEST_F(CUndoHistoryTest, UndoingADeletionFromASharedGroupPutsTheRuleBackInItsPlace) {
    act(u"delete rule 1", [&] { m.delEventActionItem(1); });
    EXPECT_EQ(groups(m.eventGroups()), "(11 2)(13 3)");
    EXPECT_TRUE(observer.emptied.size() == 1 && observer.emptied[0].first == 21);  // only its action group
    ASSERT_TRUE(m.undo());
    EXPECT_EQ(groups(m.eventGroups()), "(11 1 2)(13 3)");
    EXPECT_EQ(m.getEventActionId(0), 1);
}

TEST_F(CUndoHistoryTest, UndoingARuleMadeByDropEmptiesItsNewGroups) {
    act(u"drop", [&] {
        m.addEventActionItem(4, 0);
        m.addEventToEventActionItem(4, 0, 2, 1, 1, 0, 0, 0, 5, 14);
        m.addActionToEventActionItem(4, 0, 1, 1, 10, 0, 0, 0, 5, 24);
    });
    ASSERT_TRUE(m.undo());
    EXPECT_EQ(groups(m.eventGroups()), "(11 1 2)(13 3)");
    EXPECT_EQ(groups(m.actionGroups()), "(21 1)(22 2)(23 3)");
    EXPECT_EQ(m.getNumberEventsInPanel(), 3);
    EXPECT_EQ(observer.emptied.size(), 2u);
    ASSERT_TRUE(m.redo());
    EXPECT_EQ(groups(m.eventGroups()), "(11 1 2)(13 3)(14 4)");
    EXPECT_EQ(m.getEventActionOutElement(4), 10);
}

TEST_F(CUndoHistoryTest, ARuleChangedAfterItsFilingIsFiledAgainAsItWasThen) {
    act(u"drop with range", [&] {
        build.rule(4, 0, RuleSide{0, 1, 1, 1, 0, 0, 0, 5}, RuleSide{0, 2, 0, 0, 0, 4, 9, 6}, 14, 24);
        m.setEventActionOutRange(4, 0, 0);  // now names what rule 2's action names
    });
    const std::string after = groups(m.actionGroups());
    ASSERT_TRUE(m.undo());
    ASSERT_TRUE(m.redo());
    EXPECT_EQ(groups(m.actionGroups()), after);
    EXPECT_EQ(after, "(21 1)(22 2)(23 3)(24 4)");
}

// The group index remembers which groups may hold a selection; a side put back by undo must be
// found under its old selection again, even after a filing pruned it while it was changed.
TEST_F(CUndoHistoryTest, ASideChangeUndoneIsFoundByItsSelectionAgain) {
    act(u"range", [&] { m.setEventActionInRange(3, 5, 6); });
    act(u"drop", [&] { build.rule(5, 0, RuleSide{0, 1, 1, 2, 0, 0, 0, 5}, RuleSide{}, 15, 25); });
    EXPECT_EQ(groups(m.eventGroups()), "(11 1 2)(13 3)(15 5)");
    ASSERT_TRUE(m.undo());
    ASSERT_TRUE(m.undo());
    EXPECT_EQ(m.getEventActionInRange(3), std::make_pair(0, 0));
    build.rule(6, 0, RuleSide{0, 1, 1, 2, 0, 0, 0, 5}, RuleSide{}, 16, 26);
    EXPECT_EQ(groups(m.eventGroups()), "(11 1 2)(16 3 6)");
}

TEST_F(CUndoHistoryTest, UnsavedIsExact) {
    m.markSaved();
    EXPECT_TRUE(m.history().atSavedState());
    act(u"a", [&] { m.setPanelLabel(1, text(u"A")); });
    EXPECT_FALSE(m.history().atSavedState());
    m.markSaved();  // Save keeps the history
    EXPECT_TRUE(m.history().canUndo());
    act(u"b", [&] { m.setPanelLabel(1, text(u"B")); });
    m.undo();
    EXPECT_TRUE(m.history().atSavedState());
    m.undo();
    EXPECT_FALSE(m.history().atSavedState());
    m.redo();
    EXPECT_TRUE(m.history().atSavedState());
    // Undone past the save, then something else done: the saved state cannot come back.
    m.undo();
    act(u"c", [&] { m.setPanelLabel(1, text(u"C")); });
    EXPECT_FALSE(m.history().canRedo());
    m.undo();
    EXPECT_FALSE(m.history().atSavedState());
}

TEST_F(CUndoHistoryTest, RefusedCancelledAndEmptyActionsLeaveNoEntry) {
    act(u"first", [&] { m.setPanelLabel(1, text(u"A")); });
    EXPECT_FALSE(act(u"refused", [&] { EXPECT_FALSE(m.setElementType(1, 1, 1, 13)); }));
    EXPECT_EQ(prompt.shown, std::vector<int>{278});
    EXPECT_FALSE(act(u"same label", [&] { m.setPanelLabel(1, text(u"A")); }));
    {
        CFacilityAction cancelled(m, text(u"add loop"));
        m.addLoopToPanel(1, 2);
        m.addElementToLoop(1, 2, 1, 1, 0, text(u"x"));
        m.delLoopFromPanel(1, 1);
        m.delEventActionItem(1);
    }
    EXPECT_EQ(m.history().size(), 1u);
    EXPECT_EQ(m.history().undoDescription(), text(u"first"));
    EXPECT_EQ(m.getNumOfLoops(1), 1);
    EXPECT_EQ(m.getNumOfZones(1), 250);
    EXPECT_EQ(m.getNumberOfElementsInLoop(1, 1), 3);
    EXPECT_EQ(groups(m.eventGroups()), "(11 1 2)(13 3)");
}

TEST_F(CUndoHistoryTest, NestedActionsMakeOneEntryAndCancelOnlyTheirOwnPart) {
    {
        CFacilityAction outer(m, text(u"outer"));
        m.setPanelLabel(1, text(u"A"));
        {
            CFacilityAction inner(m, text(u"inner"));
            m.setPanelLabel(2, text(u"B"));
            EXPECT_FALSE(inner.commit());
        }
        {
            CFacilityAction refused(m, text(u"refused"));
            m.setPanelPhone(2, text(u"1"));
        }
        EXPECT_FALSE(m.undo());  // not while an action is open
        EXPECT_TRUE(outer.commit());
    }
    EXPECT_EQ(m.history().size(), 1u);
    EXPECT_EQ(m.getPanelPhone(2), KvWString());
    m.undo();
    EXPECT_EQ(*m.getPanelLabel(2), text(u"Panel 2"));
    EXPECT_EQ(*m.getPanelLabel(1), text(u"Panel 1"));
}

TEST_F(CUndoHistoryTest, ChangesOutsideAnActionEmptyTheHistoryButViewStateDoesNot) {
    act(u"a", [&] { m.setPanelLabel(1, text(u"A")); });
    m.setPanelExpanded(1, false);
    m.setLoopExpanded(1, 1, true);
    m.setPanelSelected(2, true);
    m.setElementItem(1, 1, 1, 77);
    m.setExpandedView(false);
    m.sortFacility();
    EXPECT_EQ(m.history().size(), 1u);

    m.setPanelLabel(2, text(u"outside"));
    EXPECT_FALSE(m.history().canUndo());
    EXPECT_FALSE(m.history().atSavedState());

    act(u"b", [&] { m.setPanelLabel(1, text(u"B")); });
    m.flushFacility();  // New and Open
    EXPECT_FALSE(m.history().canUndo());
    EXPECT_TRUE(m.history().atSavedState());
}

TEST_F(CUndoHistoryTest, AFlushInsideAnActionLeavesNothingToReplay) {
    {
        CFacilityAction action(m, text(u"new"));
        m.delPanel(2);
        m.flushFacility();
        m.addPanel(1, 1, text(u"P"));
        EXPECT_FALSE(action.commit());
    }
    EXPECT_EQ(m.getNumberOfPanels(), 1);
    EXPECT_FALSE(m.history().canUndo());
}

TEST_F(CUndoHistoryTest, ARebuildSortAfterTheNewestActionBelongsToIt) {
    act(u"add", [&] { m.addElementToLoop(1, 1, 5, 1, 0, text(u"e")); });
    m.sortFacility();  // the loops view rebuilding
    EXPECT_EQ(m.getElementAddress(1, 1, 2), 5);
    EXPECT_EQ(m.history().size(), 1u);
    m.undo();
    EXPECT_EQ(m.getNumberOfElementsInLoop(1, 1), 3);
    EXPECT_EQ(m.getElementAddress(1, 1, 2), 10);
    m.redo();
    EXPECT_EQ(m.getElementAddress(1, 1, 2), 5);
    EXPECT_EQ(m.getElementAddress(1, 1, 3), 10);
}

TEST_F(CUndoHistoryTest, TheOldestEntriesGoBeyondTheLimit) {
    m.markSaved();
    for (std::size_t i = 0; i <= CUndoHistory::kMostEntries; ++i)
        act(u"delay", [&] { m.setEventActionDelay(3, static_cast<int>(i) + 100); });
    EXPECT_EQ(m.history().size(), CUndoHistory::kMostEntries);
    while (m.undo()) {}
    EXPECT_EQ(m.getEventActionDelay(3), 100);
    EXPECT_FALSE(m.history().atSavedState());
}

}  // namespace
