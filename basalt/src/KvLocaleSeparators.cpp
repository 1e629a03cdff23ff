#include "basalt/KvLocaleSeparators.h"

#include <atomic>

#include "basalt/KvLocaleInformation.h"

namespace {

// 0 when nothing is forced, else decimal | thousands << 16.
std::atomic<unsigned> g_forced{0};

}  // namespace

KvSeparators KvLocaleSeparators() {
    const unsigned forced = g_forced.load(std::memory_order_acquire);
    if (forced != 0) return {static_cast<char16_t>(forced & 0xFFFF), static_cast<char16_t>(forced >> 16)};
    // The locale information starts from the environment's locale and SetupLocalize refreshes it.
    const KvLocaleInformationWide& info = LocaleInformationWide();
    KvSeparators s{u'.', info.ThousandSeparator()[0]};
    if (info.DecimalSeparator()[0] != 0) s.decimal = info.DecimalSeparator()[0];
    if (s.thousands == 0 || s.thousands == s.decimal) s.thousands = s.decimal == u',' ? u'.' : u',';
    return s;
}

void KvSetLocaleSeparators(char16_t decimal, char16_t thousands) {
    if (decimal == 0) {
        g_forced.store(0, std::memory_order_release);
        return;
    }
    if (thousands == 0 || thousands == decimal) return;
    g_forced.store(decimal | (static_cast<unsigned>(thousands) << 16), std::memory_order_release);
}
