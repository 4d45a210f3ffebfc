// The bridge buttons: the radar zoom row, red alert, the dock request and the
// shields, by mouse and by key, with and without a ship.

#include "game/widgets/BridgeButtons.h"

#include "engine/base/QelVirtualKeys.h"
#include "game/behaviours/PlayerShipKeys.h"
#include "game/net/SignalMessage.h"
#include "game/net/SignalMessageCrew.h"
#include "game/ui/ControllerInput.h"
#include "game/widgets/GUIBoxThrottle.h"
#include "tests/game/widgets/WidgetTestFixture.h"
#include "tests/support/SetJoystick.h"

#include <cmath>

namespace {

namespace vk = qel::vk;

class RadarZoomTest : public WidgetTest {
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        Draw();  // the hot keys take their defaults
    }
    void Draw() { WidgetTest::Draw(ViewRadarZoomCtrlDraw, kBox); }
    // The button of the cell, counted from the top.
    void ClickCell(int32_t cell) { ClickAt(ViewRadarZoomCtrlDraw, kBox, 35, 35 + 70 * cell); }
    void CtrlKey(int32_t key)
    {
        input.KeyDown(vk::kControl);
        PressKey(ViewRadarZoomCtrlDraw, kBox, key);
        input.KeyUp(vk::kControl);
    }

    static constexpr IntRect kBox{0, 0, 70, 490};  // narrower than high: seven cells of 70, stacked
};

TEST_F(RadarZoomTest, buttons_step_the_zoom_or_set_a_level_and_toggle_the_side_colours)
{
    ClickCell(1);
    EXPECT_FLOAT_EQ(manager->radarScale, 0.1f);
    for (int i = 0; i < 5; ++i)
        ClickCell(0);
    EXPECT_NEAR(manager->radarScale, 0.1f * std::pow(1.2f, 5.0f), 1e-6f);
    const float zoomedIn = manager->radarScale;
    ClickCell(5);
    EXPECT_FLOAT_EQ(manager->radarScale, zoomedIn * 0.8f);
    for (const auto& [cell, level] : {std::pair{2, 0.03f}, std::pair{3, 0.01f}, std::pair{4, 0.005f}}) {
        ClickCell(cell);
        EXPECT_FLOAT_EQ(manager->radarScale, level);
    }
    // A zoom centres the radar again.
    manager->radarCenterX = 5;
    manager->radarRecenter = false;
    ClickCell(1);
    EXPECT_EQ(manager->radarCenterX, manager->mainBuffWidth / 2);
    EXPECT_TRUE(manager->radarRecenter);

    EXPECT_FALSE(manager->sideColorMode);
    ClickCell(6);
    EXPECT_TRUE(manager->sideColorMode);
    ClickCell(6);
    EXPECT_FALSE(manager->sideColorMode);
}

TEST_F(RadarZoomTest, ctrl_keys_zoom_and_the_colour_mode_has_a_key_apart_from_zoom_out)
{
    CtrlKey(vk::kDigit0 + 3);
    EXPECT_FLOAT_EQ(manager->radarScale, 0.01f);
    CtrlKey(vk::kPrior);
    EXPECT_FLOAT_EQ(manager->radarScale, 0.012f);
    CtrlKey(vk::kNext);
    EXPECT_FLOAT_EQ(manager->radarScale, 0.012f * 0.8f);
    EXPECT_FALSE(manager->sideColorMode);
    CtrlKey(vk::kHome);
    EXPECT_TRUE(manager->sideColorMode);

    PressKey(ViewRadarZoomCtrlDraw, kBox, vk::kDigit0 + 1);  // without Ctrl: nothing
    EXPECT_FLOAT_EQ(manager->radarScale, 0.012f * 0.8f);
}

// Red alert, dock and shields on one console, as a helm shows them.
class BridgeButtonsTest : public WidgetTest {
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        WriteString(ship->data_set, playership::kDockState, playership::kDockStateUndocked);
        DrawAll();  // the hot keys take their defaults
    }

    // The three buttons, and the throttle beside them when the console has one.
    void DrawAll()
    {
        Frame([&] {
            IntRect alert = kAlert, dock = kDock, shields = kShields, throttle = kThrottle;
            ViewRedAlertDraw(console, alert, "red_alert");
            ViewRequestDockDraw(console, dock, "request_dock");
            ViewShieldControlDraw(console, shields, "shield_control");
            if (withThrottle)
                ViewThrottleDraw(console, throttle, "throttle");
        });
    }

    void ClickAt(const IntRect& box)
    {
        input.MoveTo(box.Center().x, box.Center().y);
        input.Press();
        DrawAll();
        input.Release();
        DrawAll();
        input.MoveTo(-100, -100);
    }

    void Key(int32_t key)
    {
        input.KeyDown(key);
        DrawAll();
        input.KeyUp(key);
        DrawAll();
    }

    static constexpr IntRect kAlert{0, 0, 200, 40};
    static constexpr IntRect kDock{0, 50, 200, 90};
    static constexpr IntRect kShields{0, 100, 200, 140};
    static constexpr IntRect kThrottle{300, 0, 360, 400};
    bool withThrottle = false;
};

TEST_F(BridgeButtonsTest, red_alert_flips_the_world_flag_at_once_and_tells_the_server)
{
    ClickAt(kAlert);
    EXPECT_EQ(world.redAlertState, 1);
    Key(vk::kLetterA + ('D' - 'A'));
    EXPECT_EQ(world.redAlertState, 0);
    RedAlertSignal on, off;
    ASSERT_TRUE(network.Read(on, 0));
    ASSERT_TRUE(network.Read(off, 1));
    EXPECT_EQ(on.redAlert, 1);
    EXPECT_EQ(off.redAlert, 0);
    EXPECT_EQ(network.SignalCodes().size(), 2u);  // D no longer asks to dock as well
}

TEST_F(BridgeButtonsTest, the_dock_button_docks_only_an_undocked_ship_and_releases_in_every_other_case)
{
    DrawAll();
    EXPECT_TRUE(Drawn("INITIATE DOCK"));
    ClickAt(kDock);
    WriteString(ship->data_set, playership::kDockState, "docking");
    DrawAll();
    EXPECT_TRUE(Drawn("RELEASE DOCK"));
    Key(vk::kLetterA + ('H' - 'A'));
    world.subjectID = 0;
    DrawAll();
    EXPECT_TRUE(Drawn("RELEASE DOCK"));
    ClickAt(kDock);

    EXPECT_EQ(network.SignalCodes(), (std::vector<uint16_t>{SIGNAL_MESS_DOCK, SIGNAL_MESS_UNDOCK, SIGNAL_MESS_UNDOCK}));
    DockSignal dock;
    UndockSignal undock, undockWithoutShip;
    ASSERT_TRUE(network.Read(dock));
    ASSERT_TRUE(network.Read(undock, 0));
    ASSERT_TRUE(network.Read(undockWithoutShip, 1));
    EXPECT_EQ(dock.shipId, ship->uniqueID);
    EXPECT_EQ(undock.shipId, ship->uniqueID);
    EXPECT_EQ(undockWithoutShip.shipId, 0u);
}

// A helm holds the throttle beside the dock button: B steps its impulse up,
// and the dock request has a key of its own.
TEST_F(BridgeButtonsTest, the_throttles_impulse_key_asks_no_dock_on_a_helm)
{
    withThrottle = true;
    DrawAll();
    Key(vk::kLetterA + ('B' - 'A'));
    for (uint16_t code : network.SignalCodes())
        EXPECT_NE(code, SIGNAL_MESS_DOCK);
    Key(vk::kLetterA + ('H' - 'A'));
    ASSERT_FALSE(network.SignalCodes().empty());
    EXPECT_EQ(network.SignalCodes().back(), SIGNAL_MESS_DOCK);
}

TEST_F(BridgeButtonsTest, the_shield_button_asks_for_the_other_state_and_waits_for_the_server)
{
    ClickAt(kShields);
    WriteInt(ship->data_set, playership::kShieldsRaisedFlag, 1);
    Key(vk::kLetterA + ('S' - 'A'));
    world.subjectID = 0;
    ClickAt(kShields);
    ShieldsSignal raise, lower, raiseWithoutShip;
    ASSERT_TRUE(network.Read(raise, 0));
    ASSERT_TRUE(network.Read(lower, 1));
    ASSERT_TRUE(network.Read(raiseWithoutShip, 2));
    EXPECT_EQ(raise.value, 1);
    EXPECT_EQ(lower.value, 0);
    EXPECT_EQ(raiseWithoutShip.value, 1);
    EXPECT_EQ(ReadInt(ship->data_set, playership::kShieldsRaisedFlag), 1);  // only the server's answer turns it
}

TEST_F(BridgeButtonsTest, while_the_edit_key_is_held_the_buttons_are_still_but_the_keys_act)
{
    input.KeyDown(vk::kSubtract);
    ClickAt(kAlert);
    ClickAt(kDock);
    ClickAt(kShields);
    EXPECT_TRUE(network.SignalCodes().empty());
    EXPECT_EQ(world.redAlertState, 0);
    Key(vk::kLetterA + ('D' - 'A'));
    Key(vk::kLetterA + ('H' - 'A'));
    Key(vk::kLetterA + ('S' - 'A'));
    EXPECT_EQ(network.SignalCodes(),
              (std::vector<uint16_t>{SIGNAL_MESS_RED_ALERT, SIGNAL_MESS_DOCK, SIGNAL_MESS_SHIELDS}));
}

TEST_F(BridgeButtonsTest, a_controller_button_held_down_acts_once_per_press)
{
    qeltest::SetJoystick stick{"Flight Stick"};
    input.joysticks = {&stick};
    ControllerInputRecord* record = theControllerInput.GetRecord("Flight Stick");
    ASSERT_NE(record, nullptr);
    record->buttonActions[0] = "RedAlert";
    record->buttonActions[1] = "Dock";
    record->buttonActions[2] = "Shields";
    record->mapsBuilt = false;

    stick.buttons[0] = true;
    for (int frame = 0; frame < 5; ++frame)
        DrawAll();
    EXPECT_EQ(world.redAlertState, 1);
    stick.buttons[0] = false;
    DrawAll();
    stick.buttons[0] = true;
    DrawAll();
    EXPECT_EQ(world.redAlertState, 0);
    stick.buttons[1] = stick.buttons[2] = true;
    DrawAll();
    DrawAll();
    EXPECT_EQ(network.SignalCodes(), (std::vector<uint16_t>{SIGNAL_MESS_RED_ALERT, SIGNAL_MESS_RED_ALERT,
                                                            SIGNAL_MESS_DOCK, SIGNAL_MESS_SHIELDS}));

    // Controllers turned off: nothing, and buttons held through it do not count again.
    theControllerInput.controllerDisabled = true;
    stick.buttons[1] = false;
    DrawAll();
    stick.buttons[1] = true;
    DrawAll();
    theControllerInput.controllerDisabled = false;
    DrawAll();
    EXPECT_EQ(network.SignalCodes().size(), 4u);

    theControllerInput.records.clear();
    input.joysticks.clear();
}

}  // namespace
