// A bridge console's red flash when its ship is hit and the dissolve after a
// jump, drawn by the real graphics service on the offscreen driver over the
// console screen; checked at chosen pixels and saved as console-*.png in the
// working folder for a person to look at.

#include "engine/net/QelEnetNetworkFactoryBase.h"
#include "game/net/CorvaneClient.h"
#include "game/render/manager/RenderManager.h"
#include "game/shell/scenes/Scenes.h"
#include "game/shell/scenes/ShellState.h"
#include "game/widgets/ConsoleState.h"
#include "game/widgets/JumpControls.h"
#include "game/world/Simulation.h"
#include "tests/game/ui/draw/InterfaceDrawTest.h"
#include "tests/support/GeneratedData.h"

#include <memory>

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 640;

using qeltest::Rgb;

class ConsoleEffectsDrawTest : public qeltest::InterfaceDrawTest {
protected:
    ConsoleEffectsDrawTest() : InterfaceDrawTest(kWidth, kHeight) {}

    void SetUp() override
    {
        qeltest::LinkGeneratedData(data);
        qeltest::LinkInterfaceArt(data, {"menu_backdrop.png", "fonts"});
        ASSERT_NO_FATAL_FAILURE(InterfaceDrawTest::SetUp());
        world = std::make_unique<Simulation>();
        world->Reset(false, "");
        world->paused = false;  // the server's mission runs
        world->clock.time_tick_counter = 100;
        gNetworkFactory = &network;
        client = std::make_unique<CorvaneClient>(CorvaneClient::Settings{});
        client->SetWorld(world.get());
        RouteConsoleCommands(client.get());
        view = std::make_unique<RenderManager>(SceneFunction(), &console);
        view->ConnectNetwork(GameNetwork{client.get(), nullptr});
        view->Setup();
    }

    void TearDown() override
    {
        view.reset();
        client.reset();
        RouteConsoleCommands(nullptr);
        gNetworkFactory = nullptr;
        world.reset();
        InterfaceDrawTest::TearDown();
    }

    void Frame()
    {
        context.Clear();
        theUIContext.BeginFrame();
        SceneClientRunningMode(SCENE_DRAW, shell, view.get());
        theUIContext.EndFrame();
        graphics.Flush2D();
        input.NextFrame();
    }

    void Shoot(const std::string& file)
    {
        Frame();
        ReadScreen();
        ASSERT_TRUE(SaveScreen(file));
    }

    // The middle of the window, clear of the options button.
    const IntRect middle{kWidth / 2 - 50, kHeight / 2 - 50, kWidth / 2 + 50, kHeight / 2 + 50};

    qeltest::TempFolder data;
    qeltest::ScopedEnv dataFolder{"QEL_DATA_DIR", data.Path().string()};
    qeltest::TempFolder settings;
    qeltest::ScopedEnv settingsFolder{"QEL_SETTINGS_DIR", settings.Path().string()};
    QelEnetNetworkFactoryBase network;
    std::unique_ptr<Simulation> world;  // made once the data is linked
    std::unique_ptr<CorvaneClient> client;
    ConsoleState console;  // the console the scene draws, with its settings
    std::unique_ptr<RenderManager> view;
    ShellState shell;
};

TEST_F(ConsoleEffectsDrawTest, a_hit_washes_the_console_red_unless_the_crew_turned_the_flash_off)
{
    Shoot("console-calm.png");
    const Rgb calm = At(kWidth / 2, kHeight / 2);

    client->damageFlashLevel = 60.0f;
    Shoot("console-damage-flash.png");
    const Rgb hit = At(kWidth / 2, kHeight / 2);
    EXPECT_GT(hit[0], calm[0] + 80) << "red rises by the flash's strength";
    EXPECT_LT(hit[1], calm[1] + 10);
    EXPECT_EQ(CountNear(middle, hit, 12), middle.Width() * middle.Height()) << "evenly over the window";

    console.settings.damageFlashStyle = 1;  // "Visual: None"
    Shoot("console-no-flash.png");
    EXPECT_EQ(At(kWidth / 2, kHeight / 2), calm);
}

TEST_F(ConsoleEffectsDrawTest, after_a_jump_the_screen_is_black_and_dissolves_as_its_seconds_pass)
{
    Shoot("console-calm.png");
    const Rgb calm = At(kWidth / 2, kHeight / 2);
    StartJumpEffect(*view, 2);
    Shoot("console-jump-start.png");
    EXPECT_EQ(CountNear(IntRect{0, 0, kWidth, kHeight}, Rgb{0, 0, 0}, 2), kWidth * kHeight) << "every pixel black";

    // Near its end most bands are still black and some show the console again.
    world->clock.time_tick_counter = 100 + 59;
    for (int frame = 0; frame < 60; ++frame)
        Frame();
    Shoot("console-jump-dissolving.png");
    const int black = CountNear(IntRect{0, 0, kWidth, kHeight}, Rgb{0, 0, 0}, 2);
    EXPECT_LT(black, kWidth * kHeight);
    EXPECT_GT(black, kWidth * kHeight / 2);

    world->clock.time_tick_counter = 100 + 61;
    Shoot("console-jump-done.png");
    EXPECT_EQ(At(kWidth / 2, kHeight / 2), calm);
    EXPECT_EQ(view->jumpEffect.mode, 0);
}

// While the server has the mission paused, the console says so at the top
// of its screen, in its own colours, and says nothing once it runs again.
TEST_F(ConsoleEffectsDrawTest, a_paused_mission_is_marked_at_the_top_of_the_console)
{
    world->paused = true;
    Shoot("console-paused.png");
    const IntRect notice{kWidth / 2 - 160, 6, kWidth / 2 + 160, 40};
    const int lettering = CountNear(notice, Bytes(theUIContext.mainColour), 60);
    EXPECT_GT(lettering, 150) << "the words in the main colour";
    world->paused = false;
    Shoot("console-running.png");
    EXPECT_LT(CountNear(notice, Bytes(theUIContext.mainColour), 60), lettering / 10);
}

}  // namespace
