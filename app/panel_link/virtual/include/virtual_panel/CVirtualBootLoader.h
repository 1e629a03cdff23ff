// CVirtualBootLoader: the update (boot) mode of a virtual panel's main board.
//
// It answers identify (0x00) with 0x42, stores 256-byte RAM blocks (0x01) in
// an 8 KB RAM at 0x20000000, and hands applet messages (0x02) to the applet
// in RAM. Which applet that is, it reads from the name the applet carries at
// its first RAM byte: "CF_FLASH" programs the 256 KB main-board flash,
// "PIPE_LOOP" relays messages to the four loop cards, "SERIAL_FLASH" writes
// the language memory. A message for an unknown or missing applet is
// ignored, as a real board would crash or hang: the host waits in vain.
//
// Flash replies are the message code and a status (0 done, else a failure);
// pipe replies are 0x01, a status, the answer length, then the card's answer.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "virtual_panel/CVirtualBootFaults.h"
#include "virtual_panel/CVirtualLoopCard.h"

class CVirtualBootLoader {
public:
    static constexpr std::uint32_t kFlashSize = 0x40000;
    static constexpr std::uint32_t kRamSize = 0x2000;
    static constexpr int kBlockSize = 256;
    static constexpr int kSectorSize = 2048;
    static constexpr int kFirstSector = 8;  // sectors 0-7 hold this boot loader
    static constexpr int kLanguageBlocks = 0x120;
    static constexpr int kKeptLanguageByte = 4;       // byte of language block 1 the panel owns
    static constexpr std::uint8_t kFactorySetting = 7;  // its value on a new panel

    CVirtualBootLoader();

    void setFaults(const CVirtualBootFaults& faults);
    // Carries out one request; the replies it produces (zero or one) are
    // appended to `replies`. False when the request was not understood.
    bool process(const std::vector<std::uint8_t>& body, std::vector<std::vector<std::uint8_t>>& replies);
    // Power cycle: RAM and the running applet are lost, every card restarts.
    void restart();

    const std::vector<std::uint8_t>& flash() const { return m_flash; }
    CVirtualLoopCard& card(int address) { return m_cards[static_cast<std::size_t>(address)]; }
    const CVirtualLoopCard& card(int address) const { return m_cards[static_cast<std::size_t>(address)]; }
    // One block of the language memory.
    std::vector<std::uint8_t> languageBlock(int block) const;
    // Counters for tests.
    int ramBlocks() const { return m_ramBlocks; }
    int appletMessages() const { return m_appletMessages; }

private:
    enum class Applet { None, Flash, Pipe, Language };

    Applet appletInRam() const;
    bool flashMessage(const std::vector<std::uint8_t>& m, std::vector<std::vector<std::uint8_t>>& replies);
    bool pipeMessage(const std::vector<std::uint8_t>& m, std::vector<std::vector<std::uint8_t>>& replies);
    bool languageMessage(const std::vector<std::uint8_t>& m, std::vector<std::vector<std::uint8_t>>& replies);
    std::uint8_t eraseSector(int sector);
    std::uint8_t programBlock(int block, const std::uint8_t* data);

    std::vector<std::uint8_t> m_ram;
    std::vector<std::uint8_t> m_flash;
    std::vector<std::uint8_t> m_language;
    std::array<CVirtualLoopCard, 4> m_cards;
    CVirtualBootFaults m_faults;
    bool m_flashStarted = false;
    int m_ramBlocks = 0;
    int m_appletMessages = 0;
};
