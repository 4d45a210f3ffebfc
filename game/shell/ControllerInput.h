#pragma once
// Controller mapping: whatever game controllers are plugged in, turned into
// named game axes and named actions. The console widgets ask by name only:
// the value of a game axis (GetAxisValue) and whether an action is pressed
// (IsActionPressed). Each device has its own record (ControllerInputRecord),
// made the first time a query or the set-up screen meets its name and read
// from its settings file then.
//
// Joysticks come from the input service (gInputFactory); without one no
// controller is plugged in. Main thread only.

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "game/shell/ControllerInputRecord.h"

class QelJoystick;

class ControllerInput {
public:
    // The actions a button or hat direction may trigger, as the set-up
    // screen offers them.
    static constexpr const char* kActionNames =
        "Dock^Shields^Reverse^Stop^Full Impulse^Half Impulse^Warp 1^Warp 2^Warp 3^Warp 4^Warp Increase^"
        "Warp Decrease^Look Forward^Look Left^Look Right^Look Back^Scan^Info^Fighter Boost^Fighter Thrust^"
        "Fighter Shoot^Fighter Torp^Fighter Dock^Fighter Torp Type^Fighter Eject^Fighter Shld Balance^Nothing";
    // The game axes a device axis may drive.
    static constexpr const char* kAxisNames = "Yaw^Pitch^Roll^Throttle^Nothing";

    // Whether any enabled device has an axis assigned to the game axis; value
    // is then the assigned axis of largest magnitude (the earlier on a tie),
    // each rescaled outside its dead zone and signed by its assignment; 0 when
    // none is assigned.
    bool GetAxisValue(const std::string& axisName, float& value);
    // Whether a button or hat direction assigned to the action is down on any
    // enabled device.
    bool IsActionPressed(const std::string& actionName);

    // The device's record, made (and read from its file) when first asked
    // for; an empty name means the first joystick's. Null for a joystick that
    // does not work, or without a name.
    ControllerInputRecord* GetRecord(const std::string& deviceName);
    // Writes every record's settings file, in device-name order.
    void SaveAll();

    std::map<std::string, std::unique_ptr<ControllerInputRecord>> records;
    int32_t currentDevice = 0;  // the device the set-up screen shows
    std::string actionNameList = kActionNames;  // '^'-separated
    std::string axisNameList = kAxisNames;
    // When set no device is read, and every query answers as with no
    // controller plugged in (the machine setting "joystick_enabled_flag").
    bool controllerDisabled = false;
    // Set by every query, cleared as soon as it consults an enabled device.
    bool noControllerActive = true;

private:
    // The joystick's record when it should be read now: it works, has a name
    // and an enabled record, and controllers are on. Its maps are built.
    ControllerInputRecord* ActiveRecord(QelJoystick& joystick);
    // A query's walk: noControllerActive set, then visit(joystick, record)
    // for every joystick read now, in order.
    template <typename Visit>
    void ForEachActiveDevice(Visit visit);
    ControllerInputRecord* GetRecord(const std::string& deviceName, QelJoystick* device);
};

// The one controller mapping, alive for the whole run.
extern ControllerInput theControllerInput;
