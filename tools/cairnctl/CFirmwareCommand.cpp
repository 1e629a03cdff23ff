#include "CFirmwareCommand.h"

#include <cstdlib>

#include "basalt/KvLanguage.h"
#include "basalt/KvStringTableFile.h"
#include "basalt/KvTrace.h"
#include "basalt/KvUtf.h"
#include "panel_link/CFirmwareUpdater.h"

namespace {

std::string utf8(const KvWString& text) { return ToUtf8(text.c_str()).c_str(); }

// The update's messages as lines on the error stream, with their number so a
// missing string table still leaves something to look up.
class ConsolePrompt : public IUpdatePrompt {
public:
    explicit ConsolePrompt(std::ostream& err) : m_err(err) {}
    void showMessage(int textId) override {
        KvWString text;
        m_err << "\n" << utf8(KvLoadString(textId, text)) << " [" << textId << "]\n";
    }
    bool askYesNo(int) override { return false; }
    void showText(const KvWString& text) override { m_err << "\n" << utf8(text) << "\n"; }

private:
    std::ostream& m_err;
};

// A one-line progress bar, redrawn in place.
class ConsoleProgress : public IWaitDialog {
public:
    explicit ConsoleProgress(std::ostream& out) : m_out(out) {}
    void SetText(const KvWString& text) override {
        if (!m_text.empty()) m_out << "\n";
        m_text = utf8(text);
        m_percent = -1;
        draw(0, 1);
    }
    void SetProgress(int position, int range) override { draw(position, range); }
    bool IsOK() const override { return true; }
    void Done() override { m_out << "\n"; }

private:
    void draw(int position, int range) {
        constexpr int kWidth = 30;
        const int filled = range > 0 ? position * kWidth / range : 0;
        const int percent = range > 0 ? position * 100 / range : 0;
        if (percent == m_percent) return;  // a redraw per step would flood a log file
        m_percent = percent;
        m_out << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
              << std::string(static_cast<std::size_t>(kWidth - filled), ' ') << "] " << percent << "% " << m_text
              << std::flush;
    }

    std::ostream& m_out;
    std::string m_text;
    int m_percent = -1;
};

// The user's language table beside the program, English behind it.
void loadStringTable() {
    const char* lang = std::getenv("LANG");
    const std::string code = lang && std::string(lang).size() >= 2 ? std::string(lang, 2) : "en";
    const std::string dir = utf8(GetSharePath());
    const std::string primary = dir + "cairn." + code + ".stc", fallback = dir + "cairn.en.stc";
    if (!SetKvLoadStringTableFile(primary.c_str(), fallback.c_str())) SetKvLoadStringTableFile(fallback.c_str());
}

}  // namespace

int CFirmwareCommand::run(const std::string& manifestPath) {
    printk("\n CFirmwareCommand::run");
    loadStringTable();
    ConsolePrompt prompt(m_err);
    ConsoleProgress progress(m_out);
    CFirmwareUpdater updater(prompt);
    const bool ok = updater.run(ToWide(manifestPath.c_str()), progress);
    progress.Done();
    return ok ? 0 : 1;
}
