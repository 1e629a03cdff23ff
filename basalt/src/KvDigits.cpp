#include "basalt/KvDigits.h"

#include <cmath>

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

template <class C>
unsigned DigitValue(C c) {
    const unsigned u = static_cast<unsigned>(c);
    if (u <= '@') return u - '0';  // non-digits here give meaningless values, by contract
    if (u >= 'a' && u <= 'z') return u - 'a' + 10;
    return u - 'A' + 10;
}

template <class C>
void ByteToHex(std::uint8_t b, C* out) {
    out[0] = static_cast<C>(kHex[b >> 4]);
    out[1] = static_cast<C>(kHex[b & 0xF]);
}

template <class C>
std::uint32_t HexValue(const C* text, int count) {
    std::uint32_t v = 0;
    for (int i = 0; text && i < count && text[i]; ++i) v = (v << 4) | (DigitValue(text[i]) & 0xF);
    return v;
}

template <class C>
long long DecimalValue(const C* text, int count) {
    unsigned long long v = 0;  // unsigned: a long text wraps instead of overflowing
    for (int i = 0; text && i < count && text[i]; ++i) v = v * 10 + (static_cast<unsigned>(text[i]) - '0');
    return static_cast<long long>(v);
}

template <class C>
double TagValue(const C* text, int count) {
    double v = 0;
    for (int i = 0; text && i < count && text[i]; ++i) v = v * 16 + (DigitValue(text[i]) & 0xF);
    return v;
}

template <class C>
void LongToHex(C* out, std::uint32_t v) {
    for (int i = 7; i >= 0; --i, v >>= 4) out[i] = static_cast<C>(kHex[v & 0xF]);
    out[8] = C(0);
}

template <class C>
void TagToHex(C* out, double value) {
    std::uint64_t v = 0;
    if (value >= 1 && value < 18446744073709551616.0) v = static_cast<std::uint64_t>(value);
    C digits[16];
    int n = 0;
    do {
        digits[n++] = static_cast<C>(kHex[v & 0xF]);
        v >>= 4;
    } while (v != 0);
    for (int i = 0; i < n; ++i) out[i] = digits[n - 1 - i];
    out[n] = C(0);
}

template <class C>
bool IsHexDigit(C c) {
    return HexDigitValue(static_cast<char32_t>(c)) >= 0;
}

}  // namespace

int HexDigitValue(char32_t c) {
    if (c >= '0' && c <= '9') return static_cast<int>(c - '0');
    if (c >= 'A' && c <= 'F') return static_cast<int>(c - 'A' + 10);
    if (c >= 'a' && c <= 'f') return static_cast<int>(c - 'a' + 10);
    return -1;
}

void BtoH(std::uint8_t byte, char* out) { ByteToHex(byte, out); }
void BtoH(std::uint8_t byte, char16_t* out) { ByteToHex(byte, out); }
std::uint8_t HtoB(const char* text) { return static_cast<std::uint8_t>(HexValue(text, 2)); }
std::uint8_t HtoB(const char16_t* text) { return static_cast<std::uint8_t>(HexValue(text, 2)); }
bool IsHexB(char c) { return IsHexDigit(c); }
bool IsHexB(char16_t c) { return IsHexDigit(c); }

bool IsValidHexa(const char16_t* text) {
    for (const char16_t* p = text; p && *p; ++p)
        if (!IsHexDigit(*p)) return false;
    return true;
}

void LtoH(char* out, std::uint32_t value) { LongToHex(out, value); }
void LtoH(char16_t* out, std::uint32_t value) { LongToHex(out, value); }
std::uint32_t HtoL(const char* text, int count) { return HexValue(text, count); }
std::uint32_t HtoL(const char16_t* text, int count) { return HexValue(text, count); }
long long DtoL(const char* text, int count) { return DecimalValue(text, count); }
long long DtoL(const char16_t* text, int count) { return DecimalValue(text, count); }
double HtoTAG(const char* text, int count) { return TagValue(text, count); }
double HtoTAG(const char16_t* text, int count) { return TagValue(text, count); }
void TAGtoH(char* out, double value) { TagToHex(out, value); }
void TAGtoH(char16_t* out, double value) { TagToHex(out, value); }
