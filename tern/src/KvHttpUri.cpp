#include "tern/KvHttpUri.h"

#include <cstring>

#include "basalt/KvDigits.h"
#include "basalt/KvUtf.h"

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
        if (p[0] != '%' || HexDigitValue(p[1]) < 0 || HexDigitValue(p[2]) < 0) {
            out.Append(*p);
            continue;
        }
        const unsigned int byte = static_cast<unsigned int>(HexDigitValue(p[1]) * 16 + HexDigitValue(p[2]));
        char bytes[4];
        out.Append(bytes, Utf8Encode(byte, bytes));
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
