// cairnctl matrix FILE.kvg --csv OUT.csv [--panel ID]...
//
// The words of the rows and columns are fixed English like those of show and diff.
#include "basalt/KvPaths.h"
#include "basalt/KvTrace.h"
#include "cairnctl/CCommandLine.h"
#include "cairnctl/CFacilityFile.h"
#include "cairnctl/Commands.h"
#include "model/CCauseEffectCsv.h"
#include "model/CCauseEffectMatrix.h"
#include "model/CFacilityManager.h"

namespace {

// The panel ids of --panel; false after the message when one is not in the facility.
bool panelIds(const CFacilityManager& m, const std::vector<std::string>& values, std::vector<int>& ids,
              std::ostream& err) {
    for (const std::string& value : values) {
        int id = 0;
        if (!CCommandLine::panelId(value, id) || !m.getPanelLabel(id)) {
            err << "cairnctl: the facility has no panel with id '" << value << "'\n";
            return false;
        }
        ids.push_back(id);
    }
    return true;
}

}  // namespace

int cmdMatrix(const CommandArgs& args, CCommandContext& context) {
    printk("\n cmdMatrix");
    std::ostream& err = context.err;
    CCommandLine cl;
    if (!cl.parse(args, {"--csv", "--panel"}, {}, err)) return 2;
    if (cl.positional.size() != 1 || !cl.has("--csv")) return usage(err, "matrix needs one FILE.kvg and --csv OUT.csv");
    CFacilityManager m;
    if (!CFacilityFile(m, err).load(cl.positional[0])) return 1;
    std::vector<int> panels;
    if (!panelIds(m, cl.values("--panel"), panels, err)) return 2;

    const CCauseEffectMatrix matrix = CCauseEffectMatrix::build(m, panels);
    const std::string& csv = *cl.value("--csv");
    if (!CCauseEffectCsv::save(FromPlatformPath(csv.c_str()), matrix)) {
        err << "cairnctl: could not write " << csv << "\n";
        return 1;
    }
    context.out << csv << ": " << matrix.rows().size() << " causes, " << matrix.columns().size() << " effects, "
                << matrix.cells().size() << " rules\n";
    return 0;
}
