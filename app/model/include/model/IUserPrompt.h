// IUserPrompt: the message boxes and yes/no questions the logic may put to the user.
// The program answers with real dialogs; tests script the answers.
#pragma once

class IUserPrompt {
public:
    virtual ~IUserPrompt() = default;
    // Message box with an OK button; caption is the product name, text the string-table text `textId`.
    virtual void showMessage(int textId) = 0;
    // Yes/no question with the string-table text `textId`; true for yes.
    virtual bool askYesNo(int textId) = 0;
};
