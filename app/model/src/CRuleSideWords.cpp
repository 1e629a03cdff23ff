#include "model/CRuleSideWords.h"

#include <sstream>

#include "model/CEventActionSide.h"

std::string CRuleSideWords::selection(const CEventActionSide& s) {
    std::ostringstream o;
    const char* separator = "";
    const auto part = [&](const char* word, int value) {
        if (!value) return;
        o << separator << word << " " << value;
        separator = ", ";
    };
    part("panel", s.panel);
    part("loop", s.loop);
    part("element", s.element);
    part("zone", s.zone);
    if (s.rangeBegin || s.rangeEnd) {
        o << separator << "zones " << s.rangeBegin << "-" << s.rangeEnd;
        separator = ", ";
    }
    return *separator ? o.str() : "nothing";
}

std::string CRuleSideWords::side(const CEventActionSide* s, bool elementType) {
    if (!s) return "nothing";
    std::ostringstream o;
    o << "kind " << s->type;
    if (elementType && s->elementType && s->elementType != s->type) o << " (element type " << s->elementType << ")";
    const std::string named = selection(*s);
    if (named != "nothing") o << ", " << named;
    return o.str();
}
