#include "mica/KvQtString.h"

#include <QByteArray>

QString KvToQString(const KvWString& text) { return QString::fromUtf16(text.c_str(), text.Length()); }

QString KvToQString(const KvString& utf8) { return QString::fromUtf8(utf8.c_str(), utf8.Length()); }

KvWString KvFromQString(const QString& text) {
    return KvWString(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<int>(text.size()));
}

KvString KvUtf8FromQString(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return KvString(bytes.constData(), static_cast<int>(bytes.size()));
}
