// KvCurrency: the process-wide currency, a code ("EUR") and its symbol ("€").
//
// The pairs come from "currencies.curr" in GetSharePath(): UTF-8 text of
// whitespace-separated pairs, currency code then symbol. Thread-safe.
#pragma once

#include <mutex>

#include "basalt/KvBasicString.h"

class KvCurrency {
public:
    KvCurrency() = default;
    virtual ~KvCurrency() = default;
    KvCurrency(const KvCurrency&) = delete;
    KvCurrency& operator=(const KvCurrency&) = delete;

    static KvCurrency& Get();

    // Selects `code` from the share directory's currency file. An empty code or the
    // current one changes nothing. Otherwise the currency is reset first, so a
    // missing file or an unknown code leaves it invalid. Returns IsValid().
    bool Set(const char16_t* code);
    // The same with an explicit currency file (8-bit path, passed unchanged).
    bool Set(const char16_t* code, const char* file);
    void Reset();

    bool IsValid() const;
    KvWString Code() const;
    KvWString Symbol() const;

private:
    mutable std::mutex m_lock;
    KvWString m_code;
    KvWString m_symbol;
};
