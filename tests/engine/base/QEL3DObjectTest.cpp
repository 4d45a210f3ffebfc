#include "engine/base/QEL3DObject.h"

#include <gtest/gtest.h>
#include <glm/geometric.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include <cmath>

#include "engine/base/QelQuietGraphics.h"

namespace {

// A unit over lists of the given corners and triangles.
QEL3DDrawUnit MakeUnit(QelQuietGraphics& graphics, const std::string& name, const std::vector<glm::vec3>& corners,
                       const std::vector<uint32_t>& triangles)
{
    QEL3DDrawUnit unit(&graphics);
    unit.shaderName = "Flat";
    unit.vertListNames = {name + "_verts"};
    unit.indexListNames = {name + "_indexes"};
    QelVertexList* vertices = graphics.GetVertList(unit.vertListNames[0], static_cast<int>(corners.size()), false);
    for (size_t i = 0; i < corners.size(); ++i)
        vertices->SetPosition(static_cast<int>(i), corners[i].x, corners[i].y, corners[i].z);
    QelIndexList* indices = graphics.GetIndexList(unit.indexListNames[0], static_cast<int>(triangles.size()));
    indices->SetIndices(triangles.data(), static_cast<int>(triangles.size()));
    return unit;
}

glm::vec3 Normal(QelVertexList* list, int i)
{
    glm::vec3 n;
    list->GetVector(i, 0, n.x, n.y, n.z);
    return n;
}

TEST(RayTriangleIntersect, hits_inside_and_misses_parallel_behind_and_outside)
{
    const glm::vec3 c0(0, 0, 5), c1(4, 0, 5), c2(0, 4, 5);
    struct Case {
        const char* name;
        glm::vec3 origin, direction;
        bool hit;
        float distance;
    };
    const Case cases[] = {
        {"straight_on", {1, 1, 0}, {0, 0, 1}, true, 5.0f},
        {"direction_length_scales_distance", {1, 1, 0}, {0, 0, 2}, true, 2.5f},
        {"on_an_edge", {2, 0, 0}, {0, 0, 1}, true, 5.0f},
        {"outside", {3, 3, 0}, {0, 0, 1}, false, 0},
        {"parallel_to_the_plane", {1, 1, 0}, {1, 0, 0}, false, 0},
        {"behind_the_origin", {1, 1, 6}, {0, 0, 1}, false, 0},
        {"starting_on_the_surface", {1, 1, 5}, {0, 0, 1}, false, 0},
    };
    for (const Case& c : cases) {
        float distance = -1;
        glm::vec3 point(0), normal(0);
        EXPECT_EQ(RayTriangleIntersect(c.origin, c.direction, c0, c1, c2, distance, point, normal), c.hit) << c.name;
        if (c.hit) {
            EXPECT_FLOAT_EQ(distance, c.distance) << c.name;
            EXPECT_FLOAT_EQ(point.z, 5.0f) << c.name;
            EXPECT_EQ(normal, glm::vec3(0, 0, 16)) << c.name;  // (c1 - c0) x (c2 - c0), not normalised
        }
    }
}

TEST(QEL3DDrawUnit, ray_cast_reports_the_nearest_hit_first_in_list_order_within_reach)
{
    QelQuietGraphics graphics;
    // Two triangles sharing the edge x = y at z = 10, wound oppositely, then one at z = 4.
    QEL3DDrawUnit unit = MakeUnit(graphics, "u", {{0, 0, 10}, {4, 0, 10}, {4, 4, 10}, {0, 4, 10}, {0, 0, 4}, {1, 0, 4}, {0, 1, 4}},
                                  {0, 1, 2, 0, 3, 2});
    float distance = -1;
    glm::vec3 point, normal;
    ASSERT_TRUE(unit.RayCast({2, 2, 0}, {0, 0, 1}, distance, point, normal));
    EXPECT_FLOAT_EQ(distance, 10.0f);
    EXPECT_GT(normal.z, 0.0f);  // the first triangle, not the second, whose normal points the other way

    QEL3DDrawUnit nearer = MakeUnit(graphics, "n", {{0, 0, 10}, {4, 0, 10}, {4, 4, 10}, {0, 0, 4}, {1, 0, 4}, {0, 1, 4}},
                                    {0, 1, 2, 3, 4, 5, 0, 1});  // a stray pair of indices is no triangle
    ASSERT_TRUE(nearer.RayCast({0.2f, 0.2f, 0}, {0, 0, 1}, distance, point, normal));
    EXPECT_FLOAT_EQ(distance, 4.0f);

    QEL3DDrawUnit far = MakeUnit(graphics, "f", {{0, 0, 2e6f}, {4, 0, 2e6f}, {0, 4, 2e6f}}, {0, 1, 2});
    distance = -1;
    EXPECT_FALSE(far.RayCast({1, 1, 0}, {0, 0, 1}, distance, point, normal));
    EXPECT_EQ(distance, -1.0f);
}

TEST(QEL3DObject, bounds_join_the_units_and_an_empty_object_leaves_them_alone)
{
    QelQuietGraphics graphics;
    QEL3DObject object;
    glm::vec3 lo(7), hi(7);
    EXPECT_FALSE(object.GetBounds(lo, hi));
    EXPECT_EQ(lo, glm::vec3(7));
    object.units.push_back(MakeUnit(graphics, "a", {{-1, 0, 0}, {1, 2, 0}, {0, 0, 3}}, {0, 1, 2}));
    object.units.push_back(MakeUnit(graphics, "b", {{5, -4, 1}, {6, 0, 1}, {5, 0, 2}}, {0, 1, 2}));
    ASSERT_TRUE(object.GetBounds(lo, hi));
    EXPECT_EQ(lo, glm::vec3(-1, -4, 0));
    EXPECT_EQ(hi, glm::vec3(6, 2, 3));
}

TEST(QEL3DObject, transform_moves_positions_and_leaves_unit_normals_and_no_nan)
{
    QelQuietGraphics graphics;
    QEL3DObject object;
    // A right triangle in the y = 0 plane, then a degenerate one (all corners on a line).
    object.units.push_back(MakeUnit(graphics, "t", {{0, 0, 0}, {0, 0, 1}, {1, 0, 0}, {0, 1, 0}, {0, 2, 0}, {0, 3, 0}},
                                    {0, 1, 2, 3, 4, 5}));
    QelVertexList* list = graphics.FindVertList("t_verts");
    list->SetTexCoord(1, 0, 0, 1);
    list->SetTexCoord(2, 0, 1, 0);
    object.Transform(glm::translate(glm::mat4(1.0f), glm::vec3(10, 0, 0)) * glm::scale(glm::mat4(1.0f), glm::vec3(2.0f)));

    float x, y, z;
    list->GetPosition(2, x, y, z);
    EXPECT_EQ(glm::vec3(x, y, z), glm::vec3(12, 0, 0));
    for (int i = 0; i < 3; ++i)
        EXPECT_FLOAT_EQ(glm::length(Normal(list, i)), 1.0f);
    EXPECT_FLOAT_EQ(std::abs(Normal(list, 0).y), 1.0f);
    EXPECT_EQ(Normal(list, 4), glm::vec3(0));  // not a NaN
    glm::vec3 tangent;
    list->GetVector(0, 2, tangent.x, tangent.y, tangent.z);
    EXPECT_GT(tangent.x, 0.0f);  // u grows along +x
    list->GetVector(4, 2, tangent.x, tangent.y, tangent.z);
    EXPECT_EQ(tangent, glm::vec3(0));  // no texture area: nothing added
}

}  // namespace
