// KvLocaleSeparators: the decimal and thousands separators of the user's locale.
//
// Number formatting and validation read them here. They come from the user's
// KvLocaleInformation, which starts from the environment's locale (LC_NUMERIC /
// LANG) and follows SetupLocalize.
#pragma once

struct KvSeparators {
    char16_t decimal;    // never 0
    char16_t thousands;  // never 0; never equal to `decimal`
};

// The separators in force: the forced ones when set, else the user's locale
// information. A locale without a thousands separator (the C locale) gets "," (or
// "." when its decimal separator is ",").
KvSeparators KvLocaleSeparators();

// Forces the separators for the whole process (the locale information, tests).
// A `decimal` of 0 returns to the environment's locale. Ignored when the two are equal.
void KvSetLocaleSeparators(char16_t decimal, char16_t thousands);
