#include "ui/CQtPrompt.h"

#include <QApplication>
#include <QPushButton>
#include <QThread>
#include <memory>

#include "basalt/KvTrace.h"
#include "ui/CSelectPanels.h"
#include "ui/UiText.h"

CQtPrompt::CQtPrompt(QWidget* window) : m_window(window) {}

void CQtPrompt::showMessage(int textId) { tell(loadText(textId)); }

bool CQtPrompt::askYesNo(int textId) { return ask(loadText(textId)); }

void CQtPrompt::showMessageWith(int textId, const KvWString& argument) {
    tell(loadTextWith(textId, toQString(argument)));
}

bool CQtPrompt::askYesNoWith(int textId, const KvWString& argument) {
    return ask(loadTextWith(textId, toQString(argument)));
}

void CQtPrompt::showText(const KvWString& text) { tell(toQString(text)); }

bool CQtPrompt::choosePanels(CFacilityManager& facility, bool several) {
    bool chosen = false;
    onUiThread([&] {
        CSelectPanels dialog(facility, several, *this, parentWindow());
        chosen = dialog.exec() == QDialog::Accepted;
    });
    return chosen;
}

QMessageBox* CQtPrompt::makeBox(const QString& text, bool question) {
    auto* box = new QMessageBox(question ? QMessageBox::Question : QMessageBox::Information, loadText(68), text,
                                QMessageBox::NoButton, parentWindow());
    box->setObjectName("QMessageBox");
    if (question) {
        box->addButton(loadText(401), QMessageBox::YesRole)->setObjectName("yes");
        QPushButton* no = box->addButton(loadText(402), QMessageBox::NoRole);
        no->setObjectName("no");
        box->setDefaultButton(no);
        box->setEscapeButton(no);
    } else {
        box->addButton(loadText(87), QMessageBox::AcceptRole)->setObjectName("ok");
    }
    return box;
}

void CQtPrompt::tell(const QString& text) {
    printk("\n CQtPrompt::showMessage");
    onUiThread([&] {
        std::unique_ptr<QMessageBox> box(makeBox(text, false));
        box->exec();
    });
}

bool CQtPrompt::ask(const QString& text) {
    printk("\n CQtPrompt::askYesNo");
    bool yes = false;
    onUiThread([&] {
        std::unique_ptr<QMessageBox> box(makeBox(text, true));
        box->exec();
        yes = box->buttonRole(box->clickedButton()) == QMessageBox::YesRole;
    });
    return yes;
}

void CQtPrompt::onUiThread(const std::function<void()>& call) {
    if (QThread::currentThread() == thread()) {
        call();
        return;
    }
    QMetaObject::invokeMethod(this, call, Qt::BlockingQueuedConnection);
}

QWidget* CQtPrompt::parentWindow() const {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return m_window;
}
