#include "game/render/DrawDataHullSilhouettes.h"

#include <gtest/gtest.h>

#include "engine/base/QelQuietGraphics.h"
#include "game/world/ShipData.h"
#include "tests/support/GeneratedData.h"
#include "tests/support/TempFolder.h"

namespace {

using qeltest::ScopedEnv;
using qeltest::TempFolder;

class DrawDataHullSilhouettesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qeltest::LinkGeneratedData(data);
        ShipData& ships = ShipData::Instance();
        ships.ClearRecords(ships.mainRecords);
        ships.LoadMain();
    }
    void TearDown() override { ShipData::Instance().ClearRecords(ShipData::Instance().mainRecords); }

    TempFolder data;
    ScopedEnv dataDir{"QEL_DATA_DIR", data.Path().string()};
    QelQuietGraphics graphics;
};

TEST_F(DrawDataHullSilhouettesTest, a_server_without_a_display_gets_the_frigates_large_silhouette_and_small_box)
{
    DrawDataHullSilhouettes silhouettes(graphics);
    const std::optional<HullSilhouette> hull = silhouettes.FindHullSilhouette("tern_frigate");
    ASSERT_TRUE(hull.has_value());
    ASSERT_TRUE(hull->IsWhole());
    EXPECT_EQ(hull->width, 1024);
    EXPECT_EQ(hull->AlphaAt(512, 512), 255);  // the hull's middle
    EXPECT_EQ(hull->AlphaAt(2, 2), 0);
    // The box lies on clear rows and columns of the small image, around the hull.
    EXPECT_LT(hull->left, 108);
    EXPECT_GT(hull->bottom, 148);
    ObjectTypeDrawData drawData("tern_frigate", graphics);
    EXPECT_EQ(hull->left, drawData.silhouetteLeft);
    EXPECT_EQ(hull->bottom, drawData.silhouetteBottom);
}

TEST_F(DrawDataHullSilhouettesTest, a_lookup_serves_the_draw_data_its_holder_keeps_and_a_type_without_silhouette_has_none)
{
    ObjectTypeDrawData empty;
    int asked = 0;
    DrawDataHullSilhouettes silhouettes([&](const std::string& key) -> const ObjectTypeDrawData& {
        ++asked;
        EXPECT_EQ(key, "skarn_raider");
        return empty;
    });
    EXPECT_FALSE(silhouettes.FindHullSilhouette("skarn_raider").has_value());
    EXPECT_EQ(asked, 1);
}

}  // namespace
