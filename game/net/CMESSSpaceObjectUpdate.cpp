// The console's handler of "spaceobjectupdate": each record becomes its
// object's target state, which the console's dead reckoning follows; an id
// the console does not know yet is asked for in full.

#include "game/net/CorvaneClient.h"
#include "game/net/MessageHooks.h"
#include "game/net/NetworkIds.h"
#include "game/net/RejectedMessages.h"
#include "game/net/SpaceObjectRecord.h"
#include "game/world/Simulation.h"

#include <vector>

namespace {

// The records up to the end marker. Reading stops at the first id that is
// not a space object's (what follows cannot be trusted to be records) and
// then answers false, as it does for a message that ends too soon or holds a
// value that is not a number.
bool ReadUpdateRecords(QelNetworkMessage& message, std::vector<SpaceObjectRecord>& records, bool& badId)
{
    badId = false;
    for (;;) {
        SpaceObjectRecord record;
        message.ReadInt64(record.id);
        if (message.IsBad())
            return false;
        if (record.id == 0)
            return true;
        if (!IsSpaceObjectId(record.id)) {
            badId = true;
            return false;
        }
        if (!ReadSpaceObjectRecordBody(message, record))
            return false;
        records.push_back(record);
    }
}

void ApplyUpdateRecord(const SpaceObjectRecord& record, CorvaneClient* client)
{
    SpaceObject* object = theSimulation->GetSpaceObject(record.id);
    if (!object) {
        if (client)
            client->RequestFullObject(record.id);
        return;
    }
    object->cur_speed = record.speed;
    object->targetPos = record.pos;
    object->targetOrientation = record.rotation;
    object->turn_pitch = record.turnPitch;
    object->turn_roll = record.turnRoll;
    object->turn_yaw = record.turnYaw;
    object->lastUpdateTick = theSimulation->TickCount();
}

}  // namespace

// A message that is malformed anywhere changes nothing, not even the list of
// objects to ask for.
void ClientMessageHookSpaceObjectUpdate(QelNetworkMessage* message, CorvaneClient* client)
{
    if (!theSimulation)
        return;
    std::vector<SpaceObjectRecord> records;
    bool badId = false;
    if (!ReadUpdateRecords(*message, records, badId)) {
        if (!message->IsBad())
            ReportRejectedMessage("ClientMessageHookSpaceObjectUpdate", *message,
                                  badId ? "bad space object ID" : "a value is not a finite number");
        return;
    }
    if (!theSimulation->Container())
        theSimulation->Reset(false, "");
    for (const SpaceObjectRecord& record : records)
        ApplyUpdateRecord(record, client);
}

namespace {

const ClientHookRegistration spaceObjectUpdateHook("spaceobjectupdate", ClientMessageHookSpaceObjectUpdate);

}  // namespace
