// CConsolePrompt: the program's message boxes and questions on a terminal.
//
// Messages are the string-table texts, one line each on the error stream,
// with their number so a missing string table still leaves something to
// look up. It also serves the firmware update, whose composed texts come
// through showText.
// A question is answered yes by --yes; otherwise it is asked on the
// terminal, and without a terminal to ask on the answer is no, so a script
// never replaces anything by accident. The panel choice marks the one panel
// given on the command line.
#pragma once

#include <ostream>

#include "basalt/KvBasicString.h"
#include "seams/IUpdatePrompt.h"

class CConsolePrompt : public IUpdatePrompt {
public:
    CConsolePrompt(std::ostream& err, bool assumeYes) : m_err(err), m_assumeYes(assumeYes) {}

    void showMessage(int textId) override;
    bool askYesNo(int textId) override;
    void showMessageWith(int textId, const KvWString& argument) override;
    bool askYesNoWith(int textId, const KvWString& argument) override;
    bool choosePanels(CFacilityManager& facility, bool several) override;
    void showText(const KvWString& text) override;

    // The panel the choice marks (0: none, which is a choice of nothing).
    void setPanel(int id) { m_panel = id; }

    // Loads the string table of the user's language (LC_ALL, LC_MESSAGES,
    // LANG), English behind it, from the program's folder.
    static bool loadStrings();
    static KvWString text(int textId);

private:
    bool ask(const KvWString& question);

    std::ostream& m_err;
    bool m_assumeYes;
    int m_panel = 0;
};
