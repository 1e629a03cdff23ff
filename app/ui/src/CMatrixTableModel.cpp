#include "ui/CMatrixTableModel.h"

#include <QBrush>
#include <QColor>

#include "basalt/KvTrace.h"
#include "model/CFacilityManager.h"
#include "reports/CMatrixPrinter.h"
#include "ui/CRuleWords.h"
#include "ui/CVerticalTextHeader.h"
#include "ui/UiText.h"

namespace {

constexpr int kRuleDelayText = 526;

}  // namespace

CMatrixTableModel::CMatrixTableModel(const CFacilityManager& manager, QObject* parent)
    : QAbstractTableModel(parent), m_manager(manager) {}

void CMatrixTableModel::refresh(int panel, const QString& text) {
    printk("\n CMatrixTableModel::refresh");
    beginResetModel();
    m_matrix = CCauseEffectMatrix::build(m_manager, panel ? std::vector<int>{panel} : std::vector<int>{});
    describe(m_rows, m_matrix.rows(), m_matrix.rowGroups(), true);
    describe(m_columns, m_matrix.columns(), m_matrix.columnGroups(), false);
    filter(text.trimmed());
    endResetModel();
}

void CMatrixTableModel::describe(Lines& lines, const std::vector<CCauseEffectMatrix::Line>& all,
                                 const std::vector<CCauseEffectMatrix::Group>& groups, bool cause) const {
    lines = Lines();
    lines.words.reserve(static_cast<int>(all.size()));
    lines.parts.reserve(all.size());
    for (const CCauseEffectMatrix::Line& line : all) {
        lines.parts.push_back(CRuleWords::sideLines(m_manager, &line.side, cause));
        lines.words.push_back(CRuleWords::oneLine(lines.parts.back()));
    }
    lines.group.assign(all.size(), 0);
    lines.panels.reserve(static_cast<int>(all.size()));
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const QString panel = CMatrixPrinter::panelWords(m_manager, groups[g].panel);
        for (std::size_t i = groups[g].first; i < groups[g].first + groups[g].count; ++i) {
            lines.group[i] = static_cast<int>(g);
            lines.panels.push_back(panel);
        }
    }
}

// Keeps the rules whose cause or effect holds the text, and the lines that still have a rule.
void CMatrixTableModel::filter(const QString& text) {
    const auto holds = [&](const Lines& lines, std::size_t i) {
        return text.isEmpty() || lines.words[static_cast<int>(i)].contains(text, Qt::CaseInsensitive) ||
               lines.panels[static_cast<int>(i)].contains(text, Qt::CaseInsensitive);
    };
    std::vector<bool> rowShown(m_matrix.rows().size(), false), columnShown(m_matrix.columns().size(), false);
    for (const CCauseEffectMatrix::Cell& c : m_matrix.cells())
        if (holds(m_rows, c.row) || holds(m_columns, c.column)) rowShown[c.row] = columnShown[c.column] = true;
    const auto keep = [](Lines& lines, const std::vector<bool>& shown) {
        lines.position.assign(shown.size(), -1);
        for (std::size_t i = 0; i < shown.size(); ++i)
            if (shown[i]) {
                lines.position[i] = static_cast<int>(lines.shown.size());
                lines.shown.push_back(i);
            }
    };
    keep(m_rows, rowShown);
    keep(m_columns, columnShown);
}

QModelIndex CMatrixTableModel::indexOfRule(int ruleId) const {
    const CCauseEffectMatrix::Cell* cell = m_matrix.cellOf(ruleId);
    if (!cell || m_rows.position[cell->row] < 0 || m_columns.position[cell->column] < 0) return {};
    return index(m_rows.position[cell->row], m_columns.position[cell->column]);
}

CCauseEffectMatrix::Cells CMatrixTableModel::cellsAt(const QModelIndex& index) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
    return m_matrix.at(m_rows.shown[static_cast<std::size_t>(index.row())],
                       m_columns.shown[static_cast<std::size_t>(index.column())]);
}

QString CMatrixTableModel::ruleWords(const QModelIndex& index) const {
    QStringList lines;
    for (const CCauseEffectMatrix::Cell& c : cellsAt(index)) {
        lines << loadTextWith(kRuleDelayText, QString::number(c.rule), QString::number(c.delay));
        lines << m_rows.words[static_cast<int>(c.row)] + QStringLiteral(" \u2192 ") +
                     m_columns.words[static_cast<int>(c.column)];
    }
    return lines.join(u'\n');
}

int CMatrixTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.shown.size());
}

int CMatrixTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_columns.shown.size());
}

QVariant CMatrixTableModel::data(const QModelIndex& index, int role) const {
    switch (role) {
    case Qt::DisplayRole: {
        const auto cells = cellsAt(index);
        return cells.empty() ? QVariant() : QString::fromStdString(CCauseEffectMatrix::delays(cells));
    }
    case Qt::ToolTipRole: {
        const QString words = ruleWords(index);
        return words.isEmpty() ? QVariant() : words;
    }
    case kRuleRole: {
        const auto cells = cellsAt(index);
        return cells.empty() ? 0 : cells.first->rule;
    }
    case Qt::TextAlignmentRole: return int(Qt::AlignCenter);
    case Qt::BackgroundRole: {
        if (!index.isValid()) return {};
        // Panels meet in blocks; every other block is shaded so a panel's rows and columns read as one.
        const int r = m_rows.group[m_rows.shown[static_cast<std::size_t>(index.row())]];
        const int c = m_columns.group[m_columns.shown[static_cast<std::size_t>(index.column())]];
        return (r + c) % 2 ? QVariant(QBrush(QColor(0, 0, 0, 14))) : QVariant();
    }
    default: return {};
    }
}

QVariant CMatrixTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    const Lines& lines = orientation == Qt::Vertical ? m_rows : m_columns;
    if (section < 0 || section >= static_cast<int>(lines.shown.size())) return {};
    const int line = static_cast<int>(lines.shown[static_cast<std::size_t>(section)]);
    switch (role) {
    case Qt::DisplayRole: return lines.words[line];
    case CVerticalTextHeader::kLinesRole: return lines.parts[static_cast<std::size_t>(line)];
    case Qt::ToolTipRole: return lines.panels[line] + u'\n' + lines.words[line];
    default: return {};
    }
}
