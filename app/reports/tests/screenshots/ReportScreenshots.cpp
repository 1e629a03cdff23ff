// Writes every report of a sample facility and its cause-and-effect matrix as PDF, and the first
// page of each as PNG, under <folder>/reports/, in the English texts of the program's string table.
//   cairn_report_screenshots <folder>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "FacilityBuilder.h"
#include "basalt/KvStringTableFile.h"
#include "model/CCauseEffectMatrix.h"
#include "reports/CMatrixPrinter.h"
#include "reports/CReportPdf.h"

extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace {

void describe(CFacilityManager& m, int panel, int loop, int address, const char16_t* text) {
    m.setElementDescription(panel, loop, address, text);
}

// Two panels as an installer would hand them over: named rooms, described zones, some rules.
void sampleFacility(CFacilityManager& m) {
    FacilityBuilder b(m);
    b.panel(1, 1, u"Main building")
        .details(u"Northside Fire Services", u"+34 931 000 000",
                 u"Reception, ground floor. Keys to the panel cabinet are kept by the caretaker; "
                 u"call the installer before any change to the loops.")
        .loop(1);
    for (int a = 1; a <= 40; ++a) b.element(a, 1 + (a % 5), 1 + (a % 6));
    b.device(41, 13, 6).device(45, 12, 2).loop(2);
    for (int a = 1; a <= 30; ++a) b.element(a, 6 + (a % 13), 2 + (a % 4));
    b.zones(250);
    const char16_t* zones[] = {u"Reception and main entrance", u"Kitchen", u"Server room (gas extinguishing)",
                               u"Stairwell east, floors 1 to 4", u"Warehouse", u"Car park, level -1"};
    for (int z = 1; z <= 6; ++z) m.setZoneDescription(z, zones[z - 1]);
    describe(m, 1, 1, 1, u"Smoke detector, reception desk");
    describe(m, 1, 1, 2, u"Call point beside the revolving door");
    describe(m, 1, 1, 3, u"Heat detector above the fryers in the kitchen, next to the extraction hood");
    b.panel(2, 2, u"Warehouse").details(u"Northside Fire Services", u"+34 931 000 001", u"Loading bay office").loop(1);
    for (int a = 1; a <= 20; ++a) b.element(a, 1 + (a % 18), 1 + (a % 3));
    b.zones(250);
    b.rule(1, 0, RuleSide{0, 1, 1, 3, 0, 0, 0, 5}, RuleSide{0, 1, 0, 0, 2, 0, 0, 4});
    b.rule(2, 30, RuleSide{0, 1, 0, 0, 3, 0, 0, 4}, RuleSide{0, 1, 0, 0, 0, 0, 0, 1});
    b.rule(3, 10, RuleSide{0, 2, 1, 0, 0, 0, 0, 2}, RuleSide{0, 2, 1, 0, 0, 0, 0, 2});
    b.rule(4, 60, RuleSide{1, 2, 0, 0, 0, 1, 3, 6}, RuleSide{0, 2, 0, 0, 0, 1, 3, 6});
    b.rule(5, 0, RuleSide{1, 1, 1, 41, 0, 0, 0, 5}, RuleSide{0, 2, 1, 8, 0, 0, 0, 5});
    for (int p = 1; p <= 2; ++p) m.setPanelSelected(p, true);
}

bool firstPage(const std::string& pdf, const std::string& png) {
    return std::system(("pdftoppm -f 1 -l 1 -r 110 -png -singlefile '" + pdf + "' '" + png + "'").c_str()) == 0;
}

struct Report {
    const char* name;
    bool CReportSwitches::*which;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: cairn_report_screenshots FOLDER\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const std::string bin = QCoreApplication::applicationDirPath().toStdString();
    if (!SetKvLoadStringTableFile((bin + "/cairn.en.stc").c_str())) {
        std::fprintf(stderr, "no string table in %s\n", bin.c_str());
        return 1;
    }
    const std::filesystem::path folder = std::filesystem::path(argv[1]) / "reports";
    std::filesystem::create_directories(folder);
    CFacilityManager m;
    sampleFacility(m);
    const Report reports[] = {{"loops", &CReportSwitches::loops},
                              {"zones", &CReportSwitches::zones},
                              {"zone-elements", &CReportSwitches::nonEmptyZones},
                              {"event-action", &CReportSwitches::eventAction},
                              {"action-event", &CReportSwitches::actionEvent}};
    for (const Report& r : reports) {
        CReportSwitches s;
        s.*r.which = true;
        const std::string pdf = (folder / (std::string(r.name) + ".pdf")).string();
        if (CReportPdf::write(m, s, QString::fromStdString(pdf), QStringLiteral("sample.kvg")) !=
            CReportPrinter::Result::kPrinted ||
            !firstPage(pdf, (folder / r.name).string()))
            return 1;
    }
    const CCauseEffectMatrix matrix = CCauseEffectMatrix::build(m);
    const std::string pdf = (folder / "matrix.pdf").string();
    if (CMatrixPrinter(m, matrix).pdf(QString::fromStdString(pdf), QStringLiteral("sample.kvg"),
                                      CReportPdf::defaultPageSize()) != CReportPrinter::Result::kPrinted ||
        !firstPage(pdf, (folder / "matrix").string()))
        return 1;
    return 0;
}
