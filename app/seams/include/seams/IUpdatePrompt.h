// IUpdatePrompt: the message boxes of a firmware update.
//
// Numbered string-table messages come through IUserPrompt::showMessage; a
// few texts of the update are composed rather than taken whole from the
// table (a file name, a list of loop cards), and come through showText.
#pragma once

#include "basalt/KvBasicString.h"
#include "seams/IUserPrompt.h"

class IUpdatePrompt : public IUserPrompt {
public:
    // Message box with an OK button showing `text` as it is.
    virtual void showText(const KvWString& text) = 0;
};
