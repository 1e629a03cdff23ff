#include "basalt/KvBase64.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

KvWString ToWideAscii(const char* s) {
    KvWString w;
    while (*s) w.Append(static_cast<char16_t>(*s++));
    return w;
}

// RFC 4648 test vectors plus binary data.
const struct {
    std::string bytes;
    const char* text;
} kVectors[] = {
    {"", ""},
    {"f", "Zg=="},
    {"fo", "Zm8="},
    {"foo", "Zm9v"},
    {"foob", "Zm9vYg=="},
    {"fooba", "Zm9vYmE="},
    {"foobar", "Zm9vYmFy"},
    {"abc", "YWJj"},
    {"ab", "YWI="},
    {std::string("\x00\xFF\xFE\x3F\x80", 5), "AP/+P4A="},
    {"user:pa ss", "dXNlcjpwYSBzcw=="},
};

TEST(KvBase64, EncodesVectorsNarrowAndWide) {
    for (const auto& v : kVectors) {
        KvString narrow("stale");
        KvWString wide(u"stale");
        EncodeBase64(narrow, v.bytes.data(), static_cast<int>(v.bytes.size()));
        EncodeBase64(wide, v.bytes.data(), static_cast<int>(v.bytes.size()));
        EXPECT_STREQ(narrow.c_str(), v.text);
        EXPECT_TRUE(wide == ToWideAscii(v.text)) << v.text;
    }
}

TEST(KvBase64, DecodesVectorsNarrowAndWide) {
    for (const auto& v : kVectors) {
        unsigned char out[16] = {};
        int written = -1;
        ASSERT_TRUE(DecodeBase64(out, sizeof out, v.text, &written)) << v.text;
        EXPECT_EQ(std::string(reinterpret_cast<char*>(out), written), v.bytes);
        EXPECT_EQ(DecodedBase64Size(v.text), static_cast<int>(v.bytes.size())) << v.text;
        KvString asText("stale");
        ASSERT_TRUE(DecodeBase64(asText, v.text));
        EXPECT_EQ(std::string(asText.c_str(), asText.Length()), v.bytes);
        const KvWString wide = ToWideAscii(v.text);
        ASSERT_TRUE(DecodeBase64(out, sizeof out, wide.c_str(), &written));
        EXPECT_EQ(std::string(reinterpret_cast<char*>(out), written), v.bytes);
    }
    // Decoding stops at the first "=".
    unsigned char out[8];
    int written = 0;
    EXPECT_TRUE(DecodeBase64(out, sizeof out, "YWI=YWJj", &written));
    EXPECT_EQ(written, 2);
    EXPECT_EQ(DecodedBase64Size("YWI=", 2), 1);
}

TEST(KvBase64, RefusesBadInputAndNeverOverflows) {
    unsigned char out[8];
    for (const char* bad : {"YW J", "YWJ*", "Y", "YWJjY", "YW\nJj"}) EXPECT_FALSE(DecodeBase64(out, 8, bad)) << bad;
    EXPECT_FALSE(DecodeBase64(out, 8, u"YW\u00E9J"));
    // Output room is respected: six bytes do not fit in five.
    unsigned char small[6] = {0, 0, 0, 0, 0, 0x77};
    int written = 0;
    EXPECT_FALSE(DecodeBase64(small, 5, "Zm9vYmFy", &written));
    EXPECT_EQ(written, 5);
    EXPECT_EQ(small[5], 0x77);
}

TEST(KvBase64, DecodeStringNeedsRoomForEachGroupAndTerminates) {
    char out[16];
    ASSERT_TRUE(DecodeBase64String(out, "Zm9vYmFy", 7));
    EXPECT_STREQ(out, "foobar");
    std::memset(out, 'x', sizeof out);
    EXPECT_FALSE(DecodeBase64String(out, "Zm9vYmFy", 6));
    EXPECT_STREQ(out, "foo");
    EXPECT_FALSE(DecodeBase64String(out, "Zm9v!", 16));
    EXPECT_TRUE(DecodeBase64String(out, "", 1));
    EXPECT_STREQ(out, "");
}

}  // namespace
