// CCairnCtl: cairnctl's command line, separated from main() so tests can drive it.
//
// Exit status: 0 success, 1 failure, 2 usage error. Results go to `out` only when the whole
// command succeeded; messages go to `err`.
#pragma once

#include <functional>
#include <memory>
#include <ostream>

class CUsbBackend;

class CCairnCtl {
public:
    static constexpr int kOk = 0;
    static constexpr int kFailure = 1;
    static constexpr int kUsage = 2;

    using UsbChoice = std::function<std::shared_ptr<CUsbBackend>()>;

    // `usb` gives the bus the panel commands talk to; called only by those commands.
    CCairnCtl(std::ostream& out, std::ostream& err, UsbChoice usb) : m_out(out), m_err(err), m_usb(std::move(usb)) {}
    int run(int argc, char** argv);

private:
    std::ostream& m_out;
    std::ostream& m_err;
    UsbChoice m_usb;
};
