#include "basalt/KvPassword.h"

#include "basalt/KvBasicString.h"
#include "basalt/KvDigits.h"
#include "basalt/KvUtf.h"

namespace {

constexpr unsigned kKey = 0xA5;
constexpr int kMaxDigits = 63;

bool CopyOut(const KvWString& result, char16_t* text, int size) {
    if (result.Length() >= size) return false;
    for (int i = 0; i <= result.Length(); ++i) text[i] = result.c_str()[i];
    return true;
}

// True when `bytes` is UTF-8 that survives a round trip through UTF-16.
bool IsUtf8(const KvString& bytes) {
    KvWString wide;
    Utf8ToUtf16(wide, bytes.c_str(), bytes.Length());
    KvString back;
    Utf16ToUtf8(back, wide.c_str(), wide.Length());
    return back == bytes;
}

}  // namespace

bool EncodePassword(char16_t* text, int size) {
    if (!text || size <= 0) return false;
    KvString utf8;
    Utf16ToUtf8(utf8, text);
    if (utf8.Length() * 2 > kMaxDigits) return false;
    KvWString back;
    Utf8ToUtf16(back, utf8.c_str(), utf8.Length());
    if (!(back == KvWString(text))) return false;  // a lone surrogate would be lost
    KvWString out;
    for (int i = 0; i < utf8.Length(); ++i)
        out.AppendFormat(u"%02X", static_cast<unsigned>(static_cast<unsigned char>(utf8[i]) ^ kKey));
    return CopyOut(out, text, size);
}

bool DecodePassword(char16_t* text, int size) {
    if (!text || size <= 0) return false;
    int n = 0;
    while (n < size && text[n]) ++n;
    if (n == size || n % 2 != 0 || n > kMaxDigits) return false;
    KvString utf8;
    for (int i = 0; i < n; i += 2) {
        const int h = HexDigitValue(text[i]), l = HexDigitValue(text[i + 1]);
        if (h < 0 || l < 0 || static_cast<unsigned>(h << 4 | l) == kKey) return false;  // 0 ends a text
        utf8.Append(static_cast<char>(static_cast<unsigned>(h << 4 | l) ^ kKey));
    }
    if (!IsUtf8(utf8)) return false;
    KvWString out;
    Utf8ToUtf16(out, utf8.c_str(), utf8.Length());
    return CopyOut(out, text, size);
}
