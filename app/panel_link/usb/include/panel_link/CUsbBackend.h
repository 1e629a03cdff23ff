// CUsbBackend: the one seam through which the panel link reaches a USB bus.
//
// A small table of bulk-only operations in the style of the classic USB
// libraries: list the devices, open, set the configuration, claim, bulk
// write, bulk read, release, close. Transfers report the number of bytes
// moved, or a negative CUsbError; nothing throws. Two implementations exist:
// the host's real bus (libusb-1.0) and the virtual panel used for tests and
// demonstrations. Each program chooses one in its main (usbBackendFromEnvironment).
#pragma once

#include <cstdint>
#include <vector>

// Negative results of the backend operations.
enum CUsbError : int {
    kUsbErrorIo = -1,
    kUsbErrorInvalid = -2,
    kUsbErrorAccess = -3,
    kUsbErrorNoDevice = -4,
    kUsbErrorBusy = -6,
    kUsbErrorTimeout = -7,
    kUsbErrorOverflow = -8,
    kUsbErrorPipe = -9,
    kUsbErrorOther = -99,
};

// One device seen while listing: where it is and what it claims to be.
struct CUsbDeviceEntry {
    int bus = 0;             // position of its bus in the backend's bus order
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    int token = 0;           // backend's own reference, meaningful only to open()
};

// Opaque open-device handle; null means no device.
using CUsbHandle = void*;

class CUsbBackend {
public:
    virtual ~CUsbBackend() = default;

    // Fills `devices` bus by bus, in bus order, each bus's devices in its own
    // order. False when the backend has no bus list at all.
    virtual bool listDevices(std::vector<CUsbDeviceEntry>& devices) = 0;
    // Opens a listed device; null on failure.
    virtual CUsbHandle open(const CUsbDeviceEntry& device) = 0;
    // 0 on success, a negative CUsbError otherwise.
    virtual int setConfiguration(CUsbHandle handle, int value) = 0;
    virtual int claimInterface(CUsbHandle handle, int number) = 0;
    virtual int releaseInterface(CUsbHandle handle, int number) = 0;
    // Closes the handle; the handle is invalid afterwards.
    virtual void close(CUsbHandle handle) = 0;
    // Bytes moved (possibly fewer than asked), or a negative CUsbError. A read
    // never stores more than `length` bytes.
    virtual int bulkWrite(CUsbHandle handle, std::uint8_t endpoint, const std::uint8_t* data, int length,
                          unsigned timeoutMs) = 0;
    virtual int bulkRead(CUsbHandle handle, std::uint8_t endpoint, std::uint8_t* data, int length,
                         unsigned timeoutMs) = 0;
};
