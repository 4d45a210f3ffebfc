// A bridge console's own screen on recording services: when its "Options"
// shows, and the notice it gives while the mission is paused.

#include "engine/base/QelVirtualKeys.h"
#include "game/render/manager/RenderManager.h"
#include "game/shell/scenes/Scenes.h"
#include "game/ui/KeyVal.h"
#include "game/widgets/ConsoleState.h"
#include "tests/game/shell/scenes/SceneTestFixture.h"
#include "tests/support/TempFolder.h"

#include <memory>
#include <optional>

namespace {

constexpr int32_t kOptionsKey = qel::vk::kLetterA + ('O' - 'A');

class SceneClientRunningModeTest : public SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        dataFolder.emplace("QEL_DATA_DIR", data.Path().string());  // the hot-key file goes there
        KeyVal::Unload();
        console = ConsoleState{};
        view = std::make_unique<RenderManager>(SceneFunction(), &console);
        view->ConnectNetwork(GameNetwork{client.get(), server.get()});
        sceneHost = view.get();
        console.consoleName = "helm";
        world.paused = false;
    }
    void TearDown() override
    {
        sceneHost = nullptr;
        view.reset();
        console = ConsoleState{};
        KeyVal::Unload();
        SceneTest::TearDown();
    }

    qeltest::TempFolder data;
    std::optional<qeltest::ScopedEnv> dataFolder;
    ConsoleState console;  // the console the scene draws
    std::unique_ptr<RenderManager> view;
};

// The button stays out of a cinematic picture or where the mission made it
// transparent, unless the pointer is over its place; the network statistics
// cover it. Its key opens the options either way.
TEST_F(SceneClientRunningModeTest, options_shows_unless_transparent_cinematic_or_under_the_statistics)
{
    struct Case {
        const char* what;
        const char* console;
        bool transparent;
        bool statistics;
        bool pointerOver;
        bool shown;
    };
    const Case cases[] = {
        {"a plain console", "helm", false, false, false, true},
        {"made transparent", "helm", true, false, false, false},
        {"transparent, the pointer over it", "helm", true, false, true, true},
        {"a cinematic screen", "main_cine", false, false, false, false},
        {"a cinematic screen, the pointer over it", "main_cine", false, false, true, true},
        {"under the network statistics", "helm", false, true, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        console.consoleName = c.console;
        view->transparentOptionsButton = c.transparent;
        view->netStatsOverlayMode = c.statistics ? 1 : 0;
        input.MoveTo(c.pointerOver ? 100 : 600, c.pointerOver ? 18 : 400);
        Draw(SceneClientRunningMode);
        EXPECT_EQ(TextDrawn("Options") != nullptr, c.shown);
        input.KeyDown(kOptionsKey);
        EXPECT_EQ(Draw(SceneClientRunningMode), SceneClientOptionsMode);
        input.KeyUp(kOptionsKey);
        Draw(SceneClientRunningMode);
    }
}

TEST_F(SceneClientRunningModeTest, a_paused_mission_is_shown_on_the_console_until_it_runs_again)
{
    world.paused = true;
    Draw(SceneClientRunningMode);
    const qeltest::DrawRecord* notice = TextDrawn("MISSION PAUSED");
    ASSERT_NE(notice, nullptr);
    EXPECT_GT(notice->layer, 1100) << "over the widgets and the damage flash";
    world.paused = false;
    Draw(SceneClientRunningMode);
    EXPECT_EQ(TextDrawn("MISSION PAUSED"), nullptr);
}

}  // namespace
