// The bus CAIRN_PANEL and CAIRN_PANEL_FAULT choose, as a program's main would choose it.
#pragma once

#include <memory>
#include <string>

#include "panel_link/UsbBackendChoice.h"

inline std::shared_ptr<CUsbBackend> busFromEnvironment() {
    std::string problem;
    return usbBackendFromEnvironment(problem);
}
