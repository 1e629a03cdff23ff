// Arbitrary panel replies: the input is what the panel sends on its IN
// endpoint, transfer after transfer. Every request the host makes succeeds on
// the OUT side. The transport must never store past a destination, and the
// records it hands on, decoded and added to a model, must not crash anything.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "model/CFacilityManager.h"
#include "panel_link/CPanelLink.h"
#include "panel_link/CRecordConverter.h"

namespace {

class ReplayBus : public CUsbBackend {
public:
    ReplayBus(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    bool exhausted() const { return m_pos >= m_size; }

    bool listDevices(std::vector<CUsbDeviceEntry>& devices) override {
        devices = {{1, 0x15A2, 0x0040, 0}};
        return true;
    }
    CUsbHandle open(const CUsbDeviceEntry&) override { return this; }
    int setConfiguration(CUsbHandle, int) override { return 0; }
    int claimInterface(CUsbHandle, int) override { return 0; }
    int releaseInterface(CUsbHandle, int) override { return 0; }
    void close(CUsbHandle) override {}
    int bulkWrite(CUsbHandle, std::uint8_t, const std::uint8_t*, int length, unsigned) override { return length; }
    int bulkRead(CUsbHandle, std::uint8_t, std::uint8_t* out, int length, unsigned) override {
        if (m_pos >= m_size) return kUsbErrorTimeout;
        const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(length), m_size - m_pos);
        std::memcpy(out, m_data + m_pos, n);
        m_pos += n;
        return static_cast<int>(n);
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

void exerciseDecoders(const std::uint8_t* data, std::size_t size, CFacilityManager& m) {
    CRecordConverter c(m);
    const int n = static_cast<int>(std::min<std::size_t>(size, 4096));
    CZoneRecord z;
    CElementRecord e;
    CEventRecord ev;
    CActionRecord ac;
    CSystemInfoRecord info;
    if (CZoneRecord::decode(data, n, z)) c.addZone(1, data[0] % 250, z);
    if (CElementRecord::decode(data, n, e)) c.addElement(1, data[0] % 8, data[1] % 250, e);
    if (n >= 24 && CEventRecord::decode(data, n, ev) && CActionRecord::decode(data + 8, n - 8, ac))
        c.addEventAction(m.getFreeEventId(), 1, 1, ev, ac);
    if (CSystemInfoRecord::decode(data, n, info)) c.applySystemInfo(1, info);
}

void exerciseLink(CPanelLink& link, ReplayBus& bus, CFacilityManager& m) {
    CRecordConverter c(m);
    std::uint8_t page[256];
    std::uint8_t line[128];
    int length = 0, count = 0;
    link.readPage(4, page);
    if (link.readLogCount(0, count) && count > 0) link.readNextLogLine(line, length);
    if (length > CPanelLink::kLogLineSize) std::abort();
    link.identify();
    if (link.readSettingsPage()) {
        link.setPanelAddressByte(7);
        link.commitSettingsPage();
    }
    CSystemInfoRecord info;
    if (link.readSystemInfo(info)) c.applySystemInfo(1, info);
    if (link.beginZoneRead())
        for (int i = 0; i < 250 && !bus.exhausted(); ++i) {
            CZoneRecord z;
            if (link.readZone(i, z)) c.addZone(1, i, z);
        }
    if (link.beginElementRead())
        for (int i = 0; i < 2000 && !bus.exhausted(); ++i) {
            CElementRecord e;
            if (link.readElement(i / 250, i % 250, e)) c.addElement(1, i / 250, i % 250, e);
        }
    if (link.beginEventActionRead())
        for (int id = 1; id <= 64; ++id) {
            CEventRecord e;
            CActionRecord a;
            if (!link.readNextEventAction(e, a) || e.item.kind == 0 || a.item.kind == 0) break;
            c.addEventAction(m.getFreeEventId(), 1, 1, e, a);
        }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CFacilityManager model;
    model.addPanel(1, 1, u"fuzz");
    exerciseDecoders(data, size, model);
    auto bus = std::make_shared<ReplayBus>(data, size);
    CPanelLink link(bus);
    if (!link.prepareDevice()) std::abort();
    // Replies are consumed in order; after a failure the link refuses further
    // requests, so start a fresh connection to keep consuming the input.
    for (int connection = 0; connection < 8 && !bus->exhausted(); ++connection) {
        exerciseLink(link, *bus, model);
        link.prepareDevice();
    }
    return 0;
}
