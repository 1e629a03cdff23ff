// KvDateTimeSpan: a signed duration with microsecond resolution.
//
// Stored as whole seconds plus microseconds kept in 0..999999 by borrowing
// from the seconds, so -1 microsecond is (-1 s, 999999 us). The span covers
// about +-68 years; values beyond saturate at the 32-bit limits.
#pragma once

#include <cstdint>

class KvDateTimeSpan {
public:
    KvDateTimeSpan() noexcept = default;
    KvDateTimeSpan(int days, int hours, int minutes, int seconds, int milliseconds = 0, int microseconds = 0) noexcept;
    void SetDateTimeSpan(int days, int hours, int minutes, int seconds, int milliseconds = 0,
                         int microseconds = 0) noexcept;
    // From a total in microseconds (saturating).
    static KvDateTimeSpan FromMicroseconds(std::int64_t totalMicroseconds) noexcept;

    // Whole units of the total, truncated towards zero (-1 us gives 0 for each).
    std::int32_t TotalDays() const noexcept { return static_cast<std::int32_t>(TotalUSeconds() / kUsPerDay); }
    std::int32_t TotalHours() const noexcept { return static_cast<std::int32_t>(TotalUSeconds() / kUsPerHour); }
    std::int32_t TotalMinutes() const noexcept { return static_cast<std::int32_t>(TotalUSeconds() / kUsPerMinute); }
    std::int32_t TotalSeconds() const noexcept { return static_cast<std::int32_t>(TotalUSeconds() / kUsPerSecond); }
    std::int64_t TotalMSeconds() const noexcept { return TotalUSeconds() / 1000; }
    std::int64_t TotalUSeconds() const noexcept { return std::int64_t(m_seconds) * kUsPerSecond + m_microseconds; }

    // The component below the next larger unit; it carries the sign of the span.
    int Days() const noexcept { return TotalDays(); }
    int Hours() const noexcept { return static_cast<int>(TotalUSeconds() / kUsPerHour % 24); }
    int Minutes() const noexcept { return static_cast<int>(TotalUSeconds() / kUsPerMinute % 60); }
    int Seconds() const noexcept { return static_cast<int>(TotalUSeconds() / kUsPerSecond % 60); }
    int MSeconds() const noexcept { return static_cast<int>(TotalUSeconds() / 1000 % 1000); }
    int USeconds() const noexcept { return static_cast<int>(TotalUSeconds() % 1000); }

    // The raw fields.
    std::int32_t RawSeconds() const noexcept { return m_seconds; }
    std::int32_t RawMicroseconds() const noexcept { return m_microseconds; }

    KvDateTimeSpan operator-() const noexcept { return FromMicroseconds(-TotalUSeconds()); }
    KvDateTimeSpan Abs() const noexcept { return TotalUSeconds() < 0 ? -*this : *this; }
    KvDateTimeSpan operator+(const KvDateTimeSpan& o) const noexcept {
        return FromMicroseconds(TotalUSeconds() + o.TotalUSeconds());
    }
    KvDateTimeSpan operator-(const KvDateTimeSpan& o) const noexcept {
        return FromMicroseconds(TotalUSeconds() - o.TotalUSeconds());
    }

    friend bool operator==(const KvDateTimeSpan& a, const KvDateTimeSpan& b) noexcept {
        return a.m_seconds == b.m_seconds && a.m_microseconds == b.m_microseconds;
    }
    friend bool operator!=(const KvDateTimeSpan& a, const KvDateTimeSpan& b) noexcept { return !(a == b); }
    friend bool operator<(const KvDateTimeSpan& a, const KvDateTimeSpan& b) noexcept {
        return a.TotalUSeconds() < b.TotalUSeconds();
    }
    friend bool operator>(const KvDateTimeSpan& a, const KvDateTimeSpan& b) noexcept { return b < a; }
    friend bool operator<=(const KvDateTimeSpan& a, const KvDateTimeSpan& b) noexcept { return !(b < a); }
    friend bool operator>=(const KvDateTimeSpan& a, const KvDateTimeSpan& b) noexcept { return !(a < b); }

    static constexpr std::int64_t kUsPerSecond = 1000000;
    static constexpr std::int64_t kUsPerMinute = 60 * kUsPerSecond;
    static constexpr std::int64_t kUsPerHour = 60 * kUsPerMinute;
    static constexpr std::int64_t kUsPerDay = 24 * kUsPerHour;

private:
    std::int32_t m_seconds = 0;
    std::int32_t m_microseconds = 0;
};
