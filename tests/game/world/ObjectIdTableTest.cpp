#include "game/world/ObjectIdTable.h"

#include "game/world/ObjectId.h"

#include <gtest/gtest.h>

#include <random>
#include <unordered_map>
#include <vector>

namespace {

// Stand-ins for objects: the table only keeps and returns the pointers.
SuperContainerObject* Object(uint64_t n) { return reinterpret_cast<SuperContainerObject*>(n * 16); }

TEST(ObjectIdTable, an_empty_table_and_id_zero_find_nothing)
{
    ObjectIdTable table;
    EXPECT_EQ(table.Find(0), nullptr);
    EXPECT_EQ(table.Find(5), nullptr);
    table.Erase(5);
    table.Insert(5, Object(1));
    EXPECT_EQ(table.Find(0), nullptr);
    EXPECT_EQ(table.Find(5), Object(1));
    EXPECT_EQ(table.Size(), 1u);
}

// Ids issued one after another, ids of other kinds and random ones, added
// and taken out at random as a world's objects come and go; every look-up
// must answer as a plain map does, including after the gaps that removals
// leave in runs of neighbouring slots.
TEST(ObjectIdTable, random_additions_and_removals_answer_as_a_map_does)
{
    std::mt19937_64 random(20261211);
    std::unordered_map<uint64_t, SuperContainerObject*> model;
    std::vector<uint64_t> held;
    ObjectIdTable table;
    uint64_t issued = 3;
    auto pick = [&](size_t count) { return std::uniform_int_distribution<size_t>(0, count - 1)(random); };
    for (int step = 0; step < 20000; ++step) {
        const size_t op = pick(10);
        if (op < 5 || held.empty()) {
            uint64_t id = 0;
            switch (pick(3)) {
            case 0: id = ++issued | kSpaceObjectIdBit; break;
            case 1: id = ++issued; break;
            default: id = random() | 1; break;
            }
            if (model.count(id))
                continue;
            table.Insert(id, Object(static_cast<uint64_t>(step) + 1));
            model[id] = Object(static_cast<uint64_t>(step) + 1);
            held.push_back(id);
        } else if (op < 9) {
            const size_t index = pick(held.size());
            table.Erase(held[index]);
            model.erase(held[index]);
            held[index] = held.back();
            held.pop_back();
        } else {
            table.Erase(random() | 1);  // almost surely not held: changes nothing
        }
        ASSERT_EQ(table.Size(), model.size()) << "step " << step;
        if (step % 100 != 0)
            continue;
        for (const auto& [id, object] : model)
            ASSERT_EQ(table.Find(id), object) << "step " << step;
        ASSERT_EQ(table.Find(issued + 1), nullptr);
    }
    EXPECT_GT(model.size(), 100u);
}

}  // namespace
