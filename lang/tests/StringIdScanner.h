// StringIdScanner: finds the string ids that the program's sources load by number.
//
// Recognised, with a literal id (decimal or 0x hexadecimal):
//   KvLoadString(id, text)  loadText(id)  showMessage(id)  askYesNo(id)
//   LoadStringW(text, id)
//   constexpr int kTypeChangeRefusedText = 278;  (a named id: the name ends in
//   "Text", "String", "Message" or "Msg", optionally followed by "Id")
// Ids in tables or computed at run time are not seen; the language-file tests
// cover those through the complete id list of the English file.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

class StringIdScanner {
public:
    struct Use {
        int id = 0;
        std::string where;  // "file:line"
    };

    // Uses in one source text; `file` only names them.
    std::vector<Use> ScanText(std::string_view text, const std::string& file) const;

    // Uses in the C++ sources (.h .hpp .cpp .cc) below `root`, named relative to it.
    // Skips test, fuzz and benchmark folders (their ids are made up on purpose),
    // hidden folders and build trees (folders holding a CMakeCache.txt).
    std::vector<Use> ScanTree(const std::filesystem::path& root) const;
};
