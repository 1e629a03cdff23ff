// CQtPrompt: the program's message boxes, questions and panel choice.
//
// Message boxes carry the product name (68) as caption and a string-table
// text; questions answer with Yes (401) or No (402), No being the default.
// Every call may come from a transfer's worker thread: it is then handed to
// the user-interface thread, which shows the box over whatever modal window
// is up (the wait dialog), and the worker waits for the answer.
#pragma once

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <functional>

#include "seams/IUpdatePrompt.h"

class CQtPrompt : public QObject, public IUpdatePrompt {
    Q_OBJECT
public:
    // Create on the user-interface thread. `window` (may be null, settable later) parents the boxes.
    explicit CQtPrompt(QWidget* window = nullptr);
    void setWindow(QWidget* window) { m_window = window; }

    void showMessage(int textId) override;
    bool askYesNo(int textId) override;
    void showMessageWith(int textId, const KvWString& argument) override;
    bool askYesNoWith(int textId, const KvWString& argument) override;
    bool choosePanels(CFacilityManager& facility, bool several) override;
    void showText(const KvWString& text) override;

    // A message box built as the prompt shows it; `question` gives Yes and No buttons.
    QMessageBox* makeBox(const QString& text, bool question);

private:
    void tell(const QString& text);
    bool ask(const QString& text);
    // Runs `call` on the user-interface thread and returns when it is done.
    void onUiThread(const std::function<void()>& call);
    QWidget* parentWindow() const;

    QPointer<QWidget> m_window;
};
