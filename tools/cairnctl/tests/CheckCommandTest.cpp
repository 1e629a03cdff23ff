#include "RunCairnCtl.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>
#include <vector>

#include "FacilityBuilder.h"
#include "basalt/KvUtf.h"
#include "cairnctl/CCairnCtl.h"
#include "file/CXmlHandler.h"
#include "model/CEventActionSide.h"
#include "testkit/TempFolder.h"

namespace {

namespace fs = std::filesystem;

using Result = CtlResult;

Result run(std::vector<std::string> args) { return runCairnCtl(std::move(args)); }

class CheckCommandTest : public ::testing::Test {
protected:
    // Panel 1: input 1 drives output 2 (zone 1); `broken` adds a rule whose action names a
    // missing element, and panel 2 has an input that raises no rule.
    std::string save(bool broken) {
        CFacilityManager m;
        FacilityBuilder b(m);
        b.panel(1).loop(1).element(1, 1, 1).element(2, 1, 1).zones(1);
        m.setElementGenericType(1, 1, 1, 1);
        m.setElementGenericType(1, 1, 2, 8);
        const RuleSide input{1, 1, 1, 1, 0, 0, 0, kItemElement};
        b.rule(1, 0, input, RuleSide{2, 1, 1, 2, 0, 0, 0, kItemElement});
        b.panel(2).loop(1).element(1, 1, 1).zones(1);
        m.setElementGenericType(2, 1, 1, 1);
        if (broken) b.rule(2, 0, input, RuleSide{2, 1, 1, 99, 0, 0, 0, kItemElement});
        const std::string path = (dir / (broken ? "broken.kvg" : "sound.kvg")).string();
        EXPECT_TRUE(CXmlHandler(m).save(ToWide(path.c_str())));
        return path;
    }

    TempFolder folder{"cairnctl-check"};
    const fs::path dir = folder.path();
};

}  // namespace

TEST_F(CheckCommandTest, WarningsAloneExitZero) {
    const std::string path = save(false);
    const Result r = run({"check", path});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "warning: loop 1 element 1 of panel 2: this input raises no rule\n" + path +
                         ": no errors, 1 warning\n");
    EXPECT_EQ(r.err, "");
    // Panel 1's upload alone has nothing to say.
    EXPECT_EQ(run({"check", path, "--panel", "1"}).out, path + ": no errors, 0 warnings\n");
}

TEST_F(CheckCommandTest, ErrorsExitOneInWordsAndJson) {
    const std::string path = save(true);
    Result r = run({"check", path, "--panel", "1"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "error: rule 2 of panel 1: its action side names element 99 on loop 1 of panel 1, which does "
                     "not exist\n");
    EXPECT_EQ(r.err, "cairnctl: " + path + " has 1 error that block an upload\n");
    r = run({"check", "--json", path});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out,
              "{\"errors\":1,\"warnings\":1,\"findings\":["
              "{\"severity\":\"error\",\"item\":\"rule\",\"panel\":1,\"loop\":0,\"element\":0,\"zone\":0,\"rule\":2,"
              "\"code\":\"rule-names-missing\",\"text\":\"its action side names element 99 on loop 1 of panel 1, "
              "which does not exist\"},"
              "{\"severity\":\"warning\",\"item\":\"element\",\"panel\":2,\"loop\":1,\"element\":1,\"zone\":0,"
              "\"rule\":0,\"code\":\"input-without-rule\",\"text\":\"this input raises no rule\"}]}\n");
}

TEST_F(CheckCommandTest, BadInputExitsTwoSoItIsNotTakenForErrorsFound) {
    const std::string path = save(false);
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"check"}, {"check", path, "--frob"}, {"check", path, "--panel"}, {"check", path, "--panel", "7"},
             {"check", path, "--panel", "1x"}, {"check", (dir / "missing.kvg").string()}}) {
        const Result r = run(args);
        EXPECT_EQ(r.status, 2) << ::testing::PrintToString(args);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("cairnctl: "), std::string::npos);
    }
}
