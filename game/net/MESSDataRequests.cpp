// The server's reading of data requests: full objects (code 3) and ship
// definitions (code 65, followed by the mesh outline, code 66) are queued for
// the requester and answered a few a frame by the server's passes. Interior
// grids (code 42) are answered with the ships' interior grids, and chunks of
// a mesh (code 67) at once: the console asks for one a frame.

#include "game/net/DataRequests.h"

#include "game/net/AssetTransferSignals.h"
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

void AnswerAssetDataRequest(QelNetworkMessage& message, uint64_t requester)
{
    AssetDataRequestSignal request;
    if (ReadSignalOrReport(message, request, kServerSignalHandler) && gServer)
        gServer->AnswerAssetDataRequest(requester, request);
}
