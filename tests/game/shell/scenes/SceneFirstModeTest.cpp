// The start screen on recording services: where its buttons stand, what it
// draws, and what its keys and the client button do.

#include "engine/base/QelVirtualKeys.h"
#include "game/shell/scenes/Scenes.h"
#include "game/render/manager/RenderManager.h"
#include "game/ui/ControllerInput.h"
#include "game/ui/TextLog.h"
#include "game/widgets/ConsoleState.h"
#include "tests/game/shell/scenes/SceneTestFixture.h"
#include "tests/support/RecordingMusic.h"
#include "tests/support/ScopedGlobal.h"
#include "tests/support/TempFolder.h"

#include <algorithm>
#include <optional>

namespace {

class SceneFirstModeTest : public SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        // What the screen writes goes to a folder of the test's own.
        dataFolder.emplace("QEL_DATA_DIR", data.Path().string());
        graphics.AddBitmap("HalvexLogo", 1024, 360);
        graphics.AddBitmap("menu_backdrop", 512, 512);
        SceneFirstMode(SCENE_ENTER, shell, sceneHost);
    }

    qeltest::TempFolder data;
    std::optional<qeltest::ScopedEnv> dataFolder;
};

// Those who lay out consoles find every widget a mission may name, one per
// line with its description, each time the start screen opens.
TEST_F(SceneFirstModeTest, entering_writes_the_list_of_console_widgets)
{
    const std::string list = data.Read("GUIWidgetList.txt");
    EXPECT_EQ(std::count(list.begin(), list.end(), '\n'), 41);
    EXPECT_EQ(list.rfind("2dview        draws the 2d radar showing all the space objects\n", 0), 0u);

    data.Write("GUIWidgetList.txt", "stale\n");
    SceneFirstMode(SCENE_ENTER, shell, sceneHost);
    EXPECT_EQ(data.Read("GUIWidgetList.txt"), list);
}

TEST_F(SceneFirstModeTest, the_buttons_stand_left_of_the_centre_line_three_pixels_apart)
{
    EXPECT_EQ(Draw(SceneFirstMode), SceneFirstMode);
    // The label sits 3 pixels inside its button.
    for (const auto& [label, left] : {std::pair{"Start Server", 22}, std::pair{"Start Client", 165}}) {
        const qeltest::DrawRecord* text = TextDrawn(label);
        ASSERT_NE(text, nullptr) << label;
        EXPECT_EQ(text->box.left - 3, left) << label;
        EXPECT_EQ(text->box.top - 3, 768 - 110) << label;
    }
}

TEST_F(SceneFirstModeTest, the_screen_shows_the_tag_line_the_version_and_the_logo)
{
    Draw(SceneFirstMode);
    const qeltest::DrawRecord* tagLine = TextDrawn("Take your stations. Fly as one crew.");
    ASSERT_NE(tagLine, nullptr);
    EXPECT_EQ(tagLine->align, 2);
    EXPECT_EQ(tagLine->colour, ui.mainColour);
    EXPECT_NE(TextDrawn("version 1.3.0"), nullptr);
    const std::vector<qeltest::DrawRecord> logo = graphics.From("HalvexLogo");
    ASSERT_EQ(logo.size(), 1u);
    EXPECT_EQ(logo[0].dest[0], 512.0f);
    EXPECT_EQ(logo[0].dest[1], 256.0f);
    EXPECT_EQ(logo[0].dest[2], 0.5f);
}

TEST_F(SceneFirstModeTest, f6_leaves_one_log_line_per_release_and_none_while_held)
{
    const size_t before = theConsoleLog.Count();
    input.KeyDown(qel::vk::kF1 + 5);
    for (int frame = 0; frame < 3; ++frame) {
        SceneFirstMode(SCENE_FRAME, shell, sceneHost);
        input.NextFrame();
    }
    EXPECT_EQ(theConsoleLog.Count(), before);
    input.KeyUp(qel::vk::kF1 + 5);
    SceneFirstMode(SCENE_FRAME, shell, sceneHost);
    input.NextFrame();
    SceneFirstMode(SCENE_FRAME, shell, sceneHost);
    ASSERT_EQ(theConsoleLog.Count(), before + 1);
    EXPECT_EQ(theConsoleLog.Line(theConsoleLog.Count() - 1).text, "QELKEY_F6");
}

TEST_F(SceneFirstModeTest, start_client_leads_to_the_connect_scene_ends_typing_fades_the_music_and_reads_the_helm_mode)
{
    qeltest::RecordingMusic music;
    const qeltest::ScopedGlobal<MusicControl> published(gMusicControl, music);
    input.registry["helm_mode_value"] = "1";
    ConsoleState console;
    RenderManager view(SceneFunction(), &console);  // draws for the console the scenes read into
    sceneHost = &view;
    Draw(SceneFirstMode);
    ui.textEntryOwner = 101;
    const auto [x, y] = CentreOf("Start Client");
    EXPECT_EQ(ClickAt(SceneFirstMode, x, y), SceneClientConnectMode);
    EXPECT_EQ(ui.textEntryOwner, 0);
    EXPECT_EQ(music.calls, std::vector<std::string>{"FadeOutMusic"});
    EXPECT_EQ(console.settings.helmMode, 1) << "a console takes the stored helm mode too";
}

TEST_F(SceneFirstModeTest, controllers_are_read_only_when_the_setting_is_exactly_yes)
{
    struct Case {
        std::optional<std::string> stored;
        bool disabled;
    };
    for (const Case& c : {Case{std::nullopt, true}, Case{"Yes", true}, Case{"yes ", true}, Case{"yes", false}}) {
        theControllerInput.controllerDisabled = false;
        input.registry.erase("joystick_enabled_flag");
        if (c.stored)
            input.registry["joystick_enabled_flag"] = *c.stored;
        SceneFirstMode(SCENE_ENTER, shell, sceneHost);
        EXPECT_EQ(theControllerInput.controllerDisabled, c.disabled) << c.stored.value_or("(none)");
    }
    theControllerInput.controllerDisabled = false;
}

TEST_F(SceneFirstModeTest, a_missing_menu_backdrop_leaves_the_tint_alone_over_the_window)
{
    SceneClientConnectMode(SCENE_ENTER, shell, sceneHost);
    Draw(SceneClientConnectMode);
    ASSERT_FALSE(graphics.Quads("menu_backdrop").empty());

    graphics.available.erase("menu_backdrop");
    graphics.bitmaps.erase("menu_backdrop");
    shell.backdrop.image = nullptr;
    ui = UIContext();
    theUIContext.LoadSettings();
    SceneFirstMode(SCENE_ENTER, shell, sceneHost);
    EXPECT_EQ(shell.backdrop.image, nullptr);
    Draw(SceneClientConnectMode);
    const std::vector<qeltest::DrawRecord> tint =
        graphics.Where([](const qeltest::DrawRecord& record) { return record.layer == 995; });
    ASSERT_EQ(tint.size(), 1u);
    EXPECT_EQ(tint[0].source, "smallWhite");
    EXPECT_EQ(tint[0].Right(), 1024.0f);
    EXPECT_EQ(tint[0].Bottom(), 768.0f);
    EXPECT_EQ(tint[0].colour, shell.backdrop.colour);
}

}  // namespace
