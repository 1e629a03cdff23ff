#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "ProcessLocale.h"
#include "basalt/JsonDocument.h"
#include "basalt/KvPaths.h"
#include "basalt/KvUtf.h"
#include "basalt/uuid.h"
#include "testkit/TempFolder.h"

namespace {

using JsonNode = JsonDocument::JsonNode;

std::string Json(const JsonDocument& doc) {
    KvString s;
    doc.CreateJsonCode(s);
    return std::string(s.c_str(), s.Length());
}

std::u16string U(const KvWString& s) { return std::u16string(s.c_str(), s.Length()); }

// True when jq accepts `text`; skipped (true) where jq is not installed.
bool JqAccepts(const std::string& text) {
    if (std::system("command -v jq >/dev/null 2>&1") != 0) return true;
    char name[] = "/tmp/jsontest-XXXXXX";
    const int fd = ::mkstemp(name);
    if (fd < 0) return false;
    const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ::close(fd);
    const int rc = std::system(("jq -e . " + std::string(name) + " >/dev/null 2>&1").c_str());
    ::unlink(name);
    return written && (rc == 0 || WEXITSTATUS(rc) == 1);  // 1: valid, but the value is false or null
}

TEST(JsonDocument, ParsesAndWritesCompactText) {
    JsonDocument doc;
    ASSERT_TRUE(doc.Parse(R"({ "a" : [1, 2.5, "x y"] })"));
    const JsonNode* a = doc.Root()->Node(u"a");
    ASSERT_NE(nullptr, a);
    ASSERT_EQ(JsonDocument::JsonArray, a->Type());
    ASSERT_EQ(3, a->Size());
    auto it = a->ChildsBegin();
    EXPECT_EQ(JsonDocument::JsonInteger, (*it)->Type());
    EXPECT_EQ(1, (*it)->ValueInt());
    EXPECT_EQ(JsonDocument::JsonDouble, (*++it)->Type());
    EXPECT_EQ(2.5, (*it)->ValueDouble());
    EXPECT_EQ(u"x y", U((*++it)->ValueString()));
    EXPECT_EQ(R"({"a": [1,2.5,"x y"]})", Json(doc));
}

TEST(JsonDocument, NumbersKeepTheirValue) {
    struct Case {
        const char* text;
        int type;
        double value;
    };
    const double inf = HUGE_VAL;
    const Case cases[] = {
        {"1e3", JsonDocument::JsonInteger, 1000},        {"1.0e3", JsonDocument::JsonDouble, 1000},
        {"-0", JsonDocument::JsonInteger, 0},            {"-2147483648", JsonDocument::JsonInteger, -2147483648.0},
        {"2147483648", JsonDocument::JsonDouble, 2147483648.0}, {"1e10", JsonDocument::JsonDouble, 1e10},
        {"1e-3", JsonDocument::JsonDouble, 0.001},       {"1E+2", JsonDocument::JsonInteger, 100},
        {"1e400", JsonDocument::JsonDouble, inf},        {"-1e-400", JsonDocument::JsonInteger, 0},
        {"12345678901234567890", JsonDocument::JsonDouble, 12345678901234567890.0},
    };
    for (const Case& c : cases) {
        JsonDocument doc;
        ASSERT_TRUE(doc.Parse(c.text)) << c.text;
        EXPECT_EQ(c.type, doc.Root()->Type()) << c.text;
        const double v = c.type == JsonDocument::JsonInteger ? doc.Root()->ValueInt() : doc.Root()->ValueDouble();
        EXPECT_EQ(c.value, v) << c.text;
    }
}

TEST(JsonDocument, MalformedTextFailsAndLeavesTheDocumentEmpty) {
    const char* cases[] = {"[1,]", "tru", "", "   ", "{", "[1 2]", R"({"a" 1})", R"("abc)", R"("\u12G4")",
                           R"("\u12")", R"("\)", "-", "1.", "1e", "1e+", "{1:2}", "[", "nul", R"({"a":1,})", "+1", ".5",
                           "[\"a\0\"]"};
    for (const char* text : cases) {
        JsonDocument doc;
        doc.Create(JsonDocument::JsonObject);
        EXPECT_FALSE(doc.Parse(text)) << text;
        EXPECT_FALSE(doc.IsOK()) << text;
    }
    JsonDocument doc;
    EXPECT_FALSE(doc.Parse(nullptr));
    const std::string deep = std::string(600, '[') + std::string(600, ']');
    EXPECT_FALSE(doc.Parse(deep.c_str()));  // refused instead of exhausting the stack
    const std::string fine = std::string(400, '[') + std::string(400, ']');
    EXPECT_TRUE(doc.Parse(fine.c_str()));
}

TEST(JsonDocument, StringEscapesAndSurrogatePairs) {
    JsonDocument doc;
    ASSERT_TRUE(doc.Parse(R"(["\ud83d\ude00", "\u00e9\u20AC", "a\"b\\c\/d", "\n\t\b\f\r", "\q", "x\ud83dy"])"));
    auto it = doc.Root()->ChildsBegin();
    EXPECT_EQ(u"\xD83D\xDE00", U((*it)->ValueString()));
    EXPECT_EQ(u"\u00e9\u20ac", U((*++it)->ValueString()));
    EXPECT_EQ(u"a\"b\\c/d", U((*++it)->ValueString()));
    EXPECT_EQ(u"\n\t\b\f\r", U((*++it)->ValueString()));
    EXPECT_EQ(u"q", U((*++it)->ValueString()));
    EXPECT_EQ(u"x\xD83Dy", U((*++it)->ValueString()));  // kept in the tree; dropped when written
    const std::string out = Json(doc);
    EXPECT_EQ("[\"\xF0\x9F\x98\x80\",\"\xC3\xA9\xE2\x82\xAC\",\"a\\\"b\\\\c/d\",\"\\n\\t\\b\\f\\r\",\"q\",\"xy\"]", out);
    EXPECT_TRUE(JqAccepts(out));
}

TEST(JsonDocument, NulCharactersInStringsAreWrittenAsEscapes) {
    JsonDocument doc;
    ASSERT_TRUE(doc.Parse(R"(["a\u0000b", {"k\u0000": "\u0000"}])"));
    EXPECT_EQ(3, (*doc.Root()->ChildsBegin())->ValueString().Length());
    const std::string out = Json(doc);
    EXPECT_EQ(R"(["a\u0000b",{"k\u0000": "\u0000"}])", out);
    EXPECT_TRUE(JqAccepts(out));
    JsonDocument again;
    ASSERT_TRUE(again.Parse(out.c_str()));
    EXPECT_EQ(out, Json(again));
}

TEST(JsonDocument, RawControlCharactersInStringsSurvive) {
    // Older files hold raw line breaks and tabs inside strings.
    JsonDocument doc;
    ASSERT_TRUE(doc.Parse("{\"note\":\"line 1\nline\t2\",\r\n\t\"k\" :\t1}"));
    EXPECT_EQ(u"line 1\nline\t2", U(doc.Root()->Node(u"note")->ValueString()));
    const std::string out = Json(doc);
    EXPECT_EQ(R"({"note": "line 1\nline\t2","k": 1})", out);
    EXPECT_TRUE(JqAccepts(out));
    ASSERT_TRUE(doc.Parse("\xEF\xBB\xBF{\"bom\":true} trailing text is ignored"));
    EXPECT_EQ(1, doc.Root()->Node(u"bom")->ValueInt());
}

TEST(JsonDocument, BuiltTreesAlwaysWriteValidJson) {
    JsonDocument doc;
    JsonNode* root = doc.Create(JsonDocument::JsonObject);
    root->SetString(u"ignored at the root");
    root->SetValue(u"flag", true);
    root->SetValue(u"count", 3);
    root->SetValue(u"ratio", 2.0);
    root->SetValue(u"tiny", 1e-7);
    root->SetValue(u"nan", std::nan(""));
    root->SetValue(u"text", u"say \"hi\"\x01");
    root->SetNullValue(u"none");
    JsonNode* list = root->NewChild("list", JsonDocument::JsonArray);
    list->NewChild(u"named in array", JsonDocument::JsonInteger)->SetValue(7);
    list->NewChild(JsonDocument::JsonObject)->NewChild(JsonDocument::JsonString)->SetValue("unnamed member");
    root->SetValue(u"id", uuid());
    const std::string out = Json(doc);
    EXPECT_EQ(R"({"flag": true,"count": 3,"ratio": 2.0,"tiny": 1.0e-07,"nan": null,"text": "say \"hi\"\u0001",)"
              R"("none": null,"list": [7,{"": "unnamed member"}],"id": "00000000-0000-0000-0000-000000000000"})",
              out);
    EXPECT_TRUE(JqAccepts(out));
    JsonDocument again;
    ASSERT_TRUE(again.Parse(out.c_str()));
    EXPECT_EQ(JsonDocument::JsonDouble, again.Root()->Node(u"ratio")->Type());  // 2.0 stays a double
    EXPECT_EQ(out, Json(again));
}

TEST(JsonDocument, PathQueries) {
    JsonDocument doc;
    ASSERT_TRUE(doc.Parse(R"({"panels":{"panel":{"id":1,"on":false,"name":"a"},
                                         "panel":{"id":3,"on":true,"name":"b c","loops":{"loop":{"n":2.5}}}},
                             "panels":{"panel":{"id":4}}})"));
    struct Case {
        const char16_t* path;
        const char16_t* nameOfFound;  // null: nothing found
    };
    const Case cases[] = {
        {u"panels/panel?id=3?/name", u"b c"},   {u"/panels/panel?on=true?/name", u"b c"},
        {u"panels/panel?name=b c?/id", nullptr},  // "id" has no name member: path ends at a number
        {u"panels/panel?loops/loop/n=2.5?/name", u"b c"},
        {u"panels/panel?loops?/name", u"b c"},   {u"panels/panel?id=4?", nullptr},  // no backtracking
        {u"panels/panel?id=3", nullptr},          {u"panels/panel?id=3?x", nullptr},
        {u"panels//panel/name/", u"a"},           {u"missing", nullptr},
    };
    for (const Case& c : cases) {
        const JsonNode* n = doc.Root()->Node(c.path);
        if (!c.nameOfFound) {
            if (std::u16string(c.path) == u"panels/panel?name=b c?/id") {
                ASSERT_NE(nullptr, n);
                EXPECT_EQ(3, n->ValueInt());
                continue;
            }
            EXPECT_EQ(nullptr, n) << U(KvWString(c.path)).size();
            continue;
        }
        ASSERT_NE(nullptr, n) << U(KvWString(c.path)).size();
        EXPECT_EQ(std::u16string(c.nameOfFound), U(n->ValueString()));
    }
    EXPECT_EQ(doc.Root(), doc.Root()->Node(u""));
    EXPECT_EQ(doc.Root()->Node(u"panels/panel?id=3?"), doc.Root()->NodeV(u"panels/panel?id=%d?", 3));
}

TEST(JsonDocument, CopiesAreDeep) {
    JsonDocument doc;
    ASSERT_TRUE(doc.Parse(R"({"a":{"b":[1,{"c":"x"}]}})"));
    JsonDocument copy(doc);
    copy.Root()->Node(u"a/b")->NewChild(JsonDocument::JsonNull);
    EXPECT_EQ(R"({"a": {"b": [1,{"c": "x"}]}})", Json(doc));
    EXPECT_EQ(R"({"a": {"b": [1,{"c": "x"},null]}})", Json(copy));
    JsonNode* root = doc.Root();
    *root = *root->Node(u"a");  // assigning a node from its own subtree
    EXPECT_EQ(R"({"b": [1,{"c": "x"}]})", Json(doc));
    copy = doc;
    EXPECT_EQ(Json(doc), Json(copy));
    root->RemoveChild(root->Node(u"b"));
    EXPECT_EQ("{}", Json(doc));
    root->RemoveChild(copy.Root());  // not a child: nothing happens
    EXPECT_EQ(R"({"b": [1,{"c": "x"}]})", Json(copy));
}

class JsonDocumentFile : public ::testing::Test {
protected:
    KvWString Path(const char* name) const { return ToWide((m_dir + "/" + name).c_str()); }
    std::string Read(const char* name) const {
        std::ifstream in(m_dir + "/" + name, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    TempFolder m_folder{"jsondoc"};
    const std::string m_dir = m_folder.str();
};

// The file a decimal-comma locale writes is the C locale's, byte for byte, and reads back the same.
TEST_F(JsonDocumentFile, FilesAreTheSameInEveryProcessLocale) {
    const char* text = R"({"pi": 3.14159,"big": 1.5e+300,"tiny": -2.5e-7,"n": [-12,0.5,1e3],"s": "2,5 \u00e9"})";
    auto saveAndReload = [this, text](const char* name) {
        JsonDocument doc;
        EXPECT_TRUE(doc.Parse(text));
        doc.Root()->SetValue(u"set", 2.5);
        EXPECT_TRUE(doc.SaveAs(Path(name).c_str()));
        JsonDocument back;
        EXPECT_TRUE(back.Load(Path(name).c_str()));
        EXPECT_EQ(2.5, back.Root()->Node(u"set")->ValueDouble());
        EXPECT_EQ(3.14159, back.Root()->Node(u"pi")->ValueDouble());
        return Read(name);
    };
    const std::string reference = saveAndReload("c.json");
    EXPECT_NE(std::string::npos, reference.find("\"set\": 2.5")) << reference;
    for (const char* locale : ProcessLocale::kDecimalComma) {
        ProcessLocale in(locale);
        ASSERT_TRUE(in.ok()) << locale << " is not installed; run scripts/install-deps";
        EXPECT_EQ(reference, saveAndReload("locale.json")) << locale;
    }
}

TEST_F(JsonDocumentFile, SaveAndLoadRoundTrip) {
    JsonDocument doc;
    doc.Create(JsonDocument::JsonObject)->SetValue(u"name", u"\u00e9cole \xD83D\xDE00");
    doc.SetDirty();
    ASSERT_TRUE(doc.SaveAs(Path("sub/dir/site.json").c_str()));
    EXPECT_FALSE(doc.Dirty());
    JsonDocument loaded;
    ASSERT_TRUE(loaded.Load(Path("sub/dir/site.json").c_str()));
    EXPECT_EQ(Json(doc), Json(loaded));
    EXPECT_TRUE(loaded.FileName() == Path("sub/dir/site.json"));
    EXPECT_FALSE(loaded.Load(Path("missing.json").c_str()));
    EXPECT_FALSE(loaded.IsOK());
}

TEST_F(JsonDocumentFile, FailedSaveKeepsTheOldFileAndTheDirtyFlag) {
    std::ofstream(m_dir + "/site.json") << "{\"old\": 1}";
    JsonDocument doc;
    doc.Create(JsonDocument::JsonObject)->SetValue(u"new", 2);
    doc.SetDirty();
    doc.SetFileName(Path("site.json").c_str());
    doc.Root()->SetValue(u"padding", KvWString(200, u'x').c_str());
    // The disk fills up halfway through the write.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved;
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 64;
    ::setrlimit(RLIMIT_FSIZE, &small);
    const bool savedOk = doc.Save();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_FALSE(savedOk);
    EXPECT_TRUE(doc.Dirty());
    EXPECT_EQ("{\"old\": 1}", Read("site.json"));
    doc.Root()->RemoveChild(doc.Root()->Node(u"padding"));
    JsonDocument empty;
    EXPECT_FALSE(empty.SaveAs(Path("site.json").c_str()));  // nothing to write: the old file stays
    EXPECT_EQ("{\"old\": 1}", Read("site.json"));
    ASSERT_TRUE(doc.Save());
    EXPECT_EQ("{\"new\": 2}", Read("site.json"));
    std::FILE* full = std::fopen("/dev/full", "w");
    if (full) {
        EXPECT_FALSE(doc.SaveJsonCode(full));
        std::fclose(full);
    }
}

}  // namespace
