// Case mapping and white space for the string traits: one fixed behaviour,
// never the process locale's, so that comparisons and trimming give the same
// result in the tests, the command-line tools and the desktop program.
#pragma once

// Unicode simple case mapping over Basic Latin, Latin-1, Latin Extended-A, the
// Romanian commas of Latin Extended-B, Greek and Cyrillic; every other unit
// maps to itself (so do surrogates).
char16_t KvSimpleUpper(char16_t c);
char16_t KvSimpleLower(char16_t c);
// The Unicode White_Space characters of the Basic Multilingual Plane: tab to
// carriage return, space, U+0085, the no-break space U+00A0 and the spaces of
// U+1680, U+2000 to U+200A, U+2028, U+2029, U+202F, U+205F and U+3000.
bool KvIsWhiteSpace(char16_t c);
