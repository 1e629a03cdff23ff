// cairnctl upload FILE.kvg --panel ID [--no-verify] [--force]
#include "cairnctl/CCommandLine.h"
#include "cairnctl/CPanelSession.h"
#include "cairnctl/Commands.h"
#include "check/CCheckText.h"
#include "check/CFacilityCheck.h"

namespace {

// The check of the panel's upload, into `findings`. False when its errors forbid sending.
bool passesCheck(CPanelSession& s, int id, const std::string& path, bool force, std::vector<CCheckFinding>& findings) {
    findings = CFacilityCheck(s.facility).run(id);
    const int errors = CCheckText::errorCount(findings);
    const std::size_t warnings = findings.size() - static_cast<std::size_t>(errors);
    std::vector<CCheckFinding> blocking;
    for (const CCheckFinding& f : findings)
        if (f.isError()) blocking.push_back(f);
    s.err << CCheckText::words(blocking);
    if (errors > 0 && !force) {
        s.err << "cairnctl: nothing was sent: panel " << id << " of " << path << " has " << errors
              << (errors == 1 ? " error" : " errors") << " that block an upload (--force sends it anyway)\n";
        return false;
    }
    if (errors > 0) s.err << "cairnctl: sending despite " << errors << (errors == 1 ? " error" : " errors") << "\n";
    if (warnings > 0)
        s.err << "cairnctl: " << warnings << (warnings == 1 ? " warning" : " warnings") << "; 'cairnctl check "
              << path << " --panel " << id << "' lists them\n";
    return true;
}

}  // namespace

int cmdUpload(const CommandArgs& args, CCommandContext& context) {
    std::ostream& out = context.out;
    std::ostream& err = context.err;
    CCommandLine cl;
    if (!cl.parse(args, {"--panel"}, {"--no-verify", "--force"}, err)) return 2;
    if (cl.positional.size() != 1 || !cl.has("--panel")) return usage(err, "upload needs one FILE.kvg and --panel ID");
    const std::string& path = cl.positional[0];
    CPanelSession s(context, false);
    int id = 0;
    if (!s.load(path) || !s.panelOption(*cl.value("--panel"), id)) return 1;
    std::vector<CCheckFinding> findings;
    if (!passesCheck(s, id, path, cl.has("--force"), findings)) return 1;
    const bool verify = !cl.has("--no-verify");
    const CUploadResult result = s.handler.uploadPanel(id, verify);
    if (result.outcome == CUploadResult::Outcome::NotSent) {
        err << "cairnctl: nothing was sent: " << result.problem << "\n";
        return 1;
    }
    if (result.written())
        s.record(CHistoryRecord::Kind::Upload, path, id,
                 {&findings, verify ? &result.differences : nullptr, result.readBackWhole});
    for (const std::string& d : result.differences) out << d << "\n";
    CUploadResult shown = result;
    shown.differences.clear();  // on standard output already
    s.handler.reportUpload(shown);
    if (result.outcome == CUploadResult::Outcome::Differs)
        err << "cairnctl: the panel differs from panel " << id << " of " << path << " in "
            << result.differences.size() << (result.differences.size() == 1 ? " place\n" : " places\n");
    if (!result.succeeded()) return 1;
    out << "panel " << id << " of " << path << " sent to the panel (address " << s.facility.getPanelAddress(id) << ")"
        << (result.outcome == CUploadResult::Outcome::Verified ? " and verified\n" : "\n");
    return 0;
}
