// The rule part of CFacilityDiff: rules are paired by content before ids, so renumbering is
// not a change.
#include <array>
#include <map>

#include "basalt/KvUtf.h"
#include "internal/FacilityDiffParts.h"
#include "model/CFacilityItem.h"
#include "model/CRuleSideWords.h"

namespace facility_diff {
namespace {

constexpr int kSideFields = 8;
using SideKey = std::array<int, kSideFields>;
using RuleKey = std::array<int, 1 + 2 * kSideFields>;  // delay, input side, output side

// What a rule side names, as stored in the file (the editor's item type is not).
SideKey sideKey(const CEventActionSide* s) {
    if (!s) return {-1, -1, -1, -1, -1, -1, -1, -1};
    return {s->type, s->elementType, s->panel, s->loop, s->element, s->zone, s->rangeBegin, s->rangeEnd};
}

RuleKey ruleKey(const CEventActionItem& r, bool withDelay) {
    RuleKey key{};
    key[0] = withDelay ? r.delay : 0;
    const SideKey in = sideKey(r.event.get());
    const SideKey out = sideKey(r.action.get());
    std::copy(in.begin(), in.end(), key.begin() + 1);
    std::copy(out.begin(), out.end(), key.begin() + 1 + kSideFields);
    return key;
}

KvWString describeSide(const CEventActionSide* s) {
    return ToWide(CRuleSideWords::side(s, true).c_str());
}

std::optional<CEventActionSide> copyOf(const CEventActionSide* s) {
    return s ? std::optional<CEventActionSide>(*s) : std::nullopt;
}

void addSide(CFacilityChange& c, const char* name, const CEventActionSide* a, const CEventActionSide* b, bool always) {
    const std::size_t before = c.fields.size();
    addWords(c, name, describeSide(a), describeSide(b), always);
    if (c.fields.size() == before) return;
    c.fields.back().beforeSide = copyOf(a);
    c.fields.back().afterSide = copyOf(b);
}

void ruleFields(CFacilityChange& c, const CEventActionItem* a, const CEventActionItem* b) {
    const bool always = !a || !b;
    addSide(c, "input", a ? a->event.get() : nullptr, b ? b->event.get() : nullptr, always);
    addSide(c, "output", a ? a->action.get() : nullptr, b ? b->action.get() : nullptr, always);
    addNumber(c, "delay", a ? a->delay : 0, b ? b->delay : 0, always);
}

using Rules = std::vector<const CEventActionItem*>;

Rules rulesOf(const CFacilityItem& facility, int panelId) {
    Rules rules;
    for (const auto& r : facility.eventActions)
        if (!panelId || (r->event && r->event->panel == panelId)) rules.push_back(r.get());
    return rules;
}

// Pairs rules of `a` and `b` whose `key` is equal, in order, calling `pair` on each; removes
// the paired ones from both lists.
template <class Key, class Pair>
void pairBy(Rules& a, Rules& b, Key key, Pair pair) {
    std::map<decltype(key(*a.front())), std::vector<std::size_t>> waiting;  // key -> positions in b
    for (std::size_t j = b.size(); j-- > 0;) waiting[key(*b[j])].push_back(j);
    Rules restA;
    std::vector<bool> taken(b.size(), false);
    for (const CEventActionItem* r : a) {
        auto it = waiting.find(key(*r));
        if (it == waiting.end() || it->second.empty()) {
            restA.push_back(r);
            continue;
        }
        const std::size_t j = it->second.back();
        it->second.pop_back();
        taken[j] = true;
        pair(*r, *b[j]);
    }
    Rules restB;
    for (std::size_t j = 0; j < b.size(); ++j)
        if (!taken[j]) restB.push_back(b[j]);
    a.swap(restA);
    b.swap(restB);
}

}  // namespace

void compareRules(const CFacilityItem& before, const CFacilityItem& after, int panelId,
                  std::vector<CFacilityChange>& changes) {
    Rules a = rulesOf(before, panelId);
    Rules b = rulesOf(after, panelId);
    const auto changed = [&](const CEventActionItem& x, const CEventActionItem& y) {
        CFacilityChange c(CFacilityChange::kRule, CFacilityChange::kChanged);
        c.number = x.id;
        c.newNumber = y.id;
        ruleFields(c, &x, &y);
        changes.push_back(std::move(c));
    };
    if (a.empty() && b.empty()) return;
    if (!a.empty() && !b.empty()) {
        pairBy(a, b, [](const CEventActionItem& r) { return ruleKey(r, true); }, [](auto&, auto&) {});
        if (!a.empty() && !b.empty()) pairBy(a, b, [](const CEventActionItem& r) { return ruleKey(r, false); }, changed);
        if (!a.empty() && !b.empty()) pairBy(a, b, [](const CEventActionItem& r) { return r.id; }, changed);
    }
    for (const CEventActionItem* r : a) {
        CFacilityChange c(CFacilityChange::kRule, CFacilityChange::kRemoved);
        c.number = r->id;
        ruleFields(c, r, nullptr);
        changes.push_back(std::move(c));
    }
    for (const CEventActionItem* r : b) {
        CFacilityChange c(CFacilityChange::kRule, CFacilityChange::kAdded);
        c.newNumber = r->id;
        ruleFields(c, nullptr, r);
        changes.push_back(std::move(c));
    }
}

}  // namespace facility_diff
