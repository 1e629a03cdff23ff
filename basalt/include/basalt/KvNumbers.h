// KvNumbers: rounding, and numbers formatted and checked with the user's separators.
//
// Rounding works on the shortest decimal form of a double (the digits the user
// typed or saw), so 1.005 rounds to 1.01 at two places, not to 1.00.
// Separators come from KvLocaleSeparators().
#pragma once

#include "basalt/KvBasicString.h"

// Nearest integer; an exact half goes toward zero (2.5 -> 2, -2.5 -> -2).
// Clamped to the int range; not-a-number gives 0.
int roundi(double x);
// The same as a double. Not named `round`: that name belongs to the C library,
// whose halves go away from zero, and a call would silently reach it.
double KvRound(double x);

// `x` rounded to `places` decimal places, an exact half going up (2.5 -> 3,
// -2.5 -> -2). Negative `places` round left of the point (-2: hundreds,
// -3: thousands), but -1 returns `x` unchanged. Infinities and NaN pass through.
double FormatNumber(double x, int places);

// `x` rounded away from zero at `places` decimal places (1.21 -> 1.3 at 1);
// -1 rounds at the units, other negatives left of the point as FormatNumber.
double DCeil(double x, int places);

// Decimal digits of `value`, left-padded with zeros to at least `width` digits;
// returns the length. -1, text untouched, when `width` or `value` is negative.
int FormatInteger(KvString& text, long long value, int width);
int FormatInteger(KvWString& text, long long value, int width);

// Replaces `text` with `x` at |decimals| decimal places (|decimals| limited to
// 10), an exact half going away from zero, thousands separators between
// groups of three integer digits when `group`. More than 12 integer digits (or
// an infinite or NaN `x`) give "*" followed, when `decimals` is not 0, by the
// decimal separator and |decimals| asterisks. A negative `decimals` drops
// trailing fraction zeros and then a bare separator. A value that rounds to 0
// gets no "-". Returns the length of `text`. The 8-bit form is UTF-8.
int FormatNumber(KvWString& text, double x, int decimals, bool group);
int FormatNumber(KvString& text, double x, int decimals, bool group);

// Replaces `text` with `x` for a field of `intDigits` integer digits (<= 0: any)
// and `decimals` decimals (negative: 5). Infinite or NaN gives "#"; too many
// integer digits give `intDigits` asterisks (and the separator and `decimals`
// asterisks when `decimals` > 0). `zeroPad` pads the integer part with zeros to
// `intDigits`; `fixedDecimals` keeps trailing zeros, otherwise they and a bare
// separator are dropped; `group` inserts thousands separators. Returns the length.
int FormatDouble(KvWString& text, double x, int intDigits, int decimals, bool group, bool zeroPad,
                 bool fixedDecimals);

// Reads a field format such as "6.2" or "06.02". Defaults: intDigits -1,
// decimals 3, both flags false; a format without "." changes nothing more.
// Each part is an optional leading "0" (sets the part's zero-pad flag) and a
// number; intDigits is limited to 12, decimals to 9; an empty decimal part
// gives -1, an empty integer part keeps -1. Returns whether a "." was found.
bool ParseFormat(const char16_t* format, int& intDigits, int& decimals, bool& zeroPadInt, bool& zeroPadDec);

// `out` becomes `text` without the thousands separators.
void UnformatNumber(const char16_t* text, KvWString& out);

// True for an optional leading "-", digits, at most one decimal separator and
// thousands separators each followed by exactly three digits (none after the
// decimal separator, none leading). With `maxDecimals` >= 0, at most that many
// digits may follow the decimal separator. At least one digit is required.
bool IsValidNumber(const char16_t* text, int maxDecimals);
bool IsValidNumber(const char* text, int maxDecimals);  // UTF-8

// `out` becomes the digits of |x| as printf "%f" writes them, without the
// decimal point and without leading zeros, right-padded with "0" to at least
// `digits` characters; `point` is the position of the decimal point within
// them (negative for values below 0.1), `negative` whether x < 0. An infinite
// or NaN `x` gives "inf" or "nan" with point 0.
void xfecvt(KvString& out, double x, int digits, int& point, bool& negative);
