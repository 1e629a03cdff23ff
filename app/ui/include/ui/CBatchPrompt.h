// CBatchPrompt: the prompt of a run nobody watches (a screenshot taken from the command
// line): messages are collected for the caller to print instead of shown in a box that
// would wait for a click for ever, and every question is answered No.
#pragma once

#include <QStringList>

#include "seams/IUpdatePrompt.h"

class CBatchPrompt : public IUpdatePrompt {
public:
    void showMessage(int textId) override;
    bool askYesNo(int textId) override;
    void showMessageWith(int textId, const KvWString& argument) override;
    bool askYesNoWith(int textId, const KvWString& argument) override;
    void showText(const KvWString& text) override;

    // Everything the program said, in order; not empty when the run did not go as asked.
    const QStringList& messages() const { return m_messages; }

private:
    QStringList m_messages;
};
