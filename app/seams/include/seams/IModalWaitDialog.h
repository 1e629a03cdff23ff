// IModalWaitDialog: the wait dialog as the user-interface thread sees it.
//
// A transfer creates one, gives it its first text, starts the worker and runs
// it modally; the worker talks to it through IWaitDialog (IsOK, SetText,
// SetProgress, Done). RunModal returns once Done has been called, whether
// Done came before or after RunModal started.
#pragma once

#include "seams/IWaitDialog.h"

class IModalWaitDialog : public IWaitDialog {
public:
    // Shows the dialog and blocks the calling thread until Done.
    virtual void RunModal() = 0;
};
