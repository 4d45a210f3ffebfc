// Play through a poor link: a console flies its ship with one datagram in
// ten lost, a tenth of a second of jittery delay and a few copies and
// overtakings on the way; its commands take effect once each, its mirror of
// the ship keeps up, and the world it sees comes to match the server's.

#include "tests/game/net/loopback/PoorLinkHarness.h"

#include "game/world/ObjectDataBlobElement.h"

#include <glm/geometric.hpp>
#include <glm/gtc/quaternion.hpp>

#include <string>
#include <vector>

namespace {

using nettest::PoorLinkFixture;
using nettest::UseWorld;

// Joining takes a handshake, the ship's assignment and a request for it,
// each a round trip that may have to be resent.
constexpr int kJoinTicks = 300;
// Only a broken test waits this long for a command that was resent.
constexpr int kCommandPatienceTicks = 300;

// The angle of the turn from one orientation to the other, in radians.
float AngleBetween(const glm::quat& a, const glm::quat& b)
{
    return 2.0f * std::acos(std::min(1.0f, std::abs(glm::dot(a, b))));
}

class PoorLinkPlayTest : public PoorLinkFixture {
protected:
    void SetUp() override
    {
        PoorLinkFixture::SetUp();
        PopulateWorld();
    }

    // After every tick: how far the console's dead-reckoned ship is from the
    // server's, once the console holds a record of it.
    void TrackMirror()
    {
        afterTick = [this] {
            const SpaceObject* mirror = ConsoleShip();
            const SpaceObject* ship = ServerObject(playerShip);
            if (!mirror || !ship || mirror->lastUpdateTick == 0)
                return;
            worstPosition = std::max(worstPosition, glm::length(mirror->targetPos - ship->pos));
            worstHeading = std::max(worstHeading, AngleBetween(mirror->targetOrientation, ship->rot_quat));
            ++comparedTicks;
        };
    }

    // The values of the numbered commands the mission heard, in order.
    std::vector<std::string> HeardCommands() const
    {
        std::vector<std::string> heard;
        for (const EventMessage& event : mission.events)
            if (event.tag == "select_space_object")
                heard.push_back(event.value_tag);
        return heard;
    }

    float worstPosition = 0.0f;
    float worstHeading = 0.0f;
    int comparedTicks = 0;
};

TEST_F(PoorLinkPlayTest, a_console_flies_its_ship_in_step_with_the_server_and_each_command_takes_effect_once)
{
    ASSERT_TRUE(JoinConsole(kJoinTicks)) << "relay dropped " << relay->Counts().dropped;
    TrackMirror();

    // Full impulse, a hard turn one way, straight on, a turn the other way;
    // between the helm's commands, numbered ones the mission counts.
    struct Step {
        int ticks;
        float throttle;
        float yaw;
    };
    const Step flight[] = {{25, 1.0f, 0.0f}, {20, 1.0f, 1.0f}, {15, 1.0f, 0.0f}, {20, 0.5f, -1.0f}};
    std::vector<std::string> sent;
    for (const Step& step : flight) {
        SendCommand(ThrottleSignal{step.throttle});
        SendCommand(Steer2DSignal{step.yaw, 0.0f});
        for (int tick = 0; tick < step.ticks; ++tick) {
            if (tick % 3 == 0) {
                sent.push_back(std::to_string(sent.size()));
                SendCommand(SelectObjectSignal{0, "science", sent.back(), "science_target_UID", "", 0, 0, 0});
            }
            PlayTick();
        }
    }
    ASSERT_TRUE(PlayUntil([&] { return HeardCommands().size() >= sent.size(); }, kCommandPatienceTicks));
    EXPECT_EQ(HeardCommands(), sent) << "each once, in order";
    EXPECT_GT(relay->Counts().dropped, 0u);

    const SpaceObject* ship = ServerObject(playerShip);
    EXPECT_GT(ship->cur_speed, 2.0f) << "the ship flew";
    EXPECT_GE(comparedTicks, 70);
    EXPECT_LE(worstPosition, kPositionTolerance);
    EXPECT_LE(worstHeading, kHeadingTolerance);
}

// While the link is poor the world changes: objects come and go, values and
// a side change. Everything the server sent once, it sent reliably; what it
// sends over and over comes again; so once the link clears, the console's
// world is the server's.
TEST_F(PoorLinkPlayTest, the_world_a_console_sees_matches_the_servers_once_the_link_clears)
{
    ASSERT_TRUE(JoinConsole(kJoinTicks));
    SendCommand(ThrottleSignal{0.5f});
    const std::vector<uint64_t> before = [&] {
        std::vector<uint64_t> ids;
        for (const SuperContainerObject* object : serverWorld.Container()->Objects())
            ids.push_back(object->uniqueID);
        return ids;
    }();
    const uint64_t station = before.at(1), warden = before.at(2), talon = before.at(3);
    int renamed = 0;
    afterTick = [&] {
        UseWorld(serverWorld);
        const int64_t tick = serverWorld.TickCount();
        if (tick % 7 == 0)
            ServerObject(warden)->data_set.SetString("name_tag", "Warden " + std::to_string(++renamed), 0, "a");
        if (tick % 11 == 0)
            ServerObject(station)->data_set.SetFloat("energy", static_cast<float>(tick), 0, "a");
    };
    Play(20);
    AddObject({500.0f, 0.0f, 800.0f}, 2.5f, 0.5f, 0, "Newcomer");
    AddObject({-800.0f, 0.0f, 300.0f}, 0.0f, 0.0f, SpaceObject::kStaticBit, "Beacon");
    Play(10);
    server->QueueDestroy(talon);
    ServerObject(warden)->side = "skarn";
    serverWorld.ForceUpdateToClients(warden, 0);
    ServerObject(station)->data_set.SetInt("surrender_flag", 1, 0, "a");
    Play(30);
    afterTick = nullptr;
    EXPECT_GT(relay->Counts().dropped, 0u);

    relay->SetConditions({});
    ExpectWorldsToMatchWithin(2 * kSettleTicks);
    EXPECT_EQ(ConsoleObject(talon), nullptr);
    ASSERT_NE(ConsoleObject(warden), nullptr);
    EXPECT_EQ(ConsoleObject(warden)->side, "skarn");
}

}  // namespace
