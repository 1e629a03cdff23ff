// Record layouts, byte for byte, in both directions.
#include <gtest/gtest.h>

#include <array>

#include "panel_link/CElementRecord.h"
#include "panel_link/CEventActionRecord.h"
#include "panel_link/CSystemInfoRecord.h"
#include "panel_link/CZoneRecord.h"

namespace {

template <int N>
std::array<std::uint8_t, N> bytesOf(const auto& record) {
    std::array<std::uint8_t, N> out;
    out.fill(0xCC);
    record.encode(out.data());
    return out;
}

TEST(PanelRecords, DescriptionsUseTwentyFourBytesWithoutTerminatorWhenFull) {
    struct Case {
        std::string text, stored;
    } cases[] = {{"", ""}, {"Hall", "Hall"}, {std::string(24, 'x'), std::string(24, 'x')},
                 {std::string(25, 'y'), std::string(24, 'y')}};
    for (const auto& c : cases) {
        const auto zone = bytesOf<32>(CZoneRecord{c.text});
        EXPECT_EQ(zone[0], 0);
        EXPECT_EQ(zone[25], 0) << "a full description must not spill past byte 24";
        EXPECT_EQ(zone[30], 0);
        CZoneRecord back;
        ASSERT_TRUE(CZoneRecord::decode(zone.data(), 32, back));
        EXPECT_EQ(back.description, c.stored);

        CElementRecord e;
        e.genericType = 1;
        e.description = c.text;
        e.zoneIndex = 249;
        const auto el = bytesOf<32>(e);
        EXPECT_EQ(el[25], 249);
        CElementRecord eb;
        ASSERT_TRUE(CElementRecord::decode(el.data(), 32, eb));
        EXPECT_EQ(eb.description, c.stored);
    }
}

TEST(PanelRecords, DescriptionStopsAtTheFirstNulAndKeepsHighBytes) {
    std::array<std::uint8_t, 32> raw{};
    const char text[] = "Caf\xE9\0tail";
    std::copy(text, text + sizeof text - 1, raw.begin() + 1);
    CZoneRecord z;
    ASSERT_TRUE(CZoneRecord::decode(raw.data(), 32, z));
    EXPECT_EQ(z.description, "Caf\xE9");
}

TEST(PanelRecords, ElementPacksTypeAndCompositeModeIntoByte29) {
    CElementRecord e;
    e.genericType = 6;
    e.description = "Module";
    e.zoneIndex = 4;
    e.type = 13;
    e.compositeMode = 2;
    const auto b = bytesOf<32>(e);
    EXPECT_EQ(b[0], 6);
    EXPECT_EQ(b[26], 0);
    EXPECT_EQ(b[27], 1);
    EXPECT_EQ(b[28], 0);
    EXPECT_EQ(b[29], 13 + 64 * 2);
    CElementRecord back;
    ASSERT_TRUE(CElementRecord::decode(b.data(), 32, back));
    EXPECT_EQ(back.type, 13);
    EXPECT_EQ(back.compositeMode, 2);
    EXPECT_TRUE(back.isElement());

    const auto empty = bytesOf<32>(CElementRecord());
    std::array<std::uint8_t, 32> expected{};
    expected[27] = 1;
    EXPECT_EQ(empty, expected);
}

TEST(PanelRecords, OnlyRecordsWithAGenericTypeAndRealTypeBitsAreElements) {
    struct Case {
        std::uint8_t byte0, byte29;
        bool element;
    } cases[] = {{0, 1, false}, {1, 1, true}, {0xFF, 0xFF, false}, {8, 0x3F, false}, {8, 0x7F, false}, {8, 0x45, true}};
    for (const auto& c : cases) {
        std::array<std::uint8_t, 32> raw{};
        raw[0] = c.byte0;
        raw[29] = c.byte29;
        CElementRecord r;
        ASSERT_TRUE(CElementRecord::decode(raw.data(), 32, r));
        EXPECT_EQ(r.isElement(), c.element) << int(c.byte0) << "/" << int(c.byte29);
    }
}

TEST(PanelRecords, EventAndActionLayouts) {
    const CEventRecord event{{CRecordItem::kElement, 2, 41, 5}, 17};
    EXPECT_EQ(bytesOf<8>(event), (std::array<std::uint8_t, 8>{5, 0, 17, 0, 2, 41, 5, 0}));
    const CActionRecord action{{CRecordItem::kZone, 3, 9, 0}, 4, 300, 11};
    EXPECT_EQ(bytesOf<16>(action),
              (std::array<std::uint8_t, 16>{4, 4, 0x01, 0x2C, 11, 0, 0, 0, 0, 0, 0, 0, 3, 9, 0, 0}));
    CEventRecord e;
    CActionRecord a;
    ASSERT_TRUE(CEventRecord::decode(bytesOf<8>(event).data(), 8, e));
    ASSERT_TRUE(CActionRecord::decode(bytesOf<16>(action).data(), 16, a));
    EXPECT_EQ(e, event);
    EXPECT_EQ(a, action);
    EXPECT_EQ(a.delay, 300);
}

TEST(PanelRecords, SystemInfoFieldsAreThirtyTwoBytesEach) {
    const CSystemInfoRecord info{std::string(32, 'L'), "Installer", std::string(40, '9')};
    const auto b = bytesOf<96>(info);
    EXPECT_EQ(b[31], 'L');
    EXPECT_EQ(b[32], 'I');
    EXPECT_EQ(b[41], 0);
    EXPECT_EQ(b[95], '9');
    CSystemInfoRecord back;
    ASSERT_TRUE(CSystemInfoRecord::decode(b.data(), 96, back));
    EXPECT_EQ(back.label, std::string(32, 'L'));
    EXPECT_EQ(back.installer, "Installer");
    EXPECT_EQ(back.phone, std::string(32, '9'));
}

TEST(PanelRecords, DecodersRefuseShortInput) {
    std::uint8_t raw[96] = {};
    CZoneRecord z;
    CElementRecord el;
    CEventRecord e;
    CActionRecord a;
    CSystemInfoRecord s;
    EXPECT_FALSE(CZoneRecord::decode(raw, 31, z));
    EXPECT_FALSE(CElementRecord::decode(raw, 31, el));
    EXPECT_FALSE(CEventRecord::decode(raw, 7, e));
    EXPECT_FALSE(CActionRecord::decode(raw, 15, a));
    EXPECT_FALSE(CSystemInfoRecord::decode(raw, 95, s));
    EXPECT_FALSE(CZoneRecord::decode(nullptr, 32, z));
}

}  // namespace
