#include "CCairnCtl.h"
#include "PanelCommands.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <vector>

#include "CFirmwareCommand.h"
#include "basalt/KvTrace.h"
#include "basalt/KvUtf.h"
#include "basalt/XmlDocument.h"
#include "file/CXmlHandler.h"
#include "model/CFacilityManager.h"

namespace {

constexpr const char* kUsageText =
    "Usage: cairnctl COMMAND [OPTIONS] FILE.kvg\n"
    "\n"
    "Commands:\n"
    "  show FILE.kvg            print a summary of the facility: panels, loops, zones, rules\n"
    "  export --json FILE.kvg   write the facility as JSON to standard output\n"
    "  firmware MANIFEST.xml    update the panel's firmware (panel in update mode), with a progress bar\n"
    "\n"
    "Options:\n"
    "  -h, --help               show this help and exit\n"
    "\n"
    "Exit status: 0 on success, 1 when the file cannot be used, 2 on a usage error.\n";

std::string utf8(const KvWString& text) { return ToUtf8(text.c_str()).c_str(); }

// "1-3, 7" from a sorted set.
std::string ranges(const std::set<int>& numbers) {
    std::ostringstream s;
    for (auto it = numbers.begin(); it != numbers.end();) {
        const int first = *it;
        int last = first;
        while (++it != numbers.end() && *it == last + 1) last = *it;
        if (first != *numbers.begin()) s << ", ";
        s << first;
        if (last != first) s << "-" << last;
    }
    return s.str();
}

struct Side {
    int type, panel, loop, element, zone;
    std::pair<int, int> range;
};

std::string describe(const Side& s) {
    std::ostringstream o;
    o << "type " << s.type;
    if (s.panel) o << ", panel " << s.panel;
    if (s.loop) o << ", loop " << s.loop;
    if (s.element) o << ", element " << s.element;
    if (s.zone) o << ", zone " << s.zone;
    if (s.range.first || s.range.second) o << ", range " << s.range.first << "-" << s.range.second;
    return o.str();
}

void showLoops(std::ostream& o, const CFacilityManager& m, int id) {
    std::set<int> zones;
    for (int index = 0; index < m.getNumOfLoops(id); ++index) {
        const int loop = m.getLoopAddress(id, index);
        o << "  loop " << loop << ": " << m.getNumberOfElementsInLoop(id, loop) << " elements ("
          << m.getNumberOfInputElementsInLoop(id, loop) << " inputs, "
          << m.getNumberOfOutputElementsInLoop(id, loop) << " outputs)\n";
        for (int p = 0; p < m.getNumberOfElementsInLoop(id, loop); ++p)
            if (const int z = m.getElementZone(id, loop, m.getElementAddress(id, loop, p))) zones.insert(z);
    }
    o << "  zones: " << m.getNumOfZones(id) << " defined, in use: " << (zones.empty() ? "none" : ranges(zones))
      << "\n";
}

void showPanel(std::ostream& o, const CFacilityManager& m, int id) {
    const KvWString* label = m.getPanelLabel(id);
    o << "panel " << id << ": address " << m.getPanelAddress(id) << ", label \"" << (label ? utf8(*label) : "")
      << "\", installer \"" << utf8(m.getPanelInstaller(id)) << "\", phone \"" << utf8(m.getPanelPhone(id))
      << "\"\n";
    showLoops(o, m, id);
}

void showRules(std::ostream& o, const CFacilityManager& m) {
    const int count = m.getNumberEventsInPanel();
    o << "rules: " << count << "\n";
    for (int p = 0; p < count; ++p) {
        const int r = m.getEventActionId(p);
        const Side in{m.getEventActionInType(r), m.getEventActionInPanel(r), m.getEventActionInLoop(r),
                      m.getEventActionInElement(r), m.getEventActionInZone(r), m.getEventActionInRange(r)};
        const Side out{m.getEventActionOutType(r), m.getEventActionOutPanel(r), m.getEventActionOutLoop(r),
                       m.getEventActionOutElement(r), m.getEventActionOutZone(r), m.getEventActionOutRange(r)};
        o << "  rule " << r << " (delay " << m.getEventActionDelay(r) << "): when " << describe(in) << " -> drive "
          << describe(out) << "\n";
    }
}

}  // namespace

int CCairnCtl::run(int argc, char** argv) {
    printk("\n CCairnCtl::run");
    std::vector<std::string> args(argv + 1, argv + argc);
    for (const std::string& a : args)
        if (a == "-h" || a == "--help") {
            help();
            return kOk;
        }
    if (args.empty()) return usage("missing command");
    const std::string& command = args[0];
    if (command == "show") {
        if (args.size() != 2) return usage("show takes exactly one FILE.kvg");
        return show(args[1]);
    }
    if (command == "export") {
        if (args.size() != 3 || args[1] != "--json") return usage("export needs --json and one FILE.kvg");
        return exportJson(args[2]);
    }
    if (command == "firmware") {
        if (args.size() != 2) return usage("firmware takes exactly one MANIFEST.xml");
        return CFirmwareCommand(m_out, m_err).run(args[1]);
    }
    const int panelStatus = runPanelCommand(args, m_out, m_err);
    if (panelStatus >= 0) return panelStatus;
    return usage("unknown command '" + command + "'");
}

void CCairnCtl::help() { m_out << kUsageText << "\n" << kPanelCommandsHelp; }

int CCairnCtl::usage(const std::string& problem) {
    m_err << "cairnctl: " << problem << "\n" << "Try 'cairnctl --help' for more information.\n";
    return kUsage;
}

bool CCairnCtl::loadFacility(const std::string& path, CXmlHandler& handler) {
    printk("\n CCairnCtl::loadFacility");
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        m_err << "cairnctl: " << path << ": cannot open: " << std::strerror(errno) << "\n";
        return false;
    }
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) {
        m_err << "cairnctl: " << path << ": read error\n";
        return false;
    }
    const std::string text = content.str();
    if (handler.loadText(text.data(), text.size())) return true;
    if (!handler.document().IsOK())
        m_err << "cairnctl: " << path << ": not well-formed XML (malformed or truncated)\n";
    else
        m_err << "cairnctl: " << path << ": not a facility configuration (no \"panels\" under the root)\n";
    return false;
}

int CCairnCtl::show(const std::string& path) {
    printk("\n CCairnCtl::show");
    CFacilityManager m;
    CXmlHandler handler(m);
    if (!loadFacility(path, handler)) return kFailure;
    std::ostringstream o;
    o << path << ": " << m.getNumberOfPanels() << " panels\n";
    for (int i = 0; i < m.getNumberOfPanels(); ++i) showPanel(o, m, m.getPanelId(i));
    showRules(o, m);
    m_out << o.str();
    return kOk;
}

int CCairnCtl::exportJson(const std::string& path) {
    printk("\n CCairnCtl::exportJson");
    CFacilityManager m;
    CXmlHandler handler(m);
    if (!loadFacility(path, handler)) return kFailure;
    KvString json;
    handler.document().Root()->toJson(json);
    m_out << json.c_str() << "\n";
    return kOk;
}
