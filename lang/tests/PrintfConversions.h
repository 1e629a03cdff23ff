// PrintfConversions: the argument-consuming conversions of a printf format.
//
// Texts of the string tables are used as wide printf formats: a translation
// must consume the same arguments, of the same kinds, in the same order as the
// English text, or the program reads the wrong argument (or none) at run time.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Each conversion reduced to its kind: the length modifier and the conversion
// letter ("d", "s", "ls", "hs", "lld"); "*" for a width or precision taken
// from the arguments, listed before its conversion. "%%" consumes nothing.
// A conversion cut short by the end of the text, or ending in a letter printf
// does not know, appears as "?" so that it never matches a real one.
// Flags, width and precision digits do not change the kind ("%5d" is "d").
std::vector<std::string> PrintfConversions(std::string_view format);
