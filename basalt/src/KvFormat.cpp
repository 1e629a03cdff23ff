// printf-style formatting for KvString and KvWString.
#include <locale.h>

#include <cstdio>
#include <string>

#include "basalt/KvBasicString.h"
#include "basalt/KvUtf.h"

namespace {

// Widths and precisions beyond this are typos or attacks, not layouts.
constexpr int kMaxField = 1 << 16;

int ClampField(long long v) { return v > kMaxField ? kMaxField : static_cast<int>(v); }

struct Conversion {
    std::string flags;  // flags, width and precision as written, with '*' resolved
    int width = -1;
    int precision = -1;
    bool leftAlign = false;
    char length = 0;  // 'h', 'l', 'L' (long long), 'H' (char), 'z', 'j', 't'
    char conv = 0;
};

// Reads flags, width, precision and length after a '%'; `*` takes an int argument.
template <class C>
const C* ParseConversion(const C* p, Conversion& s, va_list& ap) {
    while (*p == '-' || *p == '+' || *p == ' ' || *p == '#' || *p == '0') {
        if (*p == '-') s.leftAlign = true;
        s.flags += static_cast<char>(*p++);
    }
    if (*p == '*') {
        long long w = va_arg(ap, int);
        if (w < 0) {
            s.leftAlign = true;
            s.flags += '-';
            w = -w;
        }
        s.width = ClampField(w);
        ++p;
    } else {
        while (*p >= '0' && *p <= '9') s.width = ClampField((s.width < 0 ? 0 : s.width * 10LL) + (*p++ - '0'));
    }
    if (s.width >= 0) s.flags += std::to_string(s.width);
    if (*p == '.') {
        ++p;
        s.precision = 0;
        if (*p == '*') {
            s.precision = va_arg(ap, int);
            if (s.precision > kMaxField) s.precision = kMaxField;
            ++p;
        } else {
            while (*p >= '0' && *p <= '9') s.precision = ClampField(s.precision * 10LL + (*p++ - '0'));
        }
        if (s.precision >= 0) {
            s.flags += '.';
            s.flags += std::to_string(s.precision);
        }
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

// Formatted text goes into files and wire formats, which must read the same in
// every process locale: numbers always take the C locale's decimal point, never
// the "2,5" of a decimal-comma locale. Shown numbers go through FormatNumber.
class CLocaleScope {
public:
    CLocaleScope() : m_previous(m_c ? ::uselocale(m_c) : locale_t(0)) {}
    ~CLocaleScope() {
        if (m_previous) ::uselocale(m_previous);
    }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    static inline const locale_t m_c = ::newlocale(LC_ALL_MASK, "C", locale_t(0));
    locale_t m_previous;
};

std::string FormatOne(const char* fmt, ...) {
    const CLocaleScope cLocale;
    va_list ap, ap2;
    va_start(ap, fmt);
    va_copy(ap2, ap);
    char small[128];
    const int n = std::vsnprintf(small, sizeof small, fmt, ap);
    std::string out;
    if (n >= static_cast<int>(sizeof small)) {
        out.resize(n + 1);
        std::vsnprintf(out.data(), n + 1, fmt, ap2);
        out.resize(n);
    } else if (n > 0) {
        out.assign(small, n);
    }
    va_end(ap2);
    va_end(ap);
    return out;
}

std::string FormatInteger(const Conversion& s, va_list& ap) {
    const bool isSigned = s.conv == 'd' || s.conv == 'i';
    std::string f = "%" + s.flags;
    switch (s.length) {
    case 'L': return FormatOne((f + "ll" + s.conv).c_str(), isSigned ? va_arg(ap, long long) : va_arg(ap, unsigned long long));
    case 'l': return FormatOne((f + "l" + s.conv).c_str(), isSigned ? va_arg(ap, long) : va_arg(ap, unsigned long));
    case 'z': return FormatOne((f + "z" + s.conv).c_str(), va_arg(ap, size_t));
    case 'j': return FormatOne((f + "j" + s.conv).c_str(), va_arg(ap, intmax_t));
    case 't': return FormatOne((f + "t" + s.conv).c_str(), va_arg(ap, ptrdiff_t));
    case 'h': return FormatOne((f + "h" + s.conv).c_str(), va_arg(ap, int));
    case 'H': return FormatOne((f + "hh" + s.conv).c_str(), va_arg(ap, int));
    default: return FormatOne((f + s.conv).c_str(), va_arg(ap, int));
    }
}

// Pads `text` (already cut to the precision) to the width, in code units.
template <class Str>
void AppendPadded(Str& out, const Str& text, const Conversion& s) {
    const int pad = s.width > text.Length() ? s.width - text.Length() : 0;
    const Str spaces(pad, ' ');
    if (!s.leftAlign) out.Append(spaces);
    out.Append(text);
    if (s.leftAlign) out.Append(spaces);
}

template <class Str>
void AppendAscii(Str& out, const std::string& text) {
    for (char c : text) out.Append(static_cast<typename Str::CharType>(static_cast<unsigned char>(c)));
}

// Units of `s` up to the terminator or the precision, whichever comes first:
// a precision lets callers print text that has no terminator.
int BoundedLength(const char* s, int precision) {
    int n = 0;
    while ((precision < 0 || n < precision) && s[n]) ++n;
    return n;
}
int BoundedLength(const char16_t* s, int precision) {
    int n = 0;
    while ((precision < 0 || n < precision) && s[n]) ++n;
    if (precision >= 0 && n == precision && n > 0 && s[n - 1] >= 0xD800 && s[n - 1] < 0xDC00) --n;  // half a pair
    return n;
}

// The text argument of %s or %c, in the character type of the output. A narrow
// argument into narrow output keeps its bytes as they are.
template <class Str>
Str TextArg(const Conversion& s, va_list& ap, bool wideFormat) {
    constexpr bool narrowOut = sizeof(typename Str::CharType) == 1;
    const bool narrowArg = wideFormat ? s.length == 'h' : s.length != 'l';
    const bool isChar = s.conv == 'c' || s.conv == 'C';
    if (isChar && narrowOut && narrowArg) return Str(1, static_cast<char>(va_arg(ap, int)));
    KvWString wide;
    if (isChar) {
        wide = KvWString(1, static_cast<char16_t>(va_arg(ap, int)));
    } else if (narrowArg) {
        const char* a = va_arg(ap, const char*);
        if (!a) a = "(null)";
        const int n = BoundedLength(a, s.precision);
        if constexpr (narrowOut) return Str(a, n);
        Utf8ToUtf16(wide, a, n);
    } else {
        const char16_t* w = va_arg(ap, const char16_t*);
        if (!w) w = u"(null)";
        wide = KvWString(w, BoundedLength(w, s.precision));
    }
    if constexpr (narrowOut) {
        return ToUtf8(wide.c_str());
    } else {
        return wide;
    }
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
        Conversion s;
        p = ParseConversion(p, s, args);
        switch (s.conv) {
        case 'd': case 'i': case 'u': case 'x': case 'X': case 'o':
            AppendAscii(out, FormatInteger(s, args));
            break;
        case 'f': case 'F': case 'g': case 'G': case 'e': case 'E': case 'a': case 'A':
            AppendAscii(out, s.length == 'D' ? FormatOne(("%" + s.flags + "L" + s.conv).c_str(), va_arg(args, long double))
                                            : FormatOne(("%" + s.flags + s.conv).c_str(), va_arg(args, double)));
            break;
        case 'p':
            AppendAscii(out, FormatOne("%p", va_arg(args, void*)));
            break;
        case 's': case 'S': case 'c': case 'C':
            AppendPadded(out, TextArg<Str>(s, args, wideFormat), s);
            break;
        case 0:
            out.Append('%');  // a format ending in "%" keeps it as text
            break;
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
