// CCheckFindingsModel: the facility check's findings as a table, one row each: error or warning,
// the panel, the item within it and what the check found.
//
// The item and what was found are worded from the string table (CUiCheckWords).
#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "check/CCheckFinding.h"
#include "check/CCheckWords.h"

class CCheckFindingsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { kSeverity = 0, kPanel, kItem, kText, kColumns };
    static constexpr int kErrorText = 499;
    static constexpr int kWarningText = 560;

    explicit CCheckFindingsModel(std::vector<CCheckFinding> findings, QObject* parent = nullptr);

    const CCheckFinding& finding(int row) const { return m_findings[static_cast<std::size_t>(row)]; }
    // The item within its panel in words: "Loop 2, element 7", "Zone 4", "Rule 3", "The panel".
    static QString itemText(const CCheckFinding& finding);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<CCheckFinding> m_findings;
    CCheckWords m_words;
};
