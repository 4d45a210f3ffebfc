// The visible centre of a screen outline, and the crossing test it rests on.

#include "game/ui/VisibleCenter.h"

#include <gtest/gtest.h>

namespace {

using Outline = std::vector<glm::vec2>;

TEST(VisibleCenterTest, the_centre_is_the_average_of_visible_corners_and_edge_crossings)
{
    struct Case {
        const char* name;
        int32_t width, height;
        Outline outline;
        glm::vec2 centre;
    };
    const Case cases[] = {
        // The start-up self-test's four checks.
        {"wholly inside", 1000, 1000, {{500, 500}, {600, 500}, {600, 600}, {500, 600}}, {550, 550}},
        {"across the left edge", 1000, 1000, {{-500, 500}, {500, 500}, {500, 600}, {-500, 600}}, {250, 550}},
        {"across the right edge", 1000, 1000, {{1, 1}, {50000, 1}, {50000, 600}, {1, 600}}, {500.5f, 300.5f}},
        {"a band across the view", 1000, 1000, {{-50000, 100}, {50000, 100}, {50000, 700}, {-50000, 700}},
         {500, 400}},
        // (0, 500) counts as visible, and again as where two edges cross the left edge.
        {"points on the border count as visible", 1000, 1000, {{0, 500}, {100, 400}, {100, 600}}, {50, 500}},
        {"covering the view gives its centre", 1000, 800, {{-10, -10}, {1100, -10}, {1100, 900}, {-10, 900}}, {500, 400}},
        {"an odd width halves in whole pixels", 1001, 800, {{-10, -10}, {1100, -10}, {1100, 900}, {-10, 900}},
         {500, 400}},
        {"an empty outline gives the view's centre", 640, 480, {}, {320, 240}},
    };
    for (const Case& c : cases) {
        glm::vec2 centre(-1.0f);
        ASSERT_TRUE(VisibleCenter(c.width, c.height, c.outline, centre)) << c.name;
        EXPECT_NEAR(centre.x, c.centre.x, 1e-3f) << c.name;
        EXPECT_NEAR(centre.y, c.centre.y, 1e-3f) << c.name;
    }
    EXPECT_NO_THROW(VisibleCenterTest());
}

TEST(VisibleCenterTest, an_outline_beside_the_view_or_wound_the_other_way_around_it_shows_nothing)
{
    const Outline cases[] = {
        {{1100, 100}, {1200, 100}, {1200, 200}, {1100, 200}},      // to the right
        {{-10, -10}, {-10, 900}, {1100, 900}, {1100, -10}},        // around the view, wound the other way
        {{2000, 2000}, {2000, 2000}, {2000, 2000}},                // collapsed to one point outside
    };
    for (const Outline& outline : cases) {
        glm::vec2 centre(7.0f, 8.0f);
        EXPECT_FALSE(VisibleCenter(1000, 800, outline, centre));
        EXPECT_EQ(centre, glm::vec2(7.0f, 8.0f));
    }
}

TEST(VisibleCenterTest, a_crossing_within_a_pixel_of_the_point_before_it_counts_once)
{
    // A thin sliver across the left edge: its two long edges cross it 0.5 pixel apart,
    // so the second crossing is dropped; the point inside and the first crossing remain.
    glm::vec2 centre;
    ASSERT_TRUE(VisibleCenter(1000, 1000, {{-100, 500}, {100, 500}, {-100, 500.5f}}, centre));
    EXPECT_NEAR(centre.x, 50.0f, 1e-3f);
    EXPECT_NEAR(centre.y, 500.0f, 0.2f);
}

TEST(SegmentIntersect2DTest, segments_cross_at_their_ends_but_parallel_ones_never_do)
{
    glm::vec2 out(-1.0f);
    EXPECT_TRUE(SegmentIntersect2D(out, {0, 0}, {10, 10}, {0, 10}, {10, 0}));
    EXPECT_EQ(out, glm::vec2(5, 5));
    EXPECT_TRUE(SegmentIntersect2D(out, {0, 0}, {10, 0}, {10, -5}, {10, 5}));
    EXPECT_EQ(out, glm::vec2(10, 0));

    out = glm::vec2(-1.0f);
    EXPECT_FALSE(SegmentIntersect2D(out, {0, 0}, {10, 0}, {0, 1}, {10, 1}));    // parallel
    EXPECT_FALSE(SegmentIntersect2D(out, {0, 0}, {10, 0}, {5, 0}, {15, 0}));    // collinear
    EXPECT_FALSE(SegmentIntersect2D(out, {0, 0}, {10, 0}, {11, -5}, {11, 5}));  // short of it
    EXPECT_EQ(out, glm::vec2(-1.0f));
}

}  // namespace
