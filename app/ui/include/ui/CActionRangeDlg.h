// CActionRangeDlg: the event of a new rule raised by a range of zones (title 156): a zone event
// kind and the range. Asked after the action kind when the input item is a panel's zones item.
#pragma once

#include "ui/CZoneRangeDlg.h"

class CActionRangeDlg : public CZoneRangeDlg {
    Q_OBJECT
public:
    explicit CActionRangeDlg(IUserPrompt& prompt, QWidget* parent = nullptr);
};
