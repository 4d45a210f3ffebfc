// A helm and a weapons console of the bridge widgets, drawn by the real
// graphics service on the offscreen driver with the game's own art and
// fonts. Saved as helm-console.png and weapons-console.png in the working
// folder for a person to look at.

#include "game/render/manager/RenderManager.h"
#include "game/ui/UIContext.h"
#include "game/widgets/BridgeButtons.h"
#include "game/widgets/ConsoleState.h"
#include "game/widgets/JumpControls.h"
#include "game/widgets/MainScreenControl.h"
#include "game/widgets/WeaponsWidgets.h"
#include "game/world/AppData.h"
#include "game/world/DataKey.h"
#include "game/world/ServerStringMap.h"
#include "game/world/Simulation.h"
#include "game/world/SpaceObject.h"
#include "tests/support/OffscreenGraphicsTest.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

using qeltest::Rgb;

class BridgeWidgetsDrawTest : public qeltest::OffscreenGraphicsTest {
protected:
    BridgeWidgetsDrawTest() : OffscreenGraphicsTest(kWidth, kHeight) {}

    void SetUp() override
    {
        OffscreenGraphicsTest::SetUp();
        AppData::Load();
        theUIContext = UIContext();
        theUIContext.LoadSettings();
        manager = std::make_unique<RenderManager>(SceneFunction(), &console);
        world.Reset(false, "");
        SpaceObject* ship = world.GetSpaceObject(world.CreateSpaceObject("behav_playership", "", 0));
        world.subjectID = ship->uniqueID;
        ObjectDataBlob& data = ship->data_set;
        WriteString(data, DataKey{"dock_state", "a"}, "undocked");
        WriteFloat(data, DataKey{"energy", "a"}, 800.0f);
        WriteFloat(data, DataKey{"jump_energy_cost", "a"}, 30.0f);
        WriteFloat(data, DataKey{"quick_jump_recharge_state", "a"}, 0.6f);
        WriteInt(data, DataKey{"shields_raised_flag", "a"}, 1);
        WriteInt(data, DataKey{"torpedo_tube_count", "a"}, 3);
        WriteString(data, DataKey{"torpedoTubeState", "a"}, "loaded", 0);
        WriteFloat(data, DataKey{"torpedoTubePercentLoaded", "a"}, 100.0f, 0);
        WriteString(data, DataKey{"torpedoTubeCurrentType", "a"}, "Homing", 0);
        WriteString(data, DataKey{"torpedoTubeState", "a"}, "loading", 1);
        WriteFloat(data, DataKey{"torpedoTubePercentLoaded", "a"}, 45.0f, 1);
        WriteString(data, DataKey{"torpedoTubeCurrentType", "a"}, "Nuke", 1);
        WriteString(data, DataKey{"torpedo_types_available", "a"}, "Homing,Nuke");
        WriteString(data, DataKey{"torpedo_selected_type", "a"}, "Homing");
        WriteString(data, DataKey{"torp_type_from_energy", "a"}, "Homing");
        WriteInt(data, DataKey{"energy_to_torp_cost", "a"}, 300);
        WriteInt(data, DataKey{"Homing_NUM", "a"}, 6);
        WriteInt(data, DataKey{"Homing_MAX", "a"}, 8);
        WriteInt(data, DataKey{"cur_beam_freq", "a"}, 2);
        WriteInt(data, DataKey{"cur_beam_speed_setting", "a"}, 1);
        WriteUInt64(data, DataKey{"weapon_target_UID", "a"}, ship->uniqueID);
        ServerStringMap::Instance().ApplyReceived("Homing", "gui_text: Homing; energy_conversion_value: 25");
        ServerStringMap::Instance().ApplyReceived("Nuke", "gui_text: Nuke; energy_conversion_value: 80");
        manager->jumpEffect.distance = 12.0f;
        manager->jumpEffect.distanceEdit->SetText("12");
        manager->jumpEffect.direction = 90.0f;
        manager->jumpEffect.directionEdit->SetText("90");
    }
    void TearDown() override
    {
        ServerStringMap::Instance().Clear();
        manager.reset();
        theUIContext = UIContext();
        OffscreenGraphicsTest::TearDown();
    }

    using Widget = WidgetDrawFn;
    struct Box {
        Widget widget;
        IntRect rect;
    };

    // Two frames of the console (the second shows what the first settled),
    // on black: the backdrop art lies below the layer of every fill.
    void DrawConsole(const std::vector<Box>& boxes)
    {
        for (int frame = 0; frame < 2; ++frame) {
            context.Clear();
            theUIContext.BeginFrame();
            for (Box box : boxes)
                box.widget(console, box.rect, "widget");
            theUIContext.EndFrame();
            graphics.Flush2D();
        }
        ReadScreen();
    }

    int CountDrawn(const IntRect& r) const
    {
        const Rgb backdrop = At(2, 2);
        int count = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                const Rgb c = At(x, y);
                const int difference =
                    std::abs(c[0] - backdrop[0]) + std::abs(c[1] - backdrop[1]) + std::abs(c[2] - backdrop[2]);
                count += difference > 24;
            }
        return count;
    }

    ConsoleState console;
    std::unique_ptr<RenderManager> manager;
    Simulation world;
};

TEST_F(BridgeWidgetsDrawTest, a_helm_console_shows_its_jump_main_screen_and_bridge_controls)
{
    const IntRect mainScreen{540, 380, 1004, 712};
    DrawConsole({{ViewHelmJumpDraw, {20, 20, 620, 120}},
                 {ViewQuickJumpDraw, {640, 20, 700, 320}},
                 {ViewRadarZoomCtrlDraw, {720, 20, 1004, 60}},
                 {ViewRedAlertDraw, {720, 80, 1004, 120}},
                 {ViewRequestDockDraw, {720, 140, 1004, 180}},
                 {ViewShieldControlDraw, {720, 200, 1004, 240}},
                 {ViewMainScreenControlDraw, mainScreen}});
    ASSERT_TRUE(SaveScreen("helm-console.png"));
    // The image buttons: the column of camera modes and the views' column.
    const IntPoint centre = mainScreen.Center();
    const float scale = MainScreenControlScale(mainScreen);
    const int32_t column = centre.x - static_cast<int32_t>(130 * scale);
    EXPECT_GT(CountDrawn(IntRect{column - 20, centre.y - 20, column + 20, centre.y + 20}), 100);
    const int32_t views = centre.x + static_cast<int32_t>(380 * scale);
    EXPECT_GT(CountDrawn(IntRect{views - 20, centre.y - 20, views + 20, centre.y + 20}), 100);
    // The quick jump's bar between its arrows.
    EXPECT_GT(CountDrawn(IntRect{645, 130, 695, 210}), 1000);
}

TEST_F(BridgeWidgetsDrawTest, a_weapons_console_shows_its_tubes_over_the_backdrop_and_its_beam_settings)
{
    const IntRect tubes{kWidth - 520, kHeight - 300, kWidth, kHeight};
    DrawConsole({{ViewWeaponControlDraw, tubes},
                 {ViewWeapBeamFreqDraw, {20, 20, 320, 80}},
                 {ViewWeapBeamSpeedDraw, {20, 100, 320, 160}},
                 {ViewWeapTorpConversionDraw, {20, 180, 320, 260}}});
    ASSERT_TRUE(SaveScreen("weapons-console.png"));
    // The backdrop's plating along the screen's right edge, above the rows.
    EXPECT_GT(CountDrawn(IntRect{kWidth - 12, kHeight - 200, kWidth, kHeight - 180}), 100);
    // The loaded tube's full bar.
    EXPECT_GT(CountDrawn(IntRect{tubes.left + 120, kHeight - 30, tubes.right - 120, kHeight - 10}), 4000);
}

}  // namespace
