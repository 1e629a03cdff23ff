#include "basalt/KvLocaleSeparators.h"

#include <langinfo.h>
#include <locale.h>

#include <atomic>
#include <cstring>

#include "basalt/KvUtf.h"

namespace {

// 0 when nothing is forced, else decimal | thousands << 16.
std::atomic<unsigned> g_forced{0};

char16_t FirstUnit(const char* text, bool utf8) {
    if (!text || !*text) return 0;
    if (!utf8) return static_cast<unsigned char>(text[0]) < 0x80 ? static_cast<char16_t>(text[0]) : 0;
    const KvWString w = ToWide(text);
    return w.IsEmpty() ? 0 : w[0];
}

KvSeparators ReadEnvironmentLocale() {
    KvSeparators s{u'.', 0};
    if (locale_t loc = newlocale(LC_NUMERIC_MASK | LC_CTYPE_MASK, "", static_cast<locale_t>(0))) {
        const bool utf8 = std::strcmp(nl_langinfo_l(CODESET, loc), "UTF-8") == 0;
        if (char16_t d = FirstUnit(nl_langinfo_l(RADIXCHAR, loc), utf8)) s.decimal = d;
        s.thousands = FirstUnit(nl_langinfo_l(THOUSEP, loc), utf8);
        freelocale(loc);
    }
    if (s.thousands == 0 || s.thousands == s.decimal) s.thousands = s.decimal == u',' ? u'.' : u',';
    return s;
}

}  // namespace

KvSeparators KvLocaleSeparators() {
    const unsigned forced = g_forced.load(std::memory_order_acquire);
    if (forced != 0) return {static_cast<char16_t>(forced & 0xFFFF), static_cast<char16_t>(forced >> 16)};
    static const KvSeparators environment = ReadEnvironmentLocale();
    return environment;
}

void KvSetLocaleSeparators(char16_t decimal, char16_t thousands) {
    if (decimal == 0) {
        g_forced.store(0, std::memory_order_release);
        return;
    }
    if (thousands == 0 || thousands == decimal) return;
    g_forced.store(decimal | (static_cast<unsigned>(thousands) << 16), std::memory_order_release);
}
