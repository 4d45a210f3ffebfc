// The comms console drawn by the real graphics service on the offscreen
// driver: the contact's portrait under the mission's heading, the mission's
// buttons in their colours, and the message list with a sender's portrait,
// a star, an opened message and ages. Saved as comms-console.png in the
// working folder for a person to look at.

#include "game/net/ConsoleScreen.h"
#include "game/render/manager/SharedConsoleState.h"
#include "game/widgets/CommsWidgets.h"
#include "game/widgets/GUIBoxManager.h"
#include "game/widgets/LocalConsoleScreen.h"
#include "game/world/DataKey.h"
#include "game/world/ShipKeys.h"
#include "helper/ColorParse.h"
#include "tests/support/ConsoleDrawTest.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
const std::vector<std::string> kWidgets = {"comms_face", "comms_control", "comms_waterfall", "comms_sorted_list"};

constexpr const char* kStationMaster =
    "backdrop #24303c 0 0;head #e6b594 0 0;uniform #2a5aa8 0 0;trim #e8c866 0 0;eyes white 0 0;"
    "iris #3a78b8 0 0;brows #4a2e1c 0 0;nose #e6b594 0 0;mouth #e6b594 1 0;hair #4a2e1c 0 0";
constexpr const char* kRaider =
    "backdrop #3a2420 1 0;hairback #1a1210 0 0;head #8d5a3b 1 1;uniform #a02828 1 0;trim #d0d0d8 1 0;"
    "eyes white 1 0;iris #4a3020 1 0;brows #1a1210 1 0;nose #8d5a3b 1 0;mouth #8d5a3b 0 0;hair #1a1210 0 1";
constexpr const char* kDockColour = "#40ff70";

using qeltest::Rgb;

class CommsConsoleDrawTest : public qeltest::ConsoleDrawTest {
protected:
    CommsConsoleDrawTest() : ConsoleDrawTest(kWidth, kHeight) {}

    void SetUp() override
    {
        ConsoleDrawTest::SetUp();
        console.consoleName = "comms";
        console.commsWaterfall = CommsWaterfallState();
        console.commsControl = CommsControlState();
        ship = Place("behav_playership", "tern_frigate", {0, 0, 0}, 0.0f);
        world->subjectID = ship->uniqueID;
        station = Place("behav_station", "starbase_civil", {0, 0, 2500}, 0.0f);
        WriteUInt64(ship->data_set, shipkeys::kCommsTargetUid, station->uniqueID);
        world->clock.time_tick_counter = 20000;
    }
    void TearDown() override
    {
        consoleScreen.ClearInfoLists();
        console.commsWaterfall = CommsWaterfallState();
        console.consoleName.clear();
        ConsoleDrawTest::TearDown();
    }

    void Message(const char* face, const char* title, const char* body, int64_t age, int32_t star)
    {
        CommsMessageRecord message;
        message.sourceId = station->uniqueID;
        message.face = face;
        message.title = title;
        message.body = body;
        ParseColor(message.titleColour, "#ffd24a");
        ParseColor(message.bodyColour, "#d8e4f0");
        message.arrivalTick = world->TickCount() - age;
        message.starState = star;
        world->commsMessages.push_back(message);
    }

    IntRect Box(const std::string& widget) const
    {
        const GUIBox* box = GUIBoxManager::FindBox("comms", widget);
        return box ? GUIBoxManager::BoxRectToPixels(*box, console.boxEdit.layoutIndex) : IntRect{};
    }

    // Pixels of the rectangle near the colour.
    int CountNear(const IntRect& r, const Rgb& colour, int tolerance = 40) const
    {
        int count = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                const Rgb c = At(x, y);
                count += std::abs(c[0] - colour[0]) + std::abs(c[1] - colour[1]) + std::abs(c[2] - colour[2]) <
                         tolerance;
            }
        return count;
    }

    SpaceObject* ship = nullptr;
    SpaceObject* station = nullptr;
    LocalConsoleScreen consoleScreen{console};  // this machine's screen, filling the console
};

TEST_F(CommsConsoleDrawTest, the_contact_its_buttons_and_the_messages_show_in_their_colours)
{
    consoleScreen.SelectInfo(ConsoleScreen::InfoList::Comms, {"Halcyon Station", "#ffd24a", kStationMaster});
    consoleScreen.AddInfo(ConsoleScreen::InfoList::Comms, {"Request docking", kDockColour, "dock"});
    consoleScreen.AddInfo(ConsoleScreen::InfoList::Comms, {"Report status", "#7fd4ff", "status"});
    consoleScreen.AddInfo(ConsoleScreen::InfoList::Comms, {"Send distress call", "#ff6050", "distress"});
    Message(kRaider, "Skarn Talon", "Turn back, Meridian. These lanes are ours now.", 7300, 0);
    Message(kStationMaster, "Halcyon Station", "Bay two is clear. Come in slow, mind the tugs.", 2000, 1);
    Message(kStationMaster, "Halcyon Station",
            "Tern, we read you. Skarn raiders were sighted near the depot an hour ago; keep your shields up and "
            "report anything that moves out there.",
            40, 0);
    console.commsWaterfall.expanded = 2;

    ConsoleFrame("comms", kWidgets);  // measures the messages and counts the buttons
    ConsoleFrame("comms", kWidgets);
    ASSERT_TRUE(SaveScreen("comms-console.png"));

    // The portrait fills the middle of its box: the station master's uniform blue.
    const IntRect face = Box("comms_face");
    EXPECT_GT(CountNear(face, {0x2a, 0x5a, 0xa8}, 90), face.Width() * face.Height() / 50);
    // The buttons' labels in the mission's colours.
    const IntRect control = Box("comms_control");
    EXPECT_GT(CountNear(control, {0x40, 0xff, 0x70}, 80), 40);
    EXPECT_GT(CountNear(control, {0xff, 0x60, 0x50}, 80), 40);
    // The message rows: their dark teal backgrounds, the opened one tinted
    // red, and the gold titles.
    const IntRect list = Box("comms_waterfall");
    EXPECT_GT(CountNear(list, {0, 25, 25}, 20), list.Width() * 20);
    EXPECT_GT(CountNear(list, {76, 25, 25}, 20), list.Width() * 20);
    EXPECT_GT(CountNear(list, {0xff, 0xd2, 0x4a}, 80), 60);
}

}  // namespace
