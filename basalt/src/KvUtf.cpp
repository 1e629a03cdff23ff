#include "basalt/KvUtf.h"

namespace {

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

void AppendCodePoint(KvWString& out, std::uint32_t cp) {
    if (cp < 0x10000) {
        out.Append(static_cast<char16_t>(cp));
        return;
    }
    cp -= 0x10000;
    out.Append(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.Append(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
}

// Number of continuation bytes a lead byte announces; -1 for a stray
// continuation byte, 4 or 5 for the obsolete 5- and 6-byte forms.
int TrailCount(unsigned char b) {
    if (b < 0x80) return 0;
    if (b < 0xC0) return -1;
    if (b < 0xE0) return 1;
    if (b < 0xF0) return 2;
    if (b < 0xF8) return 3;
    if (b < 0xFC) return 4;
    return 5;
}

// A complete sequence is kept only when it is the shortest form of a Unicode
// scalar value: overlong forms (C0 AF for "/") could smuggle characters past
// checks made on the bytes, and surrogates or values above 0x10FFFF have no
// valid UTF-16 form.
bool IsAcceptable(std::uint32_t cp, int trail) {
    static constexpr std::uint32_t kMinimum[4] = {0, 0x80, 0x800, 0x10000};
    return cp >= kMinimum[trail] && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF);
}

void AppendUtf8(KvString& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out.Append(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.Append(static_cast<char>(0xC0 | (cp >> 6)));
        out.Append(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.Append(static_cast<char>(0xE0 | (cp >> 12)));
        out.Append(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.Append(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.Append(static_cast<char>(0xF0 | (cp >> 18)));
        out.Append(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.Append(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.Append(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

}  // namespace

void Utf8ToUtf16(KvWString& wide, const char* utf8) {
    Utf8ToUtf16(wide, utf8, utf8 ? KvChar::Length(utf8) : 0);
}

void Utf8ToUtf16(KvWString& wide, const char* bytes, int count) {
    KvWString out;
    out.SetGrowth(KvGrowth::Small);
    AppendUtf8ToUtf16(out, bytes, count);
    out.SetGrowth(KvGrowth::Exact);
    wide = static_cast<KvWString&&>(out);
}

void AppendUtf8ToUtf16(KvWString& out, const char* bytes, int count) {
    if (!bytes || count <= 0) return;
    out.Reserve(out.Length() + count);  // never more units than bytes
    const auto* p = reinterpret_cast<const unsigned char*>(bytes);
    int i = 0;
    while (i < count) {
        const unsigned char lead = p[i++];
        const int trail = TrailCount(lead);
        if (trail < 0) continue;
        if (trail == 0) {
            out.Append(static_cast<char16_t>(lead));
            continue;
        }
        if (trail > 3) {  // obsolete long forms: skip the lead and its continuations
            while (i < count && IsContinuation(p[i])) ++i;
            continue;
        }
        std::uint32_t cp = lead & (0x3F >> trail);
        int got = 0;
        while (got < trail && i < count && IsContinuation(p[i])) {
            cp = (cp << 6) | (p[i++] & 0x3F);
            ++got;
        }
        if (got == trail) {
            if (IsAcceptable(cp, trail)) AppendCodePoint(out, cp);
        } else if (i >= count) {
            break;  // cut short by the end of the text
        }
        // Cut short by a byte that is not a continuation: that byte starts afresh,
        // so one bad byte never swallows a good character such as "<".
    }
}

void Utf16ToUtf8(KvString& utf8, const char16_t* wide) {
    Utf16ToUtf8(utf8, wide, wide ? KvWideChar::Length(wide) : 0);
}

void Utf16ToUtf8(KvString& utf8, const char16_t* wide, int count) {
    KvString out;
    out.SetGrowth(KvGrowth::Small);
    for (int i = 0; wide && i < count; ++i) {
        const std::uint32_t u = wide[i];
        if (u >= 0xD800 && u < 0xDC00) {
            if (i + 1 < count && wide[i + 1] >= 0xDC00 && wide[i + 1] < 0xE000) {
                AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (wide[i + 1] - 0xDC00));
                ++i;
            }
            continue;  // a lone high surrogate is dropped
        }
        if (u >= 0xDC00 && u < 0xE000) continue;  // lone low surrogate
        AppendUtf8(out, u);
    }
    out.SetGrowth(KvGrowth::Exact);
    utf8 = static_cast<KvString&&>(out);
}

KvWString ToWide(const char* utf8) {
    KvWString w;
    Utf8ToUtf16(w, utf8);
    return w;
}

KvString ToUtf8(const char16_t* wide) {
    KvString s;
    Utf16ToUtf8(s, wide);
    return s;
}
