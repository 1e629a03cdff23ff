#include "basalt/uuid.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

std::u16string Wide(const char* s) { return std::u16string(s, s + std::char_traits<char>::length(s)); }

TEST(uuid, TextFormsRoundTrip) {
    const struct {
        uuid id;
        const char* text;
    } cases[] = {
        {uuid::null, "00000000-0000-0000-0000-000000000000"},
        {uuid(0x0123ABCD, 0x4567, 0x89EF, 0xFE, 0xDC, 0xBA, 0x98, 0x76, 0x54, 0x32, 0x10),
         "0123ABCD-4567-89EF-FEDC-BA9876543210"},
        {uuid(0xFFFFFFFF, 0xFFFF, 0xFFFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF),
         "FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFF"},
    };
    for (const auto& c : cases) {
        char narrow[37];
        char16_t wide[37];
        ASSERT_TRUE(guidtoc(c.id, narrow, 37));
        ASSERT_TRUE(guidtow(c.id, wide, 37));
        EXPECT_STREQ(narrow, c.text);
        EXPECT_EQ(std::u16string(wide), Wide(c.text));
        EXPECT_TRUE(wtouuid(wide) == c.id) << c.text;
        EXPECT_TRUE(ctouuid(c.text) == c.id) << c.text;
    }
    EXPECT_TRUE(ctouuid("0123abcd-4567-89ef-fedc-ba9876543210 trailing") == cases[1].id);
}

TEST(uuid, MalformedTextGivesNull) {
    for (const char* bad : {"", "0123ABCD-4567-89EF-FEDC-BA987654321", "0123ABCD-4567-89EF-FEDC-BA98765432100",
                            "0123ABCD 4567-89EF-FEDC-BA9876543210", "0123ABCD-4567-89EF-FEDC-BA987654321G",
                            "{0123ABCD-4567-89EF-FEDC-BA9876543210}", "0123ABCD-4567-89EF-FEDC-BA9876543210-"}) {
        EXPECT_TRUE(ctouuid(bad).is_null()) << bad;
        EXPECT_TRUE(wtouuid(Wide(bad).c_str()).is_null()) << bad;
    }
    EXPECT_TRUE(ctouuid(nullptr).is_null());
}

TEST(uuid, FormattingNeedsRoomForTheWholeText) {
    char small[36] = "x";
    EXPECT_FALSE(guidtoc(uuid::null, small, 36));
    EXPECT_STREQ(small, "");
}

TEST(uuid, OrderComparesFieldsThenBytesUnsigned) {
    const uuid ordered[] = {
        uuid::null,
        uuid(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x01),
        uuid(0, 0, 0, 0x7F, 0, 0, 0, 0, 0, 0, 0),
        uuid(0, 0, 0, 0x80, 0, 0, 0, 0, 0, 0, 0),  // unsigned: 0x80 after 0x7F
        uuid(0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0),
        uuid(0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0),
        uuid(1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0),
    };
    for (std::size_t i = 0; i + 1 < std::size(ordered); ++i) {
        EXPECT_TRUE(ordered[i] < ordered[i + 1]) << i;
        EXPECT_FALSE(ordered[i + 1] < ordered[i]) << i;
        EXPECT_TRUE(ordered[i] != ordered[i + 1]);
    }
}

TEST(uuid, CreateGivesDistinctVersion4Identifiers) {
    std::set<uuid> seen;
    for (int i = 0; i < 100; ++i) {
        uuid id;
        ASSERT_TRUE(NewGUID(id));
        EXPECT_EQ(id.data3() >> 12, 4);
        EXPECT_EQ(id.data4()[0] & 0xC0, 0x80);
        seen.insert(id);
    }
    EXPECT_EQ(seen.size(), 100u);
    uuid id = uuid::create();
    id.clear();
    EXPECT_TRUE(id.is_null());
}

}  // namespace
