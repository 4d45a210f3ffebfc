#pragma once
// A network factory whose one client endpoint is always connected and keeps
// every message sent through it, so a test can read back what a console sent
// ("signal" codes and payloads) without a server. Servers are not offered.

#include "engine/base/QelNetworkMessage.h"
#include "engine/net/QelNetworkClient.h"
#include "engine/net/QelNetworkFactoryBase.h"
#include "game/net/SignalMessage.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace qeltest {

class RecordingNetworkClient : public QelNetworkClient {
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

    std::vector<std::vector<uint8_t>> sent;  // the bytes of each message, in order
};

class RecordingNetwork : public QelNetworkFactoryBase {
public:
    void GetLocalAddress(std::string& out) override { out = "127.0.0.1"; }
    QelNetworkServer* GetServer(const std::string&, uint16_t) override { return nullptr; }
    bool DestroyServer(const std::string&) override { return false; }
    QelNetworkClient* GetClient(const std::string&, uint16_t) override { return &client; }
    bool DestroyClient(const std::string&) override { return true; }

    // The "signal" codes sent, in order; other messages are left out.
    std::vector<uint16_t> SignalCodes() const
    {
        std::vector<uint16_t> codes;
        for (size_t i = 0; i < client.sent.size(); ++i) {
            QelNetworkMessage message;
            uint16_t code = 0;
            if (OpenSignal(i, message, code))
                codes.push_back(code);
        }
        return codes;
    }

    // The payload of the index-th "signal" of the record's code, read by the
    // protocol's own reader; false when there is none or it does not read.
    template <typename Signal>
    bool Read(Signal& signal, size_t index = 0) const
    {
        for (size_t i = 0; i < client.sent.size(); ++i) {
            QelNetworkMessage message;
            uint16_t code = 0;
            if (!OpenSignal(i, message, code) || code != Signal::kCode)
                continue;
            if (index-- == 0)
                return ReadSignal(message, signal);
        }
        return false;
    }

    void Clear() { client.sent.clear(); }

    RecordingNetworkClient client;

private:
    bool OpenSignal(size_t i, QelNetworkMessage& message, uint16_t& code) const
    {
        const std::vector<uint8_t>& bytes = client.sent[i];
        message.WriteBytes(bytes.data(), static_cast<int32_t>(bytes.size()));
        uint64_t key = 0;
        message.ReadInt64(key);
        return key == HashMessageName("signal") && ReadSignalCode(message, code);
    }
};

}  // namespace qeltest
