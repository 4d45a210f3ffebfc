#include "game/world/ObjectDataBlob.h"

#include "engine/base/QelNetworkMessage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace {

// Every test starts at a known tick of the clock its sets stamp by.
class ObjectDataBlobTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        clock.time_tick_counter = 10;
        blob.StampChangesBy(&clock);
    }

    // A set of its own, stamping by the fixture's clock.
    ObjectDataBlob Fresh() const
    {
        ObjectDataBlob fresh;
        fresh.StampChangesBy(&clock);
        return fresh;
    }

    SimulationClock clock;
    ObjectDataBlob blob;
};

TEST_F(ObjectDataBlobTest, reading_a_missing_element_creates_an_empty_none_element)
{
    ObjectDataBlobElement& e = blob.GetElement("shields", 2);
    EXPECT_EQ(e.dataType, ODBE_NONE);
    EXPECT_EQ(e.intValue, 0);
    EXPECT_EQ(e.uintValue, 0u);
    EXPECT_EQ(e.floatValue, 0.0f);
    EXPECT_EQ(e.stringValue, "");
    EXPECT_EQ(e.changeTick, 0);
    EXPECT_TRUE(e.sentTicks.empty());
    EXPECT_EQ(blob.NumElements("shields"), 1);
}

struct RepeatCase {
    const char* name;
    std::function<void(ObjectDataBlob&)> set;  // sets the same value each call
    int64_t expectedTick;                      // after a set at 10 and a repeat at 20
};

TEST_F(ObjectDataBlobTest, repeating_a_value_restamps_all_types_but_integers)
{
    const RepeatCase cases[] = {
        {"int", [](ObjectDataBlob& b) { b.SetInt("v", 5, 0, ""); }, 10},
        {"int64", [](ObjectDataBlob& b) { b.SetInt64("v", 5, 0, ""); }, 10},
        {"int by id", [](ObjectDataBlob& b) { b.SetIntById(HashMessageName("v"), 5, 0); }, 10},
        {"int by index string", [](ObjectDataBlob& b) { b.SetIntByIndexString("v", 5, "", ""); }, 10},
        {"uint64", [](ObjectDataBlob& b) { b.SetUInt64("v", 5, 0, ""); }, 20},
        {"float", [](ObjectDataBlob& b) { b.SetFloat("v", 2.5f, 0, ""); }, 20},
        {"string", [](ObjectDataBlob& b) { b.SetString("v", "x", 0, ""); }, 20},
    };
    for (const RepeatCase& c : cases) {
        ObjectDataBlob fresh = Fresh();
        clock.time_tick_counter = 10;
        c.set(fresh);
        clock.time_tick_counter = 20;
        c.set(fresh);
        EXPECT_EQ(fresh.GetElement("v", 0).changeTick, c.expectedTick) << c.name;
    }
}

TEST_F(ObjectDataBlobTest, integer_change_is_stamped)
{
    blob.SetInt("v", 5, 0, "");
    clock.time_tick_counter = 20;
    blob.SetInt64("v", 6, 0, "");
    EXPECT_EQ(blob.GetElement("v", 0).changeTick, 20);
}

// A client only hears of a value whose change tick moved; a change of type must
// reach it even when the integer field already held the new value.
TEST_F(ObjectDataBlobTest, changing_the_type_to_integer_is_stamped_even_with_equal_value)
{
    struct TypeCase {
        const char* name;
        std::function<void(ObjectDataBlob&)> before;
    };
    const TypeCase cases[] = {
        {"string", [](ObjectDataBlob& b) { b.SetString("v", "ready", 0, ""); }},
        {"float", [](ObjectDataBlob& b) { b.SetFloat("v", 0.25f, 0, ""); }},
        {"uint64", [](ObjectDataBlob& b) { b.SetUInt64("v", 0, 0, ""); }},
        {"read only", [](ObjectDataBlob& b) { b.GetElement("v", 0); }},
    };
    for (const TypeCase& c : cases) {
        ObjectDataBlob fresh = Fresh();
        clock.time_tick_counter = 10;
        c.before(fresh);
        clock.time_tick_counter = 20;
        fresh.SetInt("v", 0, 0, "");
        const ObjectDataBlobElement& e = fresh.GetElement("v", 0);
        EXPECT_EQ(e.changeTick, 20) << c.name;
        EXPECT_EQ(e.dataType, ODBE_INT) << c.name;
    }
}

struct FloatCase {
    const char* name;
    float value;
    int64_t intValue;
    uint64_t uintValue;
};

TEST_F(ObjectDataBlobTest, float_converts_to_integers_for_every_value)
{
    const float inf = std::numeric_limits<float>::infinity();
    const int64_t i64max = std::numeric_limits<int64_t>::max();
    const int64_t i64min = std::numeric_limits<int64_t>::min();
    const uint64_t u64max = std::numeric_limits<uint64_t>::max();
    const FloatCase cases[] = {
        {"positive truncates", 2.9f, 2, 2},
        {"negative truncates toward zero", -3.7f, -3, 0xFFFFFFFFFFFFFFFDull},
        {"minus zero", -0.0f, 0, 0},
        {"nan gives zero", std::nanf(""), 0, 0},
        {"two to the 63 sets the top bit", 9223372036854775808.0f, i64max, 0x8000000000000000ull},
        {"between 2^63 and 2^64", 1e19f, i64max, 9999999980506447872ull},
        {"huge saturates", 1e30f, i64max, u64max},
        {"infinity saturates", inf, i64max, u64max},
        {"huge negative saturates", -1e30f, i64min, 0x8000000000000000ull},
        {"minus infinity saturates", -inf, i64min, 0x8000000000000000ull},
    };
    for (const FloatCase& c : cases) {
        blob.SetFloat("f", c.value, 0, "");
        const ObjectDataBlobElement& e = blob.GetElement("f", 0);
        EXPECT_EQ(e.intValue, c.intValue) << c.name;
        EXPECT_EQ(e.uintValue, c.uintValue) << c.name;
        EXPECT_EQ(e.dataType, ODBE_FLOAT) << c.name;
    }
}

TEST_F(ObjectDataBlobTest, integers_fill_every_numeric_field)
{
    blob.SetInt("i", -1, 0, "");
    const ObjectDataBlobElement& minusOne = blob.GetElement("i", 0);
    EXPECT_EQ(minusOne.intValue, -1);
    EXPECT_EQ(minusOne.uintValue, 0xFFFFFFFFFFFFFFFFull);
    EXPECT_EQ(minusOne.floatValue, -1.0f);

    // Space-object and client ids use the top bits and must survive intact.
    const uint64_t spaceObjectId = 0x4000000000000004ull;
    blob.SetInt64("id", static_cast<int64_t>(spaceObjectId), 0, "");
    EXPECT_EQ(blob.GetElement("id", 0).uintValue, spaceObjectId);
    EXPECT_EQ(static_cast<uint64_t>(blob.GetElement("id", 0).intValue), spaceObjectId);

    const uint64_t clientId = 0x80000000000001F5ull;
    blob.SetUInt64("client", clientId, 0, "");
    const ObjectDataBlobElement& client = blob.GetElement("client", 0);
    EXPECT_EQ(client.dataType, ODBE_UINT64);
    EXPECT_EQ(client.uintValue, clientId);
    EXPECT_EQ(static_cast<uint64_t>(client.intValue), clientId);
    EXPECT_GT(client.floatValue, 9.2e18f);  // converted as unsigned, not as a negative number
}

TEST_F(ObjectDataBlobTest, string_zeroes_numbers_and_numbers_keep_the_old_string)
{
    blob.SetFloat("s", 4.5f, 0, "");
    blob.SetString("s", "docked", 0, "");
    ObjectDataBlobElement& e = blob.GetElement("s", 0);
    EXPECT_EQ(e.intValue, 0);
    EXPECT_EQ(e.uintValue, 0u);
    EXPECT_EQ(e.floatValue, 0.0f);

    blob.SetInt("s", 3, 0, "");
    EXPECT_EQ(e.stringValue, "docked");
    EXPECT_EQ(e.intValue, 3);
}

TEST_F(ObjectDataBlobTest, setters_return_the_tag_key_and_by_key_forms_reach_the_same_element)
{
    const uint64_t key = HashMessageName("energy");
    EXPECT_EQ(blob.SetFloat("energy", 1.0f, 1, ""), key);
    EXPECT_EQ(blob.SetStringByIndexString("energy", "x", "a", ""), key);
    EXPECT_EQ(blob.SetInt64ById(key, 77, 1), key);
    EXPECT_EQ(blob.GetElement("energy", 1).intValue, 77);
    EXPECT_EQ(blob.GetElement("energy", 1).dataType, ODBE_INT);
    EXPECT_EQ(blob.NumElements("energy"), 2);
}

TEST_F(ObjectDataBlobTest, index_strings_map_to_their_crc)
{
    struct IndexCase {
        const char* text;
        int32_t index;
    };
    const IndexCase cases[] = {
        {"", 0},
        {"123456789", 0x340BC6D9},
        {"mine", -1772671892},  // the CRC's top bit makes a negative index
    };
    for (const IndexCase& c : cases) {
        EXPECT_EQ(ObjectDataBlob::IndexOfString(c.text), c.index) << '"' << c.text << '"';
        blob.SetIntByIndexString("count", 9, c.text, "");
        EXPECT_EQ(blob.GetElement("count", c.index).intValue, 9) << '"' << c.text << '"';
        EXPECT_EQ(&blob.GetElementByIndexString("count", c.text), &blob.GetElement("count", c.index));
    }
    EXPECT_EQ(blob.NumElements("count"), 3);
}

TEST_F(ObjectDataBlobTest, clear_data_empties_one_tag_and_keeps_it)
{
    blob.SetInt("torps", 4, 0, "");
    blob.SetInt("torps", 2, 1, "");
    blob.SetString("name_tag", "Kestrel", 0, "");

    blob.ClearData("torps");
    EXPECT_EQ(blob.NumElements("torps"), 0);
    EXPECT_TRUE(blob.HasTag(HashMessageName("torps")));
    EXPECT_EQ(blob.NumElements("name_tag"), 1);
    EXPECT_EQ(blob.GetElement("name_tag", 0).stringValue, "Kestrel");
}

TEST_F(ObjectDataBlobTest, any_operation_on_a_missing_tag_creates_it_empty)
{
    EXPECT_EQ(blob.NumElements("nothing"), 0);
    blob.ClearData("cleared");
    EXPECT_TRUE(blob.HasTag(HashMessageName("nothing")));
    EXPECT_TRUE(blob.HasTag(HashMessageName("cleared")));
}

// The set keeps its elements in one table with an ordered index beside it;
// after any run of writes, reads and clears it must hold what a plain map of
// maps would, and walk it in ascending tag key and index order.
TEST_F(ObjectDataBlobTest, a_random_run_of_writes_reads_and_clears_matches_a_map_of_maps)
{
    std::mt19937 random(20261210);
    const std::vector<std::string> names = {"shield_val", "energy", "name_tag", "beamRange", "cargo", "scan"};
    std::map<uint64_t, std::map<int32_t, int64_t>> model;
    auto pick = [&](int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); };
    for (int step = 0; step < 3000; ++step) {
        const std::string& name = names[pick(static_cast<int>(names.size()))];
        const uint64_t key = HashMessageName(name);
        const int32_t index = pick(4) == 0 ? -pick(1000) : pick(12);
        switch (pick(10)) {
        case 0:
            blob.ClearData(name);
            model[key].clear();
            break;
        case 1:
        case 2:
            EXPECT_EQ(blob.GetElement(name, index).intValue, model[key][index]);
            break;
        default:
            blob.SetInt64(name, step, index, "");
            model[key][index] = step;
        }
        ASSERT_EQ(blob.NumElements(name), static_cast<int32_t>(model[key].size())) << "step " << step;
    }
    std::vector<std::tuple<uint64_t, int32_t, int64_t>> walked;
    blob.ForEachElement([&](uint64_t key, int32_t index, const ObjectDataBlobElement& element) {
        walked.emplace_back(key, index, element.intValue);
    });
    std::vector<std::tuple<uint64_t, int32_t, int64_t>> expected;
    for (const auto& [key, indexes] : model)
        for (const auto& [index, value] : indexes)
            expected.emplace_back(key, index, value);
    EXPECT_EQ(walked, expected);
    EXPECT_EQ(blob.TagCount(), names.size());
}

// Fetching ahead is a hint to the memory, not a read: present and missing
// keys alike leave every element, every tag and every stamp as they were.
TEST_F(ObjectDataBlobTest, prefetching_present_and_missing_keys_changes_nothing)
{
    const ObjectDataBlob empty;
    empty.Prefetch({{HashMessageName("energy"), 0}});

    for (int32_t index = 0; index < 40; ++index)
        blob.SetFloat("energy", static_cast<float>(index), index, "");
    blob.SetString("name_tag", "Trader", 0, "");
    auto snapshot = [this] {
        std::vector<std::tuple<uint64_t, int32_t, float, int64_t>> walked;
        blob.ForEachElement([&](uint64_t key, int32_t index, const ObjectDataBlobElement& element) {
            walked.emplace_back(key, index, element.floatValue, element.changeTick);
        });
        return walked;
    };
    const auto before = snapshot();
    clock.time_tick_counter = 11;
    const uint64_t missingTag = HashMessageName("throttle");
    blob.Prefetch({{HashMessageName("energy"), 3}, {HashMessageName("energy"), 99}, {missingTag, 0},
                   {HashMessageName("name_tag"), 0}});
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(blob.TagCount(), 2u);
    EXPECT_FALSE(blob.HasTag(missingTag));
    EXPECT_EQ(blob.FindElement(HashMessageName("energy"), 99), nullptr);
    ASSERT_NE(blob.FindElement(HashMessageName("energy"), 3), nullptr);
    EXPECT_EQ(blob.FindElement(HashMessageName("energy"), 3)->floatValue, 3.0f);
}

}  // namespace
