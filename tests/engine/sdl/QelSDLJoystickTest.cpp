#include "engine/sdl/QelSDLJoystick.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include "engine/sdl/QelSDLInputBase.h"

namespace {

// Real SDL joysticks: virtual devices attached to SDL's joystick subsystem
// and read through the input service, a frame at a time.
class QelSDLJoystickTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(SDL_Init(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError(); }

    void TearDown() override
    {
        input.Shutdown();
        SDL_Quit();
    }

    // Attaches a virtual device and returns its SDL device index.
    int Attach(SDL_JoystickType type, const char* name, int axes, int buttons, int hats)
    {
        SDL_VirtualJoystickDesc description{};
        description.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        description.type = static_cast<Uint16>(type);
        description.naxes = static_cast<Uint16>(axes);
        description.nbuttons = static_cast<Uint16>(buttons);
        description.nhats = static_cast<Uint16>(hats);
        description.name = name;
        if (type == SDL_JOYSTICK_TYPE_GAMECONTROLLER) {
            description.button_mask = (1u << SDL_CONTROLLER_BUTTON_A) | (1u << SDL_CONTROLLER_BUTTON_B) |
                                      (1u << SDL_CONTROLLER_BUTTON_START) |
                                      (1u << SDL_CONTROLLER_BUTTON_DPAD_UP) |
                                      (1u << SDL_CONTROLLER_BUTTON_DPAD_DOWN) |
                                      (1u << SDL_CONTROLLER_BUTTON_DPAD_LEFT) |
                                      (1u << SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
            description.axis_mask = (1u << SDL_CONTROLLER_AXIS_LEFTX) | (1u << SDL_CONTROLLER_AXIS_LEFTY) |
                                    (1u << SDL_CONTROLLER_AXIS_TRIGGERRIGHT);
        }
        const int index = SDL_JoystickAttachVirtualEx(&description);
        EXPECT_GE(index, 0) << SDL_GetError();
        return index;
    }

    // The SDL joystick of a virtual device, to set its values.
    static SDL_Joystick* Device(int index) { return SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(index)); }

    QelSDLInputBase input;
};

TEST_F(QelSDLJoystickTest, a_plain_joystick_reads_axes_buttons_and_its_hat_a_frame_at_a_time)
{
    const int index = Attach(SDL_JOYSTICK_TYPE_UNKNOWN, "Bridge Flight Stick", 3, 12, 1);
    ASSERT_TRUE(input.Initialize());
    ASSERT_EQ(input.GetNumJoysticks(), 1);
    QelJoystick* stick = input.GetJoystick(0);
    ASSERT_NE(stick, nullptr);
    EXPECT_EQ(input.GetJoystick(-1), nullptr);
    EXPECT_EQ(input.GetJoystick(1), nullptr);

    SDL_Joystick* device = Device(index);
    SDL_JoystickSetVirtualAxis(device, 0, 32767);
    SDL_JoystickSetVirtualAxis(device, 1, -32768);
    SDL_JoystickSetVirtualAxis(device, 2, 0);
    SDL_JoystickSetVirtualButton(device, 11, SDL_PRESSED);
    SDL_JoystickSetVirtualHat(device, 0, SDL_HAT_RIGHTUP);
    input.Update();

    EXPECT_TRUE(stick->IsConnected());
    EXPECT_EQ(stick->GetName(), "Bridge Flight Stick");
    int32_t buttons = 0, axes = 0, povs = 0;
    ASSERT_TRUE(stick->GetCounts(buttons, axes, povs));
    EXPECT_EQ(buttons, 12);
    EXPECT_EQ(axes, 8);
    EXPECT_EQ(povs, 1);
    EXPECT_FLOAT_EQ(stick->GetAxis(0), 0.99f);
    EXPECT_FLOAT_EQ(stick->GetAxis(1), -0.99f);
    EXPECT_EQ(stick->GetAxis(2), 0.0f);
    EXPECT_EQ(stick->GetAxis(5), 0.0f);  // an axis the device lacks rests at 0
    EXPECT_FLOAT_EQ(stick->GetAxis(8), -0.99f);
    EXPECT_TRUE(stick->IsPovDirection(QelJoystick::kPovUpRight));
    EXPECT_FALSE(stick->IsPovDirection(QelJoystick::kPovUp));
    EXPECT_FALSE(stick->IsPovDirection(QelJoystick::kPovRight));

    // Held over two frames, then let go.
    EXPECT_TRUE(stick->WasButtonPressed(11));
    EXPECT_TRUE(stick->IsButtonDown(11));
    input.Update();
    EXPECT_FALSE(stick->WasButtonPressed(11));
    EXPECT_TRUE(stick->IsButtonDown(11));
    SDL_JoystickSetVirtualButton(device, 11, SDL_RELEASED);
    input.Update();
    EXPECT_TRUE(stick->WasButtonReleased(11));
    EXPECT_FALSE(stick->IsButtonDown(11));
    input.Update();
    EXPECT_FALSE(stick->WasButtonReleased(11));
    for (int32_t outside : {-1, 128, 1000}) {
        EXPECT_FALSE(stick->IsButtonDown(outside));
        EXPECT_FALSE(stick->WasButtonPressed(outside));
        EXPECT_FALSE(stick->WasButtonReleased(outside));
    }
}

TEST_F(QelSDLJoystickTest, hat_directions_hold_only_for_their_own_sector)
{
    constexpr int32_t kNone = 100;
    const struct {
        uint8_t hat;
        int32_t holds;  // kNone: no direction
    } cases[] = {
        {SDL_HAT_CENTERED, kNone},          {SDL_HAT_UP, QelJoystick::kPovUp},
        {SDL_HAT_LEFTUP, QelJoystick::kPovUpLeft}, {SDL_HAT_LEFT, QelJoystick::kPovLeft},
        {SDL_HAT_LEFTDOWN, QelJoystick::kPovDownLeft}, {SDL_HAT_DOWN, QelJoystick::kPovDown},
        {SDL_HAT_RIGHTDOWN, QelJoystick::kPovDownRight}, {SDL_HAT_RIGHT, QelJoystick::kPovRight},
        {SDL_HAT_RIGHTUP, QelJoystick::kPovUpRight},
    };
    for (const auto& c : cases) {
        for (int32_t direction = -1; direction <= 8; ++direction)
            EXPECT_EQ(QelSDLJoystick::HatPointsTo(c.hat, direction), direction == c.holds)
                << "hat " << int(c.hat) << ", direction " << direction;
    }
}

TEST_F(QelSDLJoystickTest, a_game_controller_reads_sticks_triggers_its_buttons_and_the_pad_as_the_hat)
{
    const int index = Attach(SDL_JOYSTICK_TYPE_GAMECONTROLLER, "Bridge Pad", SDL_CONTROLLER_AXIS_MAX,
                             SDL_CONTROLLER_BUTTON_MAX, 0);
    ASSERT_TRUE(SDL_IsGameController(index));
    ASSERT_TRUE(input.Initialize());
    ASSERT_EQ(input.GetNumJoysticks(), 1);
    QelJoystick* pad = input.GetJoystick(0);

    // The virtual device numbers the buttons and axes of its masks in order:
    // buttons A, B, Start, up, down, left, right; axes left x, left y, right trigger.
    SDL_Joystick* device = Device(index);
    SDL_JoystickSetVirtualAxis(device, 1, -32768);
    SDL_JoystickSetVirtualAxis(device, 2, 32767);
    SDL_JoystickSetVirtualButton(device, 2, SDL_PRESSED);
    SDL_JoystickSetVirtualButton(device, 4, SDL_PRESSED);
    SDL_JoystickSetVirtualButton(device, 5, SDL_PRESSED);
    input.Update();

    EXPECT_EQ(pad->GetName(), "Bridge Pad");
    int32_t buttons = 0, axes = 0, povs = 0;
    ASSERT_TRUE(pad->GetCounts(buttons, axes, povs));
    EXPECT_EQ(buttons, 3);  // A, B, Start: the pad is the hat
    EXPECT_FLOAT_EQ(pad->GetAxis(1), -0.99f);
    EXPECT_FLOAT_EQ(pad->GetAxis(5), 0.99f);
    EXPECT_EQ(pad->GetAxis(0), 0.0f);
    EXPECT_FALSE(pad->IsButtonDown(0));
    EXPECT_TRUE(pad->IsButtonDown(2));
    EXPECT_TRUE(pad->IsPovDirection(QelJoystick::kPovDownLeft));
    EXPECT_FALSE(pad->IsPovDirection(QelJoystick::kPovDown));
}

TEST_F(QelSDLJoystickTest, devices_come_and_go_with_a_refresh_and_buttons_beyond_the_table_are_left_out)
{
    ASSERT_TRUE(input.Initialize());
    EXPECT_EQ(input.GetNumJoysticks(), 0);
    const int first = Attach(SDL_JOYSTICK_TYPE_UNKNOWN, "Many Buttons", 2, 200, 0);
    input.RefreshJoysticks();
    ASSERT_EQ(input.GetNumJoysticks(), 1);
    SDL_JoystickSetVirtualButton(Device(first), 127, SDL_PRESSED);
    SDL_JoystickSetVirtualButton(Device(first), 150, SDL_PRESSED);
    input.Update();
    QelJoystick* many = input.GetJoystick(0);
    int32_t buttons = 0, axes = 0, povs = 0;
    ASSERT_TRUE(many->GetCounts(buttons, axes, povs));
    EXPECT_EQ(buttons, QelJoystick::kMaxButtons);
    EXPECT_TRUE(many->IsButtonDown(127));
    EXPECT_FALSE(many->IsButtonDown(150));

    Attach(SDL_JOYSTICK_TYPE_UNKNOWN, "Second", 2, 2, 0);
    input.RefreshJoysticks();
    EXPECT_EQ(input.GetNumJoysticks(), 2);

    // Unplugged but not yet refreshed: the joystick stays and reads as gone.
    QelJoystick* second = input.GetJoystick(1);
    ASSERT_EQ(SDL_JoystickDetachVirtual(1), 0) << SDL_GetError();
    input.Update();
    EXPECT_FALSE(second->IsConnected());
    EXPECT_EQ(second->GetName(), QelJoystick::kNotWorkingName);
    EXPECT_FALSE(second->GetCounts(buttons, axes, povs));
    input.RefreshJoysticks();
    EXPECT_EQ(input.GetNumJoysticks(), 1);
}

}  // namespace
