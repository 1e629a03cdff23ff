#include "basalt/KvBase64.h"

#include <cstdint>

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int Sextet(unsigned c) {
    if (c >= 'A' && c <= 'Z') return static_cast<int>(c - 'A');
    if (c >= 'a' && c <= 'z') return static_cast<int>(c - 'a' + 26);
    if (c >= '0' && c <= '9') return static_cast<int>(c - '0' + 52);
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

template <class S>
S& Encode(S& text, const void* data, int length) {
    text.Empty();
    if (!data || length <= 0) return text;
    const auto* p = static_cast<const std::uint8_t*>(data);
    text.Reserve((length + 2) / 3 * 4);
    for (int i = 0; i < length; i += 3) {
        const int n = length - i < 3 ? length - i : 3;
        const std::uint32_t v = (std::uint32_t{p[i]} << 16) | (n > 1 ? p[i + 1] << 8 : 0) | (n > 2 ? p[i + 2] : 0);
        for (int k = 0; k < 4; ++k)
            text.Append(static_cast<typename S::CharType>(k <= n ? kAlphabet[(v >> (18 - 6 * k)) & 63] : '='));
    }
    return text;
}

template <class C>
int DecodedSize(const C* text, int length) {
    if (!text) return 0;
    if (length < 0) length = KvTextLength(text);
    while (length > 0 && text[length - 1] == '=') --length;
    return length * 3 / 4;
}

// Calls sink(byte) for each decoded byte; stops at the end or the first '='.
// Returns false on an invalid character or a lone trailing character.
template <class C, class Sink>
bool Decode(const C* text, Sink&& sink) {
    if (!text) return true;
    std::uint32_t bits = 0;
    int held = 0, inGroup = 0;
    for (const C* p = text; *p && *p != '='; ++p) {
        const int v = Sextet(static_cast<unsigned>(*p));
        if (v < 0) return false;
        bits = (bits << 6) | static_cast<std::uint32_t>(v);
        held += 6;
        inGroup = (inGroup + 1) % 4;
        if (held >= 8) {
            held -= 8;
            if (!sink(static_cast<std::uint8_t>(bits >> held), inGroup)) return false;
        }
    }
    return inGroup != 1;
}

template <class C>
bool DecodeInto(void* out, int size, const C* text, int* written) {
    auto* dst = static_cast<std::uint8_t*>(out);
    int n = 0;
    const bool ok = Decode(text, [&](std::uint8_t b, int) {
        if (!dst || n >= size) return false;
        dst[n++] = b;
        return true;
    });
    if (written) *written = n;
    return ok;
}

}  // namespace

KvString& EncodeBase64(KvString& text, const void* data, int length) { return Encode(text, data, length); }
KvWString& EncodeBase64(KvWString& text, const void* data, int length) { return Encode(text, data, length); }

int DecodedBase64Size(const char* text, int length) { return DecodedSize(text, length); }
int DecodedBase64Size(const char16_t* text, int length) { return DecodedSize(text, length); }

bool DecodeBase64(void* out, int size, const char* text, int* written) {
    return DecodeInto(out, size, text, written);
}
bool DecodeBase64(void* out, int size, const char16_t* text, int* written) {
    return DecodeInto(out, size, text, written);
}

bool DecodeBase64(KvString& out, const char* text) {
    const int room = DecodedBase64Size(text);
    int written = 0;
    const bool ok = DecodeBase64(out.GetBuffer(room), room, text, &written);
    out.ReleaseBuffer(ok ? written : 0);
    return ok;
}

bool DecodeBase64String(char* out, const char* text, int size) {
    if (!out || size <= 0) return false;
    int n = 0;
    // A group of 4 characters yields up to 3 bytes plus the terminator.
    const bool ok = Decode(text, [&](std::uint8_t b, int inGroup) {
        const bool firstOfGroup = inGroup == 2;
        if (firstOfGroup && size - n < 4) return false;
        out[n++] = static_cast<char>(b);
        return true;
    });
    out[n] = 0;
    return ok;
}
