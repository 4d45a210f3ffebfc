#pragma once
// A network service without sockets for the fuzz targets. The fuzzer feeds
// received messages itself; what the game sends is checked, not delivered:
// a message that was cut short because a write did not fit, or that holds
// less than its key, would reach a peer corrupt, so it stops the run.

#include "engine/net/QelNetworkClient.h"
#include "engine/net/QelNetworkFactoryBase.h"
#include "engine/net/QelNetworkServer.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Aborts the run when the message could not be sent whole.
void CheckSentMessage(const QelNetworkMessage& message, const char* side);

class FuzzServerEndpoint : public QelNetworkServer {
public:
    bool Receive(QelNetworkMessage&, uint64_t&) override { return false; }
    int Send(const QelNetworkMessage& message, uint32_t flags) override;
    bool DisconnectClient(uint64_t) override { return true; }
    // Down while hosting starts, so the server starts no receive thread: the
    // fuzzer dispatches every message itself, on the main thread.
    bool IsNotRunning() const override { return down; }
    std::string OpenFailure() const override { return ""; }
    uint16_t BoundPort() const override { return 0; }
    void SetMessageNames(const std::vector<std::string>&) override {}
    uint64_t OversizedPacketsDropped() const override { return 0; }

    bool down = false;
    uint64_t sentCount = 0;
};

class FuzzClientEndpoint : public QelNetworkClient {
public:
    bool Connect(const std::string&) override { return true; }
    void Disconnect() override {}
    bool Receive(QelNetworkMessage&) override { return false; }
    bool Send(const QelNetworkMessage& message) override;
    bool IsConnected() const override { return true; }
    uint64_t OversizedPacketsDropped() const override { return 0; }

    uint64_t sentCount = 0;
};

// Made once per process and installed as gNetworkFactory.
class FuzzNetwork : public QelNetworkFactoryBase {
public:
    static FuzzNetwork& Instance();

    void GetLocalAddress(std::string& out) override { out = "127.0.0.1"; }
    QelNetworkServer* GetServer(const std::string&, uint16_t) override { return &server; }
    bool DestroyServer(const std::string&) override { return true; }
    QelNetworkClient* GetClient(const std::string&, uint16_t) override { return &client; }
    bool DestroyClient(const std::string&) override { return true; }

    FuzzServerEndpoint server;
    FuzzClientEndpoint client;
};
