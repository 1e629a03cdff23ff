// cairnctl download FILE.kvg [--yes]
#include <sys/stat.h>

#include <algorithm>

#include "cairnctl/CCommandLine.h"
#include "cairnctl/CPanelSession.h"
#include "cairnctl/Commands.h"

int cmdDownload(const CommandArgs& args, CCommandContext& context) {
    if (std::find(args.begin(), args.end(), "--compare") != args.end()) return cmdDownloadCompare(args, context);
    std::ostream& out = context.out;
    std::ostream& err = context.err;
    CCommandLine cl;
    if (!cl.parse(args, {}, {"--yes"}, err)) return 2;
    if (cl.positional.size() != 1) return usage(err, "download needs one FILE.kvg");
    const std::string& path = cl.positional[0];
    CPanelSession s(context, cl.has("--yes"));
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && !s.load(path)) return 1;
    // The file is written only after a complete download: a failure leaves it as it was.
    if (!s.handler.downloadAndReport()) return 1;
    const int id = s.handler.panel();
    if (s.handler.panelAddress() < 1) {
        err << "cairnctl: the panel reports address " << s.handler.panelAddress()
            << ", which a configuration file cannot hold; " << path << " was not changed\n";
        return 1;
    }
    if (s.handler.rulesLeftOnPanel())
        err << "cairnctl: warning: the panel holds more rules than the facility has free rule ids (up to "
            << CUsbHandler::kMaxDownloadRuleId << "); the rest stayed on the panel\n";
    s.record(CHistoryRecord::Kind::Download, path, id);
    if (!s.save(path)) return 1;
    out << "panel " << id << " (address " << s.handler.panelAddress() << ") received into " << path << "\n";
    return 0;
}
