#pragma once
// A hosting server on a free loopback port with a world beside it, and raw
// consoles (bare client endpoints) that the test drives by hand. Frames and
// ticks happen only when the test calls them; the bound on waiting only stops
// a broken test. A test that counts what a console received waits for the
// server's sends to arrive (AwaitDelivery, Settle), never for a while.

#include "engine/net/QelEnetNetworkFactoryBase.h"
#include "engine/net/TransportRules.h"
#include "game/net/CorvaneServer.h"
#include "game/net/SignalMessage.h"
#include "game/world/ServerMessageSink.h"
#include "game/world/Simulation.h"
#include "tests/engine/net/LoopbackHarness.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace nettest {

// What a raw console has received, decoded as far as the tests need.
struct Received {
    uint64_t key = 0;
    uint16_t code = 0xFFFF;  // for "signal"
    std::vector<uint8_t> bytes;
};

// The payload of a received "signal", read with its record's reader; false
// when it does not read whole.
template <typename Signal>
bool DecodeSignal(const Received& received, Signal& signal)
{
    QelNetworkMessage message;
    message.WriteBytes(received.bytes.data(), static_cast<int32_t>(received.bytes.size()));
    message.readIndex = 8;
    uint16_t code = 0;
    return ReadSignalCode(message, code) && code == Signal::kCode && ReadSignal(message, signal);
}

class ServerFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        gNetworkFactory = &factory;
        world.Reset(true, "");
        MakeServer(CorvaneServer::Settings{});
    }

    // A new server in place of the old one, hosting on the same endpoint.
    void MakeServer(const CorvaneServer::Settings& settings)
    {
        server.reset();
        server = std::make_unique<CorvaneServer>(settings);
        gServer = server.get();
        server->SetWorld(&world);
        server->StartHosting();
        ASSERT_FALSE(server->IsNetworkDown());
        port = server->Port();
        ASSERT_NE(port, 0);
    }

    void TearDown() override
    {
        server.reset();
        gNetworkFactory = nullptr;
    }

    // Connects a new raw console and runs frames until the server has made
    // its record; answers the id the server gave it.
    uint64_t Connect(const std::string& name)
    {
        QelNetworkClient* console = factory.GetClient(name, port);
        consoles.push_back(console);
        const size_t before = server->Clients().size();
        EXPECT_TRUE(console->Connect(qel::test::kLoopback));
        EXPECT_TRUE(RunFramesUntil([&] { return server->Clients().size() > before; }));
        uint64_t newest = 0;
        for (const auto& entry : server->Clients())
            newest = std::max(newest, entry.first);
        return newest;
    }

    // An object of no behaviour at the place, registered at once; its box is
    // one unit around it.
    SpaceObject* AddObject(const glm::vec3& pos, uint16_t abits = 0)
    {
        SpaceObject* object = world.MakeSpaceObject(0, "", "", abits, 0.0f, 0.0f, 1.0f).release();
        object->pos = pos;
        object->SetFatBox(1.0f);
        world.Container()->Add(object);
        return object;
    }

    // Runs server frames, servicing every raw console, until the condition
    // holds; what consoles receive is kept per console.
    bool RunFramesUntil(const std::function<bool()>& done)
    {
        return qel::test::PumpUntil([&] {
            ServiceConsoles();
            server->FrameUpdate();
            return done();
        });
    }

    // Waits until everything the server has sent so far has reached every
    // connected raw console: a marker follows it reliably on each of the
    // server's two channels, and each channel keeps its order. Loopback loses
    // nothing, so only a hang reaches the bound, however busy the machine.
    void AwaitDelivery()
    {
        QelNetworkMessage marker;
        marker.WriteInt64(DeliveryMarkerKey());
        server->SendToAll(marker, ServerMessageSink::kReliable);
        server->SendToAll(marker, ServerMessageSink::kReliable | ServerMessageSink::kRecordStream);
        for (QelNetworkClient* console : consoles)
            if (console->IsConnected())
                markersAwaited[console] += 2;
        ASSERT_TRUE(qel::test::PumpUntil([&] {
            ServiceConsoles();
            for (QelNetworkClient* console : consoles)
                if (markersArrived[console] < markersAwaited[console])
                    return false;
            return true;
        })) << "the server's sends did not reach the consoles";
    }

    // Server frames, then AwaitDelivery: what the passes had to send, and
    // sent over several frames, has arrived.
    void Settle()
    {
        for (int frame = 0; frame < kSettleFrames; ++frame)
            server->FrameUpdate();
        AwaitDelivery();
    }

    void ServiceConsoles()
    {
        for (QelNetworkClient* console : consoles) {
            QelNetworkMessage message;
            while (console->Receive(message)) {
                Received r;
                message.readIndex = 0;
                message.ReadInt64(r.key);
                if (r.key == DeliveryMarkerKey()) {
                    ++markersArrived[console];
                    continue;
                }
                if (message.IsBad() || r.key == qel::kConnectedKey || r.key == qel::kDisconnectedKey)
                    continue;
                if (r.key == HashMessageName("signal"))
                    ReadSignalCode(message, r.code);
                r.bytes.assign(message.Data(), message.Data() + message.writeIndex);
                received[console].push_back(r);
            }
        }
    }

    // The signal codes a console received, in order.
    std::vector<uint16_t> SignalCodes(QelNetworkClient* console)
    {
        std::vector<uint16_t> codes;
        for (const Received& r : received[console])
            if (r.key == HashMessageName("signal"))
                codes.push_back(r.code);
        return codes;
    }

    // Sends a "signal" of the given record from a raw console.
    template <typename Signal>
    void SendSignal(QelNetworkClient* console, const Signal& signal)
    {
        QelNetworkMessage message;
        message.WriteInt64(HashMessageName("signal"));
        WriteSignal(message, signal);
        EXPECT_TRUE(console->Send(message));
    }

    // Frames of Settle: a pass that spreads its sends over frames has made them all.
    static constexpr int kSettleFrames = 20;

    static uint64_t DeliveryMarkerKey()
    {
        static const uint64_t key = HashMessageName("test delivery marker");
        return key;
    }

    QelEnetNetworkFactoryBase factory;
    Simulation world;
    std::unique_ptr<CorvaneServer> server;
    uint16_t port = 0;
    std::vector<QelNetworkClient*> consoles;
    std::map<QelNetworkClient*, std::vector<Received>> received;
    std::map<QelNetworkClient*, int> markersAwaited;  // delivery markers sent to each console
    std::map<QelNetworkClient*, int> markersArrived;
};

}  // namespace nettest
