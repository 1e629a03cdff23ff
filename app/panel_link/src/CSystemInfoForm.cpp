#include "panel_link/CSystemInfoForm.h"

#include "basalt/KvTrace.h"

bool CSystemInfoForm::open() {
    printk("\n CSystemInfoForm::open");
    m_panel = 0;
    if (!m_prompt.choosePanels(m_facility, true)) return false;
    for (int i = 0; i < m_facility.getNumberOfPanels() && m_panel == 0; ++i)
        if (m_facility.getPanelSelected(m_facility.getPanelId(i))) m_panel = m_facility.getPanelId(i);
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
