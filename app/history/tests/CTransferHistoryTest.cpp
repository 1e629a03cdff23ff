// Transfers through a virtual panel entering the history: what each kind keeps, a history that
// cannot be written, and the changes an upload would make since the last one.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

#include "TransferRig.h"
#include "history/CSiteHistory.h"
#include "history/CTransferHistory.h"
#include "testkit/TempFolder.h"

namespace {

namespace fs = std::filesystem;

constexpr int kCannotDropRights = 77;

// Starts `body` in a child process whose exit status is its result (0 to 125). As root an
// unprivileged child first gives up root's rights, so a read-only folder holds for it as it
// does for an installer (kCannotDropRights when that is not allowed).
pid_t startChild(const std::function<int()>& body, bool unprivileged = false) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (unprivileged && ::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(kCannotDropRights);
        ::_exit(body());
    }
    return pid;
}

// The child's result; -1 when it did not start or end normally.
int resultOf(pid_t pid) {
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

class CTransferHistoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        FacilityBuilder b(rig.facility);
        b.panel(1, 5, u"Main hall").details(u"Fire & Co", u"555-0101", u"").zones(3);
        b.loop(1).element(1, 1, 1).element(2, 1, 2).element(9, 7, 3);
        b.rule(4, 30, RuleSide{1, 1, 1, 1, 0, 0, 0, 5}, RuleSide{7, 1, 1, 9, 0, 0, 0, 5});
        b.rule(5, 0, RuleSide{2, 1, 0, 0, 2, 0, 0, 4}, RuleSide{7, 1, 1, 9, 0, 0, 0, 5});
        history.setFile(file());
    }
    KvWString file() const { return ToWide((dir / "site.kvg").c_str()); }
    std::vector<CHistoryRecord> records() const { return CSiteHistory(file()).list(); }

    TempFolder folder{"cairn-transfer-history"};
    const fs::path dir = folder.path();
    TransferRig rig;
    CTransferHistory history{rig.prompt, "test"};
};

TEST_F(CTransferHistoryTest, UploadDownloadAndVerifyEachKeepWhatWentOverTheWire) {
    ASSERT_TRUE(rig.handler.upload(1));
    const std::vector<CCheckFinding> findings(1);
    const std::vector<std::string> none;
    EXPECT_TRUE(history.record(CHistoryRecord::Kind::Upload, rig.handler, 1, {&findings, &none, true}));
    std::vector<std::string> differences;
    ASSERT_TRUE(rig.handler.verify(1, differences));
    EXPECT_TRUE(history.record(CHistoryRecord::Kind::Verify, rig.handler, 1, {nullptr, &differences, true}));
    rig.prompt.choice = {};
    ASSERT_TRUE(rig.handler.downloadAll());  // the same address: replaces panel 1 after asking
    EXPECT_TRUE(history.record(CHistoryRecord::Kind::Download, rig.handler, rig.handler.panel()));

    const std::vector<CHistoryRecord> all = records();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0].kind, CHistoryRecord::Kind::Upload);
    EXPECT_EQ(all[1].kind, CHistoryRecord::Kind::Verify);
    EXPECT_EQ(all[2].kind, CHistoryRecord::Kind::Download);
    EXPECT_TRUE(all[0].checked);
    EXPECT_EQ(all[0].checkErrors(), 1);
    EXPECT_TRUE(all[1].verified && all[1].verifyRead && all[1].differences.empty());
    EXPECT_FALSE(all[2].checked || all[2].verified);
    for (const CHistoryRecord& r : all) {
        EXPECT_EQ(r.panelId, 1);
        EXPECT_EQ(r.panelAddress, 5);
        EXPECT_EQ(r.label, u"Main hall");
        EXPECT_EQ(r.installer, u"Fire & Co");
        EXPECT_EQ(r.program, "test");
    }
    // What was sent, read back and received are one and the same panel.
    const CSiteHistory site(file());
    CFacilityManager sent, read, received;
    ASSERT_TRUE(site.loadSnapshot(all[0], sent) && site.loadSnapshot(all[1], read) && site.loadSnapshot(all[2], received));
    EXPECT_TRUE(CFacilityDiff::compare(sent.facility(), read.facility()).empty());
    EXPECT_TRUE(CFacilityDiff::compare(sent.facility(), received.facility()).empty());
    EXPECT_EQ(sent.getNumberEventsInPanel(), 2);
    EXPECT_EQ(rig.prompt.shown, (std::vector<int>{}));
}

TEST_F(CTransferHistoryTest, AFailedTransferLeavesNoRecord) {
    ASSERT_TRUE(rig.handler.upload(1));
    rig.facility.setPanelAddress(1, 300);  // cannot be sent: nothing goes out
    EXPECT_FALSE(rig.handler.upload(1));
    EXPECT_FALSE(history.record(CHistoryRecord::Kind::Upload, rig.handler, 1));
    EXPECT_TRUE(records().empty());
}

TEST_F(CTransferHistoryTest, AHistoryThatCannotBeWrittenIsReportedOnceAndTheTransfersGoOn) {
    std::ofstream(dir / "site.kvg.history") << "in the way";
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(rig.handler.upload(1));
        EXPECT_FALSE(history.record(CHistoryRecord::Kind::Upload, rig.handler, 1));
        EXPECT_FALSE(history.problem().empty());
    }
    EXPECT_EQ(rig.prompt.shown, (std::vector<int>{CTransferHistory::kNotWrittenText}));
    ASSERT_EQ(rig.prompt.arguments.size(), 1u);
    EXPECT_EQ(rig.prompt.arguments[0], file() + u".history/");
    // Another file's history is another folder: its trouble is told too.
    history.setFile(ToWide((dir / "site.kvg.history/other.kvg").c_str()));
    EXPECT_FALSE(history.record(CHistoryRecord::Kind::Upload, rig.handler, 1));
    EXPECT_EQ(rig.prompt.shown.size(), 2u);
}

// A facility kept in a read-only folder (a write-protected stick, a shared folder): every
// transfer still succeeds, and the history's trouble is told once, not after each transfer.
TEST_F(CTransferHistoryTest, AReadOnlyFolderLeavesTransfersSuccessfulAndIsReportedOnce) {
    using P = fs::perms;
    fs::permissions(dir, P::owner_read | P::owner_exec | P::group_read | P::group_exec | P::others_read |
                             P::others_exec);
    const int failures = resultOf(startChild(
        [&] {
            int failed = 0;
            for (int i = 0; i < 2; ++i) {
                failed += !rig.handler.upload(1);
                failed += history.record(CHistoryRecord::Kind::Upload, rig.handler, 1);
                failed += history.problem().empty();
            }
            std::vector<std::string> differences;
            failed += !rig.handler.verify(1, differences) || !differences.empty();
            failed += history.record(CHistoryRecord::Kind::Verify, rig.handler, 1, {nullptr, &differences, true});
            rig.prompt.choice = {};
            failed += !rig.handler.downloadAll();
            failed += history.record(CHistoryRecord::Kind::Download, rig.handler, rig.handler.panel());
            // Told once, naming the folder.
            failed += 10 * (rig.prompt.shown != std::vector<int>{CTransferHistory::kNotWrittenText});
            failed += 10 * (rig.prompt.arguments != std::vector<KvWString>{file() + u".history/"});
            return failed;
        },
        true));
    if (failures == kCannotDropRights) GTEST_SKIP() << "cannot run without root's rights here";
    EXPECT_EQ(failures, 0);
    EXPECT_FALSE(fs::exists(dir / "site.kvg.history"));
}

// Two programs transferring at once for the same facility file keep every record and snapshot.
TEST_F(CTransferHistoryTest, TwoProcessesRecordingAtOnceLoseNoRecord) {
    constexpr int kEach = 10;
    const auto uploads = [&] {
        for (int i = 0; i < kEach; ++i)
            if (!rig.handler.upload(1) || !history.record(CHistoryRecord::Kind::Upload, rig.handler, 1)) return 1;
        return 0;
    };
    const pid_t first = startChild(uploads);
    const pid_t second = startChild(uploads);
    EXPECT_EQ(resultOf(first), 0);
    EXPECT_EQ(resultOf(second), 0);
    const std::vector<CHistoryRecord> all = records();
    ASSERT_EQ(all.size(), 2u * kEach);
    std::set<std::string> names;
    const CSiteHistory site(file());
    for (const CHistoryRecord& r : all) {
        names.insert(r.name);
        CFacilityManager sent;
        EXPECT_TRUE(site.loadSnapshot(r, sent)) << r.name;
    }
    EXPECT_EQ(names.size(), all.size());
}

TEST_F(CTransferHistoryTest, PendingChangesComeFromTheLastUploadOfThatPanel) {
    CTransferHistory::Pending pending;
    std::string problem;
    ASSERT_TRUE(history.pending(rig.facility, 1, pending, problem)) << problem;
    EXPECT_TRUE(pending.firstUpload);

    ASSERT_TRUE(rig.handler.upload(1));
    ASSERT_TRUE(history.record(CHistoryRecord::Kind::Upload, rig.handler, 1));
    ASSERT_TRUE(history.pending(rig.facility, 1, pending, problem));
    EXPECT_FALSE(pending.firstUpload);
    EXPECT_TRUE(pending.diff.empty()) << pending.diff.lines()[0];

    // Renumbering the rules is nothing a panel could tell; one element's zone is.
    rig.facility.changeEventActionId(4, 40);
    rig.facility.addElementToZone(1, 1, 2, 3);
    ASSERT_TRUE(history.pending(rig.facility, 1, pending, problem));
    ASSERT_EQ(pending.diff.changes().size(), 1u);
    EXPECT_EQ(pending.diff.lines()[0], "panel 1, loop 1, element 2 changed: zone 2 -> 3");

    rig.facility.setPanelAddress(1, 300);
    EXPECT_FALSE(history.pending(rig.facility, 1, pending, problem));
    EXPECT_FALSE(problem.empty());
}

}  // namespace
