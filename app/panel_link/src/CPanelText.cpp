#include "panel_link/CPanelText.h"

std::string CPanelText::toPanel(const KvWString& text, int maxBytes) {
    std::string out;
    for (int i = 0; i < text.Length() && static_cast<int>(out.size()) < maxBytes; ++i) {
        const char16_t c = text[i];
        const bool high = c >= 0xD800 && c <= 0xDBFF;
        if (high && i + 1 < text.Length() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) ++i;
        out += c <= 0xFF ? static_cast<char>(c) : '?';
    }
    return out;
}

KvWString CPanelText::toWide(const std::string& bytes) {
    KvWString out;
    for (unsigned char c : bytes) out.Append(static_cast<char16_t>(c));
    return out;
}
