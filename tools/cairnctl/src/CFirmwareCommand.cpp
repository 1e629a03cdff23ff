#include "cairnctl/CFirmwareCommand.h"

#include <limits>
#include <string>
#include <utility>

#include "cairnctl/CConsolePrompt.h"
#include "cairnctl/CConsoleWaitDialog.h"
#include "basalt/KvPaths.h"
#include "basalt/KvTrace.h"
#include "basalt/KvUtf.h"
#include "panel_link/CFirmwareUpdater.h"

namespace {

// The update runs on this thread, so the bar is drawn as the updater reports
// rather than by a modal loop; one line per stage, redrawn in place.
class ConsoleProgress : public IWaitDialog {
public:
    explicit ConsoleProgress(std::ostream& out) : m_out(out) {}
    void SetText(const KvWString& text) override {
        endLine();
        m_text = ToUtf8(text.c_str()).c_str();
        draw(0, 1);
    }
    void SetProgress(int position, int range) override { draw(position, range); }
    bool IsOK() const override { return true; }
    void Done() override { endLine(); }

    // Ends the bar's line, so that a message starts on a line of its own.
    void endLine() {
        if (!m_line.empty()) m_out << "\n" << std::flush;
        m_line.clear();
    }

private:
    void draw(int position, int range) {
        // Never cut: the stage texts carry warnings, and the bar may go to a log file.
        std::string line = CConsoleWaitDialog::bar(position, range, m_text, std::numeric_limits<int>::max());
        if (line == m_line) return;  // a redraw per step would flood a log file
        m_line = std::move(line);
        m_out << "\r" << m_line << std::flush;
    }

    std::ostream& m_out;
    std::string m_text;
    std::string m_line;
};

// The terminal prompt; the update never asks, so no --yes is needed.
class FirmwarePrompt : public CConsolePrompt {
public:
    FirmwarePrompt(std::ostream& err, ConsoleProgress& progress) : CConsolePrompt(err, false), m_progress(progress) {}
    void showMessage(int textId) override {
        m_progress.endLine();
        CConsolePrompt::showMessage(textId);
    }
    void showText(const KvWString& text) override {
        m_progress.endLine();
        CConsolePrompt::showText(text);
    }

private:
    ConsoleProgress& m_progress;
};

}  // namespace

int CFirmwareCommand::run(const std::string& manifestPath) {
    printk("\n CFirmwareCommand::run");
    CConsolePrompt::loadStrings();
    ConsoleProgress progress(m_out);
    FirmwarePrompt prompt(m_err, progress);
    CFirmwareUpdater updater(prompt, m_usb);
    const bool ok = updater.run(FromPlatformPath(manifestPath.c_str()), progress);
    progress.Done();
    return ok ? 0 : 1;
}
