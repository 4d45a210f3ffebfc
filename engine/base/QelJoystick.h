#pragma once
// One game controller as the game reads it: up to 128 buttons, the first hat
// switch and eight axes, read by the input service once per frame.

#include <cstdint>
#include <string>

class QelJoystick {
public:
    // What a joystick without a working device reports as its name.
    static constexpr const char* kNotWorkingName = "not working, or not plugged in";
    // Buttons the game can read; a device with more reports this many.
    static constexpr int32_t kMaxButtons = 128;
    // Axes the game reads: x, y, z, their three rotations and two sliders.
    static constexpr int32_t kAxisCount = 8;

    // Hat directions, counter-clockwise from up.
    enum PovDirection : int32_t {
        kPovUp = 0,
        kPovUpLeft = 1,
        kPovLeft = 2,
        kPovDownLeft = 3,
        kPovDown = 4,
        kPovDownRight = 5,
        kPovRight = 6,
        kPovUpRight = 7,
    };

    virtual ~QelJoystick() = default;

    // The last poll read the device.
    virtual bool IsConnected() = 0;
    // Down now and not at the poll before; buttons outside 0..127 never are.
    virtual bool WasButtonPressed(int32_t button) = 0;
    virtual bool WasButtonReleased(int32_t button) = 0;
    virtual bool IsButtonDown(int32_t button) = 0;
    // Whether the first hat points that way (see PovDirection); a centred hat
    // points nowhere, and a diagonal is neither of its neighbours.
    virtual bool IsPovDirection(int32_t direction) = 0;
    // The device's buttons (at most kMaxButtons), kAxisCount axes and one hat;
    // false, with the outputs untouched, when not connected.
    virtual bool GetCounts(int32_t& buttons, int32_t& axes, int32_t& povs) = 0;
    // The device's product name, or kNotWorkingName when not connected.
    virtual std::string GetName() = 0;
    // The axis in about -0.99..0.99, 0 at rest; -0.99 for an axis outside
    // 0..kAxisCount-1.
    virtual float GetAxis(int32_t axis) = 0;
};
