// A console's link that drops entirely: for a moment, after which what the
// server sent once meanwhile still arrives; and for longer than the time-out,
// after which the console is disconnected on both sides, joins again and is
// given the whole world.

#include "tests/game/net/loopback/PoorLinkHarness.h"

namespace {

using nettest::PoorLinkFixture;
using nettest::UseWorld;

// Joining on a clean link takes a few round trips.
constexpr int kJoinTicks = 150;
// A short outage: a second, well within the transport's time-out.
constexpr int kShortOutageTicks = 30;

class LinkOutageTest : public PoorLinkFixture {
protected:
    void SetUp() override
    {
        PoorLinkFixture::SetUp();
        relay->SetConditions({});
        PopulateWorld();
        std::vector<uint64_t> ids;
        for (const SuperContainerObject* object : serverWorld.Container()->Objects())
            ids.push_back(object->uniqueID);
        station = ids.at(1);
        warden = ids.at(2);
        talon = ids.at(3);
    }

    // Joins and plays until the console's world is the server's.
    void JoinAndSettle()
    {
        ASSERT_TRUE(JoinConsole(kJoinTicks));
        ASSERT_TRUE(PlayUntil([&] { return WorldDifferences().empty(); }, 3 * kSettleTicks));
    }

    // The world changes in every way the server tells a console once: a
    // value, an object's side, an object gone; and one object comes.
    void ChangeTheWorld()
    {
        UseWorld(serverWorld);
        ServerObject(warden)->data_set.SetString("name_tag", "Warden Renamed", 0, "a");
        ServerObject(warden)->side = "skarn";
        serverWorld.ForceUpdateToClients(warden, 0);
        ServerObject(station)->data_set.SetInt("surrender_flag", 1, 0, "a");
        server->QueueDestroy(talon);
        newcomer = AddObject({500.0f, 0.0f, 800.0f}, 2.5f, 0.5f, 0, "Newcomer");
    }

    void ExpectTheConsoleSeesTheChangedWorld()
    {
        // A value that changed just now is not yet one the worlds must share:
        // wait for the renamed ship itself, on a slow machine too.
        PlayUntil([&] {
            SpaceObject* copy = ConsoleObject(warden);
            return copy && copy->data_set.GetElement("name_tag", 0).stringValue == "Warden Renamed";
        }, 3 * kSettleTicks);
        ExpectWorldsToMatchWithin(3 * kSettleTicks);
        EXPECT_EQ(ConsoleObject(talon), nullptr);
        ASSERT_NE(ConsoleObject(warden), nullptr);
        EXPECT_EQ(ConsoleObject(warden)->side, "skarn");
        EXPECT_EQ(ConsoleObject(warden)->data_set.GetElement("name_tag", 0).stringValue, "Warden Renamed");
        EXPECT_NE(ConsoleObject(newcomer), nullptr);
    }

    uint64_t station = 0, warden = 0, talon = 0, newcomer = 0;
};

TEST_F(LinkOutageTest, what_the_server_sent_once_during_a_short_outage_arrives_once_the_link_clears)
{
    JoinAndSettle();
    relay->SetConditions(LinkConditions::Cut());
    ChangeTheWorld();
    Play(kShortOutageTicks);
    ASSERT_TRUE(client->IsConnected());
    relay->SetConditions({});
    ExpectTheConsoleSeesTheChangedWorld();
}

class LinkTimeoutTest : public LinkOutageTest {
protected:
    // Short, so the test need not wait the transport's own seconds.
    LinkTimeoutTest() { linkTimeoutMs = 1000; }
};

TEST_F(LinkTimeoutTest, a_console_cut_off_beyond_the_time_out_is_disconnected_joins_again_and_gets_the_whole_world)
{
    JoinAndSettle();
    const uint64_t firstId = server->Clients().begin()->first;
    relay->SetConditions(LinkConditions::Cut());
    ChangeTheWorld();
    // Both sides let the connection go, and the console forgets the world it
    // can no longer follow.
    auto forgotten = [&] { return clientWorld.Container() == nullptr || clientWorld.Container()->Objects().empty(); };
    ASSERT_TRUE(PlayUntil([&] { return server->Clients().empty() && !client->IsConnected() && forgotten(); }, 150))
        << server->Clients().size() << " records, connected " << client->IsConnected();

    relay->SetConditions({});
    ASSERT_TRUE(JoinConsole(kJoinTicks));
    ASSERT_EQ(server->Clients().size(), 1u);
    EXPECT_NE(server->Clients().begin()->first, firstId);
    ExpectTheConsoleSeesTheChangedWorld();
}

}  // namespace
