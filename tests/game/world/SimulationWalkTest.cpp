// Behaviours and mission scripts run inside the world's walks and may delete
// objects, make new ones or reset the world while a walk runs. Each case does
// that from a hook and then keeps using what it holds, in the tick and in the
// frame step's slow pass; the sanitizer build catches any touch of freed
// memory.

#include "game/world/Simulation.h"

#include "SimulationTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

using simtest::WorldTest;

struct Step {
    const char* name;
    int32_t message;                       // what the hook receives in this step
    std::function<void(Simulation&)> run;  // one step, due to run every hook once
};

class WalkTest : public WorldTest {
protected:
    void SetUp() override
    {
        WorldTest::SetUp();
        ids.clear();
        for (int i = 0; i < 4; ++i)
            ids.push_back(Make(i * 100.0f, 0, 5.0f)->uniqueID);
    }

    // Both walks, each starting from a fresh four-object world whose slow pass
    // is due.
    std::vector<Step> Steps()
    {
        return {
            {"tick", kBehaviourTick, [](Simulation& w) { w.Tick(); }},
            {"slow_pass", kBehaviourSlowTick,
             [](Simulation& w) {
                 w.slowPassTimer = simulationTimer{};
                 w.FrameUpdate();
             }},
        };
    }

    void Visited(int32_t message, std::vector<uint64_t>& out) const
    {
        out.clear();
        for (const simtest::HookCall& call : hook().calls)
            if (call.message == message)
                out.push_back(call.id);
    }

    std::vector<uint64_t> ids;
};

TEST_F(WalkTest, a_hook_deleting_another_object_skips_it_and_frees_it_after_the_walk)
{
    for (const Step& step : Steps()) {
        SetUp();
        const uint64_t victim = ids[2];
        hook().calls.clear();
        hook().body = [&](SpaceObject* object, int32_t message, void*) {
            if (message == step.message && object->uniqueID == ids[1])
                world.DeleteSpaceObject(victim);
        };
        step.run(world);
        std::vector<uint64_t> visited;
        Visited(step.message, visited);
        EXPECT_EQ(visited, (std::vector<uint64_t>{ids[0], ids[1], ids[3]})) << step.name;
        EXPECT_FALSE(world.SpaceObjectExists(victim)) << step.name;
        hook().body = nullptr;
        RunTicks(2);  // the world goes on without it
    }
}

TEST_F(WalkTest, a_hook_deleting_its_own_object_may_still_touch_it)
{
    for (const Step& step : Steps()) {
        SetUp();
        hook().calls.clear();
        hook().body = [&](SpaceObject* object, int32_t message, void*) {
            if (message != step.message || object->uniqueID != ids[0])
                return;
            world.DeleteSpaceObject(object->uniqueID);
            object->data_set.SetFloat("last_words", 1.0f, 0, "a");
            object->pos.x += 1.0f;
        };
        step.run(world);
        std::vector<uint64_t> visited;
        Visited(step.message, visited);
        EXPECT_EQ(visited, (std::vector<uint64_t>{ids[0], ids[1], ids[2], ids[3]})) << step.name;
        EXPECT_FALSE(world.SpaceObjectExists(ids[0])) << step.name;
    }
}

TEST_F(WalkTest, objects_a_hook_creates_join_the_next_walk)
{
    for (const Step& step : Steps()) {
        SetUp();
        std::vector<uint64_t> made;
        hook().calls.clear();
        hook().body = [&](SpaceObject*, int32_t message, void*) {
            if (message == step.message && made.size() < 3)
                made.push_back(world.CreateSpaceObject(simtest::kScriptedBehaviour, "", 0));
        };
        step.run(world);
        std::vector<uint64_t> visited;
        Visited(step.message, visited);
        EXPECT_EQ(visited, ids) << step.name << ": made objects wait";
        hook().body = nullptr;
        hook().calls.clear();
        step.run(world);
        Visited(step.message, visited);
        EXPECT_EQ(visited.size(), ids.size() + made.size()) << step.name;
    }
}

TEST_F(WalkTest, a_hook_resetting_the_world_ends_the_walk_and_the_step)
{
    for (const Step& step : Steps()) {
        SetUp();
        world.AddBlast("nuke", "", 0, 0, {0, 0, 0}, 5, 100);
        const uint64_t runBefore = world.RunCount();
        hook().calls.clear();
        hook().body = [&](SpaceObject* object, int32_t message, void*) {
            if (message != step.message || object->uniqueID != ids[1])
                return;
            world.Clear();
            world.Reset(true, "");
            world.paused = false;
            object->pos.z += 1.0f;  // the old world is freed only when the walk ends
            world.CreateSpaceObject(simtest::kScriptedBehaviour, "", 0);
        };
        step.run(world);
        std::vector<uint64_t> visited;
        Visited(step.message, visited);
        EXPECT_EQ(visited, (std::vector<uint64_t>{ids[0], ids[1]})) << step.name;
        EXPECT_EQ(world.RunCount(), runBefore + 2) << step.name;
        EXPECT_EQ(world.Container()->Objects().size(), 1u) << step.name;
        EXPECT_TRUE(world.blasts.empty()) << step.name;
        hook().body = nullptr;
        RunTicks(3);
        EXPECT_EQ(world.TickCount(), 3) << step.name;
    }
}

TEST_F(WalkTest, a_mission_resetting_the_world_from_a_blast_stops_the_blast)
{
    world.AddBlast("nuke", "", 0, 0, {150, 0, 0}, 1, 300);
    int events = 0;
    scripts.then = [&](const EventMessage&) {
        ++events;
        world.Clear();
        world.Reset(true, "");
        world.paused = false;
    };
    while (world.TickCount() < 30)
        world.Tick();
    EXPECT_EQ(events, 1) << "the other hit objects are gone with the old world";
    EXPECT_TRUE(world.blasts.empty());
}

TEST_F(WalkTest, a_mission_deleting_the_next_target_of_a_blast_spares_it)
{
    world.AddBlast("nuke", "", 0, 0, {150, 0, 0}, 1, 300);
    std::vector<uint64_t> hit;
    scripts.then = [&](const EventMessage& e) {
        hit.push_back(e.selected_id);
        if (hit.size() == 1)
            world.DeleteSpaceObject(ids[1]);
    };
    while (world.TickCount() < 30)
        world.Tick();
    EXPECT_EQ(hit, (std::vector<uint64_t>{ids[0], ids[2], ids[3]}));
}

TEST_F(WalkTest, a_mission_deleting_a_striking_drone_outside_any_walk_is_harmless)
{
    SpaceObject* drone = world.GetSpaceObject(ids[0]);
    SpaceObject* target = world.GetSpaceObject(ids[1]);
    scripts.then = [&](const EventMessage& e) { world.DeleteSpaceObject(e.origin_id); };
    world.DroneHitTarget(drone, 0, target);
    EXPECT_FALSE(world.SpaceObjectExists(ids[0]));
    EXPECT_EQ(destroys.ids, std::vector<uint64_t>{ids[0]});
    EXPECT_EQ(particles.bursts.size(), 2u);
}

TEST_F(WalkTest, pending_objects_let_go_by_a_clear_live_until_the_next_step)
{
    SpaceObject* made = nullptr;
    hook().body = [&](SpaceObject*, int32_t message, void*) {
        if (message != kBehaviourTick || made)
            return;
        auto object = std::make_unique<SpaceObject>(0, "", "", 0, 0, 0, 1);
        made = object.get();
        world.AddPendingObject(std::move(object));
        world.Clear();
        world.Reset(true, "");
        world.paused = false;
        made->cur_speed = 5.0f;  // its maker is still setting it up
    };
    world.Tick();
    EXPECT_TRUE(world.pendingNewObjects.empty());
    hook().body = nullptr;
    RunTicks(1);
}

}  // namespace

namespace {

using simtest::WorldTest;

TEST_F(WorldTest, a_pending_object_whose_id_a_new_run_reissued_is_dropped)
{
    world.AddPendingObject(std::make_unique<SpaceObject>(0, "", "", 0, 0, 0, 1));  // takes id 4
    world.Reset(true, "");
    const uint64_t reissued = world.CreateSpaceObject("", "", 0);  // id 4 again
    world.FrameUpdate();
    EXPECT_TRUE(world.pendingNewObjects.empty());
    EXPECT_EQ(world.Container()->Objects().size(), 1u);
    EXPECT_EQ(world.GetSpaceObject(reissued)->tick_type, "");
}

TEST_F(WorldTest, an_object_whose_set_up_reset_the_world_is_not_registered)
{
    hook().body = [&](SpaceObject*, int32_t message, void*) {
        if (message != kBehaviourAssigned)
            return;
        hook().body = nullptr;
        world.Reset(true, "");
        for (int i = 0; i < 3; ++i)
            world.CreateSpaceObject("", "", 0);
    };
    EXPECT_EQ(world.CreateSpaceObject(simtest::kScriptedBehaviour, "", 0), 0u);
    EXPECT_EQ(world.Container()->Objects().size(), 3u);
}

}  // namespace
