#include "game/world/SimulationTimer.h"

#include "game/world/SimulationClock.h"

namespace {

// Length of one world tick.
constexpr int64_t kMillisecondsPerTick = 33;
constexpr int64_t kMillisecondsPerSecond = 1000;

}  // namespace

void simulationTimer::SetNow()
{
    const SimulationClock* clock = CurrentSimulationClock();
    tick = clock ? clock->time_tick_counter : 0;
    generation = clock ? clock->generation : 0;
}

// The product is taken in 64 bits: in 32 bits it would wrap past about 24
// days and put the deadline in the past.
void simulationTimer::SetSeconds(int32_t seconds)
{
    const SimulationClock* clock = CurrentSimulationClock();
    if (!clock)
        return;
    tick = clock->time_tick_counter + int64_t{seconds} * kMillisecondsPerSecond / kMillisecondsPerTick;
    generation = clock->generation;
}

void simulationTimer::SetMilliseconds(int32_t ms)
{
    const SimulationClock* clock = CurrentSimulationClock();
    if (!clock)
        return;
    tick = clock->time_tick_counter + ms / kMillisecondsPerTick;
    generation = clock->generation;
}

bool simulationTimer::IsExpired() const
{
    const SimulationClock* clock = CurrentSimulationClock();
    if (!clock)
        return false;
    if (generation != clock->generation || tick == 0)
        return true;
    return clock->time_tick_counter >= tick;
}
