#include "game/render/ObjectTypeDrawData.h"
#include "game/render/MeshSilhouette.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/base/QelQuietGraphics.h"
#include "game/world/ShipData.h"
#include "helper/Hjson.h"
#include "tests/game/render/MeshFixtures.h"
#include "tests/support/GeneratedData.h"
#include "tests/support/TempFolder.h"

namespace {

using qeltest::ScopedEnv;
using qeltest::TempFolder;

// The ship definitions of the test, in the process's one ShipData.
class ShipDefinitions {
public:
    ShipDefinitions() { Clear(); }
    ~ShipDefinitions() { Clear(); }
    ShipDefinitions(const ShipDefinitions&) = delete;
    ShipDefinitions& operator=(const ShipDefinitions&) = delete;

    static void Clear()
    {
        ShipData& ships = ShipData::Instance();
        ships.ClearRecords(ships.mainRecords);
        ships.ClearRecords(ships.extraRecords);
        ships.missCounters.clear();
    }
};

std::string Record(const std::string& key, const std::string& root, const std::string& extra = "")
{
    return "{ key: \"" + key + "\", name: \"n\", side: \"s\", origin: \"o\", artfileroot: \"" + root +
           "\", long_desc: \"d\", meshscale: 1, radarscale: 1, defaultside: 0, meshrotate: 0, hullpoints: 1,"
           " movespeed: 0, exclusionradius: 10, interactionradius: 0, monster_style: \"\" " + extra + " }\n";
}

int OpaquePixels(Qel2dBitmap* bitmap)
{
    int count = 0;
    for (int y = 0; y < bitmap->GetHeight(); ++y)
        for (int x = 0; x < bitmap->GetWidth(); ++x) {
            float a = 0, r, g, b;
            bitmap->GetPixel(x, y, a, r, g, b);
            count += a > 0.5f;
        }
    return count;
}

class ObjectTypeDrawDataTest : public ::testing::Test {
protected:
    std::filesystem::path Ships() const { return data.Path() / "graphics" / "ships"; }

    TempFolder data;
    ScopedEnv dataDir{"QEL_DATA_DIR", data.Path().string()};
    ShipDefinitions definitions;
    QelQuietGraphics graphics;
};

TEST_F(ObjectTypeDrawDataTest, every_hull_of_the_game_has_its_own_mesh_silhouettes_and_shell_where_shielded)
{
    qeltest::LinkGeneratedData(data);
    ShipData& ships = ShipData::Instance();
    ships.LoadMain();
    ASSERT_FALSE(ships.mainRecords.empty());
    for (const auto& record : ships.mainRecords) {
        const std::string& root = record->artFileRoot;
        ObjectTypeDrawData drawData(record->key, graphics);
        ASSERT_NE(drawData.mesh, nullptr) << record->key;
        ASSERT_FALSE(drawData.mesh->units.empty()) << record->key;
        EXPECT_EQ(drawData.mesh->units[0].vertListNames[0].rfind("ships/" + root + "_", 0), 0u) << record->key;
        EXPECT_EQ(drawData.mesh->units[0].shaderName, "Redwood");
        EXPECT_GT(drawData.size, 0.0f) << record->key;
        ASSERT_NE(drawData.silhouette, nullptr) << record->key;
        ASSERT_NE(drawData.largeSilhouette, nullptr) << record->key;
        EXPECT_EQ(drawData.largeSilhouette->GetWidth(), 1024);
        // Half of the image's side is the hull's larger extent: a ship shows as a shape, not a speck.
        EXPECT_GT(OpaquePixels(drawData.silhouette), 256 * 256 / 40) << record->key;
        EXPECT_LE(drawData.silhouetteLeft, 108) << record->key;
        EXPECT_GE(drawData.silhouetteRight, 148) << record->key;
        EXPECT_EQ(drawData.pointSandwich != nullptr, !record->shields.empty()) << record->key;
        EXPECT_TRUE(std::filesystem::exists(Ships() / (root + "256.png"))) << root;
        EXPECT_TRUE(std::filesystem::exists(Ships() / (root + "1024.png"))) << root;
        EXPECT_TRUE(std::filesystem::exists(Ships() / (root + ".qelmesh"))) << root;
        EXPECT_EQ(std::filesystem::exists(Ships() / (root + ".pointcube")), !record->shields.empty()) << root;
    }
    EXPECT_TRUE(ships.missCounters.empty());
}

TEST_F(ObjectTypeDrawDataTest, keys_are_found_in_any_case_and_a_hull_without_a_mesh_is_drawn_as_the_unknown_one)
{
    ShipData::LoadDocument(ShipData::Instance().mainRecords, ShipData::Instance().mainKeys,
                           Hjson::Unmarshal("{ \"#ship-list\": [\n" + Record("unknown", "mystery") +
                                            Record("alpha", "Alpha", ", shields: [40]") + Record("beta", "missing_art") +
                                            Record("gamma", "../../outside", ", shields: [5]") +
                                            "] }"),
                           "test");
    const auto save = [&](const std::string& name, const std::vector<glm::vec3>& corners) {
        ASSERT_TRUE(graphics.Save3DMesh("", "ships/" + name, *qeltest::TriangleMesh(graphics, name, corners)));
    };
    save("mystery", qeltest::Box({-10, -5, -10}, {10, 5, 10}));
    save("Alpha", qeltest::Box({-20, -4, -60}, {20, 8, 40}));

    const std::string key = "ALPHA";
    ObjectTypeDrawData alpha(key, graphics);
    EXPECT_EQ(key, "ALPHA");
    ASSERT_NE(alpha.mesh, nullptr);
    EXPECT_FLOAT_EQ(alpha.size, 100.0f);  // z extent; the height is not counted
    EXPECT_NE(alpha.pointSandwich, nullptr);
    EXPECT_NE(graphics.Find2DBitmap("ships/Alpha256"), nullptr);

    for (const char* fallsBack : {"beta", "no_such_hull", "gamma"}) {
        ObjectTypeDrawData drawn(fallsBack, graphics);
        ASSERT_NE(drawn.mesh, nullptr) << fallsBack;
        EXPECT_EQ(drawn.mesh->units[0].vertListNames[0], "mystery_verts") << fallsBack;
        EXPECT_FLOAT_EQ(drawn.size, 20.0f) << fallsBack;
        EXPECT_EQ(drawn.pointSandwich != nullptr, std::string(fallsBack) == "gamma") << fallsBack;
        EXPECT_NE(drawn.silhouette, nullptr) << fallsBack;
    }
    // Names that would leave the data folder keep nothing there or beside it.
    EXPECT_EQ(MeshSilhouette("../../outside", alpha.mesh.get(), 256, true, graphics).bitmap, nullptr);
    PointSandwich outside("ships/../../../outside", alpha.mesh.get(), true, graphics);
    EXPECT_FALSE(outside.vertices.empty());
    EXPECT_FALSE(std::filesystem::exists(data.Path().parent_path() / "outside.pointcube"));
}

TEST_F(ObjectTypeDrawDataTest, a_mesh_that_arrived_over_the_network_gets_its_silhouettes_and_shell_kept_in_memory)
{
    ShipData::LoadDocument(ShipData::Instance().mainRecords, ShipData::Instance().mainKeys,
                           Hjson::Unmarshal("{ \"#ship-list\": [\n" + Record("unknown", "mystery") +
                                            Record("alpha", "Alpha", ", shields: [40]") + Record("beta", "Beta") +
                                            "] }"),
                           "test");
    for (const char* key : {"Alpha", "beta"}) {
        ObjectTypeDrawData arrived;
        arrived.mesh = qeltest::TriangleMesh(graphics, key, qeltest::Box({-20, -4, -60}, {20, 8, 40}));
        arrived.RebuildFromMesh(key, graphics);
        EXPECT_FLOAT_EQ(arrived.size, 100.0f) << key;
        ASSERT_NE(arrived.silhouette, nullptr) << key;
        ASSERT_NE(arrived.largeSilhouette, nullptr) << key;
        EXPECT_GT(OpaquePixels(arrived.silhouette), 256 * 256 / 10) << key;
        EXPECT_LT(arrived.silhouetteTop, 108) << key;  // the box grew over the hull
        EXPECT_EQ(arrived.pointSandwich != nullptr, std::string(key) == "Alpha") << key;
    }
    EXPECT_FALSE(std::filesystem::exists(Ships()));
}

}  // namespace
