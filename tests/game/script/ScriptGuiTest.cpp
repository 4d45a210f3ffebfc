// The module functions of zmx that build retained GUIs, driven from a
// running mission: the server's own tree for client 0, one reliable "signal"
// for a console, and the arguments they refuse.

#include "ScriptTestSupport.h"

#include "game/net/RetainedGUISignals.h"

#include <gmock/gmock.h>


namespace scripttest {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr uint64_t kConsole = (1ull << 63) | 5;

// The server's own screen, which client 0 changes.
RetainedGUIManager& ServerGui()
{
    return host().Screen().RetainedGUI();
}

StoryDialogGUIManager& ServerStories()
{
    return host().Screen().StoryDialogs();
}

// An empty tree, no script hot keys and no story dialogs, whatever state
// they were left in.
void ResetRetainedGUI()
{
    ServerGui().SetBuilding(false, "");
    ServerGui().SetBuilding(true, "");
    ServerGui().SetBuilding(false, "");
    ServerStories().Clear();
}

class ScriptGuiTest : public MissionTest {
protected:
    void SetUp() override
    {
        ResetRetainedGUI();
        host().Start("echo");
        sink.messages.clear();
    }
    void TearDown() override { ResetRetainedGUI(); }

    std::string Console() const { return std::to_string(kConsole); }
};

TEST_F(ScriptGuiTest, client_zero_builds_the_servers_own_tree)
{
    RunScript("zmx.send_gui_clear(0, '')\n"
              "zmx.send_gui_sub_region(0, '', 'panel', '', 0, 0, 100, 100)\n"
              "zmx.send_gui_button(clientID=0, parent='panel', tag='launch', style='text:Launch;pixel_aligned:on',"
              " left=10, top=20, right=110, bottom=60)\n"
              "zmx.send_gui_slider(0, 'panel', 'warp', 25, 'low:0;high:100', 0, 70, 100, 80)\n");
    EXPECT_TRUE(ServerGui().Root().visibleList.empty()) << "nothing shows before the complete";
    RunScript("zmx.send_gui_complete(0, '')");
    const RetainedGUIWidget* launch = ServerGui().FindByTag("launch");
    ASSERT_NE(launch, nullptr);
    EXPECT_EQ(launch->parentTag, "panel");
    EXPECT_EQ(launch->text, "Launch");
    EXPECT_TRUE(launch->absolute);
    EXPECT_EQ(launch->right, 110.0f);
    EXPECT_EQ(ServerGui().FindByTag("warp")->value, 25.0f);

    RunScript("zmx.hide_gui_tag(0, 'launch')");
    EXPECT_FALSE(launch->shown);
    RunScript("zmx.show_gui_tag(0, 'launch')");
    EXPECT_TRUE(launch->shown);

    RunScript("zmx.send_gui_hotkey(0, 'Bridge', 'launch', 'KEY_F1', 'Launch the probe')");
    ASSERT_EQ(ServerGui().HotKeys().size(), 1u);
    EXPECT_EQ(ServerGui().HotKeys()[0].context + "/" + ServerGui().HotKeys()[0].keyName,
              "Bridge/KEY_F1");
    RunScript("zmx.remove_gui_hotkey(0, 'launch')");
    EXPECT_TRUE(ServerGui().HotKeys().empty());

    RunScript("zmx.send_story_dialog(0, 'Briefing', 'Hold here.', 'head #e6b594 0 0', 'white')");
    ASSERT_FALSE(ServerStories().Empty());
    const StoryDialogEntry& story = ServerStories().Front();
    EXPECT_EQ(story.title + "|" + story.text + "|" + story.face + "|" + story.color,
              "Briefing|Hold here.|head #e6b594 0 0|white");
    EXPECT_TRUE(sink.messages.empty());
}

// The server's own tree reaches the mission at the next mission tick, one
// event per request, oldest first.
TEST_F(ScriptGuiTest, the_servers_own_tree_is_queued_for_the_mission_tick)
{
    RunScript("zmx.send_gui_clear(0, '')\nzmx.send_gui_text(0, '', 'title', 'text:Bridge', 0, 0, 50, 10)\n"
              "zmx.send_gui_complete(0, '')\n"
              "zmx.get_debug_gui_tree(0, 'first', 1)\nzmx.get_debug_gui_tree(0, 'second', 0)\n"
              "delivered = [e.tag for e in received]");
    EXPECT_EQ(Eval("'debug_rgui_tree' in delivered"), "False");
    EXPECT_THAT(host().debugTreeRequests,
                ElementsAre("first\nvisible list\n- title, Bridge, \n", "second\nbackground list\n"));
}

TEST_F(ScriptGuiTest, each_function_sends_a_console_one_reliable_signal)
{
    const std::string c = Console();
    RunScript("zmx.send_gui_clear(" + c + ", 'panel')\n"
              "zmx.send_gui_dropdown(" + c + ", 'panel', 'pick', 'text:Pick;list:a,b,c;draw_layer:12x', 1, 2, 3, 4)\n"
              "zmx.send_gui_slider(" + c + ", 'panel', 'warp', 25, 'low:0;high:100', 5, 6, 7, 8)\n"
              "zmx.send_gui_complete(" + c + ", 'panel')\n"
              "zmx.hide_gui_tag(" + c + ", 'pick')\n"
              "zmx.show_gui_tag(" + c + ", 'pick')\n"
              "zmx.get_debug_gui_tree(" + c + ", 'tree', 1)\n"
              "zmx.send_gui_hotkey(" + c + ", 'Bridge', 'pick', 'KEY_F2', 'Pick')\n"
              "zmx.remove_gui_hotkey(" + c + ", 'pick')\n"
              "zmx.send_story_dialog(" + c + ", 'Briefing', 'Hold.', '', 'white')\n");
    ASSERT_EQ(sink.messages.size(), 10u);
    for (const auto& sent : sink.messages) {
        EXPECT_EQ(sent.to, kConsole) << sent.code;
        EXPECT_EQ(sent.packetFlags, ServerMessageSink::kReliable) << sent.code;
    }
    const auto& m = sink.messages;
    EXPECT_EQ(Decode<RetainedClearSignal>(m[0]).tag, "panel");
    const RetainedGUIWidget pick = Decode<RetainedWidgetSignal>(m[1]).widget;
    EXPECT_EQ(pick.kind + "|" + pick.text + "|" + pick.data + "|" + pick.parentTag, "dropdown|Pick|a^b^c^|panel");
    EXPECT_EQ(pick.layer, 12);
    size_t textBytes = 0;
    for (const std::string* text : {&pick.kind, &pick.text, &pick.tag, &pick.style, &pick.data, &pick.parentTag,
                                    &pick.font, &pick.color})
        textBytes += text->size();
    EXPECT_EQ(m[1].bytes.size(), RetainedWidgetSignal::kFixedBytes + textBytes) << "all eight texts, every number";
    const RetainedGUIWidget warp = Decode<RetainedWidgetSignal>(m[2]).widget;
    EXPECT_EQ(warp.low + warp.high + warp.value, 125.0f);
    EXPECT_EQ(Decode<RetainedCompleteSignal>(m[3]).tag, "panel");
    EXPECT_FALSE(Decode<RetainedVisibilitySignal>(m[4]).shown);
    EXPECT_EQ(m[4].bytes.back(), 0) << "hiding writes the byte 0 after the tag";
    EXPECT_EQ(m[5].bytes.back(), 1);
    const DebugTreeRequestSignal tree = Decode<DebugTreeRequestSignal>(m[6]);
    EXPECT_EQ(tree.tag + std::to_string(tree.visibleListFlag), "tree1");
    const RetainedHotKeySignal added = Decode<RetainedHotKeySignal>(m[7]);
    EXPECT_EQ(added.category + "|" + added.tag + "|" + added.keyName + "|" + added.description,
              "Bridge|pick|KEY_F2|Pick");
    const RetainedHotKeySignal removed = Decode<RetainedHotKeySignal>(m[8]);
    EXPECT_EQ(removed.category + "|" + removed.tag + "|" + removed.keyName + "|" + removed.description, "0|pick|0|0");
    EXPECT_EQ(Decode<StoryDialogSignal>(m[9]).entry.title, "Briefing");
    EXPECT_EQ(ServerGui().FindByTag("pick"), nullptr) << "the server's own tree is untouched";
}

// What a console could not place, or that is not a client, is refused before
// anything is placed or sent.
TEST_F(ScriptGuiTest, widget_arguments_are_checked_whole_before_anything_is_placed)
{
    const std::string c = Console();
    const std::string ship = std::to_string((1ull << 62) | 4);
    struct Case {
        std::string call;
        std::string names;
    };
    const Case cases[] = {
        {"zmx.send_gui_button(" + ship + ", '', 'b', '', 0, 0, 1, 1)", "send_gui_button: clientID"},
        {"zmx.send_gui_button(0, '', 'b', '', float('nan'), 0, 1, 1)", "send_gui_button: left"},
        {"zmx.send_gui_icon(" + c + ", '', 'b', '', 0, 0, 2e6, 1)", "send_gui_icon: right"},
        {"zmx.send_gui_slider(0, '', 's', float('inf'), '', 0, 0, 1, 1)", "send_gui_slider: current"},
        {"zmx.send_gui_slider(0, '', 's', 1, 'low:1e999', 0, 0, 1, 1)", "send_gui_slider: style key low"},
        {"zmx.send_gui_image(0, '', 'i', 'sub_rect:0,0,2e6,1', 0, 0, 1, 1)", "send_gui_image: style's source"},
        {"zmx.send_gui_text(" + c + ", '', 't', 'text:' + 'x' * 8100, 0, 0, 1, 1)", "send_gui_text: texts of"},
        {"zmx.send_gui_clear(7, '')", "send_gui_clear: clientID"},
        {"zmx.hide_gui_tag(0, '')", "hide_gui_tag: tag is empty"},
        {"zmx.show_gui_tag(" + c + ", '')", "show_gui_tag: tag is empty"},
        {"zmx.send_gui_hotkey(" + c + ", '', 't', 'KEY_F1', '')", "send_gui_hotkey: category is empty"},
        {"zmx.remove_gui_hotkey(0, '')", "remove_gui_hotkey: tag is empty"},
        {"zmx.get_debug_gui_tree(" + ship + ", '', 1)", "get_debug_gui_tree: clientID"},
        {"zmx.send_story_dialog(" + ship + ", '', '', '', '')", "send_story_dialog: clientID"},
    };
    for (const Case& bad : cases) {
        const std::string error = RunError(bad.call);
        EXPECT_THAT(error, HasSubstr("ValueError")) << bad.call;
        EXPECT_THAT(error, HasSubstr(bad.names)) << bad.call;
    }
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_TRUE(ServerGui().Root().visibleList.empty());
    EXPECT_TRUE(host().debugTreeRequests.empty());
    EXPECT_THAT(RunError("zmx.send_gui_face(0, '', 'f', style='x', left=0, top=0, right=1, bottom=1)"),
                HasSubstr("TypeError")) << "the face's fourth argument is face_string";
}

}  // namespace
}  // namespace scripttest
