// KvDateTime: a point in time, seconds since 1999-01-01 00:00:00 plus microseconds.
//
// Years 1999 to 2135 (the 32-bit seconds end on 2135-02-06 06:28:14). The
// calendar counts every year divisible by 4 as a leap year, 2100 included:
// stored values rely on it, so it stays. The value carries no zone; UTC() and
// LTC() make the two kinds and the caller keeps track of which it holds.
// Anything out of range gives an invalid date-time (seconds 0xFFFFFFFF),
// which every formatter rejects.
#pragma once

#include <cstdint>
#include <ctime>

#include "basalt/KvBasicString.h"
#include "basalt/KvDateTimeSpan.h"

class KvDateTime {
public:
    static constexpr std::uint32_t kInvalid = 0xFFFFFFFFu;
    static constexpr std::int64_t kEpochOffset = 915148800;  // 1999-01-01 in Unix seconds
    static constexpr int kFirstYear = 1999;
    static constexpr int kLastYear = 2135;

    KvDateTime() noexcept = default;
    KvDateTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0, int millisecond = 0,
               int microsecond = 0) noexcept;
    // Unix seconds when the value falls in 2000 or later (fraction = milliseconds),
    // otherwise an OLE automation date (days since 1899-12-30), to the second.
    explicit KvDateTime(double value) noexcept { *this = value; }
    KvDateTime& operator=(double value) noexcept;
    // From broken-down time: tm_year counts from 1900, tm_mon from 0.
    explicit KvDateTime(const std::tm& t) noexcept { *this = t; }
    KvDateTime& operator=(const std::tm& t) noexcept;
    // Raw seconds since 1999-01-01 and microseconds (normalised).
    static KvDateTime FromSeconds(std::uint32_t seconds, std::int32_t microseconds = 0) noexcept;
    // From Unix seconds; invalid outside the representable range.
    static KvDateTime FromEpoch(std::int64_t unixSeconds, std::int32_t microseconds = 0) noexcept;

    // Returns false (and invalidates) for a year outside 1999..2135, a month
    // outside 1..12, a day outside 1..31, or a result past the 32-bit range.
    // Hours, minutes and seconds beyond their ranges add up.
    bool SetDateTime(int year, int month, int day, int hour, int minute, int second, int millisecond = 0,
                     int microsecond = 0) noexcept;
    bool SetDate(int year, int month, int day) noexcept;  // keeps the time of day
    bool SetTime(int hour, int minute, int second, int millisecond = 0, int microsecond = 0) noexcept;  // keeps the date
    // "yyyy?mm?dd hh:mm:ss[:mmm[:uuu]]" (format 0) or "dd?mm?yyyy hh:..." (format 1),
    // "?" being any separator; at least 19 characters. False on any bad field.
    bool SetDateTime(const char* text, int format) noexcept;
    bool SetDateTime(const char16_t* text, int format) noexcept;

    int Year() const noexcept;
    int Month() const noexcept;
    int Day() const noexcept;
    int Hour() const noexcept { return static_cast<int>(m_seconds % 86400 / 3600); }
    int Minute() const noexcept { return static_cast<int>(m_seconds % 3600 / 60); }
    int Second() const noexcept { return static_cast<int>(m_seconds % 60); }
    int MSecond() const noexcept { return m_microseconds / 1000; }
    int USecond() const noexcept { return m_microseconds % 1000; }  // below the millisecond
    int USecondInS() const noexcept { return m_microseconds; }
    int DayOfWeek() const noexcept { return static_cast<int>((Days() + 5) % 7 + 1); }  // 1 = Sunday
    int DayOfWeekISO8601() const noexcept { return static_cast<int>((Days() + 4) % 7 + 1); }  // 1 = Monday
    int DayOfYear() const noexcept;  // 1..366
    int WeekOfYear() const noexcept { return (DayOfYear() - 1) / 7 + 1; }
    int WeekOfYearISO8601() const noexcept;
    int DaysInMonth() const noexcept { return DaysInMonth(Month(), Year()); }
    static int DaysInMonth(int month, int year) noexcept;  // 0 for a month outside 1..12
    // Full Gregorian rule, for callers that need the real calendar.
    static bool isBisiesto(int year) noexcept { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

    bool Valid() const noexcept { return m_seconds != kInvalid; }
    void Invalidate() noexcept { m_seconds = kInvalid, m_microseconds = 0; }
    std::uint32_t Seconds() const noexcept { return m_seconds; }
    std::int64_t EpochSeconds() const noexcept { return std::int64_t(m_seconds) + kEpochOffset; }
    double toDouble() const noexcept { return double(EpochSeconds()) + MSecond() / 1000.0; }
    // OLE automation date (days since 1899-12-30, time as fraction); 0 when invalid.
    double OleDateTime() const noexcept;

    static KvDateTime UTC() noexcept;  // now, millisecond resolution
    static KvDateTime LTC() noexcept;  // now, local time
    // With the process-wide zone when loaded, else the platform's conversion.
    // Either way a local time of the repeated autumn hour takes its standard
    // (later) reading, and one of the hour skipped in spring is read with the
    // offset in force before the change.
    KvDateTime UTC2LTC() const noexcept;
    KvDateTime LTC2UTC() const noexcept;
    // With a named zone (platform name or database name) loaded into
    // KvTimeZone::GetAnother(); when no zone file can be read, the standard
    // offset of the zone-name table plus one hour of summer time when asked.
    KvDateTime ExplicitUTC2LTC(const char16_t* zoneName, bool summerTime) const noexcept;
    KvDateTime ExplicitLTC2UTC(const char16_t* zoneName, bool summerTime) const noexcept;

    // "yyyy?mm?dd " (format 0) or "dd?mm?yyyy " (format 1) then "hh:mm:ss" or,
    // with microseconds, "hh:mm:ss:mmm:uuu"; other formats give the time only.
    // Empty for an invalid date-time.
    KvWString GetDateTime(int format, bool withMicroseconds, const char16_t* dateSeparator,
                          const char16_t* timeSeparator) const;

    // Moves back to the start of the period of `span`; the date-time holds UTC.
    // Exactly 31 days: the month; exactly 7 days: the week (from the locale's
    // first day); 365 days or more: the year; over 90 days: the quarter;
    // exactly 1 day: the day; each from local midnight. Other spans: the
    // latest multiple of `span` counted from `reference` (when valid and not
    // later) or from 1999-01-01, microseconds 0. Spans under 1 s change nothing.
    void AdjustToPeriod(const KvDateTimeSpan& span, const KvDateTime* reference = nullptr) noexcept;
    // Moves to the last microsecond of the same period (the instant before the
    // next one starts); invalid when that lies beyond 2135.
    void AdjustToEndPeriod(const KvDateTimeSpan& span, const KvDateTime* reference = nullptr) noexcept;

    // Traces "dd/mm/yyyy hh:mm:ss.mmm\n".
    void printk() const;

    // Arithmetic; an invalid operand or a result out of range gives an invalid date-time.
    KvDateTime operator+(const KvDateTimeSpan& s) const noexcept;
    KvDateTime operator-(const KvDateTimeSpan& s) const noexcept { return *this + -s; }
    KvDateTime& operator+=(const KvDateTimeSpan& s) noexcept { return *this = *this + s; }
    KvDateTime& operator-=(const KvDateTimeSpan& s) noexcept { return *this = *this - s; }
    // Difference, saturating at the span's limits (about 68 years).
    KvDateTimeSpan operator-(const KvDateTime& o) const noexcept;

    friend bool operator==(const KvDateTime& a, const KvDateTime& b) noexcept {
        return a.m_seconds == b.m_seconds && a.m_microseconds == b.m_microseconds;
    }
    friend bool operator!=(const KvDateTime& a, const KvDateTime& b) noexcept { return !(a == b); }
    friend bool operator<(const KvDateTime& a, const KvDateTime& b) noexcept {
        return a.m_seconds != b.m_seconds ? a.m_seconds < b.m_seconds : a.m_microseconds < b.m_microseconds;
    }
    friend bool operator>(const KvDateTime& a, const KvDateTime& b) noexcept { return b < a; }
    friend bool operator<=(const KvDateTime& a, const KvDateTime& b) noexcept { return !(b < a); }
    friend bool operator>=(const KvDateTime& a, const KvDateTime& b) noexcept { return !(a < b); }

    // Day number since 1999-01-01 of a date in this calendar (no range check).
    static std::int64_t DayNumber(int year, int month, int day) noexcept;

private:
    std::int64_t Days() const noexcept { return m_seconds / 86400; }
    void YearAndDay(int& year, int& dayOfYear) const noexcept;  // dayOfYear from 0
    void MonthAndDay(int& month, int& day) const noexcept;
    bool SetTotal(std::int64_t seconds, std::int64_t microseconds) noexcept;

    std::uint32_t m_seconds = kInvalid;
    std::int32_t m_microseconds = 0;
};
