// Tractor connections: a target pulled toward its point beside a source,
// following the source's turns, and let go when either end is gone.

#include "game/world/Simulation.h"

#include "SimulationTestSupport.h"
#include "game/world/ObjectId.h"

#include <glm/geometric.hpp>
#include <glm/gtc/quaternion.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

using simtest::WorldTest;

class TractorTest : public WorldTest {
protected:
    void SetUp() override
    {
        WorldTest::SetUp();
        source = Make(0, 0);
        target = Make(0, -120);
    }

    // The point the target is held at.
    glm::vec3 Goal(const glm::vec3& offset) const { return source->pos + source->rot_quat * offset; }

    SpaceObject* source = nullptr;
    SpaceObject* target = nullptr;
};

TEST_F(TractorTest, a_pull_distance_moves_the_target_that_far_each_tick_until_it_arrives)
{
    const glm::vec3 offset{0, 0, -100};
    ASSERT_NE(world.AddTractorConnection(source->uniqueID, target->uniqueID, offset, 5.0f), nullptr);
    for (int tick = 1; tick <= 3; ++tick) {
        RunTicks(1);
        EXPECT_NEAR(glm::length(target->pos - Goal(offset)), 20.0f - 5.0f * tick, 1e-4f) << tick;
    }
    RunTicks(1);
    EXPECT_EQ(target->pos, Goal(offset)) << "20 units at 5 a tick: there in four ticks";
}

TEST_F(TractorTest, no_pull_distance_locks_the_target_to_a_point_that_turns_with_the_source)
{
    const glm::vec3 offset{0, 0, 100};
    world.AddTractorConnection(source->uniqueID, target->uniqueID, offset, 0.0f);
    RunTicks(1);
    EXPECT_EQ(target->pos, glm::vec3(0, 0, 100));
    source->steer_yaw = 0.1f;  // the source keeps turning to starboard
    source->cur_speed = 3.0f;
    for (int tick = 0; tick < 12; ++tick) {
        RunTicks(1);
        EXPECT_LT(glm::length(target->pos - Goal(offset)), 1e-3f) << tick;
    }
    EXPECT_GT(target->pos.x, 50.0f) << "the point swung round with the source";
}

TEST_F(TractorTest, joining_the_same_pair_either_way_keeps_one_connection_in_its_first_direction)
{
    world.AddTractorConnection(source->uniqueID, target->uniqueID, {1, 0, 0}, 2.0f);
    TractorConnection* again = world.AddTractorConnection(target->uniqueID, source->uniqueID, {0, 0, 50}, 7.0f);
    ASSERT_EQ(world.tractorConnections.size(), 1u);
    EXPECT_EQ(again, world.GetTractorConnection(source->uniqueID, target->uniqueID));
    EXPECT_EQ(again->source_id, source->uniqueID);
    EXPECT_EQ(again->offset, glm::vec3(0, 0, 50));
    EXPECT_EQ(again->pullDistance, 7.0f);
    world.DeleteTractorConnection(target->uniqueID, source->uniqueID);
    EXPECT_TRUE(world.tractorConnections.empty());
}

TEST_F(TractorTest, a_connection_is_dropped_when_either_end_is_deleted)
{
    SpaceObject* third = Make(500, 500);
    for (const bool sourceGoes : {true, false}) {
        world.AddTractorConnection(source->uniqueID, target->uniqueID, {0, 0, 10}, 0.0f);
        SpaceObject* stays = sourceGoes ? target : source;
        world.AddTractorConnection(third->uniqueID, stays->uniqueID, {0, 0, 10}, 0.0f);
        world.DeleteSpaceObject((sourceGoes ? source : target)->uniqueID);
        EXPECT_EQ(world.tractorConnections.size(), 1u) << "source goes: " << sourceGoes;
        EXPECT_NE(world.GetTractorConnection(third->uniqueID, stays->uniqueID), nullptr);
        world.ClearTractorConnections();
        source = Make(0, 0);
        target = Make(0, -120);
    }
}

TEST_F(TractorTest, an_end_that_left_normal_space_lets_go_at_the_next_tick)
{
    world.AddTractorConnection(source->uniqueID, target->uniqueID, {0, 0, 10}, 0.0f);
    world.Container()->PushToStandby(target);
    RunTicks(1);
    EXPECT_TRUE(world.tractorConnections.empty());
    EXPECT_EQ(target->pos, glm::vec3(0, 0, -120));
}

TEST_F(TractorTest, a_static_target_is_found_at_its_new_place)
{
    SpaceObject* rock = Make(0, 5000, 0.0f, SpaceObject::kStaticBit);
    world.AddTractorConnection(source->uniqueID, rock->uniqueID, {0, 0, 30}, 0.0f);
    RunTicks(2);
    EXPECT_EQ(rock->pos, glm::vec3(0, 0, 30));
    world.Container()->Query(PlaneBox::Around(0.0f, 30.0f, 1.0f));
    const auto& found = world.Container()->QueryResults();
    EXPECT_NE(std::find(found.begin(), found.end(), rock), found.end());
}

TEST_F(TractorTest, what_cannot_be_a_connection_makes_none)
{
    const uint64_t s = source->uniqueID;
    const uint64_t t = target->uniqueID;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        const char* name;
        uint64_t source;
        uint64_t target;
        glm::vec3 offset;
        float pull;
    };
    const Case cases[] = {
        {"an_object_to_itself", s, s, {0, 0, 1}, 0.0f},
        {"no_source", 0, t, {0, 0, 1}, 0.0f},
        {"a_client_id", kClientIdBit | 501, t, {0, 0, 1}, 0.0f},
        {"an_offset_that_is_no_number", s, t, {nan, 0, 1}, 0.0f},
        {"an_endless_pull", s, t, {0, 0, 1}, std::numeric_limits<float>::infinity()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(world.AddTractorConnection(c.source, c.target, c.offset, c.pull), nullptr) << c.name;
    EXPECT_TRUE(world.tractorConnections.empty());
}

TEST_F(TractorTest, connections_outlast_a_reset_and_go_with_a_clear)
{
    world.AddTractorConnection(source->uniqueID, target->uniqueID, {0, 0, 1}, 0.0f);
    world.Reset(true, "");
    EXPECT_EQ(world.tractorConnections.size(), 1u);
    world.Clear();
    EXPECT_TRUE(world.tractorConnections.empty());
}

}  // namespace
