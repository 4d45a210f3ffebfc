#include "game/net/SpaceObjectRecord.h"

#include "game/net/ReadMessageFields.h"
#include "game/world/SpaceObject.h"
#include "helper/QelAssert.h"

#include <cmath>

bool SpaceObjectRecord::IsFinite() const
{
    const float values[] = {speed, pos.x, pos.y, pos.z, rotation.x, rotation.y, rotation.z, rotation.w,
                            turnPitch, turnRoll, turnYaw};
    for (float value : values)
        if (!std::isfinite(value))
            return false;
    return true;
}

void WriteSpaceObjectRecord(const SpaceObject& object, int32_t marker, QelNetworkMessage& message)
{
    QEL_ASSERT(message.BytesLeftToWrite() >= SpaceObjectRecord::kSize,
               "room for the record; WriteSpaceObjectRecord");
    message.WriteInt64(object.uniqueID);
    message.WriteFloat(object.cur_speed);
    message.WriteFloat(object.pos.x).WriteFloat(object.pos.y).WriteFloat(object.pos.z);
    const glm::quat& q = object.rot_quat;
    message.WriteFloat(q.x).WriteFloat(q.y).WriteFloat(q.z).WriteFloat(q.w);
    message.WriteFloat(object.turn_pitch).WriteFloat(object.turn_roll).WriteFloat(object.turn_yaw);
    message.WriteInt32(marker);
}

bool ReadSpaceObjectRecordBody(QelNetworkMessage& message, SpaceObjectRecord& record)
{
    glm::quat& q = record.rotation;
    return ReadMessageFields(message, record.speed, record.pos.x, record.pos.y, record.pos.z, q.x, q.y, q.z, q.w,
                             record.turnPitch, record.turnRoll, record.turnYaw, record.marker) &&
           record.IsFinite();
}
