#pragma once
// A server with two consoles, each assigned its own ship, whose "signal"
// handler gets messages built as a console sends them, handed over as the
// dispatch would; the mission's events are recorded.

#include "game/net/CorvaneServer.h"
#include "game/net/MessageHooks.h"
#include "game/world/ObjectId.h"
#include "game/world/Simulation.h"
#include "tests/game/net/SignalHookSupport.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace nettest {

constexpr uint64_t kConsole = kClientIdBit | 501;
constexpr uint64_t kOtherConsole = kClientIdBit | 502;
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInfinity = std::numeric_limits<float>::infinity();

class ServerSignalFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        world.Reset(true, "");
        world.clock.time_tick_counter = 100;
        gServer = &server;
        server.SetWorld(&world);
        server.SetScriptHost(&host);
        // The world hands its events to the same mission, and its finished
        // scans to the server, as the game connects them.
        world.SetScriptEventSink(&host);
        world.SetScienceScanSink(&server);
        server.HandleClientConnect(kConsole);
        server.HandleClientConnect(kOtherConsole);
        ownShip = world.CreateSpaceObject("", "", 0);
        otherShip = world.CreateSpaceObject("", "", 0);
        server.FindClient(kConsole)->shipId = ownShip;
        server.FindClient(kOtherConsole)->shipId = otherShip;
        host.events.clear();  // the two "client_connect" events
    }

    void TearDown() override
    {
        server.SetScriptHost(nullptr);
        world.SetScriptEventSink(nullptr);
        world.SetScienceScanSink(nullptr);
        gServer = nullptr;
    }

    void Deliver(QelNetworkMessage& message, uint64_t sender = kConsole)
    {
        nettest::DeliverToServer(message, sender);
    }

    template <typename Signal>
    void Send(const Signal& signal, uint64_t sender = kConsole)
    {
        nettest::SendToServerHook(signal, sender);
    }

    SpaceObject& Ship(uint64_t id) { return *world.GetSpaceObject(id); }
    const ObjectDataBlobElement* Value(uint64_t ship, const char* tag, int32_t index = 0)
    {
        return Ship(ship).data_set.FindElement(HashMessageName(tag), index);
    }
    float FloatOf(uint64_t ship, const char* tag, int32_t index = 0)
    {
        const ObjectDataBlobElement* e = Value(ship, tag, index);
        return e ? e->floatValue : -999.0f;
    }
    std::string StringOf(uint64_t ship, const char* tag, int32_t index = 0)
    {
        const ObjectDataBlobElement* e = Value(ship, tag, index);
        return e ? e->stringValue : "<absent>";
    }

    Simulation world;
    CorvaneServer server{CorvaneServer::Settings{}};
    RecordingHost host;
    uint64_t ownShip = 0;
    uint64_t otherShip = 0;
};

}  // namespace nettest
