#pragma once
// The bridge widgets on recording services: the interface's recording 2D
// service and scripted input (UITest), a console world with one ship of its
// own whose replicated values a test writes, a console state of its own (a
// "helm"), a render manager drawing for it, and a client whose endpoint
// keeps what it sends.
// Hot keys start from their defaults, and their file goes to a folder of the
// test's own.

#include "game/net/CorvaneClient.h"
#include "game/render/manager/RenderManager.h"
#include "game/ui/KeyVal.h"
#include "game/widgets/ConsoleState.h"
#include "game/widgets/LocalConsoleScreen.h"
#include "game/world/DataKey.h"
#include "game/world/Simulation.h"
#include "game/world/SpaceObject.h"
#include "tests/game/ui/UITestFixture.h"
#include "tests/support/RecordingNetwork.h"
#include "tests/support/TempFolder.h"

#include <memory>
#include <optional>
#include <string>

class WidgetTest : public UITest {
protected:
    void SetUp() override
    {
        UITest::SetUp();
        KeyVal::Unload();
        dataFolder.emplace("QEL_DATA_DIR", folder.Path().string());  // the hot-key file goes there
        gNetworkFactory = &network;
        client = std::make_unique<CorvaneClient>(CorvaneClient::Settings{});
        client->SetWorld(&world);
        RouteConsoleCommands(client.get());
        manager = std::make_unique<RenderManager>(SceneFunction(), &console);
        manager->ConnectNetwork(GameNetwork{client.get(), nullptr});
        world.Reset(false, "");
        ship = world.GetSpaceObject(world.CreateSpaceObject("behav_playership", "", 0));
        world.subjectID = ship->uniqueID;
        console.consoleName = "helm";
    }

    void TearDown() override
    {
        manager.reset();
        RouteConsoleCommands(nullptr);
        client.reset();
        gNetworkFactory = nullptr;
        KeyVal::Unload();
        UITest::TearDown();
    }

    // One frame of the widget in the rectangle.
    void Draw(WidgetDrawFn widget, IntRect rect, const std::string& name = "widget")
    {
        Frame([&] { widget(console, rect, name); });
    }

    // A press in one frame and the release in the next, at the point.
    void ClickAt(WidgetDrawFn widget, const IntRect& rect, int32_t x, int32_t y,
                 const std::string& name = "widget")
    {
        input.MoveTo(x, y);
        input.Press();
        Draw(widget, rect, name);
        input.Release();
        Draw(widget, rect, name);
        input.MoveTo(-100, -100);
    }

    // Clicks the centre of the control whose label was drawn last frame.
    void ClickLabel(WidgetDrawFn widget, const IntRect& rect, const std::string& label,
                    const std::string& name = "widget")
    {
        const qeltest::DrawRecord text = graphics.Text(label);
        ASSERT_EQ(text.text, label);
        ClickAt(widget, rect, (text.box.left + text.box.right) / 2, (text.box.top + text.box.bottom) / 2, name);
    }

    // A key down for one frame; the frame after it lets it go.
    void PressKey(WidgetDrawFn widget, const IntRect& rect, int32_t key,
                  const std::string& name = "widget")
    {
        input.KeyDown(key);
        Draw(widget, rect, name);
        input.KeyUp(key);
        Draw(widget, rect, name);
    }

    bool Drawn(const std::string& text) const { return graphics.Text(text).text == text; }

    qeltest::TempFolder folder;
    std::optional<qeltest::ScopedEnv> dataFolder;
    qeltest::RecordingNetwork network;
    std::unique_ptr<CorvaneClient> client;
    ConsoleState console;
    LocalConsoleScreen consoleScreen{console};  // this machine's screen, filling the console
    std::unique_ptr<RenderManager> manager;
    Simulation world;
    SpaceObject* ship = nullptr;
};
