#include "game/net/ShipGrouping.h"

#include "game/net/TickTimers.h"
#include "game/world/Simulation.h"

namespace {

constexpr int32_t kMillisecondsPerTick = 33;

}  // namespace

bool NextServedShip(ShipCursor& cursor, const ShipGrouping& grouping, int32_t periodConstant, uint64_t& shipId,
                    std::vector<uint64_t>& recipients)
{
    if (grouping.shipCount < 1 || grouping.shipList.empty() || !theSimulation)
        return false;
    if (!cursor.timer.IsExpired())
        return false;
    ArmTimerTicksFromNow(cursor.timer, (periodConstant / grouping.shipCount) / kMillisecondsPerTick);
    ++cursor.cursor;
    if (cursor.cursor >= static_cast<int32_t>(grouping.shipList.size())) {
        cursor.cursor = -1;
        ++cursor.rounds;
        return false;
    }
    shipId = grouping.shipList[cursor.cursor];
    const auto clients = grouping.shipToClients.find(shipId);
    recipients = clients != grouping.shipToClients.end() ? clients->second : std::vector<uint64_t>{};
    return true;
}
