// The server's answers to data requests. Ship records (code 65) arrive with
// the server's command handling; mesh outlines and contents (codes 66, 67)
// with the meshes' CPU copies; interior grids (code 42) with the ships'
// interior grids.

#include "game/net/DataRequests.h"

#include "game/net/CorvaneServer.h"
#include "game/net/ServerSignalHandlers.h"
#include "game/net/SignalHandling.h"
#include "game/net/SignalMessage.h"
#include "game/net/WorldLookup.h"

#include "game/world/ShipData.h"

#include <vector>

// A list cut short is dropped whole; ids of objects that no longer exist get
// no answer.
void AnswerFullObjectRequest(QelNetworkMessage& message, uint64_t requester)
{
    FullObjectRequestSignal request;
    if (!ReadSignal(message, request) || !gServer)
        return;
    std::erase_if(request.objectIds, [](uint64_t id) { return !FindSpaceObjectById(id); });
    gServer->QueueFullObjectAnswers(requester, request.objectIds);
}

void AnswerShipRecordRequest(QelNetworkMessage& message, uint64_t requester)
{
    ShipRecordRequestSignal request;
    if (!ReadSignalOrReport(message, request, kServerSignalHandler) || !gServer)
        return;
    if (ShipData::Instance().FindDefined(request.shipKey))
        gServer->QueueShipRecordAnswer(requester, request.shipKey);
}
