#pragma once
// The consoles grouped by the ship they belong to, rebuilt every 30 ticks,
// and the cursor by which each per-ship replication pass serves one ship per
// step. Main thread only.

#include "game/world/SimulationTimer.h"

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

struct ShipGrouping {
    std::map<uint64_t, std::vector<uint64_t>> shipToClients;  // client ids in id order, never empty
    std::vector<uint64_t> shipList;                           // the map's ships, ascending
    int32_t shipCount = 0;                                    // N: ships with consoles
    std::map<uint64_t, std::vector<uint64_t>> shipToTargets;  // weapons, science, comms target (0 = none)
};

// One per-ship pass's place in the ship list and the schedule of its steps.
struct ShipCursor {
    int32_t cursor = 0;
    simulationTimer timer;  // the next step is due when it expires; starts expired
    double owedTicks = 0.0; // how much of a tick the deadline was rounded down by, 0..1
    uint32_t rounds = 0;    // rounds completed: steps that only wrapped the cursor
};

// Serves one ship: its id and its consoles.
using ShipServer = std::function<void(uint64_t shipId, const std::vector<uint64_t>& recipients)>;

// Runs every step of a per-ship pass that is due. For N ships with consoles
// the steps are periodConstant / N milliseconds of world time apart (a tick
// is 33 ms), kept exactly on average by carrying the part of a tick each
// deadline is rounded down by, so every console is served as often however
// many ships share the server. A full round over N ships takes N + 1 steps;
// the extra one only wraps the cursor. When steps fall due faster than
// frames come, a frame runs those due, up to one round; a pass more than a
// round behind starts its schedule again from now.
void ServeDueShips(ShipCursor& cursor, const ShipGrouping& grouping, int32_t periodConstant, const ShipServer& serve);
