// The virtual panel's update mode on its own: what it accepts and refuses.
#include "virtual_panel/CVirtualBootLoader.h"

#include <gtest/gtest.h>

#include <cstring>

#include "virtual_panel/CVirtualFaults.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct BootLoader : ::testing::Test {
    CVirtualBootLoader board;
    std::vector<Bytes> replies;

    bool send(Bytes body) { return board.process(body, replies); }
    void loadApplet(const char* name) {
        Bytes block = {0x01, 0x00};
        block.resize(2 + 256, 0);
        std::memcpy(block.data() + 2, name, std::strlen(name));
        ASSERT_TRUE(send(block));
    }
    Bytes last() { return replies.empty() ? Bytes() : replies.back(); }
};

TEST_F(BootLoader, FlashNeedsStartAndProtectsTheBootSectors) {
    loadApplet("CF_FLASH");
    ASSERT_TRUE(send({0x02, 0x01, 0x08, 0x01}));
    EXPECT_NE(0, last()[1]) << "erase before start";
    ASSERT_TRUE(send({0x02, 0x00}));
    ASSERT_TRUE(send({0x02, 0x01, 0x07, 0x01}));
    EXPECT_NE(0, last()[1]) << "sector 7 holds the boot loader";
    ASSERT_TRUE(send({0x02, 0x01, 0x08, 0x01}));
    EXPECT_EQ(0, last()[1]);
    EXPECT_EQ(0xFF, board.flash()[0x4000]);
}

TEST_F(BootLoader, ProgrammingUnerasedFlashIsReported) {
    loadApplet("CF_FLASH");
    send({0x02, 0x00});
    Bytes program = {0x02, 0x02, 0x00, 0x50};
    program.resize(3 + 1 + 256, 0xF0);
    ASSERT_TRUE(send(program));
    EXPECT_NE(0, last()[1]) << "0x5A & 0xF0 is not 0xF0";
    send({0x02, 0x01, 0x0A, 0x01});
    ASSERT_TRUE(send(program));
    EXPECT_EQ(0, last()[1]);
    EXPECT_EQ(0xF0, board.flash()[0x5000]);
}

TEST_F(BootLoader, MessagesWithoutAKnownAppletAreIgnored) {
    EXPECT_TRUE(send({0x00}));
    EXPECT_EQ(Bytes{0x42}, last());
    replies.clear();
    loadApplet("SOMETHING");
    EXPECT_FALSE(send({0x02, 0x00}));
    EXPECT_TRUE(replies.empty());
}

TEST_F(BootLoader, CardsNeedUpdateModeAndTheirApplet) {
    loadApplet("PIPE_LOOP");
    const Bytes erase = {0x02, 0x01, 0x03, 0x04, 0x01, 0x02, 0x00, 0x14};
    ASSERT_TRUE(send(erase));
    EXPECT_NE(0, last()[3]) << "card 1 is not in update mode";
    send({0x02, 0x01, 0x00, 0x03, 0x01, 0x00, 0x00});
    EXPECT_TRUE(board.card(1).inUpdateMode());
    ASSERT_TRUE(send(erase));
    EXPECT_NE(0, last()[3]) << "no flash applet in the card's RAM";
    Bytes piece = {0x02, 0x01, 0x02, 0x43, 0x01, 0x01, 0x00};
    piece.resize(7 + 64, 0);
    std::memcpy(piece.data() + 7, "LOOP_FLASH", 10);
    ASSERT_TRUE(send(piece));
    ASSERT_TRUE(send(erase));
    EXPECT_EQ(Bytes({0x01, 0x00, 0x03, 0x00, 0x14, 0x00}), last());
}

TEST(CVirtualBootFaults, ParsesWithTheOtherFaults) {
    CVirtualFaults faults;
    ASSERT_TRUE(CVirtualFaults::parse("card-silent:4,board-erase,error@3", faults));
    EXPECT_TRUE(faults.boot.cardSilent[3]);
    EXPECT_TRUE(faults.boot.boardEraseFails);
    EXPECT_EQ(3, faults.atTransfer);
    for (const char* bad : {"card-silent:0", "card-silent:5", "card-erase", "board-erase:1"})
        EXPECT_FALSE(CVirtualFaults::parse(bad, faults)) << bad;
}

}  // namespace
