#include "game/ui/ControllerInput.h"

#include <gtest/gtest.h>

#include <array>
#include <bitset>
#include <cmath>
#include <cstring>

#include "engine/base/QelJoystick.h"
#include "tests/support/ScopedGlobal.h"
#include "tests/support/SetJoystick.h"
#include "tests/support/ScriptedInput.h"
#include "tests/support/TempFolder.h"

namespace {

using qeltest::SetJoystick;

using namespace std::string_literals;

// Controllers plugged into a scripted input service, their settings files in a
// data folder of the test's own.
class ControllerInputTest : public ::testing::Test {
protected:
    ControllerInputTest() { input.joysticks = {&first, &second}; }

    // Assigns a device axis of the named controller's record.
    void Assign(SetJoystick& device, int32_t axis, const std::string& gameAxis, int32_t sign = 1, float deadZone = 0)
    {
        ControllerInputRecord* record = controllers.GetRecord(device.name);
        ASSERT_NE(record, nullptr);
        record->axisAssignments[axis] = gameAxis;
        record->axisSigns[axis] = sign;
        record->axisDeadZones[axis] = deadZone;
        record->mapsBuilt = false;
    }

    float Axis(const std::string& name, bool* assigned = nullptr)
    {
        float value = 99.0f;
        const bool found = controllers.GetAxisValue(name, value);
        if (assigned)
            *assigned = found;
        return value;
    }

    qeltest::TempFolder data;
    qeltest::ScopedEnv dataFolder{"QEL_DATA_DIR", data.Path().string()};
    qeltest::ScriptedInput input;
    qeltest::ScopedGlobal<QelInputFactoryBase> published{gInputFactory, input};
    SetJoystick first{"Flight Stick"};
    SetJoystick second{"Throttle Quadrant"};
    ControllerInput controllers;
};

TEST_F(ControllerInputTest, axis_values_are_signed_rescaled_outside_the_dead_zone_and_the_largest_wins)
{
    const struct {
        const char* name;
        float raw;
        int32_t sign;
        float deadZone;
        float value;
    } cases[] = {
        {"sign -1 passes 0.6 through the dead zone", 0.6f, -1, 0.2f, 0.5f},
        {"inside the dead zone", 0.1f, -1, 0.2f, 0.0f},
        {"negative side", -0.6f, -1, 0.2f, -0.5f},
        {"sign 1 negates", 0.6f, 1, 0.2f, -0.5f},
        {"no dead zone", -0.99f, 1, 0.0f, 0.99f},
        {"a dead zone above the table's is brought down to it", 0.75f, -1, 5.0f, 0.5f},
    };
    for (const auto& c : cases) {
        Assign(first, 2, "Yaw", c.sign, c.deadZone);
        first.axes[2] = c.raw;
        bool assigned = false;
        EXPECT_NEAR(Axis("Yaw", &assigned), c.value, 1e-5f) << c.name;
        EXPECT_TRUE(assigned) << c.name;
    }

    // Two devices on one game axis: the larger magnitude wins.
    Assign(first, 1, "Pitch");
    Assign(second, 0, "Pitch", -1);
    first.axes[1] = 0.8f;
    second.axes[0] = 0.5f;
    EXPECT_FLOAT_EQ(Axis("Pitch"), -0.8f);
    first.axes[1] = 0.0f;
    bool assigned = false;
    EXPECT_FLOAT_EQ(Axis("Pitch", &assigned), 0.5f);
    second.axes[0] = 0.0f;
    EXPECT_EQ(Axis("Pitch", &assigned), 0.0f);
    EXPECT_TRUE(assigned);  // assigned and at rest

    EXPECT_EQ(Axis("Roll", &assigned), 0.0f);
    EXPECT_FALSE(assigned);
}

TEST_F(ControllerInputTest, actions_come_from_buttons_and_hat_directions_of_any_enabled_device)
{
    ControllerInputRecord* stick = controllers.GetRecord("Flight Stick");
    ControllerInputRecord* quadrant = controllers.GetRecord("Throttle Quadrant");
    stick->buttonActions[3] = "Dock";
    stick->hatActions[QelJoystick::kPovLeft] = "Look Left";
    quadrant->buttonActions[0] = "Dock";
    EXPECT_FALSE(controllers.IsActionPressed("Dock"));
    second.buttons[0] = true;
    EXPECT_TRUE(controllers.IsActionPressed("Dock"));
    second.buttons[0] = false;
    first.buttons[3] = true;
    EXPECT_TRUE(controllers.IsActionPressed("Dock"));
    EXPECT_FALSE(controllers.IsActionPressed("Look Left"));
    first.hat = QelJoystick::kPovLeft;
    EXPECT_TRUE(controllers.IsActionPressed("Look Left"));
    EXPECT_FALSE(controllers.IsActionPressed("Warp 1"));
    EXPECT_FALSE(controllers.noControllerActive);
}

TEST_F(ControllerInputTest, disabled_controllers_answer_as_if_none_were_plugged_in)
{
    Assign(first, 0, "Throttle");
    first.axes[0] = 0.5f;
    controllers.GetRecord("Flight Stick")->buttonActions[0] = "Shields";
    first.buttons[0] = true;
    input.joysticks = {&first};

    controllers.controllerDisabled = true;
    bool assigned = true;
    EXPECT_EQ(Axis("Throttle", &assigned), 0.0f);
    EXPECT_FALSE(assigned);
    EXPECT_FALSE(controllers.IsActionPressed("Shields"));
    EXPECT_TRUE(controllers.noControllerActive);

    controllers.controllerDisabled = false;
    controllers.GetRecord("Flight Stick")->enabled = false;
    EXPECT_FALSE(controllers.IsActionPressed("Shields"));
    EXPECT_TRUE(controllers.noControllerActive);

    controllers.GetRecord("Flight Stick")->enabled = true;
    first.connected = false;  // unplugged: it reads as not working
    EXPECT_FALSE(controllers.IsActionPressed("Shields"));
    EXPECT_TRUE(controllers.noControllerActive);
    first.connected = true;
    EXPECT_TRUE(controllers.IsActionPressed("Shields"));
    EXPECT_FALSE(controllers.noControllerActive);
}

TEST_F(ControllerInputTest, records_are_made_once_per_working_device_with_its_own_counts)
{
    EXPECT_EQ(controllers.GetRecord(""), controllers.GetRecord("Flight Stick"));
    EXPECT_EQ(controllers.GetRecord(QelJoystick::kNotWorkingName), nullptr);
    ControllerInputRecord* record = controllers.GetRecord("Flight Stick");
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->axisLabelList, (std::vector<std::string>{"Yaw", "Pitch", "Roll", "Throttle", "Nothing"}));
    EXPECT_EQ(record->buttonLabelList.size(), 27u);
    EXPECT_EQ(record->buttonLabelList.front(), "Dock");
    EXPECT_EQ(record->axisAssignments[7], "Nothing");
    EXPECT_EQ(record->axisSigns[7], 1);
    EXPECT_EQ(record->axisAssignments[8], "");
    EXPECT_EQ(record->axisSigns[8], 0);
    EXPECT_TRUE(record->enabled);

    qeltest::ScriptedInput none;
    qeltest::ScopedGlobal<QelInputFactoryBase> unplugged(gInputFactory, none);
    EXPECT_EQ(controllers.GetRecord(""), nullptr);
    EXPECT_FALSE(controllers.IsActionPressed("Dock"));
}

TEST_F(ControllerInputTest, buttons_beyond_the_record_never_trigger)
{
    SetJoystick many("Many Buttons", QelJoystick::kMaxButtons);
    input.joysticks = {&many};
    ControllerInputRecord* record = controllers.GetRecord("Many Buttons");
    record->buttonActions[99] = "Scan";
    many.buttons[120] = true;
    EXPECT_FALSE(controllers.IsActionPressed("Scan"));
    EXPECT_FALSE(controllers.IsActionPressed(""));
    many.buttons[99] = true;
    EXPECT_TRUE(controllers.IsActionPressed("Scan"));
    EXPECT_EQ(record->actionMap.size(), 2u);  // "Scan" and the empty action of every other slot
}

TEST_F(ControllerInputTest, settings_files_are_named_for_the_device_and_cannot_leave_the_data_folder)
{
    const struct {
        const char* device;
        const char* file;
    } cases[] = {
        {"Flight Stick (USB), v2+", "joystickSettings_Flight Stick (USB), v2+"},
        {"Logi/Stick:Pro\\X", "joystickSettings_Logi_Stick_Pro_X"},
        {"../../etc/passwd", "joystickSettings__._.._etc_passwd"},
        {"", "joystickSettings_"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ControllerInputRecord::SettingsFileName(c.device), c.file) << c.device;
    EXPECT_EQ(ControllerInputRecord::SettingsFileName(std::string(500, 'x')).size(), 17u + 120u);
}

TEST_F(ControllerInputTest, a_record_saved_is_read_back_whole_by_the_next_run)
{
    ControllerInputRecord* record = controllers.GetRecord("Flight Stick");
    record->axisAssignments[1] = "Pitch";
    record->axisSigns[1] = -1;
    record->axisDeadZones[1] = 0.125f;
    record->buttonActions[4] = "Warp 2";
    record->hatActions[7] = "Look Back";
    record->axisLabelList.push_back("Extra");
    record->enabled = false;
    controllers.GetRecord("Throttle Quadrant")->buttonActions[0] = "Stop";
    controllers.SaveAll();
    EXPECT_TRUE(std::filesystem::exists(data.Path() / "joystickSettings_Flight Stick.dat"));
    EXPECT_TRUE(std::filesystem::exists(data.Path() / "joystickSettings_Throttle Quadrant.dat"));

    ControllerInput nextRun;
    ControllerInputRecord* read = nextRun.GetRecord("Flight Stick");
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->ToBytes(), record->ToBytes());
    EXPECT_EQ(read->axisAssignments[1], "Pitch");
    EXPECT_EQ(read->axisSigns[1], -1);
    EXPECT_EQ(read->axisDeadZones[1], 0.125f);
    EXPECT_EQ(read->hatActions[7], "Look Back");
    EXPECT_FALSE(read->enabled);
    EXPECT_FALSE(read->mapsBuilt);
    EXPECT_EQ(nextRun.GetRecord("Throttle Quadrant")->buttonActions[0], "Stop");
}

// The documented layout, written out by hand.
class SettingsBytes {
public:
    SettingsBytes& Int(int32_t value)
    {
        char raw[4];
        std::memcpy(raw, &value, 4);
        bytes.append(raw, 4);
        return *this;
    }
    SettingsBytes& Float(float value)
    {
        int32_t raw = 0;
        std::memcpy(&raw, &value, 4);
        return Int(raw);
    }
    SettingsBytes& Text(const std::string& text)
    {
        Int(static_cast<int32_t>(text.size()));
        bytes += text;
        return *this;
    }
    std::vector<uint8_t> Bytes() const { return std::vector<uint8_t>(bytes.begin(), bytes.end()); }

    std::string bytes;
};

// A file of the given label lists, axis 0 driving the game axis, and the
// enabled value.
SettingsBytes SettingsFile(int32_t enabled, float deadZone = 0.25f, int32_t sign = -1)
{
    SettingsBytes file;
    file.Int(2).Text("Yaw").Text("Nothing").Int(1).Text("  \tDock\0\0"s);
    for (int slot = 0; slot < ControllerInputRecord::kSlots; ++slot) {
        if (slot == 0)
            file.Text("Yaw").Int(sign).Float(deadZone).Text("Dock");
        else
            file.Text("").Int(0).Float(0).Text("");
    }
    for (int direction = 0; direction < ControllerInputRecord::kHatDirections; ++direction)
        file.Text(direction == 2 ? "Dock" : "");
    file.Int(enabled);
    return file;
}

TEST_F(ControllerInputTest, a_file_in_the_documented_layout_reads_field_by_field)
{
    ControllerInputRecord record("Pad", 8);
    std::string error;
    ASSERT_TRUE(record.FromBytes(SettingsFile(7).Bytes(), error)) << error;
    EXPECT_EQ(record.axisLabelList, (std::vector<std::string>{"Yaw", "Nothing"}));
    EXPECT_EQ(record.buttonLabelList, std::vector<std::string>{"Dock"});  // blanks and NULs trimmed
    EXPECT_EQ(record.axisAssignments[0], "Yaw");
    EXPECT_EQ(record.axisAssignments[1], "");
    EXPECT_EQ(record.axisSigns[0], -1);
    EXPECT_EQ(record.axisDeadZones[0], 0.25f);
    EXPECT_EQ(record.buttonActions[0], "Dock");
    EXPECT_EQ(record.hatActions[2], "Dock");
    EXPECT_TRUE(record.enabled);  // anything but 0
    EXPECT_EQ(record.deviceName, "Pad");

    const struct {
        float deadZone;
        int32_t sign;
        float readZone;
        int32_t readSign;
    } clamped[] = {{1.0f, 5, 0.5f, 1}, {NAN, -9, 0.0f, -1}, {-0.5f, -1, 0.0f, -1}};
    for (const auto& c : clamped) {
        ASSERT_TRUE(record.FromBytes(SettingsFile(0, c.deadZone, c.sign).Bytes(), error)) << error;
        EXPECT_EQ(record.axisDeadZones[0], c.readZone) << c.deadZone;
        EXPECT_EQ(record.axisSigns[0], c.readSign) << c.sign;
        EXPECT_FALSE(record.enabled);
    }

    SettingsBytes empty;
    empty.Int(0).Int(0);
    for (int slot = 0; slot < ControllerInputRecord::kSlots; ++slot)
        empty.Text("").Int(0).Float(0).Text("");
    for (int direction = 0; direction < ControllerInputRecord::kHatDirections; ++direction)
        empty.Text("");
    empty.Int(1);
    ASSERT_TRUE(record.FromBytes(empty.Bytes(), error)) << error;
    EXPECT_TRUE(record.axisLabelList.empty());
    EXPECT_TRUE(record.buttonLabelList.empty());
}

TEST_F(ControllerInputTest, a_broken_file_changes_nothing_and_says_what_is_wrong)
{
    const std::vector<uint8_t> whole = SettingsFile(1).Bytes();
    ControllerInputRecord record("Pad", 8);
    record.buttonActions[5] = "Kept";
    const std::string before = record.ToBytes();
    // Every cut of the file, each a buffer of exactly that size.
    for (size_t size = 0; size < whole.size(); ++size) {
        const std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
        std::string error;
        ASSERT_FALSE(record.FromBytes(cut, error)) << size;
        ASSERT_FALSE(error.empty()) << size;
        ASSERT_EQ(record.ToBytes(), before) << size;
    }
    const struct {
        const char* name;
        SettingsBytes file;
        const char* error;
    } cases[] = {
        {"a list count beyond the file", SettingsBytes().Int(1 << 30), "axis label list claims 1073741824 names"},
        {"a negative list count", SettingsBytes().Int(-1), "axis label list claims -1 names"},
        {"a string longer than the file", SettingsBytes().Int(1).Int(400).Text("ab"),
         "axis label list claims 400 bytes where 6 are left"},
        {"a negative string length", SettingsBytes().Int(0).Int(1).Int(-4), "button label list claims -4 bytes"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(record.FromBytes(c.file.Bytes(), error)) << c.name;
        EXPECT_NE(error.find(c.error), std::string::npos) << c.name << ": " << error;
        EXPECT_EQ(record.ToBytes(), before) << c.name;
    }
}

TEST_F(ControllerInputTest, a_broken_or_oversized_settings_file_leaves_the_new_record_at_its_defaults)
{
    data.Write("joystickSettings_Flight Stick.dat", "\x05\x00\x00\x00short");
    data.Write("joystickSettings_Throttle Quadrant.dat",
               SettingsFile(1).bytes + std::string(ControllerInputRecord::kMaxFileBytes, '\0'));
    testing::internal::CaptureStderr();
    ControllerInputRecord* stick = controllers.GetRecord("Flight Stick");
    ControllerInputRecord* quadrant = controllers.GetRecord("Throttle Quadrant");
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("data/joystickSettings_Flight Stick.dat: the axis label list"), std::string::npos) << log;
    EXPECT_NE(log.find("data/joystickSettings_Throttle Quadrant.dat: it is larger than"), std::string::npos) << log;
    for (ControllerInputRecord* record : {stick, quadrant}) {
        EXPECT_EQ(record->axisLabelList.size(), 5u);
        EXPECT_EQ(record->buttonLabelList.size(), 27u);
        EXPECT_EQ(record->axisAssignments[0], "Nothing");
        EXPECT_TRUE(record->enabled);
    }
}

}  // namespace
