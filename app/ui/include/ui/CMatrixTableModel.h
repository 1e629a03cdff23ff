// CMatrixTableModel: the cause-and-effect matrix as a table: a row per cause, a column per
// effect, the delays in the cells, the rules in words in their tooltips.
//
// The words of every line are made once per refresh; a cell is found by a binary search in
// its row, so a view over 2048 rules pays only for the cells it draws. Filtering keeps the
// rules that touch one panel (from either side) and, with a text, the rules whose cause or
// effect words hold it, ignoring case; rows and columns left without a rule are hidden.
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>
#include <vector>

#include "model/CCauseEffectMatrix.h"

class CFacilityManager;

class CMatrixTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kRuleRole = Qt::UserRole;  // id of the cell's first rule; 0 where none

    explicit CMatrixTableModel(const CFacilityManager& manager, QObject* parent = nullptr);

    // Rebuilds from the facility: the rules touching `panel` (0: every panel) whose cause or
    // effect words hold `text` (empty: all of them).
    void refresh(int panel = 0, const QString& text = {});
    const CCauseEffectMatrix& matrix() const { return m_matrix; }
    // Where a rule is shown; invalid when it is filtered out or there is no such rule.
    QModelIndex indexOfRule(int ruleId) const;
    // The rule of a cell in words: "Rule 3, delay 30" and "cause → effect", one line each per rule.
    QString ruleWords(const QModelIndex& index) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    struct Lines {
        std::vector<std::size_t> shown;    // matrix lines, in order
        std::vector<int> position;         // matrix line -> shown position, -1 when hidden
        QStringList words;                 // by matrix line
        std::vector<QStringList> parts;    // by matrix line: its kind and place apart
        QStringList panels;                // by matrix line
        std::vector<int> group;            // by matrix line: its panel group's number
    };
    void describe(Lines& lines, const std::vector<CCauseEffectMatrix::Line>& all,
                  const std::vector<CCauseEffectMatrix::Group>& groups, bool cause) const;
    void filter(const QString& text);
    CCauseEffectMatrix::Cells cellsAt(const QModelIndex& index) const;

    const CFacilityManager& m_manager;
    CCauseEffectMatrix m_matrix;
    Lines m_rows;
    Lines m_columns;
};
