#include <gtest/gtest.h>

#include <clocale>
#include <map>
#include <string>

#include "ProcessLocale.h"
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

TEST(KvBasicString, GrowthModesReserveTheirSpareOnEachReallocation) {
    struct Case {
        KvGrowth mode;
        int appends;
        int reallocations;
        int spareAfter;
    };
    const Case cases[] = {
        {KvGrowth::Exact, 10, 10, 0},
        {KvGrowth::Small, 256, 1, 0},  // 1 + 255 fill the first block exactly
        {KvGrowth::Small, 257, 2, 255},
        {KvGrowth::Large, 70000, 2, 2 * 65536 - 70000},
    };
    for (const Case& c : cases) {
        KvWString s;
        s.SetGrowth(c.mode);
        EXPECT_EQ(c.reallocations, ReallocationsForAppends(s, c.appends)) << static_cast<int>(c.mode);
        EXPECT_EQ(c.spareAfter, s.SpareCount()) << static_cast<int>(c.mode);
        EXPECT_EQ(c.appends, s.Length());
    }
}

TEST(KvBasicString, AssignInGrowthModeKeepsSpareButExactDropsIt) {
    KvString s;
    s.SetGrowth(KvGrowth::Small);
    s = "abc";
    EXPECT_EQ(255, s.SpareCount());
    s.Truncate(1);
    EXPECT_EQ(257, s.SpareCount());  // the freed room stays spare
    EXPECT_EQ(0x20u, s.Flags());
    KvString e("abcdef");
    e.Truncate(2);
    EXPECT_EQ(0, e.SpareCount());
    EXPECT_STREQ("ab", e.c_str());
}

TEST(KvBasicString, HugeTextsNeverOverflowTheSpareField) {
    const int big = (1 << 24) + 10;  // more than the 24-bit spare field can count
    KvString s;
    s.SetGrowth(KvGrowth::Small);
    s.Append('a');
    const KvString chunk(big, 'x');
    s.Append(chunk);
    EXPECT_EQ(big + 1, s.Length());
    EXPECT_EQ(255, s.SpareCount());
    s.Truncate(1);  // would leave 16M spare: given back instead
    EXPECT_LE(s.SpareCount(), 0xFFFFFF);
    for (int i = 0; i < 300; ++i) s.Append('b');  // writes must land inside the allocation
    EXPECT_EQ(301, s.Length());

    KvString g;
    char* buf = g.GetBuffer(big);
    buf[big - 1] = 'z';
    g.ReleaseBuffer(big);
    EXPECT_EQ(big, g.Length());
    EXPECT_EQ('z', g[big - 1]);
    g.ReleaseBuffer(3);
    EXPECT_EQ(3, g.Length());
    EXPECT_EQ(0, g.SpareCount());
}

TEST(KvBasicString, NarrowTraitsLeaveUtf8BytesAlone) {
    // Under a UTF-8 locale the wide case mapping turns byte 0xB5 into 0x9C.
    const std::string saved = std::setlocale(LC_CTYPE, nullptr);
    std::setlocale(LC_CTYPE, "C.UTF-8");
    // "voila" with a-grave ends in the byte A0, a no-break space in Latin-1.
    KvString s("  voil\xC3\xA0 ");
    s.Trim();
    EXPECT_STREQ("voil\xC3\xA0", s.c_str());
    KvString m("\xC2\xB5m \xC3\xA9");  // micro sign, e-acute
    m.MakeUpper();
    EXPECT_STREQ("\xC2\xB5M \xC3\xA9", m.c_str());
    KvWString w(u"\u00e9t\u00e9");
    EXPECT_EQ(0, w.CompareNoCase(u"\u00e9T\u00e9"));
    std::setlocale(LC_CTYPE, saved.c_str());
}

// One fixed behaviour, whatever LC_CTYPE the process runs under.
TEST(KvBasicString, CaseAndWhiteSpaceIgnoreTheProcessLocale) {
    for (const char* name : {"C", "C.UTF-8", "es_ES.UTF-8", "de_DE.UTF-8"}) {
        SCOPED_TRACE(name);
        ProcessLocale locale(name);
        ASSERT_TRUE(locale.ok()) << "run scripts/install-deps";
        EXPECT_EQ(0, KvWString(u"\u00e9").CompareNoCase(u"\u00c9"));
        EXPECT_EQ(0, KvWString(u"\u0142\u00f3d\u017a \u0160\u0165\u00ff").CompareNoCase(u"\u0141\u00d3D\u0179 \u0161\u0164\u0178"));
        EXPECT_EQ(0, KvWString(u"\u03c3\u03ac\u0430\u0451").CompareNoCase(u"\u03a3\u0386\u0410\u0401"));
        EXPECT_NE(0, KvWString(u"\u00d7").CompareNoCase(u"\u00f7"));  // signs, not letters
        KvWString upper(u"stra\u00dfe \u00b5 \u0131 i \u017f \u0149 \u03c2");
        EXPECT_EQ(u"STRA\u00dfE \u039c I I S \u0149 \u03a3", std::u16string(upper.MakeUpper().c_str()));
        KvWString lower(u"\u0130\u0178\u00de\u0218");
        EXPECT_EQ(u"i\u00ff\u00fe\u0219", std::u16string(lower.MakeLower().c_str()));
        KvWString padded(u"\u00a0\u2003 \t label \u3000\u00a0\u0085");
        EXPECT_EQ(u"label", std::u16string(padded.Trim().c_str()));
        KvWString kept(u"\u200b\x1c" u"a\ufeff");  // zero-width and separator controls are no spaces
        EXPECT_EQ(kept.Length(), KvWString(kept).Trim().Length());
        KvString narrow(" \t\xC2\xA0i\xC3\xA9 ");
        EXPECT_STREQ("\xC2\xA0I\xC3\xA9", narrow.Trim().MakeUpper().c_str());  // ASCII only, even for "i"
    }
}

TEST(KvBasicString, EditsThatAliasTheirOwnText) {
    KvWString s(u"abcdef");
    s.Insert(1, s.c_str() + 3);  // "def" inserted from itself
    EXPECT_TRUE(s == u"adefbcdef");
    s.Assign(s.c_str() + 4, 2);
    EXPECT_TRUE(s == u"bc");
    EXPECT_EQ(2, s.Replace(u"b", u"bb") + s.Replace(u'c', u'd'));
    EXPECT_TRUE(s == u"bbd");
    EXPECT_TRUE(s.StartsWith(nullptr) && s.EndsWith(u"") && !s.EndsWith(u"xbbd"));
}

TEST(KvBasicString, EmbeddedNulsCompareConsistently) {
    const KvString a("a\0b", 3), b("a\0c", 3);
    EXPECT_FALSE(a == b);
    EXPECT_LT(a.Compare(b), 0);
    std::map<KvString, int> m{{a, 1}, {b, 2}};
    EXPECT_EQ(2u, m.size());
}

TEST(KvBasicString, CopiesAreIndependentAndMovesLeaveEmpty) {
    KvWString a(u"panel");
    KvWString b(a);
    b.SetAt(0, u'P');
    EXPECT_TRUE(a == u"panel");
    KvWString c(static_cast<KvWString&&>(b));
    EXPECT_TRUE(c == u"Panel");
    EXPECT_EQ(0, b.Length());  // NOLINT: checking the moved-from state on purpose
    EXPECT_FALSE(b.IsOwned());
    b.Append(u'x');
    EXPECT_TRUE(b == u"x");
}

}  // namespace
