// Sides and diplomacy: directional attitudes, tags outside diplomacy, colours,
// and the change flag that makes the server send the tables.

#include "game/world/Simulation.h"

#include <gtest/gtest.h>

namespace {

class SidesTest : public ::testing::Test {
protected:
    Simulation world;
};

TEST_F(SidesTest, an_attitude_holds_one_way_only)
{
    world.SetSideRelationship("navy", "pirates", DIPLOMACY_HOSTILE);
    EXPECT_EQ(world.GetSideRelationship("navy", "pirates"), DIPLOMACY_HOSTILE);
    EXPECT_EQ(world.GetSideRelationship("pirates", "navy"), DIPLOMACY_UNKNOWN);
    EXPECT_EQ(world.GetSideRelationship("navy", "traders"), DIPLOMACY_UNKNOWN);
    EXPECT_TRUE(world.sideTablesChanged);
    const int32_t navy = SideTables::SideKey("navy");
    ASSERT_EQ(world.sideTables.relationships.size(), 1u) << "reading a pair never set adds nothing";
    EXPECT_EQ(world.sideTables.relationships.at(navy).size(), 1u);
}

TEST_F(SidesTest, tags_outside_diplomacy_always_read_unknown)
{
    world.SetSideRelationship("#wreck", "navy", DIPLOMACY_ALLIED);
    world.SetSideRelationship("navy", "#wreck", DIPLOMACY_ALLIED);
    EXPECT_EQ(world.GetSideRelationship("#wreck", "navy"), DIPLOMACY_UNKNOWN);
    EXPECT_EQ(world.GetSideRelationship("navy", "#wreck"), DIPLOMACY_UNKNOWN);
    EXPECT_EQ(world.GetSideRelationship("", "navy"), DIPLOMACY_UNKNOWN);
}

TEST_F(SidesTest, colours_and_icons_are_kept_per_side_and_per_attitude)
{
    const std::array<glm::vec4, DIPLOMACY_MAX> defaults = world.sideTables.diplomacyColours;
    EXPECT_EQ(defaults[DIPLOMACY_UNKNOWN], glm::vec4(0.5f, 0.5f, 0.5f, 1.0f));
    EXPECT_EQ(defaults[DIPLOMACY_HOSTILE], glm::vec4(1.0f, 0.0f, 0.0f, 1.0f));
    EXPECT_FALSE(world.sideTablesChanged);

    world.SetDiplomacyColor(DIPLOMACY_ALLIED, "#0000ff");
    EXPECT_TRUE(world.sideTablesChanged);
    for (int32_t value = 0; value < DIPLOMACY_MAX; ++value)
        EXPECT_EQ(world.sideTables.diplomacyColours[value],
                  value == DIPLOMACY_ALLIED ? glm::vec4(0.0f, 0.0f, 1.0f, 1.0f) : defaults[value])
            << value;

    world.SetSideIconColor("navy", "no such colour");
    world.SetSideIconIndex("navy", 7);
    const int32_t navy = SideTables::SideKey("navy");
    EXPECT_EQ(world.sideTables.iconColours.at(navy), glm::vec4(1.0f, 0.0f, 1.0f, 1.0f)) << "unreadable: magenta";
    EXPECT_EQ(world.sideTables.iconIndexes.at(navy), 7);
}

TEST_F(SidesTest, the_tables_outlast_a_new_game)
{
    world.SetSideRelationship("navy", "pirates", DIPLOMACY_HOSTILE);
    world.Clear();
    world.Reset(true, "");
    EXPECT_EQ(world.GetSideRelationship("navy", "pirates"), DIPLOMACY_HOSTILE);
}

}  // namespace
