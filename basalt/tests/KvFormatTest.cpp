#include <gtest/gtest.h>

#include <climits>

#include "ProcessLocale.h"
#include "basalt/KvBasicString.h"

namespace {

KvWString W(const char16_t* fmt, ...) {
    KvWString out;
    va_list ap;
    va_start(ap, fmt);
    KvVFormat(out, fmt, ap);
    va_end(ap);
    return out;
}

KvString N(const char* fmt, ...) {
    KvString out;
    va_list ap;
    va_start(ap, fmt);
    KvVFormat(out, fmt, ap);
    va_end(ap);
    return out;
}

std::u16string U(const KvWString& s) { return std::u16string(s.c_str(), s.Length()); }
std::string S(const KvString& s) { return std::string(s.c_str(), s.Length()); }

TEST(KvFormat, WideConversionsTheSystemUses) {
    EXPECT_EQ(u"IDS_00042", U(W(u"IDS_%05d", 42)));
    EXPECT_EQ(u"7|-7|4294967295", U(W(u"%u|%d|%u", 7u, -7, UINT_MAX)));
    EXPECT_EQ(u"123456789012|dead|0000beef", U(W(u"%ld|%lx|%08lx", 123456789012L, 0xDEADL, 0xBEEFL)));
    EXPECT_EQ(u"0A|05|005", U(W(u"%02X|%02d|%03d", 10, 5, 5)));
    EXPECT_EQ(u"1.500000|0.25|100%", U(W(u"%f|%g|%d%%", 1.5, 0.25, 100)));
    EXPECT_EQ(u"[  ab][ab  ][a]", U(W(u"[%4s][%-4s][%.1s]", u"ab", u"ab", u"abc")));
    EXPECT_EQ(u"[   7][7   ]", U(W(u"[%*d][%*d]", 4, 7, -4, 7)));
}

// Formatted numbers go into files: a decimal-comma process locale must not
// turn 2.5 into "2,500000".
TEST(KvFormat, NumbersIgnoreTheProcessLocale) {
    for (const char* name : ProcessLocale::kDecimalComma) {
        ProcessLocale locale(name);
        ASSERT_TRUE(locale.ok()) << name << " is not installed; run scripts/install-deps";
        EXPECT_EQ(u"2.500000|0.25|1e+20|1.5E-07|12345", U(W(u"%f|%g|%g|%.1E|%d", 2.5, 0.25, 1e20, 1.5e-7, 12345)))
            << name;
        EXPECT_EQ("-0.125|3.1", S(N("%.3f|%.1Lf", -0.125, 3.125L))) << name;
    }
}

TEST(KvFormat, WideStringsAndSurrogatesPassThrough) {
    EXPECT_EQ(u"\xD83D\xDE00 and \u00e9", U(W(u"%s and %hs", u"\xD83D\xDE00", "\xC3\xA9")));
    EXPECT_EQ(u"x\u20ac", U(W(u"%ls%c", u"x", u'\u20ac')));
    // A precision never leaves half a surrogate pair behind.
    EXPECT_EQ(u"a", U(W(u"%.2s", u"a\xD83D\xDE00")));
    EXPECT_EQ(u"(null)", U(W(u"%s", static_cast<const char16_t*>(nullptr))));
}

TEST(KvFormat, NarrowTextKeepsItsBytes) {
    // Invalid UTF-8 in a narrow argument reaches narrow output unchanged.
    EXPECT_EQ("<\xE9>", S(N("<%s>", "\xE9")));
    EXPECT_EQ("\xE9", S(N("%c", '\xE9')));
    EXPECT_EQ("\xE2\x82\xAC", S(N("%ls", u"\u20ac")));
}

TEST(KvFormat, PrecisionBoundsReadingOfUnterminatedText) {
    const char bytes[3] = {'a', 'b', 'c'};  // no terminator
    EXPECT_EQ("ab", S(N("%.2s", bytes)));
    EXPECT_EQ("abc", S(N("%.*s", 3, bytes)));
    const char16_t units[2] = {u'x', u'y'};
    EXPECT_EQ(u"xy", U(W(u"%.2s", units)));
    EXPECT_EQ(u"ab", U(W(u"%.2hs", bytes)));
}

TEST(KvFormat, OddFormatsStaySafe) {
    EXPECT_EQ(u"50%", U(W(u"50%")));            // format ending in a conversion
    EXPECT_EQ(u"%n", U(W(u"%n", 1)));           // never writes through an argument
    EXPECT_EQ(u"%y", U(W(u"%y")));
    EXPECT_EQ(1 << 16, W(u"%*d", INT_MIN, 1).Length());  // width clamped, no overflow
    EXPECT_EQ(1 << 16, W(u"%99999999999d", 1).Length());
    EXPECT_EQ(1 << 16, W(u"%99999999999s", u"x").Length());
}

TEST(KvFormat, AppendFormatKeepsExistingText) {
    KvWString s(u"loop ");
    s.AppendFormat(u"%d/%d", 3, 8);
    EXPECT_EQ(u"loop 3/8", U(s));
    KvString n;
    n.Format("%s=%d", "zone", 12).AppendFormat(";%05.1f", 2.25);
    EXPECT_EQ("zone=12;002.2", S(n));
}

}  // namespace
