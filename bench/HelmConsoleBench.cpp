// Helm console frame time: one whole frame of the console a helm officer
// sees, at 1024 x 768, drawn as the console scene draws it (the console's
// boxes in list order through the box manager): the 3D view out of the ship,
// the simple helm with its attitude display, the throttle and the 2D radar
// box, over a world of the player's frigate with the first mission's
// neighbours around her, then the 2D layers flushed and the frame finished on
// the GPU. Run under llvmpipe on the offscreen driver with two rasterizer
// threads; the goal is 30 frames a second.
#include <benchmark/benchmark.h>
#include <glad/gl.h>
#include <glm/gtc/quaternion.hpp>

#include <memory>
#include <string>
#include <vector>

#include "bench/OffscreenBench.h"
#include "game/render/manager/RenderManager.h"
#include "game/widgets/ConsoleState.h"
#include "game/widgets/GUIBoxManager.h"
#include "game/world/AppData.h"
#include "game/world/Simulation.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
const std::vector<std::string> kHelmConsole{"3dview", "helm_simple", "throttle", "2dview"};

struct Placed {
    const char* behaviour;
    const char* hull;
    glm::vec3 at;
};
// The first mission's neighbourhood.
const Placed kNeighbours[] = {
    {"behav_station", "starbase_civil", {0.0f, 0.0f, 2500.0f}},
    {"behav_npcship", "skarn_raider", {6000.0f, 0.0f, 7000.0f}},
    {"behav_npcship", "skarn_raider", {-6500.0f, 0.0f, 6500.0f}},
    {"behav_npcship", "fleet_light_cruiser", {1500.0f, 0.0f, -3000.0f}},
    {"behav_npcship", "skarn_raider", {400.0f, 60.0f, 1400.0f}},
    {"behav_npcship", "fleet_light_cruiser", {-700.0f, -40.0f, 1900.0f}},
};

// The helm console the bench draws.
ConsoleState helmConsole;

SceneFunction HelmConsoleScene(SceneEvent event, SceneState&, RenderManager*)
{
    if (event == SCENE_DRAW)
        GUIBoxManager::DrawConsoleBoxes(helmConsole, "helm", kHelmConsole);
    return HelmConsoleScene;
}

class HelmConsoleFixture {
public:
    HelmConsoleFixture()
    {
        ready_ = offscreen_.Ready();
        if (!ready_)
            return;
        gGraphicsFactory = &offscreen_.Graphics();
        AppData::Load();
        manager_ = std::make_unique<RenderManager>(HelmConsoleScene, &helmConsole);
        manager_->mainBuffWidth = kWidth;
        manager_->mainBuffHeight = kHeight;
        manager_->Setup();
        ready_ = manager_->render3D.main_target != nullptr;
        MakeWorld();
    }
    ~HelmConsoleFixture()
    {
        world_.reset();
        manager_.reset();
        gGraphicsFactory = nullptr;
    }

    bool Ready() const { return ready_; }

    void Frame()
    {
        offscreen_.Context().Clear();
        manager_->Draw();
        offscreen_.Graphics().Flush2D();
        glFinish();
    }

private:
    void MakeWorld()
    {
        world_ = std::make_unique<Simulation>();
        world_->Reset(false, "");
        world_->subjectID = Add("behav_playership", "tern_frigate", glm::vec3(0.0f));
        for (const Placed& placed : kNeighbours)
            Add(placed.behaviour, placed.hull, placed.at);
        world_->Container()->ReinsertMoved();
    }

    uint64_t Add(const char* behaviour, const char* hull, const glm::vec3& at)
    {
        SpaceObject* ship = world_->GetSpaceObject(world_->CreateSpaceObject(behaviour, hull, 0));
        world_->RepositionSpaceObject(ship, at.x, at.y, at.z);
        ship->side = "meridian";
        return ship->uniqueID;
    }

    OffscreenBench offscreen_{kWidth, kHeight};
    std::unique_ptr<RenderManager> manager_;
    std::unique_ptr<Simulation> world_;
    bool ready_ = false;
};

void BM_HelmConsoleFrame(benchmark::State& state)
{
    static HelmConsoleFixture fixture;
    if (!fixture.Ready()) {
        state.SkipWithError("no GL 3.3 context on the offscreen driver, or no generated meshes");
        return;
    }
    fixture.Frame();  // the ship types' draw data are made on first sight
    for (auto _ : state)
        fixture.Frame();
    state.counters["frames/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_HelmConsoleFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
