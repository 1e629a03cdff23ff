#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QLabel>
#include <QToolButton>
#include <gtest/gtest.h>

#include "FrameFixture.h"
#include "model/CFacilityManager.h"
#include "ui/CFileCommands.h"

namespace {

QStringList commands(CMainFrame& frame) {
    QStringList names;
    for (QAction* menu : frame.menuBar()->actions())
        for (QAction* item : menu->menu()->actions())
            if (!item->isSeparator()) names << item->objectName();
    return names;
}

bool fixedSize(const QWidget& window) { return window.minimumSize() == window.maximumSize(); }

void click(QWidget& window, const char* name) {
    auto* button = window.findChild<QAbstractButton*>(name);
    ASSERT_NE(button, nullptr) << name;
    button->click();
}

}  // namespace

using CMainFrameTest = FrameFixture;

TEST_F(CMainFrameTest, StartsOnTheHomeViewInAFixedWindowWithItsMenu) {
    CMainFrame& f = frame();
    EXPECT_EQ(f.view(), CMainFrame::View::Home);
    EXPECT_EQ(f.size(), QSize(700, 565));
    EXPECT_TRUE(fixedSize(f));
    EXPECT_FALSE(f.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(f.windowTitle(), "Cairn");
    EXPECT_EQ(commands(f), QStringList({"32787", "32788", "32789", "32790", "32791", "32804", "32805", "32806",
                                        "32808", "32809", "32814", "32792", "32793", "32850", "32818", "32812"}));
    EXPECT_EQ(f.menuBar()->actions().at(2)->text(), "&USB");
    for (const char* button : {"1096", "1098", "1099", "1101", "1102", "1127", "1105", "1114", "1144", "1145",
                               "1143", "1140", "1141", "1142"})
        EXPECT_NE(f.findChild<QToolButton*>(button), nullptr) << button;
    // Picture-only buttons still have a name for screen readers.
    EXPECT_EQ(f.findChild<QToolButton*>("1140")->accessibleName(), "Open...");
}

TEST_F(CMainFrameTest, EditorsGetTheirOwnMenuWithTheShownViewChecked) {
    CMainFrame& f = frame();
    click(f, "1099");
    EXPECT_EQ(f.view(), CMainFrame::View::Events);
    EXPECT_EQ(commands(f), QStringList({"32796", "32797", "32812"}));
    QMenu* views = f.menuBar()->actions().at(0)->menu();
    emit views->aboutToShow();
    EXPECT_FALSE(f.findChild<QAction*>("32796")->isChecked());
    EXPECT_TRUE(f.findChild<QAction*>("32797")->isChecked());
    f.findChild<QAction*>("32796")->trigger();
    EXPECT_EQ(f.view(), CMainFrame::View::Loops);
    emit f.menuBar()->actions().at(0)->menu()->aboutToShow();
    EXPECT_TRUE(f.findChild<QAction*>("32796")->isChecked());
    click(f, "1107");
    EXPECT_EQ(f.view(), CMainFrame::View::Home);
    EXPECT_EQ(commands(f).size(), 16);
}

TEST_F(CMainFrameTest, EditorSizeIsRememberedAcrossTheHomeView) {
    CMainFrame& f = frame();
    f.switchToLoops();
    EXPECT_EQ(f.size(), QSize(800, 600));
    EXPECT_FALSE(fixedSize(f));
    EXPECT_TRUE(f.windowFlags() & Qt::WindowMaximizeButtonHint);
    f.resize(720, 500);
    f.switchToEvents();
    EXPECT_EQ(f.size(), QSize(720, 500));
    f.onBack();
    EXPECT_EQ(f.size(), QSize(700, 565));
    EXPECT_TRUE(fixedSize(f));
    f.switchToLoops();
    EXPECT_EQ(f.size(), QSize(720, 500));
}

TEST_F(CMainFrameTest, MaximisedEditorIsMaximisedAgainButHomeNever) {
    CMainFrame& f = frame();
    f.switchToLoops();
    f.showMaximized();
    ASSERT_TRUE(f.isMaximized());
    f.onBack();
    EXPECT_FALSE(f.isMaximized());
    EXPECT_EQ(f.size(), QSize(700, 565));
    f.switchToEvents();
    EXPECT_TRUE(f.isMaximized());
    f.showNormal();
    f.onBack();
    f.switchToLoops();
    EXPECT_FALSE(f.isMaximized());
}

TEST_F(CMainFrameTest, EditorGeometryIsKeptForTheNextRun) {
    {
        CMainFrame& f = frame();
        f.switchToLoops();
        f.resize(640, 480);
        f.close();
        m_frame.reset();
    }
    CMainFrame& next = frame();
    EXPECT_EQ(next.size(), QSize(700, 565));
    next.switchToLoops();
    EXPECT_EQ(next.size(), QSize(640, 480));
}

TEST_F(CMainFrameTest, SystemInformationWithoutPanelsIsRefusedWith197) {
    CMainFrame& f = frame();
    ModalAnswerer unexpected("CSysInfoDlg", [](QWidget*) { ADD_FAILURE() << "dialog opened"; });
    click(f, "1096");
    EXPECT_EQ(prompt.messages(), std::vector<int>({197}));
    EXPECT_TRUE(prompt.choices().empty());
}

TEST_F(CMainFrameTest, UnsavedChangesAreAskedOnceAtExitAndDontSaveEndsWithoutSaving) {
    CMainFrame& f = frameWithSample();
    f.unsavedStatus().markChanged();
    ModalAnswerer unsaved("CUnsaved", clickButton("2"));
    click(f, "1105");
    EXPECT_EQ(unsaved.seen(), 1);
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(files.asked, 0);
    EXPECT_TRUE(f.unsavedStatus().unsaved);
    // Whatever closes the window again, the question is not repeated.
    f.close();
    QCoreApplication::processEvents();
    EXPECT_EQ(unsaved.seen(), 1);
}

TEST_F(CMainFrameTest, SaveAtExitThatDoesNotHappenKeepsTheProgramOpen) {
    QTemporaryDir dir;
    CMainFrame& f = frameWithSample();
    f.unsavedStatus().markChanged();
    ModalAnswerer unsaved("CUnsaved", clickButton("1"));
    f.close();  // Save As is cancelled: nothing was saved, so nothing may be lost
    EXPECT_TRUE(f.isVisible());
    files.m_save.push_back(dir.filePath("kept.kvg"));
    f.close();
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(unsaved.seen(), 2);
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("kept.kvg")));
    EXPECT_FALSE(f.unsavedStatus().unsaved);
}

TEST_F(CMainFrameTest, ClosingTheUnsavedQuestionCancelsTheExit) {
    CMainFrame& f = frameWithSample();
    f.unsavedStatus().markChanged();
    ModalAnswerer unsaved("CUnsaved", [](QWidget* dialog) { QTimer::singleShot(0, dialog, &QWidget::close); });
    f.close();
    EXPECT_EQ(unsaved.seen(), 1);
    EXPECT_TRUE(f.isVisible());
}

TEST_F(CMainFrameTest, OpenSaveAndTitleFollowTheFile) {
    QTemporaryDir dir;
    CMainFrame& f = frame();
    files.m_open.push_back(sampleFacility());
    click(f, "1140");
    EXPECT_EQ(f.windowTitle(), "Cairn - sample.kvg");
    EXPECT_GT(f.facility().getNumberOfPanels(), 0);
    EXPECT_FALSE(f.unsavedStatus().unsaved);

    files.m_save.push_back(dir.filePath("copy.kvg"));
    click(f, "1142");
    EXPECT_EQ(f.windowTitle(), "Cairn - copy.kvg");
    EXPECT_EQ(prompt.messages(), std::vector<int>({79}));
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("copy.kvg")));
}

TEST_F(CMainFrameTest, AFileThatIsNotAFacilityLeavesAnEmptyUnnamedFacility) {
    QTemporaryDir dir;
    QFile bad(dir.filePath("bad.kvg"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("<facility><panels>");
    bad.close();
    CMainFrame& f = frameWithSample();
    files.m_open.push_back(bad.fileName());
    f.fileOpen();
    ASSERT_EQ(prompt.texts().size(), 1u);
    EXPECT_EQ(prompt.texts()[0], "The file bad.kvg cannot be opened: not well-formed at line 1, column 19.");
    EXPECT_EQ(f.facility().getNumberOfPanels(), 0);
    EXPECT_FALSE(f.unsavedStatus().named);
    EXPECT_EQ(f.windowTitle(), "Cairn");
}

TEST_F(CMainFrameTest, NewGoesToTheLoopsEditorWithAnEmptyFacility) {
    CMainFrame& f = frameWithSample();
    ModalAnswerer panel("CModifyPanel", clickButton("2"));
    click(f, "1143");
    EXPECT_EQ(panel.seen(), 1);
    EXPECT_EQ(f.view(), CMainFrame::View::Loops);
    EXPECT_EQ(f.facility().getNumberOfPanels(), 0);
    EXPECT_FALSE(f.unsavedStatus().named);
}

TEST_F(CMainFrameTest, AboutBoxShowsProductAndVersion) {
    CMainFrame& f = frame();
    QString version;
    ModalAnswerer about("CAboutBox", [&](QWidget* box) {
        version = box->findChild<QLabel*>("version")->text();
        clickButton("1")(box);
    });
    click(f, "1114");
    EXPECT_EQ(about.seen(), 1);
    EXPECT_EQ(version, "0.1.0");
}
