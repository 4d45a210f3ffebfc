#pragma once
// The consoles grouped by the ship they belong to, rebuilt every 30 ticks,
// and the cursor by which each per-ship replication pass serves one ship per
// step. Main thread only.

#include "game/world/SimulationTimer.h"

#include <cstdint>
#include <map>
#include <vector>

struct ShipGrouping {
    std::map<uint64_t, std::vector<uint64_t>> shipToClients;  // client ids in id order, never empty
    std::vector<uint64_t> shipList;                           // the map's ships, ascending
    int32_t shipCount = 0;                                    // N: ships with consoles
    std::map<uint64_t, std::vector<uint64_t>> shipToTargets;  // weapons, science, comms target (0 = none)
};

// One per-ship pass's place in the ship list and the deadline of its next step.
struct ShipCursor {
    int32_t cursor = 0;
    simulationTimer timer;  // starts expired
    uint32_t rounds = 0;    // rounds completed: steps that only wrapped the cursor
};

// One step of a per-ship pass whose steps are (periodConstant / N) / 33 ticks
// apart. True when the step serves a ship: its id and a copy of its consoles.
// A full round over N ships takes N + 1 steps; the extra one only wraps the
// cursor.
bool NextServedShip(ShipCursor& cursor, const ShipGrouping& grouping, int32_t periodConstant, uint64_t& shipId,
                    std::vector<uint64_t>& recipients);
