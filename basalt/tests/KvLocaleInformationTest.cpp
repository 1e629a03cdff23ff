#include <gtest/gtest.h>

#include "basalt/KvLocaleInformation.h"
#include "basalt/KvLocaleSeparators.h"
#include "basalt/KvNumbers.h"

namespace {

TEST(KvLocaleInformation, OrdersAndSeparatorsFromFormats) {
    const struct { const char* format; int order; const char* separator; } cases[] = {
        {"%m/%d/%y", 0, "/"},          {"%d.%m.%Y", 1, "."},      {"%Y-%m-%d", 2, "-"},
        {"%D", 0, "/"},                {"%F", 2, "-"},            {"%d. %m. %Y", 1, "."},
        {"%a %b %e %H:%M:%S %Z %Y", 0, ""}, {"%a %-d. %b %H:%M:%S %Z %Y", 1, "."}, {"%H:%M", -1, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.order, KvLocale::DateOrderOf(c.format)) << c.format;
        EXPECT_EQ(KvString(c.separator), KvLocale::DateSeparatorOf(c.format)) << c.format;
    }
    EXPECT_EQ(KvString(":"), KvLocale::TimeSeparatorOf("%H:%M:%S"));
    EXPECT_EQ(KvString("."), KvLocale::TimeSeparatorOf("%H.%M.%S"));
    EXPECT_EQ(KvString(":"), KvLocale::TimeSeparatorOf("%T"));
    EXPECT_EQ(KvString(":"), KvLocale::TimeSeparatorOf("%r"));
}

TEST(KvLocaleInformation, SetupFromTheCLocaleFillsBothInstances) {
    ASSERT_TRUE(KvLocale::SetupFromLocale("C"));
    const KvLocaleInformationWide& w = LocaleInformationWide();
    const KvLocaleInformationNarrow& n = LocaleInformation();
    EXPECT_EQ(KvWString(u"January"), w.MonthName(1));
    EXPECT_EQ(KvString("Saturday"), n.DayName(7));
    EXPECT_TRUE(w.MonthName(13).IsEmpty());
    EXPECT_EQ(KvWString(u"."), w.DecimalSeparator());
    EXPECT_TRUE(w.ThousandSeparator().IsEmpty());  // the C locale does not group
    EXPECT_EQ(KvString(":"), n.TimeSeparator());
    EXPECT_EQ(KvString("/"), n.DateSeparator());
    EXPECT_EQ(0, w.ShortDateOrder());
    EXPECT_GE(w.FirstDayOfWeek(), 1);
    EXPECT_LE(w.FirstDayOfWeek(), 7);
    EXPECT_FALSE(KvLocale::SetupFromLocale("xx_NOWHERE.UTF-8"));
    EXPECT_EQ(KvWString(u"."), w.DecimalSeparator());
    SetupLocalize();
}

TEST(KvLocaleInformation, GermanLocaleWhenInstalled) {
    if (!KvLocale::SetupFromLocale("de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    const KvLocaleInformationNarrow& n = LocaleInformation();
    EXPECT_EQ(KvString(","), n.DecimalSeparator());
    EXPECT_EQ(KvString("."), n.ThousandSeparator());
    EXPECT_EQ(KvString("."), n.DateSeparator());
    EXPECT_EQ(1, n.ShortDateOrder());
    EXPECT_EQ(2, n.FirstDayOfWeek());
    SetupLocalize();
}

TEST(KvLocaleInformation, NamesFromTheStringTable) {
    // No table is loaded here, so the texts are the placeholders of their ids.
    SetLocalizeMonthName(3, 1203);
    SetLocalizeDayOfWeekName(1, 1300);
    EXPECT_EQ(KvWString(u"IDS_01203"), LocaleInformationWide().MonthName(3));
    EXPECT_EQ(KvString("IDS_01300"), LocaleInformation().DayName(1));
    EXPECT_EQ(KvString("February"), LocaleInformation().MonthName(2));
    SetupLocalize();
    EXPECT_EQ(KvString("March"), LocaleInformation().MonthName(3));
}

TEST(KvLocaleInformation, NumbersUseTheLocaleSeparators) {
    KvLocaleInformationWide& info = LocaleInformationWide();
    info.SetSeparators(u".", u",", u":", u"/");
    KvWString text;
    FormatNumber(text, 1234567.891, 2, true);
    EXPECT_EQ(KvWString(u"1.234.567,89"), text);
    EXPECT_TRUE(IsValidNumber(u"1.234,5", 2));
    EXPECT_FALSE(IsValidNumber(u"1,234.5", 2));
    // A locale without grouping still gets a thousands separator distinct from the decimal one.
    info.SetSeparators(u"", u",", u":", u"/");
    EXPECT_EQ(u'.', KvLocaleSeparators().thousands);
    info.SetSeparators(u"", u".", u":", u"/");
    EXPECT_EQ(u',', KvLocaleSeparators().thousands);
    EXPECT_EQ(u'.', KvLocaleSeparators().decimal);
    SetupLocalize();
}

}  // namespace
