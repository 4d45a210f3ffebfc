#include "game/net/SignalMessage.h"

#include "game/net/NetworkIds.h"

void WriteSignalCode(QelNetworkMessage& message, SignalMessageCode code)
{
    message.WriteInt16(code);
}

bool ReadSignalCode(QelNetworkMessage& message, uint16_t& code)
{
    message.ReadInt16(code);
    return !message.IsBad();
}

void WriteSignal(QelNetworkMessage& message, const FullObjectRequestSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    for (uint64_t id : signal.objectIds) {
        message.WriteInt64(id);
    }
    message.WriteInt64(0);  // ends the list
}

void WriteSignal(QelNetworkMessage& message, const HeartbeatSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
}

void WriteSignal(QelNetworkMessage& message, const ObjectRemovedSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteInt64(signal.objectId);
}

void WriteSignal(QelNetworkMessage& message, const PauseStateSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteInt32(signal.paused);
}

void WriteSignal(QelNetworkMessage& message, const ShipRecordRequestSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteString(signal.shipKey);
}

void WriteSignal(QelNetworkMessage& message, const AutoCinematicStarsSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteInt64(signal.objectId);
}

void WriteSignal(QelNetworkMessage& message, const StringMapSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteString(signal.key);
    message.WriteString(signal.value);
}

void WriteSignal(QelNetworkMessage& message, const ConnectResetSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
}

void WriteSignal(QelNetworkMessage& message, const SimulationTickSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteInt64(static_cast<uint64_t>(signal.tick));
}

void WriteSignal(QelNetworkMessage& message, const PingSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteInt32(signal.key);
}

// Reads ids until the terminating 0. Every id must name a space object: one
// id of another kind spoils the whole request.
bool ReadSignal(QelNetworkMessage& message, FullObjectRequestSignal& signal)
{
    signal.objectIds.clear();
    bool allSpaceObjects = true;
    for (;;) {
        uint64_t id = 0;
        message.ReadInt64(id);
        if (message.IsBad() || id == 0) {
            break;
        }
        allSpaceObjects = allSpaceObjects && IsSpaceObjectId(id);
        signal.objectIds.push_back(id);
    }
    return !message.IsBad() && allSpaceObjects;
}

bool ReadSignal(QelNetworkMessage& message, HeartbeatSignal&)
{
    return !message.IsBad();
}

bool ReadSignal(QelNetworkMessage& message, ObjectRemovedSignal& signal)
{
    message.ReadInt64(signal.objectId);
    return !message.IsBad() && IsSpaceObjectId(signal.objectId);
}

bool ReadSignal(QelNetworkMessage& message, PauseStateSignal& signal)
{
    message.ReadInt32(signal.paused);
    return !message.IsBad();
}

bool ReadSignal(QelNetworkMessage& message, ShipRecordRequestSignal& signal)
{
    message.ReadString(signal.shipKey);
    return !message.IsBad() && !signal.shipKey.empty();
}

bool ReadSignal(QelNetworkMessage& message, AutoCinematicStarsSignal& signal)
{
    message.ReadInt64(signal.objectId);
    return !message.IsBad() && IsNoneOrSpaceObjectId(signal.objectId);
}

bool ReadSignal(QelNetworkMessage& message, StringMapSignal& signal)
{
    message.ReadString(signal.key).ReadString(signal.value);
    return !message.IsBad() && !signal.key.empty();
}

bool ReadSignal(QelNetworkMessage& message, ConnectResetSignal&)
{
    return !message.IsBad();
}

bool ReadSignal(QelNetworkMessage& message, SimulationTickSignal& signal)
{
    message.ReadInt64(signal.tick);
    return !message.IsBad();
}

bool ReadSignal(QelNetworkMessage& message, PingSignal& signal)
{
    message.ReadInt32(signal.key);
    return !message.IsBad();
}
