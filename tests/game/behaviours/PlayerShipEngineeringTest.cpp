#include "PlayerShipTestSupport.h"

#include "game/behaviours/PlayerShipSetup.h"
#include "game/world/WorldEnums.h"

namespace {

using playershiptest::PlayerShipTest;
using playershiptest::RecordingMission;

// Slider indexes: 0 beams and 1 tubes (weapons), 2 impulse, 3 warp, 4
// manoeuvre (engines), 5 sensors, 6 and 7 shields.
class EngineeringTest : public PlayerShipTest {
protected:
    void SetUp() override
    {
        PlayerShipTest::SetUp();
        world.SetScriptEventSink(&mission);
        ship = MakeShip();
        saved = PlayerShipCoefficients();
        PlayerShipCoefficients() = {1.0f, 1.0f, 0.01f, 0.01f, 1.5f};
        // Nothing but what a case sets: no throttle, no APU, shields down.
        Set("playerThrottle", 0.0f);
        Set("ship_apu_ceiling", 0.0f);
        WriteInt(ship->data_set, DataKey{"shields_raised_flag", ""}, 0);
        for (int32_t k = 0; k < 8; ++k)
            Set("eng_control_cost_coeff", 1.0f, k);
    }
    void TearDown() override
    {
        PlayerShipCoefficients() = saved;
        world.SetScriptEventSink(nullptr);
        PlayerShipTest::TearDown();
    }
    void Set(const char* key, float value, int32_t index = 0)
    {
        WriteFloat(ship->data_set, DataKey{key, ""}, value, index);
    }

    RecordingMission mission;
    PlayerShipEnergyCoefficients saved;
    SpaceObject* ship = nullptr;
};

TEST_F(EngineeringTest, sliders_heat_their_systems_and_coolant_cools_them_never_below_zero)
{
    struct Case {
        const char* name;
        float beams, tubes, sensors;  // sliders 0, 1 and 5
        int32_t sensorCoolant;
        float energy;
        float weaponsHeat, sensorsHeat;  // after one pass from 0.3
    };
    const Case cases[] = {
        {"normal power adds nothing", 1, 1, 1, 0, 1000, 0.3f, 0.3f},
        {"two sliders at 2 share the weapons", 2, 2, 1, 0, 1000, 0.5f, 0.3f},
        {"below normal cools", 0.5f, 1, 0, 0, 1000, 0.25f, 0.2f},
        {"coolant takes heat away", 1, 1, 1, 2, 1000, 0.3f, 0.1f},
        {"never below zero", 1, 1, 0, 10, 1000, 0.3f, 0.0f},
        {"no heat without energy", 2, 2, 2, 0, 0, 0.3f, 0.3f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Set("energy", c.energy);
        Set("eng_control_value", c.beams, 0);
        Set("eng_control_value", c.tubes, 1);
        Set("eng_control_value", c.sensors, 5);
        WriteInt(ship->data_set, DataKey{"system_coolant_used", ""}, c.sensorCoolant, SHPSYS_SENSORS);
        Set("system_cur_heat", 0.3f, SHPSYS_WEAPONS);
        Set("system_cur_heat", 0.3f, SHPSYS_SENSORS);
        SlowTick(ship);
        EXPECT_NEAR(Float(ship, "system_cur_heat", SHPSYS_WEAPONS), c.weaponsHeat, 1e-5f);
        EXPECT_NEAR(Float(ship, "system_cur_heat", SHPSYS_SENSORS), c.sensorsHeat, 1e-5f);
    }
}

TEST_F(EngineeringTest, a_system_at_full_heat_tells_the_mission_and_vents_half)
{
    Set("energy", 1000.0f);
    Set("eng_control_value", 2.0f, 5);
    Set("system_cur_heat", 0.95f, SHPSYS_SENSORS);
    WriteInt(ship->data_set, DataKey{"system_coolant_used", ""}, 0, SHPSYS_SENSORS);
    SlowTick(ship);
    ASSERT_EQ(mission.events.size(), 1u);
    const EventMessage& event = mission.events[0];
    EXPECT_EQ(event.tag, "heat_critical_damage");
    EXPECT_EQ(event.origin_id, ship->uniqueID);
    EXPECT_EQ(event.selected_id, ship->uniqueID);
    EXPECT_EQ(event.parent_id, ship->uniqueID);
    EXPECT_EQ(event.sub_tag, std::to_string(SHPSYS_SENSORS));
    EXPECT_EQ(event.value_tag, "1.050000");
    EXPECT_EQ(event.extra_tag, "0");
    EXPECT_EQ(event.event_time, world.TickCount());
    EXPECT_NEAR(Float(ship, "system_cur_heat", SHPSYS_SENSORS), 0.525f, 1e-5f);
}

TEST_F(EngineeringTest, energy_pays_for_sliders_shields_and_throttle_the_apu_tops_it_up_and_it_never_goes_below_zero)
{
    struct Case {
        const char* name;
        float start, throttle;
        int32_t shieldsRaised;
        float apuCeiling, apuOutput;
        float after;
    };
    // Eight sliders at normal power cost 8 a pass with these coefficients.
    const Case cases[] = {
        {"sliders only", 100, 0, 0, 0, 0, 92},
        {"raised shields cost half again", 100, 0, 1, 0, 0, 88},
        {"throttle costs by its square", 100, 2, 0, 0, 0, 88},
        {"the apu adds below its ceiling", 100, 0, 0, 95, 5, 97},
        {"the apu adds nothing above it", 100, 0, 0, 90, 5, 92},
        {"never below zero", 5, 3, 1, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Set("energy", c.start);
        Set("playerThrottle", c.throttle);
        WriteInt(ship->data_set, DataKey{"shields_raised_flag", ""}, c.shieldsRaised);
        Set("ship_apu_ceiling", c.apuCeiling);
        Set("ship_apu_output", c.apuOutput);
        Set("ship_energy_cost", 1.0f);
        Set("warp_energy_cost", 1.0f);
        SlowTick(ship);
        EXPECT_NEAR(Float(ship, "energy"), c.after, 1e-3f);
    }
}

TEST_F(EngineeringTest, the_quick_jump_recharges_by_warp_power_until_full_and_the_counters_run_down)
{
    Set("quick_jump_recharge_state", 0.5f);
    Set("quick_jump_recharge_rate", 0.2f);
    Set("eng_control_value", 2.0f, 3);
    WriteInt(ship->data_set, DataKey{"hull_hit_counter", ""}, 2);
    Set("exciting", 10.0f);
    SlowTick(ship);
    EXPECT_NEAR(Float(ship, "quick_jump_recharge_state"), 0.9f, 1e-5f);
    EXPECT_EQ(Int(ship, "hull_hit_counter"), 1);
    EXPECT_FLOAT_EQ(Float(ship, "exciting"), 75.0f);
    SlowTick(ship);
    EXPECT_NEAR(Float(ship, "quick_jump_recharge_state"), 1.3f, 1e-5f);  // the last step may pass full
    SlowTick(ship);
    SlowTick(ship);
    EXPECT_NEAR(Float(ship, "quick_jump_recharge_state"), 1.3f, 1e-5f);
    EXPECT_EQ(Int(ship, "hull_hit_counter"), 0);
}

}  // namespace
