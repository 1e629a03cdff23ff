#include "check/CCheckText.h"

#include <cstdio>
#include <sstream>

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

}  // namespace

std::string CCheckText::where(const CCheckFinding& f) {
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

std::string CCheckText::words(const std::vector<CCheckFinding>& findings) {
    std::string out;
    for (const CCheckFinding& f : findings)
        out += (f.isError() ? "error: " : "warning: ") + where(f) + ": " + f.text + "\n";
    return out;
}

int CCheckText::errorCount(const std::vector<CCheckFinding>& findings) {
    int errors = 0;
    for (const CCheckFinding& f : findings) errors += f.isError() ? 1 : 0;
    return errors;
}

std::string CCheckText::json(const std::vector<CCheckFinding>& findings) {
    const int errors = errorCount(findings);
    std::ostringstream o;
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
    return o.str();
}
