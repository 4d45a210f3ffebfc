#pragma once
// Looking up ids that come from outside the world's own code: messages,
// data-set values a script wrote, client records. The world asserts on an id
// of the wrong kind, so these are checked first.

#include "game/net/NetworkIds.h"
#include "game/world/Simulation.h"

#include <cstdint>

// The space object in normal space, or null: for 0, for an id of another
// kind, and when there is no world or registry.
inline SpaceObject* FindSpaceObjectById(uint64_t id)
{
    if (!theSimulation || !IsSpaceObjectId(id))
        return nullptr;
    return theSimulation->GetSpaceObject(id);
}
