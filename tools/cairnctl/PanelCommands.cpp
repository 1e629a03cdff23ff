#include "PanelCommands.h"

const char* const kPanelCommandsHelp =
    "Panel commands (the panel on USB, or CAIRN_PANEL=virtual:PATH):\n"
    "  upload FILE.kvg --panel ID     send panel ID of the facility to the panel\n"
    "  download FILE.kvg [--yes]      read the panel into FILE.kvg (added when the file exists;\n"
    "                                 --yes replaces a panel with the same address without asking)\n"
    "  verify FILE.kvg --panel ID     read the panel back and list every difference from panel ID\n"
    "  clock [--now | --set \"YYYY-MM-DD HH:MM:SS\"]   set the panel clock\n"
    "  logs [--general F] [--alarm F] [--breakdown F] [--test F] [--yes]\n"
    "                                 save the panel's event logs as CSV files\n";

int runPanelCommand(const PanelCommandArgs& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) return -1;
    const std::string& c = args[0];
    if (c == "upload") return cmdUpload(args, out, err);
    if (c == "download") return cmdDownload(args, out, err);
    if (c == "verify") return cmdVerify(args, out, err);
    if (c == "clock") return cmdClock(args, out, err);
    if (c == "logs") return cmdLogs(args, out, err);
    return -1;
}
