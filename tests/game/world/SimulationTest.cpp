#include "game/world/Simulation.h"

#include "SimulationTestSupport.h"
#include "game/world/ObjectId.h"
#include "game/world/RandomInt.h"
#include "helper/QelAssert.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using simtest::kScriptedBehaviour;
using simtest::WorldTest;

constexpr uint64_t SpaceId(uint64_t n) { return n | kSpaceObjectIdBit; }

TEST(SimulationWithoutRun, a_world_never_reset_has_no_objects_and_does_not_tick)
{
    Simulation world;
    world.paused = false;
    EXPECT_EQ(world.Container(), nullptr);
    EXPECT_EQ(world.GetSpaceObject(SpaceId(4)), nullptr);
    EXPECT_FALSE(world.SpaceObjectExists(SpaceId(4)));
    EXPECT_EQ(world.CreateSpaceObject("behav_npcship", "", 0), 0u);
    world.Tick();
    world.FrameUpdate();
    EXPECT_EQ(world.TickCount(), 0);
}

TEST(SimulationWithoutRun, the_world_is_the_global_one_and_the_timers_clock_while_it_lives)
{
    {
        Simulation world;
        EXPECT_EQ(theSimulation, &world);
        EXPECT_EQ(CurrentSimulationClock(), &world.clock);
        EXPECT_TRUE(world.paused);
    }
    EXPECT_EQ(theSimulation, nullptr);
    EXPECT_EQ(CurrentSimulationClock(), nullptr);
}

TEST_F(WorldTest, ids_start_at_four_with_the_space_bit_after_every_reset)
{
    const uint64_t first = world.CreateSpaceObject("", "", 0);
    const uint64_t second = world.CreateSpaceObject("", "", 0);
    EXPECT_EQ(first, SpaceId(4));
    EXPECT_EQ(second, SpaceId(5));
    world.Reset(true, "");
    EXPECT_EQ(world.CreateSpaceObject("", "", 0), SpaceId(4));
}

TEST(SpaceObjectIds, ids_one_and_two_are_never_issued_and_given_ids_are_kept)
{
    SuperContainerObject::SetIdCounter(0);
    SpaceObject first(0, "", "", 0, 0, 0, 1);
    EXPECT_EQ(first.uniqueID, SpaceId(3));  // the counter skips 1 and 2
    SpaceObject copied(SpaceId(77), "", "", 0, 0, 0, 1);
    EXPECT_EQ(copied.uniqueID, SpaceId(77));
    SpaceObject next(0, "", "", 0, 0, 0, 1);
    EXPECT_EQ(next.uniqueID, SpaceId(4));  // a given id leaves the counter alone
}

TEST_F(WorldTest, ids_keep_all_sixty_four_bits_in_keyed_values)
{
    const uint64_t id = world.CreateSpaceObject("", "", 0);
    SpaceObject* object = world.GetSpaceObject(id);
    object->data_set.SetUInt64("target_id", id, 0, "a");
    EXPECT_EQ(object->data_set.GetElement("target_id", 0).uintValue, id);
}

TEST_F(WorldTest, creating_an_object_sets_it_up_before_it_enters_the_registry)
{
    bool registeredDuringSetUp = true;
    hook().body = [&](SpaceObject* object, int32_t message, void*) {
        if (message == kBehaviourAssigned)
            registeredDuringSetUp = world.GetSpaceObject(object->uniqueID) != nullptr;
    };
    const uint64_t id = world.CreateSpaceObject("BEHAV_TEST_Scripted", "Some_Ship", 0);
    ASSERT_EQ(hook().calls.size(), 1u);
    EXPECT_EQ(hook().calls[0].message, kBehaviourAssigned);
    EXPECT_FALSE(registeredDuringSetUp);
    SpaceObject* object = world.GetSpaceObject(id);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->tick_type, kScriptedBehaviour);
    EXPECT_EQ(object->data_tag, "some_ship");
    EXPECT_EQ(object->pos, glm::vec3(0.0f));
    EXPECT_EQ(object->fatBox, PlaneBox::Around(0, 0, object->fat_radius));
}

TEST_F(WorldTest, a_set_up_that_clears_the_world_leaves_no_object)
{
    hook().body = [&](SpaceObject*, int32_t message, void*) {
        if (message == kBehaviourAssigned)
            world.Clear();
    };
    EXPECT_EQ(world.CreateSpaceObject(kScriptedBehaviour, "", 0), 0u);
    EXPECT_EQ(world.Container(), nullptr);
}

TEST_F(WorldTest, bad_ids_are_refused_by_assertion)
{
    EXPECT_THROW(world.GetSpaceObject(42), qel::AssertionFailure);
    EXPECT_THROW(world.SpaceObjectExists(kClientIdBit | 501), qel::AssertionFailure);
    EXPECT_EQ(world.GetSpaceObject(0), nullptr);
    EXPECT_FALSE(world.SpaceObjectExists(0));
}

TEST_F(WorldTest, reset_starts_a_new_run_and_keeps_what_only_clear_removes)
{
    world.AddPendingObject(std::make_unique<SpaceObject>(SpaceId(900), "", "", 0, 0, 0, 1));
    world.AddBlast("nuke", "", 0, 0, {}, 10, 100);
    world.AddEffectEvent("beam", "", "", 0, 0, {}, {}, 0);
    world.QueueSoundEvent("boom", {}, 0);
    world.redAlertState = 2;
    world.randomState = 1234;
    world.listRefreshFlag = false;
    world.clock.time_tick_counter = 50;
    const int32_t generation = world.Generation();
    struct CountingLog : ConsoleMessageLog {
        void Clear() override { ++clears; }
        int clears = 0;
    } log;
    world.SetConsoleMessageLog(&log);

    world.Reset(false, "");
    EXPECT_EQ(log.clears, 1) << "a new game starts with an empty message box";
    EXPECT_FALSE(world.serverFlag);
    EXPECT_EQ(world.TickCount(), 0);
    EXPECT_EQ(world.Generation(), (generation + 1) % SimulationClock::kGenerationCount);
    EXPECT_EQ(world.redAlertState, 0);
    EXPECT_TRUE(world.blasts.empty());
    EXPECT_TRUE(world.effectEvents.empty());
    EXPECT_TRUE(world.soundLastTicks.empty());
    EXPECT_TRUE(world.listRefreshFlag);
    EXPECT_EQ(world.favoriteFilter.display, "Favorite");
    EXPECT_FALSE(world.favoriteFilter.selected);
    EXPECT_EQ(world.activeFilter.display, "Active");
    EXPECT_FALSE(world.activeFilter.selected);
    EXPECT_EQ(world.pendingNewObjects.size(), 1u);
    EXPECT_EQ(world.soundEvents.size(), 1u);
    EXPECT_EQ(world.randomState, 1234);
    EXPECT_FALSE(world.paused);

    world.Clear();
    EXPECT_EQ(world.Container(), nullptr);
    EXPECT_TRUE(world.pendingNewObjects.empty());
    EXPECT_TRUE(world.soundEvents.empty());
}

TEST_F(WorldTest, timers_of_an_earlier_run_have_expired_after_two_resets)
{
    world.clock.time_tick_counter = 500;
    simulationTimer timer;
    timer.SetSeconds(10);
    EXPECT_FALSE(timer.IsExpired());
    const int32_t generation = world.Generation();
    world.Reset(true, "");
    world.Reset(true, "");
    EXPECT_EQ(world.Generation(), (generation + 2) % SimulationClock::kGenerationCount);
    EXPECT_TRUE(timer.IsExpired());
}

TEST_F(WorldTest, the_data_set_change_tick_follows_the_tick_counter)
{
    SpaceObject* object = Make(0, 0);
    world.Tick();
    world.Tick();
    EXPECT_EQ(object->data_set.ChangeTick(), world.TickCount());
    object->data_set.SetFloat("heat", 1.0f, 0, "a");
    EXPECT_EQ(object->data_set.GetElement("heat", 0).changeTick, 2);
    world.Reset(true, "");
    EXPECT_EQ(Make(0, 0)->data_set.ChangeTick(), 0);
}

TEST_F(WorldTest, repositioning_moves_the_box_and_the_tree_follows_at_the_frame_step)
{
    SpaceObject* object = Make(0, 0, 10.0f);
    ASSERT_TRUE(world.RepositionSpaceObject(object, 5000, 7, -300));
    EXPECT_EQ(object->pos, glm::vec3(5000, 7, -300));
    EXPECT_EQ(object->fatBox, PlaneBox::Around(5000, -300, 21.0f));
    world.FrameUpdate();
    EXPECT_EQ(world.Container()->Query(PlaneBox::Around(5000, -300, 1)), 1);
    EXPECT_EQ(world.Container()->Query(PlaneBox::Around(0, 0, 1)), 0);
}

// A mission makes an object and then places it: the tree files it in its
// place, not at the origin it was made at, so thousands of new objects do not
// pile up in one spot of the tree.
TEST_F(WorldTest, a_new_object_placed_by_its_maker_is_filed_in_its_place)
{
    const uint64_t id = world.CreateSpaceObject(simtest::kScriptedBehaviour, "", 0);
    SpaceObject* object = world.GetSpaceObject(id);
    ASSERT_NE(object, nullptr);
    ASSERT_TRUE(world.RepositionSpaceObject(object, -4000, 0, 900));
    EXPECT_EQ(world.Container()->Query(PlaneBox::Around(0, 0, 1)), 0) << "before any frame step";
    EXPECT_EQ(world.Container()->Query(PlaneBox::Around(-4000, 900, 1)), 1);
    world.FrameUpdate();
    EXPECT_EQ(world.Container()->Query(PlaneBox::Around(-4000, 900, 1)), 1);
    EXPECT_EQ(world.Container()->LeafCount(), 1);
}

TEST_F(WorldTest, repositioning_to_a_point_that_is_not_a_number_is_refused)
{
    SpaceObject* object = Make(10, 20);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(world.RepositionSpaceObject(object, nan, 0, 0));
    EXPECT_FALSE(world.RepositionSpaceObject(object, 0, std::numeric_limits<float>::infinity(), 0));
    EXPECT_EQ(object->pos, glm::vec3(10, 0, 20));
    world.Tick();  // the move's own check would end the run on a NaN
}

TEST_F(WorldTest, deleting_an_object_finds_it_in_normal_space_and_in_standby)
{
    SpaceObject* listed = Make(0, 0);
    SpaceObject* parked = Make(100, 0);
    const uint64_t listedId = listed->uniqueID;
    const uint64_t parkedId = parked->uniqueID;
    world.Container()->PushToStandby(parked);
    world.DeleteSpaceObject(listedId);
    world.DeleteSpaceObject(parkedId);
    world.DeleteSpaceObject(SpaceId(12345));
    EXPECT_FALSE(world.SpaceObjectExists(listedId));
    EXPECT_EQ(world.Container()->FindInStandby(parkedId), nullptr);
}

TEST_F(WorldTest, filter_tags_list_each_tag_once_and_never_hidden_ones)
{
    struct Case {
        const char* first;
        const char* second;
    };
    const Case calls[] = {{"alpha", "beta"}, {"alpha", "beta"}, {"gamma", "gamma"}, {"#hidden", "#secret"},
                          {"", "delta"}};
    for (const Case& c : calls)
        world.AddListFilterTags(c.first, c.second);
    ASSERT_EQ(world.firstFilterTags.size(), 1u);
    EXPECT_EQ(world.firstFilterTags[0].tag, "alpha");
    EXPECT_FALSE(world.firstFilterTags[0].fromSecondTags);
    std::vector<std::string> second;
    for (const FilterTag& tag : world.secondFilterTags) {
        second.push_back(tag.tag);
        EXPECT_TRUE(tag.fromSecondTags);
        EXPECT_EQ(tag.display, tag.tag);
    }
    EXPECT_EQ(second, (std::vector<std::string>{"beta", "gamma", "delta"}));
}

TEST_F(WorldTest, forced_updates_queue_in_order)
{
    world.ForceUpdateToClients(SpaceId(4), 0);
    world.ForceUpdateToClients(SpaceId(5), kClientIdBit | 501);
    ASSERT_EQ(world.forcedUpdates.size(), 2u);
    EXPECT_EQ(world.forcedUpdates[1].spaceObjectId, SpaceId(5));
    EXPECT_EQ(world.forcedUpdates[1].clientId, kClientIdBit | 501);
}

TEST(RandomIntTest, draws_follow_the_generator_and_stay_in_range)
{
    // The generator's first outputs from state 1 are 41, 18467, 6334.
    int32_t seed = 1;
    EXPECT_EQ(RandomInt(seed, 0, 32767), 41);
    EXPECT_EQ(RandomInt(seed, 0, 32767), 18467);
    EXPECT_EQ(RandomInt(seed, 0, 32767), 6334);
    int32_t wide = 7;
    for (int i = 0; i < 2000; ++i) {
        const int32_t value = RandomInt(wide, -3, 3);
        EXPECT_GE(value, -3);
        EXPECT_LE(value, 3);
    }
    int32_t same = 1;
    EXPECT_EQ(RandomInt(same, 5, 5), 5);
}

TEST(RandomIntTest, float_draws_scale_the_same_step_onto_their_range)
{
    // From state 0 the first draw is (2531011 >> 16) & 0x7FFF = 38.
    int32_t seed = 0;
    EXPECT_FLOAT_EQ(RandomFloat(seed, 0.0f, 1.0f), 38.0f / 32767.0f);
    EXPECT_EQ(seed, 2531011);
    // The same seed gives the same sequence, and every draw stays in range.
    int32_t a = 99, b = 99;
    for (int i = 0; i < 2000; ++i) {
        const float value = RandomFloat(a, 0.95f, 1.05f);
        EXPECT_EQ(value, RandomFloat(b, 0.95f, 1.05f));
        EXPECT_GE(value, 0.95f);
        EXPECT_LE(value, 1.05f);
    }
    int32_t flat = 3;
    EXPECT_EQ(RandomInt(flat, 3, 3), 3);
    EXPECT_EQ(RandomFloat(flat, 2.5f, 2.5f), 2.5f);
}

}  // namespace
