#include "ui/CCheckFindingsModel.h"

#include <QApplication>
#include <QStyle>

#include "ui/CUiCheckWords.h"
#include "ui/UiText.h"

namespace {

constexpr int kColumnTexts[] = {0, 561, 562, 563};  // -, panel, item, what the check found
constexpr int kPanelItemText = 568;
constexpr int kLoopText = 564;
constexpr int kElementText = 565;
constexpr int kZoneText = 566;
constexpr int kRuleText = 567;

QString number(int value) { return QString::number(value); }

}  // namespace

CCheckFindingsModel::CCheckFindingsModel(std::vector<CCheckFinding> findings, QObject* parent)
    : QAbstractTableModel(parent), m_findings(std::move(findings)), m_words(CUiCheckWords::load()) {}

QString CCheckFindingsModel::itemText(const CCheckFinding& f) {
    switch (f.item) {
    case CCheckFinding::Item::Panel: break;
    case CCheckFinding::Item::Loop: return loadTextWith(kLoopText, number(f.loop));
    case CCheckFinding::Item::Element: return loadTextWith(kElementText, number(f.loop), number(f.element));
    case CCheckFinding::Item::Zone: return loadTextWith(kZoneText, number(f.zone));
    case CCheckFinding::Item::Rule: return loadTextWith(kRuleText, number(f.rule));
    }
    return loadText(kPanelItemText);
}

int CCheckFindingsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_findings.size());
}

int CCheckFindingsModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

QVariant CCheckFindingsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const CCheckFinding& f = finding(index.row());
    if (role == Qt::DecorationRole && index.column() == kSeverity)
        return QApplication::style()->standardIcon(f.isError() ? QStyle::SP_MessageBoxCritical
                                                               : QStyle::SP_MessageBoxWarning);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    switch (index.column()) {
    case kSeverity: return loadText(f.isError() ? kErrorText : kWarningText);
    case kPanel: return number(f.panel);
    case kItem: return itemText(f);
    case kText: return QString::fromStdString(m_words.sentence(f));
    default: return {};
    }
}

QVariant CCheckFindingsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= kColumns) return {};
    return kColumnTexts[section] ? loadText(kColumnTexts[section]) : QString();
}
