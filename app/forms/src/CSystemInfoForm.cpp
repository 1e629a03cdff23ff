#include "forms/CSystemInfoForm.h"

#include <algorithm>

#include "basalt/KvTrace.h"
#include "model/PanelChoice.h"

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
