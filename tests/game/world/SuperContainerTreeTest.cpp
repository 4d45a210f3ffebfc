#include "game/world/SuperContainer.h"

#include "WorldTestObjects.h"
#include "game/world/ObjectId.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

using worldtest::BruteForceQuery;
using worldtest::IdsOf;
using worldtest::ReferenceQuery;
using worldtest::TestObject;
using worldtest::TreeIsSound;

constexpr uint64_t Id(uint64_t n) { return n | kSpaceObjectIdBit; }

TEST(SuperContainerTree, empty_tree_answers_nothing_and_clears_old_results)
{
    SuperContainer container;
    EXPECT_EQ(container.Query(PlaneBox::Around(0, 0, 1e9f)), 0);
    EXPECT_TRUE(container.QueryResults().empty());

    TestObject* only = new TestObject(Id(5), 0, 0, 10);
    container.Add(only);
    EXPECT_EQ(container.Query(PlaneBox::Around(0, 0, 1)), 1);
    container.Remove(only);
    delete only;
    EXPECT_EQ(container.Query(PlaneBox::Around(0, 0, 1)), 0);
    EXPECT_TRUE(container.QueryResults().empty());
}

struct OverlapCase {
    const char* name;
    PlaneBox box;
    bool overlaps;
};

TEST(SuperContainerTree, boxes_that_touch_overlap_and_boxes_apart_do_not)
{
    // The object's fat box is [-10, 10] on both axes.
    const OverlapCase cases[] = {
        {"shares the right edge", {10, -5, 20, 5}, true},
        {"shares the left edge", {-20, -5, -10, 5}, true},
        {"shares the top edge", {-5, 10, 5, 20}, true},
        {"shares the bottom edge", {-5, -20, 5, -10}, true},
        {"shares a corner", {10, 10, 20, 20}, true},
        {"inside", {-1, -1, 1, 1}, true},
        {"around", {-50, -50, 50, 50}, true},
        {"just right of it", {10.01f, -5, 20, 5}, false},
        {"just below it", {-5, -20, 5, -10.01f}, false},
        {"apart on Z only", {-5, 11, 5, 20}, false},
    };
    SuperContainer container;
    container.Add(new TestObject(Id(5), 0, 0, 10));
    container.Add(new TestObject(Id(6), 1000, 1000, 10));  // gives the tree an inner node
    for (const OverlapCase& c : cases) {
        SCOPED_TRACE(c.name);
        container.Query(c.box);
        const std::vector<uint64_t> found = IdsOf(container.QueryResults());
        EXPECT_EQ(found == std::vector<uint64_t>{Id(5)}, c.overlaps);
        EXPECT_EQ(c.box.Overlaps(container.Objects()[0]->fatBox), c.overlaps);
    }
}

TEST(SuperContainerTree, removing_the_only_leaf_empties_the_tree_and_the_next_leaf_is_root)
{
    SuperContainer container;
    TestObject* first = new TestObject(Id(5), 0, 0, 10);
    container.Add(first);
    EXPECT_EQ(container.Root(), first->LeafIndex());
    container.Remove(first);
    delete first;
    EXPECT_EQ(container.LeafCount(), 0);
    EXPECT_TRUE(TreeIsSound(container));

    TestObject* second = new TestObject(Id(6), 50, 50, 10);
    container.Add(second);
    EXPECT_EQ(container.Root(), second->LeafIndex());
    EXPECT_EQ(container.Nodes()[container.Root()].parent, -1);
    EXPECT_TRUE(TreeIsSound(container));
}

TEST(SuperContainerTree, node_pool_grows_by_eight_and_reuses_freed_nodes)
{
    SuperContainer container;
    std::vector<TestObject*> objects;
    for (uint64_t n = 0; n < 5; ++n)
        objects.push_back(new TestObject(Id(10 + n), n * 100.0f, 0, 10));
    for (int i = 0; i < 4; ++i)
        container.Add(objects[i]);  // 4 leaves and 3 inner nodes
    EXPECT_EQ(container.Nodes().size(), 8u);
    container.Add(objects[4]);
    EXPECT_EQ(container.Nodes().size(), 16u);
    for (int round = 0; round < 50; ++round) {
        TestObject* object = objects[round % 5];
        container.Remove(object);
        container.Add(object);
    }
    EXPECT_EQ(container.Nodes().size(), 16u);
    EXPECT_TRUE(TreeIsSound(container));
}

// Random inserts, moves, removals and standby trips, each followed by the
// frame's re-insertion; the tree must keep its shape and answer every query
// exactly as a scan of all objects would, in depth-first order.
TEST(SuperContainerTree, random_changes_keep_the_tree_sound_and_queries_exact)
{
    std::mt19937 random(20261209);
    std::uniform_real_distribution<float> coordinate(-20000.0f, 20000.0f);
    std::uniform_real_distribution<float> radius(1.0f, 800.0f);
    std::uniform_int_distribution<int> operation(0, 9);

    SuperContainer container;
    std::vector<SuperContainerObject*> standby;
    uint64_t nextId = 1;
    auto pick = [&random](auto& list) {
        return std::uniform_int_distribution<size_t>(0, list.size() - 1)(random);
    };

    for (int step = 0; step < 4000; ++step) {
        const int op = operation(random);
        const std::vector<SuperContainerObject*>& objects = container.Objects();
        if (op <= 3 || objects.empty()) {
            container.Add(new TestObject(Id(nextId++), coordinate(random), coordinate(random), radius(random)));
        } else if (op <= 6) {
            SuperContainerObject* mover = objects[pick(objects)];
            mover->pos = {coordinate(random), 0.0f, coordinate(random)};
            mover->SetFatBox(radius(random));
            container.QueueReinsert(mover);
        } else if (op == 7) {
            container.Destroy(objects[pick(objects)]);
        } else if (op == 8) {
            SuperContainerObject* leaving = objects[pick(objects)];
            container.PushToStandby(leaving);
            standby.push_back(leaving);
        } else if (!standby.empty()) {
            const size_t index = pick(standby);
            container.RetrieveFromStandby(standby[index]);
            standby.erase(standby.begin() + static_cast<std::ptrdiff_t>(index));
        }
        if (step % 3 != 0)
            continue;  // several changes may wait for one frame
        container.ReinsertMoved();
        ASSERT_TRUE(TreeIsSound(container)) << "after step " << step;

        const PlaneBox box = PlaneBox::Around(coordinate(random), coordinate(random), radius(random) * 8.0f);
        container.Query(box);
        std::vector<uint64_t> found = IdsOf(container.QueryResults());
        std::vector<uint64_t> inOrder;
        if (container.LeafCount() > 0)
            ReferenceQuery(container, box, container.Root(), inOrder);
        ASSERT_EQ(found, inOrder) << "depth-first order, step " << step;
        std::sort(found.begin(), found.end());
        ASSERT_EQ(found, BruteForceQuery(container, box)) << "after step " << step;
    }
    EXPECT_GT(container.LeafCount(), 100);
}

TEST(SuperContainerTree, query_from_a_node_appends_what_lies_under_it)
{
    SuperContainer container;
    for (uint64_t n = 0; n < 6; ++n)
        container.Add(new TestObject(Id(10 + n), n * 100.0f, 0, 10));
    const PlaneBox everything = PlaneBox::Around(0, 0, 1e6f);
    container.Query(everything);
    const int32_t left = container.Nodes()[container.Root()].left;
    std::vector<uint64_t> underLeft;
    ReferenceQuery(container, everything, left, underLeft);
    const size_t before = container.QueryResults().size();
    EXPECT_EQ(container.Query(everything, left), static_cast<int32_t>(before + underLeft.size()));
    const std::vector<uint64_t> found = IdsOf(container.QueryResults());
    EXPECT_EQ(std::vector<uint64_t>(found.begin() + static_cast<std::ptrdiff_t>(before), found.end()), underLeft);
}

}  // namespace
