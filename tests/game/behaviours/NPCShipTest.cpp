#include "CombatTestSupport.h"

#include "game/behaviours/NPCShipKeys.h"
#include "game/world/BehaviourHookMap.h"
#include "game/world/WorldEnums.h"

#include <cctype>

using namespace combattest;
using namespace npcship;

namespace {

class NPCShipTest : public CombatTest {
protected:
    SpaceObject* Ship(const std::string& type, glm::vec3 at, const std::string& side, float yaw = 0.0f)
    {
        SpaceObject* ship = Make("behav_npcship", type, at, yaw);
        ship->side = side;
        return ship;
    }

    static float SystemDamage(const SpaceObject& ship)
    {
        float total = 0.0f;
        for (int32_t system = 0; system < SHPSYS_MAX; ++system)
            total += ReadFloat(ship.data_set, kSystemDamage, system);
        return total;
    }

    static void Order(SpaceObject& ship, const SpaceObject& target, float throttle)
    {
        WriteFloat(ship.data_set, kThrottle, throttle);
        WriteFloat(ship.data_set, kTargetPosX, target.pos.x);
        WriteFloat(ship.data_set, kTargetPosY, target.pos.y);
        WriteFloat(ship.data_set, kTargetPosZ, target.pos.z);
        WriteUInt64(ship.data_set, kTargetId, target.uniqueID);
    }

    void Hit(SpaceObject& ship, float amount, glm::vec3 from)
    {
        world.ApplyDamage(&ship, amount, nullptr, 0, from, "", "beam");
    }
};

TEST_F(NPCShipTest, assignment_lays_down_the_hull_records_values_and_a_random_name)
{
    SpaceObject* ship = Ship("skarn_raider", {}, "skarn");
    const ObjectDataBlob& blob = ship->data_set;
    const std::string name = ReadString(blob, kNameTag);
    ASSERT_EQ(name.size(), 3u);
    EXPECT_TRUE(std::isupper(name[0]) && std::isdigit(name[1]) && std::isdigit(name[2])) << name;
    EXPECT_EQ(ReadString(blob, kHullName), "skarn raider");
    EXPECT_FLOAT_EQ(ReadFloat(blob, kSpeedCoeff), 5.0f);
    EXPECT_EQ(ReadInt(blob, kBeamCount), 2);
    EXPECT_FLOAT_EQ(ReadFloat(blob, kBeamRange, 1), 1000.0f);
    EXPECT_EQ(ReadInt(blob, kShieldCount), 2);
    EXPECT_FLOAT_EQ(ReadFloat(blob, kShieldVal, 1), 25.0f);
    EXPECT_FLOAT_EQ(ReadFloat(blob, kSystemMaxDamage, 3), 8.0f);
    int weak = 0;
    for (int32_t frequency = 0; frequency < 5; ++frequency) {
        const int64_t strength = ReadInt(blob, kShieldFreqStrength, frequency);
        EXPECT_TRUE(strength >= 20 && strength <= 80) << strength;
        weak += strength == 30;
    }
    EXPECT_GE(weak, 1);
}

// Shots from straight ahead strike facing 0.
TEST_F(NPCShipTest, damage_passes_the_shield_facing_and_becomes_system_points_with_a_carried_fraction)
{
    struct Case {
        const char* what;
        float shield;
        int32_t raised;
        float carry;
        float amount;
        float systemPoints;
        float carryAfter;
        float shieldAfter;
    };
    for (const Case& c : {
             Case{"12 with 0.7 carried", 0.0f, 1, 0.7f, 12.0f, 3.0f, 0.1f, 0.0f},
             Case{"3 with nothing carried", 0.0f, 1, 0.0f, 3.0f, 0.0f, 0.6f, 0.0f},
             Case{"shields lowered", 50.0f, 0, 0.0f, 10.0f, 2.0f, 0.0f, 50.0f},
             Case{"shield absorbs all", 50.0f, 1, 0.4f, 10.0f, 0.0f, 0.4f, 40.0f},
             Case{"shield absorbs part", 4.0f, 1, 0.0f, 14.0f, 2.0f, 0.0f, 0.0f},
             Case{"not a positive number", 50.0f, 1, 0.0f, -30.0f, 0.0f, 0.0f, 50.0f},
         }) {
        SpaceObject* ship = Ship("fleet_light_cruiser", {}, "meridian");
        WriteFloat(ship->data_set, kShieldVal, c.shield, 0);
        WriteInt(ship->data_set, kShieldsRaisedFlag, c.raised);
        WriteFloat(ship->data_set, kFractionalDamage, c.carry);
        Hit(*ship, c.amount, {0.0f, 0.0f, 500.0f});
        EXPECT_FLOAT_EQ(SystemDamage(*ship), c.systemPoints) << c.what;
        EXPECT_NEAR(ReadFloat(ship->data_set, kFractionalDamage), c.carryAfter, 1e-5f) << c.what;
        EXPECT_FLOAT_EQ(ReadFloat(ship->data_set, kShieldVal, 0), c.shieldAfter) << c.what;
        world.DeleteSpaceObject(ship->uniqueID);
    }
}

TEST_F(NPCShipTest, a_ship_with_full_systems_dies_once_and_bursts_at_the_next_slow_pass)
{
    SpaceObject* ship = Ship("skarn_raider", {100.0f, 0.0f, 0.0f}, "skarn");
    const uint64_t id = ship->uniqueID;
    WriteInt(ship->data_set, kShieldsRaisedFlag, 0);
    EXPECT_EQ(world.TickCount(), 0);  // a death at the first tick still counts
    for (int32_t system = 0; system < SHPSYS_MAX; ++system)
        WriteFloat(ship->data_set, kSystemDamage, 8.0f, system);
    Hit(*ship, 1e30f, {});  // a huge amount costs no more than one failed point
    Hit(*ship, 50.0f, {});
    EXPECT_NE(ReadInt(ship->data_set, kDeathTick), 0);
    EXPECT_EQ(sinks.EffectsOf("npc_death"), 1u);
    ASSERT_EQ(sinks.EventsOf("npc_killed").size(), 1u);
    EXPECT_EQ(sinks.EventsOf("npc_killed")[0].selected_id, id);
    Step(16);
    EXPECT_EQ(TimesDestroyed(id), 1u);
}

TEST_F(NPCShipTest, speed_eases_toward_the_ordered_speed_and_coasts_without_engines)
{
    SpaceObject* ship = Ship("skarn_raider", {}, "skarn");
    WriteFloat(ship->data_set, kSpeedCoeff, 26.0f);
    WriteFloat(ship->data_set, kThrottle, 1.0f);
    CallBehaviourHook(world, ship, kBehaviourTick, nullptr);
    EXPECT_FLOAT_EQ(ship->cur_speed, 1.0f);
    WriteFloat(ship->data_set, kSystemDamage, 8.0f, 1);
    CallBehaviourHook(world, ship, kBehaviourTick, nullptr);
    EXPECT_FLOAT_EQ(ship->cur_speed, 25.0f / 26.0f);
    // At its ordered point it does not steer (and makes no NaN).
    WriteFloat(ship->data_set, kTargetPosX, ship->pos.x);
    CallBehaviourHook(world, ship, kBehaviourTick, nullptr);
    EXPECT_EQ(ship->turn_yaw, 0.0f);
    EXPECT_EQ(ship->turn_pitch, 0.0f);
}

// A hostile raider ordered onto an enemy cruiser closes, fires, and takes the
// struck shield down before any system is hurt.
TEST_F(NPCShipTest, a_computer_ship_closes_on_its_enemy_and_its_beams_take_shields_down_before_systems)
{
    SpaceObject* raider = Ship("skarn_raider", {0.0f, 0.0f, 0.0f}, "skarn", 0.4f);
    SpaceObject* cruiser = Ship("fleet_light_cruiser", {0.0f, 0.0f, 2500.0f}, "meridian", 3.14159f);
    const uint64_t cruiserId = cruiser->uniqueID;
    Order(*raider, *cruiser, 1.0f);
    float shieldWhenHurt = -1.0f;
    for (int tick = 0; tick < 3000 && Alive(cruiserId); ++tick) {
        Step();
        const SpaceObject* target = world.GetSpaceObject(cruiserId);
        if (target && shieldWhenHurt < 0.0f && SystemDamage(*target) > 0.0f)
            shieldWhenHurt = ReadFloat(target->data_set, kShieldVal, 0);
    }
    EXPECT_GT(sinks.EffectsOf("beam"), 0u);
    EXPECT_EQ(shieldWhenHurt, 0.0f);
    EXPECT_EQ(sinks.EventsOf("npc_killed").size(), 1u);
    EXPECT_FALSE(Alive(cruiserId));
}

TEST_F(NPCShipTest, beams_fire_within_range_and_arc_and_raise_interest_just_beyond)
{
    struct Case {
        const char* what;
        glm::vec3 targetAt;
        float barrel;
        bool fires;
        float interest;
    };
    for (const Case& c : {
             Case{"ahead in range", {0.0f, 0.0f, 900.0f}, 0.0f, true, 100.0f},
             Case{"at 1.2 ranges", {0.0f, 0.0f, 1200.0f}, 0.0f, false, 60.0f},
             Case{"at 1.5 ranges", {0.0f, 0.0f, 1500.0f}, 0.0f, false, 0.0f},
             Case{"astern of a forward beam", {0.0f, 0.0f, -900.0f}, 0.0f, false, 0.0f},
             Case{"astern of a hull-point beam", {0.0f, 0.0f, -900.0f}, 1000.0f, true, 100.0f},
         }) {
        SpaceObject* ship = Ship("skarn_raider", {}, "skarn");
        WriteInt(ship->data_set, kBeamCount, 1);
        WriteFloat(ship->data_set, kBeamBarrelAngle, c.barrel, 0);
        WriteFloat(ship->data_set, kBeamHullPointZ, -70.0f, 0);
        SpaceObject* target = Target(c.targetAt);
        WriteUInt64(ship->data_set, kTargetId, target->uniqueID);
        if (c.fires)  // the only excitement then is the damage's
            WriteFloat(target->data_set, {"exciting", kPlayDoc}, 0.0f);
        sinks.effects.clear();
        CallBehaviourHook(world, ship, kBehaviourTick, nullptr);
        EXPECT_EQ(sinks.EffectsOf("beam"), c.fires ? 1u : 0u) << c.what;
        EXPECT_FLOAT_EQ(ReadFloat(target->data_set, {"exciting", kPlayDoc}), c.interest) << c.what;
        world.DeleteSpaceObject(ship->uniqueID);
        world.DeleteSpaceObject(target->uniqueID);
    }
}

TEST_F(NPCShipTest, drones_launch_on_their_interval_slower_when_weapons_are_hurt_and_never_when_surrendered)
{
    struct Case {
        const char* what;
        float weaponsDamage;  // of 20
        int32_t surrendered;
        size_t launches;      // in 1,200 ticks with a 10-second interval
    };
    for (const Case& c : {
             Case{"whole", 0.0f, 0, 4u},
             Case{"at half health", 10.0f, 0, 2u},
             Case{"just above half", 9.8f, 0, 4u},
             Case{"weapons gone", 20.0f, 0, 0u},
             Case{"surrendered", 0.0f, 1, 0u},
         }) {
        world.Clear();
        world.Reset(true, "");
        sinks.events.clear();
        SpaceObject* carrier = Ship("skarn_carrier", {}, "skarn");
        const uint64_t carrierId = carrier->uniqueID;
        WriteFloat(carrier->data_set, kDroneLaunchTimer, 10.0f);
        WriteFloat(carrier->data_set, kSystemDamage, c.weaponsDamage, 0);
        WriteInt(carrier->data_set, kSurrenderFlag, c.surrendered);
        WriteFloat(carrier->data_set, kRepairRateSystems, 0.0f);
        SpaceObject* target = Target({0.0f, 0.0f, 6000.0f}, 0.0f);  // out of beam range
        Order(*carrier, *target, 0.0f);
        Step(1200);
        const auto launches = sinks.EventsOf("ship_launches_drone");
        EXPECT_EQ(launches.size(), c.launches) << c.what;
        for (const EventMessage& launch : launches)
            EXPECT_EQ(launch.parent_id, carrierId);
    }
}

TEST_F(NPCShipTest, a_dying_or_vanished_target_is_neither_fired_at_nor_sent_drones)
{
    SpaceObject* ship = Ship("skarn_carrier", {}, "skarn");
    WriteFloat(ship->data_set, kDroneLaunchTimer, 1.0f);
    SpaceObject* dying = Target({0.0f, 0.0f, 500.0f});
    WriteInt64(dying->data_set, kDeathTick, 5);
    WriteUInt64(ship->data_set, kTargetId, dying->uniqueID);
    Step(40);
    WriteUInt64(ship->data_set, kTargetId, 0x4000000000123456ull);  // an id that names nothing
    Step(40);
    EXPECT_EQ(sinks.EffectsOf("beam"), 0u);
    EXPECT_TRUE(sinks.EventsOf("ship_launches_drone").empty());
}

TEST_F(NPCShipTest, the_slow_pass_sets_off_near_mines_and_drops_the_pull_outside_every_well)
{
    SpaceObject* ship = Ship("skarn_raider", {}, "skarn");
    WriteFloat(ship->data_set, kPullStrength, 3.0f);
    for (float distance : {499.0f, 500.0f}) {
        SpaceObject* mine = Make("behav_mine", "danger_1a", {distance, 0.0f, 0.0f}, 0.0f, SpaceObject::kStaticBit);
        WriteInt(mine->data_set, {"damage_done", kPlayDoc}, 40);
        WriteInt(mine->data_set, {"blast_radius", kPlayDoc}, 300);
    }
    Step(16);
    EXPECT_EQ(sinks.EffectsOf("nuke"), 1u);
    ASSERT_EQ(world.blasts.size(), 1u);
    EXPECT_EQ(world.blasts[0].damage, 40);
    EXPECT_EQ(ReadFloat(ship->data_set, kPullStrength), 0.0f);
}

TEST_F(NPCShipTest, the_slow_pass_sets_off_a_mine_and_takes_the_pull_of_a_well_around_it)
{
    SpaceObject* ship = Ship("skarn_raider", {}, "skarn");
    SpaceObject* mine = Make("behav_mine", "danger_1a", {300.0f, 0.0f, 0.0f}, 0.0f, SpaceObject::kStaticBit);
    WriteInt(mine->data_set, {"damage_done", kPlayDoc}, 40);
    SpaceObject* well = Make("behav_asteroid", "asteroid_rock", {0.0f, 0.0f, 2000.0f}, 0.0f, SpaceObject::kStaticBit);
    WriteInt(well->data_set, kGravityRadius, 2500);
    WriteFloat(well->data_set, kGravityStrength, 2.5f);
    Step(16);
    EXPECT_EQ(sinks.EffectsOf("nuke"), 1u);
    EXPECT_EQ(ReadFloat(ship->data_set, kPullStrength), 2.5f);
}

}  // namespace
