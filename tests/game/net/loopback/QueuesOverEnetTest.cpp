// The server's side of the network end to end on loopback: a console's
// messages cross ENet, the receive thread queues them, and the frame's
// dispatch hands them on within its limit and in the order they were sent.

#include "engine/net/TransportRules.h"
#include "game/net/MessageQueues.h"
#include "game/net/ReadMessageFields.h"
#include "tests/engine/net/LoopbackHarness.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const uint64_t kSequenceKey = HashMessageName("loopbackSequence");

class QueuesOverEnetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        endpoint = factory.GetServer("server", 0);
        ASSERT_FALSE(endpoint->IsNotRunning());
        client = factory.GetClient("client", endpoint->BoundPort());
        queues.StartReceiving([this](QelNetworkMessage& message) {
            uint64_t sender = 0;
            return endpoint->Receive(message, sender);
        });
        ASSERT_TRUE(client->Connect(qel::test::kLoopback));
        QelNetworkMessage scratch;
        ASSERT_TRUE(qel::test::PumpUntil([&] { return client->Receive(scratch) && client->IsConnected(); }));
    }

    void TearDown() override { queues.StopReceiving(); }

    // Every message the console sends goes through the console's host, which
    // only the test thread touches.
    void Send(const QelNetworkMessage& message) { ASSERT_TRUE(client->Send(message)); }

    // Dispatches frame after frame until `total` messages were handed on,
    // keeping the console's host serviced so its packets leave.
    std::vector<int> DispatchFrames(size_t total)
    {
        std::vector<int> frames;
        size_t handed = 0;
        qel::test::PumpUntil([&] {
            QelNetworkMessage scratch;
            while (client->Receive(scratch)) {}
            const int n = queues.Dispatch([this](uint64_t key, QelNetworkMessage& message) {
                return Handle(key, message);
            });
            frames.push_back(n);
            handed += static_cast<size_t>(n);
            return handed >= total;
        });
        return frames;
    }

    bool Handle(uint64_t key, QelNetworkMessage& message)
    {
        if (key == qel::kConnectedKey) {
            connectedSender = message.sender;
            return true;
        }
        if (key != kSequenceKey)
            return false;
        int32_t number = 0;
        if (ReadMessageFields(message, number))
            sequence.push_back(number);
        return true;
    }

    QelEnetNetworkFactoryBase factory;
    QelNetworkServer* endpoint = nullptr;
    QelNetworkClient* client = nullptr;
    MessageQueues queues{"server"};
    std::vector<int32_t> sequence;
    uint64_t connectedSender = 0;
};

TEST_F(QueuesOverEnetTest, messages_arrive_in_send_order_and_no_frame_exceeds_the_limit)
{
    constexpr int32_t kCount = 120;
    for (int32_t i = 0; i < kCount; ++i) {
        QelNetworkMessage message;
        message.WriteInt64(kSequenceKey).WriteInt32(i);
        Send(message);
    }
    const std::vector<int> frames = DispatchFrames(kCount + 1);  // and the connect event
    for (int n : frames)
        EXPECT_LE(n, MessageQueues::kDefaultDispatchLimit);
    ASSERT_EQ(sequence.size(), static_cast<size_t>(kCount));
    for (int32_t i = 0; i < kCount; ++i)
        EXPECT_EQ(sequence[i], i);
    EXPECT_EQ(connectedSender, 501 | (1ull << 63));
}

TEST_F(QueuesOverEnetTest, short_and_unknown_messages_from_a_peer_are_dropped_and_counted)
{
    QelNetworkMessage shortMessage, unknown, truncated, good;
    shortMessage.WriteInt32(7);
    unknown.WriteInt64(HashMessageName("neverRegistered"));
    truncated.WriteInt64(kSequenceKey).WriteInt8(1);
    good.WriteInt64(kSequenceKey).WriteInt32(9);
    for (QelNetworkMessage* m : {&shortMessage, &unknown, &truncated, &good})
        Send(*m);
    DispatchFrames(5);
    EXPECT_EQ(queues.Dropped().tooShort, 1u);
    EXPECT_EQ(queues.Dropped().unknownKey, 1u);
    EXPECT_EQ(queues.Dropped().malformed, 1u);
    EXPECT_EQ(sequence, std::vector<int32_t>{9});
}

TEST_F(QueuesOverEnetTest, stopping_and_starting_the_receive_thread_receives_again)
{
    queues.StopReceiving();
    EXPECT_EQ(queues.GetRunState(), MessageQueues::kEnded);
    queues.StartReceiving([this](QelNetworkMessage& message) {
        uint64_t sender = 0;
        return endpoint->Receive(message, sender);
    });
    QelNetworkMessage message;
    message.WriteInt64(kSequenceKey).WriteInt32(5);
    Send(message);
    DispatchFrames(2);
    EXPECT_EQ(sequence, std::vector<int32_t>{5});
}

}  // namespace
