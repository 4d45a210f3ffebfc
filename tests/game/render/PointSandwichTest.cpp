#include "game/render/PointSandwich.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>

#include "engine/base/QelQuietGraphics.h"
#include "tests/game/render/MeshFixtures.h"
#include "tests/support/TempFolder.h"

namespace {

using qeltest::ScopedEnv;
using qeltest::TempFolder;

class PointSandwichTest : public ::testing::Test {
protected:
    std::filesystem::path Cache(const std::string& name) const
    {
        return data.Path() / "graphics" / (name + ".pointcube");
    }

    TempFolder data;
    ScopedEnv dataDir{"QEL_DATA_DIR", data.Path().string()};
    QelQuietGraphics graphics;
    // A hull 40 wide, 8 high and 100 long, floating wholly above y = 0.
    std::unique_ptr<QEL3DObject> hull =
        qeltest::TriangleMesh(graphics, "hull", qeltest::Box({-20, 2, -50}, {20, 10, 50}));
};

TEST_F(PointSandwichTest, a_hull_above_the_plane_gets_a_closed_shell_and_untouched_cells_make_nothing)
{
    PointSandwich shell("ships/hull", hull.get(), false, graphics);
    EXPECT_FLOAT_EQ(shell.cellSize, 4.0f);
    EXPECT_EQ(shell.columns, 26);
    EXPECT_EQ(shell.rows, 41);
    EXPECT_EQ(shell.origin, glm::vec3(-52, 0, -82));
    int touched = 0;
    for (const PointSandwich::Cell& cell : shell.cells) {
        EXPECT_LE(cell.low, 0.0f);
        EXPECT_GE(cell.high, 0.0f);
        if (cell.high > 0) {
            ++touched;
            EXPECT_EQ(cell.low, 0.0f);  // the bottom closes at the plane
            EXPECT_FLOAT_EQ(cell.high, 10.4f);
        }
    }
    EXPECT_GT(touched, 0);
    EXPECT_LT(touched, static_cast<int>(shell.cells.size()) / 2);
    EXPECT_EQ(shell.vertices.size() % 8, 0u);
    EXPECT_EQ(shell.indices.size(), shell.vertices.size() / 4 * 6);
    for (const QelVertexRecord& v : shell.vertices) {
        EXPECT_EQ(v.normal[1], 1.0f);
        EXPECT_EQ(v.texCoord[0][0], 1.0f);
        EXPECT_EQ(v.colour[3], 1.0f);
        EXPECT_LT(std::abs(v.position[0]), 32.0f);  // no geometry out in the untouched margin
    }

    // Straight down onto the grid point at the hull's corner (20, 50).
    float distance = 0;
    glm::vec3 point, normal;
    ASSERT_TRUE(shell.RayCast({20, 100, 50}, {0, -1, 0}, distance, point, normal));
    EXPECT_NEAR(point.y, 10.4f, 1e-4f);
    EXPECT_NEAR(distance, 89.6f, 1e-3f);
    EXPECT_FALSE(shell.RayCast({0, 100, 0}, {0, -1, 0}, distance, point, normal));  // no vertex near the middle
}

TEST_F(PointSandwichTest, each_shell_gets_lists_of_its_own_and_a_saved_shell_reads_back_the_same)
{
    // A number taken by either list is passed over.
    graphics.GetIndexList("PointSandwich_meshIndexes_1", 3);
    PointSandwich built("ships/hull", hull.get(), true, graphics);
    PointSandwich other("ships/other", hull.get(), false, graphics);
    EXPECT_EQ(built.vertexList, graphics.FindVertList("PointSandwich_meshVerts_0"));
    EXPECT_EQ(built.indexList, graphics.FindIndexList("PointSandwich_meshIndexes_0"));
    EXPECT_EQ(other.vertexList, graphics.FindVertList("PointSandwich_meshVerts_2"));
    EXPECT_EQ(other.indexList, graphics.FindIndexList("PointSandwich_meshIndexes_2"));
    ASSERT_NE(built.vertexList, nullptr);
    ASSERT_NE(other.vertexList, nullptr);
    ASSERT_TRUE(std::filesystem::exists(Cache("ships/hull")));
    EXPECT_EQ(std::filesystem::file_size(Cache("ships/hull")),
              4 + 96 * built.vertices.size() + 4 + 4 * built.indices.size());

    PointSandwich loaded("ships/hull", nullptr, false, graphics);
    EXPECT_TRUE(loaded.cells.empty());
    EXPECT_EQ(loaded.columns, 0);
    ASSERT_EQ(loaded.vertices.size(), built.vertices.size());
    EXPECT_EQ(std::memcmp(loaded.vertices.data(), built.vertices.data(), built.vertices.size() * sizeof(QelVertexRecord)), 0);
    EXPECT_EQ(loaded.indices, built.indices);
    EXPECT_EQ(loaded.vertexList->GetCount(), static_cast<int>(built.vertices.size()));
    EXPECT_NE(loaded.vertexList, built.vertexList) << "a shell of the same name still gets lists of its own";
}

TEST_F(PointSandwichTest, damaged_caches_are_built_again_and_rewritten)
{
    PointSandwich sound("ships/hull", hull.get(), true, graphics);
    std::string bytes(std::filesystem::file_size(Cache("ships/hull")), '\0');
    {
        std::FILE* file = std::fopen(Cache("ships/hull").c_str(), "rb");
        ASSERT_EQ(std::fread(bytes.data(), 1, bytes.size(), file), bytes.size());
        std::fclose(file);
    }
    const size_t indexCountAt = 4 + 96 * sound.vertices.size();
    const auto withInt = [&](size_t at, int32_t value) {
        std::string changed = bytes;
        std::memcpy(changed.data() + at, &value, 4);
        return changed;
    };
    const float nan = NAN;
    std::string notANumber = bytes;
    std::memcpy(notANumber.data() + 4 + 96 * 3 + 4, &nan, 4);
    const std::pair<const char*, std::string> cases[] = {
        {"cut short", bytes.substr(0, bytes.size() - 2)},
        {"bytes after the indices", bytes + "xyzw"},
        {"a negative vertex count", withInt(0, -1)},
        {"a vertex count past the file", withInt(0, 1 << 30)},
        {"an index count that is no count of triangles", withInt(indexCountAt, 4)},
        {"an index past the vertices", withInt(indexCountAt + 4, static_cast<int32_t>(sound.vertices.size()))},
        {"a number that is not finite", notANumber},
    };
    for (const auto& [what, damaged] : cases) {
        data.Write("graphics/ships/hull.pointcube", damaged);
        PointSandwich rebuilt("ships/hull", hull.get(), true, graphics);
        EXPECT_FALSE(rebuilt.cells.empty()) << what << ": built, not read";
        EXPECT_EQ(rebuilt.indices, sound.indices) << what;
        PointSandwich reread("ships/hull", nullptr, false, graphics);
        EXPECT_EQ(reread.indices, sound.indices) << what << ": the cache was written again";
    }
}

TEST_F(PointSandwichTest, long_thin_and_shapeless_meshes_stay_bounded)
{
    const auto thin = qeltest::TriangleMesh(graphics, "thin", qeltest::Rectangle(-5000, -0.5f, 5000, 0.5f));
    PointSandwich longShell("ships/thin", thin.get(), false, graphics);
    EXPECT_LE(longShell.columns, PointSandwich::kMaxGridSide);
    EXPECT_LE(longShell.rows, PointSandwich::kMaxGridSide);
    EXPECT_FALSE(longShell.vertices.empty());

    const auto point = qeltest::TriangleMesh(graphics, "point", {{1, 2, 3}, {1, 2, 3}, {1, 2, 3}});
    PointSandwich empty("ships/point", point.get(), false, graphics);
    EXPECT_TRUE(empty.vertices.empty());
    EXPECT_EQ(empty.vertexList, nullptr);
    float distance = 0;
    glm::vec3 hit, normal;
    EXPECT_FALSE(empty.RayCast({0, 10, 0}, {0, -1, 0}, distance, hit, normal));
    empty.Draw(glm::mat4(1.0f), glm::mat4(1.0f), glm::vec4(1.0f));
}

}  // namespace
