#include <iostream>
#include <string>

#include "cairnctl/CCairnCtl.h"
#include "panel_link/UsbBackendChoice.h"

#if defined(__SANITIZE_ADDRESS__)
// Sanitizer builds: the font stack the report command loads keeps a few allocations until exit.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
#endif

int main(int argc, char** argv) {
    // The bus is the program's choice: CAIRN_PANEL may name the virtual panel instead of USB.
    auto usb = [] {
        std::string problem;
        std::shared_ptr<CUsbBackend> bus = usbBackendFromEnvironment(problem);
        if (!problem.empty()) std::cerr << "cairnctl: " << problem << "\n";
        return bus;
    };
    return CCairnCtl(std::cout, std::cerr, usb).run(argc, argv);
}
