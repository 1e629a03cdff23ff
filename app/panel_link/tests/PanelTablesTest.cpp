// The page cache and table operations against the virtual panel.
#include <gtest/gtest.h>

#include "panel_link/CPanelLink.h"
#include "virtual_panel/CVirtualUsbBus.h"

namespace {

struct Tables : ::testing::Test {
    std::shared_ptr<CVirtualUsbBus> bus = std::make_shared<CVirtualUsbBus>();
    CPanelLink link{bus};
    CVirtualPanel& panel() { return bus->panel(); }
    CVirtualPanelState::Page page(std::uint16_t n) { return panel().state().page(n); }

    void SetUp() override {
        ASSERT_TRUE(link.prepareDevice());
        bus->setRecording(true);
    }
    // Page numbers of the page writes in the transcript, in order.
    std::vector<int> writtenPages() {
        std::vector<int> pages;
        for (const auto& t : bus->transcript())
            if (t.out && t.data.size() == 259) pages.push_back(t.data[1] << 8 | t.data[2]);
        return pages;
    }
};

CElementRecord element(std::uint8_t generic, const char* text, std::uint8_t zone, std::uint8_t type) {
    CElementRecord r;
    r.genericType = generic;
    r.description = text;
    r.zoneIndex = zone;
    r.type = type;
    return r;
}

TEST_F(Tables, ZonesAreWrittenOncePerPageInAscendingOrder) {
    ASSERT_TRUE(link.beginZoneWrite());
    for (int z = 0; z < 250; ++z) ASSERT_TRUE(link.writeZone(z, {"Zone " + std::to_string(z + 1)}));
    ASSERT_TRUE(link.endZoneWrite());
    const std::vector<int> pages = writtenPages();
    ASSERT_EQ(pages.size(), 32u);
    for (int i = 0; i < 32; ++i) EXPECT_EQ(pages[static_cast<std::size_t>(i)], 0x0120 + i);
    EXPECT_EQ(page(0x0120 + 249 / 8)[249 % 8 * 32 + 1], 'Z');
    // Records 250 to 255 of the last page are zero, not copies of the page before.
    EXPECT_EQ(page(0x013F)[2 * 32 + 1], 0);
}

TEST_F(Tables, ZonesReadBackThroughTheCache) {
    ASSERT_TRUE(link.beginZoneWrite());
    for (int z = 0; z < 250; ++z) link.writeZone(z, {"Z" + std::to_string(z)});
    ASSERT_TRUE(link.endZoneWrite());
    const int readsBefore = panel().pageReads();
    ASSERT_TRUE(link.beginZoneRead());
    for (int z = 0; z < 250; ++z) {
        CZoneRecord r;
        ASSERT_TRUE(link.readZone(z, r));
        EXPECT_EQ(r.description, "Z" + std::to_string(z));
    }
    EXPECT_EQ(panel().pageReads() - readsBefore, 32);
    CZoneRecord r;
    EXPECT_FALSE(link.readZone(250, r));
}

TEST_F(Tables, ALoopWithoutElementsStillFillsItsThirtyTwoPages) {
    ASSERT_TRUE(link.beginElementWrite());
    for (int l = 0; l < 8; ++l)
        for (int a = 0; a < 250; ++a)
            ASSERT_TRUE(link.writeElement(l, a, l == 2 && a == 4 ? element(5, "Siren", 3, 5) : CElementRecord()));
    ASSERT_TRUE(link.endElementWrite());
    EXPECT_EQ(writtenPages().size(), 256u);
    for (std::uint16_t p = 0x01A0 + 32 * 7; p < 0x01A0 + 32 * 8; ++p)
        for (int r = 0; r < 8; ++r) {
            EXPECT_EQ(page(p)[r * 32], 0);
            EXPECT_EQ(page(p)[r * 32 + 27], 1) << "empty records carry byte 27 = 1";
        }
    const auto siren = page(0x01A0 + 32 * 2);
    EXPECT_EQ(siren[4 * 32], 5);
    EXPECT_EQ(siren[4 * 32 + 25], 3);
    EXPECT_EQ(siren[4 * 32 + 29], 5);
}

TEST_F(Tables, ElementIndexesOutOfRangeFailWithoutSending) {
    ASSERT_TRUE(link.beginElementWrite());
    EXPECT_FALSE(link.writeElement(8, 0, CElementRecord()));
    EXPECT_FALSE(link.writeElement(0, 250, CElementRecord()));
    EXPECT_FALSE(link.writeElement(-1, 0, CElementRecord()));
    EXPECT_TRUE(writtenPages().empty());
    EXPECT_FALSE(link.failed());
}

TEST_F(Tables, ElementsReadBackAcrossLoops) {
    ASSERT_TRUE(link.beginElementWrite());
    for (int l = 0; l < 8; ++l)
        for (int a = 0; a < 250; ++a) link.writeElement(l, a, a == l ? element(1, "Det", 7, 1) : CElementRecord());
    ASSERT_TRUE(link.endElementWrite());
    ASSERT_TRUE(link.beginElementRead());
    int elements = 0;
    for (int l = 0; l < 8; ++l)
        for (int a = 0; a < 250; ++a) {
            CElementRecord r;
            ASSERT_TRUE(link.readElement(l, a, r));
            if (r.isElement()) {
                ++elements;
                EXPECT_EQ(a, l);
                EXPECT_EQ(r.zoneIndex, 7);
            }
        }
    EXPECT_EQ(elements, 8);
}

TEST_F(Tables, EventActionGroupsGoToOneEventAndTwoActionPages) {
    ASSERT_TRUE(link.beginEventActionWrite());
    for (int i = 0; i < 33; ++i) {
        CEventRecord e{{CRecordItem::kZone, static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i), 0}, 3};
        CActionRecord a{{CRecordItem::kPanel, 0, 0, 0}, 0, static_cast<std::uint16_t>(300 + i), 9};
        ASSERT_TRUE(link.writeEventAction(i, e, a));
    }
    ASSERT_TRUE(link.endEventActionWrite());
    EXPECT_EQ(writtenPages(), (std::vector<int>{0x03A0, 0x03E0, 0x03E1, 0x03A1, 0x03E2, 0x03E3}));
    EXPECT_EQ(page(0x03E0)[2], 0x01);
    EXPECT_EQ(page(0x03E0)[3], 0x2C);
    EXPECT_EQ(page(0x03A1)[8], 0) << "entry 33 ends the list";

    ASSERT_TRUE(link.beginEventActionRead());
    CEventRecord e;
    CActionRecord a;
    for (int i = 0; i < 33; ++i) {
        ASSERT_TRUE(link.readNextEventAction(e, a));
        EXPECT_EQ(e.item.first, i);
        EXPECT_EQ(a.delay, 300 + i);
    }
    ASSERT_TRUE(link.readNextEventAction(e, a));
    EXPECT_EQ(e.item.kind, 0);
}

TEST_F(Tables, EventActionTableEndsAfter2048Entries) {
    ASSERT_TRUE(link.beginEventActionWrite());
    EXPECT_FALSE(link.writeEventAction(2048, {}, {}));
    EXPECT_TRUE(link.writeEventAction(2047, {{1, 0, 0, 0}, 1}, {{1, 0, 0, 0}, 0, 0, 1}));
    ASSERT_TRUE(link.endEventActionWrite());
    ASSERT_TRUE(link.beginEventActionRead());
    CEventRecord e;
    CActionRecord a;
    for (int i = 0; i < 2048; ++i) ASSERT_TRUE(link.readNextEventAction(e, a));
    EXPECT_EQ(e.item.kind, 1);
    EXPECT_FALSE(link.readNextEventAction(e, a));
}

TEST_F(Tables, SettingsPageIsWrittenBackOnlyWhenTheAddressChanged) {
    panel().state().setAddress(12);
    ASSERT_TRUE(link.readSettingsPage());
    EXPECT_EQ(link.getPanelAddressByte(), 12);
    ASSERT_TRUE(link.commitSettingsPage());
    EXPECT_TRUE(writtenPages().empty());
    EXPECT_EQ(link.getPanelAddressByte(), -1) << "the cache is freed";

    CVirtualPanelState::Page settings = page(4);
    settings[77] = 0x5A;
    panel().state().setPage(4, settings);
    ASSERT_TRUE(link.readSettingsPage());
    ASSERT_TRUE(link.setPanelAddressByte(40));
    ASSERT_TRUE(link.commitSettingsPage());
    EXPECT_EQ(writtenPages(), std::vector<int>{4});
    EXPECT_EQ(page(4)[0], 40);
    EXPECT_EQ(page(4)[77], 0x5A) << "the other bytes are kept as read";
    EXPECT_FALSE(link.commitSettingsPage()) << "nothing read";
}

TEST_F(Tables, SystemInfoFillsPageFiveAndZeroesTheRest) {
    CVirtualPanelState::Page junk;
    junk.fill(0xEE);
    panel().state().setPage(5, junk);
    ASSERT_TRUE(link.writeSystemInfo(CSystemInfoRecord{std::string(40, 'L'), "Ana", "555"}));
    const auto p = page(5);
    EXPECT_EQ(p[31], 'L');
    EXPECT_EQ(p[32], 'A');
    EXPECT_EQ(p[95], 0);
    EXPECT_EQ(p[255], 0);
    CSystemInfoRecord back;
    ASSERT_TRUE(link.readSystemInfo(back));
    EXPECT_EQ(back.label, std::string(32, 'L'));
    EXPECT_EQ(back.installer, "Ana");
    EXPECT_EQ(back.phone, "555");
}

TEST_F(Tables, OneTableAtATimeAndRecordsOnlyAfterTheirBegin) {
    EXPECT_FALSE(link.writeZone(0, {}));
    ASSERT_TRUE(link.beginZoneWrite());
    EXPECT_FALSE(link.beginElementRead()) << "a pending zone page must not be dropped";
    EXPECT_FALSE(link.writeElement(0, 0, {}));
    EXPECT_TRUE(link.endZoneWrite());
    EXPECT_FALSE(link.endZoneWrite());
    EXPECT_TRUE(link.beginElementRead());
    EXPECT_TRUE(link.beginZoneRead()) << "a read cache may simply be replaced";
}

}  // namespace
