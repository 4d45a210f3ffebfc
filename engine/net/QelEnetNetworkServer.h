#pragma once
// The hosting endpoint over ENet: up to 200 consoles, each known by an id
// (bit 63 set) kept with its peer from connect to disconnect.

#include "engine/net/QelNetworkServer.h"

#include <enet/enet.h>

#include <atomic>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

class QelEnetNetworkServer final : public QelNetworkServer {
public:
    // Client ids carry this bit, so they never collide with object ids.
    static constexpr uint64_t kClientIdBit = 1ull << 63;
    // The first console of a run gets 501: the counter starts here and is
    // raised before each use.
    static constexpr uint64_t kFirstClientCounter = 500;

    QelEnetNetworkServer(std::string name, uint16_t port);
    ~QelEnetNetworkServer() override;
    QelEnetNetworkServer(const QelEnetNetworkServer&) = delete;
    QelEnetNetworkServer& operator=(const QelEnetNetworkServer&) = delete;

    bool Receive(QelNetworkMessage& message, uint64_t& sender) override;
    int Send(const QelNetworkMessage& message, uint32_t flags) override;
    bool DisconnectClient(uint64_t clientId) override;
    void SetLinkTimeout(uint32_t milliseconds) override { linkTimeoutMs = milliseconds; }
    bool IsNotRunning() const override { return host == nullptr; }
    std::string OpenFailure() const override { return openFailure; }
    uint16_t BoundPort() const override;
    void SetMessageNames(const std::vector<std::string>& names) override;
    uint64_t OversizedPacketsDropped() const override { return oversizedDropped; }

    // Packets from peers that posed as connection events.
    uint64_t ForgedEventsDropped() const { return forgedEventsDropped; }

    const std::string& Name() const { return name; }

private:
    static uint64_t PeerId(const ENetPeer* peer);
    uint64_t AttachNextId(ENetPeer* peer);
    bool TakePacket(const ENetEvent& event, QelNetworkMessage& message, uint64_t& sender);
    std::string MessageName(const QelNetworkMessage& message) const;
    void CountSend(const std::string& messageName, uint64_t recipient, int32_t length);

    std::string name;
    uint16_t port;
    ENetAddress listenAddress{};
    ENetHost* host = nullptr;  // none when the port could not be bound
    std::string openFailure;   // the system's reason when there is no host
    uint64_t clientIdCounter = kFirstClientCounter;
    uint32_t linkTimeoutMs = 0;  // 0: ENet's own bounds
    std::map<uint64_t, std::string> messageNames;  // key -> name, for the send counters
    std::atomic<uint64_t> oversizedDropped{0};
    std::atomic<uint64_t> forgedEventsDropped{0};
};
