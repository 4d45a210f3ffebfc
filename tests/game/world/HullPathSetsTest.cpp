// Every ship's interior grid in the world: built from the ship's record and
// its type's silhouette on first use, dropped by a new game, and walked by
// the world's tick, which tells the server's mission of arrivals.

#include "SimulationTestSupport.h"

#include "game/world/HullPathSets.h"
#include "game/world/ObjectId.h"
#include "tests/support/AuthoredHull.h"

#include <gmock/gmock.h>

namespace {

using namespace gridobject;
using qeltest::AuthoredHulls;
using qeltest::DrawHull;
using qeltest::InteriorRecord;
using qeltest::ScopedShipRecord;
using ::testing::ElementsAre;

constexpr const char* kHullKey = "test_hull";

class HullPathSetsTest : public simtest::WorldTest {
protected:
    void SetUp() override
    {
        WorldTest::SetUp();
        hulls.hulls[kHullKey] = DrawHull({"#####", "#####"});
        SetHullSilhouetteSource(&hulls);
    }
    void TearDown() override
    {
        SetHullSilhouetteSource(nullptr);
        WorldTest::TearDown();
    }

    uint64_t MakeShip(const std::string& dataTag = kHullKey)
    {
        return world.CreateSpaceObject(simtest::kScriptedBehaviour, dataTag, 0);
    }

    // A grid object of the ship, idle at (0, 0), sent toward the column.
    GridObject& SendWalker(uint64_t shipId, int32_t column, float speed = 1.0f)
    {
        GridObject& walker = GetHullPathSet(shipId, false)->CreateGridObject("walker", "", "");
        WriteFloat(walker.data_set, kPercent, 1.0f);
        WriteFloat(walker.data_set, kMoveSpeed, speed);
        WriteInt(walker.data_set, kPathX, column);
        WriteInt(walker.data_set, kPathY, 0);
        return walker;
    }

    std::vector<uint64_t> Arrivals() const
    {
        std::vector<uint64_t> ids;
        for (const EventMessage& event : scripts.events)
            if (event.tag == "grid_object" && event.sub_tag == "finished_path")
                ids.push_back(event.origin_id);
        return ids;
    }

    ScopedShipRecord record{InteriorRecord(5, 2)};
    AuthoredHulls hulls;
};

TEST_F(HullPathSetsTest, a_ships_grid_is_built_from_its_record_on_first_use_and_kept)
{
    const uint64_t shipId = MakeShip();
    HullPathSet* built = GetHullPathSet(shipId, false);
    ASSERT_NE(built, nullptr);
    EXPECT_EQ(built->shipId, shipId);
    EXPECT_EQ(built->name, "test hull");
    EXPECT_EQ(built->art_file_root, "TestHull");
    EXPECT_EQ(built->desc, "a hull drawn for the tests");
    EXPECT_EQ(built->w, 5);
    EXPECT_EQ(built->IsGridPointOpen(4, 1), 1);
    EXPECT_EQ(GetHullPathSet(shipId, false), built);
    EXPECT_EQ(world.GetHullMap(*world.GetSpaceObject(shipId), false), built);
    EXPECT_EQ(FindHullPathSet(shipId), built);
    EXPECT_EQ(hulls.requests, 1) << "the silhouette is asked for once";
}

TEST_F(HullPathSetsTest, a_rebuild_replaces_the_grid_and_drops_its_grid_objects)
{
    const uint64_t shipId = MakeShip();
    HullPathSet* first = GetHullPathSet(shipId, false);
    first->CreateGridObject("crew", "", "");
    const uint64_t firstSerial = first->serial;

    HullPathSet* second = GetHullPathSet(shipId, true);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second->serial, firstSerial);
    EXPECT_EQ(second->GetGridObjectCount(), 0);

    hulls.hulls.clear();
    EXPECT_EQ(GetHullPathSet(shipId, true), nullptr);
    EXPECT_EQ(FindHullPathSet(shipId), nullptr) << "a rebuild without a silhouette leaves no grid";
}

TEST_F(HullPathSetsTest, a_ship_without_a_silhouette_a_record_or_a_registry_entry_has_no_interior)
{
    const uint64_t withoutHull = MakeShip("kestrel_fighter");
    EXPECT_EQ(GetHullPathSet(withoutHull, false), nullptr) << "its type has no silhouette";
    EXPECT_EQ(GetHullPathSet(kSpaceObjectIdBit | 999, false), nullptr) << "no such ship";
    EXPECT_EQ(GetHullPathSet(kGridObjectIdBit | 41, false), nullptr) << "not a space-object id";
    EXPECT_EQ(GetHullPathSet(0, false), nullptr);

    SetHullSilhouetteSource(nullptr);
    EXPECT_EQ(GetHullPathSet(MakeShip(), false), nullptr) << "no source of silhouettes";
    EXPECT_TRUE(world.Interiors().Empty());
}

TEST_F(HullPathSetsTest, a_new_game_and_a_cleared_world_drop_every_grid)
{
    ASSERT_NE(GetHullPathSet(MakeShip(), false), nullptr);
    world.Reset(true, "");
    EXPECT_TRUE(world.Interiors().Empty());

    ASSERT_NE(GetHullPathSet(MakeShip(), false), nullptr);
    world.Clear();
    EXPECT_TRUE(world.Interiors().Empty());
}

// A ship on standby keeps its interior, but its crew waits until it is back.
TEST_F(HullPathSetsTest, the_tick_walks_the_crews_of_ships_in_normal_space_and_tells_the_server_mission)
{
    const uint64_t active = MakeShip();
    const uint64_t waiting = MakeShip();
    const GridObject& walker = SendWalker(active, 3);
    const GridObject& idle = SendWalker(waiting, 3);
    world.Container()->PushToStandby(world.GetSpaceObject(waiting));
    ASSERT_NE(GetHullPathSet(waiting, false), nullptr);

    RunTicks(10);
    EXPECT_EQ(ReadInt(walker.data_set, kCurX), 3);
    EXPECT_EQ(ReadInt(idle.data_set, kPathX), 3) << "its request waits";
    EXPECT_THAT(Arrivals(), ElementsAre(walker.unique_ID));
}

TEST_F(HullPathSetsTest, a_consoles_copy_walks_alike_but_tells_no_mission)
{
    world.serverFlag = false;
    const GridObject& walker = SendWalker(MakeShip(), 3);
    RunTicks(10);
    EXPECT_EQ(ReadInt(walker.data_set, kCurX), 3);
    EXPECT_TRUE(Arrivals().empty());
}

// The mission hears of an arrival inside the tick and may rebuild grids,
// delete grid objects or start a new game there; the step stops for whatever
// it ended and goes on with the rest.
TEST_F(HullPathSetsTest, a_mission_that_changes_the_grids_on_an_arrival_never_leaves_the_step_on_freed_records)
{
    struct Case {
        const char* name;
        std::function<void(uint64_t firstShip, uint64_t secondShip)> react;
        size_t arrivalsHeard;
    };
    const Case cases[] = {
        {"rebuilds_the_arriving_ships_grid",
         [](uint64_t firstShip, uint64_t) { GetHullPathSet(firstShip, true); }, 2},
        {"deletes_the_next_walker_of_the_same_grid",
         [](uint64_t firstShip, uint64_t) {
             HullPathSet* set = GetHullPathSet(firstShip, false);
             set->DeleteGridObject(set->GetGridObjectByIndex(1));
         },
         2},
        {"drops_every_grid", [this](uint64_t, uint64_t) { world.Interiors().Clear(); }, 1},
        {"starts_a_new_game", [this](uint64_t, uint64_t) { world.Reset(true, ""); }, 1},
        {"clears_the_world", [this](uint64_t, uint64_t) { world.Clear(); }, 1},
    };
    for (const Case& c : cases) {
        world.Reset(true, "");
        scripts.events.clear();
        const uint64_t firstShip = MakeShip();
        const uint64_t secondShip = MakeShip();
        SendWalker(firstShip, 0);
        SendWalker(firstShip, 0);
        SendWalker(secondShip, 0);
        bool reacted = false;
        scripts.then = [&](const EventMessage&) {
            if (!std::exchange(reacted, true))
                c.react(firstShip, secondShip);
        };
        RunTicks(5);
        scripts.then = nullptr;
        EXPECT_EQ(Arrivals().size(), c.arrivalsHeard) << c.name;
    }
}

}  // namespace
