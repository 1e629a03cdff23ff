#include "basalt/KvUtf.h"

#include "internal/Utf16Walk.h"
#include "internal/Utf8Decoder.h"

namespace {

void AppendCodePoint(KvWString& out, std::uint32_t cp) {
    if (cp < 0x10000) {
        out.Append(static_cast<char16_t>(cp));
        return;
    }
    cp -= 0x10000;
    out.Append(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.Append(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
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
    const auto* end = p + count;
    while (p < end) {
        const Utf8Sequence seq = Utf8Step(p, end);
        if (seq.kind == Utf8Sequence::Truncated) break;
        if (seq.kind == Utf8Sequence::Valid) AppendCodePoint(out, seq.codePoint);
        p += seq.length;
    }
}

void Utf16ToUtf8(KvString& utf8, const char16_t* wide) {
    Utf16ToUtf8(utf8, wide, wide ? KvWideChar::Length(wide) : 0);
}

void Utf16ToUtf8(KvString& utf8, const char16_t* wide, int count) {
    KvString out;
    out.SetGrowth(KvGrowth::Small);
    ForEachCodePoint(wide, count, [&out](std::uint32_t cp) {
        char bytes[4];
        out.Append(bytes, Utf8Encode(cp, bytes));
    });
    out.SetGrowth(KvGrowth::Exact);
    utf8 = static_cast<KvString&&>(out);
}

int Utf8Encode(std::uint32_t cp, char* out) {
    if (cp < 0x80) {
        out[0] = static_cast<char>(cp);
        return 1;
    }
    if (cp < 0x800) {
        out[0] = static_cast<char>(0xC0 | (cp >> 6));
        out[1] = static_cast<char>(0x80 | (cp & 0x3F));
        return 2;
    }
    if (cp < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (cp >> 12));
        out[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (cp & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | (cp >> 18));
    out[1] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (cp & 0x3F));
    return 4;
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
