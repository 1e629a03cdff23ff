// Runs the cairn-stc program itself and reads its output with KvStringTableFile.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "basalt/KvStringTableFile.h"
#include "testkit/TempFolder.h"

namespace {

class CairnStcTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* bin = std::getenv("CAIRN_BIN_DIR");
        ASSERT_NE(bin, nullptr);
        m_tool = std::string(bin) + "/cairn-stc";
    }

    std::string File(const std::string& name, const std::string& text) {
        const std::string path = m_dir + "/" + name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    // Exit status of the tool; its standard error lands in m_err.
    int Run(const std::string& args) {
        const std::string errFile = m_dir + "/stderr.txt";
        const int raw = std::system((m_tool + " " + args + " >/dev/null 2>'" + errFile + "'").c_str());
        std::ifstream in(errFile);
        m_err.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }

    TempFolder m_folder{"cairn-stc"};
    const std::string m_dir = m_folder.str();
    std::string m_tool, m_err;
};

const char kGerman[] =
    "msgid \"\"\n"
    "msgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n"
    "\n"
    "msgctxt \"68\"\nmsgid \"Cairn\"\nmsgstr \"Cairn\"\n\n"
    "msgctxt \"100\"\nmsgid \"Loop %d\"\nmsgstr \"Schleife %d\"\n\n"
    "msgctxt \"101\"\nmsgid \"Line one\\nLine two\"\nmsgstr \"\"\n\"Zeile eins\\n\"\n\"Zeile zwei \xC3\xBC\"\n\n"
    "msgctxt \"102\"\nmsgid \"Untranslated\"\nmsgstr \"\"\n\n"
    "msgctxt \"103\"\nmsgid \"Same\"\nmsgstr \" \"\n";

const char kEnglish[] =
    "msgctxt \"102\"\nmsgid \"Untranslated\"\nmsgstr \"Untranslated\"\n\n"
    "msgctxt \"103\"\nmsgid \"Same\"\nmsgstr \"Same\"\n";

TEST_F(CairnStcTest, CompiledTablesLoadBackWithFallback) {
    const std::string de = File("cairn.de.po", kGerman);
    const std::string en = File("cairn.en.po", kEnglish);
    ASSERT_EQ(Run("'" + de + "'"), 0) << m_err;  // default output name: cairn.de.stc
    ASSERT_EQ(Run("-o '" + m_dir + "/en.stc' '" + en + "'"), 0) << m_err;

    KvStringTableFile table;
    ASSERT_TRUE(table.SetFile((m_dir + "/cairn.de.stc").c_str(), (m_dir + "/en.stc").c_str()));
    const struct {
        int id;
        const char16_t* text;
    } expected[] = {{68, u"Cairn"},
                    {100, u"Schleife %d"},
                    {101, u"Zeile eins\nZeile zwei \u00FC"},
                    {102, u"Untranslated"},
                    {103, u"Same"},
                    {104, u"IDS_00104"}};
    for (const auto& e : expected) {
        KvWString text;
        table.LoadStringW(text, e.id);
        EXPECT_TRUE(text == e.text) << e.id;
    }
}

TEST_F(CairnStcTest, ExitStatusFollowsConventions) {
    EXPECT_EQ(Run("--help"), 0);
    EXPECT_EQ(Run(""), 2);
    EXPECT_NE(m_err.find("no input file"), std::string::npos);
    EXPECT_EQ(Run("--frobnicate x.po"), 2);
    EXPECT_EQ(Run("a.po b.po"), 2);
    EXPECT_EQ(Run("-o"), 2);
    EXPECT_EQ(Run("-o same.po same.po"), 2);
    EXPECT_EQ(Run("'" + m_dir + "/absent.po'"), 1);

    const std::string bad = File("bad.po", "msgctxt \"1\"\nmsgid \"a\"\nmsgstr \"unterminated\n");
    EXPECT_EQ(Run("'" + bad + "'"), 1);
    EXPECT_NE(m_err.find("bad.po:3: missing closing quote"), std::string::npos) << m_err;
    EXPECT_NE(::access((m_dir + "/bad.stc").c_str(), F_OK), 0);  // nothing written

    const std::string good = File("good.po", kGerman);
    EXPECT_EQ(Run("--check '" + good + "'"), 0) << m_err;
    EXPECT_NE(::access((m_dir + "/good.stc").c_str(), F_OK), 0);
    EXPECT_EQ(Run("-o '" + m_dir + "/missing/x.stc' '" + good + "'"), 1);  // no folder is made for it
    EXPECT_NE(m_err.find("missing/x.stc"), std::string::npos) << m_err;
    EXPECT_FALSE(std::ifstream(m_dir + "/missing"));
}

}  // namespace
