#pragma once
// Looking up ids that come from outside the world's own code: messages,
// data-set values a script wrote, client records. The world asserts on an id
// of the wrong kind, so these are checked first.

#include "game/behaviours/PlayerShipKeys.h"
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

// Calls the function with each live extra scan source of the ship: the first
// "num_extra_scan_sources" ids of "extra_scan_source". Only the values the set
// holds are walked, so a count a script set far beyond them costs nothing.
template <typename Function>
void ForEachExtraScanSource(const SpaceObject& ship, Function&& function)
{
    const int64_t sourceCount = ReadInt(ship.data_set, playership::kNumExtraScanSources);
    if (sourceCount <= 0)
        return;
    ship.data_set.ForEachElementOf(playership::kExtraScanSource.key, [&](int32_t index, const ObjectDataBlobElement& element) {
        const SpaceObject* source = index >= 0 && index < sourceCount ? FindSpaceObjectById(element.uintValue) : nullptr;
        if (source)
            function(*source);
    });
}
