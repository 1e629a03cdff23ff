#include "basalt/KvBasicString.h"

#include <cwctype>

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
bool KvChar::IsSpace(char c) { return std::iswspace(static_cast<unsigned char>(c)) != 0; }
char KvChar::ToUpper(char c) {
    return static_cast<char>(static_cast<std::uint16_t>(std::towupper(static_cast<unsigned char>(c))));
}
char KvChar::ToLower(char c) {
    return static_cast<char>(static_cast<std::uint16_t>(std::towlower(static_cast<unsigned char>(c))));
}
const char* KvChar::EmptyString() { return kEmpty8; }

int KvWideChar::Compare(const char16_t* a, const char16_t* b) { return CompareUnits<char16_t>(a, b, 0x7FFFFFFF); }
int KvWideChar::Compare(const char16_t* a, const char16_t* b, int n) { return CompareUnits<char16_t>(a, b, n); }
int KvWideChar::Length(const char16_t* s) {
    int n = 0;
    while (s && s[n]) ++n;
    return n;
}
bool KvWideChar::IsSpace(char16_t c) { return std::iswspace(c) != 0; }
char16_t KvWideChar::ToUpper(char16_t c) { return static_cast<char16_t>(std::towupper(c)); }
char16_t KvWideChar::ToLower(char16_t c) { return static_cast<char16_t>(std::towlower(c)); }
const char16_t* KvWideChar::EmptyString() { return kEmpty16; }
