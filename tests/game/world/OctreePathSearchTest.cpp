// The octree path search on small authored layouts: where it finds a way,
// where none exists, where its step cap ends it, and the rules of its start,
// goal and markings.

#include "game/world/OctreePathSearch.h"

#include <gtest/gtest.h>
#include <glm/geometric.hpp>

#include <vector>

namespace {

const glm::vec3 kSlabMin{-1000.0f, -200.0f, -1000.0f};
const glm::vec3 kSlabMax{1000.0f, 200.0f, 1000.0f};
const glm::vec3 kHollowCentre{31.0f, 33.0f, 35.0f};

struct Path {
    std::vector<glm::vec3> points;
    std::vector<const OctreePathNode*> nodes;
};

Path RunToEnd(OctreePathSearch& search)
{
    while (!search.Step()) {}
    Path path;
    search.BuildPath(path.points, path.nodes);
    return path;
}

// The blocked count of the leaf that holds the point; 0 where no sphere reached.
int32_t LeafBlockedAt(const OctreePathSearch& search, const glm::vec3& point)
{
    const OctreeCell* cell = &search.Root();
    while (cell->subdivided) {
        const OctreeCell* next = nullptr;
        for (const auto& child : cell->children)
            if (child && glm::all(glm::greaterThanEqual(point, child->min)) &&
                glm::all(glm::lessThanEqual(point, child->max))) {
                next = child.get();
                break;
            }
        if (!next)
            return 0;
        cell = next;
    }
    return cell->blocked;
}

// A ball of radius 100 with a hollow of radius 40 and a mouth of radius 70
// opening it towards +x: the goal in the hollow is reachable only through it.
void MarkHollowSphere(OctreePathSearch& search, bool withMouth)
{
    search.MarkSphere(kHollowCentre, 100.0f, false);
    search.MarkSphere(kHollowCentre, 40.0f, true);
    if (withMouth)
        search.MarkSphere({81.0f, 33.0f, 35.0f}, 70.0f, true);
}

TEST(OctreePathSearchTest, the_hollow_sphere_is_entered_through_its_mouth)
{
    OctreePathSearch search(kSlabMin, kSlabMax);
    MarkHollowSphere(search, true);
    search.StartSearch({-1210.0f, 101.0f, -1966.0f}, kHollowCentre);
    const Path path = RunToEnd(search);

    ASSERT_EQ(search.SearchOutcome(), OctreePathSearch::Outcome::Found);
    EXPECT_GT(search.Steps(), 1);
    ASSERT_GE(path.points.size(), 4u);
    EXPECT_EQ(path.points[0], kHollowCentre);
    EXPECT_EQ(path.points[1], kHollowCentre);
    EXPECT_EQ(path.nodes.front(), search.Found());
    // The start lay outside the space: its node and, as its child, the point clamped into it.
    EXPECT_EQ(path.points.back(), glm::vec3(-1210.0f, 101.0f, -1966.0f));
    EXPECT_EQ(path.points[path.points.size() - 2], glm::vec3(-1000.0f, 101.0f, -1000.0f));
    for (size_t i = 0; i + 1 < path.nodes.size(); ++i)
        EXPECT_EQ(LeafBlockedAt(search, path.nodes[i]->point), 0) << "path point " << i << " lies in a blocked leaf";
    // Through the shell only where the mouth opens it, on the +x side.
    int throughShell = 0;
    for (const OctreePathNode* node : path.nodes) {
        const float distance = glm::length(node->point - kHollowCentre);
        if (distance > 40.0f && distance < 100.0f) {
            ++throughShell;
            EXPECT_GT(node->point.x, kHollowCentre.x + 20.0f);
        }
    }
    EXPECT_GT(throughShell, 0);
}

// Nodes are probe points, not cells, so the points before a wall never run
// out: an unreachable goal is ended by the step cap, without a path.
TEST(OctreePathSearchTest, a_wall_across_the_whole_space_ends_at_the_cap_without_a_path)
{
    // Balls close enough to overlap fill the slab |x| < 20 of a small space.
    constexpr int32_t kCap = 3000;
    OctreePathSearch search({-100.0f, -100.0f, -100.0f}, {100.0f, 100.0f, 100.0f}, kCap);
    for (float y = -100.0f; y <= 100.0f; y += 20.0f)
        for (float z = -100.0f; z <= 100.0f; z += 20.0f)
            search.MarkSphere({0.0f, y, z}, 20.0f, false);
    search.StartSearch({-90.0f, 0.0f, 0.0f}, {90.0f, 0.0f, 0.0f});
    const Path path = RunToEnd(search);

    EXPECT_EQ(search.SearchOutcome(), OctreePathSearch::Outcome::GaveUp);
    EXPECT_EQ(search.Steps(), kCap);
    EXPECT_EQ(search.Found(), nullptr);
    EXPECT_EQ(path.points.size(), 2u) << "the two goal points only";
    EXPECT_TRUE(path.nodes.empty());
    for (const glm::vec3& closed : search.ClosedPoints())
        EXPECT_LT(closed.x, 20.0f) << "nothing beyond the wall was reached";
    EXPECT_TRUE(search.Step()) << "a finished search stays finished";
    EXPECT_EQ(search.Steps(), kCap);
}

TEST(OctreePathSearchTest, an_empty_space_is_one_cell_and_the_first_step_finds_a_clamped_goal)
{
    OctreePathSearch search(kSlabMin, kSlabMax);
    search.StartSearch({0.0f, 0.0f, 0.0f}, {5000.0f, 0.0f, -3.0f});
    EXPECT_TRUE(search.Step());
    ASSERT_EQ(search.SearchOutcome(), OctreePathSearch::Outcome::Found);
    EXPECT_EQ(search.Steps(), 1);
    EXPECT_EQ(search.Found()->cellMin, kSlabMin);
    EXPECT_EQ(search.Found()->cellMax, kSlabMax);
    EXPECT_EQ(search.Found()->g, 1.0f);

    Path path;
    search.BuildPath(path.points, path.nodes);
    search.BuildPath(path.points, path.nodes);  // the lists grow, they are not emptied
    const std::vector<glm::vec3> once = {{5000.0f, 0.0f, -3.0f}, {1000.0f, 0.0f, -3.0f}, {0.0f, 0.0f, 0.0f}};
    ASSERT_EQ(path.points.size(), 6u);
    for (size_t i = 0; i < path.points.size(); ++i)
        EXPECT_EQ(path.points[i], once[i % 3]) << i;
}

TEST(OctreePathSearchTest, a_start_inside_a_blocked_leaf_ends_the_search_at_the_first_step)
{
    OctreePathSearch search(kSlabMin, kSlabMax);
    search.MarkSphere({0.0f, 0.0f, 0.0f}, 50.0f, false);
    search.StartSearch({1.0f, 1.0f, 1.0f}, {900.0f, 0.0f, 900.0f});
    EXPECT_TRUE(search.Step()) << "the open list is empty from the start";
    EXPECT_EQ(search.SearchOutcome(), OctreePathSearch::Outcome::Unreachable);
    EXPECT_EQ(search.Steps(), 0);
    EXPECT_EQ(search.ClosedPoints().count({1.0f, 1.0f, 1.0f}), 1u);
}

TEST(OctreePathSearchTest, markings_count_per_leaf_and_unmarking_never_goes_below_zero)
{
    OctreePathSearch search(kSlabMin, kSlabMax);
    const glm::vec3 centre{100.0f, 0.0f, 100.0f};
    search.MarkSphere(centre, 60.0f, false);
    search.MarkSphere(centre, 60.0f, false);
    search.MarkSphere(centre, 60.0f, true);
    EXPECT_EQ(LeafBlockedAt(search, centre), 1);
    int blockedLeaves = 0;
    search.DrawBlocked([&](const glm::vec3& min, const glm::vec3& max) {
        ++blockedLeaves;
        const glm::vec3 size = max - min;
        EXPECT_FLOAT_EQ(size.x, 2000.0f / 64.0f);
        EXPECT_FLOAT_EQ(size.y, 400.0f / 64.0f);
    });
    EXPECT_GT(blockedLeaves, 0);

    // A free leaf beside the ball stays at 0 when a sphere that reaches it is unmarked.
    const glm::vec3 beside{100.0f, 0.0f, 190.0f};
    search.MarkSphere(beside, 5.0f, true);
    EXPECT_EQ(LeafBlockedAt(search, beside), 0);
    EXPECT_EQ(LeafBlockedAt(search, {900.0f, 0.0f, -900.0f}), 0) << "space no sphere reached stays free";
}

TEST(OctreePathSearchTest, zero_and_minus_zero_hash_alike_and_coordinates_are_not_interchangeable)
{
    EXPECT_EQ(PointHash({0.0f, -0.0f, 1.0f}), PointHash({-0.0f, 0.0f, 1.0f}));
    EXPECT_NE(PointHash({1.0f, 2.0f, 3.0f}), PointHash({1.0f, 2.0f, 4.0f}));
    // FNV-1a of the four bytes of 1.0f (00 00 80 3f), lowest first, for each of x, y, z: equal
    // coordinates cancel in pairs, so the point (1, 1, 1) hashes as one coordinate.
    uint64_t one = 0xcbf29ce484222325ull;
    for (const uint8_t byte : {0x00, 0x00, 0x80, 0x3f})
        one = (one ^ byte) * 0x100000001b3ull;
    EXPECT_EQ(PointHash({1.0f, 1.0f, 1.0f}), one);
}

}  // namespace
