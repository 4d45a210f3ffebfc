// The server's handling of console signals, without a network: messages are
// built as a console sends them and handed to the server's hook as its
// dispatch would.

#include "game/net/CorvaneServer.h"
#include "game/net/MessageHooks.h"
#include "game/net/RejectedMessages.h"
#include "game/net/SignalMessage.h"
#include "game/net/SignalMessageCrew.h"
#include "game/world/ObjectId.h"
#include "game/world/Simulation.h"
#include "tests/game/net/ServerSignalFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using nettest::kConsole;
using nettest::kInfinity;
using nettest::kNaN;
using nettest::kOtherConsole;
using ServerSignalTest = nettest::ServerSignalFixture;

TEST_F(ServerSignalTest, throttle_and_reverse_are_clamped_to_their_ranges)
{
    struct Case {
        float sent;
        float stored;
    };
    for (const Case c : {Case{7.0f, 5.0f}, Case{-3.0f, -1.0f}, Case{0.25f, 0.25f}, Case{5.0f, 5.0f}}) {
        Send(ThrottleSignal{c.sent});
        EXPECT_EQ(FloatOf(ownShip, "playerThrottle"), c.stored) << c.sent;
        EXPECT_EQ(Value(ownShip, "playerThrottle")->dataType, ODBE_FLOAT);
    }
    for (const auto& [sent, stored] : {std::pair{3, 1}, std::pair{-2, 0}, std::pair{1, 1}, std::pair{0, 0}}) {
        Send(ReverseSignal{sent});
        EXPECT_EQ(Value(ownShip, "playerInReverse")->intValue, stored) << sent;
        EXPECT_EQ(Value(ownShip, "playerInReverse")->dataType, ODBE_INT);
    }
}

TEST_F(ServerSignalTest, each_steering_form_clamps_its_axes_and_names_its_steering_type)
{
    Send(SteerSignal{2.0f, -2.0f, 0.5f});
    EXPECT_EQ(FloatOf(ownShip, "playerSRoll"), 1.0f);
    EXPECT_EQ(FloatOf(ownShip, "playerSPitch"), -1.0f);
    EXPECT_EQ(FloatOf(ownShip, "playerSYaw"), 0.5f);
    EXPECT_EQ(StringOf(ownShip, "steeringType"), "Constrained");

    Send(SteerFreeSignal{-0.25f, 0.75f, -9.0f});
    EXPECT_EQ(FloatOf(ownShip, "playerSRoll"), -0.25f);
    EXPECT_EQ(FloatOf(ownShip, "playerSPitch"), 0.75f);
    EXPECT_EQ(FloatOf(ownShip, "playerSYaw"), -1.0f);
    EXPECT_EQ(StringOf(ownShip, "steeringType"), "Free");

    Send(Steer2DSignal{0.3f, -4.0f});  // yaw, then pitch
    EXPECT_EQ(FloatOf(ownShip, "playerSYaw"), 0.3f);
    EXPECT_EQ(FloatOf(ownShip, "playerSPitch"), -1.0f);
    EXPECT_EQ(FloatOf(ownShip, "playerSRoll"), -0.25f);  // 2D steering leaves roll alone
    EXPECT_EQ(StringOf(ownShip, "steeringType"), "2D");
}

TEST_F(ServerSignalTest, a_resting_stick_keeps_a_click_to_turn_course_and_a_real_turn_cancels_it)
{
    auto flag = [&] { return Value(ownShip, "steeringToDirFlag")->intValue; };
    Ship(ownShip).data_set.SetInt("steeringToDirFlag", 1, 0, "a");
    Send(SteerSignal{0.01f, -0.01f, 0.0f});
    Send(Steer2DSignal{-0.01f, 0.005f});
    Send(SteerFreeSignal{0.0f, 0.0f, 0.01f});
    EXPECT_EQ(flag(), 1);
    Send(Steer2DSignal{0.0f, 0.02f});
    EXPECT_EQ(flag(), 0);
    Ship(ownShip).data_set.SetInt("steeringToDirFlag", 1, 0, "a");
    Send(SteerSignal{-0.5f, 0.0f, 0.0f});
    EXPECT_EQ(flag(), 0);
}

TEST_F(ServerSignalTest, helm_commands_act_only_on_the_senders_own_ship)
{
    Send(ThrottleSignal{0.5f});
    Send(SteerSignal{0.1f, 0.2f, 0.3f});
    EXPECT_EQ(FloatOf(ownShip, "playerThrottle"), 0.5f);
    EXPECT_EQ(Value(otherShip, "playerThrottle"), nullptr);
    EXPECT_EQ(Value(otherShip, "playerSYaw"), nullptr);

    // A console without a ship, with a vanished ship, or with no record at
    // all steers nothing.
    const size_t ownSize = Ship(ownShip).data_set.TagCount();
    const size_t otherSize = Ship(otherShip).data_set.TagCount();
    server.FindClient(kOtherConsole)->shipId = 0;
    Send(ThrottleSignal{1.0f}, kOtherConsole);
    server.FindClient(kOtherConsole)->shipId = kSpaceObjectIdBit | 999;
    Send(ThrottleSignal{1.0f}, kOtherConsole);
    server.FindClient(kOtherConsole)->shipId = kClientIdBit | 7;  // not even a ship id
    Send(ThrottleSignal{1.0f}, kOtherConsole);
    Send(ThrottleSignal{1.0f}, kClientIdBit | 777);
    EXPECT_EQ(Ship(ownShip).data_set.TagCount(), ownSize);
    EXPECT_EQ(Ship(otherShip).data_set.TagCount(), otherSize);
    EXPECT_EQ(FloatOf(ownShip, "playerThrottle"), 0.5f);
}

// Builds a signal by hand, so it can carry what no writer would.
QelNetworkMessage& Raw(QelNetworkMessage& m, SignalMessageCode code)
{
    m.WriteInt64(HashMessageName("signal"));
    m.WriteInt16(code);
    return m;
}

TEST_F(ServerSignalTest, hostile_helm_signals_change_nothing_and_are_counted)
{
    Send(ThrottleSignal{0.5f});
    Send(SteerSignal{0.1f, 0.2f, 0.3f});
    const uint64_t rejectedBefore = RejectedMessageCount();
    struct Hostile {
        const char* what;
        std::function<void(QelNetworkMessage&)> build;
        bool counted;  // refused for its values (a short message is the dispatch's to count)
    };
    const Hostile cases[] = {
        {"NaN throttle", [](QelNetworkMessage& m) { Raw(m, SIGNAL_MESS_THROTTLE).WriteFloat(kNaN); }, true},
        {"infinite throttle", [](QelNetworkMessage& m) { Raw(m, SIGNAL_MESS_THROTTLE).WriteFloat(-kInfinity); }, true},
        {"NaN yaw", [](QelNetworkMessage& m) { Raw(m, SIGNAL_MESS_STEER).WriteFloat(0).WriteFloat(0).WriteFloat(kNaN); },
         true},
        {"infinite 2D pitch", [](QelNetworkMessage& m) { Raw(m, SIGNAL_MESS_STEER_2D).WriteFloat(0).WriteFloat(kInfinity); },
         true},
        {"throttle cut short", [](QelNetworkMessage& m) { Raw(m, SIGNAL_MESS_THROTTLE).WriteInt16(0); }, false},
        {"steering cut short", [](QelNetworkMessage& m) { Raw(m, SIGNAL_MESS_STEER_FREE).WriteFloat(1).WriteFloat(1); },
         false},
        {"reverse cut short", [](QelNetworkMessage& m) { Raw(m, SIGNAL_MESS_REVERSE).WriteInt8(1); }, false},
    };
    uint64_t expectedRejected = rejectedBefore;
    for (const Hostile& h : cases) {
        QelNetworkMessage m;
        h.build(m);
        Deliver(m);
        expectedRejected += h.counted;
        EXPECT_EQ(RejectedMessageCount(), expectedRejected) << h.what;
    }
    EXPECT_EQ(FloatOf(ownShip, "playerThrottle"), 0.5f);
    EXPECT_EQ(FloatOf(ownShip, "playerSRoll"), 0.1f);
    EXPECT_EQ(FloatOf(ownShip, "playerSPitch"), 0.2f);
    EXPECT_EQ(FloatOf(ownShip, "playerSYaw"), 0.3f);
    EXPECT_EQ(StringOf(ownShip, "steeringType"), "Constrained");
    EXPECT_EQ(Value(ownShip, "playerInReverse"), nullptr);
}

TEST_F(ServerSignalTest, helm_selection_sets_a_course_towards_the_point_and_raises_no_event)
{
    Ship(ownShip).pos = {100.0f, 5.0f, -50.0f};
    const uint64_t target = world.CreateSpaceObject("", "", 0);
    Send(SelectObjectSignal{target, "Helm-Click", "", "normal_target_UID", "", 130.0f, 99.0f, -10.0f});
    EXPECT_EQ(Value(ownShip, "normal_target_UID")->uintValue, target);
    EXPECT_EQ(FloatOf(ownShip, "steerToDirDX"), 30.0f);
    EXPECT_EQ(FloatOf(ownShip, "steerToDirDZ"), 40.0f);
    EXPECT_EQ(Value(ownShip, "steerToDirDY")->intValue, 0);
    EXPECT_EQ(Value(ownShip, "steeringToDirFlag")->intValue, 1);
    EXPECT_TRUE(host.events.empty());
}

TEST_F(ServerSignalTest, other_selections_record_the_choice_and_tell_the_mission)
{
    const uint64_t target = world.CreateSpaceObject("", "", 0);
    Ship(ownShip).pos = {1.0f, 2.0f, 3.0f};
    Send(SelectObjectSignal{target, "Weapons", "v", "weapon_target_UID", "x", 7.0f, 8.0f, 9.0f});
    EXPECT_EQ(Value(ownShip, "weapon_target_UID")->uintValue, target);
    ASSERT_EQ(host.events.size(), 1u);
    const EventMessage& e = host.events[0];
    EXPECT_EQ(e.tag, "select_space_object");
    EXPECT_EQ(e.sub_tag, "Weapons");
    EXPECT_EQ(e.value_tag, "v");
    EXPECT_EQ(e.extra_tag, "weapon_target_UID");
    EXPECT_EQ(e.extra_extra_tag, "x");
    EXPECT_EQ(e.client_id, kConsole);
    EXPECT_EQ(e.origin_id, ownShip);
    EXPECT_EQ(e.selected_id, target);
    EXPECT_EQ(e.event_time, 100);
    EXPECT_EQ(e.source_point, glm::vec3(1.0f, 2.0f, 3.0f));

    // A vanished object leaves 0 under the key and the message's point.
    Send(SelectObjectSignal{kSpaceObjectIdBit | 888, "science", "", "weapon_target_UID", "", 7.0f, 8.0f, 9.0f});
    EXPECT_EQ(Value(ownShip, "weapon_target_UID")->dataType, ODBE_INT);
    EXPECT_EQ(Value(ownShip, "weapon_target_UID")->intValue, 0);
    ASSERT_EQ(host.events.size(), 2u);
    EXPECT_EQ(host.events[1].source_point, glm::vec3(7.0f, 8.0f, 9.0f));
}

// A hostile console once named its own ship and "warp_upgrade_coeff": the id
// became the coefficient and full throttle flung the ship past 10^20 units.
TEST_F(ServerSignalTest, a_selection_sets_only_the_target_keys_and_still_tells_the_mission)
{
    const uint64_t target = world.CreateSpaceObject("", "", 0);
    ObjectDataBlob& data = Ship(ownShip).data_set;
    data.SetFloat("warp_upgrade_coeff", 1.0f, 0, "a");
    data.SetString("scan", "no data", 0, "a");
    Send(SelectObjectSignal{ownShip, "weapons", "", "warp_upgrade_coeff", "lmb", 0, 0, 0});
    Send(SelectObjectSignal{target, "science", "science_data_tabs", "scan", "sci_scan_tab", 0, 0, 0});
    EXPECT_EQ(Value(ownShip, "warp_upgrade_coeff")->dataType, ODBE_FLOAT);
    EXPECT_EQ(FloatOf(ownShip, "warp_upgrade_coeff"), 1.0f);
    EXPECT_EQ(StringOf(ownShip, "scan"), "no data");
    ASSERT_EQ(host.events.size(), 2u);
    EXPECT_EQ(host.events[0].extra_tag, "warp_upgrade_coeff");
    EXPECT_EQ(host.events[1].extra_tag, "scan");
    EXPECT_EQ(host.events[1].selected_id, target);

    for (const char* key : {"weapon_target_UID", "science_target_UID", "comms_target_UID", "normal_target_UID"}) {
        Send(SelectObjectSignal{target, "any", "", key, "", 0, 0, 0});
        EXPECT_EQ(Value(ownShip, key)->uintValue, target) << key;
    }
}

TEST_F(ServerSignalTest, selections_with_a_wrong_id_an_empty_key_or_no_point_are_not_acted_on)
{
    const uint64_t rejectedBefore = RejectedMessageCount();
    const SelectObjectSignal bad[] = {
        {kClientIdBit | 501, "weapons", "", "weapon_target_UID", "", 0, 0, 0},
        {kGridObjectIdBit | 41, "weapons", "", "weapon_target_UID", "", 0, 0, 0},
        {0, "helm", "", "", "", 0, 0, 0},
        {0, "helm", "", "normal_target_UID", "", kNaN, 0, 0},
        {0, "helm", "", "normal_target_UID", "", 0, 0, kInfinity},
    };
    for (const SelectObjectSignal& s : bad)
        Send(s);
    EXPECT_EQ(RejectedMessageCount(), rejectedBefore + std::size(bad));
    EXPECT_EQ(Value(ownShip, "weapon_target_UID"), nullptr);
    EXPECT_EQ(Value(ownShip, "normal_target_UID"), nullptr);
    EXPECT_EQ(Value(ownShip, "steeringToDirFlag"), nullptr);
    EXPECT_TRUE(host.events.empty());
}

TEST_F(ServerSignalTest, jump_charges_only_an_undocked_powered_ship_that_is_not_already_jumping)
{
    ObjectDataBlob& data = Ship(ownShip).data_set;
    data.SetString("dock_state", "undocked", 0, "a");
    data.SetFloat("eng_control_value", 2.0f, 3, "a");
    data.SetFloat("jump_damage_coeff", 0.5f, 0, "a");
    data.SetFloat("jump_upgrade_coeff", 1.0f, 0, "a");
    data.SetFloat("jump_end", 0.0f, 0, "a");

    Send(JumpSignal{12.5f, 90.0f});
    EXPECT_EQ(FloatOf(ownShip, "jump_dist"), 12.5f);
    EXPECT_EQ(FloatOf(ownShip, "jump_dir"), 90.0f);
    EXPECT_EQ(Value(ownShip, "jump_start")->intValue, 100);
    EXPECT_FLOAT_EQ(FloatOf(ownShip, "jump_end"), 100.0f + 10.0f / 2.0f / 0.5f * 30.0f);

    // Already jumping: the second request changes nothing.
    Send(JumpSignal{1.0f, 2.0f});
    EXPECT_EQ(FloatOf(ownShip, "jump_dist"), 12.5f);

    data.SetFloat("jump_end", 0.0f, 0, "a");
    data.SetString("dock_state", "docking", 0, "a");
    Send(JumpSignal{1.0f, 2.0f});
    data.SetString("dock_state", "undocked", 0, "a");
    data.SetFloat("eng_control_value", 0.0f, 3, "a");
    Send(JumpSignal{1.0f, 2.0f});
    data.SetFloat("eng_control_value", 1.0f, 3, "a");
    Send(JumpSignal{kNaN, 2.0f});
    EXPECT_EQ(FloatOf(ownShip, "jump_dist"), 12.5f);
    EXPECT_EQ(FloatOf(ownShip, "jump_end"), 0.0f);

    // A wrecked drive charges as slowly as the bound allows, never forever.
    data.SetFloat("jump_damage_coeff", 0.0f, 0, "a");
    Send(JumpSignal{3.0f, 4.0f});
    EXPECT_FLOAT_EQ(FloatOf(ownShip, "jump_end"), 100.0f + 10.0f / 1.0f / 0.001f * 30.0f);
}

// The hop itself is the player ship's (its tests say how far and what it
// costs); the command reaches it only for the sender's own charged ship.
TEST_F(ServerSignalTest, a_quick_jump_hops_the_senders_charged_ship_only)
{
    for (uint64_t ship : {ownShip, otherShip}) {
        ObjectDataBlob& data = Ship(ship).data_set;
        data.SetString("dock_state", "undocked", 0, "a");
        data.SetFloat("quick_jump_recharge_state", 1.0f, 0, "a");
        data.SetFloat("energy", 100.0f, 0, "a");
    }
    Send(QuickJumpSignal{-1.0f});
    EXPECT_NEAR(Ship(ownShip).pos.z, -5000.0f, 1e-2f);
    EXPECT_EQ(FloatOf(ownShip, "quick_jump_recharge_state"), 0.0f);
    EXPECT_EQ(Ship(otherShip).pos, glm::vec3(0.0f));

    Send(QuickJumpSignal{1.0f});
    EXPECT_NEAR(Ship(ownShip).pos.z, -5000.0f, 1e-2f) << "the drive has not charged again";
    Ship(ownShip).data_set.SetFloat("quick_jump_recharge_state", 1.0f, 0, "a");
    Send(QuickJumpSignal{kNaN});
    Send(QuickJumpSignal{kInfinity});
    EXPECT_NEAR(Ship(ownShip).pos.z, -5000.0f, 1e-2f) << "a direction that is no number is refused";
}

TEST_F(ServerSignalTest, console_and_machine_names_are_kept_in_the_senders_record)
{
    Send(ConsoleNameSignal{"science-2"});
    Send(MachineNameSignal{"bridge-left"});
    const ClientRecord* record = server.FindClient(kConsole);
    EXPECT_EQ(record->consoleName, "science-2");
    EXPECT_TRUE(record->scienceFlag);
    EXPECT_EQ(record->machineName, "bridge-left");
    EXPECT_EQ(server.FindClient(kOtherConsole)->machineName, "");
}

TEST_F(ServerSignalTest, what_a_console_did_and_its_window_size_reach_the_mission_as_the_senders)
{
    Send(ClientChangeSignal{"client_connected"});
    Send(ScreenSizeSignal{1280, 720}, kOtherConsole);
    ASSERT_EQ(host.events.size(), 2u);
    EXPECT_EQ(host.events[0].tag, "client_change");
    EXPECT_EQ(host.events[0].sub_tag, "client_connected");
    EXPECT_EQ(host.events[0].client_id, kConsole);
    EXPECT_EQ(host.events[0].event_time, 100);
    EXPECT_EQ(host.events[1].tag, "screen_size");
    EXPECT_EQ(host.events[1].client_id, kOtherConsole);
    EXPECT_EQ(host.events[1].source_point, glm::vec3(1280.0f, 720.0f, 0.0f));
}

TEST_F(ServerSignalTest, a_window_size_no_display_has_reaches_no_one)
{
    for (const ScreenSizeSignal size : {ScreenSizeSignal{0, 720}, ScreenSizeSignal{1280, -1},
                                        ScreenSizeSignal{ScreenSizeSignal::kMaxPixels + 1, 720}}) {
        Send(size);
        EXPECT_TRUE(host.events.empty()) << size.width << " x " << size.height;
    }
}

TEST_F(ServerSignalTest, a_consoles_song_end_tells_the_mission_which_console_and_ship)
{
    Send(SongEndedSignal{ownShip}, kOtherConsole);
    ASSERT_EQ(host.events.size(), 1u);
    EXPECT_EQ(host.events[0].tag, "song_ended");
    EXPECT_EQ(host.events[0].client_id, kOtherConsole);
    EXPECT_EQ(host.events[0].origin_id, otherShip);  // the record's ship, whatever the console names

    Send(SongEndedSignal{kConsole});  // not a ship id: refused
    EXPECT_EQ(host.events.size(), 1u);
}

TEST_F(ServerSignalTest, a_console_window_size_becomes_screen_size_from_that_console)
{
    Send(ScreenSizeSignal{1280, 720});
    ASSERT_EQ(host.events.size(), 1u);
    const EventMessage& event = host.events[0];
    EXPECT_EQ(event.tag, "screen_size");
    EXPECT_EQ(event.client_id, kConsole);
    EXPECT_EQ(event.event_time, 100);
    EXPECT_EQ(event.source_point, glm::vec3(1280, 720, 0));
}

TEST_F(ServerSignalTest, a_box_report_becomes_widget_box_state_with_its_rectangle_as_text)
{
    Send(WidgetBoxStateSignal{"throttle", "helm", 1, -5, 10, 50, 90});
    ASSERT_EQ(host.events.size(), 1u);
    const EventMessage& event = host.events[0];
    EXPECT_EQ(event.tag, "widget_box_state");
    EXPECT_EQ(event.client_id, kConsole);
    EXPECT_EQ(event.sub_tag, "throttle");
    EXPECT_EQ(event.extra_tag, "helm");
    EXPECT_EQ(event.value_tag, "-5, 10, 50, 90");
    EXPECT_EQ(event.sub_float, 1.0f);
    EXPECT_EQ(event.event_time, 100);
}

TEST_F(ServerSignalTest, the_crews_picks_and_buttons_on_the_interior_reach_the_mission)
{
    const uint64_t crew = kGridObjectIdBit | 41;
    Ship(ownShip).pos = {10.0f, 20.0f, 30.0f};
    Send(GridObjectSelectionSignal{ownShip, crew, "engineering", "grid_object_list"});
    Send(GridPointSelectionSignal{ownShip, 4, 7, "engineering", "ship_internal_view"});
    Send(GridButtonSignal{"fight_fire", ownShip, crew});
    ASSERT_EQ(host.events.size(), 3u);

    const EventMessage& object = host.events[0];
    EXPECT_EQ(object.tag, "grid_object_selection");
    EXPECT_EQ(object.sub_tag, "engineering");
    EXPECT_EQ(object.value_tag, "grid_object_list");
    EXPECT_EQ(object.origin_id, ownShip);
    EXPECT_EQ(object.parent_id, ownShip);
    EXPECT_EQ(object.selected_id, crew);

    const EventMessage& point = host.events[1];
    EXPECT_EQ(point.tag, "grid_point_selection");
    EXPECT_EQ(point.sub_tag, "engineering");
    EXPECT_EQ(point.value_tag, "ship_internal_view");
    EXPECT_EQ(point.parent_id, ownShip);
    EXPECT_EQ(point.source_point, glm::vec3(4.0f, 7.0f, 0.0f));

    const EventMessage& button = host.events[2];
    EXPECT_EQ(button.tag, "press_grid_button");
    EXPECT_EQ(button.sub_tag, "fight_fire");
    EXPECT_EQ(button.origin_id, ownShip);
    EXPECT_EQ(button.selected_id, crew);
    EXPECT_EQ(button.source_point, glm::vec3(10.0f, 20.0f, 30.0f));

    for (const EventMessage& event : host.events) {
        EXPECT_EQ(event.client_id, kConsole) << event.tag;
        EXPECT_EQ(event.event_time, 100) << event.tag;
    }
}

// A button needs the console's ship; a grid request from a console without
// one is not answered, and a pick naming ids of the wrong kind is refused.
TEST_F(ServerSignalTest, grid_signals_without_a_ship_or_with_wrong_ids_change_nothing)
{
    server.FindClient(kConsole)->shipId = 0;
    Send(GridButtonSignal{"fight_fire", ownShip, kGridObjectIdBit | 41});
    Send(GridRequestSignal{1});
    Send(GridObjectSelectionSignal{ownShip, kClientIdBit | 501, "", ""});
    Send(GridPointSelectionSignal{kGridObjectIdBit | 41, 0, 0, "", ""});
    EXPECT_TRUE(host.events.empty());
    EXPECT_TRUE(server.watchedGrids.empty());
}

}  // namespace
