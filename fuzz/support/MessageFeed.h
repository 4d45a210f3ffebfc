#pragma once
// Hands fuzzed messages to a side's handlers exactly as its receive thread
// and dispatch would: through a message queue of the game's own, one message
// per receive cycle, dispatched by key. Connection events are made only by
// the transport, which drops a packet that begins with their keys; a frame of
// such a key alone therefore stands for the event, and any longer one is
// dropped as the transport drops it.

#include "engine/base/QelNetworkMessage.h"
#include "game/net/MessageQueues.h"

#include <cstdint>
#include <span>

class MessageFeed {
public:
    explicit MessageFeed(const char* side, MessageQueues::HandlerCall handlers);

    // The prefix (a key, a key and a signal code, or nothing) and the bytes
    // as one message from the sender, dispatched at once.
    void Deliver(std::span<const uint8_t> prefix, std::span<const uint8_t> bytes, uint64_t sender);

private:
    MessageQueues queues;
    MessageQueues::HandlerCall handlers;
};
