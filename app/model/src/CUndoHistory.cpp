#include "model/CUndoHistory.h"

#include "basalt/KvTrace.h"

KvWString CUndoHistory::undoDescription() const {
    return canUndo() ? m_entries[m_position - 1].description : KvWString();
}

KvWString CUndoHistory::redoDescription() const {
    return canRedo() ? m_entries[m_position].description : KvWString();
}

void CUndoHistory::clearEntries() {
    m_entries.clear();
    m_position = 0;
}

void CUndoHistory::reset() {
    printk("\n CUndoHistory::reset");
    clearEntries();
    m_saved = 0;
    // Steps of an open action point into the facility that is gone.
    if (m_depth > 0) {
        m_broken = true;
        m_open.steps.clear();
    }
}

std::size_t CUndoHistory::open(const KvWString& description) {
    if (m_depth++ == 0) {
        m_open = Entry{description, {}};
        m_created.clear();
        m_broken = false;
    }
    return m_open.steps.size();
}

bool CUndoHistory::close(bool commit) {
    if (m_depth == 0 || --m_depth > 0) return false;
    Entry entry = std::move(m_open);
    m_open = Entry{};
    m_created.clear();
    if (m_reopened) {
        // The newest entry goes back where it was, whatever the saved position says about it.
        m_reopened = false;
        if (m_broken) return false;
        m_entries.push_back(std::move(entry));
        ++m_position;
        return true;
    }
    if (!commit || m_broken || entry.steps.empty()) return false;
    push(std::move(entry));
    return true;
}

void CUndoHistory::push(Entry entry) {
    printk("\n CUndoHistory::push");
    if (m_saved > static_cast<std::ptrdiff_t>(m_position)) m_saved = -1;  // it was in the undone tail
    m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(m_position), m_entries.end());
    m_entries.push_back(std::move(entry));
    ++m_position;
    if (m_entries.size() > kMostEntries) {
        m_entries.pop_front();
        --m_position;
        m_saved = m_saved > 0 ? m_saved - 1 : -1;
    }
}

void CUndoHistory::rollback(CUndoContext& context, std::size_t mark) {
    printk("\n CUndoHistory::rollback");
    auto& steps = m_open.steps;
    while (steps.size() > mark) {
        steps.back()->apply(context, true);
        steps.pop_back();
    }
}

void CUndoHistory::unrecordedChange() {
    if (m_depth > 0) {
        m_broken = true;
        m_open.steps.clear();
    }
    if (m_saved == -1 && m_entries.empty()) return;
    printk("\n CUndoHistory::unrecordedChange");
    clearEntries();
    m_saved = -1;
}

bool CUndoHistory::reopenNewest() {
    if (m_depth > 0 || m_entries.empty() || m_position != m_entries.size()) return false;
    m_open = std::move(m_entries.back());
    m_entries.pop_back();
    --m_position;
    m_created.clear();
    m_broken = false;
    m_reopened = true;
    m_depth = 1;
    return true;
}

bool CUndoHistory::stepBack(CUndoContext& context) {
    if (m_depth > 0 || !canUndo()) return false;
    printk("\n CUndoHistory::stepBack");
    auto& steps = m_entries[--m_position].steps;
    for (auto it = steps.rbegin(); it != steps.rend(); ++it) (*it)->apply(context, true);
    return true;
}

bool CUndoHistory::stepForward(CUndoContext& context) {
    if (m_depth > 0 || !canRedo()) return false;
    printk("\n CUndoHistory::stepForward");
    for (auto& step : m_entries[m_position++].steps) step->apply(context, false);
    return true;
}
