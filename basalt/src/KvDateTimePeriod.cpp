// Period boundaries of KvDateTime: month, week, quarter, year and day start
// in local time; other spans are multiples counted from a reference.
#include "basalt/KvDateTime.h"
#include "basalt/KvLocaleInformation.h"

namespace {

enum class Period { None, Month, Week, Year, Quarter, Day, Multiple };

constexpr std::int64_t kDay = 86400;

Period KindOf(const KvDateTimeSpan& span) {
    const std::int64_t s = span.TotalSeconds();
    if (s <= 0) return Period::None;
    if (s == 31 * kDay) return Period::Month;
    if (s == 7 * kDay) return Period::Week;
    if (s >= 365 * kDay) return Period::Year;
    if (s > 90 * kDay) return Period::Quarter;
    if (s == kDay) return Period::Day;
    return Period::Multiple;
}

// Local midnight starting the calendar period that holds `local`.
KvDateTime LocalStart(const KvDateTime& local, Period kind) {
    const int y = local.Year(), m = local.Month(), d = local.Day();
    switch (kind) {
        case Period::Month: return KvDateTime(y, m, 1);
        case Period::Year: return KvDateTime(y, 1, 1);
        case Period::Quarter: return KvDateTime(y, (m - 1) / 3 * 3 + 1, 1);
        case Period::Week: {
            const int back = (local.DayOfWeek() - LocaleInformationWide().FirstDayOfWeek() + 7) % 7;
            return KvDateTime(y, m, d) - KvDateTimeSpan(back, 0, 0, 0);
        }
        default: return KvDateTime(y, m, d);
    }
}

// Local midnight starting the next calendar period after `start`.
KvDateTime LocalNext(const KvDateTime& start, Period kind) {
    const int y = start.Year(), m = start.Month();
    switch (kind) {
        case Period::Month: return m == 12 ? KvDateTime(y + 1, 1, 1) : KvDateTime(y, m + 1, 1);
        case Period::Year: return KvDateTime(y + 1, 1, 1);
        case Period::Quarter: return m >= 10 ? KvDateTime(y + 1, 1, 1) : KvDateTime(y, m + 3, 1);
        case Period::Week: return start + KvDateTimeSpan(7, 0, 0, 0);
        default: return start + KvDateTimeSpan(1, 0, 0, 0);
    }
}

// Start of the span multiple holding `t`, counted from `reference` or 1999-01-01.
KvDateTime MultipleStart(const KvDateTime& t, const KvDateTimeSpan& span, const KvDateTime* reference) {
    const bool useReference = reference && reference->Valid() && *reference <= t;
    const std::int64_t base = useReference ? reference->Seconds() : 0;
    const std::int64_t step = span.TotalSeconds();
    const std::int64_t start = base + (std::int64_t(t.Seconds()) - base) / step * step;
    return KvDateTime::FromSeconds(static_cast<std::uint32_t>(start));
}

}  // namespace

void KvDateTime::AdjustToPeriod(const KvDateTimeSpan& span, const KvDateTime* reference) noexcept {
    const Period kind = KindOf(span);
    if (!Valid() || kind == Period::None) return;
    if (kind == Period::Multiple) {
        *this = MultipleStart(*this, span, reference);
        return;
    }
    *this = LocalStart(UTC2LTC(), kind).LTC2UTC();
}

void KvDateTime::AdjustToEndPeriod(const KvDateTimeSpan& span, const KvDateTime* reference) noexcept {
    const Period kind = KindOf(span);
    if (!Valid() || kind == Period::None) return;
    const KvDateTimeSpan oneMicrosecond(0, 0, 0, 0, 0, 1);
    if (kind == Period::Multiple) {
        *this = MultipleStart(*this, span, reference) + KvDateTimeSpan(0, 0, 0, span.TotalSeconds()) - oneMicrosecond;
        return;
    }
    // The end is the instant before the next period starts; past 2135 there is none.
    *this = LocalNext(LocalStart(UTC2LTC(), kind), kind).LTC2UTC() - oneMicrosecond;
}
