// KvQtString: Basalt's strings to and from Qt's.
//
// KvWString and QString are both UTF-16, so the wide conversions copy code
// units unchanged (unpaired surrogates included). The narrow ones read and
// write UTF-8; invalid UTF-8 becomes U+FFFD.
#pragma once

#include <QString>

#include "basalt/KvBasicString.h"

QString KvToQString(const KvWString& text);
QString KvToQString(const KvString& utf8);
KvWString KvFromQString(const QString& text);
KvString KvUtf8FromQString(const QString& text);
