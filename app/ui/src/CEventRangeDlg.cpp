#include "ui/CEventRangeDlg.h"

#include "basalt/KvTrace.h"
#include "ui/CRuleWords.h"

CEventRangeDlg::CEventRangeDlg(IUserPrompt& prompt, QWidget* parent)
    : CZoneRangeDlg("CEventRangeDlg", 155, CRuleWords::zoneActionKinds(), 0, prompt, parent) {
    printk("\n CEventRangeDlg::OnInitDialog");
}
