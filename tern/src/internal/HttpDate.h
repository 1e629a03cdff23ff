// Reading the fixed HTTP date layout 'Sun, 06 Nov 1994 08:49:37 GMT'.
#pragma once

#include <basalt/KvDateTime.h>

namespace tern_internal {

// Reads the layout by position, counted from the comma after the day name: day at +2,
// month name at +5, year at +9, then hh:mm:ss at +14, +17, +20. False when the text is
// too short, a field is no number or out of range, or the date lies outside the years
// a KvDateTime holds.
bool ParseHttpDate(const char* value, int length, KvDateTime& date);

}  // namespace tern_internal
