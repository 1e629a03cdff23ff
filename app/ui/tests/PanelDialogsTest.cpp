#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QDateTimeEdit>
#include <QAction>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "FrameFixture.h"
#include "history/CPanelSnapshot.h"
#include "history/CSiteHistory.h"
#include "model/CFacilityManager.h"
#include "ui/CHistoryDlg.h"
#include "ui/CSysHourDlg.h"
#include "ui/CSysInfoDlg.h"
#include "ui/CSysLogDlg.h"
#include "ui/UiText.h"
#include "virtual_panel/CVirtualPanelState.h"

namespace {

CVirtualPanelState panelState(const QString& path) {
    CVirtualPanelState state;
    std::string error;
    EXPECT_TRUE(state.load(path.toStdString(), error)) << error;
    return state;
}

void click(QWidget& window, const char* name) {
    auto* button = window.findChild<QAbstractButton*>(name);
    ASSERT_NE(button, nullptr) << name;
    button->click();
}

}  // namespace

using PanelDialogsTest = FrameFixture;

TEST_F(PanelDialogsTest, SendAndReceiveThroughTheWaitDialog) {
    CMainFrame& f = frameWithSample();
    const int panels = f.facility().getNumberOfPanels();
    prompt.choosePanel(f.facility().getPanelId(0));
    ModalAnswerer warnings("CCheckFindingsDlg", clickButton("send"));
    prompt.answer(true);  // the first upload to this panel: send it
    ModalAnswerer waits("KvWaitDlg", [](QWidget*) {});
    click(f, "1145");
    EXPECT_EQ(prompt.messages(), std::vector<int>({517, 480}));  // sent, read back and verified
    EXPECT_EQ(prompt.choices(), std::vector<bool>({false}));

    prompt.answer(true);  // the received panel has the address of the one sent: replace it
    click(f, "1144");
    EXPECT_EQ(prompt.messages(), std::vector<int>({517, 480, 291, 264}));
    EXPECT_EQ(f.facility().getNumberOfPanels(), panels);
    EXPECT_TRUE(f.unsavedStatus().unsaved);
    EXPECT_EQ(waits.seen(), 3);  // sending, reading back, receiving
}

TEST_F(PanelDialogsTest, AbsentPanelFailsSendAndReceiveWithTheirMessages) {
    CMainFrame& f = frame({}, "absent");
    ASSERT_TRUE(f.fileCommands().openFile(sampleFacility()));
    prompt.choosePanel(f.facility().getPanelId(0));
    ModalAnswerer warnings("CCheckFindingsDlg", clickButton("send"));
    prompt.answer(true);  // the first upload to this panel: send it
    f.usbUpload();
    f.usbDownload();
    EXPECT_EQ(prompt.messages(), std::vector<int>({517, 92, 81}));
    EXPECT_FALSE(f.unsavedStatus().unsaved);
}

TEST_F(PanelDialogsTest, CancelledPanelChoiceSendsNothingAndSaysNothing) {
    CMainFrame& f = frameWithSample();
    f.usbUpload();
    EXPECT_TRUE(prompt.messages().empty());
}

TEST_F(PanelDialogsTest, ClockByHandReachesThePanel) {
    CMainFrame& f = frame();
    CSysHourDlg dialog(f.usbHandler(), prompt, &f);
    dialog.show();
    auto* date = dialog.findChild<QDateTimeEdit*>("date");
    auto* time = dialog.findChild<QDateTimeEdit*>("time");
    EXPECT_FALSE(date->isEnabled());
    click(dialog, "manual");
    ASSERT_TRUE(date->isEnabled() && time->isEnabled());
    date->setDate(QDate(2099, 12, 31));
    time->setTime(QTime(23, 59, 58));
    click(dialog, "1");
    EXPECT_TRUE(dialog.sent());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(prompt.messages().empty());
    const auto clock = panelState(m_panel->statePath()).clock();
    EXPECT_EQ(std::vector<int>(clock.begin(), clock.end()), std::vector<int>({0, 58, 59, 23, 0, 31, 12, 99}));
}

TEST_F(PanelDialogsTest, ClockWithoutPanelSays92AndCloses) {
    CMainFrame& f = frame({}, "absent");
    CSysHourDlg dialog(f.usbHandler(), prompt, &f);
    dialog.show();
    click(dialog, "1");
    EXPECT_FALSE(dialog.sent());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(prompt.messages(), std::vector<int>({92}));
}

TEST_F(PanelDialogsTest, EventLogsGoToTheChosenFilesAndDefaultToTheDocumentsFolder) {
    QTemporaryDir dir;
    CMainFrame& f = frame();
    CSysLogDlg dialog(f.usbHandler(), prompt, files, &f);
    dialog.show();
    EXPECT_EQ(dialog.findChild<QLineEdit*>("alarmFile")->text(),
              QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + "/alarm_def.csv");
    EXPECT_FALSE(dialog.findChild<QPushButton*>("generalBrowse")->isEnabled());
    click(dialog, "general");
    files.m_csv.push_back(dir.filePath("general.csv"));
    click(dialog, "generalBrowse");
    click(dialog, "test");
    dialog.findChild<QLineEdit*>("testFile")->setText(dir.filePath("test.csv"));
    click(dialog, "1");
    EXPECT_EQ(dialog.outcome(), CEventLogForm::Outcome::Exported);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(QFileInfo(dir.filePath("general.csv")).size() > 0);
    EXPECT_TRUE(QFileInfo(dir.filePath("test.csv")).size() > 0);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("alarm_def.csv")));
}

TEST_F(PanelDialogsTest, EventLogWithoutPanelSays216AndWritesNothing) {
    QTemporaryDir dir;
    CMainFrame& f = frame({}, "absent");
    CSysLogDlg dialog(f.usbHandler(), prompt, files, &f);
    dialog.show();
    click(dialog, "alarm");
    dialog.findChild<QLineEdit*>("alarmFile")->setText(dir.filePath("alarm.csv"));
    click(dialog, "1");
    EXPECT_EQ(prompt.messages(), std::vector<int>({216}));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("alarm.csv")));
}

TEST_F(PanelDialogsTest, EventLogFailingMidwayIsReportedWithItsFile) {
    QTemporaryDir dir;
    CMainFrame& f = frame({}, "timeout@6");
    CSysLogDlg dialog(f.usbHandler(), prompt, files, &f);
    dialog.show();
    click(dialog, "general");
    dialog.findChild<QLineEdit*>("generalFile")->setText(dir.filePath("general.csv"));
    click(dialog, "1");
    EXPECT_EQ(prompt.messages(), std::vector<int>({329}));
    EXPECT_EQ(dialog.outcome(), CEventLogForm::Outcome::SomeFailed);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("general.csv")));
}

TEST_F(PanelDialogsTest, SystemInformationEditsTheChosenPanelAndMarksTheFacilityChanged) {
    CMainFrame& f = frameWithSample();
    const int id = f.facility().getPanelId(0);
    prompt.choosePanel(id);
    ModalAnswerer info("CSysInfoDlg", [](QWidget* dialog) {
        // Typing stops at 20 characters; a longer name already there is shown whole.
        EXPECT_EQ(dialog->findChild<QLineEdit*>("phone")->maxLength(), 20);
        auto* installer = dialog->findChild<QLineEdit*>("installer");
        EXPECT_EQ(installer->text(), "Northside Fire Services");
        installer->setText("Fire & Co");
        clickButton("1")(dialog);
    });
    click(f, "1096");
    EXPECT_EQ(info.seen(), 1);
    EXPECT_EQ(prompt.choices(), std::vector<bool>({true}));
    EXPECT_EQ(toQString(f.facility().getPanelInstaller(id)), "Fire & Co");
    EXPECT_TRUE(f.unsavedStatus().unsaved);
}

TEST_F(PanelDialogsTest, SystemInformationCancelledChangesNothing) {
    CMainFrame& f = frameWithSample();
    const int id = f.facility().getPanelId(0);
    const KvWString before = f.facility().getPanelInstaller(id);
    prompt.choosePanel(id);
    ModalAnswerer info("CSysInfoDlg", [](QWidget* dialog) {
        dialog->findChild<QLineEdit*>("installer")->setText("changed");
        clickButton("2")(dialog);
    });
    f.fileEditSysInfo();
    EXPECT_TRUE(f.facility().getPanelInstaller(id) == before);
    EXPECT_FALSE(f.unsavedStatus().unsaved);
}

TEST_F(PanelDialogsTest, SiteHistoryOfTheOpenFile) {
    QTemporaryDir dir;
    const QString site = dir.filePath("site.kvg");
    ASSERT_TRUE(QFile::copy(sampleFacility(), site));
    CMainFrame& f = frame();
    ASSERT_TRUE(f.fileCommands().openFile(site));
    CFacilityManager sent;
    CHistoryRecord record;
    record.panelId = 1;
    std::string problem;
    ASSERT_TRUE(CPanelSnapshot::fromFacility(f.facility(), 1, sent, problem)) << problem;
    ASSERT_TRUE(CSiteHistory(toKvWString(site)).add(record, sent, problem)) << problem;
    ModalAnswerer history("CHistoryDlg", [](QWidget* dialog) {
        auto* window = static_cast<CHistoryDlg*>(dialog);
        EXPECT_EQ(window->entries(), 1);
        window->select(0);
        window->compare();
        EXPECT_EQ(window->differences(), loadText(CHistoryDlg::kEqualText));
        clickButton("2")(dialog);
    });
    f.findChild<QAction*>("32850")->trigger();
    EXPECT_EQ(history.seen(), 1);
    EXPECT_TRUE(prompt.messages().empty());
}

TEST_F(PanelDialogsTest, FirmwareUpdateFromTheChosenManifest) {
    CMainFrame& f = frame("?mode=update");
    files.m_manifest.push_back(sampleManifest());
    ModalAnswerer progress("KvProgressDlg", [](QWidget*) {});
    f.findChild<QAction*>("32818")->trigger();
    EXPECT_EQ(progress.seen(), 1);
    EXPECT_EQ(prompt.messages(), std::vector<int>({276}));
}

TEST_F(PanelDialogsTest, FirmwareUpdateFailuresAreReportedFromTheWorker) {
    CMainFrame& f = frame("?mode=update", "card-silent:1,card-silent:2,card-silent:3,card-silent:4");
    files.m_manifest.push_back(sampleManifest());
    f.usbUpdate();
    EXPECT_EQ(prompt.messages(), std::vector<int>({275}));
}

TEST_F(PanelDialogsTest, FirmwareUpdateWithoutManifestSays267AndSendsNothing) {
    CMainFrame& f = frame("?mode=update");
    ModalAnswerer progress("KvProgressDlg", [](QWidget*) { ADD_FAILURE() << "update started"; });
    f.usbUpdate();
    EXPECT_EQ(prompt.messages(), std::vector<int>({267}));
}
