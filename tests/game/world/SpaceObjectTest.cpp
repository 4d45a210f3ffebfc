#include "game/world/SpaceObject.h"

#include "engine/base/QelNetworkMessage.h"
#include "game/world/BehaviourHookMap.h"
#include "game/world/Simulation.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int32_t> messages;
void RecordingHook(Simulation&, SpaceObject*, int32_t message, void*)
{
    messages.push_back(message);
}

TEST(SpaceObjectTest, names_are_stored_in_lower_case_and_hashed_so)
{
    SpaceObject ship(0, "Behav_NPCShip", "Light_Cruiser", 0, 5, 50, 11);
    EXPECT_EQ(ship.tick_type, "behav_npcship");
    EXPECT_EQ(ship.data_tag, "light_cruiser");
    EXPECT_EQ(ship.tick_type_ID, HashMessageName("behav_npcship"));
    EXPECT_EQ(ship.fatBox, PlaneBox::Around(0, 0, 11));
}

TEST(SpaceObjectTest, a_new_object_faces_forward_along_z)
{
    SpaceObject object(0, "", "", 0, 0, 0, 1);
    EXPECT_EQ(object.ForwardVector(), glm::vec3(0, 0, 1));
    EXPECT_EQ(object.RightVector(), glm::vec3(1, 0, 0));
    EXPECT_EQ(object.UpVector(), glm::vec3(0, 1, 0));
}

TEST(SpaceObjectTest, a_new_behaviour_is_told_once_and_the_same_name_again_is_ignored)
{
    static bool bound = false;
    if (!bound) {
        AIHookMap().Register("behav_test_renamed", RecordingHook);
        bound = true;
    }
    messages.clear();
    Simulation world;
    SpaceObject object(0, "behav_mine", "", 0, 0, 0, 1);
    object.SetBehavior(world, "behav_test_renamed");
    object.SetBehavior(world, "behav_test_renamed");
    EXPECT_EQ(messages, std::vector<int32_t>{kBehaviourAssigned});
    EXPECT_EQ(object.tick_type_ID, HashMessageName("behav_test_renamed"));
}

TEST(SpaceObjectTest, a_behaviour_name_set_later_is_kept_as_given)
{
    Simulation world;
    SpaceObject object(0, "behav_mine", "", 0, 0, 0, 1);
    object.SetBehavior(world, "Behav_Asteroid");
    EXPECT_EQ(object.tick_type, "Behav_Asteroid");
    EXPECT_EQ(object.tick_type_ID, HashMessageName("Behav_Asteroid"));
}

TEST(SpaceObjectTest, key_names_are_listed_once)
{
    SpaceObject object(0, "", "", 0, 0, 0, 1);
    object.AddString("hull");
    object.AddString("shields");
    object.AddString("hull");
    EXPECT_EQ(object.keyNames, (std::vector<std::string>{"hull", "shields"}));
}

}  // namespace
