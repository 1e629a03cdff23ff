// Decodes arbitrary bytes, then checks the round trip: what the decoder keeps
// must survive encoding and decoding unchanged, and hold no lone surrogate.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "basalt/KvUtf.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > (1u << 20)) return 0;
    KvWString wide;
    Utf8ToUtf16(wide, reinterpret_cast<const char*>(data), static_cast<int>(size));
    for (int i = 0; i < wide.Length(); ++i) {
        const char16_t u = wide[i];
        const bool high = u >= 0xD800 && u < 0xDC00, low = u >= 0xDC00 && u < 0xE000;
        if (low) std::abort();  // a low surrogate must follow a high one
        if (high) {
            if (i + 1 >= wide.Length() || wide[i + 1] < 0xDC00 || wide[i + 1] >= 0xE000) std::abort();
            ++i;
        }
    }
    KvString utf8;
    Utf16ToUtf8(utf8, wide.c_str(), wide.Length());
    KvWString again;
    Utf8ToUtf16(again, utf8.c_str(), utf8.Length());
    if (!(again == wide)) std::abort();
    // Encoding arbitrary units (lone surrogates included) must not crash either.
    KvString raw;
    Utf16ToUtf8(raw, reinterpret_cast<const char16_t*>(data), static_cast<int>(size / 2));
    return 0;
}
