// cairnctl diff A.kvg B.kvg [--panel ID] [--json]
//
// Either side may be an entry of a file's site history (FILE.kvg@N).
// The lines are fixed English like those of show and verify; texts from the files are escaped
// so they cannot drive the terminal. Exit 0 equal, 1 different, 2 when either file or the
// options are unusable (1 is taken by "different").
#include <cstdlib>

#include "basalt/KvTrace.h"
#include "cairnctl/CCommandLine.h"
#include "cairnctl/CFacilityFile.h"
#include "cairnctl/Commands.h"
#include "cairnctl/DiffText.h"
#include "model/CFacilityDiff.h"
#include "model/CFacilityManager.h"

namespace {

bool parsePanel(const std::string& value, int& id) {
    char* end = nullptr;
    const long n = std::strtol(value.c_str(), &end, 10);
    if (value.empty() || *end || n < 1 || n > 128) return false;
    id = static_cast<int>(n);
    return true;
}

}  // namespace

int cmdDiff(const CommandArgs& args, CCommandContext& context) {
    printk("\n cmdDiff");
    CCommandLine cl;
    if (!cl.parse(args, {"--panel"}, {"--json"}, context.err)) return 2;
    if (cl.positional.size() != 2) return usage(context.err, "diff takes two files or history entries: A.kvg B.kvg");
    int panel = 0;
    if (cl.has("--panel") && !parsePanel(*cl.value("--panel"), panel))
        return usage(context.err, "--panel needs a panel id from 1 to 128");
    CFacilityManager a, b;
    if (!CFacilityFile(a, context.err).loadSide(cl.positional[0]) || !CFacilityFile(b, context.err).loadSide(cl.positional[1]))
        return 2;
    if (panel && !a.getPanelLabel(panel) && !b.getPanelLabel(panel)) {
        context.err << "cairnctl: neither facility has a panel with id " << panel << "\n";
        return 2;
    }
    const CFacilityDiff diff = CFacilityDiff::compare(a.facility(), b.facility(), panel);
    printDiff(context.out, diff, cl.has("--json"));
    return diff.empty() ? 0 : 1;
}
