#include "basalt/KvIdentifiers.h"

namespace {

constexpr char16_t kForbidden[] = u"'?!\\/<>:\"|*#.";

const char16_t* const kReserved[] = {u"CON",  u"AUX",  u"PRN",  u"NUL",  u"COM1", u"COM2", u"COM3", u"COM4",
                                     u"COM5", u"COM6", u"COM7", u"COM8", u"COM9", u"LPT1", u"LPT2", u"LPT3",
                                     u"LPT4", u"LPT5", u"LPT6", u"LPT7", u"LPT8", u"LPT9"};

const int kBaudrates[] = {110, 300, 600, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};

bool IsForbidden(char16_t c) {
    for (const char16_t* f = kForbidden; *f; ++f)
        if (*f == c) return true;
    return false;
}

bool IsReserved(const char16_t* text) {
    for (const char16_t* name : kReserved)
        if (KvWideChar::Compare(text, name) == 0) return true;
    return false;
}

bool IsKnownRate(int rate) {
    for (int r : kBaudrates)
        if (r == rate) return true;
    return false;
}

}  // namespace

bool IsValidId(const char16_t* text, bool allowSpaces) {
    const int n = KvWideChar::Length(text);
    if (n == 0 || KvWideChar::IsSpace(text[0]) || KvWideChar::IsSpace(text[n - 1])) return false;
    for (int i = 0; i < n; ++i) {
        const char16_t c = text[i];
        if (IsForbidden(c) || (KvWideChar::IsSpace(c) && !allowSpaces)) return false;
    }
    return !IsReserved(text);
}

bool NormalizeId(KvWString& text) {
    for (int i = 0; i < text.Length(); ++i)
        if (IsForbidden(text[i])) text.SetAt(i, u'_');
    if (IsReserved(text.c_str())) {
        KvWString spread;
        for (int i = 0; i < text.Length(); ++i) {
            if (i > 0) spread.Append(u'_');
            spread.Append(text[i]);
        }
        text = static_cast<KvWString&&>(spread);
    }
    return true;
}

int IdBrToBaudrate(int id) { return IsKnownRate(id) ? id : -1; }
int BaudrateToIdBr(int rate) { return IsKnownRate(rate) ? rate : -1; }
