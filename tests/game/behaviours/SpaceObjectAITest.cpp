#include "game/behaviours/SpaceObjectAI.h"

#include "game/world/BehaviourHookMap.h"
#include "game/world/Simulation.h"

#include <gtest/gtest.h>

namespace {

TEST(SpaceObjectAITest, every_behaviour_and_draw_hook_name_is_registered)
{
    RegisterBehaviourHooks();
    RegisterBehaviourHooks();  // start-up may call it again harmlessly
    for (const char* name : {"behav_drone", "behav_missile", "behav_npcship", "behav_playership", "behav_station",
                             "behav_monster"})
        EXPECT_TRUE(AIHookMap().IsRegistered(name)) << name;
    for (const char* name : {"behav_asteroid", "behav_playership"})
        EXPECT_TRUE(DrawHookMap().IsRegistered(name)) << name;
    EXPECT_FALSE(AIHookMap().IsRegistered("behav_mine"));
    EXPECT_FALSE(AIHookMap().IsRegistered("behav_asteroid"));
}

// The names a mission may pass: those with a behaviour and those the game
// knows objects by without one; the help text lists exactly these.
TEST(SpaceObjectAITest, the_behaviour_names_are_those_with_a_hook_and_those_known_without_one)
{
    RegisterBehaviourHooks();
    const std::vector<std::string> expected = {"behav_asteroid", "behav_drone",    "behav_mine",
                                               "behav_missile",  "behav_monster",  "behav_nebula",
                                               "behav_npcship",  "behav_pickup",   "behav_playership",
                                               "behav_selection", "behav_station"};
    EXPECT_EQ(AIHookMap().Names(), expected);
    for (const char* name : {"behav_nebula", "behav_npcship"})
        EXPECT_TRUE(AIHookMap().Knows(name)) << name;
    for (const char* name : {"npcship", "BEHAV_NPCSHIP", "behav_none", ""})
        EXPECT_FALSE(AIHookMap().Knows(name)) << name;
}

TEST(SpaceObjectAITest, objects_of_every_bound_behaviour_run_through_the_world)
{
    RegisterBehaviourHooks();
    Simulation world;
    world.Reset(true, "");
    world.paused = false;
    for (const char* name : {"behav_drone", "behav_missile", "behav_npcship", "behav_playership", "behav_station",
                             "behav_monster", "behav_mine"})
        EXPECT_NE(world.CreateSpaceObject(name, "", 0), 0u) << name;
    for (int i = 0; i < 20; ++i) {
        world.FrameUpdate();
        world.Tick();
    }
    EXPECT_EQ(world.Container()->Objects().size(), 7u);
}

}  // namespace
