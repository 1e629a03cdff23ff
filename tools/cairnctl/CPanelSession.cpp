#include "CPanelSession.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iostream>
#include <unistd.h>

#include "CConsoleWaitDialog.h"
#include "basalt/KvUtf.h"
#include "file/CXmlHandler.h"

CPanelSession::CPanelSession(std::ostream& o, std::ostream& e, bool assumeYes)
    : out(o),
      err(e),
      prompt(e, assumeYes),
      handler(facility, prompt, [&e]() -> std::unique_ptr<IModalWaitDialog> {
          return std::make_unique<CConsoleWaitDialog>(e, &e == &std::cerr && ::isatty(STDERR_FILENO));
      }) {
    CConsolePrompt::loadStrings();
}

bool CPanelSession::load(const std::string& path) {
    CXmlHandler file(facility);
    if (file.load(ToWide(path.c_str()))) return true;
    err << "cairnctl: " << path << ": cannot load the facility (unreadable, not well-formed or not a facility)\n";
    return false;
}

bool CPanelSession::save(const std::string& path) {
    CXmlHandler file(facility);
    if (file.save(ToWide(path.c_str()))) return true;
    err << "cairnctl: " << path << ": cannot save: " << std::strerror(errno) << "\n";
    return false;
}

bool CPanelSession::panelOption(const std::string& value, int& id) {
    char* end = nullptr;
    const long n = std::strtol(value.c_str(), &end, 10);
    if (value.empty() || *end || n < 1 || n > 128 || !facility.getPanelLabel(static_cast<int>(n))) {
        err << "cairnctl: the facility has no panel with id '" << value << "'\n";
        return false;
    }
    id = static_cast<int>(n);
    return true;
}

bool CCommandLine::parse(const std::vector<std::string>& args, const std::vector<std::string>& valued,
                         const std::vector<std::string>& flags, std::ostream& err) {
    auto in = [](const std::vector<std::string>& list, const std::string& s) {
        return std::find(list.begin(), list.end(), s) != list.end();
    };
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (in(flags, a)) {
            options.emplace_back(a, "");
        } else if (in(valued, a)) {
            if (i + 1 >= args.size()) {
                err << "cairnctl: " << a << " needs a value\n";
                return false;
            }
            options.emplace_back(a, args[++i]);
        } else if (a.size() > 1 && a[0] == '-') {
            err << "cairnctl: " << args[0] << ": unknown option '" << a << "'\n";
            return false;
        } else {
            positional.push_back(a);
        }
    }
    return true;
}

const std::string* CCommandLine::value(const std::string& name) const {
    for (const auto& [n, v] : options)
        if (n == name) return &v;
    return nullptr;
}
