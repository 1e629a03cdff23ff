// CUsbHandler: moves one panel's configuration between the facility and the
// attached panel, and carries the short clock and event-log exchanges.
//
// Each transfer runs on a worker thread of its own while the calling
// (user-interface) thread runs a modal wait dialog: the worker waits until
// the dialog is up, does all USB work and all model changes, stores its
// result and ends the dialog. Nothing else may touch the facility meanwhile;
// the modal dialog is what keeps the user away from it.
//
// Outcomes are honest: any failed page transfer fails the whole upload or
// download. A download reads the whole panel first and changes the facility
// only once everything was read, so on failure the facility is exactly as
// before. Messages and questions go through the IUserPrompt, possibly from
// the worker thread (question 291, message 330).
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "basalt/KvBasicString.h"
#include "model/CFacilityManager.h"
#include "seams/IUserPrompt.h"
#include "panel_link/CPanelLink.h"
#include "panel_link/RunWorker.h"
#include "seams/IModalWaitDialog.h"

class CUsbHandler {
public:
    static constexpr int kNoPanelText = 80;
    static constexpr int kDownloadFailedText = 81;
    static constexpr int kSendingText = 88;
    static constexpr int kReceivingText = 89;
    static constexpr int kUploadFailedText = 92;
    static constexpr int kUploadDoneText = 263;
    static constexpr int kDownloadDoneText = 264;
    static constexpr int kReplacePanelText = 291;
    static constexpr int kBadZoneText = 330;
    static constexpr int kCancelled = -1;       // panel() after a cancelled choice
    static constexpr int kMaxDownloadRuleId = 1024;  // rule ids a download may use
    static constexpr int kLastFreePanelId = 128;

    // Creates the wait dialog of one transfer; null fails the transfer.
    using WaitDialogFactory = std::function<std::unique_ptr<IModalWaitDialog>()>;

    // `facility` and `prompt` are not owned and must outlive the handler.
    // A null backend uses the bus chosen by the environment (CAIRN_PANEL).
    CUsbHandler(CFacilityManager& facility, IUserPrompt& prompt, WaitDialogFactory dialogs,
                std::shared_ptr<CUsbBackend> backend = nullptr);
    ~CUsbHandler();
    CUsbHandler(const CUsbHandler&) = delete;
    CUsbHandler& operator=(const CUsbHandler&) = delete;

    bool clearContents();

    // ---- Whole configuration ----
    // Asks which panel to send (one panel), then uploads it. False when the
    // choice was cancelled (panel() is then kCancelled) or empty, or anything
    // of the upload failed.
    bool uploadAll();
    // Reads the attached panel into the facility as a panel. The arguments
    // are kept for callers' sake and have no effect.
    bool downloadAll(int highestId = 0, int nextAddress = 0);
    // uploadAll / downloadAll with the outcome messages of the loops editor:
    // 80 without panels, 263 or 92 (none after a cancelled choice); 264 or 81.
    bool uploadAndReport();
    bool downloadAndReport();

    // The worker bodies, on an already running dialog (they run here when
    // called directly, which is what a command-line caller without threads
    // would do).
    bool uploadAllProcess(IWaitDialog& dialog);
    bool downloadAllProcess(IWaitDialog& dialog);

    // Reads the attached panel back (nothing is written, not even its
    // address) and lists, in words, every difference from what an upload of
    // panel `panelId` would write. False when the panel could not be read or
    // the panel cannot be uploaded (lastProblem() then says why).
    bool verify(int panelId, std::vector<std::string>& differences);
    bool verifyProcess(int panelId, IWaitDialog& dialog, std::vector<std::string>& differences);

    // ---- Connection ----
    // Opens and claims the device (a second attempt when the first fails) and
    // settles the panel's address from page 4. With a chosen panel (panel()
    // >= 1) and !keepAddress, the model's address of that panel is written to
    // the device when it differs; otherwise the device's address is read and
    // panel() becomes it. False (device released, `address` 0) on failure.
    bool prepareDevice(int& address, bool keepAddress);
    // Releases the device.
    void endConnection();

    // ---- Single exchanges on a prepared connection ----
    // Page 5 to and from panel panel()'s label (text 290 when empty), installer and phone.
    bool downloadSystemInfo();
    bool uploadSystemInfo();
    // Sets the panel clock: prepares the device keeping its address, sends
    // the record (second, minute, hour, day, month, year - 2000), releases.
    // True when the request was sent.
    bool uploadSystemDate(const std::uint8_t date[6]);
    // Exports event log `kind` (0 general, 1 alarm, 2 breakdown, 3 test) to
    // `path` on a worker behind a wait dialog, on a connection the caller
    // prepared. The file is replaced only by a complete log: a failed count
    // or line request fails the log and leaves any earlier file as it was.
    bool downloadAll(int kind, const KvWString& path);
    bool downloadLogProcess(int kind, const KvWString& path, IWaitDialog& dialog);

    // ---- State ----
    int panel() const { return m_panel; }
    int panelAddress() const { return m_panelAddress; }
    CPanelLink& link() { return *m_link; }
    // Rules the last download had to leave on the panel (no free rule id
    // up to kMaxDownloadRuleId).
    bool rulesLeftOnPanel() const { return m_rulesLeft; }
    // Why the last upload or verify could not even start (a value that does
    // not fit the panel's records); empty otherwise.
    const std::string& lastProblem() const { return m_problem; }
    // How long a worker lets a freshly shown dialog settle before working.
    void setDialogSettleTime(std::chrono::milliseconds t) { m_settle = t; }

private:
    // Runs `work` behind a new wait dialog that first shows text `textId`.
    bool behindDialog(int textId, const WorkerTask& work);
    // The id a download uses for a panel with `address`: a free id, or (after
    // a yes to question 291) the id of the panel it replaces. False on no.
    bool chooseDownloadId(int address, int& id, bool& replace);
    int firstFreeRuleId(int leavingPanel) const;
    void removePanelWithRules(int id);

    CFacilityManager& m_facility;
    IUserPrompt& m_prompt;
    WaitDialogFactory m_dialogs;
    std::unique_ptr<CPanelLink> m_link;
    int m_panel = 0;
    int m_panelAddress = 0;
    bool m_rulesLeft = false;
    std::string m_problem;
    std::chrono::milliseconds m_settle = kDialogSettleTime;
};
