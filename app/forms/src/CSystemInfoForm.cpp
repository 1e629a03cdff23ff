#include "forms/CSystemInfoForm.h"

#include <algorithm>
#include <cstdio>

#include "basalt/KvTrace.h"
#include "model/PanelChoice.h"
#include "panel_link/CPanelText.h"
#include "panel_link/CUsbHandler.h"

bool CSystemInfoForm::open() {
    printk("\n CSystemInfoForm::open");
    m_panel = std::max(0, askPanelChoice(m_facility, m_prompt, true));
    if (m_panel == 0) return false;
    const KvWString* name = m_facility.getPanelLabel(m_panel);
    label = name ? *name : KvWString();
    installer = m_facility.getPanelInstaller(m_panel);
    phone = m_facility.getPanelPhone(m_panel);
    return true;
}

bool CSystemInfoForm::accept() {
    printk("\n CSystemInfoForm::accept");
    return m_panel != 0 && m_facility.setPanelLabel(m_panel, label) &&
           m_facility.setPanelInstaller(m_panel, installer) && m_facility.setPanelPhone(m_panel, phone);
}

// ---------------------------------------------------------------- the panel's own copy

std::string CSystemInfoForm::whyNotHeld(const KvWString& text) {
    if (text.Length() > CSystemInfoRecord::kFieldSize)
        return "it has " + std::to_string(text.Length()) + " characters; the panel holds " +
               std::to_string(CSystemInfoRecord::kFieldSize);
    for (int i = 0; i < text.Length(); ++i) {
        const char16_t c = text[i];
        // The field holds one Latin-1 byte per character, and a NUL would end it early.
        if (c == 0 || c > 0xFF) {
            char code[16];
            std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
            return std::string("the panel cannot hold its character ") + code;
        }
    }
    return {};
}

bool CSystemInfoForm::readPanel(CUsbHandler& handler) {
    printk("\n CSystemInfoForm::readPanel");
    CSystemInfoRecord info;
    if (!handler.readSystemInfo(info)) return false;
    label = CPanelText::toWide(info.label);
    installer = CPanelText::toWide(info.installer);
    phone = CPanelText::toWide(info.phone);
    return true;
}

bool CSystemInfoForm::writePanel(CUsbHandler& handler) {
    printk("\n CSystemInfoForm::writePanel");
    for (const KvWString* field : {&label, &installer, &phone})
        if (!whyNotHeld(*field).empty()) return false;
    constexpr int n = CSystemInfoRecord::kFieldSize;
    const CSystemInfoRecord info{CPanelText::toPanel(label, n), CPanelText::toPanel(installer, n),
                                 CPanelText::toPanel(phone, n)};
    return handler.writeSystemInfo(info);
}
