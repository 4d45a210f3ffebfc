#pragma once
// The console's endpoint over ENet: one host with a single peer, the server.

#include "engine/net/QelNetworkClient.h"

#include <enet/enet.h>

#include <atomic>
#include <cstdint>
#include <string>

class QelEnetNetworkClient final : public QelNetworkClient {
public:
    QelEnetNetworkClient(std::string name, uint16_t port);
    ~QelEnetNetworkClient() override;
    QelEnetNetworkClient(const QelEnetNetworkClient&) = delete;
    QelEnetNetworkClient& operator=(const QelEnetNetworkClient&) = delete;

    bool Connect(const std::string& address) override;
    void Disconnect() override;
    bool Receive(QelNetworkMessage& message) override;
    bool Send(const QelNetworkMessage& message) override;
    bool IsConnected() const override { return connected; }
    void SetLinkTimeout(uint32_t milliseconds) override;
    uint64_t OversizedPacketsDropped() const override { return oversizedDropped; }

    const std::string& Name() const { return name; }

private:
    bool TakePacket(ENetPacket* packet, QelNetworkMessage& message);

    std::string name;
    bool connected = false;
    uint16_t port;
    ENetAddress remoteAddress{};
    ENetHost* host = nullptr;   // none when it could not be made
    ENetPeer* peer = nullptr;   // the server; none when not connected
    uint32_t linkTimeoutMs = 0;  // 0: ENet's own bounds
    std::atomic<uint64_t> oversizedDropped{0};
};
