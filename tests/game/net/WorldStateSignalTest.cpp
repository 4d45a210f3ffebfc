// The payloads of the world-state codes: nav points and nav proxies (16, 19),
// the scan queue (92) and the side tables (105), byte for byte where consoles
// of other builds must read them, and what their readers refuse.

#include "game/net/SignalMessage.h"

#include "SignalTestSupport.h"

#include "game/world/ObjectId.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>

namespace {

constexpr uint64_t kShip = kSpaceObjectIdBit | 4;

using signaltest::RoundTrip;

// The little-endian bytes of a list of int32 values and floats.
struct Bytes {
    Bytes& Int(int32_t value) { return Raw(&value, 4); }
    Bytes& Float(float value) { return Raw(&value, 4); }
    Bytes& Raw(const void* data, size_t size)
    {
        const auto* p = static_cast<const uint8_t*>(data);
        bytes.insert(bytes.end(), p, p + size);
        return *this;
    }
    std::vector<uint8_t> bytes;
};

std::vector<uint8_t> Written(const QelNetworkMessage& m)
{
    return {m.Data(), m.Data() + m.writeIndex};
}

Bytes DefaultDiplomacyColours(Bytes bytes)
{
    for (const glm::vec4& colour : SideTables{}.diplomacyColours)
        for (int i = 0; i < 4; ++i)
            bytes.Float(colour[i]);
    return bytes;
}

TEST(IndexedTablesSignalTest, empty_tables_are_the_code_three_list_ends_and_the_attitude_colours)
{
    QelNetworkMessage m;
    WriteSignal(m, IndexedTablesSignal{});
    Bytes expected;
    const int16_t code = SIGNAL_MESS_INDEXED_TABLES;
    expected.Raw(&code, 2).Int(0).Int(0).Int(0);
    EXPECT_EQ(Written(m), DefaultDiplomacyColours(expected).bytes);
}

TEST(IndexedTablesSignalTest, a_relationship_is_sent_as_first_second_value_then_both_list_ends)
{
    IndexedTablesSignal tables;
    const int32_t navy = SideTables::SideKey("navy");
    const int32_t pirates = SideTables::SideKey("pirates");
    tables.tables.relationships[navy][pirates] = DIPLOMACY_HOSTILE;
    QelNetworkMessage m;
    WriteSignal(m, tables);
    Bytes expected;
    const int16_t code = SIGNAL_MESS_INDEXED_TABLES;
    expected.Raw(&code, 2).Int(0).Int(0).Int(navy).Int(pirates).Int(DIPLOMACY_HOSTILE).Int(0).Int(0);
    EXPECT_EQ(Written(m), DefaultDiplomacyColours(expected).bytes);
}

TEST(IndexedTablesSignalTest, every_table_round_trips_and_a_key_of_zero_is_left_out)
{
    IndexedTablesSignal in, out;
    SideTables& t = in.tables;
    t.iconColours[SideTables::SideKey("navy")] = {0.1f, 0.2f, 0.3f, 1.0f};
    t.iconColours[0] = {1, 1, 1, 1};  // cannot be told from a list's end
    t.iconIndexes[SideTables::SideKey("navy")] = 12;
    t.iconIndexes[-5] = 3;
    t.relationships[-5][SideTables::SideKey("navy")] = DIPLOMACY_ALLIED;
    t.relationships[-5][0] = DIPLOMACY_HOSTILE;
    t.relationships[7][8] = DIPLOMACY_NEUTRAL;
    t.diplomacyColours[DIPLOMACY_NEUTRAL] = {0.5f, 0.25f, 0.125f, 1.0f};
    QelNetworkMessage m;
    ASSERT_TRUE(RoundTrip(in, out, m));
    EXPECT_EQ(m.BytesLeftToRead(), 0);
    t.iconColours.erase(0);
    t.relationships[-5].erase(0);
    EXPECT_EQ(out.tables.iconColours, t.iconColours);
    EXPECT_EQ(out.tables.iconIndexes, t.iconIndexes);
    EXPECT_EQ(out.tables.relationships, t.relationships);
    EXPECT_EQ(out.tables.diplomacyColours, t.diplomacyColours);
}

TEST(IndexedTablesSignalTest, tables_that_break_their_limits_or_end_early_are_refused)
{
    auto reads = [](const std::function<void(Bytes&)>& lists) {
        Bytes payload;
        lists(payload);
        QelNetworkMessage m;
        m.WriteBytes(payload.bytes.data(), static_cast<int32_t>(payload.bytes.size()));
        IndexedTablesSignal signal;
        return ReadSignal(m, signal);
    };
    auto withColours = [](Bytes& b) {
        for (int i = 0; i < 16; ++i)
            b.Float(1.0f);
    };
    EXPECT_TRUE(reads([&](Bytes& b) { withColours(b.Int(0).Int(0).Int(0)); }));
    EXPECT_FALSE(reads([&](Bytes& b) { withColours(b.Int(0).Int(0).Int(7).Int(8).Int(4).Int(0).Int(0)); }))
        << "an attitude beyond HOSTILE";
    EXPECT_FALSE(reads([&](Bytes& b) { withColours(b.Int(5).Float(std::nanf("")).Float(0).Float(0).Float(1).Int(0).Int(0).Int(0)); }))
        << "a colour that is no number";
    EXPECT_FALSE(reads([&](Bytes& b) { b.Int(0).Int(0).Int(0).Float(1.0f); })) << "the attitude colours cut short";
    EXPECT_FALSE(reads([&](Bytes& b) { b.Int(5).Int(9); })) << "a list without its end";
}

TEST(NavSignalTest, a_nav_area_and_a_nav_proxy_round_trip)
{
    {
        NavPointSignal in{12, {}}, out;
        in.point.text = "Survey field";
        in.point.visibleToSide = "meridian";
        in.point.visibleToShip = kShip;
        in.point.pos = {1, 2, 3};
        in.point.corners = {{{0, 0}, {10, 0}, {10, 20}, {0, 20}}};
        in.point.isArea = true;
        in.point.color = {0, 1, 0, 0.5f};
        QelNetworkMessage m;
        ASSERT_TRUE(RoundTrip(in, out, m));
        EXPECT_EQ(m.BytesLeftToRead(), 0);
        // id, text, position, colour, ship, side, area flag, four corners.
        EXPECT_EQ(m.writeIndex, 2 + 4 + (2 + 12) + 12 + 16 + 8 + (2 + 8) + 1 + 32);
        EXPECT_EQ(out.id, 12);
        EXPECT_EQ(out.point.text, in.point.text);
        EXPECT_EQ(out.point.visibleToSide, "meridian");
        EXPECT_EQ(out.point.visibleToShip, kShip);
        EXPECT_EQ(out.point.pos, in.point.pos);
        EXPECT_EQ(out.point.corners, in.point.corners);
        EXPECT_TRUE(out.point.isArea);
        EXPECT_EQ(out.point.color, in.point.color);
    }
    {
        NavProxySignal in{-3, {}}, out;
        in.proxy = {kShip, "Escort", "fleet_frigate", {4, 5, 6}, {1, 0, 0, 1}, 1};
        QelNetworkMessage m;
        ASSERT_TRUE(RoundTrip(in, out, m));
        EXPECT_EQ(m.BytesLeftToRead(), 0);
        EXPECT_EQ(out.id, -3);
        EXPECT_EQ(out.proxy.proxy_id, kShip);
        EXPECT_EQ(out.proxy.text, "Escort");
        EXPECT_EQ(out.proxy.shiptype, "fleet_frigate");
        EXPECT_EQ(out.proxy.pos, in.proxy.pos);
        EXPECT_EQ(out.proxy.color, in.proxy.color);
    }
}

// A nav point's ship must be one; a proxy's id is any 64-bit value, as the
// mission may give it.
TEST(NavSignalTest, entries_no_console_could_keep_are_refused)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        const char* name;
        int32_t id;
        uint64_t object;
        glm::vec3 pos;
        bool proxyKept;
    };
    const Case cases[] = {
        {"id_zero_names_nothing", 0, 0, {0, 0, 0}, false},
        {"a_position_that_is_no_number", 4, 0, {nan, 0, 0}, false},
        {"a_client_id_as_the_object", 4, kClientIdBit | 501, {0, 0, 0}, true},
    };
    for (const Case& c : cases) {
        NavPointSignal point{c.id, {}}, pointOut;
        point.point.visibleToShip = c.object;
        point.point.pos = c.pos;
        QelNetworkMessage pm;
        EXPECT_FALSE(RoundTrip(point, pointOut, pm)) << "nav point: " << c.name;
        NavProxySignal proxy{c.id, {}}, proxyOut;
        proxy.proxy.proxy_id = c.object;
        proxy.proxy.pos = c.pos;
        QelNetworkMessage xm;
        EXPECT_EQ(RoundTrip(proxy, proxyOut, xm), c.proxyKept) << "nav proxy: " << c.name;
    }
    NavPointSignal point{4, {}}, out;
    QelNetworkMessage cut;
    WriteSignal(cut, point);
    cut.writeIndex -= 4;  // the last corner's last coordinate is missing
    uint16_t code = 0;
    ReadSignalCode(cut, code);
    EXPECT_FALSE(ReadSignal(cut, out));
}

TEST(ScanQueueSignalTest, a_queue_round_trips_and_one_too_long_is_sent_as_far_as_it_fits)
{
    {
        ScanQueueSignal in{{{kShip, "bio"}, {kShip | 9, "intel"}}}, out;
        QelNetworkMessage m;
        ASSERT_TRUE(RoundTrip(in, out, m));
        ASSERT_EQ(out.entries.size(), 2u);
        EXPECT_EQ(out.entries[1].objectId, kShip | 9);
        EXPECT_EQ(out.entries[1].scanType, "intel");
    }
    {
        ScanQueueSignal empty, out{{{kShip, "stale"}}};
        QelNetworkMessage m;
        ASSERT_TRUE(RoundTrip(empty, out, m));
        EXPECT_TRUE(out.entries.empty());
        EXPECT_EQ(m.writeIndex, 2 + 8) << "only the closing 0";
    }
    {
        ScanQueueSignal in, out;
        in.entries.assign(2000, ScanQueueEntry{kShip, ""});
        QelNetworkMessage m;
        m.WriteInt64(HashMessageName("signal"));
        WriteSignal(m, in);
        EXPECT_FALSE(m.IsOverflowed());
        m.readIndex = 8;
        uint16_t code = 0;
        ReadSignalCode(m, code);
        ASSERT_TRUE(ReadSignal(m, out));
        EXPECT_EQ(out.entries.size(), (10000u - 8 - 2 - 8) / 10) << "every entry that fits before the closing 0";
    }
    {
        ScanQueueSignal in{{{kClientIdBit | 501, "bio"}}}, out;
        QelNetworkMessage m;
        EXPECT_FALSE(RoundTrip(in, out, m)) << "an entry that names no object";
    }
}

}  // namespace
