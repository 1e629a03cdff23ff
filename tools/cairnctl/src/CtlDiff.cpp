// cairnctl diff A.kvg B.kvg [--panel ID] [--json]
//
// Either side may be an entry of a file's site history (FILE.kvg@N); an entry against a file
// compares the entry's panel only.
// The lines are fixed English like those of show and verify; texts from the files are escaped
// so they cannot drive the terminal. Exit 0 equal, 1 different, 2 when either file or the
// options are unusable (1 is taken by "different").
#include "basalt/KvTrace.h"
#include "cairnctl/CCommandLine.h"
#include "cairnctl/CFacilityFile.h"
#include "cairnctl/Commands.h"
#include "cairnctl/DiffText.h"
#include "history/CPanelSnapshot.h"
#include "model/CFacilityDiff.h"
#include "model/CFacilityManager.h"

int cmdDiff(const CommandArgs& args, CCommandContext& context) {
    printk("\n cmdDiff");
    CCommandLine cl;
    if (!cl.parse(args, {"--panel"}, {"--json"}, context.err)) return 2;
    if (cl.positional.size() != 2) return usage(context.err, "diff takes two files or history entries: A.kvg B.kvg");
    int panel = 0;
    if (cl.has("--panel") && !CCommandLine::panelId(*cl.value("--panel"), panel))
        return usage(context.err, "--panel needs a panel id from 1 to 128");
    CFacilityManager a, b;
    int entryA = 0, entryB = 0;
    if (!CFacilityFile(a, context.err).loadSide(cl.positional[0], &entryA) ||
        !CFacilityFile(b, context.err).loadSide(cl.positional[1], &entryB))
        return 2;
    if (panel && !a.getPanelLabel(panel) && !b.getPanelLabel(panel)) {
        context.err << "cairnctl: neither facility has a panel with id " << panel << "\n";
        return 2;
    }
    // A history entry holds one panel as the panel held it. A file compared with it is taken
    // the same way, as an upload of that panel would send it: texts the panel cuts or zones it
    // always has are then no change.
    const CFacilityItem* before = &a.facility();
    const CFacilityItem* after = &b.facility();
    CFacilityManager asSent;
    if ((entryA != 0) != (entryB != 0)) {
        if (!panel) panel = entryA ? entryA : entryB;
        CFacilityManager& file = entryA ? b : a;
        std::string problem;
        if (file.getPanelLabel(panel) && !CPanelSnapshot::fromFacility(file, panel, asSent, problem)) {
            context.err << "cairnctl: panel " << panel << " cannot be compared with a history entry: " << problem << "\n";
            return 2;
        }
        if (file.getPanelLabel(panel)) (entryA ? after : before) = &asSent.facility();
    }
    const CFacilityDiff diff = CFacilityDiff::compare(*before, *after, panel);
    printDiff(context.out, diff, cl.has("--json"));
    return diff.empty() ? 0 : 1;
}
