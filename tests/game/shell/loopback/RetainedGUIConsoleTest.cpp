// A console's script screen over real ENet sockets on loopback: the mission's
// server builds it on the console, the console draws it against a recording
// 2D service, and the crew's click and list choice reach the mission as
// "gui_message" events of that console ("signal" 39).

#include "tests/game/net/loopback/ReplicationHarness.h"

#include "game/net/ConsoleScreen.h"
#include "game/net/RetainedGUISignals.h"
#include "game/shell/RetainedGUIScreen.h"
#include "game/ui/UIContext.h"
#include "game/world/AppData.h"
#include "tests/support/RecordingGraphics2D.h"
#include "tests/support/RecordingScriptHost.h"
#include "tests/support/ScopedGlobal.h"
#include "tests/support/ScriptedInput.h"

namespace {

class ConsoleScriptScreenTest : public nettest::ReplicationFixture {
protected:
    void SetUp() override
    {
        ReplicationFixture::SetUp();
        server->SetScriptHost(&mission);
        client->SetConsoleScreen(&screen);
        AppData::Load();
        theUIContext = UIContext();
        theUIContext.LoadSettings();
    }

    void TearDown() override
    {
        server->SetScriptHost(nullptr);
        theUIContext = UIContext();
        ReplicationFixture::TearDown();
    }

    // One drawn frame of the console's screen.
    void ConsoleDraw()
    {
        UseWorld(clientWorld);
        theUIContext.BeginFrame();
        retainedScreen.HandleHotKeys(theUIContext, screen.RetainedGUI());
        theUIContext.EndFrame();
        input.NextFrame();
    }

    void ClickAt(int32_t x, int32_t y)
    {
        input.MoveTo(x, y);
        input.Press();
        ConsoleDraw();
        input.Release();
        ConsoleDraw();
    }

    qeltest::RecordingGraphics2D graphics;
    qeltest::ScriptedInput input;
    qeltest::ScopedGlobal<QelGraphicsFactoryBase> withGraphics{gGraphicsFactory, graphics};
    qeltest::ScopedGlobal<QelInputFactoryBase> withInput{gInputFactory, input};
    qeltest::RecordingScriptHost mission;
    // The console's screen, which its script screens fill; the client reports to it.
    ConsoleScreen screen;
    RetainedGUIScreen retainedScreen;  // the console's retained screen drawn
};

TEST_F(ConsoleScriptScreenTest, the_crews_click_and_choice_reach_the_mission_as_that_consoles_gui_messages)
{
    RetainedGUIWidget launch;
    launch.kind = retained_kind::kButton;
    launch.tag = "launch";
    launch.text = "Launch probe";
    launch.left = 10, launch.top = 10, launch.right = 30, launch.bottom = 15;  // percent: 102,76 to 307,115
    RetainedGUIWidget target = launch;
    target.kind = retained_kind::kDropdown;
    target.tag = "target";
    target.text = "none";
    target.data = "KV-7 Raider^Outpost Meridian^";
    target.left = 50, target.right = 70;  // 512,76 to 716,115: its rows hang below, 10 to the left

    SendToConsole(RetainedClearSignal{""});
    SendToConsole(RetainedWidgetSignal{launch});
    SendToConsole(RetainedWidgetSignal{target});
    SendToConsole(RetainedCompleteSignal{""});
    ASSERT_TRUE(PumpUntil([this] { return screen.RetainedGUI().Root().visibleList.size() == 2; }));

    ClickAt(200, 95);
    ClickAt(600, 95);
    ClickAt(600, 95 + 2 * 40);  // the second row
    ASSERT_TRUE(PumpUntil([&] { return mission.events.size() == 2; }));
    EXPECT_EQ(mission.events[0].tag, "gui_message");
    EXPECT_EQ(mission.events[0].sub_tag, "launch");
    EXPECT_EQ(mission.events[0].client_id, clientId);
    EXPECT_EQ(mission.events[1].sub_tag, "target");
    EXPECT_EQ(mission.events[1].value_tag, "Outpost Meridian");
    EXPECT_EQ(mission.events[1].sub_float, 1.0f);
    EXPECT_EQ(mission.events[1].client_id, clientId);
}

}  // namespace
