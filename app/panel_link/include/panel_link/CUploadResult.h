// CUploadResult: what became of sending one panel, kept as plain data so that a record of the
// transfer can store it and a window or a command can show it.
#pragma once

#include <string>
#include <vector>

#include "panel_link/CPanelDifference.h"

struct CUploadResult {
    enum class Outcome {
        Cancelled,     // no panel chosen; nothing was sent and nothing is to be said
        NotSent,       // the panel cannot be sent as it is (problem says why); nothing was sent
        Failed,        // the panel was not reached or a page transfer failed
        Sent,          // sent, not read back (verifying was not asked for)
        Verified,      // sent, read back, and the panel holds exactly what was sent
        Differs,       // sent, but the read-back differs (differences lists how)
        Unverifiable,  // sent, but the read-back failed: nobody knows what the panel holds
    };

    Outcome outcome = Outcome::Cancelled;
    int panel = 0;
    std::string problem;                   // why nothing was sent (NotSent)
    std::vector<int> skippedRules;         // rules left out because a side names nothing
    std::vector<std::string> differences;  // read-back against what was sent, one line each
    std::vector<CPanelDifference> rows;    // the same, as item, what was sent, what the panel holds
    bool readBackWhole = false;            // the read-back read the whole panel

    // Sent, and not found wrong by a read-back.
    bool succeeded() const { return outcome == Outcome::Sent || outcome == Outcome::Verified; }
    // Whether the panel was written at all (whatever a read-back found).
    bool written() const { return succeeded() || outcome == Outcome::Differs || outcome == Outcome::Unverifiable; }
};
