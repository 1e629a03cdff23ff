// CFirmwareUpdater: replaces the firmware of a panel in its update mode.
//
// Up to three stages, each on a connection of its own: A the main board
// (flash applet, 32-bit-checksummed S3 image), B the four loop cards
// (through the pipe applet, S1 image), C the language data (raw file, through
// the language applet). The manifest says which stages run.
//
// Use: prepare() on the user-interface thread (manifest and file checks),
// then update(), which runs updateAll() on a worker behind the progress
// dialog (see runWorker). The worker calls the prompt and the dialog
// from its own thread; their implementations hand the calls to the
// user-interface thread where the toolkit needs that. Every outcome is shown through the prompt as a
// numbered message; success (276) only when every requested stage, and every
// loop card, was written without a single failed transfer or status.
//
// What the applets' statuses other than 0 mean is not known for real panels,
// so they stop nothing: the update goes on, and at its end every one of them
// is shown, part by part (text 486). A card that answered one is not counted
// as updated, and there is no 276 after any of them.
//
// Before anything is sent, every image is loaded and checked: a damaged
// image never reaches the panel, and an update never stops half-way because
// a later file turned out bad.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "basalt/KvBasicString.h"
#include "panel_link/CFirmwareImage.h"
#include "panel_link/CPanelLink.h"
#include "panel_link/CUpdateManifest.h"
#include "seams/IModalWaitDialog.h"
#include "seams/IUpdatePrompt.h"
#include "seams/IWaitDialog.h"

class CBootLoaderLink;

class CFirmwareUpdater {
public:
    // String-table messages of the update.
    enum Message {
        kNoManifest = 267,
        kManifestUnreadable = 268,
        kUpdating = 269,
        kCannotConnect = 270,
        kNotInUpdateMode = 271,
        kAppletFailed = 272,
        kBoardImageFailed = 273,
        kBoardFlashFailed = 274,
        kNoCardUpdated = 275,
        kSuccess = 276,
        kNothingToUpdate = 280,
        kStageBoard = 281,
        kStageCards = 282,
        kStageLanguage = 283,
        kLanguageFailed = 284,
        kCardsNotUpdated = 285,  // "%ls": the loop cards that were not updated
        kStatusesText = 486,     // "%ls": the lines of the parts below
        kMainBoardText = 487,    // "%ls": its steps
        kLoopCardText = 488,     // "%d": the card, "%ls": its steps
        kErasingText = 489,      // "%ls": sector or page numbers
        kWritingText = 490,      // "%ls": block or row numbers
        kCardAppletText = 491,   // "%ls": piece numbers
        kStartingText = 492,
    };
    // Shown, with the file's name, when a file of the update is missing.
    static constexpr const char16_t* kMissingFileText = u"No se encuentra el fichero '%ls'";

    // What became of one loop card in stage B.
    // Status: the card answered a status other than 0 and was written to the end regardless.
    enum class CardOutcome { NotTried, Updated, NoAnswer, Failed, Status };

    enum class Step { Start, Erase, Write, CardApplet };
    // One step the panel answered with a status other than 0.
    struct StatusNote {
        int part = 0;  // 0 the main board, 1 to 4 a loop card
        Step step = Step::Start;
        int at = 0;    // the sector, block, piece, page or row
        int status = 0;
    };

    static constexpr int kLanguageBytes = 0x10100;  // 257 blocks of 256 bytes

    // Connects through `backend`, the bus the program chose.
    CFirmwareUpdater(IUpdatePrompt& prompt, std::shared_ptr<CUsbBackend> backend);
    ~CFirmwareUpdater();
    CFirmwareUpdater(const CFirmwareUpdater&) = delete;
    CFirmwareUpdater& operator=(const CFirmwareUpdater&) = delete;

    // Reads the manifest the user chose (empty: none chosen) and checks that
    // every file exists. False, after showing the reason, when the update
    // must not start; nothing has been sent then.
    bool prepare(const KvWString& manifestPath);
    // The worker's body: loads the images, runs the requested stages, shows
    // the final message. True only when everything succeeded.
    bool updateAll(IWaitDialog& dialog);
    // Shows text 269 in the dialog and runs updateAll behind it (runWorker); returns when done.
    bool update(IModalWaitDialog& dialog);
    // prepare, then the worker's body on this thread (for command-line use).
    bool run(const KvWString& manifestPath, IWaitDialog& dialog);

    const CUpdateManifest& manifest() const { return m_manifest; }
    const std::array<CardOutcome, 4>& cardOutcomes() const { return m_cards; }
    // Every status other than 0 of the last update, in the order received.
    const std::vector<StatusNote>& statuses() const { return m_statuses; }
    // The text that shows `statuses` part by part (text 486).
    static KvWString statusText(const std::vector<StatusNote>& statuses);

private:
    struct Images;

    bool loadImages(Images& images);
    bool connect();
    bool reconnect();
    bool fail(int message);
    bool stageBoard(IWaitDialog& dialog, const Images& images);
    bool flashBoard(CBootLoaderLink& boot, IWaitDialog& dialog, const CFirmwareImage& image);
    bool stageCards(IWaitDialog& dialog, const Images& images);
    CardOutcome updateCard(CBootLoaderLink& boot, int card, const Images& images);
    bool programCard(CBootLoaderLink& boot, int card, const CFirmwareImage& image);
    bool stageLanguage(IWaitDialog& dialog, const Images& images);
    bool writeLanguage(CBootLoaderLink& boot, IWaitDialog& dialog, const std::vector<std::uint8_t>& data);
    // After a call that returned false: notes the status it read and returns true (go on);
    // false when the transfer itself failed.
    bool noteStatus(const CBootLoaderLink& boot, int part, Step step, int at);
    // One message with the cards left not updated and every status noted; once per update.
    void reportProblems();
    void setStage(IWaitDialog& dialog, int text);

    IUpdatePrompt& m_prompt;
    CPanelLink m_link;
    CUpdateManifest m_manifest;
    std::array<CardOutcome, 4> m_cards{};
    std::vector<StatusNote> m_statuses;
    bool m_reported = false;
};
