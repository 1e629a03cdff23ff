#include "model/CFacilityDiff.h"

#include <map>

#include "basalt/KvTrace.h"
#include "internal/FacilityDiffParts.h"
#include "model/CFacilityItem.h"

namespace facility_diff {

void addNumber(CFacilityChange& change, const char* name, int before, int after, bool always) {
    if (before == after && !always) return;
    CFacilityChange::Field f;
    f.name = name;
    f.before = before;
    f.after = after;
    change.fields.push_back(std::move(f));
}

namespace {
void addString(CFacilityChange& change, const char* name, CFacilityChange::Field::Kind kind,
               const KvWString& before, const KvWString& after, bool always) {
    if (before == after && !always) return;
    CFacilityChange::Field f;
    f.name = name;
    f.kind = kind;
    f.beforeText = before;
    f.afterText = after;
    change.fields.push_back(std::move(f));
}
}  // namespace

void addText(CFacilityChange& change, const char* name, const KvWString& before, const KvWString& after,
             bool always) {
    addString(change, name, CFacilityChange::Field::kText, before, after, always);
}

void addWords(CFacilityChange& change, const char* name, const KvWString& before, const KvWString& after,
              bool always) {
    addString(change, name, CFacilityChange::Field::kWords, before, after, always);
}

}  // namespace facility_diff

using namespace facility_diff;

namespace {

using Changes = std::vector<CFacilityChange>;

// Records keyed by their identity; the first of equal keys wins, as the manager's lookups do.
template <class T, class Key>
std::map<int, const T*> byKey(const std::vector<std::unique_ptr<T>>& list, Key key) {
    std::map<int, const T*> map;
    for (const auto& item : list) map.emplace(key(*item), item.get());
    return map;
}

// Calls `both`, `removed` and `added` in key order over two keyed maps.
template <class T, class Both, class Gone, class New>
void merge(const std::map<int, const T*>& a, const std::map<int, const T*>& b, Both both, Gone removed, New added) {
    auto i = a.begin();
    auto j = b.begin();
    while (i != a.end() || j != b.end()) {
        if (j == b.end() || (i != a.end() && i->first < j->first)) {
            removed(*i++->second);
        } else if (i == a.end() || j->first < i->first) {
            added(*j++->second);
        } else {
            both(*i++->second, *j++->second);
        }
    }
}

int elementCount(const CPanelItem& panel) {
    int n = 0;
    for (const auto& loop : panel.loops) n += static_cast<int>(loop->elements.size());
    return n;
}

// The values an installer reads of an element; null on the side where it is missing.
void elementFields(CFacilityChange& c, const CElementItem* before, const CElementItem* after) {
    static const KvWString none;
    const bool always = !before || !after;
    addNumber(c, "type", before ? before->type : 0, after ? after->type : 0, always);
    addText(c, "description", before ? before->description : none, after ? after->description : none, always);
    addNumber(c, "zone", before ? before->zone : 0, after ? after->zone : 0, always);
}

void compareElements(int panel, const CLoopItem& a, const CLoopItem& b, Changes& out) {
    const auto key = [](const CElementItem& e) { return e.address; };
    const auto record = [&](const CElementItem* x, const CElementItem* y, CFacilityChange::Action action) {
        CFacilityChange c(CFacilityChange::kElement, action);
        c.panel = panel;
        c.loop = a.address;
        c.number = (x ? x : y)->address;
        elementFields(c, x, y);
        if (!c.fields.empty()) out.push_back(std::move(c));
    };
    merge(byKey(a.elements, key), byKey(b.elements, key),
          [&](const CElementItem& x, const CElementItem& y) { record(&x, &y, CFacilityChange::kChanged); },
          [&](const CElementItem& x) { record(&x, nullptr, CFacilityChange::kRemoved); },
          [&](const CElementItem& y) { record(nullptr, &y, CFacilityChange::kAdded); });
}

void compareLoops(int panel, const CPanelItem& a, const CPanelItem& b, Changes& out) {
    const auto key = [](const CLoopItem& l) { return l.address; };
    const auto whole = [&](const CLoopItem& l, CFacilityChange::Action action) {
        CFacilityChange c(CFacilityChange::kLoop, action);
        c.panel = panel;
        c.loop = l.address;
        c.elements = static_cast<int>(l.elements.size());
        out.push_back(std::move(c));
    };
    merge(byKey(a.loops, key), byKey(b.loops, key),
          [&](const CLoopItem& x, const CLoopItem& y) { compareElements(panel, x, y, out); },
          [&](const CLoopItem& x) { whole(x, CFacilityChange::kRemoved); },
          [&](const CLoopItem& y) { whole(y, CFacilityChange::kAdded); });
}

void compareZones(int panel, const CPanelItem& a, const CPanelItem& b, Changes& out) {
    static const KvWString none;
    const auto record = [&](const CZoneItem* x, const CZoneItem* y, CFacilityChange::Action action) {
        CFacilityChange c(CFacilityChange::kZone, action);
        c.panel = panel;
        c.number = (x ? x : y)->number;
        addText(c, "description", x ? x->description : none, y ? y->description : none, !x || !y);
        if (!c.fields.empty()) out.push_back(std::move(c));
    };
    const auto key = [](const CZoneItem& z) { return z.number; };
    merge(byKey(a.zones, key), byKey(b.zones, key),
          [&](const CZoneItem& x, const CZoneItem& y) { record(&x, &y, CFacilityChange::kChanged); },
          [&](const CZoneItem& x) { record(&x, nullptr, CFacilityChange::kRemoved); },
          [&](const CZoneItem& y) { record(nullptr, &y, CFacilityChange::kAdded); });
}

void panelFields(CFacilityChange& c, const CPanelItem* a, const CPanelItem* b) {
    static const KvWString none;
    const bool always = !a || !b;
    addNumber(c, "address", a ? a->address : 0, b ? b->address : 0, always);
    addText(c, "label", a ? a->label : none, b ? b->label : none, always);
    addText(c, "installer", a ? a->installer : none, b ? b->installer : none, always);
    addText(c, "phone", a ? a->phone : none, b ? b->phone : none, always);
}

void wholePanel(const CPanelItem& p, bool added, Changes& out) {
    CFacilityChange c(CFacilityChange::kPanel, added ? CFacilityChange::kAdded : CFacilityChange::kRemoved);
    c.panel = p.id;
    c.loops = static_cast<int>(p.loops.size());
    c.elements = elementCount(p);
    panelFields(c, added ? nullptr : &p, added ? &p : nullptr);
    out.push_back(std::move(c));
}

void comparePanel(const CPanelItem& a, const CPanelItem& b, Changes& out) {
    CFacilityChange c(CFacilityChange::kPanel, CFacilityChange::kChanged);
    c.panel = a.id;
    panelFields(c, &a, &b);
    if (!c.fields.empty()) out.push_back(std::move(c));
    compareLoops(a.id, a, b, out);
    compareZones(a.id, a, b, out);
}

}  // namespace

CFacilityDiff CFacilityDiff::compare(const CFacilityItem& before, const CFacilityItem& after, int panelId) {
    printk("\n CFacilityDiff::compare");
    CFacilityDiff diff;
    Changes& out = diff.m_changes;
    const auto key = [](const CPanelItem& p) { return p.id; };
    auto a = byKey(before.panels, key);
    auto b = byKey(after.panels, key);
    if (panelId) {
        std::erase_if(a, [panelId](const auto& entry) { return entry.first != panelId; });
        std::erase_if(b, [panelId](const auto& entry) { return entry.first != panelId; });
    }
    merge(
        a, b, [&](const CPanelItem& x, const CPanelItem& y) { comparePanel(x, y, out); },
        [&](const CPanelItem& x) { wholePanel(x, false, out); }, [&](const CPanelItem& y) { wholePanel(y, true, out); });
    compareRules(before, after, panelId, out);
    return diff;
}
