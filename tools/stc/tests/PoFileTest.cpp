#include "stc/PoFile.h"

#include <gtest/gtest.h>

namespace {

PoFile Parsed(const std::string& text) {
    PoFile po;
    EXPECT_TRUE(po.Parse(text, "t.po")) << po.Error();
    return po;
}

TEST(PoFile, ReadsEntriesWithContextsAndContinuedStrings) {
    const PoFile po = Parsed(
        "# translator comment\n"
        "msgid \"\"\n"
        "msgstr \"\"\n"
        "\"Content-Type: text/plain; charset=UTF-8\\n\"\n"
        "\n"
        "#: loops.cpp:12\n"
        "#. extracted\n"
        "msgctxt \"68\"\n"
        "msgid \"Cairn\"\n"
        "msgstr \"Cairn\"\n"
        "\n"
        "msgctxt \"70\"\n"
        "msgid \"\"\n"
        "\"Two \"\n"
        "\"lines\"\n"
        "msgstr \"\"\n"
        "\"Zwei \"\n"
        "   \"Zeilen\"   \n"
        "msgctxt \"71\"\n"  // no blank line between entries
        "msgid \"x\"\n"
        "msgstr \"\"\n");
    ASSERT_EQ(po.Entries().size(), 3u);
    EXPECT_NE(po.Header().find("charset=UTF-8"), std::string::npos);
    const PoEntry& a = po.Entries()[0];
    EXPECT_TRUE(a.hasContext);
    EXPECT_EQ(a.context, "68");
    EXPECT_EQ(a.line, 8);
    const PoEntry& b = po.Entries()[1];
    EXPECT_EQ(b.msgid, "Two lines");
    EXPECT_EQ(b.msgstr, "Zwei Zeilen");
    EXPECT_EQ(b.msgstrLine, 16);
    EXPECT_EQ(po.Entries()[2].msgstr, "");
}

TEST(PoFile, KeepsWhereTextsAppearWithTheirEntry) {
    const PoFile po = Parsed(
        "#. ignored: belongs to the header\n"
        "msgid \"\"\n"
        "msgstr \"Language: en\\n\"\n"
        "\n"
        "# translator note, not kept\n"
        "#. Loops editor: root row\n"
        "#.   second line\n"
        "#, fuzzy\n"
        "msgctxt \"43\"\n"
        "msgid \"Facility\"\n"
        "msgstr \"Facility\"\n"
        "msgctxt \"44\"\n"
        "msgid \"Loop\"\n"
        "msgstr \"Loop\"\n");
    ASSERT_EQ(po.Entries().size(), 2u);
    EXPECT_EQ(po.Entries()[0].comment, "Loops editor: root row\nsecond line");
    EXPECT_EQ(po.Entries()[1].comment, "");
}

TEST(PoFile, DecodesEscapes) {
    const PoFile po = Parsed(
        "msgctxt \"1\"\n"
        "msgid \"a\"\n"
        "msgstr \"q\\\"b\\\\s\\n\\t\\r\\a\\101\\x42\\xc3\\xbc\\'\\?\"\n");
    ASSERT_EQ(po.Entries().size(), 1u);
    EXPECT_EQ(po.Entries()[0].msgstr, "q\"b\\s\n\t\r\aAB\xC3\xBC'?");
}

TEST(PoFile, FuzzyFlagObsoleteEntriesCrlfAndBom) {
    const PoFile po = Parsed(
        "\xEF\xBB\xBF#, c-format, fuzzy\r\n"
        "msgctxt \"5\"\r\n"
        "msgid \"Open\"\r\n"
        "msgstr \"Offen\"\r\n"
        "\r\n"
        "#, fuzzy-ish\n"
        "msgctxt \"6\"\n"
        "msgid \"Close\"\n"
        "msgstr \"Zu\"\n"
        "\n"
        "#~ msgctxt \"7\"\n"
        "#~ msgid \"Gone\"\n"
        "#~ msgstr \"Weg\"\n");
    ASSERT_EQ(po.Entries().size(), 2u);
    EXPECT_TRUE(po.Entries()[0].fuzzy);
    EXPECT_EQ(po.Entries()[0].msgstr, "Offen");
    EXPECT_FALSE(po.Entries()[1].fuzzy);
}

TEST(PoFile, MalformedInputNamesFileLineAndFault) {
    const struct {
        const char* text;
        int line;
        const char* message;
    } cases[] = {
        {"msgid \"a\"\nmsgstr \"b\n", 2, "missing closing quote"},
        {"msgid \"a\"\nmsgstr \"b\" x\n", 2, "text after the closing quote"},
        {"msgid \"a\"\nmsgstr \"\\q\"\n", 2, "unknown escape"},
        {"msgid \"a\"\nmsgstr \"\\0\"\n", 2, "bad octal escape"},
        {"msgid \"a\"\nmsgstr \"\\x\"\n", 2, "bad hexadecimal escape"},
        {"msgid \"a\"\nmsgstr \"\\x00\"\n", 2, "NUL"},
        {"msgid \"a\"\nmsgstr \"\\x123456789abcdef0123\"\n", 2, "bad hexadecimal escape"},  // no overflow on the way
        {"msgid \"a\"\nmsgstr \"\\777\"\n", 2, "bad octal escape"},
        {"\"orphan\"\n", 1, "continuation without a keyword"},
        {"msgstr \"b\"\n", 1, "msgstr without a msgid"},
        {"msgid \"a\"\n\nmsgstr \"b\"\n", 1, "msgid without a msgstr"},
        {"msgid \"a\"\nmsgid \"b\"\n", 2, "msgid repeated"},
        {"msgid \"a\"\nmsgstr \"b\"\nmsgstr \"c\"\n", 3, "msgstr repeated"},
        {"msgid \"a\"\nmsgctxt \"1\"\n", 2, "msgctxt must come before msgid"},
        {"msgctxt \"1\"\n\n", 1, "msgctxt without a msgid"},
        {"msgid \"a\"\nmsgid_plural \"as\"\n", 2, "plural forms"},
        {"msgid \"a\"\nmsgstr[0] \"b\"\n", 2, "plural forms"},
        {"msgid a\nmsgstr \"b\"\n", 1, "expected a quoted string"},
        {"\nmsgidx \"a\"\n", 2, "unexpected text 'msgidx'"},
        {"msgctxt \"1\"\nmsgid \"a\"\nmsgstr \"\\xff\"\n", 1, "msgstr is not valid UTF-8"},
        {"msgid \"\"\nmsgstr \"charset=ISO-8859-1\\n\"\n", 1, "charset 'iso-8859-1' is not supported"},
        {"msgid \"\"\nmsgstr \"\"\n\nmsgid \"\"\nmsgstr \"\"\n", 4, "second header"},
        {"msgid \"a\"\nmsgstr \"b\"\n\x00\n", 3, "NUL byte"},
    };
    for (const auto& c : cases) {
        PoFile po;
        const std::string text(c.text, std::char_traits<char>::length(c.text) +
                                           (std::string(c.message) == "NUL byte" ? 2 : 0));
        EXPECT_FALSE(po.Parse(text, "bad.po")) << c.text;
        EXPECT_EQ(po.ErrorLine(), c.line) << c.text;
        const std::string prefix = "bad.po:" + std::to_string(c.line) + ": ";
        EXPECT_EQ(po.Error().rfind(prefix, 0), 0u) << po.Error();
        EXPECT_NE(po.Error().find(c.message), std::string::npos) << po.Error();
    }
}

TEST(PoFile, MissingFileIsReported) {
    PoFile po;
    EXPECT_FALSE(po.Load("/nonexistent/dir/x.po"));
    EXPECT_NE(po.Error().find("/nonexistent/dir/x.po"), std::string::npos);
}

}  // namespace
