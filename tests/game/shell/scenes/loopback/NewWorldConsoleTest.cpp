// A new world leaves no widget holding the old one's state. The server's own
// console plays a mission as each station (the crew clicks, scrolls
// and presses the stations' keys over every box), the mission's next mission
// starts through the console scene, and the console's widgets are then those
// of a newly made console; its choice, its box layout and the crew's presets
// stay.

#include "engine/base/QelVirtualKeys.h"
#include "game/render/manager/RenderManager.h"
#include "game/shell/MissionStart.h"
#include "game/shell/scenes/Scenes.h"
#include "game/widgets/GUIBoxManager.h"
#include "game/widgets/LocalConsoleScreen.h"
#include "tests/game/shell/MissionFolder.h"
#include "tests/game/shell/scenes/SceneTestFixture.h"

#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

class NewWorldConsoleTest : public SceneTest {
protected:
    // Frames of play at each box: enough for trackers to send and timers to run.
    static constexpr int kFramesAtBox = 4;

    void SetUp() override
    {
        SceneTest::SetUp();
        // A mission whose world is made as it starts, as a real mission's is.
        missions.data.Write("missions/bridge_drill/script.py",
                            "import zmx\n\nzmx.create_new_sim()\n\n\ndef halvex_event_handler(sim, event):\n"
                            "    pass\n");
        theMissionScript.SetServerScreen(&consoleScreen);
        client->SetConsoleScreen(&consoleScreen);
        view = std::make_unique<RenderManager>(SceneFunction(), &console);
        sceneHost = view.get();
        server->StartHosting();
        ASSERT_FALSE(server->IsNetworkDown());
    }

    void TearDown() override
    {
        sceneHost = nullptr;
        view.reset();
        theMissionScript.SetServerScreen(nullptr);
        SceneTest::TearDown();
    }

    ConsoleState& Console() { return console; }

    // The mission runs with a player ship of the host's own beside a station,
    // so that the widgets have a ship to act for and an object to list.
    void RunMission()
    {
        ASSERT_TRUE(StartMission("bridge_drill", shell.missionStartError));
        theMissionScript.simRunning = true;
        world.paused = false;
        SpaceObject* ship = world.GetSpaceObject(world.CreateSpaceObject("", "", 0));
        ship->tick_type = "behav_playership";
        world.subjectID = ship->uniqueID;
        SpaceObject* station = world.GetSpaceObject(world.CreateSpaceObject("", "", 0));
        station->tick_type = "behav_station";
        world.RepositionSpaceObject(station, 500.0f, 0.0f, 0.0f);
    }

    // The crew at each box of the console: the pointer over it, a press and a
    // release at its middle, the wheel turned, and the keys the stations use.
    void Play(const std::string& screen, const std::vector<std::string>& widgets)
    {
        consoleScreen.SetConsole(screen, widgets);
        Draw(SceneServerConsoleMode);  // boxes made, hot keys learnt
        const int32_t keys[] = {qel::vk::kSpace, qel::vk::kNext, qel::vk::kUp, qel::vk::kDigit0 + 1, qel::vk::kReturn};
        for (const std::string& widget : widgets) {
            const GUIBox* box = GUIBoxManager::FindBox(screen, widget);
            ASSERT_NE(box, nullptr) << widget;
            const IntPoint middle = GUIBoxManager::BoxRectToPixels(*box, Console().boxEdit.layoutIndex).Center();
            input.MoveTo(middle.x, middle.y);
            input.mouse.wheel = -1;
            input.Press();
            Draw(SceneServerConsoleMode);
            input.Release();
            for (int frame = 0; frame < kFramesAtBox; ++frame) {
                const int32_t key = keys[frame % std::size(keys)];
                input.milliseconds += 500;
                input.KeyDown(key);
                Draw(SceneServerConsoleMode);
                input.KeyUp(key);
                world.clock.time_tick_counter += 10;
            }
        }
        input.MoveTo(-100, -100);
    }

    static const ConsoleWidgetStates& Widgets(const ConsoleState& console) { return console; }

    MissionFolder missions;
    ConsoleState console;
    LocalConsoleScreen consoleScreen{console};  // the server's own screen
    std::unique_ptr<RenderManager> view;
};

struct Station {
    const char* screen;
    std::vector<std::string> widgets;
};

TEST_F(NewWorldConsoleTest, the_next_mission_starts_every_stations_widgets_afresh_and_keeps_the_console)
{
    const Station stations[] = {
        {"helm", {"throttle", "helm_simple", "helm_free_3d", "helm_jump", "ship_data"}},
        {"weapons", {"weapon_control", "weap_beam_freq", "science_sorted_list", "2dview"}},
        {"engineering", {"eng_power_controls", "eng_heat_controls", "eng_presets", "grid_object_list",
                         "ship_internal_view"}},
        {"science", {"science_sorted_list", "science_data_tabs", "science_data", "science_data_freq"}},
        {"comms", {"comms_sorted_list", "comms_control", "comms_waterfall"}},
        {"fighter", {"fighter_control"}},
    };
    for (const Station& station : stations) {
        SCOPED_TRACE(station.screen);
        RunMission();
        Play(station.screen, station.widgets);
        ASSERT_FALSE(Widgets(Console()) == ConsoleWidgetStates{}) << "the play left the widgets as new";
        const EngineeringValueSet presets = Console().engineeringPresets;

        theMissionScript.nextMission = "bridge_drill";
        EXPECT_EQ(SceneServerConsoleMode(SCENE_FRAME, shell, sceneHost), SceneServerRunningMode);

        EXPECT_TRUE(Widgets(Console()) == ConsoleWidgetStates{});
        EXPECT_TRUE(Console().currentScienceScanType.empty());
        EXPECT_FALSE(Console().mouseOverControl);
        EXPECT_EQ(Console().consoleName, station.screen);
        EXPECT_EQ(Console().consoleWidgetList, station.widgets);
        EXPECT_TRUE(Console().engineeringPresets == presets) << "the crew's presets are theirs, not the world's";
    }
}

}  // namespace
