// cairnctl report: the PDF it writes, read back with pdftotext, and its refusals.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "FacilityBuilder.h"
#include "ReportPdfText.h"
#include "RunCairnCtl.h"
#include "basalt/KvUtf.h"
#include "file/CXmlHandler.h"

// Qt's font stack keeps a few allocations until exit; those are not ours to free.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace {

namespace fs = std::filesystem;

class CtlReportTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("cairnctl-report-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        CFacilityManager m;
        FacilityBuilder(m)
            .panel(1, 4, u"Lobby").loop(1).element(1, 1, 1).zones(3)
            .panel(2, 6, u"Garage").loop(1).element(1, 2, 1).zones(3)
            .rule(1, 5, RuleSide{1, 1, 1, 1, 0, 0, 0, 5}, RuleSide{0, 2, 0, 0, 1, 0, 0, 4});
        ASSERT_TRUE(CXmlHandler(m).save(ToWide(facility().c_str())));
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string facility() const { return (dir / "site.kvg").string(); }
    std::string pdf() const { return (dir / "out.pdf").string(); }

    int run(std::vector<std::string> args) {
        CtlResult result = runCairnCtl(std::move(args));
        out = result.out;
        err = result.err;
        return result.status;
    }
    std::string text() const { return ReportPdfText::layoutText(pdf()); }

    fs::path dir;
    std::string out, err;
};

TEST_F(CtlReportTest, EveryPanelWhenNoneIsNamed) {
    ASSERT_EQ(run({"report", facility(), "--pdf", pdf(), "--loops", "--event-action"}), 0) << err;
    EXPECT_NE(out.find(pdf() + ": 3 pages"), std::string::npos) << out;
    const std::string t = text();
    EXPECT_NE(t.find("Lobby"), std::string::npos) << t;
    EXPECT_NE(t.find("Garage"), std::string::npos) << t;
    EXPECT_NE(t.find("Rule:"), std::string::npos) << "texts come from the string table\n" << t;
    EXPECT_NE(ReportPdfText::info(pdf()).find("site.kvg"), std::string::npos);
}

TEST_F(CtlReportTest, NamedPanelsOnlyOnTheChosenPaper) {
    ASSERT_EQ(run({"report", facility(), "--pdf", pdf(), "--loops", "--panel", "2", "--paper", "letter"}), 0) << err;
    const std::string t = text();
    EXPECT_EQ(t.find("Lobby"), std::string::npos) << t;
    EXPECT_NE(t.find("Garage"), std::string::npos) << t;
    EXPECT_NE(ReportPdfText::info(pdf()).find("(letter)"), std::string::npos);
}

TEST_F(CtlReportTest, RefusalsWriteNothing) {
    EXPECT_EQ(run({"report", facility(), "--pdf", pdf(), "--loops", "--panel", "1", "--panel", "9"}), 1);
    EXPECT_NE(err.find("no panel with id '9'"), std::string::npos) << err;
    EXPECT_EQ(run({"report", facility(), "--pdf", "/proc/no/out.pdf", "--loops"}), 1);
    EXPECT_NE(err.find("/proc/no/out.pdf"), std::string::npos) << err;
    EXPECT_NE(err.find("[321]"), std::string::npos) << err;
    EXPECT_EQ(run({"report", facility(), "--loops"}), 2);
    EXPECT_EQ(run({"report", facility(), "--pdf", pdf(), "--paper", "a3"}), 2);
    EXPECT_EQ(run({"report", (dir / "none.kvg").string(), "--pdf", pdf()}), 1);
    EXPECT_FALSE(fs::exists(pdf()));
    EXPECT_FALSE(fs::exists("/proc/no/out.pdf"));
}

}  // namespace
