// The simulation's members for nav signs, tractor connections, shield facings,
// sides and torpedoes, and the record classes they hand out, driven from a
// running mission.

#include "ScriptTestSupport.h"

#include "game/net/SignalMessage.h"
#include "game/world/ObjectId.h"
#include "game/world/ShipKeys.h"

#include <gmock/gmock.h>

namespace scripttest {
namespace {

using ::testing::HasSubstr;

class ScriptWorldRecordsTest : public WorldMissionTest {
protected:
    void SetUp() override
    {
        WorldMissionTest::SetUp();
        world.paused = false;
        world.SetScriptEventSink(&host());
        sink.messages.clear();
        py::gil_scoped_acquire gil;
        py::module_::import("script").attr("sim") = zmx::WorldForScripts();
    }

    // Statements that must each raise the error, changing nothing the test
    // then checks.
    void ExpectEachRaises(std::initializer_list<std::string> statements, const char* error)
    {
        for (const std::string& statement : statements)
            EXPECT_THAT(RunError(statement), HasSubstr(error)) << statement;
    }
};

TEST_F(ScriptWorldRecordsTest, the_record_classes_sit_where_the_module_lists_them)
{
    RunScript("names = list(zmx.__dict__)");
    EXPECT_EQ(Eval("[names.index(n) for n in ('Writer', 'tractor_connection', 'vec2', 'quaternion', 'navpoint',"
                   " 'navproxy', 'event', 'simulation')] == sorted([names.index(n) for n in ('Writer',"
                   " 'tractor_connection', 'vec2', 'quaternion', 'navpoint', 'navproxy', 'event', 'simulation')])"),
              "True");
    EXPECT_THAT(RunError("zmx.navpoint()"), HasSubstr("TypeError")) << "scripts cannot make one";
}

TEST_F(ScriptWorldRecordsTest, nav_signs_share_one_counter_and_are_found_by_id_and_name)
{
    RunScript("a = sim.add_navpoint(1, 2, 3, 'Gate', 'red')\n"
              "b = sim.add_navproxy(0, 'Beacon', 'buoy', 'blue')\n"
              "c = sim.add_navarea(0, 0, 10, 0, 10, 10, 0, 10, text='Field', colDesc='green')\n"
              "d = sim.add_navpoint(x=0, y=0, z=0, text='Gate', colDesc='white')");
    EXPECT_EQ(Eval("(a, b, c, d)"), "(1, 2, 3, 4)");
    EXPECT_EQ(Eval("(sim.navpoint_exists(a), sim.navproxy_exists(a), sim.navpoint_exists(0), "
                   "sim.get_navpoint_by_id(0), sim.get_navproxy_by_id(a))"),
              "(True, False, False, None, None)");
    EXPECT_EQ(Eval("(sim.get_navpoint_id_by_name('Gate'), sim.get_navpoint_id_by_name('gate'), "
                   "sim.get_navproxy_id_by_name('Beacon'))"),
              "(1, 0, 2)");
    EXPECT_TRUE(world.GetNavpoint(3)->isArea);
    RunScript("sim.delete_navpoint_by_id(a)\nsim.delete_navpoint_by_id(a)\nsim.delete_navpoint_by_id(99)");
    EXPECT_EQ(world.deletedNavpointIds, std::vector<int32_t>{1});
    EXPECT_EQ(Eval("sim.get_navpoint_id_by_name('Gate')"), "4");
}

TEST_F(ScriptWorldRecordsTest, a_navpoint_is_a_live_view_that_reaches_consoles_only_when_flagged)
{
    RunScript("i = sim.add_navpoint(1, 2, 3, 'Gate', 'red')\n"
              "p = sim.get_navpoint_by_id(i)\n"
              "p.has_changed_flag = 0\n"
              "where = p.pos\n"
              "where.x = 50\n"
              "p.text = 'Outer gate'\n"
              "p.visibleToSide = 'meridian'\n"
              "p.visibleToShip = " + std::to_string(objectId) + "\n"
              "p.SetColor('no such colour')");
    const Navpoint& point = *world.GetNavpoint(1);
    EXPECT_EQ(point.pos, glm::vec3(50, 2, 3)) << "the vector read from pos is the nav point's own";
    EXPECT_EQ(point.text, "Outer gate");
    EXPECT_EQ(point.visibleToSide, "meridian");
    EXPECT_EQ(point.visibleToShip, objectId);
    EXPECT_EQ(point.color, glm::vec4(1, 0, 1, 1));
    EXPECT_EQ(point.has_changed_flag, 0) << "no setter flags it: the mission does";
    RunScript("p.has_changed_flag = 5\np.color = zmx.vec4(0, 0, 1, 1)\np.visibleToShip = 0");
    EXPECT_EQ(point.has_changed_flag, 5);
    EXPECT_EQ(point.color, glm::vec4(0, 0, 1, 1));
    EXPECT_EQ(Eval("(p.text, p.visibleToShip, p.pos.x)"), "('Outer gate', 0, 50.0)");

    ExpectEachRaises({"p.visibleToShip = -1", "p.has_changed_flag = 1.0", "p.pos = zmx.vec4()", "p.pos = None",
                      "p.text = 5"},
                     "TypeError");
    ExpectEachRaises({"p.visibleToShip = 2**63 + 5", "p.pos = zmx.vec3(float('nan'), 0, 0)", "where.y = float('inf')",
                      "p.visibleToSide = 'x' * 8000", "sim.add_navpoint(float('inf'), 0, 0, 'a', 'red')"},
                     "ValueError");
    EXPECT_EQ(point.pos, glm::vec3(50, 2, 3));
    EXPECT_EQ(point.visibleToSide, "meridian");
    EXPECT_EQ(world.navpoints.size(), 1u);

    RunScript("sim.delete_navpoint_by_id(i)");
    ExpectEachRaises({"p.text", "where.x"}, "ReferenceError");
}

TEST_F(ScriptWorldRecordsTest, a_navproxy_starts_at_its_object_and_moves_when_told)
{
    object().pos = {300, 0, -40};
    const std::string id = std::to_string(objectId);
    RunScript("i = sim.add_navproxy(" + id + ", 'Escort', 'frigate', 'white')\n"
              "x = sim.get_navproxy_by_proxy_id(" + id + ")\n"
              "x.has_changed_flag = 0\n"
              "start = (x.pos.x, x.pos.z)\n"
              "sim.set_navproxy_pos(x, 7, 8, 9)");
    EXPECT_EQ(Eval("(start, x.text, x.shiptype, x.proxy_id == " + id + ")"), "((300.0, -40.0), 'Escort', 'frigate', True)");
    const NavProxy& proxy = *world.GetNavproxy(1);
    EXPECT_EQ(proxy.pos, glm::vec3(7, 8, 9));
    EXPECT_EQ(proxy.has_changed_flag, 1);
    EXPECT_EQ(Eval("sim.get_navproxy_by_proxy_id(12345)"), "None");
    ExpectEachRaises({"sim.set_navproxy_pos(None, 0, 0, 0)", "sim.add_navproxy(-1, 'a', 'b', 'c')",
                      "x.proxy_id = -1", "x.proxy_id = 2**64", "x.proxy_id = 5.0"},
                     "TypeError");
    ExpectEachRaises({"sim.add_navproxy(2**63 + 1, 'a', 'b', 'c')", "sim.set_navproxy_pos(x, float('nan'), 0, 0)"},
                     "ValueError");
    // The proxy's own id is any 64-bit value, and is found by it.
    RunScript("x.proxy_id = 2**63 + 5");
    EXPECT_EQ(Eval("(x.proxy_id, sim.get_navproxy_by_proxy_id(2**63 + 5).text)"), "(9223372036854775813, 'Escort')");
    RunScript("x.proxy_id = 5");
    EXPECT_EQ(world.GetNavproxy(1)->proxy_id, 5u);
    EXPECT_EQ(world.navproxies.size(), 1u);
    RunScript("zmx.delete_all_navproxies()");
    EXPECT_TRUE(world.navproxies.empty());
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].code, SIGNAL_MESS_ALL_NAV_PROXIES_DELETED);
    EXPECT_EQ(sink.messages[0].packetFlags, ServerMessageSink::kUnreliable);
}

TEST_F(ScriptWorldRecordsTest, distances_to_nav_points_answer_minus_one_for_what_is_missing)
{
    object().pos = {0, 0, 0};
    const std::string id = std::to_string(objectId);
    RunScript("a = sim.add_navpoint(3, 4, 0, 'a', 'red')\nb = sim.add_navpoint(3, 4, 12, 'b', 'red')");
    EXPECT_EQ(Eval("(zmx.distance_to_navpoint(a, " + id + "), zmx.distance_between_navpoints(a, b))"), "(5.0, 12.0)");
    EXPECT_EQ(Eval("(zmx.distance_to_navpoint(99, " + id + "), zmx.distance_between_navpoints(a, 99))"),
              "(-1.0, -1.0)");
    EXPECT_EQ(Eval("zmx.distance_to_navpoint(a, " + std::to_string(kSpaceObjectIdBit | 999) + ")"), "-1.0");
    ExpectEachRaises({"zmx.distance_to_navpoint(a, 5)"}, "ValueError");
    ExpectEachRaises({"zmx.distance_to_navpoint(navpointID=a, objectID=5)"}, "TypeError");
    RunScript("zmx.delete_all_navpoints()");
    EXPECT_TRUE(world.navpoints.empty());
    EXPECT_TRUE(world.deletedNavpointIds.empty()) << "one message tells the consoles instead";
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].code, SIGNAL_MESS_ALL_NAV_POINTS_DELETED);
}

TEST_F(ScriptWorldRecordsTest, a_tractor_connection_is_one_per_pair_and_pulls_at_the_next_tick)
{
    const uint64_t other = world.CreateSpaceObject("behav_none", "", 0);
    const std::string a = std::to_string(objectId), b = std::to_string(other);
    RunScript("t = sim.AddTractorConnection(" + a + ", " + b + ", zmx.vec3(1, 0, 0), 2.0)\n"
              "u = sim.AddTractorConnection(" + b + ", " + a + ", zmx.vec3(0, 0, 100), 0)\n"
              "same = sim.GetTractorConnection(" + b + ", " + a + ")");
    ASSERT_EQ(world.tractorConnections.size(), 1u);
    EXPECT_EQ(Eval("(t.source_id == " + a + ", u.target_id == " + b + ", t.offset.z, t.pull_distance, same.offset.z)"),
              "(True, True, 100.0, 0.0, 100.0)");
    RunScript("t.offset.x = 5\nt.pull_distance = 0");
    world.FrameUpdate();
    world.Tick();
    EXPECT_EQ(world.GetSpaceObject(other)->pos, glm::vec3(5, 0, 100));

    ExpectEachRaises({"t.source_id = 5"}, "AttributeError");
    ExpectEachRaises({"t.offset = None", "sim.AddTractorConnection(" + a + ", " + b + ", None, 0)"}, "TypeError");
    ExpectEachRaises({"sim.AddTractorConnection(" + a + ", " + a + ", zmx.vec3(), 0)",
                      "sim.AddTractorConnection(" + a + ", 7, zmx.vec3(), 0)",
                      "sim.AddTractorConnection(0, " + b + ", zmx.vec3(), 0)",
                      "sim.AddTractorConnection(" + a + ", " + b + ", zmx.vec3(float('nan'), 0, 0), 0)",
                      "t.pull_distance = float('inf')"},
                     "ValueError");
    EXPECT_EQ(world.tractorConnections.size(), 1u);
    EXPECT_EQ(world.tractorConnections[0].pullDistance, 0.0f);

    RunScript("sim.DeleteTractorConnection(" + b + ", " + a + ")\ngone = sim.GetTractorConnection(" + a + ", " + b + ")");
    EXPECT_EQ(Eval("gone"), "None");
    ExpectEachRaises({"t.offset"}, "ReferenceError");
    RunScript("sim.AddTractorConnection(" + a + ", " + b + ", zmx.vec3(), 0)\nsim.ClearTractorConnections()");
    EXPECT_TRUE(world.tractorConnections.empty());
}

TEST_F(ScriptWorldRecordsTest, shield_facings_answer_by_the_targets_count_and_bow)
{
    const uint64_t target = world.CreateSpaceObject("behav_none", "", 0);
    world.GetSpaceObject(target)->pos = {0, 0, 1000};
    RunScript("target = sim.get_space_object(" + std::to_string(target) + ")");
    EXPECT_EQ(Eval("sim.get_shield_hit_index(obj, target)"), "-1");
    DeclareInt(world.GetSpaceObject(target)->data_set, shipkeys::kShieldCount, 2);
    EXPECT_EQ(Eval("(sim.get_shield_hit_index(obj, target), "
                   "sim.get_shield_hit_index_source(zmx.vec3(0, 0, 2000), targetShip=target))"),
              "(1, 0)");
    ExpectEachRaises({"sim.get_shield_hit_index(None, target)", "sim.get_shield_hit_index_source(zmx.vec3(), None)"},
                     "TypeError");
}

TEST_F(ScriptWorldRecordsTest, side_tables_are_set_one_way_and_refuse_what_cannot_be_sent)
{
    RunScript("sim.set_side_relationship('navy', 'pirates', zmx.HOSTILE)\n"
              "sim.set_side_icon_color(SideTag='navy', colorString='#00f')\n"
              "sim.set_side_icon_index('navy', 3)\n"
              "sim.set_diplomacy_color(zmx.ALLIED, 'white')");
    EXPECT_EQ(world.GetSideRelationship("navy", "pirates"), DIPLOMACY_HOSTILE);
    EXPECT_EQ(world.GetSideRelationship("pirates", "navy"), DIPLOMACY_UNKNOWN);
    EXPECT_EQ(world.sideTables.diplomacyColours[DIPLOMACY_ALLIED], glm::vec4(1.0f));
    EXPECT_TRUE(world.sideTablesChanged);

    world.sideTablesChanged = false;
    const SideTables before = world.sideTables;
    ExpectEachRaises({"sim.set_side_relationship('navy', 'pirates', 4)", "sim.set_side_relationship('', 'x', 1)",
                      "sim.set_diplomacy_color(-1, 'red')", "sim.set_side_icon_color('navy', '')",
                      "sim.set_side_icon_index('', 1)"},
                     "ValueError");
    EXPECT_FALSE(world.sideTablesChanged);

    // Every pair of 40 sides cannot travel in one message: the mission is told
    // at the side that would not fit, and the tables stay as they were.
    const std::string error = RunError("for a in range(40):\n"
                                       "    for b in range(40):\n"
                                       "        sim.set_side_relationship('s%d' % a, 's%d' % b, zmx.NEUTRAL)\n");
    EXPECT_THAT(error, HasSubstr("ValueError"));
    EXPECT_THAT(error, HasSubstr("no longer fit"));
    QelNetworkMessage message;
    message.WriteInt64(HashMessageName("signal"));
    WriteSignal(message, IndexedTablesSignal{world.sideTables});
    EXPECT_FALSE(message.IsOverflowed());
    EXPECT_GT(world.sideTables.relationships.size(), before.relationships.size());
}

TEST_F(ScriptWorldRecordsTest, a_launch_queues_its_event_for_the_next_server_tick)
{
    ObjectDataBlob& ship = object().data_set;
    DeclareInt(ship, shipkeys::kTorpedoTubeCount, 2);
    ship.SetInt("Homing_NUM", 3, 0, "a");
    RunScript("sim.launch_torpedo(obj, 1, False)");
    ASSERT_EQ(host().eventQueue.size(), 1u);
    const EventMessage& launched = host().eventQueue[0];
    EXPECT_EQ(launched.tag, "player_launches_missile");
    EXPECT_EQ(launched.parent_id, objectId);
    EXPECT_EQ(Eval("sim.get_space_object(" + std::to_string(launched.origin_id) + ")"), "None")
        << "the torpedo joins the world at the next frame";
    EXPECT_EQ(ReadInt(ship, DataKey{"Homing_NUM", ""}), 2);

    ExpectEachRaises({"sim.launch_torpedo(obj, 2, False)", "sim.launch_torpedo(obj, -1, True)"}, "ValueError");
    ExpectEachRaises({"sim.launch_torpedo(None, 0, False)", "sim.launch_torpedo(obj, 0.5, False)"}, "TypeError");
    EXPECT_EQ(host().eventQueue.size(), 1u);
    EXPECT_EQ(world.pendingNewObjects.size(), 1u);
}

}  // namespace
}  // namespace scripttest
