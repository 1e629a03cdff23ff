#include <tern/KvTcpSocket.h>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <string>
#include <thread>

namespace {

const std::uint32_t kLoopback = htonl(INADDR_LOOPBACK);

// A listener on a free loopback port with one accepted connection.
struct Pair {
    KvTcpSocket listener, client, server;
    Pair() {
        EXPECT_TRUE(listener.Listen(0, kLoopback, true));
        EXPECT_TRUE(client.Connect("127.0.0.1", listener.LocalPort()));
        EXPECT_TRUE(server.AcceptFrom(listener, 2000));
    }
};

TEST(KvTcpSocketTest, ExchangesBytesBothWays) {
    Pair p;
    EXPECT_TRUE(p.client.Connected());
    KvString peer;
    EXPECT_TRUE(p.server.GetPeerName(peer));
    EXPECT_STREQ(peer.c_str(), "127.0.0.1");
    EXPECT_EQ(p.client.Send("ping", 4), 4);
    char buf[16] = {};
    EXPECT_EQ(p.server.Peek(buf, sizeof buf, 1000), 4);
    EXPECT_EQ(p.server.Receive(buf, sizeof buf), 4);
    EXPECT_EQ(std::string(buf, 4), "ping");
    EXPECT_TRUE(p.server.SendAll("pong", 4));
    EXPECT_EQ(p.client.Receive(buf, sizeof buf), 4);
    p.server.Close();
    EXPECT_FALSE(p.server.Valid());
    EXPECT_EQ(p.client.Receive(buf, sizeof buf), 0) << "the peer's close reads as 0";
}

TEST(KvTcpSocketTest, ReceiveTimesOutWithoutClosing) {
    Pair p;
    p.server.SetReceiveWait(50);
    char buf[4];
    EXPECT_EQ(p.server.Receive(buf, sizeof buf), -2);
    EXPECT_TRUE(p.server.Valid());
    p.client.Send("x", 1);
    EXPECT_EQ(p.server.Receive(buf, sizeof buf), 1);
}

TEST(KvTcpSocketTest, ReceiveDropReadsPiecesOfAtMost1024) {
    Pair p;
    const std::string data(3000, 'z');
    ASSERT_TRUE(p.client.SendAll(data.data(), 3000));
    p.client.Send("tail", 4);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(p.server.ReceiveDrop(3000), 3000);
    char buf[8];
    EXPECT_EQ(p.server.Receive(buf, sizeof buf), 4) << "ReceiveDrop must not take more than asked";
}

TEST(KvTcpSocketTest, AcceptTimeLimit) {
    KvTcpSocket listener, accepted;
    ASSERT_TRUE(listener.Listen(0, kLoopback, true));
    const auto t0 = std::chrono::steady_clock::now();
    EXPECT_FALSE(accepted.AcceptFrom(listener, 100));
    EXPECT_GE(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(90));
    KvTcpSocket none;
    EXPECT_FALSE(accepted.AcceptFrom(none, 10));
    listener.Close();  // a listening socket closes without the half-close wait
    EXPECT_FALSE(listener.Valid());
}

TEST(KvTcpSocketTest, FailuresAreResults) {
    KvTcpSocket s;
    char buf[4];
    EXPECT_EQ(s.Send("x", 1), -1);
    EXPECT_EQ(s.Receive(buf, 4), -1);
    EXPECT_FALSE(s.Connected());
    EXPECT_FALSE(s.Connect("no-such-host.invalid", 80));
    EXPECT_FALSE(s.Valid());
    KvTcpSocket listener;
    ASSERT_TRUE(listener.Listen(0, kLoopback, true));
    const int port = listener.LocalPort();
    listener.Close();
    EXPECT_FALSE(s.Connect("127.0.0.1", port)) << "nobody listens there any more";
    EXPECT_FALSE(s.Valid());
    KvTcpSocket busy;
    ASSERT_TRUE(listener.Listen(0, kLoopback, false));
    EXPECT_FALSE(busy.Listen(listener.LocalPort(), kLoopback, false));
    EXPECT_FALSE(busy.Valid());
}

TEST(KvTcpSocketTest, DetachKeepsTheHandleOpen) {
    Pair p;
    KvTcpSocket other;
    other.Attach(p.server.Detach());
    EXPECT_FALSE(p.server.Valid());
    p.client.Send("k", 1);
    char c;
    EXPECT_EQ(other.Receive(&c, 1), 1);
}

}  // namespace
