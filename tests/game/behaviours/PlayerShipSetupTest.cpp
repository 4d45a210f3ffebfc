#include "PlayerShipTestSupport.h"

#include "game/behaviours/PlayerShipSetup.h"
#include "engine/base/QelNetworkMessage.h"
#include "game/world/BlobDocRegistry.h"
#include "game/world/RandomInt.h"

#include <algorithm>

namespace playershiptest {
namespace {

using SetupTest = PlayerShipTest;

TEST_F(SetupTest, assignment_declares_the_defaults_with_their_documentation)
{
    const int64_t tick = world.TickCount();
    SpaceObject* ship = MakeShip();
    EXPECT_EQ(Text(ship, "name_tag"), "player");
    EXPECT_FLOAT_EQ(Float(ship, "energy"), 1000.0f);
    EXPECT_EQ(Text(ship, "steeringType"), "2D");
    EXPECT_EQ(Text(ship, "dock_state"), "undocked");
    EXPECT_FLOAT_EQ(Float(ship, "playerThrottle"), 0.0f);
    EXPECT_EQ(Int(ship, "shields_raised_flag"), 1);
    EXPECT_EQ(Int(ship, "system_coolant_available"), 8);
    EXPECT_FLOAT_EQ(Float(ship, "repair_rate_systems"), 0.025f);
    EXPECT_EQ(Int(ship, "healTimer"), tick);
    const char* labels[] = {"BEAM", "TORP", "IMPULSE", "WARP", "MANEUVER", "SENSORS", "FRONT SHIELD", "REAR SHIELD"};
    const int systems[] = {0, 0, 1, 1, 1, 2, 3, 3};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(Text(ship, "eng_control_label", i), labels[i]);
        EXPECT_EQ(Int(ship, "eng_control_type_index", i), systems[i]);
        EXPECT_FLOAT_EQ(Float(ship, "eng_control_value", i), 1.0f);
    }
    const auto& docs = BlobDocRegistry::Entries();
    EXPECT_EQ(docs.at("playerThrottle").doc, "throttle on a player ship; set from 0.0-5.0, anything over 1.0 is warp");
    EXPECT_EQ(docs.at("playerThrottle").typeName, "float");
    EXPECT_EQ(docs.at("warp_damage_coeff").doc,
              "a coeffient of how fast the ship  will move in warp.  Used to reflect damage.  ");
    EXPECT_EQ(docs.at("healTimer").typeName, "int64");
    EXPECT_EQ(docs.at("extra_scan_source").typeName, "uint64");
    EXPECT_TRUE(docs.at("eng_control_label").indexed);
}

TEST_F(SetupTest, shield_frequency_strengths_come_from_the_world_generator)
{
    int32_t seed = world.randomState;
    SpaceObject* ship = MakeShip();
    for (int i = 0; i < 5; ++i) {
        const int64_t strength = Int(ship, "shield_freq_strength", i);
        EXPECT_EQ(strength, RandomInt(seed, 20, 80)) << i;
        EXPECT_GE(strength, 20);
        EXPECT_LE(strength, 80);
    }
    EXPECT_EQ(world.randomState, seed);
}

TEST_F(SetupTest, assigning_again_resets_every_default_and_rebuilds_the_record_keys)
{
    SpaceObject* ship = MakeShip();
    ship->data_set.SetFloat("energy", 3.0f, 0, "a");
    ship->data_set.SetFloat("eng_control_value", 2.5f, 4, "a");
    ship->data_set.SetFloat("shield_val", 1.0f, 0, "a");
    int32_t seed = world.randomState;
    CallBehaviourHook(world, ship, kBehaviourAssigned, nullptr);
    EXPECT_FLOAT_EQ(Float(ship, "energy"), 1000.0f);
    EXPECT_FLOAT_EQ(Float(ship, "eng_control_value", 4), 1.0f);
    EXPECT_FLOAT_EQ(Float(ship, "shield_val"), 120.0f);
    EXPECT_EQ(Int(ship, "shield_freq_strength", 0), RandomInt(seed, 20, 80));
}

TEST_F(SetupTest, the_ship_record_gives_hull_shields_torpedoes_tubes_and_beams)
{
    SpaceObject* ship = MakeShip("tern_frigate");
    EXPECT_EQ(Text(ship, "hull_name"), "tern frigate");
    EXPECT_EQ(Text(ship, "hull_side"), "meridian");
    EXPECT_EQ(Int(ship, "is_fighter_flag"), 0);
    EXPECT_FLOAT_EQ(Float(ship, "turn_rate"), 1.0f);
    EXPECT_EQ(Int(ship, "bay_count"), 2);
    for (int system = 0; system < 4; ++system)
        EXPECT_FLOAT_EQ(Float(ship, "system_max_damage", system), 400.0f);
    EXPECT_EQ(Int(ship, "shield_count"), 2);
    EXPECT_FLOAT_EQ(Float(ship, "shield_val", 1), 90.0f);
    EXPECT_FLOAT_EQ(Float(ship, "shield_max_val", 1), 90.0f);
    EXPECT_EQ(Text(ship, "torpedo_types_available"), "Homing,Nuke,EMP,Mine,");
    EXPECT_EQ(Int(ship, "Nuke_MAX"), 2);
    EXPECT_EQ(Int(ship, "Nuke_NUM"), 2);
    EXPECT_NE(std::find(ship->keyNames.begin(), ship->keyNames.end(), "Mine_NUM"), ship->keyNames.end());
    EXPECT_EQ(Int(ship, "torpedo_tube_count"), 2);
    EXPECT_FLOAT_EQ(Float(ship, "tube_upgrade_coeff", 1), 1.0f);
    EXPECT_EQ(Int(ship, "beamCount"), 4);
    EXPECT_FLOAT_EQ(Float(ship, "beamRange", 3), 1200.0f);
    EXPECT_FLOAT_EQ(Float(ship, "beamBarrelAngle", 3), 90.0f);
    EXPECT_FLOAT_EQ(Float(ship, "beamHullPointX", 0), -40.0f);
    // Preferences: the APU and engineering's colours.
    EXPECT_FLOAT_EQ(Float(ship, "ship_apu_output"), AppData::GetFloat("ship_apu_assistance_per_tick"));
    EXPECT_EQ(Text(ship, "coolant_dot_active_color"), AppData::GetString("coolant_dot_active_color"));
    EXPECT_FALSE(Text(ship, "coolant_dot_active_color").empty());
}

TEST_F(SetupTest, an_unknown_ship_type_takes_the_unknown_record)
{
    SpaceObject* ship = MakeShip("no_such_hull");
    EXPECT_EQ(Text(ship, "hull_name"), "unidentified contact");
    EXPECT_EQ(Text(ship, "torpedo_types_available"), "");
    EXPECT_EQ(Int(ship, "beamCount"), 0);
}

TEST_F(SetupTest, roles_listing_fighter_and_shuttle_set_both_flags)
{
    AddRecord("test_both").roles = {"fighter", " shuttle"};
    AddRecord("test_shuttle").roles = {"shuttle"};
    SpaceObject* both = MakeShip("test_both");
    SpaceObject* shuttle = MakeShip("test_shuttle");
    EXPECT_EQ(Int(both, "is_fighter_flag"), 1);
    EXPECT_EQ(Int(both, "is_shuttle_flag"), 1);
    EXPECT_EQ(Int(shuttle, "is_fighter_flag"), 0);
    EXPECT_EQ(Int(shuttle, "is_shuttle_flag"), 1);
}

TEST_F(SetupTest, ports_without_range_are_counted_out_but_the_beams_are_the_first_ports)
{
    ShipDataRecord& record = AddRecord("test_gapped_beams");
    record.beamPorts[0].range = 100.0f;
    record.beamPorts[1].range = 0.0f;
    record.beamPorts[1].arcWidth = 11.0f;
    record.beamPorts[2].range = 300.0f;
    SpaceObject* ship = MakeShip("test_gapped_beams");
    EXPECT_EQ(Int(ship, "beamCount"), 2);
    EXPECT_FLOAT_EQ(Float(ship, "beamRange", 1), 0.0f);
    EXPECT_FLOAT_EQ(Float(ship, "beamArcWidth", 1), 11.0f);
    EXPECT_EQ(ship->data_set.FindElement(HashMessageName("beamRange"), 2), nullptr);
}

TEST_F(SetupTest, a_record_claiming_more_tubes_than_mounts_is_held_to_the_mounts)
{
    AddRecord("test_many_tubes").tubeCount = 2000000000;
    SpaceObject* ship = MakeShip("test_many_tubes");
    EXPECT_EQ(Int(ship, "torpedo_tube_count"), kShipTorpedoTubeSlots);
    EXPECT_EQ(ship->data_set.NumElements("tube_damage_coeff"), kShipTorpedoTubeSlots);
}

TEST_F(SetupTest, assignment_reads_the_energy_coefficients_from_the_preferences)
{
    PlayerShipCoefficients() = {};
    MakeShip();
    EXPECT_FLOAT_EQ(PlayerShipCoefficients().fuelUse, AppData::GetFloat("player-fuel-use-coeff"));
    EXPECT_FLOAT_EQ(PlayerShipCoefficients().baseEnergyUse, AppData::GetFloat("player-base-energy-use-coeff"));
    EXPECT_GT(PlayerShipCoefficients().fuelUse, 0.0f);
}

}  // namespace
}  // namespace playershiptest
