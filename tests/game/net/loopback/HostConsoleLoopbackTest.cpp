// The server's own screen as a console: what its widgets send joins the
// server's queue beside the remote consoles' messages, byte for byte as they
// would send it, and acts on the host's ship; a remote console's commands
// still act on its own ship.

#include "game/behaviours/PlayerShipKeys.h"
#include "game/net/CorvaneClient.h"
#include "tests/game/net/loopback/ServerHarness.h"

namespace {

using namespace playership;

class HostConsoleLoopbackTest : public nettest::ServerFixture {
protected:
    void SetUp() override
    {
        ServerFixture::SetUp();
        hostShip = world.GetSpaceObject(world.CreateSpaceObject("", "", 0));
        consoleShip = world.GetSpaceObject(world.CreateSpaceObject("", "", 0));
        world.subjectID = hostShip->uniqueID;
    }

    SpaceObject* hostShip = nullptr;
    SpaceObject* consoleShip = nullptr;
};

TEST_F(HostConsoleLoopbackTest, the_hosts_commands_steer_its_ship_and_a_consoles_steer_its_own)
{
    const uint64_t consoleId = Connect("helm");
    QelNetworkClient* console = consoles.back();
    server->FindClient(consoleId)->shipId = consoleShip->uniqueID;

    ::SendSignal(Steer2DSignal{0.5f, -0.25f});
    ::SendSignal(ThrottleSignal{9.0f});  // clamped by the server as any console's
    SendSignal(console, ThrottleSignal{0.75f});
    ASSERT_TRUE(RunFramesUntil([&] { return ReadFloat(consoleShip->data_set, kPlayerThrottle) == 0.75f; }));
    ASSERT_TRUE(RunFramesUntil([&] { return ReadFloat(hostShip->data_set, kPlayerThrottle) != 0.0f; }));

    EXPECT_FLOAT_EQ(ReadFloat(hostShip->data_set, kPlayerSYaw), 0.5f);
    EXPECT_FLOAT_EQ(ReadFloat(hostShip->data_set, kPlayerSPitch), -0.25f);
    EXPECT_EQ(ReadString(hostShip->data_set, kSteeringType), "2D");
    EXPECT_FLOAT_EQ(ReadFloat(hostShip->data_set, kPlayerThrottle), 5.0f);
    EXPECT_FLOAT_EQ(ReadFloat(consoleShip->data_set, kPlayerSYaw), 0.0f);
}

// The host holds the world: a heartbeat, an object request or a console name
// from its screen has no connection to act on and changes nothing.
TEST_F(HostConsoleLoopbackTest, connection_codes_from_the_hosts_screen_are_not_heard)
{
    ::SendSignal(HeartbeatSignal{});
    ::SendSignal(ConsoleNameSignal{"science"});
    ::SendSignal(FullObjectRequestSignal{{hostShip->uniqueID}});
    ::SendSignal(ThrottleSignal{0.5f});
    ASSERT_TRUE(RunFramesUntil([&] { return ReadFloat(hostShip->data_set, kPlayerThrottle) == 0.5f; }));
    EXPECT_TRUE(server->Clients().empty());
    EXPECT_FALSE(server->HostRecord().scienceFlag);
}

TEST_F(HostConsoleLoopbackTest, without_a_ship_for_the_host_its_commands_change_no_ship)
{
    world.subjectID = 0;
    ::SendSignal(ThrottleSignal{0.5f});
    ::SendSignal(HeartbeatSignal{});
    for (int frame = 0; frame < 5; ++frame)
        server->FrameUpdate();
    EXPECT_EQ(ReadFloat(hostShip->data_set, kPlayerThrottle), 0.0f);
    EXPECT_EQ(ReadFloat(consoleShip->data_set, kPlayerThrottle), 0.0f);
}

// A console that does not hold the world never feeds a server of its own,
// and a server that has stopped hosting lets nothing pile up unhandled.
TEST_F(HostConsoleLoopbackTest, only_a_hosting_server_of_the_world_hears_the_loopback)
{
    world.serverFlag = false;
    ::SendSignal(ThrottleSignal{0.5f});
    EXPECT_EQ(server->Queues().QueuedCount(), 0u);
    world.serverFlag = true;
    server->StopHosting();
    ::SendSignal(ThrottleSignal{0.5f});
    EXPECT_EQ(server->Queues().QueuedCount(), 0u);
}

}  // namespace
