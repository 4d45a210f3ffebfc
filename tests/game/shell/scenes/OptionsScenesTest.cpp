// The options screens on recording services, their machine settings in a
// settings file of the test's own: every option changed through its control
// or its hot key is stored and read back by a fresh start; the volumes reach
// the music and the interface at once; every screen leads back.

#include "engine/base/QelVirtualKeys.h"
#include "game/net/CorvaneClient.h"
#include "game/render/manager/RenderManager.h"
#include "game/shell/GameMusic.h"
#include "game/shell/scenes/Scenes.h"
#include "game/world/AppData.h"
#include "tests/game/shell/scenes/SceneTestFixture.h"
#include "tests/support/RecordingMusic.h"
#include "tests/support/ScopedGlobal.h"
#include "tests/support/TempFolder.h"

#include <regex>

namespace {

constexpr int32_t kLetterC = qel::vk::kLetterA + ('C' - 'A');
constexpr int32_t kLetterJ = qel::vk::kLetterA + ('J' - 'A');
constexpr int32_t kLetterM = qel::vk::kLetterA + ('M' - 'A');
constexpr int32_t kLetterN = qel::vk::kLetterA + ('N' - 'A');
constexpr int32_t kLetterP = qel::vk::kLetterA + ('P' - 'A');

class OptionsScenesTest : public SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        input.settingsOnDisk = true;
        graphics.AddBitmap("HalvexLogo", 1024, 360);
        AppData::SetSfxVolume(1.0f);
        AppData::SetGuiVolume(1.0f);
    }

    void TearDown() override
    {
        AppData::Unload();
        AppData::Load();
        SceneTest::TearDown();
    }

    std::string Stored(const char* name)
    {
        std::string value;
        input.GetRegistryValue(name, value);
        return value;
    }

    // A key pressed for one drawn frame of the scene, after one without: its answer.
    SceneFunction PressKey(SceneFunction scene, int32_t key)
    {
        Draw(scene);  // a hot key answers from the second frame that asks for it
        input.KeyDown(key);
        const SceneFunction next = Draw(scene);
        input.KeyUp(key);
        return next;
    }

    SceneFunction Click(SceneFunction scene, const std::string& label)
    {
        Draw(scene);
        const auto [x, y] = CentreOf(label);
        return ClickAt(scene, x, y);
    }

    qeltest::TempFolder settings;
    qeltest::ScopedEnv settingsFolder{"QEL_SETTINGS_DIR", settings.Path().string()};
    qeltest::RecordingMusic music;
    qeltest::ScopedGlobal<MusicControl> publishedMusic{gMusicControl, music};
};

TEST_F(OptionsScenesTest, volumes_follow_their_hot_keys_within_range_at_once_and_are_stored_when_the_screen_is_left)
{
    music.volume = 0.05f;
    AppData::SetSfxVolume(0.95f);
    AppData::SetGuiVolume(3.0f);  // a hand-edited setting
    SceneClientOptionsMode(SCENE_ENTER, shell, sceneHost);
    Draw(SceneClientOptionsMode);
    EXPECT_EQ(AppData::GuiVolume(), 1.0f) << "held within range on the first draw";

    PressKey(SceneClientOptionsMode, qel::vk::kNumpad0 + 0);  // music down
    EXPECT_EQ(music.volume, 0.0f) << "the music hears it at once, and not below silence";
    PressKey(SceneClientOptionsMode, qel::vk::kNumpad0 + 3);  // sfx up
    EXPECT_EQ(AppData::SfxVolume(), 1.0f);
    PressKey(SceneClientOptionsMode, qel::vk::kNumpad0 + 4);  // gui down
    PressKey(SceneClientOptionsMode, qel::vk::kNumpad0 + 4);
    EXPECT_NEAR(AppData::GuiVolume(), 0.8f, 1e-6f);
    PressKey(SceneClientOptionsMode, qel::vk::kNumpad0 + 1);  // music up
    EXPECT_NEAR(music.volume, 0.1f, 1e-6f);
    EXPECT_EQ(Stored("guiVolume"), "") << "the volumes are stored when the screen is left";

    SceneClientOptionsMode(SCENE_LEAVE, shell, sceneHost);
    EXPECT_EQ(Stored("ambientVolume"), "0.100000");
    EXPECT_EQ(Stored("sfxVolume"), "1.000000");
    EXPECT_EQ(Stored("guiVolume"), "0.800000");

    // The next start reads them back.
    AppData::Unload();
    AppData::Load();
    EXPECT_NEAR(AppData::GuiVolume(), 0.8f, 1e-6f);
    EXPECT_EQ(AppData::SfxVolume(), 1.0f);
    GameMusic nextStart(nullptr, [] {});
    EXPECT_NEAR(nextStart.MusicVolume(), 0.1f, 1e-6f);
}

TEST_F(OptionsScenesTest, the_music_slider_sets_the_music_volume_as_it_is_dragged)
{
    music.volume = 1.0f;
    SceneClientOptionsMode(SCENE_ENTER, shell, sceneHost);
    Draw(SceneClientOptionsMode);
    // The music row is the top one of the volume column at the right edge.
    const int32_t left = 1024 - 350, right = 1024 - 2;
    input.MoveTo(right - 5, 18);
    input.Press();
    Draw(SceneClientOptionsMode);
    input.MoveTo(left + (right - left) / 4, 18);
    Draw(SceneClientOptionsMode);
    EXPECT_LT(music.volume, 0.5f);
    EXPECT_GT(music.volume, 0.0f);
    input.Release();
    Draw(SceneClientOptionsMode);
}

TEST_F(OptionsScenesTest, the_machine_name_and_full_screen_are_stored_as_they_change_and_read_back)
{
    RenderManager view{SceneFunction()};  // hands the scene the client that takes the name
    view.ConnectNetwork(GameNetwork{client.get(), server.get()});
    sceneHost = &view;
    SceneClientOptionsMode(SCENE_ENTER, shell, sceneHost);
    EXPECT_TRUE(std::regex_match(shell.machineNameField.text, std::regex("PC-[0-9]{1,3}"))) << shell.machineNameField.text;
    EXPECT_EQ(Stored("clientMachineName"), "") << "a made-up name is not stored";

    // Typing in the box stores the name at every change.
    Draw(SceneClientOptionsMode);
    const auto [x, y] = CentreOf(shell.machineNameField.text);
    ClickAt(SceneClientOptionsMode, x, y);
    PressKey(SceneClientOptionsMode, qel::vk::kEnd);
    for (int i = 0; i < 8; ++i)
        input.TypeCode(8);  // Backspace
    input.Type("Helm");
    Draw(SceneClientOptionsMode);
    EXPECT_EQ(shell.machineNameField.text, "Helm");
    EXPECT_EQ(Stored("clientMachineName"), "Helm");
    EXPECT_EQ(client->MachineName(), "Helm");
    EXPECT_EQ(CorvaneClient::Settings::FromPreferences().machineName, "Helm") << "the next start's client";
    ui.textEntryOwner = 0;

    EXPECT_EQ(Click(SceneClientOptionsMode, "Fullscreen"), SceneClientOptionsMode);
    EXPECT_TRUE(graphics.fullScreen);
    EXPECT_EQ(Stored("SceneClientOptionsMode.fullscreen"), "on");
    Click(SceneClientOptionsMode, "Fullscreen");
    EXPECT_FALSE(graphics.fullScreen);
    EXPECT_EQ(Stored("SceneClientOptionsMode.fullscreen"), "off");

    // Entering again keeps the stored name.
    shell.machineNameField.SetText("");
    SceneClientOptionsMode(SCENE_ENTER, shell, sceneHost);
    EXPECT_EQ(shell.machineNameField.text, "Helm");
    sceneHost = nullptr;
}

TEST_F(OptionsScenesTest, an_unconnected_console_has_no_client_buttons_and_quit_stands_where_disconnect_would)
{
    SceneClientOptionsMode(SCENE_ENTER, shell, sceneHost);
    Draw(SceneClientOptionsMode);
    EXPECT_EQ(TextDrawn("Change Console"), nullptr);
    EXPECT_EQ(TextDrawn("Disconnect"), nullptr);
    const qeltest::DrawRecord* fullScreen = TextDrawn("Fullscreen");
    const qeltest::DrawRecord* quit = TextDrawn("Quit To Desktop");
    ASSERT_NE(fullScreen, nullptr);
    ASSERT_NE(quit, nullptr);
    // Two rows of 35 pixels and a gap of 6 further down.
    EXPECT_EQ(quit->box.top - fullScreen->box.top, 2 * 35 + 6);

    EXPECT_EQ(PressKey(SceneClientOptionsMode, kLetterP), SceneClientOptionsMode);
    EXPECT_EQ(graphics.closeRequests, 1) << "the program closes; the scene stays until then";
}

TEST_F(OptionsScenesTest, every_screen_leads_on_and_back_by_its_buttons_and_hot_keys)
{
    struct Case {
        const char* what;
        SceneFunction scene;
        std::function<SceneFunction()> act;
        SceneFunction expected;
    };
    SceneClientOptionsMode(SCENE_ENTER, shell, sceneHost);
    const Case cases[] = {
        {"Continue, unconnected", SceneClientOptionsMode, [&] { return Click(SceneClientOptionsMode, "Continue"); },
         SceneFirstMode},
        {"C", SceneClientOptionsMode, [&] { return PressKey(SceneClientOptionsMode, kLetterC); }, SceneFirstMode},
        {"Escape", SceneClientOptionsMode, [&] { return PressKey(SceneClientOptionsMode, qel::vk::kEscape); },
         SceneFirstMode},
        {"UI Play Options", SceneClientOptionsMode,
         [&] { return Click(SceneClientOptionsMode, "UI Play Options"); }, SceneUIPlayOptionsMode},
        {"N", SceneClientOptionsMode, [&] { return PressKey(SceneClientOptionsMode, kLetterN); },
         SceneUIPlayOptionsMode},
        {"Game Data Edit Options", SceneClientOptionsMode,
         [&] { return Click(SceneClientOptionsMode, "Game Data Edit Options"); }, SceneDevToolsMode},
        {"M", SceneClientOptionsMode, [&] { return PressKey(SceneClientOptionsMode, kLetterM); },
         SceneDevToolsMode},
        {"Back on the tools", SceneDevToolsMode, [&] { return Click(SceneDevToolsMode, "Back"); },
         SceneClientOptionsMode},
        {"C on the tools", SceneDevToolsMode, [&] { return PressKey(SceneDevToolsMode, kLetterC); },
         SceneClientOptionsMode},
        {"Escape on the tools", SceneDevToolsMode, [&] { return PressKey(SceneDevToolsMode, qel::vk::kEscape); },
         SceneClientOptionsMode},
        {"Back", SceneUIPlayOptionsMode, [&] { return Click(SceneUIPlayOptionsMode, "Back"); },
         SceneClientOptionsMode},
        {"C on UI play", SceneUIPlayOptionsMode, [&] { return PressKey(SceneUIPlayOptionsMode, kLetterC); },
         SceneClientOptionsMode},
        {"Escape on UI play", SceneUIPlayOptionsMode,
         [&] { return PressKey(SceneUIPlayOptionsMode, qel::vk::kEscape); }, SceneClientOptionsMode},
        {"Joystick", SceneUIPlayOptionsMode, [&] { return Click(SceneUIPlayOptionsMode, "Joystick"); },
         SceneJoystickTestMode},
        {"J", SceneUIPlayOptionsMode, [&] { return PressKey(SceneUIPlayOptionsMode, kLetterJ); },
         SceneJoystickTestMode},
        {"Exit", SceneJoystickTestMode, [&] { return Click(SceneJoystickTestMode, "Exit"); }, SceneUIPlayOptionsMode},
        {"Escape on set-up", SceneJoystickTestMode,
         [&] { return PressKey(SceneJoystickTestMode, qel::vk::kEscape); }, SceneUIPlayOptionsMode},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.act(), c.expected) << c.what;

    // The start screen leads there too.
    EXPECT_EQ(Click(SceneFirstMode, "Options"), SceneClientOptionsMode);
    EXPECT_FALSE(shell.optionsOpenedFromServer);
}

}  // namespace
