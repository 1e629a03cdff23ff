// CDownloadPlan: what a download needs to know of the facility, taken before the worker starts.
//
// The worker learns the panel's address only once the device is open; with this copy of the
// panel ids, addresses and rule ids it settles the id the panel takes, and the rule ids it may
// use, without touching the model.
#pragma once

#include <map>
#include <utility>
#include <vector>

class CFacilityManager;
class IUserPrompt;

class CDownloadPlan {
public:
    static constexpr int kLastFreePanelId = 128;
    static constexpr int kReplacePanelText = 291;

    // Copies the panel ids with their addresses and the rules with their input panels.
    explicit CDownloadPlan(const CFacilityManager& facility);

    // The id a panel with `address` takes: the first free id, or, when a panel with that
    // address comes first and the user agrees to replace it (question 291), that panel's id.
    // False when the user says no, or no id is free (the last id only when free: a taken one
    // would merge two panels).
    bool chooseId(int address, IUserPrompt& prompt, int& id, bool& replace) const;
    // The first rule id after the rules that stay (those of panel `leavingPanel` go; 0: none).
    int firstFreeRuleId(int leavingPanel) const;

private:
    std::map<int, int> m_panelAddresses;         // panel id -> address
    std::vector<std::pair<int, int>> m_rules;    // rule id, input-side panel
};
