#include "internal/HttpDate.h"

#include <cstring>
#include <ctime>

namespace tern_internal {

namespace {

const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

bool Digits(const char* p, int count, int& value) {
    value = 0;
    for (int i = 0; i < count; ++i) {
        if (p[i] < '0' || p[i] > '9') return false;
        value = value * 10 + (p[i] - '0');
    }
    return true;
}

// Days from 1970-01-01 to the given civil date (proleptic Gregorian).
std::int64_t DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return static_cast<std::int64_t>(era) * 146097 + doe - 719468;
}

}  // namespace

void AppendHttpDate(KvString& out, std::int64_t unixSeconds) {
    const std::time_t t = static_cast<std::time_t>(unixSeconds);
    std::tm tm{};
    gmtime_r(&t, &tm);
    out.AppendFormat("%s, %02d %s %04d %02d:%02d:%02d GMT", kDays[tm.tm_wday % 7], tm.tm_mday, kMonths[tm.tm_mon % 12],
                     tm.tm_year + 1900, tm.tm_hour, tm.tm_min, tm.tm_sec);
}

bool ParseHttpDate(const char* value, int length, std::int64_t& unixSeconds) {
    const char* comma = static_cast<const char*>(std::memchr(value, ',', static_cast<size_t>(length)));
    if (!comma || (value + length) - comma < 22) return false;
    int day, year, hour, minute, second, month = -1;
    for (int i = 0; i < 12; ++i)
        if (std::memcmp(comma + 5, kMonths[i], 3) == 0) month = i + 1;
    if (month < 0 || !Digits(comma + 2, 2, day) || !Digits(comma + 9, 4, year) || !Digits(comma + 14, 2, hour) ||
        !Digits(comma + 17, 2, minute) || !Digits(comma + 20, 2, second))
        return false;
    if (day < 1 || day > 31 || hour > 23 || minute > 59 || second > 60) return false;
    unixSeconds = DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
    return true;
}

}  // namespace tern_internal
