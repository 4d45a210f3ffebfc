// A mission's script screen on this machine's screen, against the recording
// 2D service: where each kind of widget lands and what it draws, the ids of
// the walk, and what the crew's clicks, typing, drags and hot keys report to
// the mission from the server's own screen.

#include "game/shell/RetainedGUIScreen.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/base/QelVirtualKeys.h"
#include "game/guimodel/RetainedGUIManager.h"
#include "game/net/CorvaneServer.h"
#include "game/shell/ScriptHotKeys.h"
#include "game/ui/Edline.h"
#include "game/ui/InterfacePictures.h"
#include "game/ui/KeyVal.h"
#include "game/ui/TextLog.h"
#include "game/world/Simulation.h"
#include "tests/game/ui/UITestFixture.h"
#include "tests/support/RecordingScriptHost.h"
#include "tests/support/RecordingSound.h"
#include "tests/support/ScopedGlobal.h"
#include "tests/support/TempFolder.h"

namespace {

using qeltest::DrawRecord;

// The portraits and ship models the screen asked the renderer for.
struct RecordingPictures : InterfacePictures {
    struct Face {
        std::string description;
        int x, y;
        float size;
        int layer;
    };
    struct Ship {
        Qel2dBitmap* target;
        std::string key;
        IntRect rect;
    };
    void DrawFace(const std::string& description, int x, int y, float size, const glm::vec4&, int layer) override
    {
        faces.push_back({description, x, y, size, layer});
    }
    void DrawShipInBox(Qel2dBitmap* target, const std::string& key, const IntRect& rect) override
    {
        ships.push_back({target, key, rect});
    }
    std::vector<Face> faces;
    std::vector<Ship> ships;
};

// Render targets are recorded bitmaps too.
struct TargetGraphics : qeltest::RecordingGraphics2D {
    Qel2dBitmap* GetRenderTarget(std::string name, int width, int height, bool) override
    {
        return AddBitmap(name, width, height);
    }
};

RetainedGUIWidget Widget(const char* kind, const std::string& tag, IntRect rect)
{
    RetainedGUIWidget widget;
    widget.kind = kind;
    widget.tag = tag;
    widget.absolute = true;
    widget.left = static_cast<float>(rect.left);
    widget.top = static_cast<float>(rect.top);
    widget.right = static_cast<float>(rect.right);
    widget.bottom = static_cast<float>(rect.bottom);
    return widget;
}

IntRect Box(const DrawRecord& text)
{
    return {text.box.left, text.box.top, text.box.right, text.box.bottom};
}

glm::vec4 Rgb(float r, float g, float b)
{
    return {r, g, b, 1.0f};
}

// The screen of a server machine: its own retained GUI drawn on a recording
// service that also makes render targets, its actions going to a recording
// mission.
class RetainedScreenTest : public UITest {
public:
    void SetUp() override
    {
        UITest::SetUp();
        gGraphicsFactory = &drawn;
        theUIContext = UIContext();
        theUIContext.pictures = &pictures;
        theUIContext.LoadSettings();
        KeyVal::Unload();
        dataFolder.emplace("QEL_DATA_DIR", folder.Path().string());  // the hot-key file goes there
        gui.SetHotKeyService(&hotKeys);
        gui.Draw();
        world.Reset(true, "");
        world.clock.time_tick_counter = 77;
        server.SetScriptHost(&host);
        server.SetWorld(&world);
    }

    void TearDown() override
    {
        server.SetScriptHost(nullptr);
        KeyVal::Unload();
        UITest::TearDown();
    }

    // A finished screen of these top-level widgets.
    void Show(const std::vector<RetainedGUIWidget>& widgets)
    {
        gui.SetBuilding(true, "");
        gui.Root().backgroundList = widgets;  // their children built in their background lists
        gui.SetBuilding(false, "");
    }

    // One frame of the screen; the interface's tick moves on after it.
    void Draw()
    {
        drawn.log.clear();
        ui.BeginFrame();
        screen.HandleHotKeys(theUIContext, gui);
        ui.EndFrame();
        input.NextFrame();
        ++ui.tickCount;
    }

    void ClickAt(int32_t x, int32_t y)
    {
        input.MoveTo(x, y);
        input.Press();
        Draw();
        input.Release();
        Draw();
    }

    static std::vector<std::string> SubTags(const qeltest::RecordingScriptHost& mission)
    {
        std::vector<std::string> tags;
        for (const EventMessage& event : mission.events)
            tags.push_back(event.sub_tag);
        return tags;
    }

    RetainedGUIWidget& Find(const std::string& tag) { return *gui.FindByTag(tag); }

    qeltest::TempFolder folder;
    std::optional<qeltest::ScopedEnv> dataFolder;
    TargetGraphics drawn;
    RecordingPictures pictures;
    qeltest::RecordingSound sound;
    qeltest::ScopedGlobal<QelSoundFactoryBase> withSound{gSoundFactory, sound};
    Simulation world;
    CorvaneServer server{CorvaneServer::Settings{}};
    qeltest::ScopedGlobal<CorvaneServer> withServer{gServer, server};
    qeltest::RecordingScriptHost host;
    ScriptHotKeys hotKeys;
    RetainedGUIManager gui;
    RetainedGUIScreen screen;
};

constexpr IntRect kPlace{100, 200, 300, 240};

TEST_F(RetainedScreenTest, every_kind_draws_its_control_in_its_place)
{
    struct Case {
        const char* kind;
        std::function<void(RetainedGUIWidget&)> fill;
        std::function<void(const RetainedScreenTest&)> check;
    };
    const auto quads = [](const RetainedScreenTest& t, const char* source) { return t.drawn.Quads(source); };
    const Case cases[] = {
        {retained_kind::kButton, [](RetainedGUIWidget& w) { w.text = "Engage", w.font = "empty"; },
         [](const RetainedScreenTest& t) {
             const DrawRecord label = t.drawn.Text("Engage");
             EXPECT_EQ(label.source, "DejaVuSans-Bold20");  // "gui-2", the default
             EXPECT_EQ(label.box.left, 103);
             EXPECT_EQ(label.box.bottom, 237);
             EXPECT_EQ(label.layer, 1003);
         }},
        {retained_kind::kRawIconButton, [](RetainedGUIWidget& w) { w.index = 7, w.color = "#ff8000"; },
         [&](const RetainedScreenTest& t) {
             const auto icons = quads(t, "grid-icon-sheet");
             ASSERT_EQ(icons.size(), 2u);
             EXPECT_EQ(icons[0].colour, Rgb(0, 0, 0));
             EXPECT_EQ(icons[0].Left(), 199 - 20);
             EXPECT_EQ(icons[1].Left(), 200 - 20);
             EXPECT_EQ(icons[1].Bottom(), 240);
         }},
        {retained_kind::kClickRegion, [](RetainedGUIWidget& w) { w.data = "#00ff00"; },
         [&](const RetainedScreenTest& t) {
             const auto fills = quads(t, "smallWhite");
             ASSERT_EQ(fills.size(), 1u);  // lit under the mouse
             EXPECT_EQ(fills[0].colour, Rgb(0, 1, 0));
             EXPECT_EQ(fills[0].Right(), 300);
         }},
        {retained_kind::kTypein, [](RetainedGUIWidget& w) { w.text = "Nova", w.data = "Callsign", w.font = "gui-1"; },
         [](const RetainedScreenTest& t) {
             EXPECT_EQ(t.drawn.Text("Nova").box.left, 103);
             EXPECT_EQ(t.drawn.Text("Nova").source, "DejaVuSans16");
             EXPECT_EQ(t.drawn.Text("Callsign").source, "DejaVuSans11");  // the caption, small
         }},
        {retained_kind::kDropdown, [](RetainedGUIWidget& w) { w.text = "Beta", w.data = "Alpha^Beta^"; },
         [](const RetainedScreenTest& t) {
             EXPECT_EQ(t.drawn.Text("Beta").box.left, 103);
             const auto chevron = t.drawn.Where([](const DrawRecord& r) {
                 return r.kind == DrawRecord::Kind::Line && r.dest[2] == 294 && r.dest[3] == 223;
             });
             EXPECT_EQ(chevron.size(), 2u);
         }},
        {retained_kind::kCheckbox, [](RetainedGUIWidget& w) { w.text = "Shields"; },
         [](const RetainedScreenTest& t) { EXPECT_EQ(t.drawn.Text("Shields").box.left, 100 + 30 + 3); }},
        {retained_kind::kColorButton, [](RetainedGUIWidget& w) { w.color = "#ff0000"; },
         [&](const RetainedScreenTest& t) {
             const auto swatch = quads(t, "smallWhite");
             ASSERT_FALSE(swatch.empty());
             EXPECT_EQ(swatch.back().colour, Rgb(1, 0, 0));
             EXPECT_EQ(swatch.back().Left(), 102);
         }},
        {retained_kind::kIconButton, [](RetainedGUIWidget& w) { w.index = 3, w.color = "#00ffff"; },
         [&](const RetainedScreenTest& t) {
             const auto icons = quads(t, "grid-icon-sheet");
             ASSERT_EQ(icons.size(), 1u);
             EXPECT_EQ(icons[0].colour, Rgb(0, 1, 1));
             EXPECT_EQ((icons[0].Left() + icons[0].Right()) / 2, 200);
         }},
        {retained_kind::kColorCheckbox, [](RetainedGUIWidget& w) { w.color = "#ff0000"; },
         [&](const RetainedScreenTest& t) {
             const auto swatch = quads(t, "smallWhite");
             ASSERT_FALSE(swatch.empty());
             EXPECT_EQ(swatch.back().colour, Rgb(1, 0, 0));
             EXPECT_GE(swatch.back().Left(), 200);  // the right half, beside the lit indicator
         }},
        {retained_kind::kIconCheckbox, [](RetainedGUIWidget& w) { w.index = 3, w.ticked = false; },
         [&](const RetainedScreenTest& t) {
             const auto icons = quads(t, "grid-icon-sheet");
             ASSERT_EQ(icons.size(), 1u);
             EXPECT_EQ(icons[0].colour, Rgb(1, 1, 1));  // no colour given: white
             EXPECT_EQ((icons[0].Left() + icons[0].Right()) / 2, 250);
         }},
        {retained_kind::kSlider, [](RetainedGUIWidget& w) { w.high = 100, w.value = 50, w.data = "int"; },
         [](const RetainedScreenTest& t) {
             const DrawRecord knob = t.drawn.Text("50");
             EXPECT_EQ((knob.box.left + knob.box.right) / 2, 200);
         }},
        {retained_kind::kText, [](RetainedGUIWidget& w) { w.text = "Bearing 042", w.index = 2, w.color = "#ffff00"; },
         [](const RetainedScreenTest& t) {
             const DrawRecord text = t.drawn.Text("Bearing 042");
             EXPECT_EQ(text.box.left, 100);
             EXPECT_EQ(text.box.bottom, 240);
             EXPECT_EQ(text.align, 1);  // right
             EXPECT_EQ(text.colour, Rgb(1, 1, 0));
             EXPECT_EQ(text.layer, 1003);
         }},
        {retained_kind::kFace, [](RetainedGUIWidget& w) { w.text = "head #e6b594 0 0"; },
         [](const RetainedScreenTest& t) {
             ASSERT_EQ(t.pictures.faces.size(), 1u);
             const RecordingPictures::Face& face = t.pictures.faces[0];
             EXPECT_EQ(face.description, "head #e6b594 0 0");
             EXPECT_EQ(face.x, 100);
             EXPECT_EQ(face.y, 200);
             EXPECT_EQ(face.size, 200.0f);
             EXPECT_EQ(face.layer, 1001);
         }},
        {retained_kind::kShip3D, [](RetainedGUIWidget& w) { w.text = "frigate"; },
         [](const RetainedScreenTest& t) {
             ASSERT_EQ(t.pictures.ships.size(), 1u);
             EXPECT_EQ(t.pictures.ships[0].key, "frigate");
             EXPECT_EQ(t.pictures.ships[0].rect, kPlace);
             EXPECT_EQ(t.pictures.ships[0].target, t.gui.ShipTarget());
         }},
        {retained_kind::kIcon, [](RetainedGUIWidget& w) { w.index = 5, w.color = "#00ff00"; },
         [&](const RetainedScreenTest& t) {
             const auto icons = quads(t, "grid-icon-sheet");
             ASSERT_EQ(icons.size(), 2u);
             EXPECT_EQ(icons[0].colour, Rgb(0, 0, 0));
             EXPECT_EQ(icons[1].colour, Rgb(0, 1, 0));
             EXPECT_EQ(icons[1].Top(), 200);
         }},
        {retained_kind::kBitmap, [](RetainedGUIWidget& w) { w.data = "starchart", w.srcRight = 16, w.srcBottom = 8; },
         [&](const RetainedScreenTest& t) {
             const auto art = quads(t, "starchart");
             ASSERT_EQ(art.size(), 1u);
             EXPECT_EQ(art[0].Left(), 100);
             EXPECT_EQ(art[0].Bottom(), 240);
             EXPECT_EQ(art[0].layer, 1001);
             EXPECT_TRUE(art[0].srcInPixels);
             EXPECT_EQ(art[0].src[6], 16.0f);
         }},
        {retained_kind::kSubregion,
         [](RetainedGUIWidget& w) {
             w.tag = "panel";
             RetainedGUIWidget inner;
             inner.kind = retained_kind::kText;
             inner.text = "inner";
             inner.left = 50, inner.top = 50, inner.right = 100, inner.bottom = 75;  // percent of the panel
             w.backgroundList.push_back(inner);
         },
         [](const RetainedScreenTest& t) {
             const DrawRecord text = t.drawn.Text("inner");
             EXPECT_EQ(Box(text), (IntRect{200, 220, 300, 230}));
         }},
    };
    ASSERT_EQ(std::size(cases), retained_kind::kAll.size());
    drawn.AddBitmap("starchart", 64, 32);
    input.MoveTo(200, 220);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        RetainedGUIWidget widget = Widget(c.kind, "widget", kPlace);
        c.fill(widget);
        Show({widget});
        pictures = RecordingPictures{};
        Draw();
        c.check(*this);
    }
}

TEST_F(RetainedScreenTest, percentages_cut_toward_zero_and_huge_regions_stay_within_reach)
{
    RetainedGUIWidget title = Widget(retained_kind::kText, "title", {});
    title.absolute = false;
    title.text = "Science Station";
    title.left = 2, title.top = 2, title.right = 60, title.bottom = 8;
    RetainedGUIWidget huge = Widget(retained_kind::kSubregion, "huge", {});
    huge.absolute = false;
    huge.right = huge.bottom = RetainedGUIWidget::kMaxCoordinate;
    RetainedGUIWidget deep = huge;
    deep.tag = "deep";
    RetainedGUIWidget far = Widget(retained_kind::kText, "far", {});
    far.absolute = false;
    far.text = "far away";
    far.left = far.top = 10, far.right = far.bottom = RetainedGUIWidget::kMaxCoordinate;
    deep.backgroundList.push_back(far);
    huge.backgroundList.push_back(deep);
    Show({title, huge});
    Draw();
    EXPECT_EQ(Box(drawn.Text("Science Station")), (IntRect{20, 15, 614, 61}));
    const DrawRecord away = drawn.Text("far away");
    EXPECT_GT(away.box.left, 1000000);
    EXPECT_LE(away.box.right, 100000000);
}

TEST_F(RetainedScreenTest, ids_follow_the_walk_and_hidden_or_unknown_widgets_take_none)
{
    RetainedGUIWidget first = Widget(retained_kind::kButton, "first", {0, 0, 100, 30});
    RetainedGUIWidget second = Widget(retained_kind::kButton, "second", {0, 40, 100, 70});
    RetainedGUIWidget odd = Widget("buttn", "odd", {0, 80, 100, 110});
    RetainedGUIWidget third = Widget(retained_kind::kButton, "third", {0, 120, 100, 150});
    Show({first, second, odd, third});
    const auto hotAt = [&](int32_t y) {
        input.MoveTo(50, y);
        Draw();
        return ui.hotId;
    };
    EXPECT_EQ(hotAt(15), 20001);
    EXPECT_EQ(hotAt(55), 20002);
    EXPECT_EQ(hotAt(95), 0);  // a misspelled kind draws nothing
    EXPECT_EQ(hotAt(135), 20003);

    gui.SetHidden("second", false);
    EXPECT_EQ(hotAt(55), 0);
    EXPECT_EQ(hotAt(135), 20002);  // the later sibling still draws

    Show({third, first});
    EXPECT_EQ(hotAt(135), 20001);
    EXPECT_EQ(hotAt(15), 20002);
}

TEST_F(RetainedScreenTest, crew_actions_reach_the_mission_as_gui_messages_of_the_servers_screen)
{
    RetainedGUIWidget launch = Widget(retained_kind::kButton, "launch", {0, 0, 200, 40});
    launch.text = "Launch probe";
    RetainedGUIWidget shields = Widget(retained_kind::kCheckbox, "shields", {0, 50, 200, 90});
    RetainedGUIWidget target = Widget(retained_kind::kDropdown, "target", {300, 0, 500, 40});
    target.text = "none";
    target.data = "KV-7 Raider^Outpost Meridian^";
    RetainedGUIWidget callsign = Widget(retained_kind::kTypein, "callsign", {0, 300, 300, 340});
    Show({launch, shields, target, callsign});

    ClickAt(100, 20);
    ClickAt(100, 70);
    EXPECT_TRUE(Find("shields").ticked);  // the mission decides what a click means
    ClickAt(400, 20);                       // opens the list
    ClickAt(410 + 20, 40 + 41 + 20);        // its second row
    EXPECT_EQ(Find("target").text, "Outpost Meridian");
    ClickAt(100, 320);
    input.Type("Ok");
    Draw();

    EXPECT_EQ(SubTags(host), (std::vector<std::string>{"launch", "shields", "target", "callsign"}));
    for (const EventMessage& event : host.events) {
        EXPECT_EQ(event.tag, "gui_message");
        EXPECT_EQ(event.client_id, 0u);
        EXPECT_EQ(event.event_time, 77);
    }
    EXPECT_EQ(host.events[2].sub_float, 1.0f);
    EXPECT_EQ(host.events[2].value_tag, "Outpost Meridian");
    EXPECT_EQ(host.events[3].value_tag, "Ok");
    // Each click that acted clicked aloud; typing is silent.
    EXPECT_EQ(sound.log, std::vector<std::string>(3, "GetSound gui/button"));

    const float volume = AppData::GuiVolume();
    AppData::SetGuiVolume(0.005f);
    ClickAt(100, 20);
    AppData::SetGuiVolume(volume);
    EXPECT_EQ(host.events.size(), 5u);
    EXPECT_EQ(sound.log.size(), 3u);  // the interface's volume is off
}

TEST_F(RetainedScreenTest, typing_moves_with_the_cursor_keys_and_reports_every_change_and_enter)
{
    RetainedGUIWidget name = Widget(retained_kind::kTypein, "name", {0, 0, 300, 40});
    name.text = "Vega";
    RetainedGUIWidget code = Widget(retained_kind::kTypein, "code", {0, 50, 300, 90});
    code.ticked = false;  // a password
    code.text = "1234";
    Show({name, code});
    ClickAt(100, 20);
    input.KeyDown(qel::vk::kEnd);
    Draw();
    input.Type("ra");
    Draw();
    input.KeyDown(qel::vk::kLeft);
    input.KeyDown(qel::vk::kLeft);
    Draw();
    input.TypeCode(qel::vk::kBack);
    input.Type("X");
    Draw();
    EXPECT_EQ(Find("name").text, "VegXra");
    EXPECT_EQ(SubTags(host), (std::vector<std::string>{"name", "name"}));
    EXPECT_EQ(host.events[0].value_tag, "Vegara");
    EXPECT_EQ(host.events[1].value_tag, "VegXra");

    input.TypeCode(qel::vk::kReturn);
    Draw();
    Draw();
    ASSERT_EQ(host.events.size(), 3u);  // Enter reports the text as it stands
    EXPECT_EQ(host.events[2].value_tag, "VegXra");
    EXPECT_FALSE(drawn.Text("****").text.empty());
    EXPECT_TRUE(drawn.Text("1234").text.empty());
}

TEST_F(RetainedScreenTest, a_dragged_slider_reports_once_every_five_ticks_and_when_let_go)
{
    RetainedGUIWidget power = Widget(retained_kind::kSlider, "power", {0, 0, 300, 30});
    power.high = 300;
    Show({power});
    input.MoveTo(10, 15);
    input.Press();
    Draw();
    for (int tick = 0; tick < 30; ++tick) {
        input.MoveTo(11 + tick * 9, 15);
        Draw();
    }
    EXPECT_EQ(host.events.size(), 6u);
    input.Release();
    Draw();
    ASSERT_EQ(host.events.size(), 7u);
    EXPECT_EQ(host.events.back().sub_float, Find("power").value);
    EXPECT_NEAR(Find("power").value, 272.0f, 1.0f);
}

TEST_F(RetainedScreenTest, script_hot_keys_act_on_their_widget_and_a_tag_without_one_does_nothing)
{
    RetainedGUIWidget launch = Widget(retained_kind::kButton, "launch", {0, 0, 200, 40});
    Show({launch});
    gui.AddHotKey("MISSION", "launch", "KEY_L", "launch the probe");
    gui.AddHotKey("MISSION", "nothing_here", "KEY_N", "acts on nothing");
    input.KeyDown('L');
    input.KeyDown('N');
    Draw();
    EXPECT_EQ(SubTags(host), (std::vector<std::string>{"launch"}));
    input.KeyUp('L');
    input.KeyUp('N');
    Draw();
    EXPECT_EQ(host.events.size(), 1u);
}

// The mission's usual answer to a click is a new screen; it is built while
// the walk that found the click is over.
TEST_F(RetainedScreenTest, a_mission_rebuilding_its_screen_on_a_click_gets_every_action_of_the_frame)
{
    struct RebuildingHost : qeltest::RecordingScriptHost {
        void HandleEvent(const EventMessage& event) override
        {
            RecordingScriptHost::HandleEvent(event);
            gui->SetBuilding(true, "");
            for (int i = 0; i < 40; ++i)
                gui->AddWidget(Widget(retained_kind::kButton, "page2_" + std::to_string(i), {0, 0, 10, 10}));
            gui->SetBuilding(false, "");
            gui->RemoveHotKey("launch");
        }
        RetainedGUIManager* gui = nullptr;
    } rebuilding;
    rebuilding.gui = &gui;
    server.SetScriptHost(&rebuilding);

    RetainedGUIWidget launch = Widget(retained_kind::kButton, "launch", {0, 0, 200, 40});
    RetainedGUIWidget panel = Widget(retained_kind::kSubregion, "panel", {0, 100, 400, 400});
    RetainedGUIWidget inside = Widget(retained_kind::kButton, "inside", {0, 0, 100, 40});
    panel.backgroundList.push_back(inside);
    Show({launch, panel});
    gui.AddHotKey("MISSION", "launch", "KEY_L", "launch");
    gui.AddHotKey("MISSION", "inside", "KEY_I", "inside");

    input.MoveTo(100, 20);
    input.Press();
    Draw();
    input.Release();
    input.KeyDown('L');
    input.KeyDown('I');
    Draw();
    EXPECT_EQ(SubTags(rebuilding), (std::vector<std::string>{"launch", "launch", "inside"}));
    EXPECT_EQ(gui.Root().visibleList.size(), 40u);
}

TEST_F(RetainedScreenTest, a_missing_bitmap_is_named_once_and_the_rest_of_the_screen_draws)
{
    RetainedGUIWidget art = Widget(retained_kind::kBitmap, "art", {0, 0, 100, 100});
    art.data = "no_such_chart";
    RetainedGUIWidget label = Widget(retained_kind::kText, "label", {0, 100, 200, 130});
    label.text = "Chart unavailable";
    Show({art, label});
    const size_t linesBefore = theConsoleLog.Count();
    for (int frame = 0; frame < 3; ++frame)
        Draw();
    ASSERT_EQ(theConsoleLog.Count(), linesBefore + 1);
    EXPECT_EQ(theConsoleLog.Line(linesBefore).text, "BITMAP FILE NOT FOUND: no_such_chart");
    EXPECT_EQ(theConsoleLog.Line(linesBefore).colour, Rgb(1, 0, 0));
    EXPECT_FALSE(drawn.Text("Chart unavailable").text.empty());
}

}  // namespace
