// CPanelSession: what every cairnctl panel command needs: the string table,
// a facility, the terminal prompt and wait dialog, and a CUsbHandler on the
// bus that CAIRN_PANEL chooses.
#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "CConsolePrompt.h"
#include "model/CFacilityManager.h"
#include "panel_link/CUsbHandler.h"

class CPanelSession {
public:
    CPanelSession(std::ostream& out, std::ostream& err, bool assumeYes);

    // Loads FILE.kvg into the facility; on failure one line on the error stream.
    bool load(const std::string& path);
    // Saves the facility (atomically); on failure one line on the error stream.
    bool save(const std::string& path);
    // The panel id of "--panel ID", after checking that the facility has it.
    bool panelOption(const std::string& value, int& id);

    std::ostream& out;
    std::ostream& err;
    CFacilityManager facility;
    CConsolePrompt prompt;
    CUsbHandler handler;
};

// Options of the form "--name VALUE" and bare flags; false (after a usage line) on anything else.
struct CCommandLine {
    std::vector<std::string> positional;
    std::vector<std::pair<std::string, std::string>> options;  // name, value ("" for flags)
    bool parse(const std::vector<std::string>& args, const std::vector<std::string>& valued,
               const std::vector<std::string>& flags, std::ostream& err);
    const std::string* value(const std::string& name) const;
    bool has(const std::string& name) const { return value(name) != nullptr; }
};
