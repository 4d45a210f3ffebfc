// The render manager over real ENet sockets on loopback: the world's sounds
// passed on to the consoles that hear them (a beam's hull hit among them), a
// console's window size and box
// reports reaching the mission on the server, and the server's operator
// renaming a console from the network statistics.

#include "game/render/manager/RenderManager.h"

#include "game/net/ConsoleScreen.h"
#include "game/net/CorvaneClient.h"
#include "game/render/manager/CounterPanelOverlay.h"
#include "game/ui/UIContext.h"
#include "game/world/AppData.h"
#include "tests/game/net/loopback/ServerHarness.h"
#include "tests/support/QuietGraphics.h"
#include "tests/support/RecordingScriptHost.h"
#include "tests/support/ScriptedInput.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

SceneFunction StayingScene(SceneEvent, SceneState&, RenderManager*)
{
    return StayingScene;
}

class RenderManagerLoopbackTest : public nettest::ServerFixture {
protected:
    void SetUp() override
    {
        ServerFixture::SetUp();
        AppData::Load();
        gGraphicsFactory = &graphics;
        server->SetScriptHost(&host);
        manager = std::make_unique<RenderManager>(StayingScene);
        manager->Setup();
    }
    void TearDown() override
    {
        manager.reset();
        client.reset();
        RouteConsoleCommands(nullptr);
        server->SetScriptHost(nullptr);
        gGraphicsFactory = nullptr;
        ServerFixture::TearDown();
    }

    // A console of the game's own client, connected to the server.
    void ConnectClient()
    {
        CorvaneClient::Settings settings;
        settings.port = port;
        client = std::make_unique<CorvaneClient>(settings);
        client->SetWorld(&world);
        RouteConsoleCommands(client.get());
        manager->ConnectNetwork(GameNetwork{client.get(), nullptr});
        ASSERT_TRUE(client->Connect(qel::test::kLoopback));
        ASSERT_TRUE(RunFramesUntil([&] {
            client->FrameUpdate();
            return client->IsConnected() && !server->Clients().empty();
        }));
    }

    // A few frames of the server and the console, for traffic that should
    // not come to have had its chance.
    void RunFrames(int count)
    {
        for (int i = 0; i < count; ++i) {
            RunFramesUntil([] { return true; });
            if (client)
                client->FrameUpdate();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

    // The world sounds the console has heard so far, in order.
    std::vector<SoundEventSignal> Sounds(QelNetworkClient* console)
    {
        std::vector<SoundEventSignal> heard;
        for (const nettest::Received& r : received[console]) {
            SoundEventSignal sound;
            if (r.code == SIGNAL_MESS_SFX && nettest::DecodeSignal(r, sound))
                heard.push_back(sound);
        }
        return heard;
    }

    const EventMessage* Event(const std::string& tag) const
    {
        const auto found = std::find_if(host.events.begin(), host.events.end(),
                                        [&](const EventMessage& event) { return event.tag == tag; });
        return found == host.events.end() ? nullptr : &*found;
    }

    qeltest::QuietGraphics graphics;
    qeltest::RecordingScriptHost host;
    std::unique_ptr<RenderManager> manager;
    std::unique_ptr<CorvaneClient> client;
};

TEST_F(RenderManagerLoopbackTest, world_sounds_go_to_the_consoles_that_hear_the_world_and_the_list_empties)
{
    const uint64_t fighter = Connect("fighter");
    Connect("helm");
    server->FindClient(fighter)->worldSoundFlag = true;
    world.QueueSoundEvent("SD", glm::vec3(1, 2, 3), 0);
    world.QueueSoundEvent("PB", glm::vec3(4, 5, 6), 0);
    manager->SimTick();
    EXPECT_TRUE(world.soundEvents.empty());

    QelNetworkClient* fighterConsole = consoles[0];
    QelNetworkClient* helmConsole = consoles[1];
    ASSERT_TRUE(RunFramesUntil([&] { return Sounds(fighterConsole).size() == 2; }));
    // Newest first, as the list is handled from its end.
    EXPECT_EQ(Sounds(fighterConsole)[0].name, "PB");
    EXPECT_EQ(Sounds(fighterConsole)[1].name, "SD");
    EXPECT_EQ(Sounds(fighterConsole)[1].z, 3.0f);
    EXPECT_TRUE(Sounds(helmConsole).empty());

    // A console's own world passes nothing on.
    world.serverFlag = false;
    world.QueueSoundEvent("SD", glm::vec3(0), 0);
    manager->SimTick();
    EXPECT_TRUE(world.soundEvents.empty());
    RunFrames(50);
    EXPECT_EQ(Sounds(fighterConsole).size(), 2u);
}

// The hull's sound of a beam is the world's from the moment the beam is
// fired: the consoles hear it whatever the server's own screen draws.
TEST_F(RenderManagerLoopbackTest, a_beams_hull_sound_reaches_the_consoles_without_the_server_drawing_it)
{
    const uint64_t fighter = Connect("fighter");
    server->FindClient(fighter)->worldSoundFlag = true;
    const uint64_t shooter = world.CreateSpaceObject("", "", 0);
    const uint64_t target = world.CreateSpaceObject("", "", 0);
    world.GetSpaceObject(target)->pos = glm::vec3(7, 8, 9);
    world.clock.time_tick_counter = 1000;  // past the first gap of the hull's sound
    server->SendBeam("beam", "", "", shooter, target, {}, {}, 0);
    manager->SimTick();
    ASSERT_TRUE(RunFramesUntil([&] { return !Sounds(consoles[0]).empty(); }));
    EXPECT_EQ(Sounds(consoles[0])[0].name, "hull_damage");
    EXPECT_EQ(Sounds(consoles[0])[0].y, 8.0f);
}

TEST_F(RenderManagerLoopbackTest, a_console_reports_its_window_once_connected_and_its_boxes_when_asked)
{
    world.serverFlag = false;  // this process plays the console
    manager->FrameUpdate();
    EXPECT_EQ(manager->lastWindowWidth, 0);  // neither a server nor a mission to tell

    ConnectClient();
    manager->FrameUpdate();
    EXPECT_EQ(manager->lastWindowWidth, 1024);
    manager->SendWidgetBoxState("throttle", "helm", 1, 5, 10, 45, 90);
    ASSERT_TRUE(RunFramesUntil([&] {
        client->FrameUpdate();
        return Event("screen_size") && Event("widget_box_state");
    }));
    const uint64_t console = server->Clients().begin()->first;
    EXPECT_EQ(Event("screen_size")->client_id, console);
    EXPECT_EQ(Event("screen_size")->source_point, glm::vec3(1024, 768, 0));
    EXPECT_EQ(Event("widget_box_state")->client_id, console);
    EXPECT_EQ(Event("widget_box_state")->value_tag, "5, 10, 45, 90");

    // The same window is not reported again (the server's welcome had it
    // answered once more meanwhile).
    RunFrames(50);
    host.events.clear();
    manager->FrameUpdate();
    RunFrames(50);
    EXPECT_EQ(Event("screen_size"), nullptr);
}

TEST_F(RenderManagerLoopbackTest, on_the_server_a_box_report_reaches_the_mission_without_a_message)
{
    manager->SendWidgetBoxState("throttle", "helm", 0, 1, 2, 3, 4);
    ASSERT_EQ(host.events.size(), 1u);
    EXPECT_EQ(host.events[0].tag, "widget_box_state");
    EXPECT_EQ(host.events[0].client_id, 0u);
    EXPECT_EQ(host.events[0].value_tag, "1, 2, 3, 4");
}

}  // namespace

TEST_F(RenderManagerLoopbackTest, the_operator_renaming_a_console_tells_it_the_name_at_every_key)
{
    const uint64_t helm = Connect("helm");
    ClientRecord& record = *server->FindClient(helm);
    record.machineName = "bridge";
    qeltest::ScriptedInput input;
    gInputFactory = &input;
    theUIContext = UIContext();
    const auto frame = [&] {
        theUIContext.BeginFrame();
        manager->counterPanel->DrawNetworkStats(IntRect{0, 0, 400, 80}, record);
        theUIContext.EndFrame();
        input.NextFrame();
    };
    input.MoveTo(20, 20);  // into the name field, and click
    input.Press();
    frame();
    input.Release();
    frame();
    for (const char typed : std::string("-two")) {
        input.Type(std::string(1, typed));
        frame();
    }
    gInputFactory = nullptr;
    theUIContext = UIContext();
    EXPECT_EQ(record.machineName, "bridge-two");

    const auto names = [&] {
        std::vector<std::string> told;
        for (const nettest::Received& r : received[consoles[0]]) {
            MachineNameSignal name;
            if (r.code == SIGNAL_MESS_MACHINE_NAME && nettest::DecodeSignal(r, name))
                told.push_back(name.name);
        }
        return told;
    };
    ASSERT_TRUE(RunFramesUntil([&] { return names().size() == 4; }));
    EXPECT_EQ(names(), (std::vector<std::string>{"bridge-", "bridge-t", "bridge-tw", "bridge-two"}));
}
