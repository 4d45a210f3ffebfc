// One server step (frame step with its slow pass when due, then the tick) of
// a world at war: a third of the objects are computer ships, drones and
// missiles fighting in clusters, the rest drifting rocks; from a small
// mission to a crowded one.

#include "game/behaviours/NPCShipKeys.h"
#include "game/behaviours/SpaceObjectAI.h"
#include "game/world/BehaviourHookMap.h"
#include "game/world/ShipKeys.h"
#include "game/world/Simulation.h"
#include "game/world/WorldServices.h"

#include <benchmark/benchmark.h>
#include <glm/gtc/quaternion.hpp>

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

namespace {

// A square sector 200,000 units across; fights in clusters 4,000 across,
// each of ten ships, ten drones and ten missiles.
constexpr float kWorldHalfSize = 100000.0f;
constexpr float kClusterHalfSize = 2000.0f;
constexpr int kPerKindInCluster = 10;
constexpr float kMinRockRadius = 20.0f;
constexpr float kMaxRockRadius = 200.0f;
constexpr float kTwoPi = 6.2831853f;
const char* const kMissileDefinition = "gui_text:Homing;speed:15;damage:20;lifetime:600;behavior:homing";

// Destroys are carried out after the step, as the server's frame does.
struct DestroyQueue : PendingDestroySink {
    void QueueDestroy(uint64_t id) override { ids.push_back(id); }
    std::vector<uint64_t> ids;
};

struct CombatWorld {
    explicit CombatWorld(int count)
    {
        RegisterBehaviourHooks();
        world.Reset(true, "");
        world.paused = false;
        world.SetPendingDestroySink(&destroys);
        const int active = count / 3;
        const int clusters = std::max(1, active / (3 * kPerKindInCluster));
        for (int cluster = 0; cluster < clusters; ++cluster)
            AddCluster(std::min(kPerKindInCluster, active / 3));
        for (int i = 0; i < count - 3 * clusters * std::min(kPerKindInCluster, active / 3); ++i)
            AddRock();
        Step();
    }

    glm::vec3 Anywhere() { return {sector(random), 0.0f, sector(random)}; }

    SpaceObject* Create(const char* behaviour, const char* dataTag, uint16_t abits, glm::vec3 at)
    {
        SpaceObject* object = world.GetSpaceObject(world.CreateSpaceObject(behaviour, dataTag, abits));
        object->rot_quat = glm::angleAxis(heading(random), glm::vec3(0.0f, 1.0f, 0.0f));
        world.RepositionSpaceObject(object, at.x, at.y, at.z);
        return object;
    }

    void AddRock()
    {
        SpaceObject* rock = Create("behav_asteroid", "asteroid_rock", SpaceObject::kStaticBit, Anywhere());
        rock->exclusion_radius = rockRadius(random);
    }

    // Ships of two sides, each ordered onto an enemy of the cluster; drones
    // and missiles homing on them.
    void AddCluster(int perKind)
    {
        const glm::vec3 centre = Anywhere();
        std::uniform_real_distribution<float> spread(-kClusterHalfSize, kClusterHalfSize);
        auto near = [&] { return centre + glm::vec3(spread(random), 0.0f, spread(random)); };
        std::vector<SpaceObject*> ships;
        for (int i = 0; i < perKind; ++i) {
            SpaceObject* ship = Create("behav_npcship", i % 2 ? "skarn_raider" : "fleet_light_cruiser", 0, near());
            ship->side = i % 2 ? "skarn" : "meridian";
            ships.push_back(ship);
        }
        for (size_t i = 0; i < ships.size(); ++i) {
            const SpaceObject& enemy = *ships[(i + 1) % ships.size()];
            ObjectDataBlob& blob = ships[i]->data_set;
            WriteUInt64(blob, npcship::kTargetId, enemy.uniqueID);
            WriteFloat(blob, npcship::kTargetPosX, enemy.pos.x);
            WriteFloat(blob, npcship::kTargetPosZ, enemy.pos.z);
            WriteFloat(blob, npcship::kThrottle, 1.0f);
        }
        for (int i = 0; i < perKind; ++i) {
            SpaceObject* drone = Create("behav_drone", "drone", SpaceObject::kFastMoverBit, near());
            drone->cur_speed = 10.0f;
            WriteUInt64(drone->data_set, shipkeys::kWeaponTargetUid, ships[i % ships.size()]->uniqueID);
            AddMissile(near(), ships[(i + 1) % ships.size()]->uniqueID);
        }
    }

    // A missile set up as a launcher sets one up: definition first, then the
    // behaviour's assignment.
    void AddMissile(glm::vec3 at, uint64_t target)
    {
        auto made = std::make_unique<SpaceObject>(0, "behav_missile", "torpedo", SpaceObject::kFastMoverBit, 0.0f,
                                                  0.0f, 400.0f);
        SpaceObject* missile = made.get();
        missile->pos = at;
        missile->rot_quat = glm::angleAxis(heading(random), glm::vec3(0.0f, 1.0f, 0.0f));
        missile->SetFatBox(400.0f);
        WriteString(missile->data_set, shipkeys::kTorpedoDefinition, kMissileDefinition);
        world.AddPendingObject(std::move(made));
        CallBehaviourHook(world, missile, kBehaviourAssigned, nullptr);
        WriteUInt64(missile->data_set, shipkeys::kWeaponTargetUid, target);
    }

    void Step()
    {
        world.FrameUpdate();
        world.Tick();
        for (uint64_t id : destroys.ids)
            world.DeleteSpaceObject(id);
        destroys.ids.clear();
    }

    Simulation world;
    DestroyQueue destroys;
    std::mt19937 random{12345};
    std::uniform_real_distribution<float> sector{-kWorldHalfSize, kWorldHalfSize};
    std::uniform_real_distribution<float> rockRadius{kMinRockRadius, kMaxRockRadius};
    std::uniform_real_distribution<float> heading{0.0f, kTwoPi};
};

// Every step, slow passes included; the fight wears on over the iterations,
// as it would in play.
void BM_CombatStep(benchmark::State& state)
{
    CombatWorld bench(static_cast<int>(state.range(0)));
    for (auto _ : state)
        bench.Step();
    state.counters["objects"] = static_cast<double>(bench.world.Container()->Objects().size());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_CombatStep)->Arg(1000)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace
