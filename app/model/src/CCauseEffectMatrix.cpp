#include "model/CCauseEffectMatrix.h"

#include <algorithm>
#include <array>
#include <map>

#include "basalt/KvTrace.h"
#include "model/CFacilityManager.h"

namespace {

// Sort key of a line: panel class and rank, then loop, element, zone, range, item type, kind.
using LineKey = std::array<int, 9>;

enum PanelClass { kKnownPanel = 0, kUnknownPanel = 1, kNoPanel = 2 };

class LineIndex {
public:
    explicit LineIndex(const std::unordered_map<int, int>& panelRank) : m_panelRank(panelRank) {}

    // Registers the side (first use names firstRule) and returns its key.
    LineKey add(const CEventActionSide& s, int ruleId) {
        const LineKey key = keyOf(s);
        m_lines.try_emplace(key, s, ruleId);
        return key;
    }
    // Numbers the lines in key order and hands them out with their groups.
    void finish(std::vector<CCauseEffectMatrix::Line>& lines, std::vector<CCauseEffectMatrix::Group>& groups) {
        lines.reserve(m_lines.size());
        for (auto& [key, entry] : m_lines) {
            entry.position = lines.size();
            if (groups.empty() || groups.back().panel != entry.line.side.panel) {
                CCauseEffectMatrix::Group g;
                g.panel = entry.line.side.panel;
                g.inFacility = key[0] == kKnownPanel;
                g.first = lines.size();
                groups.push_back(g);
            }
            ++groups.back().count;
            lines.push_back(entry.line);
        }
    }
    std::size_t position(const LineKey& key) const { return m_lines.at(key).position; }

private:
    struct Entry {
        Entry(const CEventActionSide& s, int ruleId) : line{CEventActionSide(s.type, s.type), ruleId} {
            line.side.panel = s.panel;
            line.side.loop = s.loop;
            line.side.element = s.element;
            line.side.zone = s.zone;
            line.side.rangeBegin = s.rangeBegin;
            line.side.rangeEnd = s.rangeEnd;
            line.side.itemType = s.itemType;
        }
        CCauseEffectMatrix::Line line;
        std::size_t position = 0;
    };

    LineKey keyOf(const CEventActionSide& s) const {
        int panelClass = kNoPanel, rank = 0;
        if (s.panel) {
            const auto it = m_panelRank.find(s.panel);
            panelClass = it == m_panelRank.end() ? kUnknownPanel : kKnownPanel;
            rank = it == m_panelRank.end() ? s.panel : it->second;
        }
        return {panelClass, rank, s.loop, s.element, s.zone, s.rangeBegin, s.rangeEnd, s.itemType, s.type};
    }

    const std::unordered_map<int, int>& m_panelRank;
    std::map<LineKey, Entry> m_lines;
};

}  // namespace

CCauseEffectMatrix CCauseEffectMatrix::build(const CFacilityManager& manager, const std::vector<int>& panels) {
    printk("\n CCauseEffectMatrix::build");
    const CFacilityItem& facility = manager.facility();
    std::unordered_map<int, int> panelRank;  // panel id -> position; the first panel with an id wins
    for (const auto& p : facility.panels) panelRank.try_emplace(p->id, static_cast<int>(panelRank.size()));
    const auto wanted = [&](const CEventActionItem& r) {
        return panels.empty() || std::find(panels.begin(), panels.end(), r.event->panel) != panels.end() ||
               std::find(panels.begin(), panels.end(), r.action->panel) != panels.end();
    };

    CCauseEffectMatrix m;
    LineIndex causes(panelRank), effects(panelRank);
    struct Pending {
        LineKey cause, effect;
        const CEventActionItem* rule;
    };
    std::vector<Pending> pending;
    pending.reserve(facility.eventActions.size());
    for (const auto& r : facility.eventActions) {
        if (!r->event || !r->action) {
            ++m.m_withoutSides;
            continue;
        }
        if (!wanted(*r)) continue;
        pending.push_back({causes.add(*r->event, r->id), effects.add(*r->action, r->id), r.get()});
    }
    causes.finish(m.m_rows, m.m_rowGroups);
    effects.finish(m.m_columns, m.m_columnGroups);

    // Cells by row and column, rules in list order inside one place.
    std::vector<std::size_t> order(pending.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::vector<std::pair<std::size_t, std::size_t>> place(pending.size());
    for (std::size_t i = 0; i < pending.size(); ++i)
        place[i] = {causes.position(pending[i].cause), effects.position(pending[i].effect)};
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return place[a] < place[b]; });

    m.m_cells.reserve(pending.size());
    m.m_rowStart.assign(m.m_rows.size() + 1, 0);
    m.m_byColumn.resize(m.m_columns.size());
    m.m_ruleCell.reserve(pending.size());
    std::unordered_map<int, std::size_t> listPosition;  // of the cell each rule id maps to
    for (std::size_t i : order) {
        const CEventActionItem& r = *pending[i].rule;
        const std::size_t cell = m.m_cells.size();
        m.m_cells.push_back({place[i].first, place[i].second, r.id, r.delay});
        ++m.m_rowStart[place[i].first + 1];
        m.m_byColumn[place[i].second].push_back(cell);
        // The manager finds the first rule with an id in list order; so does the matrix.
        const auto [it, added] = listPosition.try_emplace(r.id, i);
        if (added || i < it->second) {
            it->second = i;
            m.m_ruleCell[r.id] = cell;
        }
    }
    for (std::size_t r = 0; r < m.m_rows.size(); ++r) m.m_rowStart[r + 1] += m.m_rowStart[r];
    return m;
}

CCauseEffectMatrix::Cells CCauseEffectMatrix::effectsOf(std::size_t row) const {
    if (row >= m_rows.size()) return {};
    return {m_cells.data() + m_rowStart[row], m_rowStart[row + 1] - m_rowStart[row]};
}

std::vector<const CCauseEffectMatrix::Cell*> CCauseEffectMatrix::causesOf(std::size_t column) const {
    std::vector<const Cell*> out;
    if (column >= m_columns.size()) return out;
    out.reserve(m_byColumn[column].size());
    for (std::size_t i : m_byColumn[column]) out.push_back(&m_cells[i]);
    return out;
}

CCauseEffectMatrix::Cells CCauseEffectMatrix::at(std::size_t row, std::size_t column) const {
    const Cells all = effectsOf(row);
    const auto less = [](const Cell& c, std::size_t col) { return c.column < col; };
    const Cell* first = std::lower_bound(all.begin(), all.end(), column, less);
    if (first == all.end() || first->column != column) return {};
    return samePlace({first, static_cast<std::size_t>(all.end() - first)});
}

std::string CCauseEffectMatrix::delays(Cells cells) {
    std::string out;
    for (const Cell& c : cells) out += (out.empty() ? "" : " / ") + std::to_string(c.delay);
    return out;
}

CCauseEffectMatrix::Cells CCauseEffectMatrix::samePlace(Cells cells) {
    std::size_t n = 0;
    while (n < cells.count && cells.first[n].column == cells.first->column) ++n;
    return {cells.first, n};
}

const CCauseEffectMatrix::Cell* CCauseEffectMatrix::cellOf(int ruleId) const {
    const auto it = m_ruleCell.find(ruleId);
    return it == m_ruleCell.end() ? nullptr : &m_cells[it->second];
}

namespace {

std::vector<std::size_t> naming(const std::vector<CCauseEffectMatrix::Line>& lines, const CEventActionSide& s) {
    std::vector<std::size_t> out;
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].side.sameSelection(s)) out.push_back(i);
    return out;
}

}  // namespace

std::vector<std::size_t> CCauseEffectMatrix::rowsNaming(const CEventActionSide& s) const { return naming(m_rows, s); }
std::vector<std::size_t> CCauseEffectMatrix::columnsNaming(const CEventActionSide& s) const {
    return naming(m_columns, s);
}

const CCauseEffectMatrix::Group* CCauseEffectMatrix::groupOf(const std::vector<Group>& groups, std::size_t line) {
    const auto it = std::upper_bound(groups.begin(), groups.end(), line,
                                     [](std::size_t l, const Group& g) { return l < g.first; });
    if (it == groups.begin()) return nullptr;
    const Group& g = *(it - 1);
    return line < g.first + g.count ? &g : nullptr;
}
