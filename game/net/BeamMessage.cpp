#include "game/net/BeamMessage.h"

#include "game/net/ReadMessageFields.h"
#include "game/net/NetworkIds.h"

void WriteBeamMessage(QelNetworkMessage& message, const BeamMessage& beam)
{
    message.WriteString(beam.kind).WriteString(beam.secondText).WriteString(beam.thirdText);
    message.WriteInt64(beam.firstId).WriteInt64(beam.secondId);
    message.WriteFloat(beam.firstPoint.x).WriteFloat(beam.firstPoint.y).WriteFloat(beam.firstPoint.z);
    message.WriteFloat(beam.secondPoint.x).WriteFloat(beam.secondPoint.y).WriteFloat(beam.secondPoint.z);
    message.WriteInt32(beam.value);
}

bool ReadBeamMessage(QelNetworkMessage& message, BeamMessage& beam)
{
    const bool whole = ReadMessageFields(message, beam.kind, beam.secondText, beam.thirdText, beam.firstId,
                                         beam.secondId, beam.firstPoint.x, beam.firstPoint.y, beam.firstPoint.z,
                                         beam.secondPoint.x, beam.secondPoint.y, beam.secondPoint.z, beam.value);
    return whole && IsNoneOrSpaceObjectId(beam.firstId) && IsNoneOrSpaceObjectId(beam.secondId);
}

bool SkipTransientMessage(QelNetworkMessage& message)
{
    int32_t a = 0, b = 0, e = 0, f = 0, g = 0;
    uint64_t c = 0, d = 0, h = 0;
    std::string text;
    return ReadMessageFields(message, a, b, c, d, e, f, g, text, h);
}
