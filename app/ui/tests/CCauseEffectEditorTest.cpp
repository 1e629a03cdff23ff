// The matrix window as the event-action editor opens it, on the sample facility.
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

#include "FrameFixture.h"
#include "ui/CCauseEffectView.h"
#include "ui/CDragNDropDlg.h"
#include "ui/CListCtrlEx.h"
#include "ui/CMatrixTableModel.h"

namespace {

// The matrix as the editor opens it, on the sample facility.
class CCauseEffectEditorTest : public FrameFixture {
protected:
    CDragNDropDlg& editor() {
        CMainFrame& f = frameWithSample();
        f.switchToEvents();
        return *f.findChild<CDragNDropDlg*>("CDragNDropDlg");
    }
    static void clickCell(CCauseEffectView& view, int rule, bool twice) {
        const QModelIndex index = view.model().indexOfRule(rule);
        ASSERT_TRUE(index.isValid());
        view.table().scrollTo(index);
        const QPoint at = view.table().visualRect(index).center();
        // A double-click is a click and then the double-click event, as the platform sends them.
        QTest::mouseClick(view.table().viewport(), Qt::LeftButton, {}, at);
        if (twice) QTest::mouseDClick(view.table().viewport(), Qt::LeftButton, {}, at);
    }
};

TEST_F(CCauseEffectEditorTest, TheEditorsButtonOpensTheMatrixOfItsFacility) {
    CDragNDropDlg& view = editor();
    view.findChild<QPushButton*>("matrix")->click();
    auto* matrix = view.findChild<CCauseEffectView*>("CCauseEffectView");
    ASSERT_NE(matrix, nullptr);
    EXPECT_TRUE(matrix->isVisible());
    EXPECT_EQ(matrix->model().matrix().cells().size(), 3u);
    EXPECT_EQ(matrix->model().rowCount(), 3);
    EXPECT_EQ(matrix->model().columnCount(), 3);
    EXPECT_EQ(matrix->model().indexOfRule(2).data().toString(), "30");
}

TEST_F(CCauseEffectEditorTest, ACellSelectsItsPairAndDoubleClickEditsTheRule) {
    CDragNDropDlg& view = editor();
    CCauseEffectView& matrix = view.showMatrix();
    clickCell(matrix, 3, false);
    EXPECT_EQ(view.inputList().selectedRule(), 3);
    EXPECT_EQ(view.outputList().selectedRule(), 3);

    ModalAnswerer edit("CEventEdit", [](QWidget* w) {
        w->findChild<QSpinBox*>("delay")->setValue(45);
        clickButton("1")(w);
    });
    clickCell(matrix, 2, true);
    // The edit is queued behind the click; the dialog runs modally once it starts.
    for (int i = 0; i < 500 && edit.seen() == 0; ++i) QTest::qWait(10);
    EXPECT_EQ(edit.seen(), 1);
    EXPECT_EQ(matrix.model().indexOfRule(2).data().toString(), "45");
    EXPECT_EQ(m_frame->facility().getEventActionDelay(2), 45);
    EXPECT_TRUE(m_frame->unsavedStatus().unsaved);
    // The edited rule stays the one in hand.
    EXPECT_EQ(matrix.table().currentIndex(), matrix.model().indexOfRule(2));
}

TEST_F(CCauseEffectEditorTest, ADeletedRuleLeavesTheMatrix) {
    CDragNDropDlg& view = editor();
    CCauseEffectView& matrix = view.showMatrix();
    ASSERT_TRUE(view.deleteRule(1));
    EXPECT_FALSE(matrix.model().indexOfRule(1).isValid());
    EXPECT_EQ(matrix.model().matrix().cells().size(), 2u);
}

}  // namespace
