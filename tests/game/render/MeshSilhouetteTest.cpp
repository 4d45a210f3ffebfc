#include "game/render/MeshSilhouette.h"
#include "game/render/ObjectTypeDrawData.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "engine/base/QelQuietGraphics.h"
#include "tests/game/render/MeshFixtures.h"
#include "tests/support/TempFolder.h"

namespace {

using qeltest::ScopedEnv;
using qeltest::TempFolder;

class MeshSilhouetteTest : public ::testing::Test {
protected:
    static bool Opaque(Qel2dBitmap* bitmap, int x, int y)
    {
        float a = 0, r, g, b;
        bitmap->GetPixel(x, y, a, r, g, b);
        return a > 0.5f;
    }
    // Columns of the image's middle row that are opaque: first and last.
    static std::pair<int, int> OpaqueColumns(Qel2dBitmap* bitmap, int row)
    {
        int first = -1, last = -1;
        for (int x = 0; x < bitmap->GetWidth(); ++x)
            if (Opaque(bitmap, x, row)) {
                first = first < 0 ? x : first;
                last = x;
            }
        return {first, last};
    }

    TempFolder data;
    ScopedEnv dataDir{"QEL_DATA_DIR", data.Path().string()};
    QelQuietGraphics graphics;
};

TEST_F(MeshSilhouetteTest, the_hull_covers_half_of_each_image_centred_on_its_origin_and_is_saved)
{
    // 40 wide (x), 20 deep (z), offset so the image is centred on the origin, not the box.
    const auto mesh = qeltest::TriangleMesh(graphics, "hull", qeltest::Rectangle(-10, -10, 30, 10));
    for (int pixels : {256, 1024}) {
        MeshSilhouette silhouette("hull", mesh.get(), pixels, true, graphics);
        ASSERT_NE(silhouette.bitmap, nullptr) << pixels;
        EXPECT_EQ(silhouette.bitmap->GetWidth(), pixels);
        EXPECT_FLOAT_EQ(silhouette.scale, 40.0f / static_cast<float>(pixels / 2));
        const int centre = pixels / 2, quarter = pixels / 4;
        const auto [first, last] = OpaqueColumns(silhouette.bitmap, centre);
        EXPECT_NEAR(first, centre - quarter / 2, 1) << pixels;  // x = -10
        EXPECT_NEAR(last, centre + 3 * quarter / 2, 1) << pixels;  // x = 30
        EXPECT_FALSE(Opaque(silhouette.bitmap, centre, centre - quarter / 2 - 2)) << pixels;  // z < -10
        EXPECT_TRUE(std::filesystem::exists(data.Path() / "graphics" / "ships" / ("hull" + std::to_string(pixels) + ".png")));
    }
    // The stored image answers later, even without a mesh.
    QelQuietGraphics later;
    MeshSilhouette stored("hull", nullptr, 256, false, later);
    ASSERT_NE(stored.bitmap, nullptr);
    EXPECT_TRUE(Opaque(stored.bitmap, 128, 128));
    EXPECT_EQ(MeshSilhouette("other", nullptr, 256, false, later).bitmap, nullptr);
}

TEST_F(MeshSilhouetteTest, a_stored_image_of_the_wrong_size_is_drawn_again)
{
    QelPixelImage small;
    small.Resize(16, 16);
    std::filesystem::create_directories(data.Path() / "graphics" / "ships");
    ASSERT_TRUE(small.SavePNG((data.Path() / "graphics" / "ships" / "hull256.png").string()));
    const auto mesh = qeltest::TriangleMesh(graphics, "hull", qeltest::Rectangle(-10, -10, 10, 10));
    MeshSilhouette silhouette("hull", mesh.get(), 256, false, graphics);
    ASSERT_NE(silhouette.bitmap, nullptr);
    EXPECT_EQ(silhouette.bitmap->GetWidth(), 256);
    EXPECT_TRUE(Opaque(silhouette.bitmap, 128, 128));
}

TEST_F(MeshSilhouetteTest, triangles_fill_by_rows_and_leave_out_what_is_outside_or_not_a_number)
{
    MeshSilhouette silhouette("fills", nullptr, 64, false, graphics);
    ASSERT_EQ(silhouette.bitmap, nullptr);
    silhouette.bitmap = graphics.GetRenderTarget("fills", 64, 64, false);
    silhouette.FillTriangle({10, 5}, {40, 5}, {20, 5});  // one row: nothing
    EXPECT_FALSE(Opaque(silhouette.bitmap, 20, 5));
    silhouette.FillTriangle({10, 10}, {30, 30}, {10, 30});
    EXPECT_TRUE(Opaque(silhouette.bitmap, 12, 28));
    EXPECT_TRUE(Opaque(silhouette.bitmap, 10, 10));
    EXPECT_FALSE(Opaque(silhouette.bitmap, 28, 12));  // the other side of the diagonal
    silhouette.FillTriangle({NAN, 0}, {5, 5}, {0, 5});
    silhouette.FillTriangle({-1e30f, -1e30f}, {1e30f, 1e30f}, {-1e30f, 1e30f});  // reaches far past the image
    EXPECT_TRUE(Opaque(silhouette.bitmap, 0, 63));
}

// Authored 256-pixel silhouettes for the opaque-box search.
class SilhouetteBoundsTest : public ::testing::Test {
protected:
    void Fill(int left, int top, int right, int bottom)
    {
        for (int y = top; y <= bottom; ++y)
            for (int x = left; x <= right; ++x)
                image->SetPixel(x, y, 1, 1, 1, 1);
    }
    void ExpectBox(int left, int top, int right, int bottom)
    {
        data.silhouette = image;
        data.FindSilhouetteBounds();
        EXPECT_EQ(data.silhouetteLeft, left);
        EXPECT_EQ(data.silhouetteTop, top);
        EXPECT_EQ(data.silhouetteRight, right);
        EXPECT_EQ(data.silhouetteBottom, bottom);
    }

    QelQuietGraphics graphics;
    Qel2dBitmap* image = graphics.GetRenderTarget("bounds", 256, 256, false);
    ObjectTypeDrawData data;
};

TEST_F(SilhouetteBoundsTest, without_a_silhouette_or_with_one_inside_the_start_box_the_box_stays)
{
    EXPECT_EQ(data.silhouetteLeft, 0);  // an empty record has searched nothing
    data.FindSilhouetteBounds();
    EXPECT_EQ(data.silhouetteLeft, 108);
    EXPECT_EQ(data.silhouetteBottom, 148);
    Fill(115, 120, 140, 130);
    ExpectBox(108, 108, 148, 148);
}

TEST_F(SilhouetteBoundsTest, a_wider_hull_grows_the_box_until_each_edge_lies_clear)
{
    Fill(60, 125, 200, 135);  // a long thin hull across the start box
    Fill(95, 100, 100, 150);  // a fin that reaches the top edge through the grown left part
    ExpectBox(59, 99, 201, 151);
}

TEST_F(SilhouetteBoundsTest, a_hull_that_reaches_the_border_stops_the_search_there)
{
    Fill(0, 120, 255, 136);
    Fill(128, 0, 130, 255);
    ExpectBox(0, 0, 255, 255);
}

}  // namespace
