#include "engine/net/TransportRules.h"

#include "engine/base/QelNetworkMessage.h"

#include <cstdio>

namespace qel {

bool PacketFitsMessage(size_t length)
{
    return length <= static_cast<size_t>(QelNetworkMessage::kMessageBufferSize);
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
