#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "ProcessLocale.h"
#include "basalt/KvCfgFile.h"
#include "basalt/KvPaths.h"
#include "basalt/KvUtf.h"
#include "basalt/XmlDocument.h"
#include "testkit/TempFolder.h"

namespace {

using KvGroup = KvCfgFile::KvGroup;

std::u16string U(const KvWString& s) { return std::u16string(s.c_str(), s.Length()); }

bool LoadBody(KvCfgFile& cfg, const std::string& body) {
    const std::string text = "ASCII\r\n" + body;
    return cfg.LoadFromMemory(text.data(), text.size());
}

// Group names of `g` and below, depth first: "a(b,c)".
std::string Shape(const KvGroup& g) {
    std::string s;
    for (auto it = g.GroupsBegin(); it != g.GroupsEnd(); ++it) {
        if (!s.empty()) s += ",";
        s += ToUtf8((*it)->Name().c_str()).c_str();
        if ((*it)->Size() > 0) s += "(" + Shape(**it) + ")";
    }
    return s;
}

TEST(KvCfgFile, TheFirstLineMustBeAsciiCrLf) {
    KvCfgFile cfg;
    for (const char* text : {"ASCII\na { }", "ascii\r\na { }", "ASCI", ""})
        EXPECT_FALSE(cfg.LoadFromMemory(text, std::char_traits<char>::length(text))) << text;
    EXPECT_TRUE(cfg.LoadFromMemory("ASCII\r\n", 7));
}

TEST(KvCfgFile, LoadKeepsWholeGroupsAndDropsBrokenOnes) {
    struct Case {
        const char* body;
        bool result;
        const char* shape;
    };
    const Case cases[] = {
        {R"(panel { name = "Main" port = "COM1" loop { id = "1" } })", true, "panel(loop)"},
        {"a { b { } ", true, ""},                    // still open at the end: dropped
        {"b { } {", false, "b"},                      // "{" without a name stops loading
        {"a { { } b { }", true, "b"},                 // the error drops a; reading goes on
        {"a { x { { } } c { }", true, "a,c"},         // error inside x drops x alone
        {R"(a { v = "cut)", true, ""},                // value cut by the end fails the group
        {R"(x = "1" } b { })", true, "b"},            // options and ends at the top level ignored
        {"ab cd { } e-f { }", true, "abcd,ef"},       // other characters join name pieces
        {"\xE2 { } b { }", false, ""},               // a name of invalid UTF-8 is no name
    };
    for (const Case& c : cases) {
        KvCfgFile cfg;
        EXPECT_EQ(c.result, LoadBody(cfg, c.body)) << c.body;
        EXPECT_EQ(c.shape, Shape(cfg.Root())) << c.body;
    }
}

TEST(KvCfgFile, QuotedValues) {
    KvCfgFile cfg;
    ASSERT_TRUE(LoadBody(cfg, "g {\r\n"
                              " dir = \"C:\\\\dir\"\n"
                              " slash = \"a/b\"\n"
                              " twoslashes = \"a//b\"\n"
                              " quote = \"say \\\"hi\\\"\"\n"
                              " lines = \"one\\ntwo\\rthree\"\n"
                              " raw = \"t\tab\r\nbreak\"\n"
                              " utf8 = \"\xC3\xA9t\xC3\xA9\"\n"
                              " = \"no name\"\n"
                              "}"));
    const KvGroup* g = cfg.Group(u"g");
    ASSERT_NE(nullptr, g);
    struct Case {
        const char16_t* option;
        const char16_t* value;
    };
    const Case cases[] = {{u"dir", u"C:\\dir"},      {u"slash", u"a"},          {u"twoslashes", u"a/b"},
                          {u"quote", u"say \"hi\""}, {u"lines", u"one\ntwo\rthree"}, {u"raw", u"tabbreak"},
                          {u"utf8", u"\u00e9t\u00e9"}};
    for (const Case& c : cases) EXPECT_EQ(std::u16string(c.value), U(g->OptionValue(c.option, u"?"))) << U(c.option).size();
    EXPECT_EQ(7, static_cast<int>(g->OptionsEnd() - g->OptionsBegin()));  // the nameless option is skipped
    EXPECT_EQ(u"default", U(g->OptionValue(u"missing", u"default")));
}

TEST(KvCfgFile, SameNamedGroupsAreSelectedByOptionValue) {
    KvCfgFile cfg;
    ASSERT_TRUE(LoadBody(cfg, R"(a { x = "1" y = "p//q" } a { x = "2" z { n = "first" } } a { x = "2" z { n = "second" } })"));
    struct Case {
        const char16_t* path;
        const char16_t* x;  // option x of the group found; null: nothing found
    };
    const Case cases[] = {
        {u"a", u"1"},           {u"a:x='2'", u"2"},     {u"a:y='p/q'", u"1"},  {u"a:x='3'", nullptr},
        {u"a:x=2", nullptr},    {u"a:x='2", nullptr},   {u"a:x='2'b", nullptr}, {u"a:x", nullptr},
        {u"/a:x='2'/", u"2"},   {u"b", nullptr},        {u"A", nullptr},
    };
    for (const Case& c : cases) {
        const KvGroup* g = cfg.Group(c.path);
        if (!c.x) {
            EXPECT_EQ(nullptr, g) << U(c.path).size();
        } else {
            ASSERT_NE(nullptr, g) << U(c.path).size();
            EXPECT_EQ(std::u16string(c.x), U(g->OptionValue(u"x", u"")));
        }
    }
    // No backtracking: the first a with x=2 decides, even though the next one also matches.
    EXPECT_EQ(u"first", U(cfg.Group(u"a:x='2'/z")->OptionValue(u"n", u"")));
    EXPECT_EQ(cfg.Group(u"a:x='2'"), cfg.GroupV(u"a:x='%d'", 2));
    EXPECT_EQ(&cfg.Root(), cfg.Group(u""));
}

TEST(KvCfgFile, EditingTheTree) {
    KvCfgFile cfg;
    KvGroup* panel = cfg.AddGroup(u"panel");
    panel->SetOptionValue(u"name", u"Main");
    panel->SetOptionValue(u"name", u"Second");  // replaces, does not append
    panel->AddGroup(u"loop");
    EXPECT_EQ(u"Second", U(panel->OptionValue(u"name", u"")));
    EXPECT_EQ(1, static_cast<int>(panel->OptionsEnd() - panel->OptionsBegin()));
    EXPECT_TRUE(panel->RemoveOption(u"name"));
    EXPECT_FALSE(panel->RemoveOption(u"name"));
    panel->RemoveGroup(panel->Group(u"loop"));
    EXPECT_EQ(0, panel->Size());
    cfg.SetDirty(true);
    cfg.Reset(u"other.cfg");
    EXPECT_FALSE(cfg.Dirty());
    EXPECT_EQ(0, cfg.Root().Size());
    EXPECT_EQ(u"other.cfg", U(cfg.FileName()));
}

class KvCfgFileOnDisk : public ::testing::Test {
protected:
    KvWString Path(const char* name) const { return ToWide((m_dir + "/" + name).c_str()); }
    void Write(const char* name, const std::string& text) const { std::ofstream(m_dir + "/" + name, std::ios::binary) << text; }
    std::string Read(const char* name) const {
        std::ifstream in(m_dir + "/" + name, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    TempFolder m_folder{"kvcfg"};
    const std::string m_dir = m_folder.str();
};

TEST_F(KvCfgFileOnDisk, SaveWritesWhatLoadReadsBack) {
    KvCfgFile cfg;
    KvGroup* panel = cfg.AddGroup(u"panel");
    panel->SetOptionValue(u"path", u"C:\\dir/file \"x\"\nnext \u00e9");
    panel->AddGroup(u"loop")->SetOptionValue(u"id", u"1");
    cfg.SetDirty(true);
    ASSERT_TRUE(cfg.SaveAs(Path("site.cfg")));
    EXPECT_FALSE(cfg.Dirty());
    EXPECT_EQ(0, Read("site.cfg").rfind("ASCII\r\n", 0));
    KvCfgFile back;
    ASSERT_TRUE(back.Load(Path("site.cfg")));
    EXPECT_EQ(U(panel->OptionValue(u"path", u"")), U(back.Group(u"panel")->OptionValue(u"path", u"?")));
    EXPECT_EQ(u"1", U(back.Group(u"panel/loop:id='1'")->OptionValue(u"id", u"")));
    EXPECT_FALSE(back.Load(Path("missing.cfg")));
    EXPECT_FALSE(KvCfgFile().Save());  // no file name: nothing claimed

    KvCfgFile unnamed;  // names without name characters still give a readable file
    unnamed.AddGroup(u"")->AddGroup(u"-")->SetOptionValue(u"", u"v");
    ASSERT_TRUE(unnamed.SaveAs(Path("unnamed.cfg")));
    ASSERT_TRUE(back.Load(Path("unnamed.cfg")));
    EXPECT_EQ(u"v", U(back.Group(u"_/_")->OptionValue(u"_", u"")));
}

TEST_F(KvCfgFileOnDisk, FilesAreTheSameInEveryProcessLocale) {
    auto saveAndReload = [this](const char* name) {
        KvCfgFile cfg;
        KvGroup* panel = cfg.AddGroup(u"panel");
        panel->SetOptionValue(u"ratio", KvWString().Format(u"%g", 2.5));
        panel->SetOptionValue(u"label", u"Hall \u00c9 \u00a0\"2,5\"");
        panel->AddGroup(u"Loop")->SetOptionValue(u"id", u"1");
        EXPECT_TRUE(cfg.SaveAs(Path(name)));
        KvCfgFile back;
        EXPECT_TRUE(back.Load(Path(name)));
        EXPECT_EQ(u"2.5", U(back.Group(u"panel")->OptionValue(u"ratio", u"")));
        EXPECT_EQ(u"Hall \u00c9 \u00a0\"2,5\"", U(back.Group(u"panel")->OptionValue(u"label", u"")));
        return Read(name);
    };
    const std::string reference = saveAndReload("c.cfg");
    for (const char* locale : ProcessLocale::kDecimalComma) {
        ProcessLocale in(locale);
        ASSERT_TRUE(in.ok()) << locale << " is not installed; run scripts/install-deps";
        EXPECT_EQ(reference, saveAndReload("locale.cfg")) << locale;
    }
}

TEST_F(KvCfgFileOnDisk, FailedSaveLeavesTheOldFile) {
    Write("site.cfg", "ASCII\r\nold { }\r\n");
    KvCfgFile cfg;
    cfg.AddGroup(u"new")->SetOptionValue(u"text", KvWString(200, u'x'));
    cfg.SetFileName(Path("site.cfg"));
    cfg.SetDirty(true);
    // The disk fills up halfway through the write.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved;
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 64;
    ::setrlimit(RLIMIT_FSIZE, &small);
    const bool savedOk = cfg.Save();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_FALSE(savedOk);
    EXPECT_TRUE(cfg.Dirty());
    EXPECT_EQ("ASCII\r\nold { }\r\n", Read("site.cfg"));
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(m_dir)) files += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(1, files);  // no temporary file left behind
}

TEST_F(KvCfgFileOnDisk, ConvertsToAnXmlDocument) {
    Write("site.cfg", "ASCII\r\npanel { name = \"A & B <1>\" loop { id = \"1\" } loop { id = \"2\" } }\r\nzone { }");
    XmlDocument doc;
    ASSERT_TRUE(KvCfgFile2XmlDocument(Path("site.cfg"), Path("site.xml"), doc));
    EXPECT_EQ(u"main", U(doc.Root()->Tag()));
    EXPECT_EQ(u"A & B <1>", U(doc.Node(u"panel/name")->Value()));
    EXPECT_EQ(u"2", U(doc.Root()->Value(u"panel/loop?id=2?/id", u"")));
    EXPECT_NE(nullptr, doc.Node(u"zone"));
    EXPECT_EQ(Path("site.xml"), doc.FileName());
    KvString xml;
    doc.CreateXmlCode(xml);
    const std::string text(xml.c_str(), xml.Length());
    EXPECT_NE(std::string::npos, text.find("<name>A &amp; B &lt;1&gt;</name>")) << text;
    // Names may start with a digit in the file, never in XML.
    Write("digits.cfg", "ASCII\r\n1panel { 2name = \"x\" } panel { _3 = \"y\" }");
    ASSERT_TRUE(KvCfgFile2XmlDocument(Path("digits.cfg"), Path("x.xml"), doc));
    EXPECT_EQ(u"x", U(doc.Root()->Value(u"_1panel/_2name", u"")));
    EXPECT_EQ(u"y", U(doc.Root()->Value(u"panel/_3", u"")));
    Write("missing-magic.cfg", "panel { }");
    EXPECT_FALSE(KvCfgFile2XmlDocument(Path("missing-magic.cfg"), Path("x.xml"), doc));
}

}  // namespace
