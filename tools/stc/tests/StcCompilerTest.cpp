#include "stc/StcCompiler.h"

#include <gtest/gtest.h>

namespace {

PoFile Po(const std::string& text) {
    PoFile po;
    EXPECT_TRUE(po.Parse(text, "in.po")) << po.Error();
    return po;
}

TEST(StcCompiler, ParseIdAcceptsOnlyDecimalSixteenBitNumbers) {
    const struct {
        const char* text;
        int id;
    } cases[] = {{"0", 0},   {"42", 42}, {"00042", 42}, {"65535", 65535}, {"65536", -1}, {"", -1},
                 {"-1", -1}, {"+1", -1}, {" 1", -1},    {"0x10", -1},     {"123456", -1}, {"IDS_1", -1}};
    for (const auto& c : cases) EXPECT_EQ(StcCompiler::ParseId(c.text), c.id) << c.text;
}

TEST(StcCompiler, UntranslatedAndFuzzyEntriesBecomeMissing) {
    const PoFile po = Po(
        "msgctxt \"1\"\nmsgid \"One\"\nmsgstr \"Eins\"\n\n"
        "msgctxt \"2\"\nmsgid \"Two\"\nmsgstr \"\"\n\n"
        "#, fuzzy\nmsgctxt \"3\"\nmsgid \"Three\"\nmsgstr \"Drei?\"\n");
    struct Mode {
        StcOptions options;
        int entriesWithText;
    };
    for (const auto& [options, expected] : {Mode{{false, false}, 1}, Mode{{true, false}, 2}, Mode{{false, true}, 3}}) {
        StcCompiler c(options);
        KvStringTableWriter table;
        ASSERT_TRUE(c.Compile(po, table)) << c.Error();
        EXPECT_EQ(table.Count(), 3);
        EXPECT_EQ(c.Counts().translated, options.useFuzzy ? 2 : 1);
        EXPECT_EQ(c.Counts().untranslated, 1);
        // Missing entries still occupy an index record but carry no text bytes.
        std::vector<std::uint8_t> bytes;
        std::string error;
        ASSERT_TRUE(table.Build(bytes, error));
        int withText = 0;
        for (int i = 0; i < 3; ++i) withText += bytes[2 + 8 * i + 6] != 0xFF;
        EXPECT_EQ(withText, expected);
    }
}

TEST(StcCompiler, RefusesEntriesThatCannotBePlaced) {
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"msgid \"a\"\nmsgstr \"b\"\n", "in.po:1: entry 'a' has no msgctxt"},
        {"\nmsgctxt \"ok\"\nmsgid \"a\"\nmsgstr \"b\"\n", "in.po:2: msgctxt 'ok' is not a string id"},
        {"msgctxt \"7\"\nmsgid \"a\"\nmsgstr \"b\"\n\nmsgctxt \"007\"\nmsgid \"c\"\nmsgstr \"d\"\n",
         "in.po:5: string id 7 repeats the entry of line 1"},
    };
    for (const auto& c : cases) {
        StcCompiler compiler;
        KvStringTableWriter table;
        EXPECT_FALSE(compiler.Compile(Po(c.text), table));
        EXPECT_EQ(compiler.Error().rfind(c.message, 0), 0u) << compiler.Error();
    }
}

}  // namespace
