// Checks the shipped PO files against each other and against the sources.
#include "LanguageFiles.h"
#include "PrintfConversions.h"
#include "StringIdScanner.h"

#include <gtest/gtest.h>

#include "basalt/KvUtf.h"

namespace {

const std::string kEnglish = "en";

std::string Join(const std::vector<std::string>& items) {
    std::string out;
    for (const std::string& item : items) out += (out.empty() ? "" : " ") + item;
    return out;
}

class LanguageFilesTest : public ::testing::Test {
protected:
    const LanguageFiles& files = LanguageFiles::Get();
    const std::map<int, const PoEntry*>& english = files.Texts(kEnglish);

    void SetUp() override {
        ASSERT_EQ(files.Errors(), "");
        ASSERT_FALSE(english.empty());
    }

    // Text of `id` in `code`; empty when missing (other tests report that).
    std::string Text(const std::string& code, int id) const {
        auto it = files.Texts(code).find(id);
        return it == files.Texts(code).end() ? std::string() : it->second->msgstr;
    }
};

TEST_F(LanguageFilesTest, HeadersNameTheLanguageAndUtf8) {
    for (const std::string& code : LanguageFiles::Codes()) {
        const std::string& header = files.File(code).Header();
        EXPECT_EQ(LanguageFiles::HeaderField(header, "Language"), code);
        EXPECT_EQ(LanguageFiles::HeaderField(header, "Content-Type"), "text/plain; charset=UTF-8") << code;
    }
}

TEST_F(LanguageFilesTest, EveryLanguageHasExactlyTheEnglishIds) {
    for (const std::string& code : LanguageFiles::Codes()) {
        std::vector<std::string> missing, extra;
        for (const auto& [id, entry] : english)
            if (!files.Texts(code).count(id)) missing.push_back(std::to_string(id));
        for (const auto& [id, entry] : files.Texts(code))
            if (!english.count(id)) extra.push_back(std::to_string(id));
        EXPECT_TRUE(missing.empty()) << "cairn." << code << ".po lacks " << Join(missing);
        EXPECT_TRUE(extra.empty()) << "cairn." << code << ".po has ids English lacks: " << Join(extra);
    }
}

// Empty and fuzzy texts are left out of the string table, and a text of exactly
// one space defers to a fallback language that the program never names: each
// would show the "IDS_" placeholder.
TEST_F(LanguageFilesTest, TextsAreUsableAndSayWhereTheyAppear) {
    for (const std::string& code : LanguageFiles::Codes()) {
        for (const auto& [id, entry] : files.Texts(code)) {
            SCOPED_TRACE("cairn." + code + ".po, id " + std::to_string(id));
            EXPECT_FALSE(entry->msgstr.empty());
            EXPECT_NE(entry->msgstr, " ");
            EXPECT_FALSE(entry->fuzzy);
            EXPECT_FALSE(entry->comment.empty()) << "no #. comment saying where the text appears";
        }
    }
}

// msgid carries the English text a translation was made from; when English
// changes, the translation must be looked at again.
TEST_F(LanguageFilesTest, TranslationsFollowTheCurrentEnglish) {
    for (const auto& [id, entry] : english) EXPECT_EQ(entry->msgid, entry->msgstr) << "English id " << id;
    for (const std::string& code : LanguageFiles::Codes()) {
        for (const auto& [id, entry] : files.Texts(code)) {
            if (!english.count(id)) continue;
            EXPECT_EQ(entry->msgid, english.at(id)->msgstr) << "cairn." << code << ".po, id " << id << " is stale";
        }
    }
}

TEST_F(LanguageFilesTest, PlaceholdersMatchEnglishInKindNumberAndOrder) {
    for (const auto& [id, entry] : english) {
        std::vector<std::string> expected = PrintfConversions(entry->msgstr);
        EXPECT_EQ(std::count(expected.begin(), expected.end(), "?"), 0) << "English id " << id;
        for (const std::string& code : LanguageFiles::Codes()) {
            EXPECT_EQ(PrintfConversions(Text(code, id)), expected)
                << "cairn." << code << ".po, id " << id << ": " << Text(code, id);
        }
    }
}

TEST_F(LanguageFilesTest, IdsLoadedByTheSourcesHaveEnglishText) {
    auto uses = StringIdScanner().ScanTree(LanguageFiles::SourceDir());
    for (const auto& use : uses) EXPECT_TRUE(english.count(use.id)) << "id " << use.id << " loaded at " << use.where;
}

// These texts end up in the panel's fixed 8-bit fields: the panel stores one
// byte per character and shows only what fits.
TEST_F(LanguageFilesTest, TextsSentToThePanelFitItsFields) {
    struct Field {
        std::vector<int> ids;
        int limit;  // characters
        const char* what;
    };
    std::vector<int> typeNames;
    for (int id = 231; id <= 248; ++id) typeNames.push_back(id);
    const Field fields[] = {
        {{42}, 24, "zone description"},
        {typeNames, 24, "element description from the type name"},
        // "%s %d" with a part number of one digit
        {{51, 52, 53, 54, 55, 61, 252, 253, 254}, 22, "element description from a part word"},
        {{78, 290}, 20, "panel name"},
    };
    for (const std::string& code : LanguageFiles::Codes()) {
        for (const Field& field : fields) {
            for (int id : field.ids) {
                KvWString text = ToWide(Text(code, id).c_str());
                EXPECT_LE(text.Length(), field.limit) << code << " id " << id << ", " << field.what;
                for (int i = 0; i < text.Length(); ++i)
                    EXPECT_LE(text.c_str()[i], 0xFF) << code << " id " << id << " has a character the panel cannot store";
            }
        }
    }
}

// Words the editors and the reports compose with numbers, and commands offered
// in two places, must read the same wherever the user meets them.
TEST_F(LanguageFilesTest, SameThingSameWords) {
    const std::vector<std::vector<int>> groups = {
        {44, 152},        // loop
        {45, 153, 154},   // element
        {84, 174},        // loops editor: menu and home page
        {85, 175},        // event-action editor: menu and home page
        {207, 222}, {208, 217}, {209, 223}, {210, 226}, {211, 227},  // report switch and title
        {184, 224}, {186, 225},  // installer, phone
    };
    for (const std::string& code : LanguageFiles::Codes()) {
        for (const auto& group : groups)
            for (int id : group) EXPECT_EQ(Text(code, id), Text(code, group[0])) << code << " ids " << group[0] << ", " << id;

        // A renamed element reads like a newly added one: the element word and its address.
        KvWString renamed;
        renamed.Format(ToWide(Text(code, 279).c_str()).c_str(), 12);
        EXPECT_EQ(std::string(ToUtf8(renamed.c_str()).c_str()), Text(code, 45) + " 12") << code;
    }
}

// Lower-cases ASCII letters only; the stems below avoid capital accented letters.
std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// True when `text` holds `word` as a whole word, plural "s" allowed.
bool HasEnglishWord(const std::string& text, const std::string& word) {
    auto isLetter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
        size_t end = at + word.size();
        if (end < text.size() && text[end] == 's') ++end;
        if ((at == 0 || !isLetter(text[at - 1])) && (end == text.size() || !isLetter(text[end]))) return true;
    }
    return false;
}

// Installers must meet one word per thing: a text that names a loop in English
// names it with the language's loop word, never a synonym.
TEST_F(LanguageFilesTest, EachLanguageHasOneWordPerThing) {
    struct Term {
        const char* english;
        std::map<std::string, std::string> stems;  // found in every inflection of the word
    };
    const Term terms[] = {
        {"loop", {{"es", "lazo"}, {"ca", "llaç"}, {"it", "loop"}, {"fr", "boucle"}}},
        {"zone", {{"es", "zona"}, {"ca", "zon"}, {"it", "zon"}, {"fr", "zone"}}},
        {"element", {{"es", "elemento"}, {"ca", "element"}, {"it", "element"}, {"fr", "lément"}}},
        {"panel", {{"es", "central"}, {"ca", "central"}, {"it", "central"}, {"fr", "central"}}},
        {"event", {{"es", "evento"}, {"ca", "esdeveniment"}, {"it", "event"}, {"fr", "vénement"}}},
        {"action", {{"es", "acci"}, {"ca", "acci"}, {"it", "azion"}, {"fr", "action"}}},
    };
    for (const auto& [id, entry] : english) {
        std::string text = Lower(entry->msgstr);
        // The panel's "event log" is its history, which the languages name with their own word.
        for (size_t at; (at = text.find("event log")) != std::string::npos;) text.replace(at, 9, "log");
        for (const Term& term : terms) {
            if (!HasEnglishWord(text, term.english)) continue;
            for (const auto& [code, stem] : term.stems)
                EXPECT_NE(Lower(Text(code, id)).find(stem), std::string::npos)
                    << code << " id " << id << " should say '" << stem << "' for " << term.english << ": " << Text(code, id);
        }
    }
}

TEST_F(LanguageFilesTest, NamesStayUntranslated) {
    for (int id : {68, 69, 82})
        for (const std::string& code : LanguageFiles::Codes()) EXPECT_EQ(Text(code, id), Text(kEnglish, id)) << code;
}

}  // namespace
