// CSysReports: the printed reports dialog.
//
// Five check boxes (1167 to 1171, texts 207 to 211) choose the reports, all off at first. Print
// (control 1) asks for the printer in the print dialog (no page ranges, no selection, no printing
// to a file) and prints the chosen reports as the document "CairnReport"; "Save as PDF..." asks
// for a file and writes the same pages there, on the locale's paper, titled with the facility's
// file name. Both lay the pages out on the whole sheet, so paper and PDF look alike. Both show the
// pages done and can be cancelled; a cancelled PDF leaves no file. After a finished job the
// dialog closes. The panels printed are those the panel choice marked.
//
// "Matrix as PDF..." writes the cause-and-effect matrix of the rules touching those panels to a
// file of its own, on landscape sheets, with the same progress, cancel and messages.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>

#include "reports/CReportPrinter.h"

class CFacilityManager;
class IFileDialogs;
class IUserPrompt;
class QCheckBox;
class QPrinter;

class CSysReports : public QDialog {
    Q_OBJECT
public:
    static constexpr int kNoPanelText = 215;
    static constexpr int kNotSavedText = 321;
    static constexpr int kPrinterFailedText = 326;
    static const char* const kDocumentName;
    // The print dialog: sets up `printer` and returns true, or false when the user cancelled.
    using PrinterChoice = std::function<bool(QPrinter& printer, QWidget* parent)>;
    // The platform's print dialog, offering only what the page model can honour.
    static bool askForPrinter(QPrinter& printer, QWidget* parent);

    // `facilityFile` is the path of the open facility (empty when it has none): it names the PDF.
    CSysReports(CFacilityManager& facility, IUserPrompt& prompt, IFileDialogs& files, const QString& facilityFile,
                QWidget* parent = nullptr);

    // Message 215 when the facility has no panel. Otherwise the panel choice, several panels
    // allowed, and when it is confirmed the dialog itself, modally. Rejected when not shown.
    int run();
    // Tests answer the print dialog here.
    void setPrinterChoice(PrinterChoice choice) { m_choosePrinter = std::move(choice); }
    const CReportSwitches& switches() const { return m_switches; }
    // The outcome of the last Print or Save as PDF.
    CReportPrinter::Result lastResult() const { return m_lastResult; }

    void OnPrintZones() { m_switches.zones = !m_switches.zones; }
    void OnPrintLoops() { m_switches.loops = !m_switches.loops; }
    void OnPrintNonEmptyZones() { m_switches.nonEmptyZones = !m_switches.nonEmptyZones; }
    void OnPrintEventActionRelay() { m_switches.eventAction = !m_switches.eventAction; }
    void OnPrintActionEventRelay() { m_switches.actionEvent = !m_switches.actionEvent; }
    void OnOK();
    void OnSavePdf();
    void OnSaveMatrixPdf();

private:
    QCheckBox* addSwitch(int controlId, int textId, void (CSysReports::*toggle)());
    using Job = std::function<CReportPrinter::Result(const CReportPage::PageCallback& onPage)>;
    CReportPrinter::Result withProgress(const Job& job);
    void finished(CReportPrinter::Result result, const QString& pdf);
    QString suggestedPdf(const QString& suffix = {}) const;
    QString pdfTitle() const;

    CFacilityManager& m_facility;
    IUserPrompt& m_prompt;
    IFileDialogs& m_files;
    QString m_facilityFile;
    CReportSwitches m_switches;
    PrinterChoice m_choosePrinter;
    CReportPrinter::Result m_lastResult = CReportPrinter::Result::kCancelled;
};
