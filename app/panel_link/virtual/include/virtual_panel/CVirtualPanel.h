// CVirtualPanel: a software model of the panel as a USB device.
//
// It sees the bytes of the bulk OUT endpoint and serves the bulk IN endpoint,
// with the same length-header framing as the real panel: a request is a
// 2-byte big-endian length and then that many bytes; each reply is queued as
// two IN transfers (header, then body). Normal mode answers the page, clock
// and event-log commands. Requests it does not understand are ignored, as the
// firmware would: the host then waits for a reply that never comes.
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "virtual_panel/CVirtualBootLoader.h"
#include "virtual_panel/CVirtualPanelState.h"

class CVirtualPanel {
public:
    // The update (boot) mode speaks another command set on the same framing,
    // served by the boot loader (CVirtualBootLoader).
    enum class Mode { Normal, Boot };

    explicit CVirtualPanel(CVirtualPanelState state = CVirtualPanelState());

    CVirtualPanelState& state() { return m_state; }
    const CVirtualPanelState& state() const { return m_state; }
    Mode mode() const { return m_mode; }
    void setMode(Mode mode) { m_mode = mode; }
    CVirtualBootLoader& bootLoader() { return m_boot; }
    const CVirtualBootLoader& bootLoader() const { return m_boot; }
    // Power cycle: the panel starts its firmware (normal mode) with empty pipes.
    void restart();

    // Takes the bytes of one OUT transfer; complete requests are carried out at once.
    void receive(const std::uint8_t* data, int length);
    // Serves one IN transfer of at most `capacity` bytes: the count stored, or
    // kUsbErrorTimeout when nothing is pending, or kUsbErrorOverflow when the
    // pending transfer is longer than `capacity` (it is then lost).
    int send(std::uint8_t* data, int capacity);
    // Forgets a half-received request and unread replies (a new connection).
    void resetPipes();
    // The next reply announces and carries `delta` bytes more (or fewer) than it should.
    void distortNextReply(int delta) { m_replyDelta = delta; }
    // How many replies were distorted so far.
    int distortedReplies() const { return m_distorted; }

    // The `n`-th page written from now on (counting from 1; 0: none) is acknowledged but stored
    // with one byte wrong, as a failing memory would.
    void corruptPageWrite(int n) { m_corruptAt = n > 0 ? m_pageWrites + n : 0; }

    bool dirty() const { return m_dirty; }
    void clearDirty() { m_dirty = false; }
    int pageReads() const { return m_pageReads; }
    int pageWrites() const { return m_pageWrites; }
    int ignoredRequests() const { return m_ignored; }
    bool hasPendingReply() const { return !m_out.empty(); }

private:
    void process(const std::vector<std::uint8_t>& body);
    bool processNormal(const std::vector<std::uint8_t>& body);
    void reply(const std::uint8_t* data, int length);
    void applyDistortion();
    static void corrupt(std::uint16_t number, CVirtualPanelState::Page& page);

    CVirtualPanelState m_state;
    CVirtualBootLoader m_boot;
    Mode m_mode = Mode::Normal;
    std::vector<std::uint8_t> m_request;          // bytes received since the last complete request
    std::deque<std::vector<std::uint8_t>> m_out;  // pending IN transfers, oldest first
    int m_replyDelta = 0;
    int m_distorted = 0;
    int m_logKind = 0;
    std::size_t m_logCursor = 0;
    bool m_dirty = false;
    int m_pageReads = 0;
    int m_pageWrites = 0;
    int m_corruptAt = 0;  // value of m_pageWrites whose page is stored wrong; 0: none
    int m_ignored = 0;
};
