// KvDigits: hexadecimal and decimal digit conversion for 8-bit and UTF-16 text.
//
// These never fail. Readers stop early at a terminator, so a short text gives
// the value of the digits it has. Characters that are not digits give
// meaningless values, as documented per function.
#pragma once

#include <cstdint>

// Writes two upper-case hexadecimal digits of `byte` to out[0..1]; no terminator.
void BtoH(std::uint8_t byte, char* out);
void BtoH(std::uint8_t byte, char16_t* out);

// The value of the first two hexadecimal digits of `text` (either case).
std::uint8_t HtoB(const char* text);
std::uint8_t HtoB(const char16_t* text);

// The value of one hexadecimal digit (0-9, A-F, a-f), or -1 for any other
// character: the one digit reader for parsers that must refuse bad input.
int HexDigitValue(char32_t c);

// True for 0-9, A-F and a-f.
bool IsHexB(char c);
bool IsHexB(char16_t c);

// True when every character is a hexadecimal digit; an empty text is valid.
bool IsValidHexa(const char16_t* text);

// Writes eight upper-case hexadecimal digits of `value` and a terminator (9 characters).
void LtoH(char* out, std::uint32_t value);
void LtoH(char16_t* out, std::uint32_t value);

// The value of the first `count` hexadecimal digits (at most 8 count). Characters
// with codes up to '@' count as decimal digits (c - '0'), lower-case letters as
// their upper-case forms, anything else as an upper-case letter (c - 'A' + 10).
std::uint32_t HtoL(const char* text, int count);
std::uint32_t HtoL(const char16_t* text, int count);

// The value of the first `count` decimal digits; no sign.
long long DtoL(const char* text, int count);
long long DtoL(const char16_t* text, int count);

// The value of `count` hexadecimal digits as a floating-point number (exact up to 13 digits).
double HtoTAG(const char* text, int count);
double HtoTAG(const char16_t* text, int count);

// Writes the upper-case hexadecimal digits of the integer part of `value`,
// without leading zeros ("0" for zero, negative or not-a-number values), and a
// terminator; `out` needs room for 17 characters (values are cut at 2^64).
void TAGtoH(char* out, double value);
void TAGtoH(char16_t* out, double value);
