#include "basalt/KvDateTime.h"

#include <sys/time.h>

#include <cmath>

#include "basalt/KvTimeZone.h"
#include "basalt/KvTimeZoneNames.h"
#include "basalt/KvTrace.h"

namespace {

constexpr int kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
constexpr std::int64_t kMaxSeconds = 0xFFFFFFFEll;  // 0xFFFFFFFF marks invalid
constexpr double kOleDayOf1970 = 25569.0;           // 1970-01-01 as an OLE automation date
constexpr double kUnix2000 = 946684800.0;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// Leap years (divisible by 4) from 1999 up to the year before `year`.
std::int64_t LeapsBefore(int year) { return FloorDiv(year - 1, 4) - FloorDiv(1998, 4); }

// ISO weeks in `year`: 53 when it starts on a Thursday, or on a Wednesday in a leap year.
int IsoWeeksInYear(int year) {
    const std::int64_t jan1 = KvDateTime::DayNumber(year, 1, 1);
    const int isoDay = static_cast<int>(((jan1 + 4) % 7 + 7) % 7) + 1;
    return (isoDay == 4 || (isoDay == 3 && KvDateTime::DaysInMonth(2, year) == 29)) ? 53 : 52;
}

// Reads `n` decimal digits at `pos`; -1 when the text is short or holds a non-digit.
template <class C>
int Digits(const C* text, int length, int pos, int n) {
    if (pos < 0 || pos + n > length) return -1;
    int v = 0;
    for (int i = pos; i < pos + n; ++i) {
        if (text[i] < C('0') || text[i] > C('9')) return -1;
        v = v * 10 + (text[i] - C('0'));
    }
    return v;
}

template <class C>
bool ParseDateTimeText(KvDateTime& dt, const C* text, int format) {
    const int len = KvTextLength(text);
    if (len < 19 || (format != 0 && format != 1)) return false;
    const int year = format == 0 ? Digits(text, len, 0, 4) : Digits(text, len, 6, 4);
    const int month = Digits(text, len, format == 0 ? 5 : 3, 2);
    const int day = format == 0 ? Digits(text, len, 8, 2) : Digits(text, len, 0, 2);
    int at = 0;
    while (at < len && text[at] != C(' ')) ++at;
    const int hour = Digits(text, len, at + 1, 2);
    const bool colons = at + 6 < len && text[at + 3] == C(':') && text[at + 6] == C(':');
    const int minute = Digits(text, len, at + 4, 2);
    const int second = Digits(text, len, at + 7, 2);
    if (year < 0 || month < 0 || day < 0 || hour < 0 || minute < 0 || second < 0 || !colons) return false;
    if (hour > 23 || minute > 59 || second > 59 || day > KvDateTime::DaysInMonth(month, year)) return false;
    int ms = 0, us = 0;
    if (at + 9 < len && text[at + 9] == C(':')) {
        ms = Digits(text, len, at + 10, 3);
        if (ms < 0) return false;
        if (at + 13 < len && text[at + 13] == C(':')) {
            us = Digits(text, len, at + 14, 3);
            if (us < 0) return false;
        }
    }
    return dt.SetDateTime(year, month, day, hour, minute, second, ms, us);
}

// A platform zone name becomes its database name; anything else is taken as one.
KvWString DatabaseName(const char16_t* zoneName) {
    KvWString olson = Win32TimeZoneToOlsonTimeZone(zoneName);
    return olson.IsEmpty() ? KvWString(zoneName) : olson;
}

// The platform's UTC offset in force at the instant `utc` (Unix seconds).
bool PlatformOffsetAt(std::int64_t utc, int& offset) {
    const time_t t = static_cast<time_t>(utc);
    std::tm local{};
    if (!localtime_r(&t, &local)) return false;
    offset = static_cast<int>(local.tm_gmtoff);
    return true;
}

// The offset to subtract from the local reading `local` (Unix seconds counted
// in local time) with the platform's zone. A reading that occurs twice (the
// repeated hour in autumn) takes the later period, one that never occurs (the
// hour skipped in spring) the earlier period's offset: the choices the zone
// tables of KvTimeZone make, so both ways give the same result.
bool PlatformLocalOffset(std::int64_t local, int& offset) {
    int before = 0, after = 0;
    if (!PlatformOffsetAt(local - 86400, before) || !PlatformOffsetAt(local + 86400, after)) return false;
    for (const int candidate : {after, before}) {
        int found = 0;
        if (!PlatformOffsetAt(local - candidate, found)) return false;
        if (found == candidate) {
            offset = candidate;
            return true;
        }
    }
    offset = before;
    return true;
}

}  // namespace

KvDateTime::KvDateTime(int year, int month, int day, int hour, int minute, int second, int millisecond,
                       int microsecond) noexcept {
    SetDateTime(year, month, day, hour, minute, second, millisecond, microsecond);
}

std::int64_t KvDateTime::DayNumber(int year, int month, int day) noexcept {
    std::int64_t n = (day - 1) + std::int64_t(365) * (year - kFirstYear) + LeapsBefore(year);
    for (int m = 1; m < month && m <= 12; ++m) n += DaysInMonth(m, year);
    return n;
}

int KvDateTime::DaysInMonth(int month, int year) noexcept {
    if (month < 1 || month > 12) return 0;
    return (month == 2 && year % 4 == 0) ? 29 : kMonthDays[month - 1];
}

bool KvDateTime::SetTotal(std::int64_t seconds, std::int64_t microseconds) noexcept {
    seconds += FloorDiv(microseconds, 1000000);
    microseconds -= FloorDiv(microseconds, 1000000) * 1000000;
    if (seconds < 0 || seconds > kMaxSeconds) {
        Invalidate();
        return false;
    }
    m_seconds = static_cast<std::uint32_t>(seconds);
    m_microseconds = static_cast<std::int32_t>(microseconds);
    return true;
}

bool KvDateTime::SetDateTime(int year, int month, int day, int hour, int minute, int second, int millisecond,
                             int microsecond) noexcept {
    if (year < kFirstYear || year > kLastYear || month < 1 || month > 12 || day < 1 || day > 31) {
        Invalidate();
        return false;
    }
    const std::int64_t days = DayNumber(year, month, day);
    const std::int64_t secs = ((days * 24 + hour) * 60 + minute) * 60 + second;
    return SetTotal(secs, std::int64_t(millisecond) * 1000 + microsecond);
}

bool KvDateTime::SetDate(int year, int month, int day) noexcept {
    const int h = Valid() ? Hour() : 0, mi = Valid() ? Minute() : 0, s = Valid() ? Second() : 0;
    const int us = Valid() ? m_microseconds : 0;
    return SetDateTime(year, month, day, h, mi, s, 0, us);
}

bool KvDateTime::SetTime(int hour, int minute, int second, int millisecond, int microsecond) noexcept {
    if (!Valid()) return false;
    const std::int64_t midnight = std::int64_t(Days()) * 86400;
    return SetTotal(midnight + (std::int64_t(hour) * 60 + minute) * 60 + second,
                    std::int64_t(millisecond) * 1000 + microsecond);
}

bool KvDateTime::SetDateTime(const char* text, int format) noexcept {
    if (ParseDateTimeText(*this, text, format)) return true;
    Invalidate();
    return false;
}

bool KvDateTime::SetDateTime(const char16_t* text, int format) noexcept {
    if (ParseDateTimeText(*this, text, format)) return true;
    Invalidate();
    return false;
}

KvDateTime KvDateTime::FromSeconds(std::uint32_t seconds, std::int32_t microseconds) noexcept {
    KvDateTime d;
    if (seconds != kInvalid) d.SetTotal(seconds, microseconds);
    return d;
}

KvDateTime KvDateTime::FromEpoch(std::int64_t unixSeconds, std::int32_t microseconds) noexcept {
    KvDateTime d;
    d.SetTotal(unixSeconds - kEpochOffset, microseconds);
    return d;
}

KvDateTime& KvDateTime::operator=(double value) noexcept {
    if (!std::isfinite(value)) {
        Invalidate();
    } else if (value >= kUnix2000) {
        const double whole = std::floor(value);
        const std::int64_t ms = std::llround((value - whole) * 1000.0);
        SetTotal(static_cast<std::int64_t>(whole) - kEpochOffset, ms * 1000);
    } else {
        // OLE dates: the fraction is the time of day even for negative days.
        const double days = std::floor(value);
        const double secs = std::round(std::fabs(value - days) * 86400.0);
        const double unix = (days - kOleDayOf1970) * 86400.0 + secs;
        if (unix < double(kEpochOffset) || unix > double(kEpochOffset + kMaxSeconds)) {
            Invalidate();
        } else {
            SetTotal(static_cast<std::int64_t>(unix) - kEpochOffset, 0);
        }
    }
    return *this;
}

KvDateTime& KvDateTime::operator=(const std::tm& t) noexcept {
    SetDateTime(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
    return *this;
}

double KvDateTime::OleDateTime() const noexcept {
    if (!Valid()) return 0.0;
    return kOleDayOf1970 + double(EpochSeconds()) / 86400.0;
}

void KvDateTime::YearAndDay(int& year, int& dayOfYear) const noexcept {
    const std::int64_t days = Days();
    std::int64_t years = m_seconds / 31536000;  // whole 365-day years
    if (days < years * 365 + (years + 2) / 4) --years;
    year = kFirstYear + static_cast<int>(years);
    dayOfYear = static_cast<int>(days - (years * 365 + (years + 2) / 4));
}

void KvDateTime::MonthAndDay(int& month, int& day) const noexcept {
    int year = 0, rest = 0;
    YearAndDay(year, rest);
    month = 1;
    while (month < 12 && rest >= DaysInMonth(month, year)) rest -= DaysInMonth(month++, year);
    day = rest + 1;
}

int KvDateTime::Year() const noexcept {
    int year = 0, doy = 0;
    YearAndDay(year, doy);
    return year;
}

int KvDateTime::Month() const noexcept {
    int month = 0, day = 0;
    MonthAndDay(month, day);
    return month;
}

int KvDateTime::Day() const noexcept {
    int month = 0, day = 0;
    MonthAndDay(month, day);
    return day;
}

int KvDateTime::DayOfYear() const noexcept {
    int year = 0, doy = 0;
    YearAndDay(year, doy);
    return doy + 1;
}

int KvDateTime::WeekOfYearISO8601() const noexcept {
    const int year = Year();
    const int week = (DayOfYear() - DayOfWeekISO8601() + 10) / 7;
    if (week < 1) return IsoWeeksInYear(year - 1);
    if (week > IsoWeeksInYear(year)) return 1;
    return week;
}

KvDateTime KvDateTime::UTC() noexcept {
    timeval tv{};
    gettimeofday(&tv, nullptr);
    return FromEpoch(tv.tv_sec, static_cast<std::int32_t>(tv.tv_usec / 1000 * 1000));
}

KvDateTime KvDateTime::LTC() noexcept { return UTC().UTC2LTC(); }

KvDateTime KvDateTime::UTC2LTC() const noexcept {
    if (!Valid()) return *this;
    KvTimeZone& zone = KvTimeZone::Get();
    if (zone.IsValid()) return *this + KvDateTimeSpan(0, 0, 0, zone.Offset(*this, true));
    const time_t t = static_cast<time_t>(EpochSeconds());
    std::tm local{};
    if (!localtime_r(&t, &local)) return KvDateTime();
    return *this + KvDateTimeSpan(0, 0, 0, static_cast<int>(local.tm_gmtoff));
}

KvDateTime KvDateTime::LTC2UTC() const noexcept {
    if (!Valid()) return *this;
    KvTimeZone& zone = KvTimeZone::Get();
    if (zone.IsValid()) return *this - KvDateTimeSpan(0, 0, 0, zone.Offset(*this, false));
    const std::int64_t t = EpochSeconds();
    int offset = 0;
    if (!PlatformLocalOffset(t, offset)) return KvDateTime();
    return *this - KvDateTimeSpan(0, 0, 0, offset);
}

KvDateTime KvDateTime::ExplicitUTC2LTC(const char16_t* zoneName, bool summerTime) const noexcept {
    if (!Valid()) return *this;
    KvTimeZone& zone = KvTimeZone::GetAnother();
    if (zone.Set(DatabaseName(zoneName).c_str())) {
        return *this + KvDateTimeSpan(0, 0, 0, zone.Offset(*this, true));
    }
    const int bias = getBias(zoneName);
    KvDateTime local = *this + KvDateTimeSpan(0, 0, 0, bias);
    if (summerTime && IsSummerTimeWithoutZone(local)) local += KvDateTimeSpan(0, 1, 0, 0);
    return local;
}

KvDateTime KvDateTime::ExplicitLTC2UTC(const char16_t* zoneName, bool summerTime) const noexcept {
    if (!Valid()) return *this;
    KvTimeZone& zone = KvTimeZone::GetAnother();
    if (zone.Set(DatabaseName(zoneName).c_str())) {
        return *this - KvDateTimeSpan(0, 0, 0, zone.Offset(*this, false));
    }
    KvDateTime utc = *this - KvDateTimeSpan(0, 0, 0, getBias(zoneName));
    // Read as standard time, a summer reading is one hour early; that also
    // takes the first of the two readings of the repeated hour.
    if (summerTime && IsSummerTimeWithoutZone(*this - KvDateTimeSpan(0, 1, 0, 0))) utc -= KvDateTimeSpan(0, 1, 0, 0);
    return utc;
}

KvWString KvDateTime::GetDateTime(int format, bool withMicroseconds, const char16_t* dateSeparator,
                                  const char16_t* timeSeparator) const {
    KvWString out;
    if (!Valid()) return out;
    const char16_t* ds = dateSeparator ? dateSeparator : u"";
    const char16_t* ts = timeSeparator ? timeSeparator : u"";
    int year = 0, doy = 0, month = 0, day = 0;
    YearAndDay(year, doy);
    MonthAndDay(month, day);
    if (format == 0) out.Format(u"%04d%ls%02d%ls%02d ", year, ds, month, ds, day);
    if (format == 1) out.Format(u"%02d%ls%02d%ls%04d ", day, ds, month, ds, year);
    if (withMicroseconds) {
        out.AppendFormat(u"%02d%ls%02d%ls%02d%ls%03d%ls%03d", Hour(), ts, Minute(), ts, Second(), ts, MSecond(), ts,
                         USecond());
    } else {
        out.AppendFormat(u"%02d%ls%02d%ls%02d", Hour(), ts, Minute(), ts, Second());
    }
    return out;
}

KvDateTime KvDateTime::operator+(const KvDateTimeSpan& s) const noexcept {
    KvDateTime r;
    if (Valid()) r.SetTotal(std::int64_t(m_seconds) + s.RawSeconds(), std::int64_t(m_microseconds) + s.RawMicroseconds());
    return r;
}

KvDateTimeSpan KvDateTime::operator-(const KvDateTime& o) const noexcept {
    const std::int64_t us = (std::int64_t(m_seconds) - o.m_seconds) * KvDateTimeSpan::kUsPerSecond +
                            (m_microseconds - o.m_microseconds);
    return KvDateTimeSpan::FromMicroseconds(us);
}

void KvDateTime::printk() const {
    ::printk("%02d/%02d/%04d %02d:%02d:%02d.%03d\n", Day(), Month(), Year(), Hour(), Minute(), Second(), MSecond());
}
