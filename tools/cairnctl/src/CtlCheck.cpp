// cairnctl check FILE.kvg [--panel ID] [--json]
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "cairnctl/CCommandLine.h"
#include "cairnctl/CFacilityFile.h"
#include "cairnctl/Commands.h"
#include "check/CFacilityCheck.h"
#include "model/CFacilityManager.h"

namespace {

const char* itemName(CCheckFinding::Item item) {
    switch (item) {
    case CCheckFinding::Item::Panel: return "panel";
    case CCheckFinding::Item::Loop: return "loop";
    case CCheckFinding::Item::Element: return "element";
    case CCheckFinding::Item::Zone: return "zone";
    case CCheckFinding::Item::Rule: return "rule";
    }
    return "";
}

// "rule 3 of panel 1", "loop 2 element 7 of panel 1", "zone 4 of panel 2", "panel 1".
std::string where(const CCheckFinding& f) {
    std::ostringstream o;
    switch (f.item) {
    case CCheckFinding::Item::Panel: break;
    case CCheckFinding::Item::Loop: o << "loop " << f.loop << " of "; break;
    case CCheckFinding::Item::Element: o << "loop " << f.loop << " element " << f.element << " of "; break;
    case CCheckFinding::Item::Zone: o << "zone " << f.zone << " of "; break;
    case CCheckFinding::Item::Rule: o << "rule " << f.rule << " of "; break;
    }
    o << "panel " << f.panel;
    return o.str();
}

std::string jsonText(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\', out += static_cast<char>(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

void writeJson(std::ostream& o, const std::vector<CCheckFinding>& findings, int errors) {
    o << "{\"errors\":" << errors << ",\"warnings\":" << findings.size() - static_cast<std::size_t>(errors)
      << ",\"findings\":[";
    for (std::size_t i = 0; i < findings.size(); ++i) {
        const CCheckFinding& f = findings[i];
        o << (i ? "," : "") << "{\"severity\":\"" << (f.isError() ? "error" : "warning") << "\",\"item\":\""
          << itemName(f.item) << "\",\"panel\":" << f.panel << ",\"loop\":" << f.loop << ",\"element\":" << f.element
          << ",\"zone\":" << f.zone << ",\"rule\":" << f.rule << ",\"code\":" << jsonText(f.code)
          << ",\"text\":" << jsonText(f.text) << "}";
    }
    o << "]}\n";
}

void writeWords(std::ostream& o, const std::vector<CCheckFinding>& findings) {
    for (const CCheckFinding& f : findings)
        o << (f.isError() ? "error: " : "warning: ") << where(f) << ": " << f.text << "\n";
}

}  // namespace

// Exit 1 means the facility has errors, so a file that cannot be read is bad input (2), not 1.
int cmdCheck(const CommandArgs& args, CCommandContext& context) {
    CCommandLine cl;
    if (!cl.parse(args, {"--panel"}, {"--json"}, context.err)) return 2;
    if (cl.positional.size() != 1) return usage(context.err, "check needs one FILE.kvg");
    const std::string& path = cl.positional[0];
    CFacilityManager m;
    if (!CFacilityFile(m, context.err).load(path)) return 2;
    int panel = 0;
    if (const std::string* value = cl.value("--panel")) {
        char* end = nullptr;
        const long n = std::strtol(value->c_str(), &end, 10);
        if (value->empty() || *end || n < 1 || n > 128 || !m.getPanelLabel(static_cast<int>(n))) {
            context.err << "cairnctl: the facility has no panel with id '" << *value << "'\n";
            return 2;
        }
        panel = static_cast<int>(n);
    }
    const std::vector<CCheckFinding> findings = CFacilityCheck(m).run(panel);
    int errors = 0;
    for (const CCheckFinding& f : findings) errors += f.isError() ? 1 : 0;
    std::ostringstream o;
    if (cl.has("--json"))
        writeJson(o, findings, errors);
    else
        writeWords(o, findings);
    context.out << o.str();
    const std::size_t warnings = findings.size() - static_cast<std::size_t>(errors);
    if (errors > 0) {
        context.err << "cairnctl: " << path << " has " << errors << (errors == 1 ? " error" : " errors")
                    << " that block an upload\n";
        return 1;
    }
    if (!cl.has("--json"))
        context.out << path << ": no errors, " << warnings << (warnings == 1 ? " warning\n" : " warnings\n");
    return 0;
}
