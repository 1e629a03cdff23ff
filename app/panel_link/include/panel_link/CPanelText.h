// CPanelText: the panel's 8-bit text and the model's UTF-16 text.
//
// The panel shows one byte per character, Latin-1. A character the panel
// cannot show becomes '?' (one per character, surrogate pairs included)
// instead of its low 8 bits, which could turn it into an unrelated letter or
// a NUL that cuts the text short. Downloaded bytes become the characters
// with the same codes.
#pragma once

#include <string>

#include "basalt/KvBasicString.h"

class CPanelText {
public:
    // At most `maxBytes` bytes.
    static std::string toPanel(const KvWString& text, int maxBytes);
    static KvWString toWide(const std::string& bytes);
};
