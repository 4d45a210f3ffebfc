// The "2dview" widget of a console drawn by the real graphics service on the
// offscreen driver: a small fixed world around the player's ship (a hostile
// ship with shields and a beam arc, an asteroid, a torpedo, a planet) over
// the radar disc, range rings and grid, copied into its box. Saved as
// view2d-console.png in the working folder for a person to look at.

#include "game/render/manager/SharedConsoleState.h"
#include "game/render/manager/RenderManager.h"
#include "game/ui/UIContext.h"
#include "game/widgets/GUIBoxManager.h"
#include "game/world/DataKey.h"
#include "game/world/Simulation.h"
#include "tests/support/GeneratedData.h"
#include "tests/support/ConsoleDrawTest.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

using qeltest::Rgb;

class View2DDrawTest : public qeltest::ConsoleDrawTest {
protected:
    View2DDrawTest() : ConsoleDrawTest(kWidth, kHeight) {}

    void SetUp() override
    {
        qeltest::LinkGeneratedData(data);
        qeltest::LinkGeneratedRadarArt(data);
        ConsoleDrawTest::SetUp();
        manager->SetRadarZoom(0.1f);
        world->SetSideRelationship("navy", "pirates", DIPLOMACY_HOSTILE);
        ship = Place("behav_playership", "tern_frigate", {0, 0, 0}, 0.0f);
        ship->side = "navy";
        world->subjectID = ship->uniqueID;
        console.consoleName = "helm";

        raider = Place("behav_npcship", "skarn_raider", {-1500, 0, 2000}, 2.4f);
        raider->side = "pirates";
        raider->data_set.SetStringByIndexString("scan", "yes", "navy", "a");
        WriteString(raider->data_set, DataKey{"name_tag", kPlayDoc}, "Raider K-7");
        WriteInt(raider->data_set, DataKey{"shields_raised_flag", kPlayDoc}, 1);
        WriteInt(raider->data_set, DataKey{"shield_count", kPlayDoc}, 2);
        for (int i = 0; i < 2; ++i) {
            WriteFloat(raider->data_set, DataKey{"shield_val", kPlayDoc}, i == 0 ? 90.0f : 20.0f, i);
            WriteFloat(raider->data_set, DataKey{"shield_max_val", kPlayDoc}, 100.0f, i);
        }
        WriteInt(raider->data_set, DataKey{"beamCount", kPlayDoc}, 1);
        WriteFloat(raider->data_set, DataKey{"beamBarrelAngle", kPlayDoc}, 0.0f);
        WriteFloat(raider->data_set, DataKey{"beamArcWidth", kPlayDoc}, 50.0f);
        WriteFloat(raider->data_set, DataKey{"beamRange", kPlayDoc}, 1500.0f);
        for (const char* channel : {"beamColorR", "beamColorA"})
            WriteFloat(raider->data_set, DataKey{channel, kPlayDoc}, 1.0f);

        Place("behav_asteroid", "asteroid_rock", {2500, 0, -1200}, 0.0f);
        SpaceObject* torpedo = Place("behav_missile", "torpedo", {600, 0, 900}, 0.5f);
        torpedo->side = "navy";
        SpaceObject* planet = Place("behav_planet", "planet", {-3500, 0, -2200}, 0.0f);
        planet->exclusion_radius = 900.0f;
        world->Container()->ReinsertMoved();
    }
    void TearDown() override
    {
        console.consoleName.clear();
        ConsoleDrawTest::TearDown();
    }

    // Pixels of the rectangle that pass the test.
    template <class Test>
    int Count(const IntRect& r, Test&& test) const
    {
        int count = 0;
        for (int y = std::max(r.top, 0); y < std::min(r.bottom, kHeight); ++y)
            for (int x = std::max(r.left, 0); x < std::min(r.right, kWidth); ++x)
                count += test(At(x, y));
        return count;
    }
    IntRect Around(int x, int y, int half) const { return {x - half, y - half, x + half, y + half}; }

    qeltest::TempFolder data;
    qeltest::ScopedEnv dataDir{"QEL_DATA_DIR", data.Path().string()};
    qeltest::TempFolder settings;
    qeltest::ScopedEnv settingsDir{"QEL_SETTINGS_DIR", settings.Path().string()};
    SpaceObject* ship = nullptr;
    SpaceObject* raider = nullptr;
};

TEST_F(View2DDrawTest, the_radar_of_a_small_world_shows_its_objects_rings_and_grid_in_their_colours)
{
    GUIBoxManager::SetBoxRects("helm", "2dview", {0, 0, 100, 100, 0, 0, 100, 100});
    input.MoveTo(-100, -100);
    ConsoleFrame("helm", {"2dview"});  // the first frame learns the view's rectangle
    ConsoleFrame("helm", {"2dview"});
    ASSERT_TRUE(SaveScreen("view2d-console.png"));

    const IntRect box =
        GUIBoxManager::BoxRectToPixels(*GUIBoxManager::FindBox("helm", "2dview"), console.boxEdit.layoutIndex);
    const IntPoint centre = box.Center();  // the own ship, 0.1 pixels per unit
    const auto red = [](const Rgb& c) { return c[0] > 70 && c[0] > 3 * std::max(c[1], c[2]); };
    const auto lit = [](const Rgb& c) { return std::max({c[0], c[1], c[2]}) > 60; };

    // The 5000 ring is red, 500 pixels out; the 3000 ring is not.
    EXPECT_GT(Count(Around(centre.x + 500, centre.y, 4), red), 3);
    EXPECT_EQ(Count(Around(centre.x + 300, centre.y + 10, 4), red), 0);
    EXPECT_GT(Count(Around(centre.x + 300, centre.y + 10, 4), lit), 3);
    // The hostile raider at (-1500, 2000) in the hostile red, its shields round it.
    const IntPoint raiderAt{centre.x - 150, centre.y - 200};
    EXPECT_GT(Count(Around(raiderAt.x, raiderAt.y, 20), red), 40);
    // Its name above it.
    EXPECT_GT(Count(IntRect{raiderAt.x - 60, raiderAt.y - 45, raiderAt.x + 60, raiderAt.y - 15}, lit), 30);
    // The torpedo and the asteroid in their colours: something drawn at each.
    EXPECT_GT(Count(Around(centre.x + 60, centre.y - 90, 8), lit), 10);
    EXPECT_GT(Count(Around(centre.x + 250, centre.y + 120, 10), lit), 10);
    // Empty space between them stays dark: the radar is no wash of colour.
    EXPECT_LT(Count(Around(centre.x + 200, centre.y - 250, 10), lit), 60);
}

TEST_F(View2DDrawTest, the_hold_menu_shows_its_title_and_buttons_over_the_radar)
{
    GUIBoxManager::SetBoxRects("helm", "2dview", {0, 0, 100, 100, 0, 0, 100, 100});
    input.MoveTo(-100, -100);
    ConsoleFrame("helm", {"2dview"});
    Render2D& radar = manager->render2D;
    radar.holdPoint = {600.0f, 300.0f};
    radar.ShowHoldMenu(ship->uniqueID, raider->uniqueID, 0, {"Raider K-7", "Hail", "Target"});
    ConsoleFrame("helm", {"2dview"});
    ASSERT_TRUE(SaveScreen("view2d-menu.png"));
    // Three rows of 50 pixels from the hold point, each a lit panel.
    const auto lit = [](const Rgb& c) { return std::max({c[0], c[1], c[2]}) > 60; };
    for (int row = 0; row < 3; ++row)
        EXPECT_GT(Count(IntRect{600, 300 + row * 50, 800, 350 + row * 50}, lit), 300) << row;
    EXPECT_LT(Count(IntRect{600, 460, 800, 500}, lit), 200) << "nothing below the last row";
}

}  // namespace
