#pragma once
// A console in play: its mirror of the world knows its own ship and a few
// others, and the process's one client (with its string map, requests and
// answers) sits beside it. Each fuzzed frame arrives as one message from the
// server and is dispatched as the console's dispatch does; then the mirror
// and the client run the frame step and the frame's ticks (dead reckoning,
// contact decay, requests), so a fault a message leaves behind shows too. The
// world is made anew for every input (after PrepareFuzzProcess), the
// client's state emptied.

#include "fuzz/support/MessageFeed.h"
#include "game/world/Simulation.h"

#include <cstddef>
#include <cstdint>
#include <span>

class CorvaneClient;

class ClientFixture {
public:
    ClientFixture();
    ~ClientFixture();
    ClientFixture(const ClientFixture&) = delete;
    ClientFixture& operator=(const ClientFixture&) = delete;

    // Every frame of the input, each behind the prefix, then a few ticks more.
    void Run(const uint8_t* data, size_t size, std::span<const uint8_t> prefix);

private:
    void Step(int ticks);

    Simulation& world;
    CorvaneClient& client;
    MessageFeed feed;
};
