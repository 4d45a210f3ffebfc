// The ship's interior view headless: the grid request's rhythm, zoom and
// drag, the cell under the pointer and its click, the grid objects and the
// filter, and a grid that goes away between frames. On the server's own
// screen a click reaches the mission through the host's loopback.

#include "game/widgets/ShipInternalView.h"

#include "game/net/SignalMessage.h"
#include "game/render/ObjectTypeDrawData.h"
#include "game/widgets/LocalConsoleScreen.h"
#include "game/world/HullPathSets.h"
#include "tests/game/widgets/HostConsoleFixture.h"
#include "tests/game/widgets/WidgetTestFixture.h"
#include "tests/support/AuthoredHull.h"
#include "tests/support/RecordingScriptHost.h"

#include <cmath>

namespace {

constexpr const char* kHullKey = "test_hull";
constexpr const char* kWidget = "ship_internal_view";

// A 5 x 3 interior on the game's 1024-pixel silhouette: cells 204 pixels
// apart across and 341 down at zoom 1, the middle cell (2, 1) at the view's centre.
constexpr int32_t kPitchX = 1024 / 5;
constexpr int32_t kPitchY = 1024 / 3;
// The view draws into the middle of the radar's 1280 x 720 target, which it
// then copies to the middle of its box.
constexpr float kTargetCentreX = 640.0f;
constexpr float kTargetCentreY = 360.0f;

// The hull and its record for the life of the fixture.
struct TestInterior {
    TestInterior()
    {
        hulls.hulls[kHullKey] = qeltest::DrawHull({"#####", "#####", "#####"});
        SetHullSilhouetteSource(&hulls);
    }
    ~TestInterior() { SetHullSilhouetteSource(nullptr); }

    qeltest::ScopedShipRecord record{qeltest::InteriorRecord(5, 3)};
    qeltest::AuthoredHulls hulls;
};

class InteriorViewTest : public WidgetTest {
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        console.interiorView = InteriorViewState{};
        manager->radarTarget = graphics.AddBitmap(RenderManager::kRadarTargetName, 1280, 720);
        auto drawData = std::make_unique<ObjectTypeDrawData>();
        drawData->largeSilhouette = graphics.AddBitmap("hull", 1024, 1024);
        manager->drawDataMap[kHullKey] = std::move(drawData);
        ship->data_tag = kHullKey;
        grid = GetHullPathSet(ship->uniqueID, false);
        ASSERT_NE(grid, nullptr);
    }
    void TearDown() override
    {
        console.interiorView = InteriorViewState{};
        world.gridObjectFilter.clear();
        WidgetTest::TearDown();
    }

    void Draw() { WidgetTest::Draw(ViewShipInternalViewDraw, kView, kWidget); }
    // The window pixel over the cell at zoom 1 and no pan.
    static IntPoint Over(int32_t column, int32_t row)
    {
        return {500 + (column - 2) * kPitchX, 350 + (row - 1) * kPitchY};
    }
    void ClickCell(int32_t column, int32_t row)
    {
        const IntPoint p = Over(column, row);
        ClickAt(ViewShipInternalViewDraw, kView, p.x, p.y, kWidget);
    }
    // A grid object walking from one cell to the next.
    GridObject& Walker(const std::string& name, const std::string& type, IntPoint from, IntPoint to, float percent)
    {
        GridObject& object = grid->CreateGridObject(name, "", type);
        WriteInt(object.data_set, gridobject::kLastX, from.x);
        WriteInt(object.data_set, gridobject::kLastY, from.y);
        WriteInt(object.data_set, gridobject::kCurX, to.x);
        WriteInt(object.data_set, gridobject::kCurY, to.y);
        WriteFloat(object.data_set, gridobject::kPercent, percent);
        WriteFloat(object.data_set, gridobject::kIconScale, 0.5f);
        WriteInt(object.data_set, gridobject::kIconIndex, 7);
        WriteString(object.data_set, gridobject::kIconColor, "yellow");
        return object;
    }
    // The centres of the icons of the colour drawn this frame.
    std::vector<glm::vec2> IconsOf(const glm::vec4& colour) const
    {
        std::vector<glm::vec2> centres;
        for (const qeltest::DrawRecord& quad : graphics.Quads("grid-icon-sheet"))
            if (quad.colour == colour)
                centres.push_back({(quad.Left() + quad.Right()) / 2.0f, (quad.Top() + quad.Bottom()) / 2.0f});
        return centres;
    }
    std::vector<GridPointSelectionSignal> Picks() const { return network.Signals<GridPointSelectionSignal>(); }

    static constexpr IntRect kView{0, 0, 1000, 700};
    TestInterior interior;
    HullPathSet* grid = nullptr;
};

TEST_F(InteriorViewTest, the_grid_is_asked_for_every_33_ticks_from_the_second_time_on)
{
    Draw();
    EXPECT_TRUE(network.Signals<GridRequestSignal>().empty()) << "the first request of the process is not sent";
    world.clock.time_tick_counter += 32;
    Draw();
    EXPECT_TRUE(network.Signals<GridRequestSignal>().empty());
    world.clock.time_tick_counter += 1;
    Draw();
    ASSERT_EQ(network.Signals<GridRequestSignal>().size(), 1u);
    EXPECT_EQ(network.Signals<GridRequestSignal>()[0].value, 0);
    Draw();
    EXPECT_EQ(network.Signals<GridRequestSignal>().size(), 1u);
}

TEST_F(InteriorViewTest, a_click_on_a_cell_tells_the_mission_which_one_and_a_click_far_from_every_cell_nothing)
{
    console.consoleName = "engineering";
    ClickCell(4, 2);
    ASSERT_EQ(Picks().size(), 1u);
    EXPECT_EQ(Picks()[0].shipId, ship->uniqueID);
    EXPECT_EQ(Picks()[0].column, 4);
    EXPECT_EQ(Picks()[0].row, 2);
    EXPECT_EQ(Picks()[0].consoleName, "engineering");
    EXPECT_EQ(Picks()[0].widgetName, kWidget);
    EXPECT_EQ(console.interiorView.hoverColumn, 4);
    EXPECT_EQ(console.interiorView.hoverRow, 2);

    // Nodes of a row lie 204 pixels apart: 99 from one is within its reach,
    // half-way (102 from both) is over no cell.
    const IntPoint corner = Over(0, 0);
    ClickAt(ViewShipInternalViewDraw, kView, corner.x + 99, corner.y, kWidget);
    ASSERT_EQ(Picks().size(), 2u);
    EXPECT_EQ(Picks()[1].column, 0);
    ClickAt(ViewShipInternalViewDraw, kView, corner.x + 102, corner.y, kWidget);
    EXPECT_EQ(Picks().size(), 2u);
    EXPECT_EQ(console.interiorView.hoverColumn, -1);
    EXPECT_TRUE(graphics.Where([](const qeltest::DrawRecord& r) {
                            return r.source == "grid-icon-sheet" && r.layer == 1002;
                        }).empty())
        << "no selection mark";
}

TEST_F(InteriorViewTest, the_wheel_zooms_a_thousandth_a_unit_within_its_bounds_and_the_reset_button_restores_it)
{
    struct Case {
        float start;
        int32_t wheel;
        float expected;
    };
    const Case cases[] = {{1.0f, 120, 1.12f}, {1.0f, -120, 0.88f}, {0.35f, -120, 0.3f}, {4.95f, 240, 5.0f}};
    input.MoveTo(500, 350);
    for (const Case& c : cases) {
        console.interiorView.zoom = c.start;
        input.mouse.wheel = c.wheel;
        Draw();
        EXPECT_NEAR(console.interiorView.zoom, c.expected, 1e-5f) << c.start << " " << c.wheel;
        EXPECT_EQ(input.mouse.wheel, 0) << "the view takes the wheel";
    }
    console.interiorView.panX = 40.0f;
    ClickAt(ViewShipInternalViewDraw, kView, 980, 680, kWidget);  // the reset button in the corner
    EXPECT_EQ(console.interiorView.zoom, 1.0f);
    EXPECT_EQ(console.interiorView.panX, 0.0f);
}

TEST_F(InteriorViewTest, a_drag_pans_the_plan_and_is_no_click)
{
    const IntPoint p = Over(2, 1);
    input.MoveTo(p.x, p.y);
    input.Press();
    Draw();
    input.MoveTo(p.x + 5, p.y + 3);
    Draw();
    input.Release();
    Draw();
    EXPECT_EQ(console.interiorView.panX, 5.0f);
    EXPECT_EQ(console.interiorView.panY, 3.0f);
    EXPECT_TRUE(Picks().empty()) << "8 pixels of drag is no click";

    // A wobble of 6 pixels or less still clicks.
    input.Press();
    Draw();
    input.MoveTo(p.x + 8, p.y + 6);
    Draw();
    input.Release();
    Draw();
    EXPECT_EQ(Picks().size(), 1u);
}

TEST_F(InteriorViewTest, grid_objects_glide_between_cells_and_the_filter_chooses_which_show)
{
    Walker("Crew One", "crew", {1, 1}, {2, 1}, 0.5f);
    Walker("Fire", "hazard", {3, 1}, {3, 1}, 1.0f);
    Walker("Lost", "crew", {0, 0}, {7, 0}, 0.0f);  // outside the grid: not drawn
    Walker("Overrun", "crew", {0, 2}, {1, 2}, 7.0f);  // a progress past the end stops at its cell
    const glm::vec4 yellow{1.0f, 1.0f, 0.0f, 1.0f};
    Draw();
    const std::vector<glm::vec2> all = IconsOf(yellow);
    ASSERT_EQ(all.size(), 3u);
    EXPECT_FLOAT_EQ(all[0].x, kTargetCentreX - kPitchX / 2) << "half-way between (1, 1) and (2, 1)";
    EXPECT_FLOAT_EQ(all[0].y, kTargetCentreY);
    EXPECT_FLOAT_EQ(all[1].x, kTargetCentreX + kPitchX);
    EXPECT_FLOAT_EQ(all[2].x, kTargetCentreX - kPitchX);
    EXPECT_FLOAT_EQ(all[2].y, kTargetCentreY + kPitchY);

    world.gridObjectFilter = {{"crew", false}, {"hazard", true}};
    Draw();
    ASSERT_EQ(IconsOf(yellow).size(), 1u);
    EXPECT_FLOAT_EQ(IconsOf(yellow)[0].x, kTargetCentreX + kPitchX);
    world.gridObjectFilter = {{"crew", false}, {"hazard", false}};
    Draw();
    EXPECT_TRUE(IconsOf(yellow).empty());
}

TEST_F(InteriorViewTest, the_tool_tip_lists_the_objects_of_the_cell_under_the_pointer_and_bubbles_show_their_text)
{
    GridObject& fire = Walker("Fire", "hazard", {3, 1}, {3, 1}, 1.0f);
    WriteString(fire.data_set, gridobject::kToolTipCurText, "burning");
    WriteString(fire.data_set, gridobject::kSpeechBubbleText, "Help!");
    WriteString(fire.data_set, gridobject::kSpeechBubbleTextColor, "red");
    const IntPoint p = Over(3, 1);
    input.MoveTo(p.x, p.y);
    Draw();  // finds the cell
    Draw();  // lists what stands on it
    EXPECT_TRUE(Drawn("3,1^   Fire^burning"));
    EXPECT_TRUE(Drawn("Help!"));
    const std::vector<qeltest::DrawRecord> bubble = graphics.Where([](const qeltest::DrawRecord& r) {
        return r.source == "smallWhite" && r.colour == glm::vec4(1.0f, 0.0f, 0.0f, 1.0f) && r.layer == 1011;
    });
    EXPECT_EQ(bubble.size(), 2u) << "the box and its pointer";
}

// The view looks its grid up by the ship each time: a grid the mission
// dropped, or a new world, leaves nothing behind to be read.
TEST_F(InteriorViewTest, a_grid_deleted_between_frames_or_a_new_world_is_not_shown)
{
    Draw();
    EXPECT_EQ(InteriorGridShown(console.interiorView), grid);
    world.Interiors().Delete(ship->uniqueID);
    EXPECT_EQ(InteriorGridShown(console.interiorView), nullptr);

    Draw();  // built again from the hull
    ASSERT_NE(InteriorGridShown(console.interiorView), nullptr);
    console.StartNewWorld();
    EXPECT_EQ(InteriorGridShown(console.interiorView), nullptr);
    EXPECT_EQ(console.interiorView.hoverColumn, -1);

    world.subjectID = 0;
    Draw();
    EXPECT_EQ(InteriorGridShown(console.interiorView), nullptr);
    EXPECT_TRUE(graphics.log.empty()) << "without a ship nothing draws";
}

// On the server's own screen the click travels the host's loopback and the
// mission hears it as from client 0.
class HostInteriorViewTest : public HostConsoleTest {
protected:
    void SetUp() override
    {
        HostConsoleTest::SetUp();
        server->SetScriptHost(&scripts);
        console.interiorView = InteriorViewState{};
        manager = std::make_unique<RenderManager>(SceneFunction(), &console);
        manager->radarTarget = graphics.AddBitmap(RenderManager::kRadarTargetName, 1280, 720);
        manager->drawDataMap[kHullKey] = std::make_unique<ObjectTypeDrawData>();
        ship->data_tag = kHullKey;
    }
    void TearDown() override
    {
        console.interiorView = InteriorViewState{};
        manager.reset();
        HostConsoleTest::TearDown();
    }

    TestInterior interior;
    std::unique_ptr<RenderManager> manager;
    qeltest::RecordingScriptHost scripts;
};

TEST_F(HostInteriorViewTest, a_click_on_the_servers_own_view_reaches_the_mission)
{
    console.consoleName = "engineering";
    input.MoveTo(500 + kPitchX, 350);
    input.Press();
    Frame([this] {
        IntRect view{0, 0, 1000, 700};
        ViewShipInternalViewDraw(console, view, kWidget);
    });
    input.Release();
    Frame([this] {
        IntRect view{0, 0, 1000, 700};
        ViewShipInternalViewDraw(console, view, kWidget);
    });
    Deliver();
    std::vector<EventMessage> heard = scripts.events;
    heard.insert(heard.end(), scripts.queued.begin(), scripts.queued.end());
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].tag, "grid_point_selection");
    EXPECT_EQ(heard[0].client_id, kHostClientId);
    EXPECT_EQ(heard[0].parent_id, ship->uniqueID);
    EXPECT_EQ(heard[0].sub_tag, "engineering");
    EXPECT_EQ(heard[0].value_tag, kWidget);
    EXPECT_EQ(heard[0].source_point, glm::vec3(3.0f, 1.0f, 0.0f));
    console.consoleName.clear();
}

}  // namespace
