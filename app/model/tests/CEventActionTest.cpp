#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <set>

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

// The groups as the plain scan over every group and member files rules: the yardstick for the
// manager's indexed filing.
struct ScannedGroups {
    std::vector<std::pair<std::intptr_t, std::vector<int>>> groups;  // key, rule ids

    template <class Selection>
    void file(int id, std::intptr_t key, Selection selection) {
        for (auto& [groupKey, ids] : groups)
            for (int member : ids)
                if (selection(member) == selection(id)) {
                    ids.push_back(id);
                    groupKey = key;
                    return;
                }
        groups.push_back({key, {id}});
    }
    void remove(int id) {
        for (auto& g : groups) std::erase(g.second, id);
    }
    bool operator==(const std::vector<CEventActionGroup>& actual) const {
        if (actual.size() != groups.size()) return false;
        for (std::size_t i = 0; i < groups.size(); ++i) {
            std::vector<int> ids;
            for (const CEventActionItem* r : actual[i].rules) ids.push_back(r->id);
            if (actual[i].key != groups[i].first || ids != groups[i].second) return false;
        }
        return true;
    }
};

TEST_F(CEventActionTest, IndexedFilingMatchesAScanOverTheGroupsWhateverChangesTheSides) {
    std::mt19937 random(7);
    auto pick = [&random](int n) { return static_cast<int>(random() % n); };
    auto in = [this](int id) {
        const auto r = m.getEventActionInRange(id);
        return std::vector<int>{m.getEventActionInPanel(id), m.getEventActionInLoop(id), m.getEventActionInElement(id),
                                m.getEventActionInZone(id), r.first, r.second};
    };
    auto out = [this](int id) {
        const auto r = m.getEventActionOutRange(id);
        return std::vector<int>{m.getEventActionOutPanel(id), m.getEventActionOutLoop(id),
                                m.getEventActionOutElement(id), m.getEventActionOutZone(id), r.first, r.second};
    };
    ScannedGroups events, actions;
    std::set<int> live;
    for (int step = 0; step < 3000; ++step) {
        const int id = 1 + pick(40), key = step, a = pick(3), b = pick(2), c = pick(2);
        switch (live.count(id) ? pick(5) : 0) {
            case 0:  // a new rule, or its event side set again (which zeroes its action side)
                if (!live.count(id)) m.addEventActionItem(id, 0);
                live.insert(id);
                m.addEventToEventActionItem(id, 1, a, 0, 0, 0, b, c, 1, key);
                events.file(id, key, in);
                [[fallthrough]];
            case 1:
                m.addActionToEventActionItem(id, 7, b, 0, 0, a, c, 0, 4, key);
                actions.file(id, key, out);
                break;
            case 2: m.setEventActionInRange(id, b, c); break;
            case 3: m.setEventActionOutRange(id, c, b); break;
            case 4:
                m.delEventActionItem(id);
                events.remove(id);
                actions.remove(id);
                live.erase(id);
                break;
        }
        ASSERT_TRUE(events == m.eventGroups()) << "step " << step;
        ASSERT_TRUE(actions == m.actionGroups()) << "step " << step;
    }
}

TEST_F(CEventActionTest, ANewIdNeverCollidesEvenAtTheTopOfTheRange) {
    m.addEventActionItem(INT_MAX, 0);
    m.addEventActionItem(1, 0);
    m.addEventActionItem(3, 0);
    EXPECT_EQ(m.getNumberOfEventActions(), INT_MAX);
    std::set<int> seen{INT_MAX, 1, 3};
    for (int i = 0; i < 5; ++i) {
        const int id = m.getFreeEventId();
        EXPECT_TRUE(seen.insert(id).second) << id;
        EXPECT_TRUE(m.addEventActionItem(id, 0)) << id;
    }
    EXPECT_EQ(seen, (std::set<int>{1, 2, 3, 4, 5, 6, 7, INT_MAX}));
}

}  // namespace

namespace {

TEST(CEventActionSides, AccessorsGiveBothSidesOrNull) {
    CFacilityManager m;
    FacilityBuilder(m).panel(1).rule(4, 0, RuleSide{3, 1, 2, 7, 0, 0, 0, 5}, RuleSide{2, 1, 0, 0, 9, 4, 6, 4});
    const CEventActionSide* in = m.getEventActionInSide(4);
    const CEventActionSide* out = m.getEventActionOutSide(4);
    ASSERT_TRUE(in && out);
    EXPECT_EQ((std::vector<int>{in->type, in->panel, in->loop, in->element, in->itemType}),
              (std::vector<int>{3, 1, 2, 7, 5}));
    EXPECT_EQ((std::vector<int>{out->zone, out->rangeBegin, out->rangeEnd, out->itemType}),
              (std::vector<int>{9, 4, 6, 4}));
    m.addEventActionItem(5, 0);  // no sides yet
    EXPECT_EQ(m.getEventActionInSide(5), nullptr);
    EXPECT_EQ(m.getEventActionOutSide(5), nullptr);
    EXPECT_EQ(m.getEventActionInSide(6), nullptr);
}

}  // namespace
