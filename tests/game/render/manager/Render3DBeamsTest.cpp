// Beams and lightning on the 3D view, headless on the recording graphics
// service with the game's ships: where a beam starts and ends, what it leaves
// (ribbon, sparks, lights, a shield ripple), which frame chooses its hit
// points, that drawing leaves the world as it was, and the effects that must
// not draw. Then the monster's particle aura.

#include "game/render/ObjectTypeDrawData.h"
#include "game/render/Ribbon3DManager.h"
#include "game/world/AppData.h"
#include "game/world/DataKey.h"
#include "game/world/ShipKeys.h"
#include "tests/game/render/manager/Render3DTestFixture.h"

#include <gtest/gtest.h>

#include <glm/geometric.hpp>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

namespace {

class Render3DBeamsTest : public Render3DTestFixture {
protected:
    void SetUp() override
    {
        Render3DTestFixture::SetUp();
        target = Make("behav_npcship", "skarn_raider", {100, 0, 450});
        SetShields(*target, 1, 0.0f, 100.0f, false);
        manager->objectEffectRecords.clear();
        Clear();
    }

    static void SetShields(SpaceObject& object, int32_t count, float value, float most, bool raised)
    {
        WriteInt(object.data_set, shipkeys::kShieldCount, count);
        for (int32_t i = 0; i < count; ++i) {
            WriteFloat(object.data_set, shipkeys::kShieldVal, value, i);
            WriteFloat(object.data_set, shipkeys::kShieldMaxVal, most, i);
        }
        WriteInt64(object.data_set, shipkeys::kShieldsRaisedFlag, raised ? 1 : 0);
    }
    // Nothing queued, lit or sparkling yet.
    void Clear()
    {
        view().hot_particles->Clear();
        view().ribbons->ClearQueue();
        world->soundEvents.clear();
    }
    void Beam(float age, bool first, int32_t index = 0)
    {
        view().DrawBeamEffect(ship->uniqueID, target->uniqueID, index, age, first);
    }
    ObjectEffectState& State(const SpaceObject* object) { return manager->objectEffectRecords[object->uniqueID]; }
    std::vector<RedwoodPointLight> Lights(const SpaceObject* object)
    {
        std::vector<RedwoodPointLight> lit;
        for (const RedwoodPointLight& light : State(object).lights)
            if (light.radius > 0.0f)
                lit.push_back(light);
        return lit;
    }
    int Ripples()
    {
        const auto& starts = State(target).rippleStart;
        return static_cast<int>(std::count_if(starts.begin(), starts.end(), [](int64_t s) { return s != 0; }));
    }

    SpaceObject* target = nullptr;
};

TEST_F(Render3DBeamsTest, a_beam_runs_from_its_port_to_the_target_hull_with_sparks_and_a_light_at_each_end)
{
    world->clock.time_tick_counter = 500;
    Beam(0.25f, true);
    // One ribbon quad from the port, its colour the port's.
    ASSERT_EQ(view().ribbons->QueuedCount(), 1);
    const glm::vec3 port = glm::vec3(Render3D::ShipMatrix(*ship) * glm::vec4(-40, 0, 120, 1));
    const std::vector<RedwoodPointLight> muzzle = Lights(ship);
    ASSERT_EQ(muzzle.size(), 1u);
    EXPECT_LT(glm::distance(muzzle[0].position, port), 20.5f);
    EXPECT_NEAR(muzzle[0].colour.b, 5.0f, 1e-4f);  // #40c0ff times 5

    // Two sparks at the impact on the target's hull, between its centre and
    // the shooter; the impact light 2 units off it toward the shooter.
    const std::vector<SpriteSheetParticle> sparks = Live(*view().hot_particles);
    ASSERT_EQ(sparks.size(), 2u);
    const glm::vec3 impact = sparks[0].position;
    EXPECT_EQ(sparks[1].position, impact);
    EXPECT_EQ(sparks[0].baseColour, glm::vec4(1, 1, 0, 1));
    EXPECT_EQ(sparks[1].baseColour, glm::vec4(0, 0, 1, 1));
    EXPECT_EQ(sparks[0].lifetime, 15);
    EXPECT_EQ(sparks[1].size, 20.0f);
    EXPECT_LT(impact.z, target->pos.z);
    EXPECT_GT(impact.z, port.z);
    const std::vector<RedwoodPointLight> struck = Lights(target);
    ASSERT_EQ(struck.size(), 1u);
    EXPECT_NEAR(glm::distance(struck[0].position, impact), 2.0f, 1e-3f);
    EXPECT_EQ(struck[0].colour, glm::vec3(1.0f));

    // Shields down: no ripple.
    EXPECT_EQ(Ripples(), 0);
}

TEST_F(Render3DBeamsTest, drawing_a_bolt_leaves_the_world_and_its_queues_as_they_were)
{
    world->clock.time_tick_counter = 500;
    world->AddEffectEvent("beam", "", "", ship->uniqueID, target->uniqueID, {}, {}, 0);
    world->AddEffectEvent("lightning", "", "", ship->uniqueID, target->uniqueID, {}, {}, 1);
    // The world sounds the hull as the bolt begins (BoltStrike.h), once.
    ASSERT_EQ(world->soundEvents.size(), 1u);
    EXPECT_EQ(world->soundEvents[0].name, "hull_damage");
    const std::vector<EffectEventRecord> events = world->effectEvents;
    const float shield = ReadFloat(target->data_set, shipkeys::kShieldVal, 0);
    for (int frame = 0; frame < 3; ++frame) {
        view().DrawEffectEvents();
        world->clock.time_tick_counter += 400;  // past the sound's gap
    }
    EXPECT_GT(view().ribbons->QueuedCount(), 0) << "drawn";
    ASSERT_EQ(world->soundEvents.size(), 1u);
    ASSERT_EQ(world->effectEvents.size(), events.size());
    for (size_t i = 0; i < events.size(); ++i) {
        const EffectEventRecord& now = world->effectEvents[i];
        EXPECT_EQ(std::tie(now.kind, now.firstId, now.secondId, now.value, now.startTick, now.expiryTick),
                  std::tie(events[i].kind, events[i].firstId, events[i].secondId, events[i].value,
                           events[i].startTick, events[i].expiryTick));
    }
    EXPECT_EQ(ReadFloat(target->data_set, shipkeys::kShieldVal, 0), shield);
}

TEST_F(Render3DBeamsTest, the_first_frame_chooses_two_hull_points_and_later_frames_slide_between_them)
{
    Beam(0.0f, true);
    const auto chosen = State(ship).beamHits[0];
    EXPECT_NE(chosen[0], chosen[1]);
    const int32_t seed = manager->random_seed;
    Beam(0.7f, false);
    Beam(0.7f, false);  // a second view in the same frame
    EXPECT_EQ(State(ship).beamHits[0], chosen);
    EXPECT_EQ(manager->random_seed, seed);
    // The other beam index keeps its own points.
    Beam(0.0f, true, 1);
    EXPECT_EQ(State(ship).beamHits[0], chosen);

    // Through the world's event list: the event's first drawn frame alone
    // chooses, however many views draw it.
    world->AddEffectEvent("beam", "", "", ship->uniqueID, target->uniqueID, {}, {}, 2);
    view().DrawEffectEvents();
    const auto fromEvent = State(ship).beamHits[2];
    view().DrawEffectEvents();
    EXPECT_EQ(State(ship).beamHits[2], fromEvent);
}

TEST_F(Render3DBeamsTest, raised_shields_take_a_ripple_green_when_strong_red_when_weak_and_the_beam_ends_on_them)
{
    ASSERT_TRUE(manager->GetObjectTypeDrawData("skarn_raider")->pointSandwich);
    const float brightness = AppData::GetFloat("shield_splash_brightness_coeff");
    struct Case {
        float value;
        glm::vec4 colour;
    };
    const Case cases[] = {{100.0f, glm::vec4(0, 1, 0, 1) * brightness},
                          {1.0f, glm::vec4(0.99f, 0.01f, 0, 1) * brightness},
                          {25.0f, glm::vec4(0.75f, 0.25f, 0, 1) * brightness}};
    world->clock.time_tick_counter = 1000;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        State(target).rippleStart = {};
        SetShields(*target, 1, c.value, 100.0f, true);
        Beam(0.5f, true);
        ASSERT_EQ(Ripples(), 1);
        EXPECT_NEAR(glm::distance(State(target).rippleColour[0], c.colour), 0.0f, 1e-4f);
        EXPECT_GE(State(target).rippleEnd[0], 1010);
        EXPECT_LE(State(target).rippleEnd[0], 1020);
    }
    EXPECT_TRUE(world->soundEvents.empty());

    // Three ripples at most; the fourth hit finds no slot.
    Beam(0.5f, false);
    Beam(0.5f, false);
    Beam(0.5f, false);
    EXPECT_EQ(Ripples(), 3);

    // Shields at 0 are down, raised or not: a hull hit, no ripple.
    State(target).rippleStart = {};
    SetShields(*target, 1, 0.0f, 100.0f, true);
    Beam(0.5f, true);
    EXPECT_EQ(Ripples(), 0);
}

TEST_F(Render3DBeamsTest, a_beam_ends_on_the_shield_shell_short_of_where_it_would_hit_the_hull)
{
    const auto impactOf = [&](bool raised) {
        Clear();
        State(target).rippleStart = {};
        SetShields(*target, 1, 50.0f, 100.0f, raised);
        Beam(0.5f, false);
        return Live(*view().hot_particles).front().position;
    };
    Beam(0.0f, true);
    const glm::vec3 muzzle = glm::vec3(Render3D::ShipMatrix(*ship) * glm::vec4(-40, 0, 120, 1));
    EXPECT_LT(glm::distance(impactOf(true), muzzle), glm::distance(impactOf(false), muzzle));
}

TEST_F(Render3DBeamsTest, effects_without_both_ends_in_reach_or_with_an_index_past_the_ports_draw_nothing)
{
    struct Case {
        const char* what;
        uint64_t source;
        uint64_t target;
        int32_t index;
    };
    const Case cases[] = {{"no source", 0, target->uniqueID, 0},
                          {"target gone", ship->uniqueID, target->uniqueID + 1000, 0},
                          {"negative index", ship->uniqueID, target->uniqueID, -1},
                          {"index past the table", ship->uniqueID, target->uniqueID, ObjectEffectState::kBeams}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        view().DrawBeamEffect(c.source, c.target, c.index, 0.0f, true);
        view().DrawLightningEffect(c.source, c.target, c.index, 0.0f, true);
        EXPECT_EQ(view().ribbons->QueuedCount(), 0);
        EXPECT_EQ(Hot(), 0u);
        EXPECT_TRUE(world->soundEvents.empty());
    }
    // A shooter beyond the beams' draw distance from the camera.
    view().camera.eye = -(ship->pos + glm::vec3(static_cast<float>(view().beam_draw_distance) + 1.0f, 0, 0));
    Beam(0.0f, true);
    EXPECT_EQ(view().ribbons->QueuedCount(), 0);
    EXPECT_TRUE(manager->objectEffectRecords.empty());
}

TEST_F(Render3DBeamsTest, lightning_is_a_jagged_bolt_of_thirteen_points_in_the_shooters_colour)
{
    SpaceObject* monster = Make("behav_monster", "monster_dragon", {100, 0, -300});
    WriteString(monster->data_set, DataKey{"beamColor", kPlayDoc}, "#ff00ff");
    view().DrawLightningEffect(monster->uniqueID, ship->uniqueID, 0, 0.25f, true);
    EXPECT_EQ(view().ribbons->QueuedCount(), 12);
    const std::vector<SpriteSheetParticle> sparks = Live(*view().hot_particles);
    ASSERT_EQ(sparks.size(), 2u);
    EXPECT_EQ(sparks[0].lifetime, 20);
    EXPECT_EQ(sparks[0].size, 15.0f);
    EXPECT_EQ(sparks[1].size, 30.0f);
    const std::vector<RedwoodPointLight> muzzle = Lights(monster);
    ASSERT_EQ(muzzle.size(), 1u);
    EXPECT_EQ(muzzle[0].colour, glm::vec3(5, 0, 5));
    // The monster is drawn without a matrix of its own: the bolt leaves from
    // where it is, not from the world's origin.
    EXPECT_LT(glm::distance(muzzle[0].position, monster->pos), 400.0f);
}

TEST_F(Render3DBeamsTest, a_monster_renews_three_short_lived_particles_of_its_colours_each_frame)
{
    SpaceObject* monster = Make("behav_monster", "monster_dragon", {100, 0, -300});
    view().EmitObjectParticles(*monster, "red", "#00ff00", "not a colour");
    std::vector<SpriteSheetParticle> aura = Live(*view().hot_particles);
    ASSERT_EQ(aura.size(), 3u);
    EXPECT_EQ(aura[0].baseColour, glm::vec4(1, 0, 0, 1));
    EXPECT_EQ(aura[1].baseColour, glm::vec4(0, 1, 0, 1));
    for (const SpriteSheetParticle& particle : aura) {
        EXPECT_EQ(particle.position, monster->pos);
        EXPECT_NEAR(glm::length(particle.velocity), 20.0f, 1e-3f);
        EXPECT_EQ(particle.lifetime, 5);
        EXPECT_EQ(particle.size, 200.0f);
        EXPECT_EQ(particle.cell, 10);
    }
    view().EmitObjectParticles(*monster, "red", "red", "red");
    EXPECT_EQ(Hot(), 6u);
}

}  // namespace
