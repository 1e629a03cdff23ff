// StcCompiler: turns the entries of a PO file into a string table.
//
// Each entry's msgctxt holds its string id (decimal, 0 to 65535); its msgstr is
// the text. Untranslated entries (empty msgstr) and, unless wanted, fuzzy ones
// are recorded as "no text in this file", so a fallback file or the "IDS_nnnnn"
// placeholder shows instead of a wrong or empty text. A missing or non-numeric
// msgctxt and a repeated id are errors.
#pragma once

#include <string>

#include "basalt/KvStringTableWriter.h"
#include "stc/PoFile.h"

struct StcOptions {
    bool useFuzzy = false;          // take fuzzy translations as they are
    bool fillUntranslated = false;  // use msgid where msgstr is empty or fuzzy
};

struct StcCounts {
    int translated = 0;
    int untranslated = 0;
    int fuzzy = 0;  // fuzzy entries that were not used
};

class StcCompiler {
public:
    explicit StcCompiler(StcOptions options = {}) : m_options(options) {}

    // Adds every entry of `po` to `table`; false with Error() ("file:line: message") on the first fault.
    bool Compile(const PoFile& po, KvStringTableWriter& table);

    const StcCounts& Counts() const { return m_counts; }
    const std::string& Error() const { return m_error; }

    // The string id written in a msgctxt, or -1 when it is not a decimal number from 0 to 65535.
    static int ParseId(const std::string& context);

private:
    StcOptions m_options;
    StcCounts m_counts;
    std::string m_error;
};
