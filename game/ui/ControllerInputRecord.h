#pragma once
// One game controller's mapping, kept per device name: which of its axes
// drives which game axis ("Yaw", "Pitch", "Roll", "Throttle"), with a sign and
// a dead zone each, which action each button and each of the eight hat
// directions triggers, and whether the device is used at all. Each record has
// its own binary settings file, data/joystickSettings_<device name>.dat.
//
// Settings file, little-endian; a STRING is an int32 byte count, then the
// bytes, with no terminator:
//   int32 n, n STRINGs: axisLabelList
//   int32 m, m STRINGs: buttonLabelList
//   kSlots times: STRING axis assignment, int32 sign, float32 dead zone, STRING button action
//   kHatDirections STRINGs: hat direction actions
//   int32 enabled (0 or 1; anything else reads as enabled)

#include <array>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

class ControllerInputRecord {
public:
    // Axes and buttons a record (and its file) holds; a device with more
    // maps only these.
    static constexpr int32_t kSlots = 100;
    static constexpr int32_t kHatDirections = 8;
    // Action-map index of hat direction 0; 200 + j is direction j.
    static constexpr int32_t kHatIndexBase = 200;
    // The largest dead zone: the set-up screen offers 0..0.5, and a file's
    // larger one (1 or more would divide by zero) is brought down to it.
    static constexpr float kMaxDeadZone = 0.5f;
    // The assignment of an axis that drives nothing.
    static constexpr const char* kNothing = "Nothing";
    // A settings file is a few kilobytes; a larger one is not one, and is
    // not read.
    static constexpr int32_t kMaxFileBytes = 1 << 20;

    // A new record: each of the device's first axisCount axes drives
    // "Nothing" with sign 1 and dead zone 0; every other slot is empty, 0 and 0.
    ControllerInputRecord(std::string deviceName, int32_t axisCount);

    // The settings file's name (without folder and extension) for a device
    // name: "joystickSettings_" and the name, with every character that does
    // not belong in a file name replaced by '_'.
    static std::string SettingsFileName(const std::string& deviceName);

    // Reads the settings file over the record. False, with the record as it
    // was, when there is none; also false, and one line on the console, when
    // the file is broken.
    bool LoadData();
    // Writes the settings file whole (a new file renamed over the old one).
    bool SaveData() const;

    // The file's bytes, and the record read from them. Reading checks every
    // count against the bytes that are left and changes nothing unless the
    // whole file reads; error then says what was wrong.
    std::string ToBytes() const;
    bool FromBytes(std::span<const uint8_t> bytes, std::string& error);

    // Derives the two maps for a device of these counts (brought into
    // 0..kSlots): axes below axisCount by their assignment, buttons below
    // buttonCount and every hat direction by their action.
    void BuildMaps(int32_t axisCount, int32_t buttonCount);

    std::string deviceName;
    std::vector<std::string> axisLabelList;    // game-axis names offered for assignment
    std::array<std::string, kSlots> axisAssignments;
    std::array<int32_t, kSlots> axisSigns{};   // 1 or -1 (0 in unused slots)
    std::array<float, kSlots> axisDeadZones{}; // 0..kMaxDeadZone
    std::map<std::string, std::vector<int32_t>> axisMap;  // game axis -> device axes (derived)
    std::vector<std::string> buttonLabelList;  // action names offered for assignment
    std::array<std::string, kSlots> buttonActions;
    std::array<std::string, kHatDirections> hatActions;
    std::map<std::string, std::vector<int32_t>> actionMap;  // action -> buttons and 200 + hat directions (derived)
    bool mapsBuilt = false;  // cleared after loading and after every edit
    bool enabled = true;
};
