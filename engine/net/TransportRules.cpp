#include "engine/net/TransportRules.h"

#include "engine/base/QelNetworkMessage.h"

#include <cstdio>

namespace qel {

bool TakePacket(ENetPacket* packet, QelNetworkMessage& message, std::atomic<uint64_t>& oversized,
                const char* side)
{
    const size_t length = packet->dataLength;
    const bool fits = length <= static_cast<size_t>(QelNetworkMessage::kMessageBufferSize);
    if (fits) {
        message.Reset();
        message.WriteBytes(packet->data, static_cast<int32_t>(length));
    } else if (oversized.fetch_add(1) == 0) {
        std::fprintf(stderr, "%s network: dropped a packet of %zu bytes (a message holds at most %d); "
                             "later ones are counted and shown when the game ends\n",
                     side, length, QelNetworkMessage::kMessageBufferSize);
    }
    enet_packet_destroy(packet);
    return fits;
}

bool IsForgedConnectionEvent(const uint8_t* data, size_t length)
{
    if (length < sizeof(uint64_t))
        return false;
    uint64_t key = 0;
    for (size_t i = 0; i < sizeof key; ++i)
        key |= static_cast<uint64_t>(data[i]) << (8 * i);
    return key == kConnectedKey || key == kReservedKey || key == kDisconnectedKey;
}

void KeepPacketThrottleOpen(ENetPeer* peer)
{
    enet_peer_throttle_configure(peer, ENET_PEER_PACKET_THROTTLE_INTERVAL, ENET_PEER_PACKET_THROTTLE_ACCELERATION, 0);
}

void SetPeerTimeout(ENetPeer* peer, uint32_t milliseconds)
{
    if (milliseconds == 0)
        return;
    // The same minimum and maximum: the connection ends when the oldest
    // unacknowledged command is that old, however many resends it took.
    enet_peer_timeout(peer, 0, milliseconds, milliseconds);
}

bool SendPacket(ENetPeer* peer, ENetPacket* packet, enet_uint8 channel)
{
    const bool queued = enet_peer_send(peer, channel, packet) == 0;
    if (packet->referenceCount == 0)
        enet_packet_destroy(packet);
    return queued;
}

}  // namespace qel
