// The commands of cairnctl. Each takes the command line from the command name on and returns
// the exit status: 0 success, 1 failure, 2 usage error. Results go to `out`, messages to `err`.
#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

class CUsbBackend;

using CommandArgs = std::vector<std::string>;

// What every command gets: the two streams and the USB bus the program chose (asked for only
// by the commands that talk to a panel).
struct CCommandContext {
    std::ostream& out;
    std::ostream& err;
    std::function<std::shared_ptr<CUsbBackend>()> usb;
};

// Files
int cmdShow(const CommandArgs& args, CCommandContext& context);
int cmdExport(const CommandArgs& args, CCommandContext& context);
int cmdCheck(const CommandArgs& args, CCommandContext& context);
int cmdDiff(const CommandArgs& args, CCommandContext& context);
int cmdHistory(const CommandArgs& args, CCommandContext& context);
int cmdMatrix(const CommandArgs& args, CCommandContext& context);
int cmdReport(const CommandArgs& args, CCommandContext& context);
// Panel
int cmdUpload(const CommandArgs& args, CCommandContext& context);
int cmdDownload(const CommandArgs& args, CCommandContext& context);
int cmdDownloadCompare(const CommandArgs& args, CCommandContext& context);  // download --compare
int cmdVerify(const CommandArgs& args, CCommandContext& context);
int cmdClock(const CommandArgs& args, CCommandContext& context);
int cmdSysinfo(const CommandArgs& args, CCommandContext& context);
int cmdLogs(const CommandArgs& args, CCommandContext& context);
int cmdFirmware(const CommandArgs& args, CCommandContext& context);

// The command of that name; -1 when `args[0]` names none of them.
int runCommand(const CommandArgs& args, CCommandContext& context);

// The one usage line: "cairnctl: PROBLEM" and the hint to --help; returns 2.
int usage(std::ostream& err, const std::string& problem);

// The text of cairnctl --help.
extern const char* const kHelpText;
