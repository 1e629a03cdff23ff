#include <gtest/gtest.h>

#include "basalt/KvIdentifiers.h"

namespace {

TEST(KvIdentifiers, ValidIds) {
    struct Case {
        const char16_t* text;
        bool allowSpaces;
        bool valid;
    };
    const Case cases[] = {
        {u"Panel1", false, true},   {u"con", false, true},       {u"CON", false, false},
        {u"COM10", false, true},    {u"LPT9", false, false},     {u" a", true, false},
        {u"a ", true, false},       {u"a b", false, false},      {u"a b", true, true},
        {u"a.b", false, false},     {u"a#b", false, false},      {u"a/b", false, false},
        {u"a\\b", false, false},    {u"\u00e9cole", false, true}, {u"a-b_c", false, true},
        {u"", false, false},        {u"a\tb", true, true},       {u"a\tb", false, false},
    };
    for (const Case& c : cases) EXPECT_EQ(c.valid, IsValidId(c.text, c.allowSpaces)) << std::u16string(c.text).size();
}

TEST(KvIdentifiers, NormalizeMakesValidNames) {
    struct Case {
        const char16_t* in;
        const char16_t* out;
    };
    const Case cases[] = {{u"LPT1", u"L_P_T_1"}, {u"a.b", u"a_b"},   {u"NUL", u"N_U_L"},
                          {u"nul", u"nul"},      {u"C:\\x", u"C__x"}, {u"'?!<>\"|*#", u"_________"}};
    for (const Case& c : cases) {
        KvWString s(c.in);
        EXPECT_TRUE(NormalizeId(s));
        EXPECT_TRUE(s == c.out);
        EXPECT_TRUE(IsValidId(s.c_str(), false));
    }
}

TEST(KvIdentifiers, Baudrates) {
    for (int rate : {110, 9600, 115200}) {
        EXPECT_EQ(rate, IdBrToBaudrate(rate));
        EXPECT_EQ(rate, BaudrateToIdBr(rate));
    }
    for (int rate : {0, -1, 9601, 230400}) {
        EXPECT_EQ(-1, IdBrToBaudrate(rate));
        EXPECT_EQ(-1, BaudrateToIdBr(rate));
    }
}

}  // namespace
