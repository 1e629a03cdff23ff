// PanelChoice: the panel choice put to the user, answered as a panel id.
#pragma once

class CFacilityManager;
class IUserPrompt;

// Clears every panel's selected mark, offers the choice (several panels when `several`) and
// returns the first marked panel in panel order: kPanelChoiceCancelled when the user cancelled,
// 0 when nothing was marked.
constexpr int kPanelChoiceCancelled = -1;
int askPanelChoice(CFacilityManager& facility, IUserPrompt& prompt, bool several);
