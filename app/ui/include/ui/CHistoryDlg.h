// CHistoryDlg: the site history of a facility file: its uploads, downloads and verifies, oldest
// first, and the difference between the two entries selected (or between one entry and the
// facility as it is now, which compares what an upload of that entry's panel would send).
//
// The difference shown can be printed or saved as PDF, headed by the two entries compared.
//
// The list is read when the dialog opens; the entries' snapshots only when compared.
#pragma once

#include <QDialog>
#include <vector>

#include "basalt/KvBasicString.h"
#include "history/CHistoryRecord.h"
#include "reports/CReportPrinter.h"
#include "ui/CSysReports.h"

class CFacilityManager;
class IFileDialogs;
class IUserPrompt;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

class CHistoryDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTitleText = 501;
    static constexpr int kNoHistoryText = 513;
    static constexpr int kChooseTwoText = 514;
    static constexpr int kEqualText = 515;
    static constexpr int kHeadingText = 596;
    static constexpr int kFacilityNowText = 597;

    // `facility` (not owned) is the open facility, compared when one entry is selected; `prompt`
    // and `files` (not owned) report a failed print and choose the PDF file.
    CHistoryDlg(const KvWString& facilityFile, CFacilityManager& facility, IUserPrompt& prompt, IFileDialogs& files,
                QWidget* parent = nullptr);

    int entries() const { return static_cast<int>(m_records.size()); }
    // Selects rows `first` and `second` (-1: none) as the user would.
    void select(int first, int second = -1);
    // Shows the difference of the selection; what it shows is differences().
    void compare();
    QString differences() const;
    // The heading of the difference shown, as printed; empty when none is shown.
    QString heading() const { return m_heading; }

    // Prints the difference shown, after the print dialog (tests answer it here).
    void print();
    void setPrinterChoice(CSysReports::PrinterChoice choice) { m_choosePrinter = std::move(choice); }
    // Saves the difference shown as a PDF file the user chooses.
    void savePdf();
    // The outcome of the last print or PDF.
    CReportPrinter::Result lastResult() const { return m_lastResult; }

private:
    void fillRow(int row, const CHistoryRecord& record);
    bool loadEntry(int row, CFacilityManager& into) const;
    QString entryWords(int row) const;
    void showText(const QString& text, const QString& heading = {});
    void finished(CReportPrinter::Result result, const QString& pdf);
    QString suggestedPdf() const;

    KvWString m_file;
    CFacilityManager& m_facility;
    IUserPrompt& m_prompt;
    IFileDialogs& m_files;
    std::vector<CHistoryRecord> m_records;
    QTableWidget* m_list;
    QPushButton* m_compare;
    QPushButton* m_print;
    QPushButton* m_pdf;
    QPlainTextEdit* m_differences;
    QString m_heading;
    CSysReports::PrinterChoice m_choosePrinter = CSysReports::askForPrinter;
    CReportPrinter::Result m_lastResult = CReportPrinter::Result::kCancelled;
};
