#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "basalt/KvUtf.h"
#include "panel_link/CFirmwareUpdater.h"
#include "TestWaitDialog.h"
#include "UpdateSet.h"
#include "virtual_panel/CVirtualUsbBus.h"

namespace {

class RecordingPrompt : public IUpdatePrompt {
public:
    void showMessage(int textId) override { messages.push_back(textId); }
    bool askYesNo(int) override { return false; }
    void showText(const KvWString& text) override { texts.push_back(ToUtf8(text.c_str()).c_str()); }
    bool shown(int id) const { return std::find(messages.begin(), messages.end(), id) != messages.end(); }

    std::vector<int> messages;
    std::vector<std::string> texts;
};

class RecordingDialog : public IWaitDialog {
public:
    void SetText(const KvWString&) override { ++texts; }
    void SetProgress(int position, int range) override { progressed = progressed || (range > 0 && position == range); }
    bool IsOK() const override { return true; }
    void Done() override { ++done; }

    int texts = 0;
    bool progressed = false;
    int done = 0;
};

using Outcome = CFirmwareUpdater::CardOutcome;

class FirmwareUpdate : public ::testing::Test {
protected:
    void SetUp() override { bus->panel().setMode(CVirtualPanel::Mode::Boot); }

    bool update(const std::string& faults = "") {
        EXPECT_TRUE(CVirtualFaults::parse(faults, bus->faults())) << faults;
        CFirmwareUpdater updater(prompt, bus);
        const bool ok = updater.run(set.manifestPath(), dialog);
        outcomes = updater.cardOutcomes();
        return ok;
    }
    // On a fresh panel in update mode: the update fails and never claims success.
    void updateThatFails(const std::string& faults) {
        bus = std::make_shared<CVirtualUsbBus>();
        bus->panel().setMode(CVirtualPanel::Mode::Boot);
        prompt = RecordingPrompt();
        EXPECT_FALSE(update(faults));
        EXPECT_FALSE(prompt.shown(CFirmwareUpdater::kSuccess));
    }
    CVirtualBootLoader& board() { return bus->panel().bootLoader(); }
    CFirmwareImage expectedImage(CFirmwareImage image, const char* file) {
        EXPECT_TRUE(image.load(set.path(file)));
        return image;
    }
    std::vector<std::uint8_t> flashWindow(std::uint32_t from, std::uint32_t to) {
        return {board().flash().begin() + from, board().flash().begin() + to + 1};
    }
    std::vector<std::uint8_t> cardWindow(int card) {
        const auto& f = board().card(card).flash();
        return {f.begin() + 0x2800, f.begin() + 0xF800};
    }
    bool boardUntouched() {
        return std::all_of(board().flash().begin(), board().flash().end(), [](std::uint8_t b) { return b == 0x5A; });
    }
    bool languageUntouched() { return board().languageBlock(0x20) == std::vector<std::uint8_t>(256, 0xFF); }
    bool cardUntouched(int card) { return board().card(card).flash()[0x2800] == 0xA5 && !board().card(card).inUpdateMode(); }

    UpdateSet set;
    std::shared_ptr<CVirtualUsbBus> bus = std::make_shared<CVirtualUsbBus>();
    RecordingPrompt prompt;
    RecordingDialog dialog;
    std::array<Outcome, 4> outcomes{};
};

TEST_F(FirmwareUpdate, AllThreeStagesLeaveTheImagesInFlash) {
    ASSERT_TRUE(update());
    EXPECT_EQ(std::vector<int>{CFirmwareUpdater::kSuccess}, prompt.messages);
    EXPECT_TRUE(dialog.progressed);

    // Main board: the whole window is the image with its checksum; the boot loader is untouched.
    const CFirmwareImage boardImage = expectedImage(CFirmwareImage::mainBoardFirmware(), "main.S37");
    EXPECT_EQ(boardImage.data(), flashWindow(0x4000, 0x3FFFF));
    EXPECT_TRUE(std::equal(set.board().begin(), set.board().begin() + 0x200, board().flash().begin() + 0x4000));
    EXPECT_EQ(0x5A, board().flash()[0x3FFF]);

    // Loop cards: every card holds the image with vectors and checksum, and runs it again.
    const CFirmwareImage cardImage = expectedImage(CFirmwareImage::loopCardFirmware(), "loop.S19");
    const std::vector<std::uint8_t> expectedCard(cardImage.data().begin(), cardImage.data().begin() + 0xD000);
    for (int card = 0; card < 4; ++card) {
        EXPECT_EQ(Outcome::Updated, outcomes[card]);
        EXPECT_EQ(expectedCard, cardWindow(card)) << "card " << card;
        EXPECT_EQ(0xA5, board().card(card).flash()[0xF800]) << "the card's boot loader must stay";
        EXPECT_FALSE(board().card(card).inUpdateMode());
        EXPECT_EQ(1, board().card(card).firmwareStarts());
    }

    // Language: blocks 0x20-0x11F from the file, block 1 from its end, keeping the panel's byte 4.
    for (int b = 0; b < 0x100; ++b)
        ASSERT_TRUE(std::equal(set.language().begin() + b * 256, set.language().begin() + (b + 1) * 256,
                               board().languageBlock(0x20 + b).begin()))
            << "block " << b;
    std::vector<std::uint8_t> header(set.language().begin() + 0x10000, set.language().end());
    header[4] = CVirtualBootLoader::kFactorySetting;
    EXPECT_EQ(header, board().languageBlock(1));
}

TEST_F(FirmwareUpdate, ManifestWithoutLoopRunsBoardAndLanguageOnly) {
    set.manifest("main.S37", "", "lang.bin");
    ASSERT_TRUE(update());
    EXPECT_EQ(std::vector<int>{CFirmwareUpdater::kSuccess}, prompt.messages);
    EXPECT_FALSE(boardUntouched());
    EXPECT_FALSE(languageUntouched());
    for (int card = 0; card < 4; ++card) EXPECT_TRUE(cardUntouched(card));
    EXPECT_EQ(2, bus->opens());  // one connection per stage
}

TEST_F(FirmwareUpdate, MissingOrUnusableFilesStopBeforeAnythingIsSent) {
    // Applets are needed whatever the manifest names.
    set.manifest("", "", "lang.bin");
    set.remove("pipe_loop.S19");
    EXPECT_FALSE(update());
    ASSERT_EQ(1u, prompt.texts.size());
    EXPECT_EQ("No se encuentra el fichero '" + std::string(ToUtf8(set.path("pipe_loop.S19").c_str()).c_str()) + "'",
              prompt.texts[0]);
    EXPECT_EQ(0, bus->opens());

    struct Case {
        const char* file;
        std::string content;
        int message;
    } cases[] = {
        {"main.S37", "S30900004000010203F0\n", CFirmwareUpdater::kBoardImageFailed},  // wrong checksum
        {"main.S37", "S00600004844521B\n", CFirmwareUpdater::kBoardImageFailed},      // nothing in the window
        {"cf_flash.S19", "S3", CFirmwareUpdater::kAppletFailed},
        {"lang.bin", std::string(0x100FF, 'x'), CFirmwareUpdater::kLanguageFailed},  // one byte short
    };
    for (const Case& c : cases) {
        UpdateSet fresh;
        fresh.write(c.file, c.content);
        RecordingPrompt p;
        auto b = std::make_shared<CVirtualUsbBus>();
        b->panel().setMode(CVirtualPanel::Mode::Boot);
        CFirmwareUpdater updater(p, b);
        EXPECT_FALSE(updater.run(fresh.manifestPath(), dialog)) << c.file;
        EXPECT_EQ(std::vector<int>{c.message}, p.messages) << c.file;
        EXPECT_EQ(0, b->opens()) << c.file;
    }
}

TEST_F(FirmwareUpdate, ManifestProblemsAreReportedByNumber) {
    const std::pair<std::string, int> cases[] = {
        {"", CFirmwareUpdater::kNoManifest},
        {"<update><panel>main.S37</panel>", CFirmwareUpdater::kManifestUnreadable},
        {"<update><panel></panel></update>", CFirmwareUpdater::kNothingToUpdate},
    };
    for (const auto& [xml, message] : cases) {
        RecordingPrompt p;
        CFirmwareUpdater updater(p, bus);
        set.write("update.xml", xml);
        EXPECT_FALSE(updater.prepare(xml.empty() ? KvWString() : set.manifestPath()));
        EXPECT_EQ(std::vector<int>{message}, p.messages) << xml;
    }
    EXPECT_EQ(0, bus->opens());
}

TEST_F(FirmwareUpdate, RunsBehindTheModalDialogAndEndsIt) {
    CFirmwareUpdater updater(prompt, bus);
    ASSERT_TRUE(updater.prepare(set.manifestPath()));
    auto log = std::make_shared<TestWaitDialog::Log>();
    TestWaitDialog modal(log);
    EXPECT_TRUE(updater.update(modal));  // returns only once the worker has ended the dialog
    EXPECT_EQ(std::vector<int>{CFirmwareUpdater::kSuccess}, prompt.messages);
    EXPECT_GT(log->texts.size(), 1u);
    EXPECT_GT(log->progressSteps, 0);
}

TEST_F(FirmwareUpdate, PanelInNormalModeIsNotTouched) {
    bus->panel().setMode(CVirtualPanel::Mode::Normal);
    EXPECT_FALSE(update());
    EXPECT_EQ(std::vector<int>{CFirmwareUpdater::kNotInUpdateMode}, prompt.messages);
    EXPECT_TRUE(boardUntouched());
}

// The panel's own failures: the update must name them and never claim success.
TEST_F(FirmwareUpdate, PanelFaultsEndWithTheirMessage) {
    struct Case {
        const char* faults;
        int message;  // 0: none, only the report text
        std::array<Outcome, 4> cards;
        const char* report;  // the start of the report text; null: none
    } cases[] = {
        {"absent", CFirmwareUpdater::kCannotConnect, {}, nullptr},
        {"refuse-claim", CFirmwareUpdater::kCannotConnect, {}, nullptr},
        {"card-silent:1,card-silent:2,card-silent:3,card-silent:4", CFirmwareUpdater::kNoCardUpdated,
         {Outcome::NoAnswer, Outcome::NoAnswer, Outcome::NoAnswer, Outcome::NoAnswer}, nullptr},
        {"card-silent:3", 0, {Outcome::Updated, Outcome::Updated, Outcome::NoAnswer, Outcome::Updated},
         "Loop cards not updated: 3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.faults);
        updateThatFails(c.faults);
        EXPECT_EQ(c.cards, outcomes);
        EXPECT_EQ(c.message ? std::vector<int>{c.message} : std::vector<int>(), prompt.messages);
        EXPECT_EQ(c.report ? std::vector<std::string>{c.report} : std::vector<std::string>(), prompt.texts);
    }
}

// A status other than 0 stops nothing: the update goes on to the end, and every status is
// shown there, part by part; a card that answered one is never counted as updated.
TEST_F(FirmwareUpdate, StatusesAreShownAtTheEndAndNeverPassForSuccess) {
    struct Case {
        const char* faults;
        int message;
        std::array<Outcome, 4> cards;
        std::vector<std::string> lines;  // of the one report text, in order
    } cases[] = {
        {"card-erase:2", 0, {Outcome::Updated, Outcome::Status, Outcome::Updated, Outcome::Updated},
         {"Loop cards not updated: 2", "Statuses other than 0:", "Loop card 2: erasing 20-123 (3); writing "}},
        {"card-program:4,card-erase:1", 0, {Outcome::Status, Outcome::Updated, Outcome::Updated, Outcome::Status},
         {"Loop cards not updated: 1, 4", "Statuses other than 0:", "Loop card 1: erasing 20-123 (3); writing ",
          "Loop card 4: writing "}},
        {"card-erase:1,card-program:2,card-erase:3,card-program:4", CFirmwareUpdater::kNoCardUpdated,
         {Outcome::Status, Outcome::Status, Outcome::Status, Outcome::Status},
         {"Loop cards not updated: 1, 2, 3, 4", "Statuses other than 0:", "Loop card 1: ", "Loop card 2: ",
          "Loop card 3: ", "Loop card 4: "}},
        {"board-erase", 0, {Outcome::Updated, Outcome::Updated, Outcome::Updated, Outcome::Updated},
         {"Statuses other than 0:", "Main board: erasing 8-127 (3)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.faults);
        updateThatFails(c.faults);
        EXPECT_EQ(c.message ? std::vector<int>{c.message} : std::vector<int>(), prompt.messages);
        EXPECT_EQ(c.cards, outcomes);
        ASSERT_EQ(1u, prompt.texts.size());
        std::vector<std::string> lines;
        std::istringstream text(prompt.texts[0]);
        for (std::string line; std::getline(text, line);) lines.push_back(line);
        ASSERT_EQ(c.lines.size(), lines.size()) << prompt.texts[0];
        for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(c.lines[i], lines[i].substr(0, c.lines[i].size()));
        if (c.message) continue;
        EXPECT_FALSE(languageUntouched());  // the update went on to its last stage
    }
}

// Transfer faults anywhere in an update: success is only ever claimed when
// everything really is in flash.
TEST_F(FirmwareUpdate, TransferFaultsNeverPassForSuccess) {
    const CFirmwareImage boardImage = expectedImage(CFirmwareImage::mainBoardFirmware(), "main.S37");
    for (const char* kind : {"error", "timeout", "short", "length", "length-1"}) {
        for (int at : {1, 3, 5, 6, 9, 12, 40, 200, 500, 700, 1300}) {
            const std::string faults = std::string(kind) + "@" + std::to_string(at);
            SCOPED_TRACE(faults);
            bus = std::make_shared<CVirtualUsbBus>();
            bus->panel().setMode(CVirtualPanel::Mode::Boot);
            prompt = RecordingPrompt();
            const bool ok = update(faults);
            EXPECT_EQ(ok, prompt.shown(CFirmwareUpdater::kSuccess));
            EXPECT_EQ(1u, prompt.messages.size() + prompt.texts.size());
            if (!ok) continue;
            EXPECT_EQ(boardImage.data(), flashWindow(0x4000, 0x3FFFF));
            for (int card = 0; card < 4; ++card) EXPECT_EQ(Outcome::Updated, outcomes[card]);
            EXPECT_EQ(std::vector<std::uint8_t>(set.language().begin() + 0xFF00, set.language().begin() + 0x10000),
                      board().languageBlock(0x11F));
        }
    }
}

TEST_F(FirmwareUpdate, FailedAppletBlockFailsTheStage) {
    // Transfers 1-4 identify the panel; 5 is the header of the applet's first block.
    EXPECT_FALSE(update("error@5"));
    EXPECT_EQ(std::vector<int>{CFirmwareUpdater::kAppletFailed}, prompt.messages);
    EXPECT_TRUE(boardUntouched());
}

TEST_F(FirmwareUpdate, VirtualPanelReturnsToNormalModeWhenTheUpdateEnds) {
    auto stored = std::make_shared<CVirtualUsbBus>("?mode=update");
    EXPECT_EQ(CVirtualPanel::Mode::Boot, stored->panel().mode());
    bus = stored;
    ASSERT_TRUE(update());
    stored->restartPanel();
    EXPECT_EQ(CVirtualPanel::Mode::Normal, stored->panel().mode());
    EXPECT_EQ(CVirtualPanel::Mode::Normal, CVirtualUsbBus().panel().mode());
}

}  // namespace

namespace {

// The sample update shipped for demonstrations must keep working.
TEST(FirmwareUpdateSample, UpdatesTheVirtualPanel) {
    const char* source = std::getenv("CAIRN_SOURCE_DIR");
    if (!source) GTEST_SKIP() << "CAIRN_SOURCE_DIR not set";
    auto bus = std::make_shared<CVirtualUsbBus>("?mode=update");
    RecordingPrompt prompt;
    RecordingDialog dialog;
    CFirmwareUpdater updater(prompt, bus);
    const std::string manifest = std::string(source) + "/app/panel_link/virtual/samples/update/update.xml";
    EXPECT_TRUE(updater.run(ToWide(manifest.c_str()), dialog));
    EXPECT_EQ(std::vector<int>{CFirmwareUpdater::kSuccess}, prompt.messages);
}

}  // namespace
