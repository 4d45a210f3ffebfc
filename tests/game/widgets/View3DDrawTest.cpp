// The "3dview" widget of a console drawn by the real graphics service on the
// offscreen driver: the player's ship lit from the chase camera over our sky,
// with ships around it, copied into its box cut to the box's shape; the
// camera follows the ship as it moves; a shield ripple spreads over its
// hull. Saved as view3d-console.png, view3d-boxes.png and view3d-ripple.png
// in the working folder for a person to look at.

#include "game/render/PointSandwich.h"
#include "game/render/SkyBoxManager.h"
#include "game/render/manager/RenderManager.h"
#include "game/ui/UIContext.h"
#include "game/widgets/GUIBoxManager.h"
#include "game/widgets/View3DWidgets.h"
#include "game/world/Simulation.h"
#include "tests/support/GeneratedData.h"
#include "tests/support/ConsoleDrawTest.h"

#include <gtest/gtest.h>

#include <glm/gtc/quaternion.hpp>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <utility>

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr float kPi = 3.14159265f;

using qeltest::Rgb;

int Brightness(const Rgb& c)
{
    return (c[0] + c[1] + c[2]) / 3;
}

class View3DDrawTest : public qeltest::ConsoleDrawTest {
protected:
    View3DDrawTest() : ConsoleDrawTest(kWidth, kHeight) {}

    // The game's meshes and sky in a data folder of the test's own.
    void SetUp() override
    {
        qeltest::LinkGeneratedData(data);
        qeltest::LinkGeneratedSky(data);
        ConsoleDrawTest::SetUp();
        ship = Place("behav_playership", "tern_frigate", {0, 0, 0}, 0.0f);
        world->subjectID = ship->uniqueID;
        // A raider ahead to the left, a cruiser ahead to the right, a carrier far off.
        Place("behav_npcship", "skarn_raider", {-260, 20, 700}, 2.0f);
        Place("behav_npcship", "fleet_light_cruiser", {330, -40, 900}, -0.6f);
        Place("behav_npcship", "skarn_carrier", {-900, 150, 3200}, 0.9f);
        world->Container()->ReinsertMoved();
    }
    void TearDown() override
    {
        ConsoleDrawTest::TearDown();
    }

    // Pixels of the rectangle that differ from the colour by more than the
    // threshold (summed over the channels).
    int CountDiffering(const IntRect& r, const Rgb& colour, int threshold = 24) const
    {
        int count = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                const Rgb c = At(x, y);
                count += std::abs(c[0] - colour[0]) + std::abs(c[1] - colour[1]) + std::abs(c[2] - colour[2]) >
                         threshold;
            }
        return count;
    }

    // Lit hull pixels: bright, and not the grey of a star.
    int CountHull(const IntRect& r) const
    {
        int count = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                count += Brightness(At(x, y)) > 45;
        return count;
    }

    // The bounds of the drawn shape (pixels not black) that holds the
    // point, following its pixels and their neighbours.
    IntRect ShapeAt(const IntPoint& start) const
    {
        IntRect bounds{start.x, start.y, start.x + 1, start.y + 1};
        std::vector<uint8_t> seen(static_cast<size_t>(kWidth) * kHeight, 0);
        std::vector<IntPoint> open{start};
        while (!open.empty()) {
            const IntPoint p = open.back();
            open.pop_back();
            if (p.x < 0 || p.y < 0 || p.x >= kWidth || p.y >= kHeight)
                continue;
            uint8_t& mark = seen[static_cast<size_t>(p.y) * kWidth + p.x];
            if (mark || Brightness(At(p.x, p.y)) < 4)
                continue;
            mark = 1;
            bounds = IntRect{std::min(bounds.left, p.x), std::min(bounds.top, p.y), std::max(bounds.right, p.x + 1),
                             std::max(bounds.bottom, p.y + 1)};
            for (const IntPoint step : {IntPoint{1, 0}, IntPoint{-1, 0}, IntPoint{0, 1}, IntPoint{0, -1}})
                open.push_back(IntPoint{p.x + step.x, p.y + step.y});
        }
        return bounds;
    }

    qeltest::TempFolder data;
    qeltest::ScopedEnv dataDir{"QEL_DATA_DIR", data.Path().string()};
    qeltest::TempFolder settings;
    qeltest::ScopedEnv settingsDir{"QEL_SETTINGS_DIR", settings.Path().string()};
    SpaceObject* ship = nullptr;
};

TEST_F(View3DDrawTest, the_main_screen_shows_the_ship_lit_from_the_chase_camera_over_the_sky_in_its_box)
{
    GUIBoxManager::SetBoxRects("mainscreen", "3dview", {2, 2, 98, 80, 0, 0, 100, 100});
    GUIBoxManager::SetBoxRects("mainscreen", "text_waterfall", {2, 82, 98, 98, 2, 82, 98, 98});
    ConsoleFrame("mainscreen", {"3dview", "text_waterfall"});
    ASSERT_TRUE(SaveScreen("view3d-console.png"));

    const IntRect box = GUIBoxManager::BoxRectToPixels(*GUIBoxManager::FindBox("mainscreen", "3dview"),
                                                          console.boxEdit.layoutIndex);
    const Rgb backdrop = At(3, 3);
    // The view fills its box and nothing else: the backdrop lies around it.
    EXPECT_EQ(CountDiffering(IntRect{0, 0, kWidth, box.top - 1}, backdrop), 0);
    EXPECT_EQ(CountDiffering(IntRect{0, box.top, box.left - 1, box.bottom}, backdrop), 0);
    // The ship sits in the middle, lit: a hull of many bright pixels...
    const IntPoint centre = box.Center();
    const IntRect middle{centre.x - 120, centre.y - 80, centre.x + 120, centre.y + 80};
    EXPECT_GT(CountHull(middle), 4000);
    // ...in colours, not grey.
    int coloured = 0;
    for (int y = middle.top; y < middle.bottom; ++y)
        for (int x = middle.left; x < middle.right; ++x) {
            const Rgb c = At(x, y);
            coloured += std::max({c[0], c[1], c[2]}) - std::min({c[0], c[1], c[2]}) > 25;
        }
    EXPECT_GT(coloured, 300);
    // Around it the dark of space with its stars.
    const IntRect corner{box.left + 5, box.top + 5, box.left + 200, box.top + 120};
    std::vector<int> levels;
    for (int y = corner.top; y < corner.bottom; ++y)
        for (int x = corner.left; x < corner.right; ++x)
            levels.push_back(Brightness(At(x, y)));
    std::sort(levels.begin(), levels.end());
    EXPECT_LT(levels[levels.size() / 2], 40);
    EXPECT_GT(levels.back(), 100);
}

TEST_F(View3DDrawTest, the_chase_camera_follows_the_ship_as_it_moves_and_turns)
{
    const IntRect box{0, 0, kWidth, kHeight};
    const IntRect middle{kWidth / 2 - 100, kHeight / 2 - 70, kWidth / 2 + 100, kHeight / 2 + 70};
    IntRect rect = box;
    context.Clear();
    View3DViewDraw(console, rect, "3dview");
    ReadScreen();
    const int before = CountHull(middle);
    EXPECT_GT(before, 3000);

    // Far away and turned about: still in the middle, still as large.
    world->RepositionSpaceObject(ship, 5000, 300, -8000);
    ship->rot_quat = glm::angleAxis(kPi * 0.75f, glm::vec3(0, 1, 0));
    world->Container()->ReinsertMoved();
    context.Clear();
    View3DViewDraw(console, rect, "3dview");
    ReadScreen();
    EXPECT_NEAR(CountHull(middle), before, before / 4);
}

TEST_F(View3DDrawTest, a_shield_ripple_spreads_over_the_hull_shell_for_its_time_and_then_frees_its_slot)
{
    IntRect whole{0, 0, kWidth, kHeight};
    world->clock.time_tick_counter = 100;
    context.Clear();
    View3DViewDraw(console, whole, "3dview");
    ReadScreen();
    const std::vector<uint8_t> plain = screen;

    // A hit on top of the hull, half way through its ripple: a band 13 to 18
    // units from it.
    PointSandwich* shell = manager->GetObjectTypeDrawData("tern_frigate")->pointSandwich.get();
    ASSERT_NE(shell, nullptr);
    float distance = 0.0f;
    glm::vec3 hit(0.0f), normal(0.0f);
    ASSERT_TRUE(shell->RayCast(glm::vec3(0, 500, 0), glm::vec3(0, -1, 0), distance, hit, normal));
    ObjectEffectState& state = manager->objectEffectRecords[ship->uniqueID];
    state.rippleStart[1] = 90;
    state.rippleEnd[1] = 110;
    state.rippleOffset[1] = hit;
    state.rippleColour[1] = glm::vec4(1.0f, 0.15f, 0.1f, 1.0f);
    state.rippleStart[2] = 50;  // over
    state.rippleEnd[2] = 99;
    context.Clear();
    View3DViewDraw(console, whole, "3dview");
    ReadScreen();
    ASSERT_TRUE(SaveScreen("view3d-ripple.png"));
    int redder = 0;
    for (size_t i = 0; i < screen.size(); i += 4)
        redder += screen[i] > plain[i] + 40;
    EXPECT_GT(redder, 500);
    EXPECT_EQ(state.rippleStart[1], 90);
    EXPECT_EQ(state.rippleStart[2], 0);
}

TEST_F(View3DDrawTest, boxes_of_any_size_and_shape_show_the_middle_of_the_view_cut_not_squeezed)
{
    // Wide, tall, square and nearly the view's own shape.
    const IntRect boxes[] = {{20, 20, 620, 200}, {660, 20, 1000, 740}, {20, 230, 320, 530}, {340, 230, 640, 400}};
    const auto drawBoxes = [&] {
        context.Clear();
        for (IntRect box : boxes)
            View3DViewCameraDraw(console, box, "3dview_camera");
        ReadScreen();
    };
    drawBoxes();
    ASSERT_TRUE(SaveScreen("view3d-boxes.png"));
    const Rgb clear = At(5, 5);
    EXPECT_EQ(CountDiffering(IntRect{0, 0, kWidth, 18}, clear), 0);
    for (const IntRect& box : boxes) {
        // The picture reaches every edge of the box: its sky is not the
        // clear colour in the first and last rows.
        EXPECT_GT(CountDiffering(IntRect{box.left, box.top, box.right, box.top + 1}, clear, 0), 0);
        EXPECT_GT(CountDiffering(IntRect{box.left, box.bottom - 1, box.right, box.bottom}, clear, 0), 0);
    }

    // Without the sky only the ships are left to measure. The own ship lies
    // in the middle of every box, and its size, taken back to pixels of the
    // view by the share of the view the box shows, is the same in every box:
    // cut, not squeezed.
    std::unique_ptr<SkyBoxManager> sky = manager->ReplaceSkyBox(nullptr);
    drawBoxes();
    manager->ReplaceSkyBox(std::move(sky));
    std::vector<float> widths, heights;
    for (const IntRect& box : boxes) {
        SCOPED_TRACE(::testing::Message() << box.left << "," << box.top << " " << box.Width() << "x" << box.Height());
        const IntRect hull = ShapeAt(box.Center());
        const IntRect shown = Render3D::CropToRect(manager->mainBuffWidth, manager->mainBuffHeight, box);
        const float toView = static_cast<float>(shown.Width()) / static_cast<float>(box.Width());
        EXPECT_NEAR(hull.Center().x, box.Center().x, box.Width() / 20);
        EXPECT_NEAR(hull.Center().y, box.Center().y, box.Height() / 8);
        widths.push_back(static_cast<float>(hull.Width()) * toView);
        heights.push_back(static_cast<float>(hull.Height()) * toView);
    }
    EXPECT_LT(*std::max_element(widths.begin(), widths.end()), *std::min_element(widths.begin(), widths.end()) * 1.1f);
    EXPECT_LT(*std::max_element(heights.begin(), heights.end()),
              *std::min_element(heights.begin(), heights.end()) * 1.1f);
}

}  // namespace
