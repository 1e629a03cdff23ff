#include "forms/CEventLogForm.h"

#include <sys/stat.h>

#include "basalt/KvTrace.h"
#include "basalt/KvUtf.h"
#include "panel_link/CUsbHandler.h"

namespace {

bool fileExists(const KvWString& path) {
    struct stat st {};
    return ::stat(ToUtf8(path.c_str()).c_str(), &st) == 0;
}

}  // namespace

CEventLogForm::CEventLogForm(CUsbHandler& handler, IUserPrompt& prompt) : m_handler(handler), m_prompt(prompt) {
    for (int k = 0; k < kLogKinds; ++k) m_paths[k] = defaultPath(k);
}

KvWString CEventLogForm::defaultPath(int kind) {
    static const char16_t* const names[kLogKinds] = {u"general_def.csv", u"alarm_def.csv", u"breakdown_def.csv",
                                                     u"test_def.csv"};
    return valid(kind) ? KvWString(names[kind]) : KvWString();
}

void CEventLogForm::toggle(int kind) {
    if (valid(kind)) m_chosen[kind] = !m_chosen[kind];
}

void CEventLogForm::choose(int kind, bool on) {
    if (valid(kind)) m_chosen[kind] = on;
}

void CEventLogForm::setPath(int kind, const KvWString& path) {
    if (valid(kind)) m_paths[kind] = path;
}

CEventLogForm::Outcome CEventLogForm::accept() {
    printk("\n CEventLogForm::accept");
    for (int k = 0; k < kLogKinds; ++k)
        if (m_chosen[k] && fileExists(m_paths[k]) && !m_prompt.askYesNoWith(kReplaceFileText, m_paths[k]))
            return Outcome::Cancelled;
    int address = 0;
    if (!m_handler.prepareDevice(address)) {
        m_prompt.showMessage(kPanelUnreachableText);
        return Outcome::Unreachable;
    }
    bool all = true;
    for (int k = 0; k < kLogKinds; ++k) {
        if (!m_chosen[k] || m_handler.downloadAll(k, m_paths[k])) continue;
        m_prompt.showMessageWith(kLogFailedText, m_paths[k]);
        all = false;
    }
    m_handler.endConnection();
    return all ? Outcome::Exported : Outcome::SomeFailed;
}
