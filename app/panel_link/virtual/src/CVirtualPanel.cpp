#include "virtual_panel/CVirtualPanel.h"

#include <algorithm>
#include <cstring>

#include "panel_link/CUsbBackend.h"

namespace {

constexpr std::uint8_t kReadPage = 0x01;
constexpr std::uint8_t kWritePage = 0x02;
constexpr std::uint8_t kSetClock = 0x03;
constexpr std::uint8_t kLogCount = 0x05;
constexpr std::uint8_t kNextLogLine = 0x06;
constexpr std::size_t kLogLineMax = 128;  // terminator included
constexpr std::uint16_t kZoneFirstPage = 0x0120;  // the zone table, up to the element table
constexpr std::uint16_t kElementFirstPage = 0x01A0;

std::uint16_t word(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] << 8 | b[at + 1]);
}

}  // namespace

CVirtualPanel::CVirtualPanel(CVirtualPanelState state) : m_state(std::move(state)) {}

void CVirtualPanel::receive(const std::uint8_t* data, int length) {
    m_request.insert(m_request.end(), data, data + std::max(length, 0));
    // A request may complete in the middle of a transfer only when the host
    // framed it wrongly; the rest then starts the next request, as on the wire.
    while (m_request.size() >= 2) {
        const std::size_t bodyLength = word(m_request, 0);
        if (m_request.size() < 2 + bodyLength) break;
        std::vector<std::uint8_t> body(m_request.begin() + 2, m_request.begin() + 2 + bodyLength);
        m_request.erase(m_request.begin(), m_request.begin() + 2 + bodyLength);
        process(body);
    }
}

int CVirtualPanel::send(std::uint8_t* data, int capacity) {
    if (m_out.empty()) return kUsbErrorTimeout;
    if (m_replyDelta != 0 && m_out.size() >= 2) applyDistortion();
    std::vector<std::uint8_t> transfer = std::move(m_out.front());
    m_out.pop_front();
    if (static_cast<int>(transfer.size()) > capacity) return kUsbErrorOverflow;
    if (!transfer.empty()) std::memcpy(data, transfer.data(), transfer.size());
    return static_cast<int>(transfer.size());
}

void CVirtualPanel::applyDistortion() {
    std::vector<std::uint8_t>& header = m_out[0];
    std::vector<std::uint8_t>& body = m_out[1];
    const int length = std::max(0, static_cast<int>(body.size()) + m_replyDelta);
    body.resize(static_cast<std::size_t>(length), 0);
    header = {static_cast<std::uint8_t>(length >> 8), static_cast<std::uint8_t>(length & 0xFF)};
    m_replyDelta = 0;
    ++m_distorted;
}

void CVirtualPanel::corrupt(std::uint16_t number, CVirtualPanelState::Page& page) {
    // The wrong byte is one the panel reads: a zone record's byte 0 is unused, so there it is the
    // first description character; elsewhere byte 0 (generic type, item kind, label).
    const bool zonePage = number >= kZoneFirstPage && number < kElementFirstPage;
    page[zonePage ? 1 : 0] ^= 0xFF;
}

void CVirtualPanel::resetPipes() {
    m_request.clear();
    m_out.clear();
}

void CVirtualPanel::reply(const std::uint8_t* data, int length) {
    m_out.push_back({static_cast<std::uint8_t>(length >> 8), static_cast<std::uint8_t>(length & 0xFF)});
    m_out.emplace_back(data, data + length);
}

void CVirtualPanel::process(const std::vector<std::uint8_t>& body) {
    bool handled = false;
    if (m_mode == Mode::Normal) {
        handled = processNormal(body);
    } else {
        std::vector<std::vector<std::uint8_t>> replies;
        handled = m_boot.process(body, replies);
        for (const auto& r : replies) reply(r.data(), static_cast<int>(r.size()));
    }
    if (!handled) ++m_ignored;
}

void CVirtualPanel::restart() {
    m_boot.restart();
    m_mode = Mode::Normal;
    resetPipes();
}

bool CVirtualPanel::processNormal(const std::vector<std::uint8_t>& body) {
    if (body.empty()) return false;
    switch (body[0]) {
    case kReadPage: {
        if (body.size() != 3) return false;
        const CVirtualPanelState::Page page = m_state.page(word(body, 1));
        ++m_pageReads;
        reply(page.data(), static_cast<int>(page.size()));
        return true;
    }
    case kWritePage: {
        if (body.size() != 3 + 256) return false;
        CVirtualPanelState::Page page;
        std::copy(body.begin() + 3, body.end(), page.begin());
        if (++m_pageWrites == m_corruptAt) corrupt(word(body, 1), page);
        m_state.setPage(word(body, 1), page);
        m_dirty = true;
        return true;
    }
    case kSetClock:
        if (body.size() != 9) return false;
        std::copy(body.begin() + 1, body.end(), m_state.clock().begin());
        m_dirty = true;
        return true;
    case kLogCount: {
        if (body.size() != 2) return false;
        m_logKind = body[1] < CVirtualPanelState::kLogKinds ? body[1] : -1;
        m_logCursor = 0;
        const std::size_t count = m_logKind < 0 ? 0 : m_state.log(m_logKind).size();
        const std::uint8_t answer[2] = {static_cast<std::uint8_t>(count >> 8), static_cast<std::uint8_t>(count)};
        reply(answer, 2);
        return true;
    }
    case kNextLogLine: {
        if (body.size() != 1) return false;
        std::string line;
        if (m_logKind >= 0 && m_logCursor < m_state.log(m_logKind).size())
            line = m_state.log(m_logKind)[m_logCursor++];
        line.resize(std::min(line.size(), kLogLineMax - 1));
        line.push_back('\0');
        reply(reinterpret_cast<const std::uint8_t*>(line.data()), static_cast<int>(line.size()));
        return true;
    }
    default:
        return false;
    }
}
