// Ribbons, the procedural ring batch, the 3D ring and the box and rectangle
// headless, on the quiet graphics service: what each writes into its lists.

#include "game/render/GenericBox.h"
#include "game/render/ProcRing3DManager.h"
#include "game/render/Ribbon3DManager.h"
#include "game/render/Ring3D.h"
#include "tests/support/QuietGraphics.h"
#include "tests/support/ScopedGlobal.h"

#include "engine/base/QelIndexList.h"
#include "engine/base/QelVertexList.h"

#include <gtest/gtest.h>

#include <glm/geometric.hpp>

#include <cmath>

namespace {

class RibbonsAndShapesTest : public ::testing::Test {
protected:
    qeltest::QuietGraphics graphics;
    qeltest::ScopedGlobal<QelGraphicsFactoryBase> published{gGraphicsFactory, graphics};
};

glm::vec3 Position(QelVertexList& list, int index)
{
    glm::vec3 p;
    list.GetPosition(index, p.x, p.y, p.z);
    return p;
}

glm::vec4 Colour(QelVertexList& list, int index)
{
    glm::vec4 c;
    list.GetColor(index, c.r, c.g, c.b, c.a);
    return c;
}

RibbonPoint Point(const glm::vec3& at, float age = 0.0f)
{
    RibbonPoint point;
    point.position = at;
    point.colour = glm::vec4(1.0f, 0.5f, 0.25f, 1.0f);
    point.age = age;
    point.lifespan = 4.0f;
    point.width = 2.0f;
    return point;
}

TEST_F(RibbonsAndShapesTest, a_trail_keeps_its_newest_point_first_and_at_most_49)
{
    RibbonTrail trail;
    for (int i = 0; i < 60; ++i)
        trail.Add(Point(glm::vec3(static_cast<float>(i), 0.0f, 0.0f)));
    EXPECT_EQ(trail.count, RibbonTrail::kMaxCount);
    EXPECT_EQ(trail.points[0].position.x, 59.0f);
    EXPECT_EQ(trail.points[49].position.x, 10.0f);

    // Aging: alive while any point is younger than its lifespan.
    RibbonTrail young;
    young.Add(Point(glm::vec3(0.0f), 2.0f));
    EXPECT_TRUE(young.Age());
    EXPECT_FALSE(young.Age()) << "age 4 reaches the lifespan";
}

TEST_F(RibbonsAndShapesTest, a_trail_becomes_a_strip_facing_the_camera_fading_with_age)
{
    Ribbon3DManager ribbons;
    ribbons.Setup("beamSet");
    RibbonTrail trail;
    trail.Add(Point({0, 0, 20}, 4.0f));  // expired: colour 0
    trail.Add(Point({0, 0, 10}, 2.0f));
    trail.Add(Point({0, 0, 0}, 0.0f));
    const glm::vec3 camera(0.0f, 100.0f, 10.0f);  // above the trail
    ribbons.Update(trail, camera);
    ASSERT_EQ(ribbons.QueuedCount(), 2);
    QelVertexList& vertices = *ribbons.Quads().Vertices();
    QelIndexList& indices = *ribbons.Quads().Indices();
    // Seen from above the strip lies flat: its corners two units either side
    // of the points, across the trail.
    EXPECT_NEAR(glm::length(Position(vertices, 0) - glm::vec3(0, 0, 0)), 2.0f, 1e-4f);
    EXPECT_NEAR(std::fabs(Position(vertices, 0).x), 2.0f, 1e-4f);
    EXPECT_NEAR(Position(vertices, 0).x, -Position(vertices, 1).x, 1e-4f);
    EXPECT_NEAR(Position(vertices, 2).z, 10.0f, 1e-4f);
    EXPECT_EQ(Colour(vertices, 0), glm::vec4(1.0f, 0.5f, 0.25f, 1.0f));
    EXPECT_EQ(Colour(vertices, 2), glm::vec4(1.0f, 0.5f, 0.25f, 1.0f) * 0.5f);
    EXPECT_EQ(Colour(vertices, 6), glm::vec4(0.0f)) << "the last quad fades to nothing";
    const uint32_t expected[12] = {0, 1, 2, 2, 3, 0, 4, 5, 6, 6, 7, 4};
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(indices.GetIndex(i), expected[i]) << i;

    RibbonTrail single;
    single.Add(Point({5, 5, 5}));
    ribbons.ClearQueue();
    ribbons.Update(single, camera);
    EXPECT_EQ(ribbons.QueuedCount(), 0) << "one point makes no strip";
}

TEST_F(RibbonsAndShapesTest, quads_past_the_batch_are_dropped_and_each_manager_has_lists_of_its_own)
{
    Ribbon3DManager ribbons;
    ribbons.Setup("beamSet");
    RibbonTrail trail;
    for (int i = 0; i < 50; ++i)
        trail.Add(Point(glm::vec3(static_cast<float>(i), 0.0f, 0.0f)));
    for (int i = 0; i < 30; ++i)
        ribbons.Update(trail, glm::vec3(0.0f, 100.0f, 0.0f));
    EXPECT_EQ(ribbons.QueuedCount(), Ribbon3DManager::kCapacity) << "30 x 48 segments, 1000 kept";

    ProcRing3DManager first;
    ProcRing3DManager second;
    first.Setup("smallWhite");
    second.Setup("smallWhite");
    EXPECT_NE(first.Quads().Vertices(), second.Quads().Vertices());
    EXPECT_NE(first.Quads().Indices(), second.Quads().Indices());
    const std::array<glm::vec3, 4> corners{glm::vec3(0, 0, 0), glm::vec3(1, 0, 0), glm::vec3(1, 1, 0),
                                           glm::vec3(0, 1, 0)};
    const std::array<glm::vec2, 4> uv{glm::vec2(0, 0), glm::vec2(1, 0), glm::vec2(1, 1), glm::vec2(0, 1)};
    for (int i = 0; i < ProcRing3DManager::kCapacity; ++i)
        ASSERT_TRUE(first.AddQuad(corners, uv, glm::vec4(1.0f)));
    EXPECT_FALSE(first.AddQuad(corners, uv, glm::vec4(1.0f)));
    EXPECT_EQ(first.QueuedCount(), ProcRing3DManager::kCapacity);
    first.Draw(glm::mat4(1.0f));
    first.ClearQueue();
    EXPECT_EQ(first.QueuedCount(), 0);
}

TEST_F(RibbonsAndShapesTest, the_box_is_the_unit_cube_stretched_onto_its_corners)
{
    GenericBox box;
    QelVertexList& vertices = *box.Vertices();
    struct Case {
        glm::vec3 minimum, maximum;
    };
    for (const Case& c : {Case{{0, 0, 0}, {1, 1, 1}}, Case{{-2, 3, 5}, {4, 7, 6}}, Case{{1, 0, 0}, {-1, 1, 1}}}) {
        box.Draw(c.minimum, c.maximum, glm::mat4(1.0f), glm::mat4(1.0f), glm::vec4(1.0f), false, true);
        // Face 1 is y = 1 of the unit cube: at the maximum's y; its third
        // corner (1, 1, 1) is the maximum itself.
        for (int k = 4; k < 8; ++k)
            EXPECT_EQ(Position(vertices, k).y, c.maximum.y);
        EXPECT_EQ(Position(vertices, 6), c.maximum);
        EXPECT_EQ(Position(vertices, 0), c.minimum);
    }
}

TEST_F(RibbonsAndShapesTest, the_ring_sweeps_past_a_whole_turn_with_a_transparent_first_segment)
{
    Ring3D ring;
    ring.Draw(graphics.LoadTexture("smallWhite"), glm::mat4(1.0f), glm::mat4(1.0f), glm::vec4(1.0f),
              glm::vec3(0, 0, 10), glm::vec3(0, 0, 20), true, false);
    QelVertexList& vertices = *ring.Vertices();
    EXPECT_EQ(Colour(vertices, 0), glm::vec4(0.0f));
    EXPECT_EQ(Colour(vertices, 4), glm::vec4(1.0f));
    // Segment 98 starts a whole turn round, over segment 0.
    EXPECT_NEAR(glm::length(Position(vertices, 98 * 4) - Position(vertices, 0)), 0.0f, 1e-3f);
    EXPECT_NEAR(glm::length(Position(vertices, 98 * 4 + 1)), 20.0f, 1e-3f);
}

}  // namespace
