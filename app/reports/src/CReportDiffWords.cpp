#include "reports/CReportDiffWords.h"

#include "model/CEventActionSide.h"
#include "reports/CReportWords.h"

namespace {

// Column names the loops editor, the history window and the rule lists already show.
constexpr int kTypeText = 10;
constexpr int kDescriptionText = 11;
constexpr int kFieldZoneText = 12;
constexpr int kEventText = 143;
constexpr int kActionText = 144;
constexpr int kAddressText = 505;
constexpr int kLabelText = 506;

std::string utf8(const QString& text) { return text.toStdString(); }

std::string tableText(int id) { return utf8(CReportWords::text(id)); }

std::string n(int number) { return std::to_string(number); }

// What the side names, with the same place words as the changes.
std::string selection(const CEventActionSide& s, const CDiffWords& w) {
    switch (s.itemType) {
    case kItemPanel: return CDiffWords::fill(w.panel, {n(s.panel)});
    case kItemLoop: return CDiffWords::fill(w.loop, {n(s.panel), n(s.loop)});
    case kItemElement: return CDiffWords::fill(w.element, {n(s.panel), n(s.loop), n(s.element)});
    case kItemZone:
        return s.panel ? CDiffWords::fill(w.zone, {n(s.panel), n(s.zone)})
                       : CDiffWords::fill(w.field, {w.fieldNames.at("zone"), n(s.zone)});
    case kItemPanelRange:
        return CDiffWords::fill(tableText(CReportDiffWords::kZoneRangeText),
                                {n(s.panel), n(s.rangeBegin), n(s.rangeEnd)});
    default: return {};
    }
}

// The kind's name (its number when it has none), then in brackets what the side names.
std::string sideWords(const CEventActionSide& s, bool input, const CDiffWords& w) {
    const int kind = input ? CReportWords::eventKindId(s.itemType, s.type) : CReportWords::actionKindId(s.itemType, s.type);
    const std::string name = kind ? tableText(kind) : n(s.type);
    const std::string named = selection(s, w);
    return named.empty() ? name : CDiffWords::fill(w.withContents, {name, named});
}

}  // namespace

CDiffWords CReportDiffWords::load() {
    CDiffWords w;
    w.panel = tableText(kPanelText);
    w.loop = tableText(kLoopText);
    w.element = tableText(kElementText);
    w.zone = tableText(kZoneText);
    w.rule = tableText(kRuleText);
    w.renumberedRule = tableText(kRenumberedRuleText);
    w.added = tableText(kAddedText);
    w.removed = tableText(kRemovedText);
    w.changed = tableText(kChangedText);
    w.withContents = tableText(kWithContentsText);
    w.oneLoop = w.loops = tableText(kLoopsText);
    w.oneElement = w.elements = tableText(kElementsText);
    w.withFields = tableText(kWithFieldsText);
    w.fieldNames = {{"address", tableText(kAddressText)},   {"label", tableText(kLabelText)},
                    {"installer", tableText(kInstallerText)}, {"phone", tableText(kPhoneText)},
                    {"type", tableText(kTypeText)},          {"description", tableText(kDescriptionText)},
                    {"zone", tableText(kFieldZoneText)},     {"input", tableText(kEventText)},
                    {"output", tableText(kActionText)},      {"delay", tableText(kDelayText)}};
    w.nothing = "-";
    w.number = [](const std::string& field, int value) {
        return field == "type" ? utf8(CReportWords::typeName(value)) : n(value);
    };
    // The side words read the other words of this table, so they take a copy of it.
    const CDiffWords places = w;
    w.side = [places](const CEventActionSide& side, bool input) { return sideWords(side, input, places); };
    return w;
}
