// The render manager headless, on recording fakes: the scene protocol, the
// overlay keys, speech bubbles, the settings read back, the no-ship mark, the
// log overlay, the dissolve and the small utilities it brings.

#include "game/render/manager/RenderManager.h"

#include "engine/base/QelFileServices.h"
#include "engine/base/QelVirtualKeys.h"
#include "game/net/NetworkIds.h"
#include "game/render/manager/RenderUtilities.h"
#include "game/ui/TextLog.h"
#include "game/world/Simulation.h"
#include "helper/CRand.h"
#include "tests/game/ui/UITestFixture.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>

#include <cmath>
#include <string>
#include <vector>

namespace {

using qeltest::DrawRecord;

// Two scenes that write what they are called with; the first answers the
// second from the step named in switchOn.
std::vector<std::string> sceneCalls;
SceneEvent switchOn = SCENE_ENTER;  // SCENE_ENTER: never switches
RenderManager* lastHost = nullptr;  // the render manager a scene was last handed

const char* EventName(SceneEvent event)
{
    static const char* const names[] = {"enter", "leave", "frame", "tick", "draw"};
    return names[event];
}

SceneFunction SecondScene(SceneEvent event, SceneState&, RenderManager* view)
{
    lastHost = view;
    sceneCalls.push_back(std::string("second ") + EventName(event));
    return SecondScene;
}

SceneFunction FirstScene(SceneEvent event, SceneState&, RenderManager* view)
{
    lastHost = view;
    sceneCalls.push_back(std::string("first ") + EventName(event));
    if (event == switchOn && event != SCENE_ENTER)
        return SecondScene;
    return FirstScene;
}

class RenderManagerTest : public UITest {
protected:
    void SetUp() override
    {
        UITest::SetUp();
        theConsoleLog.Clear();
        sceneCalls.clear();
        switchOn = SCENE_ENTER;
    }
    void TearDown() override
    {
        manager.reset();
        UITest::TearDown();
    }

    RenderManager& Make()
    {
        manager = std::make_unique<RenderManager>(FirstScene);
        manager->Setup();
        sceneCalls.clear();
        return *manager;
    }

    void Frame()
    {
        graphics.log.clear();
        manager->FrameUpdate();
        manager->Draw();
        input.NextFrame();
    }

    void Release(int32_t key)
    {
        input.KeyUp(key);
        manager->FrameUpdate();
        input.NextFrame();
    }

    std::vector<DrawRecord> Texts() const
    {
        std::vector<DrawRecord> texts;
        for (const DrawRecord& record : graphics.log)
            if (record.kind == DrawRecord::Kind::Text)
                texts.push_back(record);
        return texts;
    }

    qeltest::TempFolder settings;
    qeltest::ScopedEnv settingsFolder{"QEL_SETTINGS_DIR", settings.Path().string()};
    std::unique_ptr<RenderManager> manager;
};

// The game's own start: the first scene at once; the rest loads a step a
// frame only once a frame is shown, and all of it before another scene.
TEST_F(RenderManagerTest, the_first_screen_comes_first_and_the_rest_loads_behind_it)
{
    manager = std::make_unique<RenderManager>(FirstScene);
    manager->SetupFirstScreen();
    EXPECT_EQ(sceneCalls, std::vector<std::string>{"first enter"});
    EXPECT_TRUE(manager->Loading());
    EXPECT_FALSE(manager->radarSetUp) << "the views wait";
    manager->FrameUpdate();
    EXPECT_TRUE(manager->Loading()) << "nothing loads before a frame is shown";
    manager->Draw();
    manager->FrameUpdate();
    EXPECT_TRUE(manager->Loading()) << "a step a frame";

    switchOn = SCENE_FRAME;
    sceneCalls.clear();
    manager->FrameUpdate();
    EXPECT_EQ(sceneCalls, (std::vector<std::string>{"first frame", "first leave", "second enter"}));
    EXPECT_FALSE(manager->Loading()) << "every later screen finds everything loaded";
    EXPECT_TRUE(manager->radarSetUp);
}

TEST_F(RenderManagerTest, setup_enters_the_first_scene_and_the_end_leaves_the_current_one)
{
    SharedConsoleState console;  // the console it draws for knows it while it lives
    manager = std::make_unique<RenderManager>(FirstScene, &console);
    EXPECT_EQ(console.renderer, manager.get());
    EXPECT_TRUE(sceneCalls.empty());
    manager->Setup();
    EXPECT_EQ(sceneCalls, std::vector<std::string>{"first enter"});
    EXPECT_EQ(lastHost, manager.get()) << "the scene is handed the render manager that runs it";
    EXPECT_EQ(manager->jumpEffect.mode, 0);
    EXPECT_EQ(manager->radarCenterX, manager->mainBuffWidth / 2);
    EXPECT_EQ(theUIContext.pictures, manager.get());  // the script screens' portraits and ships
    EXPECT_NE(manager->SkyBox(), nullptr);
    manager.reset();
    EXPECT_EQ(sceneCalls, (std::vector<std::string>{"first enter", "first leave"}));
    EXPECT_EQ(console.renderer, nullptr);
    EXPECT_EQ(theUIContext.pictures, nullptr);
}

TEST_F(RenderManagerTest, a_scene_answering_another_is_left_and_the_other_entered_in_the_same_step)
{
    struct Case {
        SceneEvent from;
        std::vector<std::string> calls;  // of one frame (input, tick, draw), then of the next
    };
    const Case cases[] = {
        {SCENE_DRAW,
         {"first frame", "first tick", "first draw", "first leave", "second enter", "second frame", "second tick",
          "second draw"}},
        {SCENE_FRAME,
         {"first frame", "first leave", "second enter", "second tick", "second draw", "second frame", "second tick",
          "second draw"}},
        {SCENE_TICK,
         {"first frame", "first tick", "first leave", "second enter", "second draw", "second frame", "second tick",
          "second draw"}},
    };
    for (const Case& c : cases) {
        Make();
        switchOn = c.from;
        for (int frame = 0; frame < 2; ++frame) {
            manager->FrameUpdate();
            manager->SimTick();
            manager->Draw();
        }
        EXPECT_EQ(sceneCalls, c.calls) << EventName(c.from);
        EXPECT_EQ(manager->CurrentScene(), SceneFunction(SecondScene));
        switchOn = SCENE_ENTER;
    }
}

TEST_F(RenderManagerTest, overlay_keys_cycle_their_modes_back_to_off)
{
    Make();
    std::vector<int32_t> log, panel, stats;
    for (int i = 0; i < 4; ++i) {
        Release(qel::vk::kF1 + 6);
        log.push_back(manager->logOverlayMode);
        Release(qel::vk::kF1 + 7);
        panel.push_back(manager->panelOverlayMode);
        Release(qel::vk::kF1 + 8);
        stats.push_back(manager->netStatsOverlayMode);
        EXPECT_TRUE(manager->clientNamesChanged);
        manager->Draw();
        EXPECT_FALSE(manager->clientNamesChanged);
    }
    EXPECT_EQ(log, (std::vector<int32_t>{1, 2, 0, 1}));
    EXPECT_EQ(panel, (std::vector<int32_t>{1, 2, 3, 0}));
    EXPECT_EQ(stats, (std::vector<int32_t>{1, 0, 1, 0}));
}

// Records where the render manager asks for the statistics overlays.
struct RecordingCounterOverlays : CounterOverlays {
    void DrawPanelOverlay(const IntRect& rect) override { panels.push_back(rect); }
    void DrawServerStats(const IntRect& rect) override { stats.push_back(rect); }
    std::vector<IntRect> panels;
    std::vector<IntRect> stats;
};

TEST_F(RenderManagerTest, the_statistics_overlays_are_asked_for_in_their_places_while_their_modes_are_on)
{
    graphics.width = 1000;
    graphics.height = 800;
    Make();
    Frame();  // nothing draws them yet: the modes are off and no drawer is given
    RecordingCounterOverlays overlays;
    manager->counterOverlays = &overlays;
    Frame();
    EXPECT_TRUE(overlays.panels.empty());
    EXPECT_TRUE(overlays.stats.empty());

    // F8 steps the panel across the window: near the top, halfway down, at
    // the bottom, then off; F9 shows the statistics inside a margin.
    Release(qel::vk::kF1 + 8);
    for (int mode = 0; mode < 4; ++mode) {
        Release(qel::vk::kF1 + 7);
        Frame();
    }
    const std::vector<IntRect> expected{{200, 40, 800, 160}, {200, 400, 800, 520}, {200, 700, 800, 820}};
    ASSERT_EQ(overlays.panels.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(overlays.panels[i], expected[i]) << "mode " << i + 1;
    ASSERT_EQ(overlays.stats.size(), 4u);
    EXPECT_EQ(overlays.stats[0], (IntRect{30, 30, 970, 770}));
    manager->counterOverlays = nullptr;
}

TEST_F(RenderManagerTest, speech_bubbles_are_set_in_place_removed_by_empty_text_and_expire_on_their_tick)
{
    RenderManager& rm = Make();
    const uint64_t a = kSpaceObjectIdBit | 4, b = kSpaceObjectIdBit | 5, c = kSpaceObjectIdBit | 6;
    rm.SetSpeechBubble(a, 0, "#fff", "forever");
    rm.SetSpeechBubble(b, 2, "#f00", "two seconds");
    rm.SetSpeechBubble(c, 1, "#0f0", "one second");
    rm.SetSpeechBubble(b, 1, "#00f", "one now");  // replaced in place
    rm.SetSpeechBubble(kSpaceObjectIdBit | 7, 5, "#fff", "");  // no bubble, no text: nothing
    ASSERT_EQ(rm.speechBubbles.size(), 3u);
    EXPECT_EQ(rm.speechBubbles[1].text, "one now");
    EXPECT_EQ(rm.speechBubbles[1].colour, "#00f");
    EXPECT_EQ(rm.speechBubbles[1].expiryTick, 30u);

    for (int tick = 0; tick < 29; ++tick)
        rm.SimTick();
    EXPECT_EQ(rm.speechBubbles.size(), 3u);
    rm.SimTick();  // tick 30: both one-second bubbles go, the endless one stays
    ASSERT_EQ(rm.speechBubbles.size(), 1u);
    EXPECT_EQ(rm.speechBubbles[0].objectId, a);

    rm.SetSpeechBubble(b, -3, "#fff", "already over");
    rm.SetSpeechBubble(c, 9, "#fff", "later");
    rm.SetSpeechBubble(a, 0, "#fff", "");
    rm.SimTick();
    ASSERT_EQ(rm.speechBubbles.size(), 1u);
    EXPECT_EQ(rm.speechBubbles[0].objectId, c);
    rm.SetSpeechBubble(0, 0, "", "");
    EXPECT_TRUE(rm.speechBubbles.empty());
}

TEST_F(RenderManagerTest, view_settings_are_read_back_and_held_to_their_ranges)
{
    struct Case {
        const char* brightness;
        const char* arcMode;
        const char* dragThreshold;
        float wantBrightness;
        int32_t wantArcMode;
        float wantThreshold;
    };
    const Case cases[] = {
        {"", "", "", 1.0f, 0, 15.0f},        // nothing stored
        {"0.5", "1", "40", 1.0f, 1, 40.0f},  // below 1 counts as not stored
        {"1.25", "2", "0", 0.25f, 2, 15.0f},
        {"3", "7", "250", 1.0f, 2, 100.0f},  // out of range: held to it
        {"nan", "-4", "-9", 1.0f, 0, 15.0f},
        {"1e40", "99999999999999999999", "x", 1.0f, 2, 15.0f},
    };
    QelFileServices& services = QelFileServices::Instance();
    for (const Case& c : cases) {
        services.SetRegistryValue("r3D.navRingBrightness", c.brightness);
        services.SetRegistryValue("panelOpacity", c.brightness);
        services.SetRegistryValue("r2D.showArcMode", c.arcMode);
        services.SetRegistryValue("r2D.dragThreshold", c.dragThreshold);
        RenderManager& rm = Make();
        EXPECT_FLOAT_EQ(rm.navRingBrightness, c.wantBrightness) << c.brightness;
        EXPECT_FLOAT_EQ(rm.panelOpacity, c.wantBrightness) << "stored as the brightness is: " << c.brightness;
        EXPECT_EQ(rm.radarArcMode, c.wantArcMode) << c.arcMode;
        EXPECT_EQ(rm.radarDragThreshold, c.wantThreshold) << c.dragThreshold;
    }
    services.SetRegistryValue("r2D.relativePositions", "on");
    services.SetRegistryValue("r3D.showNavRing", "yes");
    RenderManager& rm = Make();
    EXPECT_TRUE(rm.radarRelativePositions);
    EXPECT_TRUE(rm.showNavRing);
    EXPECT_EQ(rm.guiColors[kGuiColorMain], glm::vec4(0x35 / 255.0f, 0xc0 / 255.0f, 0xe8 / 255.0f, 1.0f));
    EXPECT_EQ(rm.guiColors[kGuiColorPickup], glm::vec4(0x60 / 255.0f, 1.0f, 0xd0 / 255.0f, 1.0f));
}

TEST_F(RenderManagerTest, the_no_ship_mark_shows_only_in_a_world_without_a_ship_for_this_machine)
{
    Make();
    const auto marked = [this] {
        for (const DrawRecord& r : graphics.log)
            if (r.kind == DrawRecord::Kind::Quad && r.layer == RenderManager::kOverlayLayer && r.Left() == 100 &&
                r.Right() == 102 && r.colour == glm::vec4(1, 0, 0, 1))
                return true;
        return false;
    };
    Frame();
    EXPECT_FALSE(marked());  // no world
    Simulation world;
    Frame();
    EXPECT_FALSE(marked());  // no registry yet
    world.Reset(false, "");
    Frame();
    EXPECT_TRUE(marked());
    world.subjectID = kSpaceObjectIdBit | 4;
    Frame();
    EXPECT_FALSE(marked());
}

TEST_F(RenderManagerTest, the_log_overlay_shows_the_newest_lines_at_the_bottom_and_scrolls_into_older_ones)
{
    RenderManager& rm = Make();
    for (int i = 0; i < 60; ++i)
        theConsoleLog.Add(glm::vec4(1, 1, 1, 1), "line " + std::to_string(i));
    // Recording fonts are 8 pixels a character, 115 to the 920 pixels an
    // entry's lines take: this entry wraps to three lines.
    theConsoleLog.Add(glm::vec4(0, 1, 0, 1), std::string(250, 'w'));
    rm.logOverlayMode = 2;
    Frame();
    std::vector<DrawRecord> texts = Texts();
    ASSERT_FALSE(texts.empty());
    // The wrapped entry: its last line at the bottom, its later lines indented.
    EXPECT_EQ(texts[0].box.bottom, 768 - 20 - 2);
    EXPECT_EQ(texts[0].box.left, 20 + 2 + 30);
    EXPECT_EQ(texts[2].box.left, 20 + 2);
    EXPECT_EQ(texts[3].text, "line 59");
    EXPECT_EQ(texts[3].box.bottom, 768 - 20 - 2 - 3 * 22);
    for (const DrawRecord& text : texts)
        EXPECT_GE(text.box.top, 20) << text.text;
    const int32_t visible = (768 - 40 - 4) / 22;
    EXPECT_EQ(rm.logScrollRange, 61 + 2 - visible);

    rm.logScroll = 5;
    Frame();
    texts = Texts();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts[0].text, "line 58");  // three wrapped lines and line 59 scrolled out
    const auto translucent = [this](float alpha) {
        for (const DrawRecord& r : graphics.log)
            if (r.kind == DrawRecord::Kind::Quad && r.layer == RenderManager::kOverlayLayer && r.Left() == 20 &&
                r.Bottom() == 768 - 20)
                return r.colour.a == alpha;
        return false;
    };
    EXPECT_TRUE(translucent(0.6f));
    rm.logOverlayMode = 1;
    Frame();
    EXPECT_TRUE(translucent(1.0f));
}

TEST_F(RenderManagerTest, the_dissolve_keeps_its_cells_at_first_and_ends_when_its_time_is_up)
{
    RenderManager& rm = Make();
    Simulation world;
    world.Reset(false, "");
    world.clock.time_tick_counter = 1000;
    rm.jumpEffect.mode = JumpEffectState::kDissolveMode;
    rm.jumpEffect.startTick = 1000;
    rm.jumpEffect.durationTicks = 60;
    rm.jumpEffect.cells.assign(400, IntRect{0, 0, 10, 10});
    rm.DrawDissolve();
    EXPECT_EQ(rm.jumpEffect.cells.size(), 400u);  // no progress yet: no cell goes
    EXPECT_EQ(graphics.log.size(), 400u);
    // Near the end about one cell in four hundred goes each frame: some fifty
    // of four hundred in fifty frames.
    csrand(7);
    world.clock.time_tick_counter = 1060;
    for (int frame = 0; frame < 50; ++frame)
        rm.DrawDissolve();
    EXPECT_LT(rm.jumpEffect.cells.size(), 400u - 25u);
    EXPECT_GT(rm.jumpEffect.cells.size(), 400u - 80u);
    world.clock.time_tick_counter = 1061;
    rm.DrawDissolve();
    EXPECT_EQ(rm.jumpEffect.mode, 0);

    // A dissolve without length, or one the world's clock fell below, ends at once.
    for (uint64_t start : {uint64_t{1061}, uint64_t{5000}}) {
        rm.jumpEffect.mode = JumpEffectState::kDissolveMode;
        rm.jumpEffect.startTick = start;
        rm.jumpEffect.durationTicks = start == 1061 ? 0 : 60;
        rm.DrawDissolve();
        EXPECT_EQ(rm.jumpEffect.mode, 0) << start;
    }
}

TEST(RenderUtilitiesTest, rectangles_unite_overlap_on_touch_and_fit_an_aspect_about_their_centre)
{
    EXPECT_EQ(RectUnion({0, 5, 10, 20}, {-3, 8, 4, 30}), (IntRect{-3, 5, 10, 30}));
    EXPECT_TRUE(RectsOverlap({0, 0, 10, 10}, {10, 0, 20, 10}));   // a shared edge
    EXPECT_TRUE(RectsOverlap({0, 0, 10, 10}, {0, 10, 10, 20}));
    EXPECT_FALSE(RectsOverlap({0, 0, 10, 10}, {11, 0, 20, 10}));
    EXPECT_FALSE(RectsOverlap({0, 0, 10, 10}, {0, 11, 10, 20}));

    struct Case {
        IntRect rect;
        IntRect reference;
        IntRect fitted;
    };
    for (const Case c : {Case{{0, 0, 200, 100}, {0, 0, 50, 50}, {50, 0, 150, 100}},
                         Case{{0, 0, 100, 200}, {0, 0, 50, 50}, {0, 50, 100, 150}},
                         Case{{0, 0, 160, 90}, {0, 0, 16, 9}, {0, 0, 160, 90}},
                         Case{{0, 0, 100, 0}, {0, 0, 50, 50}, {0, 0, 100, 0}},
                         Case{{0, 0, 100, 50}, {0, 0, 0, 50}, {0, 0, 100, 50}}}) {
        IntRect rect = c.rect;
        FitRectToAspect(rect, c.reference);
        EXPECT_EQ(rect, c.fitted) << c.rect.right << "x" << c.rect.bottom;
    }
}

TEST(RenderUtilitiesTest, the_rotation_between_two_directions_is_always_a_rotation)
{
    const auto isRotation = [](const glm::mat4& m) {
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j)
                if (!std::isfinite(m[i][j]))
                    return false;
        return std::fabs(glm::determinant(glm::mat3(m)) - 1.0f) < 1e-4f;
    };
    const glm::vec3 x(1, 0, 0), y(0, 1, 0), diagonal(1, 1, 1);
    // A quarter turn about b × a takes b onto a.
    const glm::mat4 quarter = RotationBetween(x, y);
    EXPECT_TRUE(isRotation(quarter));
    const glm::vec4 turned = quarter * glm::vec4(y, 0.0f);
    EXPECT_NEAR(turned.x, 1.0f, 1e-5f);
    EXPECT_NEAR(turned.y, 0.0f, 1e-5f);

    EXPECT_EQ(RotationBetween(x, x), glm::mat4(1.0f));
    EXPECT_EQ(RotationBetween(x, 3.0f * x), glm::mat4(1.0f));
    EXPECT_EQ(RotationBetween(glm::vec3(0.0f), y), glm::mat4(1.0f));
    for (const glm::vec3& a : {x, y, diagonal}) {
        const glm::mat4 half = RotationBetween(a, -a);
        EXPECT_TRUE(isRotation(half)) << a.x << a.y << a.z;
        const glm::vec4 back = half * glm::vec4(a, 0.0f);
        EXPECT_NEAR(back.x, -a.x, 1e-4f);
        EXPECT_NEAR(back.y, -a.y, 1e-4f);
        EXPECT_NEAR(back.z, -a.z, 1e-4f);
    }
}

TEST(RenderUtilitiesTest, the_main_screen_ship_is_shown_on_the_server_and_on_main_screens_only)
{
    std::string console = "helm";
    EXPECT_EQ(GetMainScreenShip(console), nullptr);  // no world
    Simulation world;
    world.Reset(false, "");
    const uint64_t id = world.CreateSpaceObject("", "", 0);
    EXPECT_EQ(GetMainScreenShip(console), nullptr);  // aboard no ship
    world.subjectID = id;
    struct Case {
        const char* console;
        bool shown;
    };
    for (const Case c : {Case{"helm", false}, Case{"", false}, Case{"main", true}, Case{"bigmainscreen", true},
                         Case{"fighter_cockpit", true}, Case{"Main", false}})
        EXPECT_EQ(GetMainScreenShip(c.console) != nullptr, c.shown) << c.console;
    world.serverFlag = true;
    EXPECT_EQ(GetMainScreenShip(console), world.GetSpaceObject(id));
    world.subjectID = kSpaceObjectIdBit | 999;  // gone
    EXPECT_EQ(GetMainScreenShip(console), nullptr);
}

}  // namespace
