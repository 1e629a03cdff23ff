#include "cairnctl/CCairnCtl.h"
#include "RawControls.h"
#include "RunCairnCtl.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "FacilityBuilder.h"
#include "basalt/KvUtf.h"
#include "file/CXmlHandler.h"
#include "testkit/TempFolder.h"

namespace {

namespace fs = std::filesystem;

using Result = CtlResult;

class CtlDiffTest : public ::testing::Test {
protected:
    void SetUp() override {
        CFacilityManager m;
        site(m);
        a = save(m, "a.kvg");
    }
    static void site(CFacilityManager& m) {
        FacilityBuilder(m).panel(1, 4, u"Lobby").loop(1).element(1, 1, 1).element(2, 1, 2).zones(3)
            .panel(2).loop(1).element(5, 1, 1)
            .rule(1, 5, RuleSide{1, 1, 1, 2, 0, 0, 0, 5}, RuleSide{7, 1, 0, 0, 0, 3, 8, 6});
    }
    std::string save(CFacilityManager& m, const char* name) {
        const std::string path = (dir / name).string();
        EXPECT_TRUE(CXmlHandler(m).save(ToWide(path.c_str())));
        return path;
    }
    static Result run(std::vector<std::string> args) {
        args.insert(args.begin(), "diff");
        return runCairnCtl(std::move(args));
    }

    TempFolder folder{"cairnctl-diff"};
    const fs::path dir = folder.path();
    std::string a;
};

TEST_F(CtlDiffTest, EqualFilesExitZeroWithNothingToSay) {
    const Result r = run({a, a});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(run({a, a, "--json"}).out, "{\"equal\": true,\"changes\": []}\n");
}

TEST_F(CtlDiffTest, DifferencesExitOneInWordsOrJson) {
    CFacilityManager m;
    site(m);
    m.addElementToZone(1, 1, 2, 3);
    const char16_t hall[] = {u'H', u'a', u'l', u'l', kStandInEsc, u'[', u'2', u'J', 0};
    m.setPanelLabel(2, hall);
    const std::string b = save(m, "b.kvg");
    putRawControls(b);
    Result r = run({a, b});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "panel 1, loop 1, element 2 changed: zone 2 -> 3\n"
                     "panel 2 changed: label \"Panel 2\" -> \"Hall\\x1B[2J\"\n");
    r = run({a, b, "--panel", "1", "--json"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("\"equal\": false"), std::string::npos);
    EXPECT_NE(r.out.find("\"element\": 2"), std::string::npos);
    EXPECT_EQ(r.out.find("Hall"), std::string::npos);
    // The other way round the change reads backwards.
    EXPECT_EQ(run({b, a, "--panel", "1"}).out, "panel 1, loop 1, element 2 changed: zone 3 -> 2\n");
}

TEST_F(CtlDiffTest, BadInputExitsTwoWithoutOutput) {
    const std::string none = (dir / "none.kvg").string();
    for (const auto& args : std::vector<std::vector<std::string>>{
             {}, {a}, {a, a, a}, {a, a, "--panel"}, {a, a, "--panel", "x"}, {a, a, "--panel", "0"},
             {a, a, "--panel", "9"}, {a, a, "--xml"}, {a, none}, {none, a}}) {
        const Result r = run(args);
        EXPECT_EQ(r.status, 2) << (args.empty() ? "" : args.back());
        EXPECT_TRUE(r.out.empty());
        EXPECT_FALSE(r.err.empty());
    }
    EXPECT_NE(run({a, none}).err.find(none), std::string::npos);
}

}  // namespace
