#include <cstdio>
#include <set>

#include "basalt/KvStringTableFile.h"
#include "check/CFacilityCheck.h"
#include "panel_link/CPanelText.h"

namespace {

constexpr int kZoneText = 42;  // the description of a zone nobody described

// "U+20AC, U+1F525": the characters of `text` beyond Latin-1, each once, in order of appearance.
// Code points rather than the characters themselves: some of them would reorder or hide a line.
std::string unshown(const KvWString& text) {
    std::string out;
    std::set<char32_t> seen;
    for (int i = 0; i < text.Length(); ++i) {
        char32_t c = text[i];
        const bool pair = c >= 0xD800 && c <= 0xDBFF && i + 1 < text.Length() && text[i + 1] >= 0xDC00 &&
                          text[i + 1] <= 0xDFFF;
        if (pair) c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        if (c <= 0xFF || !seen.insert(c).second) continue;
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
        out += (out.empty() ? "" : ", ") + std::string(code);
    }
    return out;
}

}  // namespace

KvWString CFacilityCheck::defaultZoneText() {
    KvWString text;
    return KvLoadString(kZoneText, text);
}

void CFacilityCheck::checkText(const CCheckFinding& where, const char* what, const KvWString& text,
                               int maxBytes) {
    // Most texts are plain Latin-1: one panel byte per character and nothing shown as "?".
    bool plain = true;
    for (int i = 0; i < text.Length() && plain; ++i) plain = text[i] <= 0xFF;
    // One panel byte per character, surrogate pairs included.
    const int length = plain ? text.Length() : static_cast<int>(CPanelText::toPanel(text, text.Length()).size());
    if (length > maxBytes)
        warning(where, "text-too-long", {what, std::to_string(length), std::to_string(maxBytes)});
    if (plain) return;
    const std::string odd = unshown(text);
    if (!odd.empty()) warning(where, "text-not-shown", {what, odd});
}
