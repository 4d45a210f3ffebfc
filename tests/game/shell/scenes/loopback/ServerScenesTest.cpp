// The server's screens on recording services with the fixture missions,
// hosting on a free loopback port: how a mission starts from the set-up
// scene, how the running and console scenes follow the mission's simulation
// and its next mission, and what the client list shows.

#include <algorithm>
#include <string>

#include "engine/base/QelVirtualKeys.h"
#include "game/guimodel/RetainedGUIManager.h"
#include "game/render/manager/RenderManager.h"
#include "game/shell/MissionStart.h"
#include "game/shell/RetainedWidgetKinds.h"
#include "game/shell/scenes/MissionCatalogue.h"
#include "game/shell/scenes/MissionList.h"
#include "game/shell/scenes/Scenes.h"
#include "game/shell/scenes/ServerClientList.h"
#include "game/widgets/ConsoleState.h"
#include "game/widgets/GUIBoxManager.h"
#include "game/widgets/LocalConsoleScreen.h"
#include "game/world/ObjectId.h"
#include "tests/game/shell/MissionFolder.h"
#include "tests/game/shell/scenes/SceneTestFixture.h"

namespace {

class ServerScenesTest : public SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        console = ConsoleState{};
        view = std::make_unique<RenderManager>(SceneFunction(), &console);
        view->ConnectNetwork(GameNetwork{client.get(), server.get()});
        sceneHost = view.get();
        client->SetConsoleScreen(&consoleScreen);
        server->StartHosting();
        ASSERT_FALSE(server->IsNetworkDown());
    }
    void TearDown() override
    {
        sceneHost = nullptr;
        view.reset();
        console = ConsoleState{};
        SceneTest::TearDown();
    }

    // The server's console while its mission runs, with a button of the
    // mission's own screen on it.
    void RunConsole(const std::string& screen, const std::vector<std::string>& widgets)
    {
        ASSERT_TRUE(StartMission("echo", shell.missionStartError));
        theMissionScript.simRunning = true;
        world.paused = false;
        console.consoleName = screen;
        console.consoleWidgetList = widgets;
        RetainedGUIWidget hail;
        hail.kind = retained_kind::kButton;
        hail.tag = "hail";
        hail.text = "Hail";
        hail.absolute = true;
        hail.left = 400.0f, hail.top = 300.0f, hail.right = 600.0f, hail.bottom = 340.0f;
        consoleScreen.RetainedGUI().SetBuilding(true, "");
        consoleScreen.RetainedGUI().Root().backgroundList = {hail};
        consoleScreen.RetainedGUI().SetBuilding(false, "");
    }

    MissionFolder missions;
    ConsoleState console;  // the console the scenes draw
    LocalConsoleScreen consoleScreen{console};  // the server's own screen, the client's too
    std::unique_ptr<RenderManager> view;
};

TEST_F(ServerScenesTest, a_pending_mission_starts_at_the_first_step_and_one_that_fails_is_not_tried_again)
{
    theMissionScript.missionToStart = "broken_import";
    EXPECT_EQ(SceneServerSetupMode(SCENE_FRAME, shell, sceneHost), SceneServerSetupMode);
    EXPECT_TRUE(theMissionScript.missionToStart.empty());
    Draw(SceneServerSetupMode);
    const std::string firstLine = shell.missionStartError.substr(0, shell.missionStartError.find('\n'));
    EXPECT_NE(TextDrawn(firstLine), nullptr) << firstLine;

    theMissionScript.missionToStart = "echo";
    EXPECT_EQ(SceneServerSetupMode(SCENE_FRAME, shell, sceneHost), SceneServerRunningMode);
    EXPECT_TRUE(theMissionScript.ScriptsLoaded());
    EXPECT_EQ(theMissionScript.missionToStart, "echo") << "kept until Mission Select";
}

TEST_F(ServerScenesTest, the_running_and_console_scenes_follow_the_simulation_and_the_next_mission)
{
    ASSERT_TRUE(StartMission("echo", shell.missionStartError));
    EXPECT_EQ(SceneServerRunningMode(SCENE_FRAME, shell, sceneHost), SceneServerRunningMode);
    theMissionScript.simRunning = true;
    EXPECT_EQ(SceneServerRunningMode(SCENE_FRAME, shell, sceneHost), SceneServerConsoleMode);
    EXPECT_EQ(SceneServerConsoleMode(SCENE_FRAME, shell, sceneHost), SceneServerConsoleMode);

    theMissionScript.nextMission = "echo";
    EXPECT_EQ(SceneServerConsoleMode(SCENE_FRAME, shell, sceneHost), SceneServerRunningMode) << "a start pauses the simulation";
    EXPECT_FALSE(theMissionScript.simRunning);

    theMissionScript.nextMission = "broken_import";
    EXPECT_EQ(SceneServerRunningMode(SCENE_FRAME, shell, sceneHost), SceneServerSetupMode) << "no mission runs: back to the chooser";

    theMissionScript.simRunning = false;
    EXPECT_EQ(SceneServerConsoleMode(SCENE_FRAME, shell, sceneHost), SceneServerRunningMode);
}

TEST_F(ServerScenesTest, the_servers_console_pauses_by_options_or_its_key_and_helps_until_a_console_joins)
{
    ASSERT_TRUE(StartMission("echo", shell.missionStartError));
    const auto running = [&] {
        theMissionScript.simRunning = true;
        world.paused = false;
        return SceneServerRunningMode(SCENE_FRAME, shell, sceneHost);
    };
    ASSERT_EQ(running(), SceneServerConsoleMode);
    Draw(SceneServerConsoleMode);
    const std::vector<qeltest::DrawRecord> texts = graphics.Of(qeltest::DrawRecord::Kind::Text);
    const auto helps = [](const qeltest::DrawRecord& text) {
        return text.text.rfind("Congratulations on installing and starting a server", 0) == 0;
    };
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), helps));

    const auto [x, y] = CentreOf("Options");
    ClickAt(SceneServerConsoleMode, x, y);
    EXPECT_FALSE(theMissionScript.simRunning);
    EXPECT_TRUE(world.paused);
    EXPECT_EQ(SceneServerConsoleMode(SCENE_FRAME, shell, sceneHost), SceneServerRunningMode);

    running();
    input.KeyDown(qel::vk::kLetterA + ('O' - 'A'));
    Draw(SceneServerConsoleMode);
    EXPECT_FALSE(theMissionScript.simRunning) << "the hot key pauses too";

    server->HandleClientConnect(kClientIdBit | 7);
    running();
    Draw(SceneServerConsoleMode);
    const std::vector<qeltest::DrawRecord> crewed = graphics.Of(qeltest::DrawRecord::Kind::Text);
    EXPECT_FALSE(std::any_of(crewed.begin(), crewed.end(), helps));
}

// Under the network statistics (F9) the server's console keeps only its 3D
// views: its other widgets, the mission's screen and "Options" give way, so
// every click there is the statistics'. The key still pauses.
TEST_F(ServerScenesTest, under_the_network_statistics_the_console_keeps_only_its_3d_views)
{
    RunConsole("server_screen", {"3dview", "throttle"});
    Draw(SceneServerConsoleMode);
    EXPECT_NE(TextDrawn("Hail"), nullptr);
    EXPECT_NE(TextDrawn("Options"), nullptr);
    EXPECT_NE(GUIBoxManager::FindBox("server_screen", "throttle"), nullptr);

    view->netStatsOverlayMode = 1;
    console.consoleName = "server_screen_under_statistics";
    Draw(SceneServerConsoleMode);
    EXPECT_EQ(TextDrawn("Hail"), nullptr);
    EXPECT_EQ(TextDrawn("Options"), nullptr);
    EXPECT_NE(GUIBoxManager::FindBox(console.consoleName, "3dview"), nullptr);
    EXPECT_EQ(GUIBoxManager::FindBox(console.consoleName, "throttle"), nullptr);
    input.KeyDown(qel::vk::kLetterA + ('O' - 'A'));
    Draw(SceneServerConsoleMode);
    EXPECT_FALSE(theMissionScript.simRunning) << "the hot key pauses";

    theMissionScript.simRunning = true;
    Draw(SceneServerRunningMode);
    EXPECT_EQ(TextDrawn("Hail"), nullptr) << "the paused screens give way too";
}

// With the mission's transparent button, or while the main view shows its
// cinematic camera, "Options" shows only under the pointer; a click there
// still pauses.
TEST_F(ServerScenesTest, a_transparent_or_cinematic_options_button_shows_only_under_the_pointer)
{
    RunConsole("server_screen", {});
    const struct {
        const char* what;
        bool transparent;
        const char* cameraMode;
    } cases[] = {{"made transparent", true, "chase"}, {"a cinematic camera", false, "cinematic"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        theMissionScript.simRunning = true;
        view->transparentOptionsButton = c.transparent;
        view->cam_mode = c.cameraMode;
        input.MoveTo(600, 400);
        Draw(SceneServerConsoleMode);
        EXPECT_EQ(TextDrawn("Options"), nullptr);
        ClickAt(SceneServerConsoleMode, 100, 18);
        EXPECT_FALSE(theMissionScript.simRunning);
    }
}

TEST_F(ServerScenesTest, mission_select_returns_to_the_chooser_and_forgets_the_pending_mission)
{
    theMissionScript.missionToStart = "echo";
    ASSERT_EQ(SceneServerSetupMode(SCENE_FRAME, shell, sceneHost), SceneServerRunningMode);
    Draw(SceneServerRunningMode);
    const auto [x, y] = CentreOf("Mission Select");
    EXPECT_EQ(ClickAt(SceneServerRunningMode, x, y), SceneServerSetupMode);
    EXPECT_TRUE(theMissionScript.missionToStart.empty());
    EXPECT_TRUE(theMissionScript.ScriptsLoaded()) << "the mission runs on until another starts";
    EXPECT_EQ(SceneServerSetupMode(SCENE_FRAME, shell, sceneHost), SceneServerSetupMode);
}

TEST_F(ServerScenesTest, the_chooser_lists_the_catalogue_and_initializes_the_ticked_mission)
{
    ScanMissions(shell.missions);
    Draw(SceneServerSetupMode);
    ASSERT_NE(TextDrawn("Tests"), nullptr);
    ASSERT_NE(TextDrawn("Keeps every event."), nullptr);
    const auto [startX, startY] = CentreOf("Initialize Mission");
    EXPECT_EQ(ClickAt(SceneServerSetupMode, startX, startY), SceneServerSetupMode) << "nothing ticked yet";

    const auto [x, y] = CentreOf("Echo");
    ClickAt(SceneServerSetupMode, x, y);
    EXPECT_EQ(shell.missionList.selectedMission, "echo");
    EXPECT_EQ(ClickAt(SceneServerSetupMode, startX, startY), SceneServerRunningMode);
    EXPECT_TRUE(theMissionScript.ScriptsLoaded());
}

// The title, the address and the heading stand right of the buttons, clear
// of each other, and each fits its box.
TEST_F(ServerScenesTest, the_chooser_header_covers_no_button_and_no_text)
{
    ScanMissions(shell.missions);
    ui.textRuns.recording = true;
    Draw(SceneServerSetupMode);
    ui.textRuns.recording = false;
    auto run = [&](const std::string& start) {
        for (const TextRun& drawn : ui.textRuns.runs) {
            if (drawn.text.rfind(start, 0) == 0)
                return drawn;
        }
        ADD_FAILURE() << start << " not drawn";
        return TextRun{};
    };
    const int32_t buttonsRight = std::max(run("Exit Server").box.right, run("System Options").box.right);
    for (const std::string header : {"Corvane Halvex Server", "IP ", "Choose Mission"})
        EXPECT_GT(run(header).ink.left, buttonsRight) << header;
    EXPECT_EQ(ui.textRuns.Faults(), "");
}

TEST_F(ServerScenesTest, a_list_taller_than_the_window_scrolls_by_bar_and_wheel_and_hides_rows_above_it)
{
    for (int i = 0; i < 20; ++i)
        missions.data.Write("missions/mission_" + std::to_string(10 + i) + "/description.yaml",
                            "Category: Long\nVisible Mission Name: Row " + std::to_string(10 + i) + "\n");
    ScanMissions(shell.missions);
    Draw(SceneServerSetupMode);
    Draw(SceneServerSetupMode);  // the second frame knows the list's height
    EXPECT_TRUE(shell.missionList.scrollBarWanted);
    EXPECT_NE(TextDrawn("Row 10"), nullptr);

    input.mouse.wheel = -120 * 4;  // four notches towards the end
    Draw(SceneServerSetupMode);
    EXPECT_NEAR(shell.missionList.scrollFraction, 1.0f - 0.48f, 1e-6f);
    EXPECT_EQ(input.mouse.wheel, 0);
    input.mouse.wheel = -120 * 5;
    Draw(SceneServerSetupMode);
    EXPECT_EQ(shell.missionList.scrollFraction, 0.0f) << "held at the end";
    Draw(SceneServerSetupMode);
    EXPECT_EQ(TextDrawn("Row 10"), nullptr) << "scrolled above the list's top";
    EXPECT_NE(TextDrawn("Row 29"), nullptr);
    const qeltest::DrawRecord* last = TextDrawn("Echo");
    ASSERT_NE(last, nullptr) << "at the end the last row is in the window";
    EXPECT_LE(last->box.bottom, 768);
}

TEST_F(ServerScenesTest, client_list_numbers_consoles_by_their_whole_id_and_slides_out_after_750_ticks)
{
    constexpr uint64_t kConsole = kClientIdBit | 1;  // 2^63 + 1
    server->HandleClientConnect(kConsole);
    server->FindClient(kConsole)->SetConsoleName("main-science");
    server->FindClient(kConsole)->idleCount = 5;
    Frame([] { DrawServerClientList(theUIContext); });
    EXPECT_NE(TextDrawn("809 !!"), nullptr);
    EXPECT_NE(TextDrawn("main-science"), nullptr);
    EXPECT_NE(TextDrawn("M S "), nullptr);

    struct Case {
        int ticks;
        bool shown;
    };
    for (const Case c : {Case{750, true}, Case{950, true}, Case{951, false}}) {
        while (server->ClientListAge() < c.ticks)
            server->Tick();
        Frame([] { DrawServerClientList(theUIContext); });
        EXPECT_EQ(TextDrawn("main-science") != nullptr, c.shown) << c.ticks;
    }
}

// When the last console leaves, its panel goes with it at once.
TEST_F(ServerScenesTest, no_empty_client_list_stays_after_the_last_console_leaves)
{
    constexpr uint64_t kConsole = kClientIdBit | 2;
    server->HandleClientConnect(kConsole);
    Frame([] { DrawServerClientList(theUIContext); });
    ASSERT_FALSE(graphics.log.empty());
    server->HandleClientDisconnect(kConsole);
    ASSERT_LT(server->ClientListAge(), 750);
    Frame([] { DrawServerClientList(theUIContext); });
    EXPECT_TRUE(graphics.log.empty());
}

}  // namespace
