// Nav points and nav proxies: their shared ids, the change flags and the
// deleted ids the server reads, and their life across games.

#include "game/world/Simulation.h"

#include "SimulationTestSupport.h"
#include "game/world/ObjectId.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using simtest::WorldTest;

class NavigationTest : public WorldTest {};

TEST_F(NavigationTest, points_and_proxies_draw_ids_from_one_counter)
{
    const int32_t point = world.AddNavpoint(1, 2, 3, "Alpha", "red");
    const int32_t proxy = world.AddNavproxy(0, "Beacon", "buoy", "blue");
    const int32_t area = world.AddNavarea({{{0, 0}, {10, 0}, {10, 10}, {0, 10}}}, "Field", "green");
    EXPECT_EQ(point, 1);
    EXPECT_EQ(proxy, 2);
    EXPECT_EQ(area, 3);
    EXPECT_TRUE(world.NavpointExists(point));
    EXPECT_FALSE(world.NavproxyExists(point));
    EXPECT_FALSE(world.NavpointExists(proxy));
    EXPECT_FALSE(world.NavpointExists(0));

    const Navpoint& alpha = *world.GetNavpoint(point);
    EXPECT_EQ(alpha.pos, glm::vec3(1, 2, 3));
    EXPECT_EQ(alpha.color, glm::vec4(1, 0, 0, 1));
    EXPECT_EQ(alpha.has_changed_flag, 1);
    EXPECT_FALSE(alpha.isArea);
    const Navpoint& field = *world.GetNavpoint(area);
    EXPECT_TRUE(field.isArea);
    EXPECT_EQ(field.pos, glm::vec3(0.0f));
    EXPECT_EQ(field.corners[2], glm::vec2(10, 10));
    EXPECT_EQ(field.text, "Field");
}

TEST_F(NavigationTest, an_explicit_id_is_used_as_given_and_leaves_the_counter)
{
    EXPECT_EQ(world.SetNavpoint(40, 0, 0, 0, "uninitialized", "white"), 40);
    EXPECT_EQ(world.AddNavpoint(0, 0, 0, "next", "white"), 1);
    // Setting an existing one replaces its text, place and colour only.
    Navpoint& point = *world.GetNavpoint(40);
    point.visibleToSide = "navy";
    point.has_changed_flag = 0;
    EXPECT_EQ(world.SetNavpoint(40, 5, 6, 7, "Waypoint", "#00ff00"), 40);
    EXPECT_EQ(point.text, "Waypoint");
    EXPECT_EQ(point.pos, glm::vec3(5, 6, 7));
    EXPECT_EQ(point.visibleToSide, "navy");
    EXPECT_EQ(point.has_changed_flag, 1);
}

TEST_F(NavigationTest, new_ids_wrap_past_the_largest_and_skip_zero_and_ids_in_use)
{
    world.navIdCounter = std::numeric_limits<int32_t>::max() - 1;
    EXPECT_EQ(world.AddNavpoint(0, 0, 0, "a", "white"), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(world.AddNavpoint(0, 0, 0, "b", "white"), std::numeric_limits<int32_t>::min());
    world.navIdCounter = -1;
    world.SetNavproxy(1, 0, "held", "buoy", "white");
    EXPECT_EQ(world.AddNavpoint(0, 0, 0, "c", "white"), 2) << "0 is never an id, and 1 is taken";
}

TEST_F(NavigationTest, deleting_records_each_id_once_for_the_consoles)
{
    const int32_t a = world.AddNavpoint(0, 0, 0, "a", "white");
    const int32_t b = world.AddNavproxy(0, "b", "buoy", "white");
    world.DeleteNavpoint(a);
    world.DeleteNavpoint(a);
    world.DeleteNavpoint(b);  // a nav proxy's id names no nav point
    world.DeleteNavproxy(b);
    world.DeleteNavproxy(99);
    EXPECT_EQ(world.deletedNavpointIds, std::vector<int32_t>{a});
    EXPECT_EQ(world.deletedNavproxyIds, std::vector<int32_t>{b});
    EXPECT_EQ(world.GetNavpoint(a), nullptr);

    world.AddNavpoint(0, 0, 0, "c", "white");
    world.ClearNavpoints();
    EXPECT_TRUE(world.navpoints.empty());
    EXPECT_EQ(world.deletedNavpointIds.size(), 1u) << "clearing tells the consoles in one message of its own";
}

TEST_F(NavigationTest, lookups_by_name_and_by_object_find_the_smallest_id)
{
    world.AddNavpoint(0, 0, 0, "Gate", "white");
    const int32_t second = world.AddNavpoint(0, 0, 0, "Gate", "white");
    world.DeleteNavpoint(1);
    EXPECT_EQ(world.GetNavpointIdByName("Gate"), second);
    EXPECT_EQ(world.GetNavpointIdByName("gate"), 0) << "names match exactly";

    SpaceObject* ship = Make(300, -40);
    const int32_t first = world.AddNavproxy(ship->uniqueID, "Escort", "frigate", "white");
    world.AddNavproxy(ship->uniqueID, "Escort 2", "frigate", "white");
    EXPECT_EQ(world.GetNavproxyIdByProxyId(ship->uniqueID), first);
    EXPECT_EQ(world.GetNavproxyIdByProxyId(kSpaceObjectIdBit | 999), 0);
    EXPECT_EQ(world.GetNavproxyIdByName("Escort 2"), first + 1);
}

TEST_F(NavigationTest, a_proxy_starts_at_its_object_and_then_moves_only_when_told)
{
    SpaceObject* ship = Make(300, -40);
    const int32_t id = world.AddNavproxy(ship->uniqueID, "Escort", "frigate", "white");
    NavProxy& proxy = *world.GetNavproxy(id);
    EXPECT_EQ(proxy.pos, ship->pos);
    world.RepositionSpaceObject(ship, 0, 0, 0);
    proxy.has_changed_flag = 0;
    world.SetNavproxy(id, ship->uniqueID, "Escort", "cruiser", "white");
    EXPECT_EQ(proxy.pos, glm::vec3(300, 0, -40)) << "setting it again keeps its place";
    EXPECT_EQ(proxy.shiptype, "cruiser");
    proxy.has_changed_flag = 0;
    world.SetNavproxyPos(proxy, 7, 8, 9);
    EXPECT_EQ(proxy.pos, glm::vec3(7, 8, 9));
    EXPECT_EQ(proxy.has_changed_flag, 1);
    EXPECT_EQ(world.GetNavproxy(world.AddNavproxy(0, "Nothing", "", "white"))->pos, glm::vec3(0.0f));
}

TEST_F(NavigationTest, signs_outlast_a_reset_and_go_with_a_clear_while_ids_carry_on)
{
    world.AddNavpoint(0, 0, 0, "a", "white");
    world.AddNavproxy(0, "b", "buoy", "white");
    world.Reset(true, "");
    EXPECT_EQ(world.navpoints.size(), 1u);
    EXPECT_EQ(world.navproxies.size(), 1u);
    world.Clear();
    EXPECT_TRUE(world.navpoints.empty());
    EXPECT_TRUE(world.navproxies.empty());
    EXPECT_TRUE(world.deletedNavpointIds.empty());
    world.Reset(true, "");
    EXPECT_EQ(world.AddNavpoint(0, 0, 0, "c", "white"), 3);
}

}  // namespace
