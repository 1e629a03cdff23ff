// cairnctl upload FILE.kvg --panel ID
#include "cairnctl/CCommandLine.h"
#include "cairnctl/CPanelSession.h"
#include "cairnctl/Commands.h"

int cmdUpload(const CommandArgs& args, CCommandContext& context) {
    std::ostream& out = context.out;
    std::ostream& err = context.err;
    CCommandLine cl;
    if (!cl.parse(args, {"--panel"}, {}, err)) return 2;
    if (cl.positional.size() != 1 || !cl.has("--panel")) return usage(err, "upload needs one FILE.kvg and --panel ID");
    CPanelSession s(context, false);
    int id = 0;
    if (!s.load(cl.positional[0]) || !s.panelOption(*cl.value("--panel"), id)) return 1;
    s.prompt.setPanel(id);
    if (!s.handler.uploadAndReport()) {
        if (!s.handler.lastProblem().empty()) err << "cairnctl: nothing was sent: " << s.handler.lastProblem() << "\n";
        return 1;
    }
    s.record(CHistoryRecord::Kind::Upload, cl.positional[0], id);
    out << "panel " << id << " of " << cl.positional[0] << " sent to the panel (address "
        << s.facility.getPanelAddress(id) << ")\n";
    return 0;
}
