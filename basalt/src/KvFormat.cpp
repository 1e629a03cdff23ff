// printf-style formatting for KvString and KvWString.
#include <cstdio>
#include <string>

#include "basalt/KvBasicString.h"
#include "basalt/KvUtf.h"

namespace {

struct Spec {
    std::string flags;  // flags, width and precision as written, with '*' resolved
    int width = -1;
    int precision = -1;
    bool leftAlign = false;
    char length = 0;  // 'h', 'l', 'L' (long long), 'H' (char), 'z', 'j', 't'
    char conv = 0;
};

// Reads flags, width, precision and length after a '%'; `*` takes an int argument.
template <class C>
const C* ParseSpec(const C* p, Spec& s, va_list& ap) {
    while (*p == '-' || *p == '+' || *p == ' ' || *p == '#' || *p == '0') {
        if (*p == '-') s.leftAlign = true;
        s.flags += static_cast<char>(*p++);
    }
    if (*p == '*') {
        s.width = va_arg(ap, int);
        if (s.width < 0) {
            s.leftAlign = true;
            s.flags += '-';
            s.width = -s.width;
        }
        s.flags += std::to_string(s.width);
        ++p;
    } else {
        while (*p >= '0' && *p <= '9') {
            s.width = (s.width < 0 ? 0 : s.width * 10) + (*p - '0');
            s.flags += static_cast<char>(*p++);
        }
    }
    if (*p == '.') {
        ++p;
        s.precision = 0;
        if (*p == '*') {
            s.precision = va_arg(ap, int);
            ++p;
        } else {
            while (*p >= '0' && *p <= '9') s.precision = s.precision * 10 + (*p++ - '0');
        }
        if (s.precision >= 0) s.flags += "." + std::to_string(s.precision);
    }
    if (*p == 'h') {
        s.length = 'h';
        if (*++p == 'h') s.length = 'H', ++p;
    } else if (*p == 'l') {
        s.length = 'l';
        if (*++p == 'l') s.length = 'L', ++p;
    } else if (*p == 'L' || *p == 'z' || *p == 'j' || *p == 't' || *p == 'q') {
        s.length = (*p == 'L' || *p == 'q') ? 'D' : static_cast<char>(*p);
        ++p;
    } else if (*p == 'I' && p[1] == '6' && p[2] == '4') {
        s.length = 'L';
        p += 3;
    }
    s.conv = static_cast<char>(*p ? *p++ : 0);
    return p;
}

std::string FormatOne(const std::string& fmt, ...) {
    va_list ap, ap2;
    va_start(ap, fmt);
    va_copy(ap2, ap);
    char small[128];
    const int n = std::vsnprintf(small, sizeof small, fmt.c_str(), ap);
    std::string out;
    if (n >= static_cast<int>(sizeof small)) {
        out.resize(n + 1);
        std::vsnprintf(out.data(), n + 1, fmt.c_str(), ap2);
        out.resize(n);
    } else if (n > 0) {
        out.assign(small, n);
    }
    va_end(ap2);
    va_end(ap);
    return out;
}

std::string FormatInteger(const Spec& s, va_list& ap) {
    const bool isSigned = s.conv == 'd' || s.conv == 'i';
    std::string f = "%" + s.flags;
    switch (s.length) {
    case 'L': return FormatOne(f + "ll" + s.conv, isSigned ? va_arg(ap, long long) : va_arg(ap, unsigned long long));
    case 'l': return FormatOne(f + "l" + s.conv, isSigned ? va_arg(ap, long) : va_arg(ap, unsigned long));
    case 'z': return FormatOne(f + "z" + s.conv, va_arg(ap, size_t));
    case 'j': return FormatOne(f + "j" + s.conv, va_arg(ap, intmax_t));
    case 't': return FormatOne(f + "t" + s.conv, va_arg(ap, ptrdiff_t));
    case 'h': return FormatOne(f + "h" + s.conv, va_arg(ap, int));
    case 'H': return FormatOne(f + "hh" + s.conv, va_arg(ap, int));
    default: return FormatOne(f + s.conv, va_arg(ap, int));
    }
}

// Pads `text` (already cut to the precision) to the width, in code units.
template <class Str>
void AppendPadded(Str& out, const Str& text, const Spec& s) {
    const int pad = s.width > text.Length() ? s.width - text.Length() : 0;
    if (!s.leftAlign)
        for (int i = 0; i < pad; ++i) out.Append(' ');
    out.Append(text);
    if (s.leftAlign)
        for (int i = 0; i < pad; ++i) out.Append(' ');
}

template <class Str>
void AppendAscii(Str& out, const std::string& text) {
    for (char c : text) out.Append(static_cast<typename Str::CharType>(static_cast<unsigned char>(c)));
}

// The text argument of %s, %c and friends, in the output's character type.
KvWString WideArg(const Spec& s, va_list& ap, bool wideFormat) {
    const bool narrow = wideFormat ? s.length == 'h' : s.length != 'l';
    if (s.conv == 'c' || s.conv == 'C') {
        const int c = va_arg(ap, int);
        return KvWString(1, static_cast<char16_t>(c));
    }
    if (narrow) {
        const char* a = va_arg(ap, const char*);
        return ToWide(a ? a : "(null)");
    }
    const char16_t* w = va_arg(ap, const char16_t*);
    return KvWString(w ? w : u"(null)");
}

template <class Str, class C>
void Format(Str& result, const C* fmt, va_list ap, bool wideFormat) {
    Str out;
    out.SetGrowth(KvGrowth::Small);
    va_list args;
    va_copy(args, ap);
    for (const C* p = fmt; p && *p;) {
        if (*p != '%') {
            out.Append(static_cast<typename Str::CharType>(*p++));
            continue;
        }
        ++p;
        if (*p == '%') {
            out.Append('%');
            ++p;
            continue;
        }
        Spec s;
        p = ParseSpec(p, s, args);
        switch (s.conv) {
        case 'd': case 'i': case 'u': case 'x': case 'X': case 'o':
            AppendAscii(out, FormatInteger(s, args));
            break;
        case 'f': case 'F': case 'g': case 'G': case 'e': case 'E': case 'a': case 'A':
            AppendAscii(out, s.length == 'D' ? FormatOne("%" + s.flags + "L" + s.conv, va_arg(args, long double))
                                            : FormatOne("%" + s.flags + s.conv, va_arg(args, double)));
            break;
        case 'p':
            AppendAscii(out, FormatOne("%p", va_arg(args, void*)));
            break;
        case 's': case 'S': case 'c': case 'C': {
            KvWString text = WideArg(s, args, wideFormat);
            if (s.precision >= 0 && s.conv != 'c') text.Truncate(s.precision);
            if constexpr (sizeof(typename Str::CharType) == 1) {
                AppendPadded(out, ToUtf8(text), s);
            } else {
                AppendPadded(out, text, s);
            }
            break;
        }
        case 0:
            break;  // format ends inside a conversion
        default:
            out.Append('%');
            out.Append(static_cast<typename Str::CharType>(s.conv));
        }
    }
    va_end(args);
    out.SetGrowth(KvGrowth::Exact);
    result = static_cast<Str&&>(out);
}

}  // namespace

void KvVFormat(KvString& out, const char* fmt, va_list ap) { Format(out, fmt, ap, false); }
void KvVFormat(KvWString& out, const char16_t* fmt, va_list ap) { Format(out, fmt, ap, true); }
