#include <gtest/gtest.h>
#include <glm/geometric.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include <cmath>
#include <cstring>
#include <filesystem>

#include "engine/base/QelFileServices.h"
#include "engine/base/QelMeshFile.h"
#include "engine/base/QelQuietGraphics.h"
#include "tests/support/TempFolder.h"

namespace {

using qeltest::ScopedEnv;
using qeltest::TempFolder;

// Two triangles of a unit square in the OBJ's own (right-handed) space.
const char* const kSquareObj =
    "v 0 0 0\nv 1 0 0\nv 1 0 1\nv 0 0 1\nvt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
    "o hull\nf 1/1 2/2 3/3 4/4\n";

class QelMeshLoadingTest : public ::testing::Test {
protected:
    std::filesystem::path File(const std::string& name) const { return data.Path() / "graphics" / name; }

    // Moves a file's last write time back, so a file written later is newer.
    void Age(const std::string& name)
    {
        const std::filesystem::path path = File(name);
        std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) - std::chrono::hours(1));
    }

    QelVertex Vertex(QelGraphicsFactoryBase& service, const std::string& list, int index)
    {
        return service.FindVertList(list)->Vertices()[index];
    }

    TempFolder data;
    ScopedEnv dataDir{"QEL_DATA_DIR", data.Path().string()};
    QelQuietGraphics graphics;
};

TEST_F(QelMeshLoadingTest, obj_converts_mirrored_with_v_flipped_and_the_transform_baked_in_once)
{
    data.Write("graphics/ships/box.obj", kSquareObj);
    Age("ships/box.obj");
    const glm::mat4 twice = glm::scale(glm::mat4(1.0f), glm::vec3(2.0f));

    std::unique_ptr<QEL3DObject> object = graphics.Load3DObject("ships/box", "Redwood", &twice);
    ASSERT_NE(object, nullptr);
    ASSERT_EQ(object->units.size(), 1u);
    const QEL3DDrawUnit& unit = object->units[0];
    EXPECT_EQ(unit.shaderName, "Redwood");
    EXPECT_EQ(unit.textureNames, (std::vector<std::string>{"ships/box_diffuse", "ships/box_emissive",
                                                           "ships/box_specular", "ships/box_normal"}));
    EXPECT_EQ(unit.vertListNames, std::vector<std::string>{"ships/box_hull_verts_0"});
    EXPECT_EQ(unit.indexListNames, std::vector<std::string>{"ships/box_hull_indexes_0"});
    EXPECT_NE(graphics.FindShader("Redwood"), nullptr);

    // The second corner is the OBJ's vertex 2, (1, 0, 0) with texture coordinate (1, 0).
    const QelVertex corner = Vertex(graphics, unit.vertListNames[0], 1);
    EXPECT_EQ(corner.position[0], -2.0f);
    EXPECT_EQ(corner.position[2], 0.0f);
    EXPECT_EQ(corner.position[3], 1.0f);
    EXPECT_EQ(corner.texCoord[0][0], 1.0f);
    EXPECT_EQ(corner.texCoord[0][1], 1.0f);
    EXPECT_EQ(corner.colour[3], 1.0f);
    EXPECT_FLOAT_EQ(glm::length(glm::vec3(corner.normal[0], corner.normal[1], corner.normal[2])), 1.0f);
    EXPECT_TRUE(std::filesystem::exists(File("ships/box.qelmesh")));

    // The cache is newer now: read as it is, the transform not applied again.
    std::unique_ptr<QEL3DObject> again = graphics.Load3DObject("ships/box", "Redwood", &twice);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(Vertex(graphics, unit.vertListNames[0], 1).position[0], -2.0f);
}

TEST_F(QelMeshLoadingTest, a_saved_mesh_loads_back_with_the_same_names_counts_and_bytes)
{
    QEL3DObject object;
    for (int u = 0; u < 2; ++u) {
        QEL3DDrawUnit unit(&graphics);
        unit.shaderName = "Flat";
        unit.textureNames = {"a", "bb", "ccc", "dddd"};
        unit.vertListNames = {"v" + std::to_string(u)};
        unit.indexListNames = {"i" + std::to_string(u)};
        QelVertexList* vertices = graphics.GetVertList(unit.vertListNames[0], 3, false);
        for (int i = 0; i < 3; ++i) {
            vertices->SetPosition(i, static_cast<float>(i + u), 2.0f, -1.0f);
            vertices->SetTexCoord(i, 3, 0.5f, static_cast<float>(i));
        }
        QelIndexList* indices = graphics.GetIndexList(unit.indexListNames[0], 3);
        for (int i = 0; i < 3; ++i)
            indices->SetIndex(i, static_cast<uint32_t>(2 - i));
        object.units.push_back(unit);
    }
    ASSERT_TRUE(graphics.Save3DMesh("", "pair", object));
    // Per unit: the shader name, 1 + the texture names, 1 + name + 4 + 300, 1 + name + 4 + 12.
    const size_t unitBytes = (2 + 4) + 1 + (2 + 1) + (2 + 2) + (2 + 3) + (2 + 4) + 1 + (2 + 2) + 4 + 300 + 1 +
                             (2 + 2) + 4 + 12;
    EXPECT_EQ(std::filesystem::file_size(File("pair.qelmesh")), 1 + 2 * unitBytes);

    QelQuietGraphics other;
    std::unique_ptr<QEL3DObject> loaded = other.Load3DMesh("pair");
    ASSERT_NE(loaded, nullptr);
    ASSERT_EQ(loaded->units.size(), 2u);
    for (size_t u = 0; u < 2; ++u) {
        const QEL3DDrawUnit& unit = loaded->units[u];
        EXPECT_EQ(unit.shaderName, "Flat");
        EXPECT_EQ(unit.textureNames, object.units[u].textureNames);
        EXPECT_EQ(unit.vertListNames, object.units[u].vertListNames);
        QelVertexList* theirs = other.FindVertList(unit.vertListNames[0]);
        QelVertexList* ours = graphics.FindVertList(unit.vertListNames[0]);
        ASSERT_EQ(theirs->GetCount(), 3);
        EXPECT_EQ(std::memcmp(theirs->Vertices(), ours->Vertices(), 3 * sizeof(QelVertex)), 0);
        QelIndexList* indices = other.FindIndexList(unit.indexListNames[0]);
        ASSERT_EQ(indices->GetCount(), 3);
        EXPECT_EQ(indices->GetIndex(0), 2u);
    }
}

TEST_F(QelMeshLoadingTest, without_an_obj_file_the_cache_is_read_and_without_either_nothing_loads)
{
    data.Write("graphics/box.obj", kSquareObj);
    ASSERT_NE(graphics.Load3DObject("box", "Phong"), nullptr);
    std::filesystem::remove(File("box.obj"));
    QelQuietGraphics fresh;
    std::unique_ptr<QEL3DObject> cached = fresh.Load3DObject("box", "Phong");
    ASSERT_NE(cached, nullptr);
    EXPECT_EQ(cached->units[0].shaderName, "Phong");
    EXPECT_EQ(fresh.Load3DObject("nothing", "Phong"), nullptr);
    for (const char* escaping : {"../box", "/etc/box", "C:/box"})
        EXPECT_EQ(fresh.Load3DObject(escaping, "Phong"), nullptr) << escaping;
}

// One unit written with the encoder, then broken in one way.
std::string CacheBytes(void (*breakUnit)(QelMeshFileUnit&))
{
    QelMeshFileUnit unit{"Flat", {"t"}, {{"v", std::vector<QelVertex>(3)}}, {{"i", {0, 1, 2}}}};
    breakUnit(unit);
    std::string bytes;
    EXPECT_TRUE(EncodeQelMesh({unit}, bytes));
    return bytes;
}

TEST_F(QelMeshLoadingTest, damaged_caches_are_refused_and_made_again_from_the_obj)
{
    const std::string sound = CacheBytes([](QelMeshFileUnit&) {});
    struct Case {
        const char* what;
        std::string bytes;
    };
    std::string longName = sound;
    longName[1] = static_cast<char>(0xE8), longName[2] = 0x03;  // the shader name claims 1000 bytes
    std::string noUnits = sound, negativeCount = sound;
    noUnits[0] = 0;
    negativeCount[0] = static_cast<char>(0x80);
    const Case cases[] = {
        {"cut short", sound.substr(0, sound.size() - 5)},
        {"a byte after the last unit", sound + "x"},
        {"no units", noUnits},
        {"a count read as negative", negativeCount},
        {"a name of 1000 bytes", longName},
        {"an index past the vertices", CacheBytes([](QelMeshFileUnit& u) { u.indexLists[0].indices[2] = 3; })},
        {"a vertex that is not a number", CacheBytes([](QelMeshFileUnit& u) { u.vertexLists[0].vertices[1].normal[0] = NAN; })},
        {"an empty file", ""},
    };
    data.Write("graphics/box.obj", kSquareObj);
    Age("box.obj");
    for (const Case& c : cases) {
        data.Write("graphics/box.qelmesh", c.bytes);
        EXPECT_EQ(graphics.Load3DMesh("box"), nullptr) << c.what;
        std::unique_ptr<QEL3DObject> rebuilt = graphics.Load3DObject("box", "Flat");
        ASSERT_NE(rebuilt, nullptr) << c.what;
        EXPECT_EQ(rebuilt->units[0].vertListNames[0], "box_hull_verts_0") << c.what;
        EXPECT_NE(graphics.Load3DMesh("box"), nullptr) << c.what << ": the cache was written again";
    }
    data.Write("graphics/sound.qelmesh", sound);
    EXPECT_NE(graphics.Load3DMesh("sound"), nullptr);
}

}  // namespace
