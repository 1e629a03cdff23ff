#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "ReportPdfText.h"
#include "RunCairnCtl.h"

namespace {

namespace fs = std::filesystem;

class CtlMatrixTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("cairnctl-matrix-" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    static CtlResult run(std::vector<std::string> args) {
        args.insert(args.begin(), "matrix");
        return runCairnCtl(std::move(args));
    }
    std::string out() const { return (dir / "m.csv").string(); }

    const std::string sample = std::string(std::getenv("CAIRN_SOURCE_DIR")) + "/tools/cairnctl/samples/sample.kvg";
    fs::path dir;
};

TEST_F(CtlMatrixTest, WrongArgumentsAreUsageErrorsAndWriteNothing) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {sample},
             {"--csv", out()},
             {sample, sample, "--csv", out()},
             {sample, "--csv"},
             {sample, "--json"},
             {sample, "--pdf", out(), "--paper", "a3"}}) {
        const CtlResult r = run(args);
        EXPECT_EQ(r.status, 2) << args.back();
        EXPECT_NE(r.err.find("Try 'cairnctl --help'"), std::string::npos);
    }
    const CtlResult r = run({sample, "--csv", out(), "--panel", "1", "--panel", "9"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "cairnctl: the facility has no panel with id '9'\n");
    EXPECT_FALSE(fs::exists(out()));
}

TEST_F(CtlMatrixTest, AFileThatCannotBeReadFails) {
    const CtlResult r = run({(dir / "missing.kvg").string(), "--csv", out()});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.empty());
    EXPECT_FALSE(fs::exists(out()));
}

TEST_F(CtlMatrixTest, SeveralPanelsTakeTheRulesOfEach) {
    const CtlResult r = run({sample, "--csv", out(), "--panel", "1", "--panel", "2"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, out() + ": 3 causes, 3 effects, 3 rules\n");
}

TEST_F(CtlMatrixTest, ThePdfIsTheMatrixOnPaper) {
    const std::string pdf = (dir / "m.pdf").string();
    const CtlResult r = run({sample, "--pdf", pdf, "--paper", "a4"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, pdf + ": 3 causes, 3 effects, 3 rules\n");
    const std::string text = ReportPdfText::layoutText(pdf);
    EXPECT_NE(text.find("sample.kvg"), std::string::npos) << text;
    EXPECT_NE(text.find("Pag. 1"), std::string::npos) << text;
    EXPECT_NE(text.find("30"), std::string::npos) << text;
}

}  // namespace
