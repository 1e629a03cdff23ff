#include "basalt/internal/KvPosixTzRule.h"

namespace {

bool IsGregorianLeap(std::int64_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int MonthLength(std::int64_t year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsGregorianLeap(year) ? 29 : kDays[month - 1];
}

// A cursor over the TZ text; every read checks the end first.
struct Cursor {
    const char* p;
    const char* end;
    bool AtEnd() const { return p >= end; }
    char Peek() const { return AtEnd() ? '\0' : *p; }
    bool Take(char c) {
        if (Peek() != c) return false;
        ++p;
        return true;
    }
    bool Number(int& v, int maxValue) {
        if (Peek() < '0' || Peek() > '9') return false;
        v = 0;
        while (Peek() >= '0' && Peek() <= '9') {
            v = v * 10 + (*p++ - '0');
            if (v > maxValue) return false;
        }
        return true;
    }
};

bool IsAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsAlnum(char c) { return IsAlpha(c) || (c >= '0' && c <= '9'); }

// A zone abbreviation: three or more letters, or "<...>" of letters, digits and signs.
bool Name(Cursor& c) {
    int n = 0;
    if (c.Take('<')) {
        while (IsAlnum(c.Peek()) || c.Peek() == '+' || c.Peek() == '-') ++c.p, ++n;
        return c.Take('>') && n >= 3;
    }
    while (IsAlpha(c.Peek())) ++c.p, ++n;
    return n >= 3;
}

// [+-]hh[:mm[:ss]] with hours up to `maxHours`.
bool Hms(Cursor& c, std::int32_t& seconds, int maxHours) {
    const bool negative = c.Take('-');
    if (!negative) c.Take('+');
    int h = 0, m = 0, s = 0;
    if (!c.Number(h, maxHours)) return false;
    if (c.Take(':') && !c.Number(m, 59)) return false;
    if (c.Peek() == ':' && (!c.Take(':') || !c.Number(s, 59))) return false;
    seconds = (h * 60 + m) * 60 + s;
    if (negative) seconds = -seconds;
    return true;
}

bool ParseWhen(Cursor& c, KvPosixTzRule::When& w) {
    if (c.Take('J')) {
        w.kind = 'J';
        if (!c.Number(w.day, 365) || w.day < 1) return false;
    } else if (c.Take('M')) {
        w.kind = 'M';
        if (!c.Number(w.month, 12) || w.month < 1 || !c.Take('.')) return false;
        if (!c.Number(w.week, 5) || w.week < 1 || !c.Take('.')) return false;
        if (!c.Number(w.day, 6)) return false;
    } else {
        w.kind = 'N';
        if (!c.Number(w.day, 365)) return false;
    }
    w.time = 7200;
    return !c.Take('/') || Hms(c, w.time, 167);
}

// Days since 1970-01-01 of the rule's date in `year`.
std::int64_t DayOf(const KvPosixTzRule::When& w, std::int64_t year) {
    const std::int64_t jan1 = KvPosixTzRule::DaysFromCivil(year, 1, 1);
    if (w.kind == 'J') return jan1 + w.day - 1 + (IsGregorianLeap(year) && w.day >= 60 ? 1 : 0);
    if (w.kind == 'N') return jan1 + w.day;
    const std::int64_t first = KvPosixTzRule::DaysFromCivil(year, w.month, 1);
    const int firstWeekday = static_cast<int>(((first + 4) % 7 + 7) % 7);  // 1970-01-01 was a Thursday
    int day = 1 + (w.day - firstWeekday + 7) % 7 + (w.week - 1) * 7;
    while (day > MonthLength(year, w.month)) day -= 7;
    return first + day - 1;
}

}  // namespace

std::int64_t KvPosixTzRule::DaysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

std::int64_t KvPosixTzRule::YearOfUnixTime(std::int64_t t) {
    std::int64_t days = t / 86400 - (t % 86400 < 0 ? 1 : 0);
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t doe = days - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    return yoe + era * 400 + (mp >= 10 ? 1 : 0);
}

bool KvPosixTzRule::Parse(const char* text, std::size_t length) {
    *this = KvPosixTzRule();
    Cursor c{text, text + length};
    std::int32_t west = 0;
    if (!Name(c) || !Hms(c, west, 24)) return false;
    stdOffset = -west;
    if (c.AtEnd()) return true;
    if (!Name(c)) return false;
    hasDst = true;
    dstOffset = stdOffset + 3600;
    if (c.Peek() != ',' && !c.AtEnd()) {
        if (!Hms(c, west, 24)) return false;
        dstOffset = -west;
    }
    if (c.AtEnd()) {  // no rule given: the customary default
        start = When{'M', 0, 2, 3, 7200};
        end = When{'M', 0, 1, 11, 7200};
        return true;
    }
    return c.Take(',') && ParseWhen(c, start) && c.Take(',') && ParseWhen(c, end) && c.AtEnd();
}

void KvPosixTzRule::Transitions(int year, std::int64_t& startUtc, std::int64_t& endUtc) const {
    startUtc = DayOf(start, year) * 86400 + start.time - stdOffset;
    endUtc = DayOf(end, year) * 86400 + end.time - dstOffset;
}
