#include "CLibUsbBackend.h"

#include <libusb.h>

#include <algorithm>

namespace {

int mapError(int code) {
    switch (code) {
    case LIBUSB_ERROR_IO: return kUsbErrorIo;
    case LIBUSB_ERROR_INVALID_PARAM: return kUsbErrorInvalid;
    case LIBUSB_ERROR_ACCESS: return kUsbErrorAccess;
    case LIBUSB_ERROR_NO_DEVICE: return kUsbErrorNoDevice;
    case LIBUSB_ERROR_BUSY: return kUsbErrorBusy;
    case LIBUSB_ERROR_TIMEOUT: return kUsbErrorTimeout;
    case LIBUSB_ERROR_OVERFLOW: return kUsbErrorOverflow;
    case LIBUSB_ERROR_PIPE: return kUsbErrorPipe;
    default: return kUsbErrorOther;
    }
}

libusb_device_handle* cast(CUsbHandle handle) { return static_cast<libusb_device_handle*>(handle); }

int transfer(CUsbHandle handle, std::uint8_t endpoint, std::uint8_t* data, int length, unsigned timeoutMs) {
    if (!handle || length < 0) return kUsbErrorInvalid;
    int moved = 0;
    const int rc = libusb_bulk_transfer(cast(handle), endpoint, data, length, &moved, timeoutMs);
    return rc == 0 ? moved : mapError(rc);
}

}  // namespace

CLibUsbBackend::CLibUsbBackend() { m_ready = libusb_init(&m_context) == 0; }

CLibUsbBackend::~CLibUsbBackend() {
    freeList();
    if (m_ready) libusb_exit(m_context);
}

void CLibUsbBackend::freeList() {
    if (m_list) libusb_free_device_list(m_list, 1);
    m_list = nullptr;
}

bool CLibUsbBackend::listDevices(std::vector<CUsbDeviceEntry>& devices) {
    devices.clear();
    if (!m_ready) return false;
    freeList();
    const ssize_t count = libusb_get_device_list(m_context, &m_list);
    if (count < 0) {
        m_list = nullptr;
        return false;
    }
    for (ssize_t i = 0; i < count; ++i) {
        libusb_device_descriptor descriptor{};
        if (libusb_get_device_descriptor(m_list[i], &descriptor) != 0) continue;
        devices.push_back({libusb_get_bus_number(m_list[i]), descriptor.idVendor, descriptor.idProduct,
                           static_cast<int>(i)});
    }
    // Bus order is bus-number order; within a bus libusb's own order is kept.
    std::stable_sort(devices.begin(), devices.end(), [](auto& a, auto& b) { return a.bus < b.bus; });
    return count > 0;
}

CUsbHandle CLibUsbBackend::open(const CUsbDeviceEntry& device) {
    if (!m_list || device.token < 0) return nullptr;
    libusb_device_handle* handle = nullptr;
    return libusb_open(m_list[device.token], &handle) == 0 ? handle : nullptr;
}

int CLibUsbBackend::setConfiguration(CUsbHandle handle, int value) {
    return handle ? (libusb_set_configuration(cast(handle), value) == 0 ? 0 : kUsbErrorIo) : kUsbErrorInvalid;
}

int CLibUsbBackend::claimInterface(CUsbHandle handle, int number) {
    if (!handle) return kUsbErrorInvalid;
    const int rc = libusb_claim_interface(cast(handle), number);
    return rc == 0 ? 0 : mapError(rc);
}

int CLibUsbBackend::releaseInterface(CUsbHandle handle, int number) {
    if (!handle) return kUsbErrorInvalid;
    const int rc = libusb_release_interface(cast(handle), number);
    return rc == 0 ? 0 : mapError(rc);
}

void CLibUsbBackend::close(CUsbHandle handle) {
    if (handle) libusb_close(cast(handle));
}

int CLibUsbBackend::bulkWrite(CUsbHandle handle, std::uint8_t endpoint, const std::uint8_t* data, int length,
                              unsigned timeoutMs) {
    // libusb takes a non-const buffer for both directions; an OUT transfer only reads it.
    return transfer(handle, endpoint, const_cast<std::uint8_t*>(data), length, timeoutMs);
}

int CLibUsbBackend::bulkRead(CUsbHandle handle, std::uint8_t endpoint, std::uint8_t* data, int length,
                             unsigned timeoutMs) {
    return transfer(handle, endpoint, data, length, timeoutMs);
}
