// Main screen frame time in a fight: the game's own 3D view (Render3D::Draw,
// as the "3dview" widget calls it, full view) at 1024 x 768 while a dozen
// computer ships of two sides fight ahead of the player's frigate, inside a
// nebula and near a planet. Between frames the world steps one tick on the
// server's side (the ships turn, fire their beams through the world's own
// weapons and launch torpedoes from their tubes, the torpedoes fly and
// strike) and the render manager runs its per-tick update, so every frame
// draws what the fight made of the world: hulls, beams, torpedoes, their
// particles, the nebula volume and the planet, as far as the render manager
// draws them. Run under llvmpipe on the offscreen driver with two rasterizer
// threads.
#include <benchmark/benchmark.h>
#include <glad/gl.h>
#include <glm/gtc/quaternion.hpp>

#include <memory>
#include <vector>

#include "bench/OffscreenBench.h"
#include "game/behaviours/NPCShipKeys.h"
#include "game/behaviours/SpaceObjectAI.h"
#include "game/render/manager/RenderManager.h"
#include "game/world/AppData.h"
#include "game/world/ServerStringMap.h"
#include "game/world/ShipKeys.h"
#include "game/world/Simulation.h"
#include "game/world/WorldServices.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
// Six ships a side in two lines across the frigate's course, the lines this
// far apart (inside the ships' beam range) and this far ahead of her.
constexpr int kShipsPerSide = 6;
constexpr float kLineGap = 700.0f;
constexpr float kNearLine = 600.0f;
constexpr float kShipSpacing = 250.0f;
constexpr float kCruiseThrottle = 0.3f;
// Headings about the up axis: the near line faces ahead, the far one back.
constexpr float kFacingAhead = 0.0f;
constexpr float kFacingBack = 3.14159265f;
// Each ship launches a torpedo from its tube this often, the launches
// spread over the interval so some are always in flight.
constexpr int kTorpedoIntervalTicks = 90;
// The fight runs this long before the first measured frame, so beams have
// fired and torpedoes are on their way.
constexpr int kWarmUpTicks = 150;
const char* const kTorpedoDefinition = "gui_text:Homing;speed:22;damage:10;lifetime:300;behavior:homing";
// The nebula wraps the fight; the planet hangs beyond it.
const glm::vec3 kNebulaCentre{0.0f, 0.0f, 1400.0f};
const glm::vec3 kPlanetCentre{-2500.0f, -600.0f, 7000.0f};

SceneFunction StayingScene(SceneEvent, SceneState&, RenderManager*)
{
    return StayingScene;
}

// Destroys are carried out after the step, as the server's frame does.
struct DestroyQueue : PendingDestroySink {
    void QueueDestroy(uint64_t id) override { ids.push_back(id); }
    std::vector<uint64_t> ids;
};

class FightFixture {
public:
    FightFixture()
    {
        ready_ = offscreen_.Ready();
        if (!ready_)
            return;
        gGraphicsFactory = &offscreen_.Graphics();
        AppData::Load();
        RegisterBehaviourHooks();
        manager_ = std::make_unique<RenderManager>(StayingScene);
        manager_->mainBuffWidth = kWidth;
        manager_->mainBuffHeight = kHeight;
        manager_->Setup();
        ready_ = manager_->render3D.main_target != nullptr && manager_->SkyBox() && manager_->SkyBox()->Texture();
        if (ready_)
            MakeWorld();
    }
    ~FightFixture()
    {
        world_.reset();
        manager_.reset();
        gGraphicsFactory = nullptr;
    }

    bool Ready() const { return ready_; }
    int Ships() const { return static_cast<int>(ships_.size()); }
    size_t Objects() const { return world_->Container()->Objects().size(); }
    size_t EffectEvents() const { return world_->effectEvents.size(); }
    int Launched() const { return launched_; }

    // One tick of the fight: the world's frame and tick, its destroys, the
    // torpedoes due, and the render manager's per-tick update.
    void Step()
    {
        world_->FrameUpdate();
        world_->Tick();
        for (uint64_t id : destroys_.ids)
            world_->DeleteSpaceObject(id);
        destroys_.ids.clear();
        LaunchTorpedoes();
        manager_->SimTick();
        ++tick_;
    }

    void Frame()
    {
        offscreen_.Context().Clear();
        manager_->render3D.Draw(IntRect{0, 0, kWidth, kHeight}, true);
        glFinish();
    }

    void WarmUp()
    {
        for (int i = 0; i < kWarmUpTicks; ++i)
            Step();
        Frame();  // the ship types' draw data are made on first sight
    }

private:
    void MakeWorld()
    {
        world_ = std::make_unique<Simulation>();
        world_->Reset(true, "");
        world_->paused = false;
        world_->SetPendingDestroySink(&destroys_);
        ServerStringMap::Instance().Set(shipkeys::kDefaultTorpedoType, kTorpedoDefinition);
        world_->subjectID = Add("behav_playership", "tern_frigate", "meridian", glm::vec3(0.0f), kFacingAhead);
        Add("behav_nebula", "nebula", "", kNebulaCentre, kFacingAhead, SpaceObject::kStaticBit);
        Add("behav_none", "planet", "", kPlanetCentre, kFacingAhead, SpaceObject::kStaticBit);
        for (int i = 0; i < kShipsPerSide; ++i) {
            const float across = (static_cast<float>(i) - (kShipsPerSide - 1) / 2.0f) * kShipSpacing;
            ships_.push_back(Add("behav_npcship", "fleet_light_cruiser", "meridian",
                                 glm::vec3(across, 0.0f, kNearLine), kFacingAhead));
            ships_.push_back(Add("behav_npcship", i % 3 ? "skarn_raider" : "skarn_carrier", "skarn",
                                 glm::vec3(across + kShipSpacing / 2, 0.0f, kNearLine + kLineGap), kFacingBack));
        }
        // Each ship engages the enemy across from it.
        for (size_t i = 0; i < ships_.size(); ++i) {
            const uint64_t enemy = ships_[i ^ 1];
            ObjectDataBlob& blob = world_->GetSpaceObject(ships_[i])->data_set;
            const glm::vec3 at = world_->GetSpaceObject(enemy)->pos;
            WriteUInt64(blob, npcship::kTargetId, enemy);
            WriteUInt64(blob, shipkeys::kWeaponTargetUid, enemy);
            WriteFloat(blob, npcship::kTargetPosX, at.x);
            WriteFloat(blob, npcship::kTargetPosY, at.y);
            WriteFloat(blob, npcship::kTargetPosZ, at.z);
            WriteFloat(blob, npcship::kThrottle, kCruiseThrottle);
        }
        world_->Container()->ReinsertMoved();
    }

    uint64_t Add(const char* behaviour, const char* key, const char* side, const glm::vec3& at, float heading,
                 uint16_t abits = 0)
    {
        SpaceObject* object = world_->GetSpaceObject(world_->CreateSpaceObject(behaviour, key, abits));
        object->side = side;
        world_->RepositionSpaceObject(object, at.x, at.y, at.z);
        object->rot_quat = glm::angleAxis(heading, glm::vec3(0, 1, 0));
        return object->uniqueID;
    }

    // Through the world's own launcher, from the ship's first tube (kept
    // loaded), at the ship's weapons target.
    void LaunchTorpedoes()
    {
        for (size_t i = 0; i < ships_.size(); ++i) {
            if ((tick_ + static_cast<int>(i) * kTorpedoIntervalTicks / Ships()) % kTorpedoIntervalTicks != 0)
                continue;
            if (SpaceObject* ship = world_->GetSpaceObject(ships_[i]))
                launched_ += world_->LaunchTorpedo(*ship, 0, true) != 0 ? 1 : 0;
        }
    }

    OffscreenBench offscreen_{kWidth, kHeight};
    std::unique_ptr<RenderManager> manager_;
    std::unique_ptr<Simulation> world_;
    DestroyQueue destroys_;
    std::vector<uint64_t> ships_;
    int tick_ = 0;
    int launched_ = 0;
    bool ready_ = false;
};

// Each measured iteration is one tick and one frame, as the game's loop runs
// them while the view keeps up with the world.
void BM_MainScreenFight(benchmark::State& state)
{
    FightFixture fixture;
    if (!fixture.Ready()) {
        state.SkipWithError("no GL 3.3 context on the offscreen driver, or no generated meshes and sky");
        return;
    }
    fixture.WarmUp();
    for (auto _ : state) {
        fixture.Step();
        fixture.Frame();
    }
    state.counters["ships"] = fixture.Ships();
    state.counters["objects"] = static_cast<double>(fixture.Objects());
    state.counters["effects"] = static_cast<double>(fixture.EffectEvents());
    state.counters["torpedoes"] = fixture.Launched();
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MainScreenFight)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
