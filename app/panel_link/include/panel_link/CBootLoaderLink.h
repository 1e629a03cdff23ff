// CBootLoaderLink: the command set of a panel in its update (boot) mode.
//
// The boot loader takes RAM blocks (0x01) and passes messages (0x02) to the
// applet running from RAM: the main-board flash applet, the pipe applet that
// relays messages to the loop cards, or the language applet. All of it
// travels over an open, claimed CPanelLink with the usual framing.
//
// Replies are checked for their length before any byte is used. A loop
// card's answer byte 0 and a flash applet's reply byte 1 are statuses: 0
// means done. What other values mean is not known; a call that read one
// returns false and lastStatus() holds it, so the caller can tell a status
// from a failed transfer. Not thread-safe, like the link.
#pragma once

#include <cstdint>
#include <vector>

#include "panel_link/CFirmwareImage.h"
#include "panel_link/CPanelLink.h"

class CBootLoaderLink {
public:
    static constexpr int kBlockSize = 256;      // RAM block, flash block, language block
    static constexpr int kCardPieceSize = 64;   // loop-card RAM piece and flash row
    static constexpr int kCards = 4;

    explicit CBootLoaderLink(CPanelLink& link) : m_link(link) {}

    // Sends every 256-byte block of a main-board RAM applet from the start of
    // its window up to its highest byte; false as soon as a block fails or
    // when the image holds nothing.
    bool sendRamApplet(const CFirmwareImage& applet);
    // An applet message; when `replyLength` is not 0 one reply is read and
    // must hold at least that many bytes. `reply` receives it when not null.
    bool appletMessage(const std::vector<std::uint8_t>& message, int replyLength,
                       std::vector<std::uint8_t>* reply = nullptr);

    // --- Main-board flash applet ---
    bool flashStart();
    bool flashErase(int sector);
    bool flashProgram(int block, const std::vector<std::uint8_t>& data);

    // --- Pipe applet and loop cards ---
    bool pipeStart();
    // Relays `message` to card `card`; with `answerLength` not 0, reads the
    // card's answer of that many bytes into `answer` (false when shorter).
    bool cardMessage(int card, const std::vector<std::uint8_t>& message, int answerLength,
                     std::vector<std::uint8_t>* answer = nullptr);
    bool cardEnterUpdate(int card);
    // True when the card answers the query and says it is ready.
    bool cardReady(int card);
    // Stores one 64-byte piece of the card's RAM applet; true when the card confirms.
    bool cardRamPiece(int card, int piece, const std::vector<std::uint8_t>& data);
    bool cardErasePage(int card, int page);
    bool cardProgramRow(int card, int page, int row, const std::vector<std::uint8_t>& data);
    bool cardLeaveUpdate(int card);

    // --- Language applet ---
    bool languageStart();
    bool languageWrite(int block, const std::vector<std::uint8_t>& data);
    // Reads one block into `data` (256 bytes).
    bool languageRead(int block, std::vector<std::uint8_t>& data);

    // Number of `size`-byte pieces from the start of the image's window up to
    // `last` or its highest byte, whichever is higher; 0 when nothing was stored.
    static int piecesToSend(const CFirmwareImage& image, int size, std::uint32_t last = 0);

    // The status the last call that reads one received when it was not 0; 0 otherwise (also
    // when that call's transfer failed).
    int lastStatus() const { return m_status; }

private:
    // True for status 0; remembers any other.
    bool statusOk(const std::vector<std::uint8_t>& reply, std::size_t at);
    // Starts a call that may read a status.
    void clearStatus() { m_status = 0; }

    CPanelLink& m_link;
    int m_status = 0;
};
