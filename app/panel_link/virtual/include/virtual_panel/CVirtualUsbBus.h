// CVirtualUsbBus: a USB bus with a virtual panel on it, behind the same
// backend table as the host's real bus.
//
// The panel's state lives in a file (created on first use) and is re-read
// when a connection opens and written back when it closes, so successive
// commands, even in separate processes, see one panel. An empty path keeps
// the state in memory only.
//
// The path may end in "?mode=update": the panel then powers up in its update
// (boot) mode, as a real one does when started with its update key held. It
// stays there for the life of the bus, which is how long an update holds
// it, and restarts in normal mode when the bus goes away (restartPanel()). Faults (CVirtualFaults) can be injected, and
// every bulk transfer can be recorded for tests.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "panel_link/CUsbBackend.h"
#include "virtual_panel/CVirtualFaults.h"
#include "virtual_panel/CVirtualPanel.h"

struct CVirtualTransfer {
    bool out = false;                // host to panel
    std::uint8_t endpoint = 0;
    std::vector<std::uint8_t> data;  // bytes asked to write, or bytes read
    int result = 0;                  // what the backend returned
};

class CVirtualUsbBus : public CUsbBackend {
public:
    explicit CVirtualUsbBus(std::string statePath = std::string(), CVirtualFaults faults = CVirtualFaults());
    ~CVirtualUsbBus() override;

    CVirtualFaults& faults() { return m_faults; }
    // Power-cycles the stored panel: it comes back in normal mode.
    void restartPanel();
    // The panel whose state is kept in the state file (the one on the last bus).
    CVirtualPanel& panel() { return m_panels.back(); }
    // The other panel that the two-buses fault puts on the first bus.
    CVirtualPanel& firstBusPanel() { return m_panels.front(); }
    const std::string& lastError() const { return m_error; }
    int openHandles() const { return static_cast<int>(m_handles.size()); }
    int opens() const { return m_opens; }
    int listings() const { return m_listings; }
    int transfersOut() const { return m_transfersOut; }
    int transfersIn() const { return m_transfersIn; }
    void resetCounters() { m_transfersOut = m_transfersIn = m_opens = m_listings = 0; }
    // Whether the injected transfer fault has actually spoiled a transfer or reply.
    bool faultStruck() const { return m_struck; }
    // Keeps a transcript of the bulk transfers from now on (off by default).
    void setRecording(bool on) { m_recording = on; }
    std::vector<CVirtualTransfer>& transcript() { return m_transcript; }

    bool listDevices(std::vector<CUsbDeviceEntry>& devices) override;
    CUsbHandle open(const CUsbDeviceEntry& device) override;
    int setConfiguration(CUsbHandle handle, int value) override;
    int claimInterface(CUsbHandle handle, int number) override;
    int releaseInterface(CUsbHandle handle, int number) override;
    void close(CUsbHandle handle) override;
    int bulkWrite(CUsbHandle handle, std::uint8_t endpoint, const std::uint8_t* data, int length,
                  unsigned timeoutMs) override;
    int bulkRead(CUsbHandle handle, std::uint8_t endpoint, std::uint8_t* data, int length,
                 unsigned timeoutMs) override;

private:
    struct Handle;
    Handle* find(CUsbHandle handle);
    bool faultStrikes(Handle& h);
    void record(bool out, std::uint8_t endpoint, const std::uint8_t* data, int length, int result);

    std::string m_path;
    CVirtualFaults m_faults;
    std::vector<CVirtualPanel> m_panels;  // [0] first bus (two-buses only), back() the stored panel
    std::vector<std::unique_ptr<Handle>> m_handles;
    std::string m_error;
    bool m_recording = false;
    std::vector<CVirtualTransfer> m_transcript;
    bool m_struck = false;
    int m_opens = 0;
    int m_listings = 0;
    int m_transfersOut = 0;
    int m_transfersIn = 0;
};
