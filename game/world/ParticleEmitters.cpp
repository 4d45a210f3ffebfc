#include "game/world/ParticleEmitters.h"

#include "game/world/Simulation.h"

uint64_t ParticleEmitters::Add(uint64_t id, uint64_t objectId, const std::string& descriptor, int32_t firings)
{
    if (id == 0)
        id = NextId();
    emitters[id] = Emitter{objectId, descriptor, firings, 0};
    return id;
}

void ParticleEmitters::Delete(uint64_t id)
{
    emitters.erase(id);
}

uint64_t ParticleEmitters::NextId()
{
    lastId = lastId < kFirstAutomaticId ? kFirstAutomaticId : lastId + 1;
    return lastId;
}

void ParticleEmitters::Tick(const Simulation* world, const Fire& fire)
{
    for (auto it = emitters.begin(); it != emitters.end(); ++it) {
        Emitter& emitter = it->second;
        if (emitter.firingsLeft == 0) {
            emitters.erase(it);
            return;
        }
        const SpaceObject* object =
            emitter.objectId != 0 && world ? world->GetSpaceObject(emitter.objectId) : nullptr;
        if (!object) {
            if (++emitter.ticksWithoutObject > kMaxTicksWithoutObject) {
                emitters.erase(it);
                return;
            }
            continue;
        }
        emitter.ticksWithoutObject = 0;
        if (fire)
            fire(*object, emitter.descriptor);
        if (emitter.firingsLeft > 0)
            --emitter.firingsLeft;
    }
}
