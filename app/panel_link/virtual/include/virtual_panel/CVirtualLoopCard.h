// CVirtualLoopCard: one loop card of a virtual panel, as its update mode
// sees it.
//
// The card answers the messages the pipe applet relays to it: enter update
// mode, query, RAM pieces of its flash applet, page erase and row
// programming of its 64 KB flash, leave update mode. Answer byte 0 is the
// card's status: 0 done, anything else a failure. Flash behaves like flash:
// erasing sets a 512-byte page to 0xFF, programming can only clear bits, so
// a row written over unerased flash reads back wrong and is reported.
#pragma once

#include <cstdint>
#include <vector>

class CVirtualLoopCard {
public:
    static constexpr std::uint32_t kFlashSize = 0x10000;
    static constexpr std::uint32_t kRamStart = 0x0070;
    static constexpr std::uint32_t kRamSize = 0x0700;
    static constexpr int kPageSize = 512;
    static constexpr int kRowSize = 64;
    static constexpr int kFirstPage = 20;   // 0x2800: the firmware's first page
    static constexpr int kLastPage = 123;   // 0xF7FF: above lies the card's boot loader
    // A card's flash applet starts with this name, NUL-terminated.
    static constexpr const char* kAppletName = "LOOP_FLASH";

    CVirtualLoopCard();

    // Handles one card message. False when the card does not answer at all;
    // otherwise `answer` holds its answer (empty for messages that have none).
    bool handle(const std::vector<std::uint8_t>& message, std::vector<std::uint8_t>& answer);
    // Power cycle: the card leaves update mode and forgets its RAM.
    void restart();

    bool inUpdateMode() const { return m_updateMode; }
    bool appletLoaded() const;
    const std::vector<std::uint8_t>& flash() const { return m_flash; }
    // How many times the card was told to start its firmware.
    int firmwareStarts() const { return m_starts; }

    bool silent = false;        // never answers
    bool eraseFails = false;    // erases report failure
    bool programFails = false;  // programming reports failure

private:
    std::uint8_t erase(int page);
    std::uint8_t program(int page, int row, const std::uint8_t* data);

    bool m_updateMode = false;
    std::vector<std::uint8_t> m_ram;
    std::vector<std::uint8_t> m_flash;
    int m_starts = 0;
};
