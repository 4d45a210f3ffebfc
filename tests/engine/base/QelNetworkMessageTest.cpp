#include "engine/base/QelNetworkMessage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct NamedKey {
    const char* name;
    uint64_t key;
};

TEST(HashMessageName, gives_the_key_of_every_named_message)
{
    const NamedKey cases[] = {
        {"signal", 0x2E9A78FC05A2},       {"spaceobjectupdate", 0x0DC81B6D4044},
        {"fullobject", 0x3172CA19F83F},   {"objectBlob", 0x10274D222E50},
        {"beam", 0x3F92B985D57D},         {"transient", 0x0A2DA6E5381C},
        {"testValueToClient", 0x0063DCF72D43}, {"testValueToServer", 0x2E1BDF504EFC},
        {"", 0x3FFFFFFFFFFF},
    };
    for (const NamedKey& c : cases)
        EXPECT_EQ(HashMessageName(c.name), c.key) << '"' << c.name << '"';
}

// Keys written in the code are made when it is compiled, and come out the same.
static_assert(HashMessageName("objectBlob") == 0x10274D222E50);

TEST(HashMessageName, is_case_sensitive_and_stays_within_46_bits)
{
    EXPECT_NE(HashMessageName("Signal"), HashMessageName("signal"));
    EXPECT_EQ(HashMessageName(std::string(500, '\xFF')) >> 46, 0u);
}

TEST(NameHash, table_matches_known_entries)
{
    EXPECT_EQ(NameHash::TableEntry(0), 0u);
    EXPECT_EQ(NameHash::TableEntry(1), 0x20184000041u);
    EXPECT_EQ(NameHash::TableEntry(128), 0x8C410002184u);
    EXPECT_EQ(NameHash::TableEntry(255), 0x3087E0003EF8u);
}

TEST(QelNetworkMessage, round_trips_every_field_little_endian)
{
    QelNetworkMessage m;
    m.WriteInt64(HashMessageName("signal")).WriteInt8(-2).WriteInt16(0x1234).WriteInt32(-5)
        .WriteFloat(1.5f).WriteString("hello").WriteInt64(0x4000000000000004ull);
    EXPECT_EQ(m.writeIndex, 8 + 1 + 2 + 4 + 4 + 7 + 8);
    EXPECT_EQ(m.Data()[9], 0x34);  // low byte first
    EXPECT_EQ(m.Data()[10], 0x12);

    uint64_t key, id;
    int8_t b;
    int16_t s;
    int32_t i;
    float f;
    std::string text;
    m.ReadInt64(key).ReadInt8(b).ReadInt16(s).ReadInt32(i).ReadInt32(f).ReadString(text).ReadInt64(id);
    EXPECT_EQ(key, HashMessageName("signal"));
    EXPECT_EQ(b, -2);
    EXPECT_EQ(s, 0x1234);
    EXPECT_EQ(i, -5);
    EXPECT_EQ(f, 1.5f);
    EXPECT_EQ(text, "hello");
    EXPECT_EQ(id, 0x4000000000000004ull);
    EXPECT_FALSE(m.IsBad());
    EXPECT_EQ(m.BytesLeftToRead(), 0);
}

TEST(QelNetworkMessage, empty_string_is_two_zero_bytes)
{
    QelNetworkMessage m;
    m.WriteString("");
    ASSERT_EQ(m.writeIndex, 2);
    EXPECT_EQ(m.Data()[0], 0);
    EXPECT_EQ(m.Data()[1], 0);
}

TEST(QelNetworkMessage, read_string_drops_leading_blanks_and_trailing_nuls_only)
{
    QelNetworkMessage m;
    m.WriteString(std::string("  abcd\0\0", 8)).WriteString(" \t\r\nab  ");
    std::string first, second;
    m.ReadString(first).ReadString(second);
    EXPECT_EQ(first, "abcd");
    EXPECT_EQ(second, "ab  ");
}

TEST(QelNetworkMessage, writes_fill_exactly_to_the_limit_and_refuse_beyond)
{
    QelNetworkMessage m;
    m.WriteInt64(1);
    std::vector<uint8_t> payload(9992, 7);
    m.WriteBytes(payload.data(), 9992);
    EXPECT_EQ(m.writeIndex, 10000);
    EXPECT_FALSE(m.IsOverflowed());

    m.WriteInt8(1);
    EXPECT_TRUE(m.IsOverflowed());
    EXPECT_EQ(m.writeIndex, 10000);
}

TEST(QelNetworkMessage, refused_writes_leave_nothing_behind)
{
    QelNetworkMessage m;
    std::vector<uint8_t> payload(9997, 0);
    m.WriteBytes(payload.data(), 9997);
    m.WriteInt32(5);           // 4 bytes into 3 left
    m.WriteString("ab");       // 4 bytes into 3 left: not even the length goes in
    m.WriteBytes(payload.data(), -1);
    EXPECT_TRUE(m.IsOverflowed());
    EXPECT_EQ(m.writeIndex, 9997);
    m.WriteString("a");        // 3 bytes still fit
    EXPECT_EQ(m.writeIndex, 10000);
}

TEST(QelNetworkMessage, reading_past_the_end_marks_bad_and_yields_zero_from_then_on)
{
    QelNetworkMessage m;
    m.WriteInt16(7).WriteInt8(9);
    int32_t wide = 42;
    m.ReadInt32(wide);  // 4 bytes wanted, 3 written
    EXPECT_TRUE(m.IsBad());
    EXPECT_EQ(wide, 0);

    int8_t small = 1;
    m.ReadInt8(small);  // would fit, but the message is already bad
    EXPECT_EQ(small, 0);
}

TEST(QelNetworkMessage, malformed_string_lengths_mark_bad)
{
    struct Case {
        const char* label;
        int16_t length;
        int bytesAfter;
    };
    const Case cases[] = {
        {"negative length", -3, 10},
        {"longer than what is left", 6, 5},
        {"length field cut short", 0, -1},
    };
    for (const Case& c : cases) {
        QelNetworkMessage m;
        if (c.bytesAfter < 0) {
            m.WriteInt8(1);
        } else {
            m.WriteInt16(c.length);
            std::vector<uint8_t> bytes(static_cast<size_t>(c.bytesAfter), 'x');
            m.WriteBytes(bytes.data(), c.bytesAfter);
        }
        std::string out = "stale";
        m.ReadString(out);
        EXPECT_TRUE(m.IsBad()) << c.label;
        EXPECT_EQ(out, "") << c.label;
    }
}

TEST(QelNetworkMessage, reset_keeps_the_buffer_and_starts_again_at_zero)
{
    QelNetworkMessage m;
    const uint8_t* buffer = m.Data();
    m.WriteInt32(1).WriteInt32(2);
    m.recipients.push_back(501);
    int32_t out;
    m.ReadInt32(out).ReadInt32(out).ReadInt32(out);
    ASSERT_TRUE(m.IsBad());

    m.Reset();
    EXPECT_EQ(m.Data(), buffer);
    EXPECT_EQ(m.writeIndex, 0);
    EXPECT_EQ(m.readIndex, 0);
    EXPECT_TRUE(m.recipients.empty());
    EXPECT_FALSE(m.IsBad());
    m.WriteInt8(5);
    EXPECT_EQ(m.Data()[0], 5);
    EXPECT_EQ(m.writeIndex, 1);
}

}  // namespace
