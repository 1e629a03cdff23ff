// CFacilityCheck: finds what would block an upload (errors) and what a panel would show or keep
// differently from the facility (warnings), each naming the item so a window can go to it.
//
// A panel's upload holds its elements, its zones and the rules whose event side names it.
#pragma once

#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "basalt/KvBasicString.h"
#include "check/CCheckFinding.h"

class CElementItem;
class CFacilityManager;
class CPanelItem;

class CFacilityCheck {
public:
    static constexpr int kMaxRulesPerPanel = 1024;
    static constexpr int kMaxPanelAddress = 255;
    static constexpr int kMaxSavedPanelId = 128;  // a save keeps panel ids 1..128 only

    explicit CFacilityCheck(const CFacilityManager& facility) : m_facility(facility) {}

    // Findings for the upload of panel `panelId`, or for every panel when it is 0; errors first,
    // then in facility order.
    std::vector<CCheckFinding> run(int panelId = 0);
    static bool hasErrors(const std::vector<CCheckFinding>& findings);

private:
    // What some rule side names, so that inputs and outputs without a rule can be found.
    struct Coverage {
        std::set<int> panels;
        std::set<std::pair<int, int>> loops;                // panel, loop
        std::set<std::tuple<int, int, int>> elements;       // panel, loop, element
        std::set<std::pair<int, int>> zones;                // panel, zone
    };
    // One panel's part of a Coverage, flat for the walk over its elements.
    struct PanelCoverage {
        PanelCoverage(const Coverage& all, int panel);
        bool covers(int loop, int element, int zone) const;

        const Coverage& all;
        int panel;
        bool whole;
        std::vector<bool> loops;     // by loop address, 0..kLoopSlots-1
        std::vector<bool> elements;  // by loop address * kAddressSlots + element address
        std::vector<bool> zones;     // by zone number, 0..kAddressSlots-1
    };
    static constexpr int kLoopSlots = 16;
    static constexpr int kAddressSlots = 256;

    bool inScope(int panelId) const { return m_scope == 0 || panelId == m_scope; }
    void checkPanels();
    void checkPanel(const CPanelItem& panel);
    void checkLoops(const CPanelItem& panel);
    void checkElement(int id, int loop, const CElementItem& element);
    void checkZones(const CPanelItem& panel);
    void checkRules();
    void checkRule(int rule);
    void checkRuleSide(int rule, bool event);
    void checkRuleCounts();
    void checkCoverage();
    void cover(Coverage& coverage, int itemType, int panel, int loop, int element, int zone,
               std::pair<int, int> range);
    // Warnings about a text the panel shows in `maxBytes` bytes.
    // `what` is a word of CCheckWords ("label", "description").
    void checkText(const CCheckFinding& where, const char* what, const KvWString& text, int maxBytes);
    bool hasLoop(int panelId, int loop) const;
    // What the side names that does not exist: its kind ("nothing", "panel", "loop", "element",
    // "zone", "zones") and its numbers as the sentence names them; no kind when all exist.
    struct Missing {
        const char* kind = nullptr;
        std::vector<std::string> values;
    };
    Missing missingItem(int itemType, int panel, int loop, int element, int zone, std::pair<int, int> range) const;
    static KvWString defaultZoneText();

    CCheckFinding at(CCheckFinding::Item item, int panel, int loop = 0, int element = 0, int zone = 0,
                     int rule = 0) const;
    // `wording` is the finding's code, or the code and a variant after a "/"; its English
    // sentence with `values` becomes the finding's text.
    void error(CCheckFinding where, std::string wording, std::vector<std::string> values = {});
    void warning(CCheckFinding where, std::string wording, std::vector<std::string> values = {});
    static void word(CCheckFinding& finding, std::string wording, std::vector<std::string> values);

    const CFacilityManager& m_facility;
    int m_scope = 0;
    std::vector<CCheckFinding> m_errors;
    std::vector<CCheckFinding> m_warnings;
    Coverage m_events;
    Coverage m_actions;
    // Zone number -> the description the facility shows for it (the first panel's that has it).
    std::map<int, const KvWString*> m_shownZones;
};
