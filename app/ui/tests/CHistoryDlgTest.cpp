// The site history window: its entries as the folder holds them, and the differences between
// two of them or between one and the facility now.
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "FacilityBuilder.h"
#include "ReportPdfText.h"
#include "history/CPanelSnapshot.h"
#include "history/CSiteHistory.h"
#include "ui/CHistoryDlg.h"
#include "ui/CLanguage.h"
#include "seams/IUserPrompt.h"
#include "ui/IFileDialogs.h"
#include "ui/UiText.h"

namespace {

// Answers the PDF file choice from a queue; the history window asks no other.
class PdfChoice : public IFileDialogs {
public:
    QString openFacility() override { return {}; }
    QString saveFacility(const QString&) override { return {}; }
    QString openManifest() override { return {}; }
    QString saveCsv(const QString&) override { return {}; }
    QString savePdf(const QString&) override { return paths.empty() ? QString() : paths.takeFirst(); }

    QStringList paths;
};

// Records the messages; the history window asks nothing.
class MessageLog : public IUserPrompt {
public:
    void showMessage(int textId) override { shown.push_back(textId); }
    bool askYesNo(int) override { return false; }

    std::vector<int> shown;
};

class CHistoryDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        file = toKvWString(dir.filePath("site.kvg"));
        FacilityBuilder(facility).panel(1, 4, u"Lobby").loop(1).element(1, 1, 1).element(2, 1, 2).zones(2);
    }
    // An upload of panel 1 as the facility is now.
    void addUpload() {
        CFacilityManager sent;
        std::string problem;
        ASSERT_TRUE(CPanelSnapshot::fromFacility(facility, 1, sent, problem)) << problem;
        CHistoryRecord record;
        record.panelId = 1;
        record.panelAddress = 4;
        record.label = u"Lobby";
        record.user = "installer";
        record.host = "laptop";
        ASSERT_TRUE(CSiteHistory(file).add(record, sent, problem)) << problem;
    }

    QTemporaryDir dir;
    KvWString file;
    CFacilityManager facility;
    MessageLog prompt;
    PdfChoice files;
};

TEST_F(CHistoryDlgTest, ComparesTwoEntriesOrOneWithTheFacilityNow) {
    addUpload();
    facility.addElementToZone(1, 1, 2, 1);
    addUpload();
    CHistoryDlg dialog(file, facility, prompt, files);
    ASSERT_EQ(dialog.entries(), 2);
    auto* list = dialog.findChild<QTableWidget*>("entries");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->horizontalHeaderItem(1)->text(), loadText(503));
    EXPECT_EQ(list->item(0, 1)->text(), loadText(508));
    EXPECT_EQ(list->item(1, 4)->text(), "Lobby");
    EXPECT_EQ(list->item(1, 5)->text(), "installer@laptop");
    EXPECT_EQ(dialog.differences(), loadText(CHistoryDlg::kChooseTwoText));

    dialog.select(0, 1);
    dialog.findChild<QPushButton*>("compare")->click();
    EXPECT_EQ(dialog.differences(), "Panel 1, loop 1, element 2 changed: Zone 2 -> 1");
    // The latest upload holds the facility as it is; the first one does not.
    dialog.select(1);
    dialog.compare();
    EXPECT_EQ(dialog.differences(), loadText(CHistoryDlg::kEqualText));
    dialog.select(0);
    dialog.compare();
    EXPECT_EQ(dialog.differences(), "Panel 1, loop 1, element 2 changed: Zone 2 -> 1");
    dialog.select(-1);
    dialog.compare();
    EXPECT_EQ(dialog.differences(), loadText(CHistoryDlg::kChooseTwoText));
}

// The differences are written in the words of the string table, rule sides and element types by
// their names.
TEST_F(CHistoryDlgTest, DifferencesInTheUsersLanguage) {
    FacilityBuilder(facility).rule(3, 0, RuleSide{1, 1, 1, 1, 0, 0, 0, 5}, RuleSide{2, 1, 0, 0, 2, 0, 0, 4});
    addUpload();
    facility.addElementToZone(1, 1, 2, 1);
    facility.delEventActionItem(3);
    FacilityBuilder(facility).rule(3, 30, RuleSide{1, 1, 1, 1, 0, 0, 0, 5}, RuleSide{0, 1, 1, 2, 0, 0, 0, 5});
    facility.setElementType(1, 1, 1, 4);
    addUpload();
    ASSERT_TRUE(CLanguage::select("es", CLanguage::shareFolder()));
    CHistoryDlg dialog(file, facility, prompt, files);
    dialog.select(0, 1);
    dialog.compare();
    const QStringList lines = dialog.differences().split('\n');
    ASSERT_TRUE(CLanguage::select("en", CLanguage::shareFolder()));
    ASSERT_EQ(lines.size(), 3) << lines.join('\n').toStdString();
    EXPECT_TRUE(lines[0].startsWith("Cambió Central 1, lazo 1, elemento 1: Tipo Detector óptico -> Pulsador, ")) << lines[0].toStdString();
    EXPECT_EQ(lines[1], "Cambió Central 1, lazo 1, elemento 2: Zona 2 -> 1");
    // Rules are numbered afresh in each entry's snapshot.
    EXPECT_EQ(lines[2], "Cambió Regla 1: Acción Activar todas las salidas de la zona (Central 1, zona 2) -> "
                        "Activar salida (Central 1, lazo 1, elemento 2), Retardo 0 -> 30");
}

// The difference shown goes to paper or PDF with the entries it compares as its heading; there
// is nothing to print before a comparison.
TEST_F(CHistoryDlgTest, PrintsOrSavesTheDifferenceShown) {
    addUpload();
    facility.addElementToZone(1, 1, 2, 1);
    addUpload();
    CHistoryDlg dialog(file, facility, prompt, files);
    auto* pdf = dialog.findChild<QPushButton*>("pdf");
    ASSERT_NE(pdf, nullptr);
    EXPECT_FALSE(pdf->isEnabled());
    EXPECT_FALSE(dialog.findChild<QPushButton*>("print")->isEnabled());

    dialog.select(0, 1);
    dialog.compare();
    ASSERT_TRUE(pdf->isEnabled());
    const QString saved = dir.filePath("history.pdf");
    files.paths.push_back(saved);
    pdf->click();
    EXPECT_EQ(dialog.lastResult(), CReportPrinter::Result::kPrinted);
    const std::string text = ReportPdfText::layoutText(saved.toStdString());
    EXPECT_TRUE(ReportPdfText::has(text, "Site history")) << text;
    EXPECT_TRUE(ReportPdfText::has(text, "Panel 1, loop 1, element 2 changed: Zone 2 -> 1")) << text;
    // Both entries are named: when and what they were.
    EXPECT_EQ(ReportPdfText::count(text, "Upload, Panel 1"), 2) << text;

    const QString printed = dir.filePath("printed.pdf");
    dialog.setPrinterChoice([&](QPrinter& printer, QWidget*) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printed);
        return true;
    });
    dialog.select(0);
    dialog.compare();
    dialog.print();
    EXPECT_EQ(dialog.lastResult(), CReportPrinter::Result::kPrinted);
    EXPECT_TRUE(ReportPdfText::has(ReportPdfText::layoutText(printed.toStdString()), "the facility as it is now"));

    files.paths.push_back("/proc/cairn-no-such/history.pdf");
    pdf->click();
    EXPECT_EQ(dialog.lastResult(), CReportPrinter::Result::kNotSaved);
    EXPECT_EQ(prompt.shown, std::vector<int>{CSysReports::kNotSavedText});

    dialog.select(-1);
    dialog.compare();
    EXPECT_FALSE(pdf->isEnabled());
    EXPECT_TRUE(dialog.heading().isEmpty());
}

TEST_F(CHistoryDlgTest, NoHistoryYetSaysSoAndComparesNothing) {
    CHistoryDlg dialog(file, facility, prompt, files);
    EXPECT_EQ(dialog.entries(), 0);
    EXPECT_EQ(dialog.differences(), loadText(CHistoryDlg::kNoHistoryText));
    EXPECT_FALSE(dialog.findChild<QPushButton*>("compare")->isEnabled());
}

}  // namespace
