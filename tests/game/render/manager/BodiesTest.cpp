// Planets, nebula volumes, object bodies, the hyper-warp screen and the
// cinematic choice headless: what reaches each shader (constants, world
// matrices, order) on a graphics service whose shaders record their draws.

#include "game/render/manager/RenderManager.h"

#include "game/render/Particle3DSSManager.h"
#include "game/render/manager/QelGasGiant.h"
#include "game/render/manager/QelVolumeManager.h"
#include "game/ui/UIContext.h"
#include "game/world/AppData.h"
#include "game/world/DataKey.h"
#include "game/world/ShipData.h"
#include "game/world/Simulation.h"
#include "helper/CRand.h"
#include "tests/support/GeneratedData.h"
#include "tests/support/RecordingGraphics2D.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <glm/geometric.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/quaternion.hpp>

#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

// One 3D draw: the shader, its world matrix and the constants it had then.
struct ShaderDraw {
    std::string shader;
    glm::mat4 world{1.0f};
    std::map<std::string, glm::vec4> constants;
    std::vector<Qel2dBitmap*> textures;
};

class RecordingShader : public QelDrawProcess {
public:
    RecordingShader(std::string shaderName, std::vector<ShaderDraw>& drawLog) : name(std::move(shaderName)), log(drawLog)
    {
    }
    void Draw2D() override {}
    void Draw3D(const glm::mat4& world, const glm::mat4&, void*, int, int) override
    {
        log.push_back({name, world, constants, bitmap2DList});
    }
    void SetParameter(std::string key, float x, float y, float z, float w) override
    {
        constants[key] = {x, y, z, w};
        ++settings;
    }

    std::string name;
    std::vector<ShaderDraw>& log;
    std::map<std::string, glm::vec4> constants;
    int settings = 0;
};

class ShaderRecordingGraphics : public qeltest::RecordingGraphics2D {
public:
    QelDrawProcess* GetShader(std::string name) override { return Shader(name); }
    QelDrawProcess* FindShader(std::string name) override { return Shader(name); }

    RecordingShader* Shader(const std::string& name)
    {
        std::unique_ptr<RecordingShader>& shader = shaders[name];
        if (!shader)
            shader = std::make_unique<RecordingShader>(name, draws);
        return shader.get();
    }
    std::vector<ShaderDraw> DrawsOf(const std::string& shader) const
    {
        std::vector<ShaderDraw> found;
        for (const ShaderDraw& draw : draws)
            if (draw.shader == shader)
                found.push_back(draw);
        return found;
    }

    std::vector<ShaderDraw> draws;
    std::map<std::string, std::unique_ptr<RecordingShader>> shaders;
};

glm::vec3 Translation(const glm::mat4& m)
{
    return glm::vec3(m[3]);
}

float ScaleOf(const glm::mat4& m)
{
    return glm::length(glm::vec3(m[0]));
}

void SetFloat(SpaceObject& object, const char* key, float value)
{
    WriteFloat(object.data_set, DataKey{key, kPlayDoc}, value);
}

// Two parameter records hold the same values, word for word.
bool SameRecord(const NebulaVolumeParams& a, const NebulaVolumeParams& b)
{
    return std::memcmp(&a, &b, sizeof(a)) == 0;
}

SceneFunction StayingScene(SceneEvent, SceneState&, RenderManager*)
{
    return StayingScene;
}

// The render manager set up over the recording service, the game's ships
// and meshes, and a world with the own ship at the origin facing +z.
class BodiesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qeltest::LinkGeneratedData(data);
        gGraphicsFactory = &graphics;
        AppData::Load();
        theUIContext = UIContext();
        ShipData& ships = ShipData::Instance();
        ships.ClearRecords(ships.mainRecords);
        ships.LoadMain();
        manager = std::make_unique<RenderManager>(StayingScene);
        manager->Setup();
        world = std::make_unique<Simulation>();
        world->Reset(false, "");
        ship = Place("behav_playership", "tern_frigate", {0, 0, 0});
        world->subjectID = ship->uniqueID;
        graphics.draws.clear();
    }
    void TearDown() override
    {
        manager.reset();
        world.reset();
        ShipData::Instance().ClearRecords(ShipData::Instance().mainRecords);
        theUIContext = UIContext();
        gGraphicsFactory = nullptr;
    }

    SpaceObject* Place(const char* behaviour, const char* shipKey, const glm::vec3& at)
    {
        SpaceObject* object = world->GetSpaceObject(world->CreateSpaceObject(behaviour, shipKey, 0));
        world->RepositionSpaceObject(object, at.x, at.y, at.z);
        world->Container()->ReinsertMoved();
        return object;
    }

    void DrawView(bool full)
    {
        graphics.draws.clear();
        render3D().Draw(IntRect{0, 0, 800, 600}, full);
    }

    Render3D& render3D() { return manager->render3D; }

    qeltest::TempFolder data;
    qeltest::ScopedEnv dataDir{"QEL_DATA_DIR", data.Path().string()};
    qeltest::TempFolder settings;
    qeltest::ScopedEnv settingsFolder{"QEL_SETTINGS_DIR", settings.Path().string()};
    ShaderRecordingGraphics graphics;
    std::unique_ptr<RenderManager> manager;
    std::unique_ptr<Simulation> world;
    SpaceObject* ship = nullptr;
};

TEST_F(BodiesTest, a_seed_gives_the_same_nebula_everywhere_inside_the_ranges)
{
    QelVolumeManager volumes;
    const NebulaVolumeRanges ranges;
    volumes.Setup(2, ranges);
    for (const int32_t seed : {1, 77, -5, std::numeric_limits<int32_t>::max()}) {
        const NebulaVolumeParams first = volumes.RandomizeParameters(seed);
        crand();  // whatever ran between
        EXPECT_TRUE(SameRecord(first, volumes.RandomizeParameters(seed))) << seed;
        EXPECT_EQ(first.randomSeed, seed);
        EXPECT_EQ(first.sampleCount, 64u);
        EXPECT_EQ(first.octaveCount, 2u);
        EXPECT_EQ(first.stamp, 0u);
        for (int c = 0; c < 3; ++c) {
            EXPECT_GE(first.scattering[c], 0.2f) << seed;
            EXPECT_LE(first.scattering[c], 0.8f) << seed;
        }
        const std::tuple<float, NebulaVolumeRanges::Values> values[] = {
            {first.anisotropy, ranges.anisotropy},           {first.radius, ranges.radius},
            {first.density, ranges.density},                 {first.baseFrequency, ranges.baseFrequency},
            {first.baseAmplitude, ranges.baseAmplitude},     {first.detailFrequency, ranges.detailFrequency},
            {first.detailAmplitude, ranges.detailAmplitude}, {first.detailLacunarity, ranges.detailLacunarity},
            {first.domainWarp, ranges.domainWarp},           {first.swirl, ranges.swirl}};
        for (const auto& [value, range] : values) {
            EXPECT_GE(value, range.min) << seed;
            EXPECT_LE(value, range.max) << seed;
        }
    }
    // The draws go blue, green, red: seed 1 gives the sequence 41, 18467, 6334.
    const NebulaVolumeParams one = volumes.RandomizeParameters(1);
    EXPECT_FLOAT_EQ(one.absorption[2], 41.0f / 32767);
    EXPECT_FLOAT_EQ(one.absorption[1], 18467.0f / 32767);
    EXPECT_FLOAT_EQ(one.absorption[0], 6334.0f / 32767);
}

TEST_F(BodiesTest, queued_volumes_draw_once_around_their_place_and_an_empty_queue_sets_nothing)
{
    QelVolumeManager volumes;
    volumes.Setup(2, NebulaVolumeRanges{});
    NebulaVolumeParams near = volumes.RandomizeParameters(3);
    near.radius = 1000;
    NebulaVolumeParams far = volumes.RandomizeParameters(4);
    far.radius = 2000;
    volumes.AddVolume({0, 0, 500}, near);
    volumes.AddVolume({0, 0, 9000}, far);
    Qel2dBitmap* scene = graphics.GetRenderTarget("scene", 64, 64, true);
    volumes.Draw(glm::mat4(1.0f), {0, 0, -100, 1}, {0, 0, 1, 0}, scene, 4);

    // Additive light: queue order, each once, in a box of 0.55 radius.
    const std::vector<ShaderDraw> drawn = graphics.DrawsOf("NebulaVolume");
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(Translation(drawn[0].world), glm::vec3(0, 0, 500));
    EXPECT_FLOAT_EQ(ScaleOf(drawn[0].world), 550.0f);
    EXPECT_FLOAT_EQ(ScaleOf(drawn[1].world), 1100.0f);
    EXPECT_EQ(drawn[1].constants.at("radius").x, 2000.0f);
    EXPECT_EQ(drawn[1].constants.at("randomSeed").x, 4.0f);
    EXPECT_EQ(drawn[1].constants.at("numSamples").x, 64.0f);
    EXPECT_EQ(drawn[1].constants.at("downsampleRatio").x, 4.0f);
    EXPECT_EQ(drawn[1].constants.at("additive").x, 1.0f);
    EXPECT_EQ(drawn[1].constants.at("camPos"), glm::vec4(0, 0, -100, 1));
    EXPECT_EQ(drawn[1].textures, std::vector<Qel2dBitmap*>{scene});
    EXPECT_EQ(volumes.Count(), 0);

    // Blended volumes go farthest first.
    volumes.additive = false;
    volumes.AddVolume({0, 0, 500}, near);
    volumes.AddVolume({0, 0, 9000}, far);
    graphics.draws.clear();
    volumes.Draw(glm::mat4(1.0f), {0, 0, -100, 1}, {0, 0, 1, 0}, scene, 4);
    ASSERT_EQ(graphics.draws.size(), 2u);
    EXPECT_EQ(Translation(graphics.draws[0].world), glm::vec3(0, 0, 9000));

    // Nothing queued: no constant is set and nothing drawn.
    RecordingShader* shader = graphics.Shader("NebulaVolume");
    const int settingsBefore = shader->settings;
    graphics.draws.clear();
    volumes.Draw(glm::mat4(1.0f), {0, 0, 0, 1}, {0, 0, 1, 0}, scene, 4);
    EXPECT_TRUE(graphics.draws.empty());
    EXPECT_EQ(shader->settings, settingsBefore);
}

// What the queued clouds can cover of a 400 x 300 view looking along +z: a
// cloud ahead covers a part about the middle, one reaching behind the eye
// the whole view, and an empty queue nothing.
TEST_F(BodiesTest, the_queued_volumes_screen_bounds_hold_their_boxes)
{
    QelVolumeManager volumes;
    volumes.Setup(2, NebulaVolumeRanges{});
    const glm::mat4 view(1.0f);
    const glm::mat4 projection = glm::perspectiveLH_ZO(1.0f, 4.0f / 3.0f, 1.0f, 100000.0f);
    NebulaVolumeParams cloud = volumes.RandomizeParameters(3);
    cloud.radius = 1000;
    EXPECT_FALSE(volumes.ScreenBounds(view, projection, 400, 300).IsOpen());

    volumes.AddVolume({0, 0, 10000}, cloud);
    const IntRect ahead = volumes.ScreenBounds(view, projection, 400, 300);
    EXPECT_TRUE(ahead.Contains(200, 150));
    // The ball of the box's half size seen from 10000 away, in the view's
    // half heights.
    const float halfHeight = std::tan(std::asin(550.0f / 10000.0f)) / std::tan(0.5f) * 150.0f;
    EXPECT_NEAR(ahead.Height(), 2.0f * halfHeight, 2.0f);
    EXPECT_NEAR(ahead.Width(), 2.0f * halfHeight, 2.0f);

    volumes.AddVolume({0, 0, -20000}, cloud);
    EXPECT_EQ(volumes.ScreenBounds(view, projection, 400, 300), ahead) << "a cloud behind the eye covers nothing";

    volumes.AddVolume({300, 0, 10000}, cloud);
    const IntRect both = volumes.ScreenBounds(view, projection, 400, 300);
    EXPECT_EQ(both.left, ahead.left);
    EXPECT_GT(both.right, ahead.right);
    EXPECT_EQ(both.top, ahead.top);

    volumes.AddVolume({0, 0, 200}, cloud);
    EXPECT_EQ(volumes.ScreenBounds(view, projection, 400, 300), (IntRect{0, 0, 400, 300}));
}

TEST_F(BodiesTest, planets_draw_far_to_near_with_equal_distances_in_queue_order)
{
    QelGasGiant planets;
    PlanetParams params;
    params.radius = 40;
    params.baseColor[0] = 0.7f;
    params.upperCloudColor[2] = 0.9f;
    // Queue numbers 0..4: 100 away, 300 away, 300 away on another axis, 50 away, at a radius of 0.
    const glm::vec3 places[] = {{100, 0, 0}, {0, 300, 0}, {0, 0, -300}, {0, 50, 0}, {0, 0, 1000}};
    for (size_t i = 0; i < std::size(places); ++i) {
        params.radius = i == 4 ? 0.0f : 40.0f;
        planets.AddInstance(places[i], params);
    }
    planets.Draw(glm::mat4(1.0f), {0, 0, 0, 1}, {0, 0, 1, 0});
    EXPECT_EQ(planets.DrawOrder(), (std::vector<int32_t>{4, 1, 2, 0, 3}));
    EXPECT_EQ(planets.Count(), 0);
    const std::vector<ShaderDraw> drawn = graphics.DrawsOf("GasGiant");
    ASSERT_EQ(drawn.size(), 5u);
    EXPECT_EQ(ScaleOf(drawn[0].world), 0.0f);  // a point
    EXPECT_EQ(Translation(drawn[1].world), glm::vec3(0, 300, 0));
    EXPECT_FLOAT_EQ(ScaleOf(drawn[1].world), 40.0f);
    EXPECT_EQ(drawn[1].constants.at("radius").x, 40.0f);
    EXPECT_EQ(drawn[1].constants.at("baseColor"), glm::vec4(0.7f, 0, 0, 1));
    EXPECT_EQ(drawn[1].constants.at("upperCloudColor"), glm::vec4(0, 0, 0.9f, 0.8f));
    EXPECT_EQ(drawn[1].constants.at("stormSize").x, 0.34f);

    // The shader takes the camera negated; an empty queue draws nothing.
    planets.AddInstance({0, 0, 0}, params);
    planets.Draw(glm::mat4(1.0f), {10, 20, 30, 1}, {0, 0, 1, 0});
    EXPECT_EQ(graphics.DrawsOf("GasGiant").back().constants.at("camPos"), glm::vec4(-10, -20, -30, 1));
    graphics.draws.clear();
    planets.Draw(glm::mat4(1.0f), {0, 0, 0, 1}, {0, 0, 1, 0});
    EXPECT_TRUE(graphics.draws.empty());
}

TEST_F(BodiesTest, nebula_and_planet_values_from_a_table_reach_their_shaders_and_keep_their_size)
{
    struct NebulaCase {
        const char* name;
        std::vector<std::pair<const char*, float>> values;
        float radius, density, emissionRed;
    };
    const NebulaCase cases[] = {
        {"left alone: seeded from its id", {}, 1000, 15, 0.8f},
        {"the mission's own", {{"display_size", 300}, {"density", 6}, {"emission_red", 0.25f}}, 600, 6, 0.25f},
    };
    std::vector<SpaceObject*> nebulae;
    for (size_t i = 0; i < std::size(cases); ++i) {
        nebulae.push_back(Place("behav_nebula", "nebula", {static_cast<float>(i) * 3000.0f - 1500.0f, 0, 2000}));
        for (const auto& [key, value] : cases[i].values)
            SetFloat(*nebulae.back(), key, value);
    }
    SpaceObject* planet = Place("behav_planet", "planet", {0, 0, 8000});
    SetFloat(*planet, "planet_radius", 900);
    SetFloat(*planet, "planet_baseColorG", 0.5f);

    for (int frame = 0; frame < 3; ++frame) {  // refreshes change nothing
        DrawView(true);
        const std::vector<ShaderDraw> volumes = graphics.DrawsOf("NebulaVolume");
        ASSERT_EQ(volumes.size(), std::size(cases));
        for (size_t i = 0; i < std::size(cases); ++i) {
            const NebulaCase& c = cases[i];
            const auto& k = volumes[i].constants;
            EXPECT_EQ(Translation(volumes[i].world), nebulae[i]->pos) << c.name;
            EXPECT_EQ(k.at("radius").x, c.radius) << c.name << " frame " << frame;
            EXPECT_EQ(k.at("density").x, c.density) << c.name;
            EXPECT_FLOAT_EQ(k.at("emissiveColor").x, c.emissionRed) << c.name;
            EXPECT_FLOAT_EQ(k.at("emissiveColor").y, 0.8f) << c.name;
            EXPECT_EQ(k.at("randomSeed").x, static_cast<float>(static_cast<uint32_t>(nebulae[i]->uniqueID))) << c.name;
        }
        const std::vector<ShaderDraw> planets = graphics.DrawsOf("GasGiant");
        ASSERT_EQ(planets.size(), 1u);
        EXPECT_EQ(planets[0].constants.at("radius").x, 900.0f);
        EXPECT_EQ(planets[0].constants.at("baseColor").y, 0.5f);
        EXPECT_EQ(Translation(planets[0].world), planet->pos);
    }

    // The beam console's view draws no volume, and what it queued does not pile up.
    DrawView(false);
    EXPECT_TRUE(graphics.DrawsOf("NebulaVolume").empty());
    EXPECT_EQ(render3D().volumes->Count(), 0);
    EXPECT_EQ(graphics.DrawsOf("GasGiant").size(), 1u);
}

// The planets' weather runs on the view's clock, one step a tick and none
// while the hyper-warp screen shows, and each planet's winds reach the shader.
TEST_F(BodiesTest, the_planets_clock_advances_with_the_ticks_and_their_winds_reach_the_shader)
{
    SpaceObject* planet = Place("behav_planet", "planet", {0, 0, 8000});
    SetFloat(*planet, "planet_radius", 900);
    SetFloat(*planet, "planet_windSpeed1", 3.5f);
    SetFloat(*planet, "planet_windSpeed2", -2.0f);
    const auto planetConstants = [&] {
        DrawView(true);
        const std::vector<ShaderDraw> drawn = graphics.DrawsOf("GasGiant");
        EXPECT_EQ(drawn.size(), 1u);
        return drawn.empty() ? std::map<std::string, glm::vec4>{} : drawn[0].constants;
    };
    EXPECT_EQ(planetConstants().at("time").x, 0.0f);
    for (int tick = 0; tick < 10; ++tick)
        render3D().UpdateEffects();
    const std::map<std::string, glm::vec4> constants = planetConstants();
    EXPECT_FLOAT_EQ(constants.at("time").x, 10 * QelGasGiant::kTimeStep);
    EXPECT_EQ(constants.at("windSpeed1").x, 3.5f);
    EXPECT_EQ(constants.at("windSpeed2").x, -2.0f);

    render3D().hyper_warp_on = true;
    render3D().UpdateEffects();
    EXPECT_FLOAT_EQ(render3D().gas_giant->timeValue, 10 * QelGasGiant::kTimeStep);
}

TEST_F(BodiesTest, a_body_is_five_turning_layers_of_its_mesh_tinted_and_bad_names_draw_nothing)
{
    SpaceObject* monster = Place("behav_monster", "monster_dragon", {0, 0, 400});
    render3D().DrawObjectBody(*monster, "monster_part", "---", "#ff0000", 2.0f, 1);
    const std::vector<ShaderDraw> layers = graphics.DrawsOf("Phong");
    ASSERT_FALSE(layers.empty());
    const size_t units = render3D().body_meshes.at("monster_part")->units.size();
    ASSERT_EQ(layers.size(), 5 * units);
    for (const ShaderDraw& layer : layers) {
        EXPECT_EQ(Translation(layer.world), monster->pos);
        EXPECT_NEAR(ScaleOf(layer.world), 0.8f, 1e-5f);
        EXPECT_EQ(layer.constants.at("ambientColor"), glm::vec4(1, 0, 0, 1));
    }
    EXPECT_NE(layers.front().world, layers.back().world);  // each layer turned its own way
    EXPECT_EQ(manager->objectEffectRecords[monster->uniqueID].drawMatrix, layers.back().world);
    for (const QEL3DDrawUnit& unit : render3D().body_meshes.at("monster_part")->units)
        EXPECT_EQ(unit.textureNames, std::vector<std::string>(4, "smallWhite"));

    for (const char* name : {"", "../graphics/monster_part", "/tmp/monster_part", "no_such_mesh"}) {
        graphics.draws.clear();
        render3D().DrawObjectBody(*monster, name, "../../secret", "white", 1.0f, 0);
        render3D().DrawObjectBody(*monster, name, "../../secret", "white", 1.0f, 0);
        EXPECT_TRUE(graphics.draws.empty()) << name;
    }
}

TEST_F(BodiesTest, the_hyper_warp_screen_keeps_its_ship_until_off_and_shows_nothing_for_an_unknown_key)
{
    Render3D& view = render3D();
    view.ShowHyperWarp("no_such_hull");
    EXPECT_TRUE(view.hyper_warp_on);
    EXPECT_TRUE(view.hyper_warp_points.empty());
    view.DrawHyperWarp();
    EXPECT_TRUE(graphics.draws.empty());
    view.HideHyperWarp();

    view.ShowHyperWarp("tern_frigate");
    const size_t frigatePoints = view.hyper_warp_points.size();
    ASSERT_GT(frigatePoints, 10u);
    for (size_t i = 1; i < frigatePoints; ++i)
        ASSERT_GE(view.hyper_warp_points[i - 1].z, view.hyper_warp_points[i].z);
    view.ShowHyperWarp("skarn_raider");  // a second "on" while it shows
    EXPECT_EQ(view.hyper_warp_key, "tern_frigate");
    EXPECT_EQ(view.hyper_warp_points.size(), frigatePoints);

    // Off and on with another ship: its outline alone.
    view.HideHyperWarp();
    view.ShowHyperWarp("skarn_raider");
    const ObjectTypeDrawData* raider = manager->GetObjectTypeDrawData("skarn_raider");
    EXPECT_EQ(view.hyper_warp_points.size(),
              static_cast<size_t>(raider->mesh->units.front().Vertices()->GetCount()));
    view.DrawHyperWarp();
    EXPECT_EQ(graphics.DrawsOf("Redwood").size(), raider->mesh->units.size());
}

TEST_F(BodiesTest, the_warp_light_sweeps_back_ten_a_tick_and_each_frame_adds_its_particles)
{
    Render3D& view = render3D();
    view.ShowHyperWarp("tern_frigate");
    view.spot_pos = {5, 6, 0};
    view.effect_tick = view.hyper_warp_last_tick + 5;
    view.DrawHyperWarp();
    EXPECT_EQ(view.spot_pos, glm::vec3(5, 6, -50));
    // The light lights the ship from slot 0, the other slots off.
    const std::vector<ShaderDraw> ship = graphics.DrawsOf("Redwood");
    ASSERT_FALSE(ship.empty());
    EXPECT_EQ(ship.front().constants.at("spotRadius"), glm::vec4(0, 500, 0, 0));
    EXPECT_EQ(ship.front().constants.at("spotPos"), glm::vec4(0, 5, 6, -50));

    // Past the stern it starts again ahead, somewhere new, in a new colour.
    view.spot_pos.z = -995;
    ++view.effect_tick;
    const int32_t before = view.hot_particles->NextSlot();
    view.DrawHyperWarp();
    EXPECT_EQ(view.spot_pos.z, 1000.0f);
    for (const float c : {view.spot_pos.x, view.spot_pos.y}) {
        EXPECT_GE(c, -100.0f);
        EXPECT_LE(c, 100.0f);
    }
    for (int c = 0; c < 3; ++c) {
        EXPECT_GE(view.spot_color[c], 0.6f);
        EXPECT_LE(view.spot_color[c], 4.6f);
    }

    // A streak, the light's mote, three for each engine and a hull spark.
    const ShipDataRecord& record = *ShipData::Instance().Find("tern_frigate");
    int engines = 0;
    for (const ShipExhaustPort& port : record.exhaustPorts)
        engines += glm::vec3(port.position.x, port.position.y, port.position.z * 0.9f) != glm::vec3(0.0f) ? 1 : 0;
    ASSERT_GT(engines, 0);
    EXPECT_EQ(view.hot_particles->NextSlot() - before, 2 + 3 * engines + 1);
    const SpriteSheetParticle& streak = view.hot_particles->Particles()[static_cast<size_t>(before + 1)];
    EXPECT_EQ(streak.position.z, 1000.0f);
    EXPECT_EQ(streak.velocity, glm::vec3(0, 0, -60));
    EXPECT_EQ(streak.lifetime, 55);
}

TEST_F(BodiesTest, the_cinematic_camera_rides_the_most_exciting_neighbour_or_flies_beside_the_ship)
{
    Render3D& view = render3D();
    const auto exciting = [&](const char* behaviour, const char* key, const glm::vec3& at, float value) {
        SpaceObject* object = Place(behaviour, key, at);
        SetFloat(*object, "exciting", value);
        return object;
    };
    // Nothing but a dull neighbour (below 0) and far-off excitement: beside
    // the ship, 100 out, and 50 ticks of its speed ahead.
    exciting("behav_npcship", "skarn_raider", {300, 0, 0}, -1);
    exciting("behav_npcship", "skarn_raider", {5000, 0, 0}, 50);
    for (const float speed : {0.0f, 10.0f}) {
        ship->cur_speed = speed;
        csrand(static_cast<uint32_t>(speed) + 3);
        view.UpdateCinematicTarget();
        EXPECT_EQ(view.targetID, ship->uniqueID);
        EXPECT_EQ(view.dollyID, 0u);
        const glm::vec3 side = view.dollyPos - ship->pos - glm::vec3(0, 0, 50 * speed);
        EXPECT_NEAR(glm::length(side), 100.0f, 1e-3f) << speed;
        EXPECT_NEAR(side.z, 0.0f, 1e-3f) << speed;
        EXPECT_GT(std::abs(side.x), 90.0f) << speed;
    }

    // Asteroids and whirlpools never; the most exciting other object does.
    exciting("behav_asteroid", "asteroid_rock", {0, 0, 200}, 90);
    exciting("behav_static", "blackhole", {0, 0, -200}, 90);
    SpaceObject* best = exciting("behav_npcship", "skarn_raider", {400, 0, 400}, 7);
    exciting("behav_npcship", "skarn_raider", {-400, 0, 400}, 3);
    view.UpdateCinematicTarget();
    EXPECT_EQ(view.dollyID, best->uniqueID);
    EXPECT_EQ(view.targetID, ship->uniqueID);
    EXPECT_LE(std::abs(view.dollyPos.y), 100.0f);
    const float across = glm::length(glm::vec2(view.dollyPos.x, view.dollyPos.z));
    EXPECT_GE(across, 200.0f - 1e-3f);
    EXPECT_LE(across, std::sqrt(2.0f) * 200.0f + 1e-3f);

    // The server may feature another object; one on its very place gives no line.
    SpaceObject* featured = Place("behav_npcship", "skarn_raider", {-9000, 0, -9000});
    exciting("behav_npcship", "skarn_raider", featured->pos, 4);
    view.cinematic_request = featured->uniqueID;
    view.UpdateCinematicTarget();
    EXPECT_EQ(view.targetID, featured->uniqueID);
    EXPECT_NE(view.dollyID, 0u);
    EXPECT_FALSE(std::isnan(view.dollyPos.x) || std::isnan(view.dollyPos.z));
    EXPECT_EQ(view.cinematic_chosen_tick, world->TickCount());
}

TEST_F(BodiesTest, the_camera_picks_again_every_five_seconds_unless_the_mission_drives_it)
{
    Render3D& view = render3D();
    world->clock.time_tick_counter = 1000;
    view.cinematic_chosen_tick = 900;
    view.UpdateCamera(ship);
    EXPECT_EQ(view.cinematic_chosen_tick, 900);  // 100 ticks ago
    world->clock.time_tick_counter = 1051;
    view.UpdateCamera(ship);
    EXPECT_EQ(view.cinematic_chosen_tick, 1051);

    view.scriptControlsCamera = 1;
    view.cinematic_chosen_tick = -1;
    view.UpdateCamera(ship);
    EXPECT_EQ(view.cinematic_chosen_tick, -1);
}

}  // namespace
