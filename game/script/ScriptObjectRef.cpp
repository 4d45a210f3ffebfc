#include "game/script/ScriptObjectRef.h"

#include "game/script/MissionScript.h"
#include "game/world/Simulation.h"

#include <sstream>

namespace {

// The run of the world the mission runs against; 0 without one.
uint64_t CurrentRun()
{
    const Simulation* world = theMissionScript.World();
    return world ? world->RunCount() : 0;
}

[[noreturn]] void RaiseGone(const std::string& what)
{
    throw StaleScriptReference(what + " no longer exists; look it up again by its id");
}

}  // namespace

SpaceObjectRef::SpaceObjectRef(uint64_t id) : id(id), runCount(CurrentRun()) {}

SpaceObject& SpaceObjectRef::Get() const
{
    SpaceObject* object = nullptr;
    const Simulation* world = theMissionScript.World();
    if (world && world->RunCount() == runCount && world->Container()) {
        SuperContainer& container = *world->Container();
        object = static_cast<SpaceObject*>(container.Find(id) ? container.Find(id) : container.FindInStandby(id));
    }
    if (!object) {
        std::ostringstream text;
        text << "space object 0x" << std::hex << id << " no longer exists; look it up again by its id";
        throw StaleScriptReference(text.str());
    }
    return *object;
}

Navpoint& NavpointRef::Get() const
{
    Simulation* world = theMissionScript.World();
    Navpoint* point = world ? world->GetNavpoint(id) : nullptr;
    if (!point)
        RaiseGone("nav point " + std::to_string(id));
    return *point;
}

NavProxy& NavProxyRef::Get() const
{
    Simulation* world = theMissionScript.World();
    NavProxy* proxy = world ? world->GetNavproxy(id) : nullptr;
    if (!proxy)
        RaiseGone("nav proxy " + std::to_string(id));
    return *proxy;
}

TractorConnectionRef::TractorConnectionRef(uint64_t sourceId, uint64_t targetId)
    : sourceId(sourceId), targetId(targetId), runCount(CurrentRun())
{
}

TractorConnection& TractorConnectionRef::Get() const
{
    Simulation* world = theMissionScript.World();
    TractorConnection* connection = world && world->RunCount() == runCount
                                        ? world->GetTractorConnection(sourceId, targetId)
                                        : nullptr;
    if (!connection) {
        std::ostringstream text;
        text << "the tractor connection of 0x" << std::hex << sourceId << " and 0x" << targetId;
        RaiseGone(text.str());
    }
    return *connection;
}
