#include "game/script/ScriptObjectRef.h"

#include "game/world/Simulation.h"

#include <sstream>

SpaceObjectRef::SpaceObjectRef(uint64_t id) : id(id), runCount(theSimulation ? theSimulation->RunCount() : 0) {}

SpaceObject& SpaceObjectRef::Get() const
{
    SpaceObject* object = nullptr;
    if (theSimulation && theSimulation->RunCount() == runCount && theSimulation->Container()) {
        SuperContainer& container = *theSimulation->Container();
        object = static_cast<SpaceObject*>(container.Find(id) ? container.Find(id) : container.FindInStandby(id));
    }
    if (!object) {
        std::ostringstream text;
        text << "space object 0x" << std::hex << id << " no longer exists; look it up again by its id";
        throw StaleScriptReference(text.str());
    }
    return *object;
}

namespace {

[[noreturn]] void RaiseGone(const std::string& what)
{
    throw StaleScriptReference(what + " no longer exists; look it up again by its id");
}

}  // namespace

Navpoint& NavpointRef::Get() const
{
    Navpoint* point = theSimulation ? theSimulation->GetNavpoint(id) : nullptr;
    if (!point)
        RaiseGone("nav point " + std::to_string(id));
    return *point;
}

NavProxy& NavProxyRef::Get() const
{
    NavProxy* proxy = theSimulation ? theSimulation->GetNavproxy(id) : nullptr;
    if (!proxy)
        RaiseGone("nav proxy " + std::to_string(id));
    return *proxy;
}

TractorConnectionRef::TractorConnectionRef(uint64_t sourceId, uint64_t targetId)
    : sourceId(sourceId), targetId(targetId), runCount(theSimulation ? theSimulation->RunCount() : 0)
{
}

TractorConnection& TractorConnectionRef::Get() const
{
    TractorConnection* connection = theSimulation && theSimulation->RunCount() == runCount
                                        ? theSimulation->GetTractorConnection(sourceId, targetId)
                                        : nullptr;
    if (!connection) {
        std::ostringstream text;
        text << "the tractor connection of 0x" << std::hex << sourceId << " and 0x" << targetId;
        RaiseGone(text.str());
    }
    return *connection;
}
