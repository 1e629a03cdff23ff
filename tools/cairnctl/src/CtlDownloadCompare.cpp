// cairnctl download --compare FILE.kvg --panel ID [--json]
//
// Reads the panel and shows how it differs from panel ID of the file, without touching the
// file: both sides are taken as the panel holds them, so only what a panel can tell apart
// shows. The reading is kept in the file's history as a download. Exit 0 when the panel holds
// exactly that panel, 1 when it differs or cannot be read, 2 on bad input.
#include "basalt/KvTrace.h"
#include "cairnctl/CCommandLine.h"
#include "cairnctl/CPanelSession.h"
#include "cairnctl/Commands.h"
#include "cairnctl/DiffText.h"
#include "history/CPanelSnapshot.h"
#include "model/CFacilityDiff.h"
#include "panel_link/CPanelImage.h"

namespace {

// The history keeps a reading under the panel of the file that has its address, as a download
// would take it; `otherwise` when none has.
int panelWithAddress(const CFacilityManager& facility, int address, int otherwise) {
    for (int i = 0; i < facility.getNumberOfPanels(); ++i)
        if (facility.getPanelAddress(facility.getPanelId(i)) == address) return facility.getPanelId(i);
    return otherwise;
}

}  // namespace

int cmdDownloadCompare(const CommandArgs& args, CCommandContext& context) {
    printk("\n cmdDownloadCompare");
    std::ostream& err = context.err;
    CCommandLine cl;
    if (!cl.parse(args, {"--panel"}, {"--compare", "--json"}, err)) return 2;
    if (cl.positional.size() != 1 || !cl.has("--panel"))
        return usage(err, "download --compare needs one FILE.kvg and --panel ID");
    const std::string& path = cl.positional[0];
    CPanelSession s(context, false);
    int id = 0;
    if (!s.load(path) || !s.panelOption(*cl.value("--panel"), id)) return 2;
    CFacilityManager expected;
    std::string problem;
    if (!CPanelSnapshot::fromFacility(s.facility, id, expected, problem)) {
        err << "cairnctl: panel " << id << " of " << path << " cannot be compared: " << problem << "\n";
        return 2;
    }
    // The verify reads the whole panel and writes nothing to it, not even its address.
    std::vector<std::string> unused;
    s.handler.verify(id, unused);
    const CPanelImage* read = s.handler.lastRead();
    if (!read) {
        s.prompt.showMessage(CUsbHandler::kDownloadFailedText);
        return 1;
    }
    CFacilityManager actual;
    CPanelSnapshot::fromImage(*read, id, read->address, actual);
    s.record(CHistoryRecord::Kind::Download, path, panelWithAddress(s.facility, read->address, id));
    const CFacilityDiff diff = CFacilityDiff::compare(expected.facility(), actual.facility(), id);
    printDiff(context.out, diff, cl.has("--json"));
    if (!diff.empty()) return 1;
    if (!cl.has("--json")) context.out << "the panel holds exactly panel " << id << " of " << path << "\n";
    return 0;
}
