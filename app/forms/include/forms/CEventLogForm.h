// CEventLogForm: what the event-log dialog edits and does on OK.
//
// One entry per log kind (0 general, 1 alarm, 2 breakdown, 3 test): whether
// it is chosen and the CSV file it goes to. OK asks before replacing each
// existing file (question 328 with the file name; one no cancels the whole
// export), opens one connection keeping the panel's address (message 216
// when the panel cannot be reached), exports the chosen logs in kind order,
// each on its own worker behind its own wait dialog (message 329 with the
// file name for each log that fails; the others still follow), and releases
// the connection.
#pragma once

#include <array>

#include "basalt/KvBasicString.h"
#include "seams/IUserPrompt.h"

class CUsbHandler;

class CEventLogForm {
public:
    static constexpr int kLogKinds = 4;
    static constexpr int kReplaceFileText = 328;
    static constexpr int kLogFailedText = 329;
    static constexpr int kPanelUnreachableText = 216;

    enum class Outcome { Cancelled, Unreachable, Exported, SomeFailed };

    CEventLogForm(CUsbHandler& handler, IUserPrompt& prompt);

    // The check box of a log: toggles whether it is chosen (and its file field enabled).
    void toggle(int kind);
    bool chosen(int kind) const { return valid(kind) && m_chosen[kind]; }
    void choose(int kind, bool on);
    const KvWString& path(int kind) const { return m_paths[valid(kind) ? kind : 0]; }
    void setPath(int kind, const KvWString& path);
    // The default file of a log: "<kind>_def.csv" in the current folder.
    static KvWString defaultPath(int kind);

    // OK. Exported only when every chosen log was written (none chosen counts).
    Outcome accept();

private:
    static bool valid(int kind) { return kind >= 0 && kind < kLogKinds; }

    CUsbHandler& m_handler;
    IUserPrompt& m_prompt;
    std::array<bool, kLogKinds> m_chosen{};
    std::array<KvWString, kLogKinds> m_paths;
};
