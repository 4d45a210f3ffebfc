#include "engine/net/QelEnetNetworkServer.h"

#include "engine/base/PerSecondCounterMap.h"
#include "engine/base/QelNetworkMessage.h"
#include "engine/net/TransportRules.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

namespace {

// The largest crew the server accepts at once.
constexpr size_t kMaxPeers = 200;
// Per-client byte counters are named by the low bits of the id ("501bps").
constexpr uint64_t kClientCounterMask = 0xFFF;

}  // namespace

QelEnetNetworkServer::QelEnetNetworkServer(std::string name_, uint16_t port_)
    : name(std::move(name_)), port(port_)
{
    listenAddress.host = ENET_HOST_ANY;
    listenAddress.port = port;
    errno = 0;
    host = enet_host_create(&listenAddress, kMaxPeers, 0, 0, 0);
    // ENet keeps no reason of its own; errno still holds the one of the
    // socket call that failed (bind, mostly).
    if (host == nullptr)
        openFailure = errno != 0 ? std::strerror(errno) : "the system gave no reason";
}

QelEnetNetworkServer::~QelEnetNetworkServer()
{
    if (host == nullptr)
        return;
    // Consoles still connected are told at once, so they go back to their
    // connect screen now instead of after ENet's time-out; they hold their id
    // storage until now.
    for (size_t i = 0; i < host->peerCount; ++i) {
        ENetPeer* peer = &host->peers[i];
        if (peer->state == ENET_PEER_STATE_CONNECTED)
            enet_peer_disconnect_now(peer, 0);
        delete static_cast<uint64_t*>(peer->data);
        peer->data = nullptr;
    }
    enet_host_destroy(host);
}

uint16_t QelEnetNetworkServer::BoundPort() const
{
    if (host == nullptr)
        return 0;
    ENetAddress bound{};
    if (enet_socket_get_address(host->socket, &bound) != 0)
        return port;
    return bound.port;
}

void QelEnetNetworkServer::SetMessageNames(const std::vector<std::string>& names)
{
    messageNames.clear();
    for (const std::string& messageName : names)
        messageNames[HashMessageName(messageName)] = messageName;
}

uint64_t QelEnetNetworkServer::PeerId(const ENetPeer* peer)
{
    const auto* id = static_cast<const uint64_t*>(peer->data);
    return id != nullptr ? *id : 0;
}

uint64_t QelEnetNetworkServer::AttachNextId(ENetPeer* peer)
{
    ++clientIdCounter;
    const uint64_t id = clientIdCounter | kClientIdBit;
    delete static_cast<uint64_t*>(peer->data);
    peer->data = new uint64_t(id);
    return id;
}

bool QelEnetNetworkServer::Receive(QelNetworkMessage& message, uint64_t& sender)
{
    if (host == nullptr)
        return false;
    ENetEvent event;
    // Oversized packets are dropped here and the next event is taken, so the
    // caller's receive cycle does not end early.
    while (enet_host_service(host, &event, 0) > 0) {
        switch (event.type) {
        case ENET_EVENT_TYPE_CONNECT:
            message.Reset();
            message.WriteInt64(qel::kConnectedKey);
            sender = message.sender = AttachNextId(event.peer);
            return true;
        case ENET_EVENT_TYPE_DISCONNECT:
            message.Reset();
            message.WriteInt64(qel::kDisconnectedKey);
            sender = message.sender = PeerId(event.peer);
            delete static_cast<uint64_t*>(event.peer->data);
            event.peer->data = nullptr;
            return true;
        case ENET_EVENT_TYPE_RECEIVE:
            if (TakePacket(event, message, sender))
                return true;
            break;
        default:
            return false;
        }
    }
    return false;
}

bool QelEnetNetworkServer::TakePacket(const ENetEvent& event, QelNetworkMessage& message, uint64_t& sender)
{
    AddPerSecondCounter(static_cast<float>(event.packet->dataLength), "server recieve bytes/sec");
    AddPerSecondCounter(1.0f, "server recieve packets/sec");
    if (!qel::TakePacket(event.packet, message, oversizedDropped, "server"))
        return false;
    if (qel::IsForgedConnectionEvent(message.Data(), static_cast<size_t>(message.writeIndex))) {
        if (forgedEventsDropped.fetch_add(1) == 0)
            std::fprintf(stderr, "server network: dropped a packet from peer %llu that poses as a connection "
                                 "event; later ones are dropped quietly\n",
                         static_cast<unsigned long long>(PeerId(event.peer)));
        message.Reset();
        return false;
    }
    sender = message.sender = PeerId(event.peer);
    return true;
}

std::string QelEnetNetworkServer::MessageName(const QelNetworkMessage& message) const
{
    if (message.writeIndex < static_cast<int32_t>(sizeof(uint64_t)))
        return {};
    uint64_t key = 0;
    for (size_t i = 0; i < sizeof key; ++i)
        key |= static_cast<uint64_t>(message.Data()[i]) << (8 * i);
    auto found = messageNames.find(key);
    return found != messageNames.end() ? found->second : std::string();
}

void QelEnetNetworkServer::CountSend(const std::string& messageName, uint64_t recipient, int32_t length)
{
    const float bytes = static_cast<float>(length);
    AddPerSecondCounter(1.0f, "server send packets/sec");
    AddPerSecondCounter(bytes, "server send bytes/sec");
    AddPerSecondCounter(bytes, messageName + "TST");
    AddPerSecondCounter(bytes, std::to_string(recipient & kClientCounterMask) + "bps");
}

int QelEnetNetworkServer::Send(const QelNetworkMessage& message, uint32_t flags)
{
    if (host == nullptr)
        return 0;
    const std::string messageName = MessageName(message);
    const enet_uint32 packetFlags = (flags & kReliable) != 0 ? ENET_PACKET_FLAG_RELIABLE : 0;
    int sent = 0;
    for (size_t i = 0; i < host->peerCount; ++i) {
        ENetPeer* peer = &host->peers[i];
        if (peer->state != ENET_PEER_STATE_CONNECTED)
            continue;
        const uint64_t id = PeerId(peer);
        for (uint64_t recipient : message.recipients) {
            if (recipient != id || id == 0)
                continue;
            CountSend(messageName, recipient, message.writeIndex);
            ENetPacket* packet =
                enet_packet_create(message.Data(), static_cast<size_t>(message.writeIndex), packetFlags);
            if (packet != nullptr && qel::SendPacket(peer, packet))
                ++sent;
        }
    }
    return sent;
}

bool QelEnetNetworkServer::DisconnectClient(uint64_t clientId)
{
    if (host == nullptr || clientId == 0)
        return false;
    for (size_t i = 0; i < host->peerCount; ++i) {
        ENetPeer* peer = &host->peers[i];
        if (peer->state == ENET_PEER_STATE_CONNECTED && PeerId(peer) == clientId) {
            enet_peer_disconnect(peer, 0);
            return true;
        }
    }
    return false;
}
