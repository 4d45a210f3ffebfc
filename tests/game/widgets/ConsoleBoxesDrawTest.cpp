// A console screen drawn by the real graphics service on the offscreen
// driver before the server has sent its widget list: no box shows.
#include "game/ui/UIContext.h"
#include "game/widgets/ConsoleState.h"
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
        theUIContext.LoadSettings();
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
        GUIBoxManager::DrawConsoleBoxes(console, "helm", widgets);
        GUIBoxManager::EditMode(console.UI(), console.boxEdit, "helm", console.renderer);
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

    ConsoleState console;
};

TEST_F(ConsoleBoxesDrawTest, a_console_whose_list_has_not_arrived_draws_no_box)
{
    Frame({});
    ReadScreen();
    EXPECT_EQ(CountDrawn(IntRect{0, 0, kWidth, kHeight}), 0);
}

}  // namespace
