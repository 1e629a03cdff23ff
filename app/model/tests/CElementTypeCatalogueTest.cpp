#include "model/CElementTypeCatalogue.h"

#include <gtest/gtest.h>

namespace {

struct IconCase {
    int type, mode, generic, icon;
};

TEST(CElementTypeCatalogueTest, IconsFollowTypeModeAndGenericType) {
    const IconCase cases[] = {
        {1, 0, 1, 0},   {7, 1, 5, 6},   {7, 3, 5, 7},   {12, 1, 6, 14}, {12, 3, 7, 15},
        {13, 1, 6, 16}, {13, 2, 6, 17}, {13, 2, 7, 18}, {13, 3, 7, 19}, {13, 1, 7, 1},
        {13, 0, 6, 1},  {16, 0, 8, 23}, {17, 2, 8, 25}, {18, 0, 7, 26}, {0, 0, 0, 1},
        {19, 1, 1, 1},
    };
    for (const IconCase& c : cases)
        EXPECT_EQ(CElementTypeCatalogue::iconIndex(c.type, c.mode, c.generic), c.icon)
            << "type " << c.type << " mode " << c.mode << " generic " << c.generic;
}

TEST(CElementTypeCatalogueTest, TableIsConsistent) {
    int lastText = 0;
    for (int t = 1; t <= 18; ++t) {
        const CElementTypeInfo* info = CElementTypeCatalogue::find(t);
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(info->type, t);
        for (int i = 0; i < info->addressCount; ++i) EXPECT_NE(info->genericType[i], 0) << t;
        EXPECT_EQ(CElementTypeCatalogue::genericType(t, info->addressCount), 0);
        if (t != 15 && t != 16) {
            EXPECT_GT(info->descriptionTextId, lastText);
        }
        lastText = info->descriptionTextId;
    }
    EXPECT_EQ(CElementTypeCatalogue::descriptionTextId(15), 246);
    EXPECT_EQ(CElementTypeCatalogue::descriptionTextId(16), 245);
    EXPECT_EQ(CElementTypeCatalogue::find(0), nullptr);
    EXPECT_EQ(CElementTypeCatalogue::addressCount(19), 0);
}

}  // namespace
