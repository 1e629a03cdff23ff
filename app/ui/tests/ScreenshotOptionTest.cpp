// cairn --screenshot: the program as an installed copy is checked, run as a separate process
// so that a box waiting for a click would show up as a hang, not pass unnoticed.
#include <QImage>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>

#include "UiTestKit.h"
#include "testkit/TempFolder.h"

namespace {

struct Outcome {
    int status = -1;
    std::string err;
};

Outcome cairn(const TempFolder& folder, const std::string& arguments) {
    const std::string err = (folder / "stderr.txt").string();
    const std::string command = "env QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME='" + folder.str() +
                                "' CAIRN_PANEL='virtual:" + (folder / "panel.state").string() + "' '" +
                                std::getenv("CAIRN_BIN_DIR") + "/cairn' " + arguments + " >/dev/null 2>'" + err + "'";
    Outcome run;
    const int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::ifstream in(err);
    run.err.assign(std::istreambuf_iterator<char>(in), {});
    return run;
}

TEST(ScreenshotOption, SavesTheMainWindowWithTheFileOpen) {
    const TempFolder folder("cairn-shot");
    const std::string picture = (folder / "home.png").string();
    const Outcome run = cairn(folder, "--screenshot '" + picture + "' '" + sampleFacility().toStdString() + "'");
    EXPECT_EQ(0, run.status) << run.err;
    const QImage image(QString::fromStdString(picture));
    ASSERT_FALSE(image.isNull());
    EXPECT_GT(image.width(), 200);
    EXPECT_GT(image.height(), 100);
}

TEST(ScreenshotOption, AFileThatDoesNotOpenEndsWithOneAndSaysWhy) {
    const TempFolder folder("cairn-shot");
    const std::string picture = (folder / "home.png").string();
    const Outcome run = cairn(folder, "--screenshot '" + picture + "' '" + (folder / "absent.kvg").string() + "'");
    EXPECT_EQ(1, run.status);
    EXPECT_NE(run.err.find("absent.kvg"), std::string::npos) << run.err;

    const Outcome unwritable = cairn(folder, "--screenshot '" + (folder / "no/such/folder.png").string() + "'");
    EXPECT_EQ(1, unwritable.status);
    EXPECT_NE(unwritable.err.find("cannot write"), std::string::npos) << unwritable.err;

    EXPECT_EQ(2, cairn(folder, "--screenshot").status);  // no FILE: a usage error
}

}  // namespace
