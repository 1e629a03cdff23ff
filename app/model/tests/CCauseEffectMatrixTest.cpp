#include <gtest/gtest.h>

#include "FacilityBuilder.h"
#include "model/CCauseEffectCsv.h"
#include "model/CCauseEffectMatrix.h"
#include "model/CFacilityManager.h"
#include "model/CRuleSideWords.h"

namespace {

using Matrix = CCauseEffectMatrix;

// Two panels, stored in address order (panel 2 first); detector 1/1/1 drives three effects,
// the sounder 2/1/5 is driven by three causes.
class CCauseEffectMatrixTest : public ::testing::Test {
protected:
    void SetUp() override {
        FacilityBuilder b(m);
        b.panel(1, 9).loop(1).element(1).element(2).zones(9);
        b.panel(2, 3).loop(1).element(1).element(5, 10).zones(2);
        b.rule(1, 0, detector(1, 1), sounder(2, 5));
        b.rule(2, 10, detector(1, 1), RuleSide{0, 1, 0, 0, 4, 0, 0, 4});  // zone 4 of panel 1
        b.rule(3, 30, detector(1, 1), RuleSide{1, 2, 0, 0, 0, 0, 0, 1});  // panel 2 itself
        b.rule(4, 5, detector(1, 2), sounder(2, 5));
        b.rule(5, 0, detector(2, 1), sounder(2, 5));
    }
    static RuleSide detector(int panel, int element, int kind = 0) { return {kind, panel, 1, element, 0, 0, 0, 5}; }
    static RuleSide sounder(int panel, int element) { return {0, panel, 1, element, 0, 0, 0, 5}; }
    static std::string words(const Matrix::Line& line) { return CRuleSideWords::side(&line.side); }
    static std::vector<std::string> words(const std::vector<Matrix::Line>& lines) {
        std::vector<std::string> out;
        for (const auto& l : lines) out.push_back(words(l));
        return out;
    }
    static std::vector<int> rules(const std::vector<const Matrix::Cell*>& cells) {
        std::vector<int> out;
        for (const Matrix::Cell* c : cells) out.push_back(c->rule);
        return out;
    }
    static std::vector<int> rules(Matrix::Cells cells) {
        std::vector<int> out;
        for (const Matrix::Cell& c : cells) out.push_back(c.rule);
        return out;
    }

    CFacilityManager m;
};

TEST_F(CCauseEffectMatrixTest, LinesAreGroupedByPanelInFacilityOrder) {
    const Matrix x = Matrix::build(m);
    // Panel 2 has the lower address, so its lines come first.
    EXPECT_EQ(words(x.rows()), (std::vector<std::string>{"kind 0, panel 2, loop 1, element 1",
                                                         "kind 0, panel 1, loop 1, element 1",
                                                         "kind 0, panel 1, loop 1, element 2"}));
    EXPECT_EQ(words(x.columns()), (std::vector<std::string>{"kind 1, panel 2", "kind 0, panel 2, loop 1, element 5",
                                                            "kind 0, panel 1, zone 4"}));
    ASSERT_EQ(x.rowGroups().size(), 2u);
    EXPECT_EQ(x.rowGroups()[0].panel, 2);
    EXPECT_EQ(x.rowGroups()[1].panel, 1);
    EXPECT_EQ(x.rowGroups()[1].first, 1u);
    EXPECT_EQ(x.rowGroups()[1].count, 2u);
    EXPECT_EQ(x.rowGroup(2)->panel, 1);
    EXPECT_EQ(x.rowGroup(3), nullptr);
    EXPECT_EQ(x.columnGroup(2)->panel, 1);
    EXPECT_EQ(x.rows()[1].firstRule, 1);
    EXPECT_EQ(x.cells().size(), 5u);
}

TEST_F(CCauseEffectMatrixTest, LookupsGoBothWays) {
    const Matrix x = Matrix::build(m);
    // What does detector 1/1/1 do? Three effects, by column.
    EXPECT_EQ(rules(x.effectsOf(1)), (std::vector<int>{3, 1, 2}));
    // What drives the sounder? Three causes, by row.
    EXPECT_EQ(rules(x.causesOf(1)), (std::vector<int>{5, 1, 4}));
    EXPECT_EQ(rules(x.at(2, 1)), (std::vector<int>{4}));
    EXPECT_TRUE(x.at(2, 0).empty());
    EXPECT_TRUE(x.at(9, 9).empty());
    EXPECT_TRUE(x.effectsOf(3).empty());
    EXPECT_TRUE(x.causesOf(3).empty());
    const Matrix::Cell* cell = x.cellOf(2);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->row, 1u);
    EXPECT_EQ(cell->column, 2u);
    EXPECT_EQ(cell->delay, 10);
    EXPECT_EQ(x.cellOf(99), nullptr);
}

TEST_F(CCauseEffectMatrixTest, KindsSplitLinesAndSelectionsFindThemAll) {
    FacilityBuilder(m).rule(6, 0, detector(1, 1, 1), sounder(2, 5));  // the same detector's second kind
    const Matrix x = Matrix::build(m);
    ASSERT_EQ(x.rows().size(), 4u);
    EXPECT_EQ(words(x.rows()[2]), "kind 1, panel 1, loop 1, element 1");
    CEventActionSide selection(7, 7);
    selection.panel = 1, selection.loop = 1, selection.element = 1;
    EXPECT_EQ(x.rowsNaming(selection), (std::vector<std::size_t>{1, 2}));
    selection.panel = 2, selection.element = 5;
    EXPECT_EQ(x.columnsNaming(selection), (std::vector<std::size_t>{1}));
    EXPECT_TRUE(x.rowsNaming(selection).empty());
}

TEST_F(CCauseEffectMatrixTest, AZoneRangeStaysOneLine) {
    FacilityBuilder(m).rule(6, 0, RuleSide{0, 1, 0, 0, 0, 3, 9, 6}, RuleSide{2, 1, 0, 0, 0, 2, 5, 6});
    const Matrix x = Matrix::build(m);
    EXPECT_EQ(x.rows().size(), 4u);
    EXPECT_EQ(x.columns().size(), 4u);
    const Matrix::Cell* cell = x.cellOf(6);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(words(x.rows()[cell->row]), "kind 0, panel 1, zones 3-9");
    EXPECT_EQ(words(x.columns()[cell->column]), "kind 2, panel 1, zones 2-5");
    // The range comes before the zones of its panel.
    EXPECT_EQ(cell->column, 2u);
}

TEST_F(CCauseEffectMatrixTest, SeveralRulesOnOnePlaceKeepListOrder) {
    FacilityBuilder(m).rule(7, 60, detector(1, 2), sounder(2, 5));
    const Matrix x = Matrix::build(m);
    EXPECT_EQ(rules(x.at(2, 1)), (std::vector<int>{4, 7}));
    EXPECT_EQ(rules(x.causesOf(1)), (std::vector<int>{5, 1, 4, 7}));
    EXPECT_EQ(CCauseEffectCsv::text(x).substr(0, 14), "cause / effect");
    const std::string csv = CCauseEffectCsv::text(x);
    EXPECT_NE(csv.find("\"kind 0, panel 1, loop 1, element 2\",,5 / 60,\r\n"), std::string::npos) << csv;
}

TEST_F(CCauseEffectMatrixTest, PanelChoiceKeepsRulesTouchingThePanelFromEitherSide) {
    FacilityBuilder b(m);
    b.panel(3).loop(1).element(1);
    b.rule(8, 0, detector(3, 1), sounder(3, 1));
    // Panel 1's matrix: rules 1 to 4 start there; rule 5 neither starts nor ends there.
    EXPECT_EQ(Matrix::build(m, {1}).cells().size(), 4u);
    // Panel 2's matrix: rules 1, 3 and 4 end there, rule 5 starts there.
    EXPECT_EQ(Matrix::build(m, {2}).cells().size(), 4u);
    EXPECT_EQ(Matrix::build(m, {3, 1}).cells().size(), 5u);
    EXPECT_TRUE(Matrix::build(m, {42}).cells().empty());
}

TEST_F(CCauseEffectMatrixTest, SidesOfMissingPanelsComeLast) {
    FacilityBuilder b(m);
    b.rule(9, 0, detector(77, 1), RuleSide{0, 0, 0, 0, 0, 0, 0, 0});
    b.rule(10, 0, detector(40, 1), sounder(2, 5));
    m.addEventActionItem(11, 0);  // no sides at all
    const Matrix x = Matrix::build(m);
    ASSERT_EQ(x.rowGroups().size(), 4u);
    EXPECT_EQ(x.rowGroups()[2].panel, 40);
    EXPECT_FALSE(x.rowGroups()[2].inFacility);
    EXPECT_EQ(x.rowGroups()[3].panel, 77);
    EXPECT_TRUE(x.rowGroups()[1].inFacility);
    EXPECT_EQ(x.columnGroups().back().panel, 0);
    EXPECT_EQ(words(x.columns().back()), "kind 0");
    EXPECT_EQ(x.rulesWithoutSides(), 1u);
}

TEST_F(CCauseEffectMatrixTest, ARenumberedRuleIsFoundAsTheManagerFindsIt) {
    // Placed before rule 4 in the matrix, after it in the list.
    FacilityBuilder(m).rule(12, 45, detector(2, 1), sounder(2, 5));
    m.changeEventActionId(12, 4);  // two rules 4 now; the earlier one in list order counts
    const Matrix x = Matrix::build(m);
    ASSERT_NE(x.cellOf(4), nullptr);
    EXPECT_EQ(x.cellOf(4)->delay, m.getEventActionDelay(4));
}

TEST(CCauseEffectCsvTest, FieldsAreQuotedOnlyWhenNeeded) {
    EXPECT_EQ(CCauseEffectCsv::field("panel 1"), "panel 1");
    EXPECT_EQ(CCauseEffectCsv::field("a, b"), "\"a, b\"");
    EXPECT_EQ(CCauseEffectCsv::field("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(CCauseEffectCsv::field("two\nlines"), "\"two\nlines\"");
    EXPECT_EQ(CCauseEffectCsv::field(""), "");
}

TEST(CCauseEffectCsvTest, AnEmptyFacilityIsTheCornerAlone) {
    CFacilityManager m;
    EXPECT_EQ(CCauseEffectCsv::text(CCauseEffectMatrix::build(m)), "cause / effect\r\n");
}

}  // namespace
