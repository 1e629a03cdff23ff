// The one set of UTF-8 decoding rules of Basalt: text conversion, the XML
// parser and file-name conversion all step through bytes with Utf8Step.
#pragma once

#include <cstdint>

struct Utf8Sequence {
    enum Kind : std::uint8_t {
        Valid,      // `codePoint` is a Unicode scalar value in its shortest form
        Invalid,    // `length` bytes make no character and are dropped
        Truncated,  // a sequence cut short by the end of the input
    };
    Kind kind;
    int length;  // bytes consumed, at least 1
    std::uint32_t codePoint;
};

// Decodes the sequence starting at `p` (p < end). A stray continuation byte is
// invalid on its own; the obsolete 5- and 6-byte forms take their continuation
// bytes with them; a sequence cut short by a byte that is not a continuation
// byte ends before that byte, so one bad byte never swallows a good character
// such as "<". Overlong forms (C0 AF for "/"), encoded surrogates and values
// above 0x10FFFF are invalid: they could smuggle characters past checks made on
// the bytes, and have no UTF-16 form.
inline Utf8Sequence Utf8Step(const unsigned char* p, const unsigned char* end) {
    const unsigned char lead = *p;
    if (lead < 0x80) return {Utf8Sequence::Valid, 1, lead};
    auto isContinuation = [](unsigned char b) { return (b & 0xC0) == 0x80; };
    if (lead < 0xC0) return {Utf8Sequence::Invalid, 1, 0};
    if (lead >= 0xF8) {
        int n = 1;
        while (p + n < end && isContinuation(p[n])) ++n;
        return {Utf8Sequence::Invalid, n, 0};
    }
    const int trail = lead < 0xE0 ? 1 : (lead < 0xF0 ? 2 : 3);
    std::uint32_t cp = lead & (0x3F >> trail);
    int n = 1;
    for (; n <= trail; ++n) {
        if (p + n >= end) return {Utf8Sequence::Truncated, n, 0};
        if (!isContinuation(p[n])) return {Utf8Sequence::Invalid, n, 0};
        cp = (cp << 6) | (p[n] & 0x3F);
    }
    static constexpr std::uint32_t kMinimum[4] = {0, 0x80, 0x800, 0x10000};
    const bool acceptable = cp >= kMinimum[trail] && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF);
    return {acceptable ? Utf8Sequence::Valid : Utf8Sequence::Invalid, n, cp};
}
