// A player ship in a fight, on the server: its beams recharge and fire, hits
// fall on its shields, hull, systems or interior, contacts and nearby objects
// are told to the mission, mines go off, fighters aim, and shields mend.

#include "CombatTestSupport.h"
#include "PlayerShipTestSupport.h"

#include "game/behaviours/PlayerShipKeys.h"
#include "game/world/HullPathSets.h"
#include "game/world/ObjectId.h"
#include "tests/support/AuthoredHull.h"
#include "tests/support/RecordingMusic.h"

#include <glm/gtc/quaternion.hpp>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

namespace {

using playershiptest::PlayerShipTest;

class PlayerShipCombatTest : public PlayerShipTest {
protected:
    void SetUp() override
    {
        PlayerShipTest::SetUp();
        world.SetEffectBroadcast(&sinks);
        world.SetScriptEventSink(&sinks);
        world.SetPendingDestroySink(&sinks);
        gMusicControl = &music;
        ship = MakeShip();
    }
    void TearDown() override
    {
        gMusicControl = nullptr;
        PlayerShipTest::TearDown();
    }

    // A plain object (no behaviour of its own) at the point.
    SpaceObject* Other(glm::vec3 at, uint16_t abits = 0)
    {
        SpaceObject* object = world.GetSpaceObject(world.CreateSpaceObject("behav_none", "", abits));
        world.RepositionSpaceObject(object, at.x, at.y, at.z);
        world.FrameUpdate();
        return object;
    }
    SpaceObject* TargetAhead(float distance = 1000.0f)
    {
        SpaceObject* target = Other({0.0f, 0.0f, distance});
        WriteUInt64(ship->data_set, shipkeys::kWeaponTargetUid, target->uniqueID);
        return target;
    }

    void Tick(SpaceObject* object) { CallBehaviourHook(world, object, kBehaviourTick, nullptr); }
    void Set(const char* tag, float value, int32_t index = 0) { WriteFloat(ship->data_set, DataKey{tag, ""}, value, index); }
    void SetInt(const char* tag, int32_t value, int32_t index = 0)
    {
        WriteInt(ship->data_set, DataKey{tag, ""}, value, index);
    }

    std::vector<EventMessage> DamageTo(const SpaceObject* target) const
    {
        std::vector<EventMessage> hits;
        for (const EventMessage& event : sinks.EventsOf("damage"))
            if (event.selected_id == target->uniqueID)
                hits.push_back(event);
        return hits;
    }
    float SystemDamage() const
    {
        float sum = 0.0f;
        for (int32_t system = 0; system < 4; ++system)
            sum += Float(ship, "system_damage", system);
        return sum;
    }
    // A hit on the ship from a point straight ahead of it (shield facing 0).
    void HitFromAhead(float amount) { world.ApplyDamage(ship, amount, nullptr, 0, {0.0f, 0.0f, 500.0f}, "", "test"); }

    combattest::Recorders sinks;
    qeltest::RecordingMusic music;
    SpaceObject* ship = nullptr;
};

// ---- beams ----

TEST_F(PlayerShipCombatTest, ready_beams_whose_arc_holds_the_target_fire_at_it_and_spend_energy)
{
    const SpaceObject* target = TargetAhead();
    const float energy = Float(ship, "energy");
    Tick(ship);

    // The frigate's two forward beams bear; its two broadside beams do not.
    const std::vector<EventMessage> hits = DamageTo(target);
    ASSERT_EQ(hits.size(), 2u);
    for (const EventMessage& hit : hits) {
        EXPECT_FLOAT_EQ(hit.sub_float, 12.0f);
        EXPECT_EQ(hit.origin_id, ship->uniqueID);
        EXPECT_EQ(hit.sub_tag, "beam");
    }
    ASSERT_EQ(sinks.effects.size(), 2u);
    const combattest::Effect& shot = sinks.effects[1];
    EXPECT_EQ(shot.kind, "beam");
    EXPECT_EQ(shot.firstId, ship->uniqueID);
    EXPECT_EQ(shot.secondId, target->uniqueID);
    EXPECT_EQ(shot.value, 1);
    EXPECT_EQ(shot.secondPoint, glm::vec3(40.0f, 0.0f, 120.0f));  // the beam's place on the hull
    EXPECT_NEAR(shot.firstPoint.b, 1.0f, 1e-3f);                    // its colour, #40c0ff
    EXPECT_FLOAT_EQ(Float(ship, "energy"), energy - 2.0f * 2.0f);
    EXPECT_EQ(std::count_if(world.soundEvents.begin(), world.soundEvents.end(),
                            [](const SoundEvent& sound) { return sound.name == "PB"; }),
              2);
    EXPECT_NE(std::find(music.calls.begin(), music.calls.end(), "RaiseMusicTension 50.000000"), music.calls.end());
}

// The mission hears of a beam's hit while the ship is as it fired: the shot's
// energy is spent after the strike. A mission that starts a new game at the
// hit leaves the old ship untouched and the rest of the volley unfired.
TEST_F(PlayerShipCombatTest, a_beam_strikes_before_the_ship_pays_the_shots_energy)
{
    struct EnergyAtHits : ScriptEventSink {
        void HandleEvent(const EventMessage& event) override
        {
            if (event.tag != "damage")
                return;
            energies.push_back(ReadFloat(shooter->data_set, playership::kEnergy));
            if (newGameAtHit)
                world->Reset(true, "");
        }
        void QueueEvent(const EventMessage&) override {}
        Simulation* world = nullptr;
        const SpaceObject* shooter = nullptr;
        bool newGameAtHit = false;
        std::vector<float> energies;
    } mission;
    mission.world = &world;
    mission.shooter = ship;
    world.SetScriptEventSink(&mission);
    TargetAhead();
    const float energy = Float(ship, "energy");
    Tick(ship);
    EXPECT_EQ(mission.energies, (std::vector<float>{energy, energy - 2.0f}));
    EXPECT_FLOAT_EQ(Float(ship, "energy"), energy - 4.0f);

    ship = MakeShip();
    TargetAhead();
    mission.shooter = ship;
    mission.newGameAtHit = true;
    mission.energies.clear();
    Tick(ship);
    EXPECT_EQ(mission.energies.size(), 1u);
    EXPECT_TRUE(world.Container()->Objects().empty());
    world.SetScriptEventSink(&sinks);
}

TEST_F(PlayerShipCombatTest, beams_recharge_over_their_cycle_at_the_pace_of_power_and_speed_setting)
{
    struct Case {
        int32_t speedSetting;
        float power;
        float damage;
        float ticksBetweenShots;  // the forward beams' 3 s cycle
    };
    const Case cases[] = {
        {0, 1.0f, 12.0f, 90.0f},
        {1, 1.0f, 9.0f, 67.5f},  // three quarters of the time and of the damage
        {3, 1.0f, 3.0f, 22.5f},
        {0, 2.0f, 12.0f, 45.0f},  // twice the power, twice the pace
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.speedSetting);
        ship = MakeShip();
        SetInt("cur_beam_speed_setting", c.speedSetting);
        Set("eng_control_value", c.power, 0);
        const SpaceObject* target = TargetAhead();
        sinks.events.clear();
        std::vector<int> shotTicks;
        for (int tick = 0; tick < 200 && shotTicks.size() < 2; ++tick) {
            const size_t before = DamageTo(target).size();
            Tick(ship);
            if (DamageTo(target).size() > before)
                shotTicks.push_back(tick);
        }
        ASSERT_EQ(shotTicks.size(), 2u);
        // A beam is ready on the tick after its charge runs out.
        EXPECT_NEAR(shotTicks[1] - shotTicks[0], c.ticksBetweenShots + 1.0f, 1.0f);
        EXPECT_FLOAT_EQ(DamageTo(target).front().sub_float, c.damage);
    }
}

TEST_F(PlayerShipCombatTest, beams_hold_fire_at_what_they_cannot_or_may_not_hit)
{
    struct Case {
        const char* name;
        std::function<void(SpaceObject& ship, SpaceObject& target)> setUp;
    };
    const Case cases[] = {
        {"out of range", [this](SpaceObject&, SpaceObject& t) { world.RepositionSpaceObject(&t, 0, 0, 1600); }},
        {"astern, outside every arc",
         [this](SpaceObject&, SpaceObject& t) { world.RepositionSpaceObject(&t, 0, 0, -1000); }},
        {"no energy", [](SpaceObject& s, SpaceObject&) { WriteFloat(s.data_set, playership::kEnergy, 0.0f); }},
        {"target unseen", [](SpaceObject&, SpaceObject& t) { t.data_tag = "invisible"; }},
        {"target dying", [](SpaceObject&, SpaceObject& t) { WriteInt64(t.data_set, behaviours::kDeathTick, 5); }},
        {"target id of a console",
         [](SpaceObject& s, SpaceObject&) { WriteUInt64(s.data_set, shipkeys::kWeaponTargetUid, kClientIdBit | 501); }},
        {"beams damaged out", [](SpaceObject& s, SpaceObject&) { WriteFloat(s.data_set, playership::kAllBeamDamageCoeff, 0); }},
        {"fighter without the trigger held",
         [](SpaceObject& s, SpaceObject&) { WriteInt(s.data_set, playership::kIsFighterFlag, 1); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ship = MakeShip();
        SpaceObject* target = TargetAhead();
        c.setUp(*ship, *target);
        sinks.events.clear();
        sinks.effects.clear();
        Tick(ship);
        EXPECT_TRUE(DamageTo(target).empty());
        EXPECT_TRUE(sinks.effects.empty());
    }
}

TEST_F(PlayerShipCombatTest, the_targets_shield_strength_on_the_chosen_frequency_scales_the_damage)
{
    struct Case {
        int32_t frequency;
        int32_t strength;
        float damage;
    };
    const Case cases[] = {{2, 80, 12.0f * 0.7f}, {2, 20, 12.0f * 1.3f}, {2, 0, 12.0f}, {7, 80, 12.0f}, {-1, 80, 12.0f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frequency);
        ship = MakeShip();
        SpaceObject* target = TargetAhead();
        WriteInt(target->data_set, playership::kShieldFreqStrength, c.strength, 2);
        SetInt("cur_beam_freq", c.frequency);
        sinks.events.clear();
        Tick(ship);
        ASSERT_FALSE(DamageTo(target).empty());
        EXPECT_FLOAT_EQ(DamageTo(target).front().sub_float, c.damage);
    }
}

// ---- hits on the ship ----

TEST_F(PlayerShipCombatTest, a_hit_falls_on_the_struck_shield_at_its_power_or_else_on_the_systems)
{
    struct Case {
        const char* name;
        std::function<void()> setUp;
        float shieldAfter;   // facing 0 starts at 120
        float systemPoints;  // 50 damage is 10 hits of 40 picks, each adding a point
    };
    const Case cases[] = {
        {"normal power", [] {}, 70.0f, 0.0f},
        {"half power", [this] { Set("eng_control_value", 0.5f, 6); }, 120.0f - 1.25f * 50.0f, 0.0f},
        {"twice the power", [this] { Set("eng_control_value", 2.0f, 6); }, 120.0f - 0.75f * 50.0f, 0.0f},
        {"nearly empty: overdrawn, nothing passes", [this] { Set("shield_val", 10.0f, 0); }, -40.0f, 0.0f},
        {"shields lowered", [this] { SetInt("shields_raised_flag", 0); }, 120.0f, 400.0f},
        {"facing unpowered", [this] { Set("eng_control_value", 0.0f, 6); }, 120.0f, 400.0f},
        {"no energy", [this] { Set("energy", 0.0f); }, 120.0f, 400.0f},
        {"facing empty", [this] { Set("shield_val", 0.0f, 0); }, 0.0f, 400.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ship = MakeShip();
        c.setUp();
        consoles.flashes.clear();
        HitFromAhead(50.0f);
        EXPECT_FLOAT_EQ(Float(ship, "shield_val", 0), c.shieldAfter);
        EXPECT_FLOAT_EQ(Float(ship, "shield_val", 1), 90.0f);
        EXPECT_FLOAT_EQ(SystemDamage(), c.systemPoints);
        const bool shieldHit = c.systemPoints == 0.0f;
        EXPECT_EQ(Int(ship, "shield_hit_counter"), shieldHit ? 5 : 0);
        EXPECT_EQ(Int(ship, "hull_hit_counter"), shieldHit ? 0 : 5);
        ASSERT_EQ(consoles.flashes.size(), 1u);
        EXPECT_EQ(consoles.flashes[0], std::make_pair(ship->uniqueID, 50.0f));
    }
}

TEST_F(PlayerShipCombatTest, hull_damage_carries_its_fraction_and_never_outruns_the_systems)
{
    SetInt("shields_raised_flag", 0);
    Set("fractional_damage", 0.9f);
    HitFromAhead(12.0f);  // 2.4 hits and 0.9 carried: 3 hits of 40 picks, 0.3 left
    EXPECT_FLOAT_EQ(SystemDamage(), 3 * 40.0f);
    EXPECT_NEAR(Float(ship, "fractional_damage"), 0.3f, 1e-5f);

    // Picks that find a system at its ceiling add nothing; the others go on.
    for (int32_t system = 0; system < 4; ++system)
        Set("system_max_damage", system == 2 ? 1000.0f : 0.0f, system);
    const float sensorsBefore = Float(ship, "system_damage", 2);
    HitFromAhead(5.0f);
    const float sensorsAdded = Float(ship, "system_damage", 2) - sensorsBefore;
    EXPECT_GT(sensorsAdded, 1.0f) << "one hit adds a point for every pick that lands on room";
    EXPECT_LT(sensorsAdded, 40.0f);
    for (int32_t system = 0; system < 4; ++system)
        Set("system_max_damage", 400.0f, system);

    // A hit beyond anything fills every system and stops there.
    HitFromAhead(1e30f);
    EXPECT_FLOAT_EQ(SystemDamage(), 4 * 400.0f);

    // Damage that is no positive number is no hit at all.
    consoles.flashes.clear();
    for (float nonsense : {-20.0f, std::nanf(""), 0.0f})
        HitFromAhead(nonsense);
    EXPECT_FLOAT_EQ(SystemDamage(), 4 * 400.0f);
    EXPECT_TRUE(consoles.flashes.empty());
}

TEST_F(PlayerShipCombatTest, a_ship_with_an_interior_hands_each_hull_hit_to_the_mission_from_its_own_frame)
{
    qeltest::AuthoredHulls hulls;
    hulls.hulls["tern_frigate"] = qeltest::DrawHull({"#####", "#####"});
    SetHullSilhouetteSource(&hulls);
    ship = MakeShip();
    SetInt("shields_raised_flag", 0);
    ship->rot_quat = glm::angleAxis(std::numbers::pi_v<float> / 2.0f, glm::vec3(0.0f, 1.0f, 0.0f));  // nose along +x
    SpaceObject* attacker = Other({3000.0f, 0.0f, 0.0f});
    sinks.events.clear();
    world.ApplyDamage(ship, 12.0f, attacker, 0, {0.0f, 0.0f, -500.0f}, "raiders", "torpedo");
    SetHullSilhouetteSource(nullptr);

    const std::vector<EventMessage> inside = sinks.EventsOf("player_internal_damage");
    ASSERT_EQ(inside.size(), 2u);
    for (const EventMessage& event : inside) {
        EXPECT_EQ(event.origin_id, ship->uniqueID);
        EXPECT_FLOAT_EQ(event.sub_float, 5.0f);
        EXPECT_EQ(event.sub_tag, "torpedo");
        EXPECT_EQ(event.value_tag, "raiders");
        // From the attacker, which lies dead ahead.
        EXPECT_NEAR(event.source_point.z, 1.0f, 1e-5f);
    }
    EXPECT_FLOAT_EQ(SystemDamage(), 0.0f);
}

// ---- contacts, proximity and mines ----

TEST_F(PlayerShipCombatTest, a_held_contact_starts_once_and_ends_nine_ticks_after_the_last_touch)
{
    SpaceObject* station = Other({8000.0f, 0.0f, 0.0f}, SpaceObject::kStaticBit);
    SpaceObject* unseen = Other({-8000.0f, 0.0f, 0.0f});
    unseen->data_tag = "invisible";
    ship->cur_speed = 7.0f;
    sinks.events.clear();
    std::vector<std::pair<std::string, int>> heard;
    for (int tick = 1; tick <= 20; ++tick) {
        if (tick <= 3)
            ship->contactList = {station->uniqueID, unseen->uniqueID};
        Tick(ship);
        for (const EventMessage& event : sinks.events)
            heard.emplace_back(event.tag, tick);
        sinks.events.clear();
    }
    EXPECT_EQ(heard, (std::vector<std::pair<std::string, int>>{{"passive_collision_start", 1},
                                                               {"passive_collision_end", 12}}));
    ASSERT_EQ(consoles.flashes.size(), 1u);
    EXPECT_FLOAT_EQ(consoles.flashes[0].second, 10.0f);  // twice the speed, held to 10

    // A moving object that is gone by the time the contact ends.
    SpaceObject* drifter = Other({0.0f, 0.0f, 8000.0f});
    const uint64_t drifterId = drifter->uniqueID;
    ship->contactList = {drifterId};
    Tick(ship);
    world.DeleteSpaceObject(drifterId);
    for (int tick = 0; tick < 10; ++tick)
        Tick(ship);
    const std::vector<EventMessage> starts = sinks.EventsOf("interactive_collision_start");
    const std::vector<EventMessage> ends = sinks.EventsOf("interactive_collision_end");
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].origin_id, drifterId);
    EXPECT_EQ(starts[0].selected_id, ship->uniqueID);
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_EQ(ends[0].origin_id, 0u);
}

TEST_F(PlayerShipCombatTest, objects_whose_interaction_radius_holds_the_ship_raise_within_range_every_slow_pass)
{
    ship->side = "crew";
    ship->interaction_radius = 1000.0f;  // the ship is never within range of itself
    // The frigate's exclusion radius (150) and the object's radius (100) make
    // a reach of 250.
    SpaceObject* beacon = Other({0.0f, 0.0f, 240.0f});
    beacon->interaction_radius = 100.0f;
    beacon->side = "traders";
    WriteString(beacon->data_set, shipkeys::kNameTag, "Beacon");
    WriteUInt64(beacon->data_set, shipkeys::kParentUid, ship->uniqueID);
    SpaceObject* far = Other({0.0f, 0.0f, -260.0f});
    far->interaction_radius = 100.0f;
    SpaceObject* unseen = Other({100.0f, 0.0f, 0.0f});
    unseen->interaction_radius = 100.0f;
    unseen->data_tag = "invisible";
    Other({0.0f, 0.0f, 100.0f});  // no interaction radius

    sinks.events.clear();
    SlowTick(ship);
    SlowTick(ship);
    const std::vector<EventMessage> near = sinks.EventsOf("within_range");
    ASSERT_EQ(near.size(), 2u);
    const EventMessage& event = near[0];
    EXPECT_EQ(event.origin_id, beacon->uniqueID);
    EXPECT_EQ(event.selected_id, ship->uniqueID);
    EXPECT_EQ(event.parent_id, ship->uniqueID);
    EXPECT_EQ(event.sub_tag, "Beacon");
    EXPECT_EQ(event.value_tag, "traders");
    EXPECT_EQ(event.extra_tag, "crew");
    EXPECT_EQ(event.source_point, beacon->pos);
}

TEST_F(PlayerShipCombatTest, a_mine_within_the_trigger_radius_goes_off_once_in_the_ships_name)
{
    WriteString(ship->data_set, shipkeys::kNameTag, "Tern");
    SpaceObject* near = Other({0.0f, 0.0f, 300.0f}, SpaceObject::kStaticBit);
    SpaceObject* beyond = Other({0.0f, 0.0f, -450.0f}, SpaceObject::kStaticBit);  // trigger radius 400
    for (SpaceObject* mine : {near, beyond}) {
        mine->tick_type = "behav_mine";
        WriteInt(mine->data_set, behaviours::kDamageDone, 30);
        WriteInt(mine->data_set, behaviours::kBlastRadius, 800);
    }
    SlowTick(ship);
    EXPECT_EQ(sinks.destroys, std::vector<uint64_t>{near->uniqueID});
    ASSERT_EQ(world.blasts.size(), 1u);
    EXPECT_EQ(world.blasts[0].kind, "nuke");
    EXPECT_EQ(world.blasts[0].name, "Tern");
    EXPECT_EQ(world.blasts[0].damage, 30);
    EXPECT_EQ(world.blasts[0].radius, 800);
    EXPECT_EQ(sinks.EffectsOf("nuke"), 1u);
}

// ---- fighters ----

TEST_F(PlayerShipCombatTest, a_fighter_targets_what_lies_most_nearly_ahead_and_nothing_when_nothing_does)
{
    ship = MakeShip("kestrel_fighter");
    // Its beams reach 800.
    SpaceObject* offAxis = Other({30.0f, 0.0f, 600.0f});
    SpaceObject* ahead = Other({0.0f, 0.0f, 700.0f});
    Other({0.0f, 0.0f, -600.0f});  // astern
    Other({300.0f, 0.0f, 300.0f});  // 45 degrees off
    SpaceObject* unseen = Other({0.0f, 0.0f, 500.0f});
    unseen->data_tag = "invisible";
    Tick(ship);
    EXPECT_EQ(ReadUInt64(ship->data_set, shipkeys::kWeaponTargetUid), ahead->uniqueID);

    world.DeleteSpaceObject(ahead->uniqueID);
    Tick(ship);
    EXPECT_EQ(ReadUInt64(ship->data_set, shipkeys::kWeaponTargetUid), offAxis->uniqueID);

    ship->rot_quat = glm::angleAxis(std::numbers::pi_v<float> / 2.0f, glm::vec3(0.0f, 1.0f, 0.0f));
    Tick(ship);
    EXPECT_EQ(ReadUInt64(ship->data_set, shipkeys::kWeaponTargetUid), 0u);
}

// ---- shield repairs ----

TEST_F(PlayerShipCombatTest, shields_mend_once_a_pass_at_most_every_60_ticks_within_their_bounds)
{
    struct Case {
        const char* name;
        float start;
        std::function<void()> setUp;
        float after;  // facing 0, maximum 120
    };
    const Case cases[] = {
        {"normal power", 50.0f, [] {}, 51.0f},
        {"twice the power", 50.0f, [this] { Set("eng_control_value", 2.0f, 6); }, 52.0f},
        {"no energy", 50.0f, [this] { Set("energy", 0.0f); }, 50.0f},
        {"never past the maximum", 119.5f, [] {}, 120.0f},
        {"never from deeper than twice the maximum below 0", -1000.0f, [] {}, -240.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ship = MakeShip();
        Set("shield_val", c.start, 0);
        c.setUp();
        SlowTick(ship);
        EXPECT_FLOAT_EQ(Float(ship, "shield_val", 0), c.after);
        EXPECT_FLOAT_EQ(Float(ship, "shield_val", 1), 90.0f);
        EXPECT_EQ(Int(ship, "healTimer"), world.TickCount() + 60);
    }

    ship = MakeShip();
    Set("shield_val", 50.0f, 0);
    SlowTick(ship);
    world.clock.time_tick_counter += 59;
    SlowTick(ship);
    EXPECT_FLOAT_EQ(Float(ship, "shield_val", 0), 51.0f);
    world.clock.time_tick_counter += 1;
    SlowTick(ship);
    EXPECT_FLOAT_EQ(Float(ship, "shield_val", 0), 52.0f);
}

}  // namespace
