// CFacilityDiff's output: English lines and JSON.
#include <sstream>

#include "basalt/KvUtf.h"
#include "model/CFacilityDiff.h"

namespace {

using Field = CFacilityChange::Field;

const char* actionName(CFacilityChange::Action action) {
    switch (action) {
        case CFacilityChange::kAdded: return "added";
        case CFacilityChange::kRemoved: return "removed";
        case CFacilityChange::kChanged: break;
    }
    return "changed";
}

const char* subjectName(CFacilityChange::Subject subject) {
    switch (subject) {
        case CFacilityChange::kPanel: return "panel";
        case CFacilityChange::kLoop: return "loop";
        case CFacilityChange::kElement: return "element";
        case CFacilityChange::kZone: return "zone";
        case CFacilityChange::kRule: break;
    }
    return "rule";
}

std::string plainQuote(const KvWString& text) { return "\"" + std::string(ToUtf8(text.c_str()).c_str()) + "\""; }

std::string value(const Field& f, bool after, const CFacilityDiff::Quote& quote) {
    if (f.kind == Field::kNumber) return std::to_string(after ? f.after : f.before);
    const KvWString& text = after ? f.afterText : f.beforeText;
    if (f.kind == Field::kWords) return ToUtf8(text.c_str()).c_str();
    return quote ? quote(text) : plainQuote(text);
}

// "panel 1, loop 2, element 17", "rule 12 (now 15)".
std::string where(const CFacilityChange& c) {
    std::ostringstream o;
    if (c.subject == CFacilityChange::kRule) {
        o << "rule " << (c.number ? c.number : c.newNumber);
        if (c.number && c.newNumber && c.number != c.newNumber) o << " (now " << c.newNumber << ")";
        return o.str();
    }
    o << "panel " << c.panel;
    if (c.subject == CFacilityChange::kLoop || c.subject == CFacilityChange::kElement) o << ", loop " << c.loop;
    if (c.subject == CFacilityChange::kElement) o << ", element " << c.number;
    if (c.subject == CFacilityChange::kZone) o << ", zone " << c.number;
    return o.str();
}

std::string contents(const CFacilityChange& c) {
    std::ostringstream o;
    if (c.subject == CFacilityChange::kPanel)
        o << c.loops << (c.loops == 1 ? " loop, " : " loops, ");
    o << c.elements << (c.elements == 1 ? " element" : " elements");
    return o.str();
}

}  // namespace

std::string CFacilityDiff::line(const CFacilityChange& c, const Quote& quote) {
    std::ostringstream o;
    o << where(c) << " " << actionName(c.action);
    const bool container = c.subject == CFacilityChange::kPanel || c.subject == CFacilityChange::kLoop;
    if (container && c.action != CFacilityChange::kChanged) o << " with " << contents(c);
    const char* separator = ": ";
    for (const Field& f : c.fields) {
        o << separator << f.name << " ";
        if (c.action != CFacilityChange::kAdded) o << value(f, false, quote);
        if (c.action == CFacilityChange::kChanged) o << " -> ";
        if (c.action != CFacilityChange::kRemoved) o << value(f, true, quote);
        separator = ", ";
    }
    return o.str();
}

std::vector<std::string> CFacilityDiff::lines(const Quote& quote) const {
    std::vector<std::string> out;
    out.reserve(m_changes.size());
    for (const CFacilityChange& c : m_changes) out.push_back(line(c, quote));
    return out;
}

namespace {

void fieldJson(JsonDocument::JsonNode& parent, const char16_t* name, const Field& f, bool after) {
    if (f.kind == Field::kNumber)
        parent.SetValue(name, after ? f.after : f.before);
    else
        parent.SetValue(name, (after ? f.afterText : f.beforeText).c_str());
}

void changeJson(JsonDocument::JsonNode& node, const CFacilityChange& c) {
    node.SetValue(u"subject", ToWide(subjectName(c.subject)).c_str());
    node.SetValue(u"change", ToWide(actionName(c.action)).c_str());
    if (c.subject == CFacilityChange::kRule) {
        if (c.number) node.SetValue(u"rule", c.number);
        if (c.newNumber) node.SetValue(u"newRule", c.newNumber);
    } else {
        node.SetValue(u"panel", c.panel);
    }
    if (c.subject == CFacilityChange::kLoop || c.subject == CFacilityChange::kElement) node.SetValue(u"loop", c.loop);
    if (c.subject == CFacilityChange::kElement) node.SetValue(u"element", c.number);
    if (c.subject == CFacilityChange::kZone) node.SetValue(u"zone", c.number);
    if (c.subject == CFacilityChange::kPanel && c.action != CFacilityChange::kChanged) node.SetValue(u"loops", c.loops);
    if ((c.subject == CFacilityChange::kPanel || c.subject == CFacilityChange::kLoop) &&
        c.action != CFacilityChange::kChanged)
        node.SetValue(u"elements", c.elements);
    JsonDocument::JsonNode* fields = node.NewChild(u"fields", JsonDocument::JsonArray);
    for (const Field& f : c.fields) {
        JsonDocument::JsonNode* field = fields->NewChild(JsonDocument::JsonObject);
        field->SetValue(u"name", ToWide(f.name.c_str()).c_str());
        if (c.action != CFacilityChange::kAdded) fieldJson(*field, u"before", f, false);
        if (c.action != CFacilityChange::kRemoved) fieldJson(*field, u"after", f, true);
    }
}

}  // namespace

void CFacilityDiff::toJson(JsonDocument& document) const {
    JsonDocument::JsonNode* root = document.Create(JsonDocument::JsonObject);
    root->SetValue(u"equal", empty());
    JsonDocument::JsonNode* list = root->NewChild(u"changes", JsonDocument::JsonArray);
    for (const CFacilityChange& c : m_changes) changeJson(*list->NewChild(JsonDocument::JsonObject), c);
}
