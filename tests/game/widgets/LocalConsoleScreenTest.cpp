// This machine's screen as the mission's sky box function for client 0
// reaches it: the program's sky box takes the art, and without one nothing
// happens.

#include "game/widgets/LocalConsoleScreen.h"

#include "game/render/SkyBoxManager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class RecordingSkyBox : public SkyBoxManager {
public:
    void SetTexture(const std::string& name) override { names.push_back(name); }
    std::vector<std::string> names;
};

TEST(LocalConsoleScreenTest, the_sky_box_art_reaches_the_programs_sky_box_while_there_is_one)
{
    ASSERT_EQ(theSkyBox, nullptr);
    theLocalConsoleScreen.SetSkyBox("sky2");

    RecordingSkyBox sky;
    theSkyBox = &sky;
    theLocalConsoleScreen.SetSkyBox("nebula_sky");
    theSkyBox = nullptr;
    EXPECT_EQ(sky.names, std::vector<std::string>{"nebula_sky"});
}

// The comms and engineering info the widgets show: a selection starts its
// list again, a button adds to it; a new connection or a new game empties both.
TEST(LocalConsoleScreenTest, info_lists_fill_by_selection_and_button_and_empty_on_a_new_connection_or_game)
{
    using List = ConsoleScreen::InfoList;
    LocalConsoleScreen screen;
    screen.AddInfo(List::Comms, {"old", "", ""});
    screen.SelectInfo(List::Comms, {"hail", "Depot", "1"});
    screen.AddInfo(List::Comms, {"dock", "Depot", "2"});
    screen.AddInfo(List::Engineering, {"repair", "Ada", "3"});
    ASSERT_EQ(screen.Info(List::Comms).size(), 2u);
    EXPECT_EQ(screen.Info(List::Comms)[0].first, "hail");
    EXPECT_EQ(screen.Info(List::Comms)[1].first, "dock");
    EXPECT_EQ(screen.Info(List::Engineering).size(), 1u);

    screen.ClearInfoLists();
    EXPECT_TRUE(screen.Info(List::Comms).empty());
    EXPECT_TRUE(screen.Info(List::Engineering).empty());
    screen.AddInfo(List::Engineering, {"repair", "Ada", "3"});
    screen.ClearForNewWorld();
    EXPECT_TRUE(screen.Info(List::Engineering).empty());
}

}  // namespace
