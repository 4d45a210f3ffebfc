// The mission host as the hosting server's script host: its tick delivers the
// queue, the mission tick and the DMX call, clients' events reach the
// mission, and what the host tells the clients arrives.

#include "tests/game/net/loopback/ServerHarness.h"
#include "tests/game/script/ScriptTestSupport.h"

#include "game/net/CorvaneClient.h"

#include <gmock/gmock.h>

namespace scripttest {
namespace {

class MissionServerTest : public nettest::ServerFixture {
protected:
    void SetUp() override
    {
        nettest::ServerFixture::SetUp();
        server->SetScriptHost(&host());
        server->SetWindowSize(1024.0f, 768.0f);
        world.SetScriptEventSink(&host());
        host().SetMessageSink(server.get());
        host().SetWorld(&world);
    }
    void TearDown() override
    {
        host().Stop();
        host().SetMessageSink(nullptr);
        host().SetWorld(nullptr);
        host().SetNetwork(GameNetwork{});
        host().eventQueue.clear();
        host().debugTreeRequests.clear();
        nettest::ServerFixture::TearDown();
    }

    // The server's ticks (1-based) at which the mission saw "mission_tick".
    std::vector<int> MissionTickTicks(CorvaneServer& hosting, int count)
    {
        std::vector<int> ticks;
        for (int tick = 1; tick <= count; ++tick) {
            hosting.Tick();
            if (Eval("len(received) and received[-1].tag") == "mission_tick") {
                ticks.push_back(tick);
                RunScript("received.clear()");
            }
        }
        return ticks;
    }

    MissionData missions;
};

TEST_F(MissionServerTest, the_mission_tick_comes_every_delay_plus_one_ticks)
{
    host().Start("echo");
    EXPECT_THAT(MissionTickTicks(*server, 93), ::testing::ElementsAre(31, 62, 93));

    host().SetMessageSink(nullptr);
    server.reset();
    CorvaneServer::Settings settings;
    settings.scriptTickDelay = 1;
    server = std::make_unique<CorvaneServer>(settings);
    server->SetScriptHost(&host());
    host().SetMessageSink(server.get());
    server->StartHosting();
    EXPECT_THAT(MissionTickTicks(*server, 8), ::testing::ElementsAre(2, 4, 6, 8));
}

TEST_F(MissionServerTest, a_tick_delivers_the_queue_then_the_mission_tick_and_debug_trees)
{
    host().Start("echo");
    host().simRunning = true;
    for (int i = 0; i < 30; ++i)
        server->Tick();
    host().eventQueue.push_back(Event("player_launches_missile"));
    host().debugTreeRequests = {"tree"};
    server->Tick();

    EXPECT_EQ(Eval("[(e.tag, e.sub_tag) for e in received]"),
              "[('player_launches_missile', ''), ('mission_tick', 'sim_running'), ('debug_rgui_tree', 'tree')]");
    EXPECT_EQ(Eval("(lambda p: (p.x, p.y))(received[1].source_point)"), "(1024.0, 768.0)");
    EXPECT_TRUE(host().eventQueue.empty());
}

TEST_F(MissionServerTest, a_connecting_console_reaches_the_mission)
{
    host().Start("echo");
    const uint64_t clientId = Connect("console");
    EXPECT_EQ(Eval("[(e.tag, e.client_id) for e in received]"),
              "[('client_connect', " + std::to_string(clientId) + ")]");
}

TEST_F(MissionServerTest, consoles_hear_of_every_start_and_stop)
{
    Connect("console");
    QelNetworkClient* console = consoles.front();
    host().Start("echo");
    host().Stop();
    // Where a code first arrived; the count of codes when it has not.
    auto position = [&](uint16_t code) -> size_t {
        const std::vector<uint16_t> codes = SignalCodes(console);
        return std::find(codes.begin(), codes.end(), code) - codes.begin();
    };
    const uint16_t stopped = MissionScript::kSignalMissionStopped;
    ASSERT_TRUE(RunFramesUntil([&] { return position(stopped) < SignalCodes(console).size(); }));
    EXPECT_LT(position(MissionScript::kSignalStringMapCommand), position(stopped));
}

TEST_F(MissionServerTest, world_events_reach_the_mission_through_the_event_sink)
{
    host().Start("echo");
    world.paused = false;
    const uint64_t target = world.CreateSpaceObject("behav_none", "", 0);
    world.ApplyDamage(world.GetSpaceObject(target), 5.0f, nullptr, 0, glm::vec3(1.0f, 2.0f, 3.0f), "beam", "hit");

    EXPECT_EQ(Eval("[(e.tag, e.sub_tag, e.selected_id, e.sub_float) for e in received]"),
              "[('damage', 'hit', " + std::to_string(target) + ", 5.0)]");
}

TEST_F(MissionServerTest, script_console_functions_reach_only_the_addressed_console)
{
    host().Start("echo");
    const uint64_t first = Connect("first");
    Connect("second");
    const uint64_t ship = world.CreateSpaceObject("behav_none", "", 0);
    RunScript("zmx.assign_client_to_ship(" + std::to_string(first) + ", " + std::to_string(ship) + ")\n"
              "zmx.pause_sim()");

    QelNetworkClient* addressed = consoles[0];
    QelNetworkClient* other = consoles[1];
    auto count = [&](QelNetworkClient* console, uint16_t code) {
        const std::vector<uint16_t> codes = SignalCodes(console);
        return std::count(codes.begin(), codes.end(), code);
    };
    ASSERT_TRUE(RunFramesUntil([&] {
        return count(addressed, SIGNAL_MESS_MY_SHIP_ID) == 1 && count(other, SIGNAL_MESS_PAUSE_STATE) == 2;
    })) << "the pause reaches every console (once on connecting, once now)";
    EXPECT_EQ(count(other, SIGNAL_MESS_MY_SHIP_ID), 0);
    for (const nettest::Received& r : received[addressed]) {
        MyShipIdSignal signal;
        if (r.code == SIGNAL_MESS_MY_SHIP_ID) {
            EXPECT_TRUE(nettest::DecodeSignal(r, signal) && signal.shipId == ship);
        }
    }
    EXPECT_EQ(server->FindClient(first)->shipId, ship);
}

TEST_F(MissionServerTest, the_server_machine_keeps_client_strings_in_its_own_console_map)
{
    CorvaneClient local(CorvaneClient::Settings{});
    local.SetWorld(&world);
    host().SetNetwork(GameNetwork{&local, server.get()});
    host().Start("echo");
    RunScript("zmx.set_client_string(0, 'callsign', 'Kestrel')\n"
              "zmx.request_client_string(0, 'callsign')\n"
              "answered = received[-1]\n"
              "zmx.request_client_string(0, 'never_set')\n"
              "unknown = received[-1]");
    EXPECT_EQ(Eval("(answered.tag, answered.sub_tag, answered.value_tag)"), "('client_string', 'callsign', 'Kestrel')")
        << "the answer came before the call returned";
    EXPECT_EQ(Eval("(unknown.sub_tag, unknown.value_tag)"), "('never_set', '')");
    EXPECT_EQ(local.stringMap.at("callsign"), "Kestrel");
    EXPECT_GT(local.saveCountdown, 0) << "kept in the console's file a little later";
    EXPECT_EQ(local.stringMap.count("never_set"), 0u);
}

}  // namespace
}  // namespace scripttest
