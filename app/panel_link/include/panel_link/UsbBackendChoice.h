// usbBackendFromEnvironment: the bus a program talks to, as its environment chooses it.
//
// Called in each program's main; the libraries take the bus they are given.
#pragma once

#include <memory>
#include <string>

#include "panel_link/CUsbBackend.h"

// The virtual panel when CAIRN_PANEL is "virtual:PATH" (PATH holds its state; CAIRN_PANEL_FAULT
// may name faults to inject, see CVirtualFaults), else the host's USB bus. Any other non-empty
// CAIRN_PANEL value, or a CAIRN_PANEL_FAULT that cannot be read, gives a bus with no devices, so
// a typo never reaches a real panel by surprise; `problem` then says why (else it is emptied).
std::shared_ptr<CUsbBackend> usbBackendFromEnvironment(std::string& problem);
