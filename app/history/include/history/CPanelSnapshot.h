// CPanelSnapshot: one panel as the panel itself holds it, as a facility of its own.
//
// Everything a history compares goes through this form (what an upload writes, or what was read
// back), so texts the panel cuts, zones it always has and rule numbering never show up as
// changes that no panel could tell apart.
#pragma once

#include <string>

class CFacilityManager;
class CPanelImage;

class CPanelSnapshot {
public:
    // Adds `image` to the empty facility `into` as panel `panelId` with `address`; rules are
    // numbered from 1. False when `into` already has that panel.
    static bool fromImage(const CPanelImage& image, int panelId, int address, CFacilityManager& into);
    // What an upload of panel `panelId` of `facility` would write, into the empty `into`. False,
    // with `problem` in words, when that panel cannot be sent as it is.
    static bool fromFacility(CFacilityManager& facility, int panelId, CFacilityManager& into, std::string& problem);
};
