#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "basalt/JsonDocument.h"
#include "basalt/KvUtf.h"
#include "basalt/XmlDocument.h"
#include "basalt/uuid.h"

namespace {

using XmlNode = XmlDocument::XmlNode;

std::string Xml(const XmlDocument& doc) {
    KvString text;
    doc.CreateXmlCode(text, false);
    return text.c_str();
}

std::u16string W(const KvWString& s) { return std::u16string(s.c_str(), s.Length()); }

struct ParseCase {
    const char* text;
    bool ok;
};

TEST(XmlDocument, ParseAcceptsOnlyTheStrictSubset) {
    const ParseCase cases[] = {
        {"<a/>", true},
        {"<a></a>", true},
        {"<?xml version=\"1.0\"?><a/>", true},
        {"<?xml version=\"1.0\"?>\n<a/>", true},  // editors add the line break
        {"<?xml version=\"1.0\"?>\r\n<a/>\n", true},
        {"\xEF\xBB\xBF<a/>", true},
        {"<a></a>anything after the root", true},
        {"<a x='1' y=\"2\"/>", true},
        {"", false},
        {"   ", false},
        {"<?xml version=\"1.0\"?>", false},
        {"<?xml version=\"1.0\"?x<a/>", false},
        {"<?xml", false},
        {"text<a/>", false},
        {"<a>", false},
        {"<a>text", false},
        {"<a", false},
        {"<a></b>", false},
        {"<a></a", false},
        {"<a></a >", false},
        {"<a><b></a></b>", false},
        {"<a><!-- c --></a>", false},
        {"<a><!-- c --/></a>", false},
        {"<a><![CDATA[x]]></a>", false},
        {"<!DOCTYPE a><a/>", false},
        {"<a><?pi x?></a>", false},
        {"</a>", false},
        {"<>", false},
        {"<a<b>x</a<b>", false},
        {"<a\x01>x</a\x01>", false},  // a tag must be an XML name
        {"<1a/>", false},
        // Tags that could not be written and read back the same way.
        {"<\xff x=\"</>", false},
        {"<\xff!a/>", false},
        {"<\xED\xA0\x80/>", false},
        {"<a/ >x</a/>", false},
        {"<a\xff" "b>x</a\xff" "b>", true},
    };
    for (const auto& c : cases) {
        XmlDocument doc;
        EXPECT_EQ(c.ok, doc.Parse(c.text)) << c.text;
        EXPECT_EQ(c.ok, doc.IsOK()) << c.text;
    }
    XmlDocument doc;
    EXPECT_FALSE(doc.Parse(nullptr));
}

TEST(XmlDocument, FailedParseLeavesTheDocumentEmpty) {
    XmlDocument doc;
    ASSERT_TRUE(doc.Parse("<a><b/></a>"));
    EXPECT_FALSE(doc.Parse("<a><b/>"));
    EXPECT_EQ(nullptr, doc.Root());
    EXPECT_EQ(nullptr, doc.Node(u"b"));
    EXPECT_EQ(u"d", W(doc.Value(u"b", u"d")));
}

TEST(XmlDocument, NestingIsBoundedInsteadOfExhaustingTheStack) {
    auto nested = [](int depth) {
        std::string s;
        for (int i = 0; i < depth; ++i) s += "<a>";
        for (int i = 0; i < depth; ++i) s += "</a>";
        return s;
    };
    XmlDocument doc;
    EXPECT_TRUE(doc.Parse(nested(XmlDocument::kMaxDepth).c_str()));
    EXPECT_FALSE(doc.Parse(nested(XmlDocument::kMaxDepth + 2).c_str()));
    EXPECT_FALSE(doc.Parse(std::string(200000, '<').c_str()));
}

TEST(XmlDocument, TextAroundChildrenJoinsIntoOneValueWrittenAfterThem) {
    XmlDocument doc;
    ASSERT_TRUE(doc.Parse("<a>x<b/>y</a>"));
    EXPECT_EQ(u"xy", W(doc.Root()->Value()));
    EXPECT_EQ(1, doc.Root()->Size());
    EXPECT_EQ("<a><b></b>xy</a>", Xml(doc));

    ASSERT_TRUE(doc.Parse("<a>\n  <b>1</b>\n</a>"));
    EXPECT_EQ(u"\n  \n", W(doc.Root()->Value()));
    EXPECT_EQ(u"1", W(doc.Value(u"b", u"")));
}

TEST(XmlDocument, EntitiesAreDecodedExactlyOnce) {
    struct {
        const char* xml;
        std::u16string value;
    } cases[] = {
        {"<a>&amp;lt;</a>", u"&lt;"},
        {"<a>&lt;&gt;&quot;&apos;&amp;</a>", u"<>\"'&"},
        {"<a>&#65;</a>", u"&#65;"},
        {"<a>&unknown; &amp</a>", u"&unknown; &amp"},
        {"<a>a &amp;amp; b</a>", u"a &amp; b"},
    };
    for (const auto& c : cases) {
        XmlDocument doc;
        ASSERT_TRUE(doc.Parse(c.xml)) << c.xml;
        EXPECT_EQ(c.value, W(doc.Root()->Value())) << c.xml;
    }
}

TEST(XmlDocument, Utf8TextBecomesUtf16AndBack) {
    XmlDocument doc;
    ASSERT_TRUE(doc.Parse("<z\xC3\xA9><v>\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80</v></z\xC3\xA9>"));
    EXPECT_EQ(u"z\u00e9", W(doc.Root()->Tag()));
    EXPECT_EQ(u"\u00e9\u20ac\U0001F600", W(doc.Value(u"v", u"")));
    EXPECT_EQ("<z\xC3\xA9><v>\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80</v></z\xC3\xA9>", Xml(doc));
    // Damaged UTF-8 is decoded the way the library's converter does it.
    ASSERT_TRUE(doc.Parse("<a>x\x80y\xE2\x82z&amp;</a>"));
    KvWString expected;
    Utf8ToUtf16(expected, "x\x80y\xE2\x82z&");
    EXPECT_EQ(W(expected), W(doc.Root()->Value()));
}

TEST(XmlDocument, AttributesTolerateSpacingAndKeepTheirQuotes) {
    struct {
        const char* xml;
        std::vector<std::pair<std::u16string, std::u16string>> attrs;
    } cases[] = {
        {"<a x=\"1\" y='2'/>", {{u"x", u"1"}, {u"y", u"2"}}},
        {"<a x = \"1\"/>", {{u"x", u"1"}}},
        {"<a\n\tx=\"1\"\n>t</a>", {{u"x", u"1"}}},
        {"<a y='say \"hi\"' x=\"it's\"/>", {{u"x", u"it's"}, {u"y", u"say \"hi\""}}},
        {"<a x=\"a&amp;b&lt;\"/>", {{u"x", u"a&b<"}}},
        {"<a x=\"1\" x=\"2\"/>", {{u"x", u"2"}}},
        {"<a x=\"1\" y=2 z=\"3\"/>", {{u"x", u"1"}}},  // a broken pair ends the list
        {"<a x=\"1\" y=\"unterminated/>", {{u"x", u"1"}}},
        {"<a b=\"\"/>", {{u"b", u""}}},
    };
    for (const auto& c : cases) {
        XmlDocument doc;
        ASSERT_TRUE(doc.Parse(c.xml)) << c.xml;
        std::vector<std::pair<std::u16string, std::u16string>> got;
        for (auto it = doc.Root()->attributesBegin(); it != doc.Root()->attributesEnd(); ++it)
            got.emplace_back(W(it->first), W(it->second));
        EXPECT_EQ(c.attrs, got) << c.xml;
        EXPECT_EQ(u"a", W(doc.Root()->Tag())) << c.xml;
    }
}

TEST(XmlDocument, SerializerEscapesEverythingItWrites) {
    XmlDocument doc;
    doc.Create(u"r");
    doc.Root()->setAttribute(u"q", u"a\"b<c>&'");
    doc.Root()->setAttribute(u"a", u"1");
    doc.Root()->SetValue(u"v", u"x<y & \"z\"");
    doc.Root()->NewChild(u"e");
    EXPECT_EQ(
        "<r a=\"1\" q=\"a&quot;b&lt;c&gt;&amp;&apos;\"><v>x&lt;y &amp; &quot;z&quot;</v><e></e></r>", Xml(doc));

    KvString text;
    doc.CreateXmlCode(text, true);
    ASSERT_EQ(55u, std::strlen(XmlDocument::kDeclaration));
    EXPECT_EQ(std::string(XmlDocument::kDeclaration) + Xml(doc), text.c_str());

    XmlDocument back;
    ASSERT_TRUE(back.Parse(text.c_str()));
    EXPECT_TRUE(*back.Root() == *doc.Root());
    EXPECT_EQ(u"a\"b<c>&'", W(back.Root()->getAttribute(u"q", u"")));
}

TEST(XmlDocument, TextNoXmlDocumentCanHoldIsLeftOutOnOutput) {
    XmlDocument doc;
    doc.Create(u"r");
    const char16_t text[] = {u'a', 0xD800, u'b', 0xDC00, 0xD83D, 0xDE00, 0x01, u'\t', 0x1F, u'\n', 0x7F,
                             u'\r', 0xFFFE, 0xFFFF, 0xFFFD, 0x0B, 0x0C, u'c', 0};
    doc.Root()->SetValue(text);
    doc.Root()->setAttribute(u"k", KvWString(u"x\0y\x08z", 6));
    EXPECT_EQ("<r k=\"xyz\">ab\xF0\x9F\x98\x80\t\n\x7F\r\xEF\xBF\xBD" "c</r>", Xml(doc));
}

// Points where the old fast decoder and Utf8ToUtf16 disagreed: both now drop
// overlong forms, encoded surrogates and values above U+10FFFF.
TEST(XmlDocument, DamagedUtf8IsDecodedByTheLibraryRules) {
    XmlDocument doc;
    ASSERT_TRUE(doc.Parse("<r><a\xC0\xAF" "b>x</a\xC0\xAF" "b></r>"));
    EXPECT_EQ(u"ab", W((*doc.Root()->ChildsBegin())->Tag()));  // never the tag "a/b"
    EXPECT_EQ("<r><ab>x</ab></r>", Xml(doc));

    const char* texts[] = {"x\xC0\x80y", "x\xED\xA0\x80y", "x\xF4\x90\x80\x80y", "x\xE0\x80\xAFy",
                           "x\xF8\x88\x80\x80\x80y", "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"};
    for (const char* t : texts) {
        ASSERT_TRUE(doc.Parse(("<a>" + std::string(t) + "</a>").c_str())) << t;
        KvWString expected;
        Utf8ToUtf16(expected, t);
        EXPECT_EQ(W(expected), W(doc.Root()->Value())) << t;
        ASSERT_TRUE(doc.Parse(("<a k=\"" + std::string(t) + "\"/>").c_str())) << t;
        EXPECT_EQ(W(expected), W(doc.Root()->getAttribute(u"k", u"-"))) << t;
    }
    ASSERT_TRUE(doc.Parse("<a>\xC0\x80</a>"));
    EXPECT_TRUE(doc.Root()->Value().IsEmpty());  // never a U+0000
}

// Names differing only by damaged bytes once came out as the same attribute
// twice; names with control characters were written as they were.
TEST(XmlDocument, ParsedTreesAlwaysWriteWellFormedXml) {
    const struct {
        const char* xml;
        const char* written;  // null: does not parse
    } cases[] = {
        {"<a enc\xED\xA0\x80oding=\"UTF-8\" encoding=\"UTF-8\"/>", "<a encoding=\"UTF-8\"></a>"},
        {"<a x\xF4\x90\x80\x80=\"1\" x=\"2\"/>", "<a x=\"2\"></a>"},
        {"<a\x01>x</a\x01>", nullptr},
        {"<a x\x01=\"1\" y=\"2\"/>", "<a></a>"},
        {"<a y=\"2\" x\x01=\"1\"/>", "<a y=\"2\"></a>"},
        {"<a&amp;b/>", nullptr},
        {"<1a/>", nullptr},
        {"<a><b&lt;/></a>", nullptr},
        {"<a x&amp;=\"1\"/>", "<a></a>"},
        {"<a>\x01\x02 \x0B</a>", "<a> </a>"},
    };
    for (const auto& c : cases) {
        XmlDocument doc;
        ASSERT_EQ(c.written != nullptr, doc.Parse(c.xml)) << c.xml;
        if (!c.written) continue;
        KvString text;
        ASSERT_TRUE(doc.CreateXmlCode(text, false)) << c.xml;
        EXPECT_STREQ(c.written, text.c_str()) << c.xml;
    }
}

class XmlQuery : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(doc.Parse("<f>"
                              "<panels><panel><id>1</id></panel><panel><id>3</id><name>x</name></panel></panels>"
                              "<panels><panel><id>4</id><name>y</name></panel></panels>"
                              "<tail>t</tail>"
                              "</f>"));
    }
    std::u16string Name(const XmlNode* n) { return n ? W(n->Value(u"name", u"-")) : u"(null)"; }
    XmlDocument doc;
};

TEST_F(XmlQuery, ConditionsSelectTheFirstMatchingChild) {
    EXPECT_EQ(u"x", Name(doc.Node(u"panels/panel?id=3?")));
    EXPECT_EQ(u"x", Name(doc.Root()->NodeV(u"panels/panel?id=%d?", 3)));
    EXPECT_EQ(u"x", Name(doc.Node(u"panels/panel?name?")));
    EXPECT_EQ(u"x", W(doc.Value(u"panels/panel?id=3?/name", u"")));
    EXPECT_EQ(u"-", Name(doc.Node(u"panels/panel?id=1?")));
    EXPECT_EQ(u"-", Name(doc.Node(u"/panels//panel/")));
    // The sub-path may span levels; it too takes first matches only.
    EXPECT_EQ(u"y", Name(doc.Node(u"panels?panel/id=4?/panel")));
    EXPECT_EQ(u"t", W(doc.Value(u"tail?=t?", u"")));
}

TEST_F(XmlQuery, NeverBacktracksToALaterSibling) {
    EXPECT_EQ(nullptr, doc.Node(u"panels/panel?id=4?"));  // lies under the second "panels"
    EXPECT_EQ(nullptr, doc.Root()->NodeV(u"panels/panel?id=%d?", 4));
    EXPECT_EQ(nullptr, doc.Node(u"panels/panel/name"));  // only the second panel has a name
}

TEST_F(XmlQuery, MalformedOrMissingPathsFindNothing) {
    const char16_t* paths[] = {u"panels/panel?id=3",  u"panels/panel?id=3?x", u"panels/panel?id=33?",
                               u"Panels",             u"panels/panel/id/x",   u"panels/panel?id=?",
                               u"panels/panel?nope?", u"tail/x"};
    for (const char16_t* p : paths) EXPECT_EQ(nullptr, doc.Node(p)) << ToUtf8(p).c_str();
    EXPECT_EQ(doc.Root(), doc.Node(u""));
    EXPECT_EQ(doc.Root(), doc.Node(u"//"));
    EXPECT_TRUE(doc.Root()->HasNode(u"tail"));
    XmlDocument empty;
    EXPECT_EQ(nullptr, empty.Node(u""));
    EXPECT_EQ(u"d", W(empty.Value(u"a/b", u"d")));
    EXPECT_FALSE(empty.Erase(u"a"));
}

TEST_F(XmlQuery, EraseRemovesExactlyTheNodeAQueryFinds) {
    EXPECT_FALSE(doc.Erase(u""));
    EXPECT_FALSE(doc.Erase(u"/"));
    EXPECT_FALSE(doc.Erase(u"panels/panel?id=4?"));
    EXPECT_TRUE(doc.Root()->EraseV(u"panels/panel?id=%d?", 3));
    EXPECT_EQ(nullptr, doc.Node(u"panels/panel?id=3?"));
    EXPECT_EQ(1, doc.Node(u"panels")->Size());
    EXPECT_TRUE(doc.Erase(u"panels"));
    EXPECT_EQ(u"y", Name(doc.Node(u"panels/panel")));
}

TEST(XmlNode, EraseTagByIndexCountsOnlyThatTag) {
    XmlDocument doc;
    ASSERT_TRUE(doc.Parse("<r><x>0</x><y/><x>1</x><x>2</x></r>"));
    XmlNode* r = doc.Root();
    EXPECT_FALSE(r->EraseTag(u"x", 5));
    EXPECT_EQ(4, r->Size());
    EXPECT_TRUE(r->EraseTag(u"x", 1));
    EXPECT_EQ("<r><x>0</x><y></y><x>2</x></r>", Xml(doc));
    EXPECT_TRUE(r->EraseTag(u"x"));
    EXPECT_EQ("<r><y></y></r>", Xml(doc));
    EXPECT_TRUE(r->Node(u"y")->EraseTag(u"x", 5));  // no children at all
}

TEST(XmlNode, SetValueByNameUpdatesOrAppends) {
    XmlDocument doc;
    doc.Create(u"r");
    XmlNode* r = doc.Root();
    r->SetValue(u"i", 42);
    r->SetValue(u"l", -7L);
    r->SetValue(u"u", 4000000000UL);
    r->SetValue(u"d", 1.5);
    r->SetValue("s", "\xC3\xA9");
    r->SetValue(u"i", u"again");
    r->SetValue("g", uuid::null);
    EXPECT_EQ("<r><i>again</i><l>-7</l><u>4000000000</u><d>1.500000</d><s>\xC3\xA9</s>"
              "<g>00000000-0000-0000-0000-000000000000</g></r>",
              Xml(doc));
}

// Every way of building a tree refuses a name that Parse would not give back.
TEST(XmlNode, NamesThatCouldNotBeReadBackAreRefusedWhereTheyAreMade) {
    const char16_t* bad[] = {u"", u"a b", u"!a", u"?a", u"a/b", u"n?x?", u"1a", u"-a", u"a&b", u"a<b", u"a\"",
                             u"a\x01", u"a\x7f" u"b", u"\xD800", u"a\xDC00", u"a=b"};
    XmlDocument doc;
    ASSERT_TRUE(doc.Create(u"r"));
    XmlNode* r = doc.Root();
    for (const char16_t* name : bad) {
        const std::string shown = ToUtf8(name).c_str();
        EXPECT_EQ(nullptr, r->NewChild(name)) << shown;
        if (*name) {  // the empty path names the node itself
            EXPECT_FALSE(r->SetValue(name, 5)) << shown;
            EXPECT_FALSE(r->SetValue(name, u"x")) << shown;
        }
        EXPECT_FALSE(r->setAttribute(name, u"v")) << shown;
        EXPECT_FALSE(r->Rename(name)) << shown;
        XmlDocument other;
        EXPECT_FALSE(other.Create(name)) << shown;
        EXPECT_FALSE(other.IsOK()) << shown;
    }
    EXPECT_EQ(u"r", W(r->Tag()));
    EXPECT_EQ(0, r->Size());
    EXPECT_FALSE(r->HasAttributes());
    for (const char16_t* good : {u"a", u"_a", u":a", u"a-b.c_1", u"\u00e9t\u00e9", u"\U00010400x"})
        EXPECT_NE(nullptr, r->NewChild(good)) << ToUtf8(good).c_str();
    EXPECT_TRUE(r->SetValue(u"/a", 2));  // a path that finds a node may hold "/"
    EXPECT_EQ(u"2", W(r->Value(u"a", u"")));
}

TEST(XmlNode, ATreeWithAnUnwritableNameIsNeverWritten) {
    XmlDocument doc;
    ASSERT_TRUE(doc.Create(u"r"));
    doc.Root()->NewChild(u"ok")->SetValue(u"1");
    KvString text("stale");
    ASSERT_TRUE(doc.CreateXmlCode(text, false));
    EXPECT_STREQ("<r><ok>1</ok></r>", text.c_str());

    doc.Root()->AddChild(new XmlNode(&doc, u"a b"));  // the constructor cannot refuse
    EXPECT_FALSE(doc.CreateXmlCode(text, true));
    EXPECT_TRUE(text.IsEmpty());
    KvString appended("keep");
    EXPECT_FALSE(doc.Root()->CreateXmlCode(appended));
    EXPECT_STREQ("keep", appended.c_str());
    std::FILE* f = std::tmpfile();
    ASSERT_NE(nullptr, f);
    EXPECT_FALSE(doc.SaveXmlCode(f));
    EXPECT_EQ(0L, std::ftell(f));  // nothing written at all
    std::fclose(f);
    EXPECT_FALSE(doc.SaveAs(u"/tmp/never-written-by-basalt-tests.xml"));
    EXPECT_FALSE(doc.Save());

    XmlDocument empty;
    EXPECT_FALSE(empty.CreateXmlCode(text));
}

TEST(XmlNode, AttributeAccessOnNodesWithAndWithoutAttributes) {
    XmlDocument doc;
    doc.Create(u"r");
    XmlNode* r = doc.Root();
    EXPECT_EQ(u"d", W(r->getAttribute(u"k", u"d")));
    EXPECT_TRUE(r->eraseAttribute(u"k"));
    r->setAttribute(u"", u"ignored");
    EXPECT_FALSE(r->HasAttributes());
    r->setAttribute(u"k", u"v");
    EXPECT_FALSE(r->eraseAttribute(u"other"));
    EXPECT_TRUE(r->eraseAttribute(u"k"));
    EXPECT_EQ(0, r->attributesSize());
}

TEST(XmlNode, AttributeSearchIsPreOrderAndSkipsMinusOne) {
    XmlDocument doc;
    ASSERT_TRUE(doc.Parse("<r k=\"1\"><a k=\"-1\"><b k=\"2\"/></a><c k=\"1\"/><d/></r>"));
    std::vector<XmlNode*> found;
    EXPECT_TRUE(doc.Root()->searchNodeByAttributeName(found, u"k"));
    std::vector<std::u16string> tags;
    for (XmlNode* n : found) tags.push_back(W(n->Tag()));
    EXPECT_EQ((std::vector<std::u16string>{u"r", u"b", u"c"}), tags);

    found.clear();
    EXPECT_TRUE(doc.Root()->searchNodeByAttributeNameAndValue(found, u"k", u"1"));
    EXPECT_EQ(2u, found.size());
    EXPECT_FALSE(doc.Root()->searchNodeByAttributeNameAndValue(found, u"k", u"-1"));
    EXPECT_FALSE(doc.Root()->searchNodeByAttributeName(found, u"none"));
    EXPECT_EQ(2u, found.size());
}

TEST(XmlNode, RemoveChildFindsTheNodeAtAnyDepth) {
    XmlDocument doc;
    ASSERT_TRUE(doc.Parse("<r><a><b><c/></b></a><d/></r>"));
    XmlNode* c = doc.Node(u"a/b/c");
    doc.Root()->RemoveChild(c);
    EXPECT_EQ("<r><a><b></b></a><d></d></r>", Xml(doc));
    XmlNode stranger(&doc, u"s");
    doc.Root()->RemoveChild(&stranger);  // not in the tree: nothing happens
    doc.Root()->RemoveChild(doc.Node(u"d"));
    EXPECT_EQ("<r><a><b></b></a></r>", Xml(doc));
}

TEST(XmlNode, ChildFromAnotherDocumentSurvivesThatDocument) {
    XmlDocument target;
    target.Create(u"r");
    {
        XmlDocument other;
        ASSERT_TRUE(other.Parse("<x><y>1</y></x>"));
        auto* moved = new XmlNode(&other, u"m");
        moved->NewChild(u"inner")->SetValue(u"v");
        target.Root()->AddChild(moved);
    }
    EXPECT_EQ("<r><m><inner>v</inner></m></r>", Xml(target));
    EXPECT_EQ(&target, target.Node(u"m/inner")->Document());
}

TEST(XmlNode, DeepCopyIsIndependentAndSafeFromItsOwnSubtree) {
    XmlDocument doc;
    ASSERT_TRUE(doc.Parse("<r><a k=\"v\"><b>1</b><c/></a></r>"));
    XmlDocument copy(*doc.Node(u"a"));
    doc.Reset();
    EXPECT_EQ("<a k=\"v\"><b>1</b><c></c></a>", Xml(copy));

    // Assigning a descendant to its ancestor must copy before destroying.
    *copy.Root() = *copy.Node(u"b");
    EXPECT_EQ("<b>1</b>", Xml(copy));
    EXPECT_TRUE(*copy.Root() == *copy.Root());

    XmlDocument other;
    ASSERT_TRUE(other.Parse("<b>1</b>"));
    EXPECT_TRUE(*other.Root() == *copy.Root());
    other.Root()->SetValue(u"2");
    EXPECT_TRUE(*other.Root() != *copy.Root());
}

TEST(XmlNode, GroupedChildrenKeepDocumentOrderPerTag) {
    XmlDocument doc;
    ASSERT_TRUE(doc.Parse("<r><b>1</b><a>2</a><b>3</b></r>"));
    XmlDocument::NodeGroups groups;
    groups[u"z"];
    doc.Root()->ChildListGroupedByName(groups);
    ASSERT_EQ(3u, groups.size());
    ASSERT_EQ(2u, groups[u"b"].size());
    EXPECT_EQ(u"1", W(groups[u"b"][0]->Value()));
    EXPECT_EQ(u"3", W(groups[u"b"][1]->Value()));
}

TEST(XmlNode, JsonRenderingGroupsArraysAndAttributes) {
    struct {
        const char* xml;
        const char* json;
    } cases[] = {
        {"<a>x</a>", R"({"a":"x"})"},
        {"<a></a>", R"({"a":null})"},
        {"<a><c>1</c><b>2</b><c/></a>", R"({"a":{"b":"2","c":["1",null]}})"},
        {"<a k=\"v\"><b>1</b></a>", R"({"a":{"b":"1","-k":"v"}})"},
        {"<a k=\"v\">t</a>", R"({"a":{"#text":"t","-k":"v"}})"},
        {"<a><b i=\"1\"/><b i=\"2\">x</b></a>", R"({"a":{"b":[{"-i":"1"},{"#text":"x","-i":"2"}]}})"},
        {"<a>q\"\\&#10;</a>", R"({"a":"q\"\\&#10;"})"},
    };
    for (const auto& c : cases) {
        XmlDocument doc;
        ASSERT_TRUE(doc.Parse(c.xml)) << c.xml;
        KvString json("stale");
        doc.Root()->toJson(json);
        EXPECT_STREQ(c.json, json.c_str()) << c.xml;
    }
    XmlDocument doc;
    doc.Create(u"a");
    doc.Root()->SetValue(u"line\n\x01");
    KvString json;
    doc.Root()->toJson(json);
    EXPECT_STREQ(R"({"a":"line\u000a\u0001"})", json.c_str());
}

// Stands in for a JSON tree: records what toJson adds and writes it compactly.
struct FakeJsonNode {
    int type = 6;
    KvWString name, text;
    std::vector<std::unique_ptr<FakeJsonNode>> kids;

    int Type() const { return type; }
    FakeJsonNode* NewChild(const char16_t* n, int t) {
        kids.push_back(std::make_unique<FakeJsonNode>());
        kids.back()->name = n;
        kids.back()->type = t;
        return kids.back().get();
    }
    FakeJsonNode* SetValue(const char16_t* n, const char16_t* value) {
        FakeJsonNode* k = NewChild(n, 4);
        k->text = value;
        return k;
    }
    FakeJsonNode* SetNullValue(const char16_t* n) { return NewChild(n, 1); }
    std::string Write() const {
        std::string out = name.IsEmpty() ? "" : "\"" + std::string(ToUtf8(name.c_str()).c_str()) + "\":";
        if (type == 1) return out + "null";
        if (type == 4) return out + "\"" + ToUtf8(text.c_str()).c_str() + "\"";
        out += type == 5 ? "[" : "{";
        for (size_t i = 0; i < kids.size(); ++i) out += (i ? "," : "") + kids[i]->Write();
        return out + (type == 5 ? "]" : "}");
    }
};

TEST(XmlNode, JsonTreeRenderingMatchesTheTextRendering) {
    const char* docs[] = {"<a>x</a>", "<a></a>", "<a k=\"v\">t</a>",
                          "<a><c>1</c><b i=\"1\"/><c/><b i=\"2\">x</b><d><e>5</e><e>6</e></d></a>"};
    for (const char* xml : docs) {
        XmlDocument doc;
        ASSERT_TRUE(doc.Parse(xml));
        FakeJsonNode root;
        doc.Root()->toJson(&root);
        KvString text;
        doc.Root()->toJson(text);
        EXPECT_EQ(text.c_str(), root.Write()) << xml;
    }
    // Under an array the member carries no name.
    XmlDocument doc;
    ASSERT_TRUE(doc.Parse("<a>x</a>"));
    FakeJsonNode array;
    array.type = 5;
    doc.Root()->toJson(&array);
    EXPECT_EQ("[\"x\"]", array.Write());
}

TEST(XmlNode, JsonDocumentRenderingMatchesTheTextRendering) {
    const char* docs[] = {"<a>x</a>", "<a></a>", "<a k=\"v\">t \"q\" \\</a>",
                          "<a><c>1</c><b i=\"1\"/><c/><b i=\"2\">x</b><d><e>5</e><e>\xC3\xA9</e></d></a>"};
    for (const char* xml : docs) {
        XmlDocument doc;
        ASSERT_TRUE(doc.Parse(xml));
        JsonDocument tree;
        tree.Create(JsonDocument::JsonObject);
        doc.Root()->toJson(tree.Root());
        KvString fromTree;
        tree.CreateJsonCode(fromTree);

        KvString text;
        doc.Root()->toJson(text);
        JsonDocument reread;
        ASSERT_TRUE(reread.Parse(text.c_str())) << text.c_str();
        KvString fromText;
        reread.CreateJsonCode(fromText);
        EXPECT_STREQ(fromText.c_str(), fromTree.c_str()) << xml;
    }
}

// Writers that build XML without a tree get the tree's bytes, and what they write reads
// back: characters no XML file can carry are dropped, not passed through.
TEST(XmlText, AppendedTextIsTheTreesAndReadsBack) {
    const KvWString text(u"a\x01<b>\t\x1F&\"'\n\r\uFFFE\xD800 \u00e9\x7F\xD83D\xDE00\uFFFF");
    std::string appended = "<v>";
    XmlAppendText(appended, text);
    appended += "</v>";
    XmlDocument tree;
    ASSERT_TRUE(tree.Create(u"v"));
    tree.Root()->SetValue(text);
    KvString written;
    ASSERT_TRUE(tree.CreateXmlCode(written, false));
    EXPECT_EQ(std::string(written.c_str()), appended);
    XmlDocument back;
    ASSERT_TRUE(back.Parse(appended.c_str())) << appended;
    EXPECT_EQ(u"a<b>\t&\"'\n\r \u00e9\x7F\xD83D\xDE00", W(back.Root()->Value()));
}

TEST(XmlText, EscapeAndUnescapeAreInverseOnReservedCharacters) {
    struct {
        const char* text;
        const char* xml;
    } cases[] = {{"a<b>&\"c'", "a&lt;b&gt;&amp;&quot;c&apos;"}, {"plain", "plain"}, {"", ""}, {"&amp;", "&amp;amp;"}};
    for (const auto& c : cases) {
        KvString xml, back;
        Text2Xml(xml, c.text);
        EXPECT_STREQ(c.xml, xml.c_str());
        Xml2Text(back, xml.c_str());
        EXPECT_STREQ(c.text, back.c_str());
        KvWString wxml;
        Text2Xml(wxml, ToWide(c.text).c_str());
        EXPECT_EQ(W(ToWide(c.xml)), W(wxml));
    }
    KvWString out;
    Xml2Text(out, u"&#65;&am&amp;amp;");
    EXPECT_EQ(u"&#65;&am&amp;", W(out));
}

}  // namespace
