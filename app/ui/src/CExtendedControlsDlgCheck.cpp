// The loops editor's upload around the sending: the check's findings before it, the read-back's
// differences after it, and the item a row of the findings names.
#include <tuple>

#include "basalt/KvTrace.h"
#include "model/CFacilityManager.h"
#include "panel_link/CUsbHandler.h"
#include "ui/CCheckFindingsDlg.h"
#include "ui/CExtendedControlsDlg.h"
#include "ui/CReadBackDlg.h"
#include "ui/CTreeListCtrl.h"

using Key = CTreeListModel::Key;

bool CExtendedControlsDlg::acceptFindings(const std::vector<CCheckFinding>& findings) {
    printk("\n CExtendedControlsDlg::acceptFindings");
    CCheckFindingsDlg dialog(findings, this);
    connect(&dialog, &CCheckFindingsDlg::itemChosen, this, &CExtendedControlsDlg::itemRequested);
    return dialog.exec() == QDialog::Accepted && !dialog.blocking();
}

void CExtendedControlsDlg::reportUpload(const CUploadResult& result) {
    if (result.outcome != CUploadResult::Outcome::Differs) {
        m_usb.reportUpload(result);
        return;
    }
    m_usb.reportRulesLeftOut(result);
    CReadBackDlg(result.rows, this).exec();
}

bool CExtendedControlsDlg::showItem(const CCheckFinding& finding) {
    printk("\n CExtendedControlsDlg::showItem");
    const Key panel{CTreeListModel::kPanel, finding.panel, 0, 0};
    Key row = panel;
    switch (finding.item) {
    case CCheckFinding::Item::Loop: row = {CTreeListModel::kLoop, finding.panel, finding.loop, 0}; break;
    case CCheckFinding::Item::Element:
        row = {CTreeListModel::kElement, finding.panel, finding.loop, finding.element};
        break;
    case CCheckFinding::Item::Zone: row = firstElementInZone(finding.panel, finding.zone); break;
    case CCheckFinding::Item::Panel:
    case CCheckFinding::Item::Rule: break;
    }
    if (!m_model->indexOf(row).isValid()) row = panel;
    if (!m_model->indexOf(row).isValid()) return false;
    m_tree->selectKeys({row}, row);
    return true;
}

// A zone has no row of its own: its first element shows it, or else its panel.
CTreeListModel::Key CExtendedControlsDlg::firstElementInZone(int panel, int zone) const {
    Key first{CTreeListModel::kPanel, panel, 0, 0};
    forEachRow([&](const Key& k) {
        if (k.level != CTreeListModel::kElement || k.panel != panel ||
            m_facility.getElementZone(panel, k.loop, k.element) != zone)
            return;
        if (first.level != CTreeListModel::kElement || std::tie(k.loop, k.element) < std::tie(first.loop, first.element))
            first = k;
    });
    return first;
}
