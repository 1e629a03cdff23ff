#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "basalt/KvLocaleSeparators.h"
#include "basalt/KvNumbers.h"

namespace {

std::u16string U(const KvWString& s) { return std::u16string(s.c_str(), s.Length()); }

// Each case runs with known separators; the environment's locale never leaks in.
class KvNumbers : public ::testing::Test {
protected:
    void SetUp() override { KvSetLocaleSeparators(u'.', u','); }
    void TearDown() override { KvSetLocaleSeparators(0, 0); }
};

TEST_F(KvNumbers, RoundingHalves) {
    struct Case {
        double x;
        int roundi;
        double places0;
    };
    const Case cases[] = {{2.5, 2, 3}, {-2.5, -2, -2}, {2.51, 3, 3}, {-2.51, -3, -3},
                          {0.5, 0, 1}, {-0.5, 0, -0.0}, {1.4999, 1, 1}, {7, 7, 7}};
    for (const Case& c : cases) {
        EXPECT_EQ(c.roundi, roundi(c.x)) << c.x;
        EXPECT_EQ(static_cast<double>(c.roundi), KvRound(c.x)) << c.x;
        EXPECT_EQ(c.places0, FormatNumber(c.x, 0)) << c.x;
    }
    EXPECT_EQ(0, roundi(std::nan("")));
    EXPECT_EQ(std::numeric_limits<int>::max(), roundi(1e300));
}

TEST_F(KvNumbers, RoundingAtPlacesUsesTheDecimalDigits) {
    struct Case {
        double x;
        int places;
        double formatNumber;
        double dceil;
    };
    const Case cases[] = {
        {1.005, 2, 1.01, 1.01},     {1.21, 1, 1.2, 1.3},     {-1.21, 1, -1.2, -1.3},
        {1.1, 1, 1.1, 1.1},         {1234.5, -2, 1200, 1300}, {1250, -2, 1300, 1300},
        {49, -2, 0, 100},           {0.0001, 2, 0, 0.01},    {999.995, 2, 1000, 1000},
        {-0.125, 2, -0.12, -0.13},  {5, -3, 0, 1000},        {0, 3, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.formatNumber, FormatNumber(c.x, c.places)) << c.x << " at " << c.places;
        EXPECT_EQ(c.dceil, DCeil(c.x, c.places)) << c.x << " at " << c.places;
    }
    EXPECT_EQ(1234.5678, FormatNumber(1234.5678, -1));  // -1 means no rounding
    EXPECT_EQ(2, DCeil(1.2, -1));                       // -1 means the units
}

TEST_F(KvNumbers, FormatIntegerPads) {
    KvWString w(u"keep");
    EXPECT_EQ(-1, FormatInteger(w, 5, -1));
    EXPECT_EQ(-1, FormatInteger(w, -5, 2));
    EXPECT_TRUE(w == u"keep");
    EXPECT_EQ(5, FormatInteger(w, 42, 5));
    EXPECT_TRUE(w == u"00042");
    KvString n;
    EXPECT_EQ(6, FormatInteger(n, 123456, 3));
    EXPECT_STREQ("123456", n.c_str());
}

TEST_F(KvNumbers, FormatNumberText) {
    struct Case {
        double x;
        int decimals;
        bool group;
        const char16_t* expected;
    };
    const Case cases[] = {
        {1234567.891, 2, true, u"1,234,567.89"},
        {1234567.891, 2, false, u"1234567.89"},
        {1e13, 2, true, u"*.**"},
        {1e13, 0, true, u"*"},
        {999999999999.4, 0, true, u"999,999,999,999"},
        {999999999999.5, 0, true, u"*"},
        {2.5, 0, false, u"3"},
        {-2.5, 0, false, u"-3"},
        {-0.001, 2, false, u"0.00"},
        {0.5, 3, false, u"0.500"},
        {1.50, -3, false, u"1.5"},
        {2.0, -3, false, u"2"},
        {-123.456, 12, false, u"-123.4560000000"},  // limited to 10
        {100, 0, true, u"100"},
        {-1000, 0, true, u"-1,000"},
        {std::numeric_limits<double>::infinity(), 1, false, u"*.*"},
    };
    for (const Case& c : cases) {
        KvWString text;
        const int n = FormatNumber(text, c.x, c.decimals, c.group);
        EXPECT_EQ(std::u16string(c.expected), U(text)) << c.x << " " << c.decimals;
        EXPECT_EQ(text.Length(), n);
    }
}

TEST_F(KvNumbers, SeparatorsFollowTheLocale) {
    KvSetLocaleSeparators(u',', u'\u202F');  // narrow no-break space groups, as in French
    KvWString w;
    FormatNumber(w, 1234567.891, 2, true);
    EXPECT_EQ(u"1\u202F234\u202F567,89", U(w));
    KvString n;
    FormatNumber(n, 1234.5, 1, true);
    EXPECT_STREQ("1\xE2\x80\xAF" "234,5", n.c_str());
    EXPECT_TRUE(IsValidNumber(u"1\u202F234,5", 1));
    EXPECT_FALSE(IsValidNumber(u"1.5", -1));
    KvWString plain;
    UnformatNumber(u"1\u202F234\u202F567,89", plain);
    EXPECT_EQ(u"1234567,89", U(plain));
}

TEST_F(KvNumbers, FormatDoubleFields) {
    struct Case {
        double x;
        int intDigits, decimals;
        bool group, zeroPad, fixed;
        const char16_t* expected;
    };
    const Case cases[] = {
        {12.5, 6, 2, false, false, true, u"12.50"},
        {12.5, 6, 2, false, false, false, u"12.5"},
        {12.0, 6, 2, false, false, false, u"12"},
        {12.5, 4, 2, false, true, true, u"0012.50"},
        {-12.5, 4, 2, false, true, true, u"-0012.50"},
        {12345.6, 4, 2, false, false, true, u"****.**"},
        {12345.6, 4, 0, false, false, true, u"****"},
        {1234567.25, -1, 2, true, false, true, u"1,234,567.25"},
        {0.123456789, -1, -1, false, false, true, u"0.12346"},
        {1e15, 6, 2, false, false, true, u"******.**"},
        {1e15, -1, 2, false, false, true, u"*.**"},
        {std::nan(""), 6, 2, false, false, true, u"#"},
        {-std::numeric_limits<double>::infinity(), 6, 2, false, false, true, u"#"},
    };
    for (const Case& c : cases) {
        KvWString text;
        FormatDouble(text, c.x, c.intDigits, c.decimals, c.group, c.zeroPad, c.fixed);
        EXPECT_EQ(std::u16string(c.expected), U(text)) << c.x;
    }
}

TEST_F(KvNumbers, ParseFormat) {
    struct Case {
        const char16_t* format;
        int intDigits, decimals;
        bool zeroInt, zeroDec, found;
    };
    const Case cases[] = {
        {u"6.2", 6, 2, false, false, true},   {u"06.02", 6, 2, true, true, true},
        {u"15.10", 12, 9, false, false, true}, {u"6.", 6, -1, false, false, true},
        {u".2", -1, 2, false, false, true},   {u"62", -1, 3, false, false, false},
        {u"", -1, 3, false, false, false},    {u"0.0", 0, 0, false, false, true},
    };
    for (const Case& c : cases) {
        int i = 99, d = 99;
        bool zi = true, zd = true;
        EXPECT_EQ(c.found, ParseFormat(c.format, i, d, zi, zd)) << std::u16string(c.format).size();
        EXPECT_EQ(c.intDigits, i);
        EXPECT_EQ(c.decimals, d);
        EXPECT_EQ(c.zeroInt, zi);
        EXPECT_EQ(c.zeroDec, zd);
    }
}

TEST_F(KvNumbers, IsValidNumber) {
    struct Case {
        const char16_t* text;
        int maxDecimals;
        bool valid;
    };
    const Case cases[] = {
        {u"1234", -1, true},     {u"-1,234.5", -1, true}, {u"1,234,567", -1, true}, {u"1,23", -1, false},
        {u"1,2345", -1, false},  {u"1,234.5,6", -1, false}, {u",123", -1, false},  {u"1.2.3", -1, false},
        {u"1.25", 1, false},     {u"1.25", 2, true},      {u"--1", -1, false},     {u"1-2", -1, false},
        {u"", -1, false},        {u"-", -1, false},       {u".5", 0, false},       {u"5.", 0, true},
        {u"1 234", -1, false},   {u"1,234,", -1, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.valid, IsValidNumber(c.text, c.maxDecimals)) << std::u16string(c.text).size() << " " << c.maxDecimals;
    EXPECT_TRUE(IsValidNumber("-1,234.5", 1));
}

TEST_F(KvNumbers, Xfecvt) {
    struct Case {
        double x;
        int digits;
        const char* out;
        int point;
        bool negative;
    };
    const Case cases[] = {
        {12.5, 0, "12500000", 2, false},
        {-0.05, 0, "50000", -1, true},
        {3, 10, "3000000000", 1, false},
        {0, 3, "000", 0, false},
    };
    for (const Case& c : cases) {
        KvString out;
        int point = 99;
        bool negative = !c.negative;
        xfecvt(out, c.x, c.digits, point, negative);
        EXPECT_STREQ(c.out, out.c_str()) << c.x;
        EXPECT_EQ(c.point, point) << c.x;
        EXPECT_EQ(c.negative, negative) << c.x;
    }
}

}  // namespace
