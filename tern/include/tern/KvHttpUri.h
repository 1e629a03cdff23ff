// Conversions between web-form text and URI text.
#pragma once

#include <basalt/KvBasicString.h>

// Copies `text`, turning "%%" into "%" and "%" with two hexadecimal digits into that
// byte; a resulting byte of 128 or more is written as its two-byte UTF-8 sequence
// (the byte read as Latin-1). A "%" without two digits is copied as it is.
void Web2URI(KvString& out, const char* text);
// Copies `uri`, writing control characters, space, '"', '#', '%', '<', '>', '[', '\\',
// ']', '^', '`', '{', '|', '}' and DEL as "%" and two lower-case hexadecimal digits;
// every other byte, 128 and above included, is copied.
void URI2Web(KvString& out, const char* uri);
