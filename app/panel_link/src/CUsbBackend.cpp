#include "panel_link/UsbBackendChoice.h"

#include <cstdlib>
#include <string>

#include "CLibUsbBackend.h"
#include "virtual_panel/CVirtualUsbBus.h"

namespace {

// A bus without devices, for a CAIRN_PANEL value that names nothing we know.
class CEmptyBus : public CUsbBackend {
public:
    bool listDevices(std::vector<CUsbDeviceEntry>& devices) override {
        devices.clear();
        return false;
    }
    CUsbHandle open(const CUsbDeviceEntry&) override { return nullptr; }
    int setConfiguration(CUsbHandle, int) override { return kUsbErrorNoDevice; }
    int claimInterface(CUsbHandle, int) override { return kUsbErrorNoDevice; }
    int releaseInterface(CUsbHandle, int) override { return kUsbErrorNoDevice; }
    void close(CUsbHandle) override {}
    int bulkWrite(CUsbHandle, std::uint8_t, const std::uint8_t*, int, unsigned) override { return kUsbErrorNoDevice; }
    int bulkRead(CUsbHandle, std::uint8_t, std::uint8_t*, int, unsigned) override { return kUsbErrorNoDevice; }
};

}  // namespace

std::shared_ptr<CUsbBackend> usbBackendFromEnvironment(std::string& problem) {
    problem.clear();
    const char* choice = std::getenv("CAIRN_PANEL");
    if (!choice || !*choice) return std::make_shared<CLibUsbBackend>();
    const std::string value(choice);
    const std::string prefix = "virtual:";
    if (value.rfind(prefix, 0) != 0 || value.size() == prefix.size()) {
        problem = "CAIRN_PANEL: expected virtual:PATH, got \"" + value + "\"; no panel will be found";
        return std::make_shared<CEmptyBus>();
    }
    CVirtualFaults faults;
    const char* faultText = std::getenv("CAIRN_PANEL_FAULT");
    if (faultText && !CVirtualFaults::parse(faultText, faults)) {
        problem = std::string("CAIRN_PANEL_FAULT: cannot parse \"") + faultText + "\"; no panel will be found";
        return std::make_shared<CEmptyBus>();
    }
    return std::make_shared<CVirtualUsbBus>(value.substr(prefix.size()), faults);
}
