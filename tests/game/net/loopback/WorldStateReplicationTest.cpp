// The world beside the objects as a real console mirrors it: nav points and
// nav proxies, the side tables and the ship's scan queue, over loopback.

#include "tests/game/net/loopback/ReplicationHarness.h"

#include "game/net/ClientRecord.h"

namespace {

using nettest::ReplicationFixture;

class WorldStateReplicationTest : public ReplicationFixture {
protected:
    // Sends a signal from the server to every console.
    template <typename Signal>
    void SendToConsoles(const Signal& signal)
    {
        UseWorld(serverWorld);
        QelNetworkMessage& message = ServerOutgoingMessage();
        StartServerMessage(message, "signal", 0);
        WriteSignal(message, signal);
        server->SendToAll(message, ServerMessageSink::kReliable);
    }
};

TEST_F(WorldStateReplicationTest, the_mirror_keeps_nav_signs_as_the_server_changes_and_deletes_them)
{
    UseWorld(serverWorld);
    const int32_t point = serverWorld.AddNavpoint(100, 0, 200, "Rendezvous", "gold");
    const int32_t area = serverWorld.AddNavarea({{{0, 0}, {50, 0}, {50, 50}, {0, 50}}}, "Minefield", "red");
    const int32_t proxy = serverWorld.AddNavproxy(kSpaceObjectIdBit | 12, "Convoy", "freighter", "white");
    ASSERT_TRUE(PumpUntil([&] { return clientWorld.navpoints.size() == 2 && clientWorld.navproxies.size() == 1; }));
    EXPECT_EQ(clientWorld.GetNavpoint(point)->text, "Rendezvous");
    EXPECT_EQ(clientWorld.GetNavpoint(point)->pos, glm::vec3(100, 0, 200));
    EXPECT_EQ(clientWorld.GetNavpoint(point)->color, serverWorld.GetNavpoint(point)->color);
    EXPECT_TRUE(clientWorld.GetNavpoint(area)->isArea);
    EXPECT_EQ(clientWorld.GetNavpoint(area)->corners[1], glm::vec2(50, 0));
    EXPECT_EQ(clientWorld.GetNavproxy(proxy)->proxy_id, kSpaceObjectIdBit | 12);

    UseWorld(serverWorld);
    Navpoint& changed = *serverWorld.GetNavpoint(point);
    changed.visibleToSide = "meridian";
    changed.has_changed_flag = 1;
    serverWorld.SetNavproxyPos(*serverWorld.GetNavproxy(proxy), 7, 0, 9);
    serverWorld.DeleteNavpoint(area);
    ASSERT_TRUE(PumpUntil([&] {
        return clientWorld.navpoints.size() == 1 && clientWorld.GetNavpoint(point)->visibleToSide == "meridian" &&
               clientWorld.GetNavproxy(proxy)->pos == glm::vec3(7, 0, 9);
    }));

    SendToConsoles(AllNavProxiesDeletedSignal{});
    ASSERT_TRUE(PumpUntil([&] { return clientWorld.navproxies.empty(); }));
    EXPECT_EQ(clientWorld.navpoints.size(), 1u);
    SendToConsoles(ConnectResetSignal{});
    ASSERT_TRUE(PumpUntil([&] { return clientWorld.navpoints.empty(); })) << "a new connection starts without them";
}

TEST_F(WorldStateReplicationTest, the_mirror_takes_the_side_tables_and_the_console_its_ship_scan_queue)
{
    UseWorld(serverWorld);
    serverWorld.SetSideRelationship("meridian", "skarn", DIPLOMACY_HOSTILE);
    serverWorld.SetSideRelationship("meridian", "halcyon", DIPLOMACY_ALLIED);
    serverWorld.SetSideIconColor("skarn", "#ff8800");
    serverWorld.SetDiplomacyColor(DIPLOMACY_NEUTRAL, "yellow");
    ASSERT_TRUE(PumpUntil([&] { return clientWorld.GetSideRelationship("meridian", "halcyon") == DIPLOMACY_ALLIED; }));
    EXPECT_EQ(clientWorld.GetSideRelationship("meridian", "skarn"), DIPLOMACY_HOSTILE);
    EXPECT_EQ(clientWorld.GetSideRelationship("skarn", "meridian"), DIPLOMACY_UNKNOWN);
    EXPECT_EQ(clientWorld.sideTables.iconColours, serverWorld.sideTables.iconColours);
    EXPECT_EQ(clientWorld.sideTables.diplomacyColours, serverWorld.sideTables.diplomacyColours);

    SpaceObject* ship = AddServerObject({0.0f, 0.0f, 0.0f});
    AssignShip(ship->uniqueID);
    server->FindClient(clientId)->SetConsoleName("science");
    server->scanQueues[ship->uniqueID] = {{ship->uniqueID, "bio"}};
    ASSERT_TRUE(TickUntil([&] { return client->scanQueue.size() == 1; }));
    EXPECT_EQ(client->scanQueue[0].scanType, "bio");
}

}  // namespace
