#include <gtest/gtest.h>

#include <limits>
#include <glm/gtc/matrix_transform.hpp>

#include <cmath>

#include "engine/gl/GLQELShaderNebulaVolume.h"
#include "engine/gl/GLQELShaderRoot.h"
#include "tests/support/OffscreenGraphicsTest.h"

namespace {

constexpr float kPi = 3.14159265f;
constexpr int kSide = 128;
constexpr float kBlack[4] = {0, 0, 0, 1};

// The shaders drawn on the offscreen driver: each class with the lists,
// textures and constants it is given, read back from a render target.
class GLQelShaderDrawTest : public qeltest::OffscreenGraphicsTest {
protected:
    GLQelShaderDrawTest() : OffscreenGraphicsTest(kSide, kSide) {}

    void SetUp() override
    {
        OffscreenGraphicsTest::SetUp();
        graphics.SetPerspective(kPi / 3, 1.0f, 1.0f, 10000.0f);
    }

    // A flat square of the given half size in the y = 0 plane, facing up,
    // its texture coordinates 0..1 across it.
    void Plate(const std::string& name, float half)
    {
        QelVertexList* v = graphics.GetVertList(name + "_v", 4, false);
        const float corners[4][2] = {{-half, -half}, {half, -half}, {half, half}, {-half, half}};
        for (int i = 0; i < 4; ++i) {
            v->SetPosition(i, corners[i][0], 0, corners[i][1]);
            v->SetVector(i, 0, 0, 1, 0);
            v->SetTexCoord(i, 0, corners[i][0] > 0 ? 1.0f : 0.0f, corners[i][1] > 0 ? 1.0f : 0.0f);
            v->SetColor(i, 1, 1, 1, 1);
        }
        QelIndexList* indices = graphics.GetIndexList(name + "_i", 6);
        const uint32_t order[6] = {0, 2, 1, 0, 3, 2};
        indices->SetIndices(order, 6);
    }

    // The 12 triangles of a box from -1 to 1.
    void Cube(const std::string& name)
    {
        QelVertexList* v = graphics.GetVertList(name + "_v", 8, false);
        for (int i = 0; i < 8; ++i)
            v->SetPosition(i, i & 1 ? 1.0f : -1.0f, i & 2 ? 1.0f : -1.0f, i & 4 ? 1.0f : -1.0f);
        const uint32_t faces[36] = {0, 1, 3, 0, 3, 2, 4, 6, 7, 4, 7, 5, 0, 4, 5, 0, 5, 1,
                                    2, 3, 7, 2, 7, 6, 0, 2, 6, 0, 6, 4, 1, 5, 7, 1, 7, 3};
        graphics.GetIndexList(name + "_i", 36)->SetIndices(faces, 36);
    }

    // A glowing cloud of radius 100 at the origin over an empty scene, seen
    // from 400 along z.
    GLQELShaderNebulaVolume* Nebula()
    {
        Cube("cloud");
        Qel2dBitmap* scene = BeginTarget("scene", kSide, kSide, kBlack);
        EndTarget(static_cast<GLQel2DBitmap*>(scene));
        auto* nebula = static_cast<GLQELShaderNebulaVolume*>(Bind("NebulaVolume", "cloud", {scene}));
        const std::pair<const char*, float> values[] = {
            {"radius", 100},        {"density", 12},         {"baseFrequency", 1},    {"baseAmplitude", 3},
            {"detailFrequency", 1}, {"detailAmplitude", 1},  {"detailLacunarity", 1}, {"numSamples", 64},
            {"numOctaves", 2},      {"downsampleRatio", 1}};
        for (const auto& [name, value] : values)
            nebula->SetParameter(name, value, 0, 0, 0);
        nebula->SetParameter("emissiveColor", 0.6f, 0.2f, 0.9f, 1);
        nebula->SetParameter("absorptionColor", 0.3f, 0.3f, 0.3f, 1);
        nebula->SetParameter("camPos", 0, 0, 400, 1);
        return nebula;
    }

    QelDrawProcess* Bind(const char* shader, const std::string& lists, std::vector<Qel2dBitmap*> textures)
    {
        QelDrawProcess* process = graphics.GetShader(shader);
        process->bitmap2DList = std::move(textures);
        process->vertList = {graphics.FindVertList(lists + "_v")};
        process->indexList = {graphics.FindIndexList(lists + "_i")};
        process->instanceList.clear();
        return process;
    }

    // A bitmap of one colour.
    Qel2dBitmap* Solid(const std::string& name, float r, float g, float b)
    {
        Qel2dBitmap* bitmap = graphics.GetRenderTarget(name, 4, 4, false);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                bitmap->SetPixel(x, y, 1, r, g, b);
        return bitmap;
    }

    // Straight down from 300 above the origin: world +x to the right, +z up the image.
    static glm::mat4 FromAbove()
    {
        return glm::rotate(glm::mat4(1.0f), -kPi / 2, glm::vec3(1, 0, 0)) *
               glm::translate(glm::mat4(1.0f), glm::vec3(0, -300, 0));
    }
    // Along +z from the world point (0, 0, -distance).
    static glm::mat4 FromFront(float distance) { return glm::translate(glm::mat4(1.0f), glm::vec3(0, 0, distance)); }

    // Where a world point of the y = 0 plane lands in the image seen from above.
    static std::pair<int, int> Seen(float x, float z)
    {
        const float scale = kSide / 2 / (300.0f * std::tan(kPi / 6));
        return {static_cast<int>(kSide / 2 + x * scale), static_cast<int>(kSide / 2 - z * scale)};
    }
    qeltest::Rgba AtWorld(Qel2dBitmap* target, float x, float z)
    {
        const auto [column, row] = Seen(x, z);
        return TargetAt(target, column, row);
    }
};

TEST_F(GLQelShaderDrawTest, every_shader_compiles_with_the_block_size_its_class_writes)
{
    const std::pair<const char*, int> shaders[] = {
        {"2DNormal", 16},  {"2DAdditive", 16},      {"2DBlurAdd", 16},     {"Flat", 208},
        {"FlatFacing", 208}, {"Nebula", 208},        {"PointRing", 240},    {"GasGiant", 384},
        {"InstancedPostTransform", 208}, {"IPTCell", 208}, {"NebulaVolume", 448}, {"Phong", 224},
        {"PostTransform", 208}, {"Redwood", 800},    {"RedwoodWiggle", 800}, {"Volume", 384},
        {"VolumePostProcess", 16}, {"SceneVolumeComposite", 16}, {"Skybox", 192}};
    for (const auto& [name, bytes] : shaders) {
        auto* shader = static_cast<GLQELShaderRoot*>(graphics.GetShader(name));
        EXPECT_TRUE(shader->IsReady()) << name;
        EXPECT_EQ(shader->ConstantBlockSize(), bytes) << name;
    }
}

TEST_F(GLQelShaderDrawTest, redwood_spot_lights_reach_their_radius_and_glow_scales_the_emissive_map)
{
    Plate("plate", 150);
    Qel2dBitmap* white = graphics.Find2DBitmap("smallWhite");
    Qel2dBitmap* black = Solid("black", 0, 0, 0);
    QelDrawProcess* redwood = Bind("Redwood", "plate", {white, black, black, black});
    redwood->SetParameter("cameraPos", 0, -300, 0, 1);
    redwood->SetParameter("spotPos", 15, 50, 20, 0);
    redwood->SetParameter("spotRadius", 15, 100, 0, 0);
    redwood->SetParameter("spotColor", 15, 1, 0, 0);
    redwood->SetParameter("spotPos", 0, -50, 20, 0);
    redwood->SetParameter("spotColor", 0, 0, 0, 1);  // radius 0: off

    GLQel2DBitmap* target = BeginTarget("spots", kSide, kSide, kBlack);
    redwood->Draw3D(glm::mat4(1.0f), FromAbove(), nullptr, 0, 0);
    EndTarget(target);
    KeepTarget(target, "redwood-spot-lights");
    EXPECT_NEAR(AtWorld(target, 50, 0)[0], 0.64f, 0.02f);  // 20 below the light: (1 - 20 / 100)²
    EXPECT_LT(AtWorld(target, 50, 0)[2], 0.05f);
    EXPECT_LT(AtWorld(target, 50, 90)[0], AtWorld(target, 50, 30)[0]);  // fading with distance
    EXPECT_EQ(AtWorld(target, -50, 0)[2], 0.0f);
    EXPECT_EQ(AtWorld(target, 50, 120)[0], 0.0f);  // past the reach

    redwood->bitmap2DList = {white, white, black, black};
    redwood->SetParameter("glowMult", 0.5f, 0, 0, 0);
    redwood->SetParameter("spotRadius", 15, 0, 0, 0);
    target = BeginTarget("spots", kSide, kSide, kBlack);
    redwood->Draw3D(glm::mat4(1.0f), FromAbove(), nullptr, 0, 0);
    EndTarget(target);
    EXPECT_NEAR(AtWorld(target, -50, -50)[1], 0.5f, 0.02f);
}

TEST_F(GLQelShaderDrawTest, redwood_wiggle_sways_the_mesh_by_its_wave_phase_size_and_divisor)
{
    Plate("body", 100);
    Qel2dBitmap* white = graphics.Find2DBitmap("smallWhite");
    QelDrawProcess* wiggle = Bind("RedwoodWiggle", "body", {white, white, white, white});
    wiggle->SetParameter("waveSize", 40, 20, 0, 0);  // vertical and horizontal divisors
    for (const auto& [phase, swayed] : {std::pair{0.0f, false}, {kPi / 2, true}}) {
        // One long wave: the whole body sways by size x 600 / 20 = 30 units.
        wiggle->SetParameter("waveInfo", phase, 1.0f, 1.0e6f, 0);
        GLQel2DBitmap* target = BeginTarget("body-view", kSide, kSide, kBlack);
        wiggle->Draw3D(glm::mat4(1.0f), FromAbove(), nullptr, 0, 0);
        EndTarget(target);
        EXPECT_EQ(AtWorld(target, 115, 0)[0] > 0.5f, swayed) << phase;
        EXPECT_EQ(AtWorld(target, -90, 0)[0] > 0.5f, !swayed) << phase;
    }
}

TEST_F(GLQelShaderDrawTest, point_ring_lights_only_its_band_around_the_centre)
{
    Plate("shell", 150);
    QelDrawProcess* ring = Bind("PointRing", "shell", {graphics.Find2DBitmap("smallWhite")});
    ring->SetParameter("color", 0, 1, 0, 1);
    ring->SetParameter("centerPoint", 20, 0, 0, 1);
    ring->SetParameter("minMax", 30, 50, 1, 1);
    GLQel2DBitmap* target = BeginTarget("ring", kSide, kSide, kBlack);
    ring->Draw3D(glm::mat4(1.0f), FromAbove(), nullptr, 0, 0);
    EndTarget(target);
    KeepTarget(target, "point-ring-band");
    EXPECT_GT(AtWorld(target, 60, 0)[1], 0.5f);   // 40 from the centre
    EXPECT_GT(AtWorld(target, 20, -40)[1], 0.5f);
    EXPECT_EQ(AtWorld(target, 20, 0)[1], 0.0f);   // inside the band
    EXPECT_EQ(AtWorld(target, 90, 60)[1], 0.0f);  // beyond it
}

TEST_F(GLQelShaderDrawTest, gas_giant_is_a_round_planet_lit_from_the_light_side)
{
    Cube("planet");
    QelDrawProcess* planet = Bind("GasGiant", "planet", {});
    for (const auto& [name, r, g, b] : {std::tuple{"baseColor", 0.8f, 0.6f, 0.4f}, {"lightColorIntensity", 1.0f, 1.0f, 1.0f},
                                        {"ambientColor", 0.1f, 0.1f, 0.1f}, {"upperCloudColor", 1.0f, 1.0f, 1.0f}})
        planet->SetParameter(name, r, g, b, 1);
    planet->SetParameter("lightDir", -1, 0, 0, 0);  // the light lies toward -x: the left
    planet->SetParameter("camPos", 0, 0, 300, 1);   // the camera at z = -300
    planet->SetParameter("camDir", 0, 0, 1, 0);
    for (const auto& [name, value] : {std::pair{"radius", 60.0f}, {"oblateness", 1.0f}, {"bandScale", 1.0f},
                                      {"fresnelPower", 3.0f}, {"upperCloudExponent", 2.0f}, {"stormSize", 0.3f}})
        planet->SetParameter(name, value, 0, 0, 0);
    GLQel2DBitmap* target = BeginTarget("planet", kSide, kSide, kBlack);
    planet->Draw3D(glm::scale(glm::mat4(1.0f), glm::vec3(60.0f)), FromFront(300), nullptr, 0, 0);
    EndTarget(target);
    KeepTarget(target, "gas-giant");
    const int half = kSide / 2;
    const int edge = static_cast<int>(half * 60 / (300 * std::tan(kPi / 6)));  // the disc's radius in pixels
    EXPECT_GT(TargetAt(target, half - edge / 2, half)[0], 0.3f);  // the lit side
    EXPECT_GT(TargetAt(target, half - edge / 2, half)[0], TargetAt(target, half + edge / 2, half)[0] + 0.2f);
    EXPECT_EQ(TargetAt(target, half + edge * 0.8f, half + edge * 0.8f)[0], 0.0f);  // inside the box, outside the ball
}

TEST_F(GLQelShaderDrawTest, instanced_cells_draw_a_billboard_for_each_instance_in_its_colour)
{
    QelVertexList* quad = graphics.GetVertList("billboard", 6, false);
    const float corners[6][2] = {{1, 1}, {-1, 1}, {-1, -1}, {-1, -1}, {1, -1}, {1, 1}};
    for (int i = 0; i < 6; ++i) {
        quad->SetPosition(i, corners[i][0], corners[i][1], 0);
        quad->SetTexCoord(i, 0, (corners[i][0] + 1) / 2, (1 - corners[i][1]) / 2);
    }
    QelInstanceList* sparks = graphics.GetInstanceList("sparks", 3);
    sparks->SetInstance(0, {{-60, 0, 0, 10}, {1, 0, 0, 1}, {0, 0, 0}, 0, 0});
    sparks->SetInstance(1, {{60, 0, 40, 10}, {0, 1, 0, 1}, {0, 0, 0}, 0, 5});
    sparks->SetInstance(2, {{0, 0, -60, 10}, {0, 0, 1, 1}, {0, 0, 0}, 0, 0});
    QelDrawProcess* cells = graphics.GetShader("IPTCell");
    cells->bitmap2DList = {graphics.Find2DBitmap("smallWhite")};
    cells->vertList = {quad};
    cells->indexList.clear();
    cells->instanceList = {sparks};
    cells->SetParameter("velocityStretch", 0, 0, 0, 0);
    GLQel2DBitmap* target = BeginTarget("sparks", kSide, kSide, kBlack);
    cells->Draw3D(glm::mat4(1.0f), FromAbove(), nullptr, 6, 2);  // the third is not drawn
    EndTarget(target);
    EXPECT_GT(AtWorld(target, -60, 0)[0], 0.9f);
    EXPECT_GT(AtWorld(target, 60, 40)[1], 0.9f);
    EXPECT_EQ(AtWorld(target, 0, -60)[2], 0.0f);
    EXPECT_EQ(AtWorld(target, 0, 0)[0], 0.0f);
}

TEST_F(GLQelShaderDrawTest, a_nebula_volume_glows_in_front_of_the_camera_and_is_skipped_behind_it)
{
    GLQELShaderNebulaVolume* nebula = Nebula();
    const glm::mat4 box = glm::scale(glm::mat4(1.0f), glm::vec3(55.0f));
    EXPECT_FALSE(nebula->CameraInside(box));

    for (const float facing : {1.0f, -1.0f}) {
        nebula->SetParameter("camDir", 0, 0, facing, 0);
        GLQel2DBitmap* target = BeginTarget("cloud-view", kSide, kSide, kBlack);
        nebula->Draw3D(box, FromFront(400), nullptr, 0, 0);
        EndTarget(target);
        const qeltest::Rgba middle = TargetAt(target, kSide / 2, kSide / 2);
        if (facing > 0) {
            KeepTarget(target, "nebula-volume");
            EXPECT_GT(middle[0] + middle[2], 0.1f);
            EXPECT_EQ(TargetAt(target, 2, 2)[2], 0.0f);
        } else {
            EXPECT_EQ(middle[2], 0.0f) << "a cloud behind the camera is skipped";
        }
    }
    nebula->SetParameter("camPos", 0, 0, 20, 1);
    EXPECT_TRUE(nebula->CameraInside(box));
    EXPECT_TRUE(nebula->InView(box));
}

// A cloud's density grid is baked once for its noise constants and kept;
// another seed bakes another cloud, and the grids kept stay bounded.
TEST_F(GLQelShaderDrawTest, a_nebulas_density_grid_is_baked_once_per_cloud_and_the_grids_kept_are_bounded)
{
    GLQELShaderNebulaVolume* nebula = Nebula();
    nebula->SetParameter("camDir", 0, 0, 1, 0);
    const glm::mat4 box = glm::scale(glm::mat4(1.0f), glm::vec3(55.0f));
    auto draw = [&](int seed) {
        nebula->SetParameter("randomSeed", static_cast<float>(seed), 0, 0, 0);
        GLQel2DBitmap* target = BeginTarget("cloud-view", kSide, kSide, kBlack);
        nebula->Draw3D(box, FromFront(400), nullptr, 0, 0);
        EndTarget(target);
        std::vector<qeltest::Rgba> picture;
        for (int y = kSide / 4; y < kSide * 3 / 4; y += 4)
            for (int x = kSide / 4; x < kSide * 3 / 4; x += 4)
                picture.push_back(TargetAt(target, x, y));
        return picture;
    };
    const auto first = draw(1);
    EXPECT_EQ(draw(1), first) << "the kept grid draws the same cloud";
    EXPECT_EQ(nebula->DensityGrids().Count(), 1u);
    EXPECT_NE(draw(2), first) << "another seed is another cloud";
    EXPECT_EQ(nebula->DensityGrids().Count(), 2u);
    for (int seed = 3; seed < 3 + static_cast<int>(GLQELNebulaDensityCache::kMaxGrids); ++seed)
        draw(seed);
    EXPECT_EQ(nebula->DensityGrids().Count(), GLQELNebulaDensityCache::kMaxGrids);
    EXPECT_EQ(draw(1), first) << "a grid made room for is baked again alike";

    // A constant a mission left NaN bakes once, not every frame.
    nebula->SetParameter("swirl", std::numeric_limits<float>::quiet_NaN(), 0, 0, 0);
    draw(1);
    const size_t bakedBefore = nebula->DensityGrids().Bakes();
    draw(1);
    EXPECT_EQ(nebula->DensityGrids().Bakes(), bakedBefore);
}

TEST_F(GLQelShaderDrawTest, the_sky_box_turns_with_the_camera_but_never_moves_and_the_callers_view_keeps_its_translation)
{
    Cube("sky");
    QelVertexList* sky = graphics.FindVertList("sky_v");
    for (int i = 0; i < 8; ++i) {
        float x, y, z;
        sky->GetPosition(i, x, y, z);
        sky->SetPosition(i, x * 50, y * 50, z * 50);
        sky->SetTexCoord(i, 0, x > 0 ? 1.0f : 0.0f, y > 0 ? 1.0f : 0.0f);
    }
    QelDrawProcess* box = Bind("Skybox", "sky", {Solid("stars", 0.2f, 0.3f, 0.9f)});
    const glm::mat4 moved = glm::translate(glm::mat4(1.0f), glm::vec3(5000, -200, 9000));
    GLQel2DBitmap* target = BeginTarget("sky-view", kSide, kSide, kBlack);
    box->Draw3D(glm::mat4(1.0f), moved, nullptr, 0, 0);
    EndTarget(target);
    EXPECT_NEAR(TargetAt(target, kSide / 2, kSide / 2)[2], 0.9f, 0.01f);
    EXPECT_NEAR(TargetAt(target, 3, kSide - 3)[1], 0.3f, 0.01f);
    EXPECT_EQ(moved[3][0], 5000.0f);
}

TEST_F(GLQelShaderDrawTest, phong_tints_its_texture_by_the_ambient_colour_and_shades_away_from_the_light)
{
    Plate("marker", 150);
    QelDrawProcess* phong = Bind("Phong", "marker", {graphics.Find2DBitmap("smallWhite")});
    phong->SetParameter("ambientColor", 1, 0, 1, 1);
    for (const auto& [direction, expected] : {std::pair{1.0f, 1.0f}, {-1.0f, 0.45f}}) {
        phong->SetParameter("lightDir", 0, direction, 0, 0);
        GLQel2DBitmap* target = BeginTarget("marker-view", kSide, kSide, kBlack);
        phong->Draw3D(glm::mat4(1.0f), FromAbove(), nullptr, 0, 0);
        EndTarget(target);
        EXPECT_NEAR(AtWorld(target, 0, 0)[0], expected, 0.02f);
        EXPECT_EQ(AtWorld(target, 0, 0)[1], 0.0f);
    }
}

// The 3D view's picture and its softened nebulae copied in one pass show
// what a copy of the picture and a copy of the nebulae blended over it show,
// over a background the picture only partly covers.
TEST_F(GLQelShaderDrawTest, the_scene_volume_composite_shows_what_the_two_blended_copies_show)
{
    constexpr int kScene = 32;
    constexpr int kCloud = kScene / 4;
    Qel2dBitmap* scene = graphics.GetRenderTarget("scene", kScene, kScene, false);
    for (int y = 0; y < kScene; ++y)
        for (int x = 0; x < kScene; ++x)
            scene->SetPixel(x, y, x < kScene / 2 ? 1.0f : 0.25f, 0.9f, y / float(kScene), 0.1f);
    Qel2dBitmap* cloud = graphics.GetRenderTarget("cloud", kCloud, kCloud, false);
    for (int y = 0; y < kCloud; ++y)
        for (int x = 0; x < kCloud; ++x)
            cloud->SetPixel(x, y, y / float(kCloud - 1), 0.2f, 0.4f, x / float(kCloud - 1));
    const float background[4] = {0.0f, 0.0f, 0.5f, 1.0f};
    const float white[4] = {1, 1, 1, 1};
    const auto copy = [&](Qel2dBitmap* source, const char* shader) {
        source->SetDrawProcess(graphics.GetShader(shader), true, false);
        source->SetSourceRectInt(QelRect{0, 0, source->GetWidth(), source->GetHeight()});
        source->SetDestRectInt(QelRect{0, 0, kScene, kScene});
        source->DrawQuad(white, 1000, false);
        graphics.Flush2D();
    };

    GLQel2DBitmap* twoCopies = BeginTarget("two-copies", kScene, kScene, background);
    copy(scene, "2DNormal");
    copy(cloud, "2DNormal");
    EndTarget(twoCopies);
    QelDrawProcess* combined = graphics.GetShader("SceneVolumeComposite");
    combined->bitmap2DList = {cloud};
    GLQel2DBitmap* onePass = BeginTarget("one-pass", kScene, kScene, background);
    copy(scene, "SceneVolumeComposite");
    EndTarget(onePass);
    combined->bitmap2DList.clear();

    for (int y = 0; y < kScene; ++y)
        for (int x = 0; x < kScene; ++x) {
            const qeltest::Rgba a = TargetAt(twoCopies, x, y), b = TargetAt(onePass, x, y);
            for (int channel = 0; channel < 3; ++channel)
                ASSERT_NEAR(a[channel], b[channel], 3.0f / 255.0f) << x << ", " << y << " channel " << channel;
        }
    // The background shows through where the picture is thin and the cloud too.
    EXPECT_GT(TargetAt(onePass, kScene - 1, 0)[2], 0.3f);
}

}  // namespace
