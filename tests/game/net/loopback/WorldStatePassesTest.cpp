// The passes that replicate the world beside its objects, as bare consoles
// receive them: the welcome a console gets (side tables, every nav point and
// nav proxy, the string map), changes and deletions afterwards, the science
// consoles' scan queues and the game-master consoles' values.

#include "tests/game/net/loopback/ServerHarness.h"

#include "game/net/ObjectBlobMessage.h"
#include "game/world/ObjectId.h"
#include "game/world/ServerStringMap.h"

#include <algorithm>
#include <functional>

namespace {

using nettest::DecodeSignal;
using nettest::Received;

class WorldStatePassesTest : public nettest::ServerFixture {
protected:
    void TearDown() override
    {
        ServerStringMap::Instance().Clear();
        ServerFixture::TearDown();
    }

    // The decoded signals of one code a console received, in order.
    template <typename Signal>
    std::vector<Signal> Signals(QelNetworkClient* console)
    {
        std::vector<Signal> found;
        for (const Received& r : received[console]) {
            Signal signal;
            if (r.code == Signal::kCode && DecodeSignal(r, signal))
                found.push_back(signal);
        }
        return found;
    }

    // Server frames one tick apart, each tick's sends arrived before the
    // condition is asked, until it holds.
    bool TicksUntil(const std::function<bool()>& done, int maxTicks = 400)
    {
        for (int tick = 0; tick < maxTicks; ++tick) {
            world.clock.time_tick_counter += 1;
            server->FrameUpdate();
            AwaitDelivery();
            if (done())
                return true;
        }
        return false;
    }

    // Like TicksUntil with the frames of Settle: the condition then holds
    // from the very tick whose passes sent it.
    bool SettledTicksUntil(const std::function<bool()>& done, int maxTicks = 60)
    {
        for (int tick = 0; tick < maxTicks; ++tick) {
            world.clock.time_tick_counter += 1;
            Settle();
            if (done())
                return true;
        }
        return false;
    }

    size_t Count(QelNetworkClient* console, uint16_t code)
    {
        const std::vector<uint16_t> codes = SignalCodes(console);
        return static_cast<size_t>(std::count(codes.begin(), codes.end(), code));
    }
};

TEST_F(WorldStatePassesTest, a_console_is_welcomed_with_the_side_tables_every_nav_sign_and_the_string_map)
{
    world.SetSideRelationship("meridian", "skarn", DIPLOMACY_HOSTILE);
    server->SendIndexedTables(0);  // sent to nobody, but no longer changed
    const int32_t first = world.AddNavpoint(10, 0, 20, "Alpha", "red");
    const int32_t proxy = world.AddNavproxy(0, "Beacon", "buoy", "cyan");
    const int32_t second = world.AddNavpoint(30, 0, 40, "Bravo", "green");
    const int32_t third = world.AddNavarea({{{0, 0}, {1, 0}, {1, 1}, {0, 1}}}, "Field", "blue");
    Settle();  // the changes go to the consoles connected now: none
    ServerStringMap::Instance().Set("Homing", "speed:12");
    ServerStringMap::Instance().Set("Nuke", "speed:8");

    Connect("helm");
    QelNetworkClient* console = consoles.back();
    ASSERT_TRUE(TicksUntil([&] { return Signals<StringMapSignal>(console).size() >= 3; }, 60))
        << "the whole string map within 30 ticks of the connection";

    const std::vector<IndexedTablesSignal> tables = Signals<IndexedTablesSignal>(console);
    ASSERT_EQ(tables.size(), 1u);
    EXPECT_EQ(tables[0].tables.Relationship("meridian", "skarn"), DIPLOMACY_HOSTILE);
    const std::vector<NavPointSignal> points = Signals<NavPointSignal>(console);
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[0].id, first);
    EXPECT_EQ(points[0].point.text, "Alpha");
    EXPECT_EQ(points[1].id, second);
    EXPECT_EQ(points[2].id, third);
    EXPECT_TRUE(points[2].point.isArea);
    const std::vector<NavProxySignal> proxies = Signals<NavProxySignal>(console);
    ASSERT_EQ(proxies.size(), 1u);
    EXPECT_EQ(proxies[0].id, proxy);
    // "clear" / "stringmap" from the connect handler, then the entries.
    const std::vector<StringMapSignal> entries = Signals<StringMapSignal>(console);
    EXPECT_EQ(entries[0].key, "clear");
    EXPECT_EQ(entries[1].key, "Homing");
    EXPECT_EQ(entries[2].key, "Nuke");
}

TEST_F(WorldStatePassesTest, changes_and_deletions_reach_every_console_once)
{
    Connect("helm");
    Connect("science");
    const int32_t kept = world.AddNavpoint(0, 0, 0, "Kept", "white");
    const int32_t brief = world.AddNavpoint(0, 0, 0, "Brief", "white");
    world.DeleteNavpoint(brief);  // made and gone between two runs
    const int32_t proxyA = world.AddNavproxy(0, "A", "buoy", "white");
    const int32_t proxyB = world.AddNavproxy(0, "B", "buoy", "white");
    Settle();
    world.GetNavpoint(kept)->text = "Moved";  // not flagged: the consoles keep the old one
    world.SetNavproxyPos(*world.GetNavproxy(proxyA), 5, 0, 5);
    Settle();
    world.DeleteNavproxy(proxyB);
    world.DeleteNavproxy(proxyA);
    Settle();

    for (QelNetworkClient* console : consoles) {
        const std::vector<NavPointSignal> points = Signals<NavPointSignal>(console);
        ASSERT_EQ(points.size(), 1u);
        EXPECT_EQ(points[0].id, kept);
        EXPECT_EQ(points[0].point.text, "Kept");
        const std::vector<NavPointDeletedSignal> gone = Signals<NavPointDeletedSignal>(console);
        ASSERT_EQ(gone.size(), 1u);
        EXPECT_EQ(gone[0].id, brief);
        EXPECT_EQ(Signals<NavProxySignal>(console).size(), 3u) << "A and B made, then A moved";
        const std::vector<NavProxyDeletedSignal> proxiesGone = Signals<NavProxyDeletedSignal>(console);
        ASSERT_EQ(proxiesGone.size(), 2u);
        EXPECT_EQ(proxiesGone[0].id, proxyB) << "oldest deletion first";
        EXPECT_EQ(proxiesGone[1].id, proxyA);
    }
    EXPECT_EQ(world.GetNavpoint(kept)->has_changed_flag, 0);
    EXPECT_TRUE(world.deletedNavpointIds.empty());
}

TEST_F(WorldStatePassesTest, changed_side_tables_go_out_once_to_all_even_when_a_console_joins_meanwhile)
{
    Connect("helm");
    QelNetworkClient* console = consoles.back();
    Settle();
    const size_t welcomed = received[console].size();
    Settle();
    EXPECT_EQ(received[console].size(), welcomed) << "no changes, no signals of these passes";

    world.SetSideIconIndex("skarn", 4);
    world.SetDiplomacyColor(DIPLOMACY_HOSTILE, "orange");
    // A console joins before the pass that sends the change: it is welcomed
    // with the new tables, and the others still get them.
    server->HandleClientConnect(kClientIdBit | 900);
    Settle();
    const std::vector<IndexedTablesSignal> tables = Signals<IndexedTablesSignal>(console);
    ASSERT_EQ(tables.size(), 2u) << "the welcome's, then one for both changes, the newcomer's welcome aside";
    EXPECT_EQ(tables[1].tables.iconIndexes.at(SideTables::SideKey("skarn")), 4);
    EXPECT_EQ(tables[1].tables.diplomacyColours[DIPLOMACY_HOSTILE], world.sideTables.diplomacyColours[DIPLOMACY_HOSTILE]);
    EXPECT_FALSE(world.sideTablesChanged);
}

TEST_F(WorldStatePassesTest, a_science_console_sees_its_ship_scan_queue_every_34_ticks)
{
    const uint64_t ship = world.CreateSpaceObject("", "", 0);
    const uint64_t science = Connect("science");
    const uint64_t helm = Connect("helm");
    ClientRecord* record = server->FindClient(science);
    record->SetConsoleName("science");
    record->shipId = ship;
    server->FindClient(helm)->shipId = ship;
    QelNetworkClient* scienceConsole = consoles[0];

    ASSERT_TRUE(SettledTicksUntil([&] { return Count(scienceConsole, SIGNAL_MESS_SCAN) >= 1; }));
    EXPECT_TRUE(Signals<ScanQueueSignal>(scienceConsole)[0].entries.empty()) << "an empty queue: only the 0 id";
    server->scanQueues[ship] = {{ship, "bio"}, {ship, "intel"}};
    for (int tick = 1; tick < 34; ++tick) {
        world.clock.time_tick_counter += 1;
        server->FrameUpdate();
    }
    Settle();
    EXPECT_EQ(Count(scienceConsole, SIGNAL_MESS_SCAN), 1u) << "33 ticks after the first: not yet";
    world.clock.time_tick_counter += 1;
    Settle();
    ASSERT_EQ(Count(scienceConsole, SIGNAL_MESS_SCAN), 2u);
    const std::vector<ScanQueueSignal> queues = Signals<ScanQueueSignal>(scienceConsole);
    ASSERT_EQ(queues[1].entries.size(), 2u);
    EXPECT_EQ(queues[1].entries[1].scanType, "intel");
    EXPECT_EQ(Count(consoles[1], SIGNAL_MESS_SCAN), 0u) << "the helm is no science console";
}

TEST_F(WorldStatePassesTest, a_game_master_console_gets_each_visible_value_once_after_it_changed)
{
    const uint64_t id = world.CreateSpaceObject("", "", 0);
    SpaceObject* object = world.GetSpaceObject(id);
    object->data_set.SetString("name_tag", "Skarn Talon", 0, "a");
    object->data_set.SetString("cargo", "secret", 0, "a");  // not a visible key
    const uint64_t gm = Connect("gamemaster");
    server->FindClient(gm)->SetConsoleName("gamemaster");
    QelNetworkClient* console = consoles.back();

    auto blobs = [&] {
        std::vector<ObjectBlobEntry> entries;
        for (const Received& r : received[console]) {
            if (r.key != HashMessageName("objectBlob"))
                continue;
            QelNetworkMessage message;
            message.WriteBytes(r.bytes.data(), static_cast<int32_t>(r.bytes.size()));
            message.readIndex = 8;
            ObjectBlobHeader header;
            std::vector<ObjectBlobEntry> read;
            EXPECT_TRUE(ReadObjectBlobMessage(message, header, read));
            entries.insert(entries.end(), read.begin(), read.end());
        }
        return entries;
    };
    ASSERT_TRUE(TicksUntil([&] { return !blobs().empty(); }));
    std::vector<ObjectBlobEntry> entries = blobs();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].stringValue, "Skarn Talon");
    ASSERT_FALSE(TicksUntil([&] { return blobs().size() > 1; }, 200)) << "unchanged, it is not sent again";
    object->data_set.SetString("name_tag", "Skarn Fang", 0, "a");
    ASSERT_TRUE(TicksUntil([&] { return blobs().size() > 1; }));
    EXPECT_EQ(blobs().back().stringValue, "Skarn Fang");
}

}  // namespace
