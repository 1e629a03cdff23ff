// The rule trees' rows as built from the model: which side lists what, texts, pictures, filters.
#include <gtest/gtest.h>

#include "FacilityBuilder.h"
#include "art/CArt.h"
#include "ui/CRuleTreeModel.h"

namespace {

CRuleNode panelNode(int p) { return CRuleNode{CRuleNodeKind::Panel, p, 0, 0, 0}; }
CRuleNode loopNode(int p, int l) { return CRuleNode{CRuleNodeKind::Loop, p, l, 0, 0}; }
CRuleNode elementNode(int p, int l, int e) { return CRuleNode{CRuleNodeKind::Element, p, l, e, 0}; }
CRuleNode zonesNode(int p) { return CRuleNode{CRuleNodeKind::ZoneRange, p, 0, 0, 0}; }
CRuleNode zoneNode(int p, int z) { return CRuleNode{CRuleNodeKind::Zone, p, 0, 0, z}; }

QStringList childTexts(const CRuleTreeModel& model, const QModelIndex& parent) {
    QStringList texts;
    for (int row = 0; row < model.rowCount(parent); ++row) texts << model.index(row, 0, parent).data().toString();
    return texts;
}

class CRuleTreeModelTest : public ::testing::Test {
protected:
    // Panel 1: loop 1 with two detectors (zone 2) and a sounder (zone 3), loop 2 with outputs
    // only; zones 1 to 3 described. Panel 2 at address 7, without loops.
    void SetUp() override {
        FacilityBuilder(m).panel(1, 1, u"Main").loop(1).element(1, 1, 2).element(2, 2, 2).element(3, 10, 3)
            .loop(2).element(1, 10, 3).zones(3).panel(2, 7, u"Annex");
    }

    CFacilityManager m;
    CRuleTreeModel in{m, CRuleTreeModel::Side::Input};
    CRuleTreeModel out{m, CRuleTreeModel::Side::Output};
};

TEST_F(CRuleTreeModelTest, EachSideListsItsElementsAndLoopsWithTheZonesThatHoldElements) {
    in.populate();
    out.populate();
    EXPECT_EQ(childTexts(in, {}), QStringList({"Input Panel - 1 (Main)", "Input Panel - 7 (Annex)"}));
    EXPECT_EQ(childTexts(out, {}), QStringList({"Output Panel - 1 (Main)", "Output Panel - 7 (Annex)"}));
    // Loop 2 holds only an output: it is not in the input tree.
    EXPECT_EQ(childTexts(in, in.indexOf(panelNode(1))), QStringList({"Loop 1", "Zones"}));
    EXPECT_EQ(childTexts(out, out.indexOf(panelNode(1))), QStringList({"Loop 1", "Loop 2", "Zones"}));
    EXPECT_EQ(childTexts(in, in.indexOf(loopNode(1, 1))),
              QStringList({"@:1 - Optical detector - Element 1", "@:2 - Heat detector - Element 2"}));
    EXPECT_EQ(childTexts(out, out.indexOf(loopNode(1, 1))), QStringList({"@:3 - Output module - Element 3"}));
    // Zone 1 holds no element; both trees list zones 2 and 3, whatever side their elements are.
    EXPECT_EQ(childTexts(in, in.indexOf(zonesNode(1))), QStringList({"Zone 2 - Zone 2", "Zone 3 - Zone 3"}));
    EXPECT_EQ(childTexts(out, out.indexOf(zonesNode(1))), QStringList({"Zone 2 - Zone 2", "Zone 3 - Zone 3"}));
    EXPECT_EQ(childTexts(in, in.indexOf(panelNode(2))), QStringList({"Zones"}));
    EXPECT_TRUE(in.index(0, 0).flags() & Qt::ItemIsDragEnabled);
}

TEST_F(CRuleTreeModelTest, RowsNamedByRulesShowTheUsedPictureOfTheirTree) {
    FacilityBuilder(m).rule(1, 0, RuleSide{0, 1, 1, 2, 0, 0, 0, 5}, RuleSide{0, 1, 0, 0, 0, 2, 5, 6})
        .rule(2, 0, RuleSide{0, 1, 0, 0, 3, 0, 0, 4}, RuleSide{0, 1, 2, 1, 0, 0, 0, 5});
    in.populate();
    out.populate();
    const int heat = CElementTypeCatalogue::iconIndex(2, 0, CElementTypeCatalogue::genericType(2, 0));
    EXPECT_EQ(in.imageIndex(in.indexOf(elementNode(1, 1, 2))), heat + CArt::kUsedInput);
    EXPECT_EQ(in.imageIndex(in.indexOf(elementNode(1, 1, 1))), 0);
    EXPECT_EQ(in.imageIndex(in.indexOf(zoneNode(1, 3))), 27 + CArt::kUsedInput);
    EXPECT_FALSE(in.isUsed(in.indexOf(zonesNode(1))));
    EXPECT_TRUE(out.isUsed(out.indexOf(zonesNode(1))));
    EXPECT_TRUE(out.isUsed(out.indexOf(elementNode(1, 2, 1))));
    EXPECT_EQ(out.imageIndex(out.indexOf(loopNode(1, 2))), 29);
    EXPECT_EQ(in.imageIndex(in.indexOf(panelNode(1))), 28);

    m.delEventActionItem(2);
    in.refreshUsed();
    EXPECT_FALSE(in.isUsed(in.indexOf(zoneNode(1, 3))));
}

TEST_F(CRuleTreeModelTest, AnEmptiedGroupLowersItsRowOnlyWhenNoOtherRuleNamesIt) {
    in.populate();
    out.populate();
    const qintptr key = out.groupKey(zonesNode(1));
    EXPECT_EQ(out.groupKey(zonesNode(1)), key);
    EXPECT_NE(key, 0);
    // Two ranges of one panel: the zones item stands for both.
    FacilityBuilder(m).rule(1, 0, RuleSide{0, 1, 1, 1, 0, 0, 0, 5}, RuleSide{0, 1, 0, 0, 0, 1, 2, 6}, 0, key)
        .rule(2, 0, RuleSide{0, 1, 1, 1, 0, 0, 0, 5}, RuleSide{0, 1, 0, 0, 0, 3, 4, 6}, 0, key);
    out.refreshUsed();
    m.delEventActionItem(1);
    out.groupEmptied(key);
    EXPECT_TRUE(out.isUsed(out.indexOf(zonesNode(1))));
    m.delEventActionItem(2);
    out.groupEmptied(key);
    EXPECT_FALSE(out.isUsed(out.indexOf(zonesNode(1))));
    // Keys survive a rebuild; rules loaded from a file carry key 0, which names nothing.
    out.populate();
    EXPECT_EQ(out.groupKey(zonesNode(1)), key);
    out.groupEmptied(0);
}

TEST_F(CRuleTreeModelTest, AFilterKeepsMatchesWithTheirParentsAndWholeMatchingBranches) {
    in.populate("heat");
    EXPECT_EQ(childTexts(in, {}), QStringList({"Input Panel - 1 (Main)"}));
    EXPECT_EQ(childTexts(in, in.indexOf(panelNode(1))), QStringList({"Loop 1"}));
    EXPECT_EQ(childTexts(in, in.indexOf(loopNode(1, 1))), QStringList({"@:2 - Heat detector - Element 2"}));
    // An element is also found by its zone.
    out.populate("zone 3");
    EXPECT_EQ(childTexts(out, out.indexOf(loopNode(1, 1))), QStringList({"@:3 - Output module - Element 3"}));
    EXPECT_EQ(childTexts(out, out.indexOf(zonesNode(1))), QStringList({"Zone 3 - Zone 3"}));
    // A matching panel keeps everything below it.
    in.populate("annex");
    EXPECT_EQ(childTexts(in, {}), QStringList({"Input Panel - 7 (Annex)"}));
    EXPECT_EQ(childTexts(in, in.indexOf(panelNode(2))), QStringList({"Zones"}));
    in.populate("nothing like this");
    EXPECT_EQ(in.rowCount(), 0);
    EXPECT_FALSE(in.indexOf(panelNode(1)).isValid());
}

}  // namespace
