#include "ui/CReadBackModel.h"

#include "ui/UiText.h"

namespace {

constexpr int kColumnTexts[] = {562, 571, 572};  // item, what was sent, what the panel holds

QString fromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

CReadBackModel::CReadBackModel(std::vector<CPanelDifference> differences, QObject* parent)
    : QAbstractTableModel(parent), m_differences(std::move(differences)) {}

int CReadBackModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_differences.size());
}

int CReadBackModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

QVariant CReadBackModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    const CPanelDifference& d = m_differences[static_cast<std::size_t>(index.row())];
    switch (index.column()) {
    case kItem: return fromUtf8(d.item);
    case kSent: return fromUtf8(d.sent);
    case kHeld: return fromUtf8(d.held);
    default: return {};
    }
}

QVariant CReadBackModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= kColumns) return {};
    return loadText(kColumnTexts[section]);
}
