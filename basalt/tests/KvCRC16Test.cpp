#include "basalt/KvCRC16.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

struct Vector {
    const char* data;
    std::size_t length;
    unsigned value;  // bytes exchanged: CRC-16/MODBUS 0x4B37 is held as 0x374B
};

TEST(KvCRC16, KnownVectors) {
    const Vector vectors[] = {
        {"", 0, 0xFFFF},
        {"123456789", 9, 0x374B},
        {"abc", 3, 0x4957},
        {"A", 1, 0x7F70},
        {"\x01\x03\x00\x00\x00\x0A", 6, 0xC5CD},  // a Modbus request, its CRC sent as C5 CD
        {"\xFF\xFF", 2, 0x0000},
    };
    for (const Vector& v : vectors) {
        KvCRC16 crc;
        crc.Add(v.data, v.length);
        EXPECT_EQ(crc.Value(), v.value) << v.data;
        EXPECT_EQ(static_cast<int>(crc), static_cast<int>(v.value));
    }
}

TEST(KvCRC16, BytewiseEqualsBlockAndResetRestarts) {
    const char* text = "The quick brown fox";
    KvCRC16 block, bytes;
    block.Add(text, std::strlen(text));
    for (const char* p = text; *p; ++p) bytes.Add(static_cast<std::uint8_t>(*p));
    EXPECT_EQ(block.Value(), bytes.Value());
    block.Reset();
    EXPECT_EQ(block.Value(), 0xFFFFu);
    block.Add("123456789", 9);
    EXPECT_EQ(block.Value(), 0x374Bu);
}

}  // namespace
