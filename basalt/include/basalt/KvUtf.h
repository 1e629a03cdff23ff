// UTF-8 / UTF-16 conversion. Conversions never fail: malformed input is skipped.
#pragma once

#include <cstdint>

#include "basalt/KvBasicString.h"

// Replaces `wide` with the decoded text. Code points above 0xFFFF become a
// surrogate pair. A stray continuation byte is skipped; a sequence cut short
// by a non-continuation byte is dropped and decoding resumes at that byte; a
// sequence cut short by the end of the text ends decoding; 5- and 6-byte forms
// are skipped with their continuation bytes; overlong forms, encoded
// surrogates and values above 0x10FFFF are dropped.
void Utf8ToUtf16(KvWString& wide, const char* utf8);
// As above, reading at most `count` bytes (NUL bytes inside are decoded as U+0000).
void Utf8ToUtf16(KvWString& wide, const char* bytes, int count);
// Appends the decoded bytes to `wide`, by the same rules. May leave spare
// capacity behind (FreeExtra returns it).
void AppendUtf8ToUtf16(KvWString& wide, const char* bytes, int count);
// Replaces `utf8` with the encoded text. A lone surrogate is dropped.
void Utf16ToUtf8(KvString& utf8, const char16_t* wide);
void Utf16ToUtf8(KvString& utf8, const char16_t* wide, int count);

// Writes the UTF-8 form of `codePoint` (at most 0x10FFFF) to out[0..3] and
// returns how many bytes it took (1 to 4); no terminator.
int Utf8Encode(std::uint32_t codePoint, char* out);

// Convenience forms returning the converted string.
KvWString ToWide(const char* utf8);
KvString ToUtf8(const char16_t* wide);
