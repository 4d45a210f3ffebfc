// The particle managers headless: how sprite-sheet particles wait, move,
// fade and expire, how the ring reuses its slots, and how the dust field
// stays around the camera.

#include "game/render/Particle3DInstancedManager.h"
#include "game/render/Particle3DSSManager.h"
#include "helper/CRand.h"

#include <gtest/gtest.h>

#include <glm/geometric.hpp>

#include <cmath>

namespace {

const glm::vec3 kFarCamera{0.0f, 0.0f, -10000.0f};

SpriteSheetParticle& Spawn(Particle3DSSManager& ring, int32_t lifetime, int32_t delay = 0)
{
    SpriteSheetParticle& particle = ring.Spawn();
    particle = SpriteSheetParticle{};
    particle.age = 0;
    particle.lifetime = lifetime;
    particle.delay = delay;
    particle.size = 1.0f;
    particle.velocity = glm::vec3(1.0f, 0.0f, 0.0f);
    particle.baseColour = glm::vec4(0.8f, 0.6f, 0.4f, 1.0f);
    return particle;
}

// Updates, then draws (without a graphics service the draw only counts).
int32_t Step(Particle3DSSManager& ring, const glm::vec3& camera = kFarCamera)
{
    ring.Update(camera);
    ring.Draw(glm::mat4(1.0f));
    return ring.DrawnCount();
}

TEST(Particle3DSSManagerTest, a_delayed_particle_starts_after_its_delay_and_a_particle_goes_at_its_lifetime)
{
    Particle3DSSManager ring;
    ring.Setup("grid-particles-ss", 1.0f, 0.0f, true);
    SpriteSheetParticle& delayed = Spawn(ring, 5, 3);
    for (int update = 1; update <= 2; ++update)
        EXPECT_EQ(Step(ring), 0) << "update " << update;
    EXPECT_EQ(Step(ring), 1);
    EXPECT_EQ(delayed.age, 0);
    EXPECT_EQ(delayed.position, glm::vec3(0.0f)) << "it has not moved while waiting";

    Particle3DSSManager brief;
    brief.Setup("grid-particles-ss", 1.0f, 0.0f, true);
    const SpriteSheetParticle& once = Spawn(brief, 1);
    brief.Draw(glm::mat4(1.0f));
    EXPECT_EQ(brief.DrawnCount(), 1) << "drawn once as it is written";
    EXPECT_EQ(Step(brief), 0);
    EXPECT_EQ(once.age, -1);

    Particle3DSSManager none;
    none.Setup("grid-particles-ss", 1.0f, 0.0f, true);
    Spawn(none, 0);
    Spawn(none, -4);
    EXPECT_EQ(Step(none), 0) << "no lifetime: freed on the first update";
}

TEST(Particle3DSSManagerTest, particles_move_fall_and_fade_as_their_blending_says)
{
    for (const bool additive : {true, false}) {
        Particle3DSSManager ring;
        ring.Setup("smoke-particles2-ss", 0.0f, 0.5f, additive);
        const SpriteSheetParticle& particle = Spawn(ring, 4);
        const glm::vec4 base = particle.baseColour;
        for (int age = 1; age <= 3; ++age) {
            Step(ring);
            const float left = 1.0f - age / 4.0f;
            const glm::vec4 expected = additive ? base * left : glm::vec4(base.r, base.g, base.b, base.a * left);
            EXPECT_NEAR(glm::length(particle.colour - expected), 0.0f, 1e-6f) << "additive " << additive << " age " << age;
        }
        // Moved three ticks, falling half a unit more each tick after the first.
        EXPECT_NEAR(particle.position.x, 3.0f, 1e-6f);
        EXPECT_NEAR(particle.position.y, -1.5f, 1e-6f);
        EXPECT_NEAR(particle.velocity.y, -1.5f, 1e-6f);
        Step(ring);
        EXPECT_EQ(particle.age, -1);
    }
}

TEST(Particle3DSSManagerTest, a_particle_that_reaches_the_camera_goes_at_once)
{
    Particle3DSSManager ring;
    ring.Setup("grid-particles-ss", 1.0f, 0.0f, true);
    SpriteSheetParticle& near = Spawn(ring, 100);
    near.size = 2.0f;
    near.position = glm::vec3(0.0f, 0.0f, 19.0f);
    SpriteSheetParticle& clear = Spawn(ring, 100);
    clear.size = 2.0f;
    clear.position = glm::vec3(0.0f, 0.0f, 21.0f);
    EXPECT_EQ(Step(ring, glm::vec3(0.0f)), 1);
    EXPECT_EQ(near.age, -1);
    EXPECT_EQ(clear.age, 1);
}

TEST(Particle3DSSManagerTest, the_ring_reuses_its_oldest_slot_and_clearing_frees_every_one)
{
    Particle3DSSManager ring;
    ring.Setup("grid-particles-ss", 1.0f, 0.0f, true);
    Spawn(ring, 77).cell = 5;
    const int32_t first = ring.NextSlot();
    for (int i = 1; i < Particle3DSSManager::kCapacity; ++i)
        Spawn(ring, 10);
    EXPECT_EQ(ring.Particles()[static_cast<size_t>(first)].lifetime, 77) << "the 10000th leaves the first";
    Spawn(ring, 10);
    EXPECT_EQ(ring.NextSlot(), first);
    EXPECT_EQ(ring.Particles()[static_cast<size_t>(first)].lifetime, 10) << "the 10001st takes its slot";
    ring.Draw(glm::mat4(1.0f));
    EXPECT_EQ(ring.DrawnCount(), Particle3DSSManager::kCapacity);

    ring.Clear();
    ring.Draw(glm::mat4(1.0f));
    EXPECT_EQ(ring.DrawnCount(), 0);
}

TEST(Particle3DInstancedManagerTest, the_dust_field_is_placed_ahead_of_the_camera_and_placed_again_when_left_behind)
{
    csrand(7);
    Particle3DInstancedManager dust;
    dust.Setup("aster2", 0.0f, 0);
    const glm::vec3 camera(1000.0f, 50.0f, -200.0f);
    const glm::vec3 movement(0.0f, 0.0f, 20.0f);
    dust.Update(camera, movement);
    const glm::vec3 ahead = camera + movement * Particle3DInstancedManager::kLeadTicks;
    for (const FieldParticle& mote : dust.Particles()) {
        EXPECT_EQ(mote.age, 1.0f);
        for (int axis = 0; axis < 3; ++axis)
            EXPECT_LE(std::fabs(mote.position[axis] - ahead[axis]), Particle3DInstancedManager::kFieldRadius);
        EXPECT_EQ(mote.colour, glm::vec4(1.0f));
    }
    dust.Draw(glm::mat4(1.0f));
    EXPECT_EQ(dust.DrawnCount(), Particle3DInstancedManager::kCapacity);

    // Far away, every mote is freed, and placed about the new point next time.
    const glm::vec3 away = camera + glm::vec3(5000.0f, 0.0f, 0.0f);
    dust.Update(away, glm::vec3(0.0f));
    dust.Draw(glm::mat4(1.0f));
    EXPECT_EQ(dust.DrawnCount(), 0);
    dust.Update(away, glm::vec3(0.0f));
    for (const FieldParticle& mote : dust.Particles())
        EXPECT_LE(glm::length(mote.position - away), Particle3DInstancedManager::kFieldRadius * std::sqrt(3.0f));
}

}  // namespace
