// Standard-alphabet Base64 decoding for Basic credentials.
#pragma once

namespace tern_internal {

// Decodes `text` (stopping at its end or the first "=") into `out`, at most `size` bytes.
// Sets `length` to the bytes written. False on a character outside the alphabet, a
// dangling single character, or output that would not fit.
bool DecodeBase64(const char* text, unsigned char* out, int size, int& length);

}  // namespace tern_internal
