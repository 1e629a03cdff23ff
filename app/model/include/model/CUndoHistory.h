// CUndoHistory: the undo history of a facility, one entry per user action.
//
// An entry holds only the steps of what its action changed: records taken out of the facility
// are kept alive in the entry, replaced values are kept beside a pointer to their field. The
// facility manager fills and replays it; this class keeps the entries, the current position
// and the position of the last save, and the action being recorded.
#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <unordered_set>
#include <vector>

#include "basalt/KvBasicString.h"
#include "model/CUndoStep.h"

class CUndoHistory {
public:
    // The oldest entries go beyond this many.
    static constexpr std::size_t kMostEntries = 500;

    CUndoHistory() = default;
    CUndoHistory(const CUndoHistory&) = delete;
    CUndoHistory& operator=(const CUndoHistory&) = delete;

    bool canUndo() const { return m_position > 0; }
    bool canRedo() const { return m_position < m_entries.size(); }
    // What Undo or Redo would take back or make again; empty when there is nothing.
    KvWString undoDescription() const;
    KvWString redoDescription() const;
    std::size_t size() const { return m_entries.size(); }
    std::size_t position() const { return m_position; }
    // The facility is as it was at the last save (or open, or new): undoing or redoing back to
    // that point counts, a change that was not recorded makes it unreachable.
    bool atSavedState() const { return m_saved == static_cast<std::ptrdiff_t>(m_position); }

    // ---- for the facility manager ----
    void markSaved() { m_saved = static_cast<std::ptrdiff_t>(m_position); }
    // A new facility: no entries, and it counts as saved.
    void reset();
    // Starts an action, or joins the one already open; returns the mark a nested rollback goes back to.
    std::size_t open(const KvWString& description);
    bool isOpen() const { return m_depth > 0; }
    // Names the open action, when its name is known only at its end.
    void describe(const KvWString& description) {
        if (m_depth == 1) m_open.description = description;
    }
    // Steps go into the open action (an action broken by an unrecorded change records nothing).
    bool isRecording() const { return m_depth > 0 && !m_broken; }
    void record(std::unique_ptr<CUndoStep> step) { m_open.steps.push_back(std::move(step)); }
    // A record made by the open action: what happens inside it needs no steps of its own, since
    // undo takes it out whole and redo puts back the same object.
    void noteCreated(const void* record) { m_created.insert(record); }
    bool createdNow(const void* record) const { return record && m_created.count(record) != 0; }
    // Ends one level of the open action. The outermost commit of an action that recorded steps
    // makes an entry (dropping what could be redone); true then.
    bool close(bool commit);
    // Takes back the steps the open action recorded since `mark`.
    void rollback(CUndoContext& context, std::size_t mark);
    // A change that was not recorded: the entries can no longer be replayed, so they go, and the
    // saved state is out of reach. An open action breaks and records nothing more.
    void unrecordedChange();
    // Reopens the newest entry to add steps to it, when the facility is as that entry left it;
    // false (nothing open) otherwise.
    bool reopenNewest();
    bool stepBack(CUndoContext& context);
    bool stepForward(CUndoContext& context);

private:
    struct Entry {
        KvWString description;
        std::vector<std::unique_ptr<CUndoStep>> steps;
    };

    void push(Entry entry);
    void clearEntries();

    std::deque<Entry> m_entries;
    std::size_t m_position = 0;   // entries before it are done, from it on undone
    std::ptrdiff_t m_saved = 0;   // position of the saved state; -1 when out of reach
    int m_depth = 0;
    bool m_broken = false;
    bool m_reopened = false;
    Entry m_open;
    std::unordered_set<const void*> m_created;
};
