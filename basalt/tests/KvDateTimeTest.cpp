#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <iterator>
#include <string>
#include <vector>

#include "basalt/KvDateTime.h"
#include "basalt/KvLocaleInformation.h"
#include "basalt/KvTimeZone.h"
#include "basalt/KvTrace.h"
#include "basalt/KvUtf.h"

namespace {

std::string Text(const KvDateTime& d) { return ToUtf8(d.GetDateTime(0, true, u"-", u":").c_str()).c_str(); }

TEST(KvDateTime, CalendarVectors) {
    const struct {
        int y, mo, d, h, mi, s;
        std::uint32_t seconds;
        int dayOfWeek, isoDayOfWeek, dayOfYear;
    } cases[] = {
        {1999, 1, 1, 0, 0, 0, 0u, 6, 5, 1},
        {1999, 12, 31, 23, 59, 59, 31535999u, 6, 5, 365},
        {2000, 2, 29, 12, 0, 0, 36676800u, 3, 2, 60},
        {2000, 12, 31, 0, 0, 0, 63072000u, 1, 7, 366},
        {2024, 3, 5, 7, 8, 9, 794473689u, 3, 2, 65},
        // The calendar keeps 29 February 2100 (every fourth year is a leap year here).
        {2100, 2, 29, 0, 0, 0, 3192393600u, 2, 1, 60},
        {2100, 3, 1, 0, 0, 0, 3192480000u, 3, 2, 61},
        {2135, 2, 6, 6, 28, 14, 0xFFFFFFFEu, 2, 1, 37},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.y << '-' << c.mo << '-' << c.d);
        const KvDateTime d(c.y, c.mo, c.d, c.h, c.mi, c.s);
        ASSERT_TRUE(d.Valid());
        EXPECT_EQ(c.seconds, d.Seconds());
        EXPECT_EQ(c.y, d.Year());
        EXPECT_EQ(c.mo, d.Month());
        EXPECT_EQ(c.d, d.Day());
        EXPECT_EQ(c.h, d.Hour());
        EXPECT_EQ(c.mi, d.Minute());
        EXPECT_EQ(c.s, d.Second());
        EXPECT_EQ(c.dayOfWeek, d.DayOfWeek());
        EXPECT_EQ(c.isoDayOfWeek, d.DayOfWeekISO8601());
        EXPECT_EQ(c.dayOfYear, d.DayOfYear());
    }
    EXPECT_EQ(915148800, KvDateTime(1999, 1, 1).EpochSeconds());
    EXPECT_EQ(29, KvDateTime::DaysInMonth(2, 2100));
    EXPECT_FALSE(KvDateTime::isBisiesto(2100));
    EXPECT_TRUE(KvDateTime::isBisiesto(2000));
}

TEST(KvDateTime, OutOfRangeGivesInvalid) {
    const struct { int y, mo, d, h; } cases[] = {
        {1998, 12, 31, 0}, {2136, 1, 1, 0}, {2135, 2, 6, 7}, {2135, 2, 7, 0}, {2135, 12, 31, 0},
        {2024, 0, 1, 0},   {2024, 13, 1, 0}, {2024, 1, 0, 0}, {2024, 1, 32, 0}, {1999, 1, 1, -1},
    };
    for (const auto& c : cases) {
        KvDateTime d(c.y, c.mo, c.d, c.h);
        EXPECT_FALSE(d.Valid()) << c.y << '-' << c.mo << '-' << c.d << ' ' << c.h;
        EXPECT_EQ(KvDateTime::kInvalid, d.Seconds());
        EXPECT_TRUE(d.GetDateTime(0, false, u"-", u":").IsEmpty());
    }
    EXPECT_FALSE(KvDateTime().Valid());
    // Fields past their ranges add up rather than fail.
    EXPECT_EQ(KvDateTime(2024, 3, 2, 1, 0, 5), KvDateTime(2024, 3, 1, 24, 60, 5));
}

TEST(KvDateTime, EveryDayRoundTripsAndWeekdaysFollowTheRealCalendarUntil2100) {
    KvDateTime previous;
    for (std::uint32_t day = 0; day < 49710; ++day) {
        const KvDateTime d = KvDateTime::FromSeconds(day * 86400u);
        const KvDateTime rebuilt(d.Year(), d.Month(), d.Day());
        ASSERT_EQ(d, rebuilt) << "day " << day;
        ASSERT_LE(d.Day(), d.DaysInMonth()) << "day " << day;
        if (d < KvDateTime(2100, 2, 29)) {
            const time_t t = static_cast<time_t>(d.EpochSeconds());
            std::tm tm{};
            gmtime_r(&t, &tm);
            ASSERT_EQ(tm.tm_wday + 1, d.DayOfWeek()) << "day " << day;
            ASSERT_EQ(tm.tm_mday, d.Day()) << "day " << day;
        }
        previous = d;
    }
    EXPECT_EQ(2135, previous.Year());
}

TEST(KvDateTime, IsoWeeks) {
    const struct { int y, mo, d, week; } cases[] = {
        {1999, 1, 1, 53}, {1999, 1, 4, 1},  {2004, 12, 31, 53}, {2005, 1, 2, 53},
        {2005, 1, 3, 1},  {2008, 12, 29, 1}, {2009, 12, 31, 53}, {2010, 1, 3, 53}, {2024, 12, 30, 1},
    };
    for (const auto& c : cases) EXPECT_EQ(c.week, KvDateTime(c.y, c.mo, c.d).WeekOfYearISO8601()) << c.y << '-' << c.mo << '-' << c.d;
    EXPECT_EQ(1, KvDateTime(2024, 1, 7).WeekOfYear());
    EXPECT_EQ(2, KvDateTime(2024, 1, 8).WeekOfYear());
}

TEST(KvDateTime, SpanArithmeticBorrowsAndCarries) {
    const KvDateTime newYear(2000, 1, 1);
    EXPECT_EQ("1999-12-31 23:59:59:999:999", Text(newYear + KvDateTimeSpan(0, 0, 0, 0, 0, -1)));
    EXPECT_EQ("1999-12-31 23:59:59:999:999", Text(newYear - KvDateTimeSpan(0, 0, 0, 0, 0, 1)));
    const KvDateTime late(2024, 2, 28, 23, 59, 59, 999, 500);
    EXPECT_EQ("2024-02-29 00:00:00:000:100", Text(late + KvDateTimeSpan(0, 0, 0, 0, 0, 600)));
    EXPECT_EQ("2024-03-01 00:00:00:000:100", Text(late + KvDateTimeSpan(1, 0, 0, 0, 0, 600)));
    // Differences across midnight, both ways.
    const KvDateTime a(2024, 5, 1, 23, 59, 59, 900), b(2024, 5, 2, 0, 0, 0, 100);
    EXPECT_EQ(200000, (b - a).TotalUSeconds());
    EXPECT_EQ(-200000, (a - b).TotalUSeconds());
    EXPECT_EQ(b, a + (b - a));
    EXPECT_EQ(a, b + (a - b));
    // Leaving the representable range gives an invalid date-time, not a wrapped one.
    EXPECT_FALSE((KvDateTime(1999, 1, 1) - KvDateTimeSpan(0, 0, 0, 0, 0, 1)).Valid());
    EXPECT_FALSE((KvDateTime(2135, 2, 6, 6, 28, 14) + KvDateTimeSpan(0, 0, 0, 1)).Valid());
    EXPECT_FALSE((KvDateTime() + KvDateTimeSpan(0, 0, 0, 1)).Valid());
}

TEST(KvDateTimeSpan, ComponentsAndTotals) {
    const KvDateTimeSpan minusOne(0, 0, 0, 0, 0, -1);
    EXPECT_EQ(-1, minusOne.RawSeconds());
    EXPECT_EQ(999999, minusOne.RawMicroseconds());
    EXPECT_EQ(-1, minusOne.TotalUSeconds());
    EXPECT_EQ(0, minusOne.TotalSeconds());
    EXPECT_EQ(KvDateTimeSpan(0, 0, 0, 0, 0, 1), minusOne.Abs());

    const KvDateTimeSpan s(1, 25, 61, 61, 1001, 1001);  // out-of-range parts add up
    EXPECT_EQ(2, s.Days());
    EXPECT_EQ(2, s.Hours());
    EXPECT_EQ(2, s.Minutes());
    EXPECT_EQ(2, s.Seconds());
    EXPECT_EQ(2, s.MSeconds());
    EXPECT_EQ(1, s.USeconds());
    EXPECT_EQ(50, s.TotalHours());
    EXPECT_EQ(-2, (-s).Days());
    EXPECT_EQ(-2, (-s).Hours());
    EXPECT_LT(-s, minusOne);
    EXPECT_EQ(s, -(-s));
    // Totals past 68 years saturate instead of wrapping to the other sign.
    const KvDateTimeSpan huge = KvDateTime(2135, 1, 1) - KvDateTime(1999, 1, 1);
    EXPECT_GT(huge.TotalSeconds(), 0);
    EXPECT_EQ(2147483647, huge.RawSeconds());
    EXPECT_EQ(2147483647, KvDateTimeSpan(2147483647, 2147483647, 0, 0).RawSeconds());
    EXPECT_EQ(-2147483647 - 1, KvDateTimeSpan(-2147483647 - 1, -2147483647 - 1, 0, 0).RawSeconds());
}

TEST(KvDateTime, ConversionsFromOtherTimeForms) {
    KvDateTime d;
    d = 1700000000.25;  // Unix seconds
    EXPECT_EQ(1700000000, d.EpochSeconds());
    EXPECT_EQ(250, d.MSecond());
    EXPECT_DOUBLE_EQ(1700000000.25, d.toDouble());
    d = 36526.5;  // OLE automation date: 2000-01-01 noon
    EXPECT_EQ(KvDateTime(2000, 1, 1, 12), d);
    EXPECT_DOUBLE_EQ(36526.5, d.OleDateTime());
    d = 100.0;  // 1900: out of range
    EXPECT_FALSE(d.Valid());
    std::tm tm{};
    tm.tm_year = 124, tm.tm_mon = 2, tm.tm_mday = 5, tm.tm_hour = 7, tm.tm_min = 8, tm.tm_sec = 9;
    EXPECT_EQ(KvDateTime(2024, 3, 5, 7, 8, 9), KvDateTime(tm));
    const KvDateTime now = KvDateTime::UTC();
    EXPECT_TRUE(now.Valid());
    EXPECT_EQ(0, now.USecond());
    EXPECT_NEAR(double(std::time(nullptr)), double(now.EpochSeconds()), 2.0);
}

TEST(KvDateTime, TextFormsWithSeparators) {
    KvDateTime d;
    ASSERT_TRUE(d.SetDateTime("2024-03-05 07:08:09", 0));
    EXPECT_EQ(KvDateTime(2024, 3, 5, 7, 8, 9), d);
    ASSERT_TRUE(d.SetDateTime(u"05/03/2024 07:08:09:123:456", 1));
    EXPECT_EQ(KvDateTime(2024, 3, 5, 7, 8, 9, 123, 456), d);
    EXPECT_EQ(KvWString(u"05.03.2024 07h08h09h123h456"), d.GetDateTime(1, true, u".", u"h"));
    EXPECT_EQ(KvWString(u"07:08:09"), d.GetDateTime(7, false, u"-", u":"));
    for (const char* bad : {"2024-03-05 07:08:0", "2024-02-30 07:08:09", "2024-03-05 24:00:00", "2024-03-05 07-08-09",
                            "20x4-03-05 07:08:09", "2024-03-05 07:08:09:12"}) {
        EXPECT_FALSE(d.SetDateTime(bad, 0)) << bad;
        EXPECT_FALSE(d.Valid()) << bad;
    }
}

TEST(KvDateTime, SetDateAndSetTimeKeepTheOtherHalf) {
    KvDateTime d(2024, 3, 5, 7, 8, 9, 10);
    ASSERT_TRUE(d.SetDate(2030, 12, 31));
    EXPECT_EQ(KvDateTime(2030, 12, 31, 7, 8, 9, 10), d);
    ASSERT_TRUE(d.SetTime(23, 0, 1));
    EXPECT_EQ(KvDateTime(2030, 12, 31, 23, 0, 1), d);
}

// Installs a zone as the process-wide one for a test, and the Monday-first locale.
class WithZone {
public:
    explicit WithZone(const char16_t* name) {
        EXPECT_TRUE(KvTimeZone::Get().Set(name)) << "needs the tzdata package";
        LocaleInformationWide().SetDefaults();
    }
    ~WithZone() {
        KvTimeZone::Get().Reset();
        SetupLocalize();
    }
};

TEST(KvDateTime, LocalTimeThroughTheProcessZone) {
    WithZone madrid(u"Europe/Madrid");
    EXPECT_EQ(KvDateTime(2024, 7, 1, 14), KvDateTime(2024, 7, 1, 12).UTC2LTC());
    EXPECT_EQ(KvDateTime(2024, 7, 1, 12), KvDateTime(2024, 7, 1, 14).LTC2UTC());
    EXPECT_EQ(KvDateTime(2024, 3, 31, 1, 59, 59), KvDateTime(2024, 3, 31, 0, 59, 59).UTC2LTC());
    EXPECT_EQ(KvDateTime(2024, 3, 31, 3), KvDateTime(2024, 3, 31, 1).UTC2LTC());
    EXPECT_EQ(KvDateTime(2060, 7, 1, 14), KvDateTime(2060, 7, 1, 12).UTC2LTC());
}

TEST(KvDateTime, LocalTimeFallsBackToThePlatformWithoutAProcessZone) {
    KvTimeZone::Get().Reset();
    const char* old = std::getenv("TZ");
    const std::string saved = old ? old : "";
    setenv("TZ", "America/New_York", 1);
    tzset();
    EXPECT_EQ(KvDateTime(2024, 7, 1, 8), KvDateTime(2024, 7, 1, 12).UTC2LTC());
    EXPECT_EQ(KvDateTime(2024, 1, 1, 17), KvDateTime(2024, 1, 1, 12).LTC2UTC());
    EXPECT_EQ(KvDateTime(2024, 7, 1, 16), KvDateTime(2024, 7, 1, 12).LTC2UTC());
    if (old) setenv("TZ", saved.c_str(), 1);
    else unsetenv("TZ");
    tzset();
}

// The same local readings through the zone file and through the C library:
// the repeated autumn hour and the skipped spring hour included.
TEST(KvDateTime, LocalReadingsConvertAlikeWithAndWithoutAZoneFile) {
    const KvDateTime readings[] = {
        KvDateTime(2024, 10, 27, 1, 59, 59), KvDateTime(2024, 10, 27, 2),  KvDateTime(2024, 10, 27, 2, 30),
        KvDateTime(2024, 10, 27, 2, 59, 59), KvDateTime(2024, 10, 27, 3),  KvDateTime(2024, 3, 31, 1, 59, 59),
        KvDateTime(2024, 3, 31, 2, 30),      KvDateTime(2024, 3, 31, 3),   KvDateTime(2024, 7, 1, 12),
        KvDateTime(2024, 1, 1, 12)};
    std::vector<KvDateTime> withZone;
    {
        WithZone madrid(u"Europe/Madrid");
        for (const KvDateTime& local : readings) withZone.push_back(local.LTC2UTC());
    }
    EXPECT_EQ(KvDateTime(2024, 10, 27, 1, 30), withZone[2]);  // the standard reading of 02:30
    EXPECT_EQ(KvDateTime(2024, 3, 31, 1, 30), withZone[6]);
    const char* old = std::getenv("TZ");
    const std::string saved = old ? old : "";
    setenv("TZ", "Europe/Madrid", 1);
    tzset();
    for (size_t i = 0; i < std::size(readings); ++i)
        EXPECT_EQ(withZone[i], readings[i].LTC2UTC()) << ToUtf8(readings[i].GetDateTime(0, false, u"-", u":")).c_str();
    if (old) setenv("TZ", saved.c_str(), 1);
    else unsetenv("TZ");
    tzset();
}

TEST(KvDateTime, TraceLine) {
    struct Capture : KvTraceChannel {
        std::string text;
        void Write(const char* utf8, int length) override { text.append(utf8, length); }
    } capture;
    KvTraceChannel* previous = SetKvTraceChannel(&capture);
    KvDateTime(2024, 3, 5, 7, 8, 9, 45).printk();
    SetKvTraceChannel(previous);
    EXPECT_EQ("05/03/2024 07:08:09.045\n", capture.text);
}

TEST(KvDateTime, ExplicitZoneConversions) {
    const KvDateTime utc(2024, 1, 15, 12);
    EXPECT_EQ(KvDateTime(2024, 1, 15, 17, 45), utc.ExplicitUTC2LTC(u"Nepal Standard Time", false));
    EXPECT_EQ(KvDateTime(2024, 1, 16, 1), utc.ExplicitUTC2LTC(u"Pacific/Tongatapu", true));
    EXPECT_EQ(utc, KvDateTime(2024, 1, 15, 22, 30).ExplicitLTC2UTC(u"Cen. Australia Standard Time", true));
    EXPECT_EQ(KvDateTime(2024, 7, 1, 8), KvDateTime(2024, 7, 1, 12).ExplicitUTC2LTC(u"Eastern Standard Time", true));
}

TEST(KvDateTime, PeriodsStartAndEndAtLocalBoundaries) {
    WithZone madrid(u"Europe/Madrid");
    const KvDateTimeSpan month(31, 0, 0, 0), week(7, 0, 0, 0), day(1, 0, 0, 0), quarter(91, 0, 0, 0),
        year(365, 0, 0, 0), quarterHour(0, 0, 15, 0);
    const KvDateTime t(2024, 3, 31, 12, 34, 56, 789);  // a Sunday, the day summer time starts
    const struct { KvDateTimeSpan span; KvDateTime start, end; } cases[] = {
        {month, KvDateTime(2024, 2, 29, 23), KvDateTime(2024, 3, 31, 22)},
        {week, KvDateTime(2024, 3, 24, 23), KvDateTime(2024, 3, 31, 22)},
        {day, KvDateTime(2024, 3, 30, 23), KvDateTime(2024, 3, 31, 22)},
        {quarter, KvDateTime(2023, 12, 31, 23), KvDateTime(2024, 3, 31, 22)},
        {year, KvDateTime(2023, 12, 31, 23), KvDateTime(2024, 12, 31, 23)},
        {quarterHour, KvDateTime(2024, 3, 31, 12, 30), KvDateTime(2024, 3, 31, 12, 45)},
    };
    const KvDateTimeSpan oneMicrosecond(0, 0, 0, 0, 0, 1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.span.TotalSeconds());
        KvDateTime s = t, e = t;
        s.AdjustToPeriod(c.span);
        e.AdjustToEndPeriod(c.span);
        EXPECT_EQ(Text(c.start), Text(s));
        EXPECT_EQ(Text(c.end - oneMicrosecond), Text(e));
    }
    const KvDateTime reference(2024, 3, 31, 12, 10);
    KvDateTime s = t;
    s.AdjustToPeriod(quarterHour, &reference);
    EXPECT_EQ(KvDateTime(2024, 3, 31, 12, 25), s);
    s = t;
    s.AdjustToPeriod(KvDateTimeSpan(0, 0, 0, 0));
    EXPECT_EQ(t, s);
    KvDateTime last(2135, 1, 15);
    last.AdjustToEndPeriod(year);
    EXPECT_FALSE(last.Valid());
}

}  // namespace
