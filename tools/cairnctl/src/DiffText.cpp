#include "cairnctl/DiffText.h"

#include "cairnctl/TerminalText.h"
#include "model/CFacilityDiff.h"

void printDiff(std::ostream& out, const CFacilityDiff& diff, bool json) {
    if (json) {
        JsonDocument doc;
        diff.toJson(doc);
        KvString text;
        doc.CreateJsonCode(text);
        out << text.c_str() << "\n";
        return;
    }
    // The tool keeps the fixed English words: scripts read its lines. Only texts from the file
    // are made safe for a terminal.
    CDiffWords words;
    words.quote = [](const KvWString& text) { return "\"" + terminalText(text) + "\""; };
    for (const std::string& line : diff.lines(words)) out << line << "\n";
}
