#include "ui/CRuleListModel.h"

#include <algorithm>

#include "basalt/KvTrace.h"
#include "model/CFacilityManager.h"
#include "ui/CRuleWords.h"
#include "ui/UiText.h"

namespace {

constexpr int kEventColumnText = 143;
constexpr int kActionColumnText = 144;

}  // namespace

CRuleListModel::CRuleListModel(CFacilityManager& facility, bool eventSide, QObject* parent)
    : QAbstractTableModel(parent), m_facility(facility), m_eventSide(eventSide) {}

void CRuleListModel::showRulesOf(const CRuleNode* node) {
    printk("\n CListCtrlEx::populate");
    beginResetModel();
    m_rules.clear();
    if (node) {
        // Walked by position: ids may be sparse and as large as an int.
        for (const auto& rule : m_facility.facility().eventActions) {
            const CEventActionSide* side = m_eventSide ? static_cast<const CEventActionSide*>(rule->event.get())
                                                        : static_cast<const CEventActionSide*>(rule->action.get());
            CRuleNode named;
            if (side && CRuleNode::fromSide(*side, named) && named == *node) m_rules.push_back(rule->id);
        }
    }
    endResetModel();
}

int CRuleListModel::ruleAt(int row) const {
    if (row < 0 || row >= static_cast<int>(m_rules.size())) return 0;
    return m_rules[static_cast<std::size_t>(row)];
}

int CRuleListModel::rowOf(int id) const {
    auto found = std::find(m_rules.begin(), m_rules.end(), id);
    return found == m_rules.end() ? -1 : static_cast<int>(found - m_rules.begin());
}

int CRuleListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rules.size());
}

int CRuleListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 2; }

QVariant CRuleListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(m_rules.size())) return {};
    const int id = m_rules[static_cast<std::size_t>(index.row())];
    if (role == Qt::ToolTipRole) return CRuleWords::rule(m_facility, id);
    if (role != Qt::DisplayRole) return {};
    if (index.column() == 0) return CRuleWords::side(m_facility, m_facility.getEventActionInSide(id), true);
    return CRuleWords::side(m_facility, m_facility.getEventActionOutSide(id), false);
}

QVariant CRuleListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return loadText(section == 0 ? kEventColumnText : kActionColumnText);
}
