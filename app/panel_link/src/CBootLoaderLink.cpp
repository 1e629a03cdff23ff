#include "panel_link/CBootLoaderLink.h"

#include <algorithm>

#include "basalt/KvTrace.h"

namespace {

constexpr std::uint8_t kRamBlock = 0x01;
constexpr std::uint8_t kAppletMessage = 0x02;
constexpr int kReplyCapacity = 1 + 2 * CBootLoaderLink::kBlockSize;
constexpr int kPipeHeader = 3;  // the card's answer starts at reply byte 3

std::uint8_t byte(int value) { return static_cast<std::uint8_t>(value & 0xFF); }

}  // namespace

int CBootLoaderLink::piecesToSend(const CFirmwareImage& image, int size, std::uint32_t last) {
    if (size <= 0 || image.stored() == 0) return 0;
    const std::uint32_t top = std::min(std::max(image.highest(), last), image.rangeEnd());
    if (top < image.rangeStart()) return 0;
    const std::uint32_t span = top - image.rangeStart() + 1;
    return static_cast<int>((span + static_cast<std::uint32_t>(size) - 1) / static_cast<std::uint32_t>(size));
}

bool CBootLoaderLink::sendRamApplet(const CFirmwareImage& applet) {
    printk("\n CBootLoaderLink::sendRamApplet");
    const int blocks = piecesToSend(applet, kBlockSize);
    if (blocks == 0) return false;
    std::vector<std::uint8_t> body(2 + kBlockSize);
    for (int i = 0; i < blocks; ++i) {
        body[0] = kRamBlock;
        body[1] = byte(i);
        const std::vector<std::uint8_t> data = applet.piece(i, kBlockSize);
        std::copy(data.begin(), data.end(), body.begin() + 2);
        if (!m_link.sendPacket(body.data(), static_cast<int>(body.size()))) return false;
    }
    return true;
}

bool CBootLoaderLink::appletMessage(const std::vector<std::uint8_t>& message, int replyLength,
                                    std::vector<std::uint8_t>* reply) {
    std::vector<std::uint8_t> body;
    body.reserve(message.size() + 1);
    body.push_back(kAppletMessage);
    body.insert(body.end(), message.begin(), message.end());
    if (!m_link.sendPacket(body.data(), static_cast<int>(body.size()))) return false;
    if (replyLength == 0) return true;
    std::vector<std::uint8_t> buffer(kReplyCapacity);
    int length = 0;
    if (!m_link.receivePacket(buffer.data(), kReplyCapacity, length) || length < replyLength) return false;
    buffer.resize(static_cast<std::size_t>(length));
    if (reply) *reply = std::move(buffer);
    return true;
}

bool CBootLoaderLink::statusOk(const std::vector<std::uint8_t>& reply, std::size_t at) {
    if (reply.size() <= at) return false;
    m_status = reply[at];
    return m_status == 0;
}

// ---------------------------------------------------------------- main-board flash applet

bool CBootLoaderLink::flashStart() {
    clearStatus();
    std::vector<std::uint8_t> reply;
    return appletMessage({0x00}, 2, &reply) && statusOk(reply, 1);
}

bool CBootLoaderLink::flashErase(int sector) {
    clearStatus();
    std::vector<std::uint8_t> reply;
    return appletMessage({0x01, byte(sector), 0x01}, 2, &reply) && statusOk(reply, 1);
}

bool CBootLoaderLink::flashProgram(int block, const std::vector<std::uint8_t>& data) {
    clearStatus();
    if (data.size() != kBlockSize) return false;
    std::vector<std::uint8_t> message = {0x02, byte(block >> 8), byte(block)};
    message.insert(message.end(), data.begin(), data.end());
    std::vector<std::uint8_t> reply;
    return appletMessage(message, 2, &reply) && statusOk(reply, 1);
}

// ---------------------------------------------------------------- pipe applet and loop cards

bool CBootLoaderLink::pipeStart() { return appletMessage({0x00}, 0); }

bool CBootLoaderLink::cardMessage(int card, const std::vector<std::uint8_t>& message, int answerLength,
                                  std::vector<std::uint8_t>* answer) {
    if (card < 0 || card >= kCards || message.size() > 250 || answerLength < 0 || answerLength > 255) return false;
    std::vector<std::uint8_t> pipe = {0x01, byte(answerLength), byte(static_cast<int>(message.size()) + 1),
                                      byte(card)};
    pipe.insert(pipe.end(), message.begin(), message.end());
    std::vector<std::uint8_t> reply;
    if (!appletMessage(pipe, answerLength == 0 ? 0 : kPipeHeader + answerLength, &reply)) return false;
    if (answer && answerLength > 0)
        answer->assign(reply.begin() + kPipeHeader, reply.begin() + kPipeHeader + answerLength);
    return true;
}

bool CBootLoaderLink::cardEnterUpdate(int card) { return cardMessage(card, {0x00, 0x00}, 0); }

bool CBootLoaderLink::cardReady(int card) {
    clearStatus();
    std::vector<std::uint8_t> answer;
    return cardMessage(card, {0x00, 0x01}, 2, &answer) && statusOk(answer, 0);
}

bool CBootLoaderLink::cardRamPiece(int card, int piece, const std::vector<std::uint8_t>& data) {
    clearStatus();
    if (data.size() != kCardPieceSize) return false;
    std::vector<std::uint8_t> message = {0x01, byte(piece)};
    message.insert(message.end(), data.begin(), data.end());
    std::vector<std::uint8_t> answer;
    return cardMessage(card, message, 2, &answer) && statusOk(answer, 0);
}

bool CBootLoaderLink::cardErasePage(int card, int page) {
    clearStatus();
    std::vector<std::uint8_t> answer;
    return cardMessage(card, {0x02, 0x00, byte(page)}, 3, &answer) && statusOk(answer, 0);
}

bool CBootLoaderLink::cardProgramRow(int card, int page, int row, const std::vector<std::uint8_t>& data) {
    clearStatus();
    if (data.size() != kCardPieceSize) return false;
    std::vector<std::uint8_t> message = {0x02, 0x01, byte(page), byte(row)};
    message.insert(message.end(), data.begin(), data.end());
    std::vector<std::uint8_t> answer;
    return cardMessage(card, message, 3, &answer) && statusOk(answer, 0);
}

bool CBootLoaderLink::cardLeaveUpdate(int card) { return cardMessage(card, {0x03}, 0); }

// ---------------------------------------------------------------- language applet

bool CBootLoaderLink::languageStart() { return appletMessage({0x00}, 0); }

bool CBootLoaderLink::languageWrite(int block, const std::vector<std::uint8_t>& data) {
    if (data.size() != kBlockSize) return false;
    std::vector<std::uint8_t> message = {0x01, byte(block >> 8), byte(block)};
    message.insert(message.end(), data.begin(), data.end());
    return appletMessage(message, 0);
}

bool CBootLoaderLink::languageRead(int block, std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> reply;
    if (!appletMessage({0x02, byte(block >> 8), byte(block)}, 1 + kBlockSize, &reply)) return false;
    data.assign(reply.begin() + 1, reply.begin() + 1 + kBlockSize);
    return true;
}
