// The loops editor's file and transfer commands.
#include "basalt/KvTrace.h"
#include "check/CFacilityCheck.h"
#include "model/CFacilityManager.h"
#include "model/PanelChoice.h"
#include "panel_link/CUsbHandler.h"
#include "panel_link/CZoneDescriptionNotice.h"
#include "seams/IUserPrompt.h"
#include "ui/CAddLoop.h"
#include "ui/CExtendedControlsDlg.h"
#include "ui/CFileCommands.h"
#include "ui/CModifyPanel.h"
#include "ui/CTreeListCtrl.h"
#include "ui/CUnsavedStatus.h"
#include "ui/UiText.h"

namespace {

constexpr int kFirstPanel = 1;

}  // namespace

bool CExtendedControlsDlg::fileNew() {
    printk("\n CExtendedControlsDlg::fileNew");
    if (!m_files.fileNew()) return false;
    CModifyPanel panel(m_prompt, this);
    if (panel.exec() != QDialog::Accepted) return false;
    m_facility.addPanel(kFirstPanel, panel.address(), toKvWString(panel.label()));
    CAddLoop loop(m_facility, m_prompt, kFirstPanel, 1, this);
    if (loop.exec() != QDialog::Accepted) {
        m_facility.delPanel(kFirstPanel);
        populate();
        return false;
    }
    m_facility.setExpandedView(true);
    m_status.unsaved = true;
    m_status.named = false;
    populateAndSelect({CTreeListModel::kElement, kFirstPanel, loop.loopAddress(), loop.firstElement()});
    emit titleChanged();
    return true;
}

// The file commands leave the facility's view flags as the file had them, so a panel
// closed before a save is closed again after the next open.
bool CExtendedControlsDlg::fileOpen() { return m_files.fileOpen(); }

bool CExtendedControlsDlg::fileSave() { return m_files.fileSave(); }

bool CExtendedControlsDlg::fileSaveAs() { return m_files.fileSaveAs(); }

// ---- transfers ----

bool CExtendedControlsDlg::usbUpload() {
    printk("\n CExtendedControlsDlg::usbUpload");
    if (m_facility.getNumberOfPanels() == 0) {
        m_prompt.showMessage(kNoPanelText);
        return false;
    }
    const int panel = askPanelChoice(m_facility, m_prompt, false);
    if (panel == kPanelChoiceCancelled) return false;
    if (panel <= 0) {
        m_prompt.showMessage(kUploadFailedText);
        return false;
    }
    return uploadPanel(panel);
}

// The check comes first: its errors keep the panel untouched, its warnings ask. Then what the
// upload changes since the last one, then sending, and the read-back: "sent and verified" only
// when the panel holds what was sent, its differences otherwise.
bool CExtendedControlsDlg::uploadPanel(int panelId) {
    printk("\n CExtendedControlsDlg::uploadPanel");
    const std::vector<CCheckFinding> findings = CFacilityCheck(m_facility).run(panelId);
    if (!findings.empty() && !acceptFindings(findings)) return false;
    if (!confirmUpload(panelId)) return false;
    const CUploadResult result = m_usb.uploadPanel(panelId, true);
    reportUpload(result);
    if (result.written())
        recordTransfer(CHistoryRecord::Kind::Upload, panelId, {&findings, &result.differences, result.readBackWhole});
    return result.succeeded();
}

bool CExtendedControlsDlg::usbDownload() {
    printk("\n CExtendedControlsDlg::usbDownload");
    if (!m_files.askToSave()) return false;
    // The panel settles which id it takes once its address is known (the handler asks about
    // a panel with the same address); here only the highest id in use matters, for the tree.
    int highestId = 1;
    for (int id = 1; id < CExtendedControlsDlg::kMostPanels; ++id)
        if (m_facility.getPanelAddress(id) != 0) highestId = id;
    if (!m_usb.downloadAll()) {
        m_prompt.showMessage(kDownloadFailedText);
        if (highestId > 1) populate();
        return false;
    }
    m_prompt.showMessage(kDownloadDoneText);
    recordTransfer(CHistoryRecord::Kind::Download, m_usb.panel());
    CZoneDescriptionNotice::offer(m_facility, m_prompt, m_usb.panel());
    m_facility.setExpandedView(true);
    m_facility.setPanelExpanded(m_usb.panel(), true);
    m_status.unsaved = true;
    m_status.named = false;
    populateAndSelect({CTreeListModel::kPanel, m_usb.panel(), 0, 0});
    emit titleChanged();
    return true;
}
