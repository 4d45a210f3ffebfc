#pragma once
// Where the world's server-side senders hand the messages they build. The
// server implements it over its transport; the world only builds messages and
// says to whom and how they go, so it runs and tests without a network.

#include "engine/base/QelNetworkMessage.h"

#include <cstdint>

class ServerMessageSink {
public:
    // Packet flags of a send, as the transport's: what is sent once goes
    // reliably, what a later message replaces unreliably.
    static constexpr uint32_t kUnreliable = 0;
    static constexpr uint32_t kReliable = 1;
    // Unreliable, on a channel of its own: the streams of object records,
    // where each record replaces the last; on the common channel they would
    // wait behind any reliable message being resent.
    static constexpr uint32_t kRecordStream = 2;

    virtual ~ServerMessageSink() = default;

    // The side's one outgoing message, emptied, for the next message to be
    // built in. It is sent before the next one is begun.
    virtual QelNetworkMessage& StartMessage() = 0;
    virtual void SendToClient(QelNetworkMessage& message, uint64_t clientId, uint32_t packetFlags) = 0;
    // To every client whose console is aboard the ship; nothing when none is.
    virtual void SendToShip(QelNetworkMessage& message, uint64_t shipId, uint32_t packetFlags) = 0;
    virtual void SendToAll(QelNetworkMessage& message, uint32_t packetFlags) = 0;
};
