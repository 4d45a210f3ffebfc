#include "CombatTestSupport.h"

#include "game/world/BehaviourHookMap.h"
#include "game/world/DataKey.h"
#include "game/world/ShipKeys.h"

#include <memory>

using namespace combattest;
using namespace shipkeys;

namespace {

constexpr float kHalfTurn = 1.5707964f;
inline constexpr DataKey kDeathTickKey{"deathTick", kPlayDoc};
inline constexpr DataKey kLifeCountKey{"lifecount", kPlayDoc};

class DroneMissileTest : public CombatTest {
protected:
    SpaceObject* Drone(glm::vec3 at, uint64_t target, uint64_t parent = 0, const std::string& side = "")
    {
        SpaceObject* drone = Make("behav_drone", "drone", at, 0.0f, SpaceObject::kFastMoverBit);
        drone->cur_speed = 10.0f;
        drone->side = side;
        WriteUInt64(drone->data_set, kWeaponTargetUid, target);
        WriteUInt64(drone->data_set, kParentUid, parent);
        return drone;
    }

    // A missile set up as a launcher sets one up: definition first, then the
    // behaviour's assignment.
    SpaceObject* Missile(glm::vec3 at, const std::string& definition, uint64_t target)
    {
        auto made = std::make_unique<SpaceObject>(0, "behav_missile", "torpedo", SpaceObject::kFastMoverBit, 0.0f,
                                                  0.0f, 400.0f);
        SpaceObject* missile = made.get();
        missile->pos = at;
        WriteString(missile->data_set, kTorpedoDefinition, definition);
        WriteString(missile->data_set, kTorpedoKey, "Homing");
        world.AddPendingObject(std::move(made));
        CallBehaviourHook(world, missile, kBehaviourAssigned, nullptr);
        WriteUInt64(missile->data_set, kWeaponTargetUid, target);
        return missile;
    }

    // A target crossing the drone's path sideways at 3 a tick.
    SpaceObject* CrossingTarget(glm::vec3 at)
    {
        SpaceObject* target = Target(at, 20.0f);
        target->rot_quat = glm::angleAxis(kHalfTurn, glm::vec3(0.0f, 1.0f, 0.0f));
        target->cur_speed = 3.0f;
        return target;
    }
};

TEST_F(DroneMissileTest, a_drone_homes_on_a_moving_target_strikes_it_once_and_is_gone)
{
    SpaceObject* target = CrossingTarget({400.0f, 0.0f, 700.0f});
    const uint64_t targetId = target->uniqueID;
    const uint64_t droneId = Drone({0.0f, 0.0f, 0.0f}, targetId, 0, "red")->uniqueID;
    Step(300);
    const auto damage = sinks.EventsOf("damage");
    ASSERT_EQ(damage.size(), 1u);
    EXPECT_EQ(damage[0].selected_id, targetId);
    EXPECT_EQ(damage[0].origin_id, droneId);
    EXPECT_FLOAT_EQ(damage[0].sub_float, 15.0f);
    EXPECT_EQ(damage[0].sub_tag, "drone");
    EXPECT_EQ(TimesDestroyed(droneId), 1u);
}

TEST_F(DroneMissileTest, a_free_drone_passes_over_its_parent_its_side_and_other_weapons)
{
    const uint64_t parent = Target({0.0f, 0.0f, 300.0f})->uniqueID;
    Target({40.0f, 0.0f, 500.0f}, 20.0f, "red");
    Drone({-40.0f, 0.0f, 600.0f}, 0, 0, "red");
    SpaceObject* drone = Drone({0.0f, 0.0f, 0.0f}, 0, parent, "red");
    const uint64_t droneId = drone->uniqueID;
    drone->contactList = {parent};
    Step(60);
    EXPECT_TRUE(sinks.EventsOf("damage").empty());
    ASSERT_TRUE(Alive(droneId));
    // Nothing pulled it aside: it flew straight on along +Z.
    EXPECT_NEAR(world.GetSpaceObject(droneId)->pos.x, 0.0f, 1e-3f);
}

TEST_F(DroneMissileTest, a_damaged_drone_bursts_twenty_one_ticks_later_and_is_destroyed_once)
{
    SpaceObject* drone = Drone({0.0f, 0.0f, 0.0f}, 0);
    const uint64_t droneId = drone->uniqueID;
    Step();
    SpaceObject* attacker = Target({0.0f, 0.0f, -500.0f});
    world.ApplyDamage(drone, 1.0f, attacker, 0, attacker->pos, "", "beam");
    const int64_t damagedAt = world.TickCount();
    EXPECT_EQ(ReadInt(world.GetSpaceObject(droneId)->data_set, kDeathTickKey), damagedAt);
    while (Alive(droneId) && world.TickCount() < damagedAt + 40)
        Step();
    EXPECT_EQ(world.TickCount(), damagedAt + 21);
    EXPECT_EQ(TimesDestroyed(droneId), 1u);
}

TEST_F(DroneMissileTest, a_drones_turn_limit_grows_with_age)
{
    for (const auto& [age, limit] : {std::pair{0ull, 0.05f}, std::pair{200ull, 0.055f}}) {
        SpaceObject* drone = Drone({0.0f, 0.0f, 0.0f}, Target({2000.0f, 0.0f, 0.0f})->uniqueID);
        WriteUInt64(drone->data_set, kLifeCountKey, age);
        CallBehaviourHook(world, drone, kBehaviourTick, nullptr);
        EXPECT_NEAR(drone->turn_yaw, limit, 1e-6f) << age;
        EXPECT_EQ(ReadUInt64(drone->data_set, kLifeCountKey), age + 1);
    }
}

TEST_F(DroneMissileTest, a_homing_missile_takes_its_character_from_its_definition_and_strikes)
{
    SpaceObject* target = CrossingTarget({300.0f, 0.0f, 900.0f});
    const uint64_t targetId = target->uniqueID;
    SpaceObject* missile = Missile({0.0f, 0.0f, 0.0f},
        "gui_text:Homing;speed:12.7;damage:35;lifetime:30;trail_color:#00ff00;warhead:normal;explosion_color:fire",
        targetId);
    const uint64_t missileId = missile->uniqueID;
    EXPECT_EQ(missile->cur_speed, 12.0f);  // read as a whole number
    EXPECT_EQ(ReadString(missile->data_set, kNameTag), "Homing");
    EXPECT_FLOAT_EQ(ReadFloat(missile->data_set, {"color_trail_g", kPlayDoc}), 1.0f);
    Step(300);
    const auto damage = sinks.EventsOf("damage");
    ASSERT_EQ(damage.size(), 1u);
    EXPECT_EQ(damage[0].selected_id, targetId);
    EXPECT_FLOAT_EQ(damage[0].sub_float, 35.0f);
    EXPECT_EQ(damage[0].sub_tag, "Homing");
    EXPECT_EQ(TimesDestroyed(missileId), 1u);
    EXPECT_EQ(sinks.bursts.back().find("smoke:True"), 0u);
}

// Both blast keywords give "emp": shields first. The struck object takes no
// direct damage; the blast deals it later.
TEST_F(DroneMissileTest, blast_warheads_leave_a_blast_and_its_effect_instead_of_direct_damage)
{
    for (const auto& [warhead, kind] : {std::pair{"blast", "nuke"}, std::pair{"blast,reduce_shields", "emp"}}) {
        world.blasts.clear();
        sinks.effects.clear();
        const uint64_t targetId = Target({0.0f, 0.0f, 400.0f})->uniqueID;
        Missile({0.0f, 0.0f, 0.0f},
                std::string("speed:10;damage:40;blast_radius:300;lifetime:20;warhead:") + warhead, targetId);
        Step(45);
        ASSERT_EQ(sinks.EffectsOf(kind), 1u) << warhead;
        EXPECT_FLOAT_EQ(sinks.effects[0].firstPoint.z, kind == std::string("emp") ? 1.0f : 0.0f);
        world.DeleteSpaceObject(targetId);
    }
}

TEST_F(DroneMissileTest, a_dumb_missile_flies_straight_and_a_mine_layer_lays_its_mine)
{
    Target({60.0f, 0.0f, 300.0f});
    SpaceObject* dumb = Missile({0.0f, 0.0f, 0.0f}, "speed:10;damage:5;lifetime:20;behavior:dumb", 0);
    const uint64_t dumbId = dumb->uniqueID;
    Step(20);
    EXPECT_NEAR(world.GetSpaceObject(dumbId)->pos.x, 0.0f, 1e-3f);

    SpaceObject* layer = Missile({1000.0f, 0.0f, 0.0f}, "speed:0;damage:70;blast_radius:250;lifetime:20;behavior:mine", 0);
    const uint64_t layerId = layer->uniqueID;
    for (int32_t axis = 0; axis < 3; ++axis)
        WriteFloat(layer->data_set, kLandingPoint, axis == 0 ? 1050.0f : 0.0f, axis);
    Step(2);
    EXPECT_TRUE(Alive(layerId));  // exactly 50 away: not yet
    world.GetSpaceObject(layerId)->pos.x = 1000.1f;
    Step(2);
    EXPECT_FALSE(Alive(layerId));
    const auto mines = std::count_if(world.Container()->Objects().begin(), world.Container()->Objects().end(),
                                     [](const auto& object) {
                                         const auto* mine = static_cast<const SpaceObject*>(object);
                                         return mine->tick_type == "behav_mine" && mine->IsStatic()
                                                && ReadInt(mine->data_set, {"damage_done", kPlayDoc}) == 70;
                                     });
    EXPECT_EQ(mines, 1);
}

TEST_F(DroneMissileTest, a_missile_past_its_lifetime_or_without_a_definition_is_removed_at_the_slow_pass)
{
    const uint64_t bare = Missile({0.0f, 0.0f, 0.0f}, "", 0)->uniqueID;
    const uint64_t timed = Missile({0.0f, 0.0f, 5000.0f}, "speed:1;lifetime:1", 0)->uniqueID;
    Step(16);
    EXPECT_FALSE(Alive(bare));
    EXPECT_TRUE(Alive(timed));
    Step(45);
    EXPECT_FALSE(Alive(timed));
}

TEST_F(DroneMissileTest, a_damaged_missile_is_removed_without_detonating)
{
    SpaceObject* missile = Missile({0.0f, 0.0f, 0.0f}, "speed:10;damage:40;lifetime:20;warhead:blast", 0);
    const uint64_t missileId = missile->uniqueID;
    Step();
    world.ApplyDamage(world.GetSpaceObject(missileId), 3.0f, nullptr, 0, {}, "", "beam");
    Step();
    EXPECT_EQ(TimesDestroyed(missileId), 1u);
    EXPECT_TRUE(world.blasts.empty());
}

}  // namespace
