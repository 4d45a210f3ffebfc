#include "PlayerShipTestSupport.h"

namespace {

using playershiptest::PlayerShipTest;

class WeaponsTest : public PlayerShipTest {
protected:
    void SetUp() override
    {
        PlayerShipTest::SetUp();
        ship = MakeShip();
    }
    void SetTube(int32_t tube, const char* state, float percent, const char* type = "torpedo")
    {
        WriteString(ship->data_set, DataKey{"torpedoTubeState", ""}, state, tube);
        WriteFloat(ship->data_set, DataKey{"torpedoTubePercentLoaded", ""}, percent, tube);
        WriteString(ship->data_set, DataKey{"torpedoTubeCurrentType", ""}, type, tube);
    }
    SpaceObject* ship = nullptr;
};

TEST_F(WeaponsTest, a_loading_tube_loads_in_250_ticks_at_normal_power_and_an_unloading_one_empties)
{
    SetTube(0, "loading", 0.0f);
    SetTube(1, "unloading", 100.0f);
    RunTicks(249);
    EXPECT_EQ(Text(ship, "torpedoTubeState", 0), "loading");
    EXPECT_EQ(Text(ship, "torpedoTubeState", 1), "unloading");
    RunTicks(2);
    EXPECT_EQ(Text(ship, "torpedoTubeState", 0), "loaded");
    EXPECT_FLOAT_EQ(Float(ship, "torpedoTubePercentLoaded", 0), 100.0f);
    EXPECT_EQ(Text(ship, "torpedoTubeCurrentType", 0), "torpedo");
    EXPECT_EQ(Text(ship, "torpedoTubeState", 1), "empty");
    EXPECT_FLOAT_EQ(Float(ship, "torpedoTubePercentLoaded", 1), 0.0f);
    EXPECT_EQ(Text(ship, "torpedoTubeCurrentType", 1), "");
}

TEST_F(WeaponsTest, tube_pace_follows_power_and_coefficients_and_other_states_are_left_alone)
{
    struct Case {
        const char* key;
        int32_t index;
        float value;
        float percentAfter10Ticks;
    };
    const Case cases[] = {
        {"eng_control_value", 1, 2.0f, 8.0f},   // twice the power, twice the pace
        {"eng_control_value", 1, 0.0f, 0.0f},   // no power, no progress
        {"tube_damage_coeff", 0, 0.5f, 2.0f},   // a damaged tube is slower
        {"all_tube_upgrade_coeff", 0, 3.0f, 12.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        ship = MakeShip();
        WriteFloat(ship->data_set, DataKey{c.key, ""}, c.value, c.index);
        SetTube(0, "loading", 0.0f);
        SetTube(1, "loaded", 40.0f);
        RunTicks(10);
        EXPECT_NEAR(Float(ship, "torpedoTubePercentLoaded", 0), c.percentAfter10Ticks, 1e-3f);
        EXPECT_EQ(Text(ship, "torpedoTubeState", 1), "loaded");
        EXPECT_FLOAT_EQ(Float(ship, "torpedoTubePercentLoaded", 1), 40.0f);
    }
}

TEST_F(WeaponsTest, tubes_move_only_on_the_server)
{
    world.Reset(false, "");
    world.paused = false;
    ship = MakeShip();
    SetTube(0, "loading", 0.0f);
    RunTicks(300);
    EXPECT_EQ(Text(ship, "torpedoTubeState", 0), "loading");
    EXPECT_FLOAT_EQ(Float(ship, "torpedoTubePercentLoaded", 0), 0.0f);
}

}  // namespace
