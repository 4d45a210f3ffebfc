#include "game/render/PortraitGen.h"

#include "tests/support/RecordingGraphics2D.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using qeltest::DrawRecord;
using qeltest::RecordingGraphics2D;
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
    // The quads that cover pixels: what a face shows.
    std::vector<DrawRecord> Shown() const
    {
        return graphics.Where([](const DrawRecord& r) { return r.Right() > r.Left() && r.Bottom() > r.Top(); });
    }

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
        graphics.AddBitmap("faces/eyes", 2 * PortraitGen::kCellPitch, PortraitGen::kCellPitch);
        gGraphicsFactory = &graphics;
        portraits.Setup();
    }

    void TearDown() override { gGraphicsFactory = nullptr; }

    TempFolder data;
    ScopedEnv dataDir{"QEL_DATA_DIR", data.Path().string()};
    RecordingGraphics2D graphics;
    qeltest::RecordingBitmap* head = nullptr;
    PortraitGen portraits;
};

TEST_F(PortraitGenTest, part_list_names_each_part_and_its_sheet)
{
    const auto& parts = portraits.PartBitmaps();
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_EQ(parts.at("head").bitmapName, "faces/head");
    EXPECT_EQ(parts.at("head").bitmap, head);
    EXPECT_EQ(parts.at("head").cellWidth, 514);
    EXPECT_EQ(parts.at("eyes").bitmapName, "faces/eyes");
    EXPECT_EQ(parts.at("ghost").bitmap, nullptr);  // reported, and left out of every face
}

// At start-up the list alone is read; the sheets load one a step, or all at
// the first face drawn.
TEST_F(PortraitGenTest, sheets_load_one_a_step_or_all_at_the_first_face)
{
    const auto loads = [&] {
        int total = 0;
        for (const auto& [name, count] : graphics.loadRequests)
            total += name.rfind("faces/", 0) == 0 ? count : 0;
        return total;
    };
    PortraitGen stepped;
    graphics.loadRequests.clear();
    stepped.ReadList();
    EXPECT_EQ(loads(), 0);
    EXPECT_TRUE(stepped.LoadNextSheet());
    EXPECT_EQ(loads(), 1);

    graphics.log.clear();
    stepped.DrawFace("eyes white 0 0;head white 0 0", 0, 0, 64.0f, glm::vec4(1.0f), 1001);
    EXPECT_EQ(loads(), 3) << "every sheet, each once";
    EXPECT_EQ(Shown().size(), 2u);
    EXPECT_FALSE(stepped.LoadNextSheet());
}

TEST_F(PortraitGenTest, parts_draw_their_cells_into_the_square_tinted_in_order)
{
    portraits.DrawFace("head #ff8000 1 0 -5 10;ghost red;nosuch blue;eyes white 1 0;eyes white 2 0;"
                       "eyes white 0 -1;  head white",
                       100, 50, 128.0f, glm::vec4(1.0f, 1.0f, 1.0f, 0.5f), 1001);
    const std::vector<DrawRecord> shown = Shown();
    ASSERT_EQ(shown.size(), 2u);

    const DrawRecord& face = shown[0];
    EXPECT_EQ(face.kind, DrawRecord::Kind::Quad);
    EXPECT_EQ(face.source, "faces/head");
    EXPECT_TRUE(face.srcInPixels);
    // The cell's window: corners top-left and bottom-right.
    EXPECT_EQ(face.src[0], 514 - 5 + 1);
    EXPECT_EQ(face.src[1], 10 + 1);
    EXPECT_EQ(face.src[6], 1028 - 5 - 1);
    EXPECT_EQ(face.src[7], 514 + 10 - 1);
    EXPECT_EQ(face.Left(), 100.0f);
    EXPECT_EQ(face.Top(), 50.0f);
    EXPECT_EQ(face.Right(), 228.0f);
    EXPECT_EQ(face.Bottom(), 178.0f);
    EXPECT_FLOAT_EQ(face.colour.r, 1.0f);
    EXPECT_FLOAT_EQ(face.colour.g, 128.0f / 255.0f);
    EXPECT_FLOAT_EQ(face.colour.b, 0.0f);
    EXPECT_FLOAT_EQ(face.colour.a, 0.5f);
    EXPECT_EQ(face.layer, 1001);

    // A part without a sheet, a part not listed, cells beyond the sheet and a
    // part without a name are all left out.
    EXPECT_EQ(shown[1].source, "faces/eyes");
    EXPECT_EQ(shown[1].src[0], 515.0f);
    EXPECT_EQ(shown[1].src[7], 513.0f);
}

TEST_F(PortraitGenTest, every_face_first_begins_each_sheets_batch_in_list_order)
{
    // The order the batches begin in is the order the engine draws the
    // sheets of a layer in, whatever other faces draw in the same frame.
    for (int face = 0; face < 2; ++face)
        portraits.DrawFace(face ? "eyes white 0 0" : "eyes white 0 0;head white 0 0", 0, 0, 64.0f, glm::vec4(1.0f),
                           1001 + face);
    std::vector<std::string> begun;
    for (const DrawRecord& r : graphics.log)
        if (r.Right() == r.Left())
            begun.push_back(r.source + "@" + std::to_string(r.layer) + (r.colour.a == 0.0f ? "" : " visible"));
    EXPECT_EQ(begun, (std::vector<std::string>{"faces/head@1001", "faces/eyes@1001", "faces/head@1002",
                                               "faces/eyes@1002"}));
}

TEST_F(PortraitGenTest, a_description_is_parsed_once_and_the_cache_stays_bounded)
{
    const glm::vec4 white(1.0f);
    portraits.DrawFace("head white 0 0", 0, 0, 64.0f, white, 1000);
    portraits.DrawFace("head white 0 0", 10, 10, 64.0f, white, 1000);
    portraits.DrawFace("", 0, 0, 64.0f, white, 1000);  // draws nothing, still kept
    EXPECT_EQ(portraits.CachedFaceCount(), 2u);
    EXPECT_EQ(Shown().size(), 2u);

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
