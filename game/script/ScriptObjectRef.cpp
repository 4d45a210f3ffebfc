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
