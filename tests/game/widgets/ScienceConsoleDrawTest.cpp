// A science console drawn by the real graphics service on the offscreen
// driver: the object list, the scan-type tabs, the data panel of a scanned
// computer ship and its shield frequencies. Saved as science-console.png in
// the working folder for a person to look at.

#include "game/behaviours/PlayerShipKeys.h"
#include "game/ui/UIContext.h"
#include "game/widgets/ConsoleState.h"
#include "game/widgets/ScienceConsoleState.h"
#include "game/widgets/ScienceDataWidget.h"
#include "game/widgets/ScienceTabWidgets.h"
#include "game/widgets/SortedObjectList.h"
#include "game/world/AppData.h"
#include "game/world/ObjectDataBlob.h"
#include "game/world/Simulation.h"
#include "tests/support/OffscreenGraphicsTest.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace playership;
using namespace shipkeys;
using qeltest::Rgb;

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
const IntRect kListRect{10, 10, 330, 758};
const IntRect kTabsRect{340, 10, 1014, 50};
const IntRect kDataRect{340, 56, 1014, 520};
const IntRect kFreqRect{340, 530, 1014, 758};

class ScienceConsoleDrawTest : public qeltest::OffscreenGraphicsTest {
protected:
    ScienceConsoleDrawTest() : OffscreenGraphicsTest(kWidth, kHeight) {}

    void SetUp() override
    {
        OffscreenGraphicsTest::SetUp();
        AppData::Load();
        theUIContext = UIContext();
        theUIContext.LoadSettings();
        world = std::make_unique<Simulation>();
        world->Reset(false, "");
        ship = Make("behav_playership", "tern_frigate", "Halcyon", "fleet", {0, 0, 0});
        world->subjectID = ship->uniqueID;
        WriteString(ship->data_set, kScanTypeForShldFreq, "status");
        WriteString(ship->data_set, kScanTypeForSystemDamage, "status");
    }
    void TearDown() override
    {
        world.reset();
        theUIContext = UIContext();
        OffscreenGraphicsTest::TearDown();
    }

    SpaceObject* Make(const char* behaviour, const char* dataTag, const char* name, const char* side,
                      const glm::vec3& at)
    {
        SpaceObject* object = world->GetSpaceObject(world->CreateSpaceObject("", dataTag, 0));
        object->tick_type = behaviour;
        object->side = side;
        WriteString(object->data_set, kNameTag, name);
        WriteString(object->data_set, kHullSide, side);
        WriteString(object->data_set, kHullOrigin, "Meridian");
        world->RepositionSpaceObject(object, at.x, at.y, at.z);
        return object;
    }

    void Frame()
    {
        context.Clear();
        UIContext& ui = theUIContext;
        ui.BeginFrame();
        ui.FillRect(0, 0, kWidth, kHeight, glm::vec4(0.02f, 0.03f, 0.05f, 1));
        IntRect list = kListRect, tabs = kTabsRect, data = kDataRect, freq = kFreqRect;
        ViewScienceSortedListDraw(console, list, "science_sorted_list");
        ViewScienceDataTabsDraw(console, tabs, "science_data_tabs");
        ViewScienceDataDraw(console, data, "science_data");
        ViewScienceDataFreqDraw(console, freq, "science_data_freq");
        ui.EndFrame();
        graphics.Flush2D();
    }

    ConsoleState console;
    std::unique_ptr<Simulation> world;
    SpaceObject* ship = nullptr;
};

TEST_F(ScienceConsoleDrawTest, a_scanned_ship_shows_its_data_and_its_weakest_frequency_in_red)
{
    SpaceObject* raider = Make("behav_npcship", "corvette", "Vandal", "raiders", {2400, -120, 1800});
    for (SpaceObject* other : {raider, Make("behav_station", "station", "Tannhal Yard", "fleet", {-900, 0, 3000}),
                               Make("behav_npcship", "corvette", "Wren", "fleet", {600, 40, -700})})
        other->data_set.SetStringByIndexString("scan", "Identified.", ship->side, "a");
    raider->data_set.SetStringByIndexString(
        "status", "Weapons charged, engines hot. The hull shows old damage along its port side.", ship->side, "a");
    WriteInt(raider->data_set, kShieldCount, 2);
    WriteFloat(raider->data_set, kShieldVal, 84.0f, 0);
    WriteFloat(raider->data_set, kShieldVal, 31.0f, 1);
    const int32_t strengths[5] = {80, 65, 5, 90, 45};
    for (int32_t i = 0; i < 5; ++i) {
        WriteInt(raider->data_set, kShieldFreqStrength, strengths[i], i);
        WriteFloat(raider->data_set, kSystemMaxDamage, 100.0f, i);
        WriteFloat(raider->data_set, kSystemDamage, 20.0f * i, i);
    }
    WriteUInt64(ship->data_set, kScienceTargetUid, raider->uniqueID);
    WriteUInt64(ship->data_set, kWeaponTargetUid, raider->uniqueID);
    console.currentScienceScanType = "status";

    Frame();  // the list learns the sides, the frequencies their weakest
    Frame();
    ReadScreen();
    ASSERT_TRUE(SaveScreen("science-console.png"));

    // Frequency C (5 %) is a short red column, D (90 %) a tall green one.
    const int32_t column = (kFreqRect.right - kFreqRect.left) / 5;
    const Rgb weakBar = At(kFreqRect.left + 2 * column + 5, kFreqRect.bottom - 3);
    EXPECT_GT(weakBar[0], 180);
    EXPECT_LT(weakBar[1], 60);
    const Rgb strongBar = At(kFreqRect.left + 3 * column + 5, kFreqRect.top + 40);
    EXPECT_GT(strongBar[1], 180);
    EXPECT_LT(strongBar[0], 60);
    const Rgb aboveWeak = At(kFreqRect.left + 2 * column + 5, kFreqRect.top + 40);
    EXPECT_LT(aboveWeak[0], 120) << "the weak column is grey above its bar";
}

TEST_F(ScienceConsoleDrawTest, an_unscanned_contact_offers_the_initial_scan_in_green_while_its_progress_runs)
{
    SpaceObject* contact = Make("behav_npcship", "corvette", "Vandal", "raiders", {2400, -120, 1800});
    WriteUInt64(ship->data_set, kScienceTargetUid, contact->uniqueID);
    WriteFloat(ship->data_set, kCurScanPercent, 0.6f);
    WriteString(ship->data_set, kCurScanType, "scan");
    console.currentScienceScanType = "scan";
    Frame();
    ReadScreen();
    ASSERT_TRUE(SaveScreen("science-console-start.png"));

    // The start label's green, in the button along the panel's bottom.
    int green = 0;
    for (int y = kDataRect.bottom - 40; y < kDataRect.bottom; ++y)
        for (int x = kDataRect.left; x < kDataRect.right; ++x) {
            const Rgb c = At(x, y);
            green += c[1] > 180 && c[0] < 120 && c[2] < 120;
        }
    EXPECT_GT(green, 50);
}

}  // namespace
