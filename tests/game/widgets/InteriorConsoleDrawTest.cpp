// The engineering console's interior widgets and the fighter's cockpit panel
// drawn by the real graphics service on the offscreen driver: the frigate's
// deck plan with its rooms and damage-control teams, the team list, the
// chosen team's portrait and the mission's orders; then a fighter's panel.
// Saved as interior-console.png and fighter-panel.png in the working folder
// for a person to look at.

#include "game/behaviours/PlayerShipKeys.h"
#include "game/behaviours/PlayerShipSetup.h"
#include "engine/base/QelVirtualKeys.h"
#include "game/render/DrawDataHullSilhouettes.h"
#include "game/ui/KeyVal.h"
#include "game/widgets/FighterControl.h"
#include "game/widgets/GridWidgets.h"
#include "game/widgets/LocalConsoleScreen.h"
#include "game/widgets/ShipInternalView.h"
#include "game/world/HullPathSets.h"
#include "game/world/ShipKeys.h"
#include "tests/support/ConsoleDrawTest.h"
#include "tests/support/GeneratedData.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr const char* kScreen = "engineering";

using qeltest::Rgb;

class InteriorConsoleDrawTest : public qeltest::ConsoleDrawTest {
protected:
    InteriorConsoleDrawTest() : ConsoleDrawTest(kWidth, kHeight) {}

    void SetUp() override
    {
        qeltest::LinkGeneratedData(data);
        qeltest::LinkInterfaceArt(data,
                                  {"grid-icon-sheet.png", "gradient1024.png", "faces", "allFaceFiles.txt", "fonts"});
        ConsoleDrawTest::SetUp();
        GUIBoxManager::Load(console.boxEdit);
        console.interiorView = InteriorViewState{};
        console.gridObjectList = GridObjectListState{};
        console.fighterControl = FighterControlState{};
        consoleScreen.ClearInfoLists();
        SetHullSilhouetteSource(&silhouettes);
        console.consoleName = kScreen;
    }
    void TearDown() override
    {
        console.consoleName.clear();
        consoleScreen.ClearInfoLists();
        console.interiorView = InteriorViewState{};
        console.gridObjectList = GridObjectListState{};
        console.fighterControl = FighterControlState{};
        GUIBoxManager::Load(console.boxEdit);
        ConsoleDrawTest::TearDown();
        SetHullSilhouetteSource(nullptr);
    }

    SpaceObject* MakeShip(const char* shipKey)
    {
        SpaceObject* ship = Place("behav_playership", shipKey, {0, 0, 0}, 0.0f);
        PlayerShipSetupFromData(ship);  // as the mission sets it up: the interior's colours among the rest
        world->subjectID = ship->uniqueID;
        return ship;
    }

    // The open cell nearest the one asked for (in steps over the grid).
    static IntPoint OpenCellNear(const HullPathSet& grid, int32_t column, int32_t row)
    {
        IntPoint best{-1, -1};
        int32_t bestDistance = 1 << 30;
        for (int32_t r = 0; r < grid.BuiltRows(); ++r)
            for (int32_t c = 0; c < grid.BuiltColumns(); ++c) {
                const int32_t distance = std::abs(c - column) + std::abs(r - row);
                if (grid.IsGridPointOpen(c, r) && distance < bestDistance) {
                    best = {c, r};
                    bestDistance = distance;
                }
            }
        return best;
    }

    GridObject& Put(HullPathSet& grid, const std::string& name, const std::string& type, int32_t icon,
                    const std::string& colour, IntPoint at, float scale)
    {
        GridObject& object = grid.CreateGridObject(name, "", type);
        const IntPoint cell = OpenCellNear(grid, at.x, at.y);
        for (const DataKey* key : {&gridobject::kCurX, &gridobject::kLastX})
            WriteInt(object.data_set, *key, cell.x);
        for (const DataKey* key : {&gridobject::kCurY, &gridobject::kLastY})
            WriteInt(object.data_set, *key, cell.y);
        WriteFloat(object.data_set, gridobject::kPercent, 1.0f);
        WriteInt(object.data_set, gridobject::kIconIndex, icon);
        WriteString(object.data_set, gridobject::kIconColor, colour);
        WriteFloat(object.data_set, gridobject::kIconScale, scale);
        return object;
    }

    // Pixels of the rectangle that differ from the backdrop.
    int CountLit(const IntRect& r) const
    {
        const Rgb backdrop{8, 13, 20};
        int lit = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                const Rgb c = At(x, y);
                lit += std::abs(c[0] - backdrop[0]) + std::abs(c[1] - backdrop[1]) + std::abs(c[2] - backdrop[2]) > 40;
            }
        return lit;
    }

    qeltest::TempFolder data;
    qeltest::ScopedEnv dataFolder{"QEL_DATA_DIR", data.Path().string()};
    qeltest::TempFolder settings;
    qeltest::ScopedEnv settingsFolder{"QEL_SETTINGS_DIR", settings.Path().string()};
    DrawDataHullSilhouettes silhouettes{[this](const std::string& key) -> const ObjectTypeDrawData& {
        return *manager->GetObjectTypeDrawData(key);
    }};
    LocalConsoleScreen consoleScreen{console};  // this machine's screen, filling the console
};

TEST_F(InteriorConsoleDrawTest, the_engineering_console_shows_the_deck_plan_its_teams_and_their_orders)
{
    SpaceObject* ship = MakeShip("tern_frigate");
    HullPathSet* grid = GetHullPathSet(ship->uniqueID, false);
    ASSERT_NE(grid, nullptr);
    ASSERT_TRUE(grid->HasCells());
    const int32_t w = grid->BuiltColumns(), h = grid->BuiltRows();

    // The rooms, which the list never shows.
    Put(*grid, "Bridge", "#", 128, "#8ab4d8", {w / 2, h / 8}, 1.2f);
    Put(*grid, "Sensor array", "#", 137, "#8ab4d8", {w / 2, h / 4}, 1.2f);
    Put(*grid, "Quarters", "#", 133, "#8ab4d8", {w / 4, h / 2}, 1.2f);
    Put(*grid, "Reactor", "#", 127, "#8ab4d8", {w / 2, h * 5 / 8}, 1.2f);
    Put(*grid, "Engine room", "#", 136, "#8ab4d8", {w / 2, h * 7 / 8}, 1.2f);
    // The teams and a fire.
    GridObject& engineer = Put(*grid, "Engineer Voss", "crew", 120, "#ffd24a", {w / 2 + 1, h * 5 / 8}, 1.0f);
    WriteString(engineer.data_set, gridobject::kFace,
                "backdrop #24303c 0 0;head #e6b594 0 0;uniform #c8a020 0 0;trim #e8c866 0 0;eyes white 0 0;"
                "iris #3a78b8 0 0;brows #4a2e1c 0 0;nose #e6b594 0 0;mouth #e6b594 1 0;hair #4a2e1c 0 0");
    WriteString(engineer.data_set, gridobject::kInfoText, "Reactor coolant loop.^Repairs at 60%.");
    WriteString(engineer.data_set, gridobject::kInfoTextColor, "#ffd24a");
    WriteString(engineer.data_set, gridobject::kToolTipCurText, "repairing");
    Put(*grid, "Medic Hale", "crew", 121, "#f4f4f4", {w / 4 + 1, h / 2}, 1.0f);
    Put(*grid, "Security Orr", "crew", 122, "#ff6a5a", {w / 2, h / 8 + 1}, 1.0f);
    GridObject& fire = Put(*grid, "Fire", "hazard", 124, "#ff8a1a", {w / 2, h * 3 / 8}, 1.0f);
    WriteString(fire.data_set, gridobject::kSpeechBubbleText, "Fire in the galley!");
    WriteString(fire.data_set, gridobject::kSpeechBubbleTextColor, "#b03010");
    WriteUInt64(ship->data_set, playership::kGridSelectedUID, engineer.unique_ID);

    consoleScreen.SelectInfo(ConsoleScreen::InfoList::Engineering, {"Damage control", "#35c0e8", ""});
    consoleScreen.AddInfo(ConsoleScreen::InfoList::Engineering, {"Send to the reactor", "#9ae6a0", "reactor"});
    consoleScreen.AddInfo(ConsoleScreen::InfoList::Engineering, {"Fight the fire", "#ffb070", "fire"});
    consoleScreen.AddInfo(ConsoleScreen::InfoList::Engineering, {"Return to quarters", "#a8c8ff", "rest"});

    GUIBoxManager::SetBoxRects(kScreen, "ship_internal_view", {1, 1, 60, 99, 1, 1, 60, 99});
    GUIBoxManager::SetBoxRects(kScreen, "grid_object_list", {61, 1, 99, 38, 61, 1, 99, 38});
    GUIBoxManager::SetBoxRects(kScreen, "grid_face", {61, 39, 99, 66, 61, 39, 99, 66});
    GUIBoxManager::SetBoxRects(kScreen, "grid_control", {61, 67, 99, 99, 61, 67, 99, 99});
    const std::vector<std::string> widgets{"ship_internal_view", "grid_object_list", "grid_face", "grid_control"};
    // The pointer over the engineer's cell: the tool tip names the team.
    input.MoveTo(336, 457);
    ConsoleFrame(kScreen, widgets);  // the list meets the types
    ConsoleFrame(kScreen, widgets);
    ASSERT_TRUE(SaveScreen("interior-console.png"));

    // The plan fills its box; the list, face and orders draw in theirs.
    EXPECT_GT(CountLit(IntRect{20, 20, 590, 740}), 40000);
    EXPECT_GT(CountLit(IntRect{630, 20, 1010, 280}), 2000);
    EXPECT_GT(CountLit(IntRect{630, 310, 1010, 500}), 4000) << "the portrait";
    EXPECT_GT(CountLit(IntRect{630, 520, 1010, 750}), 4000);
}

TEST_F(InteriorConsoleDrawTest, the_fighter_panel_shows_its_bars_buttons_and_keys)
{
    SpaceObject* ship = MakeShip("kestrel_fighter");
    ship->cur_speed = 6.0f;
    WriteFloat(ship->data_set, playership::kFighterBestObservedSpeed, 10.0f);
    WriteFloat(ship->data_set, shipkeys::kShieldMaxVal, 100.0f, 0);
    WriteFloat(ship->data_set, shipkeys::kShieldVal, 80.0f, 0);
    WriteFloat(ship->data_set, shipkeys::kShieldMaxVal, 100.0f, 1);
    WriteFloat(ship->data_set, shipkeys::kShieldVal, 30.0f, 1);
    WriteInt(ship->data_set, playership::kFighterBoostFlag, 1);
    // The full-3D helm's steering keys, which the panel's caption names.
    for (const auto& [name, key] : {std::pair{"steer_up", qel::vk::kUp}, std::pair{"steer_down", qel::vk::kDown},
                                    std::pair{"steer_left", qel::vk::kLeft}, std::pair{"steer_right", qel::vk::kRight},
                                    std::pair{"roll_left", qel::vk::kLetterA + ('Q' - 'A')},
                                    std::pair{"roll_right", qel::vk::kLetterA + ('E' - 'A')}})
        isHotKeyHeld("helm_free_3d", name, key, "steers the ship");
    GUIBoxManager::SetBoxRects("helm", "fighter_control", {10, 20, 90, 70, 10, 20, 90, 70});
    ConsoleFrame("helm", {"fighter_control"});  // its own hot keys take their defaults
    ConsoleFrame("helm", {"fighter_control"});
    ASSERT_TRUE(SaveScreen("fighter-panel.png"));

    // The speed bar runs across below the caption, green, 60 % of its width.
    const Rgb speed = At(kWidth / 2, kHeight * 20 / 100 + 41);
    EXPECT_GT(speed[1], 200);
    EXPECT_LT(speed[0], 60);
    EXPECT_GT(CountLit(IntRect{110, 230, 910, 530}), 20000) << "the buttons";
}

}  // namespace
