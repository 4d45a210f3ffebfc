#include "ScriptTestSupport.h"

#include <gmock/gmock.h>

namespace scripttest {
namespace {

using ::testing::HasSubstr;

class ScriptValuesTest : public MissionTest {
protected:
    void SetUp() override { host().Start("echo"); }
};

// A Python expression and the text of its value.
struct Evaluation {
    const char* expression;
    const char* value;
};

void ExpectEvaluations(std::initializer_list<Evaluation> cases)
{
    for (const Evaluation& c : cases)
        EXPECT_EQ(Eval(c.expression), c.value) << c.expression;
}

TEST_F(ScriptValuesTest, enumerations_compare_equal_to_plain_integers)
{
    ExpectEvaluations({
        {"zmx.WEAPONS == 0", "True"},
        {"zmx.SHIELDS == 3", "True"},
        {"zmx.HOSTILE == 3", "True"},
        {"zmx.UNKNOWN == 0", "True"},
        {"zmx.MAX is zmx.DIPLOMACY.MAX", "True"},
        {"zmx.MAX == 4 and zmx.SHPSYS.MAX == 4", "True"},
        {"int(zmx.ALLIED)", "2"},
        {"zmx.ENGINES.value", "1"},
        {"zmx.SHPSYS(2) == zmx.SENSORS", "True"},
        {"zmx.DIPLOMACY(1) == zmx.NEUTRAL", "True"},
        {"[1, 2, 3][zmx.ENGINES]", "2"},
    });
    EXPECT_THAT(RunError("zmx.HOSTILE + 1"), HasSubstr("TypeError"));
    EXPECT_THAT(RunError("zmx.HOSTILE | zmx.ALLIED"), HasSubstr("TypeError"));
}

TEST_F(ScriptValuesTest, enumerations_carry_their_documentation)
{
    EXPECT_THAT(Eval("zmx.SHPSYS.__doc__"), HasSubstr("One of four ship systems to track damage"));
    EXPECT_THAT(Eval("zmx.SHPSYS.__doc__"), HasSubstr("the weapons index for *system_damage*"));
    EXPECT_THAT(Eval("zmx.DIPLOMACY.__doc__"), HasSubstr("the different attitudes that sides have for each other"));
}

TEST_F(ScriptValuesTest, constructors_store_components_in_their_order)
{
    ExpectEvaluations({
        {"(lambda v: (v.x, v.y))(zmx.vec2(1, 2))", "(1.0, 2.0)"},
        {"(lambda v: (v.x, v.y, v.z))(zmx.vec3(1, 2, 3))", "(1.0, 2.0, 3.0)"},
        {"(lambda v: (v.r, v.g, v.b, v.a))(zmx.vec4(1, 0, 0, 1))", "(1.0, 0.0, 0.0, 1.0)"},
        {"(lambda v: (v.r, v.g, v.b, v.a))(zmx.vec4())", "(0.0, 0.0, 0.0, 0.0)"},
        {"(lambda q: (q.w, q.x, q.y, q.z))(zmx.quaternion(1, 0, 0, 0))", "(1.0, 0.0, 0.0, 0.0)"},
        {"(lambda q: (q.w, q.x, q.y, q.z))(zmx.quaternion(4, 1, 2, 3))", "(4.0, 1.0, 2.0, 3.0)"},
        {"(lambda q: (q.w, q.x, q.y, q.z))(zmx.quaternion())", "(0.0, 0.0, 0.0, 0.0)"},
        {"(lambda v: (v.x, v.y, v.z))(zmx.vec3(zmx.vec3(4, 5, 6)))", "(4.0, 5.0, 6.0)"},
    });
}

TEST_F(ScriptValuesTest, components_are_single_precision_and_unclamped)
{
    RunScript("v = zmx.vec3()\nv.x = 0.1\nc = zmx.vec4()\nc.r = 2.0\nc.g = 3");
    EXPECT_EQ(Eval("v.x == 0.1"), "False");
    EXPECT_EQ(Eval("abs(v.x - 0.1) < 1e-8"), "True");
    EXPECT_EQ(Eval("(c.r, c.g)"), "(2.0, 3.0)");
    EXPECT_THAT(RunError("v.y = 'one'"), HasSubstr("TypeError"));
    EXPECT_THAT(RunError("zmx.vec2('a', 1)"), HasSubstr("TypeError"));
    EXPECT_THAT(RunError("zmx.vec3(zmx.vec2())"), HasSubstr("TypeError"));
}

TEST_F(ScriptValuesTest, vector_arithmetic_builds_new_values)
{
    ExpectEvaluations({
        {"(lambda v: (v.x, v.y))(2 * zmx.vec2(1, 2))", "(2.0, 4.0)"},
        {"(lambda v: (v.x, v.y))(zmx.vec2(1, 2) * 2)", "(2.0, 4.0)"},
        {"(lambda v: (v.x, v.y, v.z))(zmx.vec3(1, 2, 3) + zmx.vec3(1, 1, 1))", "(2.0, 3.0, 4.0)"},
        {"(lambda v: (v.r, v.g, v.b, v.a))(zmx.vec4(1, 2, 3, 4) * 0.5)", "(0.5, 1.0, 1.5, 2.0)"},
        {"(lambda v: (v.x, v.y))(-zmx.vec2(0, 0))", "(-0.0, -0.0)"},
        {"(lambda v: (v.x, v.y, v.z))(-zmx.vec3(0, 1, -2))", "(-0.0, -1.0, 2.0)"},
        {"(lambda v: (v.r, v.g, v.b, v.a))(-zmx.vec4(0, 0, 0, 0))", "(0.0, 0.0, 0.0, 0.0)"},
        {"(lambda v: (v.r, v.g))(-zmx.vec4(1, -1, 0, 0))", "(-1.0, 1.0)"},
    });
}

TEST_F(ScriptValuesTest, mismatched_operands_raise_type_error)
{
    for (const char* statement : {"zmx.vec2(1, 2) * zmx.vec2(1, 2)", "zmx.vec3(1, 2, 3) + zmx.vec2(1, 2)",
                                  "zmx.vec3(1, 2, 3) + 1", "zmx.vec3() + None", "v = zmx.vec3()\nv += None",
                                  "zmx.quaternion() + zmx.quaternion()", "zmx.vec2() - zmx.vec2()"})
        EXPECT_THAT(RunError(statement), HasSubstr("TypeError")) << statement;
}

TEST_F(ScriptValuesTest, in_place_operators_change_the_shared_value_and_rebind_to_a_copy)
{
    RunScript("v = zmx.vec2(1, 2)\nw = v\nv += zmx.vec2(10, 10)\nsame_after_add = v is w\n"
        "u = zmx.vec3(1, 1, 1)\nt = u\nu *= 3");
    EXPECT_EQ(Eval("(w.x, w.y)"), "(11.0, 12.0)");
    EXPECT_EQ(Eval("(v.x, v.y)"), "(11.0, 12.0)");
    EXPECT_EQ(Eval("same_after_add"), "False");
    EXPECT_EQ(Eval("(t.x, t.y, t.z, u is t)"), "(3.0, 3.0, 3.0, False)");
}

}  // namespace
}  // namespace scripttest
