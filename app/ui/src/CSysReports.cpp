#include "ui/CSysReports.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "basalt/KvTrace.h"
#include "model/CCauseEffectMatrix.h"
#include "model/CFacilityManager.h"
#include "reports/CMatrixPrinter.h"
#include "reports/CReportPdf.h"
#include "seams/IUserPrompt.h"
#include "ui/IFileDialogs.h"
#include "ui/UiText.h"
#include "ui/UiWidgets.h"

namespace {

constexpr int kSavePdfText = 322;
constexpr int kPagesDoneText = 323;
constexpr int kPrintText = 325;
constexpr int kCancelText = 37;
constexpr int kMatrixPdfText = 530;
constexpr int kShowProgressAfterMs = 500;

QString pagesDone(int pages) {
    KvWString text;
    text.Format(toKvWString(loadText(kPagesDoneText)).c_str(), pages);
    return toQString(text);
}

}  // namespace

const char* const CSysReports::kDocumentName = "CairnReport";

bool CSysReports::askForPrinter(QPrinter& printer, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    return dialog.exec() == QDialog::Accepted;
}

CSysReports::CSysReports(CFacilityManager& facility, IUserPrompt& prompt, IFileDialogs& files,
                         const QString& facilityFile, QWidget* parent)
    : QDialog(parent),
      m_facility(facility),
      m_prompt(prompt),
      m_files(files),
      m_facilityFile(facilityFile),
      m_choosePrinter(askForPrinter) {
    printk("\n CSysReports::CSysReports");
    setObjectName("CSysReports");
    setProductTitle(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(addSwitch(1167, 207, &CSysReports::OnPrintZones));
    layout->addWidget(addSwitch(1168, 208, &CSysReports::OnPrintLoops));
    layout->addWidget(addSwitch(1169, 209, &CSysReports::OnPrintNonEmptyZones));
    layout->addWidget(addSwitch(1170, 210, &CSysReports::OnPrintEventActionRelay));
    layout->addWidget(addSwitch(1171, 211, &CSysReports::OnPrintActionEventRelay));
    layout->addSpacing(fontMetrics().height());

    auto* print = makeImageButton("1", kPrintText, 142, this);
    auto* pdf = new QPushButton(loadText(kSavePdfText), this);
    pdf->setObjectName("pdf");
    auto* matrixPdf = new QPushButton(loadText(kMatrixPdfText), this);
    matrixPdf->setObjectName("matrixPdf");
    auto* cancel = makeImageButton("2", kCancelText, 143, this);
    print->setDefault(true);
    connect(print, &QPushButton::clicked, this, &CSysReports::OnOK);
    connect(pdf, &QPushButton::clicked, this, &CSysReports::OnSavePdf);
    connect(matrixPdf, &QPushButton::clicked, this, &CSysReports::OnSaveMatrixPdf);
    connect(cancel, &QPushButton::clicked, this, &CSysReports::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(print);
    buttons->addWidget(pdf);
    buttons->addWidget(matrixPdf);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QCheckBox* CSysReports::addSwitch(int controlId, int textId, void (CSysReports::*toggle)()) {
    auto* box = new QCheckBox(loadText(textId), this);
    box->setObjectName(QString::number(controlId));
    connect(box, &QCheckBox::toggled, this, [this, toggle] { (this->*toggle)(); });
    return box;
}

int CSysReports::run() {
    printk("\n CSysReports::OnInitDialog");
    if (m_facility.getNumberOfPanels() == 0) {
        m_prompt.showMessage(kNoPanelText);
        return Rejected;
    }
    for (int i = 0; i < m_facility.getNumberOfPanels(); ++i) m_facility.setPanelSelected(m_facility.getPanelId(i), false);
    if (!m_prompt.choosePanels(m_facility, true)) return Rejected;
    return exec();
}

// Runs a job with the pages done in a progress dialog, shown when the job takes a while; its
// Cancel stops the job. The model is read on this thread only, so the dialog is kept alive by
// handing it the events between pages.
CReportPrinter::Result CSysReports::withProgress(const Job& job) {
    QProgressDialog progress(pagesDone(0), loadText(kCancelText), 0, 0, this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(kShowProgressAfterMs);
    return job([&progress](int pages) {
        progress.setLabelText(pagesDone(pages));
        QCoreApplication::processEvents();
        return !progress.wasCanceled();
    });
}

void CSysReports::OnOK() {
    printk("\n CSysReports::OnOK");
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromLatin1(kDocumentName));
    if (!m_choosePrinter(printer, this)) return;
    // The page model keeps its own margins, as on the PDF; the sheet's edges are the printer's.
    printer.setFullPage(true);
    finished(withProgress([&](const CReportPage::PageCallback& onPage) {
                 // Withdraw the job while it is still open, where the printer allows it.
                 return CReportPrinter(m_facility, m_switches).print(printer, [&](int pages) {
                     if (onPage(pages)) return true;
                     printer.abort();
                     return false;
                 });
             }),
             QString());
}

void CSysReports::OnSavePdf() {
    printk("\n CSysReports::OnSavePdf");
    const QString path = m_files.savePdf(suggestedPdf());
    if (path.isEmpty()) return;
    finished(withProgress([&](const CReportPage::PageCallback& onPage) {
                 return CReportPdf::write(m_facility, m_switches, path, pdfTitle(), CReportPdf::defaultPageSize(), onPage);
             }),
             path);
}

void CSysReports::OnSaveMatrixPdf() {
    printk("\n CSysReports::OnSaveMatrixPdf");
    const QString path = m_files.savePdf(suggestedPdf(QStringLiteral("-matrix")));
    if (path.isEmpty()) return;
    std::vector<int> panels;
    for (int i = 0; i < m_facility.getNumberOfPanels(); ++i)
        if (m_facility.getPanelSelected(m_facility.getPanelId(i))) panels.push_back(m_facility.getPanelId(i));
    const CCauseEffectMatrix matrix = CCauseEffectMatrix::build(m_facility, panels);
    finished(withProgress([&](const CReportPage::PageCallback& onPage) {
                 return CMatrixPrinter(m_facility, matrix).pdf(path, pdfTitle(), CReportPdf::defaultPageSize(), onPage);
             }),
             path);
}

QString CSysReports::pdfTitle() const {
    return m_facilityFile.isEmpty() ? QString::fromLatin1(kDocumentName) : QFileInfo(m_facilityFile).fileName();
}

// The facility's own name and folder with `suffix` and ".pdf", else the report's name in the
// documents folder.
QString CSysReports::suggestedPdf(const QString& suffix) const {
    if (m_facilityFile.isEmpty())
        return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
            .filePath(QString::fromLatin1(kDocumentName) + suffix + ".pdf");
    const QFileInfo file(m_facilityFile);
    return file.dir().filePath(file.completeBaseName() + suffix + ".pdf");
}

// Closes the dialog after a finished job; otherwise says why and stays open.
void CSysReports::finished(CReportPrinter::Result result, const QString& pdf) {
    m_lastResult = result;
    switch (result) {
    case CReportPrinter::Result::kPrinted: accept(); return;
    case CReportPrinter::Result::kNoRoom: m_prompt.showMessage(CReportPrinter::kNoRoomText); return;
    case CReportPrinter::Result::kCancelled: return;
    case CReportPrinter::Result::kFailed:
    case CReportPrinter::Result::kNotSaved:
        if (pdf.isEmpty())
            m_prompt.showMessage(kPrinterFailedText);
        else
            m_prompt.showMessageWith(kNotSavedText, toKvWString(pdf));
        return;
    }
}
