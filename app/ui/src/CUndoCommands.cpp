#include "ui/CUndoCommands.h"

#include <QAbstractButton>
#include <QAction>
#include <QBoxLayout>
#include <QToolButton>
#include <QWidget>

#include "basalt/KvStringTableFile.h"
#include "basalt/KvTrace.h"
#include "model/CFacilityManager.h"
#include "ui/CUnsavedStatus.h"
#include "ui/UiText.h"

CUndoCommands::CUndoCommands(CFacilityManager& facility, CUnsavedStatus& status, QObject* parent)
    : QObject(parent), m_facility(facility), m_status(status), m_undo(new QAction(this)), m_redo(new QAction(this)) {
    m_undo->setObjectName("undo");
    m_redo->setObjectName("redo");
    m_undo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z)});
    m_redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    for (QAction* action : {m_undo, m_redo}) action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(m_undo, &QAction::triggered, this, &CUndoCommands::undo);
    connect(m_redo, &QAction::triggered, this, &CUndoCommands::redo);
    refresh();
}

void CUndoCommands::attach(QWidget* view) {
    view->addActions({m_undo, m_redo});
    QAbstractButton* back = nullptr;
    for (QAbstractButton* button : view->findChildren<QAbstractButton*>())
        if (button->property("backButton").toBool()) back = button;
    if (!back) return;
    for (QBoxLayout* row : view->findChildren<QBoxLayout*>()) {
        const int at = row->indexOf(back);
        if (at < 0) continue;
        QToolButton* undo = makeButton(true, view);
        QToolButton* redo = makeButton(false, view);
        row->insertWidget(at, redo);
        row->insertWidget(at, undo);
        // Made after the view's own buttons, they would come after Back on Tab: Tab follows the screen.
        QWidget::setTabOrder(undo, redo);
        QWidget::setTabOrder(redo, back);
        return;
    }
}

QToolButton* CUndoCommands::makeButton(bool undo, QWidget* parent) const {
    auto* button = new QToolButton(parent);
    button->setDefaultAction(undo ? m_undo : m_redo);
    button->setObjectName(undo ? "undo" : "redo");
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return button;
}

KvWString CUndoCommands::describe(int textId, int a, int b, int c) {
    KvWString format;
    KvLoadString(textId, format);
    KvWString text;
    text.Format(format.c_str(), a, b, c);
    return text;
}

void CUndoCommands::undo() {
    printk("\n CUndoCommands::undo");
    if (m_facility.undo()) stepped();
}

void CUndoCommands::redo() {
    printk("\n CUndoCommands::redo");
    if (m_facility.redo()) stepped();
}

void CUndoCommands::stepped() {
    m_status.unsaved = !m_facility.history().atSavedState();
    emit facilityChanged();
    refresh();
}

void CUndoCommands::refresh() {
    const CUndoHistory& history = m_facility.history();
    m_undo->setText(loadText(kUndoText));
    m_redo->setText(loadText(kRedoText));
    m_undo->setEnabled(history.canUndo());
    m_redo->setEnabled(history.canRedo());
    m_undo->setToolTip(history.canUndo() ? loadTextWith(kUndoTipText, toQString(history.undoDescription()))
                                         : loadText(kNothingToUndoText));
    m_redo->setToolTip(history.canRedo() ? loadTextWith(kRedoTipText, toQString(history.redoDescription()))
                                         : loadText(kNothingToRedoText));
}
