// The event-log export: files, their order, and every way it can fail.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "TransferRig.h"
#include "forms/CEventLogForm.h"
#include "testkit/TempFolder.h"

namespace {

namespace fs = std::filesystem;

struct LogRig : TransferRig {
    explicit LogRig(CVirtualFaults faults = CVirtualFaults()) : TransferRig(faults), form(handler, prompt) {
        for (int k = 0; k < 4; ++k) form.setPath(k, ToWide((dir / ("log" + std::to_string(k) + ".csv")).c_str()));
    }
    std::string file(int kind) const { return (dir / ("log" + std::to_string(kind) + ".csv")).string(); }
    std::string read(int kind) const {
        std::ifstream in(file(kind), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::vector<int> kindsAsked() const {
        std::vector<int> kinds;
        for (const CVirtualTransfer& t : bus->transcript())
            if (t.out && t.data.size() == 2 && t.data[0] == 0x05) kinds.push_back(t.data[1]);
        return kinds;
    }

    CEventLogForm form;
    TempFolder folder{"cairn-logs"};
    const fs::path dir = folder.path();
};

TEST(CEventLogForm, WritesEachChosenLogInKindOrder) {
    LogRig rig;
    auto& logs = rig.bus->panel().state();
    logs.log(0) = {"2026-01-02;fire;loop 1", std::string(127, 'x')};
    logs.log(3).clear();
    rig.form.toggle(3);
    rig.form.toggle(0);
    rig.bus->setRecording(true);
    EXPECT_EQ(rig.form.accept(), CEventLogForm::Outcome::Exported);
    EXPECT_EQ(rig.kindsAsked(), (std::vector<int>{0, 3}));
    EXPECT_EQ(rig.read(0), "2026-01-02;fire;loop 1\n" + std::string(127, 'x') + "\n");
    EXPECT_EQ(rig.read(3), "\" \";\n");
    EXPECT_FALSE(fs::exists(rig.file(1)));
    EXPECT_EQ(rig.dialogs->dialogs, 2);  // one wait dialog per log
    EXPECT_TRUE(rig.prompt.shown.empty());
    EXPECT_EQ(rig.bus->openHandles(), 0);
}

TEST(CEventLogForm, NothingChosenStillOpensAndReleasesThePanel) {
    LogRig rig;
    EXPECT_EQ(rig.form.accept(), CEventLogForm::Outcome::Exported);
    EXPECT_EQ(rig.bus->opens(), 1);
    EXPECT_EQ(rig.bus->openHandles(), 0);
    EXPECT_TRUE(fs::is_empty(rig.dir));
}

TEST(CEventLogForm, AnExistingFileIsReplacedOnlyAfterYes) {
    LogRig rig;
    std::ofstream(rig.file(1)) << "old\n";
    rig.form.toggle(1);
    rig.form.toggle(2);
    rig.prompt = ScriptedPrompt({false});
    EXPECT_EQ(rig.form.accept(), CEventLogForm::Outcome::Cancelled);
    EXPECT_EQ(rig.prompt.asked, std::vector<int>{328});
    ASSERT_EQ(rig.prompt.arguments.size(), 1u);
    EXPECT_EQ(utf8(rig.prompt.arguments[0]), rig.file(1));
    EXPECT_EQ(rig.bus->opens(), 0);
    EXPECT_EQ(rig.read(1), "old\n");
    EXPECT_FALSE(fs::exists(rig.file(2)));

    rig.prompt = ScriptedPrompt({true});
    EXPECT_EQ(rig.form.accept(), CEventLogForm::Outcome::Exported);
    EXPECT_NE(rig.read(1), "old\n");
}

TEST(CEventLogForm, AnUnreachablePanelWritesNothing) {
    CVirtualFaults absent;
    absent.deviceAbsent = true;
    LogRig rig(absent);
    rig.form.toggle(0);
    EXPECT_EQ(rig.form.accept(), CEventLogForm::Outcome::Unreachable);
    EXPECT_EQ(rig.prompt.shown, std::vector<int>{216});
    EXPECT_TRUE(fs::is_empty(rig.dir));
}

// A count or line request that fails is a failure of that log: message 329,
// and no file that could pass for a complete (or empty) log.
TEST(CEventLogForm, AFailedRequestFailsThatLog) {
    struct Case {
        const char* fault;
        const char* why;
    } cases[] = {{"error@5", "count request (after the page 4 read)"},
                 {"timeout@8", "count reply"},
                 {"error@12", "first line's reply"},
                 {"length-1@15", "second line cut short"}};
    for (const Case& c : cases) {
        CVirtualFaults f;
        ASSERT_TRUE(CVirtualFaults::parse(c.fault, f));
        LogRig rig(f);
        rig.bus->panel().state().log(2) = {"a", "b", "c", "d"};
        std::ofstream(rig.file(2)) << "kept\n";
        rig.form.toggle(2);
        rig.prompt = ScriptedPrompt({true});
        EXPECT_EQ(rig.form.accept(), CEventLogForm::Outcome::SomeFailed) << c.why;
        EXPECT_EQ(rig.prompt.shown, std::vector<int>{329}) << c.why;
        EXPECT_EQ(rig.read(2), "kept\n") << c.why;
        EXPECT_FALSE(fs::exists(rig.file(2) + ".part")) << c.why;
    }
}

// A log whose transfer fails leaves the link failed; the next log starts on a fresh connection
// instead of failing without a word on the bus.
TEST(CEventLogForm, AFailedLogCostsOnlyItself) {
    CVirtualFaults f;
    ASSERT_TRUE(CVirtualFaults::parse("error@40", f));  // inside the long general log
    LogRig rig(f);
    std::vector<std::string> general;
    for (int i = 0; i < 30; ++i) general.push_back("entry " + std::to_string(i));
    rig.bus->panel().state().log(0) = general;
    for (int k = 0; k < 4; ++k) rig.form.toggle(k);
    rig.bus->setRecording(true);
    EXPECT_EQ(rig.form.accept(), CEventLogForm::Outcome::SomeFailed);
    EXPECT_EQ(rig.prompt.shown, std::vector<int>{329});
    ASSERT_EQ(rig.prompt.arguments.size(), 1u);
    EXPECT_EQ(utf8(rig.prompt.arguments[0]), rig.file(0));
    EXPECT_FALSE(fs::exists(rig.file(0)));
    EXPECT_EQ(rig.kindsAsked(), (std::vector<int>{0, 1, 2, 3}));
    for (int k = 1; k < 4; ++k) EXPECT_TRUE(fs::exists(rig.file(k))) << k;
    EXPECT_EQ(rig.read(2).substr(0, 13), "\"01/12/2026\";");
    EXPECT_EQ(rig.read(3), "\" \";\n");
    EXPECT_EQ(rig.bus->opens(), 2);
    EXPECT_EQ(rig.bus->openHandles(), 0);
}

TEST(CEventLogForm, AFileThatCannotBeCreatedFailsOnlyItsLog) {
    LogRig rig;
    rig.form.setPath(0, ToWide((rig.dir / "missing" / "general.csv").c_str()));
    rig.form.toggle(0);
    rig.form.toggle(1);
    EXPECT_EQ(rig.form.accept(), CEventLogForm::Outcome::SomeFailed);
    EXPECT_EQ(rig.prompt.shown, std::vector<int>{329});
    EXPECT_TRUE(fs::exists(rig.file(1)));
}

}  // namespace
