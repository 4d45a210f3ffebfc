// Every bridge station drawn by the real graphics service on the offscreen
// driver, as a crew sees it in the first mission: the Tern among Halcyon
// Station, Skarn raiders, a Meridian cruiser and a void serpent, her science
// officer's scan done, her comms officer talking to the station, messages in
// the waterfall. Each station is saved as station-screens/<station>.png in
// the working folder for a person to look at, and the text runs of each
// (as the interface's text fitting reports them) are checked: none over
// another, none out of its box.

#include "game/behaviours/PlayerShipKeys.h"
#include "game/behaviours/PlayerShipSetup.h"
#include "game/net/ConsoleScreen.h"
#include "game/render/manager/SharedConsoleState.h"
#include "game/ui/TextLog.h"
#include "game/widgets/CommsWidgets.h"
#include "game/widgets/GUIBoxManager.h"
#include "game/widgets/LocalConsoleScreen.h"
#include "game/world/DataKey.h"
#include "game/world/ShipKeys.h"
#include "helper/ColorParse.h"
#include "tests/support/ConsoleDrawTest.h"
#include "tests/support/GeneratedData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr const char* kShotFolder = "station-screens";

// The bridge's stations: a console name and its widgets in list order.
struct Station {
    const char* name;
    std::vector<std::string> widgets;
};
const std::vector<Station> kStations = {
    {"helm",
     {"2dview", "throttle", "helm_normal", "helm_jump", "request_dock", "red_alert", "radar_zoom_ctrl",
      "main_screen_control", "text_waterfall"}},
    {"weapons",
     {"weapon_2d_view", "weapon_control", "weap_beam_freq", "weap_beam_speed", "weap_torp_conversion",
      "shield_control", "red_alert", "radar_zoom_ctrl", "main_screen_control", "text_waterfall"}},
    {"engineering", {"eng_power_controls", "eng_heat_controls", "eng_presets", "ship_data", "text_waterfall"}},
    {"science",
     {"science_2d_view", "radar_zoom_ctrl", "science_sorted_list", "science_data_tabs", "science_data",
      "science_data_freq", "text_waterfall"}},
    {"comms", {"comms_2d_view", "comms_sorted_list", "comms_face", "comms_control", "comms_waterfall", "text_waterfall"}},
    {"main_screen", {"3dview", "text_waterfall"}},
    {"damage_control",
     {"ship_internal_view", "grid_object_list", "grid_face", "grid_control", "ship_data", "text_waterfall"}},
    {"fighter_cockpit", {"3dview", "helm_free_3d", "fighter_control", "quick_jump", "2dview", "text_waterfall"}},
    {"gamemaster", {"2dview", "3dview_camera", "ship_data", "text_waterfall"}},
};

constexpr const char* kStationMaster =
    "backdrop #24303c 0 0;head #e6b594 0 0;uniform #2a5aa8 0 0;trim #e8c866 0 0;eyes white 0 0;"
    "iris #3a78b8 0 0;brows #4a2e1c 0 0;nose #e6b594 0 0;mouth #e6b594 1 0;hair #4a2e1c 0 0";

class StationScreensDrawTest : public qeltest::ConsoleDrawTest {
protected:
    StationScreensDrawTest() : ConsoleDrawTest(kWidth, kHeight) {}

    void SetUp() override
    {
        LinkAllArt();
        ConsoleDrawTest::SetUp();
        manager->SetRadarZoom(RenderManager::kDefaultRadarScale);  // centred on the fixture's radar target
        GUIBoxManager::Load(console.boxEdit);
        consoleScreen.ClearInfoLists();
        console.commsWaterfall = CommsWaterfallState();
        theMessageLog.Clear();
        BuildFirstWatch();
    }
    void TearDown() override
    {
        console.consoleName.clear();
        consoleScreen.ClearInfoLists();
        console.commsWaterfall = CommsWaterfallState();
        theMessageLog.Clear();
        console.currentScienceScanType.clear();
        GUIBoxManager::Load(console.boxEdit);
        ConsoleDrawTest::TearDown();
    }

    // The game's generated data and every picture and font of its graphics
    // folder, linked into the test's own data folder, and the game's layout
    // of its stations.
    void LinkAllArt()
    {
        namespace fs = std::filesystem;
        qeltest::LinkGeneratedData(data);
        fs::copy_file(qeltest::GameDataFolder() / "GUIBoxDefaults.txt", data.Path() / "GUIBoxDefaults.txt");
        std::vector<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(QEL_SOURCE_DIR) / "data/graphics"))
            if (entry.path().filename() != "ships")
                names.push_back(entry.path().filename().string());
        qeltest::LinkInterfaceArt(data, names);
    }

    SpaceObject* Ship(const char* behaviour, const char* key, const char* name, const char* side,
                      const glm::vec3& at, float heading)
    {
        SpaceObject* object = Place(behaviour, key, at, heading);
        object->side = side;
        WriteString(object->data_set, shipkeys::kNameTag, name);
        WriteString(object->data_set, playership::kHullSide, side);
        return object;
    }

    // The Tern on patrol beside Halcyon, two raiders, a cruiser of her own
    // side and a serpent close to one raider.
    void BuildFirstWatch()
    {
        world->SetSideRelationship("meridian", "skarn", DIPLOMACY_HOSTILE);
        world->SetSideRelationship("skarn", "meridian", DIPLOMACY_HOSTILE);
        tern = Ship("behav_playership", "tern_frigate", "Tern", "meridian", {0, 0, 0}, 0.0f);
        PlayerShipSetupFromData(tern);
        world->subjectID = tern->uniqueID;
        halcyon = Ship("behav_station", "starbase_civil", "Halcyon Station", "meridian", {0, 0, 2500}, 0.0f);
        fang = Ship("behav_npcship", "skarn_raider", "Skarn Fang", "skarn", {-2600, 0, 3400}, 2.4f);
        Ship("behav_npcship", "skarn_raider", "Skarn Talon", "skarn", {6000, 0, 7000}, 3.6f);
        Ship("behav_npcship", "fleet_light_cruiser", "Meridian Warden", "meridian", {1500, 0, -3000}, 1.0f);
        Ship("behav_monster", "monster_dragon", "Void Serpent", "monster", {-2300, 0, 3450}, 0.5f);
        world->AddNavpoint(5000, 0, 5500, "Patrol East", "gold");
        world->AddNavpoint(0, 0, 9000, "Picket Line", "orange");
        for (SpaceObject* seen : {halcyon, fang})
            seen->data_set.SetStringByIndexString("scan", "Identified.", "meridian", "a");
        fang->data_set.SetStringByIndexString("status", "Weapons charged, engines hot.", "meridian", "a");
        WriteUInt64(tern->data_set, shipkeys::kScienceTargetUid, fang->uniqueID);
        WriteUInt64(tern->data_set, shipkeys::kWeaponTargetUid, fang->uniqueID);
        WriteUInt64(tern->data_set, shipkeys::kCommsTargetUid, halcyon->uniqueID);
        world->Container()->ReinsertMoved();
        world->clock.time_tick_counter = 20000;

        consoleScreen.SelectInfo(ConsoleScreen::InfoList::Comms, {"Halcyon Station", "#ffd24a", kStationMaster});
        consoleScreen.AddInfo(ConsoleScreen::InfoList::Comms, {"Request docking", "#40ff70", "dock"});
        consoleScreen.AddInfo(ConsoleScreen::InfoList::Comms, {"Report status", "#7fd4ff", "status"});
        CommsMessageRecord message;
        message.sourceId = halcyon->uniqueID;
        message.face = kStationMaster;
        message.title = "Halcyon Station";
        message.body = "Tern, Skarn raiders were sighted near the depot; keep your shields up.";
        ParseColor(message.titleColour, "#ffd24a");
        ParseColor(message.bodyColour, "#d8e4f0");
        message.arrivalTick = world->TickCount() - 300;
        world->commsMessages.push_back(message);
        theMessageLog.Add(glm::vec4(0.5f, 0.9f, 1.0f, 1.0f), "Halcyon Station: patrol the picket line.");
        theMessageLog.Add(glm::vec4(1.0f, 0.6f, 0.3f, 1.0f), "Sensors: two Skarn raiders on the plot.");
    }

    // A few frames of the station, as its console draws them; the text runs
    // of the last are kept, and it is read back.
    void DrawStation(const Station& station)
    {
        console.consoleName = station.name;
        console.currentScienceScanType = "status";
        theUIContext.textRuns.recording = false;
        for (int frame = 0; frame < 2; ++frame)
            ConsoleFrame(station.name, station.widgets);
        theUIContext.textRuns.recording = true;
        ConsoleFrame(station.name, station.widgets);
        theUIContext.textRuns.recording = false;
    }

    qeltest::TempFolder data;
    qeltest::ScopedEnv dataFolder{"QEL_DATA_DIR", data.Path().string()};
    qeltest::TempFolder settings;
    qeltest::ScopedEnv settingsFolder{"QEL_SETTINGS_DIR", settings.Path().string()};
    SpaceObject* tern = nullptr;
    SpaceObject* halcyon = nullptr;
    SpaceObject* fang = nullptr;
    LocalConsoleScreen consoleScreen{console};  // this machine's screen, filling the console
};

// Every widget of every station has its place in the game's own layout, so
// no station falls back to the plain grid, and each place is inside the
// window with room to draw in.
TEST_F(StationScreensDrawTest, the_games_layout_places_every_widget_of_every_station)
{
    for (const Station& station : kStations)
        for (const std::string& widget : station.widgets) {
            const GUIBox* box = GUIBoxManager::FindBox(station.name, widget);
            ASSERT_NE(box, nullptr) << station.name << " " << widget;
            for (const IntRect& r : box->rect) {
                EXPECT_LT(r.left, r.right) << station.name << " " << widget << " has no width";
                EXPECT_LT(r.top, r.bottom) << station.name << " " << widget << " has no height";
                EXPECT_TRUE(r.left >= 0 && r.right <= 100 && r.top >= 0 && r.bottom <= 100)
                    << station.name << " " << widget << " lies outside the window";
            }
        }
}

TEST_F(StationScreensDrawTest, every_station_draws_its_widgets_and_is_kept_for_a_look)
{
    std::filesystem::create_directories(kShotFolder);
    for (const Station& station : kStations) {
        SCOPED_TRACE(station.name);
        DrawStation(station);
        EXPECT_TRUE(SaveScreen(std::string(kShotFolder) + "/" + station.name + ".png"));
    }
}

TEST_F(StationScreensDrawTest, no_text_of_a_station_covers_another_or_leaves_its_box)
{
    for (const Station& station : kStations) {
        DrawStation(station);
        EXPECT_FALSE(theUIContext.textRuns.runs.empty()) << station.name;
        EXPECT_EQ(theUIContext.textRuns.Faults(), "") << station.name;
    }
}

// At the zoom a new world starts with, the helm's radar plots the station
// and the cruiser a few thousand units off, not an empty plot: the scanned
// station by its name, the unscanned cruiser by its range (3354 units).
TEST_F(StationScreensDrawTest, the_helm_radar_at_its_default_zoom_shows_the_contacts_near_the_ship)
{
    DrawStation(kStations.front());
    std::vector<std::string> radarTexts;
    for (const TextRun& run : theUIContext.textRuns.runs)
        if (run.surface == "radar")
            radarTexts.push_back(run.text);
    for (const char* name : {"Halcyon Station", "3K"})
        EXPECT_TRUE(std::any_of(radarTexts.begin(), radarTexts.end(),
                                [&](const std::string& text) { return text.find(name) != std::string::npos; }))
            << name;
}

}  // namespace
