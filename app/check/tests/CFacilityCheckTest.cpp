#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FacilityBuilder.h"
#include "basalt/KvStringTableFile.h"
#include "check/CCheckWords.h"
#include "check/CFacilityCheck.h"
#include "model/CEventActionSide.h"

namespace {

using Item = CCheckFinding::Item;

constexpr int kOutput = 8;

// Every finding is one of the sentences the program words in its own language.
void expectWorded(const CCheckFinding& f) {
    EXPECT_EQ(CCheckWords::english().sentences.count(f.wording), 1u) << f.wording;
    EXPECT_EQ(f.code, f.wording.substr(0, f.wording.find('/')));
}

// Panel 1: an input (element 1) that drives an output (element 2), both in zone 1.
void sound(CFacilityManager& m) {
    FacilityBuilder(m).panel(1).loop(1).element(1, 1, 1).element(2, 1, 1).zones(2);
    m.setElementGenericType(1, 1, 1, 1);
    m.setElementGenericType(1, 1, 2, kOutput);
    FacilityBuilder(m).rule(1, 0, RuleSide{1, 1, 1, 1, 0, 0, 0, kItemElement},
                            RuleSide{2, 1, 1, 2, 0, 0, 0, kItemElement});
}

std::vector<CCheckFinding> with(const std::vector<CCheckFinding>& all, const std::string& code) {
    std::vector<CCheckFinding> out;
    for (const CCheckFinding& f : all) {
        expectWorded(f);
        if (f.code == code) out.push_back(f);
    }
    return out;
}

std::vector<std::string> codes(const std::vector<CCheckFinding>& all) {
    std::vector<std::string> out;
    for (const CCheckFinding& f : all) {
        expectWorded(f);
        out.push_back(f.code);
    }
    return out;
}

}  // namespace

TEST(FacilityCheck, SoundFacilityHasNoFindings) {
    CFacilityManager m;
    sound(m);
    EXPECT_TRUE(CFacilityCheck(m).run().empty()) << ::testing::PrintToString(codes(CFacilityCheck(m).run()));
    EXPECT_TRUE(CFacilityCheck(m).run(1).empty());
}

TEST(FacilityCheck, RuleSidesThatNameNothingOrMissingItemsAreErrorsOnTheRule) {
    CFacilityManager m;
    sound(m);
    m.addEventActionItem(2, 0);  // event side only: the action side names nothing
    m.addEventToEventActionItem(2, 1, 1, 1, 1, 0, 0, 0, kItemElement, 0);
    const RuleSide input{1, 1, 1, 1, 0, 0, 0, kItemElement};
    FacilityBuilder(m)
        .rule(3, 0, input, RuleSide{2, 9, 0, 0, 0, 0, 0, kItemPanel})
        .rule(4, 0, input, RuleSide{2, 1, 5, 0, 0, 0, 0, kItemLoop})
        .rule(5, 0, input, RuleSide{2, 1, 1, 99, 0, 0, 0, kItemElement})
        .rule(6, 0, input, RuleSide{2, 1, 0, 0, 77, 0, 0, kItemZone})
        .rule(7, 0, input, RuleSide{2, 1, 0, 0, 0, 1, 9, kItemPanelRange});
    const auto all = CFacilityCheck(m).run(1);
    EXPECT_TRUE(CFacilityCheck::hasErrors(all));
    const auto nothing = with(all, "rule-names-nothing");
    ASSERT_EQ(nothing.size(), 1u);
    EXPECT_EQ(nothing[0].item, Item::Rule);
    EXPECT_EQ(nothing[0].rule, 2);
    EXPECT_EQ(nothing[0].panel, 1);
    const auto missing = with(all, "rule-names-missing");
    ASSERT_EQ(missing.size(), 5u);
    EXPECT_NE(missing[0].text.find("panel 9"), std::string::npos);
    EXPECT_NE(missing[1].text.find("loop 5"), std::string::npos);
    EXPECT_NE(missing[2].text.find("element 99"), std::string::npos);
    EXPECT_NE(missing[3].text.find("zone 77"), std::string::npos);
    EXPECT_NE(missing[4].text.find("zone 9"), std::string::npos);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(missing[i].rule, 3 + i);
}

TEST(FacilityCheck, TooManyRulesForOnePanel) {
    CFacilityManager m;
    sound(m);
    const RuleSide in{1, 1, 1, 1, 0, 0, 0, kItemElement}, out{2, 1, 1, 2, 0, 0, 0, kItemElement};
    FacilityBuilder b(m);
    for (int r = 2; r <= 1024; ++r) b.rule(r, 0, in, out);
    EXPECT_FALSE(CFacilityCheck::hasErrors(CFacilityCheck(m).run()));  // exactly 1024 fit
    b.rule(1025, 0, in, out);
    auto all = CFacilityCheck(m).run();
    ASSERT_EQ(codes(all), std::vector<std::string>{"rules-per-panel"});
    EXPECT_EQ(all[0].item, Item::Panel);
    for (int r = 1026; r <= 2049; ++r) b.rule(r, 0, in, out);
    EXPECT_EQ(codes(CFacilityCheck(m).run()), std::vector<std::string>{"rules-per-upload"});
}

TEST(FacilityCheck, PanelAddressesOutOfRangeOrShared) {
    CFacilityManager m;
    sound(m);
    FacilityBuilder(m).panel(2, 0).panel(3, 256).panel(4, 1);
    const auto all = CFacilityCheck(m).run();
    const auto bad = with(all, "panel-address");
    ASSERT_EQ(bad.size(), 2u);
    EXPECT_EQ(bad[0].panel, 2);
    EXPECT_EQ(bad[1].panel, 3);
    const auto shared = with(all, "panel-address-shared");
    ASSERT_EQ(shared.size(), 1u);
    EXPECT_EQ(shared[0].panel, 4);
    EXPECT_NE(shared[0].text.find("panel 1"), std::string::npos);
    // Only the chosen panel's upload is checked.
    EXPECT_TRUE(CFacilityCheck(m).run(1).empty());
}

TEST(FacilityCheck, ValuesThatDoNotFitThePanelsRecords) {
    CFacilityManager m;
    sound(m);
    m.setEventActionDelay(1, 70000);
    FacilityBuilder(m).panel(1).loop(9).element(1, 1, 1);
    m.addElementToLoop(1, 1, 3, 1, 300, u"far", nullptr);
    m.setElementGenericType(1, 1, 3, 1);
    const auto fits = with(CFacilityCheck(m).run(), "value-does-not-fit");
    ASSERT_EQ(fits.size(), 3u);
    EXPECT_EQ(fits[0].item, Item::Element);
    EXPECT_EQ(fits[0].element, 3);
    EXPECT_EQ(fits[1].item, Item::Loop);
    EXPECT_EQ(fits[1].loop, 9);
    EXPECT_EQ(fits[2].item, Item::Rule);
    EXPECT_EQ(fits[2].rule, 1);
}

TEST(FacilityCheck, TextsTooLongOrNotShownAreWarnings) {
    CFacilityManager m;
    sound(m);
    m.setPanelLabel(1, u"A label much longer than thirty-two characters");
    m.setElementDescription(1, 1, 1, u"Hall \u20AC \U0001F525 \u20AC");
    const auto all = CFacilityCheck(m).run();
    EXPECT_FALSE(CFacilityCheck::hasErrors(all));
    const auto longer = with(all, "text-too-long");
    ASSERT_EQ(longer.size(), 1u);
    EXPECT_EQ(longer[0].item, Item::Panel);
    const auto odd = with(all, "text-not-shown");
    ASSERT_EQ(odd.size(), 1u);
    EXPECT_EQ(odd[0].item, Item::Element);
    // Each character once, a surrogate pair as one.
    EXPECT_NE(odd[0].text.find(": U+20AC, U+1F525"), std::string::npos) << odd[0].text;
}

TEST(FacilityCheck, ZonesElementsAndUnusedInputsAndOutputs) {
    CFacilityManager m;
    sound(m);
    KvWString fallback;
    m.setZoneDescription(1, KvLoadString(42, fallback));
    FacilityBuilder(m).panel(1).loop(1).element(3, 1, 0).element(4, 1, 2);
    m.setElementGenericType(1, 1, 3, 1);
    m.setElementGenericType(1, 1, 4, kOutput);
    const auto all = CFacilityCheck(m).run();
    EXPECT_FALSE(CFacilityCheck::hasErrors(all));
    const auto zone = with(all, "zone-default-description");
    ASSERT_EQ(zone.size(), 1u);
    EXPECT_EQ(zone[0].item, Item::Zone);
    EXPECT_EQ(zone[0].zone, 1);
    const auto noZone = with(all, "element-without-zone");
    ASSERT_EQ(noZone.size(), 1u);
    EXPECT_EQ(noZone[0].element, 3);
    ASSERT_EQ(with(all, "input-without-rule").size(), 1u);
    EXPECT_EQ(with(all, "input-without-rule")[0].element, 3);
    ASSERT_EQ(with(all, "output-without-rule").size(), 1u);
    EXPECT_EQ(with(all, "output-without-rule")[0].element, 4);
    // A zone-wide action drives the output in that zone.
    FacilityBuilder(m).rule(2, 0, RuleSide{1, 1, 1, 1, 0, 0, 0, kItemElement},
                            RuleSide{2, 1, 0, 0, 0, 2, 2, kItemPanelRange});
    EXPECT_TRUE(with(CFacilityCheck(m).run(), "output-without-rule").empty());
}

TEST(FacilityCheck, WhatASaveDrops) {
    CFacilityManager m;
    sound(m);
    FacilityBuilder(m).panel(129, 7).panel(2).loop(1).zones(1);
    m.setZoneDescription(1, u"Kitchen");  // panel 1's zone 1; panel 2 keeps "Zone 1"
    const auto all = CFacilityCheck(m).run();
    const auto dropped = with(all, "save-drops-panel");
    ASSERT_EQ(dropped.size(), 1u);
    EXPECT_EQ(dropped[0].panel, 129);
    const auto hidden = with(all, "zone-description-hidden");
    ASSERT_EQ(hidden.size(), 1u);
    EXPECT_EQ(hidden[0].panel, 2);
    EXPECT_EQ(hidden[0].zone, 1);
}
