// The names an XML file may hold as tags and attribute names.
#pragma once

#include "basalt/KvBasicString.h"

// True when `name` is an XML 1.0 Name: a letter, "_" or ":" first, then also
// digits, "-", "." and combining marks; no white space, no markup characters,
// no control characters and no lone surrogates. Only such names are written
// and read back as they are by every XML reader, this library's included.
bool IsXmlName(const char16_t* name, int length);
inline bool IsXmlName(const KvWString& name) { return IsXmlName(name.c_str(), name.Length()); }
