// A console flies the first mission's ship against halvex-server over
// loopback ENet: the harness runs as its own process at game pace, the
// console is the game's own client and world mirror in this process, run in
// the game's frame order. A second, bare console joins mid-flight.

#include "engine/base/QelFrameLoop.h"
#include "engine/base/QelFrameServices.h"
#include "engine/base/QelGameLoop.h"
#include "engine/net/QelEnetNetworkFactoryBase.h"
#include "game/behaviours/SpaceObjectAI.h"
#include "game/net/CorvaneClient.h"
#include "game/net/NetworkIds.h"
#include "game/net/SignalMessage.h"
#include "game/world/AppData.h"
#include "game/world/ObjectDataBlobElement.h"
#include "game/world/ObjectId.h"
#include "game/world/Simulation.h"
#include "tests/tools/halvex-server/HarnessConsole.h"
#include "tests/tools/halvex-server/HarnessProcess.h"

#include <gmock/gmock.h>

#include <glm/geometric.hpp>

#include <algorithm>
#include <cmath>
#include <functional>
#include <set>

namespace harnesstest {
namespace {

// The helm's full-impulse speed: "eng_control_value"[2] (1 at set-up) × 5,
// times the throttle (1) and the impulse coefficients (1 each).
constexpr float kFullImpulseSpeed = 5.0f;
// Each tick the speed closes 1/56 of the gap to its target.
constexpr double kSpeedRetention = 55.0 / 56.0;
// Ticks a received speed may be off a whole number of ticks of the law.
constexpr double kTickTolerance = 0.02;

// The speed the law gives after n ticks at full impulse from rest.
double SpeedAfterTicks(int n)
{
    return kFullImpulseSpeed * (1.0 - std::pow(kSpeedRetention, n));
}

// How many ticks from rest the law needs to reach the speed (not rounded).
double TicksToReach(float speed)
{
    return std::log(1.0 - speed / kFullImpulseSpeed) / std::log(kSpeedRetention);
}

float HeadingOf(const glm::quat& orientation)
{
    const glm::vec3 forward = orientation * glm::vec3(0.0f, 0.0f, 1.0f);
    return std::atan2(forward.x, forward.z);
}

// One received state of the own ship, as the server had it.
struct ShipSample {
    float speed;
    glm::vec3 position;
    glm::quat orientation;
};

struct NoFrameServices : QelFrameServices {
    void BeginFrame() override {}
    void UpdateInput() override {}
    void ClearBackBuffer() override {}
    void Present() override {}
    void EndFrame() override {}
};

// The console's share of the game's frame: the world mirror and the client,
// with the own ship's state sampled right after each dispatch that brought
// the server's record of it (the mirror's ticks then carry it on).
class ConsoleLoop : public QelGameLoop {
public:
    void Startup() override {}
    void SceneFrameUpdate() override {}
    void SimulationFrameUpdate() override { world.FrameUpdate(); }
    void ServerFrameUpdate() override {}
    void ClientFrameUpdate() override
    {
        client->FrameUpdate();
        SampleOwnShip();
    }
    void SimulationTick(uint32_t) override { world.Tick(); }
    void SceneTick() override {}
    void ServerTick() override {}
    void ClientTick() override { client->Tick(); }
    void Draw() override {}
    void DeleteSingletons() override {}

    // Null while the mirror does not hold the ship.
    SpaceObject* OwnShip() const { return world.Container() ? world.GetSpaceObject(world.subjectID) : nullptr; }

    Simulation world;
    std::unique_ptr<CorvaneClient> client;
    std::vector<ShipSample> samples;

private:
    // A record of the ship has come when its last-update tick is the mirror's
    // current one (no tick has carried it on since). Its state alone cannot
    // tell: between records the mirror flies the ship by the same law as the
    // server. A record equal to the last sample is one server tick sent twice.
    void SampleOwnShip()
    {
        const SpaceObject* ship = OwnShip();
        if (!ship || ship->lastUpdateTick != world.TickCount())
            return;
        if (!samples.empty() && samples.back().speed == ship->cur_speed && samples.back().position == ship->targetPos)
            return;
        samples.push_back({ship->cur_speed, ship->targetPos, ship->targetOrientation});
    }
};

class FirstWatchFlightTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppData::Load();
        RegisterBehaviourHooks();
        gNetworkFactory = &factory;
        // Game pace: a console follows the world as it would in play. The
        // bound on seconds only ends a run the test failed to end.
        harness = std::make_unique<HarnessProcess>(
            std::vector<std::string>{"--mission", "first_watch", "--port", "0", "--seconds", "120"});
        const std::optional<std::string> listening = harness->WaitForLine("listening on port ");
        ASSERT_TRUE(listening) << harness->Errors();
        port = static_cast<uint16_t>(std::stoi(listening->substr(std::string("listening on port ").size())));

        console.client = MakeHarnessConsole(port);
        console.client->SetWorld(&console.world);
        RouteConsoleCommands(console.client.get());
        frame = std::make_unique<QelFrameLoop>(console, services);
    }

    void TearDown() override
    {
        frame.reset();
        console.client.reset();
        if (harness) {
            harness->Signal(SIGTERM);
            EXPECT_EQ(harness->Wait(), 0) << harness->Errors();
        }
        gNetworkFactory = nullptr;
    }

    // Runs console frames until the condition holds; false when it never did.
    bool RunFrames(const std::function<bool()>& done)
    {
        return HarnessProcess::RunFramesUntil(
            [this] {
                frame->Frame();
                ServiceSecondConsole();
            },
            done);
    }

    // Runs console frames until the mirror holds the own ship and the
    // condition holds for it; the ship then, or null when that never came.
    SpaceObject* RunFramesUntilShip(const std::function<bool(const SpaceObject&)>& done)
    {
        SpaceObject* ship = nullptr;
        RunFrames([&] {
            ship = console.OwnShip();
            return ship && done(*ship);
        });
        return ship && done(*ship) ? ship : nullptr;
    }

    template <typename Signal>
    void SendHelm(const Signal& signal)
    {
        QelNetworkMessage& message = StartClientMessage("signal");
        WriteSignal(message, signal);
        SendClientMessage();
    }

    // The bare console keeps what it hears of its ship, its widgets and the
    // objects of the world.
    void ServiceSecondConsole()
    {
        if (!second)
            return;
        QelNetworkMessage message;
        while (second->Receive(message)) {
            message.readIndex = 0;
            uint64_t key = 0;
            message.ReadInt64(key);
            if (key == HashMessageName("signal"))
                ReadSecondConsoleSignal(message);
            else if (key == HashMessageName("spaceobjectupdate"))
                ReadUpdateRecords(message);
            else if (key == HashMessageName("fullobject")) {
                uint16_t abits = 0;
                uint64_t id = 0;
                message.ReadInt16(abits).ReadInt64(id);
                secondSeen.insert(id);
            }
        }
    }

    void ReadSecondConsoleSignal(QelNetworkMessage& message)
    {
        uint16_t code = 0;
        ReadSignalCode(message, code);
        if (code == SIGNAL_MESS_MY_SHIP_ID)
            message.ReadInt64(secondShip);
        else if (code == SIGNAL_MESS_WIDGET_LIST)
            message.ReadString(secondConsoleType).ReadString(secondWidgets);
    }

    // Records of 56 bytes (id, then speed, position, orientation, turns and
    // marker), ended by an id of 0.
    void ReadUpdateRecords(QelNetworkMessage& message)
    {
        constexpr int32_t kRecordTail = 48;
        uint64_t id = 0;
        while (message.BytesLeftToRead() >= 8 && (message.ReadInt64(id), id != 0) &&
               message.BytesLeftToRead() >= kRecordTail) {
            secondSeen.insert(id);
            message.readIndex += kRecordTail;
        }
    }

    QelEnetNetworkFactoryBase factory;
    std::unique_ptr<HarnessProcess> harness;
    uint16_t port = 0;
    NoFrameServices services;
    ConsoleLoop console;
    std::unique_ptr<QelFrameLoop> frame;

    QelNetworkClient* second = nullptr;
    uint64_t secondShip = 0;
    std::string secondConsoleType;
    std::string secondWidgets;
    std::set<uint64_t> secondSeen;
};

TEST_F(FirstWatchFlightTest, a_console_flies_the_ship_and_a_second_console_joins_mid_flight)
{
    Simulation& world = console.world;
    ASSERT_TRUE(console.client->Connect("127.0.0.1"));

    // The console is told its ship, asks for it and receives it whole.
    SpaceObject* ship = RunFramesUntilShip([](const SpaceObject&) { return true; });
    ASSERT_NE(ship, nullptr) << harness->Errors();
    EXPECT_TRUE(IsSpaceObjectId(world.subjectID)) << std::hex << world.subjectID;
    EXPECT_EQ(ship->tick_type, "behav_playership");
    EXPECT_EQ(ship->data_tag, "tern_frigate");
    EXPECT_EQ(ship->side, "meridian");
    ship = RunFramesUntilShip([](const SpaceObject& own) {
        const ObjectDataBlobElement* name = own.data_set.FindElement(HashMessageName("name_tag"), 0);
        return name && name->stringValue == "Tern";
    });
    ASSERT_NE(ship, nullptr);
    EXPECT_FALSE(world.paused);

    // Full impulse, no turn: the ship gathers speed along its bow by the
    // helm's law, from rest.
    const glm::vec3 bow = ship->targetOrientation * glm::vec3(0.0f, 0.0f, 1.0f);
    const float startHeading = HeadingOf(ship->targetOrientation);
    console.samples.clear();
    SendHelm(ThrottleSignal{1.0f});
    ASSERT_NE(RunFramesUntilShip([](const SpaceObject& own) { return own.cur_speed > 1.0f; }), nullptr)
        << harness->Errors();
    ASSERT_TRUE(RunFrames([&] { return console.samples.size() >= 12; }));
    EXPECT_NE(RunFramesUntilShip([](const SpaceObject& own) {
                  const ObjectDataBlobElement* throttle = own.data_set.FindElement(HashMessageName("playerThrottle"), 0);
                  return throttle && throttle->floatValue == 1.0f;
              }),
              nullptr)
        << "the throttle reaches the console as an \"objectBlob\"";

    const std::vector<ShipSample> straight = console.samples;
    int checked = 0;
    for (size_t i = 1; i < straight.size(); ++i) {
        const ShipSample& from = straight[i - 1];
        const ShipSample& to = straight[i];
        if (from.speed <= 0.0f)
            continue;
        const double ticksFrom = TicksToReach(from.speed), ticksTo = TicksToReach(to.speed);
        ASSERT_NEAR(ticksTo, std::round(ticksTo), kTickTolerance) << "speed " << to.speed << " off the law";
        // Each tick moves the ship by its speed before that tick's change.
        double expected = 0.0;
        for (int n = static_cast<int>(std::lround(ticksFrom)); n < std::lround(ticksTo); ++n)
            expected += SpeedAfterTicks(n);
        const glm::vec3 moved = to.position - from.position;
        EXPECT_NEAR(glm::length(moved), expected, 1e-3 * expected + 0.01) << "sample " << i;
        if (glm::length(moved) > 0.0f) {
            EXPECT_GT(glm::dot(glm::normalize(moved), bow), 0.9999f) << "sample " << i;
            ++checked;
        }
    }
    EXPECT_GE(checked, 5);

    // A full turn to one side: the heading swings while the speed still
    // follows the law.
    SendHelm(Steer2DSignal{1.0f, 0.0f});
    ship = RunFramesUntilShip([&](const SpaceObject& own) {
        return std::abs(HeadingOf(own.targetOrientation) - startHeading) > 0.2f;
    });
    ASSERT_NE(ship, nullptr) << harness->Errors();
    const float speed = ship->cur_speed;
    EXPECT_NEAR(TicksToReach(speed), std::round(TicksToReach(speed)), kTickTolerance);
    EXPECT_GT(glm::length(ship->pos), 1.0f) << "the mirror itself has moved";

    // The first console learns of the objects around its ship from the
    // server's slow pass and its own requests, which take their time.
    ASSERT_TRUE(RunFrames([&] { return world.Container()->Objects().size() >= 5; }))
        << "the first console sees the ship, the station and the computer ships";

    // A second console joins: it is given the same ship and the next
    // station, weapons, and the world around the ship reaches it.
    // On a loaded machine the last of them may still be on its way.
    ASSERT_TRUE(RunFrames([&] { return world.Container()->Objects().size() >= 5u; }))
        << "the first console sees the ship, the station and the computer ships";
    std::set<uint64_t> worldIds;
    for (SuperContainerObject* object : world.Container()->Objects())
        worldIds.insert(object->uniqueID);
    second = factory.GetClient("second console", port);
    ASSERT_TRUE(second->Connect("127.0.0.1"));
    ASSERT_TRUE(RunFrames([&] {
        return secondShip != 0 && !secondWidgets.empty() &&
               std::includes(secondSeen.begin(), secondSeen.end(), worldIds.begin(), worldIds.end());
    })) << "second console: ship " << secondShip << ", " << secondSeen.size() << " objects of " << worldIds.size();
    EXPECT_EQ(secondShip, world.subjectID);
    EXPECT_EQ(secondConsoleType, "weapons");
    EXPECT_THAT(secondWidgets, ::testing::HasSubstr("weapon_control"));
}

TEST_F(FirstWatchFlightTest, a_console_is_given_the_patrols_nav_points_and_the_sides)
{
    Simulation& world = console.world;
    ASSERT_TRUE(console.client->Connect("127.0.0.1"));
    ASSERT_TRUE(RunFrames([&] {
        return world.navpoints.size() == 5 && world.navproxies.size() == 1 &&
               world.GetSideRelationship("skarn", "meridian") == DIPLOMACY_HOSTILE;
    })) << world.navpoints.size() << " nav points, " << world.navproxies.size() << " nav proxies\n"
        << harness->Errors();

    const Navpoint* east = world.GetNavpoint(world.GetNavpointIdByName("Patrol East"));
    ASSERT_NE(east, nullptr);
    EXPECT_EQ(east->pos, glm::vec3(5000.0f, 0.0f, 5500.0f));
    EXPECT_FALSE(east->isArea);
    const Navpoint* anchorage = world.GetNavpoint(world.GetNavpointIdByName("Skarn Anchorage"));
    ASSERT_NE(anchorage, nullptr);
    EXPECT_TRUE(anchorage->isArea);
    EXPECT_EQ(anchorage->corners[2], glm::vec2(10500.0f, 13500.0f));
    const NavProxy& depot = world.navproxies.begin()->second;
    EXPECT_EQ(depot.text, "Skarn Depot (last sighting)");
    EXPECT_EQ(depot.pos, glm::vec3(9000.0f, 0.0f, 12000.0f)) << "where the depot was placed";

    EXPECT_EQ(world.GetSideRelationship("meridian", "skarn"), DIPLOMACY_HOSTILE);
    EXPECT_EQ(world.GetSideRelationship("meridian", "meridian"), DIPLOMACY_ALLIED);
    EXPECT_EQ(world.sideTables.iconColours.at(SideTables::SideKey("skarn")),
              glm::vec4(1.0f, 0x55 / 255.0f, 0x33 / 255.0f, 1.0f));
    EXPECT_EQ(world.sideTables.iconIndexes.at(SideTables::SideKey("skarn")), 1);
}

}  // namespace
}  // namespace harnesstest
