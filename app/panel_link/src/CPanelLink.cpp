#include "panel_link/CPanelLink.h"

#include <algorithm>
#include <cstring>

#include "basalt/KvTrace.h"

namespace {

constexpr std::uint8_t kIdentify = 0x00;
constexpr std::uint8_t kReadPage = 0x01;
constexpr std::uint8_t kWritePage = 0x02;
constexpr std::uint8_t kSetClock = 0x03;
constexpr std::uint8_t kLogCount = 0x05;
constexpr std::uint8_t kNextLogLine = 0x06;
constexpr std::uint8_t kIdentifyAnswer = 0x42;
constexpr int kRecordSize = 32;
constexpr int kGroupBytes = 3 * CPanelLink::kPageSize;

}  // namespace


CPanelLink::CPanelLink(std::shared_ptr<CUsbBackend> backend) : m_backend(std::move(backend)) {}

CPanelLink::~CPanelLink() { releaseDevice(); }

// ---------------------------------------------------------------- connection

bool CPanelLink::openDevice() {
    printk("\n CPanelLink::openDevice");
    releaseDevice();
    std::vector<CUsbDeviceEntry> devices;
    if (!m_backend || !m_backend->listDevices(devices)) return false;
    bool seenOnBus = false;
    int bus = -1;
    for (const CUsbDeviceEntry& d : devices) {
        if (d.bus != bus) bus = d.bus, seenOnBus = false;
        if (seenOnBus || d.vendorId != kVendorId || d.productId != kProductId) continue;
        seenOnBus = true;
        // A panel on a later bus wins; if it cannot be opened the earlier one is kept.
        CUsbHandle handle = m_backend->open(d);
        if (!handle) continue;
        if (m_device) m_backend->close(m_device);
        m_device = handle;
    }
    m_failed = false;
    return m_device != nullptr;
}

bool CPanelLink::configureDevice() {
    printk("\n CPanelLink::configureDevice");
    if (!m_device) return false;
    if (m_backend->setConfiguration(m_device, kConfiguration) != 0) return false;
    if (m_backend->claimInterface(m_device, kInterface) != 0) return false;
    m_claimed = true;
    return true;
}

bool CPanelLink::releaseDevice() {
    printk("\n CPanelLink::releaseDevice");
    freePageCache();
    if (m_device) {
        if (m_claimed) m_backend->releaseInterface(m_device, kInterface);
        m_backend->close(m_device);
    }
    m_device = nullptr;
    m_claimed = false;
    return true;
}

bool CPanelLink::prepareDevice(int attempts) {
    printk("\n CPanelLink::prepareDevice");
    for (int i = 0; i < attempts; ++i) {
        releaseDevice();
        if (openDevice() && configureDevice()) return true;
    }
    releaseDevice();
    return false;
}

// ---------------------------------------------------------------- framing

bool CPanelLink::fail() {
    m_failed = true;
    return false;
}

bool CPanelLink::bulkWrite(const std::uint8_t* data, int length) {
    const int n = m_backend->bulkWrite(m_device, kEndpointOut, data, length, kTimeoutMs);
    return n == length || fail();
}

bool CPanelLink::bulkRead(std::uint8_t* data, int length) {
    const int n = m_backend->bulkRead(m_device, kEndpointIn, data, length, kTimeoutMs);
    return n == length || fail();
}

bool CPanelLink::sendPacket(const std::uint8_t* body, int length) {
    if (!m_device || m_failed || !body || length < 1 || length > 0xFFFF) return false;
    const std::uint8_t header[2] = {static_cast<std::uint8_t>(length >> 8), static_cast<std::uint8_t>(length & 0xFF)};
    return bulkWrite(header, 2) && bulkWrite(body, length);
}

bool CPanelLink::receivePacket(std::uint8_t* buffer, int capacity, int& length) {
    length = 0;
    if (!m_device || m_failed || !buffer) return false;
    std::uint8_t header[2];
    if (!bulkRead(header, 2)) return false;
    const int announced = header[0] << 8 | header[1];
    // Never let the panel write past the destination; the unread body leaves
    // the pipe out of step, so the connection is finished too.
    if (announced > capacity || !bulkRead(buffer, announced)) return fail();
    length = announced;
    return true;
}

bool CPanelLink::readPage(std::uint16_t page, std::uint8_t* buffer) {
    if (!buffer) return false;
    m_packet[0] = kReadPage;
    m_packet[1] = static_cast<std::uint8_t>(page >> 8);
    m_packet[2] = static_cast<std::uint8_t>(page & 0xFF);
    int length = 0;
    if (!sendPacket(m_packet.data(), 3) || !receivePacket(buffer, kPageSize, length)) return false;
    return length == kPageSize || fail();
}

bool CPanelLink::writePage(std::uint16_t page, const std::uint8_t* data) {
    if (!data) return false;
    m_packet[0] = kWritePage;
    m_packet[1] = static_cast<std::uint8_t>(page >> 8);
    m_packet[2] = static_cast<std::uint8_t>(page & 0xFF);
    std::memcpy(m_packet.data() + 3, data, kPageSize);
    printk(u"\nblk:%d\n", page);
    return sendPacket(m_packet.data(), kPacketSize);
}

bool CPanelLink::identify() {
    printk("\n CPanelLink::identify");
    m_packet[0] = kIdentify;
    int length = 0;
    if (!sendPacket(m_packet.data(), 1) || !receivePacket(m_packet.data(), kPacketSize, length)) return false;
    return length >= 1 && m_packet[0] == kIdentifyAnswer;
}

// ---------------------------------------------------------------- clock and logs

bool CPanelLink::setClock(const std::uint8_t clock[6]) {
    printk("\n CPanelLink::setClock");
    if (!clock) return false;
    const std::uint8_t body[9] = {kSetClock, 0, clock[0], clock[1], clock[2], 0, clock[3], clock[4], clock[5]};
    return sendPacket(body, 9);
}

bool CPanelLink::readLogCount(int kind, int& count) {
    printk("\n CPanelLink::readLogCount");
    count = 0;
    const std::uint8_t body[2] = {kLogCount, static_cast<std::uint8_t>(kind)};
    int length = 0;
    if (!sendPacket(body, 2) || !receivePacket(m_packet.data(), kPacketSize, length)) return false;
    if (length != 2) return fail();
    count = m_packet[0] << 8 | m_packet[1];
    return true;
}

bool CPanelLink::readNextLogLine(std::uint8_t* line, int& length) {
    length = 0;
    const std::uint8_t body[1] = {kNextLogLine};
    if (!sendPacket(body, 1) || !receivePacket(line, kLogLineSize, length)) return false;
    // A line without its terminator was cut short somewhere.
    if (length == 0 || std::memchr(line, 0, static_cast<std::size_t>(length))) return true;
    length = 0;
    return fail();
}

// ---------------------------------------------------------------- settings and system information

bool CPanelLink::readSettingsPage() {
    printk("\n CPanelLink::readSettingsPage");
    if (!beginCache(Cache::Settings, 2 * kPageSize)) return false;
    if (!readPage(kSettingsPage, m_pageBuffer.data())) {
        freePageCache();
        return false;
    }
    std::memcpy(m_pageBuffer.data() + kPageSize, m_pageBuffer.data(), kPageSize);
    return true;
}

int CPanelLink::getPanelAddressByte() const { return m_cache == Cache::Settings ? m_pageBuffer[0] : -1; }

bool CPanelLink::setPanelAddressByte(std::uint8_t address) {
    if (m_cache != Cache::Settings) return false;
    m_pageBuffer[0] = address;
    return true;
}

bool CPanelLink::commitSettingsPage() {
    printk("\n CPanelLink::commitSettingsPage");
    if (m_cache != Cache::Settings) return false;
    const bool changed = m_pageBuffer[0] != m_pageBuffer[kPageSize];
    const bool ok = !m_failed && (!changed || writePage(kSettingsPage, m_pageBuffer.data()));
    freePageCache();
    return ok;
}

bool CPanelLink::readSystemInfo(std::uint8_t out[CSystemInfoRecord::kSize]) {
    std::uint8_t page[kPageSize];
    if (!out || !readPage(kSystemInfoPage, page)) return false;
    std::memcpy(out, page, CSystemInfoRecord::kSize);
    return true;
}

bool CPanelLink::writeSystemInfo(const std::uint8_t in[CSystemInfoRecord::kSize]) {
    std::uint8_t page[kPageSize] = {};
    if (!in) return false;
    std::memcpy(page, in, CSystemInfoRecord::kSize);
    return writePage(kSystemInfoPage, page);
}

bool CPanelLink::readSystemInfo(CSystemInfoRecord& out) {
    std::uint8_t bytes[CSystemInfoRecord::kSize];
    return readSystemInfo(bytes) && CSystemInfoRecord::decode(bytes, sizeof bytes, out);
}

bool CPanelLink::writeSystemInfo(const CSystemInfoRecord& in) {
    std::uint8_t bytes[CSystemInfoRecord::kSize];
    in.encode(bytes);
    return writeSystemInfo(bytes);
}

// ---------------------------------------------------------------- page cache

void CPanelLink::freePageCache() {
    m_pageBuffer.clear();
    m_pageBuffer.shrink_to_fit();
    m_cache = Cache::None;
}

bool CPanelLink::beginCache(Cache kind, std::size_t size) {
    if (m_cache == Cache::ZoneWrite || m_cache == Cache::ElementWrite || m_cache == Cache::GroupWrite) return false;
    m_pageBuffer.assign(size, 0);
    m_cache = kind;
    return true;
}

// The fixed bytes of a table's records. Unwritten records of a page are
// cleared rather than left over from the previous page, so a gap in the
// indexes can never repeat another address's record.
void CPanelLink::stampRecords() {
    std::fill(m_pageBuffer.begin(), m_pageBuffer.end(), 0);
    if (m_cache == Cache::ElementWrite)
        for (int r = 0; r < kPageSize / kRecordSize; ++r) m_pageBuffer[r * kRecordSize + 27] = 1;
}

bool CPanelLink::writeRecord(Cache kind, std::uint16_t page, int offset, const std::uint8_t* record) {
    if (m_cache != kind) return false;
    if (page != m_pageKey) {
        writePage(m_pageKey, m_pageBuffer.data());
        stampRecords();
        m_pageKey = page;
    }
    std::memcpy(m_pageBuffer.data() + offset, record, kRecordSize);
    return !m_failed;
}

bool CPanelLink::endRecordWrite(Cache kind) {
    if (m_cache != kind) return false;
    const bool ok = writePage(m_pageKey, m_pageBuffer.data());
    freePageCache();
    return ok;
}

bool CPanelLink::readRecord(Cache kind, std::uint16_t page, int offset, std::uint8_t* record) {
    if (m_cache != kind || m_failed) return false;
    if (page != m_pageKey) {
        std::uint8_t fresh[kPageSize];
        if (!readPage(page, fresh)) return false;
        std::memcpy(m_pageBuffer.data(), fresh, kPageSize);
        m_pageKey = page;
    }
    std::memcpy(record, m_pageBuffer.data() + offset, kRecordSize);
    return true;
}

bool CPanelLink::beginZoneWrite() {
    printk("\n CPanelLink::beginZoneWrite");
    if (!beginCache(Cache::ZoneWrite, kPageSize)) return false;
    m_pageKey = kZoneFirstPage;
    stampRecords();
    return true;
}

bool CPanelLink::writeZone(int index, const CZoneRecord& record) {
    if (index < 0 || index >= kZones) return false;
    std::uint8_t bytes[kRecordSize];
    record.encode(bytes);
    return writeRecord(Cache::ZoneWrite, static_cast<std::uint16_t>(kZoneFirstPage + index / 8), index % 8 * kRecordSize,
                       bytes);
}

bool CPanelLink::endZoneWrite() { return endRecordWrite(Cache::ZoneWrite); }

bool CPanelLink::beginZoneRead() {
    printk("\n CPanelLink::beginZoneRead");
    if (!beginCache(Cache::ZoneRead, kPageSize)) return false;
    if (!readPage(kZoneFirstPage, m_pageBuffer.data())) {
        freePageCache();
        return false;
    }
    m_pageKey = kZoneFirstPage;
    return true;
}

bool CPanelLink::readZone(int index, CZoneRecord& out) {
    if (index < 0 || index >= kZones) return false;
    std::uint8_t bytes[kRecordSize];
    return readRecord(Cache::ZoneRead, static_cast<std::uint16_t>(kZoneFirstPage + index / 8), index % 8 * kRecordSize,
                      bytes) &&
           CZoneRecord::decode(bytes, kRecordSize, out);
}

namespace {

std::uint16_t elementPage(int loop, int element) {
    return static_cast<std::uint16_t>(CPanelLink::kElementFirstPage + 32 * loop + element / 8);
}

bool elementInRange(int loop, int element) {
    return loop >= 0 && loop < CPanelLink::kLoops && element >= 0 && element < CPanelLink::kElementsPerLoop;
}

}  // namespace

bool CPanelLink::beginElementWrite() {
    printk("\n CPanelLink::beginElementWrite");
    if (!beginCache(Cache::ElementWrite, kPageSize)) return false;
    m_pageKey = kElementFirstPage;
    stampRecords();
    return true;
}

bool CPanelLink::writeElement(int loop, int element, const CElementRecord& record) {
    if (!elementInRange(loop, element)) return false;
    std::uint8_t bytes[kRecordSize];
    record.encode(bytes);
    return writeRecord(Cache::ElementWrite, elementPage(loop, element), element % 8 * kRecordSize, bytes);
}

bool CPanelLink::endElementWrite() { return endRecordWrite(Cache::ElementWrite); }

bool CPanelLink::beginElementRead() {
    printk("\n CPanelLink::beginElementRead");
    if (!beginCache(Cache::ElementRead, kPageSize)) return false;
    if (!readPage(kElementFirstPage, m_pageBuffer.data())) {
        freePageCache();
        return false;
    }
    m_pageKey = kElementFirstPage;
    return true;
}

bool CPanelLink::readElement(int loop, int element, CElementRecord& out) {
    if (!elementInRange(loop, element)) return false;
    std::uint8_t bytes[kRecordSize];
    return readRecord(Cache::ElementRead, elementPage(loop, element), element % 8 * kRecordSize, bytes) &&
           CElementRecord::decode(bytes, kRecordSize, out);
}

// ---------------------------------------------------------------- event-action groups

bool CPanelLink::flushGroup() {
    const auto actionPage = static_cast<std::uint16_t>(kActionFirstPage + 2 * (m_pageKey - kEventFirstPage));
    const std::uint8_t* buffer = m_pageBuffer.data();
    return writePage(m_pageKey, buffer) && writePage(actionPage, buffer + kPageSize) &&
           writePage(static_cast<std::uint16_t>(actionPage + 1), buffer + 2 * kPageSize);
}

bool CPanelLink::readGroup(std::uint16_t key) {
    const auto actionPage = static_cast<std::uint16_t>(kActionFirstPage + 2 * (key - kEventFirstPage));
    std::uint8_t fresh[kGroupBytes];
    if (!readPage(key, fresh) || !readPage(actionPage, fresh + kPageSize) ||
        !readPage(static_cast<std::uint16_t>(actionPage + 1), fresh + 2 * kPageSize))
        return false;
    std::memcpy(m_pageBuffer.data(), fresh, kGroupBytes);
    m_pageKey = key;
    return true;
}

bool CPanelLink::beginEventActionWrite() {
    printk("\n CPanelLink::beginEventActionWrite");
    if (!beginCache(Cache::GroupWrite, kGroupBytes)) return false;
    m_pageKey = kEventFirstPage;
    return true;
}

bool CPanelLink::writeEventAction(int entry, const CEventRecord& event, const CActionRecord& action) {
    if (m_cache != Cache::GroupWrite || entry < 0 || entry >= kEventActions) return false;
    const auto key = static_cast<std::uint16_t>(kEventFirstPage + entry / kGroupSize);
    if (key != m_pageKey) {
        flushGroup();
        std::fill(m_pageBuffer.begin(), m_pageBuffer.end(), 0);
        m_pageKey = key;
    }
    const int slot = entry % kGroupSize;
    event.encode(m_pageBuffer.data() + slot * CEventRecord::kSize);
    action.encode(m_pageBuffer.data() + kPageSize + slot * CActionRecord::kSize);
    return !m_failed;
}

bool CPanelLink::endEventActionWrite() {
    printk("\n CPanelLink::endEventActionWrite");
    if (m_cache != Cache::GroupWrite) return false;
    const bool ok = flushGroup();
    freePageCache();
    return ok;
}

bool CPanelLink::beginEventActionRead() {
    printk("\n CPanelLink::beginEventActionRead");
    if (!beginCache(Cache::GroupRead, kGroupBytes)) return false;
    m_cursorBase = m_cursor = 0;
    if (!readGroup(kEventFirstPage)) {
        freePageCache();
        return false;
    }
    return true;
}

bool CPanelLink::readNextEventAction(CEventRecord& event, CActionRecord& action) {
    if (m_cache != Cache::GroupRead || m_failed || m_cursor >= kEventActions) return false;
    if (m_cursor == m_cursorBase + kGroupSize) {
        if (!readGroup(static_cast<std::uint16_t>(kEventFirstPage + m_cursor / kGroupSize))) return false;
        m_cursorBase = static_cast<std::uint16_t>(m_cursorBase + kGroupSize);
    }
    const int slot = m_cursor % kGroupSize;
    CEventRecord::decode(m_pageBuffer.data() + slot * CEventRecord::kSize, CEventRecord::kSize, event);
    CActionRecord::decode(m_pageBuffer.data() + kPageSize + slot * CActionRecord::kSize, CActionRecord::kSize, action);
    ++m_cursor;
    return true;
}
