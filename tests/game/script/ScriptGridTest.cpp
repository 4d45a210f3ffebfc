// Ship interiors as a mission reaches them: the classes hullmap and
// grid_object and the module functions get_hull_map, the grid-point searches
// and delete_grid_object, driven from a running mission over a small hull.

#include "ScriptTestSupport.h"

#include "game/net/SignalMessage.h"
#include "game/world/HullPathSets.h"
#include "tests/support/AuthoredHull.h"

#include <gmock/gmock.h>

namespace scripttest {
namespace {

using ::testing::HasSubstr;

// A 20 x 10 interior, open but for (0, 0) and (3, 2).
std::vector<std::string> InteriorHull()
{
    std::vector<std::string> rows(10, std::string(20, '#'));
    rows[0][0] = '.';
    rows[2][3] = '.';
    return rows;
}

class ScriptGridTest : public WorldMissionTest {
protected:
    void SetUp() override
    {
        hulls.hulls["test_hull"] = qeltest::DrawHull(InteriorHull());
        SetHullSilhouetteSource(&hulls);
        WorldMissionTest::SetUp();
        world.paused = false;
        world.SetScriptEventSink(&host());
        shipId = world.CreateSpaceObject("behav_none", "test_hull", 0);
        sink.messages.clear();
        RunScript("ship_id = " + std::to_string(shipId));
        py::gil_scoped_acquire gil;
        py::module_::import("script").attr("sim") = zmx::WorldForScripts();
    }
    void TearDown() override
    {
        world.SetScriptEventSink(nullptr);
        WorldMissionTest::TearDown();
        SetHullSilhouetteSource(nullptr);
    }

    void RunTicks(int count)
    {
        for (int tick = 0; tick < count; ++tick) {
            world.FrameUpdate();
            world.Tick();
        }
    }

    qeltest::ScopedShipRecord record{qeltest::InteriorRecord(20, 10, 2.5f, 0)};
    qeltest::AuthoredHulls hulls;
    uint64_t shipId = 0;
};

TEST_F(ScriptGridTest, get_hull_map_gives_the_ships_interior_and_force_create_rebuilds_it_for_every_console)
{
    RunScript("hm = zmx.get_hull_map(ship_id)");
    EXPECT_EQ(Eval("(hm.name, hm.art_file_root, hm.desc, hm.grid_scale, hm.w, hm.h, hm.symmetrical_flag)"),
              "('test hull', 'TestHull', 'a hull drawn for the tests', 2.5, 20, 10, 0)");
    EXPECT_EQ(Eval("zmx.get_hull_map(spaceObjectID=ship_id).w"), "20") << "forceCreate defaults to False";
    EXPECT_TRUE(sink.messages.empty()) << "a plain look-up tells no console";

    RunScript("hm.create_grid_object('Ada', 'engineer', 'crew')\nnew = zmx.get_hull_map(ship_id, forceCreate=True)");
    EXPECT_EQ(Eval("new.get_grid_object_count()"), "0") << "rebuilt without its grid objects";
    EXPECT_THAT(RunError("hm.w"), HasSubstr("ReferenceError")) << "the old map's handle is stale";
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].code, SIGNAL_MESS_DELETE_GRID);
    EXPECT_EQ(sink.messages[0].to, 0u) << "to every console";
    EXPECT_EQ(sink.messages[0].packetFlags, ServerMessageSink::kUnreliable);
    EXPECT_EQ(sink.messages[0].texts[0], "test_hull");

    EXPECT_EQ(Eval("zmx.get_hull_map(" + std::to_string(objectId) + ")"), "None") << "no hull for its type";
    EXPECT_EQ(Eval("zmx.get_hull_map(" + std::to_string(shipId + 100) + ")"), "None") << "no such ship";
    EXPECT_THAT(RunError("zmx.get_hull_map(5)"), HasSubstr("ValueError"));
    EXPECT_THAT(RunError("zmx.get_hull_map(0)"), HasSubstr("ValueError"));
}

TEST_F(ScriptGridTest, a_hull_map_answers_about_its_cells_and_its_grid_objects)
{
    RunScript("hm = zmx.get_hull_map(ship_id)");
    EXPECT_EQ(Eval("[hm.is_grid_point_open(x, y) for x, y in ((1, 0), (0, 0), (3, 2), (19, 9), (-1, 0), (20, 0), "
                   "(0, 10))]"),
              "[1, 0, 0, 1, 0, 0, 0]");
    EXPECT_EQ(Eval("(hm.get_grid_object_count(), hm.get_grid_object_by_name('Ada'), hm.get_grid_object_by_tag('x'),"
                   " hm.get_grid_object_by_id(0), hm.get_objects_at_point(1, 1))"),
              "(0, None, None, None, [])");

    RunScript("a = hm.create_grid_object('crew', 'first', 'person')\n"
              "b = hm.create_grid_object('crew', 'second', 'person')\n"
              "b.data_set.set('curx', 4)\nb.data_set.set('cury', 5)");
    EXPECT_EQ(Eval("(a.unique_ID >> 61, a.layer, a.data_set.get('pathx', 0), a.data_set.get('pathy', 0))"),
              "(1, 0, -1, -1)");
    EXPECT_EQ(Eval("b.unique_ID - a.unique_ID"), "1");
    EXPECT_EQ(Eval("hm.get_grid_object_by_name('crew').tag"), "first") << "the first made";
    EXPECT_EQ(Eval("hm.get_grid_object_by_name('Crew')"), "None") << "names are case-sensitive";
    EXPECT_EQ(Eval("hm.get_grid_object_by_tag('second').unique_ID == b.unique_ID"), "True");
    EXPECT_EQ(Eval("hm.get_grid_object_by_id(b.unique_ID).tag"), "second");
    EXPECT_EQ(Eval("hm.get_grid_object_by_index(index=1).tag"), "second");
    EXPECT_EQ(Eval("hm.get_objects_at_point(x=4, y=5) == [b.unique_ID]"), "True");
    EXPECT_EQ(Eval("hm.get_objects_at_point(0, 0) == [a.unique_ID]"), "True") << "no curx counts as column 0";
}

TEST_F(ScriptGridTest, wrong_arguments_and_values_raise_clear_errors_and_change_nothing)
{
    RunScript("hm = zmx.get_hull_map(ship_id)\ngo = hm.create_grid_object('Ada', 'engineer', 'crew')");
    struct Case {
        const char* statement;
        const char* error;
    };
    const Case cases[] = {
        {"hm.get_grid_object_by_index(1)", "IndexError"},
        {"hm.get_grid_object_by_index(-1)", "IndexError"},
        {"hm.get_grid_object_by_id(ship_id)", "ValueError"},
        {"hm.is_grid_point_open(x=1, y=1)", "TypeError"},
        {"hm.is_grid_point_open(2**31, 0)", "TypeError"},
        {"hm.create_grid_object('x' * 5000, 'y' * 5000, '')", "ValueError"},
        {"hm.grid_scale = float('nan')", "ValueError"},
        {"hm.w = 'wide'", "TypeError"},
        {"go.layer = 2.0", "TypeError"},
        {"go.name = 5", "TypeError"},
        {"go.name = 'x' * 8001", "ValueError"},
        {"go.unique_ID = 5", "AttributeError"},
        {"go.data_set = None", "AttributeError"},
        {"zmx.grid_object()", "TypeError"},
        {"zmx.hullmap()", "TypeError"},
        {"zmx.delete_grid_object(ship_id, ship_id)", "ValueError"},
        {"zmx.find_valid_grid_point_for_vector3(ship_id, None, 0)", "TypeError"},
        {"zmx.find_valid_grid_point_for_vector3(7, zmx.vec3(1, 0, 0), 0)", "ValueError"},
    };
    for (const Case& c : cases)
        EXPECT_THAT(RunError(c.statement), HasSubstr(c.error)) << c.statement;
    EXPECT_EQ(Eval("(hm.get_grid_object_count(), go.name, go.layer, hm.grid_scale, hm.w)"),
              "(1, 'Ada', 0, 2.5, 20)");
}

TEST_F(ScriptGridTest, grid_object_fields_read_and_write_and_the_size_fields_never_reach_past_the_cells)
{
    RunScript("hm = zmx.get_hull_map(ship_id)\ngo = hm.create_grid_object('Ada', 'engineer', 'crew')\n"
              "go.name = 'Ada Lind'\ngo.tag = 'captain'\ngo.type = 'officer'\ngo.layer = -3\n"
              "hm.w = 100\nhm.h = 100\nhm.name = 'renamed'");
    EXPECT_EQ(Eval("(go.name, go.tag, go.type, go.layer)"), "('Ada Lind', 'captain', 'officer', -3)");
    EXPECT_EQ(Eval("(hm.w, hm.name, hm.is_grid_point_open(50, 50), hm.is_grid_point_open(1, 0))"),
              "(100, 'renamed', 0, 1)");
}

// The spiral walks ring by ring from the start: from (20, 5), outside the
// grid, ring 1 tries (20, 4), (21, 4), (21, 5), (21, 6), (20, 6), (19, 6).
TEST_F(ScriptGridTest, the_grid_point_searches_find_the_nearest_open_cell_around_the_point)
{
    EXPECT_EQ(Eval("zmx.find_valid_grid_point_for_vector3(ship_id, zmx.vec3(1, 0, 0), 0)"), "[]")
        << "the search builds no grid";
    RunScript("hm = zmx.get_hull_map(ship_id)");
    struct Case {
        const char* call;
        const char* cell;
    };
    const Case cases[] = {
        {"find_valid_grid_point_for_vector3(ship_id, zmx.vec3(1, 0, 0), 0)", "[19, 6]"},
        {"find_valid_grid_point_for_vector3(ship_id, zmx.vec3(0, 0, 3), 0)", "[10, 0]"},
        {"find_valid_grid_point_for_vector3(spaceObjectID=ship_id, vecPoint=zmx.vec3(-1, 0, -1), randomRadius=0)",
         "[2, 8]"},
        {"find_valid_grid_point_for_vector3(ship_id, zmx.vec3(0, 0, 0), 0)", "[]"},
        {"find_valid_grid_point_for_vector3(ship_id, zmx.vec3(float('nan'), 0, 0), 0)", "[]"},
        {"find_valid_unoccupied_grid_point_for_vector3(ship_id, zmx.vec3(-0.5, 0, 0.5), 0)", "[5, 2]"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Eval(std::string("zmx.") + c.call), c.cell) << c.call;

    RunScript("go = hm.create_grid_object('Ada', '', '')\ngo.data_set.set('curx', 10)\ngo.data_set.set('cury', 0)");
    EXPECT_EQ(Eval("zmx.find_valid_unoccupied_grid_point_for_vector3(ship_id, zmx.vec3(0, 0, 1), 0)"), "[11, 0]")
        << "the cell a grid object stands on is skipped";
    EXPECT_EQ(Eval("zmx.find_valid_grid_point_for_vector3(ship_id, zmx.vec3(0, 0, 1), 0)"), "[10, 0]");
    EXPECT_EQ(Eval("len(zmx.find_valid_grid_point_for_vector3(ship_id, zmx.vec3(1, 0, 0), 2**31 - 1))"), "0")
        << "a radius beyond any grid finds nothing, and no harm";
    RunScript("hm.w = 1");
    EXPECT_EQ(Eval("zmx.find_valid_grid_point_for_vector3(ship_id, zmx.vec3(1, 0, 0), 0)"), "[]")
        << "a grid one cell wide";
}

TEST_F(ScriptGridTest, delete_grid_object_removes_it_and_tells_every_console_reliably)
{
    RunScript("hm = zmx.get_hull_map(ship_id)\na = hm.create_grid_object('a', '', '')\n"
              "b = hm.create_grid_object('b', '', '')\nkept = a.unique_ID\ngone = b.unique_ID\n"
              "zmx.delete_grid_object(ship_id, gone)");
    EXPECT_EQ(Eval("(hm.get_grid_object_count(), hm.get_grid_object_by_index(0).unique_ID == kept)"), "(1, True)");
    EXPECT_THAT(RunError("b.name"), HasSubstr("ReferenceError"));
    EXPECT_THAT(RunError("b.data_set.get('pathx', 0)"), HasSubstr("ReferenceError"));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].code, SIGNAL_MESS_GRID_OBJECT_DELETED);
    EXPECT_EQ(sink.messages[0].to, 0u);
    EXPECT_EQ(sink.messages[0].packetFlags, ServerMessageSink::kReliable);

    RunScript("zmx.delete_grid_object(spaceObjectID=ship_id, gridObjID=gone)\nzmx.delete_grid_object(ship_id, 0)");
    EXPECT_EQ(sink.messages.size(), 1u) << "nothing deleted, nothing told";
}

TEST_F(ScriptGridTest, a_grid_object_walks_where_the_mission_sends_it_and_the_mission_hears_it_arrive)
{
    RunScript("hm = zmx.get_hull_map(ship_id)\ngo = hm.create_grid_object('Ada', '', '')\n"
              "for key, value in (('curx', 1), ('cury', 1), ('lastx', 1), ('lasty', 1)):\n"
              "    go.data_set.set(key, value)\n"
              "go.data_set.set('percent', 1.0)\ngo.data_set.set('move_speed', 0.5)\n"
              "go.data_set.set('pathx', 4)\ngo.data_set.set('pathy', 3)");
    RunTicks(20);
    EXPECT_EQ(Eval("(go.data_set.get('curx', 0), go.data_set.get('cury', 0), go.data_set.get('path_length', 0))"),
              "(4, 3, 0)");
    EXPECT_EQ(Eval("[(e.tag, e.sub_tag, e.origin_id == go.unique_ID) for e in received if e.tag == 'grid_object']"),
              "[('grid_object', 'finished_path', True)]");
}

TEST_F(ScriptGridTest, a_new_game_leaves_old_hull_map_and_grid_object_handles_stale)
{
    RunScript("hm = zmx.get_hull_map(ship_id)\ngo = hm.create_grid_object('Ada', '', '')\nds = go.data_set");
    world.Reset(true, "");
    for (const char* use : {"hm.w", "hm.get_grid_object_count()", "go.name", "ds.get('pathx', 0)"})
        EXPECT_THAT(RunError(use), HasSubstr("ReferenceError")) << use;
}

TEST_F(ScriptGridTest, the_documentation_file_lists_the_interior_classes_and_functions)
{
    const std::string doc = data.Read("script_documentation.txt");
    const char* expected[] = {
        "class grid_object",
        "class hullmap",
        "get_grid_object_by_index(self: zmx.hullmap, index: int) -> zmx.grid_object",
        "returns a gridobject, by position in the list",
        "int, layers to help draw different grid-objects correctly.  (recommend 0-8, with 0 being lowest)",
        "int, total grid hieght",
        "is_grid_point_open(self: zmx.hullmap, arg0: int, arg1: int) -> int",
        "get_hull_map(spaceObjectID: int, forceCreate: bool = False)",
        "find_valid_unoccupied_grid_point_for_vector3(spaceObjectID: int, vecPoint: zmx.vec3, randomRadius: int)",
        "deletes the grid object, and sends the deletion message to all clients",
    };
    for (const char* text : expected)
        EXPECT_THAT(doc, HasSubstr(text)) << text;
}

}  // namespace
}  // namespace scripttest
