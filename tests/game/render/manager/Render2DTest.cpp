// The 2D radar headless, on the recording graphics service and a scripted
// mouse: the mapping between world and screen, the grid, ring and read-out
// maths, picking, and the signals a click, a hold, a right-click, a hold-menu
// button and the science radar's scan requests send.

#include "game/render/manager/RenderManager.h"

#include "game/net/SignalMessage.h"
#include "game/net/SignalMessageCrew.h"
#include "game/render/manager/ClickTimer.h"
#include "game/render/manager/SharedConsoleState.h"
#include "game/ui/TextLog.h"
#include "game/world/DataKey.h"
#include "game/world/ShipData.h"
#include "game/world/Simulation.h"
#include "tests/game/ui/UITestFixture.h"
#include "tests/support/GeneratedData.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <glm/gtc/quaternion.hpp>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

using qeltest::DrawRecord;

constexpr float kPi = 3.14159265f;

SceneFunction StayingScene(SceneEvent, SceneState&, RenderManager*)
{
    return StayingScene;
}

void SetFloat(SpaceObject& object, const char* key, float value, int32_t index = 0)
{
    WriteFloat(object.data_set, DataKey{key, kPlayDoc}, value, index);
}
void SetInt(SpaceObject& object, const char* key, int32_t value, int32_t index = 0)
{
    WriteInt(object.data_set, DataKey{key, kPlayDoc}, value, index);
}

// A signal the radar sent, kept as its bytes.
struct SentSignal {
    uint16_t code = 0;
    std::vector<uint8_t> bytes;

    // The payload read back with the game's own reader; false when it does
    // not read whole.
    template <typename Signal>
    bool Read(Signal& signal) const
    {
        QelNetworkMessage message;
        message.WriteBytes(bytes.data(), static_cast<int32_t>(bytes.size()));
        uint64_t name = 0;
        uint16_t read = 0;
        message.ReadInt64(name).ReadInt16(read);
        return ReadSignal(message, signal) && message.BytesLeftToRead() == 0;
    }
};

class Render2DTest : public UITest {
protected:
    void SetUp() override
    {
        qeltest::LinkGeneratedData(data);
        UITest::SetUp();
        for (const char* name : {"radar_2", "reticle-set", "unknownShipIcon", "uparrow", "teardrop"})
            graphics.AddBitmap(name, 256, 256);
        ShipData& ships = ShipData::Instance();
        ships.ClearRecords(ships.mainRecords);
        ships.LoadMain();
        manager = std::make_unique<RenderManager>(StayingScene, &console);
        manager->Setup();
        manager->radarScale = 0.1f;  // a tenth of a pixel a unit: the figures below are worked at it
        manager->signalSink = [this](QelNetworkMessage& message) {
            SentSignal signal;
            signal.bytes.assign(message.buffer, message.buffer + message.writeIndex);
            signal.code = static_cast<uint16_t>(signal.bytes[8] | signal.bytes[9] << 8);
            sent.push_back(signal);
        };
        world = std::make_unique<Simulation>();
        world->Reset(false, "");
        own = Make("behav_playership", "tern_frigate", {0, 0, 0});
        own->side = "navy";
        world->subjectID = own->uniqueID;
        console.consoleName = "helm";
        // The pointer at the window's middle is the radar's centre.
        centreX = graphics.width / 2;
        centreY = graphics.height / 2;
        rect = {0, 0, graphics.width, graphics.height};
        Draw();  // the first frame learns the view's rectangle
    }
    void TearDown() override
    {
        manager.reset();
        world.reset();
        ShipData::Instance().ClearRecords(ShipData::Instance().mainRecords);
        UITest::TearDown();
    }

    SpaceObject* Make(const char* behaviour, const char* shipKey, const glm::vec3& at)
    {
        SpaceObject* object = world->GetSpaceObject(world->CreateSpaceObject(behaviour, shipKey, 0));
        world->RepositionSpaceObject(object, at.x, at.y, at.z);
        return object;
    }
    // A contact the own side has scanned, named.
    SpaceObject* Contact(const glm::vec3& at, const char* name = "Kestrel")
    {
        SpaceObject* ship = Make("behav_npcship", "tern_frigate", at);
        ship->side = "pirates";
        ship->data_set.SetStringByIndexString("scan", "yes", "navy", "a");
        WriteString(ship->data_set, DataKey{"name_tag", kPlayDoc}, name);
        return ship;
    }

    void Draw(const std::string& kind = Render2D::kNormalKind)
    {
        Frame([&] { manager->render2D.Draw(rect, kind); });
    }
    // A draw with the pointer off the radar whose texts are recorded; none may cover another.
    void DrawRecordingTexts()
    {
        input.MoveTo(-100, -100);
        theUIContext.textRuns.runs.clear();
        theUIContext.textRuns.recording = true;
        Draw();
        theUIContext.textRuns.recording = false;
        EXPECT_EQ(theUIContext.textRuns.Faults(), "");
    }
    // The window pixel of a world point at the default scale.
    void PointAt(float worldX, float worldZ, int32_t dx = 0)
    {
        input.MoveTo(centreX + static_cast<int32_t>(worldX * 0.1f) + dx, centreY - static_cast<int32_t>(worldZ * 0.1f));
    }
    void AdvanceTicks(int64_t ticks) { world->clock.time_tick_counter += ticks; }
    // A press and release in place, the release this many ticks later.
    void ClickAfter(int64_t ticks, const std::string& kind = Render2D::kNormalKind)
    {
        input.Press();
        Draw(kind);
        AdvanceTicks(ticks);
        input.Release();
        Draw(kind);
    }
    std::vector<SentSignal> SentWith(uint16_t code) const
    {
        std::vector<SentSignal> found;
        for (const SentSignal& signal : sent)
            if (signal.code == code)
                found.push_back(signal);
        return found;
    }

    qeltest::TempFolder data;
    qeltest::ScopedEnv dataDir{"QEL_DATA_DIR", data.Path().string()};
    qeltest::TempFolder settings;
    qeltest::ScopedEnv settingsFolder{"QEL_SETTINGS_DIR", settings.Path().string()};
    SharedConsoleState console;  // the radar's console, fresh for each test
    std::unique_ptr<RenderManager> manager;
    std::unique_ptr<Simulation> world;
    SpaceObject* own = nullptr;
    std::vector<SentSignal> sent;
    IntRect rect;
    int32_t centreX = 0, centreY = 0;
};

// --- Mapping ---------------------------------------------------------------

TEST_F(Render2DTest, world_points_map_to_the_screen_and_back_in_both_modes)
{
    Render2D& radar = manager->render2D;
    radar.viewCentre = {500.0f, 0.0f, -200.0f};
    radar.viewHeading = 0.7f;
    const glm::vec2 centre(static_cast<float>(manager->radarCenterX), static_cast<float>(manager->radarCenterY));

    manager->radarRelativePositions = false;
    EXPECT_NEAR(radar.WorldToScreen({600, 0, -200}, 0).pos.x - centre.x, 10.0f, 1e-3f) << "east is right";
    EXPECT_NEAR(radar.WorldToScreen({500, 0, -100}, 0).pos.y - centre.y, -10.0f, 1e-3f) << "north is up";

    for (bool relative : {false, true}) {
        manager->radarRelativePositions = relative;
        for (const glm::vec3& p : {glm::vec3(-3000, 45, 800), glm::vec3(500, 0, -200), glm::vec3(12, -9, 7000)}) {
            const Render2D::ScreenPoint screen = radar.WorldToScreen(p, 0.3f);
            const Render2D::WorldPoint back = radar.ScreenToWorld(screen.pos, screen.angle);
            EXPECT_NEAR(back.pos.x, p.x, 0.05f) << relative;
            EXPECT_NEAR(back.pos.z, p.z, 0.05f) << relative;
            EXPECT_EQ(back.pos.y, radar.viewCentre.y) << "the height is the centre's";
            EXPECT_NEAR(back.angle, 0.3f, 1e-5f) << relative;
        }
    }
    // Heading up: a point straight along the heading is drawn straight up.
    manager->radarRelativePositions = true;
    const glm::vec2 ahead =
        radar.WorldToScreen(radar.viewCentre + glm::vec3(std::sin(0.7f), 0, std::cos(0.7f)) * 100.0f, 0).pos;
    EXPECT_NEAR(ahead.x, centre.x, 1e-2f);
    EXPECT_NEAR(ahead.y, centre.y - 10.0f, 1e-2f);
}

TEST_F(Render2DTest, the_wheel_zooms_within_its_bounds_and_set_zoom_recentres)
{
    input.MoveTo(centreX, centreY);
    for (const auto& [wheel, start, expected] : {std::tuple{-5000, 0.01f, 0.005f}, std::tuple{5000, 1.2f, 1.5f},
                                                 std::tuple{200, 0.1f, 0.11f}}) {
        manager->radarScale = start;
        input.mouse.wheel = wheel;
        Draw();
        EXPECT_NEAR(manager->radarScale, expected, 1e-5f) << wheel;
        EXPECT_EQ(input.mouse.wheel, 0) << "the wheel is taken";
    }
    manager->radarCenterX = 10;
    manager->radarRecenter = false;
    manager->SetRadarZoom(0.01f);
    EXPECT_EQ(manager->radarScale, 0.01f);
    EXPECT_EQ(manager->radarCenterX, manager->mainBuffWidth / 2);
    EXPECT_TRUE(manager->radarRecenter);
}

TEST_F(Render2DTest, a_wide_widget_copies_the_whole_target_centred_in_it)
{
    graphics.log.clear();
    rect = {-200, 0, manager->mainBuffWidth + 600, manager->mainBuffHeight + 100};
    Draw();
    const Render2D& radar = manager->render2D;
    EXPECT_EQ(radar.viewRect, (IntRect{0, 0, manager->mainBuffWidth, manager->mainBuffHeight}));
}

// --- Shapes and read-outs ---------------------------------------------------

TEST_F(Render2DTest, grid_cells_and_their_names)
{
    EXPECT_EQ(Render2D::GridFirstCell(0.0f), -1) << "int(0 / 20000 - 1) truncates towards zero";
    EXPECT_EQ(Render2D::GridFirstCell(30000.0f), 0);
    EXPECT_EQ(Render2D::GridFirstCell(-30000.0f), -2);
    EXPECT_EQ(Render2D::GridCellName(0, 0), "M12");
    EXPECT_EQ(Render2D::GridCellName(-13, -13), "Z99");
    EXPECT_EQ(Render2D::GridCellName(88, 14), "A00");

    // 121 cells of two lines each, on multiples of 20000 units.
    graphics.log.clear();
    manager->radarScale = 0.001f;
    manager->render2D.DrawGrid(0.0f, 0.0f, glm::vec4(1), manager->render2D.viewRect);
    const auto lines = graphics.Of(DrawRecord::Kind::Line);
    ASSERT_EQ(lines.size(), 242u);
    const float left = static_cast<float>(manager->radarCenterX) + -6 * 20000 * 0.001f;
    EXPECT_NEAR(lines.front().dest[0], left, 1e-2f) << "column -6 is the first";
}

TEST_F(Render2DTest, range_rings_are_five_circles_of_52_segments_the_middle_one_red)
{
    graphics.log.clear();
    manager->render2D.DrawRangeRings({500, 400}, glm::vec4(0, 1, 0, 0.7f), glm::vec4(1, 0, 0, 0.7f));
    const auto lines = graphics.Of(DrawRecord::Kind::Line);
    ASSERT_EQ(lines.size(), 5u * 52u);
    for (size_t ring = 0; ring < 5; ++ring) {
        const DrawRecord& first = lines[ring * 52];
        const float radius = std::hypot(first.dest[0] - 500.0f, first.dest[1] - 400.0f);
        EXPECT_NEAR(radius, (ring * 2000.0f + 1000.0f) * 0.1f, 1e-2f);
        EXPECT_EQ(first.colour.r, ring == 2 ? 1.0f : 0.0f) << "the 5000 ring is red";
    }
}

TEST_F(Render2DTest, distances_read_in_thousands_above_their_switch)
{
    for (const auto& [distance, text] : {std::pair{2999.0f, "2999"}, std::pair{2999.5f, "2K"},
                                         std::pair{3000.0f, "3K"}, std::pair{12.7f, "12"}})
        EXPECT_EQ(Render2D::RangeText(distance), text) << distance;
    for (const auto& [distance, text] : {std::pair{999.9f, "999"}, std::pair{1000.0f, "1K"}, std::pair{1999.0f, "1K"}})
        EXPECT_EQ(Render2D::PointerRangeText(distance), text) << distance;
}

TEST_F(Render2DTest, elevation_arrows_count_the_height_steps_ahead_of_the_ship)
{
    struct Case {
        glm::vec3 point;
        size_t arrows;
    };
    // The own ship faces +z.
    for (const Case& c : {Case{{0, 60, 1000}, 1}, Case{{0, 300, 1000}, 2}, Case{{0, -1500, 1000}, 3},
                          Case{{0, 40, 1000}, 0}, Case{{0, 300, -1000}, 0}, Case{{0, 300, 6000}, 0}}) {
        graphics.log.clear();
        manager->render2D.DrawElevationArrows({100, 100}, c.point, *own, glm::vec4(1), 1002);
        EXPECT_EQ(graphics.From("uparrow").size(), c.arrows) << c.point.y << " at z " << c.point.z;
    }
}

TEST_F(Render2DTest, beam_arcs_follow_the_barrel_or_the_mount)
{
    SpaceObject* ship = Make("behav_npcship", "tern_frigate", {0, 0, 0});
    const float rotation = ShipData::Instance().Find("tern_frigate")->meshRotate * kPi / 2;
    SetInt(*ship, "beamCount", 2);
    SetFloat(*ship, "beamBarrelAngle", 90, 0);
    SetFloat(*ship, "beamArcWidth", 60, 0);
    SetFloat(*ship, "beamHullPointX", 5, 0);
    SetFloat(*ship, "beamBarrelAngle", 1000, 1);
    SetFloat(*ship, "beamHullPointX", 1, 1);
    SetFloat(*ship, "beamArcWidth", 20, 1);
    SetFloat(*ship, "beamRange", 1200, 1);
    std::vector<Render2D::BeamArc> arcs;
    manager->render2D.DrawBeamArcs(*ship, arcs);
    ASSERT_EQ(arcs.size(), 2u);
    EXPECT_NEAR(arcs[0].start - rotation, kPi / 3, 1e-5f);
    EXPECT_NEAR(arcs[0].end - rotation, 2 * kPi / 3, 1e-5f);
    EXPECT_NEAR((arcs[1].start + arcs[1].end) / 2 - rotation, kPi / 2, 1e-5f) << "the mount lies to the right";
    EXPECT_EQ(arcs[1].range, 1200.0f);
}

TEST_F(Render2DTest, a_label_climbs_above_every_label_it_would_cover)
{
    Render2D& radar = manager->render2D;
    radar.placedLabels.Clear();
    radar.DrawLabel("Alpha", {300, 300}, glm::vec4(1));
    radar.DrawLabel("Bravo", {305, 300}, glm::vec4(1));
    radar.DrawLabel("Charlie", {302, 300}, glm::vec4(1));
    ASSERT_EQ(radar.placedLabels.Placed().size(), 3u);
    EXPECT_EQ(radar.placedLabels.Placed()[0].top, 265);
    EXPECT_EQ(radar.placedLabels.Placed()[1].top, 265 - 22);
    EXPECT_EQ(radar.placedLabels.Placed()[2].top, 265 - 44) << "above both, one step each";
    radar.DrawLabel("", {302, 300}, glm::vec4(1));
    EXPECT_EQ(radar.placedLabels.Placed().size(), 3u) << "an empty label is not placed";

    // A crowd in one place: each label climbs at most 16 steps.
    radar.placedLabels.Clear();
    radar.labels.Clear();
    for (int i = 0; i < 400; ++i)
        radar.DrawLabel("Docked", {300, 300}, glm::vec4(1));
    EXPECT_EQ(radar.placedLabels.Placed().back().top, 265 - 16 * 22);
}

// --- Picking, clicks and holds ---------------------------------------------

TEST_F(Render2DTest, a_click_selects_the_nearest_selectable_object_within_30_pixels)
{
    SpaceObject* near = Contact({1000, 0, 0});
    SpaceObject* farther = Contact({1100, 0, 0});
    SpaceObject* hidden = Contact({900, 0, 0});
    SetInt(*hidden, "unselectable", 1);
    PointAt(1000, 0, -10);  // 0 pixels from the hidden one, 10 from near, 20 from farther
    ClickAfter(2);
    ASSERT_EQ(SentWith(13).size(), 1u);
    SelectObjectSignal selection;
    ASSERT_TRUE(SentWith(13)[0].Read(selection));
    EXPECT_EQ(selection.objectId, near->uniqueID);
    EXPECT_EQ(selection.kind, "helm");
    EXPECT_EQ(selection.dataSetKey, "normal_target_UID");
    EXPECT_EQ(selection.extra, "lmb");
    EXPECT_EQ(selection.x, near->pos.x);
    EXPECT_EQ(manager->render2D.normalSelection.Current(), near->uniqueID);
    EXPECT_EQ(manager->selectedID, near->uniqueID);
    EXPECT_NE(selection.objectId, farther->uniqueID);

    // 31 pixels from the nearest object: a click on empty space, the point sent.
    sent.clear();
    PointAt(1100, 0, 31);
    ClickAfter(2);
    ASSERT_EQ(SentWith(13).size(), 1u);
    ASSERT_TRUE(SentWith(13)[0].Read(selection));
    EXPECT_EQ(selection.objectId, 0u);
    EXPECT_NEAR(selection.x, 1410.0f, 10.0f);
    EXPECT_NEAR(selection.z, 0.0f, 10.0f);
}

TEST_F(Render2DTest, the_kind_decides_the_selection_and_a_repeated_click_keeps_its_window)
{
    SpaceObject* contact = Contact({0, 0, 1000});
    PointAt(0, 1000);
    struct Case {
        const char* kind;
        const char* key;
        ClickTimer Render2D::*timer;
    };
    for (const Case& c : {Case{"weapons", "weapon_target_UID", &Render2D::weaponsSelection},
                          Case{"comms", "comms_target_UID", &Render2D::commsSelection},
                          Case{"gamemaster", "science_target_UID", &Render2D::scienceSelection}}) {
        sent.clear();
        ClickAfter(1, c.kind);
        SelectObjectSignal selection;
        ASSERT_EQ(SentWith(13).size(), 1u) << c.kind;
        ASSERT_TRUE(SentWith(13)[0].Read(selection));
        EXPECT_EQ(selection.dataSetKey, c.key);
        EXPECT_EQ((manager->render2D.*c.timer).Current(), contact->uniqueID) << c.kind;
    }
    sent.clear();
    ClickAfter(1, "comms_other");
    EXPECT_TRUE(SentWith(13).empty()) << "a kind without a selection selects nothing";
}

TEST_F(Render2DTest, click_timers_show_a_click_for_two_seconds_then_the_server_target)
{
    ClickTimer timer;
    timer.SetDefault(7);
    EXPECT_TRUE(timer.Click(9, 1000));
    EXPECT_FALSE(timer.Click(9, 1500)) << "the current one again changes nothing";
    EXPECT_FALSE(timer.Elapsed(10, 1005));
    EXPECT_TRUE(timer.Elapsed(10, 1010));
    EXPECT_FALSE(timer.Elapsed(10, 1020)) << "once";
    EXPECT_EQ(timer.Current(), 9u);
    EXPECT_FALSE(timer.Elapsed(10, 2999));
    EXPECT_EQ(timer.Current(), 9u) << "the window is from the first click";
    timer.Elapsed(10, 3000);
    EXPECT_EQ(timer.Current(), 7u);
    EXPECT_TRUE(timer.Click(9, 0xFFFFFF00u));
    timer.Elapsed(10, 0x00000100u);
    EXPECT_EQ(timer.Current(), 9u) << "a wrapped clock is still inside the window";
    timer.Elapsed(10, 0x80000100u);
    EXPECT_EQ(timer.Current(), 7u) << "after the window, whatever the clock reads";
}

// A console drawing two frames a second sees 45 ticks pass between the
// frame of a press and the frame of its release: how long the hand held the
// button decides, as the input events timed it.
TEST_F(Render2DTest, on_slow_frames_a_quick_press_still_selects_and_a_long_one_still_holds)
{
    SpaceObject* contact = Contact({-500, 0, 0});
    PointAt(-500, 0, 5);
    const struct {
        uint32_t heldMilliseconds;
        bool selects;
    } cases[] = {{120, true}, {999, true}, {1000, false}, {QelMouse::kUnknownPressMilliseconds, false}};
    for (const auto& c : cases) {
        sent.clear();
        manager->render2D.Reset();
        input.mouse.pressMilliseconds = c.heldMilliseconds;
        ClickAfter(45, "weapons");
        SCOPED_TRACE(c.heldMilliseconds);
        EXPECT_EQ(SentWith(13).size(), c.selects ? 1u : 0u);
        EXPECT_EQ(SentWith(99).size(), c.selects ? 0u : 1u);
        if (c.selects) {
            EXPECT_EQ(manager->render2D.weaponsSelection.Current(), contact->uniqueID);
        }
        input.NextFrame();
        Draw("weapons");
    }
}

TEST_F(Render2DTest, a_hold_asks_for_the_menu_instead_of_selecting)
{
    SpaceObject* contact = Contact({-500, 0, 0});
    manager->render2D.normalSelection.Click(contact->uniqueID, 0);
    PointAt(-500, 0, 5);
    ClickAfter(30, "gamemaster");
    EXPECT_TRUE(SentWith(13).empty());
    ASSERT_EQ(SentWith(99).size(), 1u);
    HoldClickSignal hold;
    ASSERT_TRUE(SentWith(99)[0].Read(hold));
    EXPECT_EQ(hold.subjectId, own->uniqueID);
    EXPECT_EQ(hold.objectId, contact->uniqueID);
    EXPECT_EQ(hold.choice, "gamemaster");
    EXPECT_NEAR(hold.x, -450.0f, 10.0f);
    EXPECT_EQ(hold.extraId, contact->uniqueID) << "the gamemaster reports the normal selection";
    EXPECT_TRUE(manager->render2D.holdDone);

    // Held 29 ticks but dragged 15 pixels: neither a click nor a hold.
    sent.clear();
    input.Press();
    Draw();
    input.MoveTo(input.mouse.x + 15, input.mouse.y);
    AdvanceTicks(29);
    input.Release();
    Draw();
    EXPECT_TRUE(sent.empty());
    EXPECT_FALSE(manager->radarRecenter) << "a drag stops following the ship";

    // A right-click asks at once.
    input.RightClick();
    Draw("weapons");
    ASSERT_EQ(SentWith(99).size(), 1u);
    ASSERT_TRUE(SentWith(99)[0].Read(hold));
    EXPECT_EQ(hold.choice, "weapons");
}

TEST_F(Render2DTest, the_hold_menu_opens_with_options_and_its_buttons_answer)
{
    Render2D& radar = manager->render2D;
    radar.ShowHoldMenu(1, 2, 3, {});
    EXPECT_FALSE(radar.menuOpen) << "nothing to offer, nothing opens";

    radar.holdPoint = {graphics.width - 50.0f, 100.0f};
    radar.ShowHoldMenu(own->uniqueID, 0, 3, {"Orders", "Dock", "Attack"});
    ASSERT_TRUE(radar.menuOpen);
    input.MoveTo(-100, -100);
    Draw();
    // Near the right edge the menu ends a full menu width left of the point.
    const DrawRecord title = graphics.Text("Orders");
    EXPECT_EQ(title.box.right, graphics.width - 50 - 200);
    const DrawRecord dock = graphics.Text("Dock");
    input.MoveTo((dock.box.left + dock.box.right) / 2, (dock.box.top + dock.box.bottom) / 2);
    Draw();
    input.Press();
    Draw();
    input.Release();
    Draw();
    ASSERT_EQ(SentWith(100).size(), 1u);
    HoldButtonSignal button;
    ASSERT_TRUE(SentWith(100)[0].Read(button));
    EXPECT_EQ(button.view, "Dock");
    EXPECT_EQ(button.button, "normal");
    EXPECT_EQ(button.ids[0], own->uniqueID);
    EXPECT_EQ(button.ids[2], 3u);
    EXPECT_EQ(button.ids[3], own->uniqueID);
    EXPECT_FALSE(radar.menuOpen);
}

TEST_F(Render2DTest, the_science_radar_asks_about_friends_anywhere_and_others_nearby)
{
    world->SetSideRelationship("navy", "traders", DIPLOMACY_ALLIED);
    SpaceObject* friendFar = Make("behav_npcship", "tern_frigate", {0, 0, 9000});
    friendFar->side = "traders";
    SpaceObject* hostileFar = Make("behav_npcship", "tern_frigate", {0, 0, -9000});
    hostileFar->side = "pirates";
    manager->radarScale = 0.03f;
    input.MoveTo(-100, -100);
    Draw("science");
    ASSERT_EQ(SentWith(91).size(), 1u);
    ScanCheckSignal check;
    ASSERT_TRUE(SentWith(91)[0].Read(check));
    EXPECT_EQ(check.targetId, friendFar->uniqueID);

    // The hostile one once an extra scan source is near it, and not before
    // the shared request timer runs out.
    sent.clear();
    friendFar->data_set.SetStringByIndexString("scan", "yes", "navy", "a");
    SpaceObject* buoy = Make("behav_npcship", "tern_frigate", {0, 0, -8000});
    buoy->data_set.SetStringByIndexString("scan", "yes", "navy", "a");
    SetInt(*own, "num_extra_scan_sources", 1);
    WriteUInt64(own->data_set, DataKey{"extra_scan_source", kPlayDoc}, buoy->uniqueID);
    Draw("science");
    EXPECT_TRUE(SentWith(91).empty()) << "at most one request in 3 ticks";
    AdvanceTicks(3);
    Draw("science");
    ASSERT_EQ(SentWith(91).size(), 1u);
    ASSERT_TRUE(SentWith(91)[0].Read(check));
    EXPECT_EQ(check.targetId, hostileFar->uniqueID);
}

// --- Drawing ---------------------------------------------------------------

TEST_F(Render2DTest, unscanned_ships_show_the_unknown_icon_and_no_name)
{
    SpaceObject* stranger = Make("behav_npcship", "tern_frigate", {500, 0, 0});
    stranger->side = "pirates";
    WriteString(stranger->data_set, DataKey{"name_tag", kPlayDoc}, "Stranger");
    Contact({-500, 0, 0}, "Known");
    input.MoveTo(-100, -100);
    Draw();
    ASSERT_EQ(graphics.From("unknownShipIcon").size(), 1u);
    EXPECT_NEAR(graphics.From("unknownShipIcon")[0].dest[0], manager->radarCenterX + 50.0f, 0.5f);
    const auto texts = graphics.Texts();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "Stranger"), 0);
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "Known"), 2) << "the label and its shadow";
}

// A crowd of named contacts: no text covers another or an icon, so the crowd
// shows the names and read-outs that fit, the nearest contacts' first; a
// contact past the labelled count shows none even with room to spare; a
// name that climbs off the radar is placed, so the ones after it climb past
// it, but not drawn.
TEST_F(Render2DTest, a_crowd_shows_the_labels_that_fit_nearest_first_none_covering_another)
{
    constexpr size_t kCrowd = 120;
    for (size_t i = 0; i < kCrowd; ++i) {
        const float angle = static_cast<float>(i) * 0.7f;
        const float reach = 200.0f + 15.0f * static_cast<float>(i);
        Contact({reach * std::sin(angle), 0, reach * std::cos(angle)}, ("Contact " + std::to_string(i)).c_str());
    }
    Contact({-3000, 0, -2500}, "Loner");
    DrawRecordingTexts();
    const auto texts = graphics.Texts();
    for (size_t i = 0; i < 5; ++i)
        EXPECT_EQ(std::count(texts.begin(), texts.end(), "Contact " + std::to_string(i)), 2) << "contact " << i;
    EXPECT_GT(graphics.Of(DrawRecord::Kind::Text).size(), kCrowd) << "a crowd still shows many of its labels";
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "Loner"), 2) << "a contact alone has room for its name";

    // A bunch by the ship makes the labelled count up: the farthest contact,
    // alone as it is, gets no label.
    for (size_t i = kCrowd; i < Render2D::kMaxLabelledContacts; ++i)
        Contact({0, 0, -150}, ("Contact " + std::to_string(i)).c_str());
    Draw();
    const auto crowded = graphics.Texts();
    EXPECT_EQ(std::count(crowded.begin(), crowded.end(), "Loner"), 0);

    // Labels stacked over one place climb; the one that would stand above
    // the radar's top edge is filed but draws no text.
    Render2D& radar = manager->render2D;
    radar.placedLabels.Clear();
    radar.labels.Clear();
    graphics.log.clear();
    radar.DrawLabel("Low", {300, 20}, glm::vec4(1));
    radar.DrawLabel("High", {300, 20}, glm::vec4(1));
    ASSERT_EQ(radar.placedLabels.Placed().size(), 2u);
    EXPECT_LT(radar.placedLabels.Placed()[1].bottom + 1, 0);
    EXPECT_EQ(graphics.Texts(), (std::vector<std::string>{"Low", "Low"}));
}

// Ships side by side would write their ranges and bearings into each
// other: a read-out that meets another steps down a line, and each ship
// still shows both.
TEST_F(Render2DTest, readouts_of_ships_side_by_side_step_clear_of_each_other)
{
    Contact({1000, 0, 1000}, "Skarn Fang");
    Contact({1150, 0, 1000}, "Talon");
    Contact({1150, 0, 1200}, "Mire");
    graphics.log.clear();
    DrawRecordingTexts();
    const auto texts = graphics.Texts();
    for (const char* readout : {"1414", "1523", "1662", "45", "48", "43"})
        EXPECT_EQ(std::count(texts.begin(), texts.end(), readout), 2) << readout << " and its shadow";
}

// A nav point's text and a contact's name that would stand on each other
// (a fighter just under the approach point): the name climbs clear of the
// text, and both show.
TEST_F(Render2DTest, a_contact_name_keeps_clear_of_a_nav_point_text)
{
    graphics.AddBitmap("icon-map-pin", 128, 128);
    world->AddNavpoint(0, 0, 1800, "Halcyon Approach", "#7fd4ff");
    Contact({0, 0, 1350}, "Kestrel");  // 45 pixels under the pin: its name rises onto the pin's text
    DrawRecordingTexts();
    const auto texts = graphics.Texts();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "Halcyon Approach"), 2);
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "Kestrel"), 2);
}

// A ship right under another: the upper one's range and bearing would sit
// on the lower one's icon, and step down past it instead; none of the texts
// covers an icon.
TEST_F(Render2DTest, readouts_step_clear_of_the_icons_under_them)
{
    const SpaceObject* upper = Contact({1000, 0, 1000}, "Talon");
    const SpaceObject* lower = Contact({1000, 0, 720}, "Fang");  // 28 pixels under: on the read-outs' first line
    DrawRecordingTexts();
    const auto texts = graphics.Texts();
    const std::string upperRange = Render2D::RangeText(glm::length(upper->pos));
    EXPECT_EQ(std::count(texts.begin(), texts.end(), upperRange), 2) << "the upper ship keeps its range";
    for (const SpaceObject* ship : {upper, lower}) {
        const int32_t x = centreX + static_cast<int32_t>(ship->pos.x * 0.1f);
        const int32_t y = centreY - static_cast<int32_t>(ship->pos.z * 0.1f);
        for (const TextRun& run : theUIContext.textRuns.runs)
            EXPECT_FALSE(run.ink.left < x + 8 && x - 8 < run.ink.right && run.ink.top < y + 8 && y - 8 < run.ink.bottom)
                << run.text << " on the icon at " << x << ", " << y;
    }
}

// Every known ship's arcs, but drawn together: one run of lines after the
// ships, which the graphics draw as one batch.
TEST_F(Render2DTest, beam_arcs_of_every_known_ship_are_drawn_one_after_another)
{
    for (int i = 0; i < 5; ++i) {
        SpaceObject* ship = Contact({-2000.0f + 1000.0f * static_cast<float>(i), 0, 1000});
        SetInt(*ship, "beamCount", 1);
        SetFloat(*ship, "beamArcWidth", 40);
        SetFloat(*ship, "beamRange", 800);
        SetFloat(*ship, "beamColorR", 0.25f);
    }
    input.MoveTo(-100, -100);
    graphics.log.clear();
    Draw();
    std::vector<size_t> arcLines;
    for (size_t i = 0; i < graphics.log.size(); ++i)
        if (graphics.log[i].kind == DrawRecord::Kind::Line && graphics.log[i].colour.r == 0.25f)
            arcLines.push_back(i);
    ASSERT_EQ(arcLines.size(), 5u * 12u) << "two radii and ten segments an arc";
    EXPECT_EQ(arcLines.back() - arcLines.front(), arcLines.size() - 1) << "nothing drawn between them";
}

TEST_F(Render2DTest, a_focus_ship_at_no_number_skips_the_frame_with_one_log_line)
{
    own->pos.x = std::numeric_limits<float>::quiet_NaN();
    theConsoleLog.Clear();
    graphics.log.clear();
    Draw();
    Draw();
    EXPECT_TRUE(graphics.log.empty());
    ASSERT_EQ(theConsoleLog.Count(), 1u);
    EXPECT_NE(theConsoleLog.Line(0).text.find("not a number"), std::string::npos);
}

TEST_F(Render2DTest, effects_grow_and_travel_over_their_lives)
{
    // A blast halfway through its life: a circle of 500 units, 100 segments.
    world->clock.time_tick_counter = 1000;
    world->effectEvents.push_back({"nuke", "", "", 0, 0, 0, {1, 0.5f, 0}, {0, 0, 0}, 960, 1040});
    // A beam a third of its way: from the source to the target's side.
    SpaceObject* target = Contact({0, 0, 2000});
    world->effectEvents.push_back(
        {"beam", "", "", 0, own->uniqueID, target->uniqueID, {0, 0, 1}, {0, 0, 0}, 990, 1020});
    input.MoveTo(-100, -100);
    Draw();
    const auto additive = graphics.Where([](const DrawRecord& r) {
        return r.kind == DrawRecord::Kind::Line && r.colour == glm::vec4(1, 0.5f, 0, 1);
    });
    ASSERT_EQ(additive.size(), 100u);
    const float radius =
        std::hypot(additive[0].dest[0] - manager->radarCenterX, additive[0].dest[1] - manager->radarCenterY);
    EXPECT_NEAR(radius, 50.0f, 0.5f) << "500 units at 0.1 pixels a unit";

    const auto bolts = graphics.Where([](const DrawRecord& r) {
        return r.kind == DrawRecord::Kind::Line && r.colour == glm::vec4(0.5f, 0.5f, 1.5f, 1.5f);
    });
    ASSERT_EQ(bolts.size(), 1u);
    // t = 10 / 30: from a third less 0.3 of the way to a third plus 0.3.
    EXPECT_NEAR(manager->radarCenterY - bolts[0].dest[1], 200.0f * (1.0f / 30.0f), 0.5f);
    EXPECT_NEAR(manager->radarCenterY - bolts[0].dest[3], 200.0f * (1.0f / 3.0f + 0.3f), 0.5f);
}

TEST_F(Render2DTest, a_far_nav_point_shows_as_an_arrow_at_the_edge_of_the_view)
{
    graphics.AddBitmap("icon-map-arrow", 128, 128);
    graphics.AddBitmap("icon-map-pin", 128, 128);
    world->AddNavpoint(6000, 0, 0, "Waypoint", "#ffffff");  // 600 pixels right, beyond half the widget
    world->AddNavpoint(-1000, 0, 0, "Near", "#ffffff");
    input.MoveTo(-100, -100);
    Draw();
    const auto arrows = graphics.From("icon-map-arrow");
    ASSERT_EQ(arrows.size(), 1u);
    EXPECT_NEAR(arrows[0].dest[0] - manager->radarCenterX, 350.0f, 0.01f);
    EXPECT_NEAR(arrows[0].dest[1], static_cast<float>(manager->radarCenterY), 0.01f);
    ASSERT_EQ(graphics.From("icon-map-pin").size(), 1u);
    EXPECT_NEAR(graphics.From("icon-map-pin")[0].dest[0] - manager->radarCenterX, -100.0f, 0.01f);
}

// --- Object colours and reticles -------------------------------------------

TEST_F(Render2DTest, object_colours_follow_the_first_rule_that_applies)
{
    const auto& colours = manager->guiColors;
    world->SetSideRelationship("navy", "allies", DIPLOMACY_ALLIED);
    SpaceObject* ally = Make("behav_npcship", "tern_frigate", {0, 0, 100});
    ally->side = "allies";
    EXPECT_EQ(manager->GetObjectColor(*ally, *own), colours[kGuiColorUnscannedObject]);
    ally->data_set.SetStringByIndexString("scan", "yes", "navy", "a");
    EXPECT_EQ(manager->GetObjectColor(*ally, *own), colours[kGuiColorAllyShip]);

    SpaceObject* station = Make("behav_station", "tern_frigate", {0, 0, 200});
    SetInt(*station, "surrender_flag", 1);
    manager->sideColorMode = 1;
    EXPECT_EQ(manager->GetObjectColor(*station, *own), colours[kGuiColorSurrenderedShip]);
    manager->sideColorMode = 0;

    WriteString(own->data_set, DataKey{"radar_color_override", kPlayDoc}, "#102030");
    EXPECT_NEAR(manager->GetObjectColor(*own, *own).g, 0x20 / 255.0f, 1e-3f) << "the override wins for the viewer too";

    SpaceObject* loner = Make("behav_npcship", "tern_frigate", {0, 0, 300});
    EXPECT_FALSE(IsObjectFriendlyToSide(*loner, "navy")) << "no side, no relation";
    EXPECT_TRUE(IsObjectFriendlyToSide(*ally, "navy"));
}

TEST_F(Render2DTest, a_reticle_cuts_its_cell_and_turns_its_corners)
{
    graphics.AddBitmap("reticle-set", 500, 400);
    graphics.log.clear();
    manager->DrawReticle({100, 100}, 7, glm::vec4(1), 0.0f, 10.0f);
    const auto quads = graphics.Quads("reticle-set");
    ASSERT_EQ(quads.size(), 1u);
    const float expectedSource[8] = {200, 100, 300, 100, 200, 200, 300, 200};
    const float expectedDest[8] = {100, 110, 110, 100, 90, 100, 100, 90};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(quads[0].src[i], expectedSource[i]) << i;
        EXPECT_NEAR(quads[0].dest[i], expectedDest[i], 1e-4f) << i;
    }
    EXPECT_EQ(quads[0].layer, 1004);
}

}  // namespace
