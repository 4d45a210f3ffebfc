#pragma once
// A running server world with the game's ship list and preferences, player
// ships made in it, and recording stand-ins for what a jump tells the
// consoles and shows on the server's own screen.

#include "game/world/DataKey.h"
#include "game/behaviours/PlayerShipAI.h"
#include "game/behaviours/SpaceObjectAI.h"
#include "game/world/AppData.h"
#include "game/world/BehaviourHookMap.h"
#include "game/world/LocalPresentation.h"
#include "game/world/ScriptEventSink.h"
#include "game/world/ShipConsoleNotices.h"
#include "game/world/ShipData.h"
#include "game/world/Simulation.h"
#include "game/world/WorldServices.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace playershiptest {

struct RecordingConsoles : ShipConsoleNotices {
    void JumpCountdown(uint64_t shipId, int32_t secondsLeft) override { countdowns.emplace_back(shipId, secondsLeft); }
    void JumpArrived(uint64_t shipId, int64_t tick, int64_t seconds) override
    {
        arrivals.push_back({shipId, tick, seconds});
    }
    void DamageFlash(uint64_t shipId, float amount) override { flashes.emplace_back(shipId, amount); }
    struct Arrival {
        uint64_t shipId;
        int64_t tick;
        int64_t seconds;
    };
    std::vector<std::pair<uint64_t, int32_t>> countdowns;
    std::vector<Arrival> arrivals;
    std::vector<std::pair<uint64_t, float>> flashes;
};

struct RecordingPresentation : LocalPresentation {
    void PlayJumpSound(int32_t secondsLeft) override { jumpSounds.push_back(secondsLeft); }
    void StartJumpEffect(int32_t seconds) override { jumpEffects.push_back(seconds); }
    void PlayAudioFile(const std::string& name, float, float) override { audioFiles.push_back(name); }
    std::vector<int32_t> jumpSounds;
    std::vector<int32_t> jumpEffects;
    std::vector<std::string> audioFiles;
};

struct RecordingParticles : ParticleSink {
    void ParticleAt(const glm::vec3& at, const std::string& descriptor) override { bursts.emplace_back(at, descriptor); }
    std::vector<std::pair<glm::vec3, std::string>> bursts;
};

// The mission's side: every event the ship raises, in order.
struct RecordingMission : ScriptEventSink {
    void HandleEvent(const EventMessage& event) override { events.push_back(event); }
    void QueueEvent(const EventMessage& event) override { events.push_back(event); }
    std::vector<EventMessage> events;
};

class PlayerShipTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppData::Load();
        RegisterBehaviourHooks();
        world.Reset(true, "");
        world.paused = false;
        world.SetShipConsoleNotices(&consoles);
        world.SetLocalPresentation(&presentation);
        world.SetParticleSink(&particles);
    }
    void TearDown() override
    {
        ShipData& ships = ShipData::Instance();
        for (const std::string& key : addedKeys)
            ships.extraKeys.erase(key);
        ships.ClearRecords(ships.extraRecords);
    }

    SpaceObject* MakeShip(const std::string& dataTag = "tern_frigate", uint16_t abits = 0)
    {
        return world.GetSpaceObject(world.CreateSpaceObject("behav_playership", dataTag, abits));
    }

    SpaceObject* MakeObject(const std::string& behaviour, float x, float z, uint16_t abits)
    {
        SpaceObject* object = world.GetSpaceObject(world.CreateSpaceObject(behaviour, "", abits));
        world.RepositionSpaceObject(object, x, 0.0f, z);
        world.FrameUpdate();  // lets the tree follow the new place
        return object;
    }

    // Adds a ship record of the key that only this test knows.
    ShipDataRecord& AddRecord(const std::string& key)
    {
        ShipData& ships = ShipData::Instance();
        auto record = std::make_unique<ShipDataRecord>();
        record->key = key;
        ShipDataRecord& added = *record;
        ships.extraKeys[key] = record.get();
        ships.extraRecords.push_back(std::move(record));
        addedKeys.push_back(key);
        return added;
    }

    // Frames of one tick each, as the engine's loop runs them.
    void RunTicks(int count)
    {
        for (int i = 0; i < count; ++i) {
            world.FrameUpdate();
            world.Tick();
        }
    }

    void SlowTick(SpaceObject* ship) { CallBehaviourHook(world, ship, kBehaviourSlowTick, nullptr); }

    static float Float(SpaceObject* ship, const char* tag, int32_t index = 0)
    {
        return ReadFloat(ship->data_set, DataKey{tag, ""}, index);
    }
    static int64_t Int(SpaceObject* ship, const char* tag, int32_t index = 0)
    {
        return ReadInt(ship->data_set, DataKey{tag, ""}, index);
    }
    static std::string Text(SpaceObject* ship, const char* tag, int32_t index = 0)
    {
        return ReadString(ship->data_set, DataKey{tag, ""}, index);
    }

    Simulation world;
    RecordingConsoles consoles;
    RecordingPresentation presentation;
    RecordingParticles particles;
    std::vector<std::string> addedKeys;
};

}  // namespace playershiptest
