// Controller mapping over real SDL joysticks: a virtual stick attached to
// SDL, read through the input service and mapped to game axes and actions.

#include "engine/sdl/QelSDLInputBase.h"
#include "game/ui/ControllerInput.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include "tests/support/ScopedGlobal.h"
#include "tests/support/TempFolder.h"

namespace {

class ControllerJoystickTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(SDL_Init(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
        SDL_VirtualJoystickDesc description{};
        description.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        description.type = SDL_JOYSTICK_TYPE_UNKNOWN;
        description.naxes = 4;
        description.nbuttons = 10;
        description.nhats = 1;
        description.name = "Helm Stick";
        const int index = SDL_JoystickAttachVirtualEx(&description);
        ASSERT_GE(index, 0) << SDL_GetError();
        ASSERT_TRUE(input.Initialize());
        device = SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(index));
        ASSERT_NE(device, nullptr);
    }

    void TearDown() override
    {
        input.Shutdown();
        SDL_Quit();
    }

    qeltest::TempFolder data;
    qeltest::ScopedEnv dataFolder{"QEL_DATA_DIR", data.Path().string()};
    QelSDLInputBase input;
    qeltest::ScopedGlobal<QelInputFactoryBase> published{gInputFactory, input};
    SDL_Joystick* device = nullptr;
    ControllerInput controllers;
};

TEST_F(ControllerJoystickTest, a_stick_flies_the_mapped_axes_and_its_buttons_and_hat_trigger_actions)
{
    ControllerInputRecord* record = controllers.GetRecord("");
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->deviceName, "Helm Stick");
    record->axisAssignments[0] = "Roll";
    record->axisAssignments[1] = "Pitch";
    record->axisSigns[1] = -1;
    record->axisDeadZones[1] = 0.1f;
    record->buttonActions[9] = "Fighter Shoot";
    record->hatActions[QelJoystick::kPovDown] = "Look Back";
    record->mapsBuilt = false;

    SDL_JoystickSetVirtualAxis(device, 0, 32767);
    SDL_JoystickSetVirtualAxis(device, 1, -16384);
    SDL_JoystickSetVirtualButton(device, 9, SDL_PRESSED);
    SDL_JoystickSetVirtualHat(device, 0, SDL_HAT_DOWN);
    input.Update();

    float roll = 0.0f, pitch = 0.0f;
    ASSERT_TRUE(controllers.GetAxisValue("Roll", roll));
    ASSERT_TRUE(controllers.GetAxisValue("Pitch", pitch));
    EXPECT_FLOAT_EQ(roll, -0.99f);
    EXPECT_NEAR(pitch, (-16384 / 32767.0f * 0.99f + 0.1f) / 0.9f, 1e-5f);
    EXPECT_TRUE(controllers.IsActionPressed("Fighter Shoot"));
    EXPECT_TRUE(controllers.IsActionPressed("Look Back"));
    EXPECT_FALSE(controllers.IsActionPressed("Dock"));

    // The mapping is stored under the device's name and read back by the next run.
    controllers.SaveAll();
    ControllerInput nextRun;
    ControllerInputRecord* read = nextRun.GetRecord("Helm Stick");
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->ToBytes(), record->ToBytes());
    SDL_JoystickSetVirtualButton(device, 9, SDL_RELEASED);
    input.Update();
    EXPECT_FALSE(nextRun.IsActionPressed("Fighter Shoot"));
    EXPECT_TRUE(nextRun.IsActionPressed("Look Back"));
}

}  // namespace
