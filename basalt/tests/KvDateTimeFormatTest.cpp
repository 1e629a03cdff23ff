#include <gtest/gtest.h>

#include "basalt/KvDateTimeFormat.h"

namespace {

TEST(KvDateTimeFormat, DigitFormsBothWidths) {
    const KvDateTime d(2024, 3, 5, 7, 8, 9, 123, 456);
    const struct { bool ms, us; const char* text; } cases[] = {
        {false, false, "05032024070809"},
        {true, false, "05032024070809123"},
        {true, true, "05032024070809123456"},
    };
    for (const auto& c : cases) {
        KvString narrow;
        KvWString wide;
        ASSERT_TRUE(DateTime2String(narrow, d, c.ms, c.us));
        ASSERT_TRUE(DateTime2String(wide, d, c.ms, c.us));
        EXPECT_EQ(KvString(c.text), narrow);
        EXPECT_EQ(narrow.Length(), wide.Length());
    }
    KvString text("stale");
    EXPECT_FALSE(DateTime2String(text, KvDateTime()));
    EXPECT_TRUE(text.IsEmpty());
}

TEST(KvDateTimeFormat, ReadingDigitFormsChecksEveryField) {
    KvDateTime d;
    ASSERT_TRUE(String2DateTime(d, "05032024070809"));
    EXPECT_EQ(KvDateTime(2024, 3, 5, 7, 8, 9), d);
    ASSERT_TRUE(String2DateTime(d, u"29022100235959999"));
    EXPECT_EQ(KvDateTime(2100, 2, 29, 23, 59, 59, 999), d);
    for (const char* bad : {"31022024000000", "29022023000000", "00012024000000", "01132024000000",
                            "01011998000000", "01012136000000", "01012024240000", "01012024006000",
                            "01012024000060", "0101202400000",  "010120240000001", "01012024000000123456",
                            "0101202400000x", "-1012024000000", ""}) {
        EXPECT_FALSE(String2DateTime(d, bad)) << bad;
        EXPECT_FALSE(d.Valid()) << bad;
    }
}

TEST(KvDateTimeFormat, ParseFillsMissingPartsForStartOrEnd) {
    const struct { const char* text; bool end; KvDateTime expected; } cases[] = {
        {"05032024", false, KvDateTime(2024, 3, 5)},
        {"05032024", true, KvDateTime(2024, 3, 5, 23, 59, 59, 999)},
        {"0503202407", true, KvDateTime(2024, 3, 5, 7, 59, 59, 999)},
        {"050320240708", false, KvDateTime(2024, 3, 5, 7, 8)},
        {"05032024070809", true, KvDateTime(2024, 3, 5, 7, 8, 9, 999)},
        {"05032024070809123", true, KvDateTime(2024, 3, 5, 7, 8, 9, 123)},
    };
    for (const auto& c : cases) {
        KvDateTime d;
        ASSERT_TRUE(ParseDateTime(c.text, d, c.end)) << c.text;
        EXPECT_EQ(c.expected, d) << c.text;
    }
    KvDateTime d;
    for (const char* bad : {"5032024", "050320240", "32032024", "05032024 7", static_cast<const char*>(nullptr)})
        EXPECT_FALSE(ParseDateTime(bad, d));
}

TEST(KvDateTimeFormat, Rfc822) {
    EXPECT_EQ(KvString("Tue, 05 Mar 2024 07:08:09 GMT"), DateTime2RFC822(KvDateTime(2024, 3, 5, 7, 8, 9)));
    EXPECT_EQ(KvString("Fri, 01 Jan 99 00:00:00 GMT"), DateTime2RFC822(KvDateTime(1999, 1, 1), false));
    EXPECT_EQ(KvString("Sun, 31 Dec 2000 23:59:59 GMT"), DateTime2RFC822(KvDateTime(2000, 12, 31, 23, 59, 59)));
    EXPECT_TRUE(DateTime2RFC822(KvDateTime()).IsEmpty());
}

TEST(KvDateTimeFormat, NearestBound) {
    const KvDateTime low(2024, 1, 1), high(2024, 1, 3);
    EXPECT_EQ(low, NearestDateTime(KvDateTime(2023, 6, 1), low, high));
    EXPECT_EQ(high, NearestDateTime(KvDateTime(2025, 6, 1), low, high));
    EXPECT_EQ(low, NearestDateTime(KvDateTime(2024, 1, 1, 23), low, high));
    EXPECT_EQ(high, NearestDateTime(KvDateTime(2024, 1, 2, 1), low, high));
    EXPECT_EQ(low, NearestDateTime(KvDateTime(2024, 1, 2), low, high));  // a tie goes to the earlier
    EXPECT_EQ(low, NearestDateTime(KvDateTime(2024, 1, 2), high, low));
}

TEST(KvDateTimeFormat, PackedDatesRoundTrip) {
    for (const KvDateTime& d : {KvDateTime(2000, 1, 1), KvDateTime(2024, 12, 31, 23, 59, 59), KvDateTime(2063, 2, 28, 1, 2, 3)}) {
        const std::uint32_t packed = toStdDate(d, 2000);
        ASSERT_NE(0u, packed);
        EXPECT_EQ(d, fromStdDate(packed, 2000));
    }
    EXPECT_EQ(0x00420000u, toStdDate(KvDateTime(2000, 1, 1), 2000));  // month 1 at bit 22, day 1 at bit 17
    EXPECT_EQ(0u, toStdDate(KvDateTime(1999, 12, 31), 2000));
    EXPECT_EQ(0u, toStdDate(KvDateTime(2064, 1, 1), 2000));
    EXPECT_EQ(0u, toStdDate(KvDateTime(), 2000));
    EXPECT_FALSE(fromStdDate(0, 2000).Valid());
    EXPECT_FALSE(fromStdDate(toStdDate(KvDateTime(2024, 1, 31), 2000) + (1u << 22), 2000).Valid());  // 31 February
}

}  // namespace
