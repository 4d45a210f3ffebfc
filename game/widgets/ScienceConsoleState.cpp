#include "game/widgets/ScienceConsoleState.h"

#include "engine/base/QelNetworkMessage.h"
#include "game/net/CorvaneClient.h"
#include "game/net/WorldLookup.h"
#include "game/widgets/ConsoleState.h"
#include "game/world/ObjectDataBlob.h"
#include "game/world/Simulation.h"

std::vector<ScanQueueEntry>& PendingScienceScans(ConsoleState& console)
{
    // Without a client there is no server to tell of scans; the list is
    // still a list, so the widgets need no second path.
    CorvaneClient* client = console.network.client;
    return client ? client->scanQueue : console.scansWithoutClient;
}

SpaceObject* ConsoleObjectNamedBy(const SpaceObject& ship, const DataKey& key)
{
    return theSimulation ? FindSpaceObjectById(ReadUInt64(ship.data_set, key)) : nullptr;
}

std::string ScanTextOf(const SpaceObject& object, const std::string& scanType, const std::string& side)
{
    const ObjectDataBlobElement* text =
        object.data_set.FindElement(HashMessageName(scanType), ObjectDataBlob::IndexOfString(side));
    return text ? text->stringValue : std::string();
}

void SelectConsoleObject(const SharedConsoleState& console, uint64_t objectId, const glm::vec3& point,
                         const std::string& selectionKey, const std::string& sourceTag)
{
    SendSignal(ConsoleSelection(console, objectId, point, selectionKey, sourceTag));
}
