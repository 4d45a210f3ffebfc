// The retained GUI's signals: each record's bytes, and both handlers without
// a network, messages handed to the hooks as the dispatch would.

#include "game/net/ConsoleScreen.h"
#include "game/net/CorvaneServer.h"
#include "game/net/RejectedMessages.h"
#include "game/net/RetainedGUISignals.h"
#include "game/world/ObjectId.h"
#include "game/world/Simulation.h"
#include "tests/game/net/SignalHookSupport.h"
#include "tests/support/ScreenClient.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace {

constexpr uint64_t kConsole = kClientIdBit | 501;
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

using nettest::RecordingHost;
using nettest::WriteSignalMessage;

// A message cut to its first length bytes, as a peer might send it.
void CopyStart(const QelNetworkMessage& whole, int32_t length, QelNetworkMessage& cut)
{
    cut.WriteBytes(whole.Data(), length);
}

// A widget of each kind, with the values that kind carries.
std::vector<RetainedGUIWidget> OneOfEachKind()
{
    std::vector<RetainedGUIWidget> widgets;
    int32_t n = 0;
    for (const char* kind : retained_kind::kAll) {
        RetainedGUIWidget w;
        w.kind = kind;
        w.tag = std::string(kind) + "_tag";
        w.text = "Text of " + w.tag;
        w.style = "text:Text of " + w.tag + ";font:gui-3";
        w.data = w.kind == retained_kind::kDropdown ? "alpha^beta^gamma^" : "data-" + std::to_string(n);
        w.parentTag = n % 2 ? "" : "panel";
        w.font = "gui-3";
        w.color = "#80c0ff";
        w.low = -1.5f;
        w.high = 100.0f;
        w.value = 25.0f + n;
        w.index = n - 3;
        w.layer = 1000 + n;
        w.absolute = n % 3 == 0;
        w.ticked = n % 2 == 0;
        w.shown = n % 4 != 1;
        w.left = 1.0f * n, w.top = 2.5f, w.right = 60.0f + n, w.bottom = 90.25f;
        w.srcLeft = 4.0f, w.srcTop = 8.0f, w.srcRight = 64.0f, w.srcBottom = 0.5f * n;
        widgets.push_back(w);
        ++n;
    }
    return widgets;
}

void ExpectSameSentFields(const RetainedGUIWidget& got, const RetainedGUIWidget& sent)
{
    EXPECT_EQ(got.kind, sent.kind);
    EXPECT_EQ(got.text, sent.text);
    EXPECT_EQ(got.tag, sent.tag);
    EXPECT_EQ(got.style, sent.style);
    EXPECT_EQ(got.data, sent.data);
    EXPECT_EQ(got.parentTag, sent.parentTag);
    EXPECT_EQ(got.font, sent.font);
    EXPECT_EQ(got.color, sent.color);
    EXPECT_EQ(got.low, sent.low);
    EXPECT_EQ(got.high, sent.high);
    EXPECT_EQ(got.value, sent.value);
    EXPECT_EQ(got.index, sent.index);
    EXPECT_EQ(got.layer, sent.layer);
    EXPECT_EQ(got.absolute, sent.absolute);
    EXPECT_EQ(got.ticked, sent.ticked);
    EXPECT_EQ(got.shown, sent.shown);
    EXPECT_EQ(got.left, sent.left);
    EXPECT_EQ(got.top, sent.top);
    EXPECT_EQ(got.right, sent.right);
    EXPECT_EQ(got.bottom, sent.bottom);
    EXPECT_EQ(got.srcLeft, sent.srcLeft);
    EXPECT_EQ(got.srcTop, sent.srcTop);
    EXPECT_EQ(got.srcRight, sent.srcRight);
    EXPECT_EQ(got.srcBottom, sent.srcBottom);
}

int32_t TextBytes(const RetainedGUIWidget& w)
{
    size_t total = 0;
    for (const std::string* text : {&w.kind, &w.text, &w.tag, &w.style, &w.data, &w.parentTag, &w.font, &w.color})
        total += text->size();
    return static_cast<int32_t>(total);
}

TEST(RetainedGUISignals, widget_of_every_kind_round_trips_in_the_fixed_layout)
{
    for (const RetainedGUIWidget& sent : OneOfEachKind()) {
        QelNetworkMessage message;
        WriteSignalMessage(message, RetainedWidgetSignal{sent});
        EXPECT_EQ(message.writeIndex, RetainedWidgetSignal::kFixedBytes + TextBytes(sent)) << sent.kind;

        message.readIndex = 8;
        uint16_t code = 0;
        ASSERT_TRUE(ReadSignalCode(message, code));
        EXPECT_EQ(code, SIGNAL_MESS_RGUI_WIDGET);
        RetainedWidgetSignal received;
        ASSERT_TRUE(ReadSignal(message, received)) << sent.kind;
        ExpectSameSentFields(received.widget, sent);
        EXPECT_EQ(message.BytesLeftToRead(), 0);
    }
}

TEST(RetainedGUISignals, widget_fields_sit_at_their_byte_offsets)
{
    RetainedGUIWidget w;
    w.kind = "button";
    w.index = 0x01020304;
    w.absolute = true;
    w.shown = false;
    w.srcBottom = 2.0f;
    QelNetworkMessage message;
    WriteSignalMessage(message, RetainedWidgetSignal{w});
    const uint8_t* bytes = message.Data();
    // key 8, code 2, "button" 2 + 6, seven empty texts 14, three floats 12.
    const int32_t index = 8 + 2 + 8 + 14 + 12;
    EXPECT_EQ(bytes[10], 6);  // the kind's length, low byte first
    EXPECT_EQ(bytes[index], 0x04);
    EXPECT_EQ(bytes[index + 3], 0x01);
    EXPECT_EQ(bytes[index + 8], 1);      // absolute
    EXPECT_EQ(bytes[index + 9], 1);      // ticked, as a new record has it
    EXPECT_EQ(bytes[index + 10], 0);     // shown
    EXPECT_EQ(bytes[message.writeIndex - 1], 0x40);  // 2.0f's high byte ends the message
}

class RetainedGUIClientTest : public ::testing::Test {
protected:
    RetainedGUIWidget& Gui() { return screen.RetainedGUI().Root(); }

    void Deliver(QelNetworkMessage& message) { nettest::DeliverToClient(message, &client.Client()); }

    template <typename Signal>
    void Send(const Signal& signal)
    {
        nettest::SendToClientHook(signal, &client.Client());
    }

    // The console's screen, which the signals fill.
    ConsoleScreen screen;
    qeltest::ScreenClient client{screen};  // the client whose signals reach the screen
};

TEST_F(RetainedGUIClientTest, console_builds_shows_hides_and_updates_the_script_screen)
{
    std::vector<RetainedGUIWidget> widgets = OneOfEachKind();
    RetainedGUIWidget panel;
    panel.kind = retained_kind::kSubregion;
    panel.tag = "panel";

    Send(RetainedClearSignal{""});
    Send(RetainedWidgetSignal{panel});
    for (const RetainedGUIWidget& w : widgets)
        Send(RetainedWidgetSignal{w});
    EXPECT_TRUE(Gui().visibleList.empty());
    Send(RetainedCompleteSignal{""});

    ASSERT_EQ(Gui().visibleList.size(), 1 + widgets.size() / 2);  // the odd ones have no parent
    for (const RetainedGUIWidget& sent : widgets) {
        const RetainedGUIWidget* got = screen.RetainedGUI().FindByTag(sent.tag);
        ASSERT_NE(got, nullptr) << sent.tag;
        ExpectSameSentFields(*got, sent);
    }
    EXPECT_EQ(screen.RetainedGUI().FindByTag("panel")->visibleList.size(), (widgets.size() + 1) / 2);

    Send(RetainedVisibilitySignal{"button_tag", false});
    EXPECT_FALSE(screen.RetainedGUI().FindByTag("button_tag")->shown);
    Send(RetainedVisibilitySignal{"button_tag", true});
    EXPECT_TRUE(screen.RetainedGUI().FindByTag("button_tag")->shown);
}

TEST_F(RetainedGUIClientTest, hot_keys_are_added_and_removed_by_the_zero_key)
{
    Send(RetainedHotKeySignal{"MISSION", "launch", "KEY_L", "launch the probe"});
    Send(RetainedHotKeySignal{"MISSION", "abort", "KEY_A", "abort"});
    ASSERT_EQ(screen.RetainedGUI().HotKeys().size(), 2u);
    EXPECT_EQ(screen.RetainedGUI().HotKeys()[0].keyName, "KEY_L");

    Send(RetainedHotKeySignal{"0", "launch", "0", "0"});
    ASSERT_EQ(screen.RetainedGUI().HotKeys().size(), 1u);
    EXPECT_EQ(screen.RetainedGUI().HotKeys()[0].tag, "abort");
}

TEST_F(RetainedGUIClientTest, texts_arrive_without_leading_blanks_and_trailing_nuls)
{
    RetainedGUIWidget w;
    w.kind = retained_kind::kText;
    w.tag = "\t  title";
    w.text = std::string(" Bridge\0\0", 9);
    Send(RetainedClearSignal{""});
    Send(RetainedWidgetSignal{w});
    Send(RetainedCompleteSignal{""});
    ASSERT_EQ(Gui().visibleList.size(), 1u);
    EXPECT_EQ(Gui().visibleList[0].tag, "title");
    EXPECT_EQ(Gui().visibleList[0].text, "Bridge");
}

TEST_F(RetainedGUIClientTest, every_truncation_of_every_payload_changes_nothing)
{
    std::vector<QelNetworkMessage> messages(OneOfEachKind().size() + 5);
    size_t next = 0;
    for (const RetainedGUIWidget& w : OneOfEachKind())
        WriteSignalMessage(messages[next++], RetainedWidgetSignal{w});
    WriteSignalMessage(messages[next++], RetainedClearSignal{"panel"});
    WriteSignalMessage(messages[next++], RetainedCompleteSignal{"panel"});
    WriteSignalMessage(messages[next++], RetainedVisibilitySignal{"panel", false});
    WriteSignalMessage(messages[next++], RetainedHotKeySignal{"MISSION", "panel", "KEY_P", "open the panel"});
    WriteSignalMessage(messages[next++], RetainedHotKeySignal{"0", "panel", "0", "0"});

    RetainedGUIWidget panel;
    panel.tag = "panel";
    Send(RetainedClearSignal{""});
    Send(RetainedWidgetSignal{panel});
    Send(RetainedCompleteSignal{""});
    for (const QelNetworkMessage& whole : messages) {
        for (int32_t length = 8; length < whole.writeIndex; ++length) {
            QelNetworkMessage cut;
            CopyStart(whole, length, cut);
            Deliver(cut);
            ASSERT_EQ(Gui().visibleList.size(), 1u) << "length " << length;
            const RetainedGUIWidget& shown = Gui().visibleList[0];
            EXPECT_TRUE(shown.visibleList.empty() && shown.backgroundList.empty() && shown.shown);
            EXPECT_FALSE(shown.building);
            EXPECT_TRUE(screen.RetainedGUI().HotKeys().empty());
        }
    }
}

TEST_F(RetainedGUIClientTest, widgets_with_a_float_that_is_no_number_or_no_place_are_refused_whole)
{
    std::vector<float RetainedGUIWidget::*> floats = {
        &RetainedGUIWidget::low,     &RetainedGUIWidget::high,   &RetainedGUIWidget::value,
        &RetainedGUIWidget::left,    &RetainedGUIWidget::top,    &RetainedGUIWidget::right,
        &RetainedGUIWidget::bottom,  &RetainedGUIWidget::srcLeft, &RetainedGUIWidget::srcTop,
        &RetainedGUIWidget::srcRight, &RetainedGUIWidget::srcBottom};
    const uint64_t rejectedBefore = RejectedMessageCount();
    Send(RetainedClearSignal{""});
    for (float RetainedGUIWidget::*field : floats) {
        for (float wild : {kNaN, std::numeric_limits<float>::infinity()}) {
            RetainedGUIWidget w;
            w.kind = retained_kind::kSlider;
            w.tag = "slider";
            w.*field = wild;
            Send(RetainedWidgetSignal{w});
        }
    }
    // Slider values may be large; rectangles stay within a million pixels.
    RetainedGUIWidget far;
    far.tag = "far";
    far.low = -1.0e30f, far.high = 1.0e30f, far.left = -RetainedGUIWidget::kMaxCoordinate;
    Send(RetainedWidgetSignal{far});
    EXPECT_EQ(Gui().backgroundList.size(), 1u);
    for (float RetainedGUIWidget::*edge : {&RetainedGUIWidget::left, &RetainedGUIWidget::bottom,
                                           &RetainedGUIWidget::srcTop, &RetainedGUIWidget::srcRight}) {
        RetainedGUIWidget beyond = far;
        beyond.*edge = 2.0f * RetainedGUIWidget::kMaxCoordinate;
        Send(RetainedWidgetSignal{beyond});
    }
    EXPECT_EQ(Gui().backgroundList.size(), 1u);
    EXPECT_TRUE(Gui().visibleList.empty());
    EXPECT_EQ(RejectedMessageCount(), rejectedBefore + 2 * floats.size() + 4);
}

TEST_F(RetainedGUIClientTest, empty_tags_cannot_hide_or_bind_hot_keys)
{
    const uint64_t rejectedBefore = RejectedMessageCount();
    Send(RetainedVisibilitySignal{"", false});
    Send(RetainedHotKeySignal{"", "launch", "KEY_L", ""});
    Send(RetainedHotKeySignal{"MISSION", "", "KEY_L", ""});
    EXPECT_TRUE(screen.RetainedGUI().HotKeys().empty());
    EXPECT_EQ(RejectedMessageCount(), rejectedBefore + 3);
}

TEST_F(RetainedGUIClientTest, story_dialogs_queue_in_arrival_order_until_a_new_world_or_a_reset)
{
    StoryDialogGUIManager& queue = screen.StoryDialogs();
    const StoryDialogEntry first{"Captain Reyes", "Hold position.", "head #e6b594 0 0", "#3a78b8", 0};
    const StoryDialogEntry second{"Ensign Ko", std::string(" Sensors\0", 9), "", "not a colour", 0};
    QelNetworkMessage whole;
    WriteSignalMessage(whole, StoryDialogSignal{first});
    EXPECT_EQ(whole.writeIndex, 18 + static_cast<int32_t>(first.title.size() + first.text.size() +
                                                         first.face.size() + first.color.size()));
    for (int32_t length = 8; length < whole.writeIndex; ++length) {
        QelNetworkMessage cut;
        CopyStart(whole, length, cut);
        Deliver(cut);
    }
    EXPECT_TRUE(queue.Empty());

    Send(StoryDialogSignal{first});
    Send(StoryDialogSignal{second});
    ASSERT_EQ(queue.entries.size(), 2u);
    EXPECT_EQ(queue.entries[0].title, "Captain Reyes");
    EXPECT_EQ(queue.entries[0].face, "head #e6b594 0 0");
    EXPECT_EQ(queue.entries[0].color, "#3a78b8");
    EXPECT_EQ(queue.entries[1].text, "Sensors");
    EXPECT_EQ(queue.entries[1].shownMillis, 0u);

    Send(NewSimulationSignal{});
    EXPECT_TRUE(queue.Empty());
    Send(StoryDialogSignal{first});
    Send(ConnectResetSignal{});
    EXPECT_TRUE(queue.Empty());
}

TEST(RetainedGUISignals, tree_text_longer_than_a_message_is_cut_after_a_whole_line)
{
    std::string text;
    for (int line = 0; text.size() < 3 * QelNetworkMessage::kMessageBufferSize; ++line)
        text += "- , widget" + std::to_string(line) + ", text, data\n";
    QelNetworkMessage message;
    WriteSignalMessage(message, DebugTreeTextSignal{text});
    EXPECT_FALSE(message.IsOverflowed());

    message.readIndex = 10;
    DebugTreeTextSignal received;
    ASSERT_TRUE(ReadSignal(message, received));
    EXPECT_GT(received.text.size(), 9000u);
    EXPECT_EQ(received.text.back(), '\n');
    EXPECT_EQ(text.compare(0, received.text.size(), received.text), 0);

    QelNetworkMessage oneLine;
    WriteSignalMessage(oneLine, DebugTreeTextSignal{std::string(20000, 'x')});
    EXPECT_FALSE(oneLine.IsOverflowed());
    EXPECT_EQ(oneLine.writeIndex, QelNetworkMessage::kMessageBufferSize);
}

class RetainedGUIServerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        world.Reset(true, "");
        world.clock.time_tick_counter = 321;
        gServer = &server;
        server.SetWorld(&world);
        server.SetScriptHost(&host);
        server.HandleClientConnect(kConsole);
        host.events.clear();
    }

    void TearDown() override
    {
        server.SetScriptHost(nullptr);
        gServer = nullptr;
    }

    void Deliver(QelNetworkMessage& message) { nettest::DeliverToServer(message, kConsole); }

    template <typename Signal>
    void Send(const Signal& signal)
    {
        nettest::SendToServerHook(signal, kConsole);
    }

    Simulation world;
    CorvaneServer server{CorvaneServer::Settings{}};
    RecordingHost host;
};

TEST_F(RetainedGUIServerTest, actions_reach_the_mission_as_gui_messages_with_what_their_kind_reports)
{
    struct Case {
        RetainedActionSignal action;
        std::string valueTag;
        float subFloat;
        int32_t payloadBytes;  // after the code
    };
    const Case cases[] = {
        {{"throttle", "slider", 42.5f, "ignored", 9}, "", 42.5f, 2 + 8 + 2 + 6 + 4},
        {{"name", "typein", 7.0f, "Kestrel", 9}, "Kestrel", 0.0f, 2 + 4 + 2 + 6 + 2 + 7},
        {{"side", "dropdown", 7.0f, "beta", 1}, "beta", 1.0f, 2 + 4 + 2 + 8 + 2 + 4 + 4},
        {{"go", "button", 7.0f, "ignored", 9}, "", 0.0f, 2 + 2 + 2 + 6},
        {{"odd", "no such kind", 7.0f, "ignored", 9}, "", 0.0f, 2 + 3 + 2 + 12},
    };
    for (const Case& c : cases) {
        QelNetworkMessage message;
        WriteSignalMessage(message, c.action);
        EXPECT_EQ(message.writeIndex - 10, c.payloadBytes) << c.action.kind;
        host.events.clear();
        Deliver(message);
        ASSERT_EQ(host.events.size(), 1u) << c.action.kind;
        const EventMessage& event = host.events[0];
        EXPECT_EQ(event.tag, "gui_message");
        EXPECT_EQ(event.client_id, kConsole);
        EXPECT_EQ(event.sub_tag, c.action.tag);
        EXPECT_EQ(event.value_tag, c.valueTag);
        EXPECT_EQ(event.sub_float, c.subFloat);
        EXPECT_EQ(event.event_time, 321);
    }
}

TEST(RetainedGUISignals, a_widgets_action_is_what_it_shows)
{
    RetainedGUIWidget list;
    list.tag = "side";
    list.kind = retained_kind::kDropdown;
    list.text = "gamma";
    list.index = 2;
    const EventMessage event = GuiMessageEvent(RetainedActionSignal::Of(list));
    EXPECT_EQ(event.sub_tag, "side");
    EXPECT_EQ(event.value_tag, "gamma");
    EXPECT_EQ(event.sub_float, 2.0f);
}

TEST_F(RetainedGUIServerTest, tree_text_reaches_the_mission_and_bad_actions_nothing)
{
    Send(DebugTreeTextSignal{"dump\nvisible list\n- ok, OK, \n"});
    ASSERT_EQ(host.events.size(), 1u);
    EXPECT_EQ(host.events[0].tag, "debug_rgui_tree");
    EXPECT_EQ(host.events[0].sub_tag, "dump\nvisible list\n- ok, OK, \n");
    EXPECT_EQ(host.events[0].client_id, kConsole);

    host.events.clear();
    Send(RetainedActionSignal{"throttle", "slider", kNaN, "", 0});
    std::vector<QelNetworkMessage> wholes(2);
    WriteSignalMessage(wholes[0], RetainedActionSignal{"side", "dropdown", 0.0f, "beta", 1});
    WriteSignalMessage(wholes[1], DebugTreeTextSignal{"text"});
    for (const QelNetworkMessage& whole : wholes) {
        for (int32_t length = 8; length < whole.writeIndex; ++length) {
            QelNetworkMessage cut;
            CopyStart(whole, length, cut);
            Deliver(cut);
        }
    }
    EXPECT_TRUE(host.events.empty());
}

}  // namespace
