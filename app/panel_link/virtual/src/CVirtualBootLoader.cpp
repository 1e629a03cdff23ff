#include "virtual_panel/CVirtualBootLoader.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint8_t kIdentify = 0x00;
constexpr std::uint8_t kRamBlock = 0x01;
constexpr std::uint8_t kAppletMessage = 0x02;
constexpr std::uint8_t kIdentifyAnswer = 0x42;
constexpr std::uint8_t kDone = 0;
constexpr std::uint8_t kRefused = 1;
constexpr std::uint8_t kOutOfRange = 2;
constexpr std::uint8_t kFlashError = 3;
constexpr std::uint8_t kNoAnswer = 4;  // pipe: the card did not answer
constexpr std::uint8_t kOldFirmware = 0x5A;

bool named(const std::vector<std::uint8_t>& ram, const char* name) {
    const std::size_t n = std::strlen(name);
    return std::memcmp(ram.data(), name, n) == 0 && ram[n] == 0;
}

}  // namespace

CVirtualBootLoader::CVirtualBootLoader()
    : m_ram(kRamSize, 0), m_flash(kFlashSize, kOldFirmware), m_language(kLanguageBlocks * kBlockSize, 0xFF) {
    m_language[kBlockSize + kKeptLanguageByte] = kFactorySetting;
}

void CVirtualBootLoader::setFaults(const CVirtualBootFaults& faults) {
    m_faults = faults;
    for (std::size_t i = 0; i < m_cards.size(); ++i) {
        m_cards[i].silent = faults.cardSilent[i];
        m_cards[i].eraseFails = faults.cardEraseFails[i];
        m_cards[i].programFails = faults.cardProgramFails[i];
    }
}

void CVirtualBootLoader::restart() {
    std::fill(m_ram.begin(), m_ram.end(), 0);
    m_flashStarted = false;
    for (CVirtualLoopCard& card : m_cards) card.restart();
}

std::vector<std::uint8_t> CVirtualBootLoader::languageBlock(int block) const {
    if (block < 0 || block >= kLanguageBlocks) return {};
    const auto at = m_language.begin() + block * kBlockSize;
    return std::vector<std::uint8_t>(at, at + kBlockSize);
}

CVirtualBootLoader::Applet CVirtualBootLoader::appletInRam() const {
    if (named(m_ram, "CF_FLASH")) return Applet::Flash;
    if (named(m_ram, "PIPE_LOOP")) return Applet::Pipe;
    if (named(m_ram, "SERIAL_FLASH")) return Applet::Language;
    return Applet::None;
}

bool CVirtualBootLoader::process(const std::vector<std::uint8_t>& body, std::vector<std::vector<std::uint8_t>>& replies) {
    if (body.empty()) return false;
    if (body[0] == kIdentify && body.size() == 1) {
        replies.push_back({kIdentifyAnswer});
        return true;
    }
    if (body[0] == kRamBlock && body.size() == 2 + kBlockSize) {
        const std::size_t at = static_cast<std::size_t>(body[1]) * kBlockSize;
        if (at + kBlockSize > m_ram.size()) return false;
        std::copy(body.begin() + 2, body.end(), m_ram.begin() + static_cast<std::ptrdiff_t>(at));
        m_flashStarted = false;  // new RAM content: whatever ran before is gone
        ++m_ramBlocks;
        return true;
    }
    if (body[0] != kAppletMessage || body.size() < 2) return false;
    const std::vector<std::uint8_t> message(body.begin() + 1, body.end());
    ++m_appletMessages;
    switch (appletInRam()) {
    case Applet::Flash: return flashMessage(message, replies);
    case Applet::Pipe: return pipeMessage(message, replies);
    case Applet::Language: return languageMessage(message, replies);
    case Applet::None: return false;
    }
    return false;
}

// ---------------------------------------------------------------- main-board flash

bool CVirtualBootLoader::flashMessage(const std::vector<std::uint8_t>& m, std::vector<std::vector<std::uint8_t>>& replies) {
    if (m[0] == 0x00 && m.size() == 1) {
        m_flashStarted = true;
        replies.push_back({0x00, kDone});
        return true;
    }
    if (m[0] == 0x01 && m.size() == 3 && m[2] == 0x01) {
        replies.push_back({0x01, eraseSector(m[1])});
        return true;
    }
    if (m[0] == 0x02 && m.size() == 3 + kBlockSize) {
        replies.push_back({0x02, programBlock(m[1] << 8 | m[2], m.data() + 3)});
        return true;
    }
    return false;
}

std::uint8_t CVirtualBootLoader::eraseSector(int sector) {
    if (!m_flashStarted) return kRefused;
    if (sector < kFirstSector || sector >= static_cast<int>(kFlashSize / kSectorSize)) return kOutOfRange;
    if (m_faults.boardEraseFails) return kFlashError;
    std::fill_n(m_flash.begin() + sector * kSectorSize, kSectorSize, 0xFF);
    return kDone;
}

std::uint8_t CVirtualBootLoader::programBlock(int block, const std::uint8_t* data) {
    if (!m_flashStarted) return kRefused;
    if (block < kFirstSector * kSectorSize / kBlockSize || block >= static_cast<int>(kFlashSize / kBlockSize))
        return kOutOfRange;
    if (m_faults.boardProgramFails) return kFlashError;
    std::uint8_t* cell = m_flash.data() + block * kBlockSize;
    bool verified = true;
    for (int i = 0; i < kBlockSize; ++i) {
        cell[i] &= data[i];  // flash programming only clears bits
        verified = verified && cell[i] == data[i];
    }
    return verified ? kDone : kFlashError;
}

// ---------------------------------------------------------------- pipe to the loop cards

bool CVirtualBootLoader::pipeMessage(const std::vector<std::uint8_t>& m, std::vector<std::vector<std::uint8_t>>& replies) {
    if (m[0] == 0x00 && m.size() == 1) return true;
    // 0x01, answer length, card message length + 1, card, card message
    if (m[0] != 0x01 || m.size() < 5 || m[2] < 1 || m.size() != static_cast<std::size_t>(m[2]) + 3 || m[3] > 3)
        return false;
    const std::size_t expected = m[1];
    const std::vector<std::uint8_t> cardMessage(m.begin() + 4, m.end());
    std::vector<std::uint8_t> answer;
    const bool answered = m_cards[m[3]].handle(cardMessage, answer);
    if (expected == 0) return true;
    if (!answered || answer.size() < expected) {
        replies.push_back({0x01, kNoAnswer, 0});
        return true;
    }
    std::vector<std::uint8_t> reply = {0x01, kDone, static_cast<std::uint8_t>(expected)};
    reply.insert(reply.end(), answer.begin(), answer.begin() + static_cast<std::ptrdiff_t>(expected));
    replies.push_back(std::move(reply));
    return true;
}

// ---------------------------------------------------------------- language memory

bool CVirtualBootLoader::languageMessage(const std::vector<std::uint8_t>& m, std::vector<std::vector<std::uint8_t>>& replies) {
    if (m[0] == 0x00 && m.size() == 1) return true;
    if (m.size() < 3) return false;
    const int block = m[1] << 8 | m[2];
    if (block >= kLanguageBlocks) return false;
    const auto at = m_language.begin() + block * kBlockSize;
    if (m[0] == 0x01 && m.size() == 3 + kBlockSize) {
        std::copy(m.begin() + 3, m.end(), at);
        return true;
    }
    if (m[0] == 0x02 && m.size() == 3) {
        std::vector<std::uint8_t> reply = {0x02};
        reply.insert(reply.end(), at, at + kBlockSize);
        replies.push_back(std::move(reply));
        return true;
    }
    return false;
}
