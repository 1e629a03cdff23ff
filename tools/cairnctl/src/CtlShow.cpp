// cairnctl show FILE.kvg
#include <set>
#include <sstream>

#include "basalt/KvTrace.h"
#include "cairnctl/CCommandLine.h"
#include "cairnctl/CFacilityFile.h"
#include "cairnctl/Commands.h"
#include "cairnctl/TerminalText.h"
#include "model/CFacilityManager.h"

namespace {

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

std::string describe(const CEventActionSide* side) {
    const CEventActionSide none(0, 0);
    const CEventActionSide& s = side ? *side : none;
    std::ostringstream o;
    o << "type " << s.type;
    if (s.panel) o << ", panel " << s.panel;
    if (s.loop) o << ", loop " << s.loop;
    if (s.element) o << ", element " << s.element;
    if (s.zone) o << ", zone " << s.zone;
    if (s.rangeBegin || s.rangeEnd) o << ", range " << s.rangeBegin << "-" << s.rangeEnd;
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
    // Texts come from the file: escaped, so that they cannot drive the terminal or fake lines.
    o << "panel " << id << ": address " << m.getPanelAddress(id) << ", label \""
      << (label ? terminalText(*label) : "") << "\", installer \"" << terminalText(m.getPanelInstaller(id))
      << "\", phone \"" << terminalText(m.getPanelPhone(id)) << "\"\n";
    showLoops(o, m, id);
}

void showRules(std::ostream& o, const CFacilityManager& m) {
    const int count = m.getNumberEventsInPanel();
    o << "rules: " << count << "\n";
    for (int p = 0; p < count; ++p) {
        const int r = m.getEventActionId(p);
        o << "  rule " << r << " (delay " << m.getEventActionDelay(r) << "): when " << describe(m.getEventActionInSide(r)) << " -> drive "
          << describe(m.getEventActionOutSide(r)) << "\n";
    }
}

}  // namespace

int cmdShow(const CommandArgs& args, CCommandContext& context) {
    printk("\n cmdShow");
    CCommandLine cl;
    if (!cl.parse(args, {}, {}, context.err)) return 2;
    if (cl.positional.size() != 1) return usage(context.err, "show takes exactly one FILE.kvg");
    const std::string& path = cl.positional[0];
    CFacilityManager m;
    if (!CFacilityFile(m, context.err).load(path)) return 1;
    std::ostringstream o;
    o << path << ": " << m.getNumberOfPanels() << " panels\n";
    for (int i = 0; i < m.getNumberOfPanels(); ++i) showPanel(o, m, m.getPanelId(i));
    showRules(o, m);
    context.out << o.str();
    return 0;
}
