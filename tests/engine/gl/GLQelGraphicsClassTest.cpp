#include "engine/gl/GLQelGraphicsClass.h"

#include <gtest/gtest.h>

#include "engine/gl/GLQELFont.h"
#include "engine/gl/GLQel2DBitmap.h"
#include "engine/gl/QelShaderRegistry.h"
#include "helper/QelAssert.h"

namespace {

// The service without a GL context: resources, pixels and fonts only.
class GLQelGraphicsClassTest : public ::testing::Test {
protected:
    GLQelGraphicsClass graphics;
};

TEST_F(GLQelGraphicsClassTest, get_creates_once_and_find_returns_null_for_unknown_names)
{
    QelIndexList* indices = graphics.GetIndexList("hull", 6);
    EXPECT_EQ(graphics.GetIndexList("hull", 99), indices);
    EXPECT_EQ(indices->GetCount(), 6);
    EXPECT_EQ(graphics.FindIndexList("hull"), indices);
    EXPECT_EQ(graphics.FindIndexList("other"), nullptr);

    QelVertexList* vertices = graphics.GetVertList("hull", 4, false);
    EXPECT_EQ(graphics.GetVertList("hull", 10, false), vertices);
    EXPECT_EQ(vertices->GetCount(), 4);
    EXPECT_EQ(graphics.FindVertList("nope"), nullptr);
    EXPECT_THROW(graphics.GetVertList("nope", 4, true), qel::AssertionFailure);

    QelInstanceList* instances = graphics.GetInstanceList("sparks", 3);
    EXPECT_EQ(graphics.GetInstanceList("sparks", 8), instances);
    EXPECT_EQ(graphics.FindInstanceList("embers"), nullptr);

    QelBitmapFont* font = graphics.LoadFont("DefaultSans", 12);
    EXPECT_EQ(graphics.LoadFont("DefaultSans", 12), font);
    EXPECT_EQ(graphics.FindFont("DefaultSans", 12), font);
    EXPECT_EQ(graphics.FindFont("DefaultSans", 14), nullptr);
    EXPECT_NE(graphics.Find2DBitmap("DefaultSans12_glyphmap"), nullptr);
}

// The default font is baked when first looked for, not before: a first
// screen that draws with other fonts does not wait for it.
TEST_F(GLQelGraphicsClassTest, the_default_font_is_baked_when_first_looked_for)
{
    EXPECT_EQ(graphics.Find2DBitmap("DefaultSans12_glyphmap"), nullptr);
    QelBitmapFont* font = graphics.FindFont("DefaultSans", 12);
    ASSERT_NE(font, nullptr);
    EXPECT_GT(static_cast<GLQELFont*>(font)->GetAscent(), 0);
    EXPECT_EQ(graphics.LoadFont("DefaultSans", 12), font);
    EXPECT_NE(graphics.Find2DBitmap("DefaultSans12_glyphmap"), nullptr);
}

TEST_F(GLQelGraphicsClassTest, missing_undecodable_and_escaping_images_give_null_and_store_nothing)
{
    for (const char* name : {"no-such-image", "../../etc/passwd", "/etc/passwd", "C:/x/pic"}) {
        EXPECT_EQ(graphics.Load2DBitmap(name), nullptr) << name;
        EXPECT_EQ(graphics.Find2DBitmap(name), nullptr) << name;
    }
}

TEST_F(GLQelGraphicsClassTest, missing_textures_fall_back_to_small_white)
{
    Qel2dBitmap* white = graphics.GetRenderTarget("smallWhite", 2, 2, false);
    EXPECT_EQ(graphics.LoadTexture("no-such-texture"), white);
}

TEST_F(GLQelGraphicsClassTest, a_missing_font_falls_back_to_the_default_font)
{
    auto* font = static_cast<GLQELFont*>(graphics.LoadFont("no-such-font", 16));
    EXPECT_GT(font->GetAscent(), 0);
    EXPECT_GT(font->GetTextWidth("abc"), 0);
}

TEST_F(GLQelGraphicsClassTest, font_atlas_is_white_with_glyph_coverage_as_alpha)
{
    auto* font = static_cast<GLQELFont*>(graphics.LoadFont("DefaultSans", 12));
    const QelBakedGlyph* m = font->Face().Glyph('M');
    ASSERT_NE(m, nullptr);
    float maxAlpha = 0;
    for (int y = m->y0; y < m->y1; ++y)
        for (int x = m->x0; x < m->x1; ++x) {
            float a, r, g, b;
            font->Atlas()->GetPixel(x, y, a, r, g, b);
            EXPECT_EQ(r, 1.0f);
            maxAlpha = std::max(maxAlpha, a);
        }
    EXPECT_GT(maxAlpha, 0.9f);
}

TEST_F(GLQelGraphicsClassTest, text_box_draws_two_triangles_a_glyph_in_the_font_batch)
{
    QelBitmapFont* font = graphics.LoadFont("DefaultSans", 12);
    const float white[4] = {1, 1, 1, 1};
    font->SetTextRect(0, 0, 500, 100);
    font->DrawTextLeft("ab c", white, 3);
    const auto batches = graphics.Pool().FilledInDrawOrder();
    ASSERT_EQ(batches.size(), 1u);
    EXPECT_EQ(batches[0]->PrimitiveCount(), 6);  // the blank inks nothing
    EXPECT_EQ(batches[0]->Key().orderKey, 3);
    EXPECT_EQ(font->GetTextHeight("x"), font->GetTextHeight("a much longer text"));
}

// Glyphs that cover no pixel of the target add no triangles; a glyph cut by
// an edge is drawn whole.
TEST_F(GLQelGraphicsClassTest, glyphs_wholly_off_the_target_draw_no_triangles)
{
    graphics.SetDeviceSize(200, 100);
    QelBitmapFont* font = graphics.LoadFont("DefaultSans", 12);
    const float white[4] = {1, 1, 1, 1};
    struct Case {
        const char* name;
        int left, top;
        int triangles;
    } const cases[] = {
        {"inside", 10, 10, 4},       {"above", 10, -200, 0},     {"below", 10, 100, 0},
        {"left", -300, 10, 0},       {"right", 200, 10, 0},      {"across_the_top", 10, -6, 4},
        {"across_the_left", -4, 10, 4},
    };
    for (const Case& c : cases) {
        font->SetTextRect(c.left, c.top, c.left + 100, c.top + 20);
        font->DrawTextLeft("ab", white, 3);
        int triangles = 0;
        for (const Qel2DBuffer* buffer : graphics.Pool().FilledInDrawOrder())
            triangles += buffer->PrimitiveCount();
        EXPECT_EQ(triangles, c.triangles) << c.name;
        graphics.Pool().EmptyAll();
    }
}

TEST_F(GLQelGraphicsClassTest, sprites_convert_pixels_to_clip_space_with_the_target_size)
{
    const Qel2DVertex corner = graphics.MakeVertex(0, 0, 0, 0, (const float[4]){1, 1, 1, 1});
    EXPECT_FLOAT_EQ(corner.position[0], -1.0f);
    EXPECT_FLOAT_EQ(corner.position[1], 1.0f);
    EXPECT_FLOAT_EQ(corner.position[2], 0.9f);
    graphics.SetDeviceSize(200, 100);
    const Qel2DVertex centre = graphics.MakeVertex(100, 50, 0, 0, (const float[4]){1, 1, 1, 1});
    EXPECT_FLOAT_EQ(centre.position[0], 0.0f);
    EXPECT_FLOAT_EQ(centre.position[1], 0.0f);
}

TEST_F(GLQelGraphicsClassTest, perspective_is_left_handed_with_depth_0_to_1_stored_transposed)
{
    graphics.SetPerspective(1.0f, 1.5f, 1.0f, 101.0f);
    // The shaders multiply a row vector by the untransposed matrix.
    const glm::mat4 m = glm::transpose(graphics.GetProjectionMatrix());
    auto project = [&](float z) {
        const glm::vec4 clip = glm::vec4(0, 0, z, 1) * glm::transpose(m);
        return clip.z / clip.w;
    };
    EXPECT_NEAR(project(1.0f), 0.0f, 1e-5f);
    EXPECT_NEAR(project(101.0f), 1.0f, 1e-5f);
}

TEST_F(GLQelGraphicsClassTest, profile_rows_wrap_to_1_and_keep_the_peaks_seen)
{
    graphics.RecordProfileValue(2, 7.0f);
    graphics.RecordProfileValue(2, 3.0f);
    for (int i = 0; i < 1000; ++i)
        graphics.RollProfileCounters();
    EXPECT_EQ(graphics.ProfileRow(), 1);
    EXPECT_EQ(graphics.PreviousPeak(2), 7.0f);
}

TEST_F(GLQelGraphicsClassTest, every_engine_shader_name_is_registered)
{
    for (const char* name : {"2DAdditive", "2DBlurAdd", "2DNormal", "Flat", "FlatFacing", "Nebula", "PointRing",
                             "GasGiant", "InstancedPostTransform", "IPTCell", "NebulaVolume", "Phong", "PostTransform",
                             "Redwood", "RedwoodWiggle", "Volume", "VolumePostProcess", "SceneVolumeComposite",
                             "Skybox"}) {
        EXPECT_NE(graphics.ShaderRegistry().Find(name), nullptr) << name;
        EXPECT_TRUE(graphics.KnowsShader(name)) << name;
    }
    EXPECT_FALSE(graphics.KnowsShader("NoSuchShader"));
    EXPECT_EQ(graphics.ShaderRegistry().Find("NoSuchShader"), nullptr);
}

// Each service keeps its own shader classes: one that ends, or one that is
// given more classes, leaves the others as they were.
TEST_F(GLQelGraphicsClassTest, shader_classes_belong_to_their_service)
{
    {
        GLQelGraphicsClass other;
        other.ShaderRegistry().Register("OnlyHere", [] { return nullptr; });
        EXPECT_NE(other.ShaderRegistry().Find("OnlyHere"), nullptr);
        EXPECT_FALSE(graphics.KnowsShader("OnlyHere"));
    }
    EXPECT_TRUE(graphics.KnowsShader("Flat")) << "the other service's end left this one's classes";
    graphics.Shutdown();
    EXPECT_TRUE(graphics.KnowsShader("Flat")) << "the classes outlive the GL objects";
}

TEST(GLQELListTest, lists_check_indices_and_flag_changes_for_one_upload)
{
    GLQelGraphicsClass graphics;
    QelInstanceList* instances = graphics.GetInstanceList("i", 2);
    instances->SetCellIndex(1, 7);
    EXPECT_EQ(instances->GetCellIndex(1), 7);
    EXPECT_EQ(instances->GetInstance(1).cellIndex, 7);
    EXPECT_THROW(instances->SetAge(2, 1.0f), qel::AssertionFailure);
    QelIndexList* indices = graphics.GetIndexList("x", 2);
    EXPECT_THROW(indices->GetIndex(-1), qel::AssertionFailure);
    QelVertexList* vertices = graphics.GetVertList("v", 2, false);
    vertices->SetPosition(0, 1, -2, 3);
    vertices->SetPosition(1, -1, 5, 0);
    float lo[3], hi[3];
    vertices->GetBounds(lo, hi);
    EXPECT_EQ(lo[1], -2.0f);
    EXPECT_EQ(hi[1], 5.0f);
    EXPECT_EQ(vertices->GetVertex(0).position[2], 3.0f);
}

}  // namespace
