// Shield facings, the shield wave and the jump cost.

#include "game/world/ShipMechanics.h"

#include "SimulationTestSupport.h"
#include "game/world/ShipKeys.h"
#include "helper/CRand.h"

#include <glm/gtc/quaternion.hpp>

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace shipkeys;

const glm::vec3 kBowZ{0.0f, 0.0f, 1.0f};

// A source at the given angle off the bow (radians), 50 units out, of a target
// at the origin facing +Z.
glm::vec3 SourceOffBow(float angle)
{
    return {50.0f * std::sin(angle), 0.0f, 50.0f * std::cos(angle)};
}

TEST(ShieldFacingTest, facings_follow_the_angle_off_the_bow_whichever_side)
{
    constexpr float kPi = 3.14159265f;
    struct Case {
        const char* name;
        glm::vec3 source;
        int32_t facings;
        int32_t expected;
    };
    const Case cases[] = {
        {"two_dead_ahead", SourceOffBow(0.0f), 2, 0},
        {"two_just_forward_of_abeam", SourceOffBow(kPi / 2 - 0.01f), 2, 0},
        {"two_abeam", {50.0f, 0.0f, 0.0f}, 2, 1},
        {"two_dead_astern", SourceOffBow(kPi), 2, 1},
        {"four_within_a_quarter_of_the_bow", SourceOffBow(kPi / 4 - 0.01f), 4, 0},
        {"four_to_starboard", SourceOffBow(kPi / 3), 4, 1},
        {"four_to_port_alike", SourceOffBow(-kPi / 3), 4, 1},
        {"four_astern_never_the_last", SourceOffBow(kPi), 4, 2},
        {"one_facing_takes_all", SourceOffBow(kPi), 1, 0},
        {"six_astern", SourceOffBow(kPi), 6, 3},
        {"no_facings", SourceOffBow(0.0f), 0, -1},
        {"a_negative_count", SourceOffBow(0.0f), -3, -1},
        {"a_source_at_the_target_itself", {0.0f, 0.0f, 0.0f}, 4, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShieldFacingIndex(c.source, glm::vec3(0.0f), kBowZ, c.facings), c.expected) << c.name;
}

TEST(ShieldFacingTest, the_bow_turns_with_the_target_and_a_degenerate_bow_still_answers)
{
    const glm::vec3 target{1000.0f, 5.0f, -300.0f};
    const glm::vec3 bowX{1.0f, 0.0f, 0.0f};
    EXPECT_EQ(ShieldFacingIndex(target + glm::vec3(40, 0, 0), target, bowX, 2), 0);
    EXPECT_EQ(ShieldFacingIndex(target - glm::vec3(40, 0, 0), target, bowX, 2), 1);
    // A bow of no length (a zero orientation) counts every shot as abeam.
    EXPECT_EQ(ShieldFacingIndex(target + glm::vec3(40, 0, 0), target, glm::vec3(0.0f), 2), 1);
    // A bow far from unit length answers as its direction does.
    EXPECT_EQ(ShieldFacingIndex(target + glm::vec3(40, 0, 0), target, bowX * 1e6f, 2), 0);
}

class ShieldHitTest : public simtest::WorldTest {};

TEST_F(ShieldHitTest, the_world_reads_the_target_facings_and_orientation)
{
    SpaceObject* source = Make(0, 100);
    SpaceObject* target = Make(0, 0);
    EXPECT_EQ(world.GetShieldHitIndex(*source, *target), -1) << "no \"shield_count\": no facings";
    DeclareInt(target->data_set, kShieldCount, 2);
    EXPECT_EQ(world.GetShieldHitIndex(*source, *target), 0);
    target->rot_quat = glm::angleAxis(3.14159265f, glm::vec3(0, 1, 0));
    EXPECT_EQ(world.GetShieldHitIndex(*source, *target), 1);
    EXPECT_EQ(world.GetShieldHitIndexSource(glm::vec3(0, 0, -100), *target), 0);
    // A count a script set far beyond any hull is walked only to the limit.
    target->data_set.SetInt64("shield_count", int64_t{1} << 40, 0, "a");
    EXPECT_LT(world.GetShieldHitIndex(*source, *target), kMaxShieldFacings);
}

TEST_F(ShieldHitTest, the_shield_wave_takes_three_draws_and_the_jump_cost_is_per_thousand)
{
    SpaceObject* ship = Make(0, 0);
    csrand(1);
    SetRandomShieldWave(*ship);
    EXPECT_FLOAT_EQ(ReadFloat(ship->data_set, kShieldWaveAmplitude), 41.0f / CRAND_MAX);
    EXPECT_FLOAT_EQ(ReadFloat(ship->data_set, kShieldWaveFrequency), 18467.0f / CRAND_MAX);
    EXPECT_FLOAT_EQ(ReadFloat(ship->data_set, kShieldWaveOffset), 6334.0f / CRAND_MAX);

    DeclareFloat(ship->data_set, kJumpEnergyCost, 2500.0f);
    EXPECT_FLOAT_EQ(GetJumpEnergyCost(*ship), 2.5f);
}

}  // namespace
