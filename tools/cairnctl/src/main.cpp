#include <iostream>

#include "cairnctl/CCairnCtl.h"
#include "panel_link/CUsbBackend.h"

int main(int argc, char** argv) {
    // The bus is the program's choice: CAIRN_PANEL may name the virtual panel instead of USB.
    return CCairnCtl(std::cout, std::cerr, [] { return CUsbBackend::fromEnvironment(); }).run(argc, argv);
}
