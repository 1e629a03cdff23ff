#include "virtual_panel/CVirtualLoopCard.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint8_t kDone = 0;
constexpr std::uint8_t kRefused = 1;       // not in update mode, or no applet to do it
constexpr std::uint8_t kOutOfRange = 2;
constexpr std::uint8_t kFlashError = 3;
constexpr std::uint8_t kOldFirmware = 0xA5;  // what the card's flash holds before an update

}  // namespace

CVirtualLoopCard::CVirtualLoopCard() : m_ram(kRamSize, 0), m_flash(kFlashSize, kOldFirmware) {}

void CVirtualLoopCard::restart() {
    m_updateMode = false;
    std::fill(m_ram.begin(), m_ram.end(), 0);
}

bool CVirtualLoopCard::appletLoaded() const {
    const std::size_t n = std::strlen(kAppletName);
    return std::memcmp(m_ram.data(), kAppletName, n) == 0 && m_ram[n] == 0;
}

bool CVirtualLoopCard::handle(const std::vector<std::uint8_t>& m, std::vector<std::uint8_t>& answer) {
    answer.clear();
    if (silent || m.empty()) return false;
    if (m[0] == 0x00 && m.size() == 2 && m[1] == 0x00) {
        m_updateMode = true;
        return true;
    }
    if (m[0] == 0x00 && m.size() == 2 && m[1] == 0x01) {
        answer = {m_updateMode ? kDone : kRefused, 0};
        return true;
    }
    if (m[0] == 0x01 && m.size() == 2 + kRowSize) {
        const std::size_t at = static_cast<std::size_t>(m[1]) * kRowSize;
        const bool fits = at + kRowSize <= m_ram.size();
        if (m_updateMode && fits) std::copy(m.begin() + 2, m.end(), m_ram.begin() + static_cast<std::ptrdiff_t>(at));
        answer = {!m_updateMode ? kRefused : fits ? kDone : kOutOfRange, m[1]};
        return true;
    }
    if (m[0] == 0x02 && m.size() == 3 && m[1] == 0x00) {
        answer = {erase(m[2]), m[2], 0};
        return true;
    }
    if (m[0] == 0x02 && m.size() == 4 + kRowSize && m[1] == 0x01) {
        answer = {program(m[2], m[3], m.data() + 4), m[2], m[3]};
        return true;
    }
    if (m[0] == 0x03 && m.size() == 1) {
        m_updateMode = false;
        ++m_starts;
        return true;
    }
    return false;
}

std::uint8_t CVirtualLoopCard::erase(int page) {
    if (!m_updateMode || !appletLoaded()) return kRefused;
    if (page < kFirstPage || page > kLastPage) return kOutOfRange;
    if (eraseFails) return kFlashError;
    std::fill_n(m_flash.begin() + page * kPageSize, kPageSize, 0xFF);
    return kDone;
}

std::uint8_t CVirtualLoopCard::program(int page, int row, const std::uint8_t* data) {
    if (!m_updateMode || !appletLoaded()) return kRefused;
    if (page < kFirstPage || page > kLastPage || row > kPageSize / kRowSize - 1) return kOutOfRange;
    if (programFails) return kFlashError;
    std::uint8_t* cell = m_flash.data() + page * kPageSize + row * kRowSize;
    bool verified = true;
    for (int i = 0; i < kRowSize; ++i) {
        cell[i] &= data[i];
        verified = verified && cell[i] == data[i];
    }
    return verified ? kDone : kFlashError;
}
