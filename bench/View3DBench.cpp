// 3D view frame time: the game's own 3D view (Render3D::Draw, as the
// "3dview" widget calls it) of a world holding the player's frigate and 10,
// 50 or 200 ships in view of the chase camera, scattered 400 to 4000 units
// ahead as a battle would place them, over the sky box, rendered into a
// 1024 x 768 main target and copied into the whole window, finished on the
// GPU. Run under llvmpipe on the offscreen driver with two rasterizer
// threads; the goal is 30 frames a second with 50 ships.
#include <benchmark/benchmark.h>
#include <glad/gl.h>
#include <glm/gtc/quaternion.hpp>

#include <cmath>
#include <memory>

#include "bench/OffscreenBench.h"
#include "game/render/manager/RenderManager.h"
#include "game/world/AppData.h"
#include "game/world/ShipData.h"
#include "game/world/Simulation.h"
#include "helper/CRand.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr float kNearest = 400.0f, kFarthest = 4000.0f;  // how far ahead the other ships are
constexpr float kHalfFieldOfView = 0.5235988f;           // of the view's π/3
const char* const kHulls[] = {"fleet_light_cruiser", "skarn_raider", "skarn_carrier", "kestrel_fighter",
                              "tern_frigate"};

SceneFunction StayingScene(SceneEvent, SceneState&, RenderManager*)
{
    return StayingScene;
}

class View3DFixture {
public:
    View3DFixture()
    {
        ready_ = offscreen_.Ready();
        if (!ready_)
            return;
        gGraphicsFactory = &offscreen_.Graphics();
        AppData::Load();
        // The world and the render manager reach the ship data when they go;
        // made before this fixture is complete, it is destroyed after it.
        ShipData::Instance();
        manager_ = std::make_unique<RenderManager>(StayingScene);
        manager_->mainBuffWidth = kWidth;
        manager_->mainBuffHeight = kHeight;
        manager_->Setup();
        ready_ = manager_->render3D.main_target != nullptr && manager_->SkyBox() && manager_->SkyBox()->Texture();
    }
    ~View3DFixture()
    {
        world_.reset();
        manager_.reset();
        gGraphicsFactory = nullptr;
    }

    bool Ready() const { return ready_; }

    // A world of the player's frigate at the origin, heading +z, and the
    // other ships at fixed random places inside its chase camera's view.
    void MakeWorld(int ships)
    {
        world_.reset();
        world_ = std::make_unique<Simulation>();
        world_->Reset(false, "");
        world_->subjectID = Add("tern_frigate", glm::vec3(0.0f), 0.0f);
        csrand(1);
        const auto unit = [] { return static_cast<float>(crand()) / static_cast<float>(CRAND_MAX); };
        const float spread = std::tan(kHalfFieldOfView) * 0.8f;
        for (int i = 0; i < ships; ++i) {
            const float depth = kNearest + (kFarthest - kNearest) * unit();
            const glm::vec3 at((unit() * 2 - 1) * spread * depth * kWidth / kHeight, (unit() * 2 - 1) * spread * depth,
                               depth - 160.0f);
            Add(kHulls[i % std::size(kHulls)], at, 6.283f * unit());
        }
        world_->Container()->ReinsertMoved();
    }

    void Frame()
    {
        offscreen_.Context().Clear();
        manager_->render3D.Draw(IntRect{0, 0, kWidth, kHeight}, true);
        glFinish();
    }

private:
    uint64_t Add(const char* hull, const glm::vec3& at, float heading)
    {
        SpaceObject* ship = world_->GetSpaceObject(world_->CreateSpaceObject("behav_npcship", hull, 0));
        world_->RepositionSpaceObject(ship, at.x, at.y, at.z);
        ship->rot_quat = glm::angleAxis(heading, glm::vec3(0, 1, 0));
        return ship->uniqueID;
    }

    OffscreenBench offscreen_{kWidth, kHeight};
    std::unique_ptr<RenderManager> manager_;
    std::unique_ptr<Simulation> world_;
    bool ready_ = false;
};

View3DFixture& Fixture()
{
    static View3DFixture fixture;
    return fixture;
}

void BM_View3D(benchmark::State& state)
{
    View3DFixture& fixture = Fixture();
    if (!fixture.Ready()) {
        state.SkipWithError("no GL 3.3 context on the offscreen driver, or no generated meshes and sky");
        return;
    }
    const int ships = static_cast<int>(state.range(0));
    fixture.MakeWorld(ships);
    fixture.Frame();  // the ship types' draw data are made on first sight
    for (auto _ : state)
        fixture.Frame();
    state.counters["ships"] = ships;
    state.counters["frames/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_View3D)->Arg(10)->Arg(50)->Arg(200)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
