#include <gtest/gtest.h>

#include <map>

#include "basalt/KvBasicString.h"

namespace {

// Counts the appends after which the string had to reallocate (spare went from 0 to more).
int ReallocationsForAppends(KvWString& s, int count) {
    int reallocs = 0;
    for (int i = 0; i < count; ++i) {
        const bool mustGrow = !s.IsOwned() || s.SpareCount() == 0;
        s.Append(u'x');
        reallocs += mustGrow ? 1 : 0;
    }
    return reallocs;
}

TEST(KvBasicString, DefaultIsSharedEmptyAndOwnsNothing) {
    KvWString s;
    EXPECT_EQ(0, s.Length());
    EXPECT_EQ(0x10u, s.Flags());
    EXPECT_FALSE(s.IsOwned());
    EXPECT_EQ(u'\0', s.c_str()[0]);
}

TEST(KvBasicString, SmallModeReallocatesTwiceFor300Appends) {
    KvWString s;
    s.SetGrowth(KvGrowth::Small);
    EXPECT_EQ(2, ReallocationsForAppends(s, 300));
    EXPECT_EQ(300, s.Length());
    EXPECT_EQ(512 - 300, s.SpareCount());
}

TEST(KvBasicString, ExactModeHoldsNoSpareAndReleasesOnSwitch) {
    KvString s("abc");
    EXPECT_EQ(0, s.SpareCount());
    s.SetGrowth(KvGrowth::Large);
    s.Append('d');
    EXPECT_EQ(65535, s.SpareCount());
    s.SetGrowth(KvGrowth::Exact);
    EXPECT_EQ(0, s.SpareCount());
    EXPECT_STREQ("abcd", s.c_str());
}

TEST(KvBasicString, SearchesAndPieces) {
    KvWString s(u"  panel loop zone  ");
    EXPECT_EQ(2, s.Find(u'p'));
    EXPECT_EQ(8, s.Find(u"loop"));
    EXPECT_EQ(-1, s.Find(u"element"));
    EXPECT_EQ(16, s.ReverseFind(u'e'));
    s.Trim();
    EXPECT_TRUE(s == u"panel loop zone");
    EXPECT_TRUE(s.EndsWith(u"zone"));
    EXPECT_TRUE(s.Mid(6, 4) == u"loop");
    EXPECT_TRUE(s.Mid(11) == u"zone");
    EXPECT_TRUE(s.Mid(99).IsEmpty());
}

TEST(KvBasicString, OrdersByUnsignedUnitsAsMapKey) {
    std::map<KvWString, int> m;
    m[KvWString(u"\u00e9")] = 2;  // above 0x7F must sort after ASCII
    m[KvWString(u"z")] = 1;
    EXPECT_EQ(1, m.begin()->second);
    EXPECT_LT(KvString("ab").Compare(KvString("abc")), 0);
}

TEST(KvBasicString, SelfAppendAndCopyOnWriteOfSharedEmpty) {
    KvWString s(u"ab");
    s.Append(s);
    EXPECT_TRUE(s == u"abab");
    KvWString e;
    e.SetAt(0, u'x');  // out of range: nothing happens
    EXPECT_EQ(0, e.Length());
}

TEST(KvBasicString, WideFormatTakesWideStrings) {
    KvWString s;
    s.Format(u"%s-%hs-%d-%05.1f-%X-%%-%3d|%-3s|", u"w\u00e9", "n", -4, 2.25, 255u, 7, u"a");
    EXPECT_TRUE(s == u"w\u00e9-n--4-002.2-FF-%-  7|a  |") ;
}

}  // namespace
