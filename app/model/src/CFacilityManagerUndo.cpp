// CFacilityManager: recording user actions into the undo history, and replaying them.
#include "basalt/KvTrace.h"
#include "internal/RuleSteps.h"
#include "model/CFacilityManager.h"

bool CFacilityManager::recordFor(const Owners& owners) {
    if (!m_history.isRecording()) {
        forgetHistory();
        return false;
    }
    for (const void* record : owners)
        if (m_history.createdNow(record)) return false;
    return true;
}

CFacilityManager::Owners CFacilityManager::elementOwners(int panelId, int loopAddress,
                                                         const CElementItem* element) const {
    return {findPanel(panelId), findLoop(panelId, loopAddress), element};
}

// Recorded even for a rule the action made: filing it in the groups again on redo must see the
// sides it was filed with, not the ones it ended with.
void CFacilityManager::rememberSides(CEventActionItem& rule) {
    if (recordFor({})) m_history.record(std::make_unique<undo::RuleSidesSwap>(rule));
}

CUndoContext CFacilityManager::historyContext() { return CUndoContext{m_eventGroups, m_actionGroups, m_observer}; }

void CFacilityManager::forgetHistory() {
    const bool had = m_history.size() > 0;
    m_history.unrecordedChange();
    if (had) historyChanged();
}

void CFacilityManager::historyChanged() {
    if (m_observer) m_observer->historyChanged();
}

// Replayed steps move records behind the remembered lookups' back.
void CFacilityManager::afterReplay() {
    changed(kPanels);
    dropRuleIndex();
}

std::size_t CFacilityManager::beginAction(const KvWString& description) {
    printk("\n CFacilityManager::beginAction");
    return m_history.open(description);
}

bool CFacilityManager::commitAction() {
    printk("\n CFacilityManager::commitAction");
    if (!m_history.close(true)) return false;
    historyChanged();
    return true;
}

void CFacilityManager::cancelAction(std::size_t mark) {
    printk("\n CFacilityManager::cancelAction");
    if (m_history.isRecording()) {
        CUndoContext context = historyContext();
        m_history.rollback(context, mark);
        afterReplay();
    }
    m_history.close(false);
}

bool CFacilityManager::undo() {
    printk("\n CFacilityManager::undo");
    CUndoContext context = historyContext();
    if (!m_history.stepBack(context)) return false;
    afterReplay();
    historyChanged();
    return true;
}

bool CFacilityManager::redo() {
    printk("\n CFacilityManager::redo");
    CUndoContext context = historyContext();
    if (!m_history.stepForward(context)) return false;
    afterReplay();
    historyChanged();
    return true;
}
