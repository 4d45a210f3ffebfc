// The 3D view's planets, nebula volumes, monster bodies and the hyper-warp
// screen drawn by the real graphics service on the offscreen driver, each
// checked for the pixels it covers in its colours. Saved as PNG files in the
// working folder (main-screen-planet.png, main-screen-planet-in-nebula.png,
// nebula-outside.png,
// nebula-inside.png, monster-bodies.png, hyper-warp.png) for a person to look at.

#include "game/render/manager/RenderManager.h"

#include "game/render/manager/QelGasGiant.h"
#include "game/render/manager/QelVolumeManager.h"
#include "game/ui/UIContext.h"
#include "game/world/AppData.h"
#include "game/world/DataKey.h"
#include "game/world/ShipData.h"
#include "game/world/Simulation.h"
#include "tests/game/render/manager/Render3DDrawFixture.h"

#include <gtest/gtest.h>

#include <glm/gtc/quaternion.hpp>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 360;

using qeltest::Rgb;

void SetFloat(SpaceObject& object, const char* key, float value)
{
    WriteFloat(object.data_set, DataKey{key, kPlayDoc}, value);
}

class BodiesDrawTest : public qeltest::Render3DDrawFixture {
protected:
    BodiesDrawTest() : Render3DDrawFixture(kWidth, kHeight, {"grid-particles-ss.png", "smoke-particles2-ss.png"}) {}

    void SetUp() override
    {
        Render3DDrawFixture::SetUp();
        manager = std::make_unique<RenderManager>(StayingScene);
        manager->mainBuffWidth = kWidth;
        manager->mainBuffHeight = kHeight;
        manager->Setup();
        world = std::make_unique<Simulation>();
        world->Reset(false, "");
        ship = Place("behav_playership", "tern_frigate", {0, 0, 0});
        world->subjectID = ship->uniqueID;
    }
    SpaceObject* Place(const char* behaviour, const char* shipKey, const glm::vec3& at)
    {
        SpaceObject* object = world->GetSpaceObject(world->CreateSpaceObject(behaviour, shipKey, 0));
        world->RepositionSpaceObject(object, at.x, at.y, at.z);
        world->Container()->ReinsertMoved();
        return object;
    }

    // A planet of the mission's values: a banded ochre giant.
    SpaceObject* Planet(const glm::vec3& at, float radius)
    {
        SpaceObject* planet = Place("behav_planet", "planet", at);
        const std::pair<const char*, float> values[] = {
            {"planet_radius", radius},          {"planet_baseColorR", 0.85f},     {"planet_baseColorG", 0.55f},
            {"planet_baseColorB", 0.3f},        {"planet_upperCloudColorR", 1.0f}, {"planet_upperCloudColorG", 0.9f},
            {"planet_upperCloudColorB", 0.75f}, {"planet_fresnel", 3.0f},         {"planet_fresnelBias", 0.1f},
            {"planet_bandScale", 1.0f},         {"planet_upperCloudStrength", 0.6f}, {"planet_upperCloudExponent", 2.0f},
            {"planet_emissiveColorR", 0.02f},   {"planet_emissiveColorG", 0.02f}, {"planet_emissiveColorB", 0.05f}};
        for (const auto& [key, value] : values)
            SetFloat(*planet, key, value);
        return planet;
    }

    // One frame of the main screen's 3D view over the whole window.
    void ViewFrame()
    {
        context.Clear();
        manager->render3D.Draw(IntRect{0, 0, kWidth, kHeight}, true);
        graphics.Flush2D();
        ReadScreen();
    }

    // Pixels of the screen (or of a part) that pass the test.
    int Count(const std::function<bool(const Rgb&)>& test, const IntRect& part = {0, 0, kWidth, kHeight}) const
    {
        int n = 0;
        for (int y = part.top; y < part.bottom; ++y)
            for (int x = part.left; x < part.right; ++x)
                n += test(At(x, y)) ? 1 : 0;
        return n;
    }

    SpaceObject* ship = nullptr;
};

TEST_F(BodiesDrawTest, a_gas_giant_ahead_of_the_ship_covers_a_disc_in_its_band_colours)
{
    Planet({-1500, 300, 6000}, 2500);
    ViewFrame();
    ASSERT_TRUE(SaveScreen("main-screen-planet.png"));
    // Ochre: more red than green, more green than blue.
    const int ochre = Count([](const Rgb& c) { return c[0] > 60 && c[0] > c[1] + 15 && c[1] > c[2] + 10; });
    EXPECT_GT(ochre, kWidth * kHeight / 10);
    // The own ship, in the middle below the planet.
    const auto white = [](const Rgb& c) { return c[0] > 180 && c[1] > 180 && c[2] > 180; };
    const IntRect hull{kWidth / 2 - 60, kHeight / 2 - 40, kWidth / 2 + 60, kHeight / 2 + 80};
    const int clearHull = Count(white, hull);
    ASSERT_GT(clearHull, 100);

    // Inside a thin teal nebula the planet still shows through the haze.
    SpaceObject* haze = Place("behav_nebula", "nebula", {300, 0, 600});
    const std::pair<const char*, float> values[] = {{"display_size", 1500},   {"emission_red", 0.1f},
                                                    {"emission_green", 0.5f}, {"emission_blue", 0.55f},
                                                    {"density", 5},           {"base_amplitude", 3.5f}};
    for (const auto& [key, value] : values)
        SetFloat(*haze, key, value);
    ViewFrame();
    ASSERT_TRUE(SaveScreen("main-screen-planet-in-nebula.png"));
    EXPECT_GT(Count([](const Rgb& c) { return c[0] > 60 && c[0] > c[2] + 10; }), kWidth * kHeight / 40);
    EXPECT_GT(Count([](const Rgb& c) { return c[1] > c[0] + 15 && c[2] > c[0] + 15; }), kWidth * kHeight / 4);
    // The ship, nearer than the haze's far side, is not washed over: its
    // hull keeps nearly all its white.
    EXPECT_GT(Count(white, hull), clearHull * 4 / 5);
}

// As the view's clock runs, a gas giant's weather drifts with its winds: a
// planet without wind keeps its look, a windy one changes.
TEST_F(BodiesDrawTest, a_gas_giants_weather_drifts_with_its_winds)
{
    SpaceObject* planet = Planet({-1500, 300, 6000}, 2500);
    const auto pictureAt = [&](float time) {
        manager->render3D.gas_giant->timeValue = time;
        ViewFrame();
        return screen;
    };
    const auto changed = [](const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
        int n = 0;
        for (size_t i = 0; i + 3 < a.size(); i += 4)
            n += std::abs(a[i] - b[i]) + std::abs(a[i + 1] - b[i + 1]) + std::abs(a[i + 2] - b[i + 2]) > 30 ? 1 : 0;
        return n;
    };
    const std::vector<uint8_t> start = pictureAt(0.0f);
    EXPECT_EQ(changed(start, pictureAt(300.0f)), 0) << "no wind: no drift";
    SetFloat(*planet, "planet_windSpeed1", 1.0f);
    SetFloat(*planet, "planet_windSpeed2", -1.0f);
    EXPECT_EQ(changed(start, pictureAt(0.0f)), 0) << "the winds move nothing before the clock does";
    EXPECT_GT(changed(start, pictureAt(300.0f)), kWidth * kHeight / 50) << "bands and clouds moved on";
}

TEST_F(BodiesDrawTest, a_nebula_glows_from_outside_and_wraps_the_view_from_inside)
{
    ViewFrame();
    const std::vector<uint8_t> empty = screen;
    // How many pixels the nebulae lit by at least a little.
    const auto lit = [&] {
        int n = 0;
        for (size_t i = 0; i + 3 < screen.size(); i += 4)
            n += screen[i] + screen[i + 1] + screen[i + 2] > empty[i] + empty[i + 1] + empty[i + 2] + 24 ? 1 : 0;
        return n;
    };

    Place("behav_nebula", "nebula", {-900, 200, 3000});  // left to its seed
    SpaceObject* blue = Place("behav_nebula", "nebula", {1400, -300, 5000});
    const std::pair<const char*, float> values[] = {{"display_size", 900},      {"emission_red", 0.1f},
                                                    {"emission_green", 0.35f},  {"emission_blue", 0.9f},
                                                    {"absorption_red", 0.9f},   {"absorption_green", 0.5f},
                                                    {"absorption_blue", 0.1f},  {"density", 20}};
    for (const auto& [key, value] : values)
        SetFloat(*blue, key, value);
    ViewFrame();
    ASSERT_TRUE(SaveScreen("nebula-outside.png"));
    const int outside = lit();
    EXPECT_GT(outside, kWidth * kHeight / 50);
    EXPECT_LT(outside, kWidth * kHeight / 3);
    // The blue one is blue.
    const int bluish = Count([](const Rgb& c) { return c[2] > 40 && c[2] > c[0] + 20; });
    EXPECT_GT(bluish, kWidth * kHeight / 200);

    world->RepositionSpaceObject(ship, -900, 200, 2900);
    world->Container()->ReinsertMoved();
    ViewFrame();
    ASSERT_TRUE(SaveScreen("nebula-inside.png"));
    EXPECT_GT(lit(), kWidth * kHeight * 3 / 4);
}

TEST_F(BodiesDrawTest, the_monster_spins_its_bodies_in_their_colours)
{
    SpaceObject* monster = Place("behav_monster", "monster_dragon", {0, 0, 400});
    WriteString(monster->data_set, DataKey{"body_1_geom_filename", kPlayDoc}, "monster_part");
    WriteString(monster->data_set, DataKey{"body_2_geom_filename", kPlayDoc}, "monster_part");
    WriteString(monster->data_set, DataKey{"body_1_color", kPlayDoc}, "#c05cff");
    WriteString(monster->data_set, DataKey{"body_2_color", kPlayDoc}, "#40e0ff");
    SetFloat(*monster, "body_1_size_coeff", 1.0f);
    SetFloat(*monster, "body_2_size_coeff", 1.6f);
    ViewFrame();
    ASSERT_TRUE(SaveScreen("monster-bodies.png"));
    const int cyan = Count([](const Rgb& c) { return c[2] > c[0] + 60 && c[1] > c[0] + 40; });
    EXPECT_GT(cyan, 300);
}

TEST_F(BodiesDrawTest, the_hyper_warp_screen_shows_the_ship_under_its_sweeping_light)
{
    Render3D& view = manager->render3D;
    view.ShowHyperWarp("tern_frigate");
    ASSERT_FALSE(view.hyper_warp_points.empty());
    // A second of the screen, the spot light part way along the hull.
    view.spot_pos = {0, 60, 300};
    view.spot_color = {0.4f, 1.2f, 3.0f, 1};
    for (int tick = 0; tick < 30; ++tick) {
        view.UpdateEffects();
        context.Clear();
        view.DrawHyperWarp();
        graphics.Flush2D();
    }
    ReadScreen();
    ASSERT_TRUE(SaveScreen("hyper-warp.png"));
    // The ship in the middle, the streaks about it in their colours, on black.
    EXPECT_GT(Count([](const Rgb& c) { return c[0] > 150 && c[1] > 150 && c[2] > 150; }), 2000);
    EXPECT_GT(Count([](const Rgb& c) { return c[0] + c[1] + c[2] < 30; }), kWidth * kHeight / 3);
    // The streaks glow: bright cores in a wider soft light fading out, not
    // bars of one flat colour.
    const auto coloured = [](const Rgb& c, int from, int to) {
        const int top = std::max({c[0], c[1], c[2]});
        return top - std::min({c[0], c[1], c[2]}) > 20 && top >= from && top < to;
    };
    const int cores = Count([&](const Rgb& c) { return coloured(c, 100, 256); });
    const int glow = Count([&](const Rgb& c) { return coloured(c, 20, 100); });
    EXPECT_GT(cores, 300);
    EXPECT_GT(glow, cores * 3 / 2);
}

}  // namespace
