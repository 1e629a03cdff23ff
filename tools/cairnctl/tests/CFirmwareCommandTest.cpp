#include "cairnctl/CFirmwareCommand.h"
#include "EnvironmentBus.h"
#include "testkit/TempFolder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace {

struct Result {
    int status;
    std::string out, err;
};

// Runs the command against a virtual panel chosen through CAIRN_PANEL, as a user would.
Result firmware(const std::string& panel, const std::string& manifest) {
    ::setenv("CAIRN_PANEL", panel.c_str(), 1);
    std::ostringstream out, err;
    const int status = CFirmwareCommand(out, err, busFromEnvironment()).run(manifest);
    ::unsetenv("CAIRN_PANEL");
    return {status, out.str(), err.str()};
}

std::string sampleManifest() {
    const char* source = std::getenv("CAIRN_SOURCE_DIR");
    return std::string(source ? source : ".") + "/app/panel_link/virtual/samples/update/update.xml";
}

TEST(CFirmwareCommand, UpdatesAPanelInUpdateModeWithAProgressBar) {
    const Result r = firmware("virtual:?mode=update", sampleManifest());
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_NE(std::string::npos, r.out.find("100%"));
    EXPECT_NE(std::string::npos, r.err.find("[276]"));
}

TEST(CFirmwareCommand, PanelInNormalModeFails) {
    const TempFolder folder("cairnctl-fw");
    const Result r = firmware("virtual:" + (folder / "panel.state").string(), sampleManifest());
    EXPECT_EQ(1, r.status);
    EXPECT_NE(std::string::npos, r.err.find("[271]"));
    EXPECT_EQ(std::string::npos, r.err.find("[276]"));
}

}  // namespace
