// CFacilityAction: one user action as one undo history entry, for the span of a scope.
//
//   CFacilityAction action(manager, description);
//   ... changes through the manager ...
//   action.commit();
//
// A scope left without commit (a refusal, a cancelled dialog, an exception) takes back what the
// action changed and leaves no entry. Actions opened inside another join it.
#pragma once

#include <cstddef>

#include "basalt/KvBasicString.h"

class CFacilityManager;

class CFacilityAction {
public:
    CFacilityAction(CFacilityManager& manager, const KvWString& description);
    ~CFacilityAction();
    CFacilityAction(const CFacilityAction&) = delete;
    CFacilityAction& operator=(const CFacilityAction&) = delete;

    // Keeps the changes; true when that made a history entry.
    bool commit();
    // The same, naming the action now (a download knows its panel only at the end).
    bool commit(const KvWString& description);
    // Takes the changes back now.
    void cancel();

private:
    CFacilityManager& m_manager;
    std::size_t m_mark;
    bool m_open = true;
};
