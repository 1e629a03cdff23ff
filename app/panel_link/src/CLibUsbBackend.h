// CLibUsbBackend: the host's real USB bus, through libusb-1.0.
//
// Buses are ordered by bus number; the devices of a bus keep libusb's order.
// Transfers return the transferred count, or a negative CUsbError when
// libusb reports an error (a time-out with some bytes moved is an error too).
#pragma once

#include "panel_link/CUsbBackend.h"

struct libusb_context;
struct libusb_device;

class CLibUsbBackend : public CUsbBackend {
public:
    CLibUsbBackend();
    ~CLibUsbBackend() override;

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
    void freeList();

    libusb_context* m_context = nullptr;
    bool m_ready = false;
    libusb_device** m_list = nullptr;  // the last listing; its devices stay referenced until the next one
};
