// KvPosixTzRule: the daylight-saving rule of a POSIX TZ string, as found in
// the footer of version 2 and later zone files ("CET-1CEST,M3.5.0,M10.5.0/3").
//
// Zone files list transitions only up to 2037; dates after the last listed
// transition follow this rule. Offsets here are seconds east of UTC (the TZ
// string itself counts west).
#pragma once

#include <cstddef>
#include <cstdint>

struct KvPosixTzRule {
    struct When {
        char kind = 'M';  // 'J' day 1..365 without Feb 29, 'N' day 0..365, 'M' month.week.weekday
        int day = 0;      // J/N: the day; M: weekday 0 (Sunday) .. 6
        int week = 0;     // M: 1..5, 5 = last
        int month = 0;    // M: 1..12
        std::int32_t time = 7200;  // seconds after local midnight, -167 h .. +167 h
    };

    std::int32_t stdOffset = 0;
    std::int32_t dstOffset = 0;
    bool hasDst = false;
    When start;  // daylight time starts, read in standard time
    When end;    // daylight time ends, read in daylight time

    // Parses `length` bytes; false for anything malformed (the rule is then unusable).
    bool Parse(const char* text, std::size_t length);
    // Unix times at which daylight time starts and ends in local year `year`.
    void Transitions(int year, std::int64_t& startUtc, std::int64_t& endUtc) const;

    // Days since 1970-01-01 of a proleptic Gregorian date, and the reverse for the year.
    static std::int64_t DaysFromCivil(std::int64_t year, int month, int day);
    static std::int64_t YearOfUnixTime(std::int64_t unixSeconds);
};
