#include "internal/HttpDate.h"

#include <cstring>

namespace tern_internal {

namespace {

const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

bool Digits(const char* p, int count, int& value) {
    value = 0;
    for (int i = 0; i < count; ++i) {
        if (p[i] < '0' || p[i] > '9') return false;
        value = value * 10 + (p[i] - '0');
    }
    return true;
}

}  // namespace

bool ParseHttpDate(const char* value, int length, KvDateTime& date) {
    date = KvDateTime();
    const char* comma = static_cast<const char*>(std::memchr(value, ',', static_cast<size_t>(length)));
    if (!comma || (value + length) - comma < 22) return false;
    int day, year, hour, minute, second, month = -1;
    for (int i = 0; i < 12; ++i)
        if (std::memcmp(comma + 5, kMonths[i], 3) == 0) month = i + 1;
    if (month < 0 || !Digits(comma + 2, 2, day) || !Digits(comma + 9, 4, year) || !Digits(comma + 14, 2, hour) ||
        !Digits(comma + 17, 2, minute) || !Digits(comma + 20, 2, second))
        return false;
    if (day > KvDateTime::DaysInMonth(month, year) || hour > 23 || minute > 59 || second > 59) return false;
    date = KvDateTime(year, month, day, hour, minute, second);
    return date.Valid();
}

}  // namespace tern_internal
