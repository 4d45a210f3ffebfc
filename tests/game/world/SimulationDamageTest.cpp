#include "game/world/Simulation.h"

#include "SimulationTestSupport.h"
#include "game/world/ObjectId.h"
#include "helper/QelAssert.h"

#include <gtest/gtest.h>

namespace {

using simtest::WorldTest;

class DamageTest : public WorldTest {
protected:
    // Runs ticks until the tick counter reaches the given tick.
    void TickTo(int64_t tick)
    {
        while (world.TickCount() < tick)
            world.Tick();
    }
};

TEST_F(DamageTest, damage_tells_the_target_behaviour_then_the_mission)
{
    SpaceObject* target = Make(10, 0);
    SpaceObject* source = Make(-10, 0);
    source->data_set.SetString("name_tag", "Raptor", 0, "a");
    source->data_set.SetString("torpedo_type_value", "homing", 0, "a");
    const uint64_t parent = source->uniqueID;
    std::vector<std::string> order;
    hook().body = [&](SpaceObject* object, int32_t message, void* data) {
        if (message != kBehaviourDamage)
            return;
        order.push_back("behaviour");
        EXPECT_EQ(object, target);
        EXPECT_EQ(static_cast<EventMessage*>(data)->sub_float, 12.5f);
    };
    scripts.then = [&](const EventMessage&) { order.push_back("mission"); };
    TickTo(7);
    world.ApplyDamage(target, 12.5f, source, parent, {1, 2, 3}, "warhead", "beam");

    EXPECT_EQ(order, (std::vector<std::string>{"behaviour", "mission"}));
    ASSERT_EQ(scripts.events.size(), 1u);
    const EventMessage& e = scripts.events[0];
    EXPECT_EQ(e.tag, "damage");
    EXPECT_EQ(e.origin_id, source->uniqueID);
    EXPECT_EQ(e.selected_id, target->uniqueID);
    EXPECT_EQ(e.parent_id, parent);
    EXPECT_EQ(e.sub_tag, "beam");
    EXPECT_EQ(e.value_tag, "warhead");
    EXPECT_EQ(e.extra_tag, "Raptor");
    EXPECT_EQ(e.extra_extra_tag, "homing");
    EXPECT_EQ(e.event_time, 7);
    EXPECT_EQ(e.source_point, glm::vec3(1, 2, 3));
    EXPECT_EQ(target->data_set.GetElement("exciting", 0).floatValue, 100.0f);
}

TEST_F(DamageTest, damage_without_a_source_names_none)
{
    SpaceObject* target = Make(0, 0);
    world.ApplyDamage(target, 1.0f, nullptr, 0, {}, "", "collision");
    ASSERT_EQ(scripts.events.size(), 1u);
    EXPECT_EQ(scripts.events[0].origin_id, 0u);
    EXPECT_EQ(scripts.events[0].extra_tag, "");
}

TEST_F(DamageTest, damage_on_a_client_or_from_a_foreign_parent_id_is_refused)
{
    SpaceObject* target = Make(0, 0);
    EXPECT_THROW(world.ApplyDamage(target, 1, nullptr, kClientIdBit | 501, {}, "", ""), qel::AssertionFailure);
    world.serverFlag = false;
    EXPECT_THROW(world.ApplyDamage(target, 1, nullptr, 0, {}, "", ""), qel::AssertionFailure);
    EXPECT_TRUE(scripts.events.empty());
}

TEST_F(DamageTest, a_nuke_accumulates_its_damage_for_every_tick_an_object_is_inside)
{
    // Radius 300 grows 10 per tick: an object 205 away is inside from the
    // 21st tick (r = 210) to the 30th, ten ticks of damage 10.
    SpaceObject* target = Make(205, 0);
    SpaceObject* beyond = Make(0, 310);  // the search box reaches it, the sphere never
    world.AddBlast("nuke", "big one", 0, 0, {0, 0, 0}, 10, 300);
    TickTo(29);
    EXPECT_TRUE(scripts.events.empty());
    world.Tick();
    EXPECT_TRUE(world.blasts.empty());
    ASSERT_EQ(scripts.events.size(), 1u);
    EXPECT_EQ(scripts.events[0].selected_id, target->uniqueID);
    EXPECT_EQ(scripts.events[0].sub_float, 100.0f);
    EXPECT_EQ(scripts.events[0].sub_tag, "nuke");
    EXPECT_EQ(scripts.events[0].value_tag, "warhead");
    EXPECT_NE(beyond, nullptr);
}

TEST_F(DamageTest, an_emp_cuts_raised_shields_and_reports_no_damage)
{
    SpaceObject* shielded = Make(50, 0);
    SpaceObject* lowered = Make(-50, 0);
    for (SpaceObject* ship : {shielded, lowered}) {
        ship->data_set.SetInt("shield_count", 2, 0, "a");
        for (int i = 0; i < 2; ++i) {
            ship->data_set.SetFloat("shield_max_val", 100.0f, i, "a");
            ship->data_set.SetFloat("shield_val", i == 0 ? 90.0f : 30.0f, i, "a");
        }
    }
    shielded->data_set.SetInt64("shields_raised_flag", 1, 0, "a");
    world.AddBlast("emp", "", 0, 0, {0, 0, 0}, 40, 200);
    TickTo(30);
    ASSERT_EQ(scripts.events.size(), 1u);
    EXPECT_EQ(scripts.events[0].selected_id, shielded->uniqueID);
    EXPECT_EQ(scripts.events[0].sub_float, 0.0f);
    EXPECT_FLOAT_EQ(shielded->data_set.GetElement("shield_val", 0).floatValue, 60.0f);
    EXPECT_FLOAT_EQ(shielded->data_set.GetElement("shield_val", 1).floatValue, 30.0f);
    EXPECT_FLOAT_EQ(lowered->data_set.GetElement("shield_val", 0).floatValue, 90.0f);
}

TEST_F(DamageTest, blasts_of_other_kinds_and_blasts_on_clients_deal_nothing)
{
    Make(10, 0);
    world.AddBlast("fireworks", "", 0, 0, {0, 0, 0}, 50, 100);
    TickTo(30);
    EXPECT_TRUE(world.blasts.empty());
    EXPECT_TRUE(scripts.events.empty());

    world.Reset(false, "");
    world.paused = false;
    world.AddBlast("nuke", "", 0, 0, {0, 0, 0}, 50, 100);
    TickTo(30);
    EXPECT_TRUE(world.blasts.empty()) << "a client only drops the record";
}

TEST_F(DamageTest, a_blast_whose_source_is_gone_deals_its_damage_with_none)
{
    SpaceObject* target = Make(10, 0);
    SpaceObject* launcher = Make(500, 500);
    const uint64_t launcherId = launcher->uniqueID;
    world.AddBlast("nuke", "", launcherId, launcherId, {0, 0, 0}, 1, 100);
    world.Tick();
    world.DeleteSpaceObject(launcherId);
    TickTo(30);
    ASSERT_EQ(scripts.events.size(), 1u);
    EXPECT_EQ(scripts.events[0].origin_id, 0u);
    EXPECT_EQ(scripts.events[0].parent_id, launcherId);
    EXPECT_EQ(scripts.events[0].selected_id, target->uniqueID);
}

TEST_F(DamageTest, sounds_keep_their_minimum_gap_per_name_within_a_run)
{
    struct Case {
        const char* name;
        int64_t tick;
        int64_t gap;
        bool queued;
    };
    // In order, in one run: the last tick of a name not yet queued counts as 0.
    const Case cases[] = {
        {"torp_impact", 100, 300, false},
        {"torp_impact", 300, 300, true},
        {"torp_impact", 599, 300, false},
        {"torp_impact", 599, 0, true},
        {"other_sound", 599, 300, true},
        {"torp_impact", 899, 300, true},
    };
    for (const Case& c : cases) {
        world.clock.time_tick_counter = c.tick;
        const size_t before = world.soundEvents.size();
        world.QueueSoundEvent(c.name, {}, c.gap);
        EXPECT_EQ(world.soundEvents.size() > before, c.queued) << c.name << " at " << c.tick;
    }
}

TEST_F(DamageTest, a_drone_strike_damages_queues_the_drone_and_shows_it)
{
    SpaceObject* target = Make(0, 0);
    SpaceObject* drone = Make(20, 0);
    drone->data_set.SetFloat("drone_damage", 7.0f, 0, "a");
    drone->side = "pirates";
    world.clock.time_tick_counter = 400;
    world.DroneHitTarget(drone, 0, target);
    ASSERT_EQ(scripts.events.size(), 1u);
    EXPECT_EQ(scripts.events[0].sub_float, 7.0f);
    EXPECT_EQ(scripts.events[0].sub_tag, "drone");
    EXPECT_EQ(scripts.events[0].value_tag, "pirates");
    EXPECT_EQ(destroys.ids, std::vector<uint64_t>{drone->uniqueID});
    ASSERT_EQ(world.soundEvents.size(), 1u);
    EXPECT_EQ(world.soundEvents[0].name, "torp_impact");
    ASSERT_EQ(particles.bursts.size(), 2u);
    EXPECT_EQ(particles.bursts[0].first, glm::vec3(20, 0, 0));
}

}  // namespace
