// cairnctl report FILE.kvg --pdf OUT.pdf [--loops] [--zones] [--nonempty-zones] [--event-action]
//                 [--action-event] [--panel ID]... [--paper a4|letter]
#include <filesystem>
#include <unistd.h>

#include "basalt/KvTrace.h"
#include "basalt/KvUtf.h"
#include "cairnctl/CCommandLine.h"
#include "cairnctl/CConsolePrompt.h"
#include "cairnctl/CFacilityFile.h"
#include "cairnctl/Commands.h"
#include "cairnctl/GuiApplication.h"
#include "model/CFacilityManager.h"
#include "reports/CReportPdf.h"

namespace {

constexpr int kNoPanelText = 215;
constexpr int kNotSavedText = 321;

// Marks the panels named by --panel, or every panel when none is named; false after the
// message when one is not in the facility.
bool choosePanels(CFacilityManager& m, const std::vector<std::string>& ids, std::ostream& err) {
    for (int i = 0; i < m.getNumberOfPanels(); ++i) m.setPanelSelected(m.getPanelId(i), ids.empty());
    for (const std::string& value : ids) {
        int id = 0;
        if (!CCommandLine::facilityPanel(m, value, id, err)) return false;
        m.setPanelSelected(id, true);
    }
    return true;
}

bool paperOption(const std::string* value, QPageSize& paper, std::ostream& err) {
    if (!value) return true;
    if (*value == "a4" || *value == "letter") {
        paper = QPageSize(*value == "a4" ? QPageSize::A4 : QPageSize::Letter);
        return true;
    }
    usage(err, "report: --paper is a4 or letter");
    return false;
}

CReportSwitches switchesOf(const CCommandLine& cl) {
    return {cl.has("--zones"), cl.has("--loops"), cl.has("--nonempty-zones"), cl.has("--event-action"),
            cl.has("--action-event")};
}

}  // namespace

int cmdReport(const CommandArgs& args, CCommandContext& context) {
    printk("\n cmdReport");
    std::ostream& err = context.err;
    CCommandLine cl;
    if (!cl.parse(args, {"--pdf", "--panel", "--paper"},
                  {"--loops", "--zones", "--nonempty-zones", "--event-action", "--action-event"}, err))
        return 2;
    if (cl.positional.size() != 1 || !cl.has("--pdf")) return usage(err, "report needs one FILE.kvg and --pdf OUT.pdf");
    QPageSize paper;
    if (!paperOption(cl.value("--paper"), paper, err)) return 2;
    CConsolePrompt::loadStrings();
    CConsolePrompt prompt(err, false);
    CFacilityManager m;
    if (!CFacilityFile(m, err).load(cl.positional[0])) return 1;
    if (m.getNumberOfPanels() == 0) {
        prompt.showMessage(kNoPanelText);
        return 1;
    }
    if (!choosePanels(m, cl.values("--panel"), err)) return 1;
    if (!cairnctlGuiApplication()) {
        err << "cairnctl: reports need a graphical application object, and another kind exists\n";
        return 1;
    }
    const std::string& pdf = *cl.value("--pdf");
    const bool terminal = ::isatty(STDERR_FILENO);
    int pages = 0;
    const auto result = CReportPdf::write(
        m, switchesOf(cl), QString::fromStdString(pdf),
        QString::fromStdString(std::filesystem::path(cl.positional[0]).filename().string()),
        cl.has("--paper") ? paper : CReportPdf::defaultPageSize(), [&](int done) {
            pages = done;
            if (terminal) err << "\rcairnctl: " << done << " pages" << std::flush;
            return true;
        });
    if (terminal && pages) err << "\n";
    switch (result) {
    case CReportPrinter::Result::kPrinted:
        context.out << pdf << ": " << pages << (pages == 1 ? " page\n" : " pages\n");
        return 0;
    case CReportPrinter::Result::kNoRoom: prompt.showMessage(CReportPrinter::kNoRoomText); return 1;
    default: prompt.showMessageWith(kNotSavedText, ToWide(pdf.c_str())); return 1;
    }
}
