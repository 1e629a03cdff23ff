// The site history's folder: entries written whole, listed in order, found by number or name,
// and never lost when two processes write at once.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>

#include "FacilityBuilder.h"
#include "basalt/KvUtf.h"
#include "history/CSiteHistory.h"
#include "model/CFacilityDiff.h"
#include "testkit/TempFolder.h"

namespace {

namespace fs = std::filesystem;

class CSiteHistoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        FacilityBuilder(facility).panel(1, 7, u"Hall \u00E9").loop(1).element(3, 1, 2).zones(3);
    }
    KvWString file() const { return ToWide((dir / "site.kvg").c_str()); }

    CHistoryRecord record(CHistoryRecord::Kind kind, int panel = 1) const {
        CHistoryRecord r;
        r.kind = kind;
        r.panelId = panel;
        r.panelAddress = 7;
        r.label = u"Hall \u00E9";
        return r;
    }

    TempFolder folder{"cairn-history"};
    const fs::path dir = folder.path();
    CFacilityManager facility;
};

TEST_F(CSiteHistoryTest, AnEntryKeepsItsRecordAndSnapshot) {
    CSiteHistory history(file());
    EXPECT_EQ(history.folder(), file() + u".history/");
    EXPECT_TRUE(history.list().empty());
    CHistoryRecord r = record(CHistoryRecord::Kind::Upload);
    r.installer = u"Fire & \"Co\"";
    r.checked = true;
    r.findings.push_back({CCheckFinding::Severity::Warning, CCheckFinding::Item::Zone, 1, 0, 0, 2, 0, "zone-default",
                          "zone 2 still has the default description", {}, {}});
    r.verified = true;
    r.verifyRead = true;
    r.differences = {"loop 1 element 3: zone 2 -> 4"};
    std::string problem;
    ASSERT_TRUE(history.add(r, facility, problem)) << problem;
    EXPECT_FALSE(r.name.empty());
    EXPECT_TRUE(fs::exists(dir / "site.kvg.history" / (r.name + ".kvg")));

    const std::vector<CHistoryRecord> all = history.list();
    ASSERT_EQ(all.size(), 1u);
    const CHistoryRecord& back = all[0];
    EXPECT_EQ(back.name, r.name);
    EXPECT_EQ(back.time, r.time);
    EXPECT_EQ(back.kind, CHistoryRecord::Kind::Upload);
    EXPECT_EQ(back.label, r.label);
    EXPECT_EQ(back.installer, r.installer);
    EXPECT_EQ(back.panelAddress, 7);
    ASSERT_EQ(back.findings.size(), 1u);
    EXPECT_EQ(back.checkWarnings(), 1);
    EXPECT_EQ(back.findings[0].code, "zone-default");
    EXPECT_TRUE(back.verified && back.verifyRead);
    EXPECT_EQ(back.differences, r.differences);

    CFacilityManager snapshot;
    ASSERT_TRUE(history.loadSnapshot(back, snapshot));
    EXPECT_TRUE(CFacilityDiff::compare(facility.facility(), snapshot.facility()).empty());
}

TEST_F(CSiteHistoryTest, EntriesAreFoundByNumberLastOrNameAndUploadsByPanel) {
    CSiteHistory history(file());
    std::string problem;
    std::vector<std::string> names;
    for (auto [kind, panel] : {std::pair{CHistoryRecord::Kind::Upload, 1}, {CHistoryRecord::Kind::Upload, 2},
                               {CHistoryRecord::Kind::Download, 1}}) {
        CHistoryRecord r = record(kind, panel);
        ASSERT_TRUE(history.add(r, facility, problem)) << problem;
        names.push_back(r.name);
    }
    CHistoryRecord found;
    ASSERT_TRUE(history.find("2", found));
    EXPECT_EQ(found.name, names[1]);
    ASSERT_TRUE(history.find("last", found));
    EXPECT_EQ(found.name, names[2]);
    ASSERT_TRUE(history.find(names[0], found));
    EXPECT_EQ(found.panelId, 1);
    for (const char* bad : {"0", "4", "-1", "", "99999999999999999999", "nothing"}) EXPECT_FALSE(history.find(bad, found)) << bad;
    // The download of panel 1 came later, but only an upload counts.
    ASSERT_TRUE(history.lastUpload(1, found));
    EXPECT_EQ(found.name, names[0]);
    EXPECT_FALSE(history.lastUpload(3, found));
}

TEST_F(CSiteHistoryTest, OnlyWholeRecordsAreListed) {
    CSiteHistory history(file());
    CHistoryRecord r = record(CHistoryRecord::Kind::Verify);
    std::string problem;
    ASSERT_TRUE(history.add(r, facility, problem)) << problem;
    const fs::path folder = dir / "site.kvg.history";
    std::ofstream(folder / "20000101T000000000Z-upload-CUT.json") << "{\"kind\": \"upl";  // cut short
    std::ofstream(folder / "20000101T000000000Z-upload-ODD.json") << "{\"kind\": \"replace\", \"time\": \"x\"}";
    std::ofstream(folder / "20000101T000000000Z-upload-LONE.kvg") << "<?xml";  // a snapshot without a record
    fs::create_directory(folder / "folder.json");
    const std::vector<CHistoryRecord> all = history.list();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].name, r.name);
}

TEST_F(CSiteHistoryTest, AFolderThatCannotBeMadeFailsWithAReason) {
    // A file where the folder should be stops even a privileged user, unlike a read-only mode.
    std::ofstream(dir / "site.kvg.history") << "in the way";
    CSiteHistory history(file());
    CHistoryRecord r = record(CHistoryRecord::Kind::Upload);
    std::string problem;
    EXPECT_FALSE(history.add(r, facility, problem));
    EXPECT_NE(problem.find("folder"), std::string::npos) << problem;
    EXPECT_TRUE(history.list().empty());
}

TEST_F(CSiteHistoryTest, AFacilityWithoutAFileKeepsItsHistoryInTheUserDataFolder) {
    const char* old = std::getenv("XDG_DATA_HOME");
    const std::optional<std::string> saved = old ? std::optional<std::string>(old) : std::nullopt;
    ::setenv("XDG_DATA_HOME", dir.c_str(), 1);
    CSiteHistory history(KvWString{});
    EXPECT_EQ(history.folder(), ToWide((dir / "cairn/history/").c_str()));
    CHistoryRecord r = record(CHistoryRecord::Kind::Download);
    std::string problem;
    EXPECT_TRUE(history.add(r, facility, problem)) << problem;
    EXPECT_EQ(history.list().size(), 1u);
    if (saved) ::setenv("XDG_DATA_HOME", saved->c_str(), 1); else ::unsetenv("XDG_DATA_HOME");
}

TEST_F(CSiteHistoryTest, TwoProcessesWritingAtOnceLoseNoRecord) {
    constexpr int kEach = 25;
    std::vector<pid_t> children;
    for (int child = 0; child < 2; ++child) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            CSiteHistory history(file());
            std::string problem;
            for (int i = 0; i < kEach; ++i) {
                CHistoryRecord r = record(CHistoryRecord::Kind::Upload, child + 1);
                r.time = "2026-12-07T15:00:00.000Z";  // the same instant in both, the worst case for names
                if (!history.add(r, facility, problem)) ::_exit(1);
            }
            ::_exit(0);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const std::vector<CHistoryRecord> all = CSiteHistory(file()).list();
    ASSERT_EQ(all.size(), 2u * kEach);
    std::set<std::string> names;
    int fromFirst = 0;
    for (const CHistoryRecord& r : all) {
        names.insert(r.name);
        fromFirst += r.panelId == 1;
    }
    EXPECT_EQ(names.size(), all.size());
    EXPECT_EQ(fromFirst, kEach);
}

}  // namespace
