#include "game/net/SignalMessageCrew.h"

#include "game/net/NetworkIds.h"
#include "game/net/ReadMessageFields.h"

void WriteSignal(QelNetworkMessage& message, const TorpedoTubeSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteInt32(signal.action);
    if (signal.action == TorpedoTubeSignal::kSelectType)
        message.WriteString(signal.torpedoType);
    else
        message.WriteInt32(signal.tube);
}

void WriteSignal(QelNetworkMessage& message, const FloatValueFromClientSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteString(signal.key).WriteFloat(signal.value).WriteInt32(signal.index);
}

void WriteSignal(QelNetworkMessage& message, const UInt64ValueFromClientSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteString(signal.key).WriteInt64(signal.value).WriteInt32(signal.index);
}

void WriteSignal(QelNetworkMessage& message, const ShieldPiercingSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteInt64(signal.targetId);
    message.WriteFloat(signal.amplitude).WriteFloat(signal.frequency).WriteFloat(signal.offset);
}

bool ReadSignal(QelNetworkMessage& message, TorpedoTubeSignal& signal)
{
    signal.torpedoType.clear();
    signal.tube = 0;
    if (!ReadMessageFields(message, signal.action))
        return false;
    if (signal.action == TorpedoTubeSignal::kSelectType)
        return ReadMessageFields(message, signal.torpedoType);
    return ReadMessageFields(message, signal.tube);
}

bool ReadSignal(QelNetworkMessage& message, FloatValueFromClientSignal& signal)
{
    return ReadMessageFields(message, signal.key, signal.value, signal.index) && !signal.key.empty() &&
           AllFinite({signal.value}) && signal.index >= 0;
}

bool ReadSignal(QelNetworkMessage& message, UInt64ValueFromClientSignal& signal)
{
    return ReadMessageFields(message, signal.key, signal.value, signal.index) && !signal.key.empty() &&
           signal.index >= 0;
}

bool ReadSignal(QelNetworkMessage& message, ShieldPiercingSignal& signal)
{
    return ReadMessageFields(message, signal.targetId, signal.amplitude, signal.frequency, signal.offset) &&
           IsSpaceObjectId(signal.targetId) && AllFinite({signal.amplitude, signal.frequency, signal.offset});
}
