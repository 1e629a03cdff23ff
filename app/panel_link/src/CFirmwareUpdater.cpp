#include "panel_link/CFirmwareUpdater.h"

#include <algorithm>
#include <cstdio>

#include "basalt/KvStringTableFile.h"
#include "basalt/KvTrace.h"
#include "basalt/KvUtf.h"
#include "panel_link/CBootLoaderLink.h"
#include "panel_link/RunWorker.h"

namespace {

constexpr int kFirstBoardSector = 8;     // sectors 0-7 hold the boot loader
constexpr int kLastBoardSector = 127;    // 2 KB sectors up to 0x3FFFF
constexpr int kFirstBoardBlock = 0x40;   // block of address 0x4000
constexpr std::uint32_t kBoardChecksumEnd = 0x4203;
constexpr int kFirstCardPage = 20;       // page of address 0x2800
constexpr int kLastCardPage = 123;       // up to 0xF7FF; above lies the card's boot loader
constexpr std::uint32_t kCardImageEnd = 0xF7FF;
constexpr int kWakePasses = 3;
constexpr int kFirstLanguageBlock = 0x20;
constexpr int kLanguageBlocks = 0x100;   // blocks 0x20 to 0x11F
constexpr int kLanguageHeaderBlock = 1;  // written last, from file offset 0x10000
constexpr int kKeptHeaderByte = 4;       // the panel's own setting, kept across updates

bool allErased(const std::vector<std::uint8_t>& bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0xFF; });
}

bool readWholeFile(const KvWString& path, std::vector<std::uint8_t>& data) {
    std::FILE* file = std::fopen(ToUtf8(path.c_str()).c_str(), "rb");
    if (!file) return false;
    data.clear();
    std::uint8_t block[4096];
    for (std::size_t n; (n = std::fread(block, 1, sizeof block, file)) > 0;) data.insert(data.end(), block, block + n);
    const bool ok = !std::ferror(file);
    std::fclose(file);
    return ok;
}

// A table text is used only when its last conversion is the list and the others are numbers: a
// missing entry (a placeholder) or a mistranslated one must not lose the list.
bool takesTheList(const KvWString& format) {
    const int at = format.Find(u"%ls");
    if (at < 0) return false;
    for (int i = 0; i < format.Length(); ++i)
        if (format[i] == u'%' && i != at && (i > at || i + 1 >= format.Length() || format[i + 1] != u'd')) return false;
    return true;
}

KvWString tableFormat(int id, const char16_t* fallback) {
    KvWString format;
    KvLoadString(id, format);
    return takesTheList(format) ? format : KvWString(fallback);
}

// "8-127", "3, 5-7": ascending numbers with their runs joined.
KvWString numberRuns(const std::vector<int>& numbers) {
    KvWString out;
    for (std::size_t i = 0; i < numbers.size();) {
        std::size_t j = i;
        while (j + 1 < numbers.size() && numbers[j + 1] == numbers[j] + 1) ++j;
        if (!out.IsEmpty()) out += u", ";
        if (j == i)
            out.AppendFormat(u"%d", numbers[i]);
        else
            out.AppendFormat(u"%d-%d", numbers[i], numbers[j]);
        i = j + 1;
    }
    return out;
}

// An image that loaded but holds no byte of its window would flash nothing
// but a checksum: treat it as damaged.
bool loadImage(CFirmwareImage& image, const KvWString& path) { return image.load(path) && image.stored() > 0; }

}  // namespace

struct CFirmwareUpdater::Images {
    CFirmwareImage boardApplet = CFirmwareImage::mainBoardApplet();
    CFirmwareImage pipeApplet = CFirmwareImage::mainBoardApplet();
    CFirmwareImage languageApplet = CFirmwareImage::mainBoardApplet();
    CFirmwareImage cardApplet = CFirmwareImage::loopCardApplet();
    CFirmwareImage board = CFirmwareImage::mainBoardFirmware();
    CFirmwareImage card = CFirmwareImage::loopCardFirmware();
    std::vector<std::uint8_t> language;
};

CFirmwareUpdater::CFirmwareUpdater(IUpdatePrompt& prompt, std::shared_ptr<CUsbBackend> backend)
    : m_prompt(prompt), m_link(std::move(backend)) {}

CFirmwareUpdater::~CFirmwareUpdater() = default;

// ---------------------------------------------------------------- starting

bool CFirmwareUpdater::prepare(const KvWString& manifestPath) {
    printk("\n CFirmwareUpdater::prepare");
    m_cards.fill(CardOutcome::NotTried);
    if (manifestPath.IsEmpty()) return fail(kNoManifest);
    if (!m_manifest.load(manifestPath)) return fail(kManifestUnreadable);
    const KvWString missing = m_manifest.firstMissingFile();
    if (!missing.IsEmpty()) {
        KvWString text;
        text.Format(kMissingFileText, missing.c_str());
        m_prompt.showText(text);
        return false;
    }
    if (m_manifest.empty()) return fail(kNothingToUpdate);
    return true;
}

bool CFirmwareUpdater::run(const KvWString& manifestPath, IWaitDialog& dialog) {
    if (!prepare(manifestPath)) return false;
    KvWString text;
    dialog.SetText(KvLoadString(kUpdating, text));
    return updateAll(dialog);
}

bool CFirmwareUpdater::update(IModalWaitDialog& dialog) {
    printk("\n CFirmwareUpdater::update");
    KvWString text;
    dialog.SetText(KvLoadString(kUpdating, text));
    return runWorker(dialog, [this](IWaitDialog& worker) { return updateAll(worker); });
}

bool CFirmwareUpdater::fail(int message) {
    m_link.releaseDevice();
    m_prompt.showMessage(message);
    return false;
}

void CFirmwareUpdater::setStage(IWaitDialog& dialog, int text) {
    KvWString line;
    dialog.SetText(KvLoadString(text, line));
    dialog.SetProgress(0, 1);
}

bool CFirmwareUpdater::loadImages(Images& images) {
    const CUpdateManifest& m = m_manifest;
    if (!m.panelPath().IsEmpty()) {
        if (!loadImage(images.boardApplet, m.appletPath(CUpdateManifest::kBoardFlashApplet))) return fail(kAppletFailed);
        if (!loadImage(images.board, m.panelPath())) return fail(kBoardImageFailed);
    }
    if (!m.loopPath().IsEmpty()) {
        if (!loadImage(images.pipeApplet, m.appletPath(CUpdateManifest::kPipeApplet)) ||
            !loadImage(images.cardApplet, m.appletPath(CUpdateManifest::kCardFlashApplet)))
            return fail(kAppletFailed);
        if (!loadImage(images.card, m.loopPath())) return fail(kNoCardUpdated);
    }
    if (!m.languagePath().IsEmpty()) {
        if (!loadImage(images.languageApplet, m.appletPath(CUpdateManifest::kLanguageApplet)))
            return fail(kAppletFailed);
        // A short file would leave stale bytes in the blocks beyond its end.
        if (!readWholeFile(m.languagePath(), images.language) ||
            images.language.size() < static_cast<std::size_t>(kLanguageBytes))
            return fail(kLanguageFailed);
    }
    return true;
}

bool CFirmwareUpdater::updateAll(IWaitDialog& dialog) {
    printk("\n CFirmwareUpdater::updateAll");
    m_cards.fill(CardOutcome::NotTried);
    m_statuses.clear();
    m_reported = false;
    Images images;
    if (!loadImages(images)) return false;
    const bool ran = (m_manifest.panelPath().IsEmpty() || stageBoard(dialog, images)) &&
                     (m_manifest.loopPath().IsEmpty() || stageCards(dialog, images)) &&
                     (m_manifest.languagePath().IsEmpty() || stageLanguage(dialog, images));
    // Cards left as they were, or any status other than 0: never call that a success.
    const bool cardsLeft = std::any_of(m_cards.begin(), m_cards.end(), [](CardOutcome o) {
        return o == CardOutcome::NoAnswer || o == CardOutcome::Failed || o == CardOutcome::Status;
    });
    if (!ran || cardsLeft || !m_statuses.empty()) {
        if (ran || !m_statuses.empty()) reportProblems();
        return false;
    }
    m_prompt.showMessage(kSuccess);
    return true;
}

// ---------------------------------------------------------------- connection

bool CFirmwareUpdater::connect() {
    if (!m_link.prepareDevice(1)) return fail(kCannotConnect);
    if (!m_link.identify()) return fail(kNotInUpdateMode);
    return true;
}

// A failed transfer leaves the framing in doubt; the next card starts on a
// fresh connection instead of giving up on the cards that are still to come.
bool CFirmwareUpdater::reconnect() {
    if (!m_link.failed() && m_link.isOpen()) return true;
    m_link.releaseDevice();
    return m_link.prepareDevice(1) && m_link.identify();
}

// ---------------------------------------------------------------- stage A: main board

bool CFirmwareUpdater::stageBoard(IWaitDialog& dialog, const Images& images) {
    printk("\n CFirmwareUpdater::stageBoard");
    setStage(dialog, kStageBoard);
    if (!connect()) return false;
    CBootLoaderLink boot(m_link);
    if (!boot.sendRamApplet(images.boardApplet)) return fail(kAppletFailed);
    if (!flashBoard(boot, dialog, images.board)) return fail(kBoardFlashFailed);
    m_link.releaseDevice();
    return true;
}

bool CFirmwareUpdater::flashBoard(CBootLoaderLink& boot, IWaitDialog& dialog, const CFirmwareImage& image) {
    // The checksum at 0x4200 is always written, however small the image.
    const int blocks = CBootLoaderLink::piecesToSend(image, CBootLoaderLink::kBlockSize, kBoardChecksumEnd);
    const int sectors = kLastBoardSector - kFirstBoardSector + 1;
    const int steps = sectors + blocks;
    if (!boot.flashStart() && !noteStatus(boot, 0, Step::Start, 0)) return false;
    for (int s = kFirstBoardSector; s <= kLastBoardSector; ++s) {
        if (!boot.flashErase(s) && !noteStatus(boot, 0, Step::Erase, s)) return false;
        dialog.SetProgress(s - kFirstBoardSector + 1, steps);
    }
    for (int i = 0; i < blocks; ++i) {
        if (!boot.flashProgram(kFirstBoardBlock + i, image.piece(i, CBootLoaderLink::kBlockSize)) &&
            !noteStatus(boot, 0, Step::Write, kFirstBoardBlock + i))
            return false;
        dialog.SetProgress(sectors + i + 1, steps);
    }
    return true;
}

// ---------------------------------------------------------------- stage B: loop cards

bool CFirmwareUpdater::stageCards(IWaitDialog& dialog, const Images& images) {
    printk("\n CFirmwareUpdater::stageCards");
    setStage(dialog, kStageCards);
    if (!connect()) return false;
    CBootLoaderLink boot(m_link);
    // Card 0 may sit in its firmware still; it needs a few calls to listen.
    for (int pass = 0; pass < kWakePasses; ++pass) {
        if (!reconnect()) return fail(kCannotConnect);
        if (boot.sendRamApplet(images.pipeApplet) && boot.pipeStart()) boot.cardEnterUpdate(0);
    }
    for (int card = 0; card < CBootLoaderLink::kCards; ++card) {
        if (!reconnect()) return fail(kCannotConnect);
        m_cards[card] = updateCard(boot, card, images);
        dialog.SetProgress(card + 1, CBootLoaderLink::kCards);
    }
    const auto count = [this](CardOutcome o) { return std::count(m_cards.begin(), m_cards.end(), o); };
    if (count(CardOutcome::Updated) == 0) return fail(kNoCardUpdated);
    if (reconnect())
        for (int card = 0; card < CBootLoaderLink::kCards; ++card) boot.cardLeaveUpdate(card);
    m_link.releaseDevice();
    if (count(CardOutcome::Failed) > 0) {
        reportProblems();
        return false;
    }
    return true;
}

CFirmwareUpdater::CardOutcome CFirmwareUpdater::updateCard(CBootLoaderLink& boot, int card, const Images& images) {
    if (!boot.sendRamApplet(images.pipeApplet) || !boot.pipeStart() || !boot.cardEnterUpdate(card))
        return CardOutcome::NoAnswer;
    if (!boot.cardReady(card)) return CardOutcome::NoAnswer;
    const std::size_t statusesBefore = m_statuses.size();
    const int pieces = CBootLoaderLink::piecesToSend(images.cardApplet, CBootLoaderLink::kCardPieceSize);
    for (int i = 0; i < pieces; ++i)
        if (!boot.cardRamPiece(card, i, images.cardApplet.piece(i, CBootLoaderLink::kCardPieceSize)) &&
            !noteStatus(boot, card + 1, Step::CardApplet, i))
            return CardOutcome::Failed;
    if (!programCard(boot, card, images.card)) return CardOutcome::Failed;
    return m_statuses.size() == statusesBefore ? CardOutcome::Updated : CardOutcome::Status;
}

// False on a failed transfer; statuses are noted and the card is written to the end.
bool CFirmwareUpdater::programCard(CBootLoaderLink& boot, int card, const CFirmwareImage& image) {
    for (int page = kFirstCardPage; page <= kLastCardPage; ++page)
        if (!boot.cardErasePage(card, page) && !noteStatus(boot, card + 1, Step::Erase, page)) return false;
    // Vectors and checksum sit at the top: the rows always reach 0xF7FF.
    const int rows = CBootLoaderLink::piecesToSend(image, CBootLoaderLink::kCardPieceSize, kCardImageEnd);
    for (int i = 0; i < rows; ++i) {
        const std::vector<std::uint8_t> row = image.piece(i, CBootLoaderLink::kCardPieceSize);
        if (allErased(row)) continue;  // erased flash reads 0xFF already
        if (!boot.cardProgramRow(card, i / 8 + kFirstCardPage, i % 8, row) &&
            !noteStatus(boot, card + 1, Step::Write, i))
            return false;
    }
    return true;
}

bool CFirmwareUpdater::noteStatus(const CBootLoaderLink& boot, int part, Step step, int at) {
    if (boot.lastStatus() == 0) return false;
    m_statuses.push_back({part, step, at, boot.lastStatus()});
    return true;
}

void CFirmwareUpdater::reportProblems() {
    if (m_reported) return;
    m_reported = true;
    KvWString cards;
    for (int card = 0; card < CBootLoaderLink::kCards; ++card) {
        const CardOutcome o = m_cards[card];
        if (o != CardOutcome::NoAnswer && o != CardOutcome::Failed && o != CardOutcome::Status) continue;
        if (!cards.IsEmpty()) cards += u", ";
        cards.AppendFormat(u"%d", card + 1);
    }
    KvWString text;
    if (!cards.IsEmpty()) text.Format(tableFormat(kCardsNotUpdated, u"Loop cards not updated: %ls").c_str(), cards.c_str());
    if (!m_statuses.empty()) {
        if (!text.IsEmpty()) text += u"\n";
        text += statusText(m_statuses);
    }
    if (!text.IsEmpty()) m_prompt.showText(text);
}

KvWString CFirmwareUpdater::statusText(const std::vector<StatusNote>& statuses) {
    KvWString lines;
    for (int part = 0; part <= CBootLoaderLink::kCards; ++part) {
        KvWString steps;
        // Runs of one step answered with one status: "erasing 20-123 (3)".
        for (std::size_t i = 0; i < statuses.size();) {
            const StatusNote& n = statuses[i];
            std::size_t j = i;
            std::vector<int> at;
            for (; j < statuses.size() && statuses[j].part == n.part && statuses[j].step == n.step &&
                   statuses[j].status == n.status;
                 ++j)
                at.push_back(statuses[j].at);
            if (n.part == part) {
                KvWString step;
                if (n.step == Step::Start) {
                    KvLoadString(kStartingText, step);
                } else {
                    const KvWString format = n.step == Step::Erase   ? tableFormat(kErasingText, u"erasing %ls")
                                             : n.step == Step::Write ? tableFormat(kWritingText, u"writing %ls")
                                                                     : tableFormat(kCardAppletText, u"loading %ls");
                    step.Format(format.c_str(), numberRuns(at).c_str());
                }
                if (!steps.IsEmpty()) steps += u"; ";
                steps += step;
                steps.AppendFormat(u" (%d)", n.status);
            }
            i = j;
        }
        if (steps.IsEmpty()) continue;
        KvWString line;
        if (part == 0)
            line.Format(tableFormat(kMainBoardText, u"Main board: %ls").c_str(), steps.c_str());
        else
            line.Format(tableFormat(kLoopCardText, u"Loop card %d: %ls").c_str(), part, steps.c_str());
        lines += u"\n";
        lines += line;
    }
    KvWString text;
    return text.Format(tableFormat(kStatusesText, u"Statuses other than 0:%ls").c_str(), lines.c_str());
}

// ---------------------------------------------------------------- stage C: language data

bool CFirmwareUpdater::stageLanguage(IWaitDialog& dialog, const Images& images) {
    printk("\n CFirmwareUpdater::stageLanguage");
    setStage(dialog, kStageLanguage);
    if (!connect()) return false;
    CBootLoaderLink boot(m_link);
    if (!boot.sendRamApplet(images.languageApplet)) return fail(kAppletFailed);
    if (!boot.languageStart()) return fail(kCannotConnect);
    if (!writeLanguage(boot, dialog, images.language)) return fail(kLanguageFailed);
    m_link.releaseDevice();
    return true;
}

bool CFirmwareUpdater::writeLanguage(CBootLoaderLink& boot, IWaitDialog& dialog, const std::vector<std::uint8_t>& data) {
    const auto block = [&data](std::size_t offset) {
        return std::vector<std::uint8_t>(data.begin() + static_cast<std::ptrdiff_t>(offset),
                                         data.begin() + static_cast<std::ptrdiff_t>(offset + CBootLoaderLink::kBlockSize));
    };
    for (int i = 0; i < kLanguageBlocks; ++i) {
        if (!boot.languageWrite(kFirstLanguageBlock + i, block(static_cast<std::size_t>(i) * CBootLoaderLink::kBlockSize)))
            return false;
        dialog.SetProgress(i + 1, kLanguageBlocks + 1);
    }
    std::vector<std::uint8_t> current;
    const std::uint8_t kept = boot.languageRead(kLanguageHeaderBlock, current) ? current[kKeptHeaderByte] : 1;
    std::vector<std::uint8_t> header = block(static_cast<std::size_t>(kLanguageBlocks) * CBootLoaderLink::kBlockSize);
    header[kKeptHeaderByte] = kept;
    if (!boot.languageWrite(kLanguageHeaderBlock, header)) return false;
    dialog.SetProgress(kLanguageBlocks + 1, kLanguageBlocks + 1);
    return true;
}
