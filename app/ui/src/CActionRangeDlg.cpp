#include "ui/CActionRangeDlg.h"

#include "basalt/KvTrace.h"
#include "ui/CRuleWords.h"

CActionRangeDlg::CActionRangeDlg(IUserPrompt& prompt, QWidget* parent)
    : CZoneRangeDlg("CActionRangeDlg", 156, CRuleWords::zoneEventKinds(), 160, prompt, parent) {
    printk("\n CActionRangeDlg::OnInitDialog");
}
