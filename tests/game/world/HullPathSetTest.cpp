// One ship's interior grid on its own: cells laid over small hulls drawn in
// text, grid objects, the path search with its cap, and the tick's walk.

#include "engine/base/QelNetworkMessage.h"
#include "game/world/HullPathSet.h"
#include "game/world/ObjectId.h"
#include "game/world/SpaceObject.h"
#include "tests/support/AuthoredHull.h"

#include <gmock/gmock.h>

#include <string>
#include <vector>

namespace {

using namespace gridobject;
using qeltest::DrawHull;
using qeltest::InteriorRecord;
using ::testing::ElementsAre;

// The grid as text: '#' open, '.' blocked, rows top to bottom.
std::vector<std::string> OpenCells(const HullPathSet& set)
{
    std::vector<std::string> rows;
    for (int32_t row = 0; row < set.BuiltRows(); ++row) {
        std::string text;
        for (int32_t column = 0; column < set.BuiltColumns(); ++column)
            text += set.IsGridPointOpen(column, row) ? '#' : '.';
        rows.push_back(text);
    }
    return rows;
}

// A grid over the hull, as wide and tall as its text.
HullPathSet GridOver(const std::vector<std::string>& hull, float meshRotate = -2.0f)
{
    const HullSilhouette silhouette = DrawHull(hull);
    return HullPathSet(&silhouette, InteriorRecord(static_cast<int32_t>(hull[0].size()),
                                                   static_cast<int32_t>(hull.size()), 1.0f, 0, meshRotate));
}

std::vector<int32_t> Path(const GridObject& object)
{
    return {object.path.begin(), object.path.end()};
}

// Runs a whole search and leaves its path on the object.
HullPathSet::SearchOutcome Search(HullPathSet& set, GridObject& object, int32_t fromColumn, int32_t fromRow,
                                  int32_t toColumn, int32_t toRow)
{
    set.StartSearch(fromColumn, fromRow, toColumn, toRow);
    while (set.SearchStep() == 0) {
    }
    set.BuildPath(object);
    return set.LastSearchOutcome();
}

TEST(HullPathSetTest, cells_follow_the_hull_turned_by_the_mesh_rotation)
{
    const std::vector<std::string> hull = {"####", "#..#", "##.#"};
    EXPECT_EQ(OpenCells(GridOver(hull, -2.0f)), hull) << "meshrotate -2 does not turn";
    EXPECT_THAT(OpenCells(GridOver(hull, 0.0f)), ElementsAre("#.##", "#..#", "####"))
        << "meshrotate 0 turns the grid half round";
}

// A 1 x 1 grid over a 1024-pixel hull samples the square 256..768 both ways
// around the centre; a pixel below half alpha anywhere in it blocks the cell.
TEST(HullPathSetTest, one_pixel_below_half_alpha_inside_the_sampled_square_blocks_the_cell)
{
    struct Case {
        const char* name;
        int32_t x, y;
        uint8_t alpha;
        int32_t open;
    };
    const Case cases[] = {
        {"half_alpha_everywhere_is_hull", 512, 512, 128, 1},
        {"just_below_half_at_the_centre", 512, 512, 127, 0},
        {"clear_at_the_far_corner_of_the_square", 768, 768, 0, 0},
        {"clear_at_the_near_corner", 256, 256, 0, 0},
        {"clear_just_right_of_the_square", 769, 512, 0, 1},
        {"clear_just_above_it", 512, 255, 0, 1},
    };
    for (const Case& c : cases) {
        HullSilhouette silhouette = DrawHull({"#"});
        std::fill(silhouette.alpha.begin(), silhouette.alpha.end(), uint8_t{128});
        silhouette.alpha[static_cast<size_t>(c.y) * 1024 + static_cast<size_t>(c.x)] = c.alpha;
        const HullPathSet set(&silhouette, InteriorRecord(1, 1));
        EXPECT_EQ(set.IsGridPointOpen(0, 0), c.open) << c.name;
    }
}

// Columns 0 to w / 2 are sampled; each is copied to its mirror, so with
// w = 10 column 4 ends with column 5's value and the right half of the hull
// is never read.
TEST(HullPathSetTest, a_symmetrical_grid_samples_its_left_half_and_middle_and_mirrors_them)
{
    const HullSilhouette silhouette = DrawHull({"##.#.#...."});
    const HullPathSet set(&silhouette, InteriorRecord(10, 1, 1.0f, 1));
    EXPECT_THAT(OpenCells(set), ElementsAre("##.####.##"));
}

TEST(HullPathSetTest, a_grid_that_cannot_be_built_has_no_cells_and_every_point_is_blocked)
{
    struct Case {
        const char* name;
        ShipDataRecord record;
        bool withSilhouette;
    };
    const Case cases[] = {
        {"grid_scale_zero", InteriorRecord(4, 4, 0.0f), true},
        {"grid_scale_negative", InteriorRecord(4, 4, -1.0f), true},
        {"no_columns", InteriorRecord(0, 4), true},
        {"no_rows", InteriorRecord(4, 0), true},
        {"wider_than_any_grid", InteriorRecord(HullPathSet::kMaxGridSide + 1, 4), true},
        {"absurdly_tall", InteriorRecord(4, 2147483647), true},
        {"no_silhouette", InteriorRecord(4, 4), false},
    };
    const HullSilhouette silhouette = DrawHull({"####", "####", "####", "####"});
    for (const Case& c : cases) {
        const HullPathSet set(c.withSilhouette ? &silhouette : nullptr, c.record);
        EXPECT_FALSE(set.HasCells()) << c.name;
        EXPECT_EQ(set.IsGridPointOpen(0, 0), 0) << c.name;
        EXPECT_EQ(set.IsGridPointOpen(1, 1), 0) << c.name;
    }
}

TEST(HullPathSetTest, points_outside_the_built_grid_are_blocked_whatever_the_size_fields_say)
{
    HullPathSet set = GridOver({"####", "####", "####"});
    for (auto [column, row] : {std::pair{-1, 0}, {4, 0}, {0, 3}, {0, -1}})
        EXPECT_EQ(set.IsGridPointOpen(column, row), 0) << column << "," << row;
    set.w = 100;  // a script may write the size fields; the cells keep their size
    set.h = 100;
    EXPECT_EQ(set.IsGridPointOpen(50, 50), 0);
    EXPECT_EQ(set.IsGridPointOpen(3, 2), 1);
}

TEST(HullPathSetTest, cell_centres_are_given_in_silhouette_pixels_from_its_centre)
{
    const HullPathSet set = GridOver({"####", "####", "####"});  // cells of 256 x 341 pixels
    int32_t x = 7, y = 7;
    set.CellToWorld(0, 2, x, y, 1.0f);
    EXPECT_EQ(x, -384);
    EXPECT_EQ(y, 341);
    set.CellToWorld(3, 0, x, y, 0.5f);
    EXPECT_EQ(x, 192);
    EXPECT_EQ(y, -170);

    const HullPathSet withoutSilhouette(nullptr, InteriorRecord(4, 3));
    x = y = 7;
    withoutSilhouette.CellToWorld(0, 0, x, y, 1.0f);
    EXPECT_EQ(x, 7) << "nothing is written without a silhouette";
    EXPECT_EQ(y, 7);
}

TEST(HullPathSetTest, a_path_follows_the_open_cells_from_start_to_goal)
{
    HullPathSet set = GridOver({"###..", "..#..", "..###"});
    GridObject& walker = set.CreateGridObject("walker", "", "");
    EXPECT_EQ(Search(set, walker, 0, 0, 4, 2), HullPathSet::SearchOutcome::ReachedGoal);
    EXPECT_THAT(Path(walker), ElementsAre(0, 0, 1, 0, 2, 0, 2, 1, 2, 2, 3, 2, 4, 2));

    EXPECT_EQ(Search(set, walker, 3, 2, 3, 2), HullPathSet::SearchOutcome::ReachedGoal);
    EXPECT_THAT(Path(walker), ElementsAre(3, 2)) << "a goal at the start is a path of the start alone";
}

// From (0, 0) to (1, 1) both neighbours of the start cost the same; the one
// added first, (1, 0), is taken first and becomes the goal's parent.
TEST(HullPathSetTest, open_cells_of_equal_cost_are_taken_in_the_order_they_were_added)
{
    HullPathSet set = GridOver({"##", "##"});
    GridObject& walker = set.CreateGridObject("walker", "", "");
    Search(set, walker, 0, 0, 1, 1);
    EXPECT_THAT(Path(walker), ElementsAre(0, 0, 1, 0, 1, 1));
}

TEST(HullPathSetTest, an_unreachable_goal_gives_the_path_to_the_last_cell_reached)
{
    HullPathSet set = GridOver({"##.##"});
    GridObject& walker = set.CreateGridObject("walker", "", "");
    EXPECT_EQ(Search(set, walker, 0, 0, 4, 0), HullPathSet::SearchOutcome::Unreachable);
    EXPECT_THAT(Path(walker), ElementsAre(0, 0, 1, 0));
    EXPECT_EQ(Search(set, walker, 0, 0, 2, 0), HullPathSet::SearchOutcome::Unreachable) << "a blocked goal";
}

// A blocked goal in a 32 x 32 open hull: more cells are reachable than the
// search may take, so it gives up after its 900 steps.
TEST(HullPathSetTest, a_search_gives_up_after_its_step_cap_and_says_so)
{
    std::vector<std::string> hull(32, std::string(32, '#'));
    hull[31][31] = '.';
    HullPathSet set = GridOver(hull);
    GridObject& walker = set.CreateGridObject("walker", "", "");
    const uint64_t givenUpBefore = HullPathSet::SearchesGivenUp();

    set.StartSearch(0, 0, 31, 31);
    int32_t stepsTaken = 0;
    while (set.SearchStep() == 0)
        ++stepsTaken;
    set.BuildPath(walker);

    EXPECT_EQ(stepsTaken, HullPathSet::kMaxSearchSteps);
    EXPECT_EQ(set.LastSearchOutcome(), HullPathSet::SearchOutcome::GaveUp);
    EXPECT_EQ(HullPathSet::SearchesGivenUp(), givenUpBefore + 1);
    const std::vector<int32_t> path = Path(walker);
    ASSERT_GE(path.size(), 4u);
    EXPECT_EQ(path[0], 0);
    EXPECT_EQ(path[1], 0);
    for (size_t i = 2; i < path.size(); i += 2) {
        EXPECT_EQ(std::abs(path[i] - path[i - 2]) + std::abs(path[i + 1] - path[i - 1]), 1) << "step " << i / 2;
        EXPECT_EQ(set.IsGridPointOpen(path[i], path[i + 1]), 1) << "step " << i / 2;
    }
}

TEST(HullPathSetTest, grid_objects_get_ids_of_their_kind_no_request_and_layer_zero)
{
    HullPathSet set = GridOver({"##"});
    const GridObject& first = set.CreateGridObject("Ada", "engineer", "crew");
    const GridObject& second = set.CreateGridObject("Bo", "medic", "crew");
    const GridObject& given = set.AddGridObject(kGridObjectIdBit | 7, "Cy", "pilot", "crew");

    EXPECT_TRUE(VALID_GRID_OBJ(first.unique_ID));
    EXPECT_GE(first.unique_ID & ~kGridObjectIdBit, 41u) << "no id is below 41";
    EXPECT_EQ(second.unique_ID, first.unique_ID + 1);
    EXPECT_EQ(given.unique_ID, kGridObjectIdBit | 7);
    EXPECT_EQ(first.layer, 0);
    EXPECT_EQ(ReadInt(first.data_set, kPathX), -1);
    EXPECT_EQ(ReadInt(first.data_set, kPathY), -1);
    EXPECT_EQ(first.data_set.FindElement(HashMessageName("pathx"), 0)->dataType, ODBE_INT);
    EXPECT_EQ(set.GetGridObjectCount(), 3);
}

TEST(HullPathSetTest, lookups_find_the_first_exact_match_and_nothing_for_wrong_ids_or_indexes)
{
    HullPathSet set = GridOver({"##"});
    GridObject& a = set.CreateGridObject("crew", "t1", "x");
    GridObject& b = set.CreateGridObject("crew", "t2", "x");
    EXPECT_EQ(set.GetGridObjectByName("crew"), &a);
    EXPECT_EQ(set.GetGridObjectByName("Crew"), nullptr) << "names are case-sensitive";
    EXPECT_EQ(set.GetGridObjectByTag("t2"), &b);
    EXPECT_EQ(set.GetGridObjectByTag("t"), nullptr);
    EXPECT_EQ(set.GetGridObjectById(b.unique_ID), &b);
    EXPECT_EQ(set.GetGridObjectById(0), nullptr);
    EXPECT_EQ(set.GetGridObjectById(b.unique_ID & ~kGridObjectIdBit), nullptr) << "not a grid-object id";
    EXPECT_EQ(set.GetGridObjectByIndex(1), &b);
    EXPECT_EQ(set.GetGridObjectByIndex(2), nullptr);
    EXPECT_EQ(set.GetGridObjectByIndex(-1), nullptr);
}

TEST(HullPathSetTest, deleting_keeps_the_others_in_order_and_refuses_a_stranger)
{
    HullPathSet set = GridOver({"##"});
    const uint64_t a = set.CreateGridObject("a", "", "").unique_ID;
    GridObject& b = set.CreateGridObject("b", "", "");
    const uint64_t c = set.CreateGridObject("c", "", "").unique_ID;
    HullPathSet other = GridOver({"##"});
    GridObject& stranger = other.CreateGridObject("s", "", "");

    EXPECT_TRUE(set.DeleteGridObject(&b));
    EXPECT_FALSE(set.DeleteGridObject(&stranger));
    ASSERT_EQ(set.GetGridObjectCount(), 2);
    EXPECT_EQ(set.GetGridObjectByIndex(0)->unique_ID, a);
    EXPECT_EQ(set.GetGridObjectByIndex(1)->unique_ID, c);
}

TEST(HullPathSetTest, objects_at_a_point_come_in_list_order_and_a_missing_cell_reads_as_zero)
{
    HullPathSet set = GridOver({"###", "###"});
    GridObject& a = set.CreateGridObject("a", "", "");
    GridObject& b = set.CreateGridObject("b", "", "");
    GridObject& c = set.CreateGridObject("c", "", "");
    for (GridObject* placed : {&a, &c}) {
        WriteInt(placed->data_set, kCurX, 2);
        WriteInt(placed->data_set, kCurY, 1);
    }
    EXPECT_EQ(b.data_set.NumElements("curx"), 0);
    EXPECT_THAT(set.GetObjectsAtPoint(2, 1), ElementsAre(a.unique_ID, c.unique_ID));
    EXPECT_EQ(b.data_set.NumElements("curx"), 1) << "the read left an empty element";
    EXPECT_THAT(set.GetObjectsAtPoint(0, 0), ElementsAre(b.unique_ID));
    EXPECT_TRUE(set.GetObjectsAtPoint(1, 1).empty());
}

// ---- the tick ----

class GridMoveTest : public ::testing::Test {
protected:
    GridMoveTest() : set(GridOver({"#####"})), ship(0, "behav_none", "", 0, 0.0f, 0.0f, 1.0f) {}

    GridObject& Walker(float speed)
    {
        GridObject& walker = set.CreateGridObject("walker", "", "");
        WriteFloat(walker.data_set, kPercent, 1.0f);  // idle at (0, 0)
        WriteFloat(walker.data_set, kMoveSpeed, speed);
        return walker;
    }
    void RequestCell(GridObject& walker, int32_t column, int32_t row)
    {
        WriteInt(walker.data_set, kPathX, column);
        WriteInt(walker.data_set, kPathY, row);
    }
    void Tick()
    {
        set.MoveGridObjects(ship, [this](uint64_t id) {
            arrivals.push_back(id);
            return true;
        });
    }

    HullPathSet set;
    SpaceObject ship;
    std::vector<uint64_t> arrivals;
};

// The path found runs from the cell the object comes from, so its first step
// is that cell itself; each step then takes 1 / speed ticks.
TEST_F(GridMoveTest, a_requested_cell_is_walked_to_step_by_step_and_the_arrival_reported_once)
{
    GridObject& walker = Walker(0.5f);
    RequestCell(walker, 3, 0);
    struct State {
        int64_t curx;
        int64_t lastx;
        float percent;
        int64_t pathLength;
    };
    const State expected[] = {
        {0, 0, 1.0f, 4},  // the request: the path is searched
        {0, 0, 0.5f, 3}, {1, 0, 0.0f, 2}, {1, 0, 0.5f, 2}, {2, 1, 0.0f, 1},
        {2, 1, 0.5f, 1}, {3, 2, 0.0f, 0}, {3, 2, 0.5f, 0},
        {3, 2, 1.0f, 0},  // the end of the path: arrived
        {3, 2, 1.0f, 0},  // idle
    };
    for (size_t tick = 0; tick < std::size(expected); ++tick) {
        Tick();
        const State& want = expected[tick];
        EXPECT_EQ(ReadInt(walker.data_set, kCurX), want.curx) << "tick " << tick;
        EXPECT_EQ(ReadInt(walker.data_set, kLastX), want.lastx) << "tick " << tick;
        EXPECT_EQ(ReadFloat(walker.data_set, kPercent), want.percent) << "tick " << tick;
        EXPECT_EQ(ReadInt(walker.data_set, kPathLength), want.pathLength) << "tick " << tick;
        EXPECT_EQ(ReadInt(walker.data_set, kPathX), -1) << "the request is taken at once";
    }
    EXPECT_THAT(arrivals, ElementsAre(walker.unique_ID));
}

TEST_F(GridMoveTest, red_alert_halves_the_pace)
{
    for (int32_t redAlert : {0, 1}) {
        ship.data_set.SetInt("red_alert", redAlert, 0, "a");
        GridObject& walker = Walker(0.25f);
        RequestCell(walker, 4, 0);
        int ticks = 0;
        for (; ticks < 100 && ReadInt(walker.data_set, kCurX) < 2; ++ticks)
            Tick();
        const int startOfStep = ticks;
        for (; ticks < 100 && ReadInt(walker.data_set, kCurX) < 3; ++ticks)
            Tick();
        EXPECT_EQ(ticks - startOfStep, redAlert ? 8 : 4) << "red alert " << redAlert;
        set.DeleteGridObject(&walker);
    }
}

TEST_F(GridMoveTest, a_speed_that_is_not_a_number_leaves_the_object_where_it_is)
{
    GridObject& walker = Walker(std::nanf(""));
    RequestCell(walker, 4, 0);
    for (int tick = 0; tick < 20; ++tick)
        Tick();
    EXPECT_EQ(ReadInt(walker.data_set, kCurX), 0);
    EXPECT_TRUE(arrivals.empty());
}

// Ten steps of a bubble sort per tick, letter case aside: from f e d c b a
// the first tick leaves d c b a e f.
TEST_F(GridMoveTest, the_list_is_sorted_by_name_ten_steps_per_tick)
{
    for (const char* name : {"f", "E", "d", "C", "b", "a"})
        set.CreateGridObject(name, "", "");
    auto names = [this] {
        std::string text;
        for (const auto& object : set.Objects())
            text += object->name;
        return text;
    };
    Tick();
    EXPECT_EQ(names(), "dCbaEf");
    for (int tick = 0; tick < 5; ++tick)
        Tick();
    EXPECT_EQ(names(), "abCdEf");
}

// A step keeps the progress below 1, so however fast an object walks it
// reaches its goal and says so once.
TEST_F(GridMoveTest, fast_walkers_arrive_and_are_reported_once)
{
    for (float speed : {0.5f, 1.0f, 4.0f}) {
        GridObject& walker = Walker(speed);
        RequestCell(walker, 4, 0);
        arrivals.clear();
        for (int tick = 0; tick < 40; ++tick)
            Tick();
        EXPECT_EQ(ReadInt(walker.data_set, kCurX), 4) << "speed " << speed;
        EXPECT_THAT(arrivals, ElementsAre(walker.unique_ID)) << "speed " << speed;
        set.DeleteGridObject(&walker);
    }
}

// The mission hears of an arrival while the walk goes on; when it ends the
// map, the walk stops there.
TEST_F(GridMoveTest, the_walk_stops_when_the_arrival_handler_says_the_map_is_gone)
{
    GridObject& first = Walker(1.0f);
    GridObject& second = Walker(1.0f);
    RequestCell(first, 0, 0);
    RequestCell(second, 0, 0);
    Tick();  // both take their requests
    Tick();  // both step onto their one cell
    const float secondProgress = ReadFloat(second.data_set, kPercent);
    int heard = 0;
    set.MoveGridObjects(ship, [&](uint64_t) {
        ++heard;
        return false;
    });
    EXPECT_EQ(heard, 1);
    EXPECT_EQ(ReadFloat(second.data_set, kPercent), secondProgress) << "the second was not walked";
}

}  // namespace
