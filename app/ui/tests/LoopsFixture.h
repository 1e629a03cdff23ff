// LoopsFixture: the main frame on the loops editor, with ways to choose rows and answer its dialogs.
#pragma once

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QCoreApplication>
#include <QLineEdit>
#include <functional>

#include "FrameFixture.h"
#include "ui/CExtendedControlsDlg.h"
#include "ui/CNumEdit.h"
#include "ui/CTreeListCtrl.h"

using Key = CTreeListModel::Key;

inline Key panelRow(int panel) { return {CTreeListModel::kPanel, panel, 0, 0}; }
inline Key loopRow(int panel, int loop) { return {CTreeListModel::kLoop, panel, loop, 0}; }
inline Key elementRow(int panel, int loop, int element) { return {CTreeListModel::kElement, panel, loop, element}; }
inline Key rootRow() { return {CTreeListModel::kRoot, 0, 0, 0}; }

// Sets the number box `name` of `dialog`.
inline void setNumber(QWidget* dialog, const char* name, int value) {
    auto* edit = dialog->findChild<CNumEdit*>(name);
    ASSERT_NE(edit, nullptr) << name;
    edit->SetValue(value);
}

// An answer to CAddElements: type, first field, second field (last address or number of devices), then OK.
inline std::function<void(QWidget*)> addElements(int type, int first, int second) {
    return [=](QWidget* dialog) {
        dialog->findChild<QComboBox*>("type")->setCurrentIndex(type - 1);
        setNumber(dialog, "first", first);
        setNumber(dialog, "second", second);
        clickButton("1")(dialog);
    };
}

// An answer to CAddLoop or CModifyPanel: the address, then OK.
inline std::function<void(QWidget*)> enterAddress(int address) {
    return [=](QWidget* dialog) {
        setNumber(dialog, "address", address);
        clickButton("1")(dialog);
    };
}

// Clicks `button` of the window that opened `dialog`, a moment after `dialog` has closed: how a
// test answers the loop dialog again once its elements dialog is gone. The click is bound to that
// window, so one that never comes back cannot leave a stray click for a later test in the process.
inline void clickOpenerLater(QWidget* dialog, const QString& button) {
    QWidget* opener = dialog->parentWidget();
    ASSERT_NE(opener, nullptr) << "no window opened " << dialog->objectName().toStdString();
    QTimer::singleShot(50, opener, [opener, button] { clickButton(button)(opener); });
}

class LoopsFixture : public FrameFixture {
protected:
    CExtendedControlsDlg& loops() {
        CMainFrame& f = m_frame ? *m_frame : frame();
        if (f.view() != CMainFrame::View::Loops) f.switchToLoops();
        return *f.findChild<CExtendedControlsDlg*>();
    }
    CExtendedControlsDlg& loopsWithSample() {
        frameWithSample();
        return loops();
    }
    CTreeListCtrl& tree() { return loops().tree(); }
    CTreeListModel& model() { return loops().model(); }
    CFacilityManager& facility() { return m_frame->facility(); }
    void choose(const Key& row) {
        ASSERT_TRUE(model().indexOf(row).isValid()) << "no row " << row.level << "/" << row.panel << "/" << row.loop << "/" << row.element;
        tree().selectKeys({row}, row);
    }
    void press(const char* button) {
        auto* target = loops().findChild<QAbstractButton*>(button);
        ASSERT_NE(target, nullptr) << button;
        target->click();
    }
    std::vector<int> addresses(int panel, int loop) {
        std::vector<int> result;
        for (int i = 0; i < facility().getNumberOfElementsInLoop(panel, loop); ++i)
            result.push_back(facility().getElementAddress(panel, loop, i));
        return result;
    }
    QString cell(const Key& row, int column) { return model().indexOf(row, column).data().toString(); }
    // Opens the in-place editor of `column` on `row` and returns it.
    template <class Editor>
    Editor* openEditor(const Key& row, int column, const char* name) {
        // Editors closed before are deleted first, so they cannot be mistaken for this one.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const QModelIndex at = model().indexOf(row, column);
        tree().setCurrentIndex(at);
        tree().edit(at);
        auto* editor = qobject_cast<Editor*>(tree().indexWidget(at));
        EXPECT_NE(editor, nullptr) << name;
        EXPECT_EQ(editor ? editor->objectName() : QString(), name);
        return editor;
    }
    static void settle() {
        for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    }
};
