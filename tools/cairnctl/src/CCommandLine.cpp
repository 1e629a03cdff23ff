#include "cairnctl/CCommandLine.h"

#include <algorithm>
#include <cstdlib>

#include "cairnctl/Commands.h"
#include "model/CFacilityManager.h"

bool CCommandLine::parse(const std::vector<std::string>& args, const std::vector<std::string>& valued,
                         const std::vector<std::string>& flags, std::ostream& err) {
    auto in = [](const std::vector<std::string>& list, const std::string& s) {
        return std::find(list.begin(), list.end(), s) != list.end();
    };
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (in(flags, a)) {
            m_options.emplace_back(a, "");
        } else if (in(valued, a)) {
            if (i + 1 >= args.size()) {
                usage(err, a + " needs a value");
                return false;
            }
            m_options.emplace_back(a, args[++i]);
        } else if (a.size() > 1 && a[0] == '-') {
            usage(err, args[0] + ": unknown option '" + a + "'");
            return false;
        } else {
            positional.push_back(a);
        }
    }
    return true;
}

const std::string* CCommandLine::value(const std::string& name) const {
    for (const auto& [n, v] : m_options)
        if (n == name) return &v;
    return nullptr;
}

bool CCommandLine::panelId(const std::string& text, int& id) {
    char* end = nullptr;
    const long n = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end || n < 1 || n > 128) return false;
    id = static_cast<int>(n);
    return true;
}

bool CCommandLine::facilityPanel(const CFacilityManager& facility, const std::string& text, int& id,
                                 std::ostream& err) {
    if (panelId(text, id) && facility.getPanelLabel(id)) return true;
    err << "cairnctl: the facility has no panel with id '" << text << "'\n";
    return false;
}

std::vector<std::string> CCommandLine::values(const std::string& name) const {
    std::vector<std::string> found;
    for (const auto& [n, v] : m_options)
        if (n == name) found.push_back(v);
    return found;
}
