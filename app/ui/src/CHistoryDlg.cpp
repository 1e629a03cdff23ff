#include "ui/CHistoryDlg.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "basalt/KvTrace.h"
#include "basalt/KvUtf.h"
#include "history/CPanelSnapshot.h"
#include "history/CSiteHistory.h"
#include "model/CFacilityDiff.h"
#include "model/CFacilityManager.h"
#include "reports/CReportDiffWords.h"
#include "ui/UiText.h"
#include "ui/UiWidgets.h"

namespace {

constexpr int kColumnTexts[] = {502, 503, 504, 505, 506, 507};  // time, kind, panel, address, label, by
constexpr int kCompareText = 511;
constexpr int kCloseText = 512;

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

CHistoryDlg::CHistoryDlg(const KvWString& facilityFile, CFacilityManager& facility, QWidget* parent)
    : QDialog(parent),
      m_file(facilityFile),
      m_facility(facility),
      m_records(CSiteHistory(facilityFile).list()),
      m_list(new QTableWidget(static_cast<int>(m_records.size()), 6, this)),
      m_compare(makeImageButton("compare", kCompareText, 142, this)),
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
    m_differences->setPlainText(loadText(m_records.empty() ? kNoHistoryText : kChooseTwoText));
    m_compare->setEnabled(!m_records.empty());
    connect(m_compare, &QPushButton::clicked, this, &CHistoryDlg::compare);
    auto* close = makeImageButton("2", kCloseText, 143, this);
    connect(close, &QPushButton::clicked, this, &CHistoryDlg::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_compare);
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
        m_differences->setPlainText(loadText(kChooseTwoText));
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
        m_differences->setPlainText(fromUtf8(problem));
        return;
    }
    const CFacilityDiff diff = CFacilityDiff::compare(older.facility(), newer.facility(), rows.size() == 2 ? 0 : panel);
    QStringList lines;
    for (const std::string& line : diff.lines(CReportDiffWords::load())) lines << fromUtf8(line);
    m_differences->setPlainText(diff.empty() ? loadText(kEqualText) : lines.join('\n'));
}

QString CHistoryDlg::differences() const { return m_differences->toPlainText(); }
