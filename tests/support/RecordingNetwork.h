#pragma once
// A network service without sockets whose client keeps every message the
// console sends, for headless tests of what widgets and scenes send: install
// it, make the client, act, then read the "signal" messages back by code.
//
//   qeltest::RecordingNetwork network;  // installed as gNetworkFactory
//   CorvaneClient client(CorvaneClient::Settings{});
//   gClient = &client;
//   ... click ...
//   auto scans = network.Signals<ScanCommandSignal>();

#include "engine/base/QelNetworkMessage.h"
#include "engine/net/QelNetworkClient.h"
#include "engine/net/QelNetworkFactoryBase.h"
#include "game/net/SignalMessage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace qeltest {

class RecordingClientEndpoint : public QelNetworkClient {
public:
    bool Connect(const std::string&) override { return true; }
    void Disconnect() override {}
    bool Receive(QelNetworkMessage&) override { return false; }
    bool Send(const QelNetworkMessage& message) override
    {
        sent.emplace_back(message.Data(), message.Data() + message.writeIndex);
        return true;
    }
    bool IsConnected() const override { return true; }
    uint64_t OversizedPacketsDropped() const override { return 0; }

    std::vector<std::vector<uint8_t>> sent;  // each message's bytes, key first
};

class RecordingNetwork : public QelNetworkFactoryBase {
public:
    RecordingNetwork() : previous(gNetworkFactory) { gNetworkFactory = this; }
    ~RecordingNetwork() override { gNetworkFactory = previous; }
    RecordingNetwork(const RecordingNetwork&) = delete;
    RecordingNetwork& operator=(const RecordingNetwork&) = delete;

    void GetLocalAddress(std::string& out) override { out = "127.0.0.1"; }
    QelNetworkServer* GetServer(const std::string&, uint16_t) override { return nullptr; }
    bool DestroyServer(const std::string&) override { return true; }
    QelNetworkClient* GetClient(const std::string&, uint16_t) override { return &client; }
    bool DestroyClient(const std::string&) override { return true; }

    // The "signal" messages of the record's code sent so far, read with its
    // reader, in the order sent; a message the reader refuses fails the test.
    template <typename Signal>
    std::vector<Signal> Signals() const
    {
        std::vector<Signal> found;
        for (const std::vector<uint8_t>& bytes : client.sent) {
            QelNetworkMessage message;
            message.WriteBytes(bytes.data(), static_cast<int32_t>(bytes.size()));
            uint64_t key = 0;
            uint16_t code = 0;
            message.ReadInt64(key).ReadInt16(code);
            if (key != HashMessageName("signal") || code != Signal::kCode)
                continue;
            Signal signal;
            if (!ReadSignal(message, signal))
                ADD_FAILURE() << "signal " << code << " was sent unreadable";
            found.push_back(signal);
        }
        return found;
    }
    void Clear() { client.sent.clear(); }

    RecordingClientEndpoint client;

private:
    QelNetworkFactoryBase* previous;
};

}  // namespace qeltest
