// CEventRangeDlg: the action of a new rule on a range of zones (title 155): a zone action kind
// and the range. Asked after the event kind when the output item is a panel's zones item.
#pragma once

#include "ui/CZoneRangeDlg.h"

class CEventRangeDlg : public CZoneRangeDlg {
    Q_OBJECT
public:
    explicit CEventRangeDlg(IUserPrompt& prompt, QWidget* parent = nullptr);
};
