#include "basalt/KvBasicString.h"

#include "internal/KvCharacters.h"

namespace {
const char kEmpty8[1] = {0};
const char16_t kEmpty16[1] = {0};

template <class U, class C>
int CompareUnits(const C* a, const C* b, long n) {
    for (long i = 0; i < n; ++i) {
        const U x = static_cast<U>(a[i]), y = static_cast<U>(b[i]);
        if (x != y) return x < y ? -1 : 1;
        if (x == 0) return 0;
    }
    return 0;
}
}  // namespace

int KvChar::Compare(const char* a, const char* b) { return CompareUnits<unsigned char>(a, b, 0x7FFFFFFF); }
int KvChar::Compare(const char* a, const char* b, int n) { return CompareUnits<unsigned char>(a, b, n); }
int KvChar::Length(const char* s) { return s ? static_cast<int>(std::strlen(s)) : 0; }
// Bytes from 0x80 up are pieces of UTF-8 sequences: classifying or case-mapping
// them one by one as Latin-1 (0xA0 a no-break space, 0xB5 the micro sign whose
// upper case is 0x39C) would corrupt the text, so they are left alone.
bool KvChar::IsSpace(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u < 0x80 && KvIsWhiteSpace(u);
}
char KvChar::ToUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }
char KvChar::ToLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }
const char* KvChar::EmptyString() { return kEmpty8; }

int KvWideChar::Compare(const char16_t* a, const char16_t* b) { return CompareUnits<char16_t>(a, b, 0x7FFFFFFF); }
int KvWideChar::Compare(const char16_t* a, const char16_t* b, int n) { return CompareUnits<char16_t>(a, b, n); }
int KvWideChar::Length(const char16_t* s) {
    int n = 0;
    while (s && s[n]) ++n;
    return n;
}
bool KvWideChar::IsSpace(char16_t c) { return KvIsWhiteSpace(c); }
char16_t KvWideChar::ToUpper(char16_t c) { return KvSimpleUpper(c); }
char16_t KvWideChar::ToLower(char16_t c) { return KvSimpleLower(c); }
const char16_t* KvWideChar::EmptyString() { return kEmpty16; }
