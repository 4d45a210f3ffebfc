#include "engine/net/TransportRules.h"

#include "engine/base/QelNetworkMessage.h"

#include <cstdio>

namespace qel {

bool PacketFitsMessage(size_t length)
{
    return length <= static_cast<size_t>(QelNetworkMessage::kMessageBufferSize);
}

void ReportOversizedPacket(std::atomic<uint64_t>& counter, const char* side, size_t length)
{
    if (counter.fetch_add(1) == 0)
        std::fprintf(stderr, "%s network: dropped a packet of %zu bytes (a message holds at most %d); "
                             "later ones are dropped quietly\n",
                     side, length, QelNetworkMessage::kMessageBufferSize);
}

bool SendPacket(ENetPeer* peer, ENetPacket* packet)
{
    const bool queued = enet_peer_send(peer, kChannel, packet) == 0;
    if (packet->referenceCount == 0)
        enet_packet_destroy(packet);
    return queued;
}

}  // namespace qel
