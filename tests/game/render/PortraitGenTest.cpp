#include "game/render/PortraitGen.h"

#include "tests/support/Recording2D.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using qeltest::Recording2D;
using qeltest::ScopedEnv;
using qeltest::TempFolder;

struct Part {
    std::string name, colour;
    int16_t column, row, offsetX, offsetY;

    bool operator==(const Part&) const = default;
};

std::vector<Part> Parsed(std::string_view description)
{
    std::vector<Part> parts;
    for (const FacePart& p : ParseFaceDescription(description))
        parts.push_back({p.name, p.colourText, p.column, p.row, p.offsetX, p.offsetY});
    return parts;
}

TEST(FaceDescription, reads_parts_as_the_long_standing_grammar_does)
{
    struct Case {
        std::string text;
        std::vector<Part> parts;
    };
    const Case cases[] = {
        {"head #e6b594 1 0 -5 10;eyes white", {{"head", "#e6b594", 1, 0, -5, 10}, {"eyes", "white", 0, 0, 0, 0}}},
        {"", {}},
        {"head", {}},  // a part needs a blank after its name
        {"a\tb\n1\r2;c d 3", {{"a", "b", 1, 2, 0, 0}, {"c", "d", 3, 0, 0, 0}}},
        // A blank after ';' begins a part without a name, and shifts the rest.
        {"a b 1; c d 3", {{"a", "b", 1, 0, 0, 0}, {"", "c", 0, 0, 0, 0}, {"d", "3", 0, 0, 0, 0}}},
        // Text that begins with blanks: a part without a name, then the rest.
        {"  head white 1 1", {{"", "head", 0, 0, 0, 0}, {"white", "1", 1, 0, 0, 0}}},
        {"x;y z", {{"y", "z", 0, 0, 0, 0}}},  // "x" is followed by no blank
        {"hair #zz 1", {{"hair", "#", 0, 0, 0, 0}, {"zz", "1", 0, 0, 0, 0}}},
        {"head  7 9", {{"head", "7", 9, 0, 0, 0}}},  // the colour is any word, digits too
        {"a b 12abc", {{"a", "b", 12, 0, 0, 0}}},
        {"a b 1-2+3", {{"a", "b", 1, -2, 3, 0}}},
        // Numbers without digits, or beyond 16 bits, read 0; '|' is no sign.
        {"a b + - |5 99999", {{"a", "b", 0, 0, 5, 0}}},
        {"a b -32768 32767 32768 -32769", {{"a", "b", -32768, 32767, 0, 0}}},
        {"a b 99999999999999999999999 1", {{"a", "b", 0, 1, 0, 0}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Parsed(c.text), c.parts) << '"' << c.text << '"';
}

TEST(FaceDescription, long_blank_runs_are_read_without_recursion)
{
    const std::string text = std::string(200000, ' ') + "head white" + std::string(200000, '\t') + "3";
    EXPECT_EQ(Parsed(text), (std::vector<Part>{{"", "head", 0, 0, 0, 0}, {"white", "3", 0, 0, 0, 0}}));
}

TEST(FaceDescription, colours_are_parsed_once_with_the_part)
{
    const std::vector<FacePart> parts = ParseFaceDescription("a #ff8000 ;b nocolour");
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_FLOAT_EQ(parts[0].colour.g, 128.0f / 255.0f);
    EXPECT_EQ(parts[1].colour, glm::vec4(1.0f, 0.0f, 1.0f, 1.0f));  // unreadable: magenta
}

class PortraitGenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        data.Write("graphics/allFaceFiles.txt",
                   "head faces/head\r\n"
                   "eyes faces/old_eyes\n"
                   "eyes faces/eyes extra words\n"  // a later line replaces an earlier one
                   "ghost faces/missing\n"
                   "lonely\n"
                   "\n");
        head = graphics.AddBitmap("faces/head", 2 * PortraitGen::kCellPitch, 2 * PortraitGen::kCellPitch);
        eyes = graphics.AddBitmap("faces/eyes", 2 * PortraitGen::kCellPitch, PortraitGen::kCellPitch);
        gGraphicsFactory = &graphics;
        portraits.Setup();
    }

    void TearDown() override { gGraphicsFactory = nullptr; }

    TempFolder data;
    ScopedEnv dataDir{"QEL_DATA_DIR", data.Path().string()};
    Recording2D graphics;
    qeltest::RecordingBitmap* head = nullptr;
    qeltest::RecordingBitmap* eyes = nullptr;
    PortraitGen portraits;
};

TEST_F(PortraitGenTest, part_list_names_each_sheet_and_sheets_sample_smoothly)
{
    const auto& parts = portraits.PartBitmaps();
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_EQ(parts.at("head").bitmapName, "faces/head");
    EXPECT_EQ(parts.at("head").bitmap, head);
    EXPECT_EQ(parts.at("head").cellWidth, 514);
    EXPECT_EQ(parts.at("eyes").bitmapName, "faces/eyes");
    EXPECT_EQ(parts.at("ghost").bitmap, nullptr);  // reported, and left out of every face
    EXPECT_TRUE(head->Smooth());
}

TEST_F(PortraitGenTest, parts_draw_their_cells_into_the_square_tinted_in_order)
{
    portraits.DrawFace("head #ff8000 1 0 -5 10;ghost red;nosuch blue;eyes white 1 0;eyes white 2 0;"
                       "eyes white 0 -1;  head white",
                       100, 50, 128.0f, glm::vec4(1.0f, 1.0f, 1.0f, 0.5f), 1001);
    ASSERT_EQ(graphics.quads.size(), 2u);

    const qeltest::DrawnQuad& face = graphics.quads[0];
    EXPECT_EQ(face.bitmap, "faces/head");
    const float faceSource[4] = {514 - 5 + 1, 10 + 1, 1028 - 5 - 1, 514 + 10 - 1};
    const float square[4] = {100, 50, 228, 178};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(face.source[i], faceSource[i]) << i;
        EXPECT_EQ(face.dest[i], square[i]) << i;
    }
    EXPECT_FLOAT_EQ(face.colour[0], 1.0f);
    EXPECT_FLOAT_EQ(face.colour[1], 128.0f / 255.0f);
    EXPECT_FLOAT_EQ(face.colour[2], 0.0f);
    EXPECT_FLOAT_EQ(face.colour[3], 0.5f);
    EXPECT_EQ(face.layer, 1001);
    EXPECT_FALSE(face.additive);

    // A part without a sheet, a part not listed, cells beyond the sheet and a
    // part without a name are all left out.
    EXPECT_EQ(graphics.quads[1].bitmap, "faces/eyes");
    EXPECT_EQ(graphics.quads[1].source[0], 515.0f);
    EXPECT_EQ(graphics.quads[1].source[3], 513.0f);
}

TEST_F(PortraitGenTest, a_description_is_parsed_once_and_the_cache_stays_bounded)
{
    const glm::vec4 white(1.0f);
    portraits.DrawFace("head white 0 0", 0, 0, 64.0f, white, 1000);
    portraits.DrawFace("head white 0 0", 10, 10, 64.0f, white, 1000);
    portraits.DrawFace("", 0, 0, 64.0f, white, 1000);  // draws nothing, still kept
    EXPECT_EQ(portraits.CachedFaceCount(), 2u);
    EXPECT_EQ(graphics.quads.size(), 2u);

    for (size_t i = 0; i <= PortraitGen::kMaxCachedFaces; ++i)
        portraits.DrawFace("head white 0 0 " + std::to_string(i), 0, 0, 64.0f, white, 1000);
    EXPECT_LE(portraits.CachedFaceCount(), PortraitGen::kMaxCachedFaces);
}

TEST(PortraitGen, without_a_part_list_or_graphics_faces_draw_nothing)
{
    TempFolder empty;
    ScopedEnv dataDir("QEL_DATA_DIR", empty.Path().string());
    PortraitGen portraits;
    portraits.Setup();
    EXPECT_TRUE(portraits.PartBitmaps().empty());
    portraits.DrawFace("head white 0 0", 0, 0, 64.0f, glm::vec4(1.0f), 1000);

    TempFolder listed;
    listed.Write("graphics/allFaceFiles.txt", "head faces/head\n");
    ScopedEnv listedDir("QEL_DATA_DIR", listed.Path().string());
    portraits.Setup();  // no graphics service: the part stays without its sheet
    ASSERT_EQ(portraits.PartBitmaps().size(), 1u);
    EXPECT_EQ(portraits.PartBitmaps().at("head").bitmap, nullptr);
    portraits.DrawFace("head white 0 0", 0, 0, 64.0f, glm::vec4(1.0f), 1000);
}

}  // namespace
