// CPanelSession: what every cairnctl panel command needs: the string table, a facility, the
// terminal prompt and wait dialog, and a CUsbHandler on the bus the program chose.
#pragma once

#include <ostream>
#include <string>

#include "cairnctl/CConsolePrompt.h"
#include "cairnctl/Commands.h"
#include "history/CTransferHistory.h"
#include "model/CFacilityManager.h"
#include "panel_link/CUsbHandler.h"

class CPanelSession {
public:
    CPanelSession(CCommandContext& context, bool assumeYes);

    // Loads FILE.kvg into the facility; on failure one line on the error stream.
    bool load(const std::string& path);
    // Saves the facility (atomically); on failure one line on the error stream.
    bool save(const std::string& path);
    // The panel id of "--panel ID", after checking that the facility has it.
    bool panelOption(const std::string& value, int& id);
    // Keeps the transfer just made in the history of the facility file `path`. A history that
    // cannot be written is reported and never changes the command's outcome.
    void record(CHistoryRecord::Kind kind, const std::string& path, int panelId, const CTransferOutcome& outcome = {});

    std::ostream& out;
    std::ostream& err;
    CFacilityManager facility;
    CConsolePrompt prompt;
    CUsbHandler handler;
    CTransferHistory history;
};
