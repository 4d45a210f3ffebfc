#include "game/script/ScriptGridRefs.h"

#include "game/script/MissionScript.h"
#include "game/script/ScriptObjectRef.h"
#include "game/world/HullPathSets.h"
#include "game/world/Simulation.h"

#include <sstream>

namespace {

[[noreturn]] void ThrowStale(const char* what, uint64_t id, const char* advice)
{
    std::ostringstream text;
    text << what << " 0x" << std::hex << id << " no longer exists; " << advice;
    throw StaleScriptReference(text.str());
}

}  // namespace

HullMapRef::HullMapRef(const HullPathSet& set) : shipId(set.shipId), serial(set.serial) {}

HullPathSet& HullMapRef::Get() const
{
    Simulation* world = theMissionScript.World();
    HullPathSet* set = world ? world->Interiors().Find(shipId) : nullptr;
    if (!set || set->serial != serial)
        ThrowStale("the hull map of ship", shipId, "it was rebuilt or dropped; get it again with get_hull_map");
    return *set;
}

GridObjectRef::GridObjectRef(const HullPathSet& set, const GridObject& object)
    : interior(set), id(object.unique_ID)
{
}

GridObject& GridObjectRef::Get() const
{
    GridObject* object = interior.Get().GetGridObjectById(id);
    if (!object)
        ThrowStale("grid object", id, "look it up again by its id");
    return *object;
}
