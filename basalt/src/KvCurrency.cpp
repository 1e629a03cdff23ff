#include "basalt/KvCurrency.h"

#include <fstream>
#include <iterator>
#include <string>

#include "basalt/KvLanguage.h"
#include "basalt/KvUtf.h"

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f' || c == u'\v'; }

// The next whitespace-delimited word of `text` from `at`; empty at the end.
KvWString NextWord(const KvWString& text, int& at) {
    while (at < text.Length() && IsBlank(text[at])) ++at;
    const int start = at;
    while (at < text.Length() && !IsBlank(text[at])) ++at;
    return text.Mid(start, at - start);
}

}  // namespace

KvCurrency& KvCurrency::Get() {
    static KvCurrency instance;
    return instance;
}

bool KvCurrency::Set(const char16_t* code) {
    const KvString file = ToUtf8((GetSharePath() + u"currencies.curr").c_str());
    return Set(code, file.c_str());
}

bool KvCurrency::Set(const char16_t* code, const char* file) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (!code || !*code || m_code == code) return !m_code.IsEmpty();
    m_code.Empty();
    m_symbol.Empty();
    if (!file) return false;
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
    KvWString text;
    Utf8ToUtf16(text, bytes.data(), static_cast<int>(bytes.size()));
    int at = 0;
    for (;;) {
        KvWString c = NextWord(text, at);
        KvWString symbol = NextWord(text, at);
        if (symbol.IsEmpty()) return false;
        if (c == code) {
            m_code = static_cast<KvWString&&>(c);
            m_symbol = static_cast<KvWString&&>(symbol);
            return true;
        }
    }
}

void KvCurrency::Reset() {
    std::lock_guard<std::mutex> guard(m_lock);
    m_code.Empty();
    m_symbol.Empty();
}

bool KvCurrency::IsValid() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return !m_code.IsEmpty();
}

KvWString KvCurrency::Code() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_code;
}

KvWString KvCurrency::Symbol() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_symbol;
}
