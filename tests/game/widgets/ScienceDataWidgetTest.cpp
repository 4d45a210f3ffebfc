// "science_data" on recording services: which button it offers for the
// selection and the chosen kind of scan, the "signal" 92 that button and its
// hot key send, and what the panel reads out of the selection.

#include "game/widgets/ScienceDataWidget.h"

#include "tests/game/widgets/ScienceConsoleFixture.h"

#include "game/behaviours/StationKeys.h"
#include "game/net/NetworkIds.h"

#include <cmath>
#include <vector>

namespace {

using namespace playership;
using namespace shipkeys;

const IntRect kWidgetRect{0, 0, 600, 400};

class ScienceDataWidgetTest : public ScienceConsoleTest {
protected:
    void SetUp() override
    {
        ScienceConsoleTest::SetUp();
        target = Make("behav_npcship", "corvette", {300, -40, 400});
        target->side = "raiders";
        WriteString(target->data_set, kNameTag, "Vandal");
        WriteString(target->data_set, kHullSide, "Outer");
        WriteString(target->data_set, kHullName, "Corvette");
        Select(*target);
    }

    void Draw()
    {
        IntRect rect = kWidgetRect;
        ViewScienceDataDraw(console, rect, "science_data");
    }
    void DrawFrame() { Frame([this] { Draw(); }); }

    std::vector<ScanCommandSignal> Commands() const { return network.Signals<ScanCommandSignal>(); }

    SpaceObject* target = nullptr;
};

TEST_F(ScienceDataWidgetTest, the_start_label_names_the_chosen_kind_of_scan)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"scan", "Start Initial Scan"}, {"status", "Start Status Scan"}, {"", "Start  Scan"}};
    for (const auto& [type, label] : cases) {
        console.currentScienceScanType = type;
        DrawFrame();
        EXPECT_TRUE(Drawn(label)) << "type '" << type << "'";
    }
}

TEST_F(ScienceDataWidgetTest, start_sends_the_scan_and_hides_itself_while_the_scan_is_listed)
{
    console.currentScienceScanType = "scan";
    DrawFrame();
    Click("Start Initial Scan", [this] { Draw(); });

    const std::vector<ScanCommandSignal> commands = Commands();
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].targetId, target->uniqueID);
    EXPECT_EQ(commands[0].command, "start");
    EXPECT_EQ(commands[0].scanType, "scan");
    ASSERT_EQ(PendingScienceScans(console).size(), 1u);

    DrawFrame();
    EXPECT_FALSE(Drawn("Start Initial Scan")) << "listed, even with no progress yet";
    client->scanQueue.clear();  // the server's queue no longer holds it
    DrawFrame();
    EXPECT_TRUE(Drawn("Start Initial Scan"));
}

TEST_F(ScienceDataWidgetTest, enter_starts_a_scan_and_while_one_runs_cancels_them)
{
    console.currentScienceScanType = "scan";
    PressKey(qel::vk::kReturn, [this] { Draw(); });
    ASSERT_EQ(Commands().size(), 1u);
    EXPECT_EQ(Commands()[0].command, "start");

    WriteFloat(ship->data_set, kCurScanPercent, 0.4f);
    network.Clear();
    PressKey(qel::vk::kReturn, [this] { Draw(); });
    EXPECT_TRUE(Drawn("Cancel Scans"));
    ASSERT_EQ(Commands().size(), 1u);
    EXPECT_EQ(Commands()[0].command, "stop");
    EXPECT_EQ(Commands()[0].targetId, target->uniqueID);
    EXPECT_EQ(PendingScienceScans(console).size(), 1u) << "the server's answer replaces the list, not the button";

    network.Clear();
    DrawFrame();
    Click("Cancel Scans", [this] { Draw(); });
    ASSERT_EQ(Commands().size(), 1u);
    EXPECT_EQ(Commands()[0].command, "stop");
}

TEST_F(ScienceDataWidgetTest, once_the_text_of_the_kind_arrived_it_shows_and_no_button_unless_a_scan_runs)
{
    Scanned(*target, "scan", "A corvette of the outer colonies.");
    console.currentScienceScanType = "scan";
    DrawFrame();
    EXPECT_FALSE(Drawn("Start Initial Scan"));
    EXPECT_FALSE(Drawn("Cancel Scans"));
    EXPECT_TRUE(Drawn("A corvette of the outer colonies."));

    WriteFloat(ship->data_set, kCurScanPercent, 0.5f);
    DrawFrame();
    EXPECT_TRUE(Drawn("Cancel Scans"));
}

TEST_F(ScienceDataWidgetTest, an_unscanned_selection_reads_as_unknown_with_its_progress)
{
    console.currentScienceScanType = "scan";
    client->scanQueue = {{target->uniqueID, "scan"}};
    WriteFloat(ship->data_set, kCurScanPercent, 0.25f);
    WriteString(ship->data_set, kCurScanType, "scan");
    DrawFrame();
    EXPECT_TRUE(Drawn("unscanned contact"));
    EXPECT_TRUE(Drawn("scan   Unknown    25%"));
    EXPECT_FALSE(Drawn("Vandal (raiders)"));

    target->lastUpdateTick = world.TickCount() - 10000;
    DrawFrame();
    EXPECT_TRUE(Drawn("too far to scan"));

    // Objects that are never sent again unchanged, and every object of the
    // host's own world, are always current.
    target->abits = SpaceObject::kStaticBit;
    DrawFrame();
    EXPECT_TRUE(Drawn("scan   Unknown    25%"));
    target->abits = 0;
    world.serverFlag = true;
    DrawFrame();
    EXPECT_TRUE(Drawn("scan   Unknown    25%"));
}

TEST_F(ScienceDataWidgetTest, a_scanned_selection_shows_name_hull_range_bearing_and_height)
{
    Scanned(*target, "scan");
    DrawFrame();
    for (const char* text : {"Vandal (raiders)", "Outer Corvette", "RANGE: 501", "BEARING: 36", "40m Below You"})
        EXPECT_TRUE(Drawn(text)) << text;
}

TEST_F(ScienceDataWidgetTest, bearings_run_from_plus_z_through_plus_x_and_a_full_turn_reads_zero)
{
    Scanned(*target, "scan");
    struct Case {
        glm::vec3 at;
        const char* bearing;
    };
    const std::vector<Case> cases = {
        {{0, 0, 100}, "BEARING: 0"},      {{100, 0, 0}, "BEARING: 90"},
        {{0, 0, -100}, "BEARING: 180"},   {{-100, 0, 0}, "BEARING: 270"},
        {{-1e-6f, 0, 100}, "BEARING: 0"},  // a hair left of +z wraps to 2 pi, shown as 0
    };
    for (const Case& c : cases) {
        world.RepositionSpaceObject(target, c.at.x, c.at.y, c.at.z);
        DrawFrame();
        EXPECT_TRUE(Drawn(c.bearing)) << c.bearing;
    }
}

TEST_F(ScienceDataWidgetTest, shields_read_out_one_column_each_with_their_facing_names)
{
    Scanned(*target, "scan");
    struct Case {
        int32_t count;
        std::vector<std::string> labels;
    };
    const std::vector<Case> cases = {
        {0, {}}, {1, {"SHIELD"}}, {2, {"FRNT SHLD", "REAR SHLD"}}, {3, {"SHD", "SHD", "SHD"}}};
    for (const Case& c : cases) {
        WriteInt(target->data_set, kShieldCount, c.count);
        for (int32_t i = 0; i < c.count; ++i)
            WriteFloat(target->data_set, kShieldVal, i == 0 ? -5.0f : 42.7f, i);
        DrawFrame();
        std::vector<std::string> labels;
        for (const std::string& text : graphics.Texts())
            if (text.find("SH") != std::string::npos)
                labels.push_back(text);
        EXPECT_EQ(labels, c.labels) << c.count << " shields";
        if (c.count > 1) {
            EXPECT_TRUE(Drawn("0") && Drawn("42")) << "a negative shield shows 0";
        }
    }
}

TEST_F(ScienceDataWidgetTest, a_station_shows_its_armour_when_it_has_any)
{
    Scanned(*target, "scan");
    target->tick_type = "behav_station";
    WriteFloat(target->data_set, station::kArmor, 350.7f);
    WriteFloat(target->data_set, station::kArmorMax, 500.0f);
    DrawFrame();
    EXPECT_TRUE(Drawn("ARMOR") && Drawn("350 / 500"));

    WriteFloat(target->data_set, station::kArmorMax, 0.0f);
    DrawFrame();
    EXPECT_FALSE(Drawn("ARMOR"));
}

TEST_F(ScienceDataWidgetTest, system_damage_shows_after_its_scan_and_a_system_that_takes_no_damage_reads_zero)
{
    Scanned(*target, "scan");
    Scanned(*target, "status");
    console.currentScienceScanType = "status";
    WriteString(ship->data_set, kScanTypeForSystemDamage, "status");
    const float damage[4] = {25, 0, 100, 5};
    const float maximum[4] = {100, 100, 100, 0};
    for (int32_t i = 0; i < 4; ++i) {
        WriteFloat(target->data_set, kSystemDamage, damage[i], i);
        WriteFloat(target->data_set, kSystemMaxDamage, maximum[i], i);
    }
    DrawFrame();
    const std::vector<std::string> texts = graphics.Texts();
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"WEAP", "75%"}, {"ENGN", "100%"}, {"SENS", "0%"}, {"SHLD", "0%"}};
    for (const auto& [label, value] : expected) {
        const auto at = std::find(texts.begin(), texts.end(), label);
        ASSERT_NE(at, texts.end()) << label;
        ASSERT_NE(at + 1, texts.end());
        EXPECT_EQ(*(at + 1), value) << label;
    }

    console.currentScienceScanType = "scan";  // another tab: no system read-outs
    DrawFrame();
    EXPECT_FALSE(Drawn("WEAP"));
}

TEST_F(ScienceDataWidgetTest, without_a_ship_or_a_known_selection_it_says_what_is_missing)
{
    DrawFrame();
    EXPECT_FALSE(Drawn("Select a target to scan."));

    struct Case {
        const char* name;
        uint64_t selection;
    };
    const std::vector<Case> cases = {
        {"none", 0},
        {"an object this console does not know", kSpaceObjectIdBit | 999},
        {"an id of another kind", kClientIdBit | 5},
        {"an id that is no kind at all", 0xFFFFFFFFFFFFFFFFull},
    };
    for (const Case& c : cases) {
        WriteUInt64(ship->data_set, kScienceTargetUid, c.selection);
        DrawFrame();
        EXPECT_TRUE(Drawn("Select a target to scan.")) << c.name;
    }
    world.subjectID = kClientIdBit | 5;
    DrawFrame();
    EXPECT_TRUE(Drawn("Scan network not detected.  Check that you are aboard a ship."));
}

}  // namespace
