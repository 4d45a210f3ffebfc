// Particle events and emitters on the render manager's 3D view: how a
// descriptor's entries shape a burst, which bursts are dropped, and how the
// emitters fire at their objects tick by tick.

#include "tests/game/render/manager/Render3DEffectsFixture.h"

#include "helper/CRand.h"

#include <glm/geometric.hpp>
#include <glm/gtc/quaternion.hpp>

#include <set>

namespace {

class Render3DParticleEventsTest : public qeltest::Render3DEffectsFixture {
protected:
    const glm::quat kNoTurn{1.0f, 0.0f, 0.0f, 0.0f};

    // The particles one event adds to the ring (hot, or smoke).
    std::vector<SpriteSheetParticle> Burst(const std::string& descriptor, const glm::vec3& at = glm::vec3(0.0f),
                                           const glm::quat& turn = glm::quat(1, 0, 0, 0),
                                           const SpaceObject* object = nullptr, bool smoke = false)
    {
        Particle3DSSManager& ring = smoke ? *view().smoke_particles : *view().hot_particles;
        ring.Clear();
        view().AddParticleEvent(at, turn, descriptor, object);
        return Live(ring);
    }
};

TEST_F(Render3DParticleEventsTest, the_count_sets_how_many_particles_a_burst_has)
{
    csrand(11);
    EXPECT_EQ(Burst("count:5;lifespan:10").size(), 5u);
    EXPECT_EQ(Burst("lifespan:10;speed:2").size(), 0u) << "no count, nothing";
    EXPECT_EQ(Burst("count:-4;lifespan:10").size(), 0u);
    for (const char* descriptor : {"count:2,4;lifespan:10", "count:4,2;lifespan:10"}) {
        std::set<size_t> seen;
        for (int burst = 0; burst < 60; ++burst)
            seen.insert(Burst(descriptor).size());
        EXPECT_EQ(seen, (std::set<size_t>{2, 3, 4})) << descriptor;
    }
    // A script or a peer asking for millions fills the ring once, no more.
    EXPECT_EQ(Burst("count:2000000000;lifespan:10").size(), static_cast<size_t>(Particle3DSSManager::kCapacity));
}

TEST_F(Render3DParticleEventsTest, entries_set_each_particle_s_look_and_motion)
{
    const std::vector<SpriteSheetParticle> burst =
        Burst("count:40;speed:2;shape:line_y;color:#ff0000,#0000ff;lifespan:20,30;size:3,5;image_cell:7;delay:2");
    ASSERT_EQ(burst.size(), 40u);
    for (const SpriteSheetParticle& particle : burst) {
        EXPECT_EQ(particle.velocity, glm::vec3(0.0f, 4.0f, 0.0f)) << "a line's length and the speed both apply";
        EXPECT_GE(particle.lifetime, 20);
        EXPECT_LE(particle.lifetime, 30);
        EXPECT_GE(particle.size, 3.0f);
        EXPECT_LE(particle.size, 5.0f);
        EXPECT_EQ(particle.cell, 7);
        EXPECT_EQ(particle.delay, 2);
        EXPECT_EQ(particle.age, 0);
        EXPECT_EQ(particle.colour, glm::vec4(0.0f)) << "faded in by the first update";
        EXPECT_NEAR(particle.baseColour.r + particle.baseColour.b, 1.0f, 1e-5f) << "between the two colours";
        EXPECT_EQ(particle.baseColour.g, 0.0f);
    }
    EXPECT_EQ(Burst("count:3;smoke:True;lifespan:5", glm::vec3(0.0f), kNoTurn, nullptr, true).size(), 3u);
    EXPECT_EQ(Burst("count:3;smoke:true;lifespan:5", glm::vec3(0.0f), kNoTurn, nullptr, true).size(), 0u)
        << "only the exact word makes smoke";

    for (const SpriteSheetParticle& particle : Burst("count:30;speed:1;shape:ring_y;lifespan:9")) {
        EXPECT_EQ(particle.velocity.y, 0.0f);
        EXPECT_NEAR(glm::length(particle.velocity), 1.0f, 1e-5f);
    }
    for (const SpriteSheetParticle& particle : Burst("count:30;speed:1;lifespan:9;shape:no_such_shape"))
        EXPECT_NEAR(glm::length(particle.velocity), 1.0f, 1e-4f) << "an unknown shape leaves in any direction";
}

TEST_F(Render3DParticleEventsTest, offsets_follow_the_object_only_after_align)
{
    const glm::quat quarter = glm::angleAxis(glm::radians(90.0f), glm::vec3(0, 1, 0));  // +z turns to +x
    const glm::vec3 at(100.0f, 0.0f, 0.0f);
    const std::vector<SpriteSheetParticle> plain = Burst("count:1;lifespan:9;offset:0,0,10;align:True", at, quarter);
    ASSERT_EQ(plain.size(), 1u);
    EXPECT_EQ(plain[0].position, glm::vec3(100.0f, 0.0f, 10.0f));
    const std::vector<SpriteSheetParticle> turned = Burst("count:1;lifespan:9;align:True;offset:0,0,10", at, quarter);
    ASSERT_EQ(turned.size(), 1u);
    EXPECT_NEAR(glm::length(turned[0].position - glm::vec3(110.0f, 0.0f, 0.0f)), 0.0f, 1e-4f);
    const std::vector<SpriteSheetParticle> both =
        Burst("count:1;lifespan:9;offset:1,0,0;offset:0,2,0;offset:5,5", at, kNoTurn);
    ASSERT_EQ(both.size(), 1u);
    EXPECT_EQ(both[0].position, glm::vec3(101.0f, 2.0f, 0.0f)) << "offsets add up; one of two numbers does nothing";
}

TEST_F(Render3DParticleEventsTest, hull_bursts_start_on_the_hull_of_an_object_and_at_the_point_in_open_space)
{
    for (const SpriteSheetParticle& particle : Burst("count:10;shape:hull;speed:1;lifespan:9", {5, 6, 7}))
        EXPECT_EQ(particle.position, glm::vec3(5, 6, 7));
    SpaceObject* ship = Make("behav_npcship", "tern_frigate", {1000, 0, 0});
    std::set<float> spread;
    for (const SpriteSheetParticle& particle :
         Burst("count:20;shape:hull;lifespan:9", ship->pos, ship->rot_quat, ship)) {
        EXPECT_LT(glm::length(particle.position - ship->pos), 300.0f);
        spread.insert(particle.position.x);
    }
    EXPECT_GT(spread.size(), 5u) << "points all over the hull";

    // A type whose mesh has not arrived yet lends its model's origin.
    SpaceObject* raider = Make("behav_npcship", "skarn_raider", {-500, 40, 0});
    manager->drawDataMap["skarn_raider"] = std::make_unique<ObjectTypeDrawData>();
    for (const SpriteSheetParticle& particle :
         Burst("count:5;shape:hull;lifespan:9", raider->pos, raider->rot_quat, raider))
        EXPECT_NEAR(glm::length(particle.position - raider->pos), 0.0f, 1e-3f);
}

TEST_F(Render3DParticleEventsTest, a_burst_far_from_the_camera_or_before_set_up_makes_nothing)
{
    view().camera.eye = glm::vec3(0.0f);
    EXPECT_EQ(Burst("count:5;lifespan:9", {7999, 0, 0}).size(), 5u);
    EXPECT_EQ(Burst("count:5;lifespan:9", {8001, 0, 0}).size(), 0u);

    // Bad numbers make odd particles, never a crash or an endless wait.
    const std::vector<SpriteSheetParticle> odd =
        Burst("count:3;lifespan:1e30;size:nan;image_cell:99999999999;delay:-5;speed:1e39;offset:nan,0,0");
    ASSERT_EQ(odd.size(), 3u);
    for (const SpriteSheetParticle& particle : odd) {
        EXPECT_GT(particle.lifetime, 0);
        EXPECT_TRUE(std::isfinite(particle.position.x));
    }

    view().ReleaseMeshes();
    view().AddParticleEvent(glm::vec3(0.0f), kNoTurn, "count:5;lifespan:9", nullptr);  // nothing to draw into
}

TEST_F(Render3DParticleEventsTest, emitters_fire_at_their_objects_each_tick_until_spent)
{
    SpaceObject* ship = Make("behav_npcship", "tern_frigate", {0, 0, 0});
    ParticleEmitters& emitters = view().Emitters();
    const uint64_t endless = emitters.Add(0, ship->uniqueID, "count:1;lifespan:90", -1);
    const uint64_t twice = emitters.Add(0, ship->uniqueID, "count:10;lifespan:90;smoke:True", 2);
    const uint64_t never = emitters.Add(0, ship->uniqueID, "count:100;lifespan:90", 0);
    EXPECT_EQ(endless, 3u);
    EXPECT_EQ(twice, 4u);
    EXPECT_EQ(never, 5u);

    view().hot_particles->Clear();
    manager->SimTick();  // in id order: two fire, the spent one goes
    EXPECT_FALSE(emitters.Exists(never));
    EXPECT_EQ(Hot(), 1u);
    for (int tick = 0; tick < 4; ++tick)
        manager->SimTick();
    EXPECT_EQ(Hot(), 5u) << "one a tick";
    EXPECT_EQ(Live(*view().smoke_particles).size(), 20u) << "two firings";
    EXPECT_FALSE(emitters.Exists(twice));
    EXPECT_TRUE(emitters.Exists(endless));

    // Without its object the emitter waits, then goes.
    world->DeleteSpaceObject(ship->uniqueID);
    for (int tick = 0; tick <= ParticleEmitters::kMaxTicksWithoutObject; ++tick)
        manager->SimTick();
    EXPECT_FALSE(emitters.Exists(endless));
}

}  // namespace
