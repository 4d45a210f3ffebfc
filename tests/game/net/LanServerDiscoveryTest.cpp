#include "game/net/LanServerDiscovery.h"

#include "engine/base/QelClock.h"
#include "engine/base/QelNetworkMessage.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

std::vector<uint8_t> Bytes(QelNetworkMessage& m)
{
    return std::vector<uint8_t>(m.Data(), m.Data() + m.writeIndex);
}

struct AnswerCase {
    const char* name;
    std::vector<uint8_t> bytes;
    bool parses;
};

TEST(LanServerDiscoveryTest, only_an_answer_that_parses_exactly_is_accepted)
{
    QelNetworkMessage good, trailing, wrongKind, negative, overlong, oneString;
    good.WriteInt8(6).WriteString("192.168.1.20").WriteString("Bridge One");
    trailing.WriteInt8(6).WriteString("192.168.1.20").WriteString("Bridge One").WriteInt8(0);
    wrongKind.WriteInt8(5).WriteString("192.168.1.20").WriteString("Bridge One");
    negative.WriteInt8(6).WriteInt16(-4).WriteString("Bridge One");
    overlong.WriteInt8(6).WriteInt16(500).WriteBytes("192.168", 7);
    oneString.WriteInt8(6).WriteString("192.168.1.20");
    const AnswerCase cases[] = {
        {"well formed", Bytes(good), true},
        {"trailing byte", Bytes(trailing), false},
        {"query byte", Bytes(wrongKind), false},
        {"negative length", Bytes(negative), false},
        {"length beyond the datagram", Bytes(overlong), false},
        {"name missing", Bytes(oneString), false},
        {"lone answer byte", {6}, false},
    };
    for (const AnswerCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<DiscoveredServer> parsed = LanServerDiscovery::ParseAnswer(c.bytes.data(), c.bytes.size());
        EXPECT_EQ(parsed.has_value(), c.parses);
    }
    const auto parsed = LanServerDiscovery::ParseAnswer(Bytes(good).data(), Bytes(good).size());
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->address, "192.168.1.20");
    EXPECT_EQ(parsed->name, "Bridge One");
    EXPECT_EQ(LanServerDiscovery::BuildAnswer("192.168.1.20", "Bridge One"), Bytes(good));
}

TEST(LanServerDiscoveryTest, answers_update_by_address_or_name_and_nameless_servers_stay_apart)
{
    LanServerDiscovery discovery;
    discovery.RecordAnswer({"Alpha", "10.0.0.1"});
    discovery.RecordAnswer({"Alpha", "10.0.0.7"});    // moved, same name
    discovery.RecordAnswer({"Alpha Two", "10.0.0.7"}); // renamed, same address
    discovery.RecordAnswer({"", "10.0.0.8"});
    discovery.RecordAnswer({"", "10.0.0.9"});         // another nameless server
    ASSERT_EQ(discovery.FoundServers().size(), 3u);
    EXPECT_EQ(discovery.FoundServers()[0].name, "Alpha Two");
    EXPECT_EQ(discovery.FoundServers()[0].address, "10.0.0.7");
    EXPECT_EQ(discovery.FoundServers()[1].address, "10.0.0.8");
    EXPECT_EQ(discovery.FoundServers()[2].address, "10.0.0.9");
}

// Found by fuzzing: an answer with one entry's address and another's name
// turned both into the same server, listed twice.
TEST(LanServerDiscoveryTest, an_answer_matching_two_entries_leaves_the_server_listed_once)
{
    LanServerDiscovery discovery;
    discovery.RecordAnswer({"Alpha", "10.0.0.1"});
    discovery.RecordAnswer({"Beta", "10.0.0.2"});
    discovery.RecordAnswer({"Gamma", "10.0.0.3"});
    discovery.RecordAnswer({"Beta", "10.0.0.1"});  // Beta moved to where Alpha was
    ASSERT_EQ(discovery.FoundServers().size(), 2u);
    EXPECT_EQ(discovery.FoundServers()[0].name, "Beta");
    EXPECT_EQ(discovery.FoundServers()[0].address, "10.0.0.1");
    EXPECT_EQ(discovery.FoundServers()[1].name, "Gamma");
}

TEST(LanServerDiscoveryTest, a_flood_of_made_up_answers_stops_at_the_list_limit_and_known_servers_still_update)
{
    LanServerDiscovery discovery;
    discovery.RecordAnswer({"Alpha", "10.0.0.1"});
    for (size_t i = 0; i < 10 * LanServerDiscovery::kMaxFoundServers; ++i)
        discovery.RecordAnswer({"", "10.1." + std::to_string(i / 256) + "." + std::to_string(i % 256)});
    ASSERT_EQ(discovery.FoundServers().size(), LanServerDiscovery::kMaxFoundServers);
    discovery.RecordAnswer({"Alpha", "10.0.0.2"});
    EXPECT_EQ(discovery.FoundServers()[0].address, "10.0.0.2");
}

TEST(LanServerDiscoveryTest, a_five_second_frame_adds_only_one_second_toward_the_next_query)
{
    qel::ManualClock clock(100'000);
    LanServerDiscovery discovery;
    discovery.Step();  // the first step counts from 0, so it is capped too
    EXPECT_EQ(discovery.AccumulatedMs(), 1000u);
    clock.Advance(5000);
    discovery.Step();
    EXPECT_EQ(discovery.AccumulatedMs(), 2000u);
    clock.Advance(30);
    discovery.Step();  // above 2000: a query goes out and 2000 is taken off
    EXPECT_EQ(discovery.AccumulatedMs(), 30u);
}

TEST(LanServerDiscoveryTest, only_an_ipv4_address_and_a_port_can_point_discovery_elsewhere)
{
    LanServerDiscovery discovery;
    for (const char* text : {"", "127.255.255.255", "127.255.255.255:", ":3150", "127.255.255.255:0",
                             "127.255.255.255:65536", "127.255.255.255:31x", "bridge:3150", "127.1.2:3150",
                             "127.255.255.255:000003150"})
        EXPECT_FALSE(SetDiscoveryEndpoint(discovery, text)) << text;
    EXPECT_TRUE(SetDiscoveryEndpoint(discovery, "127.255.255.255:40123"));
}

}  // namespace
