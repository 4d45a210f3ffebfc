#pragma once
// A hosting server and a real console in one process over loopback, each with
// a world of its own: the server's authoritative one and the console's
// mirror. The process has one current world (and tick clock), so every step
// first makes its side's world current. Ticks advance only when the test says
// so; the bound on waiting only stops a broken test.

#include "engine/net/QelEnetNetworkFactoryBase.h"
#include "game/net/CorvaneClient.h"
#include "game/net/CorvaneServer.h"
#include "game/world/ObjectId.h"
#include "game/world/Simulation.h"
#include "tests/game/net/loopback/CurrentWorld.h"
#include "tests/engine/net/LoopbackHarness.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>
#include <memory>

namespace nettest {

class ReplicationFixture : public ::testing::Test {
protected:
    static constexpr float kVision = 5000.0f;

    void SetUp() override
    {
        gNetworkFactory = &factory;
        clientWorld.Reset(false, "");
        serverWorld.Reset(true, "");
        CorvaneServer::Settings serverSettings;
        serverSettings.visionBaseDistance = kVision;
        server = std::make_unique<CorvaneServer>(serverSettings);
        gServer = server.get();
        server->SetWorld(&serverWorld);
        server->StartHosting();
        ASSERT_FALSE(server->IsNetworkDown());

        CorvaneClient::Settings clientSettings;
        clientSettings.port = server->Port();
        clientSettings.contactDecayDelay = contactDecayDelay;
        client = std::make_unique<CorvaneClient>(clientSettings);
        client->SetWorld(&clientWorld);
        RouteConsoleCommands(client.get());
        ASSERT_TRUE(client->Connect(qel::test::kLoopback));
        ASSERT_TRUE(PumpUntil([&] { return server->Clients().size() == 1 && client->IsConnected(); }));
        clientId = server->Clients().begin()->first;
    }

    void TearDown() override
    {
        client.reset();
        server.reset();
        UseWorld(serverWorld);
        gNetworkFactory = nullptr;
    }

    static void UseWorld(Simulation& world) { nettest::UseWorld(world); }

    void ServerFrame()
    {
        UseWorld(serverWorld);
        server->FrameUpdate();
    }

    void ClientFrame()
    {
        UseWorld(clientWorld);
        client->FrameUpdate();
    }

    // Ticks of the server's world: only the clock moves, so nothing but the
    // test changes the objects.
    void AdvanceServerTicks(int64_t ticks)
    {
        serverWorld.clock.time_tick_counter += ticks;
        UseWorld(serverWorld);
    }

    // One console tick: heartbeats and object requests go out.
    void ClientTick()
    {
        UseWorld(clientWorld);
        clientWorld.clock.time_tick_counter += 1;
        client->Tick();
    }

    // Server and console frames until the condition holds.
    bool PumpUntil(const std::function<bool()>& done)
    {
        return qel::test::PumpUntil([&] {
            ServerFrame();
            ClientFrame();
            return done();
        });
    }

    // Server ticks one at a time, with frames and console ticks between them,
    // until the condition holds.
    bool TickUntil(const std::function<bool()>& done)
    {
        constexpr int kMaxTicks = 2000;
        for (int tick = 0; tick < kMaxTicks; ++tick) {
            AdvanceServerTicks(1);
            ServerFrame();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            ClientTick();
            ClientFrame();
            if (done())
                return true;
        }
        return PumpUntil(done);
    }

    SpaceObject* AddServerObject(const glm::vec3& pos, uint16_t abits = 0)
    {
        UseWorld(serverWorld);
        SpaceObject* object =
            serverWorld.MakeSpaceObject(0, "behav_test_none", "test_hull", abits, 10.0f, 0.0f, 30.0f).release();
        object->pos = pos;
        object->SetFatBox(object->fat_radius);
        serverWorld.Container()->Add(object);
        return object;
    }

    // A console copy of a server object, as if it had arrived already.
    SpaceObject* AddClientCopy(uint64_t id)
    {
        UseWorld(clientWorld);
        SpaceObject* object = clientWorld.MakeSpaceObject(id, "new", "new", 0, 0.0f, 0.0f, 20.0f).release();
        clientWorld.Container()->Add(object);
        return object;
    }

    SpaceObject* ClientObject(uint64_t id) const
    {
        return static_cast<SpaceObject*>(clientWorld.Container()->Find(id));
    }

    void AssignShip(uint64_t shipId) { server->FindClient(clientId)->shipId = shipId; }

    // A "signal" from the server to the console, reliably.
    template <typename Signal>
    void SendToConsole(const Signal& signal)
    {
        QelNetworkMessage& message = ServerOutgoingMessage();
        StartServerMessage(message, "signal", clientId);
        WriteSignal(message, signal);
        server->SendLocked(message, 1);
    }

    // Ticks without an update before the console forgets an object: set
    // before SetUp for objects to be forgotten within a test.
    int32_t contactDecayDelay = 1000000;
    QelEnetNetworkFactoryBase factory;
    Simulation clientWorld;
    Simulation serverWorld;
    std::unique_ptr<CorvaneServer> server;
    std::unique_ptr<CorvaneClient> client;
    uint64_t clientId = 0;
};

}  // namespace nettest
