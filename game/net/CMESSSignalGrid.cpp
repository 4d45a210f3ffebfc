// The console's "signal" family for ship interior grids: the grid it asked
// for, with the grid objects to add or refresh, a grid the mission rebuilt,
// and a grid object the mission deleted. A process that hosts the world
// shares its grids with its own console and takes none of these.

#include "game/net/ClientSignalHandlers.h"
#include "game/net/SignalHandling.h"
#include "game/world/HullPathSets.h"
#include "game/world/Simulation.h"

namespace {

void Refresh(GridObject& object, GridSignal::Object& described)
{
    object.name = std::move(described.name);
    object.tag = std::move(described.tag);
    object.type = std::move(described.type);
    object.layer = described.layer;
    object.path.assign(described.path.begin(), described.path.end());
}

// 42: the ship's grid is built here from the console's own copy of the hull;
// without one the answer is of no use.
void HandleGrid(QelNetworkMessage& message)
{
    GridSignal grid;
    if (!ReadSignalOrReport(message, grid, kClientSignalHandler) || !ConsoleMirrorWorld())
        return;
    HullPathSet* set = GetHullPathSet(grid.shipId, false);
    if (!set)
        return;
    for (GridSignal::Object& described : grid.objects) {
        GridObject* object = set->GetGridObjectById(described.id);
        if (!object)
            object = &set->AddGridObject(described.id, "", "", "");
        Refresh(*object, described);
    }
}

// 44: the ship's grid is built again when next asked for.
void HandleDeleteGrid(QelNetworkMessage& message)
{
    DeleteGridSignal deleted;
    Simulation* world = nullptr;
    if (!ReadSignalOrReport(message, deleted, kClientSignalHandler) || !(world = ConsoleMirrorWorld()))
        return;
    world->Interiors().Delete(deleted.shipId);
    if (SpaceObject* ship = world->GetSpaceObject(deleted.shipId))
        ship->data_tag = deleted.shipDataKey;
}

// 45: nothing to do for a grid or grid object not held here.
void HandleGridObjectDeleted(QelNetworkMessage& message)
{
    GridObjectDeletedSignal deleted;
    if (!ReadSignalOrReport(message, deleted, kClientSignalHandler) || !ConsoleMirrorWorld())
        return;
    if (HullPathSet* set = FindHullPathSet(deleted.shipId))
        set->DeleteGridObject(set->GetGridObjectById(deleted.gridObjectId));
}

}  // namespace

bool HandleClientGridSignal(uint16_t code, QelNetworkMessage& message)
{
    switch (code) {
    case SIGNAL_MESS_GRID: HandleGrid(message); return true;
    case SIGNAL_MESS_DELETE_GRID: HandleDeleteGrid(message); return true;
    case SIGNAL_MESS_GRID_OBJECT_DELETED: HandleGridObjectDeleted(message); return true;
    // 43, retired, is ignored.
    default: return false;
    }
}
