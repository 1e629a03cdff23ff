#include "ui/CUndoCommands.h"

#include <QAbstractButton>
#include <QAction>
#include <QTest>
#include <gtest/gtest.h>

#include "FrameFixture.h"
#include "model/CFacilityAction.h"
#include "model/CFacilityManager.h"
#include "ui/CDragNDropDlg.h"
#include "ui/CExtendedControlsDlg.h"
#include "ui/CTreeListCtrl.h"

namespace {

// What an editor does for one Delete of a loop row.
void deleteLoop(CMainFrame& f, int panel, int loop) {
    CFacilityAction action(f.facility(), CUndoCommands::describe(CUndoCommands::kDeleteLoopText, loop, panel));
    ASSERT_TRUE(f.facility().delLoopFromPanel(panel, loop));
    action.commit();
    f.unsavedStatus().markChanged();
}

// Keys pressed while the focus is inside `view` (on `view` itself when it takes the focus, else
// on its first button) and its window is active.
void press(QWidget* view, const QKeySequence& keys) {
    QWidget* inside = view->focusPolicy() != Qt::NoFocus ? view : view->findChild<QAbstractButton*>();
    ASSERT_NE(inside, nullptr);
    view->window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view->window()));
    inside->setFocus();
    QTest::keySequence(inside, keys);
}

}  // namespace

using CUndoCommandsTest = FrameFixture;

TEST_F(CUndoCommandsTest, ShortcutsOfBothEditorsStepThroughTheHistoryAndKeepUnsavedExact) {
    CMainFrame& f = frameWithSample();
    CUndoCommands& undo = f.undoCommands();
    const int panel = f.facility().getPanelId(0);
    const int loop = f.facility().getLoopAddress(panel, 0);
    const int loops = f.facility().getNumOfLoops(panel);
    EXPECT_FALSE(undo.undoAction()->isEnabled());
    EXPECT_EQ(undo.undoAction()->toolTip(), "Nothing to undo");

    f.switchToLoops();
    deleteLoop(f, panel, loop);
    EXPECT_EQ(undo.undoAction()->toolTip(), QString("Undo: delete loop %1 of panel %2").arg(loop).arg(panel));
    press(f.findChild<CExtendedControlsDlg*>(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(f.facility().getNumOfLoops(panel), loops);
    EXPECT_FALSE(f.unsavedStatus().unsaved);  // back at the opened file
    EXPECT_EQ(undo.redoAction()->toolTip(), QString("Redo: delete loop %1 of panel %2").arg(loop).arg(panel));

    f.switchToEvents();
    press(f.findChild<CDragNDropDlg*>(), QKeySequence(Qt::CTRL | Qt::Key_Y));
    EXPECT_EQ(f.facility().getNumOfLoops(panel), loops - 1);
    EXPECT_TRUE(f.unsavedStatus().unsaved);
    press(f.findChild<CDragNDropDlg*>(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    press(f.findChild<CDragNDropDlg*>(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    EXPECT_EQ(f.facility().getNumOfLoops(panel), loops - 1);
}

TEST_F(CUndoCommandsTest, SaveKeepsTheHistoryAndNewEmptiesIt) {
    CMainFrame& f = frameWithSample();
    QTemporaryDir dir;
    files.m_save.push_back(dir.filePath("saved.kvg"));
    const int panel = f.facility().getPanelId(0);
    deleteLoop(f, panel, f.facility().getLoopAddress(panel, 0));
    ASSERT_TRUE(f.fileCommands().fileSaveAs());
    ASSERT_TRUE(f.undoCommands().undoAction()->isEnabled());
    f.undoCommands().undo();
    EXPECT_TRUE(f.unsavedStatus().unsaved);
    f.undoCommands().redo();
    EXPECT_FALSE(f.unsavedStatus().unsaved);

    ASSERT_TRUE(f.fileCommands().fileNew());
    EXPECT_FALSE(f.undoCommands().undoAction()->isEnabled());
}

TEST_F(CUndoCommandsTest, AReceivedPanelIsOneStepAndAFailedReceiveNone) {
    CMainFrame& f = frameWithSample();
    ModalAnswerer waits("KvWaitDlg", [](QWidget*) {});
    prompt.answer(true);  // should the panel's address be taken: replace that panel
    f.usbDownload();
    ASSERT_TRUE(f.unsavedStatus().unsaved);
    EXPECT_EQ(f.undoCommands().undoAction()->toolTip(), QString("Undo: receive panel %1").arg(f.usbHandler().panel()));
    f.undoCommands().undo();
    EXPECT_TRUE(f.facility().history().atSavedState());
    EXPECT_FALSE(f.unsavedStatus().unsaved);
}

TEST_F(CUndoCommandsTest, AFailedReceiveLeavesNoStep) {
    CMainFrame& f = frame({}, "absent");
    ASSERT_TRUE(f.fileCommands().openFile(sampleFacility()));
    f.usbDownload();
    EXPECT_FALSE(f.undoCommands().undoAction()->isEnabled());
    EXPECT_TRUE(f.facility().history().atSavedState());
}

TEST_F(CUndoCommandsTest, RuleChangesOfTheEventActionEditorAreStepsWithButtons) {
    CMainFrame& f = frameWithSample();
    f.switchToEvents();
    auto* events = f.findChild<CDragNDropDlg*>();
    const int rule = f.facility().getEventActionId(0);
    const int delay = f.facility().getEventActionDelay(rule);
    ASSERT_TRUE(events->deleteRule(rule));
    auto* undo = events->findChild<QAbstractButton*>("undo");
    ASSERT_NE(undo, nullptr);
    EXPECT_EQ(undo->toolTip(), QString("Undo: delete rule %1").arg(rule));
    undo->click();
    EXPECT_EQ(f.facility().getEventActionDelay(rule), delay);
    EXPECT_TRUE(events->selectEventActionPair(rule));
    EXPECT_FALSE(f.unsavedStatus().unsaved);
    events->findChild<QAbstractButton*>("redo")->click();
    EXPECT_FALSE(events->selectEventActionPair(rule));
}

TEST_F(CUndoCommandsTest, CtrlZAfterDeletingAPanelRowBringsTheRowsBackSelected) {
    CMainFrame& f = frameWithSample();
    f.switchToLoops();
    auto* loops = f.findChild<CExtendedControlsDlg*>();
    const int panel = f.facility().getPanelId(0);
    const int loop = f.facility().getLoopAddress(panel, 0);
    const CTreeListModel::Key row{CTreeListModel::kPanel, panel, 0, 0};
    loops->tree().selectKeys({row}, row);
    loops->OnBnClickedBtDelete();
    ASSERT_EQ(f.facility().getPanelLabel(panel), nullptr);
    EXPECT_EQ(f.undoCommands().undoAction()->toolTip(), QString("Undo: delete panel %1").arg(panel));

    press(&loops->tree(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    ASSERT_NE(f.facility().getPanelLabel(panel), nullptr);
    const QList<CTreeListModel::Key> selected = loops->tree().selectedKeys();
    EXPECT_TRUE(selected.contains(row));
    EXPECT_TRUE(selected.contains(CTreeListModel::Key{CTreeListModel::kLoop, panel, loop, 0}));
    EXPECT_FALSE(f.unsavedStatus().unsaved);
}
