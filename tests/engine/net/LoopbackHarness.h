#pragma once
// Shared by the network tests: a fresh ENet factory and a bounded way to wait
// for loopback traffic. The bound only stops a broken test; no test measures
// how long anything takes.

#include "engine/base/QelNetworkMessage.h"
#include "engine/net/QelEnetNetworkFactoryBase.h"
#include "engine/net/QelNetworkClient.h"
#include "engine/net/QelNetworkServer.h"

#include <chrono>
#include <functional>
#include <thread>

namespace qel::test {

constexpr const char* kLoopback = "127.0.0.1";

// Calls step until it returns true, up to about ten seconds.
inline bool PumpUntil(const std::function<bool()>& step)
{
    constexpr int kMaxRounds = 10000;
    for (int round = 0; round < kMaxRounds; ++round) {
        if (step())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

// Waits for the server's next message, servicing the given clients meanwhile
// so that their handshakes and packets go out.
inline bool ServerReceives(QelNetworkServer& server, QelNetworkMessage& message, uint64_t& sender,
                           std::initializer_list<QelNetworkClient*> clients = {})
{
    return PumpUntil([&] {
        QelNetworkMessage scratch;
        for (QelNetworkClient* client : clients)
            while (client->Receive(scratch)) {}
        return server.Receive(message, sender);
    });
}

inline uint64_t KeyOf(QelNetworkMessage& message)
{
    message.readIndex = 0;
    uint64_t key = 0;
    message.ReadInt64(key);
    return key;
}

}  // namespace qel::test
