#include "game/net/LanServerDiscovery.h"

#include "engine/base/QelClock.h"
#include "engine/net/QelEnetDatagramSocket.h"
#include "tests/engine/net/LoopbackHarness.h"

#include <gtest/gtest.h>

namespace {

// Loopback stands in for the local network: broadcasts go to 127.255.255.255.
constexpr const char* kLoopbackBroadcast = "127.255.255.255";

class LanDiscoveryLoopbackTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        server.SetPort(0);
        ASSERT_TRUE(server.OpenServerRole("10.20.30.40", "Bridge One"));
        port = server.BoundPort();
        ASSERT_NE(port, 0);
        ASSERT_TRUE(SetDiscoveryEndpoint(console, std::string(kLoopbackBroadcast) + ":" + std::to_string(port)));
        ASSERT_TRUE(console.OpenClientRole());
    }

    // Runs both sides, a query every 2 s of the fake clock, until the console
    // lists the wanted number of servers.
    bool ConsoleFinds(size_t count)
    {
        return qel::test::PumpUntil([&] {
            clock.Advance(1000);
            console.Step();
            server.Step();
            console.Step();
            return console.FoundServers().size() == count;
        });
    }

    qel::ManualClock clock{10'000};
    LanServerDiscovery server;
    LanServerDiscovery console;
    uint16_t port = 0;
};

TEST_F(LanDiscoveryLoopbackTest, console_finds_a_hosting_server_by_its_answer)
{
    ASSERT_TRUE(ConsoleFinds(1));
    EXPECT_EQ(console.FoundServers()[0].name, "Bridge One");
    EXPECT_EQ(console.FoundServers()[0].address, "10.20.30.40");
}

TEST_F(LanDiscoveryLoopbackTest, server_that_changed_address_updates_its_entry)
{
    ASSERT_TRUE(ConsoleFinds(1));
    server.Reset();
    server.SetPort(port);
    ASSERT_TRUE(server.OpenServerRole("10.20.30.99", "Bridge One"));
    ASSERT_TRUE(qel::test::PumpUntil([&] {
        clock.Advance(1000);
        console.Step();
        server.Step();
        console.Step();
        return console.FoundServers()[0].address == "10.20.30.99";
    }));
    EXPECT_EQ(console.FoundServers().size(), 1u);
}

TEST_F(LanDiscoveryLoopbackTest, hosting_process_ignores_answers_and_console_ignores_queries)
{
    // Loopback datagrams are delivered within the send call, so one step of
    // the receiver sees each of them.
    QelEnetDatagramSocket stranger;
    ASSERT_TRUE(stranger.OpenBound(0));
    const std::vector<uint8_t> answer = LanServerDiscovery::BuildAnswer("10.9.9.9", "Impostor");
    ASSERT_TRUE(stranger.SendTo(qel::test::kLoopback, port, answer.data(), answer.size()));
    server.Step();
    EXPECT_TRUE(server.FoundServers().empty());

    // The console's socket has its port once its first query went out.
    ASSERT_TRUE(ConsoleFinds(1));
    const uint8_t query = LanServerDiscovery::kQueryByte;
    ASSERT_TRUE(stranger.SendTo(qel::test::kLoopback, console.BoundPort(), &query, 1));
    console.Step();
    QelEnetDatagramSocket::Sender from;
    uint8_t reply[64];
    EXPECT_EQ(stranger.ReceiveFrom(reply, sizeof reply, from), 0u);
    EXPECT_EQ(console.FoundServers().size(), 1u);
}

}  // namespace
