// cairnctl check FILE.kvg [--panel ID] [--json]
#include "cairnctl/CCommandLine.h"
#include "cairnctl/CFacilityFile.h"
#include "cairnctl/Commands.h"
#include "check/CCheckText.h"
#include "check/CFacilityCheck.h"
#include "model/CFacilityManager.h"

// Exit 1 means the facility has errors, so a file that cannot be read is bad input (2), not 1.
int cmdCheck(const CommandArgs& args, CCommandContext& context) {
    CCommandLine cl;
    if (!cl.parse(args, {"--panel"}, {"--json"}, context.err)) return 2;
    if (cl.positional.size() != 1) return usage(context.err, "check needs one FILE.kvg");
    const std::string& path = cl.positional[0];
    CFacilityManager m;
    if (!CFacilityFile(m, context.err).load(path)) return 2;
    int panel = 0;
    if (const std::string* value = cl.value("--panel"))
        if (!CCommandLine::facilityPanel(m, *value, panel, context.err)) return 2;
    const std::vector<CCheckFinding> findings = CFacilityCheck(m).run(panel);
    const int errors = CCheckText::errorCount(findings);
    context.out << (cl.has("--json") ? CCheckText::json(findings) : CCheckText::words(findings));
    const std::size_t warnings = findings.size() - static_cast<std::size_t>(errors);
    if (errors > 0) {
        context.err << "cairnctl: " << path << " has " << errors << (errors == 1 ? " error" : " errors")
                    << " that block an upload\n";
        return 1;
    }
    if (!cl.has("--json"))
        context.out << path << ": no errors, " << warnings << (warnings == 1 ? " warning\n" : " warnings\n");
    return 0;
}
