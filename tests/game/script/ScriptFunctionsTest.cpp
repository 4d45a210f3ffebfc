// The module functions of zmx for world control, space objects and consoles,
// and the simulation class, driven from a running mission.

#include "ScriptTestSupport.h"

#include "engine/base/QelClock.h"
#include "game/net/CorvaneServer.h"
#include "game/net/SignalMessage.h"
#include "game/world/ServerStringMap.h"
#include "tests/support/RecordingMusic.h"
#include "tests/support/ScopedGlobal.h"

#include <gmock/gmock.h>

namespace scripttest {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr uint64_t kClientA = (1ull << 63) | 5;
constexpr uint64_t kClientB = (1ull << 63) | 9;
constexpr uint64_t kClientWithoutRecord = (1ull << 63) | 77;

// What the server's own screen was asked to show.
struct RecordingScreen : ServerScreen {
    void ClearForNewWorld() override { ++newWorlds; }
    void ClearStoryDialogs() override { ++storyClears; }
    void SetConsole(const std::string& name, const std::vector<std::string>& list) override
    {
        consoleName = name;
        widgets = list;
    }
    std::string ConsoleName() const override { return consoleName; }
    bool HyperWarpShown() const override { return hyperWarpShown; }
    void ShowHyperWarp(const std::string& key) override
    {
        hyperWarpShown = true;
        hullKey = key;
    }
    void HideHyperWarp() override { hyperWarpShown = false; }
    void ShowHoldMenu(uint64_t, uint64_t, uint64_t, const std::vector<std::string>& options) override
    {
        holdOptions = options;
    }
    int newWorlds = 0;
    int storyClears = 0;
    std::string consoleName;
    std::vector<std::string> widgets;
    bool hyperWarpShown = false;
    std::string hullKey;
    std::vector<std::string> holdOptions;
};

// A running mission with two consoles on record at a server that does not
// host, and the server's own screen recorded.
class ScriptFunctionsTest : public WorldMissionTest {
protected:
    void SetUp() override
    {
        WorldMissionTest::SetUp();
        gServer = &server;
        server.SetWorld(&world);
        server.HandleClientConnect(kClientA);
        server.HandleClientConnect(kClientB);
        for (std::vector<uint64_t>& list : server.newClientLists)
            list.clear();
        host().SetServerScreen(&screen);
        sink.messages.clear();
        py::gil_scoped_acquire gil;
        py::module_::import("script").attr("sim") = zmx::WorldForScripts();
    }
    void TearDown() override
    {
        host().SetServerScreen(nullptr);
        gServer = nullptr;
        WorldMissionTest::TearDown();
    }

    std::string Id(uint64_t id) const { return std::to_string(id); }

    CorvaneServer server{CorvaneServer::Settings{}};
    RecordingScreen screen;
    qeltest::RecordingMusic music;
    qeltest::ScopedGlobal<MusicControl> publishedMusic{gMusicControl, music};
};

TEST_F(ScriptFunctionsTest, functions_sit_between_the_classes_and_the_enums_in_table_order)
{
    RunScript("names = list(zmx.__dict__)");
    const std::string order = Eval(
        "[names.index(n) for n in ('simulation', 'get_screen_size', 'broad_test', 'distance_id', 'create_new_sim',"
        " 'get_client_ID_list', 'send_client_widget_list', 'app_milliseconds', 'get_game_version',"
        " 'push_to_standby_list_id', 'run_next_mission', 'get_shared_string', 'SHPSYS')]");
    RunScript("order = " + order);
    EXPECT_EQ(Eval("order == sorted(order)"), "True") << order;
}

TEST_F(ScriptFunctionsTest, arguments_that_do_not_convert_raise_type_error)
{
    const char* statements[] = {
        "zmx.delete_object(-1)",
        "zmx.delete_object(1.0)",
        "zmx.delete_object(2**64)",
        "zmx.broad_test(0, 0, 1, 1, 65536)",
        "zmx.distance_id(ID1=1, ID2=2)",  // positional only
        "zmx.send_client_widget_rects(clientID=0, name='w', a1=0, a2=0, a3=0, a4=0, a5=0, a6=0, a7=0, a8=0)",
        "zmx.distance_point_line(None, zmx.vec3(), zmx.vec3(1, 0, 0))",
        "zmx.cinematic_control(0, 1, 0, None, 0, zmx.vec3())",
        "zmx.distance(None, obj)",
        "zmx.push_to_standby_list(None)",
        "zmx.player_ship_setup_defaults(None)",
        "zmx.player_ship_setup_from_data(None)",
        "zmx.get_game_version(1)",
        "sim.create_space_object('behav_none', '', 65536)",
        "sim.create_space_object('behav_none', '', -1)",
    };
    for (const char* statement : statements)
        EXPECT_THAT(RunError(statement), HasSubstr("TypeError")) << statement;
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(world.Container()->Objects().size(), 1u) << "nothing was created";
}

TEST_F(ScriptFunctionsTest, ids_of_the_wrong_kind_or_texts_too_long_raise_value_error_and_change_nothing)
{
    const std::string ship = Id(objectId);
    const std::string client = Id(kClientA);
    const std::string statements[] = {
        "zmx.assign_client_to_ship(" + ship + ", " + ship + ")",
        "zmx.assign_client_to_ship(" + client + ", " + client + ")",
        "zmx.assign_client_to_alt_ship(7, 0)",
        "zmx.get_ship_of_client(" + ship + ")",
        "zmx.send_speech_bubble_to_object(" + client + ", " + client + ", 1, 'red', 'hi')",
        "zmx.send_hold_menu(" + client + ", " + client + ", 0, 0, 'a')",
        "zmx.send_client_widget_list(" + ship + ", 'helm', 'a')",
        "zmx.delete_object(" + client + ")",
        "zmx.delete_object(0)",
        "zmx.distance_id(" + ship + ", 5)",
        "zmx.push_to_standby_list_id(" + client + ")",
        "sim.get_space_object(" + client + ")",
        "sim.force_update_to_clients(0, 0)",
        "zmx.set_client_string(" + client + ", 'k', 'x' * 9000)",
        "zmx.send_client_widget_list(" + client + ", 'a' * 5000, 'b' * 5000)",
        "zmx.set_shared_string('k', 'x' * 9000)",
        "zmx.set_shared_string('', 'x')",
        "zmx.set_client_string(" + client + ", '', 'x')",
        "zmx.request_client_string(0, '')",
        "sim.reposition_space_object(obj, float('nan'), 0, 0)",
    };
    for (const std::string& statement : statements)
        EXPECT_THAT(RunError(statement), HasSubstr("ValueError")) << statement;
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(server.FindClient(kClientA)->shipId, 0u);
    EXPECT_EQ(server.FindClient(kClientA)->consoleName, "");
    EXPECT_TRUE(server.pendingDestroys.empty());
    EXPECT_TRUE(world.forcedUpdates.empty());
    EXPECT_EQ(object().pos, glm::vec3(0.0f));
    EXPECT_EQ(ServerStringMap::Instance().Entries().count("k"), 0u);
}

TEST_F(ScriptFunctionsTest, pause_and_resume_keep_the_script_and_world_states_together)
{
    RunScript("zmx.pause_sim()\nzmx.pause_sim()");
    EXPECT_TRUE(world.paused);
    EXPECT_FALSE(host().simRunning);
    ASSERT_EQ(sink.messages.size(), 2u);
    for (const auto& sent : sink.messages) {
        EXPECT_EQ(Decode<PauseStateSignal>(sent).paused, 1);
        EXPECT_EQ(sent.to, 0u) << "to all clients";
        EXPECT_EQ(sent.packetFlags, ServerMessageSink::kReliable);
    }
    EXPECT_EQ(Eval("sim.is_not_paused"), "False");

    sink.messages.clear();
    RunScript("zmx.resume_sim()");
    EXPECT_FALSE(world.paused);
    EXPECT_TRUE(host().simRunning);
    EXPECT_EQ(Eval("sim.is_not_paused"), "True");
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(Decode<PauseStateSignal>(sink.messages[0]).paused, 0);
    for (const std::vector<uint64_t>& list : server.newClientLists)
        EXPECT_THAT(list, ElementsAre(kClientA, kClientB)) << "every console gets the whole world again";
    EXPECT_EQ(music.calls, std::vector<std::string>{"PlayNextMusicTrack"});
    EXPECT_EQ(screen.storyClears, 1);
}

TEST_F(ScriptFunctionsTest, a_new_sim_empties_the_world_and_keeps_the_pause_state)
{
    host().missionFolder = "missions/echo/";
    RunScript("zmx.create_new_sim()");
    EXPECT_TRUE(world.paused);
    EXPECT_TRUE(world.Container()->Objects().empty());
    EXPECT_EQ(host().missionFolder, "missions/echo/");
    EXPECT_EQ(screen.newWorlds, 1);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].code, SIGNAL_MESS_NEW_SIMULATION);
    EXPECT_EQ(Eval("(sim.time_tick_counter, sim.is_not_paused)"), "(0, False)");
    EXPECT_THAT(RunError("obj.abits"), HasSubstr("ReferenceError")) << "handles of the old world are stale";
}

TEST_F(ScriptFunctionsTest, version_screen_size_and_the_next_mission)
{
    EXPECT_EQ(Eval("zmx.get_game_version()"), "1.3.0");
    EXPECT_EQ(Eval("(lambda s: (s.x, s.y))(zmx.get_screen_size())"), "(0.0, 0.0)") << "no window on this server";
    RunScript("zmx.run_next_mission('gunnery_drill')\nzmx.run_next_mission('world_mechanics')");
    EXPECT_EQ(host().nextMission, "world_mechanics");
    // A name that holds no mission leaves the one asked for before.
    RunScript("zmx.run_next_mission('no_such_mission')");
    EXPECT_EQ(host().nextMission, "world_mechanics");
    EXPECT_TRUE(Py_IsInitialized()) << "the hand-over waits for a later frame";
}

TEST_F(ScriptFunctionsTest, clocks_count_milliseconds_with_a_32_bit_wrap)
{
    qel::ManualClock clock(0xFFFFFFFFu - 4999u);
    EXPECT_EQ(Eval("(zmx.app_milliseconds(), zmx.app_seconds())"), "(4294962296, 4294962)");
    clock.Advance(6000);
    EXPECT_EQ(Eval("(zmx.app_milliseconds(), zmx.app_seconds())"), "(1000, 1)");
    EXPECT_EQ(Eval("zmx.app_minutes() >= 0"), "True");
}

TEST_F(ScriptFunctionsTest, standby_round_trip_by_handle_and_by_id)
{
    const std::string id = Id(objectId);
    object().abits = 1;
    RunScript("zmx.push_to_standby_list(obj)");
    EXPECT_EQ(Eval("(zmx.in_standby_list(obj), zmx.in_standby_list_id(" + id + "))"), "(True, True)");
    EXPECT_EQ(Eval("(sim.get_space_object(" + id + "), len(zmx.broad_test(-1e6, -1e6, 1e6, 1e6, 65535)))"),
              "(None, 0)") << "gone from normal space";
    RunScript("zmx.push_to_standby_list_id(" + id + ")");
    ASSERT_EQ(sink.messages.size(), 2u) << "a second push tells the consoles again";
    for (const auto& sent : sink.messages) {
        EXPECT_EQ(Decode<ObjectRemovedSignal>(sent).objectId, objectId);
        EXPECT_EQ(sent.to, 0u);
        EXPECT_EQ(sent.packetFlags, ServerMessageSink::kReliable) << "a lost removal would leave the object";
    }

    RunScript("zmx.retrieve_from_standby_list_id(" + id + ")");
    EXPECT_EQ(Eval("(zmx.in_standby_list(obj), len(zmx.broad_test(-1, -1, 1, 1, 65535)))"), "(False, 1)");
    RunScript("zmx.push_to_standby_list(obj)\nzmx.retrieve_from_standby_list(obj)");
    EXPECT_EQ(Eval("zmx.in_standby_list_id(" + id + ")"), "False");
    EXPECT_EQ(sink.messages.size(), 3u) << "retrieving sends nothing";

    const std::string never = Id(objectId + 100);
    RunScript("zmx.retrieve_from_standby_list_id(" + never + ")");
    EXPECT_EQ(Eval("zmx.in_standby_list_id(" + never + ")"), "False");
}

TEST_F(ScriptFunctionsTest, broad_test_filters_by_abits_and_counts_touching_edges)
{
    object().abits = 0b0100;
    world.RepositionSpaceObject(&object(), 10.0f, 0.0f, 0.0f);
    world.FrameUpdate();
    const float edge = object().fatBox.minX;
    const std::string touching = "zmx.broad_test(" + std::to_string(edge - 5.0f) + ", -1, " + std::to_string(edge) +
                                 ", 1, 0b0110)";
    EXPECT_EQ(Eval("[o.unique_ID for o in " + touching + "]"), "[" + Id(objectId) + "]");
    EXPECT_EQ(Eval("len(zmx.broad_test(-100, -100, 100, 100, 0b0011))"), "0");
    EXPECT_EQ(Eval("len(zmx.broad_test(-100, -100, 100, 100, 0))"), "0");
    RunScript("a = zmx.broad_test(-100, -100, 100, 100, 4)\na.clear()\nb = zmx.broad_test(-100, -100, 100, 100, 4)");
    EXPECT_EQ(Eval("len(b)"), "1") << "each call gives its own list";
}

TEST_F(ScriptFunctionsTest, distances_and_deletion)
{
    const uint64_t other = world.CreateSpaceObject("behav_none", "", 0);
    world.RepositionSpaceObject(world.GetSpaceObject(other), 3.0f, 4.0f, 0.0f);
    Give("other", other);
    EXPECT_EQ(Eval("(zmx.distance(obj, other), zmx.distance_id(" + Id(objectId) + ", " + Id(other) + "))"),
              "(5.0, 5.0)");
    EXPECT_EQ(Eval("zmx.distance_id(" + Id(objectId) + ", " + Id(other + 50) + ")"), "0.0");
    EXPECT_EQ(Eval("zmx.distance_point_line(zmx.vec3(0, 5, 0), zmx.vec3(0, 0, 0), zmx.vec3(10, 0, 0))"),
              "(5.0, 5.0, 0.0)");
    EXPECT_EQ(Eval("zmx.distance_point_line(zmx.vec3(20, 0, 0), zmx.vec3(0, 0, 0), zmx.vec3(10, 0, 0))"),
              "(0.0, 20.0, 20.0)");

    RunScript("zmx.delete_object(" + Id(other) + ")");
    EXPECT_THAT(server.pendingDestroys, ElementsAre(other));
    EXPECT_EQ(Eval("zmx.distance_id(" + Id(objectId) + ", " + Id(other) + ")"), "5.0") << "gone only next frame";
}

TEST_F(ScriptFunctionsTest, console_records_are_read_and_assigned)
{
    EXPECT_EQ(Eval("zmx.get_client_ID_list()"), "[" + Id(kClientA) + ", " + Id(kClientB) + "]");
    RunScript("zmx.assign_client_to_ship(" + Id(kClientA) + ", " + Id(objectId) + ")");
    EXPECT_EQ(server.FindClient(kClientA)->shipId, objectId);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(Decode<MyShipIdSignal>(sink.messages[0]).shipId, objectId);
    EXPECT_EQ(sink.messages[0].to, kClientA);

    RunScript("zmx.assign_client_to_ship(0, " + Id(objectId) + ")");
    EXPECT_EQ(world.subjectID, objectId);
    EXPECT_EQ(sink.messages.size(), 1u) << "the server's own screen is changed in place";
    EXPECT_EQ(Eval("(zmx.get_ship_of_client(0), zmx.get_ship_of_client(" + Id(kClientA) + "), "
                   "zmx.get_ship_of_client(" + Id(kClientWithoutRecord) + "))"),
              "(" + Id(objectId) + ", " + Id(objectId) + ", 0)");

    RunScript("zmx.send_client_widget_list(" + Id(kClientB) + ", 'sci_station', 'radar^science')");
    EXPECT_EQ(server.FindClient(kClientB)->consoleName, "sci_station");
    EXPECT_TRUE(server.FindClient(kClientB)->scienceFlag);
    EXPECT_EQ(Eval("(zmx.get_type_of_client(" + Id(kClientB) + "), zmx.get_type_of_client(" +
                   Id(kClientWithoutRecord) + "))"),
              "('sci_station', 'fail')");

    RunScript("zmx.suppress_client_connect_dialog(2)");
    EXPECT_TRUE(server.suppressConnectDialog);
    RunScript("zmx.set_shared_string(key='mood', value='calm')");
    EXPECT_EQ(Eval("(zmx.get_shared_string('mood'), zmx.get_shared_string('never'))"), "('calm', '')");
}

TEST_F(ScriptFunctionsTest, each_console_function_sends_its_signal_to_the_one_client)
{
    const std::string c = Id(kClientA);
    const std::string ship = Id(objectId);
    RunScript("zmx.assign_client_to_alt_ship(" + c + ", " + ship + ")\n"
              "zmx.send_speech_bubble_to_object(" + c + ", " + ship + ", 3, 'red', 'hail')\n"
              "zmx.send_client_widget_list(" + c + ", 'helm', 'a^b')\n"
              "zmx.send_client_widget_rects(" + c + ", 'radar', 1, 2, 3, 4, 5, 6, 7, 8.5)\n"
              "zmx.query_client_widget_state(" + c + ", 'radar', 1)\n"
              "zmx.super_hyper_warp_mode(" + c + ", 'hull', 1)\n"
              "zmx.cinematic_control(" + c + ", 1, " + ship + ", zmx.vec3(1, 2, 3), 0, zmx.vec3(4, 5, 6))\n"
              "zmx.transparent_options_button(" + c + ", 1)\n"
              "zmx.request_client_string(" + c + ", 'callsign')\n"
              "zmx.set_client_string(" + c + ", 'callsign', 'Kestrel')\n"
              "zmx.send_hold_menu(" + c + ", " + ship + ", 0, 42, 'dock;hail')\n");
    ASSERT_EQ(sink.messages.size(), 11u);
    for (const auto& sent : sink.messages) {
        EXPECT_EQ(sent.to, kClientA) << sent.code;
        const bool unreliable = sent.code == SIGNAL_MESS_GUIBOX_SET_RECT;
        EXPECT_EQ(sent.packetFlags, unreliable ? ServerMessageSink::kUnreliable : ServerMessageSink::kReliable)
            << sent.code;
    }
    const auto& m = sink.messages;
    EXPECT_EQ(Decode<MyAltShipIdSignal>(m[0]).shipId, objectId);
    const SpeechBubbleSignal bubble = Decode<SpeechBubbleSignal>(m[1]);
    EXPECT_EQ(std::tie(bubble.objectId, bubble.seconds, bubble.colour, bubble.text),
              std::make_tuple(objectId, 3, std::string("red"), std::string("hail")));
    const WidgetListSignal widgets = Decode<WidgetListSignal>(m[2]);
    EXPECT_EQ(widgets.consoleType + "|" + widgets.widgetList, "helm|a^b");
    const GuiBoxSetRectSignal rects = Decode<GuiBoxSetRectSignal>(m[3]);
    EXPECT_EQ(rects.widgetName, "radar");
    EXPECT_THAT(rects.rects, ElementsAre(1, 2, 3, 4, 5, 6, 7, 8.5f));
    const WidgetBoxStateQuerySignal query = Decode<WidgetBoxStateQuerySignal>(m[4]);
    EXPECT_EQ(query.widgetName + std::to_string(query.fullScreenFlag), "radar1");
    const SuperHyperWarpSignal warp = Decode<SuperHyperWarpSignal>(m[5]);
    EXPECT_EQ(warp.shipHullKey + std::to_string(warp.onOffFlag), "hull1");
    const CinematicControlSignal camera = Decode<CinematicControlSignal>(m[6]);
    EXPECT_EQ(camera.scriptControlsCamera, 1);
    EXPECT_EQ(camera.dollyId, objectId);
    EXPECT_THAT(camera.dollyPos, ElementsAre(1, 2, 3));
    EXPECT_THAT(camera.targetPos, ElementsAre(4, 5, 6));
    EXPECT_EQ(Decode<OptionsTransparencySignal>(m[7]).onOffFlag, 1);
    EXPECT_EQ(Decode<ClientStringRequestSignal>(m[8]).key, "callsign");
    const SetClientStringSignal stored = Decode<SetClientStringSignal>(m[9]);
    EXPECT_EQ(stored.key + "=" + stored.value, "callsign=Kestrel");
    const HoldMenuSignal hold = Decode<HoldMenuSignal>(m[10]);
    EXPECT_EQ(std::tie(hold.subject, hold.object, hold.extra, hold.options),
              std::make_tuple(objectId, uint64_t{0}, uint64_t{42}, std::string("dock;hail")));
}

TEST_F(ScriptFunctionsTest, client_zero_changes_the_servers_own_screen)
{
    RunScript("zmx.send_client_widget_list(0, 'helm', 'radar^^helm_throttle')\n"
              "zmx.send_hold_menu(0, 0, 0, 0, 'dock;;hail;scan')\n"
              "zmx.super_hyper_warp_mode(0, 'first', 1)\n"
              "zmx.super_hyper_warp_mode(0, 'second', 1)\n");
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_THAT(screen.widgets, ElementsAre("radar", "helm_throttle"));
    EXPECT_EQ(Eval("zmx.get_type_of_client(0)"), "helm");
    EXPECT_THAT(screen.holdOptions, ElementsAre("dock", "hail", "scan"));
    EXPECT_EQ(screen.hullKey, "first") << "switching on again keeps the first ship";
    RunScript("zmx.super_hyper_warp_mode(0, 'third', 0)");
    EXPECT_FALSE(screen.hyperWarpShown);
}

TEST_F(ScriptFunctionsTest, the_simulation_creates_finds_and_moves_objects)
{
    RunScript("made = sim.create_space_object(aiTag='Behav_None', dataTag='', abits=1)");
    const uint64_t made = std::stoull(Eval("made"));
    ASSERT_NE(world.GetSpaceObject(made), nullptr) << "registered before the call returned";
    EXPECT_EQ(world.GetSpaceObject(made)->tick_type, "behav_none");
    EXPECT_EQ(world.GetSpaceObject(made)->abits, 1);
    EXPECT_EQ(Eval("(sim.space_object_exists(made), sim.space_object_exists(0), sim.get_space_object(0))"),
              "(True, False, None)");
    RunScript("sim.reposition_space_object(sim.get_space_object(made), 1, 2.5, -3)");
    EXPECT_EQ(world.GetSpaceObject(made)->pos, glm::vec3(1.0f, 2.5f, -3.0f));
    EXPECT_THAT(RunError("sim.reposition_space_object(None, 0, 0, 0)"), HasSubstr("TypeError"));
    RunScript("sim.force_update_to_clients(made, 0)");
    ASSERT_EQ(world.forcedUpdates.size(), 1u);
    EXPECT_EQ(world.forcedUpdates[0].spaceObjectId, made);
    EXPECT_THAT(RunError("sim.space_object_exists(spaceObjectID=made)"), HasSubstr("TypeError"));
}

TEST_F(ScriptFunctionsTest, a_player_ships_keys_are_laid_down_again)
{
    RunScript("ship = sim.get_space_object(sim.create_space_object('behav_none', 'unknown', 0))\n"
              "zmx.player_ship_setup_defaults(space_object=ship)\n"
              "zmx.player_ship_setup_from_data(ship)\n"
              "ship.data_set.set('energy', 1.0, 0)\n"
              "zmx.player_ship_setup_defaults(ship)");
    EXPECT_NE(Eval("ship.data_set.get('energy', 0)"), "1.0") << "the default energy is back";
}

}  // namespace
}  // namespace scripttest
