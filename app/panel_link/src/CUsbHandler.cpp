#include "panel_link/CUsbHandler.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <string>

#include "basalt/KvPaths.h"
#include "basalt/KvStringTableFile.h"
#include "basalt/KvTrace.h"
#include "basalt/KvUtf.h"
#include "model/PanelChoice.h"
#include "panel_link/CDownloadPlan.h"
#include "panel_link/CPanelImage.h"
#include "panel_link/CRecordConverter.h"
#include "panel_link/CZoneDescriptionNotice.h"
#include "panel_link/MessageLines.h"

namespace {

KvWString text(int id) {
    KvWString t;
    return KvLoadString(id, t);
}

constexpr char kEmptyLogLine[] = "\" \";";

}  // namespace

// What a download's worker settles and reads, for the calling thread to apply.
struct CUsbHandler::Download {
    explicit Download(const CFacilityManager& facility) : plan(facility) {}
    CDownloadPlan plan;
    int address = 0;
    int id = 0;
    bool replace = false;
    int firstRule = 0;
    CPanelImage image;
    CPanelImage::ReadResult read = CPanelImage::ReadResult::Failed;
};

CUsbHandler::CUsbHandler(CFacilityManager& facility, IUserPrompt& prompt, WaitDialogFactory dialogs,
                         std::shared_ptr<CUsbBackend> backend)
    : m_facility(facility),
      m_prompt(prompt),
      m_dialogs(std::move(dialogs)),
      m_link(std::make_unique<CPanelLink>(std::move(backend))) {
    printk("\n CUsbHandler::CUsbHandler");
}

CUsbHandler::~CUsbHandler() {
    printk("\n CUsbHandler::~CUsbHandler");
    m_link->releaseDevice();
}

bool CUsbHandler::behindDialog(int textId, const WorkerTask& work) {
    std::unique_ptr<IModalWaitDialog> dialog = m_dialogs ? m_dialogs() : nullptr;
    if (!dialog) return false;
    dialog->SetText(text(textId));
    return runWorker(*dialog, work, m_settle);
}

// ---------------------------------------------------------------- upload

bool CUsbHandler::uploadAll() {
    printk("\n CUsbHandler::uploadAll");
    const int id = askPanelChoice(m_facility, m_prompt, false);
    return id > 0 && upload(id);
}

bool CUsbHandler::upload(int panelId) {
    printk("\n CUsbHandler::upload");
    std::vector<int> skipped;
    return send(panelId, skipped);
}

bool CUsbHandler::send(int panelId, std::vector<int>& skippedRules) {
    // Everything is built and checked before the first byte goes out: a panel is never left
    // half-written because a later record turned out not to fit.
    CPanelImage image;
    m_problem.clear();
    m_sent.reset();
    skippedRules.clear();
    if (!image.build(m_facility, panelId, m_problem)) return false;
    skippedRules = image.skippedRules();
    const bool ok = behindDialog(kSendingText, [&](IWaitDialog& dialog) { return sendImage(image, dialog); });
    if (ok) {
        m_panel = panelId;
        keep(m_sent, std::move(image));
    }
    return ok;
}

CUploadResult CUsbHandler::uploadPanel(int panelId, bool verify) {
    printk("\n CUsbHandler::uploadPanel");
    CUploadResult r;
    r.panel = panelId;
    if (!send(panelId, r.skippedRules)) {
        r.problem = m_problem;
        r.outcome = m_problem.empty() ? CUploadResult::Outcome::Failed : CUploadResult::Outcome::NotSent;
        return r;
    }
    if (!verify) {
        r.outcome = CUploadResult::Outcome::Sent;
        return r;
    }
    const bool read = readBack(panelId, kReadingBackText, r.rows);
    r.differences = CPanelImage::lines(r.rows);
    r.readBackWhole = read;
    if (read)
        r.outcome = r.differences.empty() ? CUploadResult::Outcome::Verified : CUploadResult::Outcome::Differs;
    else  // a zone the panel cannot have was read back: certainly not what was sent
        r.outcome = r.differences.empty() ? CUploadResult::Outcome::Unverifiable : CUploadResult::Outcome::Differs;
    return r;
}

bool CUsbHandler::sendImage(const CPanelImage& image, IWaitDialog& dialog) {
    printk("\n CUsbHandler::sendImage");
    int address = 0;
    if (!connect(image.address, address)) return false;
    const bool ok = image.write(*m_link, &dialog);
    endConnection();
    return ok;
}

bool CUsbHandler::uploadAndReport(bool verify) {
    printk("\n CUsbHandler::uploadAndReport");
    if (m_facility.getNumberOfPanels() == 0) {
        m_prompt.showMessage(kNoPanelText);
        return false;
    }
    const int id = askPanelChoice(m_facility, m_prompt, false);
    if (id == kPanelChoiceCancelled) return false;
    CUploadResult result;
    result.outcome = CUploadResult::Outcome::Failed;
    if (id > 0) result = uploadPanel(id, verify);
    reportUpload(result);
    return result.succeeded();
}

int CUsbHandler::outcomeText(const CUploadResult& result) {
    switch (result.outcome) {
    case CUploadResult::Outcome::Cancelled: return 0;
    case CUploadResult::Outcome::Sent: return kUploadDoneText;
    case CUploadResult::Outcome::Verified: return kVerifiedText;
    case CUploadResult::Outcome::Differs: return kDiffersText;
    case CUploadResult::Outcome::Unverifiable: return kUnverifiableText;
    case CUploadResult::Outcome::NotSent:
    case CUploadResult::Outcome::Failed: break;
    }
    return kUploadFailedText;
}

KvWString CUsbHandler::differencesText(const std::vector<std::string>& differences) {
    return messageLines(differences, kShownDifferences);
}

void CUsbHandler::reportRulesLeftOut(const CUploadResult& result) {
    if (result.skippedRules.empty()) return;
    std::string ids;
    for (int rule : result.skippedRules) ids += (ids.empty() ? "" : ", ") + std::to_string(rule);
    m_prompt.showMessageWith(kRulesLeftOutText, ToWide(ids.c_str()));
}

void CUsbHandler::reportUpload(const CUploadResult& result) {
    printk("\n CUsbHandler::reportUpload");
    reportRulesLeftOut(result);
    const int textId = outcomeText(result);
    if (textId == kDiffersText)
        m_prompt.showMessageWith(textId, differencesText(result.differences));
    else if (textId != 0)
        m_prompt.showMessage(textId);
}

// ---------------------------------------------------------------- download

bool CUsbHandler::downloadAll() {
    printk("\n CUsbHandler::downloadAll");
    m_rulesLeft = false;
    m_read.reset();
    Download download(m_facility);
    const bool read =
        behindDialog(kReceivingText, [&](IWaitDialog& dialog) { return receiveImage(download, dialog); });
    if (download.read == CPanelImage::ReadResult::BadZone) m_prompt.showMessage(kBadZoneText);
    if (!read) return false;
    // The whole panel is in: only now does the facility change.
    if (download.replace) removePanelWithRules(download.id);
    if (!download.image.addTo(m_facility, download.id, download.address, download.firstRule)) return false;
    m_panel = download.id;
    m_panelAddress = download.address;
    m_rulesLeft = download.image.rulesLeftOnPanel();
    download.image.address = download.address;
    keep(m_read, std::move(download.image));
    return true;
}

bool CUsbHandler::receiveImage(Download& d, IWaitDialog& dialog) {
    printk("\n CUsbHandler::receiveImage");
    if (!connect(0, d.address)) return false;
    if (!d.plan.chooseId(d.address, m_prompt, d.id, d.replace)) {
        endConnection();
        return false;
    }
    d.firstRule = d.plan.firstFreeRuleId(d.replace ? d.id : 0);
    d.read = d.image.read(*m_link, &dialog, d.firstRule > kMaxDownloadRuleId ? 0 : kMaxDownloadRuleId - d.firstRule + 1);
    endConnection();
    return d.read == CPanelImage::ReadResult::Ok;
}

bool CUsbHandler::downloadAndReport() {
    printk("\n CUsbHandler::downloadAndReport");
    const bool ok = downloadAll();
    m_prompt.showMessage(ok ? kDownloadDoneText : kDownloadFailedText);
    if (ok) CZoneDescriptionNotice::offer(m_facility, m_prompt, m_panel);
    return ok;
}

void CUsbHandler::removePanelWithRules(int id) {
    std::set<int> ids;
    for (int i = 0; i < m_facility.getNumberEventsInPanel(); ++i) ids.insert(m_facility.getEventActionId(i));
    for (int rule : ids)
        while (m_facility.getEventActionInItemType(rule) != -1 && m_facility.getEventActionInPanel(rule) == id)
            m_facility.delEventActionItem(rule);
    m_facility.delPanel(id);
}

// ---------------------------------------------------------------- verify

bool CUsbHandler::verify(int panelId, std::vector<std::string>& differences) {
    printk("\n CUsbHandler::verify");
    std::vector<CPanelDifference> rows;
    const bool read = readBack(panelId, kReceivingText, rows);
    differences = CPanelImage::lines(rows);
    return read;
}

bool CUsbHandler::readBack(int panelId, int textId, std::vector<CPanelDifference>& differences) {
    differences.clear();
    m_read.reset();
    CPanelImage expected;
    m_problem.clear();
    if (!expected.build(m_facility, panelId, m_problem)) return false;
    CPanelImage actual;
    CPanelImage::ReadResult read = CPanelImage::ReadResult::Failed;
    behindDialog(textId, [&](IWaitDialog& dialog) {
        if (!connect(0, actual.address)) return false;
        read = actual.read(*m_link, &dialog, CPanelLink::kEventActions);
        endConnection();
        return true;
    });
    if (read == CPanelImage::ReadResult::Failed) return false;
    differences = CPanelImage::differences(expected, actual);
    if (read == CPanelImage::ReadResult::Ok) keep(m_read, std::move(actual));
    if (read == CPanelImage::ReadResult::BadZone)
        differences.push_back({"loop " + std::to_string(actual.badZoneAt().first) + " element " +
                                   std::to_string(actual.badZoneAt().second),
                               "", "the panel names a zone it cannot have; the rest was not read"});
    return read == CPanelImage::ReadResult::Ok;
}

void CUsbHandler::keep(std::unique_ptr<CPanelImage>& slot, CPanelImage&& image) {
    slot = std::make_unique<CPanelImage>(std::move(image));
}

// ---------------------------------------------------------------- connection

bool CUsbHandler::prepareDevice(int& address) {
    printk("\n CUsbHandler::prepareDevice");
    return connect(0, address);
}

bool CUsbHandler::connect(int newAddress, int& address) {
    address = 0;
    if (!m_link->prepareDevice(2)) return false;
    if (!m_link->readSettingsPage()) {
        endConnection();
        return false;
    }
    // An address the byte cannot hold would program another panel's address.
    if (newAddress > 0xFF || (newAddress > 0 && !m_link->setPanelAddressByte(static_cast<std::uint8_t>(newAddress)))) {
        endConnection();
        return false;
    }
    const int settled = newAddress > 0 ? newAddress : m_link->getPanelAddressByte();
    if (!m_link->commitSettingsPage()) {
        endConnection();
        return false;
    }
    address = settled;
    m_panelAddress = settled;
    return true;
}

void CUsbHandler::endConnection() {
    printk("\n CUsbHandler::endConnection");
    m_link->releaseDevice();
}

// ---------------------------------------------------------------- single exchanges

bool CUsbHandler::uploadSystemDate(const std::uint8_t date[6]) {
    printk("\n CUsbHandler::uploadSystemDate");
    int address = 0;
    if (!date || !prepareDevice(address)) return false;
    const bool sent = m_link->setClock(date);
    endConnection();
    return sent;
}

bool CUsbHandler::readSystemInfo(CSystemInfoRecord& info) {
    printk("\n CUsbHandler::readSystemInfo");
    int address = 0;
    if (!prepareDevice(address)) return false;
    const bool read = m_link->readSystemInfo(info);
    endConnection();
    return read;
}

bool CUsbHandler::writeSystemInfo(const CSystemInfoRecord& info) {
    printk("\n CUsbHandler::writeSystemInfo");
    int address = 0;
    if (!prepareDevice(address)) return false;
    CSystemInfoRecord stored;
    // What goes into the fields is what a read gives back: compare the decoded forms.
    std::uint8_t bytes[CSystemInfoRecord::kSize];
    info.encode(bytes);
    CSystemInfoRecord expected;
    CSystemInfoRecord::decode(bytes, sizeof bytes, expected);
    const bool ok = m_link->writeSystemInfo(info) && m_link->readSystemInfo(stored) && stored.label == expected.label &&
                    stored.installer == expected.installer && stored.phone == expected.phone;
    endConnection();
    return ok;
}

bool CUsbHandler::downloadAll(int kind, const KvWString& path) {
    printk("\n CUsbHandler::downloadAll(log)");
    // After a failed log the framing is in doubt and the link refuses every transfer: the next
    // log starts on a fresh connection, so one bad log costs only itself.
    if (m_link->failed()) {
        endConnection();
        int address = 0;
        if (!prepareDevice(address)) return false;
    }
    return behindDialog(kReceivingText, [&](IWaitDialog& dialog) { return receiveLog(kind, path, dialog); });
}

bool CUsbHandler::receiveLog(int kind, const KvWString& path, IWaitDialog& dialog) {
    printk("\n CUsbHandler::receiveLog");
    int count = 0;
    // An unanswered count is not an empty log: reporting it as one would hide the panel's events.
    if (!m_link->readLogCount(kind, count)) return false;
    // The log is saved only when complete, so an interrupted export never passes for a
    // whole log, and into a folder that exists: the user chose it.
    std::string csv;
    auto save = [&] { return KvSaveFileAtomic(path.c_str(), csv.data(), csv.size(), KvFolder::MustExist); };
    if (count == 0) {
        csv.append(kEmptyLogLine).push_back('\n');
        return save();
    }
    std::uint8_t line[CPanelLink::kLogLineSize];
    for (int i = 0; i < count; ++i) {
        int length = 0;
        if (!m_link->readNextLogLine(line, length)) return false;
        const void* end = std::memchr(line, 0, static_cast<std::size_t>(length));
        const std::size_t used = end ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(end) - line)
                                     : static_cast<std::size_t>(length);
        csv.append(reinterpret_cast<const char*>(line), used).push_back('\n');
        dialog.SetProgress(i + 1, count);
    }
    return save();
}
