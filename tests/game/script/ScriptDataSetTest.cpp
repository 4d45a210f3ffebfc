#include "ScriptTestSupport.h"

#include "game/world/ObjectDataBlob.h"

#include <gmock/gmock.h>

namespace scripttest {
namespace {

using ::testing::HasSubstr;

class ScriptDataSetTest : public WorldMissionTest {
protected:
    void SetUp() override
    {
        WorldMissionTest::SetUp();
        RunScript("d = obj.data_set");
    }
    ObjectDataBlobElement& Element(const std::string& tag, int32_t index)
    {
        return object().data_set.GetElement(tag, index);
    }
};

TEST_F(ScriptDataSetTest, integer_values_choose_the_narrowest_type_that_holds_them)
{
    struct Case {
        const char* value;
        int32_t type;
        const char* readBack;
    };
    const Case cases[] = {
        {"5", ODBE_INT, "5"},
        {"-2**31", ODBE_INT, "-2147483648"},
        {"2**40", ODBE_INT, "1099511627776"},
        {"-2**63", ODBE_INT, "-9223372036854775808"},
        {"2**63", ODBE_UINT64, "9223372036854775808"},
        {"2**64 - 1", ODBE_UINT64, "18446744073709551615"},
        {"2**64", ODBE_FLOAT, "1.8446744073709552e+19"},
        {"1.5", ODBE_FLOAT, "1.5"},
        {"'text'", ODBE_STRING, "text"},
    };
    for (const Case& c : cases) {
        RunScript(std::string("d.set('value', ") + c.value + ")");
        EXPECT_EQ(Element("value", 0).dataType, c.type) << c.value;
        EXPECT_EQ(Eval("d.get('value', 0)"), c.readBack) << c.value;
    }
    RunScript("d.set('half', 1.5)");
    EXPECT_EQ(Element("half", 0).intValue, 1);
}

TEST_F(ScriptDataSetTest, writes_stamp_the_tick_only_when_they_change_something)
{
    RunScript("d.set('count', 5)");
    EXPECT_EQ(Element("count", 0).changeTick, 10);
    stamps.time_tick_counter = 20;
    RunScript("d.set('count', 5)");
    EXPECT_EQ(Element("count", 0).changeTick, 10) << "same int again";
    RunScript("d.set('count', 6)");
    EXPECT_EQ(Element("count", 0).changeTick, 20);

    // A change of type is a change, even to an equal number.
    RunScript("d.set('mixed', 1.0)");
    stamps.time_tick_counter = 30;
    RunScript("d.set('mixed', 1)");
    EXPECT_EQ(Element("mixed", 0).dataType, ODBE_INT);
    EXPECT_EQ(Element("mixed", 0).changeTick, 30);
    RunScript("d.set('name', 'x')");
    stamps.time_tick_counter = 40;
    RunScript("d.set('name', 0)");
    EXPECT_EQ(Element("name", 0).dataType, ODBE_INT);
    EXPECT_EQ(Element("name", 0).changeTick, 40);
}

TEST_F(ScriptDataSetTest, names_indexes_and_index_strings_reach_the_same_elements)
{
    RunScript("key = d.set('hull', 7, 3)\n"
        "d.set('tube', 'loaded', 'port')\n"
        "d.set('tube', 'empty', '')\n"
        "d.set(key, 9, 4)");
    const int32_t portIndex = ObjectDataBlob::IndexOfString("port");

    EXPECT_EQ(Eval("key"), std::to_string(HashMessageName("hull")));
    EXPECT_EQ(Eval("(d.get('hull', 3), d.get(key, 3), d.get('hull', 4))"), "(7, 7, 9)");
    EXPECT_EQ(Element("tube", portIndex).stringValue, "loaded");
    EXPECT_EQ(Eval("(d.get('tube', 'port'), d.get('tube', " + std::to_string(portIndex) + "))"),
              "('loaded', 'loaded')");
    EXPECT_EQ(Eval("d.get('tube', 0)"), "empty");
    EXPECT_EQ(Eval("d.set(tag='kw', **{'in': 2}, index=1)"), std::to_string(HashMessageName("kw")));
}

TEST_F(ScriptDataSetTest, reading_an_unwritten_element_gives_none_and_creates_it)
{
    EXPECT_EQ(Eval("d.get('never', 2)"), "None");
    EXPECT_EQ(Eval("d.num_elements('never')"), "1");
    EXPECT_EQ(Element("never", 2).changeTick, 0);

    RunScript("d.set('list', 1, 0)\nd.set('list', 2, 1)\nd.clear_data('list')");
    EXPECT_EQ(Eval("(d.num_elements('list'), d.get_first('list'))"), "(0, None)");
}

TEST_F(ScriptDataSetTest, bad_arguments_raise_and_store_nothing)
{
    struct Case {
        const char* statement;
        const char* error;
    };
    const Case cases[] = {
        {"d.set('bad', None)", "TypeError"},
        {"d.set('bad', 1, 1.5)", "TypeError"},
        {"d.set('bad', 10**400)", "TypeError"},
        {"d.set(5, 1)", "TypeError"},
        {"d.set('bad', 1, nope=2)", "TypeError"},
        {"d.set('bad', 'x' * 8001)", "ValueError"},
        {"d.set(1, 'x' * 8001, 0)", "ValueError"},
        {"d.get('bad')", "TypeError"},
    };
    for (const Case& c : cases)
        EXPECT_THAT(RunError(c.statement), HasSubstr(c.error)) << c.statement;
    EXPECT_FALSE(object().data_set.HasTag(HashMessageName("bad")));
    EXPECT_EQ(Eval("d.set('fits', 'x' * 8000)"), std::to_string(HashMessageName("fits")));
}

TEST_F(ScriptDataSetTest, a_walk_visits_every_element_once_and_then_gives_none)
{
    RunScript("for i in range(20):\n    d.set('walk', i * 10, i)\n"
        "seen = [d.get_first('walk')]\n"
        "while True:\n"
        "    v = d.get_next('walk')\n"
        "    if v is None:\n        break\n"
        "    seen.append(v)");
    EXPECT_EQ(Eval("sorted(seen) == [i * 10 for i in range(20)]"), "True");
    EXPECT_EQ(Eval("(d.get_next('walk'), d.get_next('walk'))"), "(None, None)");
}

TEST_F(ScriptDataSetTest, writes_during_a_walk_do_not_invalidate_it)
{
    // Growing the tag rehashes its map; removing elements drops them from the walk.
    RunScript("for i in range(4):\n    d.set('grow', i, i)\n"
        "seen = [d.get_first('grow')]\n"
        "for i in range(100, 400):\n    d.set('grow', i, i)\n"
        "v = d.get_next('grow')\n"
        "while v is not None:\n    seen.append(v)\n    v = d.get_next('grow')");
    EXPECT_EQ(Eval("sorted(seen)"), "[0, 1, 2, 3]");

    RunScript("d.get_first('grow')\nd.clear_data('grow')\nafter_clear = d.get_next('grow')");
    EXPECT_EQ(Eval("after_clear"), "None");
    EXPECT_EQ(Eval("d.get_next('anything')"), "None");
}

TEST_F(ScriptDataSetTest, a_data_set_of_a_deleted_object_raises_reference_error)
{
    RunScript("d.set('alive', 1)");
    world.DeleteSpaceObject(objectId);

    for (const char* statement : {"d.get('alive', 0)", "d.set('alive', 2)", "d.num_elements('alive')",
                                  "d.get_first('alive')", "obj.data_set"})
        EXPECT_THAT(RunError(statement), HasSubstr("ReferenceError")) << statement;
}

}  // namespace
}  // namespace scripttest
