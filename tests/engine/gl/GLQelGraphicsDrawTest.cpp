#include <gtest/gtest.h>

#include "engine/base/QelPixelImage.h"
#include "engine/gl/GLQELShaderRoot.h"
#include "engine/gl/GLQel2DBitmap.h"
#include "tests/support/GameDataFolder.h"
#include "tests/support/OffscreenGraphicsTest.h"
#include "tests/support/TempFolder.h"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr float kRed[4] = {1, 0, 0, 1};
constexpr float kHalfGreen[4] = {0, 1, 0, 0.5f};
constexpr float kBlue[4] = {0, 0, 1, 1};
constexpr float kWhite[4] = {1, 1, 1, 1};

using qeltest::Rgb;

// A real window and context on the offscreen driver, the service on it.
class GLQelGraphicsDrawTest : public qeltest::OffscreenGraphicsTest {
protected:
    GLQelGraphicsDrawTest() : OffscreenGraphicsTest(kWidth, kHeight) {}

    void SetUp() override
    {
        OffscreenGraphicsTest::SetUp();
        white = graphics.Find2DBitmap("smallWhite");
        ASSERT_NE(white, nullptr);
    }

    void Quad(Qel2dBitmap* bitmap, float left, float top, float right, float bottom, const float* colour, int key)
    {
        bitmap->SetDestRect(left, top, right, bottom);
        bitmap->DrawQuad(colour, key, false);
    }

    // Lit pixels' horizontal extent inside a band of rows.
    std::pair<int, int> LitColumns(int top, int bottom) const
    {
        int first = kWidth, last = -1;
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < kWidth; ++x)
                if (At(x, y)[0] > 128) {
                    first = std::min(first, x);
                    last = std::max(last, x);
                }
        return {first, last};
    }

    Qel2dBitmap* white = nullptr;
};

TEST_F(GLQelGraphicsDrawTest, uniform_blocks_have_the_specified_byte_sizes)
{
    auto* normal = static_cast<GLQELShaderRoot*>(graphics.GetShader("2DNormal"));
    auto* flat = static_cast<GLQELShaderRoot*>(graphics.GetShader("Flat"));
    auto* facing = static_cast<GLQELShaderRoot*>(graphics.GetShader("FlatFacing"));
    auto* blur = static_cast<GLQELShaderRoot*>(graphics.GetShader("2DBlurAdd"));
    EXPECT_EQ(normal->ConstantBlockSize(), 16);
    EXPECT_EQ(blur->ConstantBlockSize(), 16);
    EXPECT_EQ(flat->ConstantBlockSize(), 208);
    EXPECT_EQ(facing->ConstantBlockSize(), 208);
}

TEST_F(GLQelGraphicsDrawTest, sprites_lines_and_quads_land_where_drawn_in_order_key_order_and_blend)
{
    Quad(white, 10, 10, 50, 30, kRed, 1);
    Quad(white, 30, 10, 70, 30, kHalfGreen, 2);  // drawn after the red: blends over it
    Quad(white, 100, 200, 140, 230, kBlue, 0);    // near the bottom of the screen
    white->DrawLine(10, 100.5f, 200, 100.5f, 0, kWhite, false);
    white->DrawRotated(250, 50, 0.0f, 4.0f, 0, kRed, false);  // 8 x 8 scaled 4 times
    graphics.Flush2D();
    ReadScreen();

    EXPECT_EQ(At(20, 20), (Rgb{255, 0, 0}));
    const Rgb blended = At(40, 20);
    EXPECT_NEAR(blended[0], 127, 2);
    EXPECT_NEAR(blended[1], 127, 2);
    EXPECT_NEAR(At(60, 20)[1], 127, 1);
    EXPECT_EQ(At(60, 20)[0], 0);
    EXPECT_EQ(At(80, 20), (Rgb{0, 0, 0}));
    EXPECT_EQ(At(120, 215)[2], 255);  // the right way up: low y at the top
    EXPECT_EQ(At(120, 20)[2], 0);
    EXPECT_EQ(At(100, 100), (Rgb{255, 255, 255}));
    EXPECT_EQ(At(100, 104)[0], 0);
    EXPECT_EQ(At(250, 50)[0], 255);
    EXPECT_EQ(At(250 + 14, 50 - 14)[0], 255);
    EXPECT_EQ(At(250 + 18, 50)[0], 0);
}

// A sprite covers the inked part of its image only, turned with it: its clear
// margin leaves the target's pixels as they were (a clear pixel drawn there
// would square the alpha under it). A pixel inked after a draw shows in the
// next one.
TEST_F(GLQelGraphicsDrawTest, a_sprite_covers_only_its_inked_part_and_follows_new_ink)
{
    constexpr float kHalfClearBlue[4] = {0, 0, 1, 0.5f};
    constexpr float kQuarterTurn = 1.5707964f;
    auto* sprite = static_cast<GLQel2DBitmap*>(graphics.GetRenderTarget("inked", 16, 16, false));
    auto* target = static_cast<GLQel2DBitmap*>(graphics.GetRenderTarget("sprites", 160, 120, true));
    const auto drawSprite = [&] {
        target->SetAsRenderTarget(true, true, kHalfClearBlue);
        sprite->DrawRotated(80, 60, kQuarterTurn, 4.0f, 0, kWhite, false);
        graphics.Flush2D();
        target->SetAsRenderTarget(false, false, kBlue);
        target->ReadBackPixels();
    };
    const auto pixel = [&](int x, int y) {
        float a, r, g, b;
        target->GetPixel(x, y, a, r, g, b);
        return std::array{r, g, b, a};
    };

    sprite->SetPixel(2, 2, 1, 1, 0, 0);  // 22 pixels up and left of the middle, before the turn
    drawSprite();
    EXPECT_EQ(pixel(58, 82), (std::array{1.0f, 0.0f, 0.0f, 1.0f}));  // turned a quarter clockwise
    EXPECT_EQ(pixel(58, 38)[2], 1.0f);
    EXPECT_EQ(pixel(80, 60), pixel(5, 5));  // the clear middle left alone, alpha and all

    sprite->SetPixel(13, 13, 1, 1, 0, 0);
    drawSprite();
    EXPECT_EQ(pixel(102, 38)[0], 1.0f);
    EXPECT_EQ(pixel(58, 82)[0], 1.0f);
}

TEST_F(GLQelGraphicsDrawTest, centred_and_right_aligned_text_sit_in_their_boxes)
{
    QelBitmapFont* font = graphics.LoadFont("DefaultSans", 20);
    font->SetTextRect(0, 0, kWidth, 40);
    font->DrawTextCentered("Halvex", kWhite, 0);
    font->SetTextRect(0, 100, 300, 140);
    font->DrawTextRight("Bridge", kWhite, 0);
    graphics.Flush2D();
    ReadScreen();

    const auto [centreFirst, centreLast] = LitColumns(0, 40);
    ASSERT_LE(centreFirst, centreLast);
    EXPECT_NEAR((centreFirst + centreLast) / 2.0, kWidth / 2.0, 3.0);
    const auto [rightFirst, rightLast] = LitColumns(100, 140);
    ASSERT_LE(rightFirst, rightLast);
    EXPECT_NEAR(rightLast, 299, 3);
    EXPECT_NEAR(rightLast - rightFirst, font->GetTextWidth("Bridge"), 4);
    EXPECT_EQ(LitColumns(45, 95).second, -1);  // nothing between the boxes
}

TEST_F(GLQelGraphicsDrawTest, render_target_draws_reads_back_and_saves_the_right_way_up)
{
    auto* target = static_cast<GLQel2DBitmap*>(graphics.GetRenderTarget("panel", 64, 32, true));
    target->SetAsRenderTarget(true, true, kBlue);
    EXPECT_EQ(graphics.DeviceWidth(), 64);
    Quad(white, 0, 0, 16, 8, kRed, 0);  // top-left corner of the bitmap
    graphics.Flush2D();
    target->SetAsRenderTarget(false, false, kBlue);
    EXPECT_EQ(graphics.DeviceWidth(), kWidth);

    target->ReadBackPixels();
    float a, r, g, b;
    target->GetPixel(2, 2, a, r, g, b);
    EXPECT_EQ(r, 1.0f);
    target->GetPixel(40, 28, a, r, g, b);
    EXPECT_EQ(b, 1.0f);
    EXPECT_EQ(r, 0.0f);

    Quad(target, 100, 100, 164, 132, kWhite, 0);
    graphics.Flush2D();
    ReadScreen();
    EXPECT_EQ(At(102, 102)[0], 255);  // red stays in the top-left corner on screen
    EXPECT_EQ(At(160, 128)[2], 255);

    qeltest::TempFolder folder;
    ASSERT_TRUE(target->SavePNG(folder / "panel"));
    QelPixelImage saved;
    std::string error;
    ASSERT_TRUE(saved.LoadImageFile(folder / "panel.png", error)) << error;
    saved.GetPixel(2, 2, a, r, g, b);
    EXPECT_EQ(r, 1.0f);
    EXPECT_FALSE(target->SavePNG("/nonexistent-folder/panel"));
}

// A copy puts on the screen what drawing the bitmap there shows: the right
// way up, at its own size and stretched, and it replaces what was there.
TEST_F(GLQelGraphicsDrawTest, a_bitmap_copied_to_the_screen_shows_what_drawing_it_there_does)
{
    auto* target = static_cast<GLQel2DBitmap*>(graphics.GetRenderTarget("picture", 64, 32, true));
    target->SetAsRenderTarget(true, true, kBlue);
    Quad(white, 0, 0, 16, 8, kRed, 0);
    Quad(white, 40, 20, 64, 32, kWhite, 0);
    graphics.Flush2D();
    target->SetAsRenderTarget(false, false, kBlue);

    struct Case {
        QelRect from, to;
    };
    const Case cases[] = {{{0, 0, 64, 32}, {100, 50, 164, 82}}, {{8, 4, 56, 28}, {20, 120, 212, 216}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.to.left);
        context.Clear();
        const bool stretched = c.to.right - c.to.left != c.from.right - c.from.left;
        target->SetDrawProcess(graphics.GetShader("2DNormal"), stretched, false);
        target->SetSourceRectInt(c.from);
        target->SetDestRectInt(c.to);
        target->DrawQuad(kWhite, 0, false);
        graphics.Flush2D();
        ReadScreen();
        const std::vector<uint8_t> drawn = screen;

        context.Clear();
        Quad(white, 0, 0, kWidth, kHeight, kHalfGreen, 0);  // what the copy replaces
        ASSERT_TRUE(graphics.CopyToScreen(*target, c.from, c.to));
        ReadScreen();
        int differing = 0;
        for (int y = c.to.top; y < c.to.bottom; ++y)
            for (int x = c.to.left; x < c.to.right; ++x) {
                const Rgb copied = At(x, y);
                const uint8_t* expected = &drawn[(static_cast<size_t>(kHeight - 1 - y) * kWidth + x) * 4];
                differing += copied[0] != expected[0] || copied[1] != expected[1] || copied[2] != expected[2];
            }
        // Filters may round a stretched edge's texel differently.
        EXPECT_LE(differing, (c.to.right - c.to.left) * 2);
        EXPECT_EQ(At(c.to.left + 1, c.to.top + 1)[0], 255) << "red stays top-left";
        EXPECT_EQ(At(c.to.right - 2, c.to.bottom - 2)[1], 255);
        EXPECT_EQ(At(c.to.left + 1, c.to.bottom - 2)[2], 255);
        EXPECT_EQ(At(c.to.left - 2, c.to.top)[1], 128) << "only the rectangle is copied";
    }
}

TEST_F(GLQelGraphicsDrawTest, texture_loaded_from_a_png_draws_its_rows_top_first)
{
    qeltest::TempFolder data;
    QelPixelImage image;
    image.Resize(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            image.SetPixel(x, y, 1, y < 2 ? 1.0f : 0.0f, y < 2 ? 0.0f : 1.0f, 0);
    std::filesystem::create_directories(data.Path() / "graphics");
    ASSERT_TRUE(image.SavePNG((data.Path() / "graphics" / "stripes.png").string()));
    setenv("QEL_DATA_DIR", data.Path().c_str(), 1);
    Qel2dBitmap* stripes = graphics.Load2DBitmap("stripes");
    setenv("QEL_DATA_DIR", qeltest::GameDataFolder().c_str(), 1);
    ASSERT_NE(stripes, nullptr);
    EXPECT_EQ(stripes->GetWidth(), 4);

    Quad(stripes, 0, 0, 40, 40, kWhite, 0);
    graphics.Flush2D();
    ReadScreen();
    EXPECT_EQ(At(20, 5), (Rgb{255, 0, 0}));
    EXPECT_EQ(At(20, 35), (Rgb{0, 255, 0}));

    // An image from a file carries a whole mip chain for meshes seen from
    // afar: the stripes halve, and the last level is their mean.
    glBindTexture(GL_TEXTURE_2D, static_cast<GLQel2DBitmap*>(stripes)->Texture());
    GLint halfWidth = 0, lastWidth = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &halfWidth);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 2, GL_TEXTURE_WIDTH, &lastWidth);
    EXPECT_EQ(halfWidth, 2);
    EXPECT_EQ(lastWidth, 1);
    GLint maxLevel = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, &maxLevel);
    EXPECT_EQ(maxLevel, 2) << "the texture ends at its 1 x 1 level";
    uint8_t half[2 * 2 * 4] = {};
    uint8_t last[4] = {};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 1, GL_RGBA, GL_UNSIGNED_BYTE, half);
    glGetTexImage(GL_TEXTURE_2D, 2, GL_RGBA, GL_UNSIGNED_BYTE, last);
    EXPECT_EQ((Rgb{half[0], half[1], half[2]}), (Rgb{255, 0, 0}));
    EXPECT_EQ((Rgb{half[8], half[9], half[10]}), (Rgb{0, 255, 0}));
    EXPECT_EQ((Rgb{last[0], last[1], last[2]}), (Rgb{128, 128, 0}));
}

TEST_F(GLQelGraphicsDrawTest, shader_that_does_not_compile_fails_and_leaves_the_compiler_text_in_shader_error_txt)
{
    qeltest::TempFolder data;
    qeltest::TempFolder work;
    const qeltest::ScopedEnv dataFolder("QEL_DATA_DIR", data.Path().string());
    const qeltest::ScopedWorkingFolder workingFolder(work.Path());
    data.Write("graphics/shader-broken.vs",
               "#version 330 core\nlayout(location = 0) in vec3 position;\n"
               "void main() { gl_Position = vec4(position, 1.0); }\n");
    data.Write("graphics/shader-broken.ps",
               "#version 330 core\nout vec4 colour;\nvoid main() { colour = vec4(1.0) + undeclared; }\n");

    GLQELShaderRoot shader;
    EXPECT_FALSE(shader.CompileShaders(window, "data/graphics/shader-broken.vs", "data/graphics/shader-broken.ps"));
    EXPECT_FALSE(shader.IsReady());
    const std::string report = work.Read("shader-error.txt");
    EXPECT_NE(report.find("undeclared"), std::string::npos) << report;
}

}  // namespace

