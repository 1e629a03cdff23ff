#include "cairnctl/CConsolePrompt.h"

#include <cstdlib>
#include <iostream>
#include <string>
#include <unistd.h>

#include "basalt/KvLanguage.h"
#include "basalt/KvStringTableFile.h"
#include "basalt/KvUtf.h"
#include "model/CFacilityManager.h"

namespace {

std::string utf8(const KvWString& t) { return ToUtf8(t.c_str()).c_str(); }

std::string languageCode() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && std::string(value).size() >= 2 && std::string(value) != "C" && std::string(value) != "POSIX")
            return std::string(value, 2);
    }
    return "en";
}

}  // namespace

bool CConsolePrompt::loadStrings() {
    const std::string folder = utf8(GetSharePath());
    const std::string english = folder + "cairn.en.stc";
    const std::string own = folder + "cairn." + languageCode() + ".stc";
    return SetKvLoadStringTableFile(own.c_str(), english.c_str()) || SetKvLoadStringTableFile(english.c_str());
}

KvWString CConsolePrompt::text(int textId) {
    KvWString t;
    return KvLoadString(textId, t);
}

void CConsolePrompt::showMessage(int textId) {
    m_err << "cairnctl: " << utf8(text(textId)) << " [" << textId << "]\n";
}

void CConsolePrompt::showMessageWith(int textId, const KvWString& argument) {
    KvWString t;
    m_err << "cairnctl: " << utf8(t.Format(text(textId).c_str(), argument.c_str())) << " [" << textId << "]\n";
}

void CConsolePrompt::showText(const KvWString& t) { m_err << "cairnctl: " << utf8(t) << "\n"; }

bool CConsolePrompt::askYesNo(int textId) { return ask(text(textId)); }

bool CConsolePrompt::askYesNoWith(int textId, const KvWString& argument) {
    KvWString t;
    return ask(t.Format(text(textId).c_str(), argument.c_str()));
}

bool CConsolePrompt::ask(const KvWString& question) {
    m_err << "cairnctl: " << utf8(question);
    if (m_assumeYes) {
        m_err << " yes (--yes)\n";
        return true;
    }
    if (!::isatty(STDIN_FILENO)) {
        m_err << " no (no terminal to ask on; --yes answers yes)\n";
        return false;
    }
    m_err << " [y/N] " << std::flush;
    std::string answer;
    std::getline(std::cin, answer);
    return answer == "y" || answer == "Y" || answer == "yes";
}

bool CConsolePrompt::choosePanels(CFacilityManager& facility, bool several) {
    (void)several;
    if (m_panel != 0) facility.setPanelSelected(m_panel, true);
    return true;
}
