// One server tick of the world (every object moved, bounced and handed to a
// behaviour hook that does nothing) and the frame step that follows, whose
// work is re-filing the tree leaves of objects that left their fat boxes; at
// world sizes from a small mission to a crowded one. Also the making of such
// a world, object by object, as a mission makes it.

#include "game/world/BehaviourHookMap.h"
#include "game/world/Simulation.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>

namespace {

// A square sector 200,000 units across, exclusion radii of 20 to 200 and
// speeds of up to 20 units a tick, in headings all round.
constexpr float kWorldHalfSize = 100000.0f;
constexpr float kMinExclusionRadius = 20.0f;
constexpr float kMaxExclusionRadius = 200.0f;
constexpr float kMaxSpeed = 20.0f;
constexpr float kTwoPi = 6.2831853f;
// Far enough ahead that the slow pass never runs inside a measurement.
constexpr int64_t kNeverDue = int64_t{1} << 40;

const char* const kIdleBehaviour = "behav_bench_idle";

void IdleHook(Simulation&, SpaceObject*, int32_t, void*) {}

// A running server world of moving objects with the idle behaviour.
struct BenchWorld {
    explicit BenchWorld(int count)
    {
        if (!AIHookMap().IsRegistered(kIdleBehaviour))
            AIHookMap().Register(kIdleBehaviour, IdleHook);
        world.Reset(true, "");
        world.paused = false;
        Populate(count);
        world.slowPassTimer.tick = kNeverDue;
        world.slowPassTimer.generation = world.Generation();
    }

    // Each object made, set up and placed, then the frame step that files
    // them in the tree.
    void Populate(int count)
    {
        std::mt19937 random(12345);
        std::uniform_real_distribution<float> coordinate(-kWorldHalfSize, kWorldHalfSize);
        std::uniform_real_distribution<float> radius(kMinExclusionRadius, kMaxExclusionRadius);
        std::uniform_real_distribution<float> speed(0.0f, kMaxSpeed);
        std::uniform_real_distribution<float> heading(0.0f, kTwoPi);
        for (int i = 0; i < count; ++i) {
            SpaceObject* object = world.GetSpaceObject(world.CreateSpaceObject(kIdleBehaviour, "", 0));
            object->exclusion_radius = radius(random);
            object->fat_radius = 2.0f * object->exclusion_radius + 1.0f;
            object->cur_speed = speed(random);
            object->steer_yaw = 0.001f;
            object->rot_quat = glm::angleAxis(heading(random), glm::vec3(0.0f, 1.0f, 0.0f));
            world.RepositionSpaceObject(object, coordinate(random), 0.0f, coordinate(random));
        }
        world.FrameUpdate();
    }

    Simulation world;
};

void BM_WorldTick(benchmark::State& state)
{
    BenchWorld bench(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        bench.world.Tick();
        state.PauseTiming();
        bench.world.FrameUpdate();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_WorldTick)->Arg(1000)->Arg(5000)->Arg(20000)->Unit(benchmark::kMicrosecond);

void BM_FrameStepReinsertions(benchmark::State& state)
{
    BenchWorld bench(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        bench.world.Tick();
        state.ResumeTiming();
        bench.world.FrameUpdate();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FrameStepReinsertions)->Arg(1000)->Arg(5000)->Arg(20000)->Unit(benchmark::kMicrosecond);

// Making the world: every object created, placed and filed, from an empty
// run of the world.
void BM_CreateObjects(benchmark::State& state)
{
    BenchWorld bench(0);
    for (auto _ : state) {
        state.PauseTiming();
        bench.world.Reset(true, "");
        state.ResumeTiming();
        bench.Populate(static_cast<int>(state.range(0)));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_CreateObjects)->Arg(1000)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace
