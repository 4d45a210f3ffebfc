// Portraits drawn on the offscreen driver from the face-part sheets the build
// draws, as a comms screen shows them; the picture is kept in the build
// folder as portraits.png for a person to look at.

#include "game/render/PortraitGen.h"
#include "helper/ColorParse.h"
#include "tests/support/OffscreenGraphicsTest.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

constexpr int kFaceSize = 240;
constexpr int kMargin = 12;
constexpr int kFaces = 4;
constexpr int kWidth = kFaces * (kFaceSize + kMargin) + kMargin;
constexpr int kHeight = kFaceSize + 2 * kMargin;
constexpr float kPanel[4] = {0.06f, 0.08f, 0.1f, 1.0f};

// A crew of four, with the colours the checks expect where skin, uniform and
// hair show. The second has hair behind the head, a sheet the first does not
// use: the batch of that sheet begins after the first face's head batch, and
// the second face must still show over its hair.
struct Face {
    std::string description;
    std::string skin, uniform, hair;
};

const std::array<Face, kFaces> kCrew = {{
    {"backdrop #24303c 0 0;head #e6b594 0 0;uniform #2a5aa8 0 0;trim #e8c866 0 0;eyes white 0 0;"
     "iris #3a78b8 0 0;brows #4a2e1c 0 0;nose #e6b594 0 0;mouth #e6b594 1 0;hair #4a2e1c 0 0",
     "#e6b594", "#2a5aa8", "#4a2e1c"},
    {"backdrop #3a2420 1 0;hairback #1a1210 0 0;head #8d5a3b 1 1;uniform #a02828 1 0;trim #d0d0d8 1 0;"
     "eyes white 1 0;iris #4a3020 1 0;brows #1a1210 1 0;nose #8d5a3b 1 0;mouth #8d5a3b 0 0;hair #1a1210 0 1",
     "#8d5a3b", "#a02828", "#1a1210"},
    {"backdrop #20382a 0 1;head #f0d0b8 0 1;uniform #c8a020 0 1;trim #404040 0 1;eyes white 0 1;"
     "iris #4a9060 0 1;brows #c06030 0 1;nose #f0d0b8 0 1;mouth #f0d0b8 0 1;beard #c06030 0 0;"
     "hair #c06030 2 0;gear #909090 0 0",
     "#f0d0b8", "#c8a020", "#c06030"},
    {"backdrop #202838 1 1;head #c49070 1 0;uniform #3a6a3a 1 1;trim #c0a040 1 1;alien #c49070 0 0;"
     "eyes white 1 1;iris #70a0c0 1 1;brows #d8d8d8 1 1;nose #c49070 1 1;mouth #c49070 1 1;hair #d8d8d8 1 1;"
     "gear #60d0ff 0 1",
     "#c49070", "#3a6a3a", "#d8d8d8"},
}};

using qeltest::Rgb;

class PortraitGenDrawTest : public qeltest::OffscreenGraphicsTest {
protected:
    PortraitGenDrawTest() : OffscreenGraphicsTest(kWidth, kHeight) {}

    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(OffscreenGraphicsTest::SetUp());
        gGraphicsFactory = &graphics;
    }

    void TearDown() override
    {
        gGraphicsFactory = nullptr;
        OffscreenGraphicsTest::TearDown();
    }

    // The screen at a point of a face's 512-pixel cell.
    Rgb AtCell(int face, int cellX, int cellY) const
    {
        return At(kMargin + face * (kFaceSize + kMargin) + cellX * kFaceSize / 512, kMargin + cellY * kFaceSize / 512);
    }

    static Rgb Expected(const std::string& colour)
    {
        glm::vec4 c;
        ParseColor(c, colour);
        return {int(c.r * 255), int(c.g * 255), int(c.b * 255)};
    }
};

// Within the shading the sheets add: lit parts come near their colour, and
// keep its hue.
void ExpectShadeOf(const Rgb& seen, const Rgb& colour, const char* what)
{
    for (int i = 0; i < 3; ++i) {
        EXPECT_LE(seen[i], colour[i] + 12) << what << " channel " << i;
        EXPECT_GE(seen[i], colour[i] * 55 / 100 - 6) << what << " channel " << i;
    }
}

TEST_F(PortraitGenDrawTest, crew_faces_draw_from_the_generated_sheets_in_their_colours)
{
    PortraitGen portraits;
    portraits.Setup();
    for (const auto& [part, sheet] : portraits.PartBitmaps())
        ASSERT_NE(sheet.bitmap, nullptr) << part;

    Qel2dBitmap* white = graphics.Find2DBitmap("smallWhite");
    white->SetDestRect(0, 0, kWidth, kHeight);
    white->DrawQuad(kPanel, 1000, false);
    for (int face = 0; face < kFaces; ++face)
        portraits.DrawFace(kCrew[face].description, kMargin + face * (kFaceSize + kMargin), kMargin,
                           static_cast<float>(kFaceSize), glm::vec4(1.0f), 1001);
    graphics.Flush2D();
    ReadScreen();
    EXPECT_TRUE(SaveScreen("portraits.png"));

    for (int face = 0; face < kFaces; ++face) {
        ExpectShadeOf(AtCell(face, 196, 272), Expected(kCrew[face].skin), "cheek");
        ExpectShadeOf(AtCell(face, 110, 490), Expected(kCrew[face].uniform), "shoulder");
        ExpectShadeOf(AtCell(face, 256, 96), Expected(kCrew[face].hair), "hair");
    }
    // Between the portraits the panel shows.
    const Rgb gap = At(kMargin / 2, kHeight / 2);
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(gap[i], kPanel[i] * 255, 1.5) << "panel channel " << i;
}

}  // namespace
