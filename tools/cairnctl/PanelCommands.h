// The cairnctl commands that talk to a panel (on USB, or the virtual panel
// that CAIRN_PANEL=virtual:PATH names). Each takes the command line from the
// command name on and returns the exit status: 0 success, 1 failure, 2 usage.
#pragma once

#include <ostream>
#include <string>
#include <vector>

using PanelCommandArgs = std::vector<std::string>;

int cmdUpload(const PanelCommandArgs& args, std::ostream& out, std::ostream& err);
int cmdDownload(const PanelCommandArgs& args, std::ostream& out, std::ostream& err);
int cmdVerify(const PanelCommandArgs& args, std::ostream& out, std::ostream& err);
int cmdClock(const PanelCommandArgs& args, std::ostream& out, std::ostream& err);
int cmdLogs(const PanelCommandArgs& args, std::ostream& out, std::ostream& err);

// The command of that name; -1 when `args[0]` names none of them.
int runPanelCommand(const PanelCommandArgs& args, std::ostream& out, std::ostream& err);

// Lines for cairnctl --help.
extern const char* const kPanelCommandsHelp;
