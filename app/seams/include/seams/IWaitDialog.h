// IWaitDialog: the modal wait/progress dialog as a worker thread sees it.
//
// The user-interface thread runs the dialog; the worker waits until IsOK()
// says it is up, reports through SetText and SetProgress while it works, and
// ends it with Done(). The program implements it with its toolkit's dialog;
// command-line tools and tests with something simpler. Every call may come
// from the worker thread.
#pragma once

#include "basalt/KvBasicString.h"

class IWaitDialog {
public:
    virtual ~IWaitDialog() = default;
    // Replaces the text shown under the animation.
    virtual void SetText(const KvWString& text) = 0;
    // `position` of `range` steps of the current piece of work are done.
    virtual void SetProgress(int position, int range) {
        (void)position;
        (void)range;
    }
    // True once the dialog is up and can take SetText and Done.
    virtual bool IsOK() const = 0;
    // Ends the dialog's modal loop.
    virtual void Done() = 0;
};
