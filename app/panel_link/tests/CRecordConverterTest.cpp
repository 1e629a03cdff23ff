// Conversions between the model and the panel's records, both directions,
// and a whole panel taken through the virtual panel and back.
#include "panel_link/CRecordConverter.h"

#include <gtest/gtest.h>

#include "FacilityBuilder.h"
#include "TestStrings.h"
#include "panel_link/CPanelLink.h"
#include "virtual_panel/CVirtualUsbBus.h"

namespace {

struct Converter : ::testing::Test {
    CFacilityManager model;
    CRecordConverter convert{model};
    FacilityBuilder build{model};
    static void SetUpTestSuite() { ASSERT_TRUE(TestStrings::install()); }
};

// ---------------------------------------------------------------- upload

TEST_F(Converter, ElementRecordCarriesTypeModeZoneAndTheFirst24Characters) {
    build.panel(1).loop(2).device(10, 12, 7);
    model.setElementDescription(1, 2, 10, u"A description of 26 chars");
    CElementRecord r;
    ASSERT_TRUE(convert.elementRecord(1, 2, 10, r));
    EXPECT_EQ(r.genericType, 6);
    EXPECT_EQ(r.type, 12);
    EXPECT_EQ(r.compositeMode, 1);
    EXPECT_EQ(r.zoneIndex, 6);
    EXPECT_EQ(r.description, "A description of 26 char");
    ASSERT_TRUE(convert.elementRecord(1, 2, 11, r));
    EXPECT_EQ(r.compositeMode, 3);
    EXPECT_EQ(r.genericType, 7);
}

TEST_F(Converter, MissingLoopMissingElementAndGenericZeroGiveEmptyRecords) {
    build.panel(1).loop(1).element(1, 1, 1);
    model.setElementGenericType(1, 1, 1, 0);
    const int cases[][2] = {{1, 1}, {1, 2}, {3, 1}};
    for (const auto& c : cases) {
        CElementRecord r;
        r.genericType = 9;
        ASSERT_TRUE(convert.elementRecord(1, c[0], c[1], r));
        EXPECT_FALSE(r.isElement()) << c[0] << "/" << c[1];
    }
}

TEST_F(Converter, ElementZonesOutsideTheTableAreRefusedNotWrapped) {
    build.panel(1).loop(1).element(1, 1, 0).element(2, 1, 251).element(3, 1, 250);
    CElementRecord r;
    ASSERT_TRUE(convert.elementRecord(1, 1, 1, r));
    EXPECT_EQ(r.zoneIndex, CRecordConverter::kNoZone);
    EXPECT_FALSE(convert.elementRecord(1, 1, 2, r));
    ASSERT_TRUE(convert.elementRecord(1, 1, 3, r));
    EXPECT_EQ(r.zoneIndex, 249);
}

TEST_F(Converter, ZoneRecordUsesTheSharedDescriptionOrText42) {
    build.panel(1).zones(2);
    model.setZoneDescription(2, u"Caf\u00e9 \u20ac and more than 24 chars");
    EXPECT_EQ(convert.zoneRecord(1, 1).description, "Zone 1");
    EXPECT_EQ(convert.zoneRecord(1, 2).description, "Caf\xE9 ? and more than 24 ");
    EXPECT_EQ(convert.zoneRecord(1, 3).description, "Zone") << "text 42";
}

// Another building's zone names never reach a panel that lacks those zones.
TEST_F(Converter, ZonesThePanelLacksGetText42) {
    build.panel(1).zones(3).panel(2);
    model.setZoneDescription(3, u"Boiler room");
    EXPECT_EQ(convert.zoneRecord(2, 1).description, "Zone") << "text 42";
    EXPECT_EQ(convert.zoneRecord(2, 3).description, "Zone") << "text 42";
    EXPECT_EQ(convert.zoneRecord(1, 3).description, "Boiler room");
}

struct RuleCase {
    const char* name;
    RuleSide in, out;
    CRecordItem event, action;
};

TEST_F(Converter, RuleSidesBecomeKindsAndOperands) {
    build.panel(1, 4).panel(2, 9);
    const RuleCase cases[] = {
        {"panel", {3, 1, 0, 0, 0, 0, 0, 1}, {5, 1, 0, 0, 0, 0, 0, 1}, {1, 0, 0, 0}, {1, 0, 0, 0}},
        {"loop", {3, 1, 6, 0, 0, 0, 0, 2}, {5, 1, 2, 0, 0, 0, 0, 2}, {2, 5, 5, 0}, {2, 1, 1, 0}},
        {"zone", {3, 1, 0, 0, 12, 0, 0, 4}, {5, 1, 0, 0, 1, 0, 0, 4}, {4, 11, 11, 0}, {4, 0, 0, 0}},
        {"element", {3, 1, 2, 40, 0, 0, 0, 5}, {5, 1, 8, 250, 0, 0, 0, 5}, {5, 1, 39, 3}, {5, 7, 249, 0}},  // the model makes the action side with the event side: element type 0
        {"range", {3, 1, 0, 0, 0, 5, 9, 6}, {5, 1, 0, 0, 0, 7, 7, 6}, {4, 4, 8, 0}, {4, 6, 6, 0}},
    };
    int id = 1;
    for (const RuleCase& c : cases) {
        build.rule(id, 300, c.in, c.out);
        CEventRecord e;
        CActionRecord a;
        ASSERT_EQ(convert.eventActionRecords(id, e, a), CRecordConverter::Refusal::None) << c.name;
        EXPECT_EQ(e.item, c.event) << c.name;
        EXPECT_EQ(a.item, c.action) << c.name;
        EXPECT_EQ(e.eventType, 3);
        EXPECT_EQ(a.actionType, 5);
        EXPECT_EQ(a.delay, 300);
        EXPECT_EQ(a.panelAddress, 0) << c.name << ": the action is in the rule's own panel";
        ++id;
    }
}

TEST_F(Converter, ActionByteOneNamesAnotherPanelByAddress) {
    build.panel(1, 4).panel(2, 9).panel(3, 4);
    build.rule(1, 0, {1, 1, 0, 0, 0, 0, 0, 1}, {2, 2, 0, 0, 0, 0, 0, 1});
    build.rule(2, 0, {1, 1, 0, 0, 0, 0, 0, 1}, {2, 3, 0, 0, 0, 0, 0, 1});
    CEventRecord e;
    CActionRecord a;
    ASSERT_EQ(convert.eventActionRecords(1, e, a), CRecordConverter::Refusal::None);
    EXPECT_EQ(a.panelAddress, 9);
    ASSERT_EQ(convert.eventActionRecords(2, e, a), CRecordConverter::Refusal::None);
    EXPECT_EQ(a.panelAddress, 0) << "same address as the input side's panel";
}

TEST_F(Converter, RulesThatCannotBeWrittenFaithfullyAreRefused) {
    using R = CRecordConverter::Refusal;
    build.panel(1);
    const RuleSide panel{1, 1, 0, 0, 0, 0, 0, 1};
    struct {
        RuleSide in, out;
        int delay;
        R expected;
    } cases[] = {
        {panel, {1, 1, 0, 0, 0, 0, 0, 0}, 0, R::NoItem},       // would end the rule list
        {{1, 1, 0, 0, 0, 0, 0, 0}, panel, 0, R::NoItem},
        {panel, {1, 7, 0, 0, 0, 0, 0, 1}, 0, R::UnknownPanel},  // would fall back to the local panel
        {panel, panel, 65536, R::OutOfRange},
        {panel, panel, -1, R::OutOfRange},
        {panel, {1, 1, 0, 0, 0, 0, 0, 4}, 0, R::OutOfRange},   // zone 0
        {panel, {1, 1, 300, 1, 0, 0, 0, 5}, 0, R::OutOfRange},  // loop 300
        {panel, panel, 65535, R::None},
    };
    int id = 1;
    for (const auto& c : cases) {
        build.rule(id, c.delay, c.in, c.out);
        CEventRecord e;
        CActionRecord a;
        EXPECT_EQ(convert.eventActionRecords(id, e, a), c.expected) << "rule " << id;
        ++id;
    }
    CEventRecord e;
    CActionRecord a;
    EXPECT_EQ(convert.eventActionRecords(99, e, a), R::NoItem) << "no such rule";
}

// ---------------------------------------------------------------- download

TEST_F(Converter, DownloadedElementsGetLabelsLoopsAndZones) {
    build.panel(5);
    CElementRecord r;
    r.genericType = 6;
    r.description = "Pulsador \xF1";
    r.zoneIndex = 3;
    r.type = 9;
    r.compositeMode = 1;
    EXPECT_EQ(convert.addElement(5, 2, 16, r), CRecordConverter::ElementResult::Added);
    EXPECT_EQ(model.getNumOfLoops(5), 1);
    EXPECT_EQ(model.getLoopAddress(5, 0), 3);
    EXPECT_EQ(*model.getElementLabel(5, 3, 17), KvWString(u"T45 17"));
    EXPECT_EQ(*model.getElementDescription(5, 3, 17), KvWString(u"Pulsador \u00f1"));
    EXPECT_EQ(model.getElementZone(5, 3, 17), 4);
    EXPECT_EQ(model.getElementType(5, 3, 17), 9);
    EXPECT_EQ(model.getElementCompositeMode(5, 3, 17), 1);
    EXPECT_EQ(model.getElementGenericType(5, 3, 17), 6);

    r.zoneIndex = CRecordConverter::kNoZone;
    EXPECT_EQ(convert.addElement(5, 2, 17, r), CRecordConverter::ElementResult::Added);
    EXPECT_EQ(model.getElementZone(5, 3, 18), 0);
    r.zoneIndex = 250;
    EXPECT_EQ(convert.addElement(5, 2, 18, r), CRecordConverter::ElementResult::BadZone);
    EXPECT_EQ(model.getNumberOfElementsInLoop(5, 3), 2);
    EXPECT_EQ(convert.addElement(5, 4, 0, CElementRecord()), CRecordConverter::ElementResult::Empty);
    EXPECT_EQ(model.getNumOfLoops(5), 1) << "no loop for empty records";
}

TEST_F(Converter, DownloadedRuleSidesAndTheSingleZoneRange) {
    build.panel(1, 4).panel(2, 9);
    struct {
        CRecordItem item;
        int itemType, loop, element, zone, begin, end;
    } cases[] = {{{1, 0, 0, 0}, 1, 0, 0, 0, 0, 0},   {{2, 3, 3, 0}, 2, 4, 0, 0, 0, 0},
                 {{5, 1, 39, 7}, 5, 2, 40, 0, 0, 0}, {{4, 6, 6, 0}, 4, 0, 0, 7, 0, 0},
                 {{4, 4, 8, 0}, 6, 0, 0, 0, 5, 9}};
    int id = 1;
    for (const auto& c : cases) {
        const CEventRecord e{c.item, 3};
        const CActionRecord a{c.item, 9, 300, 5};
        ASSERT_TRUE(convert.addEventAction(id, 1, 4, e, a));
        EXPECT_EQ(model.getEventActionInItemType(id), c.itemType) << id;
        EXPECT_EQ(model.getEventActionInLoop(id), c.loop) << id;
        EXPECT_EQ(model.getEventActionInElement(id), c.element) << id;
        EXPECT_EQ(model.getEventActionInZone(id), c.zone) << id;
        EXPECT_EQ(model.getEventActionInRange(id), std::make_pair(c.begin, c.end)) << id;
        EXPECT_EQ(model.getEventActionOutItemType(id), c.itemType) << id;
        EXPECT_EQ(model.getEventActionInPanel(id), 1);
        EXPECT_EQ(model.getEventActionOutPanel(id), 2) << "address 9 is panel 2";
        EXPECT_EQ(model.getEventActionDelay(id), 300);
        ++id;
    }
    EXPECT_FALSE(convert.addEventAction(1, 1, 4, {}, {})) << "ids are not reused";
}

TEST_F(Converter, ActionByteOneZeroOrOwnAddressMeansTheDownloadedPanel) {
    build.panel(1, 4);
    const CEventRecord e{{1, 0, 0, 0}, 1};
    ASSERT_TRUE(convert.addEventAction(1, 1, 4, e, {{1, 0, 0, 0}, 0, 0, 1}));
    ASSERT_TRUE(convert.addEventAction(2, 1, 4, e, {{1, 0, 0, 0}, 4, 0, 1}));
    EXPECT_EQ(model.getEventActionOutPanel(1), 1);
    EXPECT_EQ(model.getEventActionOutPanel(2), 1);
    EXPECT_EQ(model.getNumberOfPanels(), 1);
}

TEST_F(Converter, AnUnknownActionPanelBecomesAPlaceholder) {
    build.panel(1, 4);
    const CEventRecord e{{1, 0, 0, 0}, 1};
    ASSERT_TRUE(convert.addEventAction(1, 1, 4, e, {{5, 2, 30, 5}, 7, 10, 2}));
    ASSERT_EQ(model.getNumberOfPanels(), 2);
    EXPECT_EQ(model.getPanelAddress(7), 7);
    EXPECT_EQ(*model.getPanelLabel(7), KvWString(u"----"));
    EXPECT_EQ(model.getNumOfZones(7), 250);
    EXPECT_EQ(model.getElementType(7, 3, 31), 5);
    EXPECT_EQ(model.getElementGenericType(7, 3, 31), 8);
    EXPECT_EQ(model.getElementZone(7, 3, 31), 3);
    EXPECT_EQ(*model.getElementDescription(7, 3, 31), KvWString(u"----"));
    EXPECT_EQ(*model.getZoneDescription(3), KvWString(u"----"));
    EXPECT_EQ(model.getEventActionOutPanel(1), 7);
    EXPECT_EQ(model.getEventActionOutLoop(1), 3);

    ASSERT_TRUE(convert.addEventAction(2, 1, 4, e, {{1, 0, 0, 0}, 7, 0, 1}));
    EXPECT_EQ(model.getNumberOfPanels(), 2) << "the placeholder is found by its address";
}

TEST_F(Converter, PlaceholderNeverTakesAnIdThatIsInUse) {
    build.panel(1, 4).panel(7, 20);
    ASSERT_TRUE(convert.addEventAction(1, 1, 4, {{1, 0, 0, 0}, 1}, {{1, 0, 0, 0}, 7, 0, 1}));
    const int out = model.getEventActionOutPanel(1);
    EXPECT_NE(out, 7) << "panel 7 has address 20, not 7";
    EXPECT_EQ(model.getPanelAddress(out), 7);
    EXPECT_EQ(model.getPanelAddress(7), 20);
}

TEST_F(Converter, SystemInfoBothWays) {
    build.panel(1, 1, u"Planta baja \u00b7 norte").details(u"Inst", u"+34 600", u"");
    const CSystemInfoRecord info = convert.systemInfo(1);
    EXPECT_EQ(info.label, "Planta baja \xB7 norte");
    EXPECT_EQ(info.phone, "+34 600");
    ASSERT_TRUE(convert.applySystemInfo(1, CSystemInfoRecord{"", "Otro", "1"}));
    EXPECT_EQ(*model.getPanelLabel(1), KvWString(u"T290"));
    EXPECT_EQ(model.getPanelInstaller(1), KvWString(u"Otro"));
}

// ---------------------------------------------------------------- a whole panel through the virtual panel

void upload(CFacilityManager& m, CPanelLink& link, int panel) {
    CRecordConverter c(m);
    ASSERT_TRUE(link.beginElementWrite());
    for (int l = 1; l <= 8; ++l)
        for (int a = 1; a <= 250; ++a) {
            CElementRecord r;
            ASSERT_TRUE(c.elementRecord(panel, l, a, r));
            ASSERT_TRUE(link.writeElement(l - 1, a - 1, r));
        }
    ASSERT_TRUE(link.endElementWrite());
    ASSERT_TRUE(link.beginZoneWrite());
    for (int z = 1; z <= 250; ++z) ASSERT_TRUE(link.writeZone(z - 1, c.zoneRecord(1, z)));
    ASSERT_TRUE(link.endZoneWrite());
    ASSERT_TRUE(link.beginEventActionWrite());
    int entry = 0;
    for (int i = 0; i < m.getNumberOfEventActions(); ++i) {
        const int id = m.getEventActionId(i);
        if (id == 0 || m.getEventActionInPanel(id) != panel) continue;
        CEventRecord e;
        CActionRecord a;
        ASSERT_EQ(c.eventActionRecords(id, e, a), CRecordConverter::Refusal::None);
        ASSERT_TRUE(link.writeEventAction(entry++, e, a));
    }
    ASSERT_TRUE(link.endEventActionWrite());
    ASSERT_TRUE(link.writeSystemInfo(c.systemInfo(panel)));
}

void download(CFacilityManager& m, CPanelLink& link, int panel, int address) {
    CRecordConverter c(m);
    ASSERT_TRUE(m.addPanel(panel, address, u"new"));
    CSystemInfoRecord info;
    ASSERT_TRUE(link.readSystemInfo(info));
    c.applySystemInfo(panel, info);
    ASSERT_TRUE(link.beginZoneRead());
    for (int z = 0; z < 250; ++z) {
        CZoneRecord r;
        ASSERT_TRUE(link.readZone(z, r));
        c.addZone(panel, z, r);
    }
    ASSERT_TRUE(link.beginElementRead());
    for (int l = 0; l < 8; ++l)
        for (int a = 0; a < 250; ++a) {
            CElementRecord r;
            ASSERT_TRUE(link.readElement(l, a, r));
            ASSERT_NE(c.addElement(panel, l, a, r), CRecordConverter::ElementResult::BadZone);
        }
    ASSERT_TRUE(link.beginEventActionRead());
    for (int id = m.getFreeEventId(); id <= 1024; ++id) {
        CEventRecord e;
        CActionRecord a;
        ASSERT_TRUE(link.readNextEventAction(e, a));
        if (e.item.kind == 0 || a.item.kind == 0) break;
        c.addEventAction(id, panel, address, e, a);
    }
}

TEST_F(Converter, APanelComesBackAsItWasSent) {
    build.panel(1, 3, u"Nave 2").details(u"Instalador", u"555 0100", u"").zones(250);
    build.loop(1).device(1, 13, 1).element(5, 3, 250).element(250, 1, 0);
    build.loop(8).device(100, 12, 17);
    model.setElementDescription(1, 1, 5, u"Exactly twenty-four char");
    build.panel(2, 11);
    build.rule(1, 300, {4, 1, 0, 0, 3, 0, 0, 4}, {7, 1, 0, 0, 0, 0, 0, 1});
    build.rule(2, 0, {4, 1, 0, 0, 0, 4, 4, 6}, {7, 2, 8, 0, 0, 0, 0, 2});
    build.rule(3, 5, {4, 2, 0, 0, 0, 0, 0, 1}, {7, 1, 0, 0, 0, 0, 0, 1});  // another panel's rule
    build.rule(4, 65535, {4, 1, 1, 2, 0, 0, 0, 5}, {7, 1, 0, 0, 0, 10, 20, 6});

    auto bus = std::make_shared<CVirtualUsbBus>();
    CPanelLink link(bus);
    ASSERT_TRUE(link.prepareDevice());
    upload(model, link, 1);

    CFacilityManager back;
    FacilityBuilder(back).panel(2, 11);
    download(back, link, 1, 3);
    ASSERT_FALSE(link.failed());

    EXPECT_EQ(*back.getPanelLabel(1), KvWString(u"Nave 2"));
    EXPECT_EQ(back.getPanelPhone(1), KvWString(u"555 0100"));
    EXPECT_EQ(back.getNumOfZones(1), 250);
    EXPECT_EQ(back.getNumOfLoops(1), 2);
    for (int l : {1, 8})
        for (int a = 1; a <= 250; ++a) {
            EXPECT_EQ(back.getElementType(1, l, a), model.getElementType(1, l, a)) << l << "/" << a;
            EXPECT_EQ(back.getElementZone(1, l, a), model.getElementZone(1, l, a)) << l << "/" << a;
            EXPECT_EQ(back.getElementCompositeMode(1, l, a), model.getElementCompositeMode(1, l, a));
            EXPECT_EQ(back.getElementGenericType(1, l, a), model.getElementGenericType(1, l, a));
        }
    EXPECT_EQ(*back.getElementDescription(1, 1, 5), KvWString(u"Exactly twenty-four char"));
    EXPECT_EQ(back.getNumberEventsInPanel(), 3) << "rule 3 belongs to panel 2";
    EXPECT_EQ(back.getEventActionInItemType(1), 4);
    EXPECT_EQ(back.getEventActionDelay(1), 300);
    EXPECT_EQ(back.getEventActionInItemType(2), 4) << "a range 4..4 comes back as zone 4";
    EXPECT_EQ(back.getEventActionInZone(2), 4);
    EXPECT_EQ(back.getEventActionOutPanel(2), 2);
    EXPECT_EQ(back.getEventActionOutLoop(2), 8);
    EXPECT_EQ(back.getEventActionDelay(3), 65535);
    EXPECT_EQ(back.getEventActionOutRange(3), std::make_pair(10, 20));
    EXPECT_EQ(back.getEventActionInElement(3), 2);
}

}  // namespace
