#include "game/net/ShipGrouping.h"

#include "game/world/SimulationClock.h"
#include "game/world/Simulation.h"

#include <cmath>

namespace {

constexpr double kMillisecondsPerTick = 33.0;

// The next deadline: one interval after the last, or after now when the last
// belongs to another run or lies more than a round behind.
void ScheduleNextStep(ShipCursor& cursor, double interval, int32_t shipCount)
{
    const SimulationClock& clock = *CurrentSimulationClock();
    const int64_t now = clock.time_tick_counter;
    const double round = interval * (shipCount + 1);
    const bool onSchedule = cursor.timer.generation == clock.generation &&
                            static_cast<double>(now - cursor.timer.tick) <= round;
    const double due = (onSchedule ? static_cast<double>(cursor.timer.tick) + cursor.owedTicks
                                   : static_cast<double>(now)) + interval;
    const double dueTick = std::floor(due);
    cursor.timer.tick = static_cast<int64_t>(dueTick);
    cursor.timer.generation = clock.generation;
    cursor.owedTicks = due - dueTick;
}

// Moves the cursor on; false for the step that wraps it.
bool AdvanceCursor(ShipCursor& cursor, const ShipGrouping& grouping)
{
    ++cursor.cursor;
    if (cursor.cursor < static_cast<int32_t>(grouping.shipList.size()))
        return true;
    cursor.cursor = -1;
    ++cursor.rounds;
    return false;
}

}  // namespace

void ServeDueShips(ShipCursor& cursor, const ShipGrouping& grouping, int32_t periodConstant, const ShipServer& serve)
{
    const int32_t shipCount = grouping.shipCount;
    if (shipCount < 1 || grouping.shipList.empty() || !theSimulation)
        return;
    const double interval = periodConstant / (kMillisecondsPerTick * shipCount);
    for (int32_t step = 0; step <= shipCount && cursor.timer.IsExpired(); ++step) {
        ScheduleNextStep(cursor, interval, shipCount);
        if (!AdvanceCursor(cursor, grouping))
            continue;
        const uint64_t shipId = grouping.shipList[cursor.cursor];
        const auto clients = grouping.shipToClients.find(shipId);
        serve(shipId, clients != grouping.shipToClients.end() ? clients->second : std::vector<uint64_t>{});
    }
}
