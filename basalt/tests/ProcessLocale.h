// Sets the whole process locale for a test, as the desktop program does at
// start-up, and puts the previous one back.
#pragma once

#include <clocale>
#include <string>

class ProcessLocale {
public:
    // The locales with a decimal comma the round-trip tests run under;
    // scripts/install-deps generates them.
    static constexpr const char* kDecimalComma[] = {"es_ES.UTF-8", "fr_FR.UTF-8", "de_DE.UTF-8"};

    explicit ProcessLocale(const char* name) : m_saved(std::setlocale(LC_ALL, nullptr)) {
        m_ok = std::setlocale(LC_ALL, name) != nullptr;
    }
    ~ProcessLocale() { std::setlocale(LC_ALL, m_saved.c_str()); }
    ProcessLocale(const ProcessLocale&) = delete;
    ProcessLocale& operator=(const ProcessLocale&) = delete;
    // False when the locale is not installed (run scripts/install-deps).
    bool ok() const { return m_ok; }

private:
    std::string m_saved;
    bool m_ok = false;
};
