// The console's handler of "objectBlob": values of one object data set,
// written into the console's copy of that set.

#include "game/net/MessageHooks.h"
#include "game/net/NetworkIds.h"
#include "game/net/ObjectBlobMessage.h"
#include "game/net/RejectedMessages.h"
#include "game/world/Simulation.h"

#include <vector>

namespace {

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

}  // namespace

// A message that ends too soon changes nothing; one for an object the
// console does not know is ignored. Grid objects' sets arrive with the
// ships' interior grids.
void ClientMessageHookObjectBlob(QelNetworkMessage* message)
{
    if (!theSimulation || !theSimulation->Container())
        return;
    ObjectBlobHeader header;
    std::vector<ObjectBlobEntry> entries;
    if (!ReadObjectBlobMessage(*message, header, entries) || header.kind == kBlobOfGridObject)
        return;
    if (!IsSpaceObjectId(header.ownerId)) {
        ReportRejectedMessage("ClientMessageHookObjectBlob", *message, "the owner id is not a space object's");
        return;
    }
    SpaceObject* owner = theSimulation->GetSpaceObject(header.ownerId);
    if (!owner)
        return;
    for (const ObjectBlobEntry& entry : entries)
        ApplyEntry(owner->data_set, entry);
}

namespace {

const ClientHookRegistration objectBlobHook("objectBlob", ClientMessageHookObjectBlob);

}  // namespace
