#include "game/net/MessageQueues.h"

#include "game/net/ReadMessageFields.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

namespace {

const uint64_t kSequenceKey = HashMessageName("queueTestSequence");

// Stands in for an endpoint: hands out prepared packets, one per call.
class FakeEndpoint {
public:
    void Queue(const std::vector<uint8_t>& bytes) { pending.push_back(bytes); }
    void QueueSequence(int32_t number)
    {
        QelNetworkMessage m;
        m.WriteInt64(kSequenceKey).WriteInt32(number);
        Queue(std::vector<uint8_t>(m.Data(), m.Data() + m.writeIndex));
    }
    MessageQueues::ReceiveFunction Receiver()
    {
        return [this](QelNetworkMessage& message) {
            if (pending.empty())
                return false;
            message.Reset();
            message.WriteBytes(pending.front().data(), static_cast<int32_t>(pending.front().size()));
            pending.pop_front();
            return true;
        };
    }

private:
    std::deque<std::vector<uint8_t>> pending;
};

class MessageQueuesTest : public ::testing::Test {
protected:
    // Records the sequence numbers it sees, applying nothing from a message
    // that is missing its field.
    MessageQueues::HandlerCall Recorder()
    {
        return [this](uint64_t key, QelNetworkMessage& message) {
            if (key != kSequenceKey)
                return false;
            int32_t number = 0;
            if (ReadMessageFields(message, number))
                seen.push_back(number);
            return true;
        };
    }

    void ReceiveAll() { queues.ReceiveCycle(endpoint.Receiver()); }

    MessageQueues queues{"server"};
    FakeEndpoint endpoint;
    std::vector<int32_t> seen;
};

TEST_F(MessageQueuesTest, limit_of_50_spreads_120_messages_over_frames_in_order_and_swaps_after_the_last)
{
    for (int32_t i = 0; i < 120; ++i)
        endpoint.QueueSequence(i);
    ReceiveAll();
    // The first frame finds the dispatch queue empty and swaps.
    EXPECT_EQ(queues.Dispatch(Recorder()), 0);
    EXPECT_EQ(queues.Dispatch(Recorder()), 50);
    EXPECT_EQ(queues.WaitingAtDispatch(), 120);

    // Arrivals while the queue drains wait for the swap after the last 20.
    for (int32_t i = 120; i < 125; ++i)
        endpoint.QueueSequence(i);
    ReceiveAll();
    EXPECT_EQ(queues.Dispatch(Recorder()), 50);
    EXPECT_EQ(queues.Dispatch(Recorder()), 20);
    EXPECT_EQ(queues.Dispatch(Recorder()), 5);

    std::vector<int32_t> expected(125);
    for (int32_t i = 0; i < 125; ++i)
        expected[i] = i;
    EXPECT_EQ(seen, expected);
}

TEST_F(MessageQueuesTest, buffers_are_recycled_instead_of_growing_with_traffic)
{
    for (int round = 0; round < 5; ++round) {
        for (int32_t i = 0; i < 30; ++i)
            endpoint.QueueSequence(i);
        ReceiveAll();
        queues.Dispatch(Recorder());
        queues.Dispatch(Recorder());
    }
    EXPECT_EQ(seen.size(), 150u);
    EXPECT_EQ(queues.QueuedCount(), 0u);
    // 30 in flight at most, plus the one the receive cycle asked with last.
    EXPECT_LE(queues.FreeBufferCount(), 31u);
}

struct BadInput {
    const char* name;
    std::vector<uint8_t> bytes;
    uint64_t DroppedMessageCounts::*counter;
};

TEST_F(MessageQueuesTest, malformed_messages_are_dropped_counted_and_change_nothing)
{
    QelNetworkMessage unknown;
    unknown.WriteInt64(HashMessageName("noSuchMessage")).WriteInt32(1);
    QelNetworkMessage truncated;  // key present, the sequence field cut short
    truncated.WriteInt64(kSequenceKey).WriteInt16(7);
    const BadInput cases[] = {
        {"empty", {}, &DroppedMessageCounts::tooShort},
        {"shorter than a key", {1, 2, 3, 4, 5, 6, 7}, &DroppedMessageCounts::tooShort},
        {"unknown key", std::vector<uint8_t>(unknown.Data(), unknown.Data() + unknown.writeIndex),
         &DroppedMessageCounts::unknownKey},
        {"field past the end", std::vector<uint8_t>(truncated.Data(), truncated.Data() + truncated.writeIndex),
         &DroppedMessageCounts::malformed},
    };
    for (const BadInput& bad : cases) {
        SCOPED_TRACE(bad.name);
        const uint64_t before = queues.Dropped().*bad.counter;
        endpoint.Queue(bad.bytes);
        endpoint.QueueSequence(42);
        ReceiveAll();
        queues.Dispatch(Recorder());
        seen.clear();
        EXPECT_EQ(queues.Dispatch(Recorder()), 2);
        EXPECT_EQ(queues.Dropped().*bad.counter, before + 1);
        EXPECT_EQ(seen, std::vector<int32_t>{42});
    }
    EXPECT_EQ(queues.QueuedCount(), 0u);
    EXPECT_EQ(queues.DescribeRefused(0), "server network: messages refused this run: 2 too short for a key, 1 with "
                                         "a key no handler takes, 1 read past their end by a handler");
    EXPECT_EQ(queues.DescribeRefused(5).substr(queues.DescribeRefused(5).rfind(", ")),
              ", 5 packets too large to be a message");
}

TEST_F(MessageQueuesTest, nothing_refused_is_no_line_at_all)
{
    EXPECT_EQ(queues.DescribeRefused(0), "");
}

TEST_F(MessageQueuesTest, a_negative_limit_dispatches_nothing_and_keeps_the_queue)
{
    endpoint.QueueSequence(1);
    ReceiveAll();
    queues.Dispatch(Recorder());
    queues.SetDispatchLimit(-3);
    EXPECT_EQ(queues.Dispatch(Recorder()), 0);
    EXPECT_EQ(queues.QueuedCount(), 1u);
}

TEST(ReadMessageFieldsTest, reads_each_field_type_in_order_and_reports_a_short_message)
{
    QelNetworkMessage m;
    m.WriteInt8(-2).WriteInt16(300).WriteInt32(-70000).WriteInt64(1ull << 62).WriteFloat(2.5f).WriteString("helm");
    int8_t a = 0;
    uint16_t b = 0;
    int32_t c = 0;
    uint64_t d = 0;
    float e = 0;
    std::string f;
    ASSERT_TRUE(ReadMessageFields(m, a, b, c, d, e, f));
    EXPECT_EQ(a, -2);
    EXPECT_EQ(b, 300);
    EXPECT_EQ(c, -70000);
    EXPECT_EQ(d, 1ull << 62);
    EXPECT_EQ(e, 2.5f);
    EXPECT_EQ(f, "helm");
    int32_t beyond = 0;
    EXPECT_FALSE(ReadMessageFields(m, beyond));
}

}  // namespace
