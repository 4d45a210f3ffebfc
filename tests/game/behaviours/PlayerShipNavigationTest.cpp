#include "PlayerShipTestSupport.h"

#include "game/behaviours/PlayerShipNavigation.h"

#include <glm/gtc/quaternion.hpp>

#include <algorithm>
#include <cmath>
#include <limits>

namespace playershiptest {
namespace {

class NavigationTest : public PlayerShipTest {
protected:
    // What a fresh ship holds after a slow pass without a jump: the pass
    // spends engineering's share too, and only the jump's is compared.
    float EnergyAfterPassWithoutJump()
    {
        SpaceObject* still = MakeShip();
        SlowTick(still);
        return Float(still, "energy");
    }
};

void OrderJump(SpaceObject* ship, uint64_t end, float direction, float distance)
{
    ship->data_set.SetUInt64("jump_end", end, 0, "a");
    ship->data_set.SetFloat("jump_dir", direction, 0, "a");
    ship->data_set.SetFloat("jump_dist", distance, 0, "a");
}

TEST_F(NavigationTest, a_pending_jump_counts_down_whole_seconds_to_the_consoles)
{
    RunTicks(10);
    SpaceObject* ship = MakeShip();
    OrderJump(ship, world.TickCount() + 45, 90.0f, 2.0f);
    SlowTick(ship);
    ASSERT_EQ(consoles.countdowns.size(), 1u);
    EXPECT_EQ(consoles.countdowns[0].first, ship->uniqueID);
    EXPECT_EQ(consoles.countdowns[0].second, 2);
    EXPECT_EQ(presentation.jumpSounds, std::vector<int32_t>{2});
    EXPECT_EQ(ship->pos, glm::vec3(0.0f));
    EXPECT_EQ(Int(ship, "jump_end"), world.TickCount() + 45);
}

TEST_F(NavigationTest, a_due_jump_carries_the_ship_pays_its_energy_and_is_announced)
{
    RunTicks(5);  // a jump_end of 0 means no jump
    SpaceObject* ship = MakeShip();  // jump_energy_cost 1: one energy per thousand units
    world.RepositionSpaceObject(ship, 10.0f, 5.0f, 20.0f);
    OrderJump(ship, world.TickCount(), 90.0f, 2.0f);
    SlowTick(ship);
    EXPECT_NEAR(ship->pos.x, 2010.0f, 1e-2f);
    EXPECT_NEAR(ship->pos.z, 20.0f, 1e-2f);
    EXPECT_FLOAT_EQ(ship->pos.y, 5.0f);
    EXPECT_FLOAT_EQ(Float(ship, "energy"), EnergyAfterPassWithoutJump() - 2.0f);
    EXPECT_EQ(Int(ship, "jump_end"), 0);
    ASSERT_EQ(particles.bursts.size(), 2u);
    EXPECT_EQ(particles.bursts[0].first, glm::vec3(10.0f, 5.0f, 20.0f));
    EXPECT_EQ(particles.bursts[1].first, ship->pos);
    ASSERT_EQ(consoles.arrivals.size(), 1u);
    EXPECT_EQ(consoles.arrivals[0].tick, world.TickCount());
    EXPECT_EQ(consoles.arrivals[0].seconds, 6);
    EXPECT_EQ(presentation.jumpEffects, std::vector<int32_t>{6});
    EXPECT_EQ(presentation.audioFiles, std::vector<std::string>{AppData::GetString("jump_sfx_end")});
}

TEST_F(NavigationTest, a_jump_beyond_the_ship_energy_lands_off_target_by_the_shortfall)
{
    RunTicks(5);
    SpaceObject* ship = MakeShip();
    ship->data_set.SetFloat("energy", 1.0f, 0, "a");
    OrderJump(ship, world.TickCount(), 0.0f, 10.0f);  // costs 10
    SlowTick(ship);
    const glm::vec3 target{0.0f, 0.0f, 10000.0f};
    EXPECT_NEAR(glm::length(ship->pos - target), 9.0f, 1e-2f);
    EXPECT_FLOAT_EQ(Float(ship, "energy"), 0.0f);
}

TEST_F(NavigationTest, a_jump_order_out_of_range_goes_nowhere_but_is_cleared)
{
    RunTicks(5);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::pair<float, float> orders[] = {{400.0f, 2.0f}, {-1.0f, 2.0f}, {90.0f, 0.5f}, {90.0f, 1001.0f},
                                              {nan, 2.0f},    {90.0f, nan}};
    for (const auto& [direction, distance] : orders) {
        SCOPED_TRACE(::testing::Message() << direction << " " << distance);
        SpaceObject* ship = MakeShip();
        OrderJump(ship, world.TickCount(), direction, distance);
        SlowTick(ship);
        EXPECT_EQ(ship->pos, glm::vec3(0.0f));
        EXPECT_EQ(Int(ship, "jump_end"), 0);
        EXPECT_FLOAT_EQ(Float(ship, "energy"), EnergyAfterPassWithoutJump());
    }
    EXPECT_TRUE(consoles.arrivals.empty());
    EXPECT_TRUE(particles.bursts.empty());
}

TEST_F(NavigationTest, the_slow_pass_lists_the_nebulae_the_ship_is_inside_and_they_cap_its_throttle)
{
    SpaceObject* near = MakeObject("behav_nebula", 800.0f, 0.0f, SpaceObject::kStaticBit);  // default size 1000
    near->data_set.SetFloat("max_throttle", 0.3f, 0, "a");
    SpaceObject* sized = MakeObject("behav_nebula", 0.0f, 2500.0f, SpaceObject::kStaticBit);
    sized->data_set.SetFloat("effect_size", 3000.0f, 0, "a");
    MakeObject("behav_nebula", 0.0f, -1500.0f, SpaceObject::kStaticBit);  // beyond its reach
    SpaceObject* hidden = MakeObject("behav_nebula", 10.0f, 0.0f, SpaceObject::kStaticBit);
    hidden->data_tag = "invisible";
    SpaceObject* ship = MakeShip();
    world.FrameUpdate();
    SlowTick(ship);
    EXPECT_EQ(Int(ship, "inside_nebula_count"), 2);
    std::vector<uint64_t> inside{ship->data_set.GetElement("inside_nebula_id", 0).uintValue,
                                 ship->data_set.GetElement("inside_nebula_id", 1).uintValue};
    std::sort(inside.begin(), inside.end());
    EXPECT_EQ(inside, (std::vector<uint64_t>{near->uniqueID, sized->uniqueID}));

    ship->data_set.SetFloat("playerThrottle", 1.0f, 0, "a");
    CallBehaviourHook(world, ship, kBehaviourTick, nullptr);
    EXPECT_NEAR(ship->cur_speed, 5 * 0.3f / 56, 1e-6f);

    world.RepositionSpaceObject(ship, 0.0f, 0.0f, -4000.0f);
    world.FrameUpdate();
    SlowTick(ship);
    EXPECT_EQ(Int(ship, "inside_nebula_count"), 0);
}

TEST_F(NavigationTest, a_gravity_well_the_ship_is_inside_pulls_it_until_the_next_pass)
{
    SpaceObject* well = MakeObject("behav_asteroid", -1000.0f, 0.0f, SpaceObject::kStaticBit);
    well->data_set.SetInt("gravity_radius", 1500, 0, "a");
    well->data_set.SetFloat("gravity_strength", 4.0f, 0, "a");
    SpaceObject* ship = MakeShip();
    world.FrameUpdate();
    SlowTick(ship);
    EXPECT_FLOAT_EQ(Float(ship, "pull_strength"), 4.0f);
    EXPECT_FLOAT_EQ(Float(ship, "pull_vector_x"), -1000.0f);
    RunTicks(3);
    EXPECT_NEAR(ship->pos.x, -12.0f, 1e-3f);

    world.RepositionSpaceObject(ship, 1000.0f, 0.0f, 0.0f);  // 2000 from the well
    world.FrameUpdate();
    SlowTick(ship);
    EXPECT_FLOAT_EQ(Float(ship, "pull_strength"), 0.0f);
}

// The quick jump hops 5000 along the heading at once, forwards or back, and
// pays one energy per thousand units (the frigate's cost) from its charge.
TEST_F(NavigationTest, a_charged_quick_jump_hops_along_the_heading_pays_and_recharges_from_nothing)
{
    RunTicks(3);
    const glm::quat facingX = glm::angleAxis(glm::radians(90.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    for (const float direction : {1.0f, -1.0f}) {
        SCOPED_TRACE(direction);
        SpaceObject* ship = MakeShip();
        ship->rot_quat = facingX;
        world.RepositionSpaceObject(ship, 100.0f, 0.0f, 0.0f);
        ship->data_set.SetFloat("energy", 50.0f, 0, "a");
        particles.bursts.clear();
        ASSERT_TRUE(QuickJump(*ship, world, direction));
        EXPECT_NEAR(ship->pos.x, 100.0f + direction * 5000.0f, 1e-2f);
        EXPECT_NEAR(ship->pos.z, 0.0f, 1e-2f);
        EXPECT_FLOAT_EQ(Float(ship, "energy"), 45.0f);
        EXPECT_FLOAT_EQ(Float(ship, "quick_jump_recharge_state"), 0.0f);
        ASSERT_EQ(particles.bursts.size(), 2u);
        EXPECT_EQ(particles.bursts[1].first, ship->pos);
        EXPECT_NE(particles.bursts[0].second.find("count:500"), std::string::npos);
        EXPECT_FALSE(QuickJump(*ship, world, direction)) << "the drive has to charge again";
    }
    ASSERT_EQ(consoles.arrivals.size(), 2u);
    EXPECT_EQ(consoles.arrivals[1].seconds, 2);
    EXPECT_EQ(consoles.arrivals[1].tick, world.TickCount());
    EXPECT_EQ(presentation.jumpEffects, (std::vector<int32_t>{2, 2}));
    EXPECT_EQ(presentation.audioFiles.size(), 2u);
}

TEST_F(NavigationTest, a_quick_jump_goes_nowhere_uncharged_or_docked_and_short_of_energy_lands_astray_at_zero)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::pair<float, const char*> refused[] = {{0.99f, "undocked"}, {nan, "undocked"}, {1.0f, "docked"},
                                                     {1.0f, "docking"}};
    for (const auto& [charge, dockState] : refused) {
        SCOPED_TRACE(::testing::Message() << charge << " " << dockState);
        SpaceObject* ship = MakeShip();
        ship->data_set.SetFloat("quick_jump_recharge_state", charge, 0, "a");
        ship->data_set.SetString("dock_state", dockState, 0, "a");
        EXPECT_FALSE(QuickJump(*ship, world, 1.0f));
        EXPECT_EQ(ship->pos, glm::vec3(0.0f));
    }
    EXPECT_TRUE(consoles.arrivals.empty());

    SpaceObject* ship = MakeShip();
    ship->data_set.SetFloat("energy", 2.0f, 0, "a");  // the hop costs 5
    ASSERT_TRUE(QuickJump(*ship, world, 1.0f));
    EXPECT_NEAR(glm::length(ship->pos - glm::vec3(0.0f, 0.0f, 5000.0f)), 3.0f, 1e-2f);
    EXPECT_FLOAT_EQ(Float(ship, "energy"), 0.0f);
}

}  // namespace
}  // namespace playershiptest
