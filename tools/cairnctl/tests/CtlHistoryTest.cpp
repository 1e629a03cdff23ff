// cairnctl's site history: every transfer of the commands recorded, listed and compared, and
// download --compare, all through a virtual panel kept in a state file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "FacilityBuilder.h"
#include "RunCairnCtl.h"
#include "basalt/KvUtf.h"
#include "file/CXmlHandler.h"
#include "history/CSiteHistory.h"
#include "testkit/TempFolder.h"

namespace {

namespace fs = std::filesystem;

std::size_t count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

class CtlHistoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        site = (dir / "site.kvg").string();
        fs::copy_file(std::string(std::getenv("CAIRN_SOURCE_DIR")) + "/tools/cairnctl/samples/sample.kvg", site);
        ::setenv("CAIRN_PANEL", ("virtual:" + (dir / "panel.state").string()).c_str(), 1);
        ::unsetenv("CAIRN_PANEL_FAULT");
    }
    void TearDown() override { ::unsetenv("CAIRN_PANEL"); }
    std::string bytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // The sample with element 2 of panel 1's loop 1 moved from zone 1 to zone 3.
    std::string changedCopy() {
        std::string text = bytes(site);
        const std::string from = "<description>Element 2</description><zone>1</zone>";
        const std::size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos);
        if (at != std::string::npos) text.replace(at, from.size(), "<description>Element 2</description><zone>3</zone>");
        const std::string path = (dir / "changed.kvg").string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    TempFolder folder{"cairnctl-history"};
    const fs::path dir = folder.path();
    std::string site;
};

TEST_F(CtlHistoryTest, EveryTransferIsListedAndEntriesCompare) {
    ASSERT_EQ(runCairnCtl({"upload", site, "--panel", "1"}).status, 0);
    ASSERT_EQ(runCairnCtl({"verify", site, "--panel", "2"}).status, 1);  // panel 2 is not on the panel
    ASSERT_EQ(runCairnCtl({"download", site, "--yes"}).status, 0);

    const CtlResult list = runCairnCtl({"history", site});
    ASSERT_EQ(list.status, 0) << list.err;
    EXPECT_EQ(count(list.out, "\n"), 3u) << list.out;
    EXPECT_NE(list.out.find("1  "), std::string::npos);
    EXPECT_NE(list.out.find("upload panel 1 (address 1) \"Main building\""), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("verify panel 2 (address 1)"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("differences"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("download panel 1"), std::string::npos) << list.out;

    const CtlResult shown = runCairnCtl({"history", site, "--show", "2"});
    ASSERT_EQ(shown.status, 0);
    EXPECT_NE(shown.out.find("entry 2: verify"), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("  panel label: the panel has"), std::string::npos) << shown.out;
    const CtlResult json = runCairnCtl({"history", site, "--show", "last", "--json"});
    EXPECT_NE(json.out.find("\"kind\": \"download\""), std::string::npos) << json.out;
    EXPECT_NE(json.out.find("\"number\": 3"), std::string::npos) << json.out;
    EXPECT_EQ(runCairnCtl({"history", site, "--show", "4"}).status, 1);

    // What was sent is what came back; the file itself was the same before the download.
    EXPECT_EQ(runCairnCtl({"diff", site + "@1", site + "@3"}).status, 0);
    EXPECT_EQ(runCairnCtl({"diff", site + "@1", site + "@last", "--panel", "1"}).status, 0);
    const CtlResult changed = runCairnCtl({"diff", site + "@1", changedCopy(), "--panel", "1"});
    EXPECT_EQ(changed.status, 1);
    EXPECT_EQ(changed.out, "panel 1, loop 1, element 2 changed: zone 1 -> 3\n");
    const CtlResult missing = runCairnCtl({"diff", site + "@9", site});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("no history entry '9'"), std::string::npos) << missing.err;
}

TEST_F(CtlHistoryTest, AnEntryAgainstAFileAndThePendingUploadShowOnlyWhatAPanelCouldTell) {
    // Three zones only and a label longer than the panel keeps: as sent, the panel has 250
    // zones and a shorter label, neither of which an upload would change.
    CFacilityManager m;
    FacilityBuilder(m).panel(1, 3, u"A label far longer than any panel shows").loop(1).element(1, 1, 1).element(2, 1, 2)
        .zones(3).rule(7, 5, RuleSide{1, 1, 1, 1, 0, 0, 0, 5}, RuleSide{2, 1, 0, 0, 3, 0, 0, 4});
    ASSERT_TRUE(CXmlHandler(m).save(ToWide(site.c_str())));
    const CtlResult first = runCairnCtl({"history", site, "--pending", "1"});
    EXPECT_EQ(first.status, 1);
    EXPECT_EQ(first.out.substr(0, first.out.find('\n')), "first upload of panel 1");
    ASSERT_EQ(runCairnCtl({"upload", site, "--panel", "1"}).status, 0);

    const CtlResult same = runCairnCtl({"diff", site + "@last", site});
    EXPECT_EQ(same.status, 0) << same.out;
    const CtlResult none = runCairnCtl({"history", site, "--pending", "1"});
    EXPECT_EQ(none.status, 0) << none.out;
    EXPECT_EQ(none.out.find("no changes since the last upload of panel 1 ("), 0u) << none.out;

    // A renumbered rule is still no change; a moved element is.
    m.changeEventActionId(7, 70);
    m.addElementToZone(1, 1, 2, 3);
    ASSERT_TRUE(CXmlHandler(m).save(ToWide(site.c_str())));
    const CtlResult moved = runCairnCtl({"history", site, "--pending", "1"});
    EXPECT_EQ(moved.status, 1);
    EXPECT_NE(moved.out.find("\npanel 1, loop 1, element 2 changed: zone 2 -> 3\n"), std::string::npos) << moved.out;
    EXPECT_EQ(count(moved.out, "\n"), 2u) << moved.out;
    const CtlResult diff = runCairnCtl({"diff", site + "@1", site, "--json"});
    EXPECT_EQ(diff.status, 1);
    EXPECT_EQ(count(diff.out, "\"subject\""), 1u) << diff.out;
    EXPECT_EQ(runCairnCtl({"history", site, "--pending", "2"}).status, 2);
    EXPECT_EQ(runCairnCtl({"history", site, "--pending", "1", "--show", "1"}).status, 2);
}

TEST_F(CtlHistoryTest, DownloadCompareShowsThePanelAgainstTheFileAndLeavesItAlone) {
    ASSERT_EQ(runCairnCtl({"upload", site, "--panel", "1"}).status, 0);
    const std::string before = bytes(site);
    const CtlResult same = runCairnCtl({"download", "--compare", site, "--panel", "1"});
    EXPECT_EQ(same.status, 0) << same.err;
    EXPECT_EQ(same.out, "the panel holds exactly panel 1 of " + site + "\n");

    const std::string changed = changedCopy();
    const CtlResult differs = runCairnCtl({"download", changed, "--compare", "--panel", "1", "--json"});
    EXPECT_EQ(differs.status, 1);
    EXPECT_NE(differs.out.find("\"equal\": false"), std::string::npos) << differs.out;
    EXPECT_NE(differs.out.find("\"zone\""), std::string::npos) << differs.out;
    EXPECT_EQ(bytes(site), before);
    // The readings are kept, each with the file it was compared with.
    EXPECT_EQ(CSiteHistory(ToWide(site.c_str())).list().size(), 2u);
    EXPECT_EQ(CSiteHistory(ToWide(changed.c_str())).list().size(), 1u);
}

TEST_F(CtlHistoryTest, AnUnwritableHistoryNeverFailsTheTransfer) {
    std::ofstream(dir / "site.kvg.history") << "in the way";
    const CtlResult up = runCairnCtl({"upload", site, "--panel", "1"});
    EXPECT_EQ(up.status, 0) << up.err;
    EXPECT_EQ(count(up.err, "[500]"), 1u) << up.err;
    EXPECT_NE(up.err.find("site.kvg.history/"), std::string::npos) << up.err;
    EXPECT_EQ(runCairnCtl({"verify", site, "--panel", "1"}).status, 0);
    EXPECT_EQ(runCairnCtl({"download", site, "--yes"}).status, 0);
    const CtlResult list = runCairnCtl({"history", site});
    EXPECT_EQ(list.status, 0);
    EXPECT_TRUE(list.out.empty());
    EXPECT_NE(list.err.find("no history yet"), std::string::npos);
}

TEST_F(CtlHistoryTest, UsageAndFailures) {
    for (const auto& args : std::vector<std::vector<std::string>>{{"history"},
                                                                  {"history", site, site},
                                                                  {"history", site, "--show"},
                                                                  {"download", "--compare", site},
                                                                  {"download", "--compare", "--panel", "1"}}) {
        const CtlResult r = runCairnCtl(args);
        EXPECT_EQ(r.status, 2) << args.size();
        EXPECT_NE(r.err.find("Try 'cairnctl --help'"), std::string::npos) << r.err;
    }
    EXPECT_EQ(runCairnCtl({"download", "--compare", site, "--panel", "9"}).status, 2);
    EXPECT_EQ(runCairnCtl({"download", "--compare", (dir / "none.kvg").string(), "--panel", "1"}).status, 2);
    ::setenv("CAIRN_PANEL_FAULT", "absent", 1);
    const CtlResult absent = runCairnCtl({"download", "--compare", site, "--panel", "1"});
    ::unsetenv("CAIRN_PANEL_FAULT");
    EXPECT_EQ(absent.status, 1);
    EXPECT_TRUE(absent.out.empty());
    EXPECT_FALSE(fs::exists(dir / "site.kvg.history"));
}

}  // namespace
