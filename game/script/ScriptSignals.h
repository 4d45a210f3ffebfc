#pragma once
// How the mission's functions tell consoles something: one "signal" record,
// built in the server's one outgoing message and sent through the script
// host's message sink at once. Without a sink (no server) nothing is sent.

#include "game/net/SignalMessage.h"
#include "game/script/MissionScript.h"
#include "game/world/ServerMessageSink.h"

#include <cstdint>

namespace zmx {

// The sink's message holding the signal, or null when there is no sink.
template <typename Signal>
QelNetworkMessage* BuildSignal(const Signal& signal)
{
    ServerMessageSink* sink = theMissionScript.MessageSink();
    if (!sink)
        return nullptr;
    QelNetworkMessage& message = sink->StartMessage();
    message.WriteInt64(HashMessageName("signal"));
    WriteSignal(message, signal);
    return &message;
}

template <typename Signal>
void SendSignalToClient(uint64_t clientId, const Signal& signal, uint32_t packetFlags)
{
    if (QelNetworkMessage* message = BuildSignal(signal))
        theMissionScript.MessageSink()->SendToClient(*message, clientId, packetFlags);
}

template <typename Signal>
void SendSignalToShip(uint64_t shipId, const Signal& signal, uint32_t packetFlags)
{
    if (QelNetworkMessage* message = BuildSignal(signal))
        theMissionScript.MessageSink()->SendToShip(*message, shipId, packetFlags);
}

template <typename Signal>
void SendSignalToAll(const Signal& signal, uint32_t packetFlags)
{
    if (QelNetworkMessage* message = BuildSignal(signal))
        theMissionScript.MessageSink()->SendToAll(*message, packetFlags);
}

}  // namespace zmx
