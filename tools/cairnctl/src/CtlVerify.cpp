// cairnctl verify FILE.kvg --panel ID
#include "cairnctl/CCommandLine.h"
#include "cairnctl/CPanelSession.h"
#include "cairnctl/Commands.h"

int cmdVerify(const CommandArgs& args, CCommandContext& context) {
    std::ostream& out = context.out;
    std::ostream& err = context.err;
    CCommandLine cl;
    if (!cl.parse(args, {"--panel"}, {}, err)) return 2;
    if (cl.positional.size() != 1 || !cl.has("--panel")) return usage(err, "verify needs one FILE.kvg and --panel ID");
    CPanelSession s(context, false);
    int id = 0;
    if (!s.load(cl.positional[0]) || !s.panelOption(*cl.value("--panel"), id)) return 1;
    std::vector<std::string> differences;
    const bool read = s.handler.verify(id, differences);
    for (const std::string& d : differences) out << d << "\n";
    s.record(CHistoryRecord::Kind::Verify, cl.positional[0], id, {nullptr, &differences, read});
    if (!read) {
        if (!s.handler.lastProblem().empty()) {
            err << "cairnctl: panel " << id << " cannot be sent as it is: " << s.handler.lastProblem() << "\n";
        } else {
            s.prompt.showMessage(CUsbHandler::kDownloadFailedText);
        }
        return 1;
    }
    if (!differences.empty()) {
        err << "cairnctl: the panel differs from panel " << id << " of " << cl.positional[0] << " in "
            << differences.size() << (differences.size() == 1 ? " place\n" : " places\n");
        return 1;
    }
    out << "the panel holds exactly panel " << id << " of " << cl.positional[0] << "\n";
    return 0;
}
