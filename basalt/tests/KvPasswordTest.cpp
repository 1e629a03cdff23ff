#include "basalt/KvPassword.h"

#include <gtest/gtest.h>

#include <string>

namespace {

bool IsUpperHex(const std::u16string& s) {
    for (char16_t c : s)
        if (!((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F'))) return false;
    return true;
}

TEST(KvPassword, ScrambleAndRestore) {
    for (const std::u16string& plain : std::initializer_list<std::u16string>{u"", u"secret", u"P@ss w0rd!", u"Gr\u00FC\u00DFe", u"\u5BC6\u7801",
                                       u"\U0001F512lock", std::u16string(31, u'x')}) {
        char16_t buffer[64] = {};
        plain.copy(buffer, plain.size());
        ASSERT_TRUE(EncodePassword(buffer, 64)) << plain.size();
        const std::u16string scrambled(buffer);
        EXPECT_TRUE(IsUpperHex(scrambled));
        EXPECT_EQ(scrambled.size() % 2, 0u);
        if (!plain.empty()) {
            EXPECT_NE(scrambled, plain);
        }
        ASSERT_TRUE(DecodePassword(buffer, 64));
        EXPECT_EQ(std::u16string(buffer), plain);
    }
}

TEST(KvPassword, RefusesWhatWouldBeLost) {
    char16_t tooLong[80] = {};
    std::u16string(32, u'x').copy(tooLong, 32);  // 64 digits: one more than allowed
    EXPECT_FALSE(EncodePassword(tooLong, 80));
    EXPECT_EQ(std::u16string(tooLong), std::u16string(32, u'x'));

    char16_t cramped[8] = u"abcd";  // 8 digits need 9 characters of room
    EXPECT_FALSE(EncodePassword(cramped, 8));
    EXPECT_EQ(std::u16string(cramped), u"abcd");

    char16_t lone[4] = {0xD800, u'a', 0, 0};
    EXPECT_FALSE(EncodePassword(lone, 4));

    for (const char16_t* bad : {u"ABC", u"ZZ", u"A5", u"3G"}) {  // odd, not hex, a NUL byte, not hex
        char16_t buffer[8] = {};
        std::u16string(bad).copy(buffer, 7);
        EXPECT_FALSE(DecodePassword(buffer, 8)) << std::u16string(bad).size();
        EXPECT_EQ(std::u16string(buffer), std::u16string(bad));
    }
}

}  // namespace
