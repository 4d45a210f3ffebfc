#include "game/world/SuperContainer.h"

#include "WorldTestObjects.h"
#include "game/world/ObjectId.h"
#include "helper/QelAssert.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using worldtest::IdsOf;
using worldtest::TestObject;
using worldtest::TreeIsSound;

constexpr uint64_t Id(uint64_t n) { return n | kSpaceObjectIdBit; }

class SuperContainerTest : public ::testing::Test {
protected:
    TestObject* Make(uint64_t n, float x = 0.0f, float z = 0.0f, float radius = 10.0f)
    {
        return new TestObject(Id(n), x, z, radius, &deletions);
    }
    TestObject* AddNew(uint64_t n, float x = 0.0f, float z = 0.0f, float radius = 10.0f)
    {
        TestObject* object = Make(n, x, z, radius);
        container->Add(object);
        return object;
    }
    std::vector<uint64_t> Found(const PlaneBox& box)
    {
        container->Query(box);
        return IdsOf(container->QueryResults());
    }

    std::vector<uint64_t> deletions;
    SuperContainerPtr container{new SuperContainer};
};

TEST(SuperContainerObjectIds, new_objects_take_ids_from_the_counter_and_copies_keep_theirs)
{
    SuperContainerObject::SetIdCounter(SuperContainerObject::kIdCounterAtReset);
    EXPECT_EQ(SuperContainerObject().uniqueID, Id(4));
    EXPECT_EQ(SuperContainerObject().uniqueID, Id(5));
    EXPECT_EQ(SuperContainerObject(Id(900)).uniqueID, Id(900)) << "a given id is kept";
    EXPECT_EQ(SuperContainerObject().uniqueID, Id(6)) << "a given id leaves the counter alone";

    SuperContainerObject::SetIdCounter(0);
    EXPECT_EQ(SuperContainerObject().uniqueID, Id(3)) << "ids 1 and 2 are skipped";
    SuperContainerObject::SetIdCounter(1);
    EXPECT_EQ(SuperContainerObject().uniqueID, Id(4));
    EXPECT_TRUE(VALID_SPACE_OBJ(Id(4)));
    EXPECT_FALSE(VALID_SPACE_OBJ(4 | kGridObjectIdBit));
}

TEST_F(SuperContainerTest, added_objects_are_listed_in_order_and_found_by_id_and_box)
{
    TestObject* a = AddNew(10, 0, 0);
    TestObject* b = AddNew(11, 500, 0);
    TestObject* c = AddNew(12, 0, 500);
    EXPECT_EQ(IdsOf(container->Objects()), (std::vector<uint64_t>{Id(10), Id(11), Id(12)}));
    EXPECT_EQ(container->Find(Id(11)), b);
    EXPECT_EQ(container->Find(Id(99)), nullptr);
    EXPECT_EQ(a->Container(), container.get());
    EXPECT_EQ(Found(PlaneBox::Around(500, 0, 1)), (std::vector<uint64_t>{Id(11)}));
    EXPECT_EQ(Found(PlaneBox::Around(0, 250, 300)).size(), 2u);
    EXPECT_NE(c->LeafIndex(), -1);
    EXPECT_TRUE(TreeIsSound(*container));
}

TEST_F(SuperContainerTest, duplicate_id_is_refused_and_changes_nothing)
{
    AddNew(10);
    std::unique_ptr<TestObject> twin(new TestObject(Id(10), 50, 50, 1));
    try {
        container->Add(twin.get());
        FAIL() << "a second object with the same id was accepted";
    } catch (const qel::AssertionFailure& failure) {
        EXPECT_EQ(failure.Text(), "NULL == allMap[sco->uniqueID]");
    }
    EXPECT_EQ(container->Objects().size(), 1u);
    EXPECT_EQ(twin->LeafIndex(), -1);
    EXPECT_TRUE(TreeIsSound(*container));
}

TEST_F(SuperContainerTest, removed_object_is_gone_but_alive_and_its_id_can_come_back)
{
    std::unique_ptr<TestObject> first(AddNew(10, 0, 0));
    AddNew(11, 40, 0);
    container->Remove(first.get());
    EXPECT_EQ(container->Find(Id(10)), nullptr);
    EXPECT_EQ(IdsOf(container->Objects()), (std::vector<uint64_t>{Id(11)}));
    EXPECT_EQ(Found(PlaneBox::Around(0, 0, 5)), std::vector<uint64_t>{});
    EXPECT_TRUE(deletions.empty()) << "Remove leaves the freeing to the caller";
    EXPECT_TRUE(TreeIsSound(*container));

    container->Remove(first.get());  // a second Remove is harmless
    TestObject* again = AddNew(10, 0, 0);
    EXPECT_EQ(container->Find(Id(10)), again);
    EXPECT_EQ(Found(PlaneBox::Around(0, 0, 5)), (std::vector<uint64_t>{Id(10)}));
    EXPECT_TRUE(TreeIsSound(*container));
}

TEST_F(SuperContainerTest, standby_hides_an_object_until_it_is_retrieved)
{
    TestObject* ship = AddNew(10, 100, 100);
    AddNew(11, 0, 0);
    container->PushToStandby(ship);
    container->PushToStandby(ship);  // twice is harmless
    EXPECT_TRUE(container->IsInStandby(ship));
    EXPECT_EQ(container->FindInStandby(Id(10)), ship);
    EXPECT_EQ(container->Find(Id(10)), nullptr);
    EXPECT_EQ(IdsOf(container->Objects()), (std::vector<uint64_t>{Id(11)}));
    EXPECT_EQ(Found(PlaneBox::Around(100, 100, 5)), std::vector<uint64_t>{});
    EXPECT_TRUE(TreeIsSound(*container));

    ship->pos = {300, 0, 300};  // moved while away: it comes back where it now is
    ship->SetFatBox(10);
    container->RetrieveFromStandby(ship);
    container->RetrieveFromStandby(ship);  // not in standby any more: nothing happens
    EXPECT_FALSE(container->IsInStandby(ship));
    EXPECT_EQ(container->FindInStandby(Id(10)), nullptr);
    EXPECT_EQ(IdsOf(container->Objects()), (std::vector<uint64_t>{Id(11), Id(10)}));
    EXPECT_EQ(Found(PlaneBox::Around(300, 300, 5)), (std::vector<uint64_t>{Id(10)}));
    EXPECT_TRUE(TreeIsSound(*container));
    EXPECT_TRUE(deletions.empty());
}

TEST_F(SuperContainerTest, remove_takes_an_object_out_of_standby_without_freeing_it)
{
    std::unique_ptr<TestObject> ship(AddNew(10));
    container->PushToStandby(ship.get());
    container->Remove(ship.get());
    EXPECT_FALSE(container->IsInStandby(ship.get()));
    EXPECT_EQ(container->FindInStandby(Id(10)), nullptr);
    ship.reset();
    container.reset();
    EXPECT_EQ(deletions, (std::vector<uint64_t>{Id(10)})) << "freed once, by its owner";
}

TEST_F(SuperContainerTest, only_objects_in_normal_space_can_go_to_standby)
{
    std::unique_ptr<TestObject> removed(AddNew(10));
    container->Remove(removed.get());
    container->PushToStandby(removed.get());
    EXPECT_FALSE(container->IsInStandby(removed.get())) << "its owner frees it; the container must not";
    removed.reset();
    container.reset();
    EXPECT_EQ(deletions, (std::vector<uint64_t>{Id(10)}));
}

TEST_F(SuperContainerTest, deleting_the_container_frees_normal_space_backwards_then_standby_by_id)
{
    AddNew(20);
    TestObject* standbyHigh = AddNew(31);
    AddNew(21);
    TestObject* standbyLow = AddNew(30);
    AddNew(22);
    container->PushToStandby(standbyHigh);
    container->PushToStandby(standbyLow);
    container.reset();
    EXPECT_EQ(deletions, (std::vector<uint64_t>{Id(22), Id(21), Id(20), Id(30), Id(31)}));
}

TEST_F(SuperContainerTest, moved_objects_are_found_in_their_new_place_after_reinsertion)
{
    TestObject* mover = AddNew(10, 0, 0);
    AddNew(11, 1000, 1000);
    mover->pos = {5000, 0, 0};
    mover->SetFatBox(10);
    container->QueueReinsert(mover);
    container->QueueReinsert(mover);  // left its box twice in one frame
    EXPECT_EQ(Found(PlaneBox::Around(0, 0, 5)), (std::vector<uint64_t>{Id(10)})) << "the tree waits for the frame";
    container->ReinsertMoved();
    EXPECT_EQ(Found(PlaneBox::Around(0, 0, 5)), std::vector<uint64_t>{});
    EXPECT_EQ(Found(PlaneBox::Around(5000, 0, 5)), (std::vector<uint64_t>{Id(10)}));
    EXPECT_TRUE(TreeIsSound(*container));
}

TEST_F(SuperContainerTest, object_queued_twice_then_freed_is_not_reinserted)
{
    std::unique_ptr<TestObject> doomed(AddNew(10, 0, 0));
    AddNew(11, 100, 0);
    container->QueueReinsert(doomed.get());
    container->QueueReinsert(doomed.get());
    container->Remove(doomed.get());
    doomed.reset();
    container->ReinsertMoved();  // would touch the freed object if an entry were left
    EXPECT_TRUE(TreeIsSound(*container));
}

TEST_F(SuperContainerTest, object_without_a_leaf_is_not_queued_for_reinsertion)
{
    TestObject* ship = AddNew(10, 0, 0);
    std::unique_ptr<TestObject> pending(Make(11));
    container->PushToStandby(ship);
    ship->pos = {700, 0, 0};
    ship->SetFatBox(10);
    container->QueueReinsert(ship);
    container->QueueReinsert(pending.get());
    container->ReinsertMoved();
    EXPECT_TRUE(TreeIsSound(*container));
    container->RetrieveFromStandby(ship);
    EXPECT_EQ(Found(PlaneBox::Around(700, 0, 5)), (std::vector<uint64_t>{Id(10)}));
    EXPECT_TRUE(TreeIsSound(*container));
}

// An object added unfiled is registered at once and filed where it stands
// when the tree is next asked, so its creator can still move it first.
TEST_F(SuperContainerTest, an_unfiled_object_is_filed_where_it_stands_at_the_next_query)
{
    AddNew(10, 0, 0);
    TestObject* placed = Make(11, 0, 0);
    container->AddUnfiled(placed);
    EXPECT_EQ(container->Find(Id(11)), placed);
    EXPECT_EQ(IdsOf(container->Objects()), (std::vector<uint64_t>{Id(10), Id(11)}));
    placed->pos = {3000, 0, 0};
    placed->SetFatBox(10);
    container->QueueReinsert(placed);  // as a reposition does: nothing to rebuild yet
    EXPECT_EQ(Found(PlaneBox::Around(0, 0, 5)), (std::vector<uint64_t>{Id(10)}));
    EXPECT_EQ(Found(PlaneBox::Around(3000, 0, 5)), (std::vector<uint64_t>{Id(11)}));
    container->ReinsertMoved();
    EXPECT_TRUE(TreeIsSound(*container));

    // One removed before it was ever filed leaves nothing behind.
    std::unique_ptr<TestObject> dropped(Make(12, 50, 0));
    container->AddUnfiled(dropped.get());
    container->Remove(dropped.get());
    dropped.reset();
    container->ReinsertMoved();
    EXPECT_TRUE(TreeIsSound(*container));
}

TEST_F(SuperContainerTest, distance_sort_swaps_neighbours_and_keeps_lookups)
{
    AddNew(10);
    AddNew(11);
    AddNew(12);
    container->SwapWithPrevious(2);
    EXPECT_EQ(IdsOf(container->Objects()), (std::vector<uint64_t>{Id(10), Id(12), Id(11)}));
    EXPECT_NE(container->Find(Id(11)), nullptr);
    EXPECT_EQ(container->SortCursor(), 0);
    container->SetSortCursor(2);
    EXPECT_EQ(container->SortCursor(), 2);
    EXPECT_THROW(container->SwapWithPrevious(0), qel::AssertionFailure);
    EXPECT_THROW(container->SwapWithPrevious(3), qel::AssertionFailure);
}

}  // namespace
