// A script screen over real ENet sockets on loopback: the server builds it on
// a console, the console's crew acts on it, and the mission asks the console
// for its tree.

#include "ReplicationHarness.h"

#include "game/net/ConsoleScreen.h"
#include "game/net/RetainedGUISignals.h"
#include "tests/game/net/SignalHookSupport.h"

namespace {

class ScriptScreenTest : public nettest::ReplicationFixture {
protected:
    void SetUp() override
    {
        ReplicationFixture::SetUp();
        server->SetScriptHost(&host);
        client->SetConsoleScreen(&screen);
    }

    void TearDown() override
    {
        server->SetScriptHost(nullptr);
        ReplicationFixture::TearDown();
    }

    bool EventArrived(const std::string& tag)
    {
        for (const EventMessage& event : host.events)
            if (event.tag == tag)
                return true;
        return false;
    }

    nettest::RecordingHost host;
    // The console's screen, which its script screens fill; the client reports to it.
    ConsoleScreen screen;
};

TEST_F(ScriptScreenTest, screen_built_by_the_mission_shows_on_the_console_and_its_button_reports_back)
{
    RetainedGUIWidget panel;
    panel.kind = retained_kind::kSubregion;
    panel.tag = "panel";
    RetainedGUIWidget button;
    button.kind = retained_kind::kButton;
    button.tag = "launch";
    button.parentTag = "panel";
    button.text = "Launch probe";
    button.left = 10.0f, button.top = 20.0f, button.right = 90.0f, button.bottom = 40.0f;

    SendToConsole(RetainedClearSignal{""});
    SendToConsole(RetainedWidgetSignal{panel});
    SendToConsole(RetainedWidgetSignal{button});
    SendToConsole(RetainedCompleteSignal{""});
    ASSERT_TRUE(PumpUntil([this] { return screen.RetainedGUI().FindByTag("launch") != nullptr; }));
    const RetainedGUIWidget& shown = *screen.RetainedGUI().FindByTag("launch");
    EXPECT_EQ(shown.text, "Launch probe");
    EXPECT_EQ(shown.right, 90.0f);
    EXPECT_EQ(screen.RetainedGUI().Root().visibleList.size(), 1u);

    QelNetworkMessage& message = StartClientMessage("signal");
    WriteSignal(message, RetainedActionSignal::Of(shown));
    SendClientMessage();
    ASSERT_TRUE(PumpUntil([&] { return EventArrived("gui_message"); }));
    EXPECT_EQ(host.events.back().sub_tag, "launch");
    EXPECT_EQ(host.events.back().client_id, clientId);
}

TEST_F(ScriptScreenTest, mission_asking_for_the_console_tree_gets_its_text)
{
    RetainedGUIWidget title;
    title.kind = retained_kind::kText;
    title.tag = "title";
    title.text = "Bridge";
    SendToConsole(RetainedClearSignal{""});
    SendToConsole(RetainedWidgetSignal{title});
    SendToConsole(RetainedCompleteSignal{""});
    SendToConsole(DebugTreeRequestSignal{"console tree", 1});
    ASSERT_TRUE(PumpUntil([&] { return EventArrived("debug_rgui_tree"); }));
    EXPECT_EQ(host.events.back().sub_tag, "console tree\nvisible list\n- title, Bridge, \n");
    EXPECT_EQ(host.events.back().client_id, clientId);
}

}  // namespace
