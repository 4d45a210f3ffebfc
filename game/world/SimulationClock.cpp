#include "game/world/SimulationClock.h"

namespace {

SimulationClock* currentClock = nullptr;

}  // namespace

SimulationClock* CurrentSimulationClock()
{
    return currentClock;
}

void SetCurrentSimulationClock(SimulationClock* clock)
{
    currentClock = clock;
}
