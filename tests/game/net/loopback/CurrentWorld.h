#pragma once
// A server and a console in one process each keep a world, but the process
// has one current world (and tick clock): each side's step makes its own
// current first.

#include "game/world/Simulation.h"
#include "game/world/SimulationClock.h"

namespace nettest {

// The world the handlers and timers see.
inline void UseWorld(Simulation& world)
{
    theSimulation = &world;
    SetCurrentSimulationClock(&world.clock);
}

}  // namespace nettest
