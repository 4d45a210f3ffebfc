// The server's handling of the weapons, fighter and engineering consoles'
// signals, without a network.

#include "game/behaviours/PlayerShipScience.h"
#include "game/net/RejectedMessages.h"
#include "game/net/SignalMessageCrew.h"
#include "game/world/ServerStringMap.h"
#include "tests/game/net/ServerSignalFixture.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using nettest::kOtherConsole;
using CrewSignalTest = nettest::ServerSignalFixture;

class TubeSignalTest : public CrewSignalTest {
protected:
    void SetUp() override
    {
        CrewSignalTest::SetUp();
        ObjectDataBlob& data = Ship(ownShip).data_set;
        data.SetInt("torpedo_tube_count", 2, 0, "a");
        data.SetInt("Homing_NUM", 1, 0, "a");
        data.SetString("torpedoTubeState", "empty", 0, "a");
        data.SetString("torpedoTubeState", "empty", 1, "a");
    }

    void Tube(int32_t action, int32_t tube) { Send(TorpedoTubeSignal{action, "", tube}); }
    std::string State(int32_t tube) { return StringOf(ownShip, "torpedoTubeState", tube); }
};

TEST_F(TubeSignalTest, tubes_load_the_selected_type_while_the_ship_holds_one_and_unload_on_command)
{
    Tube(TorpedoTubeSignal::kLoad, 0);
    EXPECT_EQ(State(0), "empty") << "no type selected yet";
    Send(TorpedoTubeSignal{TorpedoTubeSignal::kSelectType, "Homing", 0});
    EXPECT_EQ(StringOf(ownShip, "torpedo_selected_type"), "Homing");

    Tube(TorpedoTubeSignal::kLoad, 0);
    EXPECT_EQ(State(0), "loading");
    EXPECT_EQ(StringOf(ownShip, "torpedoTubeCurrentType", 0), "Homing");
    Tube(TorpedoTubeSignal::kLoad, 1);
    EXPECT_EQ(State(1), "empty") << "the one torpedo is in tube 0 already";

    Tube(TorpedoTubeSignal::kUnload, 1);
    EXPECT_EQ(State(1), "empty");
    Tube(TorpedoTubeSignal::kUnload, 0);
    EXPECT_EQ(State(0), "unloading");
    Tube(TorpedoTubeSignal::kLoad, 0);
    EXPECT_EQ(State(0), "loading") << "a load takes back an unload under way";

    for (int32_t tube : {-1, 2, 1000})
        Tube(TorpedoTubeSignal::kUnload, tube);
    Tube(7, 0);
    EXPECT_EQ(State(0), "loading");
}

TEST_F(TubeSignalTest, a_tube_fires_only_when_fully_loaded_and_is_then_empty)
{
    ObjectDataBlob& data = Ship(ownShip).data_set;
    data.SetString("torpedoTubeState", "loaded", 0, "a");
    data.SetString("torpedoTubeCurrentType", "Homing", 0, "a");
    data.SetFloat("torpedoTubePercentLoaded", 99.0f, 0, "a");
    Tube(TorpedoTubeSignal::kFire, 0);
    EXPECT_EQ(Value(ownShip, "Homing_NUM")->intValue, 1);

    data.SetFloat("torpedoTubePercentLoaded", 100.0f, 0, "a");
    Tube(TorpedoTubeSignal::kFire, 0);
    EXPECT_EQ(Value(ownShip, "Homing_NUM")->intValue, 0);
    EXPECT_EQ(State(0), "empty");
    EXPECT_EQ(StringOf(otherShip, "torpedoTubeState"), "<absent>");
}

TEST_F(TubeSignalTest, the_fighters_torpedo_fires_the_default_type_while_the_ship_has_one)
{
    Send(FighterTorpedoSignal{0});
    EXPECT_EQ(StringOf(ownShip, "torpedoTubeCurrentType"), "<absent>");
    Send(FighterTorpedoSignal{1});
    EXPECT_EQ(StringOf(ownShip, "torpedoTubeCurrentType"), "Homing");
    EXPECT_EQ(Value(ownShip, "Homing_NUM")->intValue, 0);
    Send(FighterTorpedoSignal{1});
    EXPECT_EQ(Value(ownShip, "Homing_NUM")->intValue, 0);
}

TEST_F(CrewSignalTest, settings_are_clamped_to_what_the_consoles_offer_and_beam_settings_tell_the_mission)
{
    struct Case {
        std::function<void()> send;
        const char* key;
        int64_t stored;
    };
    const Case cases[] = {
        {[this] { Send(ShieldsSignal{7}); }, "shields_raised_flag", 1},
        {[this] { Send(ShieldsSignal{0}); }, "shields_raised_flag", 0},
        {[this] { Send(BeamFrequencySignal{9}); }, "cur_beam_freq", 4},
        {[this] { Send(BeamFrequencySignal{-2}); }, "cur_beam_freq", 0},
        {[this] { Send(BeamSpeedSignal{2}); }, "cur_beam_speed_setting", 2},
        {[this] { Send(BeamSpeedSignal{40}); }, "cur_beam_speed_setting", 3},
        {[this] { Send(FighterBoostSignal{3}); }, "fighter_boost_flag", 1},
        {[this] { Send(FighterThrustSignal{1}); }, "fighter_thrust_flag", 1},
        {[this] { Send(FighterShootSignal{0}); }, "fighter_shoot_flag", 0},
    };
    for (const Case& c : cases) {
        c.send();
        ASSERT_NE(Value(ownShip, c.key), nullptr) << c.key;
        EXPECT_EQ(Value(ownShip, c.key)->intValue, c.stored) << c.key;
        EXPECT_EQ(Value(otherShip, c.key), nullptr) << c.key;
    }
    ASSERT_EQ(host.events.size(), 4u);
    EXPECT_EQ(host.events[0].tag, "cur_beam_freq");
    EXPECT_EQ(host.events[0].value_tag, "4");
    EXPECT_EQ(host.events[0].origin_id, ownShip);
    EXPECT_EQ(host.events[3].tag, "cur_beam_speed_setting");
    EXPECT_EQ(host.events[3].value_tag, "3");
}

TEST_F(CrewSignalTest, shield_piercing_tunes_the_target_and_a_fighter_asks_the_mission_to_dock)
{
    Send(ShieldPiercingSignal{otherShip, 0.5f, 2.0f, 0.25f});
    EXPECT_EQ(FloatOf(otherShip, "shield_pierce_amplitude"), 0.5f);
    EXPECT_EQ(FloatOf(otherShip, "shield_pierce_frequency"), 2.0f);
    EXPECT_EQ(FloatOf(otherShip, "shield_pierce_offset"), 0.25f);

    Ship(ownShip).pos = {1.0f, 2.0f, 3.0f};
    Send(FighterDockRequestSignal{0});
    EXPECT_TRUE(host.events.empty());
    Send(FighterDockRequestSignal{1});
    ASSERT_EQ(host.events.size(), 1u);
    EXPECT_EQ(host.events[0].tag, "fighter_requests_dock");
    EXPECT_EQ(host.events[0].parent_id, ownShip);
    EXPECT_EQ(host.events[0].source_point, glm::vec3(1.0f, 2.0f, 3.0f));
}

TEST_F(CrewSignalTest, power_sliders_and_coolant_are_held_to_their_controls)
{
    ObjectDataBlob& data = Ship(ownShip).data_set;
    data.SetInt("system_coolant_available", 8, 0, "a");
    Send(FloatValueFromClientSignal{"eng_control_value", 2.5f, 3});
    Send(FloatValueFromClientSignal{"eng_control_value", 9.0f, 7});
    Send(FloatValueFromClientSignal{"eng_control_value", -1.0f, 0});
    EXPECT_EQ(FloatOf(ownShip, "eng_control_value", 3), 2.5f);
    EXPECT_EQ(FloatOf(ownShip, "eng_control_value", 7), 3.0f);
    EXPECT_EQ(FloatOf(ownShip, "eng_control_value", 0), 0.0f);

    Send(UInt64ValueFromClientSignal{"system_coolant_used", 5, 0});
    Send(UInt64ValueFromClientSignal{"system_coolant_used", 6, 2});
    EXPECT_EQ(Value(ownShip, "system_coolant_used", 0)->intValue, 5);
    EXPECT_EQ(Value(ownShip, "system_coolant_used", 2)->intValue, 3) << "only three units are left";
    Send(UInt64ValueFromClientSignal{"camera_target_UID", otherShip, 0});
    EXPECT_EQ(Value(ownShip, "camera_target_UID")->uintValue, otherShip);
}

// As with selections, the key a console names must not reach any key of its
// ship: a drive coefficient or the energy set this way would let one console
// fling the ship out of the world or never run dry.
TEST_F(CrewSignalTest, a_value_signal_naming_any_other_key_or_index_changes_nothing_and_is_counted)
{
    ObjectDataBlob& data = Ship(ownShip).data_set;
    data.SetFloat("warp_upgrade_coeff", 1.0f, 0, "a");
    data.SetFloat("energy", 100.0f, 0, "a");
    const uint64_t rejectedBefore = RejectedMessageCount();
    Send(FloatValueFromClientSignal{"warp_upgrade_coeff", 1e20f, 0});
    Send(FloatValueFromClientSignal{"energy", 1e9f, 0});
    Send(FloatValueFromClientSignal{"eng_control_value", 1.0f, 8});
    Send(UInt64ValueFromClientSignal{"warp_upgrade_coeff", otherShip, 0});
    Send(UInt64ValueFromClientSignal{"system_coolant_used", 1, 4});
    Send(UInt64ValueFromClientSignal{"camera_target_UID", kClientIdBit | 501, 0});
    Send(UInt64ValueFromClientSignal{"camera_target_UID", otherShip, 1});
    EXPECT_EQ(RejectedMessageCount(), rejectedBefore + 7);
    EXPECT_EQ(FloatOf(ownShip, "warp_upgrade_coeff"), 1.0f);
    EXPECT_EQ(Value(ownShip, "warp_upgrade_coeff")->dataType, ODBE_FLOAT);
    EXPECT_EQ(FloatOf(ownShip, "energy"), 100.0f);
    EXPECT_EQ(Value(ownShip, "eng_control_value", 8), nullptr);
    EXPECT_EQ(Value(ownShip, "system_coolant_used", 4), nullptr);
    EXPECT_EQ(Value(ownShip, "camera_target_UID"), nullptr);
}

TEST_F(CrewSignalTest, crew_signals_without_a_ship_change_nothing)
{
    server.FindClient(kOtherConsole)->shipId = 0;
    Send(ShieldsSignal{1}, kOtherConsole);
    Send(FloatValueFromClientSignal{"eng_control_value", 2.0f, 0}, kOtherConsole);
    Send(TorpedoTubeSignal{TorpedoTubeSignal::kSelectType, "Homing", 0}, kOtherConsole);
    Send(FighterDockRequestSignal{1}, kOtherConsole);
    for (uint64_t ship : {ownShip, otherShip}) {
        EXPECT_EQ(Value(ship, "shields_raised_flag"), nullptr);
        EXPECT_EQ(Value(ship, "eng_control_value"), nullptr);
        EXPECT_EQ(Value(ship, "torpedo_selected_type"), nullptr);
    }
    EXPECT_TRUE(host.events.empty());
}

}  // namespace

namespace {

using MissionSignalTest = nettest::ServerSignalFixture;

// What each console tells the mission arrives as one event, from that console
// at the current tick, with the fields its code fills.
TEST_F(MissionSignalTest, each_console_report_becomes_its_script_event)
{
    Ship(ownShip).pos = {4.0f, 5.0f, 6.0f};
    struct Case {
        const char* name;
        std::function<void()> send;
        std::function<void(const EventMessage&)> check;
    };
    const Case cases[] = {
        {"comms_button", [&] { Send(CommsButtonSignal{"Hail", ownShip, otherShip}); },
         [&](const EventMessage& e) {
             EXPECT_EQ(e.tag, "press_comms_button");
             EXPECT_EQ(e.sub_tag, "Hail");
             EXPECT_EQ(e.origin_id, ownShip);
             EXPECT_EQ(e.selected_id, otherShip);
             EXPECT_EQ(e.source_point, glm::vec3(4.0f, 5.0f, 6.0f));
         }},
        {"main_screen", [&] { Send(MainScreenViewRequestSignal{"3d", "front", "chase"}); },
         [&](const EventMessage& e) {
             EXPECT_EQ(e.tag, "main_screen_change");
             EXPECT_EQ(e.sub_tag, "3d");
             EXPECT_EQ(e.value_tag, "front");
             EXPECT_EQ(e.extra_tag, "chase");
             EXPECT_EQ(e.origin_id, ownShip);
         }},
        {"client_string", [&] { Send(ClientStringSignal{"callsign", "Kestrel"}); },
         [](const EventMessage& e) {
             EXPECT_EQ(e.tag, "client_string");
             EXPECT_EQ(e.sub_tag, "callsign");
             EXPECT_EQ(e.value_tag, "Kestrel");
         }},
        {"hold_click", [&] { Send(HoldClickSignal{ownShip, otherShip, "Escort", 1.0f, 2.0f, 3.0f, 77}); },
         [&](const EventMessage& e) {
             EXPECT_EQ(e.tag, "hold_click");
             EXPECT_EQ(e.origin_id, ownShip);
             EXPECT_EQ(e.parent_id, otherShip);
             EXPECT_EQ(e.selected_id, 77u);
             EXPECT_EQ(e.sub_tag, "Escort");
             EXPECT_EQ(e.source_point, glm::vec3(1.0f, 2.0f, 3.0f));
         }},
        {"hold_button", [&] { Send(HoldButtonSignal{"normal", "orders", {11, 12, 13, 14}}); },
         [](const EventMessage& e) {
             EXPECT_EQ(e.tag, "hold_button_pressed");
             EXPECT_EQ(e.origin_id, 11u);
             EXPECT_EQ(e.selected_id, 12u);
             EXPECT_EQ(e.parent_id, 13u);
             EXPECT_EQ(e.sub_tag, "orders");
             EXPECT_EQ(e.extra_tag, "normal");
         }},
        {"script_event", [&] { Send(ConsoleScriptEventSignal{otherShip, "fighter_launch", "bay 2"}); },
         [&](const EventMessage& e) {
             EXPECT_EQ(e.tag, "fighter_launch");
             EXPECT_EQ(e.sub_tag, "bay 2");
             EXPECT_EQ(e.origin_id, otherShip);
         }},
        {"script_event_about_a_gone_object", [&] { Send(ConsoleScriptEventSignal{kSpaceObjectIdBit | 999, "x", ""}); },
         [](const EventMessage& e) { EXPECT_EQ(e.origin_id, 0u); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        host.events.clear();
        c.send();
        ASSERT_EQ(host.events.size(), 1u);
        EXPECT_EQ(host.events[0].client_id, nettest::kConsole);
        EXPECT_EQ(host.events[0].event_time, 100);
        c.check(host.events[0]);
    }
}

TEST_F(MissionSignalTest, red_alert_sets_the_ships_key_and_tells_the_mission)
{
    Send(RedAlertSignal{5});
    EXPECT_EQ(Value(ownShip, "red_alert")->intValue, 1);
    Send(RedAlertSignal{0});
    EXPECT_EQ(Value(ownShip, "red_alert")->intValue, 0);
    ASSERT_EQ(host.events.size(), 2u);
    EXPECT_EQ(host.events[0].tag, "red_alert");
    EXPECT_EQ(host.events[0].sub_tag, "on");
    EXPECT_EQ(host.events[0].origin_id, ownShip);
    EXPECT_EQ(host.events[1].sub_tag, "off");
    EXPECT_EQ(Value(otherShip, "red_alert"), nullptr);
}

TEST_F(MissionSignalTest, malformed_or_shipless_reports_raise_nothing)
{
    const uint64_t rejectedBefore = RejectedMessageCount();
    Send(MainScreenViewRequestSignal{"3d", "", "chase"});
    Send(CommsButtonSignal{"Hail", kClientIdBit | 501, otherShip});
    Send(ConsoleScriptEventSignal{0, "", "sub"});
    Send(ConsoleScriptEventSignal{kGridObjectIdBit | 4, "x", ""});
    Send(HoldClickSignal{0, 0, "", nettest::kNaN, 0.0f, 0.0f, 0});
    EXPECT_EQ(RejectedMessageCount(), rejectedBefore + 5);
    server.FindClient(kOtherConsole)->shipId = 0;
    Send(MainScreenViewRequestSignal{"3d", "front", "chase"}, kOtherConsole);
    Send(CommsButtonSignal{"Hail", 0, 0}, kOtherConsole);
    Send(RedAlertSignal{1}, kOtherConsole);
    EXPECT_TRUE(host.events.empty());
}

}  // namespace

namespace {

class ScienceSignalTest : public nettest::ServerSignalFixture {
protected:
    void SetUp() override
    {
        ServerSignalFixture::SetUp();
        Ship(ownShip).side = "meridian";
        target = world.CreateSpaceObject("", "", 0);
        Ship(target).side = "raiders";
        Ship(target).data_set.SetString("name_tag", "Vex", 0, "a");
    }

    std::string ScanBy(const char* side)
    {
        const ObjectDataBlobElement* e =
            Ship(target).data_set.FindElement(HashMessageName("scan"), ObjectDataBlob::IndexOfString(side));
        return e ? e->stringValue : "";
    }

    uint64_t target = 0;
};

TEST_F(ScienceSignalTest, a_scan_check_scans_a_target_in_sensor_range_once)
{
    Ship(target).pos = {6000.0f, 0.0f, 0.0f};
    Send(ScanCheckSignal{target});
    EXPECT_EQ(ScanBy("meridian"), "") << "beyond 5000 units";
    EXPECT_TRUE(host.events.empty());

    Ship(target).pos = {4000.0f, 0.0f, 2000.0f};
    Send(ScanCheckSignal{target});
    Send(ScanCheckSignal{target});
    EXPECT_EQ(ScanBy("meridian"), "no data");
    ASSERT_EQ(host.events.size(), 1u) << "a second check finds the target scanned";
    const EventMessage& e = host.events[0];
    EXPECT_EQ(e.tag, "science_scan_complete");
    EXPECT_EQ(e.sub_tag, "Vex");
    EXPECT_EQ(e.value_tag, "meridian");
    EXPECT_EQ(e.extra_tag, "scan");
    EXPECT_EQ(e.origin_id, ownShip);
    EXPECT_EQ(e.selected_id, target);
    EXPECT_EQ(e.client_id, nettest::kConsole);
    EXPECT_EQ(e.event_time, world.TickCount());
    EXPECT_EQ(server.completedScans, (std::vector<std::pair<uint64_t, uint64_t>>{{target, ownShip}}));
    EXPECT_NE(std::find(Ship(target).keyNames.begin(), Ship(target).keyNames.end(), "scan"), Ship(target).keyNames.end())
        << "the scan's key joins the target's own, as a finished scan's does";
}

TEST_F(ScienceSignalTest, the_own_side_and_extra_scan_sources_extend_the_range)
{
    Ship(target).pos = {50000.0f, 0.0f, 0.0f};
    ObjectDataBlob& data = Ship(ownShip).data_set;
    data.SetInt("num_extra_scan_sources", 1, 0, "a");
    data.SetUInt64("extra_scan_source", otherShip, 1, "a");  // beyond the count
    Ship(otherShip).pos = {48000.0f, 0.0f, 0.0f};
    Send(ScanCheckSignal{target});
    EXPECT_EQ(ScanBy("meridian"), "");

    data.SetUInt64("extra_scan_source", otherShip, 0, "a");
    Send(ScanCheckSignal{target});
    EXPECT_EQ(ScanBy("meridian"), "no data");

    Ship(otherShip).side = "raiders";
    Send(ScanCheckSignal{target}, kOtherConsole);
    EXPECT_EQ(ScanBy("raiders"), "no data") << "a ship knows its own side";
}

TEST_F(ScienceSignalTest, scans_queue_once_each_and_stop_clears_the_queue)
{
    Send(ScanCommandSignal{target, "start", "bio"});
    Send(ScanCommandSignal{target, "start", "bio"});
    Send(ScanCommandSignal{otherShip, "start", "scan"});
    Send(ScanCommandSignal{kSpaceObjectIdBit | 999, "start", "scan"});
    Send(ScanCommandSignal{target, "resume", "scan"});
    Send(ScanCommandSignal{target, "start", ""});                    // no tab names an empty key
    Send(ScanCommandSignal{target, "start", std::string(65, 'x')});  // nor one longer than a key name
    const std::vector<ScanQueueEntry>& queue = server.scanQueues[ownShip];
    ASSERT_EQ(queue.size(), 2u);
    EXPECT_EQ(queue[0].objectId, target);
    EXPECT_EQ(queue[0].scanType, "bio");
    EXPECT_EQ(queue[1].objectId, otherShip);

    Ship(ownShip).data_set.SetFloat("cur_scan_percent", 0.5f, 0, "a");
    Send(ScanCommandSignal{target, "stop", ""});
    EXPECT_TRUE(queue.empty());
    EXPECT_EQ(FloatOf(ownShip, "cur_scan_percent"), 0.0f);
    EXPECT_EQ(Value(ownShip, "cur_scan_ID")->uintValue, 0u);
}

TEST_F(ScienceSignalTest, a_queued_scan_runs_on_the_ship_and_its_target_goes_to_the_ship_consoles)
{
    Ship(ownShip).data_set.SetFloat("closest_scan_delay", 1.0f, 0, "a");
    Send(ScanCommandSignal{target, "start", "bio"});
    Send(ScanCommandSignal{otherShip, "start", "scan"});
    for (int pass = 0; pass < 2; ++pass)
        PlayerShipScanPass(Ship(ownShip), world);
    EXPECT_EQ(server.completedScans, (std::vector<std::pair<uint64_t, uint64_t>>{{target, ownShip}}));
    const ObjectDataBlobElement* entry =
        Ship(target).data_set.FindElement(HashMessageName("bio"), ObjectDataBlob::IndexOfString("meridian"));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->stringValue, "no data");
    ASSERT_EQ(server.scanQueues[ownShip].size(), 1u);
    EXPECT_EQ(server.scanQueues[ownShip][0].objectId, otherShip);
}

}  // namespace

namespace {

class DockingSignalTest : public nettest::ServerSignalFixture {
protected:
    void SetUp() override
    {
        ServerSignalFixture::SetUp();
        base = world.CreateSpaceObject("", "", 0);
        ObjectDataBlob& data = Ship(ownShip).data_set;
        data.SetUInt64("dock_base_id", base, 0, "a");
        data.SetString("dock_state", "undocked", 0, "a");
        data.SetFloat("playerThrottle", 0.8f, 0, "a");
    }

    uint64_t base = 0;
};

TEST_F(DockingSignalTest, a_ship_docks_with_its_base_by_tractor_and_leaves_it)
{
    Send(DockSignal{ownShip});
    EXPECT_EQ(StringOf(ownShip, "dock_state"), "docking");
    EXPECT_EQ(Value(ownShip, "playerThrottle")->dataType, ODBE_INT);
    EXPECT_EQ(Value(ownShip, "playerThrottle")->intValue, 0);
    EXPECT_NE(world.GetTractorConnection(base, ownShip), nullptr);
    ASSERT_EQ(host.events.size(), 1u);
    EXPECT_EQ(host.events[0].tag, "docking_change");
    EXPECT_EQ(host.events[0].sub_tag, "docking");
    EXPECT_EQ(host.events[0].origin_id, ownShip);
    EXPECT_EQ(host.events[0].selected_id, base);

    Send(UndockSignal{ownShip});
    EXPECT_EQ(StringOf(ownShip, "dock_state"), "undocked");
    EXPECT_EQ(world.GetTractorConnection(base, ownShip), nullptr);
    ASSERT_EQ(host.events.size(), 2u);
    EXPECT_EQ(host.events[1].sub_tag, "undocked");
    EXPECT_EQ(host.events[1].selected_id, base);
}

TEST_F(DockingSignalTest, no_dock_while_jumping_without_a_base_or_for_another_ship)
{
    Ship(ownShip).data_set.SetFloat("jump_end", 500.0f, 0, "a");
    Send(DockSignal{ownShip});
    Ship(ownShip).data_set.SetFloat("jump_end", 0.0f, 0, "a");
    Ship(otherShip).data_set.SetUInt64("dock_base_id", base, 0, "a");
    Ship(otherShip).data_set.SetString("dock_state", "undocked", 0, "a");
    const uint64_t rejectedBefore = RejectedMessageCount();
    Send(DockSignal{otherShip});
    EXPECT_EQ(RejectedMessageCount(), rejectedBefore + 1);
    Ship(ownShip).data_set.SetUInt64("dock_base_id", kSpaceObjectIdBit | 999, 0, "a");
    Send(DockSignal{ownShip});
    EXPECT_EQ(StringOf(ownShip, "dock_state"), "undocked");
    EXPECT_EQ(StringOf(otherShip, "dock_state"), "undocked");
    EXPECT_EQ(world.GetTractorConnection(base, ownShip), nullptr);
    EXPECT_EQ(world.GetTractorConnection(base, otherShip), nullptr);
    EXPECT_TRUE(host.events.empty());
}

}  // namespace

namespace {

class ConversionSignalTest : public TubeSignalTest {
protected:
    void SetUp() override
    {
        TubeSignalTest::SetUp();
        ObjectDataBlob& data = Ship(ownShip).data_set;
        data.SetInt("Homing_NUM", 2, 0, "a");
        data.SetInt("Homing_MAX", 3, 0, "a");
        data.SetFloat("energy", 100.0f, 0, "a");
        data.SetString("torpedo_selected_type", "Homing", 0, "a");
        data.SetString("torp_type_from_energy", "Homing", 0, "a");
        data.SetInt("energy_to_torp_cost", 80, 0, "a");
        ServerStringMap::Instance().Set("Homing", "speed:10;energy_conversion_value:60");
    }

    void TearDown() override
    {
        ServerStringMap::Instance().Clear();
        TubeSignalTest::TearDown();
    }
};

TEST_F(ConversionSignalTest, torpedoes_become_energy_and_energy_torpedoes_within_stock_and_store)
{
    Send(TorpedoConversionSignal{1});
    EXPECT_EQ(Value(ownShip, "Homing_NUM")->intValue, 1);
    EXPECT_EQ(FloatOf(ownShip, "energy"), 160.0f);

    // The last torpedo is in a tube: it cannot be converted.
    Ship(ownShip).data_set.SetString("torpedoTubeState", "loaded", 0, "a");
    Ship(ownShip).data_set.SetString("torpedoTubeCurrentType", "Homing", 0, "a");
    Send(TorpedoConversionSignal{1});
    EXPECT_EQ(Value(ownShip, "Homing_NUM")->intValue, 1);

    Send(TorpedoConversionSignal{2});
    Send(TorpedoConversionSignal{2});
    Send(TorpedoConversionSignal{2});
    EXPECT_EQ(Value(ownShip, "Homing_NUM")->intValue, 3);
    EXPECT_EQ(FloatOf(ownShip, "energy"), 0.0f) << "two conversions took all 160";
    Ship(ownShip).data_set.SetFloat("energy", 1000.0f, 0, "a");
    Send(TorpedoConversionSignal{2});
    Send(TorpedoConversionSignal{7});
    EXPECT_EQ(Value(ownShip, "Homing_NUM")->intValue, 3) << "the store holds three";
    EXPECT_EQ(FloatOf(ownShip, "energy"), 1000.0f);
}

TEST_F(ConversionSignalTest, a_negative_cost_or_an_unknown_type_converts_nothing)
{
    Ship(ownShip).data_set.SetInt("energy_to_torp_cost", -500, 0, "a");
    Send(TorpedoConversionSignal{2});
    EXPECT_EQ(FloatOf(ownShip, "energy"), 100.0f);
    Send(TorpedoTubeSignal{TorpedoTubeSignal::kSelectType, "Phantom", 0});
    Send(TorpedoConversionSignal{1});
    EXPECT_EQ(FloatOf(ownShip, "energy"), 100.0f);
    ServerStringMap::Instance().Set("Homing", "speed:10");
    Send(TorpedoTubeSignal{TorpedoTubeSignal::kSelectType, "Homing", 0});
    Send(TorpedoConversionSignal{1});
    EXPECT_EQ(Value(ownShip, "Homing_NUM")->intValue, 2) << "a definition without a conversion value";
}

}  // namespace
