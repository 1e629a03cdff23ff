#include "model/CFacilityAction.h"

#include "model/CFacilityManager.h"

CFacilityAction::CFacilityAction(CFacilityManager& manager, const KvWString& description)
    : m_manager(manager), m_mark(manager.beginAction(description)) {}

CFacilityAction::~CFacilityAction() { cancel(); }

bool CFacilityAction::commit() {
    if (!m_open) return false;
    m_open = false;
    return m_manager.commitAction();
}

bool CFacilityAction::commit(const KvWString& description) {
    if (m_open) m_manager.describeAction(description);
    return commit();
}

void CFacilityAction::cancel() {
    if (!m_open) return;
    m_open = false;
    m_manager.cancelAction(m_mark);
}
