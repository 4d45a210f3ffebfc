#pragma once
// A running world for tests, a behaviour hook whose body each test sets, and
// recording stand-ins for the services the world calls.

#include "game/world/BehaviourHookMap.h"
#include "game/world/ScriptEventSink.h"
#include "game/world/Simulation.h"
#include "game/world/WorldServices.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace simtest {

// The behaviour name bound to the scripted hook below.
inline const char* const kScriptedBehaviour = "behav_test_scripted";

struct HookCall {
    uint64_t id;
    int32_t message;
};

// The hook under kScriptedBehaviour: records every call, then runs the body
// the test gave it.
struct ScriptedHook {
    static ScriptedHook& Instance()
    {
        static ScriptedHook hook;
        return hook;
    }
    static void Call(Simulation&, SpaceObject* object, int32_t message, void* data)
    {
        ScriptedHook& self = Instance();
        self.calls.push_back({object->uniqueID, message});
        if (self.body)
            self.body(object, message, data);
    }
    // The map is the process's own: bind once for the whole test program.
    static void EnsureRegistered()
    {
        if (!AIHookMap().IsRegistered(kScriptedBehaviour))
            AIHookMap().Register(kScriptedBehaviour, &ScriptedHook::Call);
    }
    void Reset()
    {
        calls.clear();
        body = nullptr;
    }

    std::vector<HookCall> calls;
    std::function<void(SpaceObject*, int32_t, void*)> body;
};

struct RecordingScriptSink : ScriptEventSink {
    void HandleEvent(const EventMessage& event) override
    {
        events.push_back(event);
        if (then)
            then(event);
    }
    void QueueEvent(const EventMessage& event) override { queued.push_back(event); }
    std::vector<EventMessage> events;
    std::vector<EventMessage> queued;
    std::function<void(const EventMessage&)> then;
};

struct RecordingDestroySink : PendingDestroySink {
    void QueueDestroy(uint64_t id) override { ids.push_back(id); }
    std::vector<uint64_t> ids;
};

struct RecordingParticleSink : ParticleSink {
    void ParticleAt(const glm::vec3& position, const std::string& descriptor) override
    {
        bursts.emplace_back(position, descriptor);
    }
    std::vector<std::pair<glm::vec3, std::string>> bursts;
};

// A running server world (Reset, not paused) with the services attached and
// the scripted hook cleared.
class WorldTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ScriptedHook::EnsureRegistered();
        hook().Reset();
        world.Reset(true, "");
        world.paused = false;
        world.SetScriptEventSink(&scripts);
        world.SetPendingDestroySink(&destroys);
        world.SetParticleSink(&particles);
    }
    void TearDown() override { hook().Reset(); }

    static ScriptedHook& hook() { return ScriptedHook::Instance(); }

    // An object of the scripted behaviour at a place, with an exclusion radius
    // (0: it never bounces).
    SpaceObject* Make(float x, float z, float exclusionRadius = 0.0f, uint16_t abits = 0,
                      const std::string& behaviour = kScriptedBehaviour)
    {
        const uint64_t id = world.CreateSpaceObject(behaviour, "", abits);
        SpaceObject* object = world.GetSpaceObject(id);
        object->exclusion_radius = exclusionRadius;
        object->fat_radius = 2.0f * exclusionRadius + 1.0f;
        world.RepositionSpaceObject(object, x, 0.0f, z);
        world.FrameUpdate();  // lets the tree follow the new place
        return object;
    }

    // Runs frames of one tick each, as the engine's loop does.
    void RunTicks(int count)
    {
        for (int i = 0; i < count; ++i) {
            world.FrameUpdate();
            world.Tick();
        }
    }

    Simulation world;
    RecordingScriptSink scripts;
    RecordingDestroySink destroys;
    RecordingParticleSink particles;
};

}  // namespace simtest
