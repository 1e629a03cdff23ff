#include "ui/CReadBackModel.h"

#include "ui/UiText.h"

namespace {

constexpr int kColumnTexts[] = {562, 571, 572};  // item, what was sent, what the panel holds

constexpr int kElementText = 565;  // "Loop %s, element %s"
constexpr int kInstallerText = 593;
constexpr int kPhoneText = 594;
constexpr int kPanelAddressText = 640;
constexpr int kPanelLabelText = 641;
constexpr int kZoneDescriptionText = 642;
constexpr int kRuleEntryText = 643;
constexpr int kNoRuleText = 644;
constexpr int kNoElementText = 645;

QString fromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QString value(const CPanelDifference& d, const std::string& text, bool nothing) {
    if (!nothing) return fromUtf8(text);
    return loadText(d.kind == CPanelDifference::Kind::kElement ? kNoElementText : kNoRuleText);
}

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
    case kItem: return itemText(d);
    case kSent: return value(d, d.sent, d.sentNothing);
    case kHeld: return value(d, d.held, d.heldNothing);
    default: return {};
    }
}

QVariant CReadBackModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= kColumns) return {};
    return loadText(kColumnTexts[section]);
}

QString CReadBackModel::itemText(const CPanelDifference& d) {
    using Kind = CPanelDifference::Kind;
    const QString number = QString::number(d.number);
    switch (d.kind) {
    case Kind::kPanelAddress: return loadText(kPanelAddressText);
    case Kind::kPanelLabel: return loadText(kPanelLabelText);
    case Kind::kInstaller: return loadText(kInstallerText);
    case Kind::kPhone: return loadText(kPhoneText);
    case Kind::kZoneDescription: return loadTextWith(kZoneDescriptionText, number);
    case Kind::kElement: return loadTextWith(kElementText, number, QString::number(d.second));
    case Kind::kRule: return loadTextWith(kRuleEntryText, number);
    case Kind::kOther: break;
    }
    return fromUtf8(d.item);
}
