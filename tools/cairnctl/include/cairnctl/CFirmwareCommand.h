// CFirmwareCommand: "cairnctl firmware MANIFEST.xml", a firmware update from
// the command line.
//
// Runs the same updater as the program, with a text progress bar on `out`
// and the update's messages on `err`. The panel must be in its update mode
// (for the virtual panel: CAIRN_PANEL=virtual:PATH?mode=update).
// Exit status: 0 when every requested stage succeeded, 1 otherwise.
#pragma once

#include <memory>
#include <ostream>
#include <string>

class CUsbBackend;

class CFirmwareCommand {
public:
    CFirmwareCommand(std::ostream& out, std::ostream& err, std::shared_ptr<CUsbBackend> usb)
        : m_out(out), m_err(err), m_usb(std::move(usb)) {}
    int run(const std::string& manifestPath);

private:
    std::ostream& m_out;
    std::ostream& m_err;
    std::shared_ptr<CUsbBackend> m_usb;
};
