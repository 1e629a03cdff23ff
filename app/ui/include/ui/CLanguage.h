// CLanguage: the user-interface language and its string table.
//
// The code comes from the user's locale (LANGUAGE, LC_ALL, LC_MESSAGES, LANG,
// the first one set; its first two letters). "C" and "POSIX" mean English; any
// code other than en, ca, es, it, fr becomes en. The table of that code must
// load: there is no second attempt with English, so a missing translation is
// noticed rather than hidden.
#pragma once

#include <QString>
#include <QStringList>

class CLanguage {
public:
    // The five codes, in the order they are tried.
    static QStringList supportedCodes();
    // The code of a locale value ("ca_ES.UTF-8" gives "ca"); "en" for anything unsupported.
    static QString codeOf(const QString& localeValue);
    // The code of the user's locale, from the environment.
    static QString codeFromEnvironment();
    // Loads "cairn.<code>.stc" from `folder` (ending in "/"), English behind it for single
    // missing texts. False when the file of `code` cannot be loaded.
    static bool select(const QString& code, const QString& folder);
    // The folder of the program's data files (Basalt's share path).
    static QString shareFolder();
};
