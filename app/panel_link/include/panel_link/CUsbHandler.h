// CUsbHandler: moves one panel's configuration between the facility and the
// attached panel, and carries the short clock and event-log exchanges.
//
// Each transfer runs its panel I/O on a worker behind a modal wait dialog
// (runWorker). The facility belongs to the calling (user-interface) thread
// and only that thread touches it: an upload builds everything it sends
// before the worker starts; a download's worker returns what it read, and
// the facility changes after the worker has joined. A modal dialog's event
// loop may therefore keep repainting views from the model meanwhile.
//
// Outcomes are honest: any failed page transfer fails the whole upload or
// download. A download reads the whole panel first and changes the facility
// only once everything was read, so on failure the facility is exactly as
// before. Question 291 comes from the worker (between reading the panel's
// address and reading the rest), through the IUserPrompt.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "basalt/KvBasicString.h"
#include "model/CFacilityManager.h"
#include "panel_link/CPanelLink.h"
#include "panel_link/CUploadResult.h"
#include "panel_link/RunWorker.h"
#include "seams/IModalWaitDialog.h"
#include "seams/IUserPrompt.h"

class CPanelImage;

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
    static constexpr int kVerifiedText = 480;
    static constexpr int kDiffersText = 481;       // "%s": the differences
    static constexpr int kUnverifiableText = 482;
    static constexpr int kRulesLeftOutText = 483;  // "%s": the rule ids
    static constexpr int kReadingBackText = 484;
    static constexpr std::size_t kShownDifferences = 20;  // a message box lists no more than these
    static constexpr int kMaxDownloadRuleId = 1024;  // rule ids a download may use

    // Creates the wait dialog of one transfer; null fails the transfer.
    using WaitDialogFactory = std::function<std::unique_ptr<IModalWaitDialog>()>;

    // `facility` and `prompt` are not owned and must outlive the handler. `backend` is the bus
    // the program chose (CUsbBackend::fromEnvironment in the programs' main).
    CUsbHandler(CFacilityManager& facility, IUserPrompt& prompt, WaitDialogFactory dialogs,
                std::shared_ptr<CUsbBackend> backend);
    ~CUsbHandler();
    CUsbHandler(const CUsbHandler&) = delete;
    CUsbHandler& operator=(const CUsbHandler&) = delete;

    // ---- Whole configuration ----
    // Sends panel `panelId` of the facility. False when the panel cannot be
    // sent as it is (lastProblem() says why; nothing was sent) or anything of
    // the upload failed.
    bool upload(int panelId);
    // Sends panel `panelId` and, with `verify`, reads the panel back on a connection of its own
    // and compares it with what was sent. Says nothing to the user.
    CUploadResult uploadPanel(int panelId, bool verify);
    // Asks which panel to send (one panel), then uploads it. False when the
    // choice was cancelled or empty.
    bool uploadAll();
    // Reads the attached panel into the facility as a panel.
    bool downloadAll();
    // uploadAll / downloadAll with the outcome messages of the loops editor:
    // 80 without panels, then reportUpload (nothing after a cancelled choice); 264 or 81, and
    // after 264 the offer of the received panel's hidden zone descriptions (question 493). The
    // upload reads the panel back unless `verify` is false; true only when nothing was found
    // wrong.
    bool uploadAndReport(bool verify = true);
    bool downloadAndReport();
    // The messages of an upload's outcome: 483 with the rules left out, if any; then 480
    // verified, 263 sent unverified, 481 with the differences, 482 when the read-back failed,
    // 92 otherwise. The success messages never follow a read-back that differs or failed.
    void reportUpload(const CUploadResult& result);
    // Its first part alone: 483 with the rules left out, when there are any.
    void reportRulesLeftOut(const CUploadResult& result);
    // The outcome's message number (0 for a cancelled choice); 481 takes the differences.
    static int outcomeText(const CUploadResult& result);
    // The lines of `differences` for a message box: at most kShownDifferences, then how many more.
    static KvWString differencesText(const std::vector<std::string>& differences);

    // Reads the attached panel back (nothing is written, not even its
    // address) and lists, in words, every difference from what an upload of
    // panel `panelId` would write. False when the panel could not be read or
    // the panel cannot be uploaded (lastProblem() then says why).
    bool verify(int panelId, std::vector<std::string>& differences);

    // ---- Connection ----
    // Opens and claims the device (a second attempt when the first fails),
    // leaving the panel's address as it is, and reports that address. False
    // (device released, `address` 0) on failure.
    bool prepareDevice(int& address);
    // Releases the device.
    void endConnection();

    // ---- Single exchanges ----
    // Sets the panel clock: prepares the device keeping its address, sends
    // the record (second, minute, hour, day, month, year - 2000), releases.
    // True when the request was sent.
    bool uploadSystemDate(const std::uint8_t date[6]);
    // The panel's own label, installer and phone (page 5), read on a connection of its own that
    // keeps the panel's address. False when the panel cannot be reached or read.
    bool readSystemInfo(CSystemInfoRecord& info);
    // Writes page 5 and reads it back on the same connection, keeping the panel's address.
    // False when the panel cannot be reached, or holds something else afterwards.
    bool writeSystemInfo(const CSystemInfoRecord& info);
    // Exports event log `kind` (0 general, 1 alarm, 2 breakdown, 3 test) to
    // `path` on a worker behind a wait dialog, on a connection the caller
    // prepared. The file is replaced only by a complete log: a failed count
    // or line request fails the log and leaves any earlier file as it was.
    // When an earlier log failed the connection, it is opened afresh first.
    bool downloadAll(int kind, const KvWString& path);

    // ---- Outcome of the last transfer ----
    // The panel the last upload sent or the last download added (0: none yet).
    int panel() const { return m_panel; }
    // The device's address as the last transfer left it.
    int panelAddress() const { return m_panelAddress; }
    CPanelLink& link() { return *m_link; }
    // What the last upload sent, and what the last download or verify read
    // whole from the panel; null when that transfer failed or none ran yet.
    // The site history keeps them.
    const CPanelImage* lastSent() const { return m_sent.get(); }
    const CPanelImage* lastRead() const { return m_read.get(); }
    // Rules the last download had to leave on the panel (no free rule id
    // up to kMaxDownloadRuleId).
    bool rulesLeftOnPanel() const { return m_rulesLeft; }
    // Why the last upload or verify could not even start (a value that does
    // not fit the panel's records); empty otherwise.
    const std::string& lastProblem() const { return m_problem; }
    // How long a worker lets a freshly shown dialog settle before working.
    void setDialogSettleTime(std::chrono::milliseconds t) { m_settle = t; }

private:
    struct Download;

    // Runs `work` behind a new wait dialog that first shows text `textId`.
    bool behindDialog(int textId, const WorkerTask& work);
    // Opens the device; writes `newAddress` into the address byte when it differs (0 or
    // below: keeps the device's). False, device released, on failure.
    bool connect(int newAddress, int& address);
    // Worker bodies: panel I/O only.
    bool sendImage(const CPanelImage& image, IWaitDialog& dialog);
    // upload() that also tells which rules the image left out.
    bool send(int panelId, std::vector<int>& skippedRules);
    bool readBack(int panelId, int textId, std::vector<CPanelDifference>& differences);
    bool receiveImage(Download& download, IWaitDialog& dialog);
    bool receiveLog(int kind, const KvWString& path, IWaitDialog& dialog);
    void removePanelWithRules(int id);
    static void keep(std::unique_ptr<CPanelImage>& slot, CPanelImage&& image);

    CFacilityManager& m_facility;
    IUserPrompt& m_prompt;
    WaitDialogFactory m_dialogs;
    std::unique_ptr<CPanelLink> m_link;
    std::unique_ptr<CPanelImage> m_sent;
    std::unique_ptr<CPanelImage> m_read;
    int m_panel = 0;
    int m_panelAddress = 0;
    bool m_rulesLeft = false;
    std::string m_problem;
    std::chrono::milliseconds m_settle = kDialogSettleTime;
};
