#pragma once
// A server endpoint, and the network service that hands it out, that keeps
// every message the server gives it to send (its bytes and recipients), so a
// test reads back exactly what would go on the wire. Nothing is received.
// Set `down` while hosting starts and the server starts no receive thread.

#include "engine/base/QelNetworkMessage.h"
#include "engine/net/QelNetworkFactoryBase.h"
#include "engine/net/QelNetworkServer.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qeltest {

class CapturingServer : public QelNetworkServer, public QelNetworkFactoryBase {
public:
    struct Packet {
        std::vector<uint8_t> bytes;
        std::vector<uint64_t> recipients;
    };

    bool Receive(QelNetworkMessage&, uint64_t&) override { return false; }
    int Send(const QelNetworkMessage& message, uint32_t) override
    {
        sent.push_back({{message.Data(), message.Data() + message.writeIndex}, message.recipients});
        return 1;
    }
    bool DisconnectClient(uint64_t) override { return true; }
    bool IsNotRunning() const override { return down; }
    std::string OpenFailure() const override { return ""; }
    uint16_t BoundPort() const override { return 0; }
    void SetMessageNames(const std::vector<std::string>&) override {}
    uint64_t OversizedPacketsDropped() const override { return 0; }

    void GetLocalAddress(std::string& out) override { out = "127.0.0.1"; }
    QelNetworkServer* GetServer(const std::string&, uint16_t) override { return this; }
    bool DestroyServer(const std::string&) override { return true; }
    QelNetworkClient* GetClient(const std::string&, uint16_t) override { return nullptr; }
    bool DestroyClient(const std::string&) override { return true; }

    // Every message sent under the name, in the order sent.
    std::vector<Packet> Named(const std::string& name) const
    {
        std::vector<Packet> found;
        for (const Packet& packet : sent)
            if (KeyOf(packet.bytes) == HashMessageName(name))
                found.push_back(packet);
        return found;
    }

    // The bytes of the first message sent under the name of at least the
    // size; none when there is no such message.
    std::vector<uint8_t> First(const std::string& name, size_t minimumSize = 0) const
    {
        for (const Packet& packet : Named(name))
            if (packet.bytes.size() >= minimumSize)
                return packet.bytes;
        return {};
    }

    std::vector<Packet> sent;
    bool down = false;

private:
    static uint64_t KeyOf(const std::vector<uint8_t>& bytes)
    {
        uint64_t key = 0;
        for (size_t i = 0; i < sizeof key && i < bytes.size(); ++i)
            key |= static_cast<uint64_t>(bytes[i]) << (8 * i);
        return key;
    }
};

}  // namespace qeltest
