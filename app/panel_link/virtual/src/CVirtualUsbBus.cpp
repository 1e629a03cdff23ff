#include "virtual_panel/CVirtualUsbBus.h"

#include <algorithm>
#include <cstdio>
#include <sys/stat.h>

namespace {

constexpr std::uint16_t kPanelVendor = 0x15A2;
constexpr std::uint16_t kPanelProduct = 0x0040;
constexpr std::uint16_t kHubVendor = 0x1D6B;  // every bus lists its root hub first
constexpr std::uint16_t kHubProduct = 0x0002;
constexpr int kHubToken = -1;
constexpr std::uint8_t kEndpointOut = 0x02;
constexpr std::uint8_t kEndpointIn = 0x81;

CVirtualPanelState otherPanelState() {
    CVirtualPanelState state;
    state.setAddress(2);
    CVirtualPanelState::Page info{};
    const char label[] = "OTHER PANEL";
    std::copy(label, label + sizeof label - 1, info.begin());
    state.setPage(5, info);
    return state;
}

bool fileExists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

}  // namespace

struct CVirtualUsbBus::Handle {
    CVirtualPanel* panel = nullptr;
    bool stored = false;   // the panel kept in the state file
    bool claimed = false;
    int transfers = 0;     // bulk transfers on this connection
};

CVirtualUsbBus::CVirtualUsbBus(std::string statePath, CVirtualFaults faults)
    : m_path(std::move(statePath)), m_faults(faults) {
    m_panels.emplace_back(otherPanelState());
    m_panels.emplace_back();
    for (CVirtualPanel& panel : m_panels) panel.corruptPageWrite(m_faults.corruptPage);
    const std::size_t query = m_path.find('?');
    if (query == std::string::npos) return;
    const std::string options = m_path.substr(query + 1);
    m_path.resize(query);
    if (options == "mode=update")
        m_panels.back().setMode(CVirtualPanel::Mode::Boot);
    else
        std::fprintf(stderr, "virtual panel: unknown setting \"%s\" ignored\n", options.c_str());
}

CVirtualUsbBus::~CVirtualUsbBus() {
    while (!m_handles.empty()) close(m_handles.back().get());
    restartPanel();
}

void CVirtualUsbBus::restartPanel() { m_panels.back().restart(); }

bool CVirtualUsbBus::listDevices(std::vector<CUsbDeviceEntry>& devices) {
    devices.clear();
    ++m_listings;
    devices.push_back({1, kHubVendor, kHubProduct, kHubToken});
    if (m_faults.twoBuses && !m_faults.deviceAbsent) devices.push_back({1, kPanelVendor, kPanelProduct, 0});
    devices.push_back({2, kHubVendor, kHubProduct, kHubToken});
    if (!m_faults.deviceAbsent) devices.push_back({2, kPanelVendor, kPanelProduct, 1});
    return true;
}

CUsbHandle CVirtualUsbBus::open(const CUsbDeviceEntry& device) {
    if (device.token != 0 && device.token != 1) return nullptr;
    auto handle = std::make_unique<Handle>();
    handle->stored = device.token == 1;
    handle->panel = &m_panels[static_cast<std::size_t>(device.token)];
    if (handle->stored && !m_path.empty()) {
        CVirtualPanelState& state = handle->panel->state();
        const bool ok = fileExists(m_path) ? state.load(m_path, m_error) : state.save(m_path, m_error);
        if (!ok) {
            std::fprintf(stderr, "virtual panel: %s\n", m_error.c_str());
            return nullptr;
        }
        handle->panel->clearDirty();
    }
    handle->panel->bootLoader().setFaults(m_faults.boot);
    handle->panel->resetPipes();
    ++m_opens;
    m_handles.push_back(std::move(handle));
    return m_handles.back().get();
}

CVirtualUsbBus::Handle* CVirtualUsbBus::find(CUsbHandle handle) {
    for (auto& h : m_handles)
        if (h.get() == handle) return h.get();
    return nullptr;
}

int CVirtualUsbBus::setConfiguration(CUsbHandle handle, int value) {
    if (!find(handle)) return kUsbErrorNoDevice;
    if (m_faults.refuseConfiguration) return kUsbErrorBusy;
    return value == 1 ? 0 : kUsbErrorInvalid;
}

int CVirtualUsbBus::claimInterface(CUsbHandle handle, int number) {
    Handle* h = find(handle);
    if (!h) return kUsbErrorNoDevice;
    if (m_faults.refuseClaim) return kUsbErrorBusy;
    if (number != 0) return kUsbErrorInvalid;
    h->claimed = true;
    return 0;
}

int CVirtualUsbBus::releaseInterface(CUsbHandle handle, int number) {
    Handle* h = find(handle);
    if (!h) return kUsbErrorNoDevice;
    if (number != 0 || !h->claimed) return kUsbErrorInvalid;
    h->claimed = false;
    return 0;
}

void CVirtualUsbBus::close(CUsbHandle handle) {
    auto it = std::find_if(m_handles.begin(), m_handles.end(), [&](auto& h) { return h.get() == handle; });
    if (it == m_handles.end()) return;
    Handle& h = **it;
    if (h.stored && !m_path.empty() && h.panel->dirty()) {
        if (h.panel->state().save(m_path, m_error))
            h.panel->clearDirty();
        else
            std::fprintf(stderr, "virtual panel: %s\n", m_error.c_str());
    }
    h.panel->resetPipes();
    m_handles.erase(it);
}

bool CVirtualUsbBus::faultStrikes(Handle& h) {
    ++h.transfers;
    return m_faults.transfer != CVirtualTransferFault::None && h.transfers == m_faults.atTransfer;
}

void CVirtualUsbBus::record(bool out, std::uint8_t endpoint, const std::uint8_t* data, int length, int result) {
    if (!m_recording) return;
    CVirtualTransfer t{out, endpoint, {}, result};
    const int n = out ? length : result;
    if (data && n > 0) t.data.assign(data, data + n);
    m_transcript.push_back(std::move(t));
}

int CVirtualUsbBus::bulkWrite(CUsbHandle handle, std::uint8_t endpoint, const std::uint8_t* data, int length,
                              unsigned) {
    Handle* h = find(handle);
    if (!h) return kUsbErrorNoDevice;
    if (!h->claimed || length < 0) return kUsbErrorInvalid;
    if (endpoint != kEndpointOut) return kUsbErrorPipe;
    ++m_transfersOut;
    int result = length;
    if (faultStrikes(*h)) {
        switch (m_faults.transfer) {
        case CVirtualTransferFault::Error: result = kUsbErrorIo; break;
        case CVirtualTransferFault::Timeout: result = kUsbErrorTimeout; break;
        case CVirtualTransferFault::Short: result = std::max(0, length - 1); m_struck = length > 0; break;
        case CVirtualTransferFault::WrongLength: h->panel->distortNextReply(m_faults.lengthDelta); break;
        case CVirtualTransferFault::None: break;
        }
        if (result < 0) m_struck = true;
    }
    if (result > 0) h->panel->receive(data, result);
    record(true, endpoint, data, length, result);
    return result;
}

int CVirtualUsbBus::bulkRead(CUsbHandle handle, std::uint8_t endpoint, std::uint8_t* data, int length, unsigned) {
    Handle* h = find(handle);
    if (!h) return kUsbErrorNoDevice;
    if (!h->claimed || length < 0) return kUsbErrorInvalid;
    if (endpoint != kEndpointIn) return kUsbErrorPipe;
    ++m_transfersIn;
    const bool strikes = faultStrikes(*h);
    const int distortedBefore = h->panel->distortedReplies();
    int result = 0;
    if (strikes && m_faults.transfer == CVirtualTransferFault::Error) {
        result = kUsbErrorIo;
    } else if (strikes && m_faults.transfer == CVirtualTransferFault::Timeout) {
        result = kUsbErrorTimeout;
    } else {
        if (strikes && m_faults.transfer == CVirtualTransferFault::WrongLength)
            h->panel->distortNextReply(m_faults.lengthDelta);
        result = h->panel->send(data, length);
        if (strikes && m_faults.transfer == CVirtualTransferFault::Short && result > 0) {
            --result;
            m_struck = true;
        }
    }
    if (strikes && result < 0) m_struck = true;
    if (h->panel->distortedReplies() != distortedBefore) m_struck = true;
    record(false, endpoint, data, length, result);
    return result;
}
