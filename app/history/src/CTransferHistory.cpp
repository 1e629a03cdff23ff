#include "history/CTransferHistory.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "basalt/KvTrace.h"
#include "history/CPanelSnapshot.h"
#include "history/CSiteHistory.h"
#include "model/CFacilityManager.h"
#include "panel_link/CPanelImage.h"
#include "panel_link/CPanelText.h"
#include "panel_link/CUsbHandler.h"
#include "seams/IUserPrompt.h"

namespace {

std::string userName() {
    if (const passwd* pw = ::getpwuid(::getuid())) return pw->pw_name;
    const char* user = std::getenv("USER");
    return user ? user : "";
}

std::string hostName() {
    char name[256] = {};
    return ::gethostname(name, sizeof name - 1) == 0 ? name : "";
}

}  // namespace

bool CTransferHistory::record(CHistoryRecord::Kind kind, const CUsbHandler& handler, int panelId,
                              const CTransferOutcome& outcome) {
    printk("\n CTransferHistory::record");
    const CPanelImage* image = kind == CHistoryRecord::Kind::Upload ? handler.lastSent() : handler.lastRead();
    if (!image || panelId <= 0) return false;
    CHistoryRecord r;
    r.kind = kind;
    r.program = m_program;
    r.user = userName();
    r.host = hostName();
    r.panelId = panelId;
    // An upload of a panel without an address leaves the device's own.
    r.panelAddress = image->address > 0 ? image->address : handler.panelAddress();
    r.label = CPanelText::toWide(image->info.label);
    r.installer = CPanelText::toWide(image->info.installer);
    r.phone = CPanelText::toWide(image->info.phone);
    r.checked = outcome.findings != nullptr;
    if (r.checked) r.findings = *outcome.findings;
    r.verified = outcome.differences != nullptr;
    if (r.verified) r.differences = *outcome.differences;
    r.verifyRead = outcome.verifyRead;
    CFacilityManager snapshot;
    CPanelSnapshot::fromImage(*image, panelId, r.panelAddress, snapshot);
    CSiteHistory history(m_file);
    m_problem.clear();
    if (history.add(r, snapshot, m_problem)) return true;
    const KvWString& folder = history.folder();
    if (m_reported.insert(std::u16string(folder.c_str(), static_cast<std::size_t>(folder.Length()))).second)
        m_prompt.showMessageWith(kNotWrittenText, folder);
    return false;
}

bool CTransferHistory::pending(CFacilityManager& facility, int panelId, Pending& result, std::string& problem) const {
    printk("\n CTransferHistory::pending");
    CFacilityManager next;
    if (!CPanelSnapshot::fromFacility(facility, panelId, next, problem)) return false;
    CFacilityManager last;
    CHistoryRecord upload;
    const CSiteHistory history(m_file);
    result.firstUpload = !history.lastUpload(panelId, upload) || !history.loadSnapshot(upload, last);
    result.lastTime = result.firstUpload ? std::string() : upload.time;
    result.diff = CFacilityDiff::compare(last.facility(), next.facility(), panelId);
    return true;
}
