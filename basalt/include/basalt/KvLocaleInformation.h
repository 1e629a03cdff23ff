// KvLocaleInformation: the user's locale as the date and number code needs it:
// month and day names, first day of the week, and the thousands, decimal,
// time and date separators with the short and long date orders.
//
// One instance holds wide text (LocaleInformationWide()), one 8-bit UTF-8 text
// (LocaleInformation()). Both start filled from the environment's locale;
// SetupLocalize() fills them again at start, and afterwards they are only
// read. Number formatting and validation take their separators from here.
#pragma once

#include "basalt/KvBasicString.h"

template <class S>
class KvLocaleInformation {
public:
    using String = S;
    // Date orders: 0 month-day-year, 1 day-month-year, 2 year-month-day.
    enum DateOrder { MonthDayYear = 0, DayMonthYear = 1, YearMonthDay = 2 };

    KvLocaleInformation();

    // month 1..12 and day 1 (Sunday)..7; an empty text outside those ranges.
    const S& MonthName(int month) const { return month >= 1 && month <= 12 ? m_months[month - 1] : m_none; }
    const S& DayName(int day) const { return day >= 1 && day <= 7 ? m_days[day - 1] : m_none; }
    void SetMonthName(int month, const S& name) {
        if (month >= 1 && month <= 12) m_months[month - 1] = name;
    }
    void SetDayName(int day, const S& name) {
        if (day >= 1 && day <= 7) m_days[day - 1] = name;
    }

    int FirstDayOfWeek() const { return m_firstDayOfWeek; }  // 1 = Sunday .. 7 = Saturday
    const S& ThousandSeparator() const { return m_thousand; }
    const S& DecimalSeparator() const { return m_decimal; }
    const S& TimeSeparator() const { return m_time; }
    const S& DateSeparator() const { return m_date; }
    int ShortDateOrder() const { return m_shortDateOrder; }
    int LongDateOrder() const { return m_longDateOrder; }

    void SetFirstDayOfWeek(int day) {
        if (day >= 1 && day <= 7) m_firstDayOfWeek = day;
    }
    void SetSeparators(const S& thousand, const S& decimal, const S& time, const S& date) {
        m_thousand = thousand, m_decimal = decimal, m_time = time, m_date = date;
    }
    void SetDateOrders(int shortOrder, int longOrder) {
        if (shortOrder >= 0 && shortOrder <= 2) m_shortDateOrder = shortOrder;
        if (longOrder >= 0 && longOrder <= 2) m_longDateOrder = longOrder;
    }
    // Back to English names, Monday first and the customary separators.
    void SetDefaults();

private:
    S m_months[12];
    S m_days[7];
    S m_none;
    int m_firstDayOfWeek = 2;
    S m_thousand, m_decimal, m_time, m_date;
    int m_shortDateOrder = MonthDayYear;
    int m_longDateOrder = MonthDayYear;
};

using KvLocaleInformationWide = KvLocaleInformation<KvWString>;
using KvLocaleInformationNarrow = KvLocaleInformation<KvString>;

KvLocaleInformationWide& LocaleInformationWide();
KvLocaleInformationNarrow& LocaleInformation();

// Fills both instances: English month and day names, Monday first, then the
// user's locale (from the environment, as LC_ALL / LC_* / LANG name it) for
// the first day of the week, separators and date orders. A separator the
// locale leaves empty keeps its customary value, except the thousands
// separator, which stays empty (no grouping) as the locale asks.
void SetupLocalize();
// Replace a month (1..12) or day (1 = Sunday..7) name in both instances by
// text `stringId` of the string table.
void SetLocalizeMonthName(int month, int stringId);
void SetLocalizeDayOfWeekName(int day, int stringId);

namespace KvLocale {
// What SetupLocalize reads from a locale, separated for tests: fills both
// instances from the named locale ("de_DE.UTF-8"; "" for the environment's).
// False when the C library does not know the locale (the instances then keep
// their defaults).
bool SetupFromLocale(const char* localeName);
// Date order (see DateOrder) and separator of a date format such as "%d.%m.%Y";
// the order is -1 and the separator empty when the format has no such fields.
int DateOrderOf(const char* format);
KvString DateSeparatorOf(const char* format);
// Separator between hours and minutes in a time format such as "%H:%M:%S".
KvString TimeSeparatorOf(const char* format);
}  // namespace KvLocale
