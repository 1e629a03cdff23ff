// Checks the string tables that the build puts beside the program.
#include "LanguageFiles.h"
#include "StringIdScanner.h"

#include <gtest/gtest.h>

#include "basalt/KvStringTableFile.h"
#include "basalt/KvUtf.h"

namespace {

std::string TablePath(const std::string& code) { return LanguageFiles::BinDir() + "/cairn." + code + ".stc"; }

class StringTableFilesTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        ASSERT_EQ(LanguageFiles::Get().Errors(), "");
        ASSERT_TRUE(m_table.SetFile(TablePath(GetParam()).c_str())) << TablePath(GetParam()) << " does not load";
    }

    const std::map<int, const PoEntry*>& Texts() const { return LanguageFiles::Get().Texts(GetParam()); }

    KvStringTableFile m_table;
};

// The table holds exactly the PO file's texts: none lost, none changed, none stale.
TEST_P(StringTableFilesTest, HoldsEveryTextOfItsPoFile) {
    EXPECT_EQ(m_table.Count(), static_cast<int>(Texts().size()));
    for (const auto& [id, entry] : Texts()) {
        KvString text;
        EXPECT_TRUE(m_table.LoadStringW(text, id)) << "id " << id;
        EXPECT_EQ(std::string(text.c_str()), entry->msgstr) << "id " << id;
    }
}

TEST_P(StringTableFilesTest, IdsLoadedByTheSourcesNeverShowThePlaceholder) {
    for (const auto& use : StringIdScanner().ScanTree(LanguageFiles::SourceDir())) {
        KvWString text;
        m_table.LoadStringW(text, use.id);
        EXPECT_NE(ToUtf8(text.c_str()).Left(4), KvString("IDS_")) << "id " << use.id << " loaded at " << use.where;
    }
}

// The wide texts work as the formats their callers pass arguments to.
TEST_P(StringTableFilesTest, FormatsTakeTheirCallersArguments) {
    auto format = [&](int id, auto... args) {
        KvWString pattern, out;
        m_table.LoadStringW(pattern, id);
        out.Format(pattern.c_str(), args...);
        return std::string(ToUtf8(out.c_str()).c_str());
    };
    EXPECT_NE(format(279, 187).find("187"), std::string::npos);
    EXPECT_NE(format(103, 250).find("250"), std::string::npos);
    EXPECT_NE(format(104, 249).find("249"), std::string::npos);
    std::string progress = format(90, 1, 7, 248);
    EXPECT_LT(progress.find("1"), progress.find("7"));
    EXPECT_LT(progress.find("7"), progress.find("248"));
    progress = format(91, 1, 8, 250);
    EXPECT_LT(progress.find("8"), progress.find("250"));
    KvWString file = ToWide("C:\\registres\\alarma_def.csv");
    EXPECT_NE(format(328, file.c_str()).find("C:\\registres\\alarma_def.csv"), std::string::npos);
    EXPECT_NE(format(329, file.c_str()).find("C:\\registres\\alarma_def.csv"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Languages, StringTableFilesTest, ::testing::ValuesIn(LanguageFiles::Codes()),
                         [](const auto& info) { return info.param; });

}  // namespace
