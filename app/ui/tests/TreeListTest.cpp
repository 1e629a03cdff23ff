#include <QAction>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "LoopsFixture.h"
#include "model/CFacilityManager.h"
#include "ui/CUndoCommands.h"
#include "ui/CNumSpinCtrl.h"
#include "ui/CSpinEditorCtrl.h"
#include "ui/UiText.h"

// ---- number box and spin buttons ----

TEST(CNumEditTest, TypingKeepsUnfinishedSignsAndPutsBackWhatDoesNotRead) {
    ScriptedUiPrompt prompt;
    CNumEdit edit;
    edit.SetRange(-5, 250);
    edit.show();
    QTest::keyClicks(&edit, "-");
    EXPECT_EQ(edit.text(), "-");
    edit.clear();
    QTest::keyClicks(&edit, "1 2");
    EXPECT_EQ(edit.text(), "12");
    QTest::keyClicks(&edit, "a");
    EXPECT_EQ(edit.text(), "12");
    EXPECT_EQ(edit.selectedText(), "12");
    EXPECT_TRUE(prompt.messages().empty());

    QTest::keyClicks(&edit, "9");  // typed ahead of the refusal: dropped with it
    EXPECT_EQ(edit.text(), "12");
    QCoreApplication::processEvents();
    edit.Verbose(&prompt);
    edit.setCursorPosition(2);
    QTest::keyClicks(&edit, "9");  // 129 is fine
    QTest::keyClick(&edit, Qt::Key_End);
    QTest::keyClicks(&edit, "9");  // 1299 is not
    QCoreApplication::processEvents();
    EXPECT_EQ(edit.text(), "129");
    edit.setCursorPosition(3);
    QTest::keyClicks(&edit, "x");
    EXPECT_EQ(prompt.messages(), std::vector<int>({72, 73}));
    EXPECT_EQ(edit.IsValid("+"), CNumEdit::kValid);
    EXPECT_EQ(edit.IsValid("-6"), CNumEdit::kOutOfRange);
    EXPECT_EQ(edit.IsValid("3 "), CNumEdit::kNotANumber);
}

TEST(CNumEditTest, SpinButtonsStepTheBuddyAndNeverStopAtTheirOwnEnds) {
    CNumEdit edit;
    CNumSpinCtrl spin;
    spin.SetBuddy(&edit);
    spin.SetRange(1, 8);
    spin.SetPos(7);
    spin.step(1);
    spin.step(1);
    EXPECT_EQ(spin.GetPos(), 8);
    int low = 0, high = 0;
    spin.GetRange(low, high);
    EXPECT_EQ(high, 8);
    CNumSpinCtrl wide;
    wide.SetBuddy(&edit);
    wide.SetDelta(100);
    for (int i = 0; i < 3; ++i) wide.step(1);
    EXPECT_EQ(wide.position(), 800);
    wide.step(1);  // 900 is within one step of 1000
    EXPECT_EQ(wide.position(), 500);
    for (int i = 0; i < 4; ++i) wide.step(-1);
    EXPECT_EQ(wide.position(), 500);
    EXPECT_EQ(wide.GetPos(), 1);
}

TEST(CNumEditTest, ZoneEditorTakesOneTo250AndConfirmsWithEnter) {
    CSpinEditorCtrl zone;
    zone.show();
    std::vector<int> confirmed;
    QObject::connect(&zone, &CSpinEditorCtrl::zoneConfirmed, [&](int z) { confirmed.push_back(z); });
    zone.SetValue(0);
    EXPECT_EQ(zone.GetValue(), 1);
    zone.SetValue(300);
    QTest::keyClick(zone.edit(), Qt::Key_Return);
    EXPECT_EQ(confirmed, std::vector<int>({250}));
}

// ---- the tree-list on the loops editor ----

using TreeListTest = LoopsFixture;

TEST_F(TreeListTest, ColumnsShowTheFacilityWithItsColoursAndPictures) {
    loopsWithSample();
    const Key dual = elementRow(1, 1, 4);
    EXPECT_EQ(model().headerData(1, Qt::Horizontal).toString(), "Type");
    EXPECT_EQ(cell(rootRow(), 0), "Facility");
    EXPECT_EQ(cell(panelRow(1), 0), "1 - Main building");
    EXPECT_EQ(cell(loopRow(1, 2), 0), "Loop 2");
    EXPECT_EQ(cell(dual, 0), "Element 4");
    EXPECT_EQ(cell(dual, 1), "Dual zone module");
    EXPECT_EQ(cell(dual, 3), "2");
    EXPECT_EQ(cell(dual, 4), "Stairs & lifts");
    EXPECT_EQ(cell(elementRow(1, 2, 4), 1), loadText(245));  // type 16
    EXPECT_EQ(model().typeNames().at(14), loadText(246));
    EXPECT_EQ(model().indexOf(dual, 1).data(Qt::BackgroundRole).value<QColor>(), QColor(255, 255, 230));
    EXPECT_EQ(model().indexOf(dual, 4).data(Qt::BackgroundRole).value<QColor>(), QColor(236, 236, 236));
    EXPECT_EQ(model().indexOf(dual, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(0, 0, 136));
    EXPECT_FALSE(model().indexOf(dual, 0).data(Qt::DecorationRole).value<QIcon>().isNull());
    EXPECT_TRUE(model().flags(model().indexOf(dual, 2)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model().flags(model().indexOf(dual, 0)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model().flags(model().indexOf(loopRow(1, 1), 2)) & Qt::ItemIsEditable);
    EXPECT_EQ(tree().indentation(), 16);
}

TEST_F(TreeListTest, TypeChangeRebuildsTheDeviceAndRefusesWhatDoesNotFit) {
    loopsWithSample();
    // The middle of the dual input/output module at 6..9 becomes an optical detector: the whole device does.
    auto* combo = openEditor<QComboBox>(elementRow(1, 1, 7), 1, "typeSelector");
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->count(), 18);
    EXPECT_EQ(combo->itemText(15), loadText(245));
    const auto picture = [this](const Key& row) {
        return model().indexOf(row).data(Qt::DecorationRole).value<QIcon>().cacheKey();
    };
    const qint64 shown = picture(elementRow(1, 1, 7));
    combo->setCurrentIndex(0);
    EXPECT_EQ(facility().getElementType(1, 1, 7), 13);  // a preview only
    EXPECT_NE(picture(elementRow(1, 1, 7)), shown);
    emit combo->activated(0);
    settle();
    EXPECT_EQ(addresses(1, 1), std::vector<int>({1, 2, 3, 4, 5, 6, 10}));
    EXPECT_EQ(facility().getElementType(1, 1, 6), 1);
    EXPECT_EQ(facility().getElementCompositeMode(1, 1, 6), 0);
    EXPECT_EQ(toQString(*facility().getElementDescription(1, 1, 6)), "Optical detector 1");
    EXPECT_TRUE(m_frame->unsavedStatus().unsaved);

    // And back to a dual zone module: 6 and 7.
    combo = openEditor<QComboBox>(elementRow(1, 1, 6), 1, "typeSelector");
    combo->setCurrentIndex(6);
    emit combo->activated(6);
    settle();
    EXPECT_EQ(addresses(1, 1), std::vector<int>({1, 2, 3, 4, 5, 6, 7, 10}));
    EXPECT_EQ(facility().getElementCompositeMode(1, 1, 7), 3);
    EXPECT_EQ(facility().getElementGenericType(1, 1, 7), 5);
    EXPECT_EQ(facility().getElementZone(1, 1, 7), 3);
    EXPECT_EQ(tree().currentKey().element, 6);

    // A two-address type at 250 is refused and the list shows the old type again.
    facility().addElementToLoop(1, 1, 250, 2, 0, KvWString(u"Element 250"));
    loops().populate();
    combo = openEditor<QComboBox>(elementRow(1, 1, 250), 1, "typeSelector");
    const qint64 heat = picture(elementRow(1, 1, 250));
    combo->setCurrentIndex(8);
    emit combo->activated(8);
    settle();
    EXPECT_EQ(prompt.messages(), std::vector<int>({249}));
    EXPECT_EQ(combo->currentIndex(), 1);
    EXPECT_EQ(picture(elementRow(1, 1, 250)), heat);
    EXPECT_EQ(facility().getElementType(1, 1, 250), 2);
    EXPECT_EQ(facility().getElementType(1, 1, 251), 0);
}

// On the largest facilities a rebuild of the whole tree is too slow for an edit: a type change
// touches its own loop's rows only, and Undo still brings the old device back as one step.
TEST_F(TreeListTest, TypeChangeRedrawsOnlyItsLoopAndUndoesInOneStep) {
    loopsWithSample();
    loops().OnBnClickedBtExpand();
    const QPersistentModelIndex otherLoop = model().indexOf(elementRow(1, 2, 4), 1);
    const QPersistentModelIndex ownLoop = model().indexOf(loopRow(1, 1));
    QSignalSpy resets(&model(), &QAbstractItemModel::modelReset);
    auto* combo = openEditor<QComboBox>(elementRow(1, 1, 8), 1, "typeSelector");
    ASSERT_NE(combo, nullptr);
    combo->setCurrentIndex(6);
    emit combo->activated(6);  // the four-address module at 6..9 becomes a dual zone module at 6..7
    settle();
    EXPECT_EQ(resets.count(), 0);
    ASSERT_TRUE(otherLoop.isValid());
    EXPECT_EQ(otherLoop.data().toString(), loadText(245));
    ASSERT_TRUE(ownLoop.isValid());
    EXPECT_TRUE(tree().isExpanded(ownLoop));
    EXPECT_EQ(model().rowCount(ownLoop), 8);
    EXPECT_EQ(cell(elementRow(1, 1, 7), 1), "Dual zone module");
    EXPECT_FALSE(model().indexOf(elementRow(1, 1, 8)).isValid());
    EXPECT_EQ(tree().currentKey(), elementRow(1, 1, 6));
    EXPECT_EQ(tree().selectedKeys(), QList<Key>({elementRow(1, 1, 6)}));

    m_frame->undoCommands().undoAction()->trigger();
    settle();
    EXPECT_EQ(addresses(1, 1), std::vector<int>({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(facility().getElementType(1, 1, 8), 13);
    EXPECT_EQ(cell(elementRow(1, 1, 9), 1), cell(elementRow(1, 1, 6), 1));
    EXPECT_FALSE(m_frame->unsavedStatus().unsaved);
    EXPECT_FALSE(m_frame->undoCommands().undoAction()->isEnabled());
}

TEST_F(TreeListTest, TextAndZoneEditsGoToTheFacilityAndEveryRowOfTheZone) {
    loopsWithSample();
    auto* description = openEditor<QLineEdit>(elementRow(1, 1, 2), 2, "descriptionEditor");
    ASSERT_NE(description, nullptr);
    EXPECT_EQ(description->maxLength(), 24);
    description->setText("Corridor");
    QTest::keyClick(description, Qt::Key_Return);
    settle();
    EXPECT_EQ(toQString(*facility().getElementDescription(1, 1, 2)), "Corridor");
    EXPECT_EQ(cell(elementRow(1, 1, 2), 2), "Corridor");

    auto* zone = openEditor<CSpinEditorCtrl>(elementRow(1, 1, 2), 3, "CSpinEditorCtrl");
    ASSERT_NE(zone, nullptr);
    EXPECT_EQ(zone->GetValue(), 1);
    zone->SetValue(2);
    QTest::keyClick(zone->edit(), Qt::Key_Return);
    EXPECT_EQ(facility().getElementZone(1, 1, 2), 2);
    EXPECT_EQ(cell(elementRow(1, 1, 2), 4), "Stairs & lifts");

    auto* zoneName = openEditor<QLineEdit>(elementRow(1, 1, 2), 4, "zoneDescriptionEditor");
    zoneName->setText("Stairwell");
    QTest::keyClick(zoneName, Qt::Key_Return);
    settle();
    EXPECT_EQ(cell(elementRow(1, 1, 3), 4), "Stairwell");
    EXPECT_EQ(cell(elementRow(1, 1, 5), 4), "Stairwell");
    EXPECT_TRUE(m_frame->unsavedStatus().unsaved);
}

TEST_F(TreeListTest, EscapeLeavesTheElementAsItWas) {
    loopsWithSample();
    auto* combo = openEditor<QComboBox>(elementRow(1, 1, 1), 1, "typeSelector");
    combo->setCurrentIndex(5);
    QTest::keyClick(combo, Qt::Key_Escape);
    settle();
    EXPECT_EQ(facility().getElementType(1, 1, 1), 1);
    EXPECT_EQ(tree().indexWidget(model().indexOf(elementRow(1, 1, 1), 1)), nullptr);
    EXPECT_FALSE(m_frame->unsavedStatus().unsaved);
}

TEST_F(TreeListTest, KeysEditTheCurrentCellAndWalkAcrossIt) {
    loopsWithSample();
    choose(elementRow(1, 1, 3));
    tree().setFocus();
    QTest::keyClick(&tree(), Qt::Key_F2);  // on the name: the type is the first field edited
    QWidget* type = tree().indexWidget(model().indexOf(elementRow(1, 1, 3), 1));
    ASSERT_NE(type, nullptr);
    QTest::keyClick(type, Qt::Key_Escape);
    settle();
    QTest::keyClick(&tree(), Qt::Key_Right);
    QTest::keyClick(&tree(), Qt::Key_Right);
    QTest::keyClick(&tree(), Qt::Key_Left);
    EXPECT_EQ(tree().currentIndex().column(), 2);
    QTest::keyClick(&tree(), Qt::Key_Return);
    EXPECT_NE(qobject_cast<QLineEdit*>(tree().indexWidget(model().indexOf(elementRow(1, 1, 3), 2))), nullptr);
}
