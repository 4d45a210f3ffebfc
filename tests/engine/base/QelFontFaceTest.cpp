#include "engine/base/QelFontFace.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/GameDataFolder.h"
#include "tests/support/TempFolder.h"

namespace {

// The engine's default font, in the test's data folder.
std::string Font()
{
    return (qeltest::GameDataFolder() / "QelDefault/DefaultSans.ttf").string();
}

constexpr int kSize = 20;

class QelFontFaceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(face.Load(Font(), kSize, error)) << error << " (run tools/link-fonts.sh)";
    }

    std::vector<std::string> Layout(const std::string& text, int width, int* height = nullptr)
    {
        std::vector<std::string> lines;
        const int h = face.LayoutText(text, width, lines);
        if (height)
            *height = h;
        return lines;
    }

    QelFontFace face;
};

TEST_F(QelFontFaceTest, metrics_follow_the_size_and_line_height_adds_the_negative_descent)
{
    EXPECT_GT(face.Ascent(), 0);
    EXPECT_LT(face.Descent(), 0);
    EXPECT_LE(face.Ascent() - face.Descent(), kSize);
    EXPECT_GE(face.Ascent() - face.Descent(), kSize - 2);
    EXPECT_EQ(face.LineHeight(), face.Ascent() + face.Descent() + face.LineGap());
    EXPECT_FALSE(face.Overflowed());
}

TEST_F(QelFontFaceTest, text_width_sums_advances_and_bytes_without_glyph_add_nothing)
{
    EXPECT_EQ(face.TextWidth(""), 0);
    EXPECT_GT(face.TextWidth("W"), face.TextWidth("i"));
    EXPECT_NEAR(face.TextWidth("WiWi"), 2 * face.TextWidth("Wi"), 1);
    EXPECT_EQ(face.TextWidth(std::string("a\xff")), face.TextWidth("a"));
}

TEST_F(QelFontFaceTest, layout_breaks_at_spaces_carets_and_newlines)
{
    const int roomForBoth = face.TextWidth("one two") + 2;
    int height = 0;
    EXPECT_EQ(Layout("one two^three", roomForBoth, &height), (std::vector<std::string>{"one two", "three"}));
    EXPECT_EQ(height, 2 * kSize);
    EXPECT_EQ(Layout("one\ntwo", 1000), (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(Layout("one two three", face.TextWidth("one two") + 2),
              (std::vector<std::string>{"one two", "three"}));
    EXPECT_EQ(Layout("^", 1000, &height), (std::vector<std::string>{" "}));
    EXPECT_EQ(height, kSize);
}

TEST_F(QelFontFaceTest, a_word_wider_than_the_box_is_broken_without_losing_a_byte)
{
    const std::string word = "abcdefghijklmnop";
    const std::vector<std::string> lines = Layout(word, face.TextWidth("abcde") + 1);
    ASSERT_GT(lines.size(), 1u);
    std::string joined;
    for (const std::string& line : lines)
        joined += line;
    EXPECT_EQ(joined, word);
}

TEST_F(QelFontFaceTest, a_box_narrower_than_the_first_glyph_lays_out_nothing_and_does_not_hang)
{
    int height = -1;
    EXPECT_TRUE(Layout("Wide", 1, &height).empty());
    EXPECT_EQ(height, 0);
    EXPECT_TRUE(Layout("Wx^yz", 1, &height).empty());
    EXPECT_EQ(height, 0);
}

TEST_F(QelFontFaceTest, centred_single_line_in_a_box_of_100_starts_40_below_the_top)
{
    EXPECT_EQ(face.FirstLineTop(10, 110, 1, QelTextAlign::Centre), 50);
    EXPECT_EQ(face.FirstLineTop(10, 110, 1, QelTextAlign::Left), 10);
}

TEST_F(QelFontFaceTest, right_and_centre_alignment_shift_glyphs_by_the_slack)
{
    const std::string text = "Hello";
    const int width = face.TextWidth(text);
    const auto left = face.LineQuads(text, 0, 0, 200, QelTextAlign::Left);
    const auto right = face.LineQuads(text, 0, 0, 200, QelTextAlign::Right);
    const auto centre = face.LineQuads(text, 0, 0, 200, QelTextAlign::Centre);
    ASSERT_EQ(left.size(), 5u);
    EXPECT_FLOAT_EQ(right[0].left - left[0].left, static_cast<float>(200 - width));
    EXPECT_FLOAT_EQ(centre[0].left - left[0].left, static_cast<float>((200 - width) / 2));
    // Glyphs sit on the baseline top + ascent: an 'H' ends on it.
    EXPECT_NEAR(left[0].bottom, static_cast<float>(face.Ascent()), 1.0f);
    EXPECT_GT(left[0].u1, left[0].u0);
}

TEST(QelFontFaceLoadTest, missing_or_non_font_files_fail_with_a_reason)
{
    qeltest::TempFolder folder;
    folder.Write("junk.ttf", "this is not a font");
    QelFontFace face;
    std::string error;
    EXPECT_FALSE(face.Load(folder / "absent.ttf", 12, error));
    EXPECT_NE(error.find("cannot be opened"), std::string::npos);
    EXPECT_FALSE(face.Load(folder / "junk.ttf", 12, error));
    EXPECT_NE(error.find("not a TrueType"), std::string::npos);
    EXPECT_EQ(face.Glyph('a'), nullptr);
}

// The atlas keeps only the rows the glyphs were baked into; every glyph lies
// inside it, and a glyph's atlas coordinates still name its own pixels.
TEST(QelFontFaceLoadTest, the_atlas_is_as_tall_as_its_glyphs_need)
{
    struct Case {
        int size;
        int mostRows;
    };
    for (const Case c : {Case{11, 64}, Case{28, 256}, Case{200, QelFontFace::kAtlasSide}}) {
        SCOPED_TRACE(c.size);
        QelFontFace face;
        std::string error;
        ASSERT_TRUE(face.Load(Font(), c.size, error)) << error;
        EXPECT_LE(face.AtlasHeight(), c.mostRows);
        EXPECT_EQ(face.AtlasHeight() & (face.AtlasHeight() - 1), 0) << "a power of two";
        if (face.Overflowed()) {
            EXPECT_EQ(face.AtlasHeight(), QelFontFace::kAtlasSide) << "a full atlas keeps every row";
        }
        EXPECT_EQ(face.Atlas().size(), static_cast<size_t>(QelFontFace::kAtlasSide) * face.AtlasHeight());
        for (int code = 'A'; code <= 'Z'; ++code) {
            const QelBakedGlyph* glyph = face.Glyph(static_cast<unsigned char>(code));
            if (glyph == nullptr || glyph->y1 == 0)
                continue;  // not baked (the largest size overflows)
            EXPECT_LE(glyph->y1, face.AtlasHeight());
            const auto quads = face.LineQuads(std::string(1, static_cast<char>(code)), 0, 0, 1000,
                                              QelTextAlign::Left);
            ASSERT_EQ(quads.size(), 1u);
            EXPECT_FLOAT_EQ(quads[0].v0 * static_cast<float>(face.AtlasHeight()), static_cast<float>(glyph->y0));
            EXPECT_FLOAT_EQ(quads[0].v1 * static_cast<float>(face.AtlasHeight()), static_cast<float>(glyph->y1));
        }
    }
}

TEST(QelFontFaceLoadTest, glyphs_that_do_not_fit_the_atlas_are_reported)
{
    QelFontFace face;
    std::string error;
    ASSERT_TRUE(face.Load(Font(), 200, error));
    EXPECT_TRUE(face.Overflowed());
    EXPECT_NE(error.find("glyphs fit"), std::string::npos);
}

// A size whose first glyph is taller than the atlas bakes nothing: that is
// reported, and no glyph is left with stale rectangles to draw.
TEST(QelFontFaceLoadTest, a_size_too_large_for_any_glyph_is_an_overflow_with_nothing_drawn)
{
    QelFontFace face;
    std::string error;
    ASSERT_TRUE(face.Load(Font(), 2000, error));
    EXPECT_TRUE(face.Overflowed());
    EXPECT_NE(error.find("only 0 of"), std::string::npos) << error;
    for (const QelGlyphQuad& quad : face.LineQuads("Hello", 0, 0, 5000, QelTextAlign::Left))
        EXPECT_EQ(quad.right - quad.left, 0.0f);
}

}  // namespace
