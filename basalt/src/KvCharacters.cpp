#include "internal/KvCharacters.h"

namespace {

// A block where upper and lower case alternate: the upper-case letter on the
// even (or, with `upperOdd`, the odd) code of each pair.
struct PairBlock {
    char16_t first, last;
    bool upperOdd;
};
constexpr PairBlock kPairs[] = {
    {0x0100, 0x012F, false}, {0x0132, 0x0137, false}, {0x0139, 0x0148, true}, {0x014A, 0x0177, false},
    {0x0179, 0x017E, true},  {0x0218, 0x021F, false}, {0x0460, 0x0481, false}, {0x048A, 0x04BF, false},
};

// A block of upper-case letters whose lower-case forms lie `delta` above.
struct ShiftBlock {
    char16_t first, last;
    int delta;
};
constexpr ShiftBlock kShifts[] = {
    {0x0041, 0x005A, 32}, {0x00C0, 0x00D6, 32}, {0x00D8, 0x00DE, 32}, {0x0386, 0x0386, 38},
    {0x0388, 0x038A, 37}, {0x038C, 0x038C, 64}, {0x038E, 0x038F, 63}, {0x0391, 0x03A1, 32},
    {0x03A3, 0x03AB, 32}, {0x0400, 0x040F, 80}, {0x0410, 0x042F, 32},
};

}  // namespace

char16_t KvSimpleLower(char16_t c) {
    if (c < 0x80) return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
    for (const ShiftBlock& b : kShifts)
        if (c >= b.first && c <= b.last) return static_cast<char16_t>(c + b.delta);
    for (const PairBlock& b : kPairs)
        if (c >= b.first && c <= b.last) return ((c & 1) != 0) == b.upperOdd ? static_cast<char16_t>(c + 1) : c;
    if (c == 0x0130) return u'i';
    if (c == 0x0178) return 0x00FF;
    return c;
}

char16_t KvSimpleUpper(char16_t c) {
    if (c < 0x80) return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
    for (const ShiftBlock& b : kShifts)
        if (c >= b.first + b.delta && c <= b.last + b.delta) return static_cast<char16_t>(c - b.delta);
    for (const PairBlock& b : kPairs)
        if (c >= b.first && c <= b.last) return ((c & 1) != 0) != b.upperOdd ? static_cast<char16_t>(c - 1) : c;
    switch (c) {
    case 0x00B5: return 0x039C;  // micro sign: Greek capital mu
    case 0x00FF: return 0x0178;
    case 0x0131: return u'I';    // dotless i
    case 0x017F: return u'S';    // long s
    case 0x03C2: return 0x03A3;  // final sigma
    default: return c;
    }
}

bool KvIsWhiteSpace(char16_t c) {
    if (c <= 0x20) return c == 0x20 || (c >= 0x09 && c <= 0x0D);
    if (c < 0x85) return false;
    switch (c) {
    case 0x0085: case 0x00A0: case 0x1680: case 0x2028: case 0x2029: case 0x202F: case 0x205F: case 0x3000:
        return true;
    default: return c >= 0x2000 && c <= 0x200A;
    }
}
