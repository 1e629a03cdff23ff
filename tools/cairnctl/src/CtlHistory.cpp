// cairnctl history FILE.kvg [--show N | --pending ID] [--json]
//
// Lists the uploads, downloads and verifies kept beside the file, oldest first and numbered
// as `cairnctl diff FILE.kvg@N` takes them; --show gives one entry whole; --pending what an
// upload of a panel would change since its last upload (exit 0 nothing, 1 changes or a first
// upload, 2 bad input). Texts that come from panels or files are escaped so they cannot drive
// the terminal.
#include <string>

#include "basalt/KvPaths.h"
#include "basalt/KvTrace.h"
#include "basalt/KvUtf.h"
#include "cairnctl/CCommandLine.h"
#include "cairnctl/CConsolePrompt.h"
#include "cairnctl/CFacilityFile.h"
#include "cairnctl/Commands.h"
#include "cairnctl/DiffText.h"
#include "cairnctl/TerminalText.h"
#include "history/CSiteHistory.h"
#include "history/CTransferHistory.h"
#include "model/CFacilityManager.h"

namespace {

using Node = JsonDocument::JsonNode;

std::string quoted(const KvWString& text) { return "\"" + terminalText(text) + "\""; }
std::string quoted(const std::string& utf8) { return quoted(ToWide(utf8.c_str())); }

// "2026-12-07T15:20:01.123Z" as "2026-12-07 15:20:01 UTC".
std::string shownTime(const std::string& time) {
    if (time.size() < 19) return terminalText(ToWide(time.c_str()));
    return time.substr(0, 10) + " " + time.substr(11, 8) + " UTC";
}

std::string outcome(const CHistoryRecord& r) {
    std::string text;
    if (r.checked)
        text += ", check: " + std::to_string(r.checkErrors()) + " errors, " + std::to_string(r.checkWarnings()) +
                " warnings";
    if (r.verified)
        text += !r.verifyRead                ? ", verify: the panel could not be read whole"
                : r.differences.empty()      ? ", verify: the panel holds it exactly"
                                             : ", verify: " + std::to_string(r.differences.size()) + " differences";
    return text;
}

void printLine(std::ostream& out, std::size_t number, const CHistoryRecord& r) {
    out << number << "  " << shownTime(r.time) << "  " << CHistoryRecord::kindName(r.kind) << " panel " << r.panelId
        << " (address " << r.panelAddress << ") " << quoted(r.label) << " by " << quoted(r.user + "@" + r.host)
        << outcome(r) << "\n";
}

void printEntry(std::ostream& out, std::size_t number, const CHistoryRecord& r, const KvWString& folder) {
    out << "entry " << number << ": " << CHistoryRecord::kindName(r.kind) << "\n"
        << "time: " << shownTime(r.time) << "\n"
        << "by: " << quoted(r.user) << " on " << quoted(r.host) << " with " << quoted(r.program) << "\n"
        << "panel: " << r.panelId << ", address " << r.panelAddress << "\n"
        << "label: " << quoted(r.label) << "\n"
        << "installer: " << quoted(r.installer) << "\n"
        << "phone: " << quoted(r.phone) << "\n";
    if (r.checked) {
        out << "check: " << r.checkErrors() << " errors, " << r.checkWarnings() << " warnings\n";
        for (const CCheckFinding& f : r.findings)
            out << "  " << (f.isError() ? "error " : "warning ") << terminalText(ToWide(f.code.c_str())) << ": "
                << terminalText(ToWide(f.text.c_str())) << "\n";
    }
    if (r.verified) {
        out << "verify: " << (!r.verifyRead ? "the panel could not be read whole"
                              : r.differences.empty() ? "the panel holds it exactly"
                                                      : std::to_string(r.differences.size()) + " differences")
            << "\n";
        for (const std::string& d : r.differences) out << "  " << terminalText(ToWide(d.c_str())) << "\n";
    }
    out << "snapshot: " << terminalText(folder + FromPlatformPath(r.name.c_str()) + u".kvg") << "\n";
}

void addJson(Node* list, std::size_t number, const CHistoryRecord& r, const KvWString& folder) {
    JsonDocument one;
    r.toJson(one);
    Node* entry = new Node(*one.Root());
    entry->SetValue(u"number", static_cast<int>(number));
    entry->SetValue(u"snapshot", (folder + FromPlatformPath(r.name.c_str()) + u".kvg").c_str());
    list->AddChild(entry);
}

int printPending(const std::string& path, const std::string& value, bool json, CCommandContext& context) {
    int id = 0;
    if (!CCommandLine::panelId(value, id)) return usage(context.err, "--pending needs a panel id from 1 to 128");
    CFacilityManager facility;
    if (!CFacilityFile(facility, context.err).load(path)) return 2;
    if (!facility.getPanelLabel(id)) {
        context.err << "cairnctl: the facility has no panel with id " << id << "\n";
        return 2;
    }
    CConsolePrompt prompt(context.err, false);
    CTransferHistory history(prompt, "cairnctl");
    history.setFile(FromPlatformPath(path.c_str()));
    CTransferHistory::Pending pending;
    std::string problem;
    if (!history.pending(facility, id, pending, problem)) {
        context.err << "cairnctl: panel " << id << " of " << path << " cannot be sent as it is: " << problem << "\n";
        return 2;
    }
    if (!json) {
        if (pending.firstUpload)
            context.out << "first upload of panel " << id << "\n";
        else
            context.out << (pending.diff.empty() ? "no changes" : "changes") << " since the last upload of panel " << id
                        << " (" << shownTime(pending.lastTime) << ")\n";
    }
    printDiff(context.out, pending.diff, json);
    return pending.diff.empty() ? 0 : 1;
}

}  // namespace

int cmdHistory(const CommandArgs& args, CCommandContext& context) {
    printk("\n cmdHistory");
    CCommandLine cl;
    if (!cl.parse(args, {"--show", "--pending"}, {"--json"}, context.err)) return 2;
    if (cl.positional.size() != 1) return usage(context.err, "history needs one FILE.kvg");
    if (cl.has("--show") && cl.has("--pending")) return usage(context.err, "history takes --show or --pending, not both");
    if (const std::string* panel = cl.value("--pending"))
        return printPending(cl.positional[0], *panel, cl.has("--json"), context);
    const CSiteHistory history(FromPlatformPath(cl.positional[0].c_str()));
    const std::vector<CHistoryRecord> records = history.list();
    std::size_t first = 0, last = records.size();
    if (const std::string* which = cl.value("--show")) {
        CHistoryRecord wanted;
        const bool found = history.find(*which, wanted);
        while (found && first < records.size() && records[first].name != wanted.name) ++first;
        if (!found || first == records.size()) {
            context.err << "cairnctl: " << cl.positional[0] << " has no history entry '" << *which << "'\n";
            return 1;
        }
        last = first + 1;
    }
    if (cl.has("--json")) {
        JsonDocument doc;
        Node* list = doc.Create(JsonDocument::JsonArray);
        for (std::size_t i = first; i < last; ++i) addJson(list, i + 1, records[i], history.folder());
        KvString text;
        doc.CreateJsonCode(text);
        context.out << text.c_str() << "\n";
    } else if (cl.has("--show")) {
        printEntry(context.out, first + 1, records[first], history.folder());
    } else {
        for (std::size_t i = first; i < last; ++i) printLine(context.out, i + 1, records[i]);
        if (records.empty()) context.err << "cairnctl: " << cl.positional[0] << " has no history yet\n";
    }
    return 0;
}
