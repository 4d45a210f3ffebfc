#include "game/net/SignalMessage.h"

#include "game/net/NetworkIds.h"
#include "game/net/ReadMessageFields.h"

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

bool ReadSignal(QelNetworkMessage& message, StringMapSignal& signal)
{
    message.ReadString(signal.key).ReadString(signal.value);
    return !message.IsBad() && !signal.key.empty();
}

bool ReadSignal(QelNetworkMessage& message, ConnectResetSignal&)
{
    return !message.IsBad();
}

bool ReadSignal(QelNetworkMessage& message, PingSignal& signal)
{
    message.ReadInt32(signal.key);
    return !message.IsBad();
}

// ---- Signals the mission script sends ----

void WriteSignal(QelNetworkMessage& message, const MyShipIdSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteInt64(signal.shipId);
}

void WriteSignal(QelNetworkMessage& message, const MyAltShipIdSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteInt64(signal.shipId);
}

void WriteSignal(QelNetworkMessage& message, const SpeechBubbleSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteInt64(signal.objectId).WriteInt32(signal.seconds);
    message.WriteString(signal.colour).WriteString(signal.text);
}

void WriteSignal(QelNetworkMessage& message, const AllNavPointsDeletedSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
}

void WriteSignal(QelNetworkMessage& message, const AllNavProxiesDeletedSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
}

void WriteSignal(QelNetworkMessage& message, const NewSimulationSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
}

void WriteSignal(QelNetworkMessage& message, const WidgetListSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteString(signal.consoleType).WriteString(signal.widgetList);
}

void WriteSignal(QelNetworkMessage& message, const GuiBoxSetRectSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteString(signal.widgetName);
    for (float edge : signal.rects)
        message.WriteFloat(edge);
}

void WriteSignal(QelNetworkMessage& message, const SuperHyperWarpSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteString(signal.shipHullKey).WriteInt32(signal.onOffFlag);
}

void WriteSignal(QelNetworkMessage& message, const CinematicControlSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteInt32(signal.scriptControlsCamera).WriteInt64(signal.dollyId);
    for (float coordinate : signal.dollyPos)
        message.WriteFloat(coordinate);
    message.WriteInt64(signal.targetId);
    for (float coordinate : signal.targetPos)
        message.WriteFloat(coordinate);
}

void WriteSignal(QelNetworkMessage& message, const OptionsTransparencySignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteInt32(signal.onOffFlag);
}

void WriteSignal(QelNetworkMessage& message, const RequestClientStringSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteString(signal.key);
}

void WriteSignal(QelNetworkMessage& message, const SetClientStringSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteString(signal.key).WriteString(signal.value);
}

void WriteSignal(QelNetworkMessage& message, const WidgetBoxStateQuerySignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteString(signal.widgetName).WriteInt32(signal.fullScreenFlag);
}

void WriteSignal(QelNetworkMessage& message, const HoldMenuSignal& signal)
{
    WriteSignalCode(message, signal.kCode);
    message.WriteInt64(signal.subject).WriteInt64(signal.object).WriteInt64(signal.extra);
    message.WriteString(signal.options);
}

bool ReadSignal(QelNetworkMessage& message, MyShipIdSignal& signal)
{
    return ReadMessageFields(message, signal.shipId) && IsNoneOrSpaceObjectId(signal.shipId);
}

bool ReadSignal(QelNetworkMessage& message, MyAltShipIdSignal& signal)
{
    return ReadMessageFields(message, signal.shipId) && IsNoneOrSpaceObjectId(signal.shipId);
}

bool ReadSignal(QelNetworkMessage& message, SpeechBubbleSignal& signal)
{
    return ReadMessageFields(message, signal.objectId, signal.seconds, signal.colour, signal.text) &&
           IsNoneOrSpaceObjectId(signal.objectId);
}

bool ReadSignal(QelNetworkMessage& message, AllNavPointsDeletedSignal&)
{
    return !message.IsBad();
}

bool ReadSignal(QelNetworkMessage& message, AllNavProxiesDeletedSignal&)
{
    return !message.IsBad();
}

bool ReadSignal(QelNetworkMessage& message, NewSimulationSignal&)
{
    return !message.IsBad();
}

bool ReadSignal(QelNetworkMessage& message, WidgetListSignal& signal)
{
    return ReadMessageFields(message, signal.consoleType, signal.widgetList);
}

bool ReadSignal(QelNetworkMessage& message, GuiBoxSetRectSignal& signal)
{
    ReadMessageFields(message, signal.widgetName);
    for (float& edge : signal.rects)
        ReadMessageFields(message, edge);
    return !message.IsBad();
}

bool ReadSignal(QelNetworkMessage& message, SuperHyperWarpSignal& signal)
{
    return ReadMessageFields(message, signal.shipHullKey, signal.onOffFlag);
}

bool ReadSignal(QelNetworkMessage& message, CinematicControlSignal& signal)
{
    float* dolly = signal.dollyPos;
    float* target = signal.targetPos;
    return ReadMessageFields(message, signal.scriptControlsCamera, signal.dollyId, dolly[0], dolly[1], dolly[2],
                             signal.targetId, target[0], target[1], target[2]);
}

bool ReadSignal(QelNetworkMessage& message, OptionsTransparencySignal& signal)
{
    return ReadMessageFields(message, signal.onOffFlag);
}

bool ReadSignal(QelNetworkMessage& message, RequestClientStringSignal& signal)
{
    return ReadMessageFields(message, signal.key);
}

bool ReadSignal(QelNetworkMessage& message, SetClientStringSignal& signal)
{
    return ReadMessageFields(message, signal.key, signal.value);
}

bool ReadSignal(QelNetworkMessage& message, WidgetBoxStateQuerySignal& signal)
{
    return ReadMessageFields(message, signal.widgetName, signal.fullScreenFlag);
}

bool ReadSignal(QelNetworkMessage& message, HoldMenuSignal& signal)
{
    return ReadMessageFields(message, signal.subject, signal.object, signal.extra, signal.options) &&
           IsNoneOrSpaceObjectId(signal.subject) && IsNoneOrSpaceObjectId(signal.object);
}
