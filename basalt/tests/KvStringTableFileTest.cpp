#include "basalt/KvStringTableFile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "basalt/KvCRC16.h"
#include "basalt/KvStringTableWriter.h"
#include "testkit/TempFolder.h"

namespace {

class KvStringTableFileTest : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        const std::string path = m_dir + "/" + name;
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (f) {
            if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
        }
        return path;
    }
    std::string Write(const std::string& name, const KvStringTableWriter& w) {
        std::vector<std::uint8_t> bytes;
        std::string error;
        EXPECT_TRUE(w.Build(bytes, error)) << error;
        return Write(name, bytes);
    }
    static KvString Load(KvStringTableFile& t, int id, bool* found = nullptr) {
        KvString s;
        const bool ok = t.LoadStringW(s, id);
        if (found) *found = ok;
        return s;
    }

    TempFolder m_folder{"cairn-stt"};
    const std::string m_dir = m_folder.str();
};

TEST_F(KvStringTableFileTest, NoFileGivesZeroPaddedPlaceholder) {
    KvStringTableFile t;
    bool found = true;
    EXPECT_STREQ(Load(t, 42, &found).c_str(), "IDS_00042");
    EXPECT_FALSE(found);
    KvWString w;
    EXPECT_FALSE(t.LoadStringW(w, 7));
    EXPECT_TRUE(w == u"IDS_00007");
}

TEST_F(KvStringTableFileTest, FindsTextsOfPrimaryAndWideConversion) {
    KvStringTableWriter w;
    w.Add(1, "Open");
    w.Add(68, "Cairn");
    w.Add(500, "Zone \xC3\xBC\xF0\x9F\x94\xA5");  // ü and a character beyond the BMP
    w.Add(9, "");
    KvStringTableFile t;
    ASSERT_TRUE(t.SetFile(Write("p.stc", w).c_str()));
    bool found = false;
    EXPECT_STREQ(Load(t, 68, &found).c_str(), "Cairn");
    EXPECT_TRUE(found);
    EXPECT_STREQ(Load(t, 1).c_str(), "Open");
    EXPECT_STREQ(Load(t, 9, &found).c_str(), "");
    EXPECT_TRUE(found);
    KvWString wide;
    ASSERT_TRUE(t.LoadStringW(wide, 500));
    EXPECT_TRUE(wide == u"Zone \u00FC\U0001F525");
    EXPECT_STREQ(Load(t, 2, &found).c_str(), "IDS_00002");
    EXPECT_FALSE(found);
}

// Made independently of the writer: the check value 0x600B (CRC-16/MODBUS of the
// index) is stored low byte first.
const std::vector<std::uint8_t> kGoldenTable = {
    0x00, 0x03, 0x00, 0x01, 0x00, 0x00, 0x00, 0x1C, 0x00, 0x04, 0x00, 0x44, 0x00, 0x00, 0x00, 0x20,
    0x00, 0x05, 0x00, 0x64, 0x00, 0x00, 0x00, 0x25, 0x00, 0x0B, 0x60, 0x0B, 0x4F, 0x70, 0x65, 0x6E,
    0x43, 0x61, 0x69, 0x72, 0x6E, 0x53, 0x63, 0x68, 0x6C, 0x65, 0x69, 0x66, 0x65, 0x20, 0xC3, 0xBC};

TEST_F(KvStringTableFileTest, ReadsAndWritesTheGoldenFile) {
    KvStringTableFile t;
    ASSERT_TRUE(t.SetFile(Write("golden.stc", kGoldenTable).c_str()));
    EXPECT_STREQ(Load(t, 1).c_str(), "Open");
    EXPECT_STREQ(Load(t, 68).c_str(), "Cairn");
    EXPECT_STREQ(Load(t, 100).c_str(), "Schleife \xC3\xBC");
    KvStringTableWriter w;
    w.Add(100, "Schleife \xC3\xBC");
    w.Add(1, "Open");
    w.Add(68, "Cairn");
    std::vector<std::uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(w.Build(bytes, error));
    EXPECT_EQ(bytes, kGoldenTable);
}

TEST_F(KvStringTableFileTest, IdsOutsideSixteenBitsDoNotAlias) {
    KvStringTableWriter w;
    w.Add(42, "forty-two");
    KvStringTableFile t;
    ASSERT_TRUE(t.SetFile(Write("p.stc", w).c_str()));
    EXPECT_STREQ(Load(t, 0x10000 + 42).c_str(), "IDS_65578");
    EXPECT_STREQ(Load(t, -1).c_str(), "IDS_-0001");
}

TEST_F(KvStringTableFileTest, EmptyPrimarySucceedsButSelectsNothing) {
    // An empty table still carries its check value, so a count damaged to zero is caught.
    EXPECT_FALSE(KvStringTableFile().SetFile(Write("zero.stc", std::vector<std::uint8_t>{0, 0, 0, 0}).c_str()));
    KvStringTableWriter sec;
    sec.Add(3, "three");
    KvStringTableFile t;
    EXPECT_TRUE(t.SetFile(Write("p.stc", KvStringTableWriter()).c_str(), Write("s.stc", sec).c_str()));
    EXPECT_FALSE(t.IsOpen());
    EXPECT_STREQ(Load(t, 3).c_str(), "IDS_00003");
}

TEST_F(KvStringTableFileTest, FallbackFileServesMissingAndSingleSpaceTexts) {
    KvStringTableWriter pri, sec;
    pri.Add(1, "Eins");
    pri.Add(2, " ");
    pri.Add(4, " ");
    pri.AddMissing(5);
    sec.Add(1, "One");
    sec.Add(2, "Two");
    sec.Add(3, "Three");
    sec.Add(5, " ");
    KvStringTableFile t;
    ASSERT_TRUE(t.SetFile(Write("p.stc", pri).c_str(), Write("s.stc", sec).c_str()));
    EXPECT_STREQ(Load(t, 1).c_str(), "Eins");
    EXPECT_STREQ(Load(t, 2).c_str(), "Two");
    EXPECT_STREQ(Load(t, 3).c_str(), "Three");  // only in the fallback
    EXPECT_STREQ(Load(t, 4).c_str(), "IDS_00004");
    EXPECT_STREQ(Load(t, 5).c_str(), " ");  // the fallback's text is used as it is
}

TEST_F(KvStringTableFileTest, EveryFlippedIndexBitIsRefused) {
    KvStringTableWriter w;
    w.Add(10, "ten");
    w.Add(11, "eleven");
    std::vector<std::uint8_t> good;
    std::string error;
    ASSERT_TRUE(w.Build(good, error));
    const std::size_t indexEnd = 2 + 8 * 2 + 2;
    for (std::size_t bit = 0; bit < indexEnd * 8; ++bit) {
        std::vector<std::uint8_t> bad = good;
        bad[bit / 8] ^= static_cast<std::uint8_t>(1u << (bit % 8));
        KvStringTableFile t;
        EXPECT_FALSE(t.SetFile(Write("bad.stc", bad).c_str())) << "bit " << bit;
        EXPECT_FALSE(t.IsOpen());
        EXPECT_STREQ(Load(t, 10).c_str(), "IDS_00010");
    }
}

TEST_F(KvStringTableFileTest, DamagedSecondaryIsIgnoredWholly) {
    KvStringTableWriter pri, sec;
    pri.Add(1, " ");
    sec.Add(1, "one");
    sec.Add(2, "two");
    std::vector<std::uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(sec.Build(bytes, error));
    bytes[3] ^= 0x01;
    KvStringTableFile t;
    ASSERT_TRUE(t.SetFile(Write("p.stc", pri).c_str(), Write("s.stc", bytes).c_str()));
    EXPECT_STREQ(Load(t, 1).c_str(), "IDS_00001");
    EXPECT_STREQ(Load(t, 2).c_str(), "IDS_00002");
    EXPECT_EQ(t.Count(), 1);
}

TEST_F(KvStringTableFileTest, TruncatedFilesAndMissingPaths) {
    KvStringTableWriter w;
    w.Add(1, "a text that will be cut");
    std::vector<std::uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(w.Build(bytes, error));
    KvStringTableFile t;
    for (std::size_t keep : {std::size_t{0}, std::size_t{1}, std::size_t{9}, std::size_t{11}}) {
        std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + keep);
        EXPECT_FALSE(t.SetFile(Write("cut.stc", cut).c_str())) << keep;
    }
    // Index intact, text cut short: the file is accepted, the text is not found.
    std::vector<std::uint8_t> cut(bytes.begin(), bytes.end() - 3);
    ASSERT_TRUE(t.SetFile(Write("cut.stc", cut).c_str()));
    EXPECT_STREQ(Load(t, 1).c_str(), "IDS_00001");
    EXPECT_FALSE(t.SetFile((m_dir + "/absent.stc").c_str()));
    EXPECT_FALSE(t.SetFile(nullptr));
}

TEST_F(KvStringTableFileTest, FirstRecordOfRepeatedIdWins) {
    // Made by hand: the writer never repeats an id.
    std::vector<std::uint8_t> b = {0, 2, 0, 7, 0, 0, 0, 20, 0, 1, 0, 7, 0, 0, 0, 21, 0, 1};
    KvCRC16 crc;
    crc.Add(b.data(), b.size());
    b.push_back(static_cast<std::uint8_t>(crc.Value() >> 8));
    b.push_back(static_cast<std::uint8_t>(crc.Value()));
    b.push_back('A');
    b.push_back('B');
    KvStringTableFile t;
    ASSERT_TRUE(t.SetFile(Write("dup.stc", b).c_str()));
    EXPECT_STREQ(Load(t, 7).c_str(), "A");
}

TEST_F(KvStringTableFileTest, ReselectingReplacesTheIndex) {
    KvStringTableWriter a, b;
    a.Add(1, "from a");
    b.Add(2, "from b");
    KvStringTableFile t;
    ASSERT_TRUE(t.SetFile(Write("a.stc", a).c_str()));
    ASSERT_TRUE(t.SetFile(Write("b.stc", b).c_str()));
    EXPECT_STREQ(Load(t, 1).c_str(), "IDS_00001");
    EXPECT_STREQ(Load(t, 2).c_str(), "from b");
}

TEST_F(KvStringTableFileTest, ConcurrentLookupsAndReselection) {
    KvStringTableWriter w;
    for (int id = 0; id < 200; ++id) w.Add(static_cast<std::uint16_t>(id), "text " + std::to_string(id));
    const std::string path = Write("p.stc", w);
    KvStringTableFile t;
    ASSERT_TRUE(t.SetFile(path.c_str()));
    std::vector<std::thread> threads;
    for (int n = 0; n < 4; ++n)
        threads.emplace_back([&t, n] {
            for (int i = 0; i < 500; ++i) {
                KvString s;
                const int id = (i * 7 + n) % 200;
                t.LoadStringW(s, id);
                // Either the text or, mid-reselection, never a mixture.
                EXPECT_TRUE(s == KvString(("text " + std::to_string(id)).c_str()) ||
                            s == KvString(("IDS_" + std::string(5 - std::to_string(id).size(), '0') +
                                           std::to_string(id)).c_str()));
            }
        });
    for (int i = 0; i < 50; ++i) t.SetFile(path.c_str());
    for (auto& th : threads) th.join();
}

TEST(StringId2String, AllFormsPadAndTerminate) {
    KvString s;
    KvWString w;
    StringId2String(42, s);
    StringId2String(12345, w);
    EXPECT_STREQ(s.c_str(), "IDS_00042");
    EXPECT_TRUE(w == u"IDS_12345");
    char narrow[6];
    StringId2String(42, narrow, sizeof narrow);
    EXPECT_STREQ(narrow, "IDS_0");
    char16_t wide[10];
    StringId2String(7, wide, 10);
    EXPECT_TRUE(KvWString(wide) == u"IDS_00007");
    StringId2String(7, wide, 1);
    EXPECT_EQ(wide[0], u'\0');
}

}  // namespace
