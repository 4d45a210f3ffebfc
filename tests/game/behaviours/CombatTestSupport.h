#pragma once
// A running server world with the game's ship list, recording what the
// computer-controlled behaviours tell the server: destroys (carried out at
// the next step, as the server's frame does), particle bursts, effects and
// script events.

#include "game/behaviours/SpaceObjectAI.h"
#include "game/world/AppData.h"
#include "game/world/BehaviourHookMap.h"
#include "game/world/ScriptEventSink.h"
#include "game/world/Simulation.h"
#include "game/world/WorldServices.h"

#include <glm/gtc/quaternion.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace combattest {

struct Effect {
    std::string kind, secondText, thirdText;
    uint64_t firstId = 0, secondId = 0;
    glm::vec3 firstPoint{0.0f}, secondPoint{0.0f};
    int32_t value = 0;
};

struct Recorders : PendingDestroySink, ParticleSink, EffectBroadcast, ScriptEventSink {
    void QueueDestroy(uint64_t id) override { destroys.push_back(id); }
    void ParticleAt(const glm::vec3&, const std::string& descriptor) override { bursts.push_back(descriptor); }
    void SendBeam(const std::string& kind, const std::string& second, const std::string& third, uint64_t firstId,
                  uint64_t secondId, const glm::vec3& firstPoint, const glm::vec3& secondPoint, int32_t value) override
    {
        effects.push_back({kind, second, third, firstId, secondId, firstPoint, secondPoint, value});
    }
    void HandleEvent(const EventMessage& event) override { events.push_back(event); }
    void QueueEvent(const EventMessage& event) override { events.push_back(event); }

    std::vector<EventMessage> EventsOf(const std::string& tag) const
    {
        std::vector<EventMessage> found;
        std::copy_if(events.begin(), events.end(), std::back_inserter(found),
                     [&](const EventMessage& event) { return event.tag == tag; });
        return found;
    }
    size_t EffectsOf(const std::string& kind) const
    {
        return static_cast<size_t>(std::count_if(effects.begin(), effects.end(),
                                                 [&](const Effect& effect) { return effect.kind == kind; }));
    }

    std::vector<uint64_t> destroys;
    std::vector<std::string> bursts;
    std::vector<Effect> effects;
    std::vector<EventMessage> events;
};

class CombatTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppData::Load();
        RegisterBehaviourHooks();
        world.Reset(true, "");
        world.paused = false;
        world.SetPendingDestroySink(&sinks);
        world.SetParticleSink(&sinks);
        world.SetEffectBroadcast(&sinks);
        world.SetScriptEventSink(&sinks);
    }

    // An object of the behaviour at the point, heading along +Z turned by yaw.
    SpaceObject* Make(const std::string& behaviour, const std::string& dataTag, glm::vec3 at, float yaw = 0.0f,
                      uint16_t abits = 0)
    {
        SpaceObject* object = world.GetSpaceObject(world.CreateSpaceObject(behaviour, dataTag, abits));
        world.RepositionSpaceObject(object, at.x, at.y, at.z);
        object->rot_quat = glm::angleAxis(yaw, glm::vec3(0.0f, 1.0f, 0.0f));
        return object;
    }

    // A plain object (no behaviour hook) with a radius it can be struck within.
    SpaceObject* Target(glm::vec3 at, float radius = 20.0f, const std::string& side = "")
    {
        SpaceObject* object = Make("behav_target", "", at);
        object->exclusion_radius = radius;
        object->side = side;
        return object;
    }

    // One server frame and tick; the destroys queued are then carried out.
    void Step(int ticks = 1)
    {
        for (int i = 0; i < ticks; ++i) {
            world.FrameUpdate();
            world.Tick();
            for (uint64_t id : sinks.destroys)
                world.DeleteSpaceObject(id);
            destroyed.insert(destroyed.end(), sinks.destroys.begin(), sinks.destroys.end());
            sinks.destroys.clear();
        }
    }

    bool Alive(uint64_t id) const { return world.GetSpaceObject(id) != nullptr; }
    size_t TimesDestroyed(uint64_t id) const
    {
        return static_cast<size_t>(std::count(destroyed.begin(), destroyed.end(), id));
    }

    Simulation world;
    Recorders sinks;
    std::vector<uint64_t> destroyed;
};

}  // namespace combattest
