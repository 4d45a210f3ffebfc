// The registry's box queries against a scan of every object, and the frame's
// re-insertion of objects that left their fat boxes, at world sizes from a
// small mission to a crowded one.

#include "game/world/ObjectId.h"
#include "game/world/SuperContainer.h"
#include "game/world/SuperContainerObject.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace {

// A square sector 200,000 units across; the bounce search looks 3000 units
// around an object; objects' fat radii are 2r + 1 for exclusion radii r of
// 20 to 200.
constexpr float kWorldHalfSize = 100000.0f;
constexpr float kSearchHalfSize = 3000.0f;
constexpr float kMinFatRadius = 41.0f;
constexpr float kMaxFatRadius = 401.0f;
// Share of objects that leave their box in one frame of the re-insert bench.
constexpr int kMovedEveryNth = 10;

struct World {
    explicit World(int count, bool alongALine = false)
    {
        std::uniform_real_distribution<float> coordinate(-kWorldHalfSize, kWorldHalfSize);
        std::uniform_real_distribution<float> radius(kMinFatRadius, kMaxFatRadius);
        for (int i = 0; i < count; ++i) {
            auto* object = new SuperContainerObject(static_cast<uint64_t>(i + 1) | kSpaceObjectIdBit);
            const float x = alongALine ? -kWorldHalfSize + i * (2.0f * kWorldHalfSize / count) : coordinate(random);
            object->pos = {x, 0.0f, alongALine ? 0.0f : coordinate(random)};
            object->SetFatBox(radius(random));
            container.Add(object);
        }
    }

    PlaneBox SearchAroundSomeObject()
    {
        const std::vector<SuperContainerObject*>& objects = container.Objects();
        const SuperContainerObject* centre = objects[pick(random) % objects.size()];
        return PlaneBox::Around(centre->pos.x, centre->pos.z, kSearchHalfSize);
    }

    std::mt19937 random{12345};
    std::uniform_int_distribution<size_t> pick;
    SuperContainer container;
};

void BM_TreeQuery(benchmark::State& state)
{
    World world(static_cast<int>(state.range(0)));
    int64_t found = 0;
    for (auto _ : state) {
        found += world.container.Query(world.SearchAroundSomeObject());
        benchmark::DoNotOptimize(world.container.QueryResults().data());
    }
    state.counters["found/query"] = benchmark::Counter(static_cast<double>(found) / state.iterations());
}

void BM_BruteForceQuery(benchmark::State& state)
{
    World world(static_cast<int>(state.range(0)));
    std::vector<SuperContainerObject*> results;
    int64_t found = 0;
    for (auto _ : state) {
        const PlaneBox box = world.SearchAroundSomeObject();
        results.clear();
        for (SuperContainerObject* object : world.container.Objects())
            if (box.Overlaps(object->fatBox))
                results.push_back(object);
        found += static_cast<int64_t>(results.size());
        benchmark::DoNotOptimize(results.data());
    }
    state.counters["found/query"] = benchmark::Counter(static_cast<double>(found) / state.iterations());
}

// One frame: every tenth object has left its box by up to twice its fat radius.
void BM_ReinsertMoved(benchmark::State& state)
{
    World world(static_cast<int>(state.range(0)));
    std::uniform_real_distribution<float> step(-2.0f, 2.0f);
    const std::vector<SuperContainerObject*>& objects = world.container.Objects();
    for (auto _ : state) {
        state.PauseTiming();
        for (size_t i = 0; i < objects.size(); i += kMovedEveryNth) {
            SuperContainerObject* object = objects[i];
            const float radius = (object->fatBox.maxX - object->fatBox.minX) / 2.0f;
            object->pos.x += step(world.random) * radius;
            object->pos.z += step(world.random) * radius;
            object->SetFatBox(radius);
            world.container.QueueReinsert(object);
        }
        state.ResumeTiming();
        world.container.ReinsertMoved();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(objects.size() / kMovedEveryNth));
}

// The tree is never rebalanced: objects added in order along a line build a
// deep chain. This shows what such a mission costs.
void BM_TreeQueryAfterInsertsAlongALine(benchmark::State& state)
{
    World world(static_cast<int>(state.range(0)), true);
    for (auto _ : state)
        benchmark::DoNotOptimize(world.container.Query(world.SearchAroundSomeObject()));
    state.counters["height"] = world.container.Nodes()[world.container.Root()].height;
}

}  // namespace

BENCHMARK(BM_TreeQuery)->Arg(1000)->Arg(5000)->Arg(20000);
BENCHMARK(BM_BruteForceQuery)->Arg(1000)->Arg(5000)->Arg(20000);
BENCHMARK(BM_ReinsertMoved)->Arg(1000)->Arg(5000)->Arg(20000);
BENCHMARK(BM_TreeQueryAfterInsertsAlongALine)->Arg(1000)->Arg(5000)->Arg(20000);
