// The panel commands of cairnctl against a virtual panel kept in a state file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cairnctl/CCairnCtl.h"
#include "FacilityBuilder.h"
#include "RunCairnCtl.h"
#include "basalt/KvStringTableFile.h"
#include "basalt/KvUtf.h"
#include "file/CXmlHandler.h"
#include "testkit/TempFolder.h"
#include "virtual_panel/CVirtualPanelState.h"

namespace {

namespace fs = std::filesystem;

using Result = CtlResult;

std::string message(int id) {
    KvWString t;
    return ToUtf8(KvLoadString(id, t).c_str()).c_str();
}

class PanelCommands : public ::testing::Test {
protected:
    void SetUp() override {
        // A copy: transfers keep their history beside the facility file.
        sample = (dir / "sample.kvg").string();
        fs::copy_file(std::string(std::getenv("CAIRN_SOURCE_DIR")) + "/tools/cairnctl/samples/sample.kvg", sample);
        ::setenv("CAIRN_PANEL", ("virtual:" + (dir / "panel.state").string()).c_str(), 1);
        ::unsetenv("CAIRN_PANEL_FAULT");
    }
    void TearDown() override {
        ::unsetenv("CAIRN_PANEL");
        ::unsetenv("CAIRN_PANEL_FAULT");
    }
    Result run(std::vector<std::string> args, const char* fault = nullptr) {
        if (fault)
            ::setenv("CAIRN_PANEL_FAULT", fault, 1);
        else
            ::unsetenv("CAIRN_PANEL_FAULT");
        return runCairnCtl(std::move(args));
    }
    std::string bytes(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    CVirtualPanelState panelState() {
        CVirtualPanelState s;
        std::string error;
        EXPECT_TRUE(s.load((dir / "panel.state").string(), error)) << error;
        return s;
    }

    TempFolder folder{"cairnctl-panel"};
    const fs::path dir = folder.path();
    std::string sample;
};

TEST_F(PanelCommands, UploadDownloadVerifyRoundTrip) {
    const Result up = run({"upload", sample, "--panel", "1"});
    ASSERT_EQ(up.status, 0) << up.err;
    EXPECT_NE(up.err.find(message(480)), std::string::npos);
    EXPECT_NE(up.out.find("and verified"), std::string::npos);
    const std::string copy = (dir / "copy.kvg").string();
    const Result down = run({"download", copy});
    ASSERT_EQ(down.status, 0) << down.err;
    EXPECT_NE(down.err.find(message(264)), std::string::npos);
    EXPECT_EQ(run({"verify", copy, "--panel", "1"}).status, 0);
    const Result same = run({"verify", sample, "--panel", "1"});
    EXPECT_EQ(same.status, 0) << same.out << same.err;
    // Panel 2 of the sample is another configuration: every difference is named.
    const Result other = run({"verify", sample, "--panel", "2"});
    EXPECT_EQ(other.status, 1);
    EXPECT_NE(other.out.find("panel label: the panel has \"Main building\", an upload writes \"Car park\""),
              std::string::npos)
        << other.out;
    EXPECT_NE(other.out.find("panel address"), std::string::npos);
}

TEST_F(PanelCommands, DownloadAsksBeforeReplacingAPanelWithTheSameAddress) {
    ASSERT_EQ(run({"upload", sample, "--panel", "1"}).status, 0);
    const fs::path file = dir / "site.kvg";
    fs::copy_file(sample, file);
    const Result replaced = run({"download", file.string(), "--yes"});
    ASSERT_EQ(replaced.status, 0) << replaced.err;
    EXPECT_NE(replaced.err.find(message(291)), std::string::npos);
    EXPECT_NE(replaced.out.find("panel 1 (address 1)"), std::string::npos) << replaced.out;
    EXPECT_EQ(run({"verify", file.string(), "--panel", "1"}).status, 0);
}

// Faults spread over the whole transfer, and at the device: failure message,
// no success message, exit 1, and the facility file byte for byte as before.
TEST_F(PanelCommands, EveryInjectedFaultFailsAndNeverTouchesTheFile) {
    ASSERT_EQ(run({"upload", sample, "--panel", "1"}).status, 0);
    const fs::path file = dir / "site.kvg";
    fs::copy_file(sample, file);
    const std::string before = bytes(file);
    // A download makes about 1170 bulk transfers, an upload about 590.
    const char* downloadFaults[] = {"absent", "refuse-claim", "error@1", "timeout@4", "short@9", "length@12",
                                    "length-1@300", "error@700", "timeout@1100", "short@1160"};
    for (const char* fault : downloadFaults) {
        const Result down = run({"download", file.string(), "--yes"}, fault);
        EXPECT_EQ(down.status, 1) << fault;
        EXPECT_NE(down.err.find(message(81)), std::string::npos) << fault;
        EXPECT_EQ(down.err.find(message(264)), std::string::npos) << fault;
        EXPECT_EQ(bytes(file), before) << fault;
    }
    const char* uploadFaults[] = {"absent", "refuse-config", "error@2", "timeout@3", "short@5",
                                  "error@100", "short@401", "timeout@580"};
    for (const char* fault : uploadFaults) {
        const Result up = run({"upload", file.string(), "--panel", "2"}, fault);
        EXPECT_EQ(up.status, 1) << fault;
        EXPECT_NE(up.err.find(message(92)), std::string::npos) << fault;
        EXPECT_EQ(up.err.find(message(263)), std::string::npos) << fault;
        EXPECT_EQ(up.err.find(message(480)), std::string::npos) << fault;
    }
    // Past the upload's transfers the fault strikes the read-back: sent, but not verified.
    for (const char* fault : {"error@600", "timeout@900", "short@1100", "length@1170"}) {
        const Result up = run({"upload", file.string(), "--panel", "2"}, fault);
        EXPECT_EQ(up.status, 1) << fault;
        EXPECT_NE(up.err.find(message(482)), std::string::npos) << fault;
        EXPECT_EQ(up.err.find(message(263)), std::string::npos) << fault;
        EXPECT_EQ(up.err.find(message(480)), std::string::npos) << fault;
    }
}

// A page the panel acknowledged but stored wrong, at pages of every table: the upload names the
// difference and fails; without the read-back it could not know.
TEST_F(PanelCommands, UploadCatchesAPageStoredWrong) {
    for (const char* fault : {"corrupt@1", "corrupt@2", "corrupt@40", "corrupt@280", "corrupt@290"}) {
        fs::remove(dir / "panel.state");
        const Result up = run({"upload", sample, "--panel", "1"}, fault);
        EXPECT_EQ(up.status, 1) << fault;
        EXPECT_NE(up.out.find("the panel has"), std::string::npos) << fault << up.out;
        EXPECT_NE(up.err.find(message(481).substr(0, 30)), std::string::npos) << fault;
        EXPECT_NE(up.err.find("the panel differs from panel 1"), std::string::npos) << fault;
        EXPECT_EQ(up.err.find(message(480)), std::string::npos) << fault;
        EXPECT_EQ(up.err.find(message(263)), std::string::npos) << fault;
        // The panel said yes to every page: only the read-back knows.
        EXPECT_EQ(run({"upload", sample, "--panel", "1", "--no-verify"}, fault).status, 0) << fault;
    }
}

// Check errors keep the panel untouched unless forced; a rule naming nothing is then left out
// of the upload, and the upload says so.
TEST_F(PanelCommands, UploadRefusesCheckErrorsUnlessForced) {
    CFacilityManager m;
    FacilityBuilder b(m);
    b.panel(1).loop(1).element(1, 1, 1).element(2, 10, 1).zones(1);
    const RuleSide input{1, 1, 1, 1, 0, 0, 0, kItemElement};
    b.rule(1, 0, input, RuleSide{2, 1, 1, 2, 0, 0, 0, kItemElement});
    b.rule(2, 0, input, RuleSide{});
    const std::string file = (dir / "broken.kvg").string();
    ASSERT_TRUE(CXmlHandler(m).save(ToWide(file.c_str())));

    const Result refused = run({"upload", file, "--panel", "1"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("error: rule 2 of panel 1: its action side names nothing"), std::string::npos)
        << refused.err;
    EXPECT_NE(refused.err.find("nothing was sent"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "panel.state"));  // the panel was never opened

    const Result forced = run({"upload", file, "--panel", "1", "--force"});
    EXPECT_EQ(forced.status, 0) << forced.err;
    EXPECT_NE(forced.err.find(message(483).substr(0, 20)), std::string::npos) << forced.err;
    EXPECT_NE(forced.err.find(": 2 [483]"), std::string::npos) << forced.err;
    EXPECT_NE(forced.err.find(message(480)), std::string::npos);
}

TEST_F(PanelCommands, ClockAndLogs) {
    EXPECT_EQ(run({"clock", "--set", "2099-12-31 23:59:59"}).status, 0);
    EXPECT_EQ(panelState().clock(), (std::array<std::uint8_t, 8>{0, 59, 59, 23, 0, 31, 12, 99}));
    for (const char* bad : {"2099-02-29 00:00:00", "1999-12-31 23:59:59", "2026-13-01 00:00:00", "2026-01-01"})
        EXPECT_EQ(run({"clock", "--set", bad}).status, 2) << bad;
    EXPECT_EQ(run({"clock", "--now"}, "absent").status, 1);

    const std::string general = (dir / "general.csv").string();
    const Result logs = run({"logs", "--general", general, "--test", (dir / "test.csv").string()});
    ASSERT_EQ(logs.status, 0) << logs.err;
    EXPECT_FALSE(bytes(general).empty());
    EXPECT_EQ(run({"logs"}).status, 2);
    // A log that fails half-way leaves the earlier file as it was.
    const std::string kept = bytes(general);
    const Result failed = run({"logs", "--general", general, "--yes"}, "error@5");
    EXPECT_EQ(failed.status, 1);
    EXPECT_NE(failed.err.find(general), std::string::npos) << failed.err;
    EXPECT_EQ(bytes(general), kept);
}

TEST_F(PanelCommands, SysinfoShowsAndSetsWhatThePanelHolds) {
    ASSERT_EQ(run({"upload", sample, "--panel", "1"}).status, 0);
    Result r = run({"sysinfo"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "label: Main building\ninstaller: Northside Fire Services\nphone: +34 931 000 000\n");
    r = run({"sysinfo", "--label", "Caf\xC3\xA9 wing", "--phone", std::string(32, '5')});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "label: Caf\xC3\xA9 wing\ninstaller: Northside Fire Services\nphone: " + std::string(32, '5') + "\n");
    EXPECT_EQ(run({"sysinfo"}).out, r.out);
    // Refused before the panel is touched, never cut.
    const CVirtualPanelState before = panelState();
    for (const auto& args : std::vector<std::vector<std::string>>{{"sysinfo", "--label", std::string(33, 'x')},
                                                                  {"sysinfo", "--installer", "Fire \xE2\x82\xAC Co"},
                                                                  {"sysinfo", "--phone"},
                                                                  {"sysinfo", "extra"}}) {
        r = run(args);
        EXPECT_EQ(r.status, 2) << args[1];
        EXPECT_EQ(r.out, "");
    }
    EXPECT_NE(run({"sysinfo", "--installer", "Fire \xE2\x82\xAC Co"}).err.find("U+20AC"), std::string::npos);
    EXPECT_EQ(panelState().page(5), before.page(5));
    r = run({"sysinfo", "--label", "x"}, "absent");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(message(92)), std::string::npos);
    // A write that does not come back as written is no success.
    r = run({"sysinfo", "--label", "Annex"}, "corrupt@1");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(message(92)), std::string::npos);
}

TEST_F(PanelCommands, UsageErrors) {
    EXPECT_EQ(run({"upload", sample, "--panel", "9"}).status, 1);
    // Every command's usage error ends in the same hint.
    for (const auto& args : std::vector<std::vector<std::string>>{{"upload", sample},
                                                                  {"download"},
                                                                  {"verify", sample, "--panel"},
                                                                  {"clock", "--now", "--set", "2026-01-01 00:00:00"},
                                                                  {"logs", "--bogus", "x"},
                                                                  {"firmware"},
                                                                  {"firmware", "a.xml", "--yes"}}) {
        const Result r = run(args);
        EXPECT_EQ(r.status, 2) << args[0];
        EXPECT_NE(r.err.find("Try 'cairnctl --help'"), std::string::npos) << r.err;
    }
}

}  // namespace
