#pragma once
// What the client and server endpoints agree on: the keys of connection events
// and what becomes of a packet that cannot be a message.

#include <enet/enet.h>

#include <atomic>
#include <cstddef>
#include <cstdint>

class QelNetworkMessage;

namespace qel {

// Keys the transport writes for connection events; named messages use the
// 46-bit name hash, which never takes these small values.
constexpr uint64_t kConnectedKey = 0;
constexpr uint64_t kReservedKey = 1;   // registered empty on both sides, never sent
constexpr uint64_t kDisconnectedKey = 2;

// ENet's channel for all traffic but the object records, which travel on a
// channel of their own: each record replaces the last, and on the common
// channel they would wait behind any reliable message being resent.
constexpr enet_uint8 kChannel = 0;
constexpr enet_uint8 kRecordChannel = 1;

// Copies a received packet into the message and destroys the packet. A packet
// too large for a message is dropped instead: counted, and the first time
// reported on stderr naming the side ("client", "server"). False when dropped.
bool TakePacket(ENetPacket* packet, QelNetworkMessage& message, std::atomic<uint64_t>& oversized,
                const char* side);

// True when a packet starts with a connection event's key. Only the
// transport makes such messages; a peer that sends one forges an event (a
// console could remove its own record on the server), so it is dropped.
bool IsForgedConnectionEvent(const uint8_t* data, size_t length);

// ENet's packet throttle takes round trips longer than before as congestion:
// it drops unreliable packets at the sender and narrows the reliable window,
// and after a sudden rise of the delay it stops unreliable packets until its
// next review, seconds later. Game traffic is small beside what a local
// network carries, so the throttle is told never to close (and tells the
// other end the same).
void KeepPacketThrottleOpen(ENetPeer* peer);

// Sets how long the peer's reliable traffic may go unacknowledged before
// ENet ends the connection; 0 leaves ENet's own bounds (5 to 30 s).
void SetPeerTimeout(ENetPeer* peer, uint32_t milliseconds);

// Queues the packet on the peer's channel; a packet ENet did not take is
// destroyed.
bool SendPacket(ENetPeer* peer, ENetPacket* packet, enet_uint8 channel = kChannel);

}  // namespace qel
