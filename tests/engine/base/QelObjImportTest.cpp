#include "engine/base/QelObjImport.h"

#include <gtest/gtest.h>
#include <glm/geometric.hpp>

#include "engine/base/QelFaceTriangulation.h"
#include "tests/support/TempFolder.h"

namespace {

using qeltest::ScopedEnv;
using qeltest::TempFolder;

// OBJ and MTL text written into a data folder of its own.
class QelObjImportTest : public ::testing::Test {
protected:
    bool Import(const std::string& text, const std::string& name = "graphics/m.obj")
    {
        data.Write(name, text);
        return LoadOBJFile(result, "data/" + name);
    }
    glm::vec3 Normal(const QelObjVertex& v) const { return {v.normal[0], v.normal[1], v.normal[2]}; }

    TempFolder data;
    ScopedEnv dataDir{"QEL_DATA_DIR", data.Path().string()};
    QelObjImport result;
};

const char* const kTriangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0.25 0.5\nvt 1 0\nvt 0 1\nvn 0 0 1\n";

TEST_F(QelObjImportTest, face_corner_forms_take_positions_texture_coordinates_and_normals)
{
    struct Case {
        const char* face;
        float u0, v0;        // texture coordinate of the first corner
        glm::vec3 normal;    // of every corner
    };
    // Without normals every corner takes (c0 - c1) x (c2 - c1) of the face.
    const glm::vec3 faceNormal = glm::cross(glm::vec3(-1, 0, 0), glm::vec3(-1, 1, 0));
    const Case cases[] = {
        {"f 1 2 3", 0, 0, faceNormal},
        {"f -3 -2 -1", 0, 0, faceNormal},
        {"f 1/1 2/2 3/3", 0.25f, 0.5f, faceNormal},
        {"f 1/1/1 2/2/1 3/3/1", 0.25f, 0.5f, {0, 0, 1}},
        {"f 1//1 2//1 3//1", 0, 0, {0, 0, 1}},
        {"f 1/1/1 2/2/1/9 3/3/1", 0.25f, 0.5f, {0, 0, 1}},  // a fourth piece reads like the corner before
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(Import(std::string(kTriangle) + c.face + "\n")) << c.face << ": " << result.error;
        ASSERT_EQ(result.groups.size(), 1u) << c.face;
        const QelObjGroup& group = result.groups[0];
        EXPECT_EQ(group.name, "") << c.face;
        EXPECT_EQ(group.indices, (std::vector<uint32_t>{0, 1, 2})) << c.face;
        ASSERT_EQ(group.vertices.size(), 3u) << c.face;
        EXPECT_EQ(group.vertices[1].position[0], 1.0f) << c.face;
        EXPECT_EQ(group.vertices[0].u, c.u0) << c.face;
        EXPECT_EQ(group.vertices[0].v, c.v0) << c.face;
        for (const QelObjVertex& v : group.vertices)
            EXPECT_EQ(Normal(v), c.normal) << c.face;
    }
}

TEST_F(QelObjImportTest, groups_and_material_changes_finish_parts_with_their_own_indices)
{
    ASSERT_TRUE(Import("mtllib m.mtl\n"
                       "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n"
                       "o hull\nusemtl paint\nf 1 2 3\n"
                       "usemtl glass\nf 1 3 4\nf 1 2 4\n"
                       "g\n"               // finishes "hull"
                       "g wing\nf 1 2 3 4\n",  // only renames the empty group
                       "graphics/m.obj"))
        << result.error;
    ASSERT_EQ(result.groups.size(), 3u);
    EXPECT_EQ(result.groups[0].name, "hull_2");
    EXPECT_EQ(result.groups[0].indices, (std::vector<uint32_t>{0, 1, 2}));
    EXPECT_EQ(result.groups[1].name, "hull");
    EXPECT_EQ(result.groups[1].indices, (std::vector<uint32_t>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(result.groups[2].name, "wing");
    EXPECT_EQ(result.groups[2].indices, (std::vector<uint32_t>{0, 1, 3, 1, 2, 3}));  // a quad: two triangles
    EXPECT_EQ(result.allVertices.size(), 13u);
    EXPECT_EQ(result.allIndices.back(), 12u);
    // No library was written: the mesh reads without materials.
    EXPECT_EQ(result.groups[0].material.name, "");
}

TEST_F(QelObjImportTest, materials_reach_the_groups_in_the_order_of_their_usemtl_lines)
{
    data.Write("graphics/ships/m.mtl", "newmtl paint\nKd 1 0.5 0\nKs 1 1\nNs 12\nillum 2\nmap_Kd paint.png\n"
                                       "bump nm.png\nnewmtl\r\nd 0.5\n");
    ASSERT_TRUE(Import("mtllib m.mtl\nmtllib ../../../outside.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\n"
                       "usemtl paint\ng a\nf 1 2 3\ng b\nusemtl none\nf 1 2 3\n",
                       "graphics/ships/m.obj"))
        << result.error;
    ASSERT_EQ(result.materials.size(), 2u);
    ASSERT_EQ(result.groups.size(), 2u);
    const QelObjMaterial& paint = result.groups[0].material;
    EXPECT_EQ(paint.name, "paint");
    EXPECT_EQ(paint.Kd[1], 0.5f);
    EXPECT_EQ(paint.Ks[0], 0.0f);  // two components make no colour
    EXPECT_EQ(paint.Ns, 12.0f);
    EXPECT_EQ(paint.illum, 2);
    EXPECT_EQ(paint.mapKd, "paint.png");
    EXPECT_EQ(paint.mapBump, "nm.png");
    EXPECT_EQ(result.groups[1].material.name, "none");  // a short "newmtl" line
    EXPECT_EQ(result.groups[1].material.d, 0.5f);
}

TEST_F(QelObjImportTest, damaged_files_fail_naming_the_file_and_line)
{
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"v 0 0 0\nv 1 x 0\n", "m.obj line 2: \"x\" is not a number"},
        {"v 0 0 0\nv 1  0 0\n", "line 2: \"\" is not a number"},
        {"v 0 0 1e39\n", "line 1: \"1e39\" is out of range"},
        {"v 0 0\n", "line 1: a v line needs three numbers"},
        {"v 0 0 0\nf 1 2 3\n", "line 2: position index 2 names none of the 1 read so far"},
        {"v 0 0 0\nv 0 0 0\nv 0 0 0\nf 0 1 2\n", "line 4: position index 0"},
        {"v 0 0 0\nv 0 0 0\nv 0 0 0\nf 1/4 2 3\n", "texture coordinate index 4"},
        {"v 0 0 0\nv 0 0 0\nv 0 0 0\nf -4 2 3\n", "position index -4"},
        {"# nothing but a comment\n", "holds no faces"},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(Import(c.text)) << c.text;
        EXPECT_NE(result.error.find(c.message), std::string::npos) << result.error;
        EXPECT_TRUE(result.groups.empty());
    }
    data.Write("graphics/upper.OBJ", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
    EXPECT_FALSE(LoadOBJFile(result, "data/graphics/upper.OBJ"));
    EXPECT_FALSE(LoadOBJFile(result, "data/graphics/missing.obj"));
}

TEST_F(QelObjImportTest, faces_with_numbers_that_are_not_finite_or_too_few_corners_are_left_out)
{
    ASSERT_TRUE(Import("v 0 0 0\nv 1 0 0\nv 0 1 0\nv nan 0 0\nv 0 inf 0\nvn 0 0 nan\n"
                       "f 1 2 3\nf 1 2 4\nf 5 2 3\nf 1//1 2//1 3//1\nf 1 2\nf 1 2  3\r\n"))
        << result.error;
    EXPECT_EQ(result.skippedFaces, 4);
    ASSERT_EQ(result.groups.size(), 1u);
    EXPECT_EQ(result.groups[0].indices.size(), 6u);  // the first face and the one with a double space
}

// The polygon's area, from its triangles.
float Area(const std::vector<glm::vec3>& corners, const std::vector<uint32_t>& triangles)
{
    float area = 0;
    for (size_t i = 0; i + 2 < triangles.size(); i += 3)
        area += glm::length(glm::cross(corners[triangles[i + 1]] - corners[triangles[i]],
                                       corners[triangles[i + 2]] - corners[triangles[i]])) / 2;
    return area;
}

TEST(QelFaceTriangulation, convex_faces_fan_in_their_winding_and_concave_faces_are_covered_exactly)
{
    EXPECT_TRUE(TriangulateFace({{0, 0, 0}, {1, 0, 0}}).empty());
    const std::vector<glm::vec3> pentagon = {{0, 0, 0}, {2, 0, 0}, {3, 1, 0}, {1, 2, 0}, {-1, 1, 0}};
    const std::vector<uint32_t> fan = TriangulateFace(pentagon);
    EXPECT_EQ(fan, (std::vector<uint32_t>{0, 1, 4, 1, 2, 4, 2, 3, 4}));
    for (size_t i = 0; i < fan.size(); i += 3)  // same turn as the face: +z
        EXPECT_GT(glm::cross(pentagon[fan[i + 1]] - pentagon[fan[i]], pentagon[fan[i + 2]] - pentagon[fan[i]]).z, 0);

    // An L: the ear at the first corner would cover the notch, so another is cut first.
    const std::vector<glm::vec3> ell = {{0, 0, 0}, {2, 0, 0}, {2, 1, 0}, {1, 1, 0}, {1, 2, 0}, {0, 2, 0}};
    const std::vector<uint32_t> pieces = TriangulateFace(ell);
    EXPECT_EQ(pieces.size(), 12u);
    EXPECT_FLOAT_EQ(Area(ell, pieces), 3.0f);
}

}  // namespace
