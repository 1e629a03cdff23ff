// The transport and framing, as scripted chats and against the virtual bus.
#include "panel_link/CPanelLink.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "EnvironmentBus.h"
#include "ScriptedUsb.h"
#include "testkit/TempFolder.h"
#include "virtual_panel/CVirtualUsbBus.h"


namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes pageOf(std::uint8_t fill, int size = 256) { return Bytes(static_cast<std::size_t>(size), fill); }

Bytes concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct Chat : ::testing::Test {
    std::shared_ptr<ScriptedUsb> usb = std::make_shared<ScriptedUsb>();
    CPanelLink link{usb};
    void SetUp() override { ASSERT_TRUE(link.prepareDevice()); }
    // Every scripted transfer must have happened: a request that sends too little fails too.
    void TearDown() override {
        EXPECT_TRUE(usb->mismatches().empty()) << usb->mismatches().front();
        EXPECT_TRUE(usb->finished()) << "the code stopped before the script's end";
    }
};

TEST_F(Chat, PageWriteIsFramedWithHeader0x0103) {
    const Bytes data = pageOf(0xA5);
    usb->write({0x01, 0x03}).write(concat({0x02, 0x01, 0x2F}, data));
    EXPECT_TRUE(link.writePage(0x012F, data.data()));
    EXPECT_TRUE(usb->finished());
}

TEST_F(Chat, PageReadSendsThreeBytesAndTakesExactly256) {
    usb->request({0x01, 0x03, 0xE1}).reply(pageOf(7));
    std::uint8_t page[256] = {};
    ASSERT_TRUE(link.readPage(0x03E1, page));
    EXPECT_EQ(page[0], 7);
    EXPECT_EQ(page[255], 7);
}

TEST_F(Chat, PageReplyOf255BytesFails) {
    usb->request({0x01, 0x00, 0x04}).reply(pageOf(1, 255));
    std::uint8_t page[256];
    EXPECT_FALSE(link.readPage(4, page));
    EXPECT_TRUE(link.failed());
}

TEST_F(Chat, PageReplyOf257BytesFailsBeforeItsBodyIsRead) {
    // Only the header is read: the body would not fit the 256-byte page.
    usb->request({0x01, 0x00, 0x04}).read({0x01, 0x01});
    std::uint8_t page[256];
    EXPECT_FALSE(link.readPage(4, page));
    EXPECT_TRUE(usb->finished());
}

TEST_F(Chat, ShortWriteFailsAlthoughNoErrorWasReported) {
    const Bytes data = pageOf(0);
    usb->write({0x01, 0x03}).write(concat({0x02, 0x01, 0x20}, data), 258);
    EXPECT_FALSE(link.writePage(0x0120, data.data()));
    EXPECT_TRUE(link.failed());
}

TEST_F(Chat, ShortHeaderWriteStopsBeforeTheBody) {
    usb->write({0x00, 0x01}, 1);
    const std::uint8_t body[1] = {0x06};
    EXPECT_FALSE(link.sendPacket(body, 1));
    EXPECT_TRUE(usb->finished());
}

TEST_F(Chat, EmptyReplyCompletesWithAZeroByteRead) {
    usb->request({0x06}).read({0x00, 0x00}).read({});
    std::uint8_t line[128];
    int length = -1;
    EXPECT_TRUE(link.readNextLogLine(line, length));
    EXPECT_EQ(length, 0);
    EXPECT_TRUE(usb->finished());
}

TEST_F(Chat, LogLineLongerThan128BytesIsRefused) {
    usb->request({0x06}).read({0x00, 0x81});
    std::uint8_t line[128];
    int length = -1;
    EXPECT_FALSE(link.readNextLogLine(line, length));
    EXPECT_EQ(length, 0) << "a caller writing out the line must not read past its buffer";
}

TEST_F(Chat, NothingIsSentAfterAFailedTransfer) {
    usb->request({0x01, 0x00, 0x05}).read({0x01, 0x00}, kUsbErrorTimeout);
    std::uint8_t page[256];
    EXPECT_FALSE(link.readPage(5, page));
    EXPECT_FALSE(link.readPage(5, page));  // the script has no more steps: any transfer would be a mismatch
    EXPECT_FALSE(link.writePage(5, page));
}

TEST_F(Chat, ClockRequestCarriesTheRecordWithItsTwoPadBytes) {
    const std::uint8_t clock[6] = {59, 59, 23, 31, 12, 99};
    usb->request({0x03, 0x00, 59, 59, 23, 0x00, 31, 12, 99});
    EXPECT_TRUE(link.setClock(clock));
}

TEST_F(Chat, LogCountIsBigEndianAndMustBeTwoBytes) {
    usb->request({0x05, 0x02}).reply({0x01, 0x2C}).request({0x05, 0x03}).reply({0x00, 0x01, 0x00});
    int count = 0;
    ASSERT_TRUE(link.readLogCount(2, count));
    EXPECT_EQ(count, 300);
    EXPECT_FALSE(link.readLogCount(3, count));
}

TEST_F(Chat, IdentifyWantsTheAnswer0x42) {
    usb->request({0x00}).reply({0x42, 0x01}).request({0x00}).reply({0x41});
    EXPECT_TRUE(link.identify());
    EXPECT_FALSE(link.identify());
}

TEST(PanelLinkFraming, RejectsBodiesItCannotFrame) {
    auto usb = std::make_shared<ScriptedUsb>();
    CPanelLink link(usb);
    const std::uint8_t body[1] = {0};
    EXPECT_FALSE(link.sendPacket(body, 1)) << "no device open";
    ASSERT_TRUE(link.prepareDevice());
    EXPECT_FALSE(link.sendPacket(body, 0));
    EXPECT_FALSE(link.sendPacket(body, 65536));
    EXPECT_TRUE(usb->mismatches().empty());
}

// ---------------------------------------------------------------- finding the panel

TEST(PanelLinkSearch, PanelOnTheLaterBusIsUsedAndTheOtherClosed) {
    CVirtualFaults faults;
    faults.twoBuses = true;
    auto bus = std::make_shared<CVirtualUsbBus>("", faults);
    bus->panel().state().setAddress(9);
    CPanelLink link(bus);
    ASSERT_TRUE(link.prepareDevice());
    EXPECT_EQ(bus->opens(), 2);
    EXPECT_EQ(bus->openHandles(), 1);
    ASSERT_TRUE(link.readSettingsPage());
    EXPECT_EQ(link.getPanelAddressByte(), 9);
}

TEST(PanelLinkSearch, NoPanelMeansTwoSearchesThenFailure) {
    CVirtualFaults faults;
    faults.deviceAbsent = true;
    auto bus = std::make_shared<CVirtualUsbBus>("", faults);
    CPanelLink link(bus);
    EXPECT_FALSE(link.prepareDevice(2));
    EXPECT_EQ(bus->listings(), 2);
    EXPECT_FALSE(link.isOpen());
}

TEST(PanelLinkSearch, RefusedConfigurationOrClaimFailsAndLeavesNothingOpen) {
    for (int which = 0; which < 2; ++which) {
        CVirtualFaults faults;
        (which == 0 ? faults.refuseConfiguration : faults.refuseClaim) = true;
        auto bus = std::make_shared<CVirtualUsbBus>("", faults);
        CPanelLink link(bus);
        EXPECT_FALSE(link.prepareDevice(2));
        EXPECT_EQ(bus->opens(), 2);
        EXPECT_EQ(bus->openHandles(), 0);
    }
}

TEST(PanelLinkSearch, ReleaseClosesTheDeviceAndANewConnectionStartsClean) {
    CVirtualFaults faults;
    faults.transfer = CVirtualTransferFault::Error;
    faults.atTransfer = 1;
    auto bus = std::make_shared<CVirtualUsbBus>("", faults);
    CPanelLink link(bus);
    std::uint8_t page[256];
    ASSERT_TRUE(link.prepareDevice());
    EXPECT_FALSE(link.readPage(4, page));
    EXPECT_TRUE(link.failed());
    link.releaseDevice();
    EXPECT_EQ(bus->openHandles(), 0);
    bus->faults().transfer = CVirtualTransferFault::None;
    ASSERT_TRUE(link.prepareDevice());
    EXPECT_FALSE(link.failed());
    EXPECT_TRUE(link.readPage(4, page));
}

TEST(PanelLinkSearch, RealBusWithoutAPanelIsHandledQuietly) {
    // CI machines have no panel; the search must fail cleanly rather than crash.
    CPanelLink link(busFromEnvironment());
    if (!link.prepareDevice()) {
        EXPECT_FALSE(link.isOpen());
    }
    link.releaseDevice();
}

}  // namespace

namespace {

// Sets an environment variable for the life of the object.
struct ScopedEnv {
    std::string name;
    ScopedEnv(const char* n, const std::string& value) : name(n) { ::setenv(n, value.c_str(), 1); }
    ~ScopedEnv() { ::unsetenv(name.c_str()); }
};

TEST(PanelLinkEnvironment, VirtualPanelChosenAtRunTimeKeepsItsStateBetweenLinks) {
    const TempFolder folder("cairn-env-panel");
    const std::string path = (folder / "panel.state").string();
    ScopedEnv env("CAIRN_PANEL", "virtual:" + path);
    std::uint8_t page[256];
    std::fill(std::begin(page), std::end(page), 0x5C);
    {
        CPanelLink first(busFromEnvironment());
        ASSERT_TRUE(first.prepareDevice(2));
        ASSERT_TRUE(first.writePage(0x0300, page));
    }
    CPanelLink second(busFromEnvironment());
    ASSERT_TRUE(second.prepareDevice(2));
    std::uint8_t back[256] = {};
    ASSERT_TRUE(second.readPage(0x0300, back));
    EXPECT_EQ(back[128], 0x5C);
    second.releaseDevice();
}

TEST(PanelLinkEnvironment, UnknownSettingsFindNoPanelRatherThanTheRealBus) {
    const TempFolder folder("cairn-env-panel");
    const std::string state = "virtual:" + (folder / "panel.state").string();
    const char* values[][2] = {{"CAIRN_PANEL", "virtual:"}, {"CAIRN_PANEL", "usb"}, {"CAIRN_PANEL_FAULT", "slow@2"}};
    for (const auto& v : values) {
        ScopedEnv panel("CAIRN_PANEL", state);
        ScopedEnv setting(v[0], v[1]);
        std::string problem;
        CPanelLink link(usbBackendFromEnvironment(problem));
        EXPECT_FALSE(link.prepareDevice()) << v[0] << "=" << v[1];
        EXPECT_NE(problem.find(v[0]), std::string::npos) << problem;
    }
    ScopedEnv panel("CAIRN_PANEL", state);
    ScopedEnv fault("CAIRN_PANEL_FAULT", "absent");
    CPanelLink link(busFromEnvironment());
    EXPECT_FALSE(link.prepareDevice());
}

}  // namespace
