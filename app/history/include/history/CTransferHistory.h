// CTransferHistory: the one way a program's transfers enter the site history.
//
// The history never changes a transfer's outcome: it is written after the panel was released,
// takes no lock, and when it cannot be written the program says so once (message 500 with the
// folder) and carries on.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "basalt/KvBasicString.h"
#include "check/CCheckFinding.h"
#include "history/CHistoryRecord.h"
#include "model/CFacilityDiff.h"

class CFacilityManager;
class CUsbHandler;
class IUserPrompt;

// What ran around a transfer; null when it did not run.
struct CTransferOutcome {
    const std::vector<CCheckFinding>* findings = nullptr;    // the check before an upload
    const std::vector<std::string>* differences = nullptr;  // what the read-back or verify found
    bool verifyRead = false;                                 // the read-back read the whole panel
};

class CTransferHistory {
public:
    static constexpr int kNotWrittenText = 500;

    // The changes an upload would make to a panel, from its last upload.
    struct Pending {
        bool firstUpload = true;  // no upload of this panel in the history
        std::string lastTime;     // when the last upload was
        CFacilityDiff diff;
    };

    // `prompt` (not owned) shows the one message; `program` names the program in the records.
    CTransferHistory(IUserPrompt& prompt, std::string program) : m_prompt(prompt), m_program(std::move(program)) {}

    // The facility file the next records belong to; empty for a facility without one.
    void setFile(const KvWString& facilityFile) { m_file = facilityFile; }
    const KvWString& file() const { return m_file; }

    // Records the transfer `handler` just finished (upload, download or verify of panel
    // `panelId`), with what it sent (CUsbHandler::lastSent) or read (lastRead). False when
    // nothing was recorded: that transfer failed, or the history could not be written
    // (reported once per folder).
    bool record(CHistoryRecord::Kind kind, const CUsbHandler& handler, int panelId, const CTransferOutcome& outcome = {});

    // What an upload of panel `panelId` would change on the panel since its last upload.
    // False, with `problem` in words, when the panel cannot be sent as it is.
    bool pending(CFacilityManager& facility, int panelId, Pending& result, std::string& problem) const;

    // Why the last record could not be written; empty after one that was.
    const std::string& problem() const { return m_problem; }

private:
    IUserPrompt& m_prompt;
    std::string m_program;
    KvWString m_file;
    std::string m_problem;
    std::set<std::u16string> m_reported;
};
