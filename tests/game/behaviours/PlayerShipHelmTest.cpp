#include "PlayerShipTestSupport.h"

#include <glm/gtc/quaternion.hpp>

#include <cmath>
#include <functional>
#include <limits>

namespace playershiptest {
namespace {

using HelmTest = PlayerShipTest;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInfinity = std::numeric_limits<float>::infinity();

float Heading(const SpaceObject* ship)
{
    const glm::vec3 f = ship->ForwardVector();
    return std::atan2(f.x, f.z);
}

bool IsFinite(const SpaceObject* ship)
{
    return std::isfinite(ship->pos.x) && std::isfinite(ship->pos.y) && std::isfinite(ship->pos.z)
           && std::isfinite(ship->rot_quat.w) && std::isfinite(ship->cur_speed);
}

TEST_F(HelmTest, full_throttle_moves_the_ship_along_its_forward_vector_by_the_speed_formula)
{
    SpaceObject* ship = MakeShip();
    ship->rot_quat = glm::angleAxis(0.7f, glm::vec3(0.0f, 1.0f, 0.0f));
    const glm::vec3 forward = ship->ForwardVector();
    ship->data_set.SetFloat("playerThrottle", 1.0f, 0, "a");
    // Each tick moves by the speed the previous tick's helm set, and the speed
    // eases 1/56 of the way toward 5 units a tick.
    float speed = 0.0f;
    float travelled = 0.0f;
    for (int tick = 0; tick < 60; ++tick) {
        travelled += speed;
        speed = (5.0f + speed * 55.0f) / 56.0f;
    }
    RunTicks(60);
    EXPECT_NEAR(ship->cur_speed, speed, 1e-4f);
    EXPECT_NEAR(ship->pos.x, forward.x * travelled, 1e-2f);
    EXPECT_NEAR(ship->pos.z, forward.z * travelled, 1e-2f);
    EXPECT_NEAR(ship->pos.y, 0.0f, 1e-4f);
    EXPECT_NEAR(Heading(ship), 0.7f, 1e-4f);
}

// One tick of the helm from rest: the speed is the power factor times the
// drive's target, over 56.
struct SpeedCase {
    const char* name;
    std::function<void(HelmTest&, SpaceObject*)> arrange;
    float expectedSpeed;
    float expectedPowerFactor;
};

void Set(SpaceObject* ship, const char* tag, float value)
{
    ship->data_set.SetFloat(tag, value, 0, "a");
}

void SetInt(SpaceObject* ship, const char* tag, int32_t value)
{
    ship->data_set.SetInt(tag, value, 0, "a");
}

void SetText(SpaceObject* ship, const char* tag, const char* value)
{
    ship->data_set.SetString(tag, value, 0, "a");
}

// A nebula limiting throttle to 0.3, listed as the one the ship is inside.
void InsideSlowNebula(Simulation& world, SpaceObject* ship, int32_t listedCount);

TEST_F(HelmTest, one_tick_of_throttle_sets_the_speed_each_drive_rule_gives)
{
    const SpeedCase cases[] = {
        {"half_impulse", [](HelmTest&, SpaceObject* s) { Set(s, "playerThrottle", 0.5f); }, 5 * 0.5f / 56, 5},
        {"warp_three_doubles_the_power", [](HelmTest&, SpaceObject* s) { Set(s, "playerThrottle", 3.0f); },
         10 * 3.0f / 56, 10},
        {"reverse_runs_backwards",
         [](HelmTest&, SpaceObject* s) {
             Set(s, "playerThrottle", 0.5f);
             SetInt(s, "playerInReverse", 1);
         },
         -5 * 0.5f / 56, 5},
        {"impulse_slider_scales_the_power",
         [](HelmTest&, SpaceObject* s) {
             Set(s, "playerThrottle", 1.0f);
             s->data_set.SetFloat("eng_control_value", 2.0f, 2, "a");
         },
         10 * 1.0f / 56, 10},
        {"damaged_impulse_is_slower",
         [](HelmTest&, SpaceObject* s) {
             Set(s, "playerThrottle", 1.0f);
             Set(s, "impulse_damage_coeff", 0.5f);
         },
         5 * 0.5f / 56, 5},
        {"no_energy_crawls",
         [](HelmTest&, SpaceObject* s) {
             Set(s, "playerThrottle", 1.0f);
             Set(s, "energy", 0.0f);
         },
         5 * 0.1f / 56, 5},
        {"fighter_with_thrust_and_boost_flies_at_impulse",
         [](HelmTest&, SpaceObject* s) {
             SetInt(s, "is_fighter_flag", 1);
             SetInt(s, "fighter_thrust_flag", 1);
             SetInt(s, "fighter_boost_flag", 1);
         },
         5 * 1.0f / 56, 5},
        {"fighter_with_boost_alone_flies_at_warp_four",
         [](HelmTest&, SpaceObject* s) {
             SetInt(s, "is_shuttle_flag", 1);
             SetInt(s, "fighter_boost_flag", 1);
         },
         10 * 4.0f / 56, 10},
        {"fighter_without_flags_ignores_the_throttle",
         [](HelmTest&, SpaceObject* s) {
             SetInt(s, "is_fighter_flag", 1);
             Set(s, "playerThrottle", 1.0f);
         },
         0, 5},
        {"docked_forces_impulse_to_zero",
         [](HelmTest&, SpaceObject* s) {
             SetText(s, "dock_state", "docked");
             Set(s, "playerThrottle", 0.8f);
         },
         0, 5},
        {"docked_forces_warp_to_zero",
         [](HelmTest&, SpaceObject* s) {
             SetText(s, "dock_state", "docking");
             Set(s, "playerThrottle", 3.0f);
         },
         0, 5},
        {"docked_with_warp_allowed_keeps_warp",
         [](HelmTest&, SpaceObject* s) {
             SetText(s, "dock_state", "docked");
             SetInt(s, "warp_while_docked", 1);
             Set(s, "playerThrottle", 3.0f);
         },
         10 * 3.0f / 56, 10},
        {"docked_with_impulse_allowed_keeps_impulse",
         [](HelmTest&, SpaceObject* s) {
             SetText(s, "dock_state", "docked");
             SetInt(s, "impulse_while_docked", 1);
             Set(s, "playerThrottle", 3.0f);
         },
         5 * 1.0f / 56, 5},
        {"nebula_caps_forward_speed_at_its_throttle",
         [this](HelmTest&, SpaceObject* s) {
             Set(s, "playerThrottle", 1.0f);
             InsideSlowNebula(world, s, 1);
         },
         5 * 0.3f / 56, 5},
        {"nebula_does_not_slow_a_ship_in_reverse",
         [this](HelmTest&, SpaceObject* s) {
             Set(s, "playerThrottle", 1.0f);
             SetInt(s, "playerInReverse", 1);
             InsideSlowNebula(world, s, 1);
         },
         -5 * 1.0f / 56, 5},
        {"a_nebula_listed_beyond_the_count_caps_nothing",
         [this](HelmTest&, SpaceObject* s) {
             Set(s, "playerThrottle", 1.0f);
             InsideSlowNebula(world, s, 0);
         },
         5 * 1.0f / 56, 5},
        {"a_nebula_id_that_is_no_object_id_caps_nothing",
         [](HelmTest&, SpaceObject* s) {
             Set(s, "playerThrottle", 1.0f);
             s->data_set.SetUInt64("inside_nebula_id", 12345, 0, "a");
             SetInt(s, "inside_nebula_count", 1);
         },
         5 * 1.0f / 56, 5},
        {"throttle_above_full_warp_clamps_to_five",
         [](HelmTest&, SpaceObject* s) { Set(s, "playerThrottle", 9.0f); }, 10 * 5.0f / 56, 10},
        {"throttle_below_full_astern_clamps_to_minus_one",
         [](HelmTest&, SpaceObject* s) { Set(s, "playerThrottle", -2.0f); }, -5 * 1.0f / 56, 5},
        {"nan_throttle_counts_as_stop", [](HelmTest&, SpaceObject* s) { Set(s, "playerThrottle", kNaN); }, 0, 5},
        {"infinite_throttle_counts_as_stop",
         [](HelmTest&, SpaceObject* s) { Set(s, "playerThrottle", kInfinity); }, 0, 5},
    };
    for (const SpeedCase& c : cases) {
        SCOPED_TRACE(c.name);
        SpaceObject* ship = MakeShip();
        c.arrange(*this, ship);
        CallBehaviourHook(world, ship, kBehaviourTick, nullptr);
        EXPECT_NEAR(ship->cur_speed, c.expectedSpeed, 1e-5f);
        EXPECT_FLOAT_EQ(Float(ship, "total_speed_coeff"), c.expectedPowerFactor);
    }
}

void InsideSlowNebula(Simulation& world, SpaceObject* ship, int32_t listedCount)
{
    const uint64_t id = world.CreateSpaceObject("behav_nebula", "", SpaceObject::kStaticBit);
    world.GetSpaceObject(id)->data_set.SetFloat("max_throttle", 0.3f, 0, "a");
    ship->data_set.SetUInt64("inside_nebula_id", id, 0, "a");
    ship->data_set.SetInt("inside_nebula_count", listedCount, 0, "a");
}

TEST_F(HelmTest, helm_yaw_turns_the_heading_by_the_turn_limit_in_every_steering_type)
{
    for (const char* steering : {"2D", "Constrained", "Free"}) {
        SCOPED_TRACE(steering);
        SpaceObject* ship = MakeShip();  // turn_rate 1: 0.01 radians a tick at full yaw
        SetText(ship, "steeringType", steering);
        Set(ship, "playerSYaw", 1.0f);
        RunTicks(1);
        EXPECT_FLOAT_EQ(ship->turn_yaw, 0.01f);
        EXPECT_EQ(ship->local_steering_flag, std::string(steering) == "Free");
        RunTicks(9);
        EXPECT_GT(Heading(ship), 0.05f);
        EXPECT_LT(Heading(ship), 0.1f);
    }
}

TEST_F(HelmTest, free_and_constrained_steering_pass_pitch_and_roll_scaled_by_the_maneuver_slider)
{
    for (const char* steering : {"Constrained", "Free"}) {
        SCOPED_TRACE(steering);
        SpaceObject* ship = MakeShip();
        SetText(ship, "steeringType", steering);
        Set(ship, "playerSPitch", -0.5f);
        Set(ship, "playerSRoll", 1.0f);
        ship->data_set.SetFloat("eng_control_value", 2.0f, 4, "a");
        CallBehaviourHook(world, ship, kBehaviourTick, nullptr);
        EXPECT_FLOAT_EQ(ship->turn_pitch, -0.01f);
        EXPECT_FLOAT_EQ(ship->turn_roll, 0.02f);
    }
}

TEST_F(HelmTest, steering_to_a_direction_turns_toward_it_no_faster_than_the_limit)
{
    SpaceObject* ship = MakeShip();
    SetInt(ship, "steeringToDirFlag", 1);
    Set(ship, "steerToDirDX", 1.0f);  // a quarter turn to the right, level
    CallBehaviourHook(world, ship, kBehaviourTick, nullptr);
    EXPECT_FLOAT_EQ(ship->turn_yaw, 0.01f);
    EXPECT_FLOAT_EQ(ship->turn_pitch, 0.0f);

    Set(ship, "steerToDirDX", 0.005f);  // nearly ahead, slightly up
    Set(ship, "steerToDirDY", -1.0f);
    Set(ship, "steerToDirDZ", 1.0f);
    CallBehaviourHook(world, ship, kBehaviourTick, nullptr);
    EXPECT_NEAR(ship->turn_yaw, std::atan2(0.005f, 1.0f), 1e-6f);
    EXPECT_FLOAT_EQ(ship->turn_pitch, 0.01f);  // nose down is a positive pitch
}

TEST_F(HelmTest, two_d_pitch_input_changes_height_and_far_from_the_plane_drifts_back)
{
    SpaceObject* ship = MakeShip();
    Set(ship, "playerSPitch", 0.9f);
    CallBehaviourHook(world, ship, kBehaviourTick, nullptr);
    EXPECT_NEAR(ship->pos.y, -0.6f, 1e-6f);
    Set(ship, "playerSPitch", -0.9f);
    ship->pos.y = 1000.0f;
    CallBehaviourHook(world, ship, kBehaviourTick, nullptr);
    EXPECT_NEAR(ship->pos.y, 1000.6f * 0.999f, 1e-3f);
    Set(ship, "playerSPitch", 0.5f);
    ship->pos.y = 100.0f;
    CallBehaviourHook(world, ship, kBehaviourTick, nullptr);
    EXPECT_FLOAT_EQ(ship->pos.y, 100.0f);
}

TEST_F(HelmTest, a_gravity_pull_drags_the_ship_toward_the_well)
{
    SpaceObject* ship = MakeShip();
    Set(ship, "pull_strength", 3.0f);
    Set(ship, "pull_vector_x", -40.0f);
    CallBehaviourHook(world, ship, kBehaviourTick, nullptr);
    EXPECT_NEAR(ship->pos.x, -3.0f, 1e-5f);
}

// Values written by consoles and scripts that are not numbers, or so large
// that the arithmetic overflows, must never reach the ship's position: the
// move step treats a NaN position as a broken invariant and ends the run.
TEST_F(HelmTest, bad_helm_values_never_carry_a_nan_into_the_ship_motion)
{
    const std::pair<const char*, std::function<void(SpaceObject*)>> cases[] = {
        {"nan_throttle", [](SpaceObject* s) { Set(s, "playerThrottle", kNaN); }},
        {"nan_yaw_pitch_roll",
         [](SpaceObject* s) {
             for (const char* tag : {"playerSYaw", "playerSPitch", "playerSRoll"})
                 Set(s, tag, kNaN);
             SetText(s, "steeringType", "Free");
         }},
        {"nan_yaw_in_2d", [](SpaceObject* s) { Set(s, "playerSYaw", kNaN); }},
        {"nan_direction",
         [](SpaceObject* s) {
             SetInt(s, "steeringToDirFlag", 1);
             Set(s, "steerToDirDX", kNaN);
             Set(s, "steerToDirDZ", kInfinity);
         }},
        {"nan_pull", [](SpaceObject* s) { Set(s, "pull_strength", kNaN); }},
        {"pull_toward_a_well_at_the_ship_centre", [](SpaceObject* s) { Set(s, "pull_strength", 5.0f); }},
        {"nan_turbulence",
         [](SpaceObject* s) {
             Set(s, "pull_strength", 1.0f);
             Set(s, "pull_vector_x", 1.0f);
             Set(s, "turbulence_level", kNaN);
         }},
        {"overflowing_turn_rate",
         [](SpaceObject* s) {
             Set(s, "turn_rate", 3e38f);
             Set(s, "turn_upgrade_coeff", 3e38f);
             Set(s, "playerSYaw", 1.0f);
         }},
        {"overflowing_drive",
         [](SpaceObject* s) {
             Set(s, "impulse_damage_coeff", 3e38f);
             Set(s, "impulse_upgrade_coeff", 3e38f);
             Set(s, "playerThrottle", 1.0f);
         }},
        {"nan_slider",
         [](SpaceObject* s) {
             s->data_set.SetFloat("eng_control_value", kNaN, 2, "a");
             Set(s, "playerThrottle", 1.0f);
         }},
    };
    for (const auto& [name, arrange] : cases) {
        SCOPED_TRACE(name);
        SpaceObject* ship = MakeShip();
        arrange(ship);
        RunTicks(5);
        EXPECT_TRUE(IsFinite(ship));
        EXPECT_TRUE(std::isfinite(ship->turn_yaw) && std::isfinite(ship->turn_pitch) && std::isfinite(ship->turn_roll));
    }
}

// Finite but absurd coefficients (a hostile console once wrote a ship id into
// "warp_upgrade_coeff") must not fling the ship out of the world either.
TEST_F(HelmTest, absurd_drive_coefficients_and_pulls_keep_the_ship_within_sane_travel)
{
    const std::pair<const char*, std::function<void(SpaceObject*)>> cases[] = {
        {"warp_upgrade",
         [](SpaceObject* s) {
             Set(s, "warp_upgrade_coeff", 1e20f);
             Set(s, "playerThrottle", 5.0f);
         }},
        {"reverse_impulse",
         [](SpaceObject* s) {
             Set(s, "impulse_upgrade_coeff", 1e20f);
             Set(s, "playerThrottle", 1.0f);
             SetInt(s, "playerInReverse", 1);
         }},
        {"warp_slider",
         [](SpaceObject* s) {
             s->data_set.SetFloat("eng_control_value", 1e30f, 3, "a");
             Set(s, "playerThrottle", 5.0f);
         }},
        {"pull",
         [](SpaceObject* s) {
             Set(s, "pull_strength", 1e30f);
             Set(s, "pull_vector_x", 1.0f);
         }},
    };
    constexpr int kTicks = 100;
    for (const auto& [name, arrange] : cases) {
        SCOPED_TRACE(name);
        SpaceObject* ship = MakeShip();
        arrange(ship);
        RunTicks(kTicks);
        EXPECT_LT(glm::length(ship->pos), 1e6f);
        EXPECT_LT(std::fabs(ship->cur_speed), 1e4f);
    }
}

}  // namespace
}  // namespace playershiptest
