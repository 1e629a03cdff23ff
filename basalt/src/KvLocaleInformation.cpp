#include "basalt/KvLocaleInformation.h"

#include <langinfo.h>
#include <locale.h>

#include <cstdint>
#include <cstring>
#include <memory>

#include "basalt/KvStringTableFile.h"
#include "basalt/KvUtf.h"

namespace {

const char* const kMonths[12] = {"January", "February", "March",     "April",   "May",      "June",
                                 "July",    "August",   "September", "October", "November", "December"};
const char* const kDays[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

KvWString Convert(const char* utf8, const KvWString*) { return ToWide(utf8); }
KvString Convert(const char* utf8, const KvString*) { return KvString(utf8); }

template <class S>
S Text(const char* utf8) {
    return Convert(utf8, static_cast<const S*>(nullptr));
}

// Expands the shorthand conversions that hide a date or time layout.
KvString Expand(const char* format) {
    KvString f(format ? format : "");
    f.Replace("%D", "%m/%d/%y");
    f.Replace("%F", "%Y-%m-%d");
    f.Replace("%T", "%H:%M:%S");
    f.Replace("%r", "%I:%M:%S %p");
    f.Replace("%R", "%H:%M");
    return f;
}

// The conversion letter at `i` (after "%" and any flag such as "-", "_", "0", "E", "O").
char Conversion(const KvString& f, int& i) {
    ++i;
    while (i < f.Length() && (f[i] == '-' || f[i] == '_' || f[i] == '0' || f[i] == '^' || f[i] == '#' ||
                              f[i] == 'E' || f[i] == 'O'))
        ++i;
    return f[i];
}

// Text between the first conversion of `firstSet` and the next conversion.
KvString SeparatorAfter(const char* format, const char* firstSet) {
    const KvString f = Expand(format);
    for (int i = 0; i < f.Length(); ++i) {
        if (f[i] != '%') continue;
        const char c = Conversion(f, i);
        if (!c || !std::strchr(firstSet, c)) continue;
        KvString sep;
        for (int j = i + 1; j < f.Length() && f[j] != '%'; ++j) sep.Append(f[j]);
        return sep;
    }
    return KvString();
}

struct LocaleHandle {
    locale_t handle;
    explicit LocaleHandle(const char* name) : handle(newlocale(LC_ALL_MASK, name, locale_t(0))) {}
    ~LocaleHandle() {
        if (handle) freelocale(handle);
    }
    LocaleHandle(const LocaleHandle&) = delete;
    LocaleHandle& operator=(const LocaleHandle&) = delete;
};

// 1 = Sunday .. 7 = Saturday, from the C library's week data; Monday when it has none.
int FirstWeekday(locale_t loc) {
#ifdef __GLIBC__
    const auto base = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(nl_langinfo_l(_NL_TIME_WEEK_1STDAY, loc)));
    const int first = nl_langinfo_l(_NL_TIME_FIRST_WEEKDAY, loc)[0];
    if (first < 1 || first > 7) return 2;
    const int baseDay = base == 19971201 ? 2 : 1;  // 1997-11-30 was a Sunday, 1997-12-01 a Monday
    return (baseDay - 1 + first - 1) % 7 + 1;
#else
    (void)loc;
    return 2;
#endif
}

struct LocaleValues {
    int firstDay = 2;
    KvString thousand, decimal, time, date;
    int shortOrder = 0, longOrder = 0;
};

LocaleValues Read(locale_t loc) {
    LocaleValues v;
    v.firstDay = FirstWeekday(loc);
    v.thousand = nl_langinfo_l(THOUSEP, loc);
    v.decimal = nl_langinfo_l(RADIXCHAR, loc);
    const char* dateFormat = nl_langinfo_l(D_FMT, loc);
    v.date = KvLocale::DateSeparatorOf(dateFormat);
    v.time = KvLocale::TimeSeparatorOf(nl_langinfo_l(T_FMT, loc));
    v.shortOrder = KvLocale::DateOrderOf(dateFormat);
#ifdef __GLIBC__
    v.longOrder = KvLocale::DateOrderOf(nl_langinfo_l(_DATE_FMT, loc));
#else
    v.longOrder = KvLocale::DateOrderOf(nl_langinfo_l(D_T_FMT, loc));
#endif
    if (v.decimal.IsEmpty()) v.decimal = ".";
    if (v.date.IsEmpty()) v.date = "/";
    if (v.time.IsEmpty()) v.time = ":";
    if (v.shortOrder < 0) v.shortOrder = 0;
    if (v.longOrder < 0) v.longOrder = v.shortOrder;
    return v;
}

template <class S>
void Apply(KvLocaleInformation<S>& info, const LocaleValues& v) {
    info.SetDefaults();
    info.SetFirstDayOfWeek(v.firstDay);
    info.SetSeparators(Text<S>(v.thousand.c_str()), Text<S>(v.decimal.c_str()), Text<S>(v.time.c_str()),
                       Text<S>(v.date.c_str()));
    info.SetDateOrders(v.shortOrder, v.longOrder);
}

}  // namespace

template <class S>
KvLocaleInformation<S>::KvLocaleInformation() {
    SetDefaults();
}

template <class S>
void KvLocaleInformation<S>::SetDefaults() {
    for (int m = 0; m < 12; ++m) m_months[m] = Text<S>(kMonths[m]);
    for (int d = 0; d < 7; ++d) m_days[d] = Text<S>(kDays[d]);
    m_firstDayOfWeek = 2;
    SetSeparators(Text<S>(","), Text<S>("."), Text<S>(":"), Text<S>("/"));
    m_shortDateOrder = m_longDateOrder = MonthDayYear;
}

template class KvLocaleInformation<KvWString>;
template class KvLocaleInformation<KvString>;

namespace {

// Both instances start from the environment's locale, so number formatting is
// right even before SetupLocalize runs; one initialisation fills both.
struct Instances {
    KvLocaleInformationWide wide;
    KvLocaleInformationNarrow narrow;
    Instances() {
        if (!Fill("")) Fill("C");
    }
    bool Fill(const char* localeName) {
        LocaleHandle loc(localeName);
        if (!loc.handle) return false;
        const LocaleValues v = Read(loc.handle);
        Apply(wide, v);
        Apply(narrow, v);
        return true;
    }
};

Instances& All() {
    static Instances all;
    return all;
}

}  // namespace

KvLocaleInformationWide& LocaleInformationWide() { return All().wide; }
KvLocaleInformationNarrow& LocaleInformation() { return All().narrow; }

void SetupLocalize() {
    if (!KvLocale::SetupFromLocale("")) KvLocale::SetupFromLocale("C");
}

void SetLocalizeMonthName(int month, int stringId) {
    KvWString name;
    KvLoadString(stringId, name);
    LocaleInformationWide().SetMonthName(month, name);
    LocaleInformation().SetMonthName(month, ToUtf8(name.c_str()));
}

void SetLocalizeDayOfWeekName(int day, int stringId) {
    KvWString name;
    KvLoadString(stringId, name);
    LocaleInformationWide().SetDayName(day, name);
    LocaleInformation().SetDayName(day, ToUtf8(name.c_str()));
}

namespace KvLocale {

bool SetupFromLocale(const char* localeName) { return All().Fill(localeName ? localeName : ""); }

int DateOrderOf(const char* format) {
    const KvString f = Expand(format);
    int order = -1;
    for (int i = 0; i < f.Length() && order < 0; ++i) {
        if (f[i] != '%') continue;
        const char c = Conversion(f, i);
        if (c == 'd' || c == 'e') order = KvLocaleInformationWide::DayMonthYear;
        if (c == 'm' || c == 'b' || c == 'B' || c == 'h') order = KvLocaleInformationWide::MonthDayYear;
        if (c == 'y' || c == 'Y' || c == 'C' || c == 'G') order = KvLocaleInformationWide::YearMonthDay;
    }
    return order;
}

KvString DateSeparatorOf(const char* format) {
    KvString sep = SeparatorAfter(format, "demyYCbBh");
    sep.Trim();  // "%d. %m. %Y" still separates with "."
    return sep;
}

KvString TimeSeparatorOf(const char* format) { return SeparatorAfter(format, "HIkl"); }

}  // namespace KvLocale
