// CFacilityManager's recording helpers: templates shared by the manager's source files.
#pragma once

#include <algorithm>
#include <memory>

#include "ListSteps.h"
#include "model/CFacilityManager.h"

template <class V>
bool CFacilityManager::assign(V& field, const V& value, const Owners& owners) {
    if (field == value) return false;
    if (recordFor(owners)) m_history.record(std::make_unique<undo::ValueSwap<V>>(field, field));
    field = value;
    return true;
}

template <class T>
void CFacilityManager::noteInserted(OwnedList<T>& list, T* item, const Owners& owners) {
    if (recordFor(owners)) m_history.record(std::make_unique<undo::ListToggle<T>>(list, item));
    if (m_history.isRecording()) m_history.noteCreated(item);
}

// Takes the record out; the history keeps it when the open action records, else it is deleted.
template <class T>
void CFacilityManager::removeAt(OwnedList<T>& list, std::size_t index, const Owners& owners) {
    std::unique_ptr<T> item = std::move(list[index]);
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(index));
    if (recordFor(owners))
        m_history.record(std::make_unique<undo::ListToggle<T>>(list, index, std::move(item)));
}

// Sorting happens on every rebuild of the loops view, mostly outside any action. A sort that
// follows the newest entry belongs to it; one anywhere else cannot be replayed around.
template <class T>
void CFacilityManager::noteReorder(OwnedList<T>& list, const Owners& owners, bool& reopened) {
    if (!m_history.isOpen()) {
        if (!m_history.reopenNewest()) {
            if (m_history.size() > 0) m_history.unrecordedChange();
            return;
        }
        reopened = true;
    }
    if (recordFor(owners)) m_history.record(std::make_unique<undo::ListOrder<T>>(list));
}
