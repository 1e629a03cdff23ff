#include "internal/Base64Decode.h"

namespace tern_internal {

namespace {
int Value(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}
}  // namespace

bool DecodeBase64(const char* text, unsigned char* out, int size, int& length) {
    length = 0;
    unsigned int acc = 0;
    int bits = 0, chars = 0;
    for (const char* p = text; *p && *p != '='; ++p) {
        const int v = Value(*p);
        if (v < 0) return false;
        acc = (acc << 6) | static_cast<unsigned int>(v);
        bits += 6;
        ++chars;
        if (bits >= 8) {
            bits -= 8;
            if (length >= size) return false;
            out[length++] = static_cast<unsigned char>(acc >> bits);
            acc &= (1u << bits) - 1;
        }
    }
    return chars % 4 != 1;
}

}  // namespace tern_internal
