// The contents of the five reports, read back from the PDF.
#include <regex>

#include "ReportFixture.h"

namespace {

using S = CReportSwitches;

class CReportPrinterTest : public ReportFixture {};

TEST_F(CReportPrinterTest, AllSwitchesOffGivesADocumentWithoutReports) {
    b.panel(1).loop(1).element(1);
    select({1});
    const auto p = pages(S{});
    ASSERT_EQ(p.size(), 1u);
    EXPECT_EQ(p[0].find_first_not_of(" \n"), std::string::npos) << p[0];
}

TEST_F(CReportPrinterTest, EachChosenPanelStartsOnItsOwnPageNumberedOn) {
    b.panel(1, 10, u"North").details(u"Ann", u"555", u"Main hall").loop(1);
    for (int a = 1; a <= 60; ++a) b.element(a);  // two lines each: more than one page
    b.panel(2, 20, u"South").loop(1).element(1);
    b.panel(3, 30, u"Unchosen").loop(1).element(1);
    select({1, 2});
    const auto p = pages(only(&S::loops));
    ASSERT_EQ(p.size(), 3u);
    for (std::size_t i = 0; i < p.size(); ++i)
        EXPECT_TRUE(std::regex_search(p[i], std::regex("Pag\\.\\s+" + std::to_string(i + 1) + "\\b"))) << p[i];
    EXPECT_EQ(ReportPdfText::count(p[0], "T214"), 1);
    EXPECT_TRUE(ReportPdfText::has(p[0], "T25 North"));
    EXPECT_TRUE(ReportPdfText::has(p[0], "T224 Ann"));
    EXPECT_TRUE(ReportPdfText::has(p[0], "T230 10"));
    EXPECT_EQ(ReportPdfText::count(p[1], "T214"), 0);  // the first panel's loop goes on
    EXPECT_TRUE(ReportPdfText::has(p[2], "T25 South"));
    EXPECT_EQ(joined(p).find("Unchosen"), std::string::npos);
}

TEST_F(CReportPrinterTest, LoopsReportListsEveryElementWithZoneAndCounts) {
    b.panel(1).loop(2).element(7, 1, 3).element(8, 2, 0).zones(5);
    select({1});
    const std::string all = joined(pages(only(&S::loops)));
    EXPECT_TRUE(ReportPdfText::has(all, "T217"));
    EXPECT_TRUE(ReportPdfText::has(all, "T219 2 (2)")) << all;
    EXPECT_TRUE(ReportPdfText::has(all, "T230 7 T24 T52 T228 3 T220 Zone 3")) << all;
    EXPECT_TRUE(ReportPdfText::has(all, "T220 Element 7")) << all;
    EXPECT_TRUE(ReportPdfText::has(all, "T230 8 T24 T53 T228 0")) << all;
    EXPECT_TRUE(ReportPdfText::has(all, "T221 2"));
}

// A zone is listed once the user has described it and put an element in it.
TEST_F(CReportPrinterTest, ZoneReportsListOnlyDescribedZonesInUse) {
    b.panel(1).loop(1).element(1, 1, 1).element(2, 1, 2).element(3, 1, 2);
    m.addZone(1, 1, u"Zone");          // in use, default description
    m.addZone(1, 2, u"Kitchen");       // in use, described
    m.addZone(1, 3, u"Empty cellar");  // described, nothing in it
    select({1});
    for (bool S::*report : {&S::zones, &S::nonEmptyZones}) {
        const std::string all = joined(pages(only(report)));
        EXPECT_TRUE(ReportPdfText::has(all, "T228 2 T220 Kitchen")) << all;
        EXPECT_FALSE(ReportPdfText::has(all, "T228 1 ")) << all;
        EXPECT_EQ(all.find("Empty cellar"), std::string::npos) << all;
    }
    const std::string relay = joined(pages(only(&S::nonEmptyZones)));
    EXPECT_TRUE(ReportPdfText::has(relay, "T229 1 T230 2 T24 T52 T220 Element 2")) << relay;
    EXPECT_TRUE(ReportPdfText::has(relay, "T229 1 T230 3")) << relay;
    EXPECT_FALSE(ReportPdfText::has(relay, "T229 1 T230 1 ")) << relay;
}

// Types 1 to 5 carry the words of the parts, not the descriptions new elements get.
TEST_F(CReportPrinterTest, TypeNamesComeFromTheReportTable) {
    const int expected[18] = {52, 53, 61, 54, 55, 236, 237, 238, 239, 240, 241, 242, 243, 244, 246, 245, 247, 248};
    b.panel(1).loop(1);
    for (int type = 1; type <= 18; ++type) b.element(type, type, 1);
    m.addZone(1, 1, u"Everything");
    select({1});
    for (bool S::*report : {&S::loops, &S::nonEmptyZones}) {
        const std::string all = joined(pages(only(report)));
        for (int type = 1; type <= 18; ++type)
            EXPECT_TRUE(ReportPdfText::has(all, "T230 " + std::to_string(type) + " T24 T" +
                                                         std::to_string(expected[type - 1]) + " "))
                << "type " << type << "\n" << all;
        for (int description = 231; description <= 235; ++description)
            EXPECT_EQ(all.find("T" + std::to_string(description)), std::string::npos);
    }
}

TEST_F(CReportPrinterTest, RulesAppearInBothRelayReportsInTheirKindWords) {
    b.panel(1, 7).loop(1).element(4).panel(2, 9);
    select({1, 2});
    b.rule(5, 30, RuleSide{1, 1, 1, 4, 0, 0, 0, 5}, RuleSide{0, 2, 0, 0, 12, 0, 0, 4});
    b.rule(6, 0, RuleSide{3, 2, 0, 0, 0, 0, 0, 1}, RuleSide{2, 1, 0, 0, 0, 3, 9, 6});
    b.rule(7, 0, RuleSide{5, 1, 1, 0, 0, 0, 0, 2}, RuleSide{0, 1, 1, 0, 0, 0, 0, 2});
    const std::string event = "T114 T151 7 T152 1 T154 4";
    const std::string action = "T138 12";
    for (bool eventFirst : {true, false}) {
        const auto p = pages(only(eventFirst ? &S::eventAction : &S::actionEvent));
        const std::string all = joined(p);
        EXPECT_TRUE(ReportPdfText::has(all, eventFirst ? "T226" : "T227"));
        EXPECT_TRUE(ReportPdfText::has(all, "T25 Panel 2")) << "headed by the last chosen panel";
        EXPECT_TRUE(ReportPdfText::has(all, "T107 5 T320 30")) << all;
        const auto e = ReportPdfText::find(all, event), a = ReportPdfText::find(all, action);
        ASSERT_NE(e, std::string::npos) << all;
        ASSERT_NE(a, std::string::npos) << all;
        EXPECT_EQ(e < a, eventFirst);
        EXPECT_TRUE(ReportPdfText::has(all, "T123 T151 9")) << all;
        EXPECT_TRUE(ReportPdfText::has(all, "T170 T151 7 T159 3-9")) << all;
        EXPECT_TRUE(ReportPdfText::has(all, "T150 T151 7 T152 1")) << all;
        EXPECT_TRUE(ReportPdfText::has(all, "T140 T151 7 T152 1")) << all;
    }
}

// A rule may carry id 0; walking positions past the rule count would list it again and again.
TEST_F(CReportPrinterTest, RuleListsHoldEachRuleOnce) {
    b.panel(1);
    select({1});
    b.rule(0, 1, RuleSide{0, 1, 0, 0, 0, 0, 0, 1}, RuleSide{0, 1, 0, 0, 0, 0, 0, 1});
    b.rule(9, 2, RuleSide{0, 1, 0, 0, 0, 0, 0, 1}, RuleSide{0, 1, 0, 0, 0, 0, 0, 1});
    const std::string all = joined(pages(only(&S::eventAction)));
    EXPECT_EQ(ReportPdfText::count(all, "T107 0"), 1) << all;
    EXPECT_EQ(ReportPdfText::count(all, "T107 9"), 1) << all;
}

TEST_F(CReportPrinterTest, UnknownKindsAndTypesShowTheirNumbers) {
    b.panel(1).loop(1).element(3, 42);
    select({1});
    b.rule(1, 0, RuleSide{77, 1, 0, 0, 0, 0, 0, 1}, RuleSide{1, 1, 0, 0, 0, 0, 0, 0});
    const std::string all = joined(pages(S{false, true, false, true, false}));
    EXPECT_TRUE(ReportPdfText::has(all, "T24 42")) << all;
    EXPECT_TRUE(ReportPdfText::has(all, "77 T151 1")) << all;
}

}  // namespace
