// Language tables and the program's directories.
#pragma once

#include "basalt/KvBasicString.h"

// Two-letter code of a platform language id, by its primary-language part (low
// 10 bits): 0x0C0A gives "es". Unknown ids give "??".
KvString Win32LanguageIdToLanguageCode(int langId);
// Primary language id of a code, comparing only its first two characters without
// regard to case ("EN-gb" gives 9); "sr" maps to 26. Unknown or null gives -1.
int Win32LanguageCodeToLanguageId(const char* code);
int Win32LanguageCodeToLanguageId(const char16_t* code);
// The language's own name in UTF-8; unknown ids give "??".
KvString Win32LanguageIdToLanguageName(int langId);

// Directory of the running program (from /proc/self/exe) with a trailing "/";
// empty when it cannot be found.
KvWString GetAppPath();
// Directory of the program's data files, with a trailing "/": $CAIRN_SHARE_DIR
// when set and not empty; otherwise share/cairn/ of the installation the program
// belongs to (GetAppPath() + "../share/cairn/", resolved) when that folder
// exists; otherwise GetAppPath(), where the build tree keeps the data.
KvWString GetSharePath();
