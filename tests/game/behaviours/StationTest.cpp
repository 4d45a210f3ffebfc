#include "CombatTestSupport.h"

#include "game/behaviours/StationKeys.h"
#include "game/world/BehaviourHookMap.h"
#include "game/world/ServerStringMap.h"
#include "game/world/ShipKeys.h"
#include "tests/support/TempFolder.h"

#include <glm/gtc/quaternion.hpp>

#include <cctype>
#include <cmath>

using namespace combattest;
using namespace station;

namespace {

// One second of ticks, as the timers count them.
constexpr int kTicksPerSecond = 30;

class StationTest : public CombatTest {
protected:
    // A station ("skarn_depot": 400 shields, 1500 armour) with one beam the
    // mission set: range 1000, damage 10, every 2 seconds.
    SpaceObject* Station(glm::vec3 at = {})
    {
        SpaceObject* station = Make("behav_station", "skarn_depot", at);
        station->side = "skarn";
        ObjectDataBlob& blob = station->data_set;
        WriteInt(blob, kBeamCount, 1);
        WriteFloat(blob, kBeamRange, 1000.0f);
        WriteFloat(blob, kBeamDamage, 10.0f);
        WriteFloat(blob, kBeamCycleTime, 2.0f);
        WriteFloat(blob, kBeamColorR, 1.0f);
        return station;
    }

    void Aim(SpaceObject& station, const SpaceObject& target)
    {
        WriteUInt64(station.data_set, kTargetId, target.uniqueID);
    }

    void Hit(SpaceObject& station, float amount, uint64_t from = 0)
    {
        world.ApplyDamage(&station, amount, world.GetSpaceObject(from), 0, {}, "", "beam");
    }

    static float Armor(const SpaceObject& station) { return ReadFloat(station.data_set, kArmor); }
    static float Shield(const SpaceObject& station) { return ReadFloat(station.data_set, kShieldVal); }
};

TEST_F(StationTest, a_new_station_holds_its_records_armour_shields_and_ten_of_each_torpedo)
{
    SpaceObject* station = Station();
    const ObjectDataBlob& blob = station->data_set;
    const std::string name = ReadString(blob, kShownNameTag);
    ASSERT_EQ(name.size(), 5u);
    EXPECT_TRUE(name.starts_with("DS ") && std::isdigit(name[3]) && std::isdigit(name[4])) << name;
    EXPECT_EQ(ReadString(blob, kHullName), "skarn depot");
    EXPECT_FLOAT_EQ(Armor(*station), 1500.0f);
    EXPECT_FLOAT_EQ(ReadFloat(blob, kArmorMax), 1500.0f);
    EXPECT_EQ(ReadInt(blob, kShieldCount), 1);
    EXPECT_EQ(ReadInt(blob, kShieldsRaisedFlag), 1);
    EXPECT_FLOAT_EQ(Shield(*station), 400.0f);
    EXPECT_EQ(ReadInt(blob, kStationBayCount), 4);
    EXPECT_EQ(ReadString(blob, kStationTorpedoTypes), "Homing,Nuke,EMP,Mine,");
    for (const char* type : {"Homing", "Nuke", "EMP", "Mine"}) {
        EXPECT_EQ(shipkeys::TorpedoStock(blob, type, shipkeys::kTorpedoNumSuffix), 10) << type;
        const std::string stockName = std::string(type) + "_NUM";
        EXPECT_NE(std::find(station->keyNames.begin(), station->keyNames.end(), stockName), station->keyNames.end());
    }
}

// One full turn every 20000 ticks, whether a frame runs one tick or many.
TEST_F(StationTest, a_station_turns_by_the_same_step_every_tick_however_many_ticks_a_frame_runs)
{
    SpaceObject* station = Station();
    world.FrameUpdate();
    for (int tick = 0; tick < 40; ++tick)
        world.Tick();
    const float turned = glm::angle(station->rot_quat);
    EXPECT_NEAR(turned, 40 * 0.00031415927f, 1e-5f);
    Step(60);
    EXPECT_NEAR(glm::angle(station->rot_quat), 100 * 0.00031415927f, 1e-5f);
}

TEST_F(StationTest, beams_strike_within_range_on_their_cycle_and_raise_interest_just_beyond)
{
    struct Case {
        const char* what;
        float distance;
        size_t shots;  // in 5 seconds with a 2-second cycle
        float interest;
    };
    for (const Case& c : {
             Case{"in range", 900.0f, 3u, 100.0f},
             Case{"at the range", 1000.0f, 3u, 100.0f},
             Case{"at 1.2 ranges", 1200.0f, 0u, 60.0f},
             Case{"at 1.5 ranges", 1500.0f, 0u, 0.0f},
         }) {
        world.Clear();
        world.Reset(true, "");
        sinks.effects.clear();
        SpaceObject* station = Station();
        SpaceObject* target = Target({0.0f, 0.0f, c.distance}, 0.0f, "meridian");
        Aim(*station, *target);
        Step(5 * kTicksPerSecond);
        EXPECT_EQ(sinks.EffectsOf("beam"), c.shots) << c.what;
        EXPECT_NEAR(ReadFloat(target->data_set, shipkeys::kExciting), c.interest, 1.0f) << c.what;
    }
}

TEST_F(StationTest, a_beam_carries_the_stations_name_side_colour_and_beam_number_and_does_its_damage)
{
    SpaceObject* station = Station();
    world.stationShipBeamDamageCoeff = 3.0f;
    WriteInt(station->data_set, kBeamCount, 2);
    WriteFloat(station->data_set, kBeamRange, 0.0f, 0);  // the first beam reaches nothing
    WriteFloat(station->data_set, kBeamRange, 1000.0f, 1);
    WriteFloat(station->data_set, kBeamDamage, 10.0f, 1);
    WriteFloat(station->data_set, kBeamColorG, 0.5f, 1);
    SpaceObject* target = Make("behav_station", "starbase_civil", {0.0f, 0.0f, 700.0f});
    Aim(*station, *target);
    Step();
    ASSERT_EQ(sinks.effects.size(), 1u);
    const Effect& shot = sinks.effects[0];
    EXPECT_EQ(shot.secondText, ReadString(station->data_set, kShownNameTag));
    EXPECT_EQ(shot.thirdText, "skarn");
    EXPECT_EQ(shot.firstId, station->uniqueID);
    EXPECT_EQ(shot.secondId, target->uniqueID);
    EXPECT_EQ(shot.firstPoint, glm::vec3(0.0f, 0.5f, 0.0f));
    EXPECT_EQ(shot.secondPoint, glm::vec3(0.0f));
    EXPECT_EQ(shot.value, 1);
    EXPECT_FLOAT_EQ(Shield(*target), 600.0f - 30.0f);
}

// Shields take every hit while they hold, even one larger than what is left;
// then the armour, whose end is the station's, once.
TEST_F(StationTest, shields_take_hits_before_armour_and_a_station_dies_once_and_is_gone_after_three_passes)
{
    SpaceObject* station = Station();
    const uint64_t id = station->uniqueID;
    SpaceObject* attacker = Target({0.0f, 0.0f, 3000.0f});
    WriteFloat(station->data_set, kShieldVal, 5.0f);
    Hit(*station, 40.0f);
    EXPECT_FLOAT_EQ(Shield(*station), -35.0f);
    EXPECT_FLOAT_EQ(Armor(*station), 1500.0f);
    Hit(*station, 1000.0f);
    EXPECT_FLOAT_EQ(Armor(*station), 500.0f);
    WriteInt(station->data_set, kShieldsRaisedFlag, 0);
    WriteFloat(station->data_set, kShieldVal, 50.0f);
    Hit(*station, 100.0f);
    EXPECT_FLOAT_EQ(Armor(*station), 400.0f);

    qeltest::TempFolder data;
    qeltest::ScopedEnv dataDir("QEL_DATA_DIR", data.Path().string());
    const std::string name = ReadString(station->data_set, kShownNameTag);
    Hit(*station, 450.0f, attacker->uniqueID);
    Hit(*station, 450.0f, attacker->uniqueID);  // a second lethal hit while dying does nothing
    EXPECT_FLOAT_EQ(Armor(*station), -50.0f);
    EXPECT_NE(ReadInt(station->data_set, kDeathTick), 0);
    EXPECT_EQ(sinks.EffectsOf("npc_death"), 1u);
    const auto killed = sinks.EventsOf("station_killed");
    ASSERT_EQ(killed.size(), 1u);
    EXPECT_EQ(killed[0].selected_id, id);
    EXPECT_EQ(killed[0].origin_id, attacker->uniqueID);
    EXPECT_EQ(killed[0].extra_tag, "skarn");
    EXPECT_EQ(data.Read("SimulationDebugText.txt"), name + " (station) destroyed\n");

    // The passes at ticks 0, 15 and 30 play the explosion; the third removes it.
    Step(30);
    EXPECT_TRUE(Alive(id));
    Step(1);
    EXPECT_EQ(TimesDestroyed(id), 1u);
    EXPECT_EQ(sinks.bursts.size(), 9u);
}

TEST_F(StationTest, repairs_mend_shields_and_armour_up_to_their_maxima_once_every_sixty_ticks)
{
    SpaceObject* station = Station();
    ObjectDataBlob& blob = station->data_set;
    WriteFloat(blob, kShieldVal, -1000.0f);
    WriteFloat(blob, kRepairRateShields, 2.0f);
    WriteFloat(blob, kArmor, 1499.5f);
    Step();  // the first pass repairs at once, from no lower than -max
    EXPECT_FLOAT_EQ(Shield(*station), -400.0f);
    EXPECT_FLOAT_EQ(Armor(*station), 1500.0f);
    WriteFloat(blob, kShieldVal, 399.0f);
    Step(59);
    EXPECT_FLOAT_EQ(Shield(*station), 399.0f);
    Step(15);
    EXPECT_FLOAT_EQ(Shield(*station), 400.0f);
}

// Drones every 7 whole seconds of a 7.9-second interval, torpedoes of the
// ordered definition every 10; none at a target beyond the launch ranges.
TEST_F(StationTest, a_station_launches_drones_and_torpedoes_on_schedule_at_its_target)
{
    ServerStringMap::Instance().Set("Homing", "behavior:homing; speed:20; damage:30");
    SpaceObject* station = Station();
    const uint64_t stationId = station->uniqueID;
    ObjectDataBlob& blob = station->data_set;
    WriteInt(blob, kBeamCount, 0);
    WriteFloat(blob, kDroneLaunchTimer, 7.9f);
    WriteFloat(blob, kDroneLaunchMaxRange, 5000.0f);
    WriteFloat(blob, kTorpLaunchTimer, 10.0f);
    WriteFloat(blob, kTorpLaunchMaxRange, 5000.0f);
    WriteString(blob, kTorpedoLaunchType, "Homing");
    SpaceObject* target = Target({0.0f, 0.0f, 4000.0f}, 0.0f, "meridian");
    target->cur_speed = 0.0f;
    Aim(*station, *target);
    Step(2);  // launched in the first tick, in the world from the next
    ASSERT_EQ(sinks.EventsOf("station_launches_drone").size(), 1u);
    ASSERT_EQ(sinks.EventsOf("station_launches_missile").size(), 1u);
    const SpaceObject* drone = world.GetSpaceObject(sinks.EventsOf("station_launches_drone")[0].origin_id);
    ASSERT_NE(drone, nullptr);
    EXPECT_EQ(drone->tick_type, "behav_drone");
    EXPECT_EQ(drone->side, "skarn");
    EXPECT_EQ(ReadUInt64(drone->data_set, shipkeys::kParentUid), stationId);
    const SpaceObject* torpedo = world.GetSpaceObject(sinks.EventsOf("station_launches_missile")[0].origin_id);
    ASSERT_NE(torpedo, nullptr);
    EXPECT_EQ(torpedo->tick_type, "behav_missile");
    EXPECT_EQ(ReadUInt64(torpedo->data_set, shipkeys::kWeaponTargetUid), target->uniqueID);
    EXPECT_EQ(ReadString(torpedo->data_set, shipkeys::kTorpedoDefinition), "behavior:homing; speed:20; damage:30");
    Step(15 * kTicksPerSecond - 2);

    const auto drones = sinks.EventsOf("station_launches_drone");
    ASSERT_EQ(drones.size(), 3u);
    EXPECT_EQ(drones[1].event_time - drones[0].event_time, 7 * 1000 / 33);

    const auto torpedoes = sinks.EventsOf("station_launches_missile");
    ASSERT_EQ(torpedoes.size(), 2u);
    EXPECT_EQ(torpedoes[0].parent_id, stationId);
    EXPECT_EQ(torpedoes[0].extra_extra_tag, "Homing");

    world.RepositionSpaceObject(world.GetSpaceObject(target->uniqueID), 0.0f, 0.0f, 6000.0f);
    sinks.events.clear();
    Step(15 * kTicksPerSecond);
    EXPECT_TRUE(sinks.EventsOf("station_launches_drone").empty());
    EXPECT_TRUE(sinks.EventsOf("station_launches_missile").empty());
}

TEST_F(StationTest, a_dying_invisible_or_vanished_target_draws_no_fire)
{
    SpaceObject* station = Station();
    WriteFloat(station->data_set, kDroneLaunchTimer, 1.0f);
    WriteFloat(station->data_set, kDroneLaunchMaxRange, 5000.0f);
    SpaceObject* dying = Target({0.0f, 0.0f, 500.0f});
    WriteInt64(dying->data_set, kDeathTick, 5);
    Aim(*station, *dying);
    Step(40);
    SpaceObject* hidden = Target({0.0f, 0.0f, -500.0f});
    hidden->data_tag = "invisible";
    Aim(*station, *hidden);
    Step(40);
    WriteUInt64(station->data_set, kTargetId, 0x4000000000123456ull);  // an id that names nothing
    Step(40);
    EXPECT_EQ(sinks.EffectsOf("beam"), 0u);
    EXPECT_TRUE(sinks.EventsOf("station_launches_drone").empty());
}

}  // namespace

namespace {

// A mission that deletes the struck object as soon as it hears of the hit.
struct DeletingMission : ScriptEventSink {
    explicit DeletingMission(Simulation& world) : world(world) {}
    void HandleEvent(const EventMessage& event) override
    {
        if (event.tag == "damage")
            world.DeleteSpaceObject(event.selected_id);
    }
    void QueueEvent(const EventMessage&) override {}
    Simulation& world;
};

TEST_F(StationTest, a_target_the_mission_removes_after_the_first_shot_draws_no_more)
{
    SpaceObject* station = Station();
    WriteInt(station->data_set, kBeamCount, 3);
    for (int32_t beam = 0; beam < 3; ++beam)
        WriteFloat(station->data_set, kBeamRange, 1000.0f, beam);
    WriteFloat(station->data_set, kTorpLaunchTimer, 1.0f);
    WriteFloat(station->data_set, kTorpLaunchMaxRange, 5000.0f);
    SpaceObject* target = Target({0.0f, 0.0f, 800.0f}, 0.0f);
    const uint64_t targetId = target->uniqueID;
    Aim(*station, *target);
    DeletingMission mission(world);
    world.SetScriptEventSink(&mission);
    Step(2);
    EXPECT_FALSE(Alive(targetId));
    EXPECT_EQ(sinks.EffectsOf("beam"), 1u);
    EXPECT_EQ(world.Container()->Objects().size(), 1u);  // the station alone: no torpedo either
}

}  // namespace
