// Runs cairnctl in-process on the bus CAIRN_PANEL names, capturing what it prints.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "EnvironmentBus.h"
#include "cairnctl/CCairnCtl.h"

struct CtlResult {
    int status;
    std::string out, err;
};

// `args` without the program name.
inline CtlResult runCairnCtl(std::vector<std::string> args) {
    args.insert(args.begin(), "cairnctl");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    std::ostringstream out, err;
    CCairnCtl ctl(out, err, [] { return busFromEnvironment(); });
    const int status = ctl.run(static_cast<int>(argv.size()), argv.data());
    return {status, out.str(), err.str()};
}
