// Starting a server and connecting a console through the scenes, over real
// ENet endpoints on loopback: what the start screen sets up, what a console
// tells the server on connecting, and where a lost server leaves it.

#include "engine/net/QelNetworkServer.h"
#include "game/shell/scenes/MissionCatalogue.h"
#include "game/shell/scenes/Scenes.h"
#include "game/render/manager/RenderManager.h"
#include "game/widgets/ConsoleState.h"
#include "tests/engine/net/LoopbackHarness.h"
#include "tests/game/shell/MissionFolder.h"
#include "tests/game/shell/scenes/SceneTestFixture.h"
#include "tests/support/RecordingMusic.h"
#include "tests/support/RecordingScriptHost.h"
#include "tests/support/ScopedGlobal.h"

namespace {

class ConnectScenesTest : public SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        server->SetScriptHost(&host);
    }

    // Hosts with a client, and a render manager that hands the scenes both.
    void Host()
    {
        HostWithClient();
        if (HasFatalFailure())
            return;
        view = std::make_unique<RenderManager>(SceneFunction());  // hands the scenes the client
        view->ConnectNetwork(GameNetwork{client.get(), server.get()});
        sceneHost = view.get();
    }

    void TearDown() override
    {
        sceneHost = nullptr;
        view.reset();
        SceneTest::TearDown();
    }

    std::unique_ptr<RenderManager> view;

    // Frames of both sides and the scene's input step, until the scene
    // answers another scene or the condition holds.
    SceneFunction StepUntil(SceneFunction scene, const std::function<bool()>& done)
    {
        SceneFunction next = scene;
        qel::test::PumpUntil([&] {
            server->FrameUpdate();
            client->FrameUpdate();
            next = scene(SCENE_FRAME, shell, sceneHost);
            return next != scene || done();
        });
        return next;
    }

    std::vector<EventMessage> EventsTagged(const std::string& tag) const
    {
        std::vector<EventMessage> found;
        for (const EventMessage& event : host.events)
            if (event.tag == tag)
                found.push_back(event);
        return found;
    }

    qeltest::RecordingScriptHost host;
};

TEST_F(ConnectScenesTest, start_server_hosts_lists_the_missions_and_takes_the_stored_helm_mode)
{
    MissionFolder missions;
    qeltest::RecordingMusic music;
    const qeltest::ScopedGlobal<MusicControl> published(gMusicControl, music);
    ConsoleState console;
    RenderManager view(SceneFunction(), &console);  // draws for the console the scenes read into
    view.ConnectNetwork(GameNetwork{client.get(), server.get()});
    sceneHost = &view;
    SceneFirstMode(SCENE_ENTER, shell, sceneHost);
    struct Case {
        const char* stored;
        int32_t helmMode;
    };
    for (const Case c : {Case{"", 0}, Case{"2", 2}, Case{"7", 2}, Case{"-3", 0}, Case{"one", 0}}) {
        input.registry["helm_mode_value"] = c.stored;
        shell.missions.clear();
        Draw(SceneFirstMode);
        const auto [x, y] = CentreOf("Start Server");
        ASSERT_EQ(ClickAt(SceneFirstMode, x, y), SceneServerSetupMode) << c.stored;
        EXPECT_EQ(console.settings.helmMode, c.helmMode) << c.stored;
    }
    EXPECT_TRUE(server->IsHosting());
    EXPECT_FALSE(server->IsNetworkDown());
    EXPECT_TRUE(world.serverFlag);
    EXPECT_EQ(world.subjectID, 0u);
    EXPECT_FALSE(shell.serverAddressText.empty());
    ASSERT_EQ(shell.missions.count("Tests"), 1u);
    EXPECT_EQ(shell.missions["Tests"][0].folderName, "echo");
    EXPECT_EQ(theMissionScript.missionToStart, "") << "the game's preferences choose no mission";
    EXPECT_EQ(music.calls.back(), "PlayMainMusicCue");
}

TEST_F(ConnectScenesTest, a_console_tells_the_server_it_connected_and_its_size_once_then_shows_its_console)
{
    Host();
    world.Reset(true, "");
    SceneClientConnectMode(SCENE_ENTER, shell, sceneHost);
    Draw(SceneClientConnectMode);
    const auto [x, y] = CentreOf("Connect To Server");
    ClickAt(SceneClientConnectMode, x, y);
    EXPECT_EQ(input.registry["lastIPAddressTyped"], "127.0.0.1");

    ASSERT_EQ(StepUntil(SceneClientConnectMode, [] { return false; }), SceneClientRunningMode);
    EXPECT_FALSE(world.serverFlag) << "the console starts a world of its own";
    ASSERT_EQ(StepUntil(SceneClientRunningMode, [&] { return EventsTagged("screen_size").size() == 1; }),
              SceneClientRunningMode);
    const std::vector<EventMessage> changes = EventsTagged("client_change");
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].sub_tag, "client_connected");
    EXPECT_EQ(EventsTagged("screen_size")[0].source_point, glm::vec3(1024.0f, 768.0f, 0.0f));
    EXPECT_EQ(changes[0].client_id, EventsTagged("screen_size")[0].client_id);
}

TEST_F(ConnectScenesTest, a_console_whose_server_goes_away_is_back_at_connect_saying_so)
{
    Host();
    ASSERT_TRUE(client->Connect("127.0.0.1"));
    ASSERT_EQ(StepUntil(SceneClientConnectMode, [] { return false; }), SceneClientRunningMode);

    server.reset();
    ASSERT_TRUE(network.DestroyServer("server"));
    ASSERT_TRUE(qel::test::PumpUntil([&] { return SceneClientRunningMode(SCENE_FRAME, shell, sceneHost) == SceneClientConnectMode; }));
    EXPECT_FALSE(shell.connectNotice.empty());
    SceneClientConnectMode(SCENE_ENTER, shell, sceneHost);
    Draw(SceneClientConnectMode);
    EXPECT_NE(TextDrawn(shell.connectNotice), nullptr);
}

TEST_F(ConnectScenesTest, a_server_whose_port_is_taken_shows_why_and_back_leaves_the_server_role)
{
    QelNetworkServer* squatter = network.GetServer("squatter", 0);
    CorvaneServer::Settings settings;
    settings.port = squatter->BoundPort();
    server = std::make_unique<CorvaneServer>(settings);
    gServer = server.get();
    server->SetWorld(&world);
    server->StartHosting();
    world.serverFlag = true;
    ASSERT_TRUE(server->IsNetworkDown());

    Draw(SceneServerSetupMode);
    EXPECT_EQ(TextDrawn("Exit Server"), nullptr) << "only the dialog is drawn";
    const std::vector<qeltest::DrawRecord> texts = graphics.Of(qeltest::DrawRecord::Kind::Text);
    const bool portNamed = std::any_of(texts.begin(), texts.end(), [&](const qeltest::DrawRecord& text) {
        return text.text.find(std::to_string(settings.port)) != std::string::npos;
    });
    EXPECT_TRUE(portNamed);
    const auto [x, y] = CentreOf("Back");
    EXPECT_EQ(ClickAt(SceneServerSetupMode, x, y), SceneFirstMode);
    EXPECT_FALSE(server->IsHosting());
    EXPECT_FALSE(world.serverFlag);
}

}  // namespace
