// The console's handler of "fullobject": the whole record and identity of
// one object. An object the console does not know is created where the
// server has it; a known one is refreshed and glides to the new state.

#include "game/net/CorvaneClient.h"
#include "game/net/MessageHooks.h"
#include "game/net/NetworkIds.h"
#include "game/net/ReadMessageFields.h"
#include "game/net/RejectedMessages.h"
#include "game/net/SpaceObjectRecord.h"
#include "game/world/Simulation.h"

#include <cmath>
#include <string>

namespace {

// An object seen first by "fullobject" starts with these until the message's
// own values are applied.
constexpr float kNewObjectFatRadius = 20.0f;

struct FullObjectMessage {
    uint16_t abits = 0;
    SpaceObjectRecord record;
    std::string behaviourName;
    std::string dataTag;
    float exclusionRadius = 0.0f;
    float fatRadius = 0.0f;
    std::string side;
};

// False when the message ends too soon; reason names what else is wrong.
bool ReadFullObject(QelNetworkMessage& message, FullObjectMessage& full, const char*& reason)
{
    reason = nullptr;
    if (!ReadMessageFields(message, full.abits, full.record.id))
        return false;
    const bool recordRead = ReadSpaceObjectRecordBody(message, full.record);
    if (!ReadMessageFields(message, full.behaviourName, full.dataTag, full.exclusionRadius, full.fatRadius,
                           full.side))
        return false;
    if (!IsSpaceObjectId(full.record.id))
        reason = "the id is not a space object's";
    else if (!recordRead || !std::isfinite(full.exclusionRadius) || !std::isfinite(full.fatRadius))
        reason = "a value is not a finite number";
    return reason == nullptr;
}

// The object of the id in normal space or standby, or null.
SpaceObject* FindKnown(uint64_t id)
{
    SuperContainer& container = *theSimulation->Container();
    SuperContainerObject* known = container.Find(id);
    return static_cast<SpaceObject*>(known ? known : container.FindInStandby(id));
}

// The known object of the id, or a new one added to the registry at once.
SpaceObject* FindOrCreate(const FullObjectMessage& full, bool& isNew)
{
    SpaceObject* known = FindKnown(full.record.id);
    isNew = known == nullptr;
    if (known)
        return known;
    SpaceObject* object =
        theSimulation->MakeSpaceObject(full.record.id, "new", "new", full.abits, 0.0f, 0.0f, kNewObjectFatRadius)
            .release();
    // Filed once the message has placed it.
    theSimulation->Container()->AddUnfiled(object);
    return object;
}

void ApplyMotion(SpaceObject& object, const SpaceObjectRecord& record, bool isNew)
{
    object.cur_speed = record.speed;
    object.targetPos = record.pos;
    object.targetOrientation = record.rotation;
    object.turn_pitch = record.turnPitch;
    object.turn_roll = record.turnRoll;
    object.turn_yaw = record.turnYaw;
    if (isNew) {
        object.pos = record.pos;
        object.rot_quat = record.rotation;
    }
}

}  // namespace

void ClientMessageHookFullObject(QelNetworkMessage* message, CorvaneClient* client)
{
    if (!theSimulation)
        return;
    FullObjectMessage full;
    const char* reason = nullptr;
    if (!ReadFullObject(*message, full, reason)) {
        if (reason)
            ReportRejectedMessage("ClientMessageHookFullObject", *message, reason);
        return;
    }
    if (!theSimulation->Container())
        theSimulation->Reset(false, "");
    bool isNew = false;
    SpaceObject* object = FindOrCreate(full, isNew);
    if (client)
        client->FullObjectArrived(full.record.id);
    ApplyMotion(*object, full.record, isNew);
    object->data_tag = full.dataTag;
    object->exclusion_radius = full.exclusionRadius;
    object->fat_radius = full.fatRadius;
    object->side = full.side;

    // The behaviour's hook may delete the object or reset the world: look it
    // up again afterwards.
    const uint64_t id = full.record.id;
    const uint64_t run = theSimulation->RunCount();
    object->SetBehavior(*theSimulation, full.behaviourName);
    if (!theSimulation || theSimulation->RunCount() != run || !theSimulation->Container())
        return;
    object = FindKnown(id);
    if (!object)
        return;
    object->lastUpdateTick = theSimulation->TickCount();
    if (isNew) {
        object->SetFatBox(object->fat_radius);
        theSimulation->Container()->QueueReinsert(object);
    }
}

namespace {

const ClientHookRegistration fullObjectHook("fullobject", ClientMessageHookFullObject);

}  // namespace
