// The 3D view's effects drawn by the real graphics service on the offscreen
// driver, with the art the build draws: each manager drawn once into a
// render target and found in its colours; a fast hot particle's streak
// measured across and along (effects-streak.png); then a moving ship with
// its exhaust and a missile with its trail through the 3D view, saved as
// effects-exhaust.png and effects-missile-trail.png in the working folder
// for a person to look at.

#include "game/render/Camera.h"
#include "game/render/GenericBox.h"
#include "game/render/GenericRect.h"
#include "game/render/Particle3DInstancedManager.h"
#include "game/render/Particle3DSSManager.h"
#include "game/render/ProcRing3DManager.h"
#include "game/render/Ribbon3DManager.h"
#include "game/render/Ring3D.h"
#include "game/render/manager/RenderManager.h"
#include "game/ui/UIContext.h"
#include "game/world/AppData.h"
#include "game/world/ShipData.h"
#include "game/world/ShipKeys.h"
#include "game/world/Simulation.h"
#include "helper/CRand.h"
#include "tests/game/render/manager/Render3DDrawFixture.h"

#include <gtest/gtest.h>

#include <glm/gtc/quaternion.hpp>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 400;
constexpr float kPi = 3.14159265f;

using qeltest::Rgba;

class Render3DEffectsDrawTest : public qeltest::Render3DDrawFixture {
protected:
    Render3DEffectsDrawTest()
        : Render3DDrawFixture(kWidth, kHeight,
                              {"grid-particles-ss.png", "smoke-particles2-ss.png", "aster2.png", "beamSet.png",
                               "no-number-ring.png", "gas-ring.png"})
    {
    }

    void SetUp() override
    {
        Render3DDrawFixture::SetUp();
        graphics.SetPerspective(kPi / 3, static_cast<float>(kWidth) / kHeight, 1.0f, 100000.0f);
    }

    // From 100 units in front of the origin, looking at it along +z.
    static glm::mat4 View()
    {
        Camera camera;
        return camera.LookAt(glm::vec3(0.0f, 0.0f, 100.0f), glm::vec3(0.0f));
    }

    // Pixels of a target drawn on black whose colour is near the given one
    // in hue: each channel of the colour's brightest is at least a third of
    // the brightest, and the others below.
    int Covered(const std::function<void()>& draw, const glm::vec3& hue, const std::string& keep = "")
    {
        const float black[4] = {0, 0, 0, 1};
        GLQel2DBitmap* target = BeginTarget("effect", kWidth, kHeight, black);
        draw();
        EndTarget(target);
        if (!keep.empty())
            SaveTarget(target, keep);
        int count = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const Rgba p = TargetAt(target, x, y);
                const float top = std::max({p[0], p[1], p[2]});
                if (top < 0.08f)
                    continue;
                bool matches = true;
                for (int c = 0; c < 3; ++c)
                    matches = matches && ((hue[c] > 0.5f) == (p[c] >= top / 3.0f));
                count += matches;
            }
        return count;
    }

    // A hot particle alone, drawn as the 3D view draws them (the hot sheet,
    // drawn out along its motion, added) in white into a target on black.
    GLQel2DBitmap* DrawHotParticle(const glm::mat4& view, const glm::vec3& at, const glm::vec3& velocity,
                                   float size, int32_t cell, const std::string& keep = "")
    {
        Particle3DSSManager hot;
        hot.Setup("grid-particles-ss", 1.0f, 0.0f, true);
        SpriteSheetParticle& particle = hot.Spawn();
        particle = SpriteSheetParticle{at, velocity, 0, 0, 10, size, cell, glm::vec4(1.0f), glm::vec4(1.0f)};
        const float black[4] = {0, 0, 0, 1};
        GLQel2DBitmap* target = BeginTarget("hot-particle", kWidth, kHeight, black);
        hot.Draw(view);
        EndTarget(target);
        if (!keep.empty())
            SaveTarget(target, keep);
        return target;
    }

    // Where a point of the scene shows in a target, in pixels from its top left.
    glm::vec2 OnTarget(const glm::mat4& view, const glm::vec3& at)
    {
        const glm::vec4 clip = glm::transpose(graphics.GetProjectionMatrix()) * view * glm::vec4(at, 1.0f);
        return {(clip.x / clip.w + 1.0f) * 0.5f * kWidth, (1.0f - clip.y / clip.w) * 0.5f * kHeight};
    }

    // The brightest channel of a target's pixel; 0 off the target.
    static float LightAt(Qel2dBitmap* target, const glm::vec2& at)
    {
        const int x = static_cast<int>(std::lround(at.x));
        const int y = static_cast<int>(std::lround(at.y));
        if (x < 0 || y < 0 || x >= kWidth || y >= kHeight)
            return 0.0f;
        const Rgba p = TargetAt(target, x, y);
        return std::max({p[0], p[1], p[2]});
    }

    // The target on black, as a PNG in the working folder.
    static void SaveTarget(Qel2dBitmap* target, const std::string& file)
    {
        QelPixelImage image;
        image.Resize(target->GetWidth(), target->GetHeight());
        for (int y = 0; y < target->GetHeight(); ++y)
            for (int x = 0; x < target->GetWidth(); ++x) {
                const Rgba p = TargetAt(target, x, y);
                image.SetPixel(x, y, 1.0f, p[0], p[1], p[2]);
            }
        ASSERT_TRUE(image.SavePNG(file));
    }
};

TEST_F(Render3DEffectsDrawTest, each_particle_manager_draws_its_particles_in_their_colours)
{
    const glm::mat4 view = View();
    for (const bool additive : {true, false}) {
        Particle3DSSManager ring;
        ring.Setup(additive ? "grid-particles-ss" : "smoke-particles2-ss", additive ? 1.0f : 0.0f, 0.0f, additive);
        for (int i = 0; i < 5; ++i) {
            SpriteSheetParticle& particle = ring.Spawn();
            particle = SpriteSheetParticle{};
            particle.position = glm::vec3(-40.0f + 20.0f * i, 0.0f, 0.0f);
            particle.velocity = glm::vec3(0.0f, 0.5f, 0.0f);
            particle.age = 0;
            particle.lifetime = 10;
            particle.size = 8.0f;
            particle.cell = 0;
            particle.baseColour = additive ? glm::vec4(1.0f, 0.2f, 0.1f, 1.0f) : glm::vec4(0.2f, 1.0f, 0.3f, 1.0f);
        }
        ring.Update(glm::vec3(0.0f, 0.0f, -100.0f));  // fades them in
        const glm::vec3 hue = additive ? glm::vec3(1, 0, 0) : glm::vec3(0, 1, 0);
        EXPECT_GT(Covered([&] { ring.Draw(view); }, hue, additive ? "effects-hot.png" : "effects-smoke.png"), 5 * 60)
            << "additive " << additive;
        EXPECT_EQ(ring.DrawnCount(), 5);
    }

    csrand(3);
    Particle3DInstancedManager dust;
    dust.Setup("aster2", 0.0f, 0);
    dust.Update(glm::vec3(0.0f, 0.0f, -100.0f), glm::vec3(0.0f, 0.0f, 10.0f));
    // Motes a unit wide, some in view: a few grey pixels.
    EXPECT_GT(Covered([&] { dust.Draw(view); }, glm::vec3(1, 1, 1)), 3);
}

// The hyper-warp screen's streak: cell 10 of the hot sheet, size 10, 60 a tick.
constexpr int32_t kStreakCell = 10;
constexpr float kStreakSize = 10.0f;
constexpr float kStreakSpeed = 60.0f;

TEST_F(Render3DEffectsDrawTest, a_fast_hot_particle_draws_a_soft_streak_of_light_brightest_at_its_head)
{
    const glm::mat4 view = View();
    // Passing across the view 400 ahead of the eye: its streak runs off the
    // view's edge behind it.
    const glm::vec3 head(250.0f, 0.0f, 300.0f);
    const glm::vec3 velocity(kStreakSpeed, 0.0f, 0.0f);
    GLQel2DBitmap* target = DrawHotParticle(view, head, velocity, kStreakSize, kStreakCell, "effects-streak.png");
    const glm::vec2 at = OnTarget(view, head);
    const glm::vec2 back = glm::normalize(OnTarget(view, head - velocity) - at);
    const glm::vec2 across(-back.y, back.x);
    const float radius = glm::distance(at, OnTarget(view, head + glm::vec3(0.0f, kStreakSize, 0.0f)));

    // Across the streak the light falls off from a bright core to nothing,
    // in steps: a line of light, not a bar.
    const glm::vec2 body = at + back * 100.0f;
    const float core = LightAt(target, body);
    EXPECT_GT(core, 0.6f);
    for (const float side : {-1.0f, 1.0f}) {
        const auto off = [&](float pixels) { return LightAt(target, body + across * side * pixels); };
        EXPECT_LT(off(2.0f), core) << side;
        EXPECT_LT(off(0.4f * radius), 0.6f * core) << side;
        EXPECT_GT(off(0.4f * radius), 0.05f) << side;
        EXPECT_LT(off(0.4f * radius), off(2.0f)) << side;
        EXPECT_LT(off(1.3f * radius), 0.02f) << side;
    }
    // Along it the light is brightest at the head and fades toward the
    // tail; nothing reaches out ahead of the head.
    const float nearHead = LightAt(target, at + back * 10.0f);
    const float middle = LightAt(target, at + back * 300.0f);
    const float nearTail = LightAt(target, at + back * 600.0f);
    EXPECT_GT(nearHead, 0.6f);
    EXPECT_LT(middle, 0.85f * nearHead);
    EXPECT_LT(nearTail, 0.75f * middle);
    EXPECT_LT(LightAt(target, at - back * 1.3f * radius), 0.02f);
}

TEST_F(Render3DEffectsDrawTest, particles_rushing_at_the_eye_streak_out_from_the_point_they_come_from)
{
    const glm::mat4 view = View();
    const glm::vec2 centre(kWidth / 2.0f, kHeight / 2.0f);
    // Each 500 ahead of the eye, off to one side, coming straight at it.
    for (const glm::vec2 side : {glm::vec2(120.0f, 0.0f), glm::vec2(-120.0f, 0.0f), glm::vec2(0.0f, 80.0f)}) {
        const glm::vec3 head(side, 400.0f);
        GLQel2DBitmap* target =
            DrawHotParticle(view, head, glm::vec3(0.0f, 0.0f, -kStreakSpeed), kStreakSize, kStreakCell);
        const glm::vec2 at = OnTarget(view, head);
        const glm::vec2 inward = glm::normalize(centre - at);
        const glm::vec2 across(-inward.y, inward.x);
        const float radius = glm::distance(at, OnTarget(view, head + glm::vec3(0.0f, kStreakSize, 0.0f)));
        const std::string where = std::to_string(side.x) + ", " + std::to_string(side.y);
        EXPECT_GT(LightAt(target, at), 0.5f) << where;
        EXPECT_GT(LightAt(target, at + inward * 2.0f * radius), 0.1f) << where;
        EXPECT_LT(LightAt(target, at + inward * 2.0f * radius), LightAt(target, at)) << where;
        EXPECT_LT(LightAt(target, at - inward * 1.3f * radius), 0.02f) << where;
        EXPECT_LT(LightAt(target, at + inward * 2.0f * radius + across * 1.3f * radius), 0.02f) << where;
    }
}

TEST_F(Render3DEffectsDrawTest, a_particle_drawing_away_from_beside_the_eye_streaks_off_the_view_s_edge)
{
    const glm::mat4 view = View();
    // 40 ahead of the eye and a little to the side, leaving it: the path it
    // came by starts behind the eye, off the view's edge.
    const glm::vec3 head(20.0f, 0.0f, -60.0f);
    GLQel2DBitmap* target =
        DrawHotParticle(view, head, glm::vec3(0.0f, 0.0f, kStreakSpeed), kStreakSize / 4.0f, kStreakCell);
    const glm::vec2 at = OnTarget(view, head);
    const glm::vec2 outward = glm::normalize(at - glm::vec2(kWidth / 2.0f, kHeight / 2.0f));
    EXPECT_GT(LightAt(target, at), 0.5f);
    EXPECT_GT(LightAt(target, at + outward * 60.0f), 0.1f);
    EXPECT_LT(LightAt(target, at - outward * 60.0f), 0.02f);
    EXPECT_LT(LightAt(target, glm::vec2(kWidth / 2.0f, kHeight / 2.0f)), 0.02f);
}

// A mission's particle burst may give any size.
TEST_F(Render3DEffectsDrawTest, a_streak_of_negative_size_draws_as_its_magnitude_and_one_of_no_size_draws_nothing)
{
    const glm::mat4 view = View();
    const glm::vec3 head(250.0f, 0.0f, 300.0f);
    const glm::vec3 velocity(kStreakSpeed, 0.0f, 0.0f);
    const glm::vec2 at = OnTarget(view, head);
    const glm::vec2 body = at + glm::normalize(OnTarget(view, head - velocity) - at) * 100.0f;
    const float drawn = LightAt(DrawHotParticle(view, head, velocity, kStreakSize, kStreakCell), body);
    EXPECT_GT(drawn, 0.6f);
    EXPECT_FLOAT_EQ(LightAt(DrawHotParticle(view, head, velocity, -kStreakSize, kStreakCell), body), drawn);
    EXPECT_EQ(Covered([&] {
                  Particle3DSSManager hot;
                  hot.Setup("grid-particles-ss", 1.0f, 0.0f, true);
                  hot.Add(head, velocity, glm::vec4(1.0f), 0.0f, 10, kStreakCell).colour = glm::vec4(1.0f);
                  hot.Draw(view);
              },
                      glm::vec3(1, 1, 1)),
              0);
}

TEST_F(Render3DEffectsDrawTest, ribbons_rings_and_shapes_draw_in_their_colours)
{
    const glm::mat4 view = View();
    Ribbon3DManager ribbons;
    ribbons.Setup("beamSet");
    RibbonTrail trail;
    for (int i = 0; i < 10; ++i) {
        RibbonPoint point;
        point.position = glm::vec3(-45.0f + 10.0f * i, 5.0f * std::sin(i * 0.8f), 0.0f);
        point.colour = glm::vec4(0.1f, 0.2f, 1.0f, 1.0f);
        point.age = static_cast<float>(9 - i);
        point.lifespan = 12.0f;
        point.width = 3.0f;
        trail.Add(point);
    }
    ribbons.Update(trail, glm::vec3(0.0f, 0.0f, -100.0f));
    EXPECT_GT(Covered([&] { ribbons.Draw(view); }, glm::vec3(0, 0, 1), "effects-ribbon.png"), 1500);

    ProcRing3DManager rings;
    rings.Setup("smallWhite");
    rings.AddQuad({glm::vec3(-20, -20, 0), glm::vec3(20, -20, 0), glm::vec3(20, 20, 0), glm::vec3(-20, 20, 0)},
                  {glm::vec2(0, 0), glm::vec2(1, 0), glm::vec2(1, 1), glm::vec2(0, 1)},
                  glm::vec4(1.0f, 1.0f, 0.0f, 1.0f));
    EXPECT_GT(Covered([&] { rings.Draw(view); }, glm::vec3(1, 1, 0)), 15000);
    rings.ClearQueue();
    EXPECT_EQ(Covered([&] { rings.Draw(view); }, glm::vec3(1, 1, 0)), 0);

    Ring3D ring;
    Qel2dBitmap* gas = graphics.LoadTexture("gas-ring");
    const glm::mat4 tilted = glm::rotate(glm::mat4(1.0f), 1.1f, glm::vec3(1, 0, 0));
    EXPECT_GT(Covered([&] {
                  ring.Draw(gas, tilted, view, glm::vec4(1.0f, 0.3f, 1.0f, 1.0f), glm::vec3(0, 0, 15),
                            glm::vec3(0, 0, 40), true, false);
              },
                      glm::vec3(1, 0, 1), "effects-gas-ring.png"),
              2000);

    GenericRect rect;
    const glm::mat4 upright = glm::scale(glm::rotate(glm::mat4(1.0f), kPi / 2, glm::vec3(1, 0, 0)), glm::vec3(20));
    EXPECT_GT(Covered([&] { rect.Draw(upright, view, glm::vec4(0.0f, 1.0f, 1.0f, 1.0f)); }, glm::vec3(0, 1, 1)),
              15000);

    // The navigation ring's art drawn on a band alone shows all of what the
    // whole square shows.
    Qel2dBitmap* art = graphics.LoadTexture("no-number-ring");
    GenericRect band(Render3D::kNavRingInner, Render3D::kNavRingOuter, Render3D::kNavRingSides);
    const glm::mat4 lying = glm::scale(glm::rotate(glm::mat4(1.0f), 0.5f, glm::vec3(1, 0, 0)), glm::vec3(40));
    const float black[4] = {0, 0, 0, 1};
    GLQel2DBitmap* whole = BeginTarget("ring-square", kWidth, kHeight, black);
    rect.Draw(lying, view, glm::vec4(1.0f), art);
    EndTarget(whole);
    GLQel2DBitmap* banded = BeginTarget("ring-band", kWidth, kHeight, black);
    band.Draw(lying, view, glm::vec4(1.0f), art);
    EndTarget(banded);
    float largest = 0.0f, brightest = 0.0f;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            largest = std::max(largest, std::abs(TargetAt(whole, x, y)[1] - TargetAt(banded, x, y)[1]));
            brightest = std::max(brightest, TargetAt(banded, x, y)[1]);
        }
    EXPECT_LT(largest, 2.5f / 255.0f);
    EXPECT_GT(brightest, 0.8f);

    GenericBox box;
    EXPECT_GT(Covered([&] {
                  box.Draw(glm::vec3(-10, -10, -10), glm::vec3(10, 10, 10), glm::mat4(1.0f), view,
                           glm::vec4(1.0f, 0.5f, 0.0f, 1.0f), false, true);
              },
                      glm::vec3(1, 1, 0)),
              5000);
}

}  // namespace

namespace {

class Render3DEffectsSceneDrawTest : public Render3DEffectsDrawTest {
protected:
    void SetUp() override
    {
        Render3DEffectsDrawTest::SetUp();
        manager = std::make_unique<RenderManager>(StayingScene);
        manager->mainBuffWidth = kWidth;
        manager->mainBuffHeight = kHeight;
        manager->Setup();
        world = std::make_unique<Simulation>();
        world->Reset(false, "");
        ship = world->GetSpaceObject(world->CreateSpaceObject("behav_playership", "tern_frigate", 0));
        world->subjectID = ship->uniqueID;
        ship->cur_speed = 12.0f;
    }

    // Ticks as the game does: the world moves (here: the ship ahead along
    // +z, the missile across), the effects update from the camera's place.
    void Tick(SpaceObject* missile = nullptr)
    {
        world->RepositionSpaceObject(ship, ship->pos.x, ship->pos.y, ship->pos.z + ship->cur_speed);
        if (missile)
            world->RepositionSpaceObject(missile, missile->pos.x + 14.0f, missile->pos.y, missile->pos.z);
        world->Container()->ReinsertMoved();
        manager->render3D.UpdateCamera(ship);
        manager->SimTick();
    }

    void DrawView()
    {
        context.Clear();
        manager->render3D.Draw(IntRect{0, 0, kWidth, kHeight}, false);
        graphics.Flush2D();
        ReadScreen();
    }

    // Pixels whose blue clearly outshines their red (the frigate's exhaust),
    // or the other way round (the missile's trail and flares).
    int Bluish(const IntRect& r) const { return Count(r, [](const qeltest::Rgb& c) { return c[2] > c[0] + 60; }); }
    int Reddish(const IntRect& r) const { return Count(r, [](const qeltest::Rgb& c) { return c[0] > c[2] + 60; }); }
    template <typename Test>
    int Count(const IntRect& r, Test test) const
    {
        int count = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                count += test(At(x, y));
        return count;
    }

    SpaceObject* ship = nullptr;
};

TEST_F(Render3DEffectsSceneDrawTest, a_moving_ship_leaves_a_plume_of_exhaust_from_its_engines)
{
    const IntRect whole{0, 0, kWidth, kHeight};
    DrawView();
    const int still = Bluish(whole);
    for (int tick = 0; tick < 12; ++tick)
        Tick();
    DrawView();
    ASSERT_TRUE(SaveScreen("effects-exhaust.png"));
    EXPECT_GT(Bluish(whole), still + 400) << "the plume's blue glow behind the frigate";
}

TEST_F(Render3DEffectsSceneDrawTest, a_missile_flares_and_draws_its_trail_across_the_view)
{
    ship->cur_speed = 0.0f;
    SpaceObject* missile = world->GetSpaceObject(world->CreateSpaceObject("behav_missile", "torpedo", 0));
    world->RepositionSpaceObject(missile, -250.0f, 30.0f, 350.0f);
    missile->rot_quat = glm::angleAxis(kPi / 2, glm::vec3(0, 1, 0));  // nose along +x
    const glm::vec3 flare(1.0f, 0.55f, 0.15f);
    const glm::vec3 trail(1.0f, 0.25f, 0.1f);
    for (int c = 0; c < 3; ++c) {
        WriteFloat(missile->data_set, shipkeys::kColorFlare[c], flare[c]);
        WriteFloat(missile->data_set, shipkeys::kColorTrail[c], trail[c]);
    }
    for (int tick = 0; tick < 30; ++tick)
        Tick(missile);
    DrawView();
    ASSERT_TRUE(SaveScreen("effects-missile-trail.png"));
    // The trail reaches back over the view's left half towards its flare.
    EXPECT_GT(Reddish(IntRect{0, 0, kWidth / 2, kHeight}), 300);
    EXPECT_GT(Reddish(IntRect{kWidth / 2, 0, kWidth, kHeight}), 100);
}

TEST_F(Render3DEffectsSceneDrawTest, a_black_hole_turns_in_its_gas_and_the_ship_sits_on_its_reference_ring)
{
    ship->cur_speed = 0.0f;
    WriteFloat(ship->data_set, DataKey{"reference_ring_3d_brightness", kPlayDoc}, 0.9f);
    manager->navRingBrightness = 1.0f;
    Tick();
    DrawView();
    const std::vector<uint8_t> plain = screen;
    // The ring: whiter pixels around the ship than without it.
    manager->navRingBrightness = 0.0f;
    DrawView();
    int ringPixels = 0;
    for (size_t i = 0; i < screen.size(); i += 4)
        ringPixels += plain[i] + plain[i + 1] + plain[i + 2] > screen[i] + screen[i + 1] + screen[i + 2] + 60;
    EXPECT_GT(ringPixels, 500);

    manager->navRingBrightness = 1.0f;
    SpaceObject* hole = world->GetSpaceObject(world->CreateSpaceObject("behav_blackhole", "blackhole", 0));
    world->RepositionSpaceObject(hole, 500.0f, -100.0f, 2500.0f);
    hole->exclusion_radius = 150.0f;
    world->Container()->ReinsertMoved();
    world->clock.time_tick_counter = 400;
    DrawView();
    ASSERT_TRUE(SaveScreen("effects-rings.png"));
    // Coloured gas in the upper right, where the hole lies ahead.
    const int gas = Count(IntRect{kWidth / 2, 0, kWidth, kHeight / 2}, [](const qeltest::Rgb& c) {
        return std::max({c[0], c[1], c[2]}) - std::min({c[0], c[1], c[2]}) > 40;
    });
    EXPECT_GT(gas, 500);
}

}  // namespace
