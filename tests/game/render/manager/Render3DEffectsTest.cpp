// The 3D view's effects headless, on the recording graphics service, ticked
// through the render manager as the game ticks it: missile and drone flares
// and trails, engine exhaust, the docking beam, the hyper-warp pause, and
// clearing for a new simulation.

#include "tests/game/render/manager/Render3DEffectsFixture.h"

#include "game/behaviours/PlayerShipKeys.h"
#include "game/render/Ribbon3DManager.h"
#include "game/world/DataKey.h"
#include "game/world/ShipKeys.h"

#include <glm/gtc/quaternion.hpp>

namespace {

using Render3DEffectsTest = qeltest::Render3DEffectsFixture;

TEST_F(Render3DEffectsTest, set_up_makes_every_manager_and_the_render_manager_draws_through_the_effects)
{
    EXPECT_NE(view().dust_particles, nullptr);
    EXPECT_NE(view().hot_particles, nullptr);
    EXPECT_NE(view().smoke_particles, nullptr);
    EXPECT_NE(view().ribbons, nullptr);
    EXPECT_NE(view().proc_rings, nullptr);
    EXPECT_NE(view().ring, nullptr);
    EXPECT_NE(view().nav_ring_band, nullptr);
    EXPECT_NE(view().ring_bitmap, nullptr);
    EXPECT_TRUE(view().hot_particles->Additive());
    EXPECT_FALSE(view().smoke_particles->Additive());
    EXPECT_NE(view().effects, nullptr);
    const uint64_t before = view().effect_tick;
    manager->SimTick();
    EXPECT_EQ(view().effect_tick, before + 1);
}

TEST_F(Render3DEffectsTest, a_missile_flares_every_tick_and_leaves_a_trail_point_every_third)
{
    SpaceObject* missile = Make("behav_missile", "torpedo", {100, 0, 100});
    missile->rot_quat = glm::angleAxis(glm::radians(90.0f), glm::vec3(0, 1, 0));  // nose along +x
    const glm::vec3 flare(1.0f, 0.25f, 0.0f);
    for (int c = 0; c < 3; ++c) {
        WriteFloat(missile->data_set, shipkeys::kColorFlare[c], flare[c]);
        WriteFloat(missile->data_set, shipkeys::kColorTrail[c], 0.5f);
    }
    TickToBeforeTrailStep();
    manager->SimTick();  // a trail step: the first point
    manager->SimTick();
    const std::vector<SpriteSheetParticle> hot = Live(*view().hot_particles);
    ASSERT_GE(hot.size(), 2u);
    const SpriteSheetParticle& coloured = hot[hot.size() - 2];
    EXPECT_EQ(coloured.baseColour, glm::vec4(flare, 1.0f));
    EXPECT_EQ(coloured.cell, 8);
    EXPECT_NEAR(coloured.velocity.x, 1.0f, 1e-5f);
    EXPECT_EQ(hot.back().baseColour, glm::vec4(1.0f));
    ASSERT_EQ(view().ribbon_trails.count(missile->uniqueID), 1u);
    const RibbonTrail& trail = *view().ribbon_trails[missile->uniqueID];
    EXPECT_EQ(trail.count, 1) << "one trail step so far";
    EXPECT_EQ(trail.points[0].colour, glm::vec4(0.5f, 0.5f, 0.5f, 1.0f));

    // A missile appearing between steps flares at once; its trail waits.
    TickToBeforeTrailStep();
    manager->SimTick();
    SpaceObject* late = Make("behav_missile", "torpedo", {-100, 0, 100});
    manager->SimTick();
    size_t lateFlares = 0;
    for (const SpriteSheetParticle& particle : Live(*view().hot_particles))
        lateFlares += particle.position == late->pos && particle.age == 0 ? 1 : 0;
    EXPECT_EQ(lateFlares, 2u);
    EXPECT_EQ(view().ribbon_trails[late->uniqueID]->count, 0);
    TickToBeforeTrailStep();
    manager->SimTick();
    EXPECT_EQ(view().ribbon_trails[late->uniqueID]->count, 1);
    EXPECT_EQ(view().ribbons->QueuedCount(), 2) << "the first missile's three points make two quads";
}

TEST_F(Render3DEffectsTest, a_gone_missile_s_trail_fades_and_is_then_freed)
{
    SpaceObject* missile = Make("behav_missile", "torpedo", {0, 0, 0});
    const uint64_t id = missile->uniqueID;
    for (int tick = 0; tick < 9; ++tick) {
        world->RepositionSpaceObject(missile, static_cast<float>(tick) * 10.0f, 0.0f, 0.0f);
        manager->SimTick();
    }
    world->DeleteSpaceObject(id);
    int ticks = 0;
    while (view().ribbon_trails.count(id) != 0 && ticks < 200) {
        manager->SimTick();
        ++ticks;
    }
    EXPECT_EQ(view().ribbon_trails.count(id), 0u);
    EXPECT_GE(ticks, 3 * 38) << "its newest point lives 40 steps of three ticks";
}

TEST_F(Render3DEffectsTest, a_moving_ship_draws_exhaust_from_where_its_ports_were_to_where_they_are)
{
    SpaceObject* ship = Make("behav_npcship", "tern_frigate", {0, 0, 0});
    ship->cur_speed = 10.0f;
    manager->SimTick();
    EXPECT_EQ(Hot(), 0u) << "the first moving tick only records the ports";

    world->RepositionSpaceObject(ship, 0.0f, 0.0f, 20.0f);
    manager->SimTick();
    // Ten pairs per port for 20 units, two ports.
    EXPECT_EQ(Hot(), 2u * 2u * 10u);
    const SpriteSheetParticle puff = Live(*view().hot_particles).front();
    EXPECT_EQ(puff.cell, 4);
    EXPECT_EQ(puff.lifetime, 50);

    // Stopped, it keeps its old port positions; moving again, it draws the
    // whole line, 100 pairs a port at most.
    ship->cur_speed = 0.0f;
    world->RepositionSpaceObject(ship, 0.0f, 0.0f, 1020.0f);
    view().hot_particles->Clear();
    manager->SimTick();
    EXPECT_EQ(Hot(), 0u);
    ship->cur_speed = 10.0f;
    manager->SimTick();
    EXPECT_EQ(Hot(), 2u * 2u * 100u);
}

TEST_F(Render3DEffectsTest, a_docked_ship_has_a_beam_to_its_base_until_the_base_goes)
{
    SpaceObject* ship = Make("behav_playership", "tern_frigate", {0, 0, 0});
    SpaceObject* base = Make("behav_station", "skarn_carrier", {500, 0, 0});
    WriteString(ship->data_set, playership::kDockState, "docked");
    WriteUInt64(ship->data_set, playership::kDockBaseId, base->uniqueID);
    manager->SimTick();
    ASSERT_EQ(view().ribbon_trails.count(ship->uniqueID), 1u);
    const RibbonTrail& beam = *view().ribbon_trails[ship->uniqueID];
    ASSERT_EQ(beam.count, 2);
    EXPECT_EQ(beam.points[1].position, base->pos);
    EXPECT_EQ(beam.points[1].colour, glm::vec4(0.0f));
    EXPECT_EQ(beam.points[0].colour, glm::vec4(1.0f, 0.0f, 0.4f, 1.0f));
    EXPECT_LT(glm::length(beam.points[0].position - ship->pos), 400.0f) << "a point of the ship's hull";
    EXPECT_EQ(view().ribbons->QueuedCount(), 1);

    world->DeleteSpaceObject(base->uniqueID);
    for (int tick = 0; tick < 3; ++tick)
        manager->SimTick();
    EXPECT_EQ(beam.count, 2) << "no new beam";
    for (const RibbonPoint& point : beam.points)
        EXPECT_GE(point.age, point.lifespan) << "the old beam has expired";

    // Undocked ships have no beam at all.
    SpaceObject* free = Make("behav_playership", "tern_frigate", {0, 0, 900});
    WriteString(free->data_set, playership::kDockState, playership::kDockStateUndocked);
    WriteUInt64(free->data_set, playership::kDockBaseId, ship->uniqueID);
    manager->SimTick();
    EXPECT_EQ(view().ribbon_trails.count(free->uniqueID), 0u);
}

TEST_F(Render3DEffectsTest, while_the_hyper_warp_shows_only_the_particles_move)
{
    SpaceObject* missile = Make("behav_missile", "torpedo", {0, 0, 0});
    view().emitters.Add(0, missile->uniqueID, "count:1;lifespan:50", -1);
    manager->SimTick();
    SpriteSheetParticle& moving = view().hot_particles->Spawn();
    moving = SpriteSheetParticle{};
    moving.age = 0;
    moving.lifetime = 100;
    moving.velocity = glm::vec3(0.0f, 0.0f, 1.0f);
    const size_t hot = Hot();
    const int32_t trailCount = view().ribbon_trails[missile->uniqueID]->count;

    view().hyper_warp_on = true;
    for (int tick = 0; tick < 6; ++tick)
        manager->SimTick();
    EXPECT_EQ(moving.position.z, 6.0f);
    EXPECT_LE(Hot(), hot) << "no flares, no emitter bursts";
    EXPECT_EQ(view().ribbon_trails[missile->uniqueID]->count, trailCount);
}

TEST_F(Render3DEffectsTest, a_new_simulation_clears_every_effect_but_keeps_the_managers)
{
    SpaceObject* ship = Make("behav_npcship", "tern_frigate", {0, 0, 0});
    ship->cur_speed = 10.0f;
    Make("behav_missile", "torpedo", {100, 0, 0});
    view().emitters.Add(0, ship->uniqueID, "count:3", -1);
    for (int tick = 0; tick < 4; ++tick) {
        world->RepositionSpaceObject(ship, 0.0f, 0.0f, static_cast<float>(tick) * 10.0f);
        manager->SimTick();
    }
    ASSERT_GT(Hot(), 0u);
    view().ClearEffects();
    EXPECT_EQ(Hot(), 0u);
    EXPECT_TRUE(view().ribbon_trails.empty());
    EXPECT_TRUE(view().emitters.All().empty());
    EXPECT_TRUE(view().exhaust_history.empty()) << "the next simulation's ships reuse these ids";
    EXPECT_EQ(view().ribbons->QueuedCount(), 0);
    EXPECT_NE(view().hot_particles, nullptr);
}

}  // namespace
