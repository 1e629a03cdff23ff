// The facility file is the same whatever the process locale and whatever bytes its name holds.
#include <gtest/gtest.h>
#include <unistd.h>

#include <clocale>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "FacilityBuilder.h"
#include "basalt/KvFileFind.h"
#include "basalt/KvPaths.h"
#include "file/CXmlHandler.h"
#include "model/CFacilityManager.h"
#include "testkit/TempFolder.h"

namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class CXmlHandlerFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        build.panel(1, 1, u"Caf\u00e9 2,5 \u20ac").details(u"\u00c9milie", u"+34 600", u"1.5")
            .loop(1).device(1, 13, 4).element(9, 16, 2).zones(3)
            .rule(1, 5, RuleSide{1, 1, 1, 1, 0, 0, 0, 5}, RuleSide{7, 1, 0, 0, 0, 1, 3, 6});
    }
    TempFolder folder{"cairn-xml-names"};
    const fs::path dir = folder.path();
    CFacilityManager m;
    FacilityBuilder build{m};
};

TEST_F(CXmlHandlerFileTest, SavedBytesAreTheSameInEveryProcessLocale) {
    const KvWString reference = FromPlatformPath((dir / "c.kvg").c_str());
    ASSERT_TRUE(CXmlHandler(m).save(reference));
    const std::string expected = readFile(dir / "c.kvg");
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    for (const char* locale : {"es_ES.UTF-8", "fr_FR.UTF-8", "de_DE.UTF-8"}) {
        ASSERT_NE(nullptr, std::setlocale(LC_ALL, locale)) << locale << " is not installed; run scripts/install-deps";
        CFacilityManager loaded;
        EXPECT_TRUE(CXmlHandler(loaded).load(reference)) << locale;
        EXPECT_TRUE(CXmlHandler(loaded).save(FromPlatformPath((dir / "locale.kvg").c_str()))) << locale;
        EXPECT_EQ(expected, readFile(dir / "locale.kvg")) << locale;
    }
    std::setlocale(LC_ALL, saved.c_str());
}

// A Latin-1 name is not UTF-8: opening it from a folder listing and saving must reach the same file.
TEST_F(CXmlHandlerFileTest, ALatin1FileNameIsSavedBackToTheSameName) {
    const fs::path latin1 = dir / "instalaci\xF3n \xE9t\xE9.kvg";
    ASSERT_TRUE(CXmlHandler(m).save(FromPlatformPath(latin1.c_str())));
    ASSERT_TRUE(fs::exists(latin1));

    KvFileFind find;
    ASSERT_TRUE(find.FindFile(FromPlatformPath((dir / "*.kvg").c_str()).c_str()));
    find.FindNextFileW();
    const KvWString opened = find.GetFilePath();
    CFacilityManager loaded;
    ASSERT_TRUE(CXmlHandler(loaded).load(opened));
    loaded.setPanelLabel(1, u"changed");
    ASSERT_TRUE(CXmlHandler(loaded).save(opened));

    int files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir)) ++files;
    EXPECT_EQ(1, files);  // the same file, no look-alike beside it
    EXPECT_NE(std::string::npos, readFile(latin1).find("<label>changed</label>"));
}

}  // namespace
