#pragma once
// Arming the world's tick timers for the network's periodic work.

#include "game/world/SimulationClock.h"
#include "game/world/SimulationTimer.h"

#include <cstdint>

// The timer expires `ticks` ticks from now in the current run; without a
// world it stays as it is (and never expires).
inline void ArmTimerTicksFromNow(simulationTimer& timer, int64_t ticks)
{
    if (const SimulationClock* clock = CurrentSimulationClock()) {
        timer.tick = clock->time_tick_counter + ticks;
        timer.generation = clock->generation;
    }
}
