// CRuleMaker: makes one rule from an input-tree node and an output-tree node, the same way
// for a drop and for the keyboard command.
//
// A panel's zones item on either side takes the range path: the kind of the other side comes
// from the type dialog, then the range dialog of each ranged side gives its zone kind and range
// (input side CActionRangeDlg, output side CEventRangeDlg); Cancel anywhere makes no rule.
// Otherwise the rule is made at once with kind 0 on both sides. Every rule starts with delay 0.
// A panel takes at most 1024 rules on its event side: beyond that, message 289 and no rule.
#pragma once

#include <QtGlobal>

#include "ui/CRuleNode.h"

class CFacilityManager;
class IUserPrompt;
class QWidget;

class CRuleMaker {
public:
    static constexpr int kMaxRulesPerPanel = 1024;
    static constexpr int kTooManyRulesText = 289;

    // The dialogs open over `parent`.
    CRuleMaker(CFacilityManager& facility, IUserPrompt& prompt, QWidget* parent);

    // The new rule's id; 0 when none was made. The keys name the nodes in the rule groups.
    int make(const CRuleNode& input, qintptr inputKey, const CRuleNode& output, qintptr outputKey);
    // Rules whose event side names panel `panelId`.
    int rulesOnPanel(int panelId) const;

private:
    struct Side {
        int kind = 0;
        int rangeBegin = 0;
        int rangeEnd = 0;
    };
    bool askKinds(const CRuleNode& input, const CRuleNode& output, Side& event, Side& action);

    CFacilityManager& m_facility;
    IUserPrompt& m_prompt;
    QWidget* m_parent;
};
