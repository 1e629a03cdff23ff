// CPanelLink: the USB connection to one panel, its packet framing, and the
// page-cached access to the panel's memory tables.
//
// A connection is openDevice, configureDevice, any number of requests,
// releaseDevice. Every packet travels as two bulk transfers: a 2-byte
// big-endian length, then exactly that many bytes. Each bulk transfer waits
// at most kTimeoutMs.
//
// Once any transfer of a connection has failed, the framing can no longer be
// trusted: every later request on that connection fails at once without
// touching the bus (failed() tells), and the table operations report the
// failure up to their end call. A new connection clears this.
//
// Table access goes through one page cache: a begin call, record calls of
// that table in ascending index order, and for writes the matching end call,
// which writes the last page. Only one table is cached at a time; a begin
// call while a table write is still open fails, so a pending page is never
// dropped unnoticed. Not thread-safe: one thread uses a link at a time.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "panel_link/CElementRecord.h"
#include "panel_link/CEventActionRecord.h"
#include "panel_link/CSystemInfoRecord.h"
#include "panel_link/CUsbBackend.h"
#include "panel_link/CZoneRecord.h"

class CPanelLink {
public:
    static constexpr std::uint16_t kVendorId = 0x15A2;
    static constexpr std::uint16_t kProductId = 0x0040;
    static constexpr int kConfiguration = 1;
    static constexpr int kInterface = 0;
    static constexpr std::uint8_t kEndpointOut = 0x02;
    static constexpr std::uint8_t kEndpointIn = 0x81;
    static constexpr unsigned kTimeoutMs = 5000;
    static constexpr int kPageSize = 256;
    static constexpr int kPacketSize = 3 + kPageSize;  // longest packet built here: a page write
    static constexpr int kLogLineSize = 128;

    // Memory map.
    static constexpr std::uint16_t kSettingsPage = 0x0004;
    static constexpr std::uint16_t kSystemInfoPage = 0x0005;
    static constexpr std::uint16_t kZoneFirstPage = 0x0120;
    static constexpr std::uint16_t kElementFirstPage = 0x01A0;
    static constexpr std::uint16_t kEventFirstPage = 0x03A0;
    static constexpr std::uint16_t kActionFirstPage = 0x03E0;
    static constexpr int kLoops = 8;
    static constexpr int kElementsPerLoop = 250;
    static constexpr int kElementSlotsPerLoop = 256;
    static constexpr int kZones = 250;
    static constexpr int kEventActions = 2048;
    static constexpr int kGroupSize = 32;  // event-actions per cached group

    // Talks through `backend`, the bus the program chose.
    explicit CPanelLink(std::shared_ptr<CUsbBackend> backend);
    ~CPanelLink();  // releases an open device
    CPanelLink(const CPanelLink&) = delete;
    CPanelLink& operator=(const CPanelLink&) = delete;

    // --- Connection ---
    // Finds the panel and opens it. Buses are searched in order; on each bus
    // the first device with the panel's ids counts, and a panel on a later bus
    // replaces one found earlier (which is closed). True if a device is open.
    bool openDevice();
    // Sets configuration 1 and claims interface 0; true only if both succeed.
    // On failure the device stays open (the caller releases or searches again).
    bool configureDevice();
    // Releases interface 0 (when claimed) and closes the device; frees the
    // page cache. Always true.
    bool releaseDevice();
    // Closes any open device, then openDevice and configureDevice; when either
    // fails the whole sequence runs again, up to `attempts` times in all (the
    // transfers use 2, the firmware updater 1).
    bool prepareDevice(int attempts = 1);
    bool isOpen() const { return m_device != nullptr; }
    // True once a transfer of the current connection has failed.
    bool failed() const { return m_failed; }

    // --- Framing ---
    // Sends a request body of 1 to 65535 bytes.
    bool sendPacket(const std::uint8_t* body, int length);
    // Receives one reply into `buffer`; a reply longer than `capacity` fails
    // before its body is read. `length` receives the reply's length, and is 0
    // whenever the call fails, so it never exceeds `capacity`.
    bool receivePacket(std::uint8_t* buffer, int capacity, int& length);
    // Command 0x01; true only when the reply is exactly 256 bytes.
    bool readPage(std::uint16_t page, std::uint8_t* buffer);
    // Command 0x02 with 256 bytes; no reply is awaited.
    bool writePage(std::uint16_t page, const std::uint8_t* data);
    // Command 0x00 (update mode); true when a reply arrives whose first byte is 0x42.
    bool identify();
    // The packet buffer: the last request built here, or the identify reply.
    const std::uint8_t* packet() const { return m_packet.data(); }

    // --- Clock and event logs ---
    // Command 0x03 from a clock record: second, minute, hour, day, month,
    // year - 2000. Sends 0x03 0 s m h 0 d mo y; no reply is awaited.
    bool setClock(const std::uint8_t clock[6]);
    // Command 0x05; true only for a reply of exactly 2 bytes.
    bool readLogCount(int kind, int& count);
    // Command 0x06; the reply (at most kLogLineSize bytes) lands in `line`. A
    // non-empty reply without a NUL terminator is a failure.
    bool readNextLogLine(std::uint8_t* line, int& length);

    // --- Panel settings (page 4) ---
    // Reads page 4 and keeps a pristine copy.
    bool readSettingsPage();
    // Byte 0 of the cached page 4 (the panel's address); -1 when not read.
    int getPanelAddressByte() const;
    bool setPanelAddressByte(std::uint8_t address);
    // Writes page 4 back only when byte 0 changed; frees the cache in every
    // case. False when page 4 was not read or the write failed.
    bool commitSettingsPage();

    // --- System information (page 5) ---
    bool readSystemInfo(std::uint8_t out[CSystemInfoRecord::kSize]);
    // Writes page 5: the 96 bytes, then 160 zero bytes.
    bool writeSystemInfo(const std::uint8_t in[CSystemInfoRecord::kSize]);
    bool readSystemInfo(CSystemInfoRecord& out);
    bool writeSystemInfo(const CSystemInfoRecord& in);

    // --- Zone table (index 0 to 249) ---
    bool beginZoneWrite();
    bool writeZone(int index, const CZoneRecord& record);
    // Writes the cached page; false if it or any page of this table write failed.
    bool endZoneWrite();
    bool beginZoneRead();
    bool readZone(int index, CZoneRecord& out);

    // --- Element table (loop index 0 to 7, element index 0 to 249) ---
    bool beginElementWrite();
    // Out-of-range indexes fail without sending anything.
    bool writeElement(int loop, int element, const CElementRecord& record);
    bool endElementWrite();
    bool beginElementRead();
    bool readElement(int loop, int element, CElementRecord& out);

    // --- Event-action tables (entry 0 to 2047) ---
    bool beginEventActionWrite();
    // Entries go in ascending order; a group of 32 is written (one event page,
    // two action pages) when the first entry of another group arrives.
    bool writeEventAction(int entry, const CEventRecord& event, const CActionRecord& action);
    bool endEventActionWrite();
    bool beginEventActionRead();
    // The next entry in table order; false after entry 2047 or on a failed read.
    // The caller stops at an entry whose event or action kind is 0.
    bool readNextEventAction(CEventRecord& event, CActionRecord& action);

    // Drops whatever table is cached (an open write is abandoned, not written).
    void freePageCache();

private:
    enum class Cache { None, Settings, ZoneWrite, ZoneRead, ElementWrite, ElementRead, GroupWrite, GroupRead };

    bool bulkWrite(const std::uint8_t* data, int length);
    bool bulkRead(std::uint8_t* data, int length);
    bool fail();
    bool beginCache(Cache kind, std::size_t size);
    void stampRecords();
    bool writeRecord(Cache kind, std::uint16_t page, int offset, const std::uint8_t* record);
    bool readRecord(Cache kind, std::uint16_t page, int offset, std::uint8_t* record);
    bool endRecordWrite(Cache kind);
    bool flushGroup();
    bool readGroup(std::uint16_t key);

    std::shared_ptr<CUsbBackend> m_backend;
    CUsbHandle m_device = nullptr;
    bool m_claimed = false;
    bool m_failed = false;
    std::array<std::uint8_t, kPacketSize> m_packet{};
    std::vector<std::uint8_t> m_pageBuffer;  // the page cache; empty when no table is cached
    Cache m_cache = Cache::None;
    std::uint16_t m_pageKey = 0;
    std::uint16_t m_cursorBase = 0;
    std::uint16_t m_cursor = 0;
};
