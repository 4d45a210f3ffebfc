// This machine's screen as the mission's sky box function for client 0
// reaches it: the render manager's sky box takes the art, and without one
// nothing happens. Particle bursts, the hyper-warp screen and the cinematic
// camera reach the render manager's 3D view.

#include "game/widgets/LocalConsoleScreen.h"

#include "game/render/Particle3DSSManager.h"
#include "game/render/SkyBoxManager.h"
#include "game/render/manager/RenderManager.h"
#include "game/ui/TextLog.h"
#include "tests/game/ui/UITestFixture.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

class RecordingSkyBox : public SkyBoxManager {
public:
    void SetTexture(const std::string& name) override { names.push_back(name); }
    std::vector<std::string> names;
};

// A text message from the server, or from the mission to the server's own
// screen, is a line of the message box the text waterfall draws.
TEST(LocalConsoleScreenTest, a_text_message_is_a_line_of_the_message_box_in_its_colour)
{
    theMessageLog.Clear();
    ConsoleState console;
    LocalConsoleScreen screen(console);
    const glm::vec4 amber{1.0f, 0.7f, 0.0f, 1.0f};
    screen.AddTextMessage("Contact bearing 042", amber);
    screen.AddTextMessage("", amber);
    ASSERT_EQ(theMessageLog.Count(), 2u);
    EXPECT_EQ(theMessageLog.Line(0).text, "Contact bearing 042");
    EXPECT_EQ(theMessageLog.Line(0).colour, amber);
    EXPECT_EQ(theMessageLog.Line(1).text, "");
    theMessageLog.Clear();
}

// The comms and engineering info the widgets show: a selection starts its
// list again, a button adds to it; a new connection or a new game empties both.
TEST(LocalConsoleScreenTest, info_lists_fill_by_selection_and_button_and_empty_on_a_new_connection_or_game)
{
    using List = ConsoleScreen::InfoList;
    ConsoleState console;
    LocalConsoleScreen screen(console);
    screen.AddInfo(List::Comms, {"old", "", ""});
    screen.SelectInfo(List::Comms, {"hail", "Depot", "1"});
    screen.AddInfo(List::Comms, {"dock", "Depot", "2"});
    screen.AddInfo(List::Engineering, {"repair", "Ada", "3"});
    ASSERT_EQ(screen.Info(List::Comms).size(), 2u);
    EXPECT_EQ(screen.Info(List::Comms)[0].first, "hail");
    EXPECT_EQ(screen.Info(List::Comms)[1].first, "dock");
    EXPECT_EQ(screen.Info(List::Engineering).size(), 1u);

    screen.ClearInfoLists();
    EXPECT_TRUE(screen.Info(List::Comms).empty());
    EXPECT_TRUE(screen.Info(List::Engineering).empty());
    screen.AddInfo(List::Engineering, {"repair", "Ada", "3"});
    screen.ClearForNewWorld();
    EXPECT_TRUE(screen.Info(List::Engineering).empty());
}

// This machine's screen over a console of its own.
class LocalConsoleParticlesTest : public UITest {
protected:
    ConsoleState console;
    LocalConsoleScreen screen{console};
};

SceneFunction StayingScene(SceneEvent, SceneState&, RenderManager*)
{
    return StayingScene;
}

TEST_F(LocalConsoleParticlesTest, the_sky_box_art_reaches_the_render_manager_s_sky_box_while_there_is_one)
{
    const qeltest::TempFolder settings;
    const qeltest::ScopedEnv settingsFolder{"QEL_SETTINGS_DIR", settings.Path().string()};
    screen.SetSkyBox("sky2");  // no render manager: nothing happens
    RenderManager manager(StayingScene, &console);
    ASSERT_EQ(manager.SkyBox(), nullptr) << "not set up yet";
    screen.SetSkyBox("sky3");

    auto recording = std::make_unique<RecordingSkyBox>();
    const RecordingSkyBox& sky = *recording;
    manager.ReplaceSkyBox(std::move(recording));
    screen.SetSkyBox("nebula_sky");
    EXPECT_EQ(sky.names, std::vector<std::string>{"nebula_sky"});
}

// The server's own screen and a console alike show the bursts of "signal"
// 63 and of the particle script functions in their 3D view, once it is set up.
TEST_F(LocalConsoleParticlesTest, particle_bursts_reach_the_render_manager_s_3d_view_once_it_is_set_up)
{
    const qeltest::TempFolder settings;
    const qeltest::ScopedEnv settingsFolder{"QEL_SETTINGS_DIR", settings.Path().string()};
    EXPECT_EQ(screen.Particles(), nullptr);
    RenderManager manager(StayingScene, &console);
    EXPECT_EQ(screen.Particles(), nullptr) << "not set up yet";
    manager.Setup();
    ParticleView* view = screen.Particles();
    ASSERT_EQ(view, &manager.render3D);
    view->AddParticleEvent(glm::vec3(0.0f, 0.0f, 500.0f), glm::quat(1, 0, 0, 0), "count:7;lifespan:30", nullptr);
    int live = 0;
    for (const SpriteSheetParticle& particle : manager.render3D.hot_particles->Particles())
        live += particle.age >= 0;
    EXPECT_EQ(live, 7);
    EXPECT_EQ(view->Emitters().Add(0, 4, "count:1", -1), ParticleEmitters::kFirstAutomaticId);
}

// The mission's hyper-warp and cinematic calls reach the 3D view of the
// machine: a second "on" keeps the ship shown; the automatic camera features
// the object the server names, and the mission's own camera takes over.
TEST_F(LocalConsoleParticlesTest, hyper_warp_and_cinematic_calls_reach_the_render_manager_s_3d_view)
{
    const qeltest::TempFolder settings;
    const qeltest::ScopedEnv settingsFolder{"QEL_SETTINGS_DIR", settings.Path().string()};
    EXPECT_FALSE(screen.HyperWarpShown());
    screen.ShowHyperWarp("tern_frigate");  // no render manager: nothing happens
    RenderManager manager(StayingScene, &console);
    Render3D& view = manager.render3D;

    screen.ShowHyperWarp("tern_frigate");
    screen.ShowHyperWarp("skarn_raider");
    EXPECT_TRUE(screen.HyperWarpShown());
    EXPECT_EQ(view.hyper_warp_key, "tern_frigate");
    screen.HideHyperWarp();
    EXPECT_FALSE(view.hyper_warp_on);

    screen.SetAutoCinematicObject(42);
    EXPECT_EQ(view.cinematic_request, 42u);
    screen.SetCinematic({1, 7, glm::vec3(1, 2, 3), 9, glm::vec3(4, 5, 6)});
    EXPECT_EQ(view.scriptControlsCamera, 1);
    EXPECT_EQ(view.dollyID, 7u);
    EXPECT_EQ(view.dollyPos, glm::vec3(1, 2, 3));
    EXPECT_EQ(view.targetID, 9u);
    EXPECT_EQ(view.targetPos, glm::vec3(4, 5, 6));
}

// A crew that zoomed its radar far out in one mission finds the next one's
// radar at the default zoom, centred on its ship again.
TEST_F(LocalConsoleParticlesTest, a_new_world_starts_the_radar_at_its_default_zoom)
{
    const qeltest::TempFolder settings;
    const qeltest::ScopedEnv settingsFolder{"QEL_SETTINGS_DIR", settings.Path().string()};
    RenderManager manager(StayingScene, &console);
    screen.SetRadarZoom(0.005f);
    manager.radarRecenter = false;
    screen.ClearForNewWorld();
    EXPECT_FLOAT_EQ(manager.radarScale, RenderManager::kDefaultRadarScale);
    EXPECT_TRUE(manager.radarRecenter);
}

}  // namespace
