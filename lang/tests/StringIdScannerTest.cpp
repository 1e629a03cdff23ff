#include "StringIdScanner.h"

#include <gtest/gtest.h>

#include <fstream>

#include "testkit/TempFolder.h"

namespace fs = std::filesystem;

namespace {

std::vector<int> Ids(const std::vector<StringIdScanner::Use>& uses) {
    std::vector<int> ids;
    for (const auto& use : uses) ids.push_back(use.id);
    return ids;
}

TEST(StringIdScannerTest, FindsLiteralIdsOfTheLoaders) {
    struct Case {
        const char* text;
        std::vector<int> ids;
    };
    const Case cases[] = {
        {"KvLoadString(68, caption);", {68}},
        {"KvLoadString ( 0x1A ,\n text)", {26}},
        {"x = KvLoadString(279, fmt).c_str();", {279}},
        {"table.LoadStringW(text, 42)", {42}},
        {"LoadStringW(Pick(a, b), 7 )", {7}},
        {"KvLoadString(kCaption, text); KvLoadString(id + 1, text);", {}},
        {"LoadStringW(text, id); LoadStringW(text, 12u)", {12}},
        {"KvLoadString(12x, t); KvLoadString(0x, t)", {}},
        {"m_observer->showMessage(278); if (prompt.askYesNo(291)) loadText(45);", {45, 278, 291}},
        {"constexpr int kTypeChangeRefusedText = 278;\nstatic constexpr std::uint16_t kSavedMsg=0x4F;", {278, 79}},
        {"constexpr int kUnsavedMessage = 33 ; constexpr int kLabelString = 45;", {33, 45}},
        {"constexpr int kMaxLoops = 8; constexpr int kTextLimit = 24; constexpr int kZoneText = kBase + 1;", {}},
        {"constexpr int kSavedTextId = 79;", {79}},
        {"constexpr int textId(int n) { return n + 1; }", {}},
        {"MyKvLoadString(5, t); KvLoadStringTable(6, t)", {}},
        {"KvLoadString(12", {}},
        {"", {}},
    };
    StringIdScanner scanner;
    for (const Case& c : cases) EXPECT_EQ(Ids(scanner.ScanText(c.text, "f.cpp")), c.ids) << c.text;
}

TEST(StringIdScannerTest, NamesFileAndLine) {
    auto uses = StringIdScanner().ScanText("a;\nb;\n  KvLoadString(92, t);\n", "app/ui/CMainFrame.cpp");
    ASSERT_EQ(uses.size(), 1u);
    EXPECT_EQ(uses[0].where, "app/ui/CMainFrame.cpp:3");
}

class StringIdScannerTreeTest : public ::testing::Test {
protected:
    void Write(const std::string& relative, const std::string& text) {
        fs::path path = m_root / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path) << text;
    }

    TempFolder m_folder{"cairn-scan"};
    const fs::path m_root = m_folder.path();
};

TEST_F(StringIdScannerTreeTest, ScansProductionSourcesOnly) {
    Write("app/ui/CAboutBox.cpp", "KvLoadString(180, t);");
    Write("app/model/CFacilityManager.h", "inline void f() { KvLoadString(278, t); }");
    Write("app/ui/notes.txt", "KvLoadString(1, t);");
    Write("basalt/tests/KvStringTableFileTest.cpp", "KvLoadString(99999, t);");
    Write("fuzz/fuzz_stc.cpp", "KvLoadString(2, t);");
    Write("bench/stc.cpp", "KvLoadString(3, t);");
    Write(".git/x.cpp", "KvLoadString(4, t);");
    Write("build-asan/CMakeCache.txt", "");
    Write("build-asan/gen/x.cpp", "KvLoadString(5, t);");

    auto uses = StringIdScanner().ScanTree(m_root);
    std::sort(uses.begin(), uses.end(), [](const auto& a, const auto& b) { return a.id < b.id; });
    ASSERT_EQ(Ids(uses), (std::vector<int>{180, 278}));
    EXPECT_EQ(uses[0].where, "app/ui/CAboutBox.cpp:1");
    EXPECT_EQ(uses[1].where, "app/model/CFacilityManager.h:1");
}

TEST_F(StringIdScannerTreeTest, MissingRootGivesNothing) {
    EXPECT_TRUE(StringIdScanner().ScanTree(m_root / "none").empty());
}

}  // namespace
