// A console screen of widgets whose own drawing is not built yet, drawn by
// the real graphics service on the offscreen driver: each box framed in the
// console's colours with its widget's name, at its place in the default
// grid. Saved as console-boxes.png in the working folder for a person to
// look at.

#include "game/shell/UIContext.h"
#include "game/widgets/GUIBoxManager.h"
#include "game/world/AppData.h"
#include "tests/support/OffscreenGraphicsTest.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

using qeltest::Rgb;

class ConsoleBoxesDrawTest : public qeltest::OffscreenGraphicsTest {
protected:
    ConsoleBoxesDrawTest() : OffscreenGraphicsTest(kWidth, kHeight) {}

    void SetUp() override
    {
        OffscreenGraphicsTest::SetUp();
        AppData::Load();
        theUIContext = UIContext();
        uiLoadSettings();
        theBoxEditState = GUIBoxEditState{};
    }
    void TearDown() override
    {
        theUIContext = UIContext();
        OffscreenGraphicsTest::TearDown();
    }

    // One frame of a console scene: the backdrop, then the boxes.
    void Frame(const std::vector<std::string>& widgets)
    {
        context.Clear();
        theUIContext.BeginFrame();
        theUIContext.FillRect(0, 0, kWidth, kHeight, glm::vec4(0.03f, 0.05f, 0.08f, 1));
        GUIBoxManager::DrawConsoleBoxes("helm", widgets);
        GUIBoxManager::EditMode(theBoxEditState, "helm");
        theUIContext.EndFrame();
        graphics.Flush2D();
    }

    // Pixels of the rectangle whose colour differs from the backdrop.
    int CountDrawn(const IntRect& r) const
    {
        const Rgb backdrop = At(2, 2);
        int count = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                const Rgb c = At(x, y);
                count += (std::abs(c[0] - backdrop[0]) + std::abs(c[1] - backdrop[1]) + std::abs(c[2] - backdrop[2])) > 24;
            }
        return count;
    }
};

TEST_F(ConsoleBoxesDrawTest, a_console_of_unbuilt_widgets_shows_every_box_framed_with_its_name)
{
    const std::vector<std::string> widgets{"eng_heat_controls", "eng_power_controls", "eng_presets"};
    Frame(widgets);
    ReadScreen();
    ASSERT_TRUE(SaveScreen("console-boxes.png"));

    for (size_t i = 0; i < widgets.size(); ++i) {
        const GUIBox* box = GUIBoxManager::FindBox("helm", widgets[i]);
        ASSERT_NE(box, nullptr) << widgets[i];
        const IntRect pixels = GUIBoxManager::BoxRectToPixels(*box);
        // Inside the window, its frame drawn along its edges and its name in the middle.
        EXPECT_GE(pixels.left, 0);
        EXPECT_LE(pixels.right, kWidth);
        EXPECT_LE(pixels.bottom, kHeight);
        const IntRect leftEdge{pixels.left + 4, pixels.top + 10, pixels.left + 6, pixels.bottom - 10};
        EXPECT_GT(CountDrawn(leftEdge), leftEdge.Height()) << widgets[i];
        const IntPoint centre = pixels.Center();
        const IntRect name{centre.x - 60, centre.y - 12, centre.x + 60, centre.y + 12};
        EXPECT_GT(CountDrawn(name), 100) << widgets[i];
    }
    // Between the boxes lies the backdrop.
    const IntRect gap{0, 0, kWidth, kHeight * 10 / 100 - 2};
    EXPECT_EQ(CountDrawn(gap), 0);
}

TEST_F(ConsoleBoxesDrawTest, a_console_whose_list_has_not_arrived_draws_no_box)
{
    Frame({});
    ReadScreen();
    EXPECT_EQ(CountDrawn(IntRect{0, 0, kWidth, kHeight}), 0);
}

}  // namespace
