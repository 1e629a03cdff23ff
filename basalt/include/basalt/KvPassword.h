// Reversible password scrambling, so passwords are not stored as plain text.
// This hides a password from a casual look; it is not encryption.
//
// The scrambled form is upper-case hexadecimal, two digits per byte of the
// password's UTF-8 form, each byte combined with a fixed key; at most 63 digits.
#pragma once

// Scrambles `text` (room for `size` characters with the terminator) in place.
// False, leaving the text unchanged, when the result would not fit in `size`
// or exceed 63 digits (a password of more than 31 UTF-8 bytes).
bool EncodePassword(char16_t* text, int size);
// Restores a scrambled text in place. False, leaving it unchanged, on an odd
// number of digits, a non-hexadecimal character, more than 63 digits or bytes
// that are not UTF-8.
bool DecodePassword(char16_t* text, int size);
