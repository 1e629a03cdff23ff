// CWaitDialogs: the toolkit's wait and progress dialogs as the program shows them:
// no parent, the product name as title, the program icon as animation.
#pragma once

#include <memory>

#include "seams/IModalWaitDialog.h"

class CWaitDialogs {
public:
    // The wait dialog of a transfer.
    static std::unique_ptr<IModalWaitDialog> waitDialog();
    // The progress dialog of the firmware update.
    static std::unique_ptr<IModalWaitDialog> progressDialog();
};
