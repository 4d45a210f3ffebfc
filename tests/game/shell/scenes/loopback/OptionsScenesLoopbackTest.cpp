// The options screens of a console connected to a server over real ENet
// endpoints on loopback: what the server hears of them, the buttons only a
// connected console has, and every UI play setting changed through its
// control or its hot key, stored at once in a settings file of the test's
// own and read back by a fresh start.

#include "engine/base/QelVirtualKeys.h"
#include "game/net/ClientRecord.h"
#include "game/render/manager/RenderManager.h"
#include "game/shell/scenes/Scenes.h"
#include "game/widgets/ConsoleState.h"
#include "game/widgets/LocalConsoleScreen.h"
#include "tests/engine/net/LoopbackHarness.h"
#include "tests/game/shell/scenes/SceneTestFixture.h"
#include "tests/support/RecordingScriptHost.h"
#include "tests/support/TempFolder.h"

namespace {

constexpr int32_t LetterKey(char letter)
{
    return qel::vk::kLetterA + (letter - 'A');
}

class OptionsScenesLoopbackTest : public SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        input.settingsOnDisk = true;
        graphics.AddBitmap("HalvexLogo", 1024, 360);
        server->SetScriptHost(&host);
        HostWithClient();
        if (HasFatalFailure())
            return;
        client->SetConsoleScreen(&consoleScreen);
        ASSERT_TRUE(client->Connect("127.0.0.1"));
        ASSERT_TRUE(Pump([&] { return client->IsConnected() && !server->Clients().empty(); }));
        view = std::make_unique<RenderManager>(SceneFunction(), &console);
        view->ConnectNetwork(GameNetwork{client.get(), server.get()});
        sceneHost = view.get();
    }

    void TearDown() override
    {
        sceneHost = nullptr;
        view.reset();
        SceneTest::TearDown();
    }

    bool Pump(const std::function<bool()>& done)
    {
        return qel::test::PumpUntil([&] {
            server->FrameUpdate();
            client->FrameUpdate();
            return done();
        });
    }

    std::string Stored(const char* name)
    {
        std::string value;
        input.GetRegistryValue(name, value);
        return value;
    }

    std::vector<std::string> ClientChanges() const
    {
        std::vector<std::string> changes;
        for (const EventMessage& event : host.events)
            if (event.tag == "client_change")
                changes.push_back(event.sub_tag);
        return changes;
    }

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

    // Drags the slider whose label stands right of it to the fraction of its track.
    void SlideLeftOf(SceneFunction scene, const std::string& label, float fraction)
    {
        Draw(scene);
        const qeltest::DrawRecord* text = TextDrawn(label);
        ASSERT_NE(text, nullptr) << label;
        // The slider is the column's rectangle (1..300) on the label's row.
        const int32_t y = (text->box.top + text->box.bottom) / 2;
        input.MoveTo(150, y);
        input.Press();
        Draw(scene);
        input.MoveTo(1 + static_cast<int32_t>(fraction * 299.0f), y);
        Draw(scene);
        input.Release();
        Draw(scene);
    }

    qeltest::TempFolder settingsFolderPath;
    qeltest::ScopedEnv settingsFolder{"QEL_SETTINGS_DIR", settingsFolderPath.Path().string()};
    qeltest::RecordingScriptHost host;
    ConsoleState console;  // the console's settings, fresh for each test
    LocalConsoleScreen consoleScreen{console};  // this machine's screen, the client's
    std::unique_ptr<RenderManager> view;  // keeps the views' settings
};

TEST_F(OptionsScenesLoopbackTest, the_server_hears_the_name_and_where_the_console_went)
{
    input.SetRegistryValue("clientMachineName", "Engineering");
    EXPECT_EQ(PressKey(SceneClientRunningMode, LetterKey('O')), SceneClientOptionsMode);
    SceneClientOptionsMode(SCENE_ENTER, shell, sceneHost);
    ASSERT_TRUE(Pump([&] { return server->Clients().begin()->second->machineName == "Engineering"; }));

    Draw(SceneClientOptionsMode);
    EXPECT_NE(TextDrawn("Change Console"), nullptr);
    EXPECT_NE(TextDrawn("Disconnect"), nullptr);
    EXPECT_EQ(PressKey(SceneClientOptionsMode, LetterKey('C')), SceneClientRunningMode);
    EXPECT_EQ(Click(SceneClientOptionsMode, "Change Console"), SceneClientRunningMode);
    ASSERT_TRUE(Pump([&] { return ClientChanges().size() == 3; }));
    EXPECT_EQ(ClientChanges(), (std::vector<std::string>{"entered_options", "left_options", "change_console"}));

    // Disconnect ends the connection and empties the mission's screens.
    RetainedGUIWidget widget;
    widget.tag = "helm_box";
    consoleScreen.RetainedGUI().SetBuilding(true, "");
    consoleScreen.RetainedGUI().AddWidget(widget);
    consoleScreen.RetainedGUI().SetBuilding(false, "");
    ASSERT_NE(consoleScreen.RetainedGUI().FindByTag("helm_box"), nullptr);
    EXPECT_EQ(PressKey(SceneClientOptionsMode, LetterKey('D')), SceneClientConnectMode);
    EXPECT_EQ(consoleScreen.RetainedGUI().FindByTag("helm_box"), nullptr);
    EXPECT_TRUE(Pump([&] { return !client->IsConnected(); }));
}

TEST_F(OptionsScenesLoopbackTest, the_server_screens_open_the_options_which_return_there_without_the_console_buttons)
{
    for (const SceneFunction server : {SceneServerSetupMode, SceneServerRunningMode}) {
        EXPECT_EQ(Click(server, server == SceneServerSetupMode ? "System Options" : "Options"),
                  SceneClientOptionsMode);
        EXPECT_TRUE(shell.optionsOpenedFromServer);
        Draw(SceneClientOptionsMode);
        EXPECT_EQ(TextDrawn("Change Console"), nullptr) << "the server's own console is connected, but no console";
        EXPECT_EQ(TextDrawn("Disconnect"), nullptr);
        EXPECT_EQ(Click(SceneClientOptionsMode, "Continue"), server);
    }
}

TEST_F(OptionsScenesLoopbackTest, every_ui_play_setting_is_stored_as_it_changes_and_read_back_at_the_next_start)
{
    // Through their controls.
    SlideLeftOf(SceneUIPlayOptionsMode, "Navigation Ring Brightness", 0.0f);
    EXPECT_EQ(view->navRingBrightness, 0.0f);
    EXPECT_EQ(Stored("r3D.navRingBrightness"), "1.000000");
    SlideLeftOf(SceneUIPlayOptionsMode, "GUI Panel Transpar", 0.5f);
    EXPECT_NEAR(Stored("panelOpacity").empty() ? 0.0 : std::stod(Stored("panelOpacity")), 1.5, 0.01);
    SlideLeftOf(SceneUIPlayOptionsMode, "15 :Drag Threshold", 0.0f);
    EXPECT_EQ(Stored("r2D.dragThreshold"), "0");
    EXPECT_EQ(Click(SceneUIPlayOptionsMode, "Relative 2D Display"), SceneUIPlayOptionsMode);
    EXPECT_EQ(Stored("r2D.relativePositions"), "on");
    EXPECT_EQ(Click(SceneUIPlayOptionsMode, "Weapon Arcs: All"), SceneUIPlayOptionsMode);
    EXPECT_EQ(Stored("r2D.showArcMode"), "1");

    // Through their hot keys: the arcs go round, the display toggles back.
    PressKey(SceneUIPlayOptionsMode, LetterKey('G'));
    EXPECT_EQ(Stored("r2D.showArcMode"), "2");
    Draw(SceneUIPlayOptionsMode);
    EXPECT_NE(TextDrawn("Weapon Arcs: None"), nullptr);
    PressKey(SceneUIPlayOptionsMode, LetterKey('G'));
    EXPECT_EQ(Stored("r2D.showArcMode"), "0");
    PressKey(SceneUIPlayOptionsMode, LetterKey('G'));
    PressKey(SceneUIPlayOptionsMode, LetterKey('F'));
    PressKey(SceneUIPlayOptionsMode, LetterKey('F'));
    EXPECT_EQ(Stored("r2D.relativePositions"), "on");

    // The helm mode is chosen from its list and stored when the screen is left.
    Draw(SceneUIPlayOptionsMode);
    auto [x, y] = CentreOf("Helm: Trainee");
    ClickAt(SceneUIPlayOptionsMode, x, y);
    Draw(SceneUIPlayOptionsMode);
    std::tie(x, y) = CentreOf("Helm: Full 3D");
    ClickAt(SceneUIPlayOptionsMode, x, y);
    EXPECT_EQ(console.settings.helmMode, 2);
    EXPECT_EQ(Stored("helm_mode_value"), "");
    SceneUIPlayOptionsMode(SCENE_LEAVE, shell, sceneHost);
    EXPECT_EQ(Stored("helm_mode_value"), "2");

    // A fresh start reads every one of them back.
    sceneHost = nullptr;
    view.reset();
    RenderManager nextStart{SceneFunction()};
    nextStart.Setup();
    ConsoleSettings nextConsole;
    nextConsole.ReadHelmMode();
    EXPECT_EQ(nextStart.navRingBrightness, 0.0f);
    EXPECT_NEAR(nextStart.panelOpacity, 0.5f, 0.01f);
    EXPECT_EQ(nextStart.radarDragThreshold, 15.0f) << "a threshold of 0 reads back as the default";
    EXPECT_TRUE(nextStart.radarRelativePositions);
    EXPECT_EQ(nextStart.radarArcMode, 1);
    EXPECT_EQ(nextConsole.helmMode, 2);
}

}  // namespace
