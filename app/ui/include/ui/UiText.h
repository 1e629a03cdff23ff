// UiText: the user-interface texts, by string-table number.
//
// Every title, label and message of the windows comes through loadText; a
// format with one %s goes through Basalt's formatter, never QString::arg on
// translated text (a translation may move or repeat its placeholder).
#pragma once

#include <QString>

#include "basalt/KvBasicString.h"

// Text `id` of the loaded string table; the "IDS_" placeholder when it has none.
QString loadText(int id);
// Text `id` as a format with one %s filled with `argument`.
QString loadTextWith(int id, const QString& argument);
// Text `id` as a format with two %s.
QString loadTextWith(int id, const QString& first, const QString& second);

QString toQString(const KvWString& text);
KvWString toKvWString(const QString& text);
