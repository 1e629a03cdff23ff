// KvTimeZone: a time zone read from a compiled time-zone database file (TZif).
//
// Version 1, 2 and 3 files are read; from version 2 on the 64-bit data block
// is used (files written in the "slim" form have an empty 32-bit block), and
// after the last listed transition the footer's POSIX TZ rule applies, so
// daylight time goes on past 2037. Zone files are outside input: every field
// is length-checked, and a file that is truncated, inconsistent or carries
// leap-second corrections leaves the zone not loaded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "basalt/KvBasicString.h"
#include "basalt/KvDateTime.h"
#include "basalt/internal/KvPosixTzRule.h"

class KvTimeZone {
public:
    KvTimeZone();
    virtual ~KvTimeZone();
    KvTimeZone(const KvTimeZone&) = default;
    KvTimeZone& operator=(const KvTimeZone&) = default;

    // Loads zone `name` ("Europe/Madrid") from GetTimeZonePath(), else from the
    // system database (/usr/share/zoneinfo). Does nothing when `name` is the
    // zone already loaded. Names that climb out of the zone folder ("..") are
    // refused. Returns IsValid().
    bool Set(const char16_t* name);
    // Loads from the bytes of a zone file; `name` is what Name() reports.
    bool Load(const std::uint8_t* data, std::size_t size, const char16_t* name);
    void Reset();

    const KvWString& Name() const noexcept { return m_name; }
    bool IsValid() const noexcept { return m_count >= 0; }
    // Transitions held, the rule-driven ones excepted; -1 when no zone is loaded.
    int Count() const noexcept { return m_count; }

    // Seconds east of UTC in force at `dateTime`; 0 when no zone is loaded.
    // For a local reading (`isUtc` false) in a repeated hour the standard
    // offset is taken unless `ambiguity` is 1 (take the daylight one); in a
    // skipped hour the standard offset is taken unless `ambiguity` is 2.
    int Offset(const KvDateTime& dateTime, bool isUtc, int ambiguity = 0) const;
    // Whether daylight time is in force at `dateTime` (UTC).
    bool Dst(const KvDateTime& dateTime) const;
    // The same on Unix seconds, for instants outside KvDateTime's range.
    int OffsetAt(std::int64_t unixSeconds, bool isUtc, int ambiguity = 0, bool* dst = nullptr) const;

    // Names of the zone files found under the zone folders, sorted, without duplicates.
    static void GetSupportedOlsonTimeZones(std::vector<KvWString>& names);

    // The zone that local-time conversion uses, and a second one for callers.
    static KvTimeZone& Get();
    static KvTimeZone& GetAnother();

private:
    bool LoadFile(const KvString& path);

    KvWString m_name;
    std::vector<std::int64_t> m_times;   // [0] is a sentinel for "before the first transition"
    std::vector<std::int32_t> m_offsets;
    std::vector<std::uint8_t> m_dst;
    std::int32_t m_count = -1;
    bool m_hasRule = false;
    KvPosixTzRule m_rule;
};
