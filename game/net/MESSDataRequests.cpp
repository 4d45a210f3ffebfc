// The server's answers to data requests. Ship records (code 65) arrive with
// the server's command handling; mesh outlines and contents (codes 66, 67)
// with the meshes' CPU copies; interior grids (code 42) with the ships'
// interior grids.

#include "game/net/DataRequests.h"

#include "game/net/CorvaneServer.h"
#include "game/net/ObjectBlobMessage.h"
#include "game/net/RejectedMessages.h"
#include "game/net/SignalMessage.h"
#include "game/net/WorldLookup.h"

// Ids of objects that no longer exist get no answer. The answer travels
// reliably: the console waits for it.
void AnswerFullObjectRequest(QelNetworkMessage& message, uint64_t requester)
{
    FullObjectRequestSignal request;
    if (!ReadSignal(message, request)) {
        if (!message.IsBad())
            ReportRejectedMessage("AnswerFullObjectRequest", message, "an id is not a space object");
        return;
    }
    if (!gServer)
        return;
    const std::vector<uint64_t> recipient{requester};
    for (uint64_t id : request.objectIds) {
        if (SpaceObject* object = FindSpaceObjectById(id)) {
            gServer->SendFullObject(*object, recipient, ServerMessageSink::kReliable);
            gServer->SendBlob(kBlobOfSpaceObject, object->data_set, id, 0, recipient, true);
        }
    }
}
