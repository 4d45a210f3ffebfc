// The console's handler of "objectBlob": values of one object data set,
// written into the console's copy of that set.

#include "game/net/CorvaneClient.h"
#include "game/net/MessageHooks.h"
#include "game/net/NetworkIds.h"
#include "game/net/ObjectBlobMessage.h"
#include "game/net/RejectedMessages.h"
#include "game/world/HullPathSets.h"
#include "game/world/Simulation.h"

#include <vector>

namespace {

constexpr const char* kHandler = "ClientMessageHookObjectBlob";

// Integers keep their rule of stamping a change only when the value changes;
// the console's sent ticks stay empty.
void ApplyEntry(ObjectDataBlob& dataSet, const ObjectBlobEntry& entry)
{
    switch (entry.type) {
    case ODBE_INT:
        dataSet.SetInt64ById(entry.tagKey, entry.intValue, entry.index);
        break;
    case ODBE_UINT64:
        dataSet.SetUInt64ById(entry.tagKey, entry.uintValue, entry.index);
        break;
    case ODBE_FLOAT:
        dataSet.SetFloatById(entry.tagKey, entry.floatValue, entry.index);
        break;
    default:
        dataSet.SetStringById(entry.tagKey, entry.stringValue, entry.index);
        break;
    }
}

// The data set the message is for: a space object's, or a grid object's in
// the interior of the ship it names. Null when the console does not hold it;
// a message whose ids are of the wrong kind is reported too. The server sends
// a value once: values of a space object the console does not know yet make
// it ask for the object, whose answer brings all of them.
ObjectDataBlob* TargetDataSet(const ObjectBlobHeader& header, const QelNetworkMessage& message,
                              CorvaneClient* client)
{
    if (header.kind != kBlobOfGridObject) {
        if (!IsSpaceObjectId(header.ownerId)) {
            ReportRejectedMessage(kHandler, message, "the owner id is not a space object's");
            return nullptr;
        }
        SpaceObject* owner = theSimulation->GetSpaceObject(header.ownerId);
        if (!owner && client)
            client->RequestFullObject(header.ownerId);
        return owner ? &owner->data_set : nullptr;
    }
    if (!IsGridObjectId(header.ownerId) || !IsSpaceObjectId(header.shipId)) {
        ReportRejectedMessage(kHandler, message, "the owner is not a grid object of a space object");
        return nullptr;
    }
    if (!theSimulation->GetSpaceObject(header.shipId))
        return nullptr;
    HullPathSet* interior = GetHullPathSet(header.shipId, false);
    GridObject* owner = interior ? interior->GetGridObjectById(header.ownerId) : nullptr;
    return owner ? &owner->data_set : nullptr;
}

}  // namespace

// A message that ends too soon changes nothing; one for an object the
// console does not know is ignored.
void ClientMessageHookObjectBlob(QelNetworkMessage* message, CorvaneClient* client)
{
    if (!theSimulation || !theSimulation->Container())
        return;
    ObjectBlobHeader header;
    std::vector<ObjectBlobEntry> entries;
    if (!ReadObjectBlobMessage(*message, header, entries))
        return;
    if (ObjectDataBlob* target = TargetDataSet(header, *message, client))
        for (const ObjectBlobEntry& entry : entries)
            ApplyEntry(*target, entry);
}

namespace {

const ClientHookRegistration objectBlobHook("objectBlob", ClientMessageHookObjectBlob);

}  // namespace
