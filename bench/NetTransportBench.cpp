// How many small messages one console can push through the server's side of
// the network on loopback: ENet, the receive thread, the queues and the
// frame's dispatch, with the default 50-per-frame limit and without a limit;
// and how many bytes one small message costs on the wire.

#include "engine/base/QelNetworkMessage.h"
#include "engine/net/QelEnetNetworkFactoryBase.h"
#include "engine/net/TransportRules.h"
#include "game/net/MessageQueues.h"

#include <benchmark/benchmark.h>

#include <enet/enet.h>

#include <chrono>
#include <climits>
#include <thread>

namespace {

constexpr const char* kLoopback = "127.0.0.1";
// A burst the size of a busy second of crew commands.
constexpr int kBurst = 1000;
// IPv4 and UDP headers carried by every datagram, outside ENet's own count.
constexpr double kIpUdpHeaderBytes = 28.0;

const uint64_t kBenchKey = HashMessageName("signal");

// A "signal" with a 16-bit code and one 32-bit argument, like a helm command.
void WriteSmallMessage(QelNetworkMessage& message, int32_t value)
{
    message.Reset();
    message.WriteInt64(kBenchKey).WriteInt16(20).WriteInt32(value);
}

template <typename Condition>
bool WaitFor(Condition condition)
{
    for (int i = 0; i < 10000; ++i) {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

void BM_PushThroughServer(benchmark::State& state)
{
    const int limit = static_cast<int>(state.range(0));
    QelEnetNetworkFactoryBase factory;
    QelNetworkServer* server = factory.GetServer("server", 0);
    QelNetworkClient* client = factory.GetClient("client", server->BoundPort());
    MessageQueues queues("server");
    queues.SetDispatchLimit(limit);
    queues.StartReceiving([server](QelNetworkMessage& message) {
        uint64_t sender = 0;
        return server->Receive(message, sender);
    });
    QelNetworkMessage scratch;
    client->Connect(kLoopback);
    if (!WaitFor([&] { return client->Receive(scratch) && client->IsConnected(); })) {
        state.SkipWithError("no connection on loopback");
        return;
    }

    int64_t handled = 0;
    int64_t frames = 0;
    auto handler = [&handled](uint64_t, QelNetworkMessage&) {
        ++handled;
        return true;
    };
    QelNetworkMessage outgoing;
    for (auto _ : state) {
        const int64_t target = handled + kBurst;
        for (int i = 0; i < kBurst; ++i) {
            WriteSmallMessage(outgoing, i);
            client->Send(outgoing);
        }
        while (handled < target) {
            while (client->Receive(scratch)) {}  // lets the console's packets out
            queues.Dispatch(handler);
            ++frames;
        }
    }
    queues.StopReceiving();
    state.SetItemsProcessed(state.iterations() * kBurst);
    state.counters["dispatch_calls_per_burst"] =
        benchmark::Counter(static_cast<double>(frames) / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_PushThroughServer)->Arg(MessageQueues::kDefaultDispatchLimit)->Arg(INT_MAX)->UseRealTime();

// Bytes a console's host puts on the wire per small reliable message, sent
// alone (one datagram each) and in a burst (ENet packs several per datagram).
void BM_WireBytesPerSmallMessage(benchmark::State& state)
{
    const bool burst = state.range(0) != 0;
    QelEnetNetworkFactoryBase factory;
    QelNetworkServer* server = factory.GetServer("server", 0);
    ENetHost* host = enet_host_create(nullptr, 1, 0, 0, 0);
    ENetAddress address{};
    enet_address_set_host_ip(&address, kLoopback);
    address.port = server->BoundPort();
    ENetPeer* peer = enet_host_connect(host, &address, 2, 0);
    QelNetworkMessage scratch;
    uint64_t sender = 0;
    ENetEvent event;
    WaitFor([&] {
        enet_host_service(host, &event, 0);
        while (server->Receive(scratch, sender)) {}
        return peer->state == ENET_PEER_STATE_CONNECTED;
    });

    QelNetworkMessage outgoing;
    const int perRound = burst ? 20 : 1;
    uint64_t messages = 0;
    const enet_uint32 startBytes = host->totalSentData;
    const enet_uint32 startDatagrams = host->totalSentPackets;
    for (auto _ : state) {
        for (int i = 0; i < perRound; ++i) {
            WriteSmallMessage(outgoing, i);
            enet_peer_send(peer, 0,
                           enet_packet_create(outgoing.Data(), static_cast<size_t>(outgoing.writeIndex),
                                              ENET_PACKET_FLAG_RELIABLE));
        }
        // Servicing the console's host sends the packets and takes the
        // acknowledgements that keep ENet's reliable window open.
        int received = 0;
        WaitFor([&] {
            enet_host_service(host, &event, 0);
            while (server->Receive(scratch, sender))
                ++received;
            return received >= perRound;
        });
        messages += static_cast<uint64_t>(perRound);
    }
    const double bytes = static_cast<double>(host->totalSentData - startBytes);
    const double datagrams = static_cast<double>(host->totalSentPackets - startDatagrams);
    state.counters["payload_B"] = static_cast<double>(outgoing.writeIndex);
    state.counters["enet_B_per_msg"] = bytes / static_cast<double>(messages);
    state.counters["wire_B_per_msg"] = (bytes + datagrams * kIpUdpHeaderBytes) / static_cast<double>(messages);
    enet_peer_reset(peer);
    enet_host_destroy(host);
}
BENCHMARK(BM_WireBytesPerSmallMessage)->Arg(0)->Arg(1)->Iterations(500);

}  // namespace
