// The render manager's screen features drawn by the real graphics service on
// the offscreen driver: the sky behind the menu scenes, from the star field
// the build draws, and a ship turning in its box. Saved as sky-background.png
// and ship-in-box.png in the working folder for a person to look at.

#include "game/render/manager/RenderManager.h"

#include "game/ui/UIContext.h"
#include "tests/game/render/manager/Render3DDrawFixture.h"

#include <gtest/gtest.h>

#include <glm/geometric.hpp>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

using qeltest::Rgb;

int Brightness(const Rgb& c)
{
    return (c[0] + c[1] + c[2]) / 3;
}

// The silhouettes made from the meshes are written into the test's own
// data folder.
class ScreenFeaturesDrawTest : public qeltest::Render3DDrawFixture {
protected:
    ScreenFeaturesDrawTest() : Render3DDrawFixture(kWidth, kHeight, {}) {}

    void SetUp() override
    {
        Render3DDrawFixture::SetUp();
        manager = std::make_unique<RenderManager>(StayingScene);
        manager->Setup();
    }

    // The sky as seen looking along the direction.
    void DrawSkyToward(const glm::vec3& direction)
    {
        context.Clear();
        graphics.SetPerspective(1.0471976f, static_cast<float>(kWidth) / kHeight, 1.0f, 10000.0f);
        ASSERT_NE(manager->SkyBox(), nullptr);
        Camera camera;
        manager->SkyBox()->Draw(camera.LookAt(glm::vec3(0.0f), -100.0f * direction));
        graphics.Flush2D();
        ReadScreen();
    }

    double MeanBrightness(const IntRect& r) const
    {
        double total = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                total += Brightness(At(x, y));
        return total / (static_cast<double>(r.Width()) * r.Height());
    }

};

TEST_F(ScreenFeaturesDrawTest, the_menu_sky_is_our_star_field_dark_with_bright_stars_and_a_band_of_gas)
{
    ASSERT_NE(manager->SkyBox()->Texture(), nullptr) << "the build draws data/graphics/sky1.png";
    context.Clear();
    manager->tickCounter = 800;  // turned a little
    manager->DrawSkyBackground();
    graphics.Flush2D();
    ReadScreen();
    ASSERT_TRUE(SaveScreen("sky-background.png"));

    std::vector<int> levels;
    for (int y = 0; y < kHeight; y += 3)
        for (int x = 0; x < kWidth; x += 3)
            levels.push_back(Brightness(At(x, y)));
    std::sort(levels.begin(), levels.end());
    EXPECT_LT(levels[levels.size() / 2], 40);  // mostly the dark of space
    EXPECT_GT(levels.back(), 150);             // and stars
    EXPECT_GT(std::count_if(levels.begin(), levels.end(), [](int level) { return level > 100; }), 30);

    // The band of gas and crowded stars lies square to its pole: the sky is
    // brighter looking along it than looking at the pole, which shows that
    // every face shows the part of the sky that lies in its direction.
    const glm::vec3 pole = glm::normalize(glm::vec3(0.35f, 0.62f, -0.70f));
    const glm::vec3 alongBand = glm::normalize(glm::cross(pole, glm::vec3(0, 1, 0)));
    const IntRect middle{kWidth / 4, kHeight / 4, kWidth * 3 / 4, kHeight * 3 / 4};
    DrawSkyToward(pole);
    const double atPole = MeanBrightness(middle);
    for (const glm::vec3& direction : {alongBand, -alongBand}) {
        DrawSkyToward(direction);
        EXPECT_GT(MeanBrightness(middle), atPole * 1.5) << direction.x << "," << direction.y << "," << direction.z;
    }
}

TEST_F(ScreenFeaturesDrawTest, a_ship_turns_in_its_box_slowly_and_fills_only_the_box)
{
    Qel2dBitmap* target = graphics.GetRenderTarget("ship box test", 500, 500, true);
    const IntRect box{100, 150, 500, 450};
    input.milliseconds = 1000;
    manager->shipBoxLastMs = 1000;
    context.Clear();
    manager->DrawShipInBox(target, "TERN_FRIGATE", box);
    ReadScreen();
    ASSERT_TRUE(SaveScreen("ship-in-box.png"));

    const Rgb background = At(5, 5);
    int inside = 0, outside = 0;
    for (int y = 0; y < kHeight; y += 2)
        for (int x = 0; x < kWidth; x += 2) {
            const bool drawn = At(x, y) != background;
            (box.Contains(x, y) ? inside : outside) += drawn ? 1 : 0;
        }
    EXPECT_GT(inside, 2000);  // the ship stands out in its box
    EXPECT_EQ(outside, 0);

    // A second of drawing turns it by 0.1 radian; a long pause by no more
    // than 0.02.
    const float start = manager->shipBoxAngle;
    for (int step = 0; step < 50; ++step) {
        input.milliseconds += 20;
        manager->DrawShipInBox(target, "tern_frigate", box);
    }
    EXPECT_NEAR(manager->shipBoxAngle - start, 0.1f, 1e-4f);
    input.milliseconds += 60000;
    manager->DrawShipInBox(target, "tern_frigate", box);
    EXPECT_NEAR(manager->shipBoxAngle - start, 0.12f, 1e-4f);
    EXPECT_EQ(manager->GetObjectTypeDrawData("tern_frigate"), manager->GetObjectTypeDrawData("tern_frigate"));
}

}  // namespace
