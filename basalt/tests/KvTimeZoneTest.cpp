#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <limits>
#include <string>
#include <vector>

#include "basalt/KvTimeZone.h"
#include "basalt/KvTimeZoneNames.h"
#include "basalt/KvUtf.h"
#include "basalt/internal/KvPosixTzRule.h"

namespace {

// Writes zone files the way the database compiler lays them out.
struct TzifBuilder {
    struct Type {
        std::int32_t offset;
        std::uint8_t dst;
    };
    std::vector<std::int64_t> times;
    std::vector<std::uint8_t> index;
    std::vector<Type> types;
    std::string footer;         // without the surrounding newlines
    char version = '2';
    bool emptyV1 = true;        // the "slim" layout
    std::uint32_t leapcnt = 0;

    static void Be(std::vector<std::uint8_t>& out, std::uint64_t v, int bytes) {
        for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    void Block(std::vector<std::uint8_t>& out, int timeBytes, bool empty) const {
        const std::uint32_t timecnt = empty ? 0 : static_cast<std::uint32_t>(times.size());
        const std::uint32_t typecnt = empty ? 1 : static_cast<std::uint32_t>(types.size());
        out.insert(out.end(), {'T', 'Z', 'i', 'f', static_cast<std::uint8_t>(version)});
        out.insert(out.end(), 15, 0);
        for (std::uint32_t v : {0u, 0u, leapcnt, timecnt, typecnt, 4u}) Be(out, v, 4);
        for (std::uint32_t i = 0; i < timecnt; ++i) Be(out, static_cast<std::uint64_t>(times[i]), timeBytes);
        for (std::uint32_t i = 0; i < timecnt; ++i) out.push_back(index[i]);
        for (std::uint32_t i = 0; i < typecnt; ++i) {
            Be(out, static_cast<std::uint32_t>(empty ? 0 : types[i].offset), 4);
            out.push_back(empty ? 0 : types[i].dst);
            out.push_back(0);
        }
        out.insert(out.end(), {'A', 'B', 'C', 0});
        for (std::uint32_t i = 0; i < leapcnt; ++i) out.insert(out.end(), timeBytes + 4, 0);
    }
    std::vector<std::uint8_t> Bytes() const {
        std::vector<std::uint8_t> out;
        Block(out, 4, version != 0 && emptyV1);
        if (version == 0) return out;
        Block(out, 8, false);
        out.push_back('\n');
        out.insert(out.end(), footer.begin(), footer.end());
        out.push_back('\n');
        return out;
    }
};

std::int64_t Utc(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return KvPosixTzRule::DaysFromCivil(y, mo, d) * 86400 + (h * 60 + mi) * 60 + s;
}

// A zone on central European rules, listed up to 2008 and ruled after.
TzifBuilder CentralEurope() {
    TzifBuilder b;
    b.types = {{3600, 0}, {7200, 1}};
    for (int y = 2000; y <= 2008; ++y) {
        std::int64_t start = 0, end = 0;
        KvPosixTzRule rule;
        rule.Parse("CET-1CEST,M3.5.0,M10.5.0/3", 26);
        rule.Transitions(y, start, end);
        b.times.insert(b.times.end(), {start, end});
        b.index.insert(b.index.end(), {1, 0});
    }
    b.footer = "CET-1CEST,M3.5.0,M10.5.0/3";
    return b;
}

KvTimeZone Loaded(const TzifBuilder& b) {
    const std::vector<std::uint8_t> bytes = b.Bytes();
    KvTimeZone z;
    EXPECT_TRUE(z.Load(bytes.data(), bytes.size(), u"Test/Zone"));
    return z;
}

TEST(KvTimeZone, SlimFileReadsTheWideBlockAndTheFooterRule) {
    const KvTimeZone z = Loaded(CentralEurope());
    EXPECT_EQ(18, z.Count());
    // Listed years, and years far past the list that only the rule covers.
    const struct { int year, marchDay, octoberDay; } years[] = {{2004, 28, 31}, {2038, 28, 31}, {2100, 28, 31},
                                                                {2135, 27, 30}};
    for (const auto& y : years) {
        SCOPED_TRACE(y.year);
        const std::int64_t start = Utc(y.year, 3, y.marchDay, 1);
        const std::int64_t end = Utc(y.year, 10, y.octoberDay, 1);
        EXPECT_EQ(3600, z.OffsetAt(start - 1, true));
        EXPECT_EQ(7200, z.OffsetAt(start, true));
        EXPECT_EQ(7200, z.OffsetAt(end - 1, true));
        EXPECT_EQ(3600, z.OffsetAt(end, true));
    }
}

TEST(KvTimeZone, VersionOneFileAndTimesBeforeTheFirstTransition) {
    TzifBuilder b = CentralEurope();
    b.version = 0;
    b.emptyV1 = false;
    const KvTimeZone z = Loaded(b);
    EXPECT_EQ(3600, z.OffsetAt(Utc(1999, 7, 1), true));  // before the list: type 0
    EXPECT_EQ(7200, z.OffsetAt(Utc(2008, 7, 1), true));
    EXPECT_EQ(3600, z.OffsetAt(Utc(2030, 7, 1), true));  // no footer: the last period goes on
}

TEST(KvTimeZone, LocalReadingsAroundChanges) {
    const KvTimeZone z = Loaded(CentralEurope());
    // 2004-03-28: 02:00 local does not exist; 2004-10-31: 02:00-03:00 local comes twice.
    const std::int64_t gap = Utc(2004, 3, 28, 2, 30);
    const std::int64_t repeated = Utc(2004, 10, 31, 2, 30);
    EXPECT_EQ(3600, z.OffsetAt(gap, false));
    EXPECT_EQ(7200, z.OffsetAt(gap, false, 2));
    EXPECT_EQ(3600, z.OffsetAt(repeated, false));
    EXPECT_EQ(7200, z.OffsetAt(repeated, false, 1));
    EXPECT_EQ(3600, z.OffsetAt(Utc(2004, 3, 28, 1, 59, 59), false, 2));  // just before the gap
    EXPECT_EQ(7200, z.OffsetAt(Utc(2004, 10, 31, 1, 59, 59), false));    // just before the repeat
    EXPECT_EQ(3600, z.OffsetAt(Utc(2004, 10, 31, 3, 0, 0), false, 1));   // just after it
    // The same past the list, where the footer rule answers.
    EXPECT_EQ(7200, z.OffsetAt(Utc(2040, 10, 28, 2, 30), false, 1));
    EXPECT_EQ(3600, z.OffsetAt(Utc(2040, 10, 28, 2, 30), false));
    EXPECT_EQ(7200, z.OffsetAt(Utc(2040, 3, 25, 2, 30), false, 2));
}

TEST(KvTimeZone, DamagedFilesAreRefusedWhole) {
    const std::vector<std::uint8_t> good = CentralEurope().Bytes();
    for (std::size_t n = 0; n < good.size(); ++n) {
        KvTimeZone z;
        EXPECT_FALSE(z.Load(good.data(), n, u"Cut")) << "prefix of " << n << " bytes";
        EXPECT_EQ(0, z.OffsetAt(Utc(2004, 7, 1), true));
    }
    struct Case {
        const char* what;
        void (*spoil)(TzifBuilder&);
    } cases[] = {
        {"type index past the types", [](TzifBuilder& b) { b.index[3] = 2; }},
        {"times not ascending", [](TzifBuilder& b) { b.times[5] = b.times[4]; }},
        {"leap-second corrections", [](TzifBuilder& b) { b.leapcnt = 1; }},
        {"malformed footer", [](TzifBuilder& b) { b.footer = "CET-1CEST,M3.5.0"; }},
        {"absurd offset", [](TzifBuilder& b) { b.types[1].offset = -2147483647 - 1; }},
        {"unknown version", [](TzifBuilder& b) { b.version = '1'; }},
    };
    for (const Case& c : cases) {
        TzifBuilder b = CentralEurope();
        c.spoil(b);
        const std::vector<std::uint8_t> bytes = b.Bytes();
        KvTimeZone z;
        EXPECT_FALSE(z.Load(bytes.data(), bytes.size(), u"Bad")) << c.what;
        EXPECT_FALSE(z.IsValid()) << c.what;
    }
}

TEST(KvTimeZone, ZoneOnDaylightTimeAllYear) {
    TzifBuilder b;
    b.types = {{-18000, 0}};
    b.footer = "EST5EDT,0/0,J365/25";
    const KvTimeZone z = Loaded(b);
    for (int month = 1; month <= 12; ++month) EXPECT_EQ(-14400, z.OffsetAt(Utc(2050, month, 1), true)) << month;
    EXPECT_EQ(-14400, z.OffsetAt(Utc(2051, 1, 1, 4, 59, 59), true));
    EXPECT_EQ(-14400, z.OffsetAt(std::numeric_limits<std::int64_t>::max(), false));  // no overflow at the ends
    EXPECT_EQ(-14400, z.OffsetAt(std::numeric_limits<std::int64_t>::min(), true));  // no list: the rule holds throughout
}

TEST(KvTimeZone, SetRefusesNamesOutsideTheZoneFolder) {
    KvTimeZone z;
    for (const char16_t* name : {u"../etc/passwd", u"/etc/localtime", u"Europe/../../x", u"", u"Europe//Madrid"}) {
        EXPECT_FALSE(z.Set(name));
        EXPECT_FALSE(z.IsValid());
    }
    EXPECT_FALSE(z.Set(u"Nowhere/Atlantis"));
}

TEST(KvTimeZone, SetLoadsFromTheSystemDatabaseAndKeepsALoadedZone) {
    KvTimeZone z;
    ASSERT_TRUE(z.Set(u"Europe/Madrid")) << "needs the tzdata package";
    EXPECT_EQ(KvWString(u"Europe/Madrid"), z.Name());
    EXPECT_TRUE(z.Dst(KvDateTime(2024, 7, 1)));
    EXPECT_FALSE(z.Dst(KvDateTime(2024, 1, 1)));
    EXPECT_EQ(7200, z.Offset(KvDateTime(2100, 7, 1), true));
    EXPECT_TRUE(z.Set(u"Europe/Madrid"));
    std::vector<KvWString> names;
    KvTimeZone::GetSupportedOlsonTimeZones(names);
    EXPECT_TRUE(std::binary_search(names.begin(), names.end(), KvWString(u"Asia/Kathmandu")));
    EXPECT_FALSE(std::binary_search(names.begin(), names.end(), KvWString(u"right/Europe/Madrid")));
}

TEST(KvTimeZone, TheProgramsOwnZoneFolderComesFirst) {
    // A fixed +05:00 zone under the name of a real one shows which file was read;
    // no other test reads this zone, so parallel runs do not see the copy.
    TzifBuilder b;
    b.types = {{18000, 0}};
    b.footer = "<+05>-5";
    const std::vector<std::uint8_t> bytes = b.Bytes();
    const std::string dir = ToUtf8(GetTimeZonePath().c_str()).c_str() + std::string("Asia");
    const std::string path = dir + "/Tokyo";
    ASSERT_EQ(0, system(("mkdir -p '" + dir + "'").c_str()));
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(nullptr, f);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    KvTimeZone z;
    const bool loaded = z.Set(u"Asia/Tokyo");
    std::remove(path.c_str());
    rmdir(dir.c_str());
    rmdir(ToUtf8(GetTimeZonePath().c_str()).c_str());  // only when empty
    ASSERT_TRUE(loaded);
    EXPECT_EQ(18000, z.Offset(KvDateTime(2024, 7, 1), true));
}

// Runs the C library's own conversion for one zone while the object lives.
class SystemZone {
public:
    explicit SystemZone(const char* name) {
        const char* old = std::getenv("TZ");
        m_hadOld = old != nullptr;
        if (old) m_old = old;
        setenv("TZ", name, 1);
        tzset();
    }
    ~SystemZone() {
        if (m_hadOld) setenv("TZ", m_old.c_str(), 1);
        else unsetenv("TZ");
        tzset();
    }
    static long Offset(std::int64_t t) {
        const time_t tt = static_cast<time_t>(t);
        std::tm tm{};
        localtime_r(&tt, &tm);
        return tm.tm_gmtoff;
    }

private:
    bool m_hadOld = false;
    std::string m_old;
};

TEST(KvTimeZone, AgreesWithTheCLibraryEveryHourFrom2000To2040) {
    for (const char* name :
         {"Europe/Madrid", "America/New_York", "Australia/Adelaide", "Asia/Kathmandu", "Pacific/Tongatapu"}) {
        SCOPED_TRACE(name);
        KvTimeZone z;
        ASSERT_TRUE(z.Set(ToWide(name).c_str()));
        SystemZone system(name);
        int mismatches = 0;
        for (std::int64_t t = Utc(2000, 1, 1); t < Utc(2041, 1, 1) && mismatches < 5; t += 3600) {
            if (z.OffsetAt(t, true) != SystemZone::Offset(t)) {
                ADD_FAILURE() << "at Unix time " << t;
                ++mismatches;
            }
        }
    }
}

TEST(KvTimeZone, SecondBeforeAndAfterEachChangeMatchesTheCLibrary) {
    for (const char* name : {"Europe/Madrid", "America/New_York", "Australia/Adelaide", "Pacific/Tongatapu"}) {
        SCOPED_TRACE(name);
        KvTimeZone z;
        ASSERT_TRUE(z.Set(ToWide(name).c_str()));
        SystemZone system(name);
        int changes = 0;
        for (std::int64_t t = Utc(2000, 1, 1); t < Utc(2041, 1, 1); t += 86400) {
            if (SystemZone::Offset(t) == SystemZone::Offset(t + 86400)) continue;
            std::int64_t lo = t, hi = t + 86400;  // the change lies in (lo, hi]
            while (hi - lo > 1) {
                const std::int64_t mid = lo + (hi - lo) / 2;
                (SystemZone::Offset(mid) == SystemZone::Offset(t) ? lo : hi) = mid;
            }
            ++changes;
            EXPECT_EQ(SystemZone::Offset(hi - 1), z.OffsetAt(hi - 1, true)) << "second before " << hi;
            EXPECT_EQ(SystemZone::Offset(hi), z.OffsetAt(hi, true)) << "change at " << hi;
            // Read back from local time, both sides of the change give the same instant.
            EXPECT_EQ(SystemZone::Offset(hi - 1), z.OffsetAt(hi - 1 + SystemZone::Offset(hi - 1), false, 1));
            EXPECT_EQ(SystemZone::Offset(hi), z.OffsetAt(hi + SystemZone::Offset(hi), false));
        }
        EXPECT_GT(changes, 0);
    }
}

TEST(KvPosixTzRule, ParsesFootersOfRealZones) {
    struct Case {
        const char* text;
        std::int32_t stdOffset, dstOffset;
        bool hasDst;
        int startYear;           // a year to check the changes in
        std::int64_t start, end; // Unix times of the changes that year
    } cases[] = {
        {"CET-1CEST,M3.5.0,M10.5.0/3", 3600, 7200, true, 2024, Utc(2024, 3, 31, 1), Utc(2024, 10, 27, 1)},
        {"EST5EDT,M3.2.0,M11.1.0", -18000, -14400, true, 2024, Utc(2024, 3, 10, 7), Utc(2024, 11, 3, 6)},
        {"EST5EDT", -18000, -14400, true, 2024, Utc(2024, 3, 10, 7), Utc(2024, 11, 3, 6)},
        {"ACST-9:30ACDT,M10.1.0,M4.1.0/3", 34200, 37800, true, 2024, Utc(2024, 10, 5, 16, 30),
         Utc(2024, 4, 6, 16, 30)},
        {"<+0545>-5:45", 20700, 0, false, 0, 0, 0},
        {"<+13>-13", 46800, 0, false, 0, 0, 0},
        {"<-02>2<-01>,M3.5.0/-1,M10.5.0/0", -7200, -3600, true, 2024, Utc(2024, 3, 31, 1), Utc(2024, 10, 27, 1)},
        {"IST-2IDT,M3.4.4/26,M10.5.0", 7200, 10800, true, 2024, Utc(2024, 3, 29, 0), Utc(2024, 10, 26, 23)},
        {"XXX3YYY,J60/0,J365/0", -10800, -7200, true, 2024, Utc(2024, 3, 1, 3), Utc(2024, 12, 31, 2)},
        {"XXX3YYY,59,365", -10800, -7200, true, 2024, Utc(2024, 2, 29, 5), Utc(2024, 12, 31, 4)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        KvPosixTzRule r;
        ASSERT_TRUE(r.Parse(c.text, std::strlen(c.text)));
        EXPECT_EQ(c.stdOffset, r.stdOffset);
        EXPECT_EQ(c.hasDst, r.hasDst);
        if (!c.hasDst) continue;
        EXPECT_EQ(c.dstOffset, r.dstOffset);
        std::int64_t start = 0, end = 0;
        r.Transitions(c.startYear, start, end);
        EXPECT_EQ(c.start, start);
        EXPECT_EQ(c.end, end);
    }
}

TEST(KvPosixTzRule, RefusesMalformedRules) {
    for (const char* text : {"", "CE-1", "CET", "CET-1CEST,M3.5.0", "CET-1CEST,M13.5.0,M10.5.0", "CET-1CEST,M3.6.0,M10.5.0",
                             "CET-1CEST,M3.5.7,M10.5.0", "CET-1CEST,J0,J10", "CET-1CEST,M3.5.0,M10.5.0/168", "<+05-5",
                             "CET-1CEST,M3.5.0,M10.5.0x", "CET-99"}) {
        KvPosixTzRule r;
        EXPECT_FALSE(r.Parse(text, std::strlen(text))) << '"' << text << '"';
    }
}

TEST(KvTimeZoneNames, TableRowsAndLookups) {
    EXPECT_EQ(75, TimeZoneNameCount());
    const struct { const char16_t* win32; const char16_t* olson; int bias; } rows[] = {
        {u"Tonga Standard Time", u"Pacific/Tongatapu", 46800},
        {u"Cen. Australia Standard Time", u"Australia/Adelaide", 34200},
        {u"Nepal Standard Time", u"Asia/Katmandu", 20700},
        {u"India Standard Time", u"Asia/Calcutta", 19800},
        {u"Romance Standard Time", u"Europe/Brussels", 3600},
        {u"GMT Standard Time", u"Europe/Dublin", 0},
        {u"Newfoundland Standard Time", u"America/St_Johns", -12600},
        {u"Pacific Standard Time", u"America/Los_Angeles", -28800},
        {u"Mexico Standard Time 2", u"America/Chihuahua", -25200},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(KvWString(r.olson), Win32TimeZoneToOlsonTimeZone(r.win32));
        EXPECT_EQ(KvWString(r.win32), OlsonTimeZoneToWin32TimeZone(r.olson));
        EXPECT_EQ(r.bias, getBias(r.win32));
    }
    EXPECT_EQ(KvWString(u"Pacific/Kwajalein"), Win32TimeZoneToOlsonTimeZone(u"Dateline Standard Time"));
    EXPECT_EQ(KvWString(u"Dateline Standard Time"), KvWString(TimeZoneNameWin32(74)));
    EXPECT_TRUE(Win32TimeZoneToOlsonTimeZone(u"romance standard time").IsEmpty());  // exact comparison
    EXPECT_EQ(0, getBias(u"Atlantis Standard Time"));
    // Every platform name but one ends in " Standard Time", and none repeats.
    std::vector<KvWString> seen;
    for (int i = 0; i < TimeZoneNameCount(); ++i) {
        const KvWString name(TimeZoneNameWin32(i));
        EXPECT_TRUE(name.EndsWith(u" Standard Time") || name == KvWString(u"Mexico Standard Time 2")) << i;
        EXPECT_EQ(seen.end(), std::find(seen.begin(), seen.end(), name)) << i;
        seen.push_back(name);
    }
}

TEST(KvTimeZoneNames, SummerTimeWithoutAZoneFile) {
    const struct { KvDateTime standard; bool summer; } cases[] = {
        {KvDateTime(2024, 3, 31, 1, 59, 59), false}, {KvDateTime(2024, 3, 31, 2, 0, 0), true},
        {KvDateTime(2024, 3, 30, 12, 0, 0), false},  {KvDateTime(2024, 4, 1), true},
        {KvDateTime(2024, 9, 30, 23, 59, 59), true}, {KvDateTime(2024, 10, 27, 1, 59, 59), true},
        {KvDateTime(2024, 10, 27, 2, 0, 0), false},  {KvDateTime(2024, 11, 1), false},
        {KvDateTime(2024, 1, 15), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.summer, IsSummerTimeWithoutZone(c.standard))
            << ToUtf8(c.standard.GetDateTime(0, false, u"-", u":").c_str()).c_str();
    }
}

}  // namespace
