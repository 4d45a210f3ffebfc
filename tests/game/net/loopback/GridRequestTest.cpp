// A console asks the hosting server for its ship's interior over loopback
// ENet: the grid and its grid objects come back to it alone, cut into
// messages of at most 50 grid objects, and the grid objects' keyed values
// follow through the grid pass.

#include "tests/game/net/loopback/ServerHarness.h"

#include "game/net/ObjectBlobMessage.h"
#include "game/world/HullPathSets.h"
#include "tests/support/AuthoredHull.h"

#include <gmock/gmock.h>

#include <algorithm>

namespace {

using namespace gridobject;
using nettest::DecodeSignal;
using nettest::Received;
using ::testing::ElementsAre;

class GridRequestTest : public nettest::ServerFixture {
protected:
    void SetUp() override
    {
        ServerFixture::SetUp();
        hulls.hulls["test_hull"] = qeltest::DrawHull({"########"});
        SetHullSilhouetteSource(&hulls);
        shipId = world.CreateSpaceObject("", "test_hull", 0);
        clientId = Connect("engineering");
        console = consoles.back();
        server->FindClient(clientId)->shipId = shipId;
        AtTick(10);
    }
    void TearDown() override
    {
        SetHullSilhouetteSource(nullptr);
        ServerFixture::TearDown();
    }

    HullPathSet& Interior() { return *GetHullPathSet(shipId, false); }

    // The world's tick, which stamps changes and sends alike.
    void AtTick(int64_t tick) { world.clock.time_tick_counter = tick; }

    // Frames enough for anything sent to have arrived.
    void RunFrames(int count)
    {
        for (int frame = 0; frame < count; ++frame)
            RunFramesUntil([] { return true; });
    }

    std::vector<GridSignal> GridsReceived()
    {
        std::vector<GridSignal> grids;
        for (const Received& r : received[console]) {
            GridSignal grid;
            if (r.code == SIGNAL_MESS_GRID && DecodeSignal(r, grid))
                grids.push_back(grid);
        }
        return grids;
    }

    static std::vector<ObjectBlobEntry> DecodeValues(const Received& r, ObjectBlobHeader& header)
    {
        QelNetworkMessage message;
        message.WriteBytes(r.bytes.data(), static_cast<int32_t>(r.bytes.size()));
        message.readIndex = 8;
        std::vector<ObjectBlobEntry> entries;
        EXPECT_TRUE(ReadObjectBlobMessage(message, header, entries));
        return entries;
    }

    // The grid objects whose values arrived, one entry per message.
    std::vector<uint64_t> ValuesReceived()
    {
        std::vector<uint64_t> owners;
        for (const Received& r : received[console]) {
            if (r.key != HashMessageName("objectBlob"))
                continue;
            ObjectBlobHeader header;
            DecodeValues(r, header);
            EXPECT_EQ(header.kind, kBlobOfGridObject);
            EXPECT_EQ(header.shipId, shipId);
            owners.push_back(header.ownerId);
        }
        return owners;
    }

    qeltest::ScopedShipRecord record{qeltest::InteriorRecord(8, 1)};
    qeltest::AuthoredHulls hulls;
    uint64_t shipId = 0;
    uint64_t clientId = 0;
    QelNetworkClient* console = nullptr;
};

TEST_F(GridRequestTest, a_grid_of_120_objects_arrives_in_three_messages_of_50_50_and_20_each_with_the_header)
{
    std::vector<uint64_t> crew;
    for (int i = 0; i < 120; ++i) {
        GridObject& object = Interior().CreateGridObject("crew " + std::to_string(i), "deck", "crew");
        object.layer = i % 3;
        object.path = {i % 8, 0, (i + 1) % 8, 0};
        crew.push_back(object.unique_ID);
    }
    SendSignal(console, GridRequestSignal{0});
    ASSERT_TRUE(RunFramesUntil([&] { return GridsReceived().size() == 3; }));

    const std::vector<GridSignal> grids = GridsReceived();
    std::vector<size_t> sizes;
    std::vector<uint64_t> ids;
    for (const GridSignal& grid : grids) {
        sizes.push_back(grid.objects.size());
        EXPECT_EQ(grid.shipId, shipId);
        EXPECT_EQ(grid.name, "test hull");
        EXPECT_EQ(grid.artFileRoot, "TestHull");
        EXPECT_EQ(grid.width, 8);
        EXPECT_EQ(grid.height, 1);
        for (const GridSignal::Object& object : grid.objects)
            ids.push_back(object.id);
    }
    EXPECT_THAT(sizes, ElementsAre(50u, 50u, 20u));
    EXPECT_EQ(ids, crew) << "in list order";
    const GridSignal::Object& last = grids[2].objects.back();
    EXPECT_EQ(last.name, "crew 119");
    EXPECT_EQ(last.layer, 119 % 3);
    EXPECT_EQ(last.path, (std::vector<int32_t>{7, 0, 0, 0}));

    // The grid pass then sends every grid object's values, a hundred a frame,
    // in list order. The walkers' values change as they move, so later frames
    // may send some again: only the first arrival of each counts here.
    const auto firstArrivals = [&] {
        std::vector<uint64_t> firsts;
        for (uint64_t owner : ValuesReceived()) {
            if (std::find(firsts.begin(), firsts.end(), owner) == firsts.end())
                firsts.push_back(owner);
        }
        return firsts;
    };
    ASSERT_TRUE(RunFramesUntil([&] { return firstArrivals().size() >= crew.size(); }));
    EXPECT_EQ(firstArrivals(), crew);
}

// Long names and paths fill a message before 50 grid objects do: each
// message then takes what fits, and none is cut short.
TEST_F(GridRequestTest, grid_objects_too_big_for_fifty_a_message_travel_in_more_messages_whole)
{
    for (int i = 0; i < 50; ++i) {
        GridObject& object = Interior().CreateGridObject(std::string(300, 'a' + i % 26), "", "");
        object.path.assign(20, i % 8);
    }
    GridObject& oversized = Interior().CreateGridObject(std::string(6000, 'x'), std::string(6000, 'y'), "");
    server->AnswerGridRequest(clientId, shipId, 0);
    ASSERT_TRUE(RunFramesUntil([&] { return GridsReceived().size() == 3 && ValuesReceived().size() == 50; }));
    RunFrames(20);

    std::vector<size_t> sizes;
    for (const GridSignal& grid : GridsReceived()) {
        sizes.push_back(grid.objects.size());
        for (const GridSignal::Object& object : grid.objects) {
            EXPECT_EQ(object.name.size(), 300u);
            EXPECT_EQ(object.path.size(), 20u);
        }
    }
    EXPECT_THAT(sizes, ElementsAre(24u, 24u, 2u)) << "24 of 402 bytes fit beside the header";
    const std::vector<uint64_t> valued = ValuesReceived();
    EXPECT_EQ(valued.size(), 50u);
    EXPECT_EQ(std::count(valued.begin(), valued.end(), oversized.unique_ID), 0)
        << "the one too long for any message is left out";
}

TEST_F(GridRequestTest, a_ship_without_grid_objects_gets_one_message_with_the_header_and_the_end)
{
    SendSignal(console, GridRequestSignal{0});
    ASSERT_TRUE(RunFramesUntil([&] { return GridsReceived().size() == 1; }));
    EXPECT_TRUE(GridsReceived()[0].objects.empty());
}

// While a console's last grid is still being streamed, another request is
// not answered; once the values are out, it is.
TEST_F(GridRequestTest, a_request_while_the_last_answer_streams_is_ignored)
{
    for (int i = 0; i < 3; ++i)
        Interior().CreateGridObject("crew", "", "");
    server->AnswerGridRequest(clientId, shipId, 0);
    server->AnswerGridRequest(clientId, shipId, 0);
    ASSERT_TRUE(RunFramesUntil([&] { return server->watchedGrids.empty(); }));
    server->AnswerGridRequest(clientId, shipId, 0);
    ASSERT_TRUE(RunFramesUntil([&] { return GridsReceived().size() == 2; }));
    RunFrames(50);
    EXPECT_EQ(GridsReceived().size(), 2u);
}

// Values already sent go again only when they change, or when the request
// asks for everything.
TEST_F(GridRequestTest, a_forcing_request_resends_every_value_and_a_plain_one_only_what_changed)
{
    GridObject& walker = Interior().CreateGridObject("walker", "", "");  // pathx and pathy, at tick 10
    AtTick(11);
    SendSignal(console, GridRequestSignal{0});
    ASSERT_TRUE(RunFramesUntil([&] { return ValuesReceived().size() == 1; }));

    auto entriesOfLastValues = [&] {
        ObjectBlobHeader header;
        return DecodeValues(received[console].back(), header).size();
    };
    AtTick(12);
    server->AnswerGridRequest(clientId, shipId, 0);
    ASSERT_TRUE(RunFramesUntil([&] { return GridsReceived().size() == 2 && server->watchedGrids.empty(); }));
    RunFrames(20);
    EXPECT_EQ(ValuesReceived().size(), 1u) << "nothing changed, nothing sent";

    AtTick(15);
    WriteInt(walker.data_set, kCurX, 4);
    server->AnswerGridRequest(clientId, shipId, 0);
    ASSERT_TRUE(RunFramesUntil([&] { return ValuesReceived().size() == 2; }));
    EXPECT_EQ(entriesOfLastValues(), 1u) << "curx alone";

    server->AnswerGridRequest(clientId, shipId, 1);
    ASSERT_TRUE(RunFramesUntil([&] { return ValuesReceived().size() == 3; }));
    EXPECT_EQ(entriesOfLastValues(), 3u) << "pathx, pathy and curx, all again";
}

TEST_F(GridRequestTest, values_stop_streaming_when_the_console_is_given_another_ship)
{
    for (int i = 0; i < 250; ++i)
        Interior().CreateGridObject("crew", "", "");
    server->AnswerGridRequest(clientId, shipId, 0);
    server->FindClient(clientId)->shipId = 0;
    ASSERT_TRUE(RunFramesUntil([&] { return server->watchedGrids.empty(); }));
    RunFramesUntil([&] { return GridsReceived().size() == 5; });
    EXPECT_EQ(GridsReceived().size(), 5u);
    EXPECT_TRUE(ValuesReceived().empty());
}

}  // namespace
