#include "panel_link/CUsbHandler.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <unistd.h>

#include "basalt/KvStringTableFile.h"
#include "basalt/KvTrace.h"
#include "basalt/KvUtf.h"
#include "model/PanelChoice.h"
#include "panel_link/CPanelImage.h"
#include "panel_link/CRecordConverter.h"

namespace {

KvWString text(int id) {
    KvWString t;
    return KvLoadString(id, t);
}

// The panel's event log, written beside the target and renamed over it only
// when complete, so an interrupted export never passes for a whole log.
class LogFile {
public:
    explicit LogFile(const std::string& path) : m_path(path), m_temp(path + ".part") {
        m_file = std::fopen(m_temp.c_str(), "w");
    }
    ~LogFile() {
        if (m_file) std::fclose(m_file);
        if (!m_committed) std::remove(m_temp.c_str());
    }
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

    bool isOpen() const { return m_file != nullptr; }
    bool writeLine(const char* text, std::size_t length) {
        return std::fwrite(text, 1, length, m_file) == length && std::fputc('\n', m_file) != EOF;
    }
    bool commit() {
        const bool flushed = std::fflush(m_file) == 0 && ::fsync(fileno(m_file)) == 0;
        const bool closed = std::fclose(m_file) == 0;
        m_file = nullptr;
        m_committed = flushed && closed && std::rename(m_temp.c_str(), m_path.c_str()) == 0;
        return m_committed;
    }

private:
    std::string m_path;
    std::string m_temp;
    std::FILE* m_file = nullptr;
    bool m_committed = false;
};

constexpr char kEmptyLogLine[] = "\" \";";

}  // namespace

CUsbHandler::CUsbHandler(CFacilityManager& facility, IUserPrompt& prompt, WaitDialogFactory dialogs,
                         std::shared_ptr<CUsbBackend> backend)
    : m_facility(facility),
      m_prompt(prompt),
      m_dialogs(std::move(dialogs)),
      m_link(backend ? std::make_unique<CPanelLink>(std::move(backend)) : std::make_unique<CPanelLink>()) {
    printk("\n CUsbHandler::CUsbHandler");
}

CUsbHandler::~CUsbHandler() {
    printk("\n CUsbHandler::~CUsbHandler");
    m_link->releaseDevice();
}

bool CUsbHandler::clearContents() {
    printk("\n CUsbHandler::clearContents");
    return true;
}

// ---------------------------------------------------------------- workers

bool CUsbHandler::behindDialog(int textId, const WorkerTask& work) {
    std::unique_ptr<IModalWaitDialog> dialog = m_dialogs ? m_dialogs() : nullptr;
    if (!dialog) return false;
    dialog->SetText(text(textId));
    return runWorker(*dialog, work, m_settle);
}

// ---------------------------------------------------------------- whole configuration

bool CUsbHandler::uploadAll() {
    printk("\n CUsbHandler::uploadAll");
    m_panel = askPanelChoice(m_facility, m_prompt, false);
    if (m_panel <= 0) return false;
    return behindDialog(kSendingText, [this](IWaitDialog& dialog) { return uploadAllProcess(dialog); });
}

bool CUsbHandler::downloadAll(int, int) {
    printk("\n CUsbHandler::downloadAll");
    return behindDialog(kReceivingText, [this](IWaitDialog& dialog) { return downloadAllProcess(dialog); });
}

bool CUsbHandler::uploadAndReport() {
    printk("\n CUsbHandler::uploadAndReport");
    if (m_facility.getNumberOfPanels() == 0) {
        m_prompt.showMessage(kNoPanelText);
        return false;
    }
    const bool ok = uploadAll();
    if (ok && m_panel > 0)
        m_prompt.showMessage(kUploadDoneText);
    else if (m_panel != kCancelled)
        m_prompt.showMessage(kUploadFailedText);
    return ok && m_panel > 0;
}

bool CUsbHandler::downloadAndReport() {
    printk("\n CUsbHandler::downloadAndReport");
    const bool ok = downloadAll();
    m_prompt.showMessage(ok ? kDownloadDoneText : kDownloadFailedText);
    return ok;
}

bool CUsbHandler::uploadAllProcess(IWaitDialog& dialog) {
    printk("\n CUsbHandler::uploadAllProcess");
    // Everything is checked before the first byte goes out: a panel is never left half-written
    // because a later record turned out not to fit.
    CPanelImage image;
    m_problem.clear();
    if (!image.build(m_facility, m_panel, m_problem)) return false;
    int address = 0;
    if (!prepareDevice(address, false)) return false;
    const bool ok = image.write(*m_link, &dialog);
    endConnection();
    return ok;
}

bool CUsbHandler::downloadAllProcess(IWaitDialog& dialog) {
    printk("\n CUsbHandler::downloadAllProcess");
    m_panel = 0;
    m_rulesLeft = false;
    int address = 0;
    if (!prepareDevice(address, false)) return false;
    int id = 0;
    bool replace = false;
    if (!chooseDownloadId(address, id, replace)) {
        endConnection();
        return false;
    }
    const int firstRule = firstFreeRuleId(replace ? id : 0);
    CPanelImage image;
    const CPanelImage::ReadResult read =
        image.read(*m_link, &dialog, firstRule > kMaxDownloadRuleId ? 0 : kMaxDownloadRuleId - firstRule + 1);
    endConnection();
    if (read == CPanelImage::ReadResult::BadZone) m_prompt.showMessage(kBadZoneText);
    if (read != CPanelImage::ReadResult::Ok) return false;
    // The whole panel is in: only now does the facility change.
    if (replace) removePanelWithRules(id);
    if (!image.addTo(m_facility, id, address, firstRule)) return false;
    m_panel = id;
    m_panelAddress = address;
    m_rulesLeft = image.rulesLeftOnPanel();
    return true;
}

bool CUsbHandler::verify(int panelId, std::vector<std::string>& differences) {
    printk("\n CUsbHandler::verify");
    return behindDialog(kReceivingText, [&](IWaitDialog& dialog) { return verifyProcess(panelId, dialog, differences); });
}

bool CUsbHandler::verifyProcess(int panelId, IWaitDialog& dialog, std::vector<std::string>& differences) {
    printk("\n CUsbHandler::verifyProcess");
    differences.clear();
    CPanelImage expected;
    m_problem.clear();
    if (!expected.build(m_facility, panelId, m_problem)) return false;
    int address = 0;
    if (!prepareDevice(address, true)) return false;
    CPanelImage actual;
    const CPanelImage::ReadResult read = actual.read(*m_link, &dialog, CPanelLink::kEventActions);
    endConnection();
    actual.address = address;
    if (read == CPanelImage::ReadResult::Failed) return false;
    differences = CPanelImage::compare(expected, actual);
    if (read == CPanelImage::ReadResult::BadZone)
        differences.push_back("loop " + std::to_string(actual.badZoneAt().first) + " element " +
                              std::to_string(actual.badZoneAt().second) +
                              ": the panel names a zone it cannot have; the rest was not read");
    return read == CPanelImage::ReadResult::Ok;
}

bool CUsbHandler::chooseDownloadId(int address, int& id, bool& replace) {
    replace = false;
    for (id = 1; id < kLastFreePanelId; ++id) {
        if (!m_facility.getPanelLabel(id)) return true;
        if (m_facility.getPanelAddress(id) == address) {
            if (!m_prompt.askYesNo(kReplacePanelText)) return false;
            replace = true;
            return true;
        }
    }
    // The last id is used only when free: a taken one would merge two panels.
    return !m_facility.getPanelLabel(id);
}

int CUsbHandler::firstFreeRuleId(int leavingPanel) const {
    int count = 0, largest = 0;
    for (int i = 0; i < m_facility.getNumberEventsInPanel(); ++i) {
        const int id = m_facility.getEventActionId(i);
        if (leavingPanel != 0 && m_facility.getEventActionInPanel(id) == leavingPanel) continue;
        ++count;
        largest = std::max(largest, id);
    }
    return std::max(count, largest) + 1;
}

void CUsbHandler::removePanelWithRules(int id) {
    std::set<int> ids;
    for (int i = 0; i < m_facility.getNumberEventsInPanel(); ++i) ids.insert(m_facility.getEventActionId(i));
    for (int rule : ids)
        while (m_facility.getEventActionInItemType(rule) != -1 && m_facility.getEventActionInPanel(rule) == id)
            m_facility.delEventActionItem(rule);
    m_facility.delPanel(id);
}

// ---------------------------------------------------------------- connection

bool CUsbHandler::prepareDevice(int& address, bool keepAddress) {
    printk("\n CUsbHandler::prepareDevice");
    address = 0;
    if (!m_link->prepareDevice(2)) return false;
    if (!m_link->readSettingsPage()) {
        endConnection();
        return false;
    }
    int settled = 0;
    if (m_panel >= 1 && !keepAddress) {
        settled = m_facility.getPanelAddress(m_panel);
        // An address the byte cannot hold would program another panel's address.
        if (settled < 0 || settled > 0xFF || (settled != 0 && !m_link->setPanelAddressByte(settled))) {
            endConnection();
            return false;
        }
    } else {
        settled = m_link->getPanelAddressByte();
        m_panel = settled;
    }
    if (!m_link->commitSettingsPage()) {
        endConnection();
        return false;
    }
    address = settled;
    return true;
}

void CUsbHandler::endConnection() {
    printk("\n CUsbHandler::prepareDevice()");
    m_link->releaseDevice();
}

// ---------------------------------------------------------------- single exchanges

bool CUsbHandler::downloadSystemInfo() {
    printk("\n CUsbHandler::downloadSystemInfo");
    CSystemInfoRecord info;
    return m_link->readSystemInfo(info) && CRecordConverter(m_facility).applySystemInfo(m_panel, info);
}

bool CUsbHandler::uploadSystemInfo() {
    printk("\n CUsbHandler::uploadSystemInfo");
    return m_link->writeSystemInfo(CRecordConverter(m_facility).systemInfo(m_panel));
}

bool CUsbHandler::uploadSystemDate(const std::uint8_t date[6]) {
    printk("\n CUsbHandler::uploadSystemDate");
    int address = 0;
    if (!date || !prepareDevice(address, true)) return false;
    const bool sent = m_link->setClock(date);
    endConnection();
    return sent;
}

bool CUsbHandler::downloadAll(int kind, const KvWString& path) {
    printk("\n CUsbHandler::downloadAll(log)");
    return behindDialog(kReceivingText, [&](IWaitDialog& dialog) { return downloadLogProcess(kind, path, dialog); });
}

bool CUsbHandler::downloadLogProcess(int kind, const KvWString& path, IWaitDialog& dialog) {
    printk("\n CUsbHandler::downloadLogProcess");
    int count = 0;
    // An unanswered count is not an empty log: reporting it as one would hide the panel's events.
    if (!m_link->readLogCount(kind, count)) return false;
    LogFile file(ToUtf8(path.c_str()).c_str());
    if (!file.isOpen()) return false;
    if (count == 0) return file.writeLine(kEmptyLogLine, std::strlen(kEmptyLogLine)) && file.commit();
    std::uint8_t line[CPanelLink::kLogLineSize];
    for (int i = 0; i < count; ++i) {
        int length = 0;
        if (!m_link->readNextLogLine(line, length)) return false;
        const void* end = std::memchr(line, 0, static_cast<std::size_t>(length));
        const std::size_t used = end ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(end) - line)
                                     : static_cast<std::size_t>(length);
        if (!file.writeLine(reinterpret_cast<const char*>(line), used)) return false;
        dialog.SetProgress(i + 1, count);
    }
    return file.commit();
}
