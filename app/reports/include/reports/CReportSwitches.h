// CReportSwitches: which of the five reports a printing job contains.
#pragma once

struct CReportSwitches {
    bool zones = false;          // described zones holding elements, per panel
    bool loops = false;          // loops and their elements, per panel
    bool nonEmptyZones = false;  // described zones with their elements, per panel
    bool eventAction = false;    // every rule, event side first
    bool actionEvent = false;    // every rule, action side first

    static CReportSwitches all() { return {true, true, true, true, true}; }
};
