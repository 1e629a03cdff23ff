#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "basalt/KvUtf.h"

namespace {

std::u16string Decode(const std::string& bytes) {
    KvWString w;
    Utf8ToUtf16(w, bytes.data(), static_cast<int>(bytes.size()));
    return std::u16string(w.c_str(), w.Length());
}

std::string Encode(const std::u16string& units) {
    KvString s;
    Utf16ToUtf8(s, units.data(), static_cast<int>(units.size()));
    return std::string(s.c_str(), s.Length());
}

struct DecodeCase {
    const char* name;
    std::string bytes;
    std::u16string expected;
};

TEST(KvUtf, DecodesAndSkipsMalformedInput) {
    const std::vector<DecodeCase> cases = {
        {"ascii", "Zone 7", u"Zone 7"},
        {"two bytes", "\xC3\xA9t\xC3\xA9", u"\u00e9t\u00e9"},
        {"three bytes", "\xE2\x82\xAC", u"\u20ac"},
        {"four bytes to a pair", "\xF0\x9F\x98\x80", u"\xD83D\xDE00"},
        {"highest code point", "\xF4\x8F\xBF\xBF", u"\xDBFF\xDFFF"},
        {"stray continuation", "a\x80" "b", u"ab"},
        {"cut by ascii keeps the ascii", "\xC3<b>", u"<b>"},
        {"cut by a lead byte keeps it", "\xE2\x82\xC3\xA9", u"\u00e9"},
        {"cut by the end", "ok\xE2\x82", u"ok"},
        {"six-byte form skipped whole", "a\xFC\x80\x80\x80\x80\x80z", u"az"},
        {"five-byte form skipped whole", "\xF8\x88\x80\x80\x80!", u"!"},
        {"overlong slash dropped", "a\xC0\xAF" "b", u"ab"},
        {"overlong nul dropped", "a\xC0\x80" "b", u"ab"},
        {"encoded surrogate dropped", "\xED\xA0\x80x", u"x"},
        {"beyond unicode dropped", "\xF4\x90\x80\x80y", u"y"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.expected, Decode(c.bytes)) << c.name;
}

TEST(KvUtf, CountedFormStopsAtCountAndKeepsNul) {
    KvWString w;
    Utf8ToUtf16(w, "ab\0cd", 4);
    ASSERT_EQ(4, w.Length());
    EXPECT_EQ(u'\0', w[2]);
    EXPECT_EQ(u'c', w[3]);
    Utf8ToUtf16(w, "\xF0\x9F\x98\x80", 3);  // the count cuts the sequence
    EXPECT_EQ(0, w.Length());
}

struct EncodeCase {
    const char* name;
    std::u16string units;
    std::string expected;
};

TEST(KvUtf, EncodesAndDropsLoneSurrogates) {
    const std::vector<EncodeCase> cases = {
        {"one byte", u"A", "A"},
        {"two bytes edge", u"\u0080\u07FF", "\xC2\x80\xDF\xBF"},
        {"three bytes edge", u"\u0800\uFFFF", "\xE0\xA0\x80\xEF\xBF\xBF"},
        {"pair", u"\xD83D\xDE00", "\xF0\x9F\x98\x80"},
        {"lone high", u"a\xD83D" "b", "ab"},
        {"lone low", u"a\xDE00" "b", "ab"},
        {"high at the end", u"x\xD83D", "x"},
        {"two highs then low", u"\xD83D\xD83D\xDE00", "\xF0\x9F\x98\x80"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.expected, Encode(c.units)) << c.name;
}

TEST(KvUtf, RoundTripsEveryPlane) {
    KvString utf8;
    for (char32_t cp : {U'\x01', U'\x7F', U'\xE9', U'\x20AC', U'\xFFFD', U'\x10000', U'\x1F600', U'\x10FFFF'}) {
        std::u16string units;
        if (cp >= 0x10000) {
            units += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
            units += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            units += static_cast<char16_t>(cp);
        }
        EXPECT_EQ(units, Decode(Encode(units))) << static_cast<unsigned>(cp);
    }
}

TEST(KvUtf, ReplacesTargetAndAcceptsNull) {
    KvWString w(u"old");
    Utf8ToUtf16(w, nullptr);
    EXPECT_EQ(0, w.Length());
    KvString s("old");
    Utf16ToUtf8(s, nullptr);
    EXPECT_EQ(0, s.Length());
    EXPECT_TRUE(ToWide("\xC3\xA9") == u"\u00e9");
    EXPECT_TRUE(ToUtf8(u"\u00e9") == "\xC3\xA9");
}

}  // namespace
