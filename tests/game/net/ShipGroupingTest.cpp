// The per-ship replication passes serve one ship per step, N + 1 steps to a
// round over N ships. Whatever N is, each ship's consoles must be served as
// often as the pass's period says, and at even spacing: a console's share of
// the server's bytes must not jump with the number of ships beside it.

#include "game/net/ShipGrouping.h"

#include "game/world/Simulation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

namespace {

ShipGrouping GroupingOf(int32_t ships)
{
    ShipGrouping grouping;
    for (int32_t i = 1; i <= ships; ++i) {
        const uint64_t shipId = 1000 + static_cast<uint64_t>(i);
        grouping.shipToClients[shipId] = {static_cast<uint64_t>(i)};
        grouping.shipList.push_back(shipId);
    }
    grouping.shipCount = ships;
    return grouping;
}

struct Serves {
    std::map<uint64_t, int32_t> count;   // by ship
    int64_t longestGap = 0;              // ticks between two serves of one ship
};

// Runs the pass once a tick, as the server's frame does, and notes each serve.
Serves RunPass(Simulation& world, const ShipGrouping& grouping, int32_t period, int64_t ticks)
{
    Serves serves;
    std::map<uint64_t, int64_t> lastServed;
    ShipCursor cursor;
    for (int64_t tick = 0; tick < ticks; ++tick) {
        world.clock.time_tick_counter = tick;
        ServeDueShips(cursor, grouping, period, [&](uint64_t shipId, const std::vector<uint64_t>& recipients) {
            EXPECT_EQ(recipients, grouping.shipToClients.at(shipId));
            ++serves.count[shipId];
            if (lastServed.contains(shipId))
                serves.longestGap = std::max(serves.longestGap, tick - lastServed[shipId]);
            lastServed[shipId] = tick;
        });
    }
    return serves;
}

TEST(ShipGrouping, every_console_is_served_as_often_however_many_ships_share_the_server)
{
    Simulation world;
    world.Reset(true, "");
    constexpr int64_t kTicks = 6000;
    const int32_t periods[] = {91, 200, 403, 1000, 2001, 4001};
    const int32_t shipCounts[] = {1, 2, 3, 4, 7, 16, 33, 64};
    for (int32_t period : periods) {
        for (int32_t ships : shipCounts) {
            SCOPED_TRACE(testing::Message() << "period " << period << ", " << ships << " ships");
            // Steps are period / N milliseconds apart; a ship's turn comes
            // every N + 1 steps.
            const double round = (ships + 1.0) / ships * period / 33.0;
            const Serves serves = RunPass(world, GroupingOf(ships), period, kTicks);
            ASSERT_EQ(serves.count.size(), static_cast<size_t>(ships));
            for (const auto& [shipId, count] : serves.count)
                EXPECT_NEAR(count, kTicks / round, 1.5) << "ship " << shipId;
            EXPECT_LE(serves.longestGap, static_cast<int64_t>(std::ceil(round)) + 1);
        }
    }
}

TEST(ShipGrouping, a_pass_far_behind_starts_again_from_now_and_a_new_run_at_once)
{
    Simulation world;
    world.Reset(true, "");
    const ShipGrouping grouping = GroupingOf(2);
    ShipCursor cursor;
    int32_t served = 0;
    auto serve = [&](uint64_t, const std::vector<uint64_t>&) { ++served; };

    world.clock.time_tick_counter = 100;
    ServeDueShips(cursor, grouping, 660, serve);  // a step every 10 ticks
    EXPECT_EQ(served, 1);
    EXPECT_EQ(cursor.timer.tick, 110);
    world.clock.time_tick_counter = 5000;  // the pass was not run for a long time
    ServeDueShips(cursor, grouping, 660, serve);
    EXPECT_EQ(cursor.rounds, 1u) << "one step, the wrap, not the hundreds missed";
    EXPECT_EQ(cursor.timer.tick, 5010);
    ServeDueShips(cursor, grouping, 660, serve);
    EXPECT_EQ(served, 1);

    world.Reset(true, "");  // a new run: the deadline of the old one has passed
    ServeDueShips(cursor, grouping, 660, serve);
    EXPECT_EQ(served, 2);
    EXPECT_EQ(cursor.timer.tick, 10);
}

}  // namespace
