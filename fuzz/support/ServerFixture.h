#pragma once
// A hosting server in the state a mission leaves it once crews have joined:
// two consoles on player ships of their own, a third on no ship yet, among a
// few other objects of the world. Each fuzzed frame arrives as one message
// from one of four senders and is dispatched as the server's dispatch does;
// then the world and the server run the frame step and the frame's ticks,
// replication passes included, so a fault that a message leaves behind shows
// too. Made anew for every input, after PrepareFuzzProcess.

#include "fuzz/support/MessageFeed.h"
#include "game/net/CorvaneServer.h"
#include "game/net/ServerScriptHost.h"
#include "game/world/Simulation.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

class ServerFixture {
public:
    // Senders by the frame's sender number: the helm of the first ship, the
    // console of the second, a console without a ship, and a peer whose
    // record is gone (dropped for silence while its connection stayed).
    static constexpr uint64_t kSenders[4] = {kClientIdBit | 501, kClientIdBit | 502, kClientIdBit | 503,
                                             kClientIdBit | 999};

    ServerFixture();
    ~ServerFixture();
    ServerFixture(const ServerFixture&) = delete;
    ServerFixture& operator=(const ServerFixture&) = delete;

    // Every frame of the input, each behind the prefix, then a few ticks more
    // for what the last message set in motion.
    void Run(const uint8_t* data, size_t size, std::span<const uint8_t> prefix);

private:
    // The mission's side: takes every event, as a loaded mission does.
    struct MissionStandIn : ServerScriptHost {
        void HandleEvent(const EventMessage&) override { ++events; }
        void QueueEvent(const EventMessage&) override { ++events; }
        bool ScriptsLoaded() const override { return true; }
        bool SimRunning() const override { return true; }
        void ProcessEventQueue() override {}
        void HandleDMX() override {}
        std::vector<std::string>& DebugTreeRequests() override { return trees; }
        std::vector<std::string> trees;
        uint64_t events = 0;
    };

    void Step(int ticks);

    Simulation& world;
    MissionStandIn mission;
    std::unique_ptr<CorvaneServer> server;
    MessageFeed feed;
};
