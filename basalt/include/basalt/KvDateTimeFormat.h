// Text forms of KvDateTime in the library's fixed layouts, and small helpers
// around them. Every formatter refuses an invalid date-time.
#pragma once

#include <cstdint>

#include "basalt/KvBasicString.h"
#include "basalt/KvDateTime.h"

// "ddmmyyyyhhmmss" (14 digits); with milliseconds "...mmm" (17); with
// microseconds as well "...mmmuuu" (20, uuu below the millisecond).
// False, leaving `text` empty, for an invalid date-time.
bool DateTime2String(KvWString& text, const KvDateTime& dateTime, bool withMilliseconds = false,
                     bool withMicroseconds = false);
bool DateTime2String(KvString& text, const KvDateTime& dateTime, bool withMilliseconds = false,
                     bool withMicroseconds = false);

// The reverse, for 14- or 17-digit texts; every field must be in range (no
// 31 February). False otherwise, leaving `dateTime` invalid.
bool String2DateTime(KvDateTime& dateTime, const char16_t* text);
bool String2DateTime(KvDateTime& dateTime, const char* text);

// "ddmmyyyy" optionally followed by "hh", "mm", "ss" and "mmm". Missing parts
// are 0, or with `endOfPeriod` the latest value (23, 59, 59, 999). False for
// anything else, leaving `dateTime` invalid.
bool ParseDateTime(const char* text, KvDateTime& dateTime, bool endOfPeriod = false);

// "Tue, 05 Mar 2024 07:08:09 GMT" (two-digit year when `fourDigitYear` is
// false). The date-time must hold UTC. Empty for an invalid date-time.
KvString DateTime2RFC822(const KvDateTime& dateTime, bool fourDigitYear = true);

// Of `low` and `high`, the one nearest to `value`; a value outside gives the
// bound on its side, an exact tie the earlier bound.
KvDateTime NearestDateTime(const KvDateTime& value, const KvDateTime& low, const KvDateTime& high);

// A date packed in 32 bits: year - baseYear (6 bits, 0..63), month (4), day (5),
// hour (5), minute (6), second (6), from the top bit down. fromStdDate(toStdDate(d, b), b)
// gives d to the second. toStdDate gives 0 (never a valid packing: month 0)
// for an invalid date-time or a year outside baseYear..baseYear+63;
// fromStdDate gives an invalid date-time for a packing that is no date.
std::uint32_t toStdDate(const KvDateTime& dateTime, int baseYear);
KvDateTime fromStdDate(std::uint32_t packed, int baseYear);
