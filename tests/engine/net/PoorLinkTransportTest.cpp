// The ENet endpoints over a poor link (the lossy relay between them): what
// still arrives when round trips jitter, and how a link that goes silent
// ends.

#include "engine/net/QelEnetNetworkFactoryBase.h"
#include "engine/net/TransportRules.h"
#include "tests/engine/net/LoopbackHarness.h"
#include "tools/udp-relay/UdpRelay.h"

#include <gtest/gtest.h>

#include <chrono>
#include <numeric>
#include <set>
#include <thread>

using qel::test::KeyOf;
using qel::test::kLoopback;
using qel::test::PumpUntil;

namespace {

using namespace std::chrono_literals;

const uint64_t kTestKey = HashMessageName("testValueToClient");

class PoorLinkTransportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        server = factory.GetServer("server", 0);
        ASSERT_FALSE(server->IsNotRunning());
    }

    // A console connected through a relay with the given conditions; the
    // server's id for it.
    uint64_t ConnectThrough(const LinkConditions& conditions)
    {
        relay = std::make_unique<UdpRelay>(server->BoundPort(), conditions, 1234);
        client = factory.GetClient("client", relay->Port());
        EXPECT_TRUE(client->Connect(kLoopback));
        uint64_t id = 0;
        EXPECT_TRUE(PumpUntil([&] {
            ServiceServer(&id);
            ServiceClient();
            return id != 0 && client->IsConnected();
        }));
        return id;
    }

    // Takes the server's events; a connect event's sender goes to `connected`,
    // and a disconnect event is counted.
    void ServiceServer(uint64_t* connected = nullptr)
    {
        QelNetworkMessage message;
        uint64_t sender = 0;
        while (server->Receive(message, sender)) {
            const uint64_t key = KeyOf(message);
            if (key == qel::kConnectedKey && connected)
                *connected = sender;
            if (key == qel::kDisconnectedKey)
                ++serverDisconnects;
        }
    }

    // Takes the console's events; the numbers of test messages are kept.
    void ServiceClient()
    {
        QelNetworkMessage message;
        while (client->Receive(message)) {
            const uint64_t key = KeyOf(message);
            uint32_t number = 0;
            if (key == kTestKey && (message.ReadInt32(number), !message.IsBad()))
                numbers.insert(number);
            if (key == qel::kDisconnectedKey)
                ++clientDisconnects;
        }
    }

    void SendNumbered(uint64_t id, uint32_t number, uint32_t flags)
    {
        QelNetworkMessage message;
        message.WriteInt64(kTestKey).WriteInt32(number);
        message.recipients.push_back(id);
        server->Send(message, flags);
    }

    QelEnetNetworkFactoryBase factory;
    QelNetworkServer* server = nullptr;
    QelNetworkClient* client = nullptr;
    std::unique_ptr<UdpRelay> relay;
    std::set<uint32_t> numbers;
    int serverDisconnects = 0;
    int clientDisconnects = 0;
};

// ENet's packet throttle takes round trips longer than it measured before as
// congestion: it drops unreliable packets at the sender (and narrows the
// reliable window), and when the delay of a link rises at once (a queue
// filling on a busy switch) it stops them altogether until its next
// five-second review, though the link delivers everything.
TEST_F(PoorLinkTransportTest, a_link_whose_delay_rises_still_gets_every_unreliable_packet)
{
    LinkConditions quick;
    quick.delay = 20ms;
    const uint64_t id = ConnectThrough(quick);
    ASSERT_NE(id, 0u);
    constexpr uint32_t kSent = 150;
    constexpr uint32_t kDelayRisesAt = 30;
    for (uint32_t number = 0; number < kSent; ++number) {
        if (number == kDelayRisesAt) {
            LinkConditions slow;
            slow.delay = 250ms;
            relay->SetConditions(slow);
        }
        // Reliable ones among them keep the round trips measured.
        SendNumbered(id, number, number % 4 == 0 ? QelNetworkServer::kReliable : QelNetworkServer::kUnreliable);
        for (int i = 0; i < 10; ++i) {
            ServiceServer();
            ServiceClient();
            std::this_thread::sleep_for(1ms);
        }
    }
    PumpUntil([&] {
        ServiceServer();
        ServiceClient();
        return numbers.size() == kSent;
    });
    EXPECT_EQ(numbers.size(), kSent) << "the relay dropped " << relay->Counts().dropped;
}

// What a console sends arrives once each and in order, however the link
// loses, copies and reorders the datagrams that carry it.
TEST_F(PoorLinkTransportTest, every_command_arrives_once_and_in_order_through_a_link_that_loses_copies_and_reorders)
{
    LinkConditions rough;
    rough.lossRate = 0.1;
    rough.delay = 20ms;
    rough.jitter = 10ms;
    rough.duplicateRate = 0.3;
    rough.reorderRate = 0.1;
    const uint64_t id = ConnectThrough(rough);
    ASSERT_NE(id, 0u);
    constexpr uint32_t kSent = 200;
    for (uint32_t number = 0; number < kSent; ++number) {
        QelNetworkMessage command;
        command.WriteInt64(kTestKey).WriteInt32(number);
        ASSERT_TRUE(client->Send(command));
        if (number % 10 == 9)
            ServiceClient();  // lets the datagrams out in several bursts
    }
    std::vector<uint32_t> heard;
    ASSERT_TRUE(PumpUntil([&] {
        ServiceClient();
        QelNetworkMessage message;
        uint64_t sender = 0;
        while (server->Receive(message, sender)) {
            uint32_t number = 0;
            if (KeyOf(message) == kTestKey && (message.ReadInt32(number), !message.IsBad()))
                heard.push_back(number);
        }
        return heard.size() >= kSent;
    }));
    std::vector<uint32_t> expected(kSent);
    std::iota(expected.begin(), expected.end(), 0u);
    EXPECT_EQ(heard, expected);
    const RelayCounts counts = relay->Counts();
    EXPECT_GT(counts.duplicated, 0u);
    EXPECT_GT(counts.reordered, 0u);
    EXPECT_GT(counts.dropped, 0u);
}

TEST_F(PoorLinkTransportTest, a_link_silent_beyond_its_time_out_ends_on_both_sides_and_a_new_connection_works)
{
    constexpr uint32_t kTimeoutMs = 800;
    server->SetLinkTimeout(kTimeoutMs);
    const uint64_t first = ConnectThrough({});
    ASSERT_NE(first, 0u);
    client->SetLinkTimeout(kTimeoutMs);

    relay->SetConditions(LinkConditions::Cut());
    // A reliable message each side has to get acknowledged.
    SendNumbered(first, 1, QelNetworkServer::kReliable);
    QelNetworkMessage ping;
    ping.WriteInt64(kTestKey);
    client->Send(ping);
    ASSERT_TRUE(PumpUntil([&] {
        ServiceServer();
        ServiceClient();
        return serverDisconnects == 1 && clientDisconnects == 1;
    }));
    EXPECT_FALSE(client->IsConnected());

    relay->SetConditions({});
    ASSERT_TRUE(client->Connect(kLoopback));
    uint64_t second = 0;
    ASSERT_TRUE(PumpUntil([&] {
        ServiceServer(&second);
        ServiceClient();
        return second != 0 && client->IsConnected();
    }));
    EXPECT_NE(second, first);
    SendNumbered(second, 77, QelNetworkServer::kReliable);
    EXPECT_TRUE(PumpUntil([&] {
        ServiceServer();
        ServiceClient();
        return numbers.count(77) == 1;
    }));
}

}  // namespace
