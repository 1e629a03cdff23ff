// The loops editor's transfers in the site history: the changes an upload would make, asked
// before it, and the record of each upload and download after it.
#include "basalt/KvTrace.h"
#include "basalt/KvUtf.h"
#include "reports/CReportDiffWords.h"
#include "seams/IUserPrompt.h"
#include "ui/CExtendedControlsDlg.h"
#include "ui/CUnsavedStatus.h"

namespace {

constexpr int kChangesText = 516;
constexpr int kFirstUploadText = 517;
constexpr int kNoChangesText = 518;
constexpr std::size_t kShownChanges = 20;  // a question box holds no more

// The changes one a line, blank lines around them, the rest counted.
KvWString changeLines(const CFacilityDiff& diff) {
    const std::vector<std::string> lines = diff.lines(CReportDiffWords::load());
    std::string text = "\n\n";
    for (std::size_t i = 0; i < lines.size() && i < kShownChanges; ++i) text += lines[i] + "\n";
    if (lines.size() > kShownChanges) text += "(+" + std::to_string(lines.size() - kShownChanges) + ")\n";
    return ToWide((text + "\n").c_str());
}

}  // namespace

KvWString CExtendedControlsDlg::historyFile() const { return m_status.named ? m_status.filePath : KvWString(); }

bool CExtendedControlsDlg::confirmUpload(int panelId) {
    printk("\n CExtendedControlsDlg::confirmUpload");
    m_history.setFile(historyFile());
    CTransferHistory::Pending pending;
    std::string problem;
    // A panel that cannot be sent as it is gets its refusal from the upload itself.
    if (!m_history.pending(m_facility, panelId, pending, problem)) return true;
    if (pending.firstUpload) return m_prompt.askYesNo(kFirstUploadText);
    if (pending.diff.empty()) return m_prompt.askYesNo(kNoChangesText);
    return m_prompt.askYesNoWith(kChangesText, changeLines(pending.diff));
}

void CExtendedControlsDlg::recordTransfer(CHistoryRecord::Kind kind, int panelId, const CTransferOutcome& outcome) {
    m_history.setFile(historyFile());
    m_history.record(kind, m_usb, panelId, outcome);
}
