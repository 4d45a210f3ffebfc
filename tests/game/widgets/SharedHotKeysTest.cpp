// The keys the mission author's guide (docs/missions.md) says the throttle
// and the comms buttons share: on one console, each press of such a key sets
// the throttle's warp level and presses the comms button of that number, as
// the guide warns.

#include "engine/base/QelVirtualKeys.h"
#include "game/behaviours/PlayerShipKeys.h"
#include "game/net/ConsoleScreen.h"
#include "game/net/PresentationSignals.h"
#include "game/net/SignalMessageCrew.h"
#include "game/ui/KeyNames.h"
#include "game/widgets/CommsWidgets.h"
#include "game/widgets/GUIBoxThrottle.h"
#include "game/widgets/LocalConsoleScreen.h"
#include "game/world/ShipKeys.h"
#include "tests/game/net/SignalHookSupport.h"
#include "tests/game/widgets/WidgetTestFixture.h"
#include "tests/tools/halvex-server/MissionGuide.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

using harnesstest::Guide;
using harnesstest::TableRow;

constexpr int kButtons = 4;

class SharedHotKeysTest : public WidgetTest {
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        client->SetConsoleScreen(&consoleScreen);
        consoleScreen.ClearInfoLists();
        console.commsControl = CommsControlState();
        console.throttle = ThrottleWidgetState();
        WriteInt(ship->data_set, playership::kWarpDriveActive, 1);
        WriteString(ship->data_set, playership::kDockState, playership::kDockStateUndocked);
        WriteUInt64(ship->data_set, shipkeys::kCommsTargetUid, world.CreateSpaceObject("behav_station", "", 0));
        nettest::SendToClientHook(CommsSelectionInfoSignal::FromEntry({"Picket Command", "white", ""}), client.get());
        for (int n = 1; n <= kButtons; ++n)
            nettest::SendToClientHook(
                CommsButtonInfoSignal::FromEntry({"B" + std::to_string(n), "white", "cmd" + std::to_string(n)}),
                client.get());
    }
    void TearDown() override
    {
        consoleScreen.ClearInfoLists();
        console.commsControl = CommsControlState();
        console.throttle = ThrottleWidgetState();
        WidgetTest::TearDown();
    }

    // Both widgets of one console in one frame.
    void DrawConsole()
    {
        Frame([this] {
            IntRect throttle = kThrottle, comms = kComms;
            ViewThrottleDraw(console, throttle, "throttle");
            ViewCommsControlDraw(console, comms, "comms_control");
        });
    }

    // The guide's keys whose row names both widgets.
    static std::vector<std::string> KeysOfBoth()
    {
        const Guide guide;
        std::vector<std::string> keys;
        for (const TableRow& row : guide.tables.at("Hot key")) {
            const std::vector<std::string> widgets = Guide::Quoted(row[1]);
            const auto names = [&](const char* widget) {
                return std::find(widgets.begin(), widgets.end(), widget) != widgets.end();
            };
            if (names("throttle") && names("comms_control")) {
                const std::vector<std::string> tags = Guide::Quoted(row[0]);
                keys.insert(keys.end(), tags.begin(), tags.end());
            }
        }
        return keys;
    }

    static constexpr IntRect kThrottle{0, 0, 60, 400};
    static constexpr IntRect kComms{100, 0, 500, 400};
};

TEST_F(SharedHotKeysTest, each_digit_the_guide_names_sets_its_warp_level_and_presses_its_comms_button)
{
    const std::vector<std::string> keys = KeysOfBoth();
    ASSERT_FALSE(keys.empty()) << "the guide's table of keys names no key of throttle and comms_control";
    DrawConsole();  // the hot keys take their defaults
    for (const std::string& tag : keys) {
        const int32_t key = keyTagToCode(tag);
        ASSERT_GE(key, qel::vk::kDigit0 + 1) << tag;
        ASSERT_LE(key, qel::vk::kDigit0 + kButtons) << tag;
        const int n = key - qel::vk::kDigit0;
        input.KeyDown(key);
        DrawConsole();
        input.KeyUp(key);
        DrawConsole();
        EXPECT_TRUE(console.throttle.warpMode) << tag;
        EXPECT_FLOAT_EQ(console.throttle.throttle.value, static_cast<float>(n + 1)) << tag << ": warp " << n;
        const std::vector<CommsButtonSignal> pressed = network.Signals<CommsButtonSignal>();
        ASSERT_FALSE(pressed.empty()) << tag;
        EXPECT_EQ(pressed.back().button, "cmd" + std::to_string(n)) << tag;
    }
}

}  // namespace
