#include "ui/CRuleMaker.h"

#include "basalt/KvTrace.h"
#include "model/CFacilityManager.h"
#include "seams/IUserPrompt.h"
#include "ui/CActionRangeDlg.h"
#include "ui/CAddEventActionDlg.h"
#include "ui/CEventRangeDlg.h"

CRuleMaker::CRuleMaker(CFacilityManager& facility, IUserPrompt& prompt, QWidget* parent)
    : m_facility(facility), m_prompt(prompt), m_parent(parent) {}

int CRuleMaker::rulesOnPanel(int panelId) const {
    int count = 0;
    for (const auto& rule : m_facility.facility().eventActions)
        if (rule->event && rule->event->panel == panelId) ++count;
    return count;
}

int CRuleMaker::make(const CRuleNode& input, qintptr inputKey, const CRuleNode& output, qintptr outputKey) {
    printk("\n CRuleMaker::make");
    // The limit belongs to the panel whose event tables hold the rule: the input side's.
    if (rulesOnPanel(input.panel) >= kMaxRulesPerPanel) {
        m_prompt.showMessage(kTooManyRulesText);
        return 0;
    }
    Side event, action;
    if ((input.offersRange() || output.offersRange()) && !askKinds(input, output, event, action)) return 0;

    const int id = m_facility.getFreeEventId();
    if (!m_facility.addEventActionItem(id, 0)) return 0;
    const bool made =
        m_facility.addEventToEventActionItem(id, event.kind, input.panel, input.loop, input.element, input.zone,
                                             event.rangeBegin, event.rangeEnd, input.itemType(), inputKey) &&
        m_facility.addActionToEventActionItem(id, action.kind, output.panel, output.loop, output.element, output.zone,
                                              action.rangeBegin, action.rangeEnd, output.itemType(), outputKey);
    if (!made) {
        m_facility.delEventActionItem(id);
        return 0;
    }
    return id;
}

bool CRuleMaker::askKinds(const CRuleNode& input, const CRuleNode& output, Side& event, Side& action) {
    if (!input.offersRange() || !output.offersRange()) {
        const bool eventKinds = !input.offersRange();
        CAddEventActionDlg type(eventKinds, eventKinds ? input : output, m_parent);
        if (type.exec() != QDialog::Accepted) return false;
        (eventKinds ? event : action).kind = type.choice();
    }
    if (input.offersRange()) {
        CActionRangeDlg range(m_prompt, m_parent);
        if (range.exec() != QDialog::Accepted) return false;
        event = Side{range.kind(), range.begin(), range.end()};
    }
    if (output.offersRange()) {
        CEventRangeDlg range(m_prompt, m_parent);
        if (range.exec() != QDialog::Accepted) return false;
        action = Side{range.kind(), range.begin(), range.end()};
    }
    return true;
}
