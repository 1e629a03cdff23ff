// CConsoleWaitDialog: the wait dialog on a terminal.
//
// On a terminal, RunModal draws a progress bar with the worker's latest
// text on the error stream until Done; elsewhere (a pipe, a log file) it
// waits silently, so scripts see only the outcome.
#pragma once

#include <condition_variable>
#include <mutex>
#include <ostream>

#include "basalt/KvBasicString.h"
#include "seams/IModalWaitDialog.h"

class CConsoleWaitDialog : public IModalWaitDialog {
public:
    CConsoleWaitDialog(std::ostream& err, bool terminal) : m_err(err), m_terminal(terminal) {}

    void SetText(const KvWString& text) override;
    void SetProgress(int position, int range) override;
    bool IsOK() const override;
    void Done() override;
    void RunModal() override;

    // One line: "[#####.....]  50% text", cut to `width` columns.
    static std::string bar(int position, int range, const std::string& text, int width);

private:
    void draw();

    std::ostream& m_err;
    bool m_terminal;
    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    std::string m_text;
    int m_position = 0;
    int m_range = 0;
    bool m_up = false;
    bool m_done = false;
};
