// The virtual panel as a device: its commands, its persistence, its faults.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>

#include "testkit/TempFolder.h"
#include "virtual_panel/CVirtualUsbBus.h"


namespace {

using Bytes = std::vector<std::uint8_t>;

// Speaks raw framing to a bus, without the host's transport.
struct Wire {
    CVirtualUsbBus& bus;
    CUsbHandle handle = nullptr;

    bool connect() {
        std::vector<CUsbDeviceEntry> devices;
        bus.listDevices(devices);
        for (const auto& d : devices)
            if (d.vendorId == 0x15A2) handle = bus.open(d);
        return handle && bus.setConfiguration(handle, 1) == 0 && bus.claimInterface(handle, 0) == 0;
    }
    void send(const Bytes& body) {
        const Bytes header = {static_cast<std::uint8_t>(body.size() >> 8), static_cast<std::uint8_t>(body.size())};
        bus.bulkWrite(handle, 0x02, header.data(), 2, 5000);
        bus.bulkWrite(handle, 0x02, body.data(), static_cast<int>(body.size()), 5000);
    }
    // The reply body, or nothing when the panel stays silent.
    std::optional<Bytes> receive() {
        std::uint8_t header[2];
        if (bus.bulkRead(handle, 0x81, header, 2, 5000) != 2) return std::nullopt;
        Bytes body(static_cast<std::size_t>(header[0] << 8 | header[1]));
        const int n = bus.bulkRead(handle, 0x81, body.data(), static_cast<int>(body.size()), 5000);
        if (n != static_cast<int>(body.size())) return std::nullopt;
        return body;
    }
    void close() {
        bus.releaseInterface(handle, 0);
        bus.close(handle);
        handle = nullptr;
    }
};

// A state file path in a folder of its own; the file itself does not exist yet.
struct TempFile {
    TempFolder folder{"cairn-vp"};
    std::string path = (folder / "panel.state").string();
};

TEST(VirtualPanel, StateSurvivesBetweenRunsThroughItsFile) {
    TempFile file;
    {
        CVirtualUsbBus bus(file.path);
        Wire wire{bus};
        ASSERT_TRUE(wire.connect());
        EXPECT_TRUE(std::filesystem::exists(file.path)) << "created on first use";
        Bytes write = {0x02, 0x01, 0x21};
        write.resize(259, 0x41);
        wire.send(write);
        wire.send({0x03, 0, 1, 2, 3, 0, 4, 5, 26});
        wire.close();
    }
    CVirtualUsbBus later(file.path);
    Wire wire{later};
    ASSERT_TRUE(wire.connect());
    wire.send({0x01, 0x01, 0x21});
    const auto page = wire.receive();
    ASSERT_TRUE(page);
    EXPECT_EQ(page->size(), 256u);
    EXPECT_EQ((*page)[255], 0x41);
    EXPECT_EQ(later.panel().state().clock()[7], 26);
}

TEST(VirtualPanel, AFileItDoesNotRecogniseKeepsThePanelAway) {
    TempFile file;
    std::ofstream(file.path) << "something else\n";
    CVirtualUsbBus bus(file.path);
    Wire wire{bus};
    EXPECT_FALSE(wire.connect());
    EXPECT_FALSE(bus.lastError().empty());
    std::ifstream in(file.path);
    std::string first;
    std::getline(in, first);
    EXPECT_EQ(first, "something else") << "an unreadable file is never overwritten";
}

TEST(VirtualPanel, FactoryPanelHasAnAddressEmptyTablesAndLogs) {
    CVirtualUsbBus bus;
    Wire wire{bus};
    ASSERT_TRUE(wire.connect());
    wire.send({0x01, 0x00, 0x04});
    EXPECT_EQ(wire.receive()->at(0), CVirtualPanelState::kFactoryAddress);
    wire.send({0x01, 0x01, 0xA0});
    const Bytes elements = *wire.receive();
    EXPECT_EQ(elements[0], 0);
    EXPECT_EQ(elements[27], 1);
    wire.send({0x01, 0x03, 0xA0});
    EXPECT_EQ(wire.receive()->at(0), 0) << "the event list is empty";
}

TEST(VirtualPanel, LogCountThenLinesOfThatLog) {
    CVirtualUsbBus bus;
    bus.panel().state().log(3) = {"first", std::string(200, 'x')};
    Wire wire{bus};
    ASSERT_TRUE(wire.connect());
    wire.send({0x05, 3});
    EXPECT_EQ(*wire.receive(), (Bytes{0, 2}));
    wire.send({0x06});
    EXPECT_EQ(*wire.receive(), (Bytes{'f', 'i', 'r', 's', 't', 0}));
    wire.send({0x06});
    const Bytes longLine = *wire.receive();
    EXPECT_EQ(longLine.size(), 128u) << "127 characters and the terminator at most";
    EXPECT_EQ(longLine.back(), 0);
    wire.send({0x05, 9});
    EXPECT_EQ(*wire.receive(), (Bytes{0, 0}));
}

TEST(VirtualPanel, MalformedRequestsGetNoReply) {
    CVirtualUsbBus bus;
    Wire wire{bus};
    ASSERT_TRUE(wire.connect());
    const Bytes requests[] = {{0x01, 0x00}, {0x02, 0x00, 0x05, 1, 2}, {0x07}, {0x00}, {0x05}};
    for (const Bytes& r : requests) {
        wire.send(r);
        EXPECT_FALSE(wire.receive()) << "request of " << r.size() << " bytes";
    }
    EXPECT_EQ(bus.panel().ignoredRequests(), 5);
    EXPECT_EQ(bus.panel().state().page(5)[0], 'V') << "a malformed page write changes nothing";
}

TEST(VirtualPanel, TransfersNeedAClaimedInterfaceAndTheRightEndpoints) {
    CVirtualUsbBus bus;
    std::vector<CUsbDeviceEntry> devices;
    bus.listDevices(devices);
    CUsbHandle h = bus.open(devices.back());
    const std::uint8_t header[2] = {0, 1};
    std::uint8_t in[2];
    EXPECT_LT(bus.bulkWrite(h, 0x02, header, 2, 5000), 0);
    ASSERT_EQ(bus.claimInterface(h, 0), 0);
    EXPECT_EQ(bus.bulkWrite(h, 0x01, header, 2, 5000), kUsbErrorPipe);
    EXPECT_EQ(bus.bulkRead(h, 0x82, in, 2, 5000), kUsbErrorPipe);
    EXPECT_EQ(bus.bulkRead(h, 0x81, in, 2, 5000), kUsbErrorTimeout) << "nothing was asked";
    bus.close(h);
    EXPECT_EQ(bus.openHandles(), 0);
}

TEST(VirtualPanel, RepliesLargerThanTheReadAreAnOverflow) {
    CVirtualUsbBus bus;
    Wire wire{bus};
    ASSERT_TRUE(wire.connect());
    wire.send({0x01, 0x00, 0x04});
    std::uint8_t header[2];
    ASSERT_EQ(bus.bulkRead(wire.handle, 0x81, header, 2, 5000), 2);
    std::uint8_t small[100];
    EXPECT_EQ(bus.bulkRead(wire.handle, 0x81, small, 100, 5000), kUsbErrorOverflow);
}

TEST(VirtualFaults, ParsesTheListItUnderstandsOnly) {
    CVirtualFaults f;
    ASSERT_TRUE(CVirtualFaults::parse("two-buses,timeout@12", f));
    EXPECT_TRUE(f.twoBuses);
    EXPECT_EQ(f.transfer, CVirtualTransferFault::Timeout);
    EXPECT_EQ(f.atTransfer, 12);
    ASSERT_TRUE(CVirtualFaults::parse("length-1@3,refuse-claim", f));
    EXPECT_EQ(f.lengthDelta, -1);
    EXPECT_TRUE(f.refuseClaim);
    EXPECT_FALSE(f.twoBuses);
    for (const char* bad : {"timeout@0", "timeout@", "error@x", "slow@3", "absent,", "short"}) {
        CVirtualFaults g;
        g.deviceAbsent = true;
        EXPECT_EQ(CVirtualFaults::parse(bad, g), std::string(bad) == "absent,") << bad;
    }
}

TEST(VirtualFaults, WrongLengthDistortsTheNextReplyOnce) {
    CVirtualUsbBus bus("", [] {
        CVirtualFaults f;
        f.transfer = CVirtualTransferFault::WrongLength;
        f.atTransfer = 1;
        return f;
    }());
    Wire wire{bus};
    ASSERT_TRUE(wire.connect());
    wire.send({0x01, 0x00, 0x04});
    EXPECT_EQ(wire.receive()->size(), 257u);
    wire.send({0x01, 0x00, 0x04});
    EXPECT_EQ(wire.receive()->size(), 256u);
    EXPECT_TRUE(bus.faultStruck());
}

}  // namespace

TEST(VirtualFaults, CorruptStoresOneByteOfTheNthPageWrongAndStillAcknowledges) {
    CVirtualFaults faults;
    ASSERT_TRUE(CVirtualFaults::parse("corrupt@2", faults));
    EXPECT_EQ(faults.corruptPage, 2);
    EXPECT_EQ(faults.transfer, CVirtualTransferFault::None);
    CVirtualUsbBus bus("", faults);
    Wire wire{bus};
    ASSERT_TRUE(wire.connect());
    // Page 0x0200 (an element page) and 0x0121 (a zone page, whose byte 0 the panel never reads).
    for (std::uint16_t number : {0x0200, 0x0121, 0x0201}) {
        Bytes write = {0x02, static_cast<std::uint8_t>(number >> 8), static_cast<std::uint8_t>(number)};
        write.resize(259, 0x41);
        wire.send(write);
    }
    EXPECT_EQ(bus.panel().pageWrites(), 3);
    for (std::uint16_t number : {0x0200, 0x0121, 0x0201}) {
        wire.send({0x01, static_cast<std::uint8_t>(number >> 8), static_cast<std::uint8_t>(number)});
        const auto page = wire.receive();
        ASSERT_TRUE(page);
        int wrong = 0;
        for (std::uint8_t b : *page) wrong += b != 0x41;
        EXPECT_EQ(wrong, number == 0x0121 ? 1 : 0) << number;
        if (number == 0x0121) {
            EXPECT_EQ((*page)[1], 0x41 ^ 0xFF);
        }
    }
}
