// The fixed HTTP date layout 'Sun, 06 Nov 1994 08:49:37 GMT' (UTC).
#pragma once

#include <basalt/KvBasicString.h>

#include <cstdint>

namespace tern_internal {

// Appends the date of `unixSeconds` in the fixed layout.
void AppendHttpDate(KvString& out, std::int64_t unixSeconds);
// Reads the fixed layout by position, counted from the comma after the day name:
// day at +2, month name at +5, year at +9, then hh:mm:ss at +14, +17, +20.
// False when the text is too short, a field is not a number or is out of range.
bool ParseHttpDate(const char* value, int length, std::int64_t& unixSeconds);

}  // namespace tern_internal
