// 2D radar frame time: the game's own radar (Render2D::Draw, as the "2dview"
// widget calls it) of a world holding the player's frigate and 100 or 1,000
// objects scattered over the view (computer ships, scanned and named, with
// shields and beam arcs, asteroids and torpedoes), rendered into a
// 1024 x 768 radar target and copied into the whole window, finished on the
// GPU. Run under llvmpipe on the offscreen driver with two rasterizer
// threads; the goal is 60 frames a second.
#include <benchmark/benchmark.h>
#include <glad/gl.h>
#include <glm/gtc/quaternion.hpp>

#include <memory>

#include "bench/OffscreenBench.h"
#include "game/render/manager/RenderManager.h"
#include "game/ui/UIContext.h"
#include "game/world/AppData.h"
#include "game/world/DataKey.h"
#include "game/world/ShipData.h"
#include "game/world/Simulation.h"
#include "helper/CRand.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
// At the radar's default 0.1 pixels a unit, the window shows this much.
constexpr float kHalfSpanX = 5000.0f, kHalfSpanZ = 3800.0f;
const char* const kHulls[] = {"fleet_light_cruiser", "skarn_raider", "skarn_carrier", "kestrel_fighter"};

SceneFunction StayingScene(SceneEvent, SceneState&, RenderManager*)
{
    return StayingScene;
}

class View2DFixture {
public:
    View2DFixture()
    {
        ready_ = offscreen_.Ready();
        if (!ready_)
            return;
        gGraphicsFactory = &offscreen_.Graphics();
        AppData::Load();
        ShipData::Instance().LoadMain();
        theUIContext.LoadSettings();
        manager_ = std::make_unique<RenderManager>(StayingScene);
        manager_->mainBuffWidth = kWidth;
        manager_->mainBuffHeight = kHeight;
        manager_->Setup();
        ready_ = manager_->render2D.enabled;
    }
    ~View2DFixture()
    {
        world_.reset();
        manager_.reset();
        gGraphicsFactory = nullptr;
    }

    bool Ready() const { return ready_; }

    // The frigate at the origin and the objects at fixed random places: two
    // in three ships, the rest asteroids and torpedoes.
    void MakeWorld(int objects)
    {
        world_.reset();
        world_ = std::make_unique<Simulation>();
        world_->Reset(false, "");
        world_->SetSideRelationship("navy", "pirates", DIPLOMACY_HOSTILE);
        SpaceObject* own = Add("behav_playership", "tern_frigate", glm::vec3(0.0f), 0.0f);
        own->side = "navy";
        world_->subjectID = own->uniqueID;
        csrand(1);
        const auto unit = [] { return static_cast<float>(crand()) / static_cast<float>(CRAND_MAX); };
        for (int i = 0; i < objects; ++i) {
            const glm::vec3 at((unit() * 2 - 1) * kHalfSpanX, 0.0f, (unit() * 2 - 1) * kHalfSpanZ);
            if (i % 3 == 2) {
                const bool rock = i % 2 != 0;
                Add(rock ? "behav_asteroid" : "behav_missile", rock ? "asteroid_rock" : "torpedo", at, unit() * 6.28f);
                continue;
            }
            SpaceObject* ship = Add("behav_npcship", kHulls[i % std::size(kHulls)], at, unit() * 6.28f);
            ship->side = "pirates";
            ship->data_set.SetStringByIndexString("scan", "yes", "navy", "a");
            WriteString(ship->data_set, DataKey{"name_tag", kPlayDoc}, "Contact " + std::to_string(i));
            WriteInt(ship->data_set, DataKey{"shields_raised_flag", kPlayDoc}, 1);
            WriteInt(ship->data_set, DataKey{"shield_count", kPlayDoc}, 2);
            WriteInt(ship->data_set, DataKey{"beamCount", kPlayDoc}, 1);
            WriteFloat(ship->data_set, DataKey{"beamArcWidth", kPlayDoc}, 60.0f);
            WriteFloat(ship->data_set, DataKey{"beamRange", kPlayDoc}, 1000.0f);
            for (int facing = 0; facing < 2; ++facing) {
                WriteFloat(ship->data_set, DataKey{"shield_val", kPlayDoc}, 50.0f, facing);
                WriteFloat(ship->data_set, DataKey{"shield_max_val", kPlayDoc}, 100.0f, facing);
            }
        }
        world_->Container()->ReinsertMoved();
    }

    void Frame()
    {
        offscreen_.Context().Clear();
        theUIContext.BeginFrame();
        manager_->render2D.Draw(IntRect{0, 0, kWidth, kHeight}, "normal");
        theUIContext.EndFrame();
        offscreen_.Graphics().Flush2D();
        glFinish();
    }

private:
    SpaceObject* Add(const char* behaviour, const char* hull, const glm::vec3& at, float heading)
    {
        SpaceObject* object = world_->GetSpaceObject(world_->CreateSpaceObject(behaviour, hull, 0));
        world_->RepositionSpaceObject(object, at.x, at.y, at.z);
        object->rot_quat = glm::angleAxis(heading, glm::vec3(0, 1, 0));
        return object;
    }

    OffscreenBench offscreen_{kWidth, kHeight};
    std::unique_ptr<RenderManager> manager_;
    std::unique_ptr<Simulation> world_;
    bool ready_ = false;
};

View2DFixture& Fixture()
{
    static View2DFixture fixture;
    return fixture;
}

void BM_View2D(benchmark::State& state)
{
    View2DFixture& fixture = Fixture();
    if (!fixture.Ready()) {
        state.SkipWithError("no GL 3.3 context on the offscreen driver");
        return;
    }
    const int objects = static_cast<int>(state.range(0));
    fixture.MakeWorld(objects);
    fixture.Frame();  // the first frame learns the view and makes the silhouettes
    fixture.Frame();
    for (auto _ : state)
        fixture.Frame();
    state.counters["objects"] = objects;
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_View2D)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
