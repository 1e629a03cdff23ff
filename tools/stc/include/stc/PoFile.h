// PoFile: reads gettext PO translation files.
//
// Understands msgctxt, msgid, msgstr, strings continued over several lines,
// C escapes (\n \t \" \\ \ooo \xhh and friends), comments, the "fuzzy" flag and
// obsolete "#~" entries (skipped). "#." comments, which say where a text
// appears, are kept with their entry; other comments are skipped. Plural forms are refused, since a string
// table holds one text per id. Texts must be valid UTF-8 without NUL bytes.
// Errors are reported as "file:line: message" and stop the reading.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct PoEntry {
    bool hasContext = false;
    std::string context;   // msgctxt
    std::string msgid;
    std::string msgstr;
    bool fuzzy = false;
    int line = 0;          // line of the entry's first keyword
    int msgstrLine = 0;
    std::string comment;   // the "#." lines before the entry, without "#. ", joined by '\n'
};

class PoFile {
public:
    // Reads and parses `path`; false with Error() set when it cannot be read or is malformed.
    bool Load(const std::string& path);
    // Parses `text`; `name` is used in error messages.
    bool Parse(std::string_view text, const std::string& name);

    // Entries in file order, the header entry (msgid "" without msgctxt) excluded.
    const std::vector<PoEntry>& Entries() const { return m_entries; }
    // The header's msgstr; empty when the file has no header.
    const std::string& Header() const { return m_header; }
    const std::string& Name() const { return m_name; }
    // "file:line: message" of the last failure.
    const std::string& Error() const { return m_error; }
    int ErrorLine() const { return m_errorLine; }

private:
    enum class Field { None, Context, Id, Str };

    bool ParseLine(std::string_view line);
    bool Keyword(std::string_view line);
    bool FinishEntry();
    bool ReadQuoted(std::string_view rest, std::string& out);
    bool CheckHeader();
    bool Fail(const std::string& message, int line = 0);

    std::string m_name;
    std::vector<PoEntry> m_entries;
    std::string m_header;
    int m_headerLine = 0;
    std::string m_error;
    int m_errorLine = 0;

    int m_lineNo = 0;
    PoEntry m_current;
    bool m_pendingFuzzy = false;
    std::string m_pendingComment;
    bool m_started = false;   // a keyword of the current entry was seen
    bool m_hasId = false;
    bool m_hasStr = false;
    Field m_field = Field::None;
};
