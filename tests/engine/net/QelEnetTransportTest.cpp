#include "engine/net/QelEnetNetworkFactoryBase.h"
#include "engine/net/TransportRules.h"
#include "tests/engine/net/LoopbackHarness.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

using qel::test::KeyOf;
using qel::test::kLoopback;
using qel::test::PumpUntil;
using qel::test::ServerReceives;

namespace {

constexpr uint64_t kBit63 = 1ull << 63;

class EnetTransportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        server = factory.GetServer("server", 0);
        ASSERT_FALSE(server->IsNotRunning());
        port = server->BoundPort();
        ASSERT_NE(port, 0);
    }

    // Connects a new named client and returns the id the server gave it.
    QelNetworkClient* ConnectClient(const std::string& name, uint64_t& id)
    {
        QelNetworkClient* client = factory.GetClient(name, port);
        EXPECT_TRUE(client->Connect(kLoopback));
        id = 0;
        QelNetworkMessage message;
        EXPECT_TRUE(ServerReceives(*server, message, id, {client}));
        EXPECT_EQ(KeyOf(message), qel::kConnectedKey);
        EXPECT_EQ(message.sender, id);
        EXPECT_TRUE(PumpUntil([&] { return client->Receive(message) || client->IsConnected(); }));
        return client;
    }

    // Waits for the client's next data message (skipping connection events).
    bool ClientReceives(QelNetworkClient& client, QelNetworkMessage& message)
    {
        return PumpUntil([&] {
            uint64_t ignored = 0;
            QelNetworkMessage scratch;
            while (server->Receive(scratch, ignored)) {}
            return client.Receive(message) && message.writeIndex > 8;
        });
    }

    QelEnetNetworkFactoryBase factory;
    QelNetworkServer* server = nullptr;
    uint16_t port = 0;
};

TEST_F(EnetTransportTest, first_three_clients_get_501_502_503_with_bit_63_and_a_reconnect_gets_a_new_id)
{
    uint64_t ids[3] = {};
    QelNetworkClient* first = ConnectClient("a", ids[0]);
    ConnectClient("b", ids[1]);
    ConnectClient("c", ids[2]);
    EXPECT_EQ(ids[0], 501 | kBit63);
    EXPECT_EQ(ids[1], 502 | kBit63);
    EXPECT_EQ(ids[2], 503 | kBit63);

    first->Disconnect();
    EXPECT_FALSE(first->IsConnected());
    QelNetworkMessage message;
    uint64_t sender = 0;
    ASSERT_TRUE(ServerReceives(*server, message, sender));
    EXPECT_EQ(KeyOf(message), qel::kDisconnectedKey);
    EXPECT_EQ(sender, ids[0]);

    ASSERT_TRUE(first->Connect(kLoopback));
    ASSERT_TRUE(ServerReceives(*server, message, sender, {first}));
    EXPECT_EQ(KeyOf(message), qel::kConnectedKey);
    EXPECT_EQ(sender, 504 | kBit63);
}

TEST_F(EnetTransportTest, client_message_arrives_whole_with_its_senders_id)
{
    uint64_t id = 0;
    QelNetworkClient* client = ConnectClient("a", id);
    QelNetworkMessage out;
    out.WriteInt64(HashMessageName("signal")).WriteInt16(4).WriteString("helm");
    ASSERT_TRUE(client->Send(out));

    QelNetworkMessage in;
    uint64_t sender = 0;
    ASSERT_TRUE(ServerReceives(*server, in, sender, {client}));
    EXPECT_EQ(sender, id);
    EXPECT_EQ(in.sender, id);
    ASSERT_EQ(in.writeIndex, out.writeIndex);
    EXPECT_EQ(std::vector<uint8_t>(in.Data(), in.Data() + in.writeIndex),
              std::vector<uint8_t>(out.Data(), out.Data() + out.writeIndex));
}

TEST_F(EnetTransportTest, server_sends_once_per_listed_recipient_and_skips_unknown_ids)
{
    uint64_t idA = 0, idB = 0;
    QelNetworkClient* a = ConnectClient("a", idA);
    QelNetworkClient* b = ConnectClient("b", idB);

    QelNetworkMessage out;
    out.WriteInt64(HashMessageName("beam")).WriteInt32(7);
    out.recipients = {idA, 999 | kBit63, idA};
    EXPECT_EQ(server->Send(out, QelNetworkServer::kReliable), 2);

    QelNetworkMessage in;
    ASSERT_TRUE(ClientReceives(*a, in));
    ASSERT_TRUE(ClientReceives(*a, in));
    EXPECT_EQ(in.sender, 0u);
    EXPECT_EQ(KeyOf(in), HashMessageName("beam"));

    // Nothing was addressed to b.
    bool bGotData = false;
    for (int i = 0; i < 50; ++i)
        bGotData = bGotData || (b->Receive(in) && in.writeIndex > 8);
    EXPECT_FALSE(bGotData);
}

TEST_F(EnetTransportTest, server_disconnecting_a_client_tells_it_and_reports_the_disconnect)
{
    uint64_t id = 0;
    QelNetworkClient* client = ConnectClient("dropped", id);
    EXPECT_FALSE(server->DisconnectClient(id + 1));
    EXPECT_FALSE(server->DisconnectClient(0));
    ASSERT_TRUE(server->DisconnectClient(id));

    QelNetworkMessage message;
    uint64_t sender = 0;
    ASSERT_TRUE(ServerReceives(*server, message, sender, {client}));
    EXPECT_EQ(KeyOf(message), qel::kDisconnectedKey);
    EXPECT_EQ(sender, id);
    EXPECT_TRUE(PumpUntil([&] { return !client->IsConnected(); }));
}

TEST_F(EnetTransportTest, a_server_that_goes_away_tells_its_clients_at_once)
{
    uint64_t id = 0;
    QelNetworkClient* client = ConnectClient("left behind", id);
    ASSERT_TRUE(factory.DestroyServer("server"));
    server = nullptr;
    // Told, the client knows within a few loopback round trips; untold, it
    // would wait for ENet's time-out of at least 5 s, beyond this wait.
    constexpr int kRounds = 2000;
    QelNetworkMessage message;
    bool told = false;
    for (int round = 0; round < kRounds && !told; ++round) {
        told = client->Receive(message) && KeyOf(message) == qel::kDisconnectedKey;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_TRUE(told);
    EXPECT_FALSE(client->IsConnected());
}

TEST_F(EnetTransportTest, packet_posing_as_a_connection_event_is_dropped_and_the_next_one_arrives)
{
    uint64_t id = 0;
    QelNetworkClient* client = ConnectClient("forger", id);
    for (uint64_t key : {qel::kConnectedKey, qel::kReservedKey, qel::kDisconnectedKey}) {
        QelNetworkMessage forged;
        forged.WriteInt64(key);
        ASSERT_TRUE(client->Send(forged));
    }
    QelNetworkMessage real;
    real.WriteInt64(HashMessageName("signal")).WriteInt16(4);
    ASSERT_TRUE(client->Send(real));

    QelNetworkMessage message;
    uint64_t sender = 0;
    ASSERT_TRUE(ServerReceives(*server, message, sender, {client}));
    EXPECT_EQ(KeyOf(message), HashMessageName("signal"));
    EXPECT_EQ(sender, id);
    EXPECT_EQ(static_cast<QelEnetNetworkServer*>(server)->ForgedEventsDropped(), 3u);
}

TEST_F(EnetTransportTest, get_server_returns_the_same_endpoint_whatever_port_the_second_call_names)
{
    EXPECT_EQ(factory.GetServer("server", port + 1), server);
    EXPECT_EQ(factory.GetClient("c", 1), factory.GetClient("c", 2));
    EXPECT_TRUE(factory.DestroyClient("c"));
    EXPECT_FALSE(factory.DestroyClient("c"));
    EXPECT_FALSE(factory.DestroyServer("nobody"));
}

TEST_F(EnetTransportTest, server_on_a_port_in_use_is_not_running_and_does_nothing)
{
    QelNetworkServer* second = factory.GetServer("second", port);
    EXPECT_TRUE(second->IsNotRunning());
    EXPECT_EQ(second->BoundPort(), 0);
    QelNetworkMessage message;
    uint64_t sender = 0;
    EXPECT_FALSE(second->Receive(message, sender));
    message.WriteInt64(HashMessageName("signal"));
    message.recipients = {501 | kBit63};
    EXPECT_EQ(second->Send(message, 0), 0);
}

TEST_F(EnetTransportTest, client_without_a_connection_neither_sends_nor_waits_to_disconnect)
{
    QelNetworkClient* client = factory.GetClient("idle", port);
    client->Disconnect();
    EXPECT_FALSE(client->IsConnected());
    QelNetworkMessage message;
    message.WriteInt64(HashMessageName("signal"));
    EXPECT_FALSE(client->Send(message));
    EXPECT_FALSE(client->Connect("no such host.invalid"));
}

TEST_F(EnetTransportTest, packet_too_large_for_a_message_is_dropped_counted_and_the_next_one_arrives)
{
    // A raw ENet peer: our own client cannot build a packet over the limit.
    ENetHost* rogue = enet_host_create(nullptr, 1, 0, 0, 0);
    ASSERT_NE(rogue, nullptr);
    ENetAddress address{};
    enet_address_set_host_ip(&address, kLoopback);
    address.port = port;
    ENetPeer* peer = enet_host_connect(rogue, &address, 2, 0);
    QelNetworkMessage message;
    uint64_t sender = 0;
    ASSERT_TRUE(PumpUntil([&] {
        ENetEvent event;
        enet_host_service(rogue, &event, 0);
        return server->Receive(message, sender);
    }));

    std::vector<uint8_t> huge(QelNetworkMessage::kMessageBufferSize + 1, 0xAB);
    std::vector<uint8_t> small(12, 0xCD);
    enet_peer_send(peer, 0, enet_packet_create(huge.data(), huge.size(), ENET_PACKET_FLAG_RELIABLE));
    enet_peer_send(peer, 0, enet_packet_create(small.data(), small.size(), ENET_PACKET_FLAG_RELIABLE));
    ASSERT_TRUE(PumpUntil([&] {
        ENetEvent event;
        enet_host_service(rogue, &event, 0);
        return server->Receive(message, sender);
    }));
    EXPECT_EQ(message.writeIndex, 12);
    EXPECT_EQ(server->OversizedPacketsDropped(), 1u);

    enet_peer_reset(peer);
    enet_host_destroy(rogue);
}

TEST(LocalAddressTest, local_address_is_dotted_ipv4_text)
{
    QelEnetNetworkFactoryBase factory;
    std::string address;
    factory.GetLocalAddress(address);
    in_addr parsed{};
    EXPECT_EQ(inet_pton(AF_INET, address.c_str(), &parsed), 1) << address;
}

}  // namespace
