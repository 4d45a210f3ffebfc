#include "game/world/Simulation.h"

#include "SimulationTestSupport.h"
#include "engine/base/QelNetworkMessage.h"
#include "helper/CRand.h"

#include <glm/geometric.hpp>
#include <glm/gtc/quaternion.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

using simtest::HookCall;
using simtest::WorldTest;

constexpr float kHalfPi = 1.57079632679f;

std::vector<int32_t> MessagesFor(const std::vector<HookCall>& calls, uint64_t id)
{
    std::vector<int32_t> messages;
    for (const HookCall& call : calls)
        if (call.id == id)
            messages.push_back(call.message);
    return messages;
}

TEST_F(WorldTest, a_paused_world_neither_ticks_nor_admits_pending_objects)
{
    world.paused = true;
    world.AddPendingObject(std::make_unique<SpaceObject>(0, "", "", 0, 0, 0, 1));
    world.FrameUpdate();
    world.Tick();
    EXPECT_EQ(world.TickCount(), 0);
    EXPECT_EQ(world.pendingNewObjects.size(), 1u);
}

TEST_F(WorldTest, an_object_made_during_a_tick_first_moves_after_the_next_frame_step)
{
    SpaceObject* maker = Make(0, 0);
    uint64_t madeId = 0;
    hook().body = [&](SpaceObject*, int32_t message, void*) {
        if (message != kBehaviourTick || madeId != 0)
            return;
        auto made = std::make_unique<SpaceObject>(0, simtest::kScriptedBehaviour, "", 0, 0, 0, 1);
        made->cur_speed = 1.0f;
        madeId = made->uniqueID;
        world.AddPendingObject(std::move(made));
    };
    world.Tick();
    ASSERT_NE(madeId, 0u);
    EXPECT_EQ(world.GetSpaceObject(madeId), nullptr);
    world.Tick();  // no frame step between: still waiting
    EXPECT_EQ(world.GetSpaceObject(madeId), nullptr);
    world.FrameUpdate();
    SpaceObject* made = world.GetSpaceObject(madeId);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->pos.z, 0.0f);
    world.Tick();
    EXPECT_EQ(made->pos.z, 1.0f);
    EXPECT_EQ(MessagesFor(hook().calls, madeId), std::vector<int32_t>{kBehaviourTick});
    EXPECT_NE(maker, nullptr);
}

TEST_F(WorldTest, the_slow_pass_runs_at_most_once_per_frame_and_every_fifteen_ticks)
{
    SpaceObject* mover = Make(0, 0);
    hook().calls.clear();
    auto slowTicks = [&] {
        const auto messages = MessagesFor(hook().calls, mover->uniqueID);
        return std::count(messages.begin(), messages.end(), kBehaviourSlowTick);
    };
    // Make's frame step ran the first pass at tick 0; the next is due at 15.
    for (int i = 0; i < 40; ++i)
        world.Tick();
    world.FrameUpdate();
    EXPECT_EQ(slowTicks(), 1) << "one frame of many ticks runs the pass once";
    world.FrameUpdate();
    EXPECT_EQ(slowTicks(), 1) << "not due again until tick 55";
    hook().calls.clear();
    RunTicks(46);  // a frame before each of ticks 41..86
    EXPECT_EQ(slowTicks(), 3) << "frames at ticks 55, 70 and 85";
}

TEST_F(WorldTest, the_slow_pass_fades_exciting_and_skips_static_objects_and_clients)
{
    world.Reset(true, "");  // a new generation makes the pass due at once
    auto* mover = new SpaceObject(0, simtest::kScriptedBehaviour, "", 0, 0, 0, 1);
    auto* rock = new SpaceObject(0, simtest::kScriptedBehaviour, "", SpaceObject::kStaticBit, 0, 0, 1);
    auto* quiet = new SpaceObject(0, simtest::kScriptedBehaviour, "", 0, 0, 0, 1);
    mover->data_set.SetFloat("exciting", 100.0f, 0, "a");
    rock->data_set.SetFloat("exciting", 0.2f, 0, "a");
    for (SpaceObject* object : {mover, rock, quiet})
        world.Container()->Add(object);
    hook().calls.clear();
    world.FrameUpdate();
    EXPECT_FLOAT_EQ(mover->data_set.GetElement("exciting", 0).floatValue, 99.5f);
    EXPECT_FLOAT_EQ(rock->data_set.GetElement("exciting", 0).floatValue, 0.0f);
    EXPECT_EQ(quiet->data_set.FindElement(HashMessageName("exciting"), 0), nullptr) << "the pass adds no values";
    EXPECT_EQ(MessagesFor(hook().calls, mover->uniqueID), std::vector<int32_t>{kBehaviourSlowTick});
    EXPECT_TRUE(MessagesFor(hook().calls, rock->uniqueID).empty());

    world.Reset(false, "");
    world.Container()->Add(new SpaceObject(0, simtest::kScriptedBehaviour, "", 0, 0, 0, 1));
    hook().calls.clear();
    world.FrameUpdate();
    EXPECT_TRUE(hook().calls.empty()) << "clients never run the slow pass";
}

TEST_F(WorldTest, static_objects_only_spin_and_get_no_tick_message)
{
    SpaceObject* rock = Make(50, 60, 5.0f, SpaceObject::kStaticBit);
    rock->steer_yaw = kHalfPi;
    rock->cur_speed = 10.0f;
    hook().calls.clear();
    world.Tick();
    EXPECT_EQ(rock->pos, glm::vec3(50, 0, 60));
    const glm::vec3 forward = rock->ForwardVector();
    EXPECT_NEAR(forward.x, 1.0f, 1e-5f);
    EXPECT_NEAR(forward.z, 0.0f, 1e-5f);
    EXPECT_TRUE(hook().calls.empty());
}

TEST_F(WorldTest, the_server_turns_and_moves_along_the_new_heading)
{
    struct Case {
        const char* name;
        bool local;
        float pitchFirst;  // a pitch already held, to tell world yaw from local yaw
        glm::vec3 expectedForward;
    };
    // Pitched down a quarter turn the nose points along -Y... (R(X, a) turns +Z toward -Y).
    const Case cases[] = {
        {"world_yaw_on_a_level_ship", false, 0.0f, {1, 0, 0}},
        {"local_yaw_on_a_level_ship", true, 0.0f, {1, 0, 0}},
        {"world_yaw_keeps_a_pitched_nose_pointing_down", false, kHalfPi, {0, -1, 0}},
        {"local_yaw_swings_a_pitched_nose_sideways", true, kHalfPi, {1, 0, 0}},
    };
    for (const Case& c : cases) {
        SpaceObject* ship = Make(0, 0);
        ship->rot_quat = glm::angleAxis(c.pitchFirst, glm::vec3(1, 0, 0));
        ship->local_steering_flag = c.local;
        ship->turn_yaw = kHalfPi;
        ship->cur_speed = 2.0f;
        world.Tick();
        const glm::vec3 forward = ship->ForwardVector();
        EXPECT_NEAR(forward.x, c.expectedForward.x, 1e-5f) << c.name;
        EXPECT_NEAR(forward.y, c.expectedForward.y, 1e-5f) << c.name;
        EXPECT_NEAR(forward.z, c.expectedForward.z, 1e-5f) << c.name;
        EXPECT_NEAR(glm::length(ship->pos - c.expectedForward * 2.0f), 0.0f, 1e-4f) << c.name;
        EXPECT_EQ(ship->turn_yaw, 0.0f) << c.name;
        EXPECT_EQ(ship->lastUpdateTick, world.TickCount()) << c.name;
        world.DeleteSpaceObject(ship->uniqueID);
    }
}

TEST_F(WorldTest, steering_rates_persist_while_one_tick_turns_are_used_up)
{
    SpaceObject* ship = Make(0, 0);
    ship->steer_yaw = 0.1f;
    ship->turn_yaw = 0.2f;
    world.Tick();
    world.Tick();
    EXPECT_EQ(ship->steer_yaw, 0.1f);
    EXPECT_NEAR(glm::angle(ship->rot_quat), 0.4f, 1e-5f);
}

TEST_F(WorldTest, client_copies_snap_when_far_from_the_server_state_and_ease_when_near)
{
    struct Case {
        const char* name;
        float targetX;
        float expectedX;
    };
    const Case cases[] = {
        {"beyond_2000_snaps", 2500.0f, 2500.0f},
        {"exactly_2000_eases", 2000.0f, 2000.0f / 101.0f},
        {"near_eases_one_part_in_101", 101.0f, 1.0f},
    };
    world.Reset(false, "");
    world.paused = false;
    for (const Case& c : cases) {
        auto* copy = new SpaceObject(0, "", "", 0, 0, 0, 1);
        world.Container()->Add(copy);
        copy->targetPos = {c.targetX, 0, 0};
        world.Tick();
        EXPECT_NEAR(copy->pos.x, c.expectedX, 1e-3f) << c.name;
        world.DeleteSpaceObject(copy->uniqueID);
    }
}

TEST_F(WorldTest, client_copies_carry_the_server_state_forward_and_turn_toward_it)
{
    world.Reset(false, "");
    world.paused = false;
    auto* copy = new SpaceObject(0, "", "", 0, 0, 0, 1);
    world.Container()->Add(copy);
    copy->cur_speed = 3.0f;
    copy->targetOrientation = glm::angleAxis(kHalfPi, glm::vec3(0, 1, 0));  // facing +X
    world.Tick();
    EXPECT_NEAR(copy->targetPos.x, 3.0f, 1e-5f);
    EXPECT_NEAR(glm::angle(copy->rot_quat), 0.08f * kHalfPi, 1e-4f);
    EXPECT_NEAR(glm::length(copy->rot_quat), 1.0f, 1e-6f);

    copy->targetOrientation = glm::quat(0, 0, 0, 0);  // nonsense from the wire
    copy->rot_quat = glm::quat(0, 0, 0, 0);
    world.Tick();
    EXPECT_EQ(copy->rot_quat, glm::quat(1, 0, 0, 0));
    EXPECT_FALSE(std::isnan(copy->pos.x));
}

// Found by fuzzing: a server's full object with a speed near the largest
// float carried a console's copy to infinity in one tick, and to NaN (which
// stops the program) in the next. Both worlds stop such an object at the edge
// of the numbers instead.
TEST_F(WorldTest, objects_at_the_edge_of_the_float_range_stay_finite_numbers)
{
    constexpr float kHuge = 3e38f;
    for (const bool server : {true, false}) {
        world.Reset(server, "");
        world.paused = false;
        auto* racer = new SpaceObject(0, "", "", 0, 0, 0, 1);
        world.Container()->Add(racer);
        racer->cur_speed = kHuge;
        racer->targetPos = {kHuge, 0, 0};
        racer->targetOrientation = glm::angleAxis(kHalfPi, glm::vec3(0, 1, 0));
        racer->rot_quat = racer->targetOrientation;
        auto* far = new SpaceObject(0, "", "", 0, 0, 0, 1);
        world.Container()->Add(far);
        far->pos = far->targetPos = {-kHuge, 0, kHuge};
        for (int tick = 0; tick < 5; ++tick) {
            world.Tick();
            world.FrameUpdate();
        }
        for (const SpaceObject* object : {racer, far}) {
            EXPECT_TRUE(std::isfinite(object->pos.x) && std::isfinite(object->pos.z)) << "server " << server;
            EXPECT_TRUE(std::isfinite(object->targetPos.x)) << "server " << server;
        }
        world.Clear();
    }
}

TEST_F(WorldTest, an_object_leaving_its_fat_box_is_refiled_in_the_tree)
{
    SpaceObject* mover = Make(0, 0, 1.0f);  // fat radius 3
    mover->cur_speed = 2.0f;
    world.Tick();
    EXPECT_EQ(mover->fatBox, PlaneBox::Around(0, 0, 3.0f));  // z = 2: still inside
    world.Tick();
    EXPECT_EQ(mover->fatBox, PlaneBox::Around(0, 4.0f, 3.0f));
    world.FrameUpdate();
    EXPECT_EQ(world.Container()->Query(PlaneBox::Around(0, 6.5f, 0.1f)), 1);
}

struct BounceCase {
    const char* name;
    float radiusA;
    float radiusB;
    uint16_t abitsB;
    glm::vec3 expectedA;
    glm::vec3 expectedB;
};

TEST_F(WorldTest, overlapping_objects_are_pushed_to_touching_distance)
{
    // A stands at the origin, B at x = 3; both overlap.
    const BounceCase cases[] = {
        {"smaller_a_moves_out", 1.0f, 4.0f, 0, {-2, 0, 0}, {3, 0, 0}},
        {"equal_radii_move_the_other", 2.0f, 2.0f, 0, {0, 0, 0}, {4, 0, 0}},
        {"larger_a_pushes_b", 4.0f, 1.0f, 0, {0, 0, 0}, {5, 0, 0}},
        {"static_b_never_moves", 4.0f, 1.0f, SpaceObject::kStaticBit, {-2, 0, 0}, {3, 0, 0}},
    };
    for (const BounceCase& c : cases) {
        world.Reset(true, "");
        auto* a = new SpaceObject(0, "", "", 0, c.radiusA, 0, 10);
        auto* b = new SpaceObject(0, "", "", c.abitsB, c.radiusB, 0, 10);
        b->pos = {3, 0, 0};
        world.Container()->Add(a);
        world.Container()->Add(b);
        world.HandleSOBounce(a);
        EXPECT_NEAR(glm::length(a->pos - c.expectedA), 0.0f, 1e-5f) << c.name;
        EXPECT_NEAR(glm::length(b->pos - c.expectedB), 0.0f, 1e-5f) << c.name;
        EXPECT_EQ(a->contactList, std::vector<uint64_t>{b->uniqueID}) << c.name;
        EXPECT_EQ(b->contactList.empty(), b->IsStatic()) << c.name;
    }
}

TEST_F(WorldTest, coinciding_centres_are_nudged_apart_then_separated)
{
    auto* a = new SpaceObject(0, "", "", 0, 2.0f, 0, 10);
    auto* b = new SpaceObject(0, "", "", 0, 2.0f, 0, 10);
    world.Container()->Add(a);
    world.Container()->Add(b);
    csrand(1);
    const glm::vec3 nudgeDirection = glm::normalize(JitterPosition(glm::vec3(0.0f)));
    csrand(1);
    world.HandleSOBounce(a);
    EXPECT_EQ(a->pos, glm::vec3(0.0f));
    EXPECT_NEAR(glm::length(b->pos - nudgeDirection * 4.0f), 0.0f, 1e-4f);
}

TEST_F(WorldTest, the_nudge_of_a_coinciding_centre_is_at_most_a_hundredth)
{
    csrand(99);
    for (int i = 0; i < 200; ++i) {
        const glm::vec3 nudged = JitterPosition({5, 5, 5});
        EXPECT_LE(std::fabs(nudged.x - 5), 0.0100001f);
        EXPECT_LE(std::fabs(nudged.y - 5), 0.0100001f);
        EXPECT_LE(std::fabs(nudged.z - 5), 0.0100001f);
        EXPECT_NEAR(std::hypot(nudged.x - 5, nudged.z - 5), 0.01f, 1e-5f);
    }
}

TEST_F(WorldTest, repeated_contacts_are_listed_once_in_a_row)
{
    SpaceObject* a = Make(0, 0, 2.0f);
    SpaceObject* b = Make(3, 0, 2.0f);
    world.HandleSOBounce(a);
    b->pos = {3, 0, 0};
    world.HandleSOBounce(a);
    EXPECT_EQ(a->contactList, std::vector<uint64_t>{b->uniqueID});
    EXPECT_EQ(b->contactList, std::vector<uint64_t>{a->uniqueID});
}

TEST_F(WorldTest, effect_events_last_by_kind)
{
    struct Case {
        const char* kind;
        int64_t lastTickAlive;  // ticks after the one it was added in
    };
    const Case cases[] = {{"beam", 29}, {"lightning", 14}, {"emp", 59}, {"nuke", 59}, {"npc_death", 59},
                          {"sparkle", 0}};
    for (const Case& c : cases) {
        world.Reset(true, "");
        world.paused = false;
        world.AddEffectEvent(c.kind, "", "", 0, 0, {}, {}, 0);
        for (int64_t t = 0; t < c.lastTickAlive; ++t)
            world.Tick();
        EXPECT_EQ(world.effectEvents.size(), 1u) << c.kind;
        world.Tick();
        EXPECT_TRUE(world.effectEvents.empty()) << c.kind;
    }
}

TEST_F(WorldTest, sound_events_live_thirty_one_ticks_and_timed_entries_their_duration)
{
    world.QueueSoundEvent("hum", {}, 0);
    world.timedEntries.push_back({0, 5});
    for (int i = 0; i < 4; ++i)
        world.Tick();
    EXPECT_EQ(world.timedEntries.size(), 1u);
    world.Tick();
    EXPECT_TRUE(world.timedEntries.empty());
    for (int i = 5; i < 30; ++i)
        world.Tick();
    EXPECT_EQ(world.soundEvents.size(), 1u);
    world.Tick();  // tick 31
    EXPECT_TRUE(world.soundEvents.empty());
}

}  // namespace
