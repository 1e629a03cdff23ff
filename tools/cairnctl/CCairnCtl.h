// CCairnCtl: the subcommands of cairnctl, separated from main() so tests can drive them.
//
// Exit status: 0 success, 1 failure (file unreadable or not a facility), 2 usage error.
// Results go to `out` only when the whole command succeeded; messages go to `err`.
#pragma once

#include <ostream>
#include <string>

class CXmlHandler;

class CCairnCtl {
public:
    static constexpr int kOk = 0;
    static constexpr int kFailure = 1;
    static constexpr int kUsage = 2;

    CCairnCtl(std::ostream& out, std::ostream& err) : m_out(out), m_err(err) {}
    int run(int argc, char** argv);

private:
    int show(const std::string& path);
    int exportJson(const std::string& path);
    // Loads `path` through `handler`; on failure prints one line naming the file and the fault.
    bool loadFacility(const std::string& path, CXmlHandler& handler);
    int usage(const std::string& problem);
    void help();

    std::ostream& m_out;
    std::ostream& m_err;
};
