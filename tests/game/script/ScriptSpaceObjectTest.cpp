#include "ScriptTestSupport.h"

#include "game/world/BehaviourHookMap.h"
#include "game/world/SpaceObject.h"

#include <gmock/gmock.h>

namespace scripttest {
namespace {

using ::testing::HasSubstr;

// A behaviour hook that counts what it is told, registered while the object
// lives: the world's map is left as it was, so later tests see only the
// game's own behaviour names.
struct CountingHook {
    static constexpr const char* kName = "behav_script_test";
    static inline std::vector<int32_t> messages;
    static void Call(Simulation&, SpaceObject*, int32_t message, void*) { messages.push_back(message); }

    CountingHook()
    {
        AIHookMap().Register(kName, &CountingHook::Call);
        messages.clear();
    }
    ~CountingHook() { AIHookMap() = saved; }

    const BehaviourHookMap saved = AIHookMap();
};

using ScriptSpaceObjectTest = WorldMissionTest;

TEST_F(ScriptSpaceObjectTest, attributes_read_and_write_the_objects_fields)
{
    RunScript("obj.abits = 65535\nobj.blink_state = -1\nobj.cur_speed = 2.5\nobj.exclusion_radius = 3\n"
        "obj.fat_radius = 7\nobj.steer_yaw = 0.5\nobj.steer_pitch = 0.25\nobj.steer_roll = -0.5\n"
        "obj.side = 'red'\nobj.data_tag = 'Hauler'");

    EXPECT_EQ(object().abits, 65535);
    EXPECT_EQ(object().blink_state, -1);
    EXPECT_EQ(object().cur_speed, 2.5f);
    EXPECT_EQ(object().exclusion_radius, 3.0f);
    EXPECT_EQ(object().fat_radius, 7.0f);
    EXPECT_EQ(object().steer_yaw, 0.5f);
    EXPECT_EQ(object().steer_pitch, 0.25f);
    EXPECT_EQ(object().steer_roll, -0.5f);
    EXPECT_EQ(object().side, "red");
    EXPECT_EQ(object().data_tag, "Hauler") << "stored as given, not lower-cased";
    EXPECT_EQ(Eval("(obj.ship_data_key, obj.unique_ID)"), "('Hauler', " + std::to_string(objectId) + ")");
    RunScript("obj.ship_data_key = 'tug'");
    EXPECT_EQ(Eval("obj.data_tag"), "tug");
}

TEST_F(ScriptSpaceObjectTest, values_outside_a_fields_width_or_type_raise_and_change_nothing)
{
    struct Case {
        const char* statement;
        const char* error;
    };
    const Case cases[] = {
        {"obj.abits = 65536", "TypeError"},
        {"obj.abits = -1", "TypeError"},
        {"obj.abits = 1.0", "TypeError"},
        {"obj.blink_state = 2**31", "TypeError"},
        {"obj.cur_speed = 'fast'", "TypeError"},
        {"obj.pos = None", "TypeError"},
        {"obj.rot_quat = None", "TypeError"},
        {"obj.pos = zmx.vec2()", "TypeError"},
        {"obj.side = 'x' * 8001", "ValueError"},
        {"obj.set_behavior('x' * 8001)", "ValueError"},
        {"obj.set_behavior(None)", "TypeError"},
        {"obj.unique_ID = 5", "AttributeError"},
        {"obj.data_set = None", "AttributeError"},
        {"obj.tick_type = 'x'", "AttributeError"},
        {"obj.tick_type_ID = 5", "AttributeError"},
        {"zmx.space_object()", "TypeError"},
    };
    object().abits = 4;
    for (const Case& c : cases)
        EXPECT_THAT(RunError(c.statement), HasSubstr(c.error)) << c.statement;
    EXPECT_EQ(object().abits, 4);
    EXPECT_EQ(object().side, "");
    EXPECT_EQ(object().pos, glm::vec3(0.0f));
}

TEST_F(ScriptSpaceObjectTest, position_and_orientation_are_live_views_of_the_object)
{
    RunScript("p = obj.pos\np.x = 5\nq = obj.rot_quat\nq.w = 0.5\nobj.pos = zmx.vec3(1, 2, 3)");
    EXPECT_EQ(object().pos, glm::vec3(1.0f, 2.0f, 3.0f));
    EXPECT_EQ(object().rot_quat.w, 0.5f);
    EXPECT_EQ(Eval("(p.x, p.y, p.z)"), "(1.0, 2.0, 3.0)") << "the view follows the field";

    RunScript("p += zmx.vec3(1, 1, 1)");
    EXPECT_EQ(object().pos, glm::vec3(2.0f, 3.0f, 4.0f));
    EXPECT_EQ(Eval("(p.x, obj.pos.x)"), "(2.0, 2.0)");
    RunScript("p.x = 100");
    EXPECT_EQ(object().pos.x, 2.0f) << "after += the name holds a copy";

    RunScript("obj.rot_quat = zmx.quaternion(1, 0, 0, 0)");
    EXPECT_EQ(object().rot_quat, glm::quat(1.0f, 0.0f, 0.0f, 0.0f));
}

// The move step treats a position that is not a number as its own fault, so a
// script's NaN or infinity never reaches a moving object's fields.
TEST_F(ScriptSpaceObjectTest, non_finite_numbers_for_moving_fields_raise_and_change_nothing)
{
    const char* statements[] = {
        "obj.pos = zmx.vec3(float('nan'), 0, 0)",
        "obj.pos = zmx.vec3(0, float('inf'), 0)",
        "obj.pos.x = float('nan')",
        "p = obj.pos\np.z = float('-inf')",
        "p = obj.pos\np += zmx.vec3(float('nan'), 0, 0)",
        "p = obj.pos\np *= float('inf')",
        "obj.rot_quat = zmx.quaternion(float('nan'), 0, 0, 0)",
        "obj.rot_quat.w = float('inf')",
        "obj.cur_speed = float('inf')",
        "obj.steer_yaw = float('nan')",
        "obj.steer_pitch = float('inf')",
        "obj.steer_roll = float('-inf')",
        "obj.exclusion_radius = float('inf')",
        "obj.fat_radius = float('nan')",
    };
    const float exclusionRadius = object().exclusion_radius;
    const float fatRadius = object().fat_radius;
    for (const char* statement : statements)
        EXPECT_THAT(RunError(statement), HasSubstr("ValueError")) << statement;

    EXPECT_EQ(object().pos, glm::vec3(0.0f));
    EXPECT_EQ(object().rot_quat, glm::quat(1.0f, 0.0f, 0.0f, 0.0f));
    EXPECT_EQ(object().cur_speed, 0.0f);
    EXPECT_EQ(object().steer_yaw, 0.0f);
    EXPECT_EQ(object().exclusion_radius, exclusionRadius);
    EXPECT_EQ(object().fat_radius, fatRadius);
    EXPECT_NO_THROW(world.Tick());
    RunScript("v = zmx.vec3(1, 2, 3)\nv.x = float('nan')");
    EXPECT_EQ(Eval("v.x != v.x"), "True") << "a script's own vector holds any number";
}

TEST_F(ScriptSpaceObjectTest, direction_vectors_follow_the_orientation_and_are_copies)
{
    EXPECT_EQ(Eval("(lambda v: (v.x, v.y, v.z))(obj.forward_vector())"), "(0.0, 0.0, 1.0)");
    EXPECT_EQ(Eval("(lambda v: (v.x, v.y, v.z))(obj.right_vector())"), "(1.0, 0.0, 0.0)");
    EXPECT_EQ(Eval("(lambda v: (v.x, v.y, v.z))(obj.up_vector())"), "(0.0, 1.0, 0.0)");
    RunScript("f = obj.forward_vector()\nf.x = 9");
    EXPECT_EQ(object().rot_quat, glm::quat(1.0f, 0.0f, 0.0f, 0.0f));
}

TEST_F(ScriptSpaceObjectTest, set_behavior_stores_the_name_and_tells_a_registered_hook)
{
    const CountingHook hook;
    RunScript("obj.set_behavior('npcship')");
    EXPECT_EQ(Eval("obj.tick_type"), "npcship");
    EXPECT_EQ(Eval("obj.tick_type_ID"), std::to_string(HashMessageName("npcship")));
    EXPECT_TRUE(CountingHook::messages.empty());

    RunScript("obj.set_behavior('behav_script_test')\nobj.set_behavior('behav_script_test')");
    EXPECT_EQ(CountingHook::messages, std::vector<int32_t>{kBehaviourAssigned}) << "same name again calls nothing";
    RunScript("obj.set_behavior('BEHAV_SCRIPT_TEST')");
    EXPECT_EQ(CountingHook::messages.size(), 1u) << "names are case-sensitive";
}

TEST_F(ScriptSpaceObjectTest, a_handle_on_a_deleted_object_raises_reference_error)
{
    RunScript("p = obj.pos\nq = obj.rot_quat");
    world.DeleteSpaceObject(objectId);

    for (const char* statement : {"obj.pos", "obj.pos = zmx.vec3()", "obj.abits", "obj.side = 'x'",
                                  "obj.unique_ID", "obj.forward_vector()", "obj.set_behavior('a')", "p.x",
                                  "p.x = 1", "p + zmx.vec3()", "q.w", "zmx.vec3(p)"})
        EXPECT_THAT(RunError(statement), HasSubstr("ReferenceError")) << statement;
}

TEST_F(ScriptSpaceObjectTest, a_handle_from_an_earlier_world_raises_even_when_its_id_is_reused)
{
    world.Clear();
    world.Reset(true, "");
    const uint64_t newId = world.CreateSpaceObject("behav_none", "", 0);
    ASSERT_EQ(newId, objectId) << "the new world issues the same first id";

    EXPECT_THAT(RunError("obj.abits"), HasSubstr("ReferenceError"));
    Give("fresh", newId);
    EXPECT_EQ(Eval("fresh.unique_ID"), std::to_string(newId));
}

TEST_F(ScriptSpaceObjectTest, handles_are_given_only_for_space_object_ids)
{
    py::gil_scoped_acquire gil;
    EXPECT_TRUE(zmx::SpaceObjectForScripts(objectId + 1000).is_none());
    EXPECT_THROW(zmx::SpaceObjectForScripts(1ull << 63 | 5), py::value_error);
    EXPECT_THROW(zmx::SpaceObjectForScripts(0), py::value_error);
}

}  // namespace
}  // namespace scripttest
