#include "basalt/XmlReader.h"

#include <gtest/gtest.h>

#include <string>

#include "basalt/XmlDocument.h"

namespace {

// Reads the whole text; true when the reader reaches kDone.
bool readsThrough(const std::string& text) {
    XmlReader r(text.data(), text.size());
    for (;;) switch (r.Next()) {
            case XmlReader::kDone: return true;
            case XmlReader::kError: return false;
            default: break;
        }
}

// The tokens as a compact trace: "<tag" for a start, "'text'" for decoded text, ">" for an end.
std::string trace(const std::string& text, const char* const* tags) {
    XmlReader r(text.data(), text.size());
    std::string out;
    for (;;) switch (r.Next()) {
            case XmlReader::kStart: {
                out += "<";
                for (const char* const* t = tags; *t; ++t)
                    if (r.TagIs(*t)) out += *t;
                break;
            }
            case XmlReader::kText: {
                KvWString w;
                r.AppendText(w);
                out += "'" + std::to_string(w.Length()) + "'";
                break;
            }
            case XmlReader::kEnd: out += ">"; break;
            case XmlReader::kDone: return out;
            case XmlReader::kError: return out + "!";
        }
}

TEST(XmlReaderTest, AcceptsExactlyWhatTheTreeParserAccepts) {
    auto nest = [](int n) {
        std::string s;
        for (int i = 0; i < n; ++i) s += "<a>";
        for (int i = 0; i < n; ++i) s += "</a>";
        return s;
    };
    const std::string cases[] = {
        "<a/>", "<a></a>", "<a>t</a>", " \n<a/>", "\xEF\xBB\xBF<a/>", "<?xml version=\"1.0\"?><a/>",
        "<?xml ?x?><a/>", "<?xml", "<a>", "<a></b>", "<a></a >", "<a><b/></a>tail<", "<a x='1' y=\"<\"/>",
        "<a x='1'>", "<!-- c --><a/>", "<a><!-- c --></a>", "<a><![CDATA[x]]></a>", "<a></", "<a><</a>",
        "<a/ >", "<a/", "</a>", "<>", "< a/>", "<a\xFF/>", "<\xFF/>", "<&amp;/>", "<a>&bogus;</a>", "<a>x",
        "text", "", "<a>\xC3</a>", "<\xF0\x9F\x98\x80/>", "<a><b></a></b>", nest(XmlDocument::kMaxDepth + 1), nest(XmlDocument::kMaxDepth + 2),
        std::string("<a>\0</a>", 8), std::string("<a/>\0<", 6),
    };
    for (const std::string& text : cases) {
        XmlDocument doc;
        EXPECT_EQ(readsThrough(text), doc.Parse(text.data(), text.size())) << text.substr(0, 40);
    }
}

TEST(XmlReaderTest, GivesStartTextAndEndTokensInDocumentOrder) {
    static const char* const kTags[] = {"a", "b", "c", nullptr};
    EXPECT_EQ(trace("<a>x<b/>yz<c>&amp;</c></a> ignored", kTags), "<a'1'<b>'2'<c'1'>>");
    EXPECT_EQ(trace("<a><b>", kTags), "<a<b!");
}

TEST(XmlReaderTest, TagsCompareAsTheTreeDecodesThem) {
    const std::string text = "<r\xC3\xA9/>";
    XmlReader r(text.data(), text.size());
    ASSERT_EQ(r.Next(), XmlReader::kStart);
    EXPECT_FALSE(r.TagIs("r"));
    XmlDocument doc;
    ASSERT_TRUE(doc.Parse(text.c_str()));
    EXPECT_EQ(doc.Root()->Tag(), KvWString(u"r\u00e9"));
}

TEST(XmlReaderTest, SkipsAnElementAndRepeatsOfIt) {
    const std::string block = "<e><x>1</x><y/></e>";
    const std::string text = "<r>" + block + block + "<e><x>2</x><y/></e>" + block + "</r>";
    XmlReader r(text.data(), text.size());
    ASSERT_EQ(r.Next(), XmlReader::kStart);
    ASSERT_EQ(r.Next(), XmlReader::kStart);
    ASSERT_TRUE(r.SkipElement());
    const XmlReader::Span first = r.Closed();
    EXPECT_EQ(first.length, block.size());
    ASSERT_EQ(r.Next(), XmlReader::kStart);
    EXPECT_TRUE(r.SkipRepeatOf(first));
    ASSERT_EQ(r.Next(), XmlReader::kStart);
    EXPECT_FALSE(r.SkipRepeatOf(first));  // differs: read normally
    ASSERT_TRUE(r.SkipElement());
    ASSERT_EQ(r.Next(), XmlReader::kStart);
    EXPECT_TRUE(r.SkipRepeatOf(first));
    EXPECT_EQ(r.Next(), XmlReader::kEnd);
    EXPECT_EQ(r.Next(), XmlReader::kDone);
}

TEST(XmlReaderTest, ARepeatAtAnotherDepthIsReadInFull) {
    const std::string text = "<r><e/><w><e/></w></r>";
    XmlReader r(text.data(), text.size());
    r.Next();
    r.Next();
    ASSERT_EQ(r.Next(), XmlReader::kEnd);
    const XmlReader::Span e = r.Closed();
    ASSERT_EQ(r.Next(), XmlReader::kStart);
    ASSERT_EQ(r.Next(), XmlReader::kStart);
    EXPECT_FALSE(r.SkipRepeatOf(e));
}

TEST(XmlReaderTest, ErrorsAreLocatedByLineAndCharacter) {
    const std::string text = "<a>\n  <\xC3\xA9>\xC3\xA9</b>";
    XmlReader r(text.data(), text.size());
    while (r.Next() != XmlReader::kError) {
    }
    EXPECT_EQ(r.ErrorLine(), 2);
    EXPECT_EQ(r.ErrorColumn(), 7);
    XmlReader fine("<a/>", 4);
    EXPECT_EQ(fine.ErrorLine(), 0);
}

}  // namespace
