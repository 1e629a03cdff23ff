#include "basalt/KvNumbers.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <string>

#include "basalt/KvLocaleSeparators.h"
#include "basalt/KvUtf.h"

namespace {

// A non-negative decimal: value = 0.d1 d2 d3 ... x 10^point.
struct Decimal {
    std::string digits;
    int point = 0;
};

enum class Rounding { HalfUp, HalfDown, Away };  // on the magnitude

Decimal ToDecimal(double magnitude) {
    char buf[48];
    const auto r = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific);
    Decimal d;
    const char* p = buf;
    for (; p < r.ptr && *p != 'e'; ++p)
        if (*p != '.') d.digits += *p;
    int exponent = 0;
    if (p < r.ptr) std::from_chars(p + 1 + (p[1] == '+'), r.ptr, exponent);
    d.point = exponent + 1;
    if (d.digits == "0") d.point = 1;
    return d;
}

bool RoundsUp(const Decimal& d, std::size_t keep, Rounding mode) {
    if (keep >= d.digits.size()) return false;
    const bool restNonZero = d.digits.find_first_not_of('0', keep + 1) != std::string::npos;
    switch (mode) {
    case Rounding::HalfUp: return d.digits[keep] >= '5';
    case Rounding::HalfDown: return d.digits[keep] > '5' || (d.digits[keep] == '5' && restNonZero);
    case Rounding::Away: return d.digits[keep] != '0' || restNonZero;
    }
    return false;
}

// Rounds `d` at `places` digits after the point (negative: before it).
Decimal RoundAt(Decimal d, int places, Rounding mode) {
    int keep = d.point + places;
    if (keep < 0) {  // the rounding position lies left of the first digit
        d.digits.insert(0, static_cast<std::size_t>(-keep), '0');
        d.point -= keep;
        keep = 0;
    }
    const bool up = RoundsUp(d, static_cast<std::size_t>(keep), mode);
    if (static_cast<std::size_t>(keep) < d.digits.size()) d.digits.resize(keep);
    if (up) {
        int i = keep - 1;
        for (; i >= 0 && d.digits[i] == '9'; --i) d.digits[i] = '0';
        if (i >= 0) {
            ++d.digits[i];
        } else {
            d.digits.insert(0, 1, '1');
            ++d.point;
        }
    }
    return d;
}

bool IsZero(const Decimal& d) { return d.digits.find_first_not_of('0') == std::string::npos; }

std::string IntegerPart(const Decimal& d) {
    std::string s;
    for (int i = 0; i < d.point; ++i) s += i < static_cast<int>(d.digits.size()) ? d.digits[i] : '0';
    const std::size_t first = s.find_first_not_of('0');
    return first == std::string::npos ? "0" : s.substr(first);
}

std::string FractionPart(const Decimal& d, int count) {
    std::string s;
    for (int i = 0; i < count; ++i) {
        const int at = d.point + i;
        s += (at >= 0 && at < static_cast<int>(d.digits.size())) ? d.digits[at] : '0';
    }
    return s;
}

double ToDouble(const Decimal& d, bool negative) {
    if (IsZero(d)) return negative ? -0.0 : 0.0;
    const std::string text = "0." + d.digits + "e" + std::to_string(d.point);
    double v = 0;
    std::from_chars(text.data(), text.data() + text.size(), v);
    return negative ? -v : v;
}

double RoundDouble(double x, int places, Rounding positiveMode, Rounding negativeMode) {
    if (!std::isfinite(x)) return x;
    const bool negative = std::signbit(x);
    return ToDouble(RoundAt(ToDecimal(std::fabs(x)), places, negative ? negativeMode : positiveMode), negative);
}

void AppendAscii(KvWString& out, const std::string& s) {
    for (char c : s) out.Append(static_cast<char16_t>(c));
}

// Inserts the thousands separator between groups of three digits of `digits`.
void AppendGrouped(KvWString& out, const KvWString& digits, char16_t separator) {
    const int n = digits.Length();
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) out.Append(separator);
        out.Append(digits[i]);
    }
}

void Stars(KvWString& out, int count) {
    for (int i = 0; i < count; ++i) out.Append(u'*');
}

void Overflow(KvWString& out, int starsBefore, int decimals, char16_t decimalSeparator) {
    Stars(out, starsBefore);
    if (decimals != 0) {
        out.Append(decimalSeparator);
        Stars(out, decimals < 0 ? -decimals : decimals);
    }
}

// Drops trailing zeros after the decimal separator, then a bare separator.
void DropTrailingZeros(KvWString& text, char16_t decimalSeparator) {
    const int sep = text.Find(decimalSeparator);
    if (sep < 0) return;
    int end = text.Length();
    while (end > sep + 1 && text[end - 1] == u'0') --end;
    if (end == sep + 1) end = sep;
    text.Truncate(end);
}

template <class Str>
int WriteInteger(Str& text, long long value, int width) {
    if (width < 0 || value < 0) return -1;
    const std::string digits = std::to_string(value);
    Str out;
    for (int i = static_cast<int>(digits.size()); i < width; ++i) out.Append('0');
    for (char c : digits) out.Append(static_cast<typename Str::CharType>(c));
    text = static_cast<Str&&>(out);
    return text.Length();
}

}  // namespace

int roundi(double x) {
    const double r = KvRound(x);
    if (std::isnan(r)) return 0;
    if (r >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (r <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(r);
}

double KvRound(double x) {
    if (!std::isfinite(x)) return x;
    const double t = std::trunc(x);
    const double fraction = std::fabs(x - t);
    if (fraction > 0.5) return x < 0 ? t - 1 : t + 1;
    return t;
}

double FormatNumber(double x, int places) {
    if (places == -1) return x;
    return RoundDouble(x, places, Rounding::HalfUp, Rounding::HalfDown);
}

double DCeil(double x, int places) {
    return RoundDouble(x, places == -1 ? 0 : places, Rounding::Away, Rounding::Away);
}

int FormatInteger(KvString& text, long long value, int width) { return WriteInteger(text, value, width); }
int FormatInteger(KvWString& text, long long value, int width) { return WriteInteger(text, value, width); }

int FormatNumber(KvWString& text, double x, int decimals, bool group) {
    if (decimals > 10) decimals = 10;
    if (decimals < -10) decimals = -10;
    const int n = decimals < 0 ? -decimals : decimals;
    const KvSeparators seps = KvLocaleSeparators();
    KvWString out;
    out.SetGrowth(KvGrowth::Small);
    const Decimal d = std::isfinite(x) ? RoundAt(ToDecimal(std::fabs(x)), n, Rounding::HalfUp) : Decimal{};
    const std::string integer = IntegerPart(d);
    if (!std::isfinite(x) || integer.size() > 12) {
        Overflow(out, 1, decimals, seps.decimal);
    } else {
        if (std::signbit(x) && !IsZero(d)) out.Append(u'-');
        KvWString digits;
        AppendAscii(digits, integer);
        if (group) {
            AppendGrouped(out, digits, seps.thousands);
        } else {
            out.Append(digits);
        }
        if (decimals != 0) {
            out.Append(seps.decimal);
            AppendAscii(out, FractionPart(d, n));
        }
        if (decimals < 0) DropTrailingZeros(out, seps.decimal);
    }
    out.SetGrowth(KvGrowth::Exact);
    text = static_cast<KvWString&&>(out);
    return text.Length();
}

int FormatNumber(KvString& text, double x, int decimals, bool group) {
    KvWString wide;
    FormatNumber(wide, x, decimals, group);
    Utf16ToUtf8(text, wide.c_str());
    return text.Length();
}

int FormatDouble(KvWString& text, double x, int intDigits, int decimals, bool group, bool zeroPad,
                 bool fixedDecimals) {
    if (!std::isfinite(x)) {
        text = u"#";
        return text.Length();
    }
    if (decimals < 0) decimals = 5;
    if (decimals > 10) decimals = 10;
    const KvSeparators seps = KvLocaleSeparators();
    KvWString plain;
    FormatNumber(plain, x, decimals, false);
    const bool negative = plain[0] == u'-';
    const int sep = plain.Find(seps.decimal);
    const KvWString integer = plain.Mid(negative ? 1 : 0, (sep < 0 ? plain.Length() : sep) - (negative ? 1 : 0));
    const bool overflow = integer[0] == u'*';
    KvWString out;
    if ((overflow && intDigits > 0) || (intDigits > 0 && integer.Length() > intDigits)) {
        Overflow(out, intDigits, decimals, seps.decimal);
    } else if (overflow) {
        out = plain;
    } else {
        KvWString padded;
        for (int i = integer.Length(); zeroPad && i < intDigits; ++i) padded.Append(u'0');
        padded.Append(integer);
        if (negative) out.Append(u'-');
        if (group) {
            AppendGrouped(out, padded, seps.thousands);
        } else {
            out.Append(padded);
        }
        if (sep >= 0) out.Append(plain.Mid(sep));
        if (!fixedDecimals) DropTrailingZeros(out, seps.decimal);
    }
    text = static_cast<KvWString&&>(out);
    return text.Length();
}

namespace {
// Reads "[0]digits" from [p, end): the number (-1 when there are no digits) and the zero flag.
int ReadFormatPart(const char16_t* p, const char16_t* end, bool& zeroPad) {
    if (end - p >= 2 && *p == u'0') {
        zeroPad = true;
        ++p;
    }
    int value = -1;
    for (; p < end && *p >= u'0' && *p <= u'9'; ++p) {
        value = (value < 0 ? 0 : value) * 10 + (*p - u'0');
        if (value > 1000) value = 1000;  // only its size matters; avoid overflow
    }
    return value;
}
}  // namespace

bool ParseFormat(const char16_t* format, int& intDigits, int& decimals, bool& zeroPadInt, bool& zeroPadDec) {
    intDigits = -1;
    decimals = 3;
    zeroPadInt = zeroPadDec = false;
    const int length = KvWideChar::Length(format);
    const char16_t* dot = nullptr;
    for (int i = 0; i < length && !dot; ++i)
        if (format[i] == u'.') dot = format + i;
    if (!dot) return false;
    const int i = ReadFormatPart(format, dot, zeroPadInt);
    intDigits = i > 12 ? 12 : i;
    const int d = ReadFormatPart(dot + 1, format + length, zeroPadDec);
    decimals = d > 9 ? 9 : d;
    return true;
}

void UnformatNumber(const char16_t* text, KvWString& out) {
    const char16_t thousands = KvLocaleSeparators().thousands;
    KvWString result;
    for (const char16_t* p = text; p && *p; ++p)
        if (*p != thousands) result.Append(*p);
    out = static_cast<KvWString&&>(result);
}

bool IsValidNumber(const char16_t* text, int maxDecimals) {
    if (!text) return false;
    const KvSeparators seps = KvLocaleSeparators();
    const char16_t* p = text;
    if (*p == u'-') ++p;
    bool seenDecimal = false, anyDigit = false;
    int groupDigits = -1;  // digits since the last thousands separator; -1 outside a group
    int fractionDigits = 0;
    for (; *p; ++p) {
        if (*p >= u'0' && *p <= u'9') {
            anyDigit = true;
            if (seenDecimal) {
                ++fractionDigits;
            } else if (groupDigits >= 0 && ++groupDigits > 3) {
                return false;
            }
        } else if (*p == seps.thousands) {
            if (seenDecimal || !anyDigit || (groupDigits >= 0 && groupDigits != 3)) return false;
            groupDigits = 0;
        } else if (*p == seps.decimal) {
            if (seenDecimal || (groupDigits >= 0 && groupDigits != 3)) return false;
            seenDecimal = true;
            groupDigits = -1;
        } else {
            return false;
        }
    }
    if (groupDigits >= 0 && groupDigits != 3) return false;
    if (maxDecimals >= 0 && fractionDigits > maxDecimals) return false;
    return anyDigit;
}

bool IsValidNumber(const char* text, int maxDecimals) {
    return text && IsValidNumber(ToWide(text).c_str(), maxDecimals);
}

void xfecvt(KvString& out, double x, int digits, int& point, bool& negative) {
    negative = std::signbit(x) && x != 0;
    point = 0;
    if (!std::isfinite(x)) {
        out = std::isnan(x) ? "nan" : "inf";
        return;
    }
    const double magnitude = std::fabs(x);
    char buf[400];  // the largest double has 309 integer digits; "%f" adds 7 characters
    const auto r = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::fixed, 6);
    const std::string printed(buf, r.ptr);
    const std::size_t dot = printed.find('.');
    std::string all = printed.substr(0, dot) + (dot == std::string::npos ? "" : printed.substr(dot + 1));
    const std::size_t first = all.find_first_not_of('0');
    const int integerDigits = static_cast<int>(dot == std::string::npos ? printed.size() : dot);
    if (first == std::string::npos) {
        all.clear();
    } else {
        all.erase(0, first);
        point = integerDigits - static_cast<int>(first);
    }
    KvString result(all.c_str());
    while (result.Length() < digits) result.Append('0');
    out = static_cast<KvString&&>(result);
}
