#include "basalt/uuid.h"

#include <sys/random.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "basalt/KvDigits.h"

const uuid uuid::null;

uuid::uuid(std::uint32_t d1, std::uint16_t d2, std::uint16_t d3, std::uint8_t b0, std::uint8_t b1, std::uint8_t b2,
           std::uint8_t b3, std::uint8_t b4, std::uint8_t b5, std::uint8_t b6, std::uint8_t b7)
    : m_data1(d1), m_data2(d2), m_data3(d3), m_data4{b0, b1, b2, b3, b4, b5, b6, b7} {}

uuid::uuid(std::uint32_t d1, std::uint16_t d2, std::uint16_t d3, const std::uint8_t bytes[8]) {
    set(d1, d2, d3, bytes);
}

void uuid::set(std::uint32_t d1, std::uint16_t d2, std::uint16_t d3, const std::uint8_t bytes[8]) {
    m_data1 = d1;
    m_data2 = d2;
    m_data3 = d3;
    if (bytes)
        std::memcpy(m_data4, bytes, sizeof m_data4);
    else
        std::memset(m_data4, 0, sizeof m_data4);
}

bool operator==(const uuid& a, const uuid& b) {
    return a.m_data1 == b.m_data1 && a.m_data2 == b.m_data2 && a.m_data3 == b.m_data3 &&
           std::memcmp(a.m_data4, b.m_data4, sizeof a.m_data4) == 0;
}

bool operator<(const uuid& a, const uuid& b) {
    if (a.m_data1 != b.m_data1) return a.m_data1 < b.m_data1;
    if (a.m_data2 != b.m_data2) return a.m_data2 < b.m_data2;
    if (a.m_data3 != b.m_data3) return a.m_data3 < b.m_data3;
    return std::memcmp(a.m_data4, b.m_data4, sizeof a.m_data4) < 0;
}

namespace {

bool RandomBytes(std::uint8_t* out, std::size_t n) {
    std::size_t got = 0;
    while (got < n) {
        const ssize_t r = ::getrandom(out + got, n - got, 0);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) break;
        got += static_cast<std::size_t>(r);
    }
    if (got == n) return true;
    // Kernels without getrandom: the device gives the same bytes.
    std::FILE* f = std::fopen("/dev/urandom", "rbe");
    if (!f) return false;
    const bool ok = std::fread(out, 1, n, f) == n;
    std::fclose(f);
    return ok;
}

std::uint32_t Be(const std::uint8_t* p, int n) {
    std::uint32_t v = 0;
    for (int i = 0; i < n; ++i) v = (v << 8) | p[i];
    return v;
}

template <class C>
void Widen(const char* narrow, C* out) {
    for (int i = 0; (out[i] = static_cast<C>(narrow[i])) != 0; ++i) {
    }
}

template <class C>
uuid Parse(const C* text) {
    if (!text) return uuid::null;
    std::uint8_t b[16];
    int byte = 0;
    for (int i = 0; i < 36; ++i) {
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        if (dash) {
            if (text[i] != '-') return uuid::null;
            continue;
        }
        const int h = HexDigitValue(static_cast<char32_t>(text[i]));
        if (h < 0) return uuid::null;  // checked first: text[i + 1] may lie past the end
        const int l = HexDigitValue(static_cast<char32_t>(text[i + 1]));
        if (l < 0) return uuid::null;
        b[byte++] = static_cast<std::uint8_t>(h << 4 | l);
        ++i;
    }
    if (text[36] != 0 && text[36] != ' ') return uuid::null;
    return uuid(Be(b, 4), static_cast<std::uint16_t>(Be(b + 4, 2)), static_cast<std::uint16_t>(Be(b + 6, 2)), b + 8);
}

template <class C>
bool Format(const uuid& id, C* text, int size) {
    if (!text || size <= 0) return false;
    if (size < 37) {
        text[0] = 0;
        return false;
    }
    const std::uint8_t* d = id.data4();
    char narrow[40];
    std::snprintf(narrow, sizeof narrow, "%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X",
                  static_cast<unsigned>(id.data1()), id.data2(), id.data3(), d[0], d[1], d[2], d[3], d[4], d[5],
                  d[6], d[7]);
    Widen(narrow, text);
    return true;
}

}  // namespace

uuid uuid::create() {
    std::uint8_t b[16];
    if (!RandomBytes(b, sizeof b)) return null;
    b[6] = static_cast<std::uint8_t>((b[6] & 0x0F) | 0x40);  // version 4: random
    b[8] = static_cast<std::uint8_t>((b[8] & 0x3F) | 0x80);  // variant of RFC 4122
    return uuid(Be(b, 4), static_cast<std::uint16_t>(Be(b + 4, 2)), static_cast<std::uint16_t>(Be(b + 6, 2)), b + 8);
}

bool NewGUID(uuid& id) {
    id = uuid::create();
    return !id.is_null();
}

bool guidtow(const uuid& id, char16_t* text, int size) { return Format(id, text, size); }
bool guidtoc(const uuid& id, char* text, int size) { return Format(id, text, size); }

uuid wtouuid(const char16_t* text) { return Parse(text); }
uuid ctouuid(const char* text) { return Parse(text); }
