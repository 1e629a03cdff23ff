#include "model/CFacilityManager.h"

#include <gtest/gtest.h>

#include "FacilityBuilder.h"
#include "TestStrings.h"
#include "basalt/KvTrace.h"

namespace {

std::vector<int> panelOrder(const CFacilityManager& m) {
    std::vector<int> ids;
    for (int i = 0; i < m.getNumberOfPanels(); ++i) ids.push_back(m.getPanelId(i));
    return ids;
}

std::vector<int> elementOrder(const CFacilityManager& m, int panel, int loop) {
    std::vector<int> addresses;
    for (int i = 0; i < m.getNumberOfElementsInLoop(panel, loop); ++i)
        addresses.push_back(m.getElementAddress(panel, loop, i));
    return addresses;
}

KvWString text(const char16_t* s) { return KvWString(s); }

class CFacilityManagerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(TestStrings::install()); }
    void SetUp() override {
        m.setObserver(&observer);
        m.setPrompt(&prompt);
    }

    CFacilityManager m;
    RecordingObserver observer;
    ScriptedPrompt prompt;
    FacilityBuilder build{m};
};

TEST_F(CFacilityManagerTest, PanelsAreKeptInAddressOrderAndIdsStayUnique) {
    build.panel(1, 5).panel(2, 1).panel(3, 3).panel(4, 3);
    EXPECT_EQ(panelOrder(m), (std::vector<int>{2, 3, 4, 1}));  // equal addresses keep arrival order
    EXPECT_FALSE(m.addPanel(3, 0, text(u"again")));
    EXPECT_EQ(panelOrder(m), (std::vector<int>{2, 3, 4, 1}));
    EXPECT_EQ(*m.getPanelLabel(3), text(u"Panel 3"));
}

TEST_F(CFacilityManagerTest, PanelMovesOnlyWhenSorted) {
    build.panel(1, 1).panel(2, 2).panel(3, 3);
    m.setPanelAddress(1, 10);
    EXPECT_EQ(panelOrder(m), (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(m.sortPanel(1));
    EXPECT_EQ(panelOrder(m), (std::vector<int>{2, 3, 1}));
    m.setPanelAddress(1, 2);
    m.sortPanel(1);  // ties go after the panels already in place
    EXPECT_EQ(panelOrder(m), (std::vector<int>{2, 1, 3}));
    EXPECT_TRUE(m.sortPanel(99));
    EXPECT_TRUE(m.delPanel(99));
}

TEST_F(CFacilityManagerTest, MissingRecordsGiveEmptyAnswers) {
    build.panel(1).loop(1).element(5);
    EXPECT_EQ(m.getPanelLabel(2), nullptr);
    EXPECT_TRUE(m.getPanelInstaller(2).IsEmpty());
    EXPECT_FALSE(m.setPanelPhone(2, text(u"x")));
    EXPECT_EQ(m.getLoopAddress(1, 1), 0);  // index equal to the count
    EXPECT_EQ(m.getLoopAddress(1, -1), 0);
    EXPECT_EQ(m.getElementAddress(1, 1, 1), 0);
    EXPECT_EQ(m.getElementLabel(1, 1, 6), nullptr);
    EXPECT_FALSE(m.setElementType(1, 2, 5, 1));
    EXPECT_FALSE(m.delLoopFromPanel(1, 2));
    EXPECT_FALSE(m.delElementFromLoop(1, 2, 5));
    EXPECT_TRUE(m.delElementFromLoop(1, 1, 77));  // loop exists, nothing matched
}

TEST_F(CFacilityManagerTest, NewRecordsCarryTheirDefaults) {
    build.panel(1).loop(1);
    EXPECT_TRUE(m.getPanelExpanded(1));
    EXPECT_FALSE(m.getLoopExpanded(1, 1));
    EXPECT_TRUE(m.getExpandedView());
    m.addElementToLoop(1, 1, 3, 2, 0, text(u"Smoke"));
    EXPECT_EQ(*m.getElementDescription(1, 1, 3), text(u"Smoke"));
    m.setElementLabel(1, 1, 3, text(u"Heat"));
    EXPECT_EQ(*m.getElementDescription(1, 1, 3), text(u"Smoke"));
    m.setElementDescription(1, 1, 3, nullptr);
    EXPECT_EQ(*m.getElementDescription(1, 1, 3), text(u"Heat"));
    m.setElementDescription(1, 1, 3, u"");  // empty is a text, not "no text"
    EXPECT_TRUE(m.getElementDescription(1, 1, 3)->IsEmpty());
}

TEST_F(CFacilityManagerTest, AddingNeverReplaces) {
    build.panel(1).loop(1);
    EXPECT_TRUE(m.addElementToLoop(1, 1, 5, 2, 7, text(u"first")));
    EXPECT_FALSE(m.addElementToLoop(1, 1, 5, 3, 8, text(u"second")));
    EXPECT_EQ(*m.getElementLabel(1, 1, 5), text(u"first"));
    EXPECT_FALSE(m.addLoopToPanel(1, 1));
    EXPECT_FALSE(m.addLoopToPanel(2, 1));
    EXPECT_TRUE(m.addZone(1, 1, text(u"a")));
    EXPECT_FALSE(m.addZone(1, 1, text(u"b")));
    EXPECT_EQ(*m.getZoneDescription(1), text(u"a"));
}

TEST_F(CFacilityManagerTest, ZonesGoWithTheLastLoop) {
    build.panel(1).loop(1).loop(2).zones(250);
    EXPECT_TRUE(m.delLoopFromPanel(1, 1));
    EXPECT_EQ(m.getNumOfZones(1), 250);
    EXPECT_TRUE(m.delLoopFromPanel(1, 2));
    EXPECT_EQ(m.getNumOfZones(1), 0);
}

TEST_F(CFacilityManagerTest, ZoneDescriptionsComeFromTheFirstPanelHoldingTheNumber) {
    build.panel(1, 2).loop(1).panel(2, 1).loop(1);
    m.addZone(1, 2, text(u"panel one"));
    m.addZone(2, 2, text(u"panel two"));  // panel 2 comes first by address
    EXPECT_EQ(*m.getZoneDescription(2), text(u"panel two"));
    EXPECT_TRUE(m.setZoneDescription(2, text(u"renamed")));
    EXPECT_EQ(*m.getZoneDescription(2), text(u"renamed"));
    EXPECT_EQ(m.getZoneDescription(3), nullptr);
    EXPECT_FALSE(m.setZoneDescription(3, text(u"x")));
}

TEST_F(CFacilityManagerTest, CountsInputsOutputsAndZoneMembers) {
    build.panel(1).loop(1).element(1, 10, 3).element(2, 1, 3).element(3, 5, 4).loop(2).element(1, 2, 3);
    EXPECT_EQ(m.getNumberOfInputElementsInLoop(1, 1), 1);   // type 1: generic 1
    EXPECT_EQ(m.getNumberOfOutputElementsInLoop(1, 1), 2);  // generic 7 and 8
    EXPECT_EQ(m.getNumOfElementsInZone(1, 3), 3);
    EXPECT_EQ(m.getNumOfElementsInZone(1, 9), 0);
}

TEST_F(CFacilityManagerTest, SortFacilityOrdersElementsAndLoopsStably) {
    build.panel(1).loop(3).element(9).element(2).loop(1).element(4);
    m.addElementToLoop(1, 3, 7, 1, 0, text(u"dup"));
    m.setElementAddress(1, 3, 2, 2);  // two elements at 2 now, "dup" second in the list
    m.sortFacility();
    EXPECT_EQ(m.getLoopAddress(1, 0), 1);
    EXPECT_EQ(elementOrder(m, 1, 3), (std::vector<int>{2, 2, 9}));
    EXPECT_EQ(*m.getElementLabel(1, 3, 2), text(u"Element 2"));  // first match wins
    m.delElementFromLoop(1, 3, 2);                                // and delete takes both
    EXPECT_EQ(elementOrder(m, 1, 3), (std::vector<int>{9}));
}

TEST_F(CFacilityManagerTest, LookupsStayFirstMatchAfterRenumbering) {
    build.panel(1).loop(1).element(1).element(2).loop(2);
    EXPECT_EQ(*m.getElementLabel(1, 1, 2), text(u"Element 2"));
    m.setElementAddress(1, 1, 0, 2);  // the earlier element now answers for 2
    EXPECT_EQ(*m.getElementLabel(1, 1, 2), text(u"Element 1"));
    EXPECT_TRUE(m.setLoopAddress(1, 1, 1));
    m.addElementToLoop(1, 1, 50, 1, 0, text(u"x"));  // goes to the first loop 1
    EXPECT_EQ(m.getNumberOfElementsInLoop(1, 1), 3);
    m.flushFacility();
    EXPECT_EQ(m.getElementLabel(1, 1, 2), nullptr);
    EXPECT_EQ(m.getNumberOfPanels(), 0);
}

struct TypeChangeCase {
    const char* name;
    int address;
    int occupied;  // another element's address, 0 for none
    bool accepted;
};

class SetElementTypeFits : public CFacilityManagerTest, public ::testing::WithParamInterface<TypeChangeCase> {};

TEST_P(SetElementTypeFits, LongerDeviceMustFitInTheLoop) {
    const TypeChangeCase& c = GetParam();
    build.panel(1).loop(1).element(c.address, 1);
    if (c.occupied) build.element(c.occupied, 1);
    EXPECT_EQ(m.setElementType(1, 1, c.address, 13), c.accepted);
    if (c.accepted) {
        EXPECT_TRUE(prompt.shown.empty());
        EXPECT_EQ(m.getElementType(1, 1, c.address + 3), 13);
    } else {
        EXPECT_EQ(prompt.shown, std::vector<int>{278});
        EXPECT_EQ(m.getElementType(1, 1, c.address), 1);
        EXPECT_EQ(m.getNumberOfElementsInLoop(1, 1), c.occupied ? 2 : 1);
    }
}

INSTANTIATE_TEST_SUITE_P(TypeThirteen, SetElementTypeFits,
                         ::testing::Values(TypeChangeCase{"EndsPast250", 249, 0, false},
                                           TypeChangeCase{"EndsAt250", 247, 0, true},
                                           TypeChangeCase{"NextElementInside", 247, 250, false},
                                           TypeChangeCase{"NextElementJustAfter", 20, 24, true},
                                           TypeChangeCase{"NextElementAtLast", 20, 23, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CFacilityManagerTest, TypeChangeBuildsEveryAddressOfTheDevice) {
    build.panel(1).loop(1).element(20, 1, 6);
    ASSERT_TRUE(m.setElementType(1, 1, 20, 12));
    EXPECT_EQ(m.getElementCompositeMode(1, 1, 20), 1);
    EXPECT_EQ(m.getElementGenericType(1, 1, 20), 6);
    EXPECT_TRUE(m.getElementFirst(1, 1, 20));
    EXPECT_EQ(m.getElementCompositeMode(1, 1, 21), 3);
    EXPECT_EQ(m.getElementGenericType(1, 1, 21), 7);
    EXPECT_FALSE(m.getElementFirst(1, 1, 21));
    EXPECT_EQ(*m.getElementLabel(1, 1, 20), text(u"Element 20"));
    EXPECT_EQ(*m.getElementLabel(1, 1, 21), text(u"Element 21"));
    EXPECT_EQ(*m.getElementDescription(1, 1, 21), text(u"T242"));
    EXPECT_EQ(m.getElementZone(1, 1, 21), 6);
    EXPECT_EQ(observer.rebuilds, std::vector<bool>{true});
}

TEST_F(CFacilityManagerTest, TypeChangeUsesTheCrossedTextsOfFifteenAndSixteen) {
    build.panel(1).loop(1).element(1).element(5);
    m.setElementType(1, 1, 1, 15);
    m.setElementType(1, 1, 5, 16);
    EXPECT_EQ(*m.getElementDescription(1, 1, 1), text(u"T246"));
    EXPECT_EQ(*m.getElementDescription(1, 1, 5), text(u"T245"));
}

TEST_F(CFacilityManagerTest, ShorterDeviceLeavesNoStaleAddresses) {
    build.panel(1).loop(1).device(10, 13).element(14);
    ASSERT_TRUE(m.setElementType(1, 1, 10, 1));
    EXPECT_EQ(elementOrder(m, 1, 1), (std::vector<int>{14, 10}));
    EXPECT_EQ(m.getElementCompositeMode(1, 1, 10), 0);
    EXPECT_EQ(m.getElementGenericType(1, 1, 10), 1);
}

TEST_F(CFacilityManagerTest, SameTypeRebuildsTheElement) {
    build.panel(1).loop(1).element(8, 3);
    m.setElementLabel(1, 1, 8, text(u"kept?"));
    ASSERT_TRUE(m.setElementType(1, 1, 8, 3));
    EXPECT_EQ(*m.getElementLabel(1, 1, 8), text(u"Element 8"));
    EXPECT_EQ(*m.getElementDescription(1, 1, 8), text(u"T233"));
    EXPECT_TRUE(m.getElementFirst(1, 1, 8));
}

TEST_F(CFacilityManagerTest, TypeChangeRefusesUnknownCodesAndStaysQuietWithoutSeams) {
    build.panel(1).loop(1).element(249);
    EXPECT_FALSE(m.setElementType(1, 1, 249, 19));
    EXPECT_FALSE(m.setElementType(1, 1, 249, 0));
    m.setObserver(nullptr);
    m.setPrompt(nullptr);
    EXPECT_FALSE(m.setElementType(1, 1, 249, 13));
    EXPECT_TRUE(m.setElementType(1, 1, 249, 2));
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_TRUE(observer.rebuilds.empty());
}

TEST_F(CFacilityManagerTest, EveryRecordIsReleasedOnFlushAndDestruction) {
    // The sanitizer build turns a double or missing release into a failure here.
    auto fill = [this] {
        build.panel(1).loop(1).device(1, 13).element(9, 5).loop(2).device(1, 12).zones(3);
        build.panel(2).loop(1).element(1).zones(250);
        build.rule(1, 0, RuleSide{1, 1, 1, 1, 0, 0, 0, 5}, RuleSide{7, 2, 0, 0, 3, 0, 0, 4}, 5, 6);
        build.rule(2, 0, RuleSide{1, 1, 1, 1, 0, 0, 0, 5}, RuleSide{7, 2, 0, 0, 0, 1, 9, 6}, 5, 6);
    };
    fill();
    m.setElementType(1, 1, 9, 17);
    m.flushFacility();
    EXPECT_EQ(m.getNumberOfPanels(), 0);
    EXPECT_EQ(m.getNumberEventsInPanel(), 0);
    fill();
    m.delEventActionItem(1);
}

}  // namespace

namespace {

class CapturingChannel : public KvTraceChannel {
public:
    void Write(const char* utf8, int length) override { text.append(utf8, length); }
    std::string text;
};

TEST(CFacilityManagerTrace, EachOperationNamesItself) {
    CapturingChannel channel;
    KvTraceChannel* previous = SetKvTraceChannel(&channel);
    CFacilityManager m;
    m.addPanel(1, 1, KvWString(u"p"));
    m.getEventActionOutZone(3);
    SetKvTraceChannel(previous);
    EXPECT_NE(channel.text.find("\n CFacilityManager::addPanel"), std::string::npos);
    EXPECT_NE(channel.text.find("\n CFacilityManager::getEventActionOutZone"), std::string::npos);
}

}  // namespace
