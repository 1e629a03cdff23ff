#include "tern/KvHttpUri.h"

#include <cstring>

namespace {
int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}
}  // namespace

void Web2URI(KvString& out, const char* text) {
    out.Empty();
    if (!text) return;
    out.SetGrowth(KvGrowth::Small);
    for (const char* p = text; *p; ++p) {
        if (p[0] == '%' && p[1] == '%') {
            out.Append('%');
            ++p;
            continue;
        }
        if (p[0] != '%' || HexValue(p[1]) < 0 || HexValue(p[2]) < 0) {
            out.Append(*p);
            continue;
        }
        const unsigned int byte = static_cast<unsigned int>(HexValue(p[1]) * 16 + HexValue(p[2]));
        if (byte < 0x80) {
            out.Append(static_cast<char>(byte));
        } else {
            out.Append(static_cast<char>(0xC0 | (byte >> 6)));
            out.Append(static_cast<char>(0x80 | (byte & 0x3F)));
        }
        p += 2;
    }
    out.SetGrowth(KvGrowth::Exact);
}

void URI2Web(KvString& out, const char* uri) {
    out.Empty();
    if (!uri) return;
    out.SetGrowth(KvGrowth::Small);
    for (const char* p = uri; *p; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (c < 0x20 || c == 0x7F || std::strchr(" \"#%<>[\\]^`{|}", c)) out.AppendFormat("%%%02x", c);
        else out.Append(*p);
    }
    out.SetGrowth(KvGrowth::Exact);
}
