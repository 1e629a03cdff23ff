#include <gtest/gtest.h>

#include "basalt/KvDigits.h"

namespace {

TEST(KvDigits, HexRoundTripsInBothWidths) {
    struct Case {
        std::uint32_t value;
        const char* hex;
    };
    const Case cases[] = {{0, "00000000"}, {0xA, "0000000A"}, {0xDEADBEEF, "DEADBEEF"}, {0xFFFFFFFF, "FFFFFFFF"}};
    for (const Case& c : cases) {
        char narrow[9];
        char16_t wide[9];
        LtoH(narrow, c.value);
        LtoH(wide, c.value);
        EXPECT_STREQ(c.hex, narrow);
        EXPECT_EQ(c.value, HtoL(narrow, 8));
        EXPECT_EQ(c.value, HtoL(wide, 8));
        EXPECT_EQ(u'\0', wide[8]);
    }
    char b[3] = {0, 0, '!'};
    BtoH(0x0F, b);
    EXPECT_EQ('0', b[0]);
    EXPECT_EQ('F', b[1]);
    EXPECT_EQ('!', b[2]);  // no terminator written
    EXPECT_EQ(0xAB, HtoB(u"AB12"));
    EXPECT_EQ(0xAB, HtoB("ab"));
}

TEST(KvDigits, ReadersStopAtTheTerminator) {
    EXPECT_EQ(0x12u, HtoL("12", 8));
    EXPECT_EQ(123, DtoL(u"123", 10));
    EXPECT_EQ(12, DtoL("1234", 2));
    EXPECT_EQ(0.0, HtoTAG("", 4));
}

TEST(KvDigits, Classification) {
    for (char c : {'0', '9', 'A', 'F', 'a', 'f'}) EXPECT_TRUE(IsHexB(c)) << c;
    for (char c : {'G', 'g', '/', ':', '@', ' '}) EXPECT_FALSE(IsHexB(c)) << c;
    EXPECT_TRUE(IsValidHexa(u""));
    EXPECT_TRUE(IsValidHexa(u"00aF9"));
    EXPECT_FALSE(IsValidHexa(u"12 3"));
    EXPECT_FALSE(IsValidHexa(u"\uFF10"));  // full-width digit
    // The value reader refuses rather than guesses: parsers of outside input rely on -1.
    EXPECT_EQ(0, HexDigitValue('0'));
    EXPECT_EQ(15, HexDigitValue('f'));
    EXPECT_EQ(15, HexDigitValue(u'F'));
    for (char32_t c : {U'g', U'G', U'/', U':', U'@', U'`', U'\uFF10', U'\x10030', char32_t(0)})
        EXPECT_EQ(-1, HexDigitValue(c)) << static_cast<unsigned>(c);
    EXPECT_EQ(-1, HexDigitValue(static_cast<char>(0xC1)));  // a byte of UTF-8, negative as char: 'A' | 0x80
}

TEST(KvDigits, TagsBeyond32Bits) {
    EXPECT_DOUBLE_EQ(281474976710655.0, HtoTAG(u"FFFFFFFFFFFF", 12));
    char16_t out[17];
    TAGtoH(out, 281474976710655.0);
    EXPECT_EQ(std::u16string(u"FFFFFFFFFFFF"), out);
    char narrow[17];
    TAGtoH(narrow, HtoTAG("00C0FFEE01", 10));
    EXPECT_STREQ("C0FFEE01", narrow);
    TAGtoH(narrow, -5);
    EXPECT_STREQ("0", narrow);
}

}  // namespace
