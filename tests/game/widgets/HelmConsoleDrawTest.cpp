// The helm's widgets drawn by the real graphics service on the offscreen
// driver, beside each other as a two-widget console places them: the
// attitude display's rings and read-outs, and the throttle's column lit to
// half impulse. Saved as helm-console.png in the working folder for a person
// to look at.

#include "game/behaviours/PlayerShipKeys.h"
#include "game/ui/UIContext.h"
#include "game/widgets/ConsoleState.h"
#include "game/widgets/GUIBoxManager.h"
#include "game/widgets/GUIBoxThrottle.h"
#include "game/widgets/HelmSteering.h"
#include "game/world/AppData.h"
#include "game/world/Simulation.h"
#include "game/world/SpaceObject.h"
#include "tests/support/OffscreenGraphicsTest.h"

#include <gtest/gtest.h>

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
// One row of two boxes: the helm at (102, 76)-(512, 691), the throttle beside it.
constexpr int32_t kHelmCentreX = 307, kHelmCentreY = 383;
constexpr float kRingHalfHeight = 153.5f;
constexpr int32_t kColumnX = 716;
constexpr int32_t kColumnBottom = 664;

using qeltest::Rgb;

class HelmConsoleDrawTest : public qeltest::OffscreenGraphicsTest {
protected:
    HelmConsoleDrawTest() : OffscreenGraphicsTest(kWidth, kHeight) {}

    void SetUp() override
    {
        OffscreenGraphicsTest::SetUp();
        AppData::Load();
        theUIContext = UIContext();
        theUIContext.LoadSettings();
        world.Reset(false, "");
        SpaceObject* ship = world.GetSpaceObject(world.CreateSpaceObject("", "", 0));
        world.subjectID = ship->uniqueID;
        WriteFloat(ship->data_set, playership::kPlayerThrottle, 0.5f);
        WriteString(ship->data_set, playership::kDockState, playership::kDockStateUndocked);
        SpaceObject* contact = world.GetSpaceObject(world.CreateSpaceObject("", "", 0));
        contact->tick_type = "behav_npcship";
        contact->pos = {2500.0f, 0.0f, 2500.0f};
    }
    void TearDown() override
    {
        theUIContext = UIContext();
        OffscreenGraphicsTest::TearDown();
    }

    void Frame()
    {
        context.Clear();
        theUIContext.BeginFrame();
        theUIContext.ReadMainColour();
        GUIBoxManager::DrawConsoleBoxes(console, "helm", {"helm_simple", "throttle"});
        theUIContext.EndFrame();
        graphics.Flush2D();
    }

    // Pixels of the rectangle for which the test holds.
    template <typename Test>
    int Count(const IntRect& r, Test test) const
    {
        int count = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                count += test(At(x, y));
        return count;
    }

    ConsoleState console;
    Simulation world;
};

TEST_F(HelmConsoleDrawTest, the_helm_shows_its_rings_and_read_outs_and_the_throttle_its_lit_column)
{
    Frame();  // the throttle takes the server's value at the end of its first frame
    Frame();
    ReadScreen();
    ASSERT_TRUE(SaveScreen("helm-console.png"));

    // The outer ring, red, crosses the top of the disc.
    const int32_t ringTop = kHelmCentreY - static_cast<int32_t>(kRingHalfHeight);
    const IntRect aroundRingTop{kHelmCentreX - 20, ringTop - 3, kHelmCentreX + 20, ringTop + 4};
    EXPECT_GT(Count(aroundRingTop, [](const Rgb& c) { return c[0] > 120 && c[1] < 90 && c[2] < 120; }), 10);
    // The heading in the console's colour at the top left.
    const glm::vec4 main = theUIContext.mainColour * 255.0f;
    const IntRect heading{112, 86, 230, 112};
    EXPECT_GT(Count(heading, [&](const Rgb& c) {
                  return std::abs(c[0] - main.r) < 40 && std::abs(c[1] - main.g) < 40 && std::abs(c[2] - main.b) < 40;
              }),
              20);

    // Half impulse: the bottom segment lit pure green, the top one unlit.
    EXPECT_EQ(At(kColumnX, kColumnBottom - 12), (Rgb{0, 255, 0}));
    const Rgb top = At(kColumnX, 119);
    EXPECT_NEAR(top[0], 110, 2);
    EXPECT_NEAR(top[1], 112, 2);
    EXPECT_NEAR(top[2], 61, 2);
}

}  // namespace
