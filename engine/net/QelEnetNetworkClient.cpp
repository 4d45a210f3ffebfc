#include "engine/net/QelEnetNetworkClient.h"

#include "engine/base/PerSecondCounterMap.h"
#include "engine/base/QelNetworkMessage.h"
#include "engine/net/TransportRules.h"

#include <utility>

namespace {

// How long Disconnect waits for the server to acknowledge before it simply
// forgets the peer.
constexpr enet_uint32 kDisconnectWaitMs = 3000;
// Two channels are asked for; everything travels on channel 0.
constexpr size_t kConnectChannels = 2;

}  // namespace

QelEnetNetworkClient::QelEnetNetworkClient(std::string name_, uint16_t port_)
    : name(std::move(name_)), port(port_)
{
    host = enet_host_create(nullptr, 1, 0, 0, 0);
}

QelEnetNetworkClient::~QelEnetNetworkClient()
{
    // Tell the server at once instead of waiting for its reply: the endpoint
    // goes away with the program, and the server learns of it either way.
    if (peer != nullptr) {
        enet_peer_disconnect_now(peer, 0);
        peer = nullptr;
    }
    if (host != nullptr)
        enet_host_destroy(host);
}

bool QelEnetNetworkClient::Connect(const std::string& address)
{
    if (host == nullptr)
        return false;
    if (connected || peer != nullptr)
        Disconnect();
    ENetAddress target{};
    if (enet_address_set_host(&target, address.c_str()) != 0)
        return false;
    target.port = port;
    remoteAddress = target;
    peer = enet_host_connect(host, &remoteAddress, kConnectChannels, 0);
    if (peer != nullptr)
        qel::SetPeerTimeout(peer, linkTimeoutMs);
    return peer != nullptr;
}

void QelEnetNetworkClient::SetLinkTimeout(uint32_t milliseconds)
{
    linkTimeoutMs = milliseconds;
    if (peer != nullptr)
        qel::SetPeerTimeout(peer, linkTimeoutMs);
}

void QelEnetNetworkClient::Disconnect()
{
    if (peer != nullptr) {
        enet_peer_disconnect(peer, 0);
        ENetEvent event;
        bool acknowledged = false;
        while (!acknowledged && enet_host_service(host, &event, kDisconnectWaitMs) > 0) {
            if (event.type == ENET_EVENT_TYPE_RECEIVE)
                enet_packet_destroy(event.packet);
            acknowledged = event.type == ENET_EVENT_TYPE_DISCONNECT;
        }
        if (!acknowledged)
            enet_peer_reset(peer);
    }
    connected = false;
    peer = nullptr;
}

bool QelEnetNetworkClient::Receive(QelNetworkMessage& message)
{
    if (host == nullptr)
        return false;
    ENetEvent event;
    // Packets too large for a message are dropped here, so the loop goes on to
    // the next event instead of ending the caller's receive cycle early.
    while (enet_host_service(host, &event, 0) > 0) {
        switch (event.type) {
        case ENET_EVENT_TYPE_CONNECT:
            connected = true;
            qel::KeepPacketThrottleOpen(event.peer);
            message.Reset();
            message.WriteInt64(qel::kConnectedKey);
            return true;
        case ENET_EVENT_TYPE_DISCONNECT:
            connected = false;
            peer = nullptr;
            message.Reset();
            message.WriteInt64(qel::kDisconnectedKey);
            return true;
        case ENET_EVENT_TYPE_RECEIVE:
            if (TakePacket(event.packet, message))
                return true;
            break;
        default:
            return false;
        }
    }
    return false;
}

bool QelEnetNetworkClient::TakePacket(ENetPacket* packet, QelNetworkMessage& message)
{
    AddPerSecondCounter(1.0f, "client recieve packets/sec");
    AddPerSecondCounter(static_cast<float>(packet->dataLength), "client recieve bytes/sec");
    return qel::TakePacket(packet, message, oversizedDropped, "client");
}

bool QelEnetNetworkClient::Send(const QelNetworkMessage& message)
{
    if (peer == nullptr)
        return false;
    AddPerSecondCounter(1.0f, "client send packets/sec");
    AddPerSecondCounter(static_cast<float>(message.writeIndex), "client send bytes/sec");
    ENetPacket* packet = enet_packet_create(message.Data(), static_cast<size_t>(message.writeIndex),
                                            ENET_PACKET_FLAG_RELIABLE);
    if (packet == nullptr)
        return false;
    return qel::SendPacket(peer, packet);
}
