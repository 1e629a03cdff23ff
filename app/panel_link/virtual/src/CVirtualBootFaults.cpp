#include "virtual_panel/CVirtualBootFaults.h"

namespace {

// "name:N" with N from 1 to 4; sets the card's flag in `flags`.
bool parseCard(const std::string& item, const std::string& name, std::array<bool, 4>& flags) {
    const std::string prefix = name + ":";
    if (item.size() != prefix.size() + 1 || item.compare(0, prefix.size(), prefix) != 0) return false;
    const int card = item.back() - '1';
    if (card < 0 || card > 3) return false;
    flags[static_cast<std::size_t>(card)] = true;
    return true;
}

}  // namespace

bool CVirtualBootFaults::parseItem(const std::string& item, CVirtualBootFaults& f) {
    if (item == "board-erase") return f.boardEraseFails = true;
    if (item == "board-program") return f.boardProgramFails = true;
    return parseCard(item, "card-silent", f.cardSilent) || parseCard(item, "card-erase", f.cardEraseFails) ||
           parseCard(item, "card-program", f.cardProgramFails);
}
