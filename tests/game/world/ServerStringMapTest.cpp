#include "game/world/ServerStringMap.h"

#include "helper/QelAssert.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr uint64_t kAll = ~0ull;  // stands for "every client" in the record

// One send as the sink saw it, decoded.
struct Sent {
    uint64_t to;
    uint32_t flags;
    int32_t size;
    std::string key;
    std::string value;
};

class RecordingSink : public ServerMessageSink {
public:
    QelNetworkMessage& StartMessage() override
    {
        message.Reset();
        return message;
    }
    void SendToClient(QelNetworkMessage& m, uint64_t clientId, uint32_t packetFlags) override
    {
        Record(m, clientId, packetFlags);
    }
    void SendToShip(QelNetworkMessage&, uint64_t, uint32_t) override { ADD_FAILURE() << "the string map sends to no ship"; }
    void SendToAll(QelNetworkMessage& m, uint32_t packetFlags) override { Record(m, kAll, packetFlags); }

    std::vector<Sent> sent;

private:
    void Record(QelNetworkMessage& m, uint64_t to, uint32_t flags)
    {
        ASSERT_EQ(&m, &message) << "sent a message not begun with StartMessage";
        uint64_t key = 0;
        int16_t code = 0;
        Sent s{to, flags, m.writeIndex, "", ""};
        m.ReadInt64(key).ReadInt16(code).ReadString(s.key).ReadString(s.value);
        EXPECT_EQ(key, HashMessageName("signal"));
        EXPECT_EQ(code, ServerStringMap::kSignalCode);
        EXPECT_FALSE(m.IsBad());
        EXPECT_EQ(m.BytesLeftToRead(), 0);
        sent.push_back(s);
    }

    QelNetworkMessage message;
};

class ServerStringMapTest : public ::testing::Test {
protected:
    ServerStringMap map;
    RecordingSink sink;
    std::vector<uint64_t> waiting;
};

TEST_F(ServerStringMapTest, each_set_is_sent_once_to_all_with_the_value_current_at_the_pass)
{
    map.Set("alert", "green");
    map.Set("docked", "no");
    map.Set("alert", "yellow");
    map.Set("alert", "red");
    map.UpdateClients(sink, waiting);

    const char* keys[] = {"alert", "docked", "alert", "alert"};
    const char* values[] = {"red", "no", "red", "red"};
    ASSERT_EQ(sink.sent.size(), 4u);
    for (size_t i = 0; i < sink.sent.size(); ++i) {
        EXPECT_EQ(sink.sent[i].to, kAll);
        EXPECT_EQ(sink.sent[i].flags, ServerMessageSink::kReliable) << "a change is sent once";
        EXPECT_EQ(sink.sent[i].key, keys[i]);
        EXPECT_EQ(sink.sent[i].value, values[i]);
    }
    EXPECT_TRUE(map.ChangedKeys().empty());

    sink.sent.clear();
    map.UpdateClients(sink, waiting);
    EXPECT_TRUE(sink.sent.empty());
}

TEST_F(ServerStringMapTest, full_update_sends_every_entry_reliably_in_key_order)
{
    map.Set("zulu", "3");
    map.Set("alpha", "1");
    map.Set("mike", "");
    map.SendFullUpdateTo(501, sink);

    ASSERT_EQ(sink.sent.size(), 3u);
    EXPECT_EQ(sink.sent[0].key, "alpha");
    EXPECT_EQ(sink.sent[1].key, "mike");
    EXPECT_EQ(sink.sent[1].value, "");
    EXPECT_EQ(sink.sent[2].key, "zulu");
    for (const Sent& s : sink.sent) {
        EXPECT_EQ(s.to, 501u);
        EXPECT_EQ(s.flags, ServerMessageSink::kReliable);
    }
}

TEST_F(ServerStringMapTest, full_update_of_an_empty_table_sends_nothing)
{
    map.SendFullUpdateTo(501, sink);
    EXPECT_TRUE(sink.sent.empty());
}

TEST_F(ServerStringMapTest, update_serves_each_waiting_client_after_the_changes_and_empties_the_list)
{
    map.Set("a", "1");
    waiting = {501, 502};
    map.UpdateClients(sink, waiting);

    ASSERT_EQ(sink.sent.size(), 3u);
    EXPECT_EQ(sink.sent[0].to, kAll);
    EXPECT_EQ(sink.sent[1].to, 501u);
    EXPECT_EQ(sink.sent[2].to, 502u);
    EXPECT_TRUE(waiting.empty());
}

TEST_F(ServerStringMapTest, get_of_a_missing_key_returns_empty_and_inserts_it)
{
    EXPECT_EQ(map.Get("ghost"), "");
    ASSERT_EQ(map.Entries().count("ghost"), 1u);
    EXPECT_EQ(map.Entries().at("ghost"), "");
    EXPECT_TRUE(map.ChangedKeys().empty());
}

TEST_F(ServerStringMapTest, get_of_the_empty_key_inserts_nothing_so_full_updates_still_work)
{
    EXPECT_EQ(map.Get(""), "");
    EXPECT_TRUE(map.Entries().empty());
    EXPECT_NO_THROW(map.SendFullUpdateTo(501, sink));
}

TEST_F(ServerStringMapTest, a_key_changed_before_clear_is_sent_empty_and_comes_back_empty)
{
    map.Set("target", "Kestrel");
    map.Set("other", "x");
    map.Clear();
    EXPECT_TRUE(map.Entries().empty());
    EXPECT_EQ(map.ChangedKeys().size(), 2u);

    map.UpdateClients(sink, waiting);
    ASSERT_EQ(sink.sent.size(), 2u);
    EXPECT_EQ(sink.sent[0].key, "target");
    EXPECT_EQ(sink.sent[0].value, "");
    EXPECT_EQ(map.Entries().size(), 2u);
    EXPECT_EQ(map.Entries().at("target"), "");
}

TEST_F(ServerStringMapTest, setting_the_empty_key_fails_its_assertion)
{
    EXPECT_THROW(map.Set("", "x"), qel::AssertionFailure);
}

// Every entry goes in a message of its own; one that cannot fit the 10000-byte
// buffer is left out whole rather than sent cut short, and the rest still go.
TEST_F(ServerStringMapTest, entries_that_cannot_fit_one_message_are_skipped_whole)
{
    const int32_t overhead = 8 + 2 + 2 + 2;
    const std::string key = "briefing";
    const size_t fits = QelNetworkMessage::kMessageBufferSize - overhead - key.size();
    map.Set("a_before", "1");
    map.Set(key, std::string(fits, 'x'));
    map.Set("big", std::string(QelNetworkMessage::kMessageBufferSize, 'y'));
    map.Set("z_after", "2");

    map.SendFullUpdateTo(501, sink);
    map.UpdateClients(sink, waiting);
    for (const std::vector<Sent>::size_type offset : {0u, 3u}) {
        ASSERT_EQ(sink.sent.size(), 6u);
        EXPECT_EQ(sink.sent[offset + 0].key, "a_before");
        EXPECT_EQ(sink.sent[offset + 1].key, key);
        EXPECT_EQ(sink.sent[offset + 1].size, QelNetworkMessage::kMessageBufferSize);
        EXPECT_EQ(sink.sent[offset + 1].value.size(), fits);
        EXPECT_EQ(sink.sent[offset + 2].key, "z_after");
    }
}

}  // namespace
