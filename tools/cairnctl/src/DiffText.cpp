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
    const auto quote = [](const KvWString& text) { return "\"" + terminalText(text) + "\""; };
    for (const std::string& line : diff.lines(quote)) out << line << "\n";
}
