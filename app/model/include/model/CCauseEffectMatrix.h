// CCauseEffectMatrix: every rule of a facility at a glance, as causes (rows) against effects
// (columns).
//
// A row is one event side as the rules use it: what it names (panel, loop, element, zone,
// range) together with its kind, so "alarm of detector 17" and "fault of detector 17" are two
// causes. Columns are the action sides alike. A zone range stays one row or column; it is not
// spread over its zones. Rows and columns are grouped by the panel they name, panels in the
// facility's order, panels the facility no longer has after them by id, sides that name no
// panel last; inside a panel, the panel itself first, then ranges, zones, and each loop
// followed by its elements.
//
// A cell is one rule; two rules joining the same cause and effect make two cells at the same
// place. Lookups go both ways: the effects of a cause, the causes of an effect, the place of a
// rule. The matrix is a snapshot: it does not follow later changes of the facility.
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/CEventActionSide.h"

class CFacilityManager;

class CCauseEffectMatrix {
public:
    // One row or column.
    struct Line {
        CEventActionSide side;  // kind, item type and selection (element type is not part of it)
        int firstRule = 0;      // id of the first rule, in list order, that uses this side
    };
    // Consecutive lines that name the same panel.
    struct Group {
        int panel = 0;           // panel id; 0 for sides that name no panel
        bool inFacility = false; // false when the facility has no panel with this id
        std::size_t first = 0;   // first line of the group
        std::size_t count = 0;
    };
    struct Cell {
        std::size_t row = 0;
        std::size_t column = 0;
        int rule = 0;   // rule id
        int delay = 0;
    };
    // A run of cells in cells().
    struct Cells {
        const Cell* first = nullptr;
        std::size_t count = 0;
        const Cell* begin() const { return first; }
        const Cell* end() const { return first + count; }
        bool empty() const { return count == 0; }
    };

    // The matrix of every rule with both sides. With `panels` not empty only the rules whose
    // event or action side names one of those panels, so a panel's matrix also shows what
    // other panels make it do and what it makes them do.
    static CCauseEffectMatrix build(const CFacilityManager& manager, const std::vector<int>& panels = {});

    const std::vector<Line>& rows() const { return m_rows; }
    const std::vector<Line>& columns() const { return m_columns; }
    const std::vector<Group>& rowGroups() const { return m_rowGroups; }
    const std::vector<Group>& columnGroups() const { return m_columnGroups; }
    // Every cell, by row, then column, then rule list order.
    const std::vector<Cell>& cells() const { return m_cells; }
    // Rules left out because a side is missing.
    std::size_t rulesWithoutSides() const { return m_withoutSides; }

    // The cells of one row (the effects of a cause), by column; empty past the end.
    Cells effectsOf(std::size_t row) const;
    // The cells of one column (the causes of an effect), by row; empty past the end.
    std::vector<const Cell*> causesOf(std::size_t column) const;
    // The rules joining a cause and an effect, in rule list order; empty when none.
    Cells at(std::size_t row, std::size_t column) const;
    // The cell of a rule; null when the matrix does not hold it (first rule with the id).
    const Cell* cellOf(int ruleId) const;
    // Rows or columns whose side names the same panel, loop, element, zone and range as
    // `selection` (its kind does not matter), in order.
    std::vector<std::size_t> rowsNaming(const CEventActionSide& selection) const;
    std::vector<std::size_t> columnsNaming(const CEventActionSide& selection) const;
    // The delays of the rules of one place, as a cell shows them: "5", "5 / 30"; empty for none.
    static std::string delays(Cells cells);
    // The run of cells at the start of `cells` that share its first cell's column.
    static Cells samePlace(Cells cells);

    // The group a row or column belongs to; null past the end.
    const Group* rowGroup(std::size_t row) const { return groupOf(m_rowGroups, row); }
    const Group* columnGroup(std::size_t column) const { return groupOf(m_columnGroups, column); }

private:
    static const Group* groupOf(const std::vector<Group>& groups, std::size_t line);

    std::vector<Line> m_rows;
    std::vector<Line> m_columns;
    std::vector<Group> m_rowGroups;
    std::vector<Group> m_columnGroups;
    std::vector<Cell> m_cells;
    std::vector<std::size_t> m_rowStart;            // rows + 1 entries into m_cells
    std::vector<std::vector<std::size_t>> m_byColumn;  // cell positions per column, by row
    std::unordered_map<int, std::size_t> m_ruleCell;
    std::size_t m_withoutSides = 0;

};
