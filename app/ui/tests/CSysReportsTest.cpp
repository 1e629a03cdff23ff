// The reports dialog: when it opens, what its switches do, printing and saving as PDF, and the
// frame's command that starts it.
#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>

#include "FrameFixture.h"
#include "ReportPdfText.h"
#include "UiTestKit.h"
#include "ui/CSysReports.h"
#include "ui/UiText.h"

namespace {

std::string pdfText(const QString& path) { return ReportPdfText::layoutText(path.toStdString()); }
std::string pdfInfo(const QString& path) { return ReportPdfText::info(path.toStdString()); }

void check(QWidget& dialog, int controlId) {
    auto* box = dialog.findChild<QCheckBox*>(QString::number(controlId));
    ASSERT_NE(box, nullptr) << controlId;
    box->setChecked(true);
}

void press(QWidget& dialog, const char* button) {
    auto* b = dialog.findChild<QPushButton*>(button);
    ASSERT_NE(b, nullptr) << button;
    b->click();
}

class CSysReportsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        facility.addPanel(1, 4, KvWString(u"North"));
        facility.addLoopToPanel(1, 1);
        facility.addElementToLoop(1, 1, 7, 1, 0, KvWString(u"Smoke 7"));
        facility.addPanel(2, 6, KvWString(u"South"));
    }
    QString file(const char* name) const { return folder.filePath(name); }
    // A print dialog that chooses a PDF file as the printer.
    CSysReports::PrinterChoice printTo(const QString& path) {
        return [this, path](QPrinter& printer, QWidget*) {
            ++printDialogs;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path);
            return true;
        };
    }

    QTemporaryDir folder;
    CFacilityManager facility;
    ScriptedUiPrompt prompt;
    ScriptedFiles files;
    int printDialogs = 0;
};

TEST_F(CSysReportsTest, NoPanelGivesMessage215AndNoDialog) {
    CFacilityManager empty;
    CSysReports dialog(empty, prompt, files, QString());
    EXPECT_EQ(dialog.run(), QDialog::Rejected);
    EXPECT_EQ(prompt.messages(), std::vector<int>({215}));
    EXPECT_TRUE(prompt.choices().empty());
}

TEST_F(CSysReportsTest, CancelledPanelChoiceClosesTheDialogWithNoPanelMarked) {
    facility.setPanelSelected(2, true);  // left from an earlier choice
    CSysReports dialog(facility, prompt, files, QString());
    EXPECT_EQ(dialog.run(), QDialog::Rejected);
    EXPECT_EQ(prompt.choices(), std::vector<bool>({true}));
    EXPECT_FALSE(facility.getPanelSelected(2));
}

TEST_F(CSysReportsTest, SwitchesStartOffCarryTheirTextsAndToggleTheirReports) {
    CSysReports dialog(facility, prompt, files, QString());
    for (int i = 0; i < 5; ++i) {
        auto* box = dialog.findChild<QCheckBox*>(QString::number(1167 + i));
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), loadText(207 + i));
        EXPECT_FALSE(box->isChecked());
    }
    check(dialog, 1168);
    check(dialog, 1171);
    const CReportSwitches s = dialog.switches();
    EXPECT_TRUE(s.loops && s.actionEvent);
    EXPECT_FALSE(s.zones || s.nonEmptyZones || s.eventAction);
    dialog.findChild<QCheckBox*>("1168")->setChecked(false);
    EXPECT_FALSE(dialog.switches().loops);
}

TEST_F(CSysReportsTest, PrintsTheChosenPanelsAsCairnReportAndCloses) {
    prompt.choosePanel(1);
    CSysReports dialog(facility, prompt, files, QString());
    const QString out = file("printed.pdf");
    dialog.setPrinterChoice(printTo(out));
    QTimer::singleShot(0, &dialog, [&] {
        check(dialog, 1168);
        press(dialog, "1");
    });
    EXPECT_EQ(dialog.run(), QDialog::Accepted);
    EXPECT_EQ(printDialogs, 1);
    const std::string text = pdfText(out);
    EXPECT_NE(text.find("North"), std::string::npos) << text;
    EXPECT_NE(text.find("Smoke 7"), std::string::npos) << text;
    EXPECT_EQ(text.find("South"), std::string::npos) << text;
    EXPECT_NE(pdfInfo(out).find("CairnReport"), std::string::npos);
}

TEST_F(CSysReportsTest, CancelledPrintDialogKeepsTheDialogOpen) {
    CSysReports dialog(facility, prompt, files, QString());
    dialog.setPrinterChoice([](QPrinter&, QWidget*) { return false; });
    dialog.show();
    press(dialog, "1");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(prompt.messages().empty());
}

TEST_F(CSysReportsTest, SavesAsPdfTitledWithTheFacilityFile) {
    facility.setPanelSelected(2, true);
    CSysReports dialog(facility, prompt, files, file("site.kvg"));
    files.m_pdf.push_back(file("site.pdf"));
    dialog.show();
    check(dialog, 1168);
    press(dialog, "pdf");
    EXPECT_EQ(dialog.lastResult(), CReportPrinter::Result::kPrinted);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_NE(pdfText(file("site.pdf")).find("South"), std::string::npos);
    EXPECT_NE(pdfInfo(file("site.pdf")).find("site.kvg"), std::string::npos);
}

TEST_F(CSysReportsTest, CancelledPdfLeavesNoFileAndAnUnwritableOneIsReported) {
    facility.setPanelSelected(1, true);
    CSysReports dialog(facility, prompt, files, file("site.kvg"));
    dialog.show();
    check(dialog, 1168);
    files.m_pdf.push_back(file("cancelled.pdf"));
    QTimer::singleShot(0, &dialog, [&] {
        if (auto* progress = dialog.findChild<QProgressDialog*>()) progress->cancel();
    });
    press(dialog, "pdf");
    EXPECT_EQ(dialog.lastResult(), CReportPrinter::Result::kCancelled);
    EXPECT_FALSE(std::filesystem::exists(file("cancelled.pdf").toStdString()));
    EXPECT_TRUE(dialog.isVisible());

    // Under a plain file, where no folder can be made.
    QFile blocker(file("plain-file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    files.m_pdf.push_back(file("plain-file/site.pdf"));
    press(dialog, "pdf");
    EXPECT_EQ(dialog.lastResult(), CReportPrinter::Result::kNotSaved);
    EXPECT_EQ(prompt.messages(), std::vector<int>({321}));
    EXPECT_TRUE(dialog.isVisible());

    // A file dialog closed without a choice changes nothing.
    press(dialog, "pdf");
    EXPECT_EQ(files.asked, 3);
    EXPECT_EQ(prompt.messages().size(), 1u);
}

// The matrix keeps the rules touching the chosen panels, on a file of its own.
TEST_F(CSysReportsTest, SavesTheMatrixOfTheChosenPanelsAsPdf) {
    // Detector 1/1/1 drives panel 2 (rule 1); panel 2 drives itself (rule 2).
    facility.addEventActionItem(1, 30);
    facility.addEventToEventActionItem(1, 0, 1, 1, 1, 0, 0, 0, 5, 0);
    facility.addActionToEventActionItem(1, 1, 2, 0, 0, 0, 0, 0, 1, 0);
    facility.addEventActionItem(2, 45);
    facility.addEventToEventActionItem(2, 0, 2, 0, 0, 0, 0, 0, 1, 0);
    facility.addActionToEventActionItem(2, 0, 2, 0, 0, 0, 0, 0, 1, 0);
    facility.setPanelSelected(1, true);
    CSysReports dialog(facility, prompt, files, file("site.kvg"));
    files.m_pdf.push_back(file("site-matrix.pdf"));
    dialog.show();
    press(dialog, "matrixPdf");
    EXPECT_EQ(dialog.lastResult(), CReportPrinter::Result::kPrinted);
    EXPECT_FALSE(dialog.isVisible());
    const std::string text = pdfText(file("site-matrix.pdf"));
    // (pdftotext reads the "ff" of "effect" as a ligature, so the title's last word stands for it.)
    EXPECT_TRUE(ReportPdfText::has(text, "matrix \u2013 site.kvg")) << text;
    EXPECT_TRUE(ReportPdfText::has(text, "30")) << text;
    EXPECT_FALSE(ReportPdfText::has(text, "45")) << "a rule of panel 2 alone: " << text;
    const auto pages = ReportPdfText::boxes(file("site-matrix.pdf").toStdString());
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_GT(pages[0].width, pages[0].height) << "landscape sheets";

    // A file that cannot be written is said, and the dialog stays.
    CSysReports again(facility, prompt, files, file("site.kvg"));
    again.show();
    QFile blocker(file("plain-file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    files.m_pdf.push_back(file("plain-file/site-matrix.pdf"));
    press(again, "matrixPdf");
    EXPECT_EQ(again.lastResult(), CReportPrinter::Result::kNotSaved);
    EXPECT_EQ(prompt.messages(), std::vector<int>({321}));
}

class CSysReportsFrameTest : public FrameFixture {};

TEST_F(CSysReportsFrameTest, TheMenuItemOpensTheDialogOverTheOpenFacility) {
    CMainFrame& f = frameWithSample();
    prompt.choosePanel(1);
    QTemporaryDir folder;
    const QString out = folder.filePath("sample.pdf");
    files.m_pdf.push_back(out);
    ModalAnswerer reports("CSysReports", [](QWidget* dialog) {
        check(*dialog, 1168);
        press(*dialog, "pdf");
    });
    f.findChild<QAction*>("32808")->trigger();
    EXPECT_EQ(reports.seen(), 1);
    EXPECT_EQ(prompt.choices(), std::vector<bool>({true}));
    EXPECT_NE(pdfText(out).find("Main building"), std::string::npos);
    EXPECT_NE(pdfInfo(out).find("sample.kvg"), std::string::npos);
}

TEST_F(CSysReportsFrameTest, TheHomeButtonWithoutPanelsShows215) {
    CMainFrame& f = frame();
    ModalAnswerer unexpected("CSysReports", [](QWidget*) { ADD_FAILURE() << "dialog opened"; });
    f.findChild<QAbstractButton*>("1101")->click();
    EXPECT_EQ(prompt.messages(), std::vector<int>({215}));
}

}  // namespace
