#include <QMenu>
#include <QTest>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "history/CSiteHistory.h"

#include "LoopsFixture.h"
#include "model/CFacilityManager.h"
#include "ui/CFileCommands.h"
#include "ui/UiText.h"

using LoopsEditorTest = LoopsFixture;

// ---- Add ----

TEST_F(LoopsEditorTest, ZonesComeWithTheFirstLoopOnlyAndCancellingElementsTakesTheLoopBack) {
    loops();
    facility().addPanel(1, 5, KvWString(u"Annex"));
    loops().populate();
    choose(panelRow(1));
    {
        // The elements dialog is cancelled once: the loop goes and the loop dialog stays for another try.
        ModalAnswerer loop("CAddLoop", enterAddress(3));
        int asked = 0;
        ModalAnswerer elements("CAddElements", [&](QWidget* dialog) {
            if (++asked == 1) {
                EXPECT_EQ(facility().getNumOfLoops(1), 1);
                clickButton("2")(dialog);
                clickOpenerLater(dialog, "1");  // the loop dialog again: the same address
            } else {
                addElements(1, 1, 4)(dialog);
            }
        });
        press("1011");
        EXPECT_EQ(loop.seen(), 1);
        EXPECT_EQ(asked, 2);
    }
    EXPECT_EQ(facility().getNumOfLoops(1), 1);
    EXPECT_EQ(addresses(1, 3), std::vector<int>({1, 2, 3, 4}));
    ASSERT_EQ(facility().getNumOfZones(1), 250);
    EXPECT_EQ(toQString(*facility().getPanelZoneDescription(1, 250)), loadText(42));
    facility().setZoneDescription(7, KvWString(u"Kitchen"));

    choose(panelRow(1));
    {
        ModalAnswerer loop("CAddLoop", enterAddress(5));
        ModalAnswerer elements("CAddElements", addElements(2, 1, 1));
        press("1011");
    }
    EXPECT_EQ(facility().getNumOfLoops(1), 2);
    EXPECT_EQ(facility().getNumOfZones(1), 250);
    EXPECT_EQ(toQString(*facility().getZoneDescription(7)), "Kitchen");
    EXPECT_EQ(tree().currentKey(), loopRow(1, 5));
    EXPECT_TRUE(m_frame->unsavedStatus().unsaved);
}

TEST_F(LoopsEditorTest, ALoopAddressInUseIsRefusedAndCancellingTheFirstLoopTakesTheZonesToo) {
    loopsWithSample();
    choose(panelRow(1));
    int refused = 0;
    {
        ModalAnswerer loop("CAddLoop", [&](QWidget* dialog) {
            setNumber(dialog, "address", 1);
            dialog->findChild<QAbstractButton*>("1")->click();  // loop 1 exists: message 18, still open
            refused = static_cast<int>(prompt.messages().size());
            clickButton("2")(dialog);
        });
        press("1011");
    }
    EXPECT_EQ(refused, 1);
    EXPECT_EQ(prompt.messages(), std::vector<int>({18}));

    facility().addPanel(9, 9, KvWString(u"Empty"));
    loops().populate();
    choose(panelRow(9));
    ModalAnswerer first("CAddLoop", enterAddress(1));
    ModalAnswerer cancel("CAddElements", [](QWidget* dialog) {
        clickButton("2")(dialog);
        clickOpenerLater(dialog, "2");  // and then the loop dialog
    });
    press("1011");
    EXPECT_EQ(first.seen(), 1);
    EXPECT_EQ(cancel.seen(), 1);
    EXPECT_EQ(facility().getNumOfLoops(9), 0);
    EXPECT_EQ(facility().getNumOfZones(9), 0);
}

TEST_F(LoopsEditorTest, OccupiedAddressesRefuseTheWholeRange) {
    loopsWithSample();
    facility().delElementFromLoop(1, 1, 10);
    facility().addElementToLoop(1, 1, 11, 1, 0, KvWString(u"Element 11"));
    loops().populate();
    choose(loopRow(1, 1));
    bool stayed = false;
    ModalAnswerer elements("CAddElements", [&](QWidget* dialog) {
        dialog->findChild<QComboBox*>("type")->setCurrentIndex(0);
        setNumber(dialog, "first", 10);
        setNumber(dialog, "second", 12);
        dialog->findChild<QAbstractButton*>("1")->click();
        stayed = dialog->isVisible();
        clickButton("2")(dialog);
    });
    press("1011");
    EXPECT_TRUE(stayed);
    EXPECT_EQ(prompt.messages(), std::vector<int>({249}));
    EXPECT_EQ(facility().getElementType(1, 1, 10), 0);
    EXPECT_EQ(facility().getElementType(1, 1, 12), 0);
    EXPECT_FALSE(m_frame->unsavedStatus().unsaved);
}

TEST_F(LoopsEditorTest, DevicesStopBeforeTheEndOfTheLoop) {
    loopsWithSample();
    facility().addLoopToPanel(1, 4);
    loops().populate();
    // Two dual zone modules from 249: only one fits.
    choose(loopRow(1, 4));
    {
        ModalAnswerer elements("CAddElements", addElements(7, 249, 2));
        press("1011");
    }
    EXPECT_EQ(addresses(1, 4), std::vector<int>({249, 250}));
    EXPECT_EQ(facility().getElementCompositeMode(1, 4, 249), 1);
    EXPECT_EQ(facility().getElementCompositeMode(1, 4, 250), 3);
    EXPECT_EQ(toQString(*facility().getElementLabel(1, 4, 250)), "Element 250");
    EXPECT_EQ(toQString(*facility().getElementDescription(1, 4, 250)), "Channel 2");
    EXPECT_EQ(tree().currentKey(), elementRow(1, 4, 249));

    facility().delLoopFromPanel(1, 4);
    facility().addLoopToPanel(1, 4);
    loops().populate();
    choose(loopRow(1, 4));
    {
        ModalAnswerer elements("CAddElements", addElements(7, 247, 2));
        press("1011");
    }
    EXPECT_EQ(addresses(1, 4), std::vector<int>({247, 248, 249, 250}));
    EXPECT_EQ(facility().getElementCompositeMode(1, 4, 249), 1);

    // A dual input/output module at 248 would end at 251.
    choose(loopRow(1, 1));
    ModalAnswerer refused("CAddElements", [&](QWidget* dialog) {
        dialog->findChild<QComboBox*>("type")->setCurrentIndex(12);
        setNumber(dialog, "first", 248);
        setNumber(dialog, "second", 1);
        dialog->findChild<QAbstractButton*>("1")->click();
        clickButton("2")(dialog);
    });
    press("1011");
    EXPECT_EQ(prompt.messages(), std::vector<int>({249}));
    EXPECT_EQ(facility().getElementType(1, 1, 248), 0);
}

TEST_F(LoopsEditorTest, LaterDevicesThatWouldPassTheEndAreNotBegun) {
    loopsWithSample();
    facility().addLoopToPanel(1, 4);
    loops().populate();
    choose(loopRow(1, 4));
    ModalAnswerer elements("CAddElements", addElements(13, 245, 2));
    press("1011");
    EXPECT_EQ(addresses(1, 4), std::vector<int>({245, 246, 247, 248}));
    EXPECT_EQ(toQString(*facility().getElementDescription(1, 4, 247)), "Output 3");
}

TEST_F(LoopsEditorTest, ElementsGetTheTypedTextsAndZoneOrTheirDefaults) {
    loopsWithSample();
    choose(elementRow(1, 1, 10));
    ModalAnswerer elements("CAddElements", [&](QWidget* dialog) {
        // Starts after the chosen element; the zone brings its description along.
        EXPECT_EQ(dialog->findChild<CNumEdit*>("first")->GetValue(), 11);
        setNumber(dialog, "second", 12);
        auto* zone = dialog->findChild<CNumEdit*>("zone");
        zone->SetValue(2);
        emit zone->textEdited(zone->text());
        EXPECT_EQ(dialog->findChild<QLineEdit*>("zoneDescription")->text(), "Stairs & lifts");
        dialog->findChild<QLineEdit*>("zoneDescription")->setText("Stairs");
        clickButton("1")(dialog);
    });
    press("1011");
    EXPECT_EQ(toQString(*facility().getElementDescription(1, 1, 11)), "Optical detector 1");
    EXPECT_EQ(facility().getElementZone(1, 1, 12), 2);
    EXPECT_EQ(toQString(*facility().getZoneDescription(2)), "Stairs");
    EXPECT_EQ(cell(elementRow(1, 1, 3), CTreeListModel::kZoneDescription), "Stairs");
}

TEST_F(LoopsEditorTest, NewPanelsNeedAFreeAddressAndTheirFirstLoop) {
    loopsWithSample();
    const int panels = facility().getNumberOfPanels();
    choose(rootRow());
    {
        ModalAnswerer panel("CModifyPanel", enterAddress(2));  // panel 2 has address 2
        press("1011");
    }
    EXPECT_EQ(prompt.messages(), std::vector<int>({260}));
    {
        ModalAnswerer panel("CModifyPanel", enterAddress(40));
        ModalAnswerer loop("CAddLoop", clickButton("2"));
        press("1011");
    }
    EXPECT_EQ(facility().getNumberOfPanels(), panels);
    {
        ModalAnswerer panel("CModifyPanel", enterAddress(40));
        ModalAnswerer loop("CAddLoop", enterAddress(1));
        ModalAnswerer elements("CAddElements", addElements(1, 1, 1));
        press("1011");
    }
    EXPECT_EQ(facility().getNumberOfPanels(), panels + 1);
    EXPECT_EQ(facility().getPanelAddress(panels + 1), 40);
    EXPECT_EQ(tree().currentKey(), panelRow(panels + 1));
}

TEST_F(LoopsEditorTest, LimitsAreRefusedBeforeAnyDialog) {
    loopsWithSample();
    for (int loop = 3; loop <= 8; ++loop) facility().addLoopToPanel(1, loop);
    for (int a = 1; a <= 250; ++a) facility().addElementToLoop(1, 3, a, 1, 0, KvWString(u"E"));
    for (int id = 3; id <= 128; ++id) facility().addPanel(id, id, KvWString(u"P"));
    loops().populate();
    ModalAnswerer unexpected("CModifyPanel", [](QWidget*) { ADD_FAILURE() << "dialog opened"; });
    for (const Key& row : {rootRow(), panelRow(1), loopRow(1, 3), elementRow(1, 3, 7)}) {
        choose(row);
        press("1011");
    }
    tree().clearSelection();
    press("1011");
    EXPECT_EQ(prompt.messages(), std::vector<int>({259, 41, 94, 94, 17}));
}

// ---- Delete and Modify ----

TEST_F(LoopsEditorTest, DeletingAPartOfADeviceDeletesTheDeviceAndSelectsTheRowBefore) {
    loopsWithSample();
    choose(elementRow(1, 1, 7));
    press("1002");
    EXPECT_EQ(addresses(1, 1), std::vector<int>({1, 2, 3, 4, 5, 10}));
    EXPECT_EQ(tree().currentKey(), elementRow(1, 1, 5));
    EXPECT_TRUE(m_frame->unsavedStatus().unsaved);

    // The last part of a two-address device, with the Delete key.
    choose(elementRow(1, 1, 5));
    QTest::keyClick(&tree(), Qt::Key_Delete);
    EXPECT_EQ(addresses(1, 1), std::vector<int>({1, 2, 3, 10}));
}

TEST_F(LoopsEditorTest, SeveralRowsGoAtOnceAndAPanelTakesTheRulesItRaises) {
    loopsWithSample();
    const int rules = facility().getNumberEventsInPanel();
    int raisedByTwo = 0;
    for (int i = 0; i < rules; ++i) raisedByTwo += facility().getEventActionInPanel(facility().getEventActionId(i)) == 2;
    QItemSelection both;
    for (const Key& row : {elementRow(1, 2, 1), panelRow(2)}) {
        const QModelIndex at = model().indexOf(row);
        both.select(at, at.siblingAtColumn(4));
    }
    tree().selectionModel()->select(both, QItemSelectionModel::ClearAndSelect);
    press("1002");
    EXPECT_EQ(facility().getElementType(1, 2, 1), 0);
    EXPECT_EQ(facility().getPanelAddress(2), 0);
    EXPECT_EQ(facility().getNumberEventsInPanel(), rules - raisedByTwo);

    tree().clearSelection();
    press("1002");
    EXPECT_EQ(prompt.messages(), std::vector<int>({19}));
}

TEST_F(LoopsEditorTest, ModifyMovesThePanelByItsNewAddress) {
    loopsWithSample();
    choose(panelRow(1));
    ModalAnswerer modify("CModifyPanel", [](QWidget* dialog) {
        EXPECT_EQ(dialog->findChild<CNumEdit*>("address")->GetValue(), 1);
        EXPECT_EQ(dialog->findChild<QLineEdit*>("label")->text(), "Main building");
        dialog->findChild<QLineEdit*>("label")->setText("Old building");
        enterAddress(9)(dialog);
    });
    const QRect row = tree().visualRect(model().indexOf(panelRow(1)));
    QTest::mouseDClick(tree().viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(facility().getPanelAddress(1), 9);
    EXPECT_EQ(facility().getPanelId(facility().getNumberOfPanels() - 1), 1);
    EXPECT_EQ(cell(panelRow(1), 0), "9 - Old building");
    EXPECT_EQ(tree().currentKey(), panelRow(1));
}

// ---- Tree ----

TEST_F(LoopsEditorTest, TheRootRowOffersOnlyAddAndPanelsAlsoModifyAndDelete) {
    loopsWithSample();
    auto names = [this](const Key& row) {
        std::unique_ptr<QMenu> menu(tree().contextMenuFor(model().indexOf(row)));
        QStringList list;
        for (QAction* action : menu->actions()) list << action->objectName();
        return list;
    };
    EXPECT_EQ(names(rootRow()), QStringList({"5500"}));
    EXPECT_EQ(names(panelRow(1)), QStringList({"5500", "5503", "5501"}));
    EXPECT_EQ(names(loopRow(1, 1)), QStringList({"5500", "5501"}));
    EXPECT_EQ(names(elementRow(1, 1, 1)), QStringList({"5500", "5501"}));
}

TEST_F(LoopsEditorTest, ACollapsedPanelIsStillCollapsedAfterSaveAndReopen) {
    QTemporaryDir dir;
    loopsWithSample();
    tree().setExpanded(model().indexOf(loopRow(1, 2)), true);
    tree().setExpanded(model().indexOf(panelRow(2)), false);
    EXPECT_FALSE(facility().getPanelExpanded(2));
    files.m_save.push_back(dir.filePath("kept.kvg"));
    ASSERT_TRUE(loops().fileSaveAs());
    files.m_open.push_back(dir.filePath("kept.kvg"));
    ASSERT_TRUE(loops().fileOpen());
    EXPECT_FALSE(tree().isExpanded(model().indexOf(panelRow(2))));
    EXPECT_TRUE(tree().isExpanded(model().indexOf(panelRow(1))));
    EXPECT_TRUE(tree().isExpanded(model().indexOf(loopRow(1, 2))));
    EXPECT_FALSE(tree().isExpanded(model().indexOf(loopRow(1, 1))));

    press("1012");
    EXPECT_TRUE(tree().isExpanded(model().indexOf(panelRow(2))));
    EXPECT_TRUE(facility().getLoopExpanded(1, 1));
    press("1013");
    EXPECT_FALSE(facility().getExpandedView());
    EXPECT_FALSE(facility().getPanelExpanded(1));
}

TEST_F(LoopsEditorTest, SelectionAndStatusFollowRebuilds) {
    loopsWithSample();
    choose(elementRow(1, 2, 4));
    facility().addElementToLoop(1, 2, 9, 1, 0, KvWString(u"Element 9"));
    loops().populate();
    EXPECT_EQ(tree().currentKey(), elementRow(1, 2, 4));
    EXPECT_EQ(tree().selectedKeys(), QList<Key>({elementRow(1, 2, 4)}));
    EXPECT_EQ(loops().findChild<QLabel*>("status")->text(), "Panels: 2   Loops: 3   Elements: 18   Rules: 3");
}

// Tab walks the buttons in their order on screen (Undo and Redo before Back, though the frame adds
// them last), and the file commands have their usual keys inside the editor.
TEST_F(LoopsEditorTest, TheKeyboardWalksTheButtonsInScreenOrderAndReachesTheFileCommands) {
    QTemporaryDir dir;
    loopsWithSample();
    m_frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_frame.get()));
    choose(elementRow(1, 1, 10));
    QTest::keyClick(&tree(), Qt::Key_Delete);  // something to undo: the Undo button takes the focus
    tree().setFocus();
    QStringList order;
    for (int i = 0; i < 7; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(order, QStringList({"1011", "1002", "1012", "1013", "1001", "undo", "1107"}));

    tree().setFocus();
    QTest::keySequence(&tree(), QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_EQ(prompt.messages(), std::vector<int>({79}));
    EXPECT_FALSE(m_frame->unsavedStatus().unsaved);
    files.m_save.push_back(dir.filePath("copy.kvg"));
    QTest::keySequence(&tree(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("copy.kvg")));
    QTest::keySequence(&tree(), QKeySequence(Qt::CTRL | Qt::Key_O));  // asked, and cancelled
    EXPECT_EQ(files.asked, 2);
    EXPECT_EQ(facility().getElementType(1, 1, 10), 0);
    ModalAnswerer panel("CModifyPanel", clickButton("2"));
    QTest::keySequence(&tree(), QKeySequence(Qt::CTRL | Qt::Key_N));
    EXPECT_EQ(panel.seen(), 1);
    EXPECT_EQ(facility().getNumberOfPanels(), 0);
}

// ---- File commands ----

TEST_F(LoopsEditorTest, NewFacilityIsPanelOneWithItsFirstLoop) {
    loops();
    ModalAnswerer panel("CModifyPanel", [](QWidget* dialog) {
        dialog->findChild<QLineEdit*>("label")->setText("Depot");
        enterAddress(7)(dialog);
    });
    ModalAnswerer loop("CAddLoop", enterAddress(2));
    ModalAnswerer elements("CAddElements", addElements(4, 1, 3));
    m_frame->fileNew();
    EXPECT_EQ(facility().getPanelAddress(1), 7);
    EXPECT_EQ(addresses(1, 2), std::vector<int>({1, 2, 3}));
    EXPECT_TRUE(m_frame->unsavedStatus().unsaved);
    EXPECT_FALSE(m_frame->unsavedStatus().named);
    EXPECT_EQ(m_frame->windowTitle(), "Cairn");
    EXPECT_EQ(tree().currentKey(), elementRow(1, 2, 1));
}

TEST_F(LoopsEditorTest, AFirstPanelWithoutLoopsIsNeverSaved) {
    QTemporaryDir dir;
    loops();
    facility().addPanel(1, 1, KvWString(u"Bare"));
    facility().addPanel(2, 2, KvWString(u"Full"));
    facility().addLoopToPanel(2, 1);
    files.m_save.push_back(dir.filePath("bare.kvg"));
    EXPECT_FALSE(loops().fileSaveAs());
    EXPECT_EQ(prompt.messages(), std::vector<int>({15}));
    EXPECT_EQ(files.asked, 0);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("bare.kvg")));
}

TEST_F(LoopsEditorTest, AFailedSaveNamesTheFileAndKeepsTheChanges) {
    QTemporaryDir dir;
    loopsWithSample();
    m_frame->unsavedStatus().markChanged();
    QFile blocker(dir.filePath("plain"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    files.m_save.push_back(dir.filePath("plain/f.kvg"));  // a file where a folder should be
    EXPECT_FALSE(loops().fileSaveAs());
    EXPECT_EQ(prompt.messages(), std::vector<int>({404}));
    EXPECT_TRUE(m_frame->unsavedStatus().unsaved);
}

// ---- Transfers ----

TEST_F(LoopsEditorTest, UploadAndDownloadAgainstTheVirtualPanel) {
    loopsWithSample();
    const KvWString site = m_frame->unsavedStatus().filePath;
    prompt.choosePanel(2);
    prompt.answer(true);  // the first upload to this panel: send it
    ModalAnswerer waits("KvWaitDlg", [](QWidget*) {});
    EXPECT_TRUE(loops().usbUpload());
    EXPECT_EQ(prompt.messages(), std::vector<int>({517, 480}));  // sent, read back and verified

    facility().delPanel(2);
    loops().populate();
    EXPECT_TRUE(loops().usbDownload());
    EXPECT_EQ(prompt.messages(), std::vector<int>({517, 480, 264}));
    // Both are kept beside the file they belonged to, the upload with its check and read-back.
    const std::vector<CHistoryRecord> kept = CSiteHistory(site).list();
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[0].kind, CHistoryRecord::Kind::Upload);
    EXPECT_TRUE(kept[0].checked);
    EXPECT_TRUE(kept[0].verified);
    EXPECT_TRUE(kept[0].verifyRead);
    EXPECT_TRUE(kept[0].differences.empty());
    EXPECT_EQ(kept[1].kind, CHistoryRecord::Kind::Download);
    EXPECT_EQ(kept[1].panelId, 2);
    EXPECT_EQ(kept[1].program, "cairn");
    EXPECT_EQ(facility().getPanelAddress(2), 2);
    EXPECT_TRUE(model().indexOf(elementRow(2, 1, 3)).isValid());
    EXPECT_EQ(tree().currentKey(), panelRow(2));
    EXPECT_TRUE(m_frame->unsavedStatus().unsaved);
    EXPECT_FALSE(m_frame->unsavedStatus().named);
}

TEST_F(LoopsEditorTest, FailedTransfersSayWhichAndChangeNothing) {
    frame({}, "timeout@3");
    ASSERT_TRUE(m_frame->fileCommands().openFile(sampleFacility()));
    const int panels = facility().getNumberOfPanels();
    prompt.choosePanel(1);
    ModalAnswerer warnings("CCheckFindingsDlg", clickButton("send"));
    prompt.answer(true);  // the first upload to this panel: send it
    EXPECT_FALSE(loops().usbUpload());
    EXPECT_FALSE(loops().usbDownload());
    EXPECT_EQ(warnings.seen(), 1);
    EXPECT_EQ(prompt.messages(), std::vector<int>({517, 92, 81}));
    EXPECT_TRUE(CSiteHistory(m_frame->unsavedStatus().filePath).list().empty());
    EXPECT_EQ(facility().getNumberOfPanels(), panels);
    EXPECT_FALSE(m_frame->unsavedStatus().unsaved);

    facility().flushFacility();
    EXPECT_FALSE(loops().usbUpload());
    EXPECT_EQ(prompt.messages().back(), 80);
}
