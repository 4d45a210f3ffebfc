#include "fuzz/support/MessageFeed.h"

#include "engine/net/TransportRules.h"

#include <vector>

MessageFeed::MessageFeed(const char* side, MessageQueues::HandlerCall handlers_)
    : queues(side), handlers(std::move(handlers_))
{
}

void MessageFeed::Deliver(std::span<const uint8_t> prefix, std::span<const uint8_t> bytes, uint64_t sender)
{
    std::vector<uint8_t> packet(prefix.begin(), prefix.end());
    packet.insert(packet.end(), bytes.begin(), bytes.end());
    const bool eventKey = qel::IsForgedConnectionEvent(packet.data(), packet.size());
    const bool connectionEvent = eventKey && packet.size() == MessageQueues::kKeySize &&
                                 packet[0] != qel::kReservedKey;
    if (eventKey && !connectionEvent)
        return;
    if (packet.size() > static_cast<size_t>(QelNetworkMessage::kMessageBufferSize))
        return;  // the transport drops a packet too large for a message
    bool taken = false;
    queues.ReceiveCycle([&](QelNetworkMessage& message) {
        if (taken)
            return false;
        taken = true;
        message.WriteBytes(packet.data(), static_cast<int32_t>(packet.size()));
        message.sender = sender;
        return true;
    });
    // The message waits in the filling queue; the first dispatch swaps the
    // queues, the second hands it on.
    queues.Dispatch(handlers);
    queues.Dispatch(handlers);
}
