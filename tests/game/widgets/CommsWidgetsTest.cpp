// The comms console's widgets headless: the buttons the mission offers
// through signal codes 27 and 28 and the code 34 they send, by click and by
// hot key; the portrait widget's heading; and the message waterfall's rows,
// ages, collapsed bodies, clicks, drags, stars, wheel and standby text.

#include "game/widgets/CommsWidgets.h"

#include "engine/base/QelVirtualKeys.h"
#include "game/net/ConsoleScreen.h"
#include "game/net/PresentationSignals.h"
#include "game/net/SignalMessageCrew.h"
#include "game/widgets/LocalConsoleScreen.h"
#include "game/world/AppData.h"
#include "game/world/ShipKeys.h"
#include "tests/game/net/SignalHookSupport.h"
#include "tests/game/widgets/WidgetTestFixture.h"

#include <string>
#include <vector>

namespace {

namespace vk = qel::vk;
using qeltest::DrawRecord;
using qeltest::RecordingFont;

class CommsWidgetsTest : public WidgetTest {
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        client->SetConsoleScreen(&consoleScreen);
        console.consoleName = "comms";
        consoleScreen.ClearInfoLists();
        console.commsControl = CommsControlState();
        console.commsWaterfall = CommsWaterfallState();
        contact = world.CreateSpaceObject("behav_station", "", 0);
        WriteUInt64(ship->data_set, shipkeys::kCommsTargetUid, contact);
    }
    void TearDown() override
    {
        consoleScreen.ClearInfoLists();
        console.commsControl = CommsControlState();
        console.commsWaterfall = CommsWaterfallState();
        WidgetTest::TearDown();
    }

    // The mission's heading and buttons, as the console's signal handler takes them.
    void Offer(const ConsoleInfoEntry& heading, const std::vector<ConsoleInfoEntry>& buttons)
    {
        nettest::SendToClientHook(CommsSelectionInfoSignal::FromEntry(heading), client.get());
        for (const ConsoleInfoEntry& button : buttons)
            nettest::SendToClientHook(CommsButtonInfoSignal::FromEntry(button), client.get());
    }

    std::string FontOf(const char* tag) { return static_cast<RecordingFont*>(ui.GetFont(tag))->Name(); }

    uint64_t contact = 0;
};

// --- comms_control ---------------------------------------------------------------

class CommsControlTest : public CommsWidgetsTest {
protected:
    void Draw() { WidgetTest::Draw(ViewCommsControlDraw, kBox, "comms_control"); }
    void Key(int32_t key) { PressKey(ViewCommsControlDraw, kBox, key, "comms_control"); }

    static std::vector<ConsoleInfoEntry> Numbered(int count)
    {
        std::vector<ConsoleInfoEntry> buttons;
        for (int i = 1; i <= count; ++i)
            buttons.push_back({"B" + std::to_string(i), "white", "cmd" + std::to_string(i)});
        return buttons;
    }

    // 300 pixels high: a heading band of 30, a list area of 270 (five rows
    // counted visible), the slider's 40 at the right.
    static constexpr IntRect kBox{100, 100, 500, 400};
    static constexpr int32_t kListTop = 130;
};

TEST_F(CommsControlTest, draws_nothing_until_the_mission_offers_a_button_to_a_console_with_a_ship)
{
    Offer({"Halcyon Station", "gold", ""}, {});
    Draw();
    EXPECT_TRUE(graphics.log.empty());

    Offer({"Halcyon Station", "gold", ""}, {{"Hail", "white", "hail"}});
    world.subjectID = 0;
    Draw();
    EXPECT_TRUE(graphics.log.empty());
    world.subjectID = ship->uniqueID;
    Draw();
    EXPECT_TRUE(Drawn("Hail"));
}

TEST_F(CommsControlTest, the_heading_and_buttons_show_in_the_missions_colours_one_row_after_another)
{
    Offer({"Halcyon Station", "#ffcc00", ""}, {{"Request dock", "#00ff00", "dock"}, {"Hail", "red", "hail"}});
    Draw();
    const DrawRecord heading = graphics.Text("Halcyon Station");
    EXPECT_EQ(heading.source, FontOf("gui-2"));
    EXPECT_EQ(heading.box.left, kBox.left);
    EXPECT_EQ(heading.box.top, kBox.top);
    EXPECT_EQ(heading.colour, glm::vec4(1.0f, 0.8f, 0.0f, 1.0f));

    const DrawRecord dock = graphics.Text("Request dock");
    const DrawRecord hail = graphics.Text("Hail");
    EXPECT_EQ(dock.colour, glm::vec4(0.0f, 1.0f, 0.0f, 1.0f));
    EXPECT_EQ(hail.colour, glm::vec4(1.0f, 0.0f, 0.0f, 1.0f));
    EXPECT_GE(dock.box.top, kListTop);
    EXPECT_LT(dock.box.top, kListTop + 45);
    EXPECT_EQ(hail.box.top - dock.box.top, 45);
    // Clear of the slider.
    EXPECT_LE(dock.box.right, kBox.right - 40);
}

TEST_F(CommsControlTest, a_click_and_the_buttons_digit_key_send_its_command_for_the_ship_and_its_contact)
{
    Offer({"Halcyon Station", "white", ""}, Numbered(3));
    Draw();
    ClickLabel(ViewCommsControlDraw, kBox, "B2", "comms_control");
    Key(vk::kDigit0 + 3);

    const std::vector<CommsButtonSignal> sent = network.Signals<CommsButtonSignal>();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].button, "cmd2");
    EXPECT_EQ(sent[1].button, "cmd3");
    for (const CommsButtonSignal& button : sent) {
        EXPECT_EQ(button.shipId, ship->uniqueID);
        EXPECT_EQ(button.contactId, contact);
    }
}

TEST_F(CommsControlTest, the_slider_scrolls_ten_buttons_and_only_drawn_buttons_answer_their_keys)
{
    Offer({"Halcyon Station", "white", ""}, Numbered(10));
    Draw();  // counts the entries for the scroll range
    Draw();
    const DrawRecord first = graphics.Text("B1");
    EXPECT_GE(first.box.top, kListTop);
    EXPECT_LT(first.box.top, kListTop + 45);
    EXPECT_EQ(graphics.Text("B2").box.top - first.box.top, 45);
    EXPECT_TRUE(Drawn("B6"));
    EXPECT_FALSE(Drawn("B7"));  // 6 x 45 = 270 fills the area

    // At the other end the first row lies (10 - 5) x 45 above the area.
    console.commsControl.scroll = 0.0f;
    Draw();
    EXPECT_FALSE(Drawn("B5"));
    const DrawRecord sixth = graphics.Text("B6");
    ASSERT_EQ(sixth.text, "B6");
    EXPECT_EQ(graphics.Text("B10").box.top - sixth.box.top, 4 * 45);
    EXPECT_LT(sixth.box.top - kListTop, 45);

    Key(vk::kDigit0 + 1);  // B1 is scrolled out
    Key(vk::kDigit0 + 7);
    const std::vector<CommsButtonSignal> sent = network.Signals<CommsButtonSignal>();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].button, "cmd7");
}

TEST_F(CommsControlTest, a_label_too_tall_for_its_row_steps_down_and_is_cut_short_at_the_smallest_face)
{
    // The recording fonts set 8-pixel characters in 16-pixel lines whatever
    // their size: the list area's 360 pixels hold 45 characters a line, and a
    // row two lines of text.
    std::string twoLines, threeLines;
    for (int i = 0; i < 12; ++i)
        twoLines += "abcd ";
    for (int i = 0; i < 20; ++i)
        threeLines += "wxyz ";
    twoLines.pop_back();
    threeLines.pop_back();
    Offer({"Halcyon Station", "white", ""}, {{twoLines, "white", "a"}, {threeLines, "white", "b"}});
    Draw();
    EXPECT_EQ(graphics.Text(twoLines).source, FontOf("gui-2"));
    // Three lines fit no face: the smallest keeps two, the second cut short.
    const std::vector<DrawRecord> cut = graphics.Where(
        [](const DrawRecord& r) { return r.kind == DrawRecord::Kind::Text && r.text.rfind("wxyz", 0) == 0; });
    ASSERT_EQ(cut.size(), 2u);
    EXPECT_EQ(cut[0].source, "DejaVuSans-Bold10");
    EXPECT_EQ(cut[1].source, "DejaVuSans-Bold10");
    EXPECT_EQ(cut[1].text.substr(cut[1].text.size() - 3), "...");
}

// --- comms_face --------------------------------------------------------------------

TEST_F(CommsWidgetsTest, the_face_shows_the_heading_in_its_colour_at_the_boxs_corner_and_nothing_without_a_ship)
{
    const IntRect box{10, 20, 210, 320};
    Offer({"Skarn Depot", "#ff5533", ""}, {});
    WidgetTest::Draw(ViewCommsFaceDraw, box, "comms_face");
    const DrawRecord heading = graphics.Text("Skarn Depot");
    EXPECT_EQ(heading.box.left, 12);
    EXPECT_EQ(heading.box.top, 22);
    EXPECT_EQ(heading.source, FontOf("gui-2"));
    EXPECT_NEAR(heading.colour.r, 1.0f, 1e-6);
    EXPECT_NEAR(heading.colour.g, 0x55 / 255.0f, 1e-6);

    world.subjectID = 0;
    WidgetTest::Draw(ViewCommsFaceDraw, box, "comms_face");
    EXPECT_TRUE(graphics.log.empty());
}

// --- comms_waterfall -------------------------------------------------------------------

class CommsWaterfallTest : public CommsWidgetsTest {
protected:
    void SetUp() override
    {
        CommsWidgetsTest::SetUp();
        manager->radarTarget = graphics.AddBitmap("radar target", 1280, 720);
        world.clock.time_tick_counter = 10000;
    }

    CommsMessageRecord& Receive(const std::string& title, const std::string& body, int64_t age,
                                uint64_t source = 0)
    {
        CommsMessageRecord message;
        message.sourceId = source;
        message.title = title;
        message.body = body;
        message.arrivalTick = world.TickCount() - age;
        world.commsMessages.push_back(message);
        return world.commsMessages.back();
    }

    void Draw(const IntRect& box = kBox) { WidgetTest::Draw(ViewCommsWaterfallDraw, box, "comms_waterfall"); }

    // The mouse in list-area pixels: the list area starts at the box's corner.
    void MoveTo(int32_t x, int32_t y) { input.MoveTo(kBox.left + x, kBox.top + y); }

    // A press, a move by dy, and the release there.
    void Drag(int32_t x, int32_t y, int32_t dy)
    {
        MoveTo(x, y);
        input.Press();
        Draw();
        MoveTo(x, y + dy);
        Draw();
        input.Release();
        Draw();
    }

    // The background of the row whose title is drawn, from this frame's records.
    DrawRecord RowBackground(const std::string& title)
    {
        const int top = graphics.Text(title).box.top;
        for (const DrawRecord& quad : graphics.Quads("smallWhite"))
            if (static_cast<int>(quad.Top()) == top && quad.layer == 1000)
                return quad;
        return DrawRecord{};
    }

    // 143 pixels wide: a list of 112 (K), collapsed bodies 80 pixels (ten
    // recording-font characters) a line. Rows 2 x 20 + 14 = 54 high.
    static constexpr IntRect kBox{200, 100, 343, 500};
    static constexpr int32_t kRowHeight = 54;
};

TEST_F(CommsWaterfallTest, newest_first_each_with_its_age_in_whole_minutes)
{
    struct Case {
        int64_t age;
        const char* shown;  // "" when no age shows
    };
    // Titles short enough to keep their room beside an age in the narrow list.
    const std::vector<Case> cases = {{0, ""}, {1799, ""}, {1800, "1 min"}, {5399, "2 min"}, {5400, "3 min"}};
    const auto titleOf = [](size_t i) { return "T" + std::to_string(i); };
    for (size_t i = 0; i < cases.size(); ++i)
        Receive(titleOf(i), "", cases[i].age);
    theUIContext.textRuns.recording = true;
    Draw();
    theUIContext.textRuns.recording = false;
    // The age keeps to the right of its title: nothing drawn over anything.
    EXPECT_EQ(theUIContext.textRuns.Faults(), "");
    for (size_t i = 0; i < cases.size(); ++i) {
        const DrawRecord title = graphics.Text(titleOf(i));
        ASSERT_EQ(title.text, titleOf(i));
        // The last received at the top.
        EXPECT_EQ(title.box.top, static_cast<int>(cases.size() - 1 - i) * kRowHeight) << cases[i].age;
        const std::vector<DrawRecord> ages = graphics.Where([&](const DrawRecord& r) {
            return r.kind == DrawRecord::Kind::Text && r.align == 1 && r.box.top == title.box.top;
        });
        if (*cases[i].shown == '\0') {
            EXPECT_TRUE(ages.empty()) << cases[i].age;
        } else {
            ASSERT_EQ(ages.size(), 1u) << cases[i].age;
            EXPECT_EQ(ages[0].text, cases[i].shown);
        }
    }
}

TEST_F(CommsWaterfallTest, a_closed_message_shows_its_first_line_cut_short_when_more_follow)
{
    struct Case {
        IntRect box;
        const char* body;
        const char* shown;
    };
    const IntRect narrow{200, 100, 279, 500};  // bodies of two characters a line
    const std::vector<Case> cases = {
        {kBox, "Dock now", "Dock now"},
        {kBox, "Dock at once please", "Dock at..."},
        {narrow, "abc", "a."},  // a word wider than the line is cut where it leaves it
    };
    for (const Case& c : cases) {
        world.commsMessages.clear();
        Receive("Depot", c.body, 0);
        Draw(c.box);
        EXPECT_TRUE(Drawn(c.shown)) << c.body;
    }
}

TEST_F(CommsWaterfallTest, a_short_drag_opens_the_message_under_it_and_selects_its_sender)
{
    Receive("Old", "first", 3000);
    Receive("Depot", "Dock at once please, the storm is coming", 0, contact);
    Draw();
    Drag(60, 20, -1);  // 4 scroll units: a click

    EXPECT_EQ(console.commsWaterfall.expanded, 1);
    EXPECT_EQ(world.commsMessages[1].starState, 0);
    SelectObjectSignal selected;
    ASSERT_TRUE(network.Read(selected));
    EXPECT_EQ(selected.objectId, contact);
    EXPECT_EQ(selected.dataSetKey, shipkeys::kCommsTargetUid.name);

    // Open, the row is as tall as its measured body (the list's width less 30
    // is 82 pixels: five lines broken between words) and red; the whole body shows.
    MoveTo(-100, -100);
    Draw();
    const int32_t measured = 5 * RecordingFont::kLineHeight + RecordingFont::kLineHeight + 14;
    EXPECT_EQ(world.commsMessages[1].measuredHeight, measured);
    EXPECT_EQ(graphics.Text("Old").box.top, measured);
    EXPECT_TRUE(Drawn("Dock at once please, the storm is coming"));
    EXPECT_FLOAT_EQ(RowBackground("Depot").colour.r, 0.3f);

    Drag(60, 20, -1);
    EXPECT_EQ(console.commsWaterfall.expanded, CommsWaterfallState::kNone);
}

TEST_F(CommsWaterfallTest, a_new_world_closes_the_opened_message)
{
    Receive("Depot", "Dock at once please", 0);
    Drag(60, 20, -1);
    ASSERT_EQ(console.commsWaterfall.expanded, 0);

    console.StartNewWorld();
    world.commsMessages.clear();
    Receive("Warden", "A new day", 0);
    MoveTo(-100, -100);
    Draw();
    EXPECT_FLOAT_EQ(RowBackground("Warden").colour.r, 0.0f);
}

TEST_F(CommsWaterfallTest, a_long_drag_only_scrolls)
{
    for (int i = 0; i < 12; ++i)
        Receive("M" + std::to_string(i), "", 0);
    Draw();
    Drag(60, 100, -10);
    EXPECT_FLOAT_EQ(console.commsWaterfall.scroll, 960.0f);
    EXPECT_EQ(console.commsWaterfall.expanded, CommsWaterfallState::kNone);
    EXPECT_EQ(network.Signals<SelectObjectSignal>().size(), 0u);
    // The list moved up: the newest row starts above the area.
    MoveTo(-100, -100);
    Draw();
    EXPECT_LT(graphics.Text("M11").box.top, 0);
}

TEST_F(CommsWaterfallTest, clicks_on_the_corner_step_the_star_through_filled_and_hollow_to_none)
{
    graphics.AddBitmap("starFilled", 320, 320);
    graphics.AddBitmap("starHollow", 320, 320);
    CommsMessageRecord& message = Receive("Depot", "", 0);
    const std::vector<std::pair<int32_t, const char*>> steps = {{1, "starFilled"}, {2, "starHollow"}, {0, nullptr}};
    for (const auto& [state, bitmap] : steps) {
        Drag(10, 10, -1);
        EXPECT_EQ(message.starState, state);
        MoveTo(-100, -100);
        Draw();
        for (const char* name : {"starFilled", "starHollow"}) {
            const std::vector<DrawRecord> drawn = graphics.From(name);
            EXPECT_EQ(drawn.size(), bitmap && std::string(bitmap) == name ? 1u : 0u) << state << name;
        }
    }
}

TEST_F(CommsWaterfallTest, the_wheel_scrolls_within_range_only_over_the_box)
{
    Receive("Depot", "", 0);
    input.mouse.wheel = 200;
    MoveTo(-150, 10);  // outside
    Draw();
    EXPECT_FLOAT_EQ(console.commsWaterfall.scroll, 1000.0f);
    EXPECT_EQ(input.mouse.wheel, 200);

    MoveTo(50, 10);
    input.mouse.wheel = -300;
    Draw();
    EXPECT_FLOAT_EQ(console.commsWaterfall.scroll, 700.0f);
    EXPECT_EQ(input.mouse.wheel, 0);
    input.mouse.wheel = 5000;
    Draw();
    EXPECT_FLOAT_EQ(console.commsWaterfall.scroll, 1000.0f);
}

TEST_F(CommsWaterfallTest, a_red_line_pulses_along_the_top_while_the_newest_message_is_new)
{
    auto pulse = [&] {
        return graphics.Where([](const DrawRecord& r) { return r.kind == DrawRecord::Kind::Line && r.layer == 1005; });
    };
    Receive("Depot", "", 300);
    Draw();
    EXPECT_TRUE(pulse().empty());
    Receive("Depot", "", 249);
    Draw();
    ASSERT_EQ(pulse().size(), 1u);
    EXPECT_EQ(pulse()[0].dest[1], static_cast<float>(kBox.top));
    EXPECT_EQ(pulse()[0].colour.g, 0.0f);
}

TEST_F(CommsWaterfallTest, without_a_ship_it_shows_one_standby_text_centred_and_keeps_it)
{
    const std::vector<std::string> preference = AppData::StandbyTexts();
    AppData::SetStandbyTexts({"Comms offline", "Awaiting hail"});
    world.subjectID = 0;
    Draw();
    const std::vector<DrawRecord> shown = graphics.Of(DrawRecord::Kind::Text);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].align, 2);
    EXPECT_EQ(shown[0].colour, ui.mainColour);
    for (int i = 0; i < 5; ++i) {
        Draw();
        EXPECT_EQ(graphics.Texts(), std::vector<std::string>{shown[0].text});
    }

    AppData::SetStandbyTexts({});
    Draw();
    EXPECT_TRUE(graphics.log.empty());
    AppData::SetStandbyTexts(preference);
}

}  // namespace
