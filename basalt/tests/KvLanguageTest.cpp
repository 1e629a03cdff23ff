#include "basalt/KvLanguage.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include "basalt/KvUtf.h"

namespace {

TEST(KvLanguage, IdToCodeUsesThePrimaryLanguagePart) {
    const struct {
        int id;
        const char* code;
    } cases[] = {{0x0C0A, "es"}, {0x0409, "en"}, {0x0809, "en"}, {0x0407, "de"}, {0x041A, "hr"},
                 {0x0427, "lt"}, {0x0412, "??"}, {0, "??"},     {18, "??"},     {-1, "??"}};
    for (const auto& c : cases) EXPECT_STREQ(Win32LanguageIdToLanguageCode(c.id).c_str(), c.code) << c.id;
}

TEST(KvLanguage, CodeToIdComparesTwoCharactersWithoutCase) {
    const struct {
        const char* code;
        int id;
    } cases[] = {{"EN-gb", 9}, {"de", 7}, {"Fr", 12}, {"sr", 26}, {"hr", 26}, {"xx", -1},
                 {"e", -1},    {"", -1},  {"??", -1}};
    for (const auto& c : cases) EXPECT_EQ(Win32LanguageCodeToLanguageId(c.code), c.id) << c.code;
    EXPECT_EQ(Win32LanguageCodeToLanguageId(static_cast<const char*>(nullptr)), -1);
    EXPECT_EQ(Win32LanguageCodeToLanguageId(u"pL"), 21);
    EXPECT_EQ(Win32LanguageCodeToLanguageId(u"\u00E9n"), -1);
}

TEST(KvLanguage, NamesAreTheLanguagesOwn) {
    EXPECT_STREQ(Win32LanguageIdToLanguageName(7).c_str(), "Deutsch");
    EXPECT_STREQ(Win32LanguageIdToLanguageName(0x0405).c_str(), "\xC4\x8D" "e\xC5\xA1tina");
    EXPECT_STREQ(Win32LanguageIdToLanguageName(25).c_str(), "Pycc\xC4\xB8\xD0\xB8\xD0\xB9");
    EXPECT_STREQ(Win32LanguageIdToLanguageName(0x0412).c_str(), "??");
    // Every known code maps back to its id.
    for (int id = 1; id < 40; ++id) {
        const KvString code = Win32LanguageIdToLanguageCode(id);
        if (code == "??") continue;
        EXPECT_EQ(Win32LanguageCodeToLanguageId(code.c_str()), id) << code.c_str();
    }
}

TEST(KvLanguage, AppPathIsTheDirectoryOfThisProgram) {
    const KvWString app = GetAppPath();
    ASSERT_FALSE(app.IsEmpty());
    EXPECT_TRUE(app.StartsWith(u"/"));
    EXPECT_TRUE(app.EndsWith(u"/"));
    const KvString exe = ToUtf8((app + u"basalt_tests").c_str());
    EXPECT_EQ(::access(exe.c_str(), X_OK), 0) << exe.c_str();

    ::unsetenv("CAIRN_SHARE_DIR");
    EXPECT_TRUE(GetSharePath() == app);
    ::setenv("CAIRN_SHARE_DIR", "/opt/cairn/share", 1);
    EXPECT_TRUE(GetSharePath() == u"/opt/cairn/share/");
    ::unsetenv("CAIRN_SHARE_DIR");
}

}  // namespace
