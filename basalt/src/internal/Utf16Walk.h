// How Basalt reads UTF-16 text as code points, so every encoder drops the
// same units: a surrogate pair is one character, a lone surrogate none.
#pragma once

#include <cstdint>

template <class Emit>
void ForEachCodePoint(const char16_t* s, int n, Emit emit) {
    for (int i = 0; s && i < n; ++i) {
        const std::uint32_t u = s[i];
        if (u >= 0xD800 && u < 0xDC00) {
            if (i + 1 < n && s[i + 1] >= 0xDC00 && s[i + 1] < 0xE000) {
                emit(0x10000 + ((u - 0xD800) << 10) + (s[i + 1] - 0xDC00));
                ++i;
            }
            continue;
        }
        if (u >= 0xDC00 && u < 0xE000) continue;
        emit(u);
    }
}
