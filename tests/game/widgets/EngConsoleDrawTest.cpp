// The engineering console drawn by the real graphics service on the offscreen
// driver, its three widgets in one row as a console places them: the power
// sliders with their connectors, the systems' coolant and heat (one system
// overheating), and the presets. Saved as engineering-console.png in the
// working folder for a person to look at.

#include "game/behaviours/PlayerShipKeys.h"
#include "game/ui/UIContext.h"
#include "game/widgets/ConsoleState.h"
#include "game/widgets/EngPresets.h"
#include "game/widgets/EngSystemControls.h"
#include "game/widgets/GUIBoxManager.h"
#include "game/world/AppData.h"
#include "game/world/Simulation.h"
#include "game/world/SpaceObject.h"
#include "tests/support/OffscreenGraphicsTest.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using namespace playership;
using qeltest::Rgb;

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
// One row of three boxes: power (102, 76)-(368, 691), heat from 368, presets from 634.
// The heat box stacks the four systems 153 high; each heat bar stands 25
// wide at the middle of its system, 20 below its top and 40 above its bottom.
constexpr int32_t kHeatLeft = 368;
constexpr int32_t kBoxTop = 76;
constexpr int32_t kSystemHeight = 153;
constexpr int32_t kBarLeft = 368 + 133;

class EngConsoleDrawTest : public qeltest::OffscreenGraphicsTest {
protected:
    EngConsoleDrawTest() : OffscreenGraphicsTest(kWidth, kHeight) {}

    void SetUp() override
    {
        OffscreenGraphicsTest::SetUp();
        AppData::Load();
        theUIContext = UIContext();
        theUIContext.LoadSettings();
        world.Reset(false, "");
        SpaceObject* ship = world.GetSpaceObject(world.CreateSpaceObject("", "", 0));
        world.subjectID = ship->uniqueID;
        static constexpr const char* kLabels[] = {"BEAM",    "TORP",    "IMPULSE",      "WARP",
                                                  "MANEUVER", "SENSORS", "FRONT SHIELD", "REAR SHIELD"};
        static constexpr int32_t kSystems[] = {0, 0, 1, 1, 1, 2, 3, 3};
        for (int32_t i = 0; i < kEngPowerControlCount; ++i) {
            WriteString(ship->data_set, kEngControlLabel, kLabels[i], i);
            WriteInt(ship->data_set, kEngControlTypeIndex, kSystems[i], i);
            WriteFloat(ship->data_set, kEngControlValue, 1.0f, i);
        }
        WriteInt(ship->data_set, kSystemCoolantAvailable, 8);
        WriteString(ship->data_set, kCoolantDotActiveColor, AppData::GetString("coolant_dot_active_color"));
        WriteString(ship->data_set, kCoolantDotReserveColor, AppData::GetString("coolant_dot_reserve_color"));
        WriteFloat(ship->data_set, kEngControlValue, 3.0f, 2);
        WriteFloat(ship->data_set, kEngControlValue, 0.5f, 5);
        WriteInt(ship->data_set, kSystemCoolantUsed, 3, 1);
        WriteFloat(ship->data_set, kSystemCurHeat, 0.95f, 1);
        WriteFloat(ship->data_set, kSystemCurHeat, 0.3f, 2);
        world.clock.time_tick_counter = 110;  // the overheat blink is lit
    }
    void TearDown() override
    {
        theUIContext = UIContext();
        OffscreenGraphicsTest::TearDown();
    }

    // Two frames: the connectors find the heat columns drawn in the first.
    void Frames()
    {
        for (int frame = 0; frame < 2; ++frame) {
            context.Clear();
            theUIContext.BeginFrame();
            theUIContext.ReadMainColour();
            GUIBoxManager::DrawConsoleBoxes(console, "engineering",
                                            {"eng_power_controls", "eng_heat_controls", "eng_presets"});
            theUIContext.EndFrame();
            graphics.Flush2D();
        }
    }

    int CountNear(const IntRect& r, const Rgb& colour) const
    {
        int count = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                const Rgb c = At(x, y);
                count += std::abs(c[0] - colour[0]) + std::abs(c[1] - colour[1]) + std::abs(c[2] - colour[2]) < 40;
            }
        return count;
    }

    ConsoleState console;
    Simulation world;
};

TEST_F(EngConsoleDrawTest, the_systems_show_their_names_heat_and_connectors_in_their_colours)
{
    Frames();
    ReadScreen();
    ASSERT_TRUE(SaveScreen("engineering-console.png"));

    for (int32_t e = 0; e < kEngSystemCount; ++e) {
        const glm::vec4 c = kEngSystems[static_cast<size_t>(e)].colour;
        const Rgb colour{static_cast<int>(c.r * 255), static_cast<int>(c.g * 255), static_cast<int>(c.b * 255)};
        const int32_t bottom = kBoxTop + (e + 1) * kSystemHeight;
        EXPECT_GT(CountNear(IntRect{kHeatLeft, bottom - 20, kHeatLeft + 133, bottom}, colour), 20)
            << kEngSystems[static_cast<size_t>(e)].name;
    }
    // ENGINES overheats: its bar is red nearly to the top; SENSORS' stays low and green-yellow.
    const int32_t enginesTop = kBoxTop + kSystemHeight;
    EXPECT_GT(CountNear(IntRect{kBarLeft, enginesTop + 25, kBarLeft + 25, enginesTop + 113}, Rgb{255, 0, 0}), 1500);
    const int32_t sensorsTop = kBoxTop + 2 * kSystemHeight;
    EXPECT_GT(CountNear(IntRect{kBarLeft, sensorsTop + 100, kBarLeft + 25, sensorsTop + 113}, Rgb{76, 178, 0}), 200);
    EXPECT_EQ(CountNear(IntRect{kBarLeft, sensorsTop + 25, kBarLeft + 25, sensorsTop + 60}, Rgb{76, 178, 0}), 0);
    // The connectors cross from the sliders to the columns in the systems' colours, dimmed.
    const IntRect between{300, kBoxTop, kHeatLeft, kBoxTop + 4 * kSystemHeight};
    EXPECT_GT(CountNear(between, Rgb{178, 89, 89}), 20) << "weapons";
    EXPECT_GT(CountNear(between, Rgb{89, 178, 89}), 20) << "engines";
}

}  // namespace
