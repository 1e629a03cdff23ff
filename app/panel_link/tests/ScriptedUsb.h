// A scripted USB bus for chat tests: each expected bulk transfer in order,
// with the bytes the host must write or the bytes the "panel" answers, and
// what the transfer returns. Any deviation is recorded in mismatches().
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "panel_link/CUsbBackend.h"

class ScriptedUsb : public CUsbBackend {
public:
    struct Step {
        bool out;
        std::vector<std::uint8_t> data;
        int result;  // returned count (or error); for reads, bytes copied = min(result, data.size())
    };

    // The host must write exactly `bytes`; the transfer reports `result` (default: all written).
    ScriptedUsb& write(std::vector<std::uint8_t> bytes, int result = -1000) {
        const int n = result == -1000 ? static_cast<int>(bytes.size()) : result;
        m_steps.push_back({true, std::move(bytes), n});
        return *this;
    }
    // The host must frame a request with this body (header, then body).
    ScriptedUsb& request(const std::vector<std::uint8_t>& body) {
        write({static_cast<std::uint8_t>(body.size() >> 8), static_cast<std::uint8_t>(body.size() & 0xFF)});
        return write(body);
    }
    // One IN transfer carrying `bytes`.
    ScriptedUsb& read(std::vector<std::uint8_t> bytes, int result = -1000) {
        const int n = result == -1000 ? static_cast<int>(bytes.size()) : result;
        m_steps.push_back({false, std::move(bytes), n});
        return *this;
    }
    // A framed reply: its header, then its body.
    ScriptedUsb& reply(const std::vector<std::uint8_t>& body) {
        read({static_cast<std::uint8_t>(body.size() >> 8), static_cast<std::uint8_t>(body.size() & 0xFF)});
        return read(body);
    }

    bool finished() const { return m_steps.empty(); }
    const std::vector<std::string>& mismatches() const { return m_mismatches; }

    bool listDevices(std::vector<CUsbDeviceEntry>& devices) override {
        devices = {{1, 0x15A2, 0x0040, 1}};
        return true;
    }
    CUsbHandle open(const CUsbDeviceEntry&) override { return this; }
    int setConfiguration(CUsbHandle, int value) override { return value == 1 ? 0 : -2; }
    int claimInterface(CUsbHandle, int number) override { return number == 0 ? 0 : -2; }
    int releaseInterface(CUsbHandle, int) override { return 0; }
    void close(CUsbHandle) override {}

    int bulkWrite(CUsbHandle, std::uint8_t endpoint, const std::uint8_t* data, int length, unsigned timeout) override {
        if (!check(true, endpoint == 0x02 && timeout == 5000)) return kUsbErrorIo;
        Step step = take();
        if (std::vector<std::uint8_t>(data, data + length) != step.data)
            m_mismatches.push_back("write of " + std::to_string(length) + " bytes differs from the script");
        return step.result;
    }
    int bulkRead(CUsbHandle, std::uint8_t endpoint, std::uint8_t* data, int length, unsigned timeout) override {
        if (!check(false, endpoint == 0x81 && timeout == 5000)) return kUsbErrorTimeout;
        Step step = take();
        if (static_cast<int>(step.data.size()) > length) return kUsbErrorOverflow;
        std::copy(step.data.begin(), step.data.end(), data);
        return step.result;
    }

private:
    bool check(bool out, bool endpointOk) {
        if (!endpointOk) m_mismatches.push_back("wrong endpoint or time-out");
        if (m_steps.empty() || m_steps.front().out != out) {
            m_mismatches.push_back(out ? "unexpected write" : "unexpected read");
            return false;
        }
        return endpointOk;
    }
    Step take() {
        Step s = m_steps.front();
        m_steps.pop_front();
        return s;
    }

    std::deque<Step> m_steps;
    std::vector<std::string> m_mismatches;
};
