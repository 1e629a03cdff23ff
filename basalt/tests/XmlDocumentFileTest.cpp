#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "ProcessLocale.h"
#include "basalt/KvUtf.h"
#include "basalt/XmlDocument.h"
#include "testkit/TempFolder.h"

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void WriteFile(const fs::path& p, const std::string& content) { std::ofstream(p, std::ios::binary) << content; }

KvWString Wide(const fs::path& p) { return ToWide(p.string().c_str()); }

// A facility-like tree with every kind of text the serializer must escape.
void BuildSample(XmlDocument& doc, int panels) {
    doc.Create(u"facility");
    XmlDocument::XmlNode* list = doc.Root()->NewChild(u"panels");
    for (int id = 1; id <= panels; ++id) {
        XmlDocument::XmlNode* panel = list->NewChild(u"panel");
        panel->SetValue(u"id", id);
        panel->SetValue(u"label", u"Hall <A> & \"B\" 'C' \u00e9\u20ac\U0001F525");
        panel->SetValue(u"description", u"line 1\nline 2\ttab");
        panel->NewChild(u"loops")->setAttribute(u"note", u"a<b & \"c\"");
    }
}

class XmlDocumentFile : public ::testing::Test {
protected:
    int EntriesIn(const fs::path& d) {
        int n = 0;
        for ([[maybe_unused]] const auto& e : fs::directory_iterator(d)) ++n;
        return n;
    }
    TempFolder folder{"xmldoc"};
    const fs::path dir = folder.path();
};

TEST_F(XmlDocumentFile, SaveThenLoadGivesAnEqualTreeAndCreatesFolders) {
    XmlDocument doc;
    BuildSample(doc, 3);
    doc.SetDirty(true);
    const fs::path file = dir / "a" / "b" / "site.kvg";
    ASSERT_TRUE(doc.SaveAs(Wide(file)));
    EXPECT_FALSE(doc.Dirty());
    const std::string bytes = ReadFile(file);
    EXPECT_EQ(0u, bytes.rfind(XmlDocument::kDeclaration, 0));
    EXPECT_EQ(std::string::npos, bytes.find('\r'));

    XmlDocument back;
    ASSERT_TRUE(back.Load(Wide(file)));
    EXPECT_TRUE(*back.Root() == *doc.Root());
    EXPECT_EQ(Wide(file), back.FileName());
    EXPECT_EQ(1, EntriesIn(file.parent_path()));  // no temporary file left behind
}

TEST_F(XmlDocumentFile, LoadFailuresLeaveAnEmptyDocumentButKeepTheName) {
    XmlDocument doc;
    ASSERT_TRUE(doc.Parse("<a/>"));
    EXPECT_FALSE(doc.Load(Wide(dir / "missing.kvg")));
    EXPECT_FALSE(doc.IsOK());
    EXPECT_EQ(Wide(dir / "missing.kvg"), doc.FileName());
    WriteFile(dir / "bad.kvg", "<a><b></a>");
    EXPECT_FALSE(doc.Load(Wide(dir / "bad.kvg")));
    EXPECT_FALSE(doc.IsOK());
}

TEST_F(XmlDocumentFile, FailedSaveKeepsTheOldFileAndReportsFalse) {
    const fs::path file = dir / "site.kvg";
    WriteFile(file, "old content");
    XmlDocument doc;
    BuildSample(doc, 2000);  // well over the size limit below
    doc.SetDirty(true);

    // The disk "fills up" halfway through the write.
    struct rlimit old;
    ASSERT_EQ(0, ::getrlimit(RLIMIT_FSIZE, &old));
    struct rlimit small = old;
    small.rlim_cur = 4096;
    auto* oldHandler = ::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(0, ::setrlimit(RLIMIT_FSIZE, &small));
    const bool saved = doc.SaveAs(Wide(file));
    ::setrlimit(RLIMIT_FSIZE, &old);
    ::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved);
    EXPECT_TRUE(doc.Dirty());
    EXPECT_EQ("old content", ReadFile(file));
    EXPECT_EQ(1, EntriesIn(dir));
}

TEST_F(XmlDocumentFile, UnwritableTargetsReportFalse) {
    XmlDocument doc;
    EXPECT_FALSE(doc.SaveAs(Wide(dir / "empty.kvg")));  // nothing to save
    EXPECT_FALSE(fs::exists(dir / "empty.kvg"));

    BuildSample(doc, 1);
    WriteFile(dir / "plain", "x");
    EXPECT_FALSE(doc.SaveAs(Wide(dir / "plain" / "site.kvg")));  // a file where a folder must be
    fs::create_directory(dir / "folder.kvg");
    EXPECT_FALSE(doc.SaveAs(Wide(dir / "folder.kvg")));  // rename cannot replace a folder
    EXPECT_EQ(2, EntriesIn(dir));
    EXPECT_EQ("x", ReadFile(dir / "plain"));
}

TEST_F(XmlDocumentFile, SaveKeepsModeAndWritesThroughSymbolicLinks) {
    const fs::path real = dir / "real.kvg";
    WriteFile(real, "old");
    ::chmod(real.c_str(), 0640);
    fs::create_symlink(real, dir / "link.kvg");
    XmlDocument doc;
    BuildSample(doc, 1);
    ASSERT_TRUE(doc.SaveAs(Wide(dir / "link.kvg")));
    EXPECT_TRUE(fs::is_symlink(dir / "link.kvg"));
    EXPECT_NE(std::string::npos, ReadFile(real).find("<facility>"));
    struct stat st;
    ASSERT_EQ(0, ::stat(real.c_str(), &st));
    EXPECT_EQ(0640u, st.st_mode & 0777);
}

TEST_F(XmlDocumentFile, WhatWeWriteIsWellFormedForXmllint) {
    if (std::system("command -v xmllint >/dev/null 2>&1") != 0) GTEST_SKIP() << "xmllint not installed";
    XmlDocument doc;
    BuildSample(doc, 5);
    doc.Root()->setAttribute(u"version", u"1 & <2>");
    // Text XML cannot hold is left out rather than written.
    doc.Root()->SetValue(u"odd", KvWString(u"a\x01\x1b[31mb\0c\xFFFF\xD800", 12));
    doc.Root()->setAttribute(u"k", u"\x7f\x08");
    const fs::path file = dir / "site.kvg";
    ASSERT_TRUE(doc.SaveAs(Wide(file)));
    const std::string cmd = "xmllint --noout '" + file.string() + "' 2>&1";
    EXPECT_EQ(0, std::system(cmd.c_str())) << ReadFile(file);

    // xmllint's canonical re-serialization must read back to the same tree.
    const fs::path canon = dir / "canon.xml";
    ASSERT_EQ(0, std::system(("xmllint --noblanks '" + file.string() + "' | tail -n +2 > '" +
                              canon.string() + "'").c_str()));
    XmlDocument back;
    ASSERT_TRUE(back.Load(Wide(canon))) << ReadFile(canon);
    EXPECT_TRUE(*back.Root() == *doc.Root()) << ReadFile(canon);
}

// A decimal-comma process locale writes the file of the C locale, byte for byte.
TEST_F(XmlDocumentFile, FilesAreTheSameInEveryProcessLocale) {
    auto saveAndReload = [this](const std::string& name) {
        XmlDocument doc;
        BuildSample(doc, 2);
        doc.Root()->SetValue(u"ratio", 2.5);
        doc.Root()->SetValue(u"negative", -1234.0625);
        EXPECT_TRUE(doc.SaveAs(Wide(dir / name)));
        XmlDocument back;
        EXPECT_TRUE(back.Load(Wide(dir / name)));
        EXPECT_TRUE(back.IsOK() && *back.Root() == *doc.Root());
        return ReadFile(dir / name);
    };
    const std::string reference = saveAndReload("c.kvg");
    EXPECT_NE(std::string::npos, reference.find("<ratio>2.500000</ratio><negative>-1234.062500</negative>"));
    for (const char* locale : ProcessLocale::kDecimalComma) {
        ProcessLocale in(locale);
        ASSERT_TRUE(in.ok()) << locale << " is not installed; run scripts/install-deps";
        EXPECT_EQ(reference, saveAndReload("locale.kvg")) << locale;
    }
}

TEST_F(XmlDocumentFile, JsonRenderingIsValidForJq) {
    if (std::system("command -v jq >/dev/null 2>&1") != 0) GTEST_SKIP() << "jq not installed";
    XmlDocument doc;
    BuildSample(doc, 3);
    KvString json;
    doc.Root()->toJson(json);
    WriteFile(dir / "f.json", json.c_str());
    const std::string cmd = "jq -e '.facility.panels.panel | length == 3' '" + (dir / "f.json").string() + "' >/dev/null";
    EXPECT_EQ(0, std::system(cmd.c_str())) << json.c_str();
}

}  // namespace
