#include <gtest/gtest.h>

#include "FacilityBuilder.h"
#include "model/CFacilityManager.h"

namespace {

class CEventActionTest : public ::testing::Test {
protected:
    void SetUp() override { m.setObserver(&observer); }

    std::vector<int> ids() const {
        std::vector<int> out;
        for (int i = 0; i < m.getNumberOfEventActions(); ++i) out.push_back(m.getEventActionId(i));
        return out;
    }

    CFacilityManager m;
    RecordingObserver observer;
    FacilityBuilder build{m};
};

TEST_F(CEventActionTest, IdBoundsFollowTheLargestIdAcrossGaps) {
    EXPECT_EQ(m.getNumberOfEventActions(), 0);
    EXPECT_EQ(m.getFreeEventId(), 1);
    m.addEventActionItem(1, 0);
    m.addEventActionItem(2, 0);
    m.addEventActionItem(7, 0);
    EXPECT_EQ(m.getNumberOfEventActions(), 7);
    EXPECT_EQ(m.getFreeEventId(), 8);
    EXPECT_EQ(m.getNumberEventsInPanel(), 3);
    // The writer walks positions up to the bound; positions past the list name no rule.
    EXPECT_EQ(ids(), (std::vector<int>{1, 2, 7, 0, 0, 0, 0}));
    EXPECT_FALSE(m.addEventActionItem(2, 5));
    EXPECT_EQ(m.getNumberEventsInPanel(), 3);
    EXPECT_EQ(m.getEventActionDelay(2), 0);
}

TEST_F(CEventActionTest, SettingTheEventSideWipesTheActionSide) {
    m.addEventActionItem(1, 10);
    m.addActionToEventActionItem(1, 4, 2, 3, 4, 5, 6, 7, 5, 0);
    m.addEventToEventActionItem(1, 9, 1, 1, 1, 0, 0, 0, 5, 0);
    EXPECT_EQ(m.getEventActionOutType(1), 0);
    EXPECT_EQ(m.getEventActionOutElementType(1), 4);  // set once, never wiped
    EXPECT_EQ(m.getEventActionOutPanel(1), 0);
    EXPECT_EQ(m.getEventActionOutLoop(1), 0);
    EXPECT_EQ(m.getEventActionOutElement(1), 0);
    EXPECT_EQ(m.getEventActionOutZone(1), 0);
    EXPECT_EQ(m.getEventActionOutRange(1), std::make_pair(0, 0));
    EXPECT_EQ(m.getEventActionOutItemType(1), 0);
    EXPECT_EQ(m.getEventActionInType(1), 9);
}

TEST_F(CEventActionTest, ElementTypeKeepsTheCreationType) {
    m.addEventActionItem(1, 0);
    m.addEventToEventActionItem(1, 3, 1, 0, 0, 0, 0, 0, 1, 0);
    m.setEventActionInType(1, 5);
    EXPECT_EQ(m.getEventActionInType(1), 5);
    EXPECT_EQ(m.getEventActionInElementType(1), 3);
    m.addEventToEventActionItem(1, 8, 1, 0, 0, 0, 0, 0, 1, 0);
    EXPECT_EQ(m.getEventActionInElementType(1), 3);
}

TEST_F(CEventActionTest, MissingRulesAndSidesGiveNeutralAnswers) {
    EXPECT_EQ(m.getEventActionInItemType(4), -1);
    EXPECT_EQ(m.getEventActionInRange(4), std::make_pair(0, 0));
    EXPECT_FALSE(m.addEventToEventActionItem(4, 1, 1, 1, 1, 1, 1, 1, 1, 0));
    EXPECT_FALSE(m.delEventActionItem(4));
    EXPECT_FALSE(m.changeEventActionId(4, 5));
    m.addEventActionItem(4, 0);  // no sides yet: getters must not crash
    EXPECT_EQ(m.getEventActionInPanel(4), 0);
    EXPECT_EQ(m.getEventActionOutItemType(4), -1);
    m.setEventActionInRange(4, 1, 2);
    m.setEventActionOutType(4, 1);
}

TEST_F(CEventActionTest, GroupsJoinOnSelectionAndTakeTheLaterKey) {
    build.rule(1, 0, RuleSide{1, 2, 3, 4, 0, 0, 0, 5}, RuleSide{7, 1, 0, 0, 3, 0, 0, 4}, 100, 200)
        .rule(2, 0, RuleSide{6, 2, 3, 4, 0, 0, 0, 2}, RuleSide{7, 1, 0, 0, 0, 5, 9, 6}, 101, 201);
    ASSERT_EQ(m.eventGroups().size(), 1u);  // type and item type take no part
    EXPECT_EQ(m.eventGroups()[0].key, 101);
    EXPECT_EQ(m.eventGroups()[0].rules.size(), 2u);
    ASSERT_EQ(m.actionGroups().size(), 2u);  // different ranges
    EXPECT_EQ(m.actionGroups()[1].key, 201);
}

TEST_F(CEventActionTest, DeletingTheLastRuleOfAGroupLowersItsImage) {
    const RuleSide in{1, 1, 1, 1, 0, 0, 0, 5};
    build.rule(1, 0, in, RuleSide{7, 1, 0, 0, 3, 0, 0, 4}, 10, 20).rule(2, 0, in, RuleSide{7, 2, 0, 0, 3, 0, 0, 4}, 11, 21);
    EXPECT_TRUE(m.delEventActionItem(1));
    EXPECT_EQ(observer.emptied, (std::vector<std::pair<std::intptr_t, int>>{{20, 62}}));
    EXPECT_TRUE(m.delEventActionItem(2));
    EXPECT_EQ(observer.emptied.back(), (std::pair<std::intptr_t, int>{21, 62}));
    EXPECT_EQ(observer.emptied[1], (std::pair<std::intptr_t, int>{11, 31}));
    EXPECT_EQ(m.eventGroups().size(), 1u);  // empty groups stay
    EXPECT_TRUE(m.eventGroups()[0].rules.empty());
    EXPECT_EQ(m.getNumberEventsInPanel(), 0);
}

TEST_F(CEventActionTest, RefiledRuleLeavesNoDanglingGroupMember) {
    build.rule(1, 0, RuleSide{1, 1, 0, 0, 0, 0, 0, 1}, RuleSide{7, 1, 0, 0, 3, 0, 0, 4});
    m.addEventToEventActionItem(1, 1, 2, 0, 0, 0, 0, 0, 1, 0);  // now filed in two event groups
    m.delEventActionItem(1);
    build.rule(2, 0, RuleSide{1, 1, 0, 0, 0, 0, 0, 1}, RuleSide{});  // reads the old groups' members
    for (const auto& g : m.eventGroups())
        for (const CEventActionItem* r : g.rules) EXPECT_EQ(r->id, 2);
}

TEST_F(CEventActionTest, FlushDropsGroupsThatPointIntoTheOldFacility) {
    build.rule(1, 0, RuleSide{1, 1, 0, 0, 0, 0, 0, 1}, RuleSide{7, 1, 0, 0, 3, 0, 0, 4});
    m.flushFacility();
    EXPECT_TRUE(m.eventGroups().empty());
    build.rule(1, 0, RuleSide{1, 1, 0, 0, 0, 0, 0, 1}, RuleSide{7, 1, 0, 0, 3, 0, 0, 4});
    EXPECT_EQ(m.eventGroups().size(), 1u);
}

TEST_F(CEventActionTest, RenamedIdsMayCollideAndTheFirstRuleAnswers) {
    m.addEventActionItem(1, 11);
    m.addEventActionItem(2, 22);
    EXPECT_TRUE(m.changeEventActionId(2, 1));
    EXPECT_EQ(m.getEventActionDelay(1), 11);
    EXPECT_EQ(m.getEventActionDelay(2), 0);
    EXPECT_TRUE(m.delEventActionItem(1));
    EXPECT_EQ(m.getEventActionDelay(1), 22);
}

TEST_F(CEventActionTest, RulesSurviveRemovalOfWhatTheyName) {
    build.panel(1).loop(1).element(1).rule(1, 3, RuleSide{1, 1, 1, 1, 0, 0, 0, 5}, RuleSide{7, 1, 0, 0, 3, 0, 0, 4});
    m.delPanel(1);
    EXPECT_EQ(m.getEventActionInPanel(1), 1);
    EXPECT_EQ(m.getEventActionDelay(1), 3);
}

}  // namespace
