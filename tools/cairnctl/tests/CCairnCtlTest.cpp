#include "cairnctl/CCairnCtl.h"
#include "RawControls.h"
#include "RunCairnCtl.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "FacilityBuilder.h"
#include "basalt/KvUtf.h"
#include "file/CXmlHandler.h"
#include "testkit/TempFolder.h"

namespace {

namespace fs = std::filesystem;

using Result = CtlResult;

Result run(std::vector<std::string> args) { return runCairnCtl(std::move(args)); }

class CCairnCtlTest : public ::testing::Test {
protected:
    void SetUp() override {
        CFacilityManager m;
        FacilityBuilder(m)
            .panel(1, 4, u"Lobby").details(u"Ann", u"555-01", u"")
            .loop(1).element(1, 1, 1).element(2, 1, 2).element(3, 1, 3).element(9, 10, 7)
            .zones(250)
            .rule(1, 5, RuleSide{1, 1, 1, 2, 0, 0, 0, 5}, RuleSide{7, 1, 0, 0, 0, 3, 8, 6});
        ASSERT_TRUE(CXmlHandler(m).save(ToWide(facility().c_str())));
    }
    std::string facility() const { return (dir / "site.kvg").string(); }
    std::string write(const char* name, const std::string& content) const {
        std::ofstream(dir / name, std::ios::binary) << content;
        return (dir / name).string();
    }

    TempFolder folder{"cairnctl"};
    const fs::path dir = folder.path();
};

TEST_F(CCairnCtlTest, UsageErrorsExitWithTwoAndHelpWithZero) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {}, {"frobnicate"}, {"show"}, {"show", "a", "b"}, {"show", "--json", facility()}, {"export", facility()},
             {"export", "--xml", facility()}}) {
        const Result r = run(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_TRUE(r.out.empty());
        EXPECT_NE(r.err.find("--help"), std::string::npos);
    }
    const Result help = run({"show", "--help"});
    EXPECT_EQ(help.status, 0);
    // One help text for every command.
    for (const char* command : {"show FILE", "export --json", "diff A.kvg", "upload FILE", "download FILE", "verify FILE", "clock [",
                                "logs [", "firmware MANIFEST"})
        EXPECT_NE(help.out.find(command), std::string::npos) << command;
}

TEST_F(CCairnCtlTest, ShowSummarisesPanelsLoopsZonesAndRules) {
    const Result r = run({"show", facility()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("panel 1: address 4, label \"Lobby\", installer \"Ann\", phone \"555-01\""), std::string::npos);
    EXPECT_NE(r.out.find("loop 1: 4 elements (3 inputs, 1 outputs)"), std::string::npos);
    EXPECT_NE(r.out.find("zones: 250 defined, in use: 1-3, 7"), std::string::npos);
    EXPECT_NE(r.out.find("rule 1 (delay 5): when type 1, panel 1, loop 1, element 2 -> drive type 7, panel 1, range 3-8"),
              std::string::npos);
    EXPECT_TRUE(r.err.empty());
}

TEST_F(CCairnCtlTest, ExportWritesTheFacilityAsJson) {
    const Result r = run({"export", "--json", facility()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.front(), '{');
    EXPECT_NE(r.out.find("\"facility\""), std::string::npos);
    EXPECT_NE(r.out.find("Lobby"), std::string::npos);
}

TEST_F(CCairnCtlTest, BadFilesGetOneLineNamingTheFileAndNoOutput) {
    const std::string full = "<facility><panels></panels></facility>";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {write("trunc.kvg", full.substr(0, 20)), "[342]"},
        {write("other.kvg", "<settings><panels>1</panels></settings>"), "[343]"},
        {(dir / "none.kvg").string(), "[340]"},
        {dir.string(), "[341]"},
    };
    for (const auto& [path, why] : cases)
        for (const char* command : {"show", "export"}) {
            const Result r = std::string(command) == "show" ? run({command, path}) : run({command, "--json", path});
            EXPECT_EQ(r.status, 1);
            EXPECT_TRUE(r.out.empty());
            EXPECT_NE(r.err.find(path), std::string::npos);
            EXPECT_NE(r.err.find(why), std::string::npos) << r.err;
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);
        }
}

TEST_F(CCairnCtlTest, ShowEscapesWhatCouldDriveTheTerminalOrFakeLines) {
    CFacilityManager m;
    const char16_t label[] = {u'L', kStandInEsc, u'[', u'2', u'J', u'\n', u'r', u'u', u'l', u'e', u's', u':', u' ', u'9',
                              u'\r', kStandInBel, 0x9B, 0x202E, u'"', u'\\', u'\u00e9', 0xD83D, 0xDE00, 0};
    FacilityBuilder(m).panel(1, 1, label).details(u"tab\there", u"line\u2028sep", u"");
    const std::string path = (dir / "odd.kvg").string();
    ASSERT_TRUE(CXmlHandler(m).save(ToWide(path.c_str())));
    putRawControls(path);
    const Result r = run({"show", path});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("label \"L\\x1B[2J\\nrules: 9\\r\\x07\\u009B\\u202E\\\"\\\\\u00e9\U0001F600\""),
              std::string::npos) << r.out;
    EXPECT_NE(r.out.find("installer \"tab\\there\", phone \"line\\u2028sep\""), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find('\x1B'), std::string::npos);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 4);  // file, panel, zones, rules: no faked lines
}

TEST_F(CCairnCtlTest, MalformedFilesNameThePosition) {
    const std::string path = write("cut.kvg", "<facility>\n<panels>\n<panel><id>1</id></panels>");
    const Result r = run({"show", path});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("[342]"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(" 3, "), std::string::npos) << r.err;   // line 3
    EXPECT_NE(r.err.find(" 18 "), std::string::npos) << r.err;   // column of the stray end tag
}

}  // namespace
