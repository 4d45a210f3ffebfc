#include "game/net/SignalMessage.h"

#include "game/world/ObjectId.h"

#include <gtest/gtest.h>


namespace {

constexpr uint64_t kShipA = kSpaceObjectIdBit | 4;
constexpr uint64_t kShipB = kSpaceObjectIdBit | 77;

// A message as it arrives: written whole, then read from the start with the
// code already taken off, as a handler sees it.
template <typename Signal>
bool RoundTrip(const Signal& sent, Signal& received, QelNetworkMessage& m)
{
    WriteSignal(m, sent);
    uint16_t code = 0xFFFF;
    EXPECT_TRUE(ReadSignalCode(m, code));
    EXPECT_EQ(code, Signal::kCode);
    return ReadSignal(m, received);
}

TEST(SignalMessage, payloads_round_trip_with_their_codes)
{
    {
        QelNetworkMessage m;
        FullObjectRequestSignal in{{kShipA, kShipB}}, out;
        ASSERT_TRUE(RoundTrip(in, out, m));
        EXPECT_EQ(out.objectIds, in.objectIds);
        EXPECT_EQ(m.writeIndex, 2 + 3 * 8);  // two ids and the closing 0
    }
    {
        QelNetworkMessage m;
        HeartbeatSignal in, out;
        ASSERT_TRUE(RoundTrip(in, out, m));
        EXPECT_EQ(m.writeIndex, 2);
    }
    {
        QelNetworkMessage m;
        ObjectRemovedSignal in{kShipB}, out;
        ASSERT_TRUE(RoundTrip(in, out, m));
        EXPECT_EQ(out.objectId, kShipB);
    }
    {
        QelNetworkMessage m;
        ClientChangeSignal in{"entered_options"}, out;
        ASSERT_TRUE(RoundTrip(in, out, m));
        EXPECT_EQ(out.change, "entered_options");
    }
    {
        QelNetworkMessage m;
        ScreenSizeSignal in{1024, 768}, out;
        ASSERT_TRUE(RoundTrip(in, out, m));
        EXPECT_EQ(out.width, 1024);
        EXPECT_EQ(out.height, 768);
        EXPECT_EQ(m.writeIndex, 2 + 4 + 4);
    }
    {
        QelNetworkMessage m;
        PauseStateSignal in{1}, out;
        ASSERT_TRUE(RoundTrip(in, out, m));
        EXPECT_EQ(out.paused, 1);
    }
    {
        QelNetworkMessage m;
        ShipRecordRequestSignal in{"tsn_light_cruiser"}, out;
        ASSERT_TRUE(RoundTrip(in, out, m));
        EXPECT_EQ(out.shipKey, "tsn_light_cruiser");
    }
    {
        QelNetworkMessage m;
        StringMapSignal in{"clear", "stringmap"}, out;
        ASSERT_TRUE(RoundTrip(in, out, m));
        EXPECT_EQ(out.key, "clear");
        EXPECT_EQ(out.value, "stringmap");
    }
    {
        QelNetworkMessage m;
        ConnectResetSignal in, out;
        ASSERT_TRUE(RoundTrip(in, out, m));
    }
    {
        QelNetworkMessage m;
        PingSignal in{-12345}, out;
        ASSERT_TRUE(RoundTrip(in, out, m));
        EXPECT_EQ(out.key, -12345);
    }
    {
        QelNetworkMessage m;
        SimulationTickSignal in{(1ll << 40) + 7}, out;
        ASSERT_TRUE(RoundTrip(in, out, m));
        EXPECT_EQ(out.tick, in.tick);
    }
    {
        QelNetworkMessage m;
        AutoCinematicStarsSignal in{kShipB}, out;
        ASSERT_TRUE(RoundTrip(in, out, m));
        EXPECT_EQ(out.objectId, kShipB);
    }
}

TEST(SignalMessage, the_most_exciting_object_must_be_none_or_a_space_object)
{
    QelNetworkMessage m;
    AutoCinematicStarsSignal in{kClientIdBit | 501}, out;
    EXPECT_FALSE(RoundTrip(in, out, m));
}

TEST(SignalMessage, code_is_written_as_16_bits_and_read_unsigned)
{
    QelNetworkMessage m;
    WriteSignalCode(m, SIGNAL_MESS_INDEXED_TABLES);
    m.WriteInt16(-1);
    EXPECT_EQ(m.writeIndex, 4);
    EXPECT_EQ(m.Data()[0], 105);
    uint16_t code = 0, wild = 0;
    EXPECT_TRUE(ReadSignalCode(m, code));
    EXPECT_TRUE(ReadSignalCode(m, wild));
    EXPECT_EQ(code, kLastSignalCode);
    EXPECT_EQ(wild, 0xFFFF);
    EXPECT_FALSE(ReadSignalCode(m, code));  // nothing left
}

TEST(SignalMessage, every_truncation_of_a_payload_is_refused)
{
    QelNetworkMessage whole;
    WriteSignal(whole, StringMapSignal{"alert", "red"});
    for (int32_t length = 2; length < whole.writeIndex; ++length) {
        QelNetworkMessage cut;
        cut.WriteBytes(whole.Data(), length);
        uint16_t code = 0;
        ASSERT_TRUE(ReadSignalCode(cut, code));
        StringMapSignal out;
        EXPECT_FALSE(ReadSignal(cut, out)) << "length " << length;
    }

    QelNetworkMessage shortPing;
    shortPing.WriteInt16(SIGNAL_MESS_PING).WriteInt16(7);
    uint16_t code = 0;
    ReadSignalCode(shortPing, code);
    PingSignal ping;
    EXPECT_FALSE(ReadSignal(shortPing, ping));
}

TEST(SignalMessage, id_of_the_wrong_kind_spoils_the_whole_message)
{
    const uint64_t wrongIds[] = {kClientIdBit | 501, kGridObjectIdBit | 41, 99,
                                 kClientIdBit | kSpaceObjectIdBit | 4};
    for (uint64_t wrong : wrongIds) {
        QelNetworkMessage request;
        WriteSignal(request, FullObjectRequestSignal{{kShipA, wrong, kShipB}});
        uint16_t code = 0;
        ReadSignalCode(request, code);
        FullObjectRequestSignal out;
        EXPECT_FALSE(ReadSignal(request, out)) << std::hex << wrong;

        QelNetworkMessage removed;
        WriteSignal(removed, ObjectRemovedSignal{wrong});
        ReadSignalCode(removed, code);
        ObjectRemovedSignal gone;
        EXPECT_FALSE(ReadSignal(removed, gone)) << std::hex << wrong;
    }
}

TEST(SignalMessage, request_list_without_its_closing_zero_is_refused)
{
    QelNetworkMessage m;
    WriteSignalCode(m, SIGNAL_MESS_FULL_OBJECT_REQUEST);
    m.WriteInt64(kShipA).WriteInt64(kShipB);
    uint16_t code = 0;
    ReadSignalCode(m, code);
    FullObjectRequestSignal out;
    EXPECT_FALSE(ReadSignal(m, out));
}

TEST(SignalMessage, empty_keys_are_refused)
{
    QelNetworkMessage entry;
    WriteSignal(entry, StringMapSignal{"", "value"});
    QelNetworkMessage request;
    WriteSignal(request, ShipRecordRequestSignal{""});
    uint16_t code = 0;
    ReadSignalCode(entry, code);
    ReadSignalCode(request, code);
    StringMapSignal e;
    ShipRecordRequestSignal r;
    EXPECT_FALSE(ReadSignal(entry, e));
    EXPECT_FALSE(ReadSignal(request, r));
}

}  // namespace
