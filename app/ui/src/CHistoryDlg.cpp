#include "ui/CHistoryDlg.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <QVBoxLayout>

#include "basalt/KvTrace.h"
#include "basalt/KvUtf.h"
#include "history/CPanelSnapshot.h"
#include "history/CSiteHistory.h"
#include "model/CFacilityDiff.h"
#include "model/CFacilityManager.h"
#include "reports/CDiffPrinter.h"
#include "reports/CReportDiffWords.h"
#include "reports/CReportPdf.h"
#include "seams/IUserPrompt.h"
#include "ui/IFileDialogs.h"
#include "ui/UiText.h"
#include "ui/UiWidgets.h"

namespace {

constexpr int kColumnTexts[] = {502, 503, 504, 505, 506, 507};  // time, kind, panel, address, label, by
constexpr int kCompareText = 511;
constexpr int kCloseText = 512;
constexpr int kSavePdfText = 322;
constexpr int kPrintText = 325;
constexpr const char* kDocumentName = "CairnHistory";

QString fromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

int kindText(CHistoryRecord::Kind kind) {
    switch (kind) {
    case CHistoryRecord::Kind::Upload: return 508;
    case CHistoryRecord::Kind::Download: return 509;
    case CHistoryRecord::Kind::Verify: break;
    }
    return 510;
}

// "2026-12-07T15:20:01.123Z" as "2026-12-07 15:20:01 UTC".
QString shownTime(const std::string& time) {
    if (time.size() < 19) return fromUtf8(time);
    return fromUtf8(time.substr(0, 10) + " " + time.substr(11, 8) + " UTC");
}

}  // namespace

CHistoryDlg::CHistoryDlg(const KvWString& facilityFile, CFacilityManager& facility, IUserPrompt& prompt,
                         IFileDialogs& files, QWidget* parent)
    : QDialog(parent),
      m_file(facilityFile),
      m_facility(facility),
      m_prompt(prompt),
      m_files(files),
      m_records(CSiteHistory(facilityFile).list()),
      m_list(new QTableWidget(static_cast<int>(m_records.size()), 6, this)),
      m_compare(makeImageButton("compare", kCompareText, 142, this)),
      m_print(new QPushButton(loadText(kPrintText), this)),
      m_pdf(new QPushButton(loadText(kSavePdfText), this)),
      m_differences(new QPlainTextEdit(this)) {
    printk("\n CHistoryDlg::CHistoryDlg");
    setObjectName("CHistoryDlg");
    setWindowTitle(loadText(kTitleText));
    QStringList headers;
    for (int id : kColumnTexts) headers << loadText(id);
    m_list->setObjectName("entries");
    m_list->setHorizontalHeaderLabels(headers);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::MultiSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->verticalHeader()->setVisible(false);
    for (int row = 0; row < entries(); ++row) fillRow(row, m_records[static_cast<std::size_t>(row)]);
    m_list->resizeColumnsToContents();
    m_differences->setObjectName("differences");
    m_differences->setReadOnly(true);
    showText(loadText(m_records.empty() ? kNoHistoryText : kChooseTwoText));
    m_compare->setEnabled(!m_records.empty());
    connect(m_compare, &QPushButton::clicked, this, &CHistoryDlg::compare);
    m_print->setObjectName("print");
    m_pdf->setObjectName("pdf");
    m_print->setEnabled(false);
    m_pdf->setEnabled(false);
    connect(m_print, &QPushButton::clicked, this, &CHistoryDlg::print);
    connect(m_pdf, &QPushButton::clicked, this, &CHistoryDlg::savePdf);
    auto* close = makeImageButton("2", kCloseText, 143, this);
    connect(close, &QPushButton::clicked, this, &CHistoryDlg::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_compare);
    buttons->addWidget(m_print);
    buttons->addWidget(m_pdf);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 2);
    layout->addWidget(m_differences, 3);
    layout->addLayout(buttons);
    resize(720, 520);
}

void CHistoryDlg::fillRow(int row, const CHistoryRecord& r) {
    const QString cells[] = {shownTime(r.time),
                             loadText(kindText(r.kind)),
                             QString::number(r.panelId),
                             QString::number(r.panelAddress),
                             toQString(r.label),
                             fromUtf8(r.user + "@" + r.host)};
    for (int column = 0; column < 6; ++column) m_list->setItem(row, column, new QTableWidgetItem(cells[column]));
}

void CHistoryDlg::select(int first, int second) {
    m_list->clearSelection();
    for (int row : {first, second})
        if (row >= 0 && row < entries()) m_list->selectRow(row);
}

bool CHistoryDlg::loadEntry(int row, CFacilityManager& into) const {
    return CSiteHistory(m_file).loadSnapshot(m_records[static_cast<std::size_t>(row)], into);
}

void CHistoryDlg::compare() {
    printk("\n CHistoryDlg::compare");
    QList<int> rows;
    for (const QModelIndex& index : m_list->selectionModel()->selectedRows()) rows << index.row();
    std::sort(rows.begin(), rows.end());
    if (rows.isEmpty() || rows.size() > 2) {
        showText(loadText(kChooseTwoText));
        return;
    }
    CFacilityManager older, newer;
    const int panel = m_records[static_cast<std::size_t>(rows[0])].panelId;
    std::string problem;
    // One entry alone is compared with what an upload of its panel from the facility would send.
    const bool loaded = loadEntry(rows[0], older) &&
                        (rows.size() == 2 ? loadEntry(rows[1], newer)
                                          : CPanelSnapshot::fromFacility(m_facility, panel, newer, problem));
    if (!loaded) {
        showText(fromUtf8(problem));
        return;
    }
    const CFacilityDiff diff = CFacilityDiff::compare(older.facility(), newer.facility(), rows.size() == 2 ? 0 : panel);
    QStringList lines;
    for (const std::string& line : diff.lines(CReportDiffWords::load())) lines << fromUtf8(line);
    const QString heading = loadTextWith(kHeadingText, entryWords(rows[0]),
                                         rows.size() == 2 ? entryWords(rows[1]) : loadText(kFacilityNowText));
    showText(diff.empty() ? loadText(kEqualText) : lines.join('\n'), heading);
}

// "2026-12-07 15:20:01 UTC, Upload, Panel 1".
QString CHistoryDlg::entryWords(int row) const {
    const CHistoryRecord& r = m_records[static_cast<std::size_t>(row)];
    return shownTime(r.time) + ", " + loadText(kindText(r.kind)) + ", " +
           loadTextWith(CReportDiffWords::kPanelText, QString::number(r.panelId));
}

// Shows `text`; with a heading it is a difference, which can then be printed.
void CHistoryDlg::showText(const QString& text, const QString& heading) {
    m_differences->setPlainText(text);
    m_heading = heading;
    m_print->setEnabled(!heading.isEmpty());
    m_pdf->setEnabled(!heading.isEmpty());
}

void CHistoryDlg::print() {
    printk("\n CHistoryDlg::print");
    if (m_heading.isEmpty()) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromLatin1(kDocumentName));
    if (!m_choosePrinter(printer, this)) return;
    // The page model keeps its own margins, as on the PDF.
    printer.setFullPage(true);
    CDiffPrinter job(windowTitle(), m_heading, differences().split('\n'));
    finished(job.print(printer), QString());
}

void CHistoryDlg::savePdf() {
    printk("\n CHistoryDlg::savePdf");
    if (m_heading.isEmpty()) return;
    const QString path = m_files.savePdf(suggestedPdf());
    if (path.isEmpty()) return;
    CDiffPrinter job(windowTitle(), m_heading, differences().split('\n'));
    finished(job.pdf(path, CReportPdf::defaultPageSize()), path);
}

// "site-history.pdf" beside the facility, else in the documents folder.
QString CHistoryDlg::suggestedPdf() const {
    if (m_file.IsEmpty())
        return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
            .filePath(QString::fromLatin1(kDocumentName) + ".pdf");
    const QFileInfo file(toQString(m_file));
    return file.dir().filePath(file.completeBaseName() + "-history.pdf");
}

void CHistoryDlg::finished(CReportPrinter::Result result, const QString& pdf) {
    m_lastResult = result;
    switch (result) {
    case CReportPrinter::Result::kPrinted:
    case CReportPrinter::Result::kCancelled: return;
    case CReportPrinter::Result::kNoRoom: m_prompt.showMessage(CReportPrinter::kNoRoomText); return;
    case CReportPrinter::Result::kFailed:
    case CReportPrinter::Result::kNotSaved:
        if (pdf.isEmpty())
            m_prompt.showMessage(CSysReports::kPrinterFailedText);
        else
            m_prompt.showMessageWith(CSysReports::kNotSavedText, toKvWString(pdf));
        return;
    }
}

QString CHistoryDlg::differences() const { return m_differences->toPlainText(); }
