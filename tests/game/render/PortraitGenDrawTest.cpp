// Portraits drawn on the offscreen driver from the face-part sheets the build
// draws, as a comms screen shows them; the picture is kept in the build
// folder as portraits.png for a person to look at.

#include "engine/base/QelPixelImage.h"
#include "game/render/PortraitGen.h"
#include "helper/ColorParse.h"
#include "tests/support/OffscreenWindow.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace {

constexpr int kFaceSize = 240;
constexpr int kMargin = 12;
constexpr int kFaces = 4;
constexpr int kWidth = kFaces * (kFaceSize + kMargin) + kMargin;
constexpr int kHeight = kFaceSize + 2 * kMargin;
constexpr float kPanel[4] = {0.06f, 0.08f, 0.1f, 1.0f};

struct Face {
    std::string skin, uniform, hair;
    std::string Description() const
    {
        return "backdrop #24303c 0 0;head " + skin + " 0 0;uniform " + uniform + " 0 0;trim #e8c866 0 0;"
               "eyes white 0 0;iris #3a78b8 0 0;brows " + hair + " 0 0;nose " + skin + " 1 0;mouth " + skin +
               " 1 0;hair " + hair + " 0 0";
    }
};

const std::array<Face, kFaces> kCrew = {{
    {"#e6b594", "#2a5aa8", "#4a2e1c"},
    {"#8d5a3b", "#a02828", "#1a1210"},
    {"#f0d0b8", "#c8a020", "#c06030"},
    {"#c49070", "#3a6a3a", "#d8d8d8"},
}};

using Rgb = std::array<int, 3>;

class PortraitGenDrawTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(offscreen.Open("portraits", kWidth, kHeight));
        gGraphicsFactory = &graphics;
    }

    void TearDown() override
    {
        gGraphicsFactory = nullptr;
        offscreen.Close();
    }

    // The screen's pixels, top row first, kept as an image.
    void ReadScreen()
    {
        const std::vector<uint8_t> bottomUp = offscreen.ReadPixels();
        screen.Resize(kWidth, kHeight);
        const size_t row = static_cast<size_t>(kWidth) * 4;
        for (int y = 0; y < kHeight; ++y)
            std::copy_n(&bottomUp[(kHeight - 1 - y) * row], row, screen.Data() + y * row);
        for (size_t i = 3; i < screen.ByteCount(); i += 4)
            screen.Data()[i] = 255;
    }

    // The screen at a point of a face's 512-pixel cell.
    Rgb AtCell(int face, int cellX, int cellY) const
    {
        const int x = kMargin + face * (kFaceSize + kMargin) + cellX * kFaceSize / 512;
        const int y = kMargin + cellY * kFaceSize / 512;
        const uint8_t* p = screen.Data() + (static_cast<size_t>(y) * kWidth + x) * 4;
        return {p[0], p[1], p[2]};
    }

    static Rgb Expected(const std::string& colour)
    {
        glm::vec4 c;
        ParseColor(c, colour);
        return {int(c.r * 255), int(c.g * 255), int(c.b * 255)};
    }

    qeltest::OffscreenWindow offscreen;
    GLQelGraphicsClass& graphics = offscreen.graphics;
    QelPixelImage screen;
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
    for (const char* part : {"backdrop", "head", "uniform", "trim", "eyes", "iris", "brows", "nose", "mouth", "hair"})
        ASSERT_NE(portraits.PartBitmaps().at(part).bitmap, nullptr) << part;

    Qel2dBitmap* white = graphics.Find2DBitmap("smallWhite");
    white->SetDestRect(0, 0, kWidth, kHeight);
    white->DrawQuad(kPanel, 1000, false);
    for (int face = 0; face < kFaces; ++face)
        portraits.DrawFace(kCrew[face].Description(), kMargin + face * (kFaceSize + kMargin), kMargin,
                           static_cast<float>(kFaceSize), glm::vec4(1.0f), 1001);
    graphics.Flush2D();
    ReadScreen();
    const std::string saved = "portraits.png";
    EXPECT_TRUE(screen.SavePNG(saved));

    for (int face = 0; face < kFaces; ++face) {
        ExpectShadeOf(AtCell(face, 196, 272), Expected(kCrew[face].skin), "cheek");
        ExpectShadeOf(AtCell(face, 110, 490), Expected(kCrew[face].uniform), "shoulder");
        ExpectShadeOf(AtCell(face, 256, 96), Expected(kCrew[face].hair), "hair");
    }
    // Between the portraits the panel shows.
    const uint8_t* gap = screen.Data() + (static_cast<size_t>(kHeight / 2) * kWidth + kMargin / 2) * 4;
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(gap[i], kPanel[i] * 255, 1.5) << "panel channel " << i;
}

}  // namespace
