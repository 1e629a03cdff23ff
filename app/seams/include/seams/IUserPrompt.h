// IUserPrompt: the message boxes and yes/no questions the logic may put to the user.
// The program answers with real dialogs; tests script the answers.
//
// Calls may come from a transfer's worker thread while the user-interface thread runs a modal
// wait dialog; an implementation that must show its dialogs on the user-interface thread hands
// the call over and waits for the answer.
#pragma once

#include "basalt/KvBasicString.h"

class CFacilityManager;

class IUserPrompt {
public:
    virtual ~IUserPrompt() = default;
    // Message box with an OK button; caption is the product name, text the string-table text `textId`.
    virtual void showMessage(int textId) = 0;
    // Yes/no question with the string-table text `textId`; true for yes.
    virtual bool askYesNo(int textId) = 0;

    // The same for a text `textId` that is a format with one %s, filled with `argument` (a file
    // name, say). A prompt that does not override these shows the unfilled text.
    virtual void showMessageWith(int textId, const KvWString& argument) {
        (void)argument;
        showMessage(textId);
    }
    virtual bool askYesNoWith(int textId, const KvWString& argument) {
        (void)argument;
        return askYesNo(textId);
    }

    // The panel choice over the facility's panels (one panel, or several when `several`). The
    // caller clears every panel's selected mark first; the choice is left in those marks. False
    // when the user cancelled. A prompt that cannot offer the choice cancels it.
    virtual bool choosePanels(CFacilityManager& facility, bool several) {
        (void)facility;
        (void)several;
        return false;
    }
};
