#include "cairnctl/CCairnCtl.h"

#include <string>
#include <vector>

#include "basalt/KvTrace.h"
#include "cairnctl/Commands.h"

int CCairnCtl::run(int argc, char** argv) {
    printk("\n CCairnCtl::run");
    const std::vector<std::string> args(argv + 1, argv + argc);
    for (const std::string& a : args)
        if (a == "-h" || a == "--help") {
            m_out << kHelpText;
            return kOk;
        }
    if (args.empty()) return usage(m_err, "missing command");
    CCommandContext context{m_out, m_err, m_usb};
    const int status = runCommand(args, context);
    return status >= 0 ? status : usage(m_err, "unknown command '" + args[0] + "'");
}
