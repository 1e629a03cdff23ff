#include <gtest/gtest.h>

#include "FacilityBuilder.h"
#include "model/CFacilityDiff.h"
#include "model/CFacilityManager.h"
#include "basalt/KvUtf.h"

namespace {

// Two facilities built alike: a panel with two loops, zones and two rules.
class CFacilityDiffTest : public ::testing::Test {
protected:
    static void base(CFacilityManager& m) {
        FacilityBuilder b(m);
        b.panel(1).details(u"Ann", u"555-1", u"").loop(1).element(1, 1, 1).element(2, 3, 2).loop(2).element(7, 2, 1);
        b.zones(3);
        b.panel(2).loop(1).element(1, 1, 1).zones(1);
        rules(b, 10);
    }
    static void rules(FacilityBuilder& b, int firstId) {
        b.rule(firstId, 5, RuleSide{1, 1, 1, 1, 0, 0, 0, 5}, RuleSide{2, 1, 0, 0, 2, 0, 0, 4});
        b.rule(firstId + 1, 0, RuleSide{1, 2, 1, 1, 0, 0, 0, 5}, RuleSide{3, 1, 2, 7, 0, 0, 0, 5});
    }
    CFacilityDiff diff(int panel = 0) const { return CFacilityDiff::compare(a.facility(), b.facility(), panel); }
    static std::string json(const CFacilityDiff& d) {
        JsonDocument doc;
        d.toJson(doc);
        KvString text;
        doc.CreateJsonCode(text);
        return text.c_str();
    }

    CFacilityManager a, b;
};

TEST_F(CFacilityDiffTest, EqualFacilitiesHaveNoChanges) {
    base(a);
    base(b);
    const CFacilityDiff d = diff();
    EXPECT_TRUE(d.empty());
    EXPECT_EQ(json(d), R"({"equal": true,"changes": []})");
}

TEST_F(CFacilityDiffTest, OneElementsZoneInWordsAndJson) {
    base(a);
    base(b);
    b.addElementToZone(1, 2, 7, 3);
    const CFacilityDiff d = diff();
    ASSERT_EQ(d.lines(), (std::vector<std::string>{"panel 1, loop 2, element 7 changed: zone 1 -> 3"}));
    EXPECT_EQ(json(d), R"({"equal": false,"changes": [{"subject": "element","change": "changed","panel": 1,"loop": 2,)"
                       R"("element": 7,"fields": [{"name": "zone","before": 1,"after": 3}]}]})");
}

TEST_F(CFacilityDiffTest, RenumberedRulesAreNoChangeButTheirContentIs) {
    base(a);
    FacilityBuilder bb(b);
    bb.panel(1).details(u"Ann", u"555-1", u"").loop(1).element(1, 1, 1).element(2, 3, 2).loop(2).element(7, 2, 1);
    bb.zones(3);
    bb.panel(2).loop(1).element(1, 1, 1).zones(1);
    // Same rules, new ids, in the other order.
    bb.rule(31, 0, RuleSide{1, 2, 1, 1, 0, 0, 0, 5}, RuleSide{3, 1, 2, 7, 0, 0, 0, 5});
    bb.rule(30, 5, RuleSide{1, 1, 1, 1, 0, 0, 0, 5}, RuleSide{2, 1, 0, 0, 2, 0, 0, 4});
    EXPECT_TRUE(diff().empty()) << diff().lines().front();

    // A renumbered rule with a new delay is still paired with its old self.
    b.setEventActionDelay(30, 9);
    EXPECT_EQ(diff().lines(), (std::vector<std::string>{"rule 10 (now 30) changed: delay 5 -> 9"}));
    EXPECT_NE(json(diff()).find(R"({"subject": "rule","change": "changed","rule": 10,"newRule": 30,"fields": [)"
                                R"({"name": "delay","before": 5,"after": 9}]})"),
              std::string::npos)
        << json(diff());
}

TEST_F(CFacilityDiffTest, RulesAddedRemovedAndChangedInTheirSides) {
    base(a);
    base(b);
    b.delEventActionItem(11);
    FacilityBuilder(b).rule(12, 1, RuleSide{1, 1, 1, 2, 0, 0, 0, 5}, RuleSide{2, 2, 0, 0, 1, 0, 0, 4});
    EXPECT_EQ(diff().lines(),
              (std::vector<std::string>{
                  "rule 11 removed: input kind 1, panel 2, loop 1, element 1, output kind 3, panel 1, loop 2, "
                  "element 7, delay 0",
                  "rule 12 added: input kind 1, panel 1, loop 1, element 2, output kind 2, panel 2, zone 1, delay 1"}));
    // Only the rules whose input lies in panel 2.
    EXPECT_EQ(diff(2).lines().size(), 1u);
}

TEST_F(CFacilityDiffTest, PanelRemovedAndChangedCountsItsContents) {
    base(a);
    FacilityBuilder bb(b);
    bb.panel(1, 9, u"Hall").details(u"Bob", u"555-1", u"").loop(1).element(1, 1, 1).element(2, 3, 2);
    bb.loop(2).element(7, 2, 1).zones(3);
    rules(bb, 10);
    b.delEventActionItem(11);  // its input was in panel 2
    const auto lines = diff().lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], R"(panel 1 changed: address 1 -> 9, label "Panel 1" -> "Hall", installer "Ann" -> "Bob")");
    EXPECT_EQ(lines[1], R"(panel 2 removed with 1 loop, 1 element: address 2, label "Panel 2", installer "", phone "")");
    EXPECT_EQ(lines[2].rfind("rule 11 removed", 0), 0u);
    EXPECT_NE(json(diff()).find(R"({"subject": "panel","change": "removed","panel": 2,"loops": 1,"elements": 1,)"),
              std::string::npos);
    // Restricted to panel 2, panel 1's changes are not shown.
    EXPECT_EQ(diff(2).lines().size(), 2u);
}

TEST_F(CFacilityDiffTest, LoopAddedWithItsElementsAndZoneTexts) {
    base(a);
    base(b);
    FacilityBuilder(b).panel(3).loop(1);  // a panel that a shows nothing of
    b.addLoopToPanel(1, 4);
    for (int address : {1, 2, 3}) b.addElementToLoop(1, 4, address, 1, 2, u"Smoke", nullptr);
    b.setZoneDescription(2, u"Kitchen");
    const auto lines = diff().lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "panel 1, loop 4 added with 3 elements");
    EXPECT_EQ(lines[1], R"(panel 1, zone 2 changed: description "Zone 2" -> "Kitchen")");
    EXPECT_EQ(lines[2].rfind("panel 3 added with 1 loop, 0 elements: address 3", 0), 0u);
    EXPECT_NE(json(diff()).find(R"({"subject": "loop","change": "added","panel": 1,"loop": 4,"elements": 3,"fields": []})"),
              std::string::npos);
}

TEST_F(CFacilityDiffTest, ElementAddedRemovedAndRetyped) {
    base(a);
    base(b);
    b.delElementFromLoop(1, 1, 2);
    FacilityBuilder(b).panel(2);
    b.addElementToLoop(2, 1, 9, 4, 0, u"Bell", u"By the door");
    b.setElementDescription(1, 1, 1, u"Lobby");
    const auto lines = diff().lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], R"(panel 1, loop 1, element 1 changed: description "Element 1" -> "Lobby")");
    EXPECT_EQ(lines[1], R"(panel 1, loop 1, element 2 removed: type 3, description "Element 2", zone 2)");
    EXPECT_EQ(lines[2], R"(panel 2, loop 1, element 9 added: type 4, description "By the door", zone 0)");
}

TEST_F(CFacilityDiffTest, QuoteShowsTextsFromTheFile) {
    base(a);
    base(b);
    b.setPanelPhone(1, u"1\n2");
    CDiffWords words;
    words.quote = [](const KvWString&) { return std::string("<t>"); };
    EXPECT_EQ(diff().lines(words), (std::vector<std::string>{"panel 1 changed: phone <t> -> <t>"}));
}

// Every word of a line comes from the words table, in the order its patterns put them: the
// program's languages need nothing of the English.
TEST_F(CFacilityDiffTest, WordsTableGivesEveryWordOfALine) {
    base(a);
    base(b);
    b.addElementToZone(1, 2, 7, 3);
    b.delEventActionItem(11);
    FacilityBuilder(b).panel(3).loop(1).element(1, 2, 1);
    FacilityBuilder(b).rule(12, 1, RuleSide{1, 1, 1, 2, 0, 0, 0, 5}, RuleSide{2, 2, 0, 0, 1, 0, 0, 4});
    CDiffWords w;
    w.panel = "P%s";
    w.element = "P%s L%s E%s";
    w.rule = "R%s";
    w.added = "new %s";
    w.removed = "%s gone";
    w.changed = "%s differs";
    w.withContents = "%s [%s]";
    w.oneLoop = "%s l";
    w.elements = "%s e";
    w.oneElement = "%s e1";
    w.listSeparator = "; ";
    w.withFields = "%s | %s";
    w.field = "%s=%s";
    w.change = "%s~%s";
    w.fieldNames = {{"zone", "Z"}, {"delay", "D"}};
    w.quote = [](const KvWString& text) { return "'" + std::string(ToUtf8(text.c_str()).c_str()) + "'"; };
    w.number = [](const std::string& field, int value) { return (field == "type" ? "t" : "") + std::to_string(value); };
    w.side = [](const CEventActionSide& side, bool input) {
        return (input ? "in" : "out") + std::to_string(side.type) + "@" + std::to_string(side.panel);
    };
    EXPECT_EQ(diff().lines(w),
              (std::vector<std::string>{
                  "P1 L2 E7 differs | Z=1~3",
                  "new P3 [1 l; 1 e1] | address=3; label='Panel 3'; installer=''; phone=''",
                  "R11 gone | input=in1@2; output=out3@1; D=0",
                  "new R12 | input=in1@1; output=out2@2; D=1"}));
}

}  // namespace
