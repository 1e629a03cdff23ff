#include "ui/UiText.h"

#include "basalt/KvStringTableFile.h"

QString loadText(int id) {
    KvWString text;
    return toQString(KvLoadString(id, text));
}

QString loadTextWith(int id, const QString& argument) {
    KvWString format;
    KvLoadString(id, format);
    const KvWString value = toKvWString(argument);
    KvWString text;
    text.Format(format.c_str(), value.c_str());
    return toQString(text);
}

QString loadTextWith(int id, const QString& first, const QString& second) {
    KvWString format;
    KvLoadString(id, format);
    const KvWString one = toKvWString(first);
    const KvWString two = toKvWString(second);
    KvWString text;
    text.Format(format.c_str(), one.c_str(), two.c_str());
    return toQString(text);
}

QString toQString(const KvWString& text) { return QString::fromUtf16(text.c_str(), text.Length()); }

KvWString toKvWString(const QString& text) {
    return KvWString(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<int>(text.size()));
}
