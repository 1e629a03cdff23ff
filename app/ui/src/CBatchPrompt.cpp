#include "ui/CBatchPrompt.h"

#include "ui/UiText.h"

void CBatchPrompt::showMessage(int textId) { m_messages << loadText(textId); }

bool CBatchPrompt::askYesNo(int textId) {
    m_messages << loadText(textId);
    return false;
}

void CBatchPrompt::showMessageWith(int textId, const KvWString& argument) {
    m_messages << loadTextWith(textId, toQString(argument));
}

bool CBatchPrompt::askYesNoWith(int textId, const KvWString& argument) {
    m_messages << loadTextWith(textId, toQString(argument));
    return false;
}

void CBatchPrompt::showText(const KvWString& text) { m_messages << toQString(text); }
