#include "cairnctl/TerminalText.h"

#include <cstdio>

#include "basalt/KvUtf.h"

namespace {

bool isSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// Characters that act on the terminal or on the order of what it shows.
bool needsEscape(char32_t c) {
    return (c >= 0x80 && c <= 0x9F) || c == 0x2028 || c == 0x2029 || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069) || c == 0x200E || c == 0x200F || c == 0x061C;
}

void appendUtf8(std::string& out, char32_t c) {
    char bytes[4];
    out.append(bytes, static_cast<std::size_t>(Utf8Encode(c, bytes)));
}

void appendEscaped(std::string& out, char32_t c) {
    switch (c) {
        case '\n': out += "\\n"; return;
        case '\r': out += "\\r"; return;
        case '\t': out += "\\t"; return;
        case '\\': out += "\\\\"; return;
        case '"': out += "\\\""; return;
        default: break;
    }
    char buffer[16];
    if (c < 0x20 || c == 0x7F)
        std::snprintf(buffer, sizeof buffer, "\\x%02X", static_cast<unsigned>(c));
    else
        std::snprintf(buffer, sizeof buffer, "\\u%04X", static_cast<unsigned>(c));
    out += buffer;
}

}  // namespace

std::string terminalText(const KvWString& text) {
    std::string out;
    for (int i = 0; i < text.Length(); ++i) {
        char32_t c = text[i];
        const bool pair = c >= 0xD800 && c <= 0xDBFF && i + 1 < text.Length() && text[i + 1] >= 0xDC00 &&
                          text[i + 1] <= 0xDFFF;
        if (pair)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        if (c < 0x20 || c == 0x7F || c == '\\' || c == '"' || needsEscape(c) || (!pair && isSurrogate(c)))
            appendEscaped(out, c);
        else
            appendUtf8(out, c);
    }
    return out;
}
