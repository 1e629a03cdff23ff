// CReadBackModel: the differences a read-back after an upload found, one row each: the item,
// what was sent and what the panel holds. The item and the word for nothing are in the user's
// language; the values themselves stay in the read-back's own words.
#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "panel_link/CPanelDifference.h"

class CReadBackModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { kItem = 0, kSent, kHeld, kColumns };

    explicit CReadBackModel(std::vector<CPanelDifference> differences, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The item's name from the string table; the read-back's English name for a kind without one.
    static QString itemText(const CPanelDifference& difference);

private:
    std::vector<CPanelDifference> m_differences;
};
