#include "basalt/KvDateTimeFormat.h"

namespace {

// `n` digits at `pos`, or -1 when any is not a digit.
template <class C>
int Digits(const C* text, int pos, int n) {
    int v = 0;
    for (int i = pos; i < pos + n; ++i) {
        if (text[i] < C('0') || text[i] > C('9')) return -1;
        v = v * 10 + (text[i] - C('0'));
    }
    return v;
}

struct Fields {
    int day, month, year, hour, minute, second, millisecond;
};

bool InRange(const Fields& f) {
    return f.year >= KvDateTime::kFirstYear && f.year <= KvDateTime::kLastYear && f.month >= 1 && f.month <= 12 &&
           f.day >= 1 && f.day <= KvDateTime::DaysInMonth(f.month, f.year) && f.hour >= 0 && f.hour <= 23 &&
           f.minute >= 0 && f.minute <= 59 && f.second >= 0 && f.second <= 59 && f.millisecond >= 0;
}

bool Build(KvDateTime& dt, const Fields& f) {
    if (InRange(f) && dt.SetDateTime(f.year, f.month, f.day, f.hour, f.minute, f.second, f.millisecond)) return true;
    dt.Invalidate();
    return false;
}

template <class C>
bool ReadDigits14or17(KvDateTime& dt, const C* text) {
    const int len = KvTextLength(text);
    if (len != 14 && len != 17) {
        dt.Invalidate();
        return false;
    }
    const Fields f{Digits(text, 0, 2),  Digits(text, 2, 2),  Digits(text, 4, 4),
                   Digits(text, 8, 2),  Digits(text, 10, 2), Digits(text, 12, 2),
                   len == 17 ? Digits(text, 14, 3) : 0};
    return Build(dt, f);
}

template <class S>
bool Write(S& text, const KvDateTime& dt, bool withMs, bool withUs, const typename S::CharType* f14,
           const typename S::CharType* f17, const typename S::CharType* f20) {
    text.Empty();
    if (!dt.Valid()) return false;
    if (withMs && withUs) {
        text.Format(f20, dt.Day(), dt.Month(), dt.Year(), dt.Hour(), dt.Minute(), dt.Second(), dt.MSecond(),
                    dt.USecond());
    } else if (withMs) {
        text.Format(f17, dt.Day(), dt.Month(), dt.Year(), dt.Hour(), dt.Minute(), dt.Second(), dt.MSecond());
    } else {
        text.Format(f14, dt.Day(), dt.Month(), dt.Year(), dt.Hour(), dt.Minute(), dt.Second());
    }
    return true;
}

}  // namespace

bool DateTime2String(KvWString& text, const KvDateTime& dateTime, bool withMilliseconds, bool withMicroseconds) {
    return Write(text, dateTime, withMilliseconds, withMicroseconds, u"%02d%02d%04d%02d%02d%02d",
                 u"%02d%02d%04d%02d%02d%02d%03d", u"%02d%02d%04d%02d%02d%02d%03d%03d");
}

bool DateTime2String(KvString& text, const KvDateTime& dateTime, bool withMilliseconds, bool withMicroseconds) {
    return Write(text, dateTime, withMilliseconds, withMicroseconds, "%02d%02d%04d%02d%02d%02d",
                 "%02d%02d%04d%02d%02d%02d%03d", "%02d%02d%04d%02d%02d%02d%03d%03d");
}

bool String2DateTime(KvDateTime& dateTime, const char16_t* text) { return ReadDigits14or17(dateTime, text); }
bool String2DateTime(KvDateTime& dateTime, const char* text) { return ReadDigits14or17(dateTime, text); }

bool ParseDateTime(const char* text, KvDateTime& dateTime, bool endOfPeriod) {
    const int len = KvTextLength(text);
    if (len != 8 && len != 10 && len != 12 && len != 14 && len != 17) {
        dateTime.Invalidate();
        return false;
    }
    auto part = [&](int pos, int n, int missing) { return len >= pos + n ? Digits(text, pos, n) : missing; };
    const Fields f{part(0, 2, -1),
                   part(2, 2, -1),
                   part(4, 4, -1),
                   part(8, 2, endOfPeriod ? 23 : 0),
                   part(10, 2, endOfPeriod ? 59 : 0),
                   part(12, 2, endOfPeriod ? 59 : 0),
                   part(14, 3, endOfPeriod ? 999 : 0)};
    return Build(dateTime, f);
}

KvString DateTime2RFC822(const KvDateTime& dateTime, bool fourDigitYear) {
    static const char* const kDays[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    KvString out;
    if (!dateTime.Valid()) return out;
    const int year = fourDigitYear ? dateTime.Year() : dateTime.Year() % 100;
    out.Format(fourDigitYear ? "%s, %02d %s %04d %02d:%02d:%02d GMT" : "%s, %02d %s %02d %02d:%02d:%02d GMT",
               kDays[dateTime.DayOfWeek() - 1], dateTime.Day(), kMonths[dateTime.Month() - 1], year,
               dateTime.Hour(), dateTime.Minute(), dateTime.Second());
    return out;
}

KvDateTime NearestDateTime(const KvDateTime& value, const KvDateTime& low, const KvDateTime& high) {
    const KvDateTime& early = low <= high ? low : high;
    const KvDateTime& late = low <= high ? high : low;
    if (value <= early) return early;
    if (value >= late) return late;
    return (value - early) <= (late - value) ? early : late;
}

std::uint32_t toStdDate(const KvDateTime& dateTime, int baseYear) {
    if (!dateTime.Valid()) return 0;
    const int offset = dateTime.Year() - baseYear;
    if (offset < 0 || offset > 63) return 0;
    return std::uint32_t(offset) << 26 | std::uint32_t(dateTime.Month()) << 22 | std::uint32_t(dateTime.Day()) << 17 |
           std::uint32_t(dateTime.Hour()) << 12 | std::uint32_t(dateTime.Minute()) << 6 |
           std::uint32_t(dateTime.Second());
}

KvDateTime fromStdDate(std::uint32_t packed, int baseYear) {
    const Fields f{static_cast<int>(packed >> 17 & 31),  static_cast<int>(packed >> 22 & 15),
                   baseYear + static_cast<int>(packed >> 26), static_cast<int>(packed >> 12 & 31),
                   static_cast<int>(packed >> 6 & 63),   static_cast<int>(packed & 63),
                   0};
    KvDateTime dt;
    Build(dt, f);
    return dt;
}
