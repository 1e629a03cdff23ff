// CRuleListModel: the rules of one tree item, one row each: the event side and the action side
// in words (columns 143 and 144). Rows hold rule ids; texts are read when shown.
#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "ui/CRuleNode.h"

class CFacilityManager;

class CRuleListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    CRuleListModel(CFacilityManager& facility, bool eventSide, QObject* parent = nullptr);

    // The rules whose event side (or action side) names `node`, in rule order; none for null.
    void showRulesOf(const CRuleNode* node);
    int ruleAt(int row) const;
    // Row of rule `id`; -1 when it is not listed.
    int rowOf(int id) const;
    const std::vector<int>& rules() const { return m_rules; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    CFacilityManager& m_facility;
    bool m_eventSide;
    std::vector<int> m_rules;
};
