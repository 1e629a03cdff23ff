#include "basalt/KvDateTimeSpan.h"

#include <algorithm>
#include <limits>

KvDateTimeSpan::KvDateTimeSpan(int days, int hours, int minutes, int seconds, int milliseconds,
                               int microseconds) noexcept {
    SetDateTimeSpan(days, hours, minutes, seconds, milliseconds, microseconds);
}

void KvDateTimeSpan::SetDateTimeSpan(int days, int hours, int minutes, int seconds, int milliseconds,
                                     int microseconds) noexcept {
    // Components may be out of range or of mixed sign; they simply add up. Days
    // and hours are clamped far beyond the span's range first, so the sum
    // cannot overflow and the result saturates instead.
    const std::int64_t d = std::clamp<std::int64_t>(days, -10000000, 10000000);
    const std::int64_t h = std::clamp<std::int64_t>(hours, -100000000, 100000000);
    const std::int64_t total = d * kUsPerDay + h * kUsPerHour + minutes * kUsPerMinute + seconds * kUsPerSecond +
                               milliseconds * std::int64_t(1000) + microseconds;
    *this = FromMicroseconds(total);
}

KvDateTimeSpan KvDateTimeSpan::FromMicroseconds(std::int64_t total) noexcept {
    constexpr std::int64_t lo = std::int64_t(std::numeric_limits<std::int32_t>::min()) * kUsPerSecond;
    constexpr std::int64_t hi = std::int64_t(std::numeric_limits<std::int32_t>::max()) * kUsPerSecond + 999999;
    if (total < lo) total = lo;
    if (total > hi) total = hi;
    std::int64_t sec = total / kUsPerSecond;
    std::int64_t us = total % kUsPerSecond;
    if (us < 0) {  // borrow so the microseconds stay in 0..999999
        us += kUsPerSecond;
        --sec;
    }
    KvDateTimeSpan s;
    s.m_seconds = static_cast<std::int32_t>(sec);
    s.m_microseconds = static_cast<std::int32_t>(us);
    return s;
}
