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
                             "later ones are dropped quietly\n",
                     side, length, QelNetworkMessage::kMessageBufferSize);
    }
    enet_packet_destroy(packet);
    return fits;
}

bool SendPacket(ENetPeer* peer, ENetPacket* packet)
{
    const bool queued = enet_peer_send(peer, kChannel, packet) == 0;
    if (packet->referenceCount == 0)
        enet_packet_destroy(packet);
    return queued;
}

}  // namespace qel
