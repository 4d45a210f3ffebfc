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

#include <glm/mat4x4.hpp>

#include "game/ui/ControllerInputRecord.h"
#include "game/ui/IntRect.h"

class QEL3DObject;
class Qel2dBitmap;
class QelJoystick;
class UIContext;

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

    // The set-up panel of the current device (ControllerSetupScreen.cpp),
    // from the position's top-left corner: the device and its switch, each
    // axis's game axis, sign and dead zone, each button's and hat
    // direction's action, with their live state. Edits the records at once.
    // With a preview target and object, the object steered by the axes
    // transform, turned by angle about the vertical and scaled, is drawn
    // right of the panel.
    void DrawSetupScreen(UIContext& ui, const IntRect& position, float angle, float scale);
    // The axes transform from the game axes now: pitch × yaw × roll ×
    // throttle, each half the axis value in radians, the throttle moving
    // along z.
    void ReadAxes();

    std::map<std::string, std::unique_ptr<ControllerInputRecord>> records;
    int32_t currentDevice = 0;  // the device the set-up screen shows
    std::string actionNameList = kActionNames;  // '^'-separated
    std::string axisNameList = kAxisNames;
    // When set no device is read, and every query answers as with no
    // controller plugged in (the machine setting "joystick_enabled_flag").
    bool controllerDisabled = false;
    // Set by every query, cleared as soon as it consults an enabled device.
    bool noControllerActive = true;
    // What the set-up screen's preview shows, both owned elsewhere; no
    // preview while either is null.
    Qel2dBitmap* previewTarget = nullptr;
    const QEL3DObject* previewObject = nullptr;
    glm::mat4 axesTransform{1.0f};

private:
    // The joystick's record when it should be read now: it works, has a name
    // and an enabled record, and controllers are on. Its maps are built.
    ControllerInputRecord* ActiveRecord(QelJoystick& joystick);
    // A query's walk: noControllerActive set, then visit(joystick, record)
    // for every joystick read now, in order.
    template <typename Visit>
    void ForEachActiveDevice(Visit visit);
    ControllerInputRecord* GetRecord(const std::string& deviceName, QelJoystick* device);
    // The set-up screen's parts; each answers the top of what follows it.
    int32_t DrawSetupHeader(UIContext& ui, QelJoystick& joystick, ControllerInputRecord* record, int32_t left,
                            int32_t top);
    int32_t DrawAxisRows(UIContext& ui, QelJoystick& joystick, ControllerInputRecord& record, int32_t axes,
                         int32_t left, int32_t top);
    int32_t DrawButtonCells(UIContext& ui, QelJoystick& joystick, ControllerInputRecord& record, int32_t buttons,
                            int32_t left, int32_t top);
    void DrawHatCells(UIContext& ui, QelJoystick& joystick, ControllerInputRecord& record, int32_t left, int32_t top);
    void DrawPreview(const IntRect& area, float angle, float scale);
};

// The one controller mapping, alive for the whole run.
extern ControllerInput theControllerInput;
