// A mission walks crew through the interior of its ship in halvex-server:
// the hull map read from the ship's silhouette image, grid objects made,
// found, sent across the ship and deleted, the arrival heard, the map
// rebuilt, and handles of what is gone refused.

#include "tests/tools/halvex-server/FrigateInterior.h"
#include "tests/tools/halvex-server/HarnessProcess.h"

#include <gmock/gmock.h>

namespace harnesstest {
namespace {

using ::testing::HasSubstr;

constexpr const char* kMission = R"(import zmx

ship_id = 0


def report(text):
    print("interior: " + text)


def cell(go):
    return (go.data_set.get("curx", 0), go.data_set.get("cury", 0))


def crew_the_ship(sim):
    global ship_id
    zmx.create_new_sim()
    ship_id = sim.create_space_object("behav_playership", "tern_frigate", 0)
    zmx.resume_sim()
    hm = zmx.get_hull_map(ship_id)
    report("map %s %d x %d symmetrical %d" % (hm.name, hm.w, hm.h, hm.symmetrical_flag))
    open_cells = [(x, y) for y in range(hm.h) for x in range(hm.w) if hm.is_grid_point_open(x, y)]
    report("open cells %d of %d" % (len(open_cells), hm.w * hm.h))

    ada = hm.create_grid_object("Ada", "engineer", "crew")
    report("first grid object %d pathx %d layer %d" % (ada.unique_ID, ada.data_set.get("pathx", 0), ada.layer))
    bo = hm.create_grid_object("Bo", "medic", "crew")
    bo.layer = 2
    start = zmx.find_valid_grid_point_for_vector3(ship_id, zmx.vec3(0, 0, 1), 0)
    for key, value in (("curx", start[0]), ("cury", start[1]), ("lastx", 0), ("lasty", 0)):
        ada.data_set.set(key, value)
    goal = zmx.find_valid_unoccupied_grid_point_for_vector3(ship_id, zmx.vec3(0, 0, -0.9), 0)
    report("start %s goal %s" % (start, goal))
    found = (hm.get_grid_object_by_name("Bo"), hm.get_grid_object_by_tag("engineer"),
             hm.get_grid_object_by_id(bo.unique_ID), hm.get_grid_object_by_index(0))
    report("found " + " ".join(go.name for go in found) + " layer %d" % found[2].layer)
    report("at %s: %s" % (start, [hm.get_grid_object_by_id(i).name for i in hm.get_objects_at_point(*start)]))

    zmx.delete_grid_object(ship_id, bo.unique_ID)
    try:
        bo.name
    except ReferenceError:
        report("deleted Bo, %d left, its handle refused" % hm.get_grid_object_count())

    ada.data_set.set("percent", 1.0)
    ada.data_set.set("move_speed", 1.0)
    ada.data_set.set("pathx", 0)
    ada.data_set.set("pathy", 22)


def halvex_event_handler(sim, event):
    if ship_id == 0:
        crew_the_ship(sim)
    if event.tag == "grid_object" and event.sub_tag == "finished_path":
        hm = zmx.get_hull_map(ship_id)
        ada = hm.get_grid_object_by_id(event.origin_id)
        report("%s arrived at %s" % (ada.name, cell(ada)))
        rebuilt = zmx.get_hull_map(ship_id, True)
        try:
            ada.name
        except ReferenceError:
            report("rebuilt with %d grid objects, old handles refused" % rebuilt.get_grid_object_count())
)";

TEST(InteriorMissionTest, a_mission_walks_crew_through_its_ship_in_halvex_server)
{
    FrigateInteriorFolder folder(kMission);
    HarnessProcess harness(
        {"--data", folder.data.Path().string(), "--mission", folder.kMission, "--fast", "--ticks", "150"});
    ASSERT_EQ(harness.Wait(), 0) << harness.Errors();
    const std::string& out = harness.Output();
    const char* expected[] = {
        "interior: map tern frigate 12 x 24 symmetrical 1\n",
        "interior: open cells 268 of 288\n",
        "interior: first grid object 2305843009213693993 pathx -1 layer 0\n",
        "interior: start [6, 0] goal [6, 22]\n",
        "interior: found Bo Ada Bo Ada layer 2\n",
        "interior: at [6, 0]: ['Ada']\n",
        "interior: deleted Bo, 1 left, its handle refused\n",
        "interior: Ada arrived at (0, 22)\n",
        "interior: rebuilt with 0 grid objects, old handles refused\n",
    };
    for (const char* line : expected)
        EXPECT_THAT(out, HasSubstr(line)) << harness.Errors();
}

}  // namespace
}  // namespace harnesstest
