// CFacilityDiff's output: lines in a words table's words, and JSON.
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

std::string sideWords(const Field& f, bool after, const CDiffWords& words) {
    const std::optional<CEventActionSide>& side = after ? f.afterSide : f.beforeSide;
    return side ? words.side(*side, f.name == "input") : words.nothing;
}

std::string value(const Field& f, bool after, const CDiffWords& words) {
    if (f.kind == Field::kNumber) {
        const int number = after ? f.after : f.before;
        return words.number ? words.number(f.name, number) : std::to_string(number);
    }
    const KvWString& text = after ? f.afterText : f.beforeText;
    if (f.kind == Field::kWords) return words.side ? sideWords(f, after, words) : ToUtf8(text.c_str()).c_str();
    return words.quote ? words.quote(text) : plainQuote(text);
}

// "panel 1, loop 2, element 17", "rule 12 (now 15)".
std::string where(const CFacilityChange& c, const CDiffWords& w) {
    const auto n = [](int number) { return std::to_string(number); };
    switch (c.subject) {
    case CFacilityChange::kRule:
        if (c.number && c.newNumber && c.number != c.newNumber)
            return CDiffWords::fill(w.renumberedRule, {n(c.number), n(c.newNumber)});
        return CDiffWords::fill(w.rule, {n(c.number ? c.number : c.newNumber)});
    case CFacilityChange::kLoop: return CDiffWords::fill(w.loop, {n(c.panel), n(c.loop)});
    case CFacilityChange::kElement: return CDiffWords::fill(w.element, {n(c.panel), n(c.loop), n(c.number)});
    case CFacilityChange::kZone: return CDiffWords::fill(w.zone, {n(c.panel), n(c.number)});
    case CFacilityChange::kPanel: break;
    }
    return CDiffWords::fill(w.panel, {n(c.panel)});
}

std::string count(int number, const std::string& one, const std::string& many) {
    return CDiffWords::fill(number == 1 ? one : many, {std::to_string(number)});
}

std::string contents(const CFacilityChange& c, const CDiffWords& w) {
    std::string out;
    if (c.subject == CFacilityChange::kPanel) out = count(c.loops, w.oneLoop, w.loops) + w.listSeparator;
    return out + count(c.elements, w.oneElement, w.elements);
}

const std::string& actionPattern(CFacilityChange::Action action, const CDiffWords& w) {
    switch (action) {
    case CFacilityChange::kAdded: return w.added;
    case CFacilityChange::kRemoved: return w.removed;
    case CFacilityChange::kChanged: break;
    }
    return w.changed;
}

std::string fieldWords(const CFacilityChange& c, const Field& f, const CDiffWords& w) {
    const auto name = w.fieldNames.find(f.name);
    std::string shown;
    if (c.action == CFacilityChange::kAdded) shown = value(f, true, w);
    else if (c.action == CFacilityChange::kRemoved) shown = value(f, false, w);
    else shown = CDiffWords::fill(w.change, {value(f, false, w), value(f, true, w)});
    return CDiffWords::fill(w.field, {name == w.fieldNames.end() ? f.name : name->second, shown});
}

}  // namespace

std::string CFacilityDiff::line(const CFacilityChange& c, const CDiffWords& words) {
    std::string out = CDiffWords::fill(actionPattern(c.action, words), {where(c, words)});
    const bool container = c.subject == CFacilityChange::kPanel || c.subject == CFacilityChange::kLoop;
    if (container && c.action != CFacilityChange::kChanged)
        out = CDiffWords::fill(words.withContents, {out, contents(c, words)});
    if (c.fields.empty()) return out;
    std::string fields;
    for (const Field& f : c.fields) {
        if (!fields.empty()) fields += words.listSeparator;
        fields += fieldWords(c, f, words);
    }
    return CDiffWords::fill(words.withFields, {out, fields});
}

std::vector<std::string> CFacilityDiff::lines(const CDiffWords& words) const {
    std::vector<std::string> out;
    out.reserve(m_changes.size());
    for (const CFacilityChange& c : m_changes) out.push_back(line(c, words));
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
