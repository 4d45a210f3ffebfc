// The controller set-up panel over a real SDL joystick (a virtual stick
// attached to SDL) with scripted mouse clicks: axes, buttons and the hat
// mapped through the panel's controls, stored in the device's file and read
// back by the next run; the panel's layout and its device switches.

#include "engine/sdl/QelSDLInputBase.h"
#include "game/ui/ControllerInput.h"
#include "tests/game/ui/UITestFixture.h"
#include "tests/support/TempFolder.h"

#include <SDL2/SDL.h>

#include <filesystem>
#include <optional>

namespace {

// Where the panel stands, and its rows and cells as the panel lays them out.
constexpr IntRect kPosition{100, 100, 1000, 1000};
// The stick has four axes; the input service reports every joystick with
// all the axes the game reads.
constexpr int32_t kAxes = 4;
constexpr int32_t kReportedAxes = QelJoystick::kAxisCount;
constexpr int32_t kButtons = 12;
constexpr int32_t kAxisRowsTop = 100 + 25 + 8 + 24;
constexpr int32_t kButtonCellsTop = kAxisRowsTop + kReportedAxes * 30 + 8 + 24;
constexpr int32_t kHatCellsTop = kButtonCellsTop + 2 * 66 + 8 + 24;

class ControllerSetupScreenTest : public UITest {
protected:
    void SetUp() override
    {
        UITest::SetUp();
        // The preferences come from the game's data; the device's file goes
        // to a folder of the test's own.
        dataFolder.emplace("QEL_DATA_DIR", data.Path().string());
        ASSERT_EQ(SDL_Init(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
        SDL_VirtualJoystickDesc description{};
        description.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        description.type = SDL_JOYSTICK_TYPE_UNKNOWN;
        description.naxes = kAxes;
        description.nbuttons = kButtons;
        description.nhats = 1;
        description.name = "Flight Yoke";
        const int index = SDL_JoystickAttachVirtualEx(&description);
        ASSERT_GE(index, 0) << SDL_GetError();
        ASSERT_TRUE(sdlInput.Initialize());
        device = SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(index));
        ASSERT_NE(device, nullptr);
        input.joysticks.push_back(sdlInput.GetJoystick(0));
        controllers.actionNameList = ControllerInput::kActionNames;
    }

    void TearDown() override
    {
        sdlInput.Shutdown();
        SDL_Quit();
        dataFolder.reset();
        UITest::TearDown();
    }

    void Draw()
    {
        sdlInput.Update();
        Frame([&] { controllers.DrawSetupScreen(theUIContext, kPosition, 0.0f, 1.0f); });
    }

    // Press, hold for a frame (a slider follows the held mouse), release.
    void ClickAt(int32_t x, int32_t y)
    {
        input.MoveTo(x, y);
        input.Press();
        Draw();
        Draw();
        input.Release();
        Draw();
    }

    // Opens the drop-down whose head holds the point and chooses the row.
    void Choose(int32_t x, int32_t y, const std::string& row)
    {
        ClickAt(x, y);
        Draw();
        const qeltest::DrawRecord* text = nullptr;
        for (const qeltest::DrawRecord& record : graphics.log)
            if (record.kind == qeltest::DrawRecord::Kind::Text && record.text == row)
                text = &record;
        ASSERT_NE(text, nullptr) << row;
        ClickAt((text->box.left + text->box.right) / 2, (text->box.top + text->box.bottom) / 2);
    }

    // Whether the label was drawn in the cell (or row) that starts at the point.
    bool TextAt(const std::string& label, int32_t left, int32_t top) const
    {
        for (const qeltest::DrawRecord& record : graphics.log)
            if (record.kind == qeltest::DrawRecord::Kind::Text && record.text == label && record.box.left >= left &&
                record.box.left < left + 60 && record.box.top >= top && record.box.top <= top + 3)
                return true;
        return false;
    }

    bool AnyText(const std::string& label) const
    {
        for (const qeltest::DrawRecord& record : graphics.log)
            if (record.kind == qeltest::DrawRecord::Kind::Text && record.text == label)
                return true;
        return false;
    }

    qeltest::TempFolder data;
    std::optional<qeltest::ScopedEnv> dataFolder;
    QelSDLInputBase sdlInput;
    SDL_Joystick* device = nullptr;
    ControllerInput controllers;
};

TEST_F(ControllerSetupScreenTest, an_axis_buttons_and_the_hat_mapped_on_the_panel_fly_the_ship_and_are_read_back)
{
    Draw();
    // Axis 1: "Pitch", inverted, a dead zone of about a quarter.
    const int32_t axisRow = kAxisRowsTop + 30;
    Choose(100 + 186 + 75, axisRow + 13, "Pitch");
    ClickAt(100 + 344 + 50, axisRow + 13);
    ClickAt(100 + 344 + 50, axisRow + 13);
    ClickAt(100 + 344 + 50, axisRow + 13);
    ClickAt(100 + 452 + (620 - 452) / 2, axisRow + 13);
    // Button 8 (second row, second cell): "Dock"; hat direction 4 (down): "Look Back".
    Choose(100 + 60 + 28, kButtonCellsTop + 66 + 43, "Dock");
    Choose(100 + 0 * 150 + 73, kHatCellsTop + 66 + 43, "Look Back");

    ControllerInputRecord* record = controllers.GetRecord("Flight Yoke");
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->axisAssignments[1], "Pitch");
    EXPECT_EQ(record->axisSigns[1], -1) << "ticked three times";
    EXPECT_NEAR(record->axisDeadZones[1], 0.25f, 0.01f);
    EXPECT_EQ(record->buttonActions[8], "Dock");
    EXPECT_EQ(record->hatActions[QelJoystick::kPovDown], "Look Back");

    // The queries see the edits at once: the maps are rebuilt.
    SDL_JoystickSetVirtualAxis(device, 1, 32767);
    SDL_JoystickSetVirtualButton(device, 8, SDL_PRESSED);
    SDL_JoystickSetVirtualHat(device, 0, SDL_HAT_DOWN);
    Draw();
    float pitch = 0.0f;
    ASSERT_TRUE(controllers.GetAxisValue("Pitch", pitch));
    const float deadZone = record->axisDeadZones[1];
    EXPECT_NEAR(pitch, (0.99f - deadZone) / (1.0f - deadZone), 1e-4f) << "inverted: the raw value passes";
    EXPECT_TRUE(controllers.IsActionPressed("Dock"));
    EXPECT_TRUE(controllers.IsActionPressed("Look Back"));
    EXPECT_TRUE(AnyText("Pitch")) << "the axis row shows its game axis";

    // The next-device arrow (one device: it stays) stores every record; the
    // next run reads the mapping back from the device's file.
    ClickAt(100 + 440 + 12, 100 + 12);
    EXPECT_EQ(controllers.currentDevice, 0);
    const std::filesystem::path file = data.Path() / (ControllerInputRecord::SettingsFileName("Flight Yoke") + ".dat");
    ASSERT_TRUE(std::filesystem::exists(file)) << file;
    ControllerInput nextRun;
    nextRun.actionNameList = ControllerInput::kActionNames;
    ControllerInputRecord* read = nextRun.GetRecord("Flight Yoke");
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->ToBytes(), record->ToBytes());
    EXPECT_TRUE(nextRun.IsActionPressed("Dock"));
    float readPitch = 0.0f;
    ASSERT_TRUE(nextRun.GetAxisValue("Pitch", readPitch));
    EXPECT_FLOAT_EQ(readPitch, pitch);
}

TEST_F(ControllerSetupScreenTest, twelve_buttons_fill_a_row_of_seven_then_five_and_the_live_state_shows)
{
    SDL_JoystickSetVirtualButton(device, 11, SDL_PRESSED);
    Draw();
    EXPECT_TRUE(TextAt("1: Flight Yoke", 100, 100));
    EXPECT_TRUE(TextAt("6", 100 + 6 * 60, kButtonCellsTop));
    EXPECT_TRUE(TextAt("7", 100, kButtonCellsTop + 66));
    EXPECT_TRUE(TextAt("11", 100 + 4 * 60, kButtonCellsTop + 66));
    EXPECT_FALSE(AnyText("12"));
    // The hat's eight directions, four to a row.
    EXPECT_TRUE(TextAt("3", 100 + 3 * 150, kHatCellsTop));
    EXPECT_TRUE(TextAt("7", 100 + 3 * 150, kHatCellsTop + 66));
    // Clicking a button's cell shows, it does not press.
    ClickAt(100 + 4 * 60 + 20, kButtonCellsTop + 66 + 10);
    ASSERT_NE(controllers.GetRecord("Flight Yoke"), nullptr);
    EXPECT_TRUE(controllers.GetRecord("Flight Yoke")->buttonActions[11].empty());
}

TEST_F(ControllerSetupScreenTest, the_switches_hide_the_mapping_and_say_why)
{
    struct Case {
        bool allDisabled;
        bool deviceEnabled;
        const char* says;
    };
    for (const Case& c : {Case{true, true, "ALL DISABLED"}, Case{false, false, "THIS DEVICE DISABLED"},
                          Case{false, true, "Axis Set"}}) {
        controllers.controllerDisabled = c.allDisabled;
        controllers.GetRecord("Flight Yoke")->enabled = c.deviceEnabled;
        Draw();
        EXPECT_TRUE(AnyText(c.says)) << c.says;
        EXPECT_EQ(AnyText("Buttons"), c.deviceEnabled && !c.allDisabled) << c.says;
    }
    // "Device Enabled" turns the device off and on.
    ClickAt(100 + 475 + 40, 100 + 12);
    EXPECT_FALSE(controllers.GetRecord("Flight Yoke")->enabled);
    ClickAt(100 + 475 + 40, 100 + 12);
    EXPECT_TRUE(controllers.GetRecord("Flight Yoke")->enabled);

    input.joysticks.clear();
    Draw();
    EXPECT_TRUE(AnyText("No controller detected"));
}

TEST_F(ControllerSetupScreenTest, the_axes_transform_turns_by_half_the_axis_and_moves_with_the_throttle)
{
    ControllerInputRecord* record = controllers.GetRecord("Flight Yoke");
    record->axisAssignments[0] = "Yaw";
    record->axisAssignments[3] = "Throttle";
    record->mapsBuilt = false;
    SDL_JoystickSetVirtualAxis(device, 0, 0);
    SDL_JoystickSetVirtualAxis(device, 3, -32768);
    sdlInput.Update();
    controllers.ReadAxes();
    float throttle = 0.0f;
    ASSERT_TRUE(controllers.GetAxisValue("Throttle", throttle));
    // A point at the origin moves along z by -95 per unit of throttle.
    const glm::vec4 moved = controllers.axesTransform * glm::vec4(0.0f, 0.0f, 0.0f, 1.0f);
    EXPECT_NEAR(moved.z, -95.0f * throttle, 1e-3f);
    EXPECT_NEAR(moved.x, 0.0f, 1e-4f);

    // Full yaw turns +z half a radian towards... the turn about +y.
    SDL_JoystickSetVirtualAxis(device, 3, 0);
    SDL_JoystickSetVirtualAxis(device, 0, 32767);
    sdlInput.Update();
    controllers.ReadAxes();
    float yaw = 0.0f;
    ASSERT_TRUE(controllers.GetAxisValue("Yaw", yaw));
    const glm::vec4 ahead = controllers.axesTransform * glm::vec4(0.0f, 0.0f, 1.0f, 0.0f);
    EXPECT_NEAR(ahead.x, std::sin(0.5f * yaw), 1e-4f);
    EXPECT_NEAR(ahead.z, std::cos(0.5f * yaw), 1e-4f);
}

}  // namespace
