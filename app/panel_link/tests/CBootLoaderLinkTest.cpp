// The update-mode command set, as scripted chats: the exact bytes on the wire.
#include "panel_link/CBootLoaderLink.h"

#include <gtest/gtest.h>

#include "ScriptedUsb.h"
#include "SrecText.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct BootChat : ::testing::Test {
    std::shared_ptr<ScriptedUsb> usb = std::make_shared<ScriptedUsb>();
    CPanelLink link{usb};
    CBootLoaderLink boot{link};
    void SetUp() override { ASSERT_TRUE(link.prepareDevice()); }
    void TearDown() override {
        EXPECT_TRUE(usb->mismatches().empty()) << usb->mismatches().front();
        EXPECT_TRUE(usb->finished());
    }
};

TEST_F(BootChat, PipeMessageCarriesLengthsAndCardAddress) {
    // 0x02, then the pipe message: 0x01, answer length 3, card message length + 1, card 2, message.
    usb->request({0x02, 0x01, 0x03, 0x04, 0x02, 0x02, 0x00, 0x14}).reply({0x01, 0x00, 0x03, 0x00, 0x14, 0x00});
    EXPECT_TRUE(boot.cardErasePage(2, 20));
    usb->request({0x02, 0x01, 0x00, 0x03, 0x01, 0x00, 0x00});  // enter update mode: no answer is read
    EXPECT_TRUE(boot.cardEnterUpdate(1));
}

TEST_F(BootChat, CardStatusAndShortAnswersFail) {
    const Bytes erase = {0x02, 0x01, 0x03, 0x04, 0x00, 0x02, 0x00, 0x15};
    usb->request(erase).reply({0x01, 0x00, 0x03, 0x03, 0x15, 0x00});  // status 3: flash error
    EXPECT_FALSE(boot.cardErasePage(0, 21));
    usb->request(erase).reply({0x01, 0x04, 0x00});  // the card did not answer
    EXPECT_FALSE(boot.cardErasePage(0, 21));
    EXPECT_FALSE(link.failed()) << "a refused erase leaves the framing intact";
}

TEST_F(BootChat, FlashProgramSendsBlockNumberHighByteFirst) {
    Bytes body = {0x02, 0x02, 0x03, 0xFF};
    body.insert(body.end(), 256, 0x11);
    usb->request(body).reply({0x02, 0x00});
    EXPECT_TRUE(boot.flashProgram(0x3FF, Bytes(256, 0x11)));
    usb->request({0x02, 0x01, 0x08, 0x01}).reply({0x01, 0x01});
    EXPECT_FALSE(boot.flashErase(8));
}

TEST_F(BootChat, RamAppletStopsAtTheFirstFailedBlock) {
    CFirmwareImage applet = CFirmwareImage::mainBoardApplet();
    const std::string text = SrecFile('3', 0x20000000, Bytes(600, 0x4E));
    ASSERT_TRUE(applet.parse(text.data(), text.size()));
    Bytes block0 = {0x01, 0x00};
    block0.insert(block0.end(), 256, 0x4E);
    usb->write({0x01, 0x02}).write(block0);
    usb->write({0x01, 0x02}, kUsbErrorIo);
    EXPECT_FALSE(boot.sendRamApplet(applet));
}

TEST_F(BootChat, LanguageReadNeedsTheWholeBlock) {
    Bytes reply = {0x02};
    reply.insert(reply.end(), 256, 0x33);
    usb->request({0x02, 0x02, 0x00, 0x01}).reply(reply);
    Bytes block;
    ASSERT_TRUE(boot.languageRead(1, block));
    EXPECT_EQ(Bytes(256, 0x33), block);
    reply.pop_back();
    usb->request({0x02, 0x02, 0x00, 0x01}).reply(reply);
    EXPECT_FALSE(boot.languageRead(1, block));
}

TEST(CBootLoaderLink, PiecesCountFromTheWindowStart) {
    struct Case {
        std::uint32_t address;
        std::size_t bytes;
        std::uint32_t last;
        int expected;
    } cases[] = {
        {0x4000, 0x100, 0, 1},       // exactly one block
        {0x4000, 0x101, 0, 2},
        {0x4000, 0x100, 0x4203, 3},  // up to the checksum
        {0x4100, 0x10, 0, 2},        // data above the window start still goes out
        {0x3FF00, 0x100, 0, 0x3C0},
    };
    for (const Case& c : cases) {
        CFirmwareImage image(0x4000, 0x3FFFF, CFirmwareImage::Kind::S3, CFirmwareImage::PostProcess::None);
        const std::string text = SrecFile('3', c.address, Bytes(c.bytes, 0));
        ASSERT_TRUE(image.parse(text.data(), text.size()));
        EXPECT_EQ(c.expected, CBootLoaderLink::piecesToSend(image, 256, c.last)) << std::hex << c.address;
    }
    CFirmwareImage empty = CFirmwareImage::mainBoardFirmware();
    EXPECT_EQ(0, CBootLoaderLink::piecesToSend(empty, 256, 0x4203));
}

}  // namespace
