// The developer tools drawn by the real graphics service on the offscreen
// driver with the game's own ships: the menu leads to every tool, each tool
// opens, draws its picture and its controls, and leads back. Checked at
// chosen pixels and saved as devtools-*.png in the working folder for a
// person to look at.

#include "engine/base/QelVirtualKeys.h"
#include "game/render/manager/RenderManager.h"
#include "game/shell/scenes/DevOrbitView.h"
#include "game/shell/scenes/Scenes.h"
#include "game/shell/scenes/ShellState.h"
#include "game/world/ShipData.h"
#include "game/world/Simulation.h"
#include "tests/game/ui/draw/InterfaceDrawTest.h"
#include "tests/support/GeneratedData.h"

#include <memory>
#include <set>
#include <string>

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 800;

using qeltest::Rgb;

class DevToolsDrawTest : public qeltest::InterfaceDrawTest {
protected:
    DevToolsDrawTest() : InterfaceDrawTest(kWidth, kHeight) {}

    void SetUp() override
    {
        qeltest::LinkGeneratedData(data);
        qeltest::LinkInterfaceArt(data, {"menu_backdrop.png", "HalvexLogo.png", "fonts"});
        ASSERT_NO_FATAL_FAILURE(InterfaceDrawTest::SetUp());
        world = std::make_unique<Simulation>();
        ShipData::Instance().ClearRecords(ShipData::Instance().mainRecords);
        ShipData::Instance().LoadMain();
        SceneFirstMode(SCENE_ENTER, shell, nullptr);  // takes the menu backdrop
        view = std::make_unique<RenderManager>(SceneFunction());
        view->Setup();
    }

    void TearDown() override
    {
        if (scene)
            scene(SCENE_LEAVE, shell, view.get());
        view.reset();
        world.reset();
        ShipData::Instance().ClearRecords(ShipData::Instance().mainRecords);
        InterfaceDrawTest::TearDown();
    }

    // Makes the scene current as the render manager does: the old one
    // leaves, the new one enters.
    void Switch(SceneFunction next)
    {
        if (next == scene)
            return;
        if (scene)
            scene(SCENE_LEAVE, shell, view.get());
        scene = next;
        scene(SCENE_ENTER, shell, view.get());
    }

    // One frame: the input step, a tick (with the 3D view's effects, as the
    // render manager's tick runs them), the draw; the scene it leads to
    // becomes current.
    void Frame()
    {
        context.Clear();
        theUIContext.BeginFrame();
        SceneFunction next = scene(SCENE_FRAME, shell, view.get());
        if (next == scene) {
            next = scene(SCENE_TICK, shell, view.get());
            view->render3D.UpdateEffects();
        }
        if (next == scene)
            next = scene(SCENE_DRAW, shell, view.get());
        theUIContext.EndFrame();
        graphics.Flush2D();
        input.NextFrame();
        Switch(next);
    }

    void ClickAt(int32_t x, int32_t y)
    {
        input.MoveTo(x, y);
        input.Press();
        Frame();
        input.Release();
        Frame();
        input.MoveTo(kWidth / 2, kHeight - 5);
    }

    void Shoot(const std::string& file)
    {
        context.Clear();
        theUIContext.BeginFrame();
        scene(SCENE_DRAW, shell, view.get());
        theUIContext.EndFrame();
        graphics.Flush2D();
        input.NextFrame();
        ReadScreen();
        ASSERT_TRUE(SaveScreen(file));
    }

    // Pixels of the rectangle near the colour.
    int Count(const IntRect& r, const Rgb& colour, int tolerance = 40) const { return CountNear(r, colour, tolerance); }

    template <typename Test>
    int CountWhere(Test test) const
    {
        int count = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                count += test(At(x, y)) ? 1 : 0;
        return count;
    }

    // How many different colours (in steps of 32) the rectangle shows: a
    // drawn picture has many, an empty screen one or two.
    int Variety(const IntRect& r) const
    {
        std::set<int> seen;
        for (int y = r.top; y < r.bottom; y += 2)
            for (int x = r.left; x < r.right; x += 2) {
                const Rgb c = At(x, y);
                seen.insert((c[0] / 32) * 64 + (c[1] / 32) * 8 + c[2] / 32);
            }
        return static_cast<int>(seen.size());
    }

    // The middle of the tool column's row (from the top, 33 pixels high, gap between rows).
    static int32_t ToolRowY(int row, int32_t gap) { return 2 + row * (33 + gap) + 16; }

    qeltest::TempFolder data;
    qeltest::ScopedEnv dataFolder{"QEL_DATA_DIR", data.Path().string()};
    qeltest::TempFolder settings;
    qeltest::ScopedEnv settingsFolder{"QEL_SETTINGS_DIR", settings.Path().string()};
    std::unique_ptr<Simulation> world;
    std::unique_ptr<RenderManager> view;
    SceneFunction scene;
    ShellState shell;
    const IntRect middle{kWidth / 2 - 200, kHeight / 2 - 200, kWidth / 2 + 200, kHeight / 2 + 200};
};

// The menu's buttons stand one under the other from y 10, 35 high with 6 between.
int32_t MenuRowY(int row)
{
    return 10 + row * (35 + 6) + 17;
}

TEST_F(DevToolsDrawTest, the_menu_leads_to_every_tool_and_each_tool_leads_back)
{
    Switch(SceneDevToolsMode);
    Frame();
    ASSERT_NO_FATAL_FAILURE(Shoot("devtools-menu.png"));
    const Rgb main = Bytes(theUIContext.mainColour);
    EXPECT_GT(Count(IntRect{1, 10, 300, 10 + 7 * 41}, main, 60), 500) << "the seven buttons' labels in the main colour";

    const SceneFunction tools[] = {SceneShipLibrarianMode, SceneHullPathTestMode, SceneNebulaEditMode,
                                   ScenePathingTestMode, SceneHyperspaceDemoMode, SceneMonsterShaderMode};
    for (int row = 0; row < 6; ++row) {
        SCOPED_TRACE(row);
        ClickAt(150, MenuRowY(row + 1));
        EXPECT_EQ(scene, tools[row]);
        Frame();
        // Escape leads back, as Exit does.
        input.KeyDown(qel::vk::kEscape);
        Frame();
        input.KeyUp(qel::vk::kEscape);
        EXPECT_EQ(scene, SceneFunction(SceneDevToolsMode));
        Frame();
    }
    ClickAt(150, MenuRowY(0));
    EXPECT_EQ(scene, SceneFunction(SceneClientOptionsMode));
}

TEST_F(DevToolsDrawTest, the_ship_librarian_shows_the_hull_its_sizes_and_the_list_and_exits)
{
    shell.orbitView.pitchValue = 0.15f;
    Switch(SceneShipLibrarianMode);
    for (int frame = 0; frame < 3; ++frame)
        Frame();
    ASSERT_NO_FATAL_FAILURE(Shoot("devtools-librarian.png"));
    EXPECT_GT(Variety(middle), 12) << "a lit hull over the floor markers";
    EXPECT_GT(Count(IntRect{kWidth - 250, kHeight / 2 - 100, kWidth - 26, kHeight / 2 + 300}, Bytes(theUIContext.mainColour), 60), 300)
        << "the hull keys listed";
    ClickAt(kWidth - 150, ToolRowY(0, 2));
    EXPECT_EQ(scene, SceneFunction(SceneDevToolsMode));
}

TEST_F(DevToolsDrawTest, the_pathing_test_solves_the_hollow_sphere_and_draws_its_path)
{
    shell.orbitView.distance = 2600.0f;  // the whole slab in view, from above
    shell.orbitView.pitchValue = 0.3f;
    Switch(ScenePathingTestMode);
    Frame();
    ClickAt(kWidth - 100, ToolRowY(0, 1));  // "New Hollow Sphere Test"
    ClickAt(kWidth - 100, ToolRowY(6, 1));  // "Complete AStar"
    ASSERT_NO_FATAL_FAILURE(Shoot("devtools-pathing.png"));
    // Lit markers: the colour's own channels bright, the others dark.
    EXPECT_GT(CountWhere([](const Rgb& c) { return c[0] > 120 && c[1] > 120 && c[2] < 60; }), 200) << "yellow path markers";
    EXPECT_GT(CountWhere([](const Rgb& c) { return c[0] > 120 && c[2] > 120 && c[1] < 60; }), 10) << "magenta closed points";
    // The blocked leaves are boxes in the picture, their light gathering into
    // a red glow where the ball crowds them.
    const auto glow = [](const Rgb& c) { return c[0] > 150 && c[1] > 40 && c[1] < 170 && std::abs(c[1] - c[2]) < 20; };
    EXPECT_GT(CountWhere(glow), 300) << "the hollow ball's blocked leaves";

    // The view as it first opens stands on the floor grid: no marker around
    // the camera fills the picture.
    shell.orbitView = DevOrbitView();
    ASSERT_NO_FATAL_FAILURE(Shoot("devtools-pathing-near.png"));
    EXPECT_LT(CountWhere([](const Rgb& c) { return c[0] > 100 && c[1] < 40 && c[2] < 40; }), kWidth * kHeight / 10)
        << "red floor markers";
    ClickAt(kWidth - 100, ToolRowY(7, 1) + 1);  // "Exit", 2 pixels further down
    EXPECT_EQ(scene, SceneFunction(SceneDevToolsMode));
}

TEST_F(DevToolsDrawTest, the_other_tools_open_draw_and_exit)
{
    const struct {
        SceneFunction tool;
        const char* file;
        int32_t exitRowY;
        int frames;  // the hyper-warp screen's streaks take a second to fill it
    } tools[] = {{SceneHullPathTestMode, "devtools-hullpaths.png", ToolRowY(0, 0), 3},
                 {SceneHyperspaceDemoMode, "devtools-hyperspace.png", ToolRowY(0, 0), 30},
                 {SceneMonsterShaderMode, "devtools-monster.png", 9 * 41 + 17, 3},
                 {SceneNebulaEditMode, "devtools-nebula.png", ToolRowY(1, 1), 3}};
    // Far enough out to see the whole nebula and the row of ships beside it.
    shell.orbitView.distance = 2600.0f;
    shell.orbitView.pitchValue = 0.08f;
    for (const auto& tool : tools) {
        SCOPED_TRACE(tool.file);
        Switch(tool.tool);
        for (int frame = 0; frame < tool.frames; ++frame)
            Frame();
        ASSERT_NO_FATAL_FAILURE(Shoot(tool.file));
        EXPECT_GT(Variety(IntRect{0, 0, kWidth, kHeight}), 6) << "a picture, not an empty screen";
        ClickAt(kWidth - 100, tool.exitRowY);
        EXPECT_EQ(scene, SceneFunction(SceneDevToolsMode));
        Switch(SceneDevToolsMode);
    }
}

// The visualiser opens on a nebula that shows: the first cloud is dense
// enough to see, from outside it and from the view it first takes, within.
TEST_F(DevToolsDrawTest, the_visualiser_opens_on_a_nebula_that_shows)
{
    const struct {
        const char* file;
        float distance;
    } views[] = {{"devtools-nebula-first.png", DevOrbitView().distance}, {"devtools-nebula-outside.png", 2600.0f}};
    for (const auto& v : views) {
        SCOPED_TRACE(v.file);
        shell.orbitView = DevOrbitView();
        shell.orbitView.distance = v.distance;
        Switch(SceneNebulaEditMode);
        Frame();
        ASSERT_NO_FATAL_FAILURE(Shoot(v.file));
        const IntRect picture{kWidth / 2 - 300, kHeight / 2 - 300, kWidth / 2 + 300, kHeight / 2 + 300};
        int lit = 0;
        for (int y = picture.top; y < picture.bottom; y += 2)
            for (int x = picture.left; x < picture.right; x += 2)
                lit += At(x, y)[0] + At(x, y)[1] + At(x, y)[2] > 90 ? 1 : 0;
        EXPECT_GT(lit, 300 * 300 / 5) << "a fifth of the middle lit by the cloud";
        Switch(SceneDevToolsMode);
    }
}

TEST_F(DevToolsDrawTest, the_visualiser_switches_to_its_gas_giant)
{
    shell.orbitView.distance = 400.0f;
    Switch(SceneNebulaEditMode);
    Frame();
    ClickAt(kWidth - 100, ToolRowY(0, 1));  // "Edit Mode"
    ASSERT_NO_FATAL_FAILURE(Shoot("devtools-gasgiant.png"));
    // The planet's dark green clouds fill the middle of the picture.
    const IntRect centre{kWidth / 2 - 40, kHeight / 2 - 40, kWidth / 2 + 40, kHeight / 2 + 40};
    int green = 0;
    for (int y = centre.top; y < centre.bottom; ++y)
        for (int x = centre.left; x < centre.right; ++x)
            green += At(x, y)[1] > At(x, y)[0] + 8 && At(x, y)[1] > At(x, y)[2] + 8 ? 1 : 0;
    EXPECT_GT(green, centre.Width() * centre.Height() / 2);
}

}  // namespace
