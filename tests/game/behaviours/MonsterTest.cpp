#include "CombatTestSupport.h"

#include "game/behaviours/MonsterKeys.h"
#include "game/behaviours/NPCShipKeys.h"
#include "game/world/BehaviourHookMap.h"
#include "game/world/FiniteMath.h"
#include "game/world/ShipKeys.h"

#include <glm/geometric.hpp>

#include <cmath>
#include <limits>

using namespace combattest;
using namespace monster;
using behaviours::kDeathState;
using behaviours::kDeathTick;
using behaviours::kTargetId;
using npcship::kTargetPosX;
using npcship::kTargetPosY;
using npcship::kTargetPosZ;

namespace {

class MonsterTest : public CombatTest {
protected:
    SpaceObject* Monster(glm::vec3 at = {})
    {
        SpaceObject* monster = Make("behav_monster", "monster_dragon", at);
        monster->side = "monster";
        return monster;
    }

    static void Order(SpaceObject& monster, glm::vec3 point)
    {
        WriteFloat(monster.data_set, kTargetPosX, point.x);
        WriteFloat(monster.data_set, kTargetPosY, point.y);
        WriteFloat(monster.data_set, kTargetPosZ, point.z);
    }

    static float Health(const SpaceObject& monster) { return ReadFloat(monster.data_set, kMonsterHealth); }
};

TEST_F(MonsterTest, a_new_monster_carries_its_default_body_lightning_and_health)
{
    const ObjectDataBlob& blob = Monster()->data_set;
    EXPECT_EQ(ReadString(blob, kShownNameTag), "Monster");
    EXPECT_EQ(ReadString(blob, kBody2Geom), "monster_part");
    EXPECT_EQ(ReadString(blob, kBody1Bitmap), "---");
    EXPECT_EQ(ReadString(blob, kParticleColor3), "white");
    EXPECT_EQ(ReadInt(blob, kLightningRange), 1500);
    EXPECT_EQ(ReadString(blob, kLightningColor), "red");
    EXPECT_EQ(ReadInt(blob, kMonsterHealthMax), 1000);
    EXPECT_FLOAT_EQ(ReadFloat(blob, kMonsterSpeed), 9.0f);
}

// It faces its point at once and flies at its speed; near the point (within
// two exclusion radii) it stops and keeps its heading.
TEST_F(MonsterTest, a_monster_flies_straight_at_its_point_and_stops_beside_it)
{
    SpaceObject* monster = Monster();
    const uint64_t id = monster->uniqueID;
    Order(*monster, {3000.0f, 0.0f, 0.0f});
    Step();
    EXPECT_FLOAT_EQ(monster->cur_speed, 9.0f);
    EXPECT_NEAR(glm::dot(monster->ForwardVector(), glm::vec3(1.0f, 0.0f, 0.0f)), 1.0f, 1e-5f);
    Step(400);
    ASSERT_TRUE(Alive(id));
    EXPECT_EQ(monster->cur_speed, 0.0f);
    EXPECT_NEAR(monster->pos.x, 3000.0f - 2.0f * monster->exclusion_radius, 10.0f);
    EXPECT_NEAR(glm::dot(monster->ForwardVector(), glm::vec3(1.0f, 0.0f, 0.0f)), 1.0f, 1e-5f);
}

// Points a script may write that give no direction stop the monster and
// never turn its orientation into NaNs.
TEST_F(MonsterTest, a_point_at_the_monster_or_no_number_stops_it_without_harm)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (const glm::vec3& point : {glm::vec3(500.0f, 0.0f, 0.0f), glm::vec3(nan, 0.0f, 0.0f),
                                   glm::vec3(0.0f, inf, 0.0f)}) {
        SpaceObject* monster = Monster({500.0f, 0.0f, 0.0f});
        monster->exclusion_radius = 0.0f;
        monster->cur_speed = 9.0f;
        Order(*monster, point);
        Step(3);
        EXPECT_EQ(monster->cur_speed, 0.0f);
        EXPECT_TRUE(AllFinite(monster->rot_quat) && AllFinite(monster->pos));
        world.DeleteSpaceObject(monster->uniqueID);
    }
}

// With a 5-second cycle: strikes at ticks 1, 152 and 303 of 330.
TEST_F(MonsterTest, lightning_strikes_a_target_within_reach_in_any_direction_once_per_cycle)
{
    SpaceObject* monster = Monster();
    SpaceObject* target = Target({0.0f, 0.0f, -1500.0f}, 0.0f);  // astern, exactly at reach
    const uint64_t targetId = target->uniqueID;
    WriteUInt64(monster->data_set, kTargetId, targetId);
    WriteUInt64(monster->data_set, shipkeys::kParentUid, 77);  // no object id: no parent
    Step(330);
    ASSERT_EQ(sinks.EffectsOf("lightning"), 3u);
    const Effect& strike = sinks.effects[0];
    EXPECT_EQ(strike.secondText, "Monster");
    EXPECT_EQ(strike.thirdText, "monster");
    EXPECT_EQ(strike.firstId, monster->uniqueID);
    EXPECT_EQ(strike.secondId, targetId);
    EXPECT_EQ(strike.firstPoint, glm::vec3(1.0f, 0.0f, 0.0f));
    const auto hits = sinks.EventsOf("damage");
    ASSERT_FALSE(hits.empty());

    // A dying target is left alone.
    WriteInt64(target->data_set, kDeathTick, 9);
    sinks.effects.clear();
    Step(330);
    EXPECT_EQ(sinks.EffectsOf("lightning"), 0u);
}

TEST_F(MonsterTest, damage_counts_in_whole_points_and_the_killing_blow_removes_it_at_once)
{
    struct Case {
        const char* what;
        float amount;
        float healthAfter;
        bool dies;
    };
    for (const Case& c : {
             Case{"a fraction", 0.9f, 1000.0f, false},
             Case{"a blow", 250.7f, 750.0f, false},
             Case{"no number", std::numeric_limits<float>::quiet_NaN(), 1000.0f, false},
             Case{"below zero", -300.0f, 1000.0f, false},
             Case{"the whole", 1000.0f, 0.0f, true},
             Case{"overkill", 1600.0f, -600.0f, true},
         }) {
        SpaceObject* monster = Monster({0.0f, 0.0f, 0.0f});
        const uint64_t id = monster->uniqueID;
        sinks.bursts.clear();
        world.ApplyDamage(monster, c.amount, nullptr, 0, {}, "", "beam");
        world.ApplyDamage(monster, c.dies ? 500.0f : 0.0f, nullptr, 0, {}, "", "beam");  // ignored once dead
        EXPECT_FLOAT_EQ(Health(*monster), c.healthAfter) << c.what;
        EXPECT_EQ(ReadInt(monster->data_set, kDeathState), c.dies ? 4 : 0) << c.what;
        EXPECT_EQ(sinks.bursts.size(), c.dies ? 3u : 0u) << c.what;
        Step();
        EXPECT_EQ(TimesDestroyed(id), c.dies ? 1u : 0u) << c.what;
        if (!c.dies)
            world.DeleteSpaceObject(id);
    }
}

TEST_F(MonsterTest, healing_stays_within_zero_and_the_maximum_and_comes_every_two_seconds)
{
    SpaceObject* monster = Monster();
    ObjectDataBlob& blob = monster->data_set;
    WriteFloat(blob, kMonsterHealth, -500.0f);
    Step();
    EXPECT_FLOAT_EQ(Health(*monster), 0.0f);
    WriteFloat(blob, kMonsterHealth, 950.0f);
    Step(59);  // the next heal is due at tick 60
    EXPECT_FLOAT_EQ(Health(*monster), 950.0f);
    Step(15);
    EXPECT_FLOAT_EQ(Health(*monster), 1000.0f);
}

TEST_F(MonsterTest, a_monster_sets_off_mines_nearer_than_five_hundred_in_its_name)
{
    Monster();
    for (float distance : {499.0f, 500.0f})
        Make("behav_mine", "danger_1a", {0.0f, 0.0f, distance}, 0.0f, SpaceObject::kStaticBit);
    Step();
    ASSERT_EQ(sinks.EffectsOf("nuke"), 1u);
    EXPECT_EQ(sinks.effects[0].secondText, "Monster");
    ASSERT_EQ(world.blasts.size(), 1u);
    EXPECT_EQ(world.blasts[0].name, "Monster");
    EXPECT_NE(std::find(sinks.bursts.begin(), sinks.bursts.end(),
                        "color:#FFF; lifespan:10,30; image_cell:8; size:5;speed: 10; count:1000"),
              sinks.bursts.end());
}

}  // namespace
