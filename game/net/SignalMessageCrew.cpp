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

void WriteSignal(QelNetworkMessage& message, const QuickJumpSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteFloat(signal.direction);
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

bool ReadSignal(QelNetworkMessage& message, QuickJumpSignal& signal)
{
    return ReadMessageFields(message, signal.direction) && AllFinite({signal.direction});
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

void WriteSignal(QelNetworkMessage& message, const ScanCheckSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteInt64(signal.targetId);
}

void WriteSignal(QelNetworkMessage& message, const ScanCommandSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteInt64(signal.targetId).WriteString(signal.command).WriteString(signal.scanType);
}

void WriteSignal(QelNetworkMessage& message, const CommsButtonSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteString(signal.button).WriteInt64(signal.shipId).WriteInt64(signal.contactId);
}

void WriteSignal(QelNetworkMessage& message, const MainScreenViewRequestSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteString(signal.view).WriteString(signal.facing).WriteString(signal.mode);
}

void WriteSignal(QelNetworkMessage& message, const HoldClickSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteInt64(signal.subjectId).WriteInt64(signal.objectId).WriteString(signal.choice);
    message.WriteFloat(signal.x).WriteFloat(signal.y).WriteFloat(signal.z).WriteInt64(signal.extraId);
}

void WriteSignal(QelNetworkMessage& message, const HoldButtonSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteString(signal.view).WriteString(signal.button);
    for (uint64_t id : signal.ids)
        message.WriteInt64(id);
}

void WriteSignal(QelNetworkMessage& message, const ConsoleScriptEventSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteInt64(signal.objectId).WriteString(signal.tag).WriteString(signal.subTag);
}

bool ReadSignal(QelNetworkMessage& message, ScanCheckSignal& signal)
{
    return ReadMessageFields(message, signal.targetId) && IsSpaceObjectId(signal.targetId);
}

bool ReadSignal(QelNetworkMessage& message, ScanCommandSignal& signal)
{
    return ReadMessageFields(message, signal.targetId, signal.command, signal.scanType) &&
           IsSpaceObjectId(signal.targetId);
}

bool ReadSignal(QelNetworkMessage& message, CommsButtonSignal& signal)
{
    return ReadMessageFields(message, signal.button, signal.shipId, signal.contactId) &&
           IsNoneOrSpaceObjectId(signal.shipId) && IsNoneOrSpaceObjectId(signal.contactId);
}

bool ReadSignal(QelNetworkMessage& message, MainScreenViewRequestSignal& signal)
{
    return ReadMessageFields(message, signal.view, signal.facing, signal.mode) && !signal.view.empty() &&
           !signal.facing.empty() && !signal.mode.empty();
}

bool ReadSignal(QelNetworkMessage& message, HoldClickSignal& signal)
{
    return ReadMessageFields(message, signal.subjectId, signal.objectId, signal.choice, signal.x, signal.y, signal.z,
                             signal.extraId) &&
           AllFinite({signal.x, signal.y, signal.z});
}

bool ReadSignal(QelNetworkMessage& message, HoldButtonSignal& signal)
{
    return ReadMessageFields(message, signal.view, signal.button, signal.ids[0], signal.ids[1], signal.ids[2],
                             signal.ids[3]);
}

bool ReadSignal(QelNetworkMessage& message, ConsoleScriptEventSignal& signal)
{
    return ReadMessageFields(message, signal.objectId, signal.tag, signal.subTag) &&
           IsNoneOrSpaceObjectId(signal.objectId) && !signal.tag.empty();
}
