// The options screens and the controller set-up screen drawn by the real
// graphics service on the offscreen driver, as a connected console shows
// them, with a virtual stick attached to SDL and the game's own ship in the
// preview; checked at chosen pixels and saved as options-*.png in the
// working folder for a person to look at.

#include "engine/net/QelEnetNetworkFactoryBase.h"
#include "engine/sdl/QelSDLInputBase.h"
#include "game/net/CorvaneClient.h"
#include "game/net/CorvaneServer.h"
#include "game/render/manager/RenderManager.h"
#include "game/shell/scenes/Scenes.h"
#include "game/shell/scenes/ShellState.h"
#include "game/ui/ControllerInput.h"
#include "game/widgets/ConsoleState.h"
#include "game/world/ShipData.h"
#include "game/world/Simulation.h"
#include "tests/engine/net/LoopbackHarness.h"
#include "tests/game/ui/draw/InterfaceDrawTest.h"
#include "tests/support/GeneratedData.h"
#include "tests/support/RecordingMusic.h"
#include "tests/support/ScopedGlobal.h"

#include <memory>

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 800;

using qeltest::Rgb;

class OptionsScreensDrawTest : public qeltest::InterfaceDrawTest {
protected:
    OptionsScreensDrawTest() : InterfaceDrawTest(kWidth, kHeight) {}

    void SetUp() override
    {
        LinkData();
        ASSERT_NO_FATAL_FAILURE(InterfaceDrawTest::SetUp());
        input.settingsOnDisk = true;
        world = std::make_unique<Simulation>();
        ShipData::Instance().ClearRecords(ShipData::Instance().mainRecords);
        ShipData::Instance().LoadMain();
        SceneFirstMode(SCENE_ENTER, shell, nullptr);
        ConnectConsole();
        AttachStick();
        input.SetRegistryValue("clientMachineName", "Helm Console");
        view = std::make_unique<RenderManager>(SceneFunction(), &console);
        view->ConnectNetwork(GameNetwork{client.get(), server.get()});
        view->Setup();
    }

    void TearDown() override
    {
        view.reset();
        theControllerInput.records.clear();
        theControllerInput.controllerDisabled = false;
        sdlInput.Shutdown();
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER);
        server.reset();
        client.reset();
        RouteConsoleCommands(nullptr);
        gServer = nullptr;
        gNetworkFactory = nullptr;
        world.reset();
        ShipData::Instance().ClearRecords(ShipData::Instance().mainRecords);
        InterfaceDrawTest::TearDown();
    }

    // The game's data with the menu art and the fonts, in a folder of the
    // test's own, so the caches the preview ship makes stay out of the source tree.
    void LinkData()
    {
        qeltest::LinkGeneratedData(data);
        qeltest::LinkInterfaceArt(data, {"menu_backdrop.png", "HalvexLogo.png", "fonts"});
    }

    // A console connected over loopback: the UI play settings show only then.
    void ConnectConsole()
    {
        gNetworkFactory = &network;
        server = std::make_unique<CorvaneServer>(CorvaneServer::Settings{});
        gServer = server.get();
        server->SetWorld(world.get());
        server->StartHosting();
        ASSERT_FALSE(server->IsNetworkDown());
        CorvaneClient::Settings settings;
        settings.port = server->Port();
        client = std::make_unique<CorvaneClient>(settings);
        client->SetWorld(world.get());
        RouteConsoleCommands(client.get());
        ASSERT_TRUE(client->Connect("127.0.0.1"));
        ASSERT_TRUE(qel::test::PumpUntil([&] {
            server->FrameUpdate();
            client->FrameUpdate();
            return client->IsConnected();
        }));
    }

    // A stick with its throttle pushed and its trigger and hat held.
    void AttachStick()
    {
        // The test's window is hidden and never has the focus, which SDL
        // otherwise takes as a reason to ignore the stick.
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
        SDL_VirtualJoystickDesc description{};
        description.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        description.type = SDL_JOYSTICK_TYPE_UNKNOWN;
        description.naxes = 4;
        description.nbuttons = 12;
        description.nhats = 1;
        description.name = "Flight Yoke";
        const int index = SDL_JoystickAttachVirtualEx(&description);
        ASSERT_GE(index, 0) << SDL_GetError();
        ASSERT_TRUE(sdlInput.Initialize());
        SDL_Joystick* device = SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(index));
        ASSERT_NE(device, nullptr);
        SDL_JoystickSetVirtualAxis(device, 0, 9000);
        SDL_JoystickSetVirtualAxis(device, 1, -12000);
        SDL_JoystickSetVirtualAxis(device, 3, -26000);
        SDL_JoystickSetVirtualButton(device, 0, SDL_PRESSED);
        SDL_JoystickSetVirtualHat(device, 0, SDL_HAT_UP);
        sdlInput.Update();
        input.joysticks.push_back(sdlInput.GetJoystick(0));
        theControllerInput.records.clear();
        theControllerInput.controllerDisabled = false;
        ControllerInputRecord* record = theControllerInput.GetRecord("Flight Yoke");
        ASSERT_NE(record, nullptr);
        const char* axes[] = {"Yaw", "Pitch", "Roll", "Throttle"};
        for (int a = 0; a < 4; ++a)
            record->axisAssignments[a] = axes[a];
        record->axisSigns[1] = -1;
        record->axisDeadZones[0] = 0.1f;
        record->buttonActions[0] = "Fighter Shoot";
        record->buttonActions[1] = "Dock";
        record->buttonActions[2] = "Full Impulse";
        record->hatActions[QelJoystick::kPovUp] = "Look Forward";
        record->hatActions[QelJoystick::kPovDown] = "Look Back";
        record->mapsBuilt = false;
    }

    // One frame of the scene as the render manager draws it.
    void Frame(SceneFunction scene)
    {
        sdlInput.Update();
        context.Clear();
        theUIContext.BeginFrame();
        scene(SCENE_DRAW, shell, view.get());
        theUIContext.EndFrame();
        graphics.Flush2D();
        input.NextFrame();
    }

    // The scene entered, a frame settled, then drawn, read back and saved.
    void Shoot(SceneFunction scene, const std::string& file)
    {
        scene(SCENE_ENTER, shell, view.get());
        scene(SCENE_TICK, shell, view.get());
        Frame(scene);
        Frame(scene);
        ReadScreen();
        ASSERT_TRUE(SaveScreen(file));
    }

    // Pixels of the main colour's text in the rectangle: the label is there.
    int LabelPixels(const IntRect& rect, const glm::vec4& colour) const
    {
        return CountNear(rect, Bytes(colour), 40);
    }

    qeltest::TempFolder data;
    qeltest::ScopedEnv dataFolder{"QEL_DATA_DIR", data.Path().string()};
    qeltest::TempFolder settings;
    qeltest::ScopedEnv settingsFolder{"QEL_SETTINGS_DIR", settings.Path().string()};
    QelEnetNetworkFactoryBase network;
    std::unique_ptr<Simulation> world;  // made once the data is linked
    std::unique_ptr<CorvaneServer> server;
    std::unique_ptr<CorvaneClient> client;
    QelSDLInputBase sdlInput;
    qeltest::RecordingMusic music;
    qeltest::ScopedGlobal<MusicControl> publishedMusic{gMusicControl, music};
    ConsoleState console;  // the console's settings, fresh for each test
    std::unique_ptr<RenderManager> view;  // the views' settings and the preview ship
    ShellState shell;
};

TEST_F(OptionsScreensDrawTest, the_options_screen_shows_its_column_volumes_and_credits_in_the_gui_colours)
{
    music.volume = 0.7f;
    Shoot(SceneClientOptionsMode, "options-client.png");
    const UIContext& ui = theUIContext;
    // The column's labels in the main colour, the volumes' labels and the
    // credits in white, right of the middle.
    EXPECT_GT(LabelPixels(IntRect{4, 13, 200, 42}, ui.mainColour), 20) << "Continue";
    EXPECT_GT(CountNear(IntRect{kWidth - 600, 2, kWidth - 350, 35}, Rgb{255, 255, 255}, 30), 20) << "Music Volume";
    EXPECT_GT(CountNear(IntRect{kWidth / 2, kHeight - 200, kWidth, kHeight - 15}, Rgb{255, 255, 255}, 30), 100)
        << "credits";
}

TEST_F(OptionsScreensDrawTest, the_ui_play_options_show_every_setting_of_a_connected_console)
{
    view->navRingBrightness = 0.8f;
    view->panelOpacity = 0.9f;
    view->radarArcMode = 1;
    console.settings.helmMode = 1;
    Shoot(SceneUIPlayOptionsMode, "options-ui-play.png");
    // The label right of the brightness slider, nearly white.
    EXPECT_GT(CountNear(IntRect{310, 10 + 2 * 41, 640, 10 + 2 * 41 + 35}, Rgb{205, 205, 205}, 60), 20);
}

TEST_F(OptionsScreensDrawTest, the_controller_set_up_shows_the_stick_live_and_the_ship_it_steers)
{
    Shoot(SceneJoystickTestMode, "options-controller.png");
    // The preview ship stands right of the panel, below its top by 200.
    const IntRect preview{100 + 620 + 20, 300, kWidth - 20, kHeight - 20};
    const Rgb backdrop = At(kWidth - 30, kHeight - 30);
    int shipPixels = 0;
    for (int y = preview.top; y < preview.bottom; y += 2)
        for (int x = preview.left; x < preview.right; x += 2)
            shipPixels += Near(At(x, y), backdrop, 12) ? 0 : 1;
    EXPECT_GT(shipPixels, 500) << "the ship is drawn in the preview";
    SceneJoystickTestMode(SCENE_LEAVE, shell, view.get());
}

}  // namespace
