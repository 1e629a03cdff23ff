#include "cairnctl/Commands.h"

#include <utility>

const char* const kHelpText =
    "Usage: cairnctl COMMAND [OPTIONS] [FILE]\n"
    "\n"
    "File commands:\n"
    "  show FILE.kvg                  print a summary of the facility: panels, loops, zones, rules\n"
    "  export --json FILE.kvg         write the facility as JSON to standard output\n"
    "  check FILE.kvg [--panel ID] [--json]\n"
    "                                 list what blocks an upload (errors) and what the panel\n"
    "                                 would show differently (warnings); exit 1 on errors\n"
    "  diff A.kvg B.kvg [--panel ID] [--json]\n"
    "                                 list what changed from A to B (exit 0 equal, 1 different);\n"
    "                                 either side may be a history entry FILE.kvg@N or FILE.kvg@last\n"
    "  history FILE.kvg [--show N | --pending ID] [--json]\n"
    "                                 list the uploads, downloads and verifies kept in\n"
    "                                 FILE.kvg.history/, show entry N whole, or list what an\n"
    "                                 upload of panel ID would change since its last upload\n"
    "  matrix FILE.kvg (--csv OUT.csv | --pdf OUT.pdf) [--panel ID]... [--paper a4|letter]\n"
    "                                 write the cause-and-effect matrix: causes as rows, effects as\n"
    "                                 columns, delays in cells (rules touching the panels named)\n"
    "  report FILE.kvg --pdf OUT.pdf [--loops] [--zones] [--nonempty-zones] [--event-action]\n"
    "         [--action-event] [--panel ID]... [--paper a4|letter]\n"
    "                                 print the chosen reports into a PDF file (every panel when no\n"
    "                                 --panel; the paper follows the locale unless --paper says)\n"
    "\n"
    "Panel commands (the panel on USB, or CAIRN_PANEL=virtual:PATH):\n"
    "  upload FILE.kvg --panel ID [--no-verify] [--force]\n"
    "                                 send panel ID of the facility to the panel, then read it\n"
    "                                 back and list any difference (--no-verify: do not); check\n"
    "                                 errors stop it unless --force\n"
    "  download FILE.kvg [--yes]      read the panel into FILE.kvg (added when the file exists;\n"
    "                                 --yes replaces a panel with the same address without asking)\n"
    "  download --compare FILE.kvg --panel ID [--json]\n"
    "                                 read the panel and list how it differs from panel ID of\n"
    "                                 FILE.kvg, leaving the file as it is (exit 0 same, 1 different)\n"
    "  verify FILE.kvg --panel ID     read the panel back and list every difference from panel ID\n"
    "  clock [--now | --set \"YYYY-MM-DD HH:MM:SS\"]   set the panel clock\n"
    "  sysinfo [--label TEXT] [--installer TEXT] [--phone TEXT]\n"
    "                                 show the panel's label, installer and phone, or set them\n"
    "                                 (texts the panel cannot hold are refused)\n"
    "  logs [--general F] [--alarm F] [--breakdown F] [--test F] [--yes]\n"
    "                                 save the panel's event logs as CSV files\n"
    "  firmware MANIFEST.xml          update the panel's firmware (panel in update mode)\n"
    "\n"
    "Every upload, download and verify is kept in FILE.kvg.history/ beside the file.\n"
    "\n"
    "Options:\n"
    "  -h, --help                     show this help and exit\n"
    "\n"
    "Exit status: 0 on success, 1 on failure, 2 on a usage error.\n";

int usage(std::ostream& err, const std::string& problem) {
    err << "cairnctl: " << problem << "\n" << "Try 'cairnctl --help' for more information.\n";
    return 2;
}

int runCommand(const CommandArgs& args, CCommandContext& context) {
    using Command = int (*)(const CommandArgs&, CCommandContext&);
    static const std::pair<const char*, Command> commands[] = {
        {"show", cmdShow},     {"export", cmdExport}, {"check", cmdCheck}, {"diff", cmdDiff},
        {"history", cmdHistory}, {"matrix", cmdMatrix}, {"report", cmdReport},
        {"upload", cmdUpload}, {"download", cmdDownload},
        {"verify", cmdVerify}, {"clock", cmdClock}, {"sysinfo", cmdSysinfo},   {"logs", cmdLogs},     {"firmware", cmdFirmware},
    };
    if (args.empty()) return -1;
    for (const auto& [name, command] : commands)
        if (args[0] == name) return command(args, context);
    return -1;
}
