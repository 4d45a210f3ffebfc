#pragma once
// A hosting server and a real console in one process, at game pace, with the
// lossy relay between them: the server's authoritative world with its
// behaviours, the console's mirror, and a stand-in mission that records what
// the server hands it and crews every console that joins with the one
// player ship. As in ReplicationFixture, each step first makes its side's
// world current.

#include "engine/net/QelEnetNetworkFactoryBase.h"
#include "game/behaviours/SpaceObjectAI.h"
#include "game/net/CorvaneClient.h"
#include "game/net/CorvaneServer.h"
#include "game/net/SignalMessage.h"
#include "game/world/ObjectDataBlobElement.h"
#include "game/world/AppData.h"
#include "game/world/Simulation.h"
#include "tests/game/net/loopback/CurrentWorld.h"
#include "tests/engine/net/LoopbackHarness.h"
#include "tests/support/RecordingScriptHost.h"
#include "tools/udp-relay/UdpRelay.h"

#include <gtest/gtest.h>

#include <glm/geometric.hpp>
#include <glm/gtc/quaternion.hpp>

#include <chrono>
#include <cstring>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace nettest {

using namespace std::chrono_literals;

// The poor link of a busy wireless network: one datagram in ten lost, a
// tenth of a second of delay give or take half, and now and then one copied
// or overtaken.
inline LinkConditions PoorLink()
{
    LinkConditions link;
    link.lossRate = 0.10;
    link.delay = 100ms;
    link.jitter = 50ms;
    link.duplicateRate = 0.01;
    link.reorderRate = 0.01;
    return link;
}

class PoorLinkFixture : public ::testing::Test {
protected:
    static constexpr auto kTickLength = 33ms;
    // A mirror is in step when it is no further from the server's object than
    // the object flies or turns in a second. A record reaches the console up
    // to 150 ms (5 ticks) after it left and is carried on from there by dead
    // reckoning; the own-ship pass sends one every 4 ticks and the link loses
    // one in ten, so now and then three or four go missing in a row.
    static constexpr int kInStepTicks = 30;
    static constexpr float kMaxSpeed = 5.0f;   // units a tick: the Tern frigate at full impulse
    static constexpr float kMaxTurn = 0.01f;   // radians a tick: its full turn rate
    static constexpr float kPositionTolerance = kInStepTicks * kMaxSpeed;
    static constexpr float kHeadingTolerance = kInStepTicks * kMaxTurn;
    // A value that has held still this long has reached the console: the
    // sensor pass sends the visible values of the objects around a ship every
    // 60 ticks, its own ship's values every 30, and the link takes up to 5.
    static constexpr int64_t kSettleTicks = 90;
    // The relay's choices repeat from run to run as far as the traffic does.
    static constexpr uint32_t kRelaySeed = 20240611;

    void SetUp() override
    {
        AppData::Load();
        RegisterBehaviourHooks();
        gNetworkFactory = &factory;
        clientWorld.Reset(false, "");
        serverWorld.Reset(true, "");
        serverWorld.paused = false;

        CorvaneServer::Settings serverSettings;
        serverSettings.visionBaseDistance = AppData::GetFloat("player-vision-base-distance");
        serverSettings.linkTimeoutMs = linkTimeoutMs;
        server = std::make_unique<CorvaneServer>(serverSettings);
        gServer = server.get();
        server->SetWorld(&serverWorld);
        server->SetScriptHost(&mission);
        serverWorld.SetPendingDestroySink(server.get());
        serverWorld.SetScriptEventSink(&mission);
        serverWorld.SetScienceScanSink(server.get());
        serverWorld.SetShipConsoleNotices(server.get());
        server->StartHosting();
        ASSERT_FALSE(server->IsNetworkDown());
        relay = std::make_unique<UdpRelay>(server->Port(), PoorLink(), kRelaySeed);

        CorvaneClient::Settings clientSettings;
        clientSettings.port = relay->Port();
        clientSettings.contactDecayDelay = AppData::GetInt("clientContactDecayDelay");
        clientSettings.linkTimeoutMs = linkTimeoutMs;
        client = std::make_unique<CorvaneClient>(clientSettings);
        client->SetWorld(&clientWorld);
        RouteConsoleCommands(client.get());
        nextTick = std::chrono::steady_clock::now();
    }

    void TearDown() override
    {
        client.reset();
        relay.reset();
        server->SetScriptHost(nullptr);
        serverWorld.SetScriptEventSink(nullptr);
        serverWorld.SetScienceScanSink(nullptr);
        serverWorld.SetShipConsoleNotices(nullptr);
        server.reset();
        UseWorld(serverWorld);
        gNetworkFactory = nullptr;
    }

    // One frame of each side with one tick, 33 ms after the last. A run that
    // fell behind (a loaded machine) catches up without a burst of ticks.
    void PlayTick()
    {
        nextTick += kTickLength;
        const auto now = std::chrono::steady_clock::now();
        if (nextTick > now)
            std::this_thread::sleep_until(nextTick);
        else if (now - nextTick > 4 * kTickLength)
            nextTick = now;

        UseWorld(serverWorld);
        serverWorld.FrameUpdate();
        server->FrameUpdate();
        CrewNewConsoles();
        serverWorld.Tick();
        server->Tick();

        UseWorld(clientWorld);
        clientWorld.FrameUpdate();
        client->FrameUpdate();
        clientWorld.Tick();
        client->Tick();
        if (afterTick)
            afterTick();
    }

    // Plays ticks until the condition holds, at most the given number.
    bool PlayUntil(const std::function<bool()>& done, int maxTicks)
    {
        for (int tick = 0; tick < maxTicks; ++tick) {
            if (done())
                return true;
            PlayTick();
        }
        return done();
    }

    void Play(int ticks)
    {
        for (int tick = 0; tick < ticks; ++tick)
            PlayTick();
    }

    // Connects the console and plays until the server has its record and
    // the console holds its ship.
    bool JoinConsole(int maxTicks)
    {
        UseWorld(clientWorld);
        if (!client->Connect(qel::test::kLoopback))
            return false;
        return PlayUntil([&] { return client->IsConnected() && ConsoleShip() != nullptr; }, maxTicks);
    }

    // The stand-in mission's answer to a console joining: the player ship,
    // as assigning a console to a ship tells it.
    void CrewNewConsoles()
    {
        for (const auto& [id, record] : server->Clients()) {
            if (record->shipId != 0 || playerShip == 0)
                continue;
            record->shipId = playerShip;
            QelNetworkMessage& message = ServerOutgoingMessage();
            StartServerMessage(message, "signal", id);
            WriteSignal(message, MyShipIdSignal{playerShip});
            server->SendToClient(message, id, ServerMessageSink::kReliable);
        }
    }

    SpaceObject* ServerObject(uint64_t id) const { return serverWorld.GetSpaceObject(id); }
    SpaceObject* ConsoleObject(uint64_t id) const
    {
        return clientWorld.Container() ? static_cast<SpaceObject*>(clientWorld.Container()->Find(id)) : nullptr;
    }
    SpaceObject* ConsoleShip() const { return clientWorld.subjectID ? ConsoleObject(clientWorld.subjectID) : nullptr; }

    // An object of the server's world without a behaviour of its own, under
    // way at the speed along the heading (radians from +z), named.
    uint64_t AddObject(const glm::vec3& at, float speed, float heading, uint16_t abits, const std::string& name)
    {
        UseWorld(serverWorld);
        const uint64_t id = serverWorld.CreateSpaceObject("behav_none", "", abits);
        SpaceObject* object = serverWorld.GetSpaceObject(id);
        object->cur_speed = speed;
        object->rot_quat = glm::angleAxis(heading, glm::vec3(0.0f, 1.0f, 0.0f));
        object->data_set.SetString("name_tag", name, 0, "a");
        serverWorld.RepositionSpaceObject(object, at.x, at.y, at.z);
        return id;
    }

    // The player ship at the origin, and around it a static station, three
    // ships under way and one far beyond sensor range.
    void PopulateWorld()
    {
        UseWorld(serverWorld);
        playerShip = serverWorld.CreateSpaceObject("behav_playership", "tern_frigate", 0);
        AddObject({0.0f, 0.0f, 2500.0f}, 0.0f, 0.0f, SpaceObject::kStaticBit, "Halcyon Station");
        AddObject({3000.0f, 0.0f, 1000.0f}, 3.0f, 1.0f, 0, "Warden");
        AddObject({-2000.0f, 0.0f, 4000.0f}, 4.0f, -2.0f, 0, "Talon");
        AddObject({1000.0f, 0.0f, -3000.0f}, 2.0f, 3.0f, 0, "Fang");
        AddObject({40000.0f, 0.0f, 40000.0f}, 1.0f, 0.0f, 0, "Depot");
        serverWorld.FrameUpdate();
    }

    // Every way the console's world differs from the server's: an object
    // within sensor range of the ship that the console lacks or holds with
    // another identity or far from where the server has it, an object the
    // console holds that the server no longer has, and a value the server's
    // object has held for kSettleTicks that the console's lacks or holds
    // otherwise. The tests give objects other than the ship visible values
    // only, the ones a console sees.
    std::vector<std::string> WorldDifferences()
    {
        UseWorld(serverWorld);
        std::vector<std::string> differences;
        const SpaceObject* ship = ServerObject(playerShip);
        if (!ship || !clientWorld.Container())
            return {"no ship or no mirror"};
        ObjectIdSet inSight;
        server->CollectObjectsInRadius(ship->pos, AppData::GetFloat("player-vision-base-distance"), inSight);
        for (const ObjectIdSet::Entry& entry : inSight)
            CompareObject(*entry.object, differences);
        for (const SuperContainerObject* object : clientWorld.Container()->Objects())
            if (!ServerObject(object->uniqueID))
                differences.push_back("the console still holds " + std::to_string(object->uniqueID));
        return differences;
    }

    // Plays until the console's world is the server's, at most the given
    // ticks; every difference left is a failure.
    void ExpectWorldsToMatchWithin(int maxTicks)
    {
        std::vector<std::string> differences;
        EXPECT_TRUE(PlayUntil([&] { return (differences = WorldDifferences()).empty(); }, maxTicks));
        for (const std::string& difference : differences)
            ADD_FAILURE() << difference;
    }

    // The console's command, as its widgets send it.
    template <typename Signal>
    void SendCommand(const Signal& signal)
    {
        UseWorld(clientWorld);
        QelNetworkMessage& message = StartClientMessage("signal");
        WriteSignal(message, signal);
        SendClientMessage();
    }

    void CompareObject(const SpaceObject& original, std::vector<std::string>& differences)
    {
        const std::string name = std::to_string(original.uniqueID) + " ";
        const SpaceObject* copy = ConsoleObject(original.uniqueID);
        if (!copy) {
            differences.push_back(name + "is missing");
            return;
        }
        if (copy->tick_type != original.tick_type || copy->data_tag != original.data_tag || copy->side != original.side)
            differences.push_back(name + "has another identity: " + copy->side + " " + copy->tick_type);
        if (glm::length(copy->targetPos - original.pos) > kPositionTolerance)
            differences.push_back(name + "is out of place");
        const int64_t settled = serverWorld.TickCount() - kSettleTicks;
        original.data_set.ForEachElement([&](uint64_t tagKey, int32_t index, const ObjectDataBlobElement& element) {
            if (element.dataType != ODBE_NONE && element.changeTick < settled &&
                !SameValue(element, copy->data_set.FindElement(tagKey, index)))
                differences.push_back(name + "differs in value " + std::to_string(tagKey) + "[" +
                                      std::to_string(index) + "]");
        });
    }

    static bool SameValue(const ObjectDataBlobElement& original, const ObjectDataBlobElement* copy)
    {
        if (!copy || copy->dataType != original.dataType)
            return false;
        switch (original.dataType) {
        case ODBE_INT: return copy->intValue == original.intValue;
        case ODBE_UINT64: return copy->uintValue == original.uintValue;
        case ODBE_FLOAT: return std::memcmp(&copy->floatValue, &original.floatValue, sizeof(float)) == 0;
        default: return copy->stringValue == original.stringValue;
        }
    }

    uint32_t linkTimeoutMs = 0;  // set before SetUp for a shorter time-out
    QelEnetNetworkFactoryBase factory;
    Simulation clientWorld;
    Simulation serverWorld;
    qeltest::RecordingScriptHost mission;
    std::unique_ptr<CorvaneServer> server;
    std::unique_ptr<UdpRelay> relay;
    std::unique_ptr<CorvaneClient> client;
    uint64_t playerShip = 0;
    std::function<void()> afterTick;  // runs after every tick of both sides
    std::chrono::steady_clock::time_point nextTick;
};

}  // namespace nettest
