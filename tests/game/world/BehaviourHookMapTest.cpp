#include "game/world/BehaviourHookMap.h"

#include "engine/base/QelNetworkMessage.h"
#include "game/world/Simulation.h"
#include "game/world/SpaceObject.h"
#include "helper/QelAssert.h"

#include <gtest/gtest.h>

namespace {

int calls = 0;
void CountingHook(Simulation&, SpaceObject*, int32_t, void*)
{
    ++calls;
}

TEST(BehaviourHookMapTest, a_second_hook_under_the_same_name_asserts)
{
    BehaviourHookMap map;
    map.Register("behav_probe", CountingHook);
    EXPECT_THROW(map.Register("behav_probe", CountingHook), qel::AssertionFailure);
    EXPECT_EQ(map.Entries().size(), 1u);
}

TEST(BehaviourHookMapTest, looking_up_an_unknown_key_finds_nothing_and_adds_nothing)
{
    BehaviourHookMap map;
    map.Register("behav_probe", CountingHook);
    EXPECT_EQ(map.Find(HashMessageName("behav_mine")), nullptr);
    EXPECT_EQ(map.Find(0), nullptr);
    EXPECT_EQ(map.Find(HashMessageName("behav_probe")), &CountingHook);
    EXPECT_EQ(map.Entries().size(), 1u);
}

TEST(BehaviourHookMapTest, an_object_without_a_hook_is_never_called_back)
{
    calls = 0;
    Simulation world;
    SpaceObject rock(0, "behav_unbound_rock", "", 0, 0, 0, 1);
    const size_t before = AIHookMap().Entries().size();
    CallBehaviourHook(world, &rock, kBehaviourTick, nullptr);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(AIHookMap().Entries().size(), before);
}

}  // namespace
