// cairnctl matrix FILE.kvg (--csv OUT.csv | --pdf OUT.pdf) [--panel ID]... [--paper a4|letter]
//
// The CSV's words are fixed English like those of show and diff, for scripts and spreadsheets;
// the PDF is printed in the language of the locale, like the reports.
#include <filesystem>

#include "basalt/KvPaths.h"
#include "basalt/KvTrace.h"
#include "basalt/KvUtf.h"
#include "cairnctl/CCommandLine.h"
#include "cairnctl/CConsolePrompt.h"
#include "cairnctl/CFacilityFile.h"
#include "cairnctl/Commands.h"
#include "cairnctl/GuiApplication.h"
#include "model/CCauseEffectCsv.h"
#include "model/CCauseEffectMatrix.h"
#include "model/CFacilityManager.h"
#include "reports/CMatrixPrinter.h"
#include "reports/CReportPdf.h"

namespace {

constexpr int kNotSavedText = 321;

// The panel ids of --panel; false after the message when one is not in the facility.
bool panelIds(const CFacilityManager& m, const std::vector<std::string>& values, std::vector<int>& ids,
              std::ostream& err) {
    for (const std::string& value : values) {
        int id = 0;
        if (!CCommandLine::facilityPanel(m, value, id, err)) return false;
        ids.push_back(id);
    }
    return true;
}

bool writeCsv(const CCauseEffectMatrix& matrix, const std::string& csv, std::ostream& err) {
    if (CCauseEffectCsv::save(FromPlatformPath(csv.c_str()), matrix)) return true;
    err << "cairnctl: could not write " << csv << "\n";
    return false;
}

bool writePdf(const CFacilityManager& m, const CCauseEffectMatrix& matrix, const std::string& pdf,
              const QPageSize& paper, const std::string& facilityPath, std::ostream& err) {
    if (!cairnctlGuiApplication()) {
        err << "cairnctl: printing needs a graphical application object, and another kind exists\n";
        return false;
    }
    CConsolePrompt::loadStrings();
    CMatrixPrinter printer(m, matrix);
    const auto result = printer.pdf(QString::fromStdString(pdf),
                                    QString::fromStdString(std::filesystem::path(facilityPath).filename().string()),
                                    paper);
    if (result == CReportPrinter::Result::kPrinted) return true;
    CConsolePrompt prompt(err, false);
    if (result == CReportPrinter::Result::kNoRoom)
        prompt.showMessage(CReportPrinter::kNoRoomText);
    else
        prompt.showMessageWith(kNotSavedText, ToWide(pdf.c_str()));
    return false;
}

}  // namespace

int cmdMatrix(const CommandArgs& args, CCommandContext& context) {
    printk("\n cmdMatrix");
    std::ostream& err = context.err;
    CCommandLine cl;
    if (!cl.parse(args, {"--csv", "--pdf", "--panel", "--paper"}, {}, err)) return 2;
    if (cl.positional.size() != 1 || (!cl.has("--csv") && !cl.has("--pdf")))
        return usage(err, "matrix needs one FILE.kvg and --csv OUT.csv or --pdf OUT.pdf");
    QPageSize paper = CReportPdf::defaultPageSize();
    if (const std::string* value = cl.value("--paper")) {
        if (*value != "a4" && *value != "letter") return usage(err, "matrix: --paper is a4 or letter");
        paper = QPageSize(*value == "a4" ? QPageSize::A4 : QPageSize::Letter);
    }
    CFacilityManager m;
    if (!CFacilityFile(m, err).load(cl.positional[0])) return 1;
    std::vector<int> panels;
    if (!panelIds(m, cl.values("--panel"), panels, err)) return 2;

    const CCauseEffectMatrix matrix = CCauseEffectMatrix::build(m, panels);
    if (cl.has("--csv") && !writeCsv(matrix, *cl.value("--csv"), err)) return 1;
    if (cl.has("--pdf") && !writePdf(m, matrix, *cl.value("--pdf"), paper, cl.positional[0], err)) return 1;
    for (const char* option : {"--csv", "--pdf"})
        if (cl.has(option))
            context.out << *cl.value(option) << ": " << matrix.rows().size() << " causes, " << matrix.columns().size()
                        << " effects, " << matrix.cells().size() << " rules\n";
    return 0;
}
