#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "basalt/KvUtf.h"
#include "panel_link/CFirmwareImage.h"
#include "SrecText.h"
#include "testkit/TempFolder.h"

namespace {

namespace fs = std::filesystem;

bool Parse(CFirmwareImage& image, const std::string& text) { return image.parse(text.data(), text.size()); }

TEST(CFirmwareImage, StoresOnlyBytesInsideTheWindow) {
    CFirmwareImage image(0x4000, 0x3FFFF, CFirmwareImage::Kind::S3, CFirmwareImage::PostProcess::None);
    const std::string text = Record('3', 0x3FFF, {0x11, 0x22}) + Record('3', 0x3FFFF, {0x33, 0x44});
    ASSERT_TRUE(Parse(image, text));
    EXPECT_EQ(0x22, image.data()[0]);      // 0x4000 lands at offset 0
    EXPECT_EQ(0x33, image.data().back());  // 0x3FFFF is the last byte; 0x40000 is dropped
    EXPECT_EQ(2u, image.stored());
    EXPECT_EQ(0x4000u, image.lowest());
    EXPECT_EQ(0x3FFFFu, image.highest());
}

TEST(CFirmwareImage, IgnoresOtherRecordTypes) {
    CFirmwareImage image = CFirmwareImage::loopCardApplet();
    const std::string text = "S0030000FC\n" + Record('3', 0x0070, {1}) + Record('1', 0x0071, {7}) + "S9030000FC\n";
    ASSERT_TRUE(Parse(image, text));
    EXPECT_EQ(0xFF, image.data()[0]);
    EXPECT_EQ(7, image.data()[1]);
    EXPECT_EQ(1, image.pieceCount(64));
}

TEST(CFirmwareImage, DamagedRecordsFailTheLoad) {
    const std::string good = Record('1', 0x0070, {0xAB, 0xCD});
    std::string lower = good;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    lower[0] = 'S';  // lower-case digits count as 0 and break the checksum
    std::string badSum = good;
    badSum[badSum.size() - 2] = badSum[badSum.size() - 2] == '0' ? '1' : '0';
    const std::string truncated = good.substr(0, good.size() - 5) + "\n";
    for (const std::string& text : {lower, badSum, truncated, std::string("S1\n"), std::string("S102\n")}) {
        CFirmwareImage image = CFirmwareImage::loopCardApplet();
        EXPECT_FALSE(Parse(image, text)) << text;
        EXPECT_EQ(CFirmwareImage::ChecksumError, image.state());
    }
}

TEST(CFirmwareImage, MainBoardChecksumSkipsItsOwnArea) {
    CFirmwareImage image = CFirmwareImage::mainBoardFirmware();
    ASSERT_TRUE(Parse(image, Record('3', 0x4000, {0, 0, 0, 5}) + Record('3', 0x4204, {9, 9, 9, 9}) +
                                 Record('3', 0x4400, {0, 0, 1, 0})));
    // Everything else is 0xFFFFFFFF words: 0x80 words before 0x200 and 0xEF00 words from 0x400.
    const std::uint32_t ff = 0xFFFFFFFFu;
    const std::uint32_t expected = 5 + 0x100 + ff * (0x7F + 0xEEFF);
    EXPECT_EQ(expected, image.checksum());
    EXPECT_EQ(static_cast<std::uint8_t>(expected >> 24), image.data()[0x200]);
    EXPECT_EQ(static_cast<std::uint8_t>(expected), image.data()[0x203]);
    EXPECT_EQ(9, image.data()[0x204]);  // left as the file had it
    EXPECT_EQ(5, image.pieceCount(256));  // 0x4000..0x4403
}

TEST(CFirmwareImage, LoopCardCopiesVectorsAndSumsBytes) {
    CFirmwareImage image = CFirmwareImage::loopCardFirmware();
    std::vector<int> vectors(64);
    for (int i = 0; i < 64; ++i) vectors[i] = i;
    ASSERT_TRUE(Parse(image, Record('1', 0x2800, {1, 2}) + Record('1', 0xFFC0, vectors)));
    // the last two vector bytes give way to the checksum
    for (int i = 0; i < 62; ++i) ASSERT_EQ(i, image.data()[0xCFC0 + i]);
    EXPECT_EQ(0xF7FFu, image.highest());
    unsigned sum = 0;
    for (std::size_t off = 0; off <= 0xCFFD; ++off) sum += image.data()[off];
    EXPECT_EQ(sum & 0xFFFF, image.checksum());
    EXPECT_EQ((sum >> 8) & 0xFF, image.data()[0xCFFE]);
    EXPECT_EQ(sum & 0xFF, image.data()[0xCFFF]);
}

// srec_cat writes random binaries as S19 and S37; our window must hold exactly
// what srec_cat puts into a binary of the same window.
class SrecCatImages : public ::testing::TestWithParam<const char*> {};

TEST_P(SrecCatImages, LoadsTheSameBytesAsSrecCat) {
    if (std::system("command -v srec_cat >/dev/null 2>&1") != 0) GTEST_SKIP() << "srec_cat not installed";
    const bool s3 = std::string(GetParam()) == "S37";
    const std::uint32_t start = s3 ? 0x4000 : 0x2800, end = s3 ? 0x3FFFF : 0xFFFF, offset = s3 ? 0x4100 : 0x2810;
    const TempFolder folder("cairn-srec");
    const fs::path& dir = folder.path();
    std::mt19937 rng(s3 ? 1 : 2);
    {
        std::ofstream bin(dir / "in.bin", std::ios::binary);
        for (int i = 0; i < 5000; ++i) bin.put(static_cast<char>(rng() & 0xFF));
    }
    char cmd[1024];
    std::snprintf(cmd, sizeof cmd,
                  "cd '%s' && srec_cat in.bin -binary -offset 0x%X -o image.srec -Motorola -Address_Length=%d >/dev/null 2>&1 && "
                  "srec_cat image.srec -Motorola -crop 0x%X 0x%X -fill 0xFF 0x%X 0x%X -offset -0x%X -o window.bin "
                  "-binary >/dev/null 2>&1",
                  dir.c_str(), offset, s3 ? 4 : 2, start, end + 1, start, end + 1, start);
    ASSERT_EQ(0, std::system(cmd));
    CFirmwareImage image(start, end, s3 ? CFirmwareImage::Kind::S3 : CFirmwareImage::Kind::S1,
                         CFirmwareImage::PostProcess::None);
    ASSERT_TRUE(image.load(ToWide((dir / "image.srec").c_str())));
    std::ifstream win(dir / "window.bin", std::ios::binary);
    const std::vector<std::uint8_t> expected((std::istreambuf_iterator<char>(win)), std::istreambuf_iterator<char>());
    EXPECT_EQ(expected, image.data());
    EXPECT_EQ(5000u, image.stored());
}

INSTANTIATE_TEST_SUITE_P(Forms, SrecCatImages, ::testing::Values("S19", "S37"));

}  // namespace
