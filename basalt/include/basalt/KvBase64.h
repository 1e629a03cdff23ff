// Base64 encoding and decoding with the standard alphabet and "=" padding
// (RFC 4648), no line breaks. Decoders refuse characters outside the alphabet
// (whitespace included) and never write past the room they are given.
#pragma once

#include "basalt/KvBasicString.h"

// Replaces `text` with the encoding of `length` bytes of `data`.
KvString& EncodeBase64(KvString& text, const void* data, int length);
KvWString& EncodeBase64(KvWString& text, const void* data, int length);

// Bytes that decoding `length` characters gives: (length without trailing "=") * 3 / 4.
// A length of -1 means the text is NUL-terminated. Null text gives 0.
int DecodedBase64Size(const char* text, int length = -1);
int DecodedBase64Size(const char16_t* text, int length = -1);

// Decodes NUL-terminated `text` into `out` (room for `size` bytes), stopping at the
// end or the first "=". False on a character outside the alphabet, a dangling single
// character, or when `out` is too small; `written` (optional) gets the bytes stored.
bool DecodeBase64(void* out, int size, const char* text, int* written = nullptr);
bool DecodeBase64(void* out, int size, const char16_t* text, int* written = nullptr);

// Decodes into `out`, replacing it (the bytes may include NUL). False, with `out`
// emptied, on invalid input.
bool DecodeBase64(KvString& out, const char* text);

// As above into a text buffer of `size` bytes that is always NUL-terminated (when
// size > 0). False, keeping what was decoded, when fewer than 4 bytes of room remain
// before a group of 4 characters, or on an invalid character.
bool DecodeBase64String(char* out, const char* text, int size);
