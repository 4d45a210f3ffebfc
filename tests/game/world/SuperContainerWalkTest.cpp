// Game code runs inside walks over the registry (behaviour hooks, damage,
// scripts) and may create, remove or destroy objects, or reset the world, while
// the walk is under way. These tests do each of those from inside a visit and
// then keep using what they hold; the sanitizer build catches any touch of
// freed memory.

#include "game/world/SuperContainer.h"

#include "WorldTestObjects.h"
#include "game/world/ObjectId.h"
#include "helper/QelAssert.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using worldtest::TestObject;
using worldtest::TreeIsSound;

constexpr uint64_t Id(uint64_t n) { return n | kSpaceObjectIdBit; }

class SuperContainerWalkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (uint64_t n = 1; n <= 5; ++n)
            container->Add(new TestObject(Id(n), n * 100.0f, 0, 60, &deletions));
    }
    SuperContainerObject* Object(uint64_t n) { return container->Find(Id(n)); }

    std::vector<uint64_t> deletions;
    std::vector<uint64_t> visited;
    SuperContainerPtr container{new SuperContainer};
};

TEST_F(SuperContainerWalkTest, object_destroying_itself_lives_until_the_walk_ends)
{
    container->ForEachObject([&](SuperContainerObject* object) {
        visited.push_back(object->uniqueID);
        if (object->uniqueID == Id(2)) {
            container->Destroy(object);
            container->Destroy(object);  // twice: still freed once
            object->pos.x += 1.0f;       // the hook's caller goes on using it
            EXPECT_TRUE(deletions.empty());
        }
    });
    EXPECT_EQ(visited, (std::vector<uint64_t>{Id(1), Id(2), Id(3), Id(4), Id(5)}));
    EXPECT_EQ(deletions, (std::vector<uint64_t>{Id(2)}));
    EXPECT_FALSE(container->IsWalking());
    EXPECT_TRUE(TreeIsSound(*container));
}

TEST_F(SuperContainerWalkTest, objects_removed_ahead_of_the_walk_are_skipped)
{
    container->ForEachObject([&](SuperContainerObject* object) {
        visited.push_back(object->uniqueID);
        if (object->uniqueID != Id(1))
            return;
        container->Destroy(Object(3));
        container->PushToStandby(Object(4));
        SuperContainerObject* owned = Object(5);
        container->Remove(owned);  // removed and freed by its owner, the old way
        delete owned;
    });
    EXPECT_EQ(visited, (std::vector<uint64_t>{Id(1), Id(2)}));
    EXPECT_EQ(deletions, (std::vector<uint64_t>{Id(5), Id(3)}));
    EXPECT_TRUE(TreeIsSound(*container));
}

TEST_F(SuperContainerWalkTest, objects_created_during_a_walk_wait_for_the_next_one)
{
    container->ForEachObject([&](SuperContainerObject* object) {
        visited.push_back(object->uniqueID);
        if (object->uniqueID == Id(1) || object->uniqueID == Id(5))
            container->Add(new TestObject(object->uniqueID + 100, 0, 0, 5, &deletions));
    });
    EXPECT_EQ(visited.size(), 5u);
    EXPECT_EQ(container->Objects().size(), 7u);
    EXPECT_TRUE(TreeIsSound(*container));
}

TEST_F(SuperContainerWalkTest, reset_during_a_walk_stops_it_and_frees_the_old_world_after)
{
    container->ForEachObject([&](SuperContainerObject* object) {
        visited.push_back(object->uniqueID);
        if (object->uniqueID != Id(2))
            return;
        SuperContainer* old = object->Container();
        container.reset(new SuperContainer);  // the world resets
        EXPECT_TRUE(deletions.empty());
        old->Query(PlaneBox::Around(object->pos.x, 0, 100));  // the hook finishes its work
        old->Destroy(object);
        container->Add(new TestObject(Id(50), 0, 0, 5, &deletions));
    });
    EXPECT_EQ(visited, (std::vector<uint64_t>{Id(1), Id(2)}));
    EXPECT_EQ(deletions.size(), 5u) << "every object of the old world is freed once";
    EXPECT_EQ(container->Objects().size(), 1u);
}

TEST_F(SuperContainerWalkTest, nested_walks_free_only_when_the_outermost_ends)
{
    container->ForEachObject([&](SuperContainerObject* outer) {
        if (outer->uniqueID != Id(1))
            return;
        container->ForEachObject([&](SuperContainerObject* inner) {
            if (inner->uniqueID == Id(4))
                container->Destroy(inner);
        });
        EXPECT_TRUE(deletions.empty()) << "the outer walk may still hold it";
        EXPECT_TRUE(container->IsWalking());
        container->Dispose(nullptr);  // letting go of no container is harmless
    });
    EXPECT_EQ(deletions, (std::vector<uint64_t>{Id(4)}));
}

TEST_F(SuperContainerWalkTest, box_walk_survives_queries_and_destruction_inside_it)
{
    // Each visit runs a query of its own (overwriting the results the walk came
    // from) for its right-hand neighbour and destroys it.
    std::vector<uint64_t> destroyed;
    container->ForEachInBox(PlaneBox::Around(250, 0, 100), [&](SuperContainerObject* object) {
        EXPECT_EQ(std::count(destroyed.begin(), destroyed.end(), object->uniqueID), 0) << "visited after Destroy";
        visited.push_back(object->uniqueID);
        container->Query(PlaneBox::Around(object->pos.x + 100.0f, 0, 1));
        for (SuperContainerObject* neighbour : container->QueryResults()) {
            destroyed.push_back(neighbour->uniqueID);
            container->Destroy(neighbour);
        }
        EXPECT_TRUE(deletions.empty());
    });
    std::vector<uint64_t> accounted = visited;
    for (uint64_t id : destroyed)
        if (id != Id(5))
            accounted.push_back(id);
    std::sort(accounted.begin(), accounted.end());
    EXPECT_EQ(accounted, (std::vector<uint64_t>{Id(1), Id(2), Id(3), Id(4)})) << "found once, or destroyed first";
    std::sort(destroyed.begin(), destroyed.end());
    std::sort(deletions.begin(), deletions.end());
    EXPECT_EQ(deletions, destroyed);
    EXPECT_TRUE(TreeIsSound(*container));
}

TEST_F(SuperContainerWalkTest, failure_inside_a_walk_still_settles_deferred_frees)
{
    EXPECT_THROW(container->ForEachObject([&](SuperContainerObject* object) {
        container->Destroy(object);
        QEL_ASSERT(false, "hook failed");
    }),
                 qel::AssertionFailure);
    EXPECT_FALSE(container->IsWalking());
    EXPECT_EQ(deletions, (std::vector<uint64_t>{Id(1)}));
}

}  // namespace
