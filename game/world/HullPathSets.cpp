#include "game/world/HullPathSets.h"

#include "game/world/EventMessage.h"
#include "game/world/ObjectId.h"
#include "game/world/ScriptEventSink.h"
#include "game/world/ShipData.h"
#include "game/world/Simulation.h"

#include <vector>

namespace {

HullSilhouetteSource* silhouetteSource = nullptr;

// The ship in normal space or on standby; null for an id of another kind.
SpaceObject* FindShip(const Simulation& world, uint64_t shipId)
{
    if (!VALID_SPACE_OBJ(shipId) || !world.Container())
        return nullptr;
    if (SpaceObject* ship = world.GetSpaceObject(shipId))
        return ship;
    return static_cast<SpaceObject*>(world.Container()->FindInStandby(shipId));
}

std::unique_ptr<HullPathSet> BuildForShip(const SpaceObject& ship)
{
    const ShipDataRecord* record = ShipData::Instance().Find(ship.data_tag);
    if (!record || !silhouetteSource)
        return nullptr;
    const std::optional<HullSilhouette> silhouette = silhouetteSource->FindHullSilhouette(ship.data_tag);
    if (!silhouette || !silhouette->IsWhole())
        return nullptr;
    std::unique_ptr<HullPathSet> set = BuildHullPathSet(*silhouette, *record);
    set->shipId = ship.uniqueID;
    return set;
}

void TellMissionOfArrival(Simulation& world, uint64_t gridObjectId)
{
    if (ScriptEventSink* mission = world.ScriptEvents()) {
        EventMessage event;
        event.tag = "grid_object";
        event.sub_tag = "finished_path";
        event.origin_id = gridObjectId;
        mission->HandleEvent(event);
    }
}

}  // namespace

HullPathSet* HullPathSets::Get(uint64_t shipId, bool rebuild)
{
    auto entry = sets.find(shipId);
    if (!world.Container())
        return entry == sets.end() ? nullptr : entry->second.get();
    if (entry != sets.end()) {
        if (!rebuild)
            return entry->second.get();
        sets.erase(entry);
    }
    const SpaceObject* ship = FindShip(world, shipId);
    std::unique_ptr<HullPathSet> built = ship ? BuildForShip(*ship) : nullptr;
    if (!built)
        return nullptr;
    built->StampChangesBy(&world.clock);
    return (sets[shipId] = std::move(built)).get();
}

HullPathSet* HullPathSets::Find(uint64_t shipId) const
{
    auto entry = sets.find(shipId);
    return entry == sets.end() ? nullptr : entry->second.get();
}

void HullPathSets::Delete(uint64_t shipId)
{
    sets.erase(shipId);
}

void HullPathSets::Clear()
{
    sets.clear();
}

bool HullPathSets::IsStillBuilt(uint64_t shipId, uint64_t serial) const
{
    const HullPathSet* set = Find(shipId);
    return set && set->serial == serial;
}

void HullPathSets::MoveGridObjects()
{
    std::vector<uint64_t> shipIds;
    for (const auto& entry : sets)
        shipIds.push_back(entry.first);
    const uint64_t run = world.RunCount();
    for (uint64_t shipId : shipIds) {
        HullPathSet* set = Find(shipId);
        const SpaceObject* ship = VALID_SPACE_OBJ(shipId) ? world.GetSpaceObject(shipId) : nullptr;
        if (!set || !ship)
            continue;
        HullPathSet::FinishedPathHandler finished;
        if (world.serverFlag) {
            finished = [this, shipId, serial = set->serial, run](uint64_t gridObjectId) {
                TellMissionOfArrival(world, gridObjectId);
                return world.RunCount() == run && IsStillBuilt(shipId, serial);
            };
        }
        set->MoveGridObjects(*ship, finished);
        if (world.RunCount() != run)
            return;
    }
}

void SetHullSilhouetteSource(HullSilhouetteSource* source)
{
    silhouetteSource = source;
}

std::unique_ptr<HullPathSet> BuildHullPathSet(const HullSilhouette& silhouette, const ShipDataRecord& record)
{
    return std::make_unique<HullPathSet>(&silhouette, record);
}

HullPathSet* GetHullPathSet(uint64_t shipId, bool rebuild)
{
    return theSimulation ? theSimulation->Interiors().Get(shipId, rebuild) : nullptr;
}

HullPathSet* FindHullPathSet(uint64_t shipId)
{
    return theSimulation ? theSimulation->Interiors().Find(shipId) : nullptr;
}
