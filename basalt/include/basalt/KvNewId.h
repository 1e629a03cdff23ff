// Time-based 32-bit identifiers.
#pragma once

#include <cstdint>

// An identifier made from the current UTC time, strictly increasing within the
// process (safe to call from several threads): when the clock gives a value not
// above the last one handed out, the last one plus 1 is returned instead.
std::uint32_t GetNewId();

// The time part of an identifier: ((year + 1) << 28) | month, day, hour, minute and
// second packed below it, shifted left by 2. Only the low 4 bits of year + 1 survive.
std::uint32_t KvNewIdFromTime(int year, int month, int day, int hour, int minute, int second);
