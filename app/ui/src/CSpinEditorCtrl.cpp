#include "ui/CSpinEditorCtrl.h"

#include <QKeyEvent>

#include "basalt/KvTrace.h"
#include "ui/CNumEdit.h"

CSpinEditorCtrl::CSpinEditorCtrl(QWidget* parent) : CNumberField("zoneEditor", kLeastZone, kMostZone, parent) {
    setObjectName("CSpinEditorCtrl");
    setAutoFillBackground(true);
    edit()->installEventFilter(this);
}

// Enter is taken here, whole: passed on, it would reach the host as a second confirmation.
bool CSpinEditorCtrl::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            sendTo();
            return true;
        }
    }
    return CNumberField::eventFilter(watched, event);
}

void CSpinEditorCtrl::SetSpinRange() { setRange(kLeastZone, kMostZone); }

void CSpinEditorCtrl::SetValue(int value) {
    setValue(value);
    edit()->selectAll();
}

void CSpinEditorCtrl::sendTo() {
    printk("\n CSpinEditorCtrl::sendTo");
    if (hasValue()) emit zoneConfirmed(GetValue());
}
